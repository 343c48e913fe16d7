// An option store held in memory: typed values like the registry, read across types the way an INI file
// would convert them. It keeps a log of every write so that callers can check what reached the store and
// in which order.
#pragma once
#include <string>
#include <vector>

#include "shell/profile_store.h"

class CMemoryProfileStore : public IProfileStore {
public:
    struct Value {
        std::string section;
        std::string key;
        bool isText = false;
        std::string text;
        int number = 0;
    };

    bool WriteInt(const std::string& section, const std::string& key, int value) override;
    bool WriteString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override;
    std::string GetString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;

    // The stored value, or nullptr.
    const Value* Find(const std::string& section, const std::string& key) const;
    // Every write in order, the latest value of each write as it was given.
    const std::vector<Value>& Writes() const { return m_writes; }
    void ClearWrites() { m_writes.clear(); }

private:
    Value& Slot(const std::string& section, const std::string& key);

    std::vector<Value> m_values;
    std::vector<Value> m_writes;
};

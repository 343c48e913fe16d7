// The write-behind cache of the portable option store. The INI file may sit on a slow removable drive,
// so writes go to memory only and reach the file in one pass at each flush (when a data file is saved
// and at exit). Reads see cached values first, so a value written and read back before the flush is the
// written one.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "shell/profile_store.h"

class CProfileCache {
public:
    enum Kind { kInteger = 0, kText = 1 };

    struct Entry {
        int kind = kInteger;
        std::string key;
        std::string text;
        int number = 0;
    };
    struct Section {
        std::string name;
        std::vector<std::unique_ptr<Entry>> entries;  // in order of creation
    };

    CProfileCache() = default;
    CProfileCache(const CProfileCache&) = delete;
    CProfileCache& operator=(const CProfileCache&) = delete;
    virtual ~CProfileCache() { Clear(); }

    void SetInt(const std::string& section, const std::string& key, int value);
    void SetString(const std::string& section, const std::string& key, const std::string& value);
    // The cached value, or the store's value with `defaultValue`. Reads never add entries. A cached value
    // of the other kind converts as the INI file would convert it.
    int GetInt(IProfileStore& store, const std::string& section, const std::string& key, int defaultValue) const;
    std::string GetString(IProfileStore& store, const std::string& section, const std::string& key,
                          const std::string& defaultValue) const;
    // Writes every entry, sections and entries in order of creation; the entries stay cached. FALSE when
    // any write failed.
    bool Flush(IProfileStore& store) const;
    void Clear();

    const std::vector<std::unique_ptr<Section>>& Sections() const { return m_sections; }

private:
    const Entry* Find(const std::string& section, const std::string& key) const;
    Entry& Slot(const std::string& section, const std::string& key);

    std::vector<std::unique_ptr<Section>> m_sections;  // in order of creation
};

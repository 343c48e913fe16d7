#include "shell/memory_profile_store.h"

#include "shell/profile_store.h"

const CMemoryProfileStore::Value* CMemoryProfileStore::Find(const std::string& section,
                                                            const std::string& key) const
{
    for (const Value& v : m_values) {
        if (EqualNoCase(v.section, section) && EqualNoCase(v.key, key))
            return &v;
    }
    return nullptr;
}

CMemoryProfileStore::Value& CMemoryProfileStore::Slot(const std::string& section, const std::string& key)
{
    if (const Value* found = Find(section, key))
        return const_cast<Value&>(*found);
    m_values.push_back(Value{section, key});
    return m_values.back();
}

bool CMemoryProfileStore::WriteInt(const std::string& section, const std::string& key, int value)
{
    Value& slot = Slot(section, key);
    slot.isText = false;
    slot.number = value;
    slot.text.clear();
    m_writes.push_back(Value{section, key, false, std::string(), value});
    return true;
}

bool CMemoryProfileStore::WriteString(const std::string& section, const std::string& key,
                                             const std::string& value)
{
    Value& slot = Slot(section, key);
    slot.isText = true;
    slot.text = value;
    slot.number = 0;
    m_writes.push_back(Value{section, key, true, value, 0});
    return true;
}

int CMemoryProfileStore::GetInt(const std::string& section, const std::string& key, int defaultValue)
{
    const Value* v = Find(section, key);
    if (!v)
        return defaultValue;
    return v->isText ? IniTextToInt(v->text, defaultValue) : v->number;
}

std::string CMemoryProfileStore::GetString(const std::string& section, const std::string& key,
                                                  const std::string& defaultValue)
{
    const Value* v = Find(section, key);
    if (!v)
        return defaultValue;
    return v->isText ? v->text : IntToText(v->number);
}

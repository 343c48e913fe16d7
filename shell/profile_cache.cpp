#include "shell/profile_cache.h"

#include "shell/profile_store.h"

const CProfileCache::Entry* CProfileCache::Find(const std::string& section, const std::string& key) const
{
    for (const auto& s : m_sections) {
        if (!EqualNoCase(s->name, section))
            continue;
        // Only the first section of that name is ever used, so the search ends here.
        for (const auto& e : s->entries) {
            if (EqualNoCase(e->key, key))
                return e.get();
        }
        return nullptr;
    }
    return nullptr;
}

CProfileCache::Entry& CProfileCache::Slot(const std::string& section, const std::string& key)
{
    Section* target = nullptr;
    for (const auto& s : m_sections) {
        if (EqualNoCase(s->name, section)) {
            target = s.get();
            break;
        }
    }
    if (!target) {
        m_sections.push_back(std::make_unique<Section>());
        target = m_sections.back().get();
        target->name = section;
    }
    for (const auto& e : target->entries) {
        if (EqualNoCase(e->key, key))
            return *e;
    }
    target->entries.push_back(std::make_unique<Entry>());
    Entry& entry = *target->entries.back();
    entry.key = key;
    return entry;
}

void CProfileCache::SetInt(const std::string& section, const std::string& key, int value)
{
    Entry& e = Slot(section, key);
    e.kind = kInteger;
    e.number = value;
}

void CProfileCache::SetString(const std::string& section, const std::string& key, const std::string& value)
{
    Entry& e = Slot(section, key);
    e.kind = kText;
    e.text = value;
}

int CProfileCache::GetInt(IProfileStore& store, const std::string& section, const std::string& key,
                          int defaultValue) const
{
    const Entry* e = Find(section, key);
    if (!e)
        return store.GetInt(section, key, defaultValue);
    return e->kind == kInteger ? e->number : IniTextToInt(e->text, defaultValue);
}

std::string CProfileCache::GetString(IProfileStore& store, const std::string& section, const std::string& key,
                                     const std::string& defaultValue) const
{
    const Entry* e = Find(section, key);
    if (!e)
        return store.GetString(section, key, defaultValue);
    return e->kind == kText ? e->text : IntToText(e->number);
}

bool CProfileCache::Flush(IProfileStore& store) const
{
    bool ok = true;
    for (const auto& s : m_sections) {
        for (const auto& e : s->entries) {
            bool written = e->kind == kInteger ? store.WriteInt(s->name, e->key, e->number)
                                               : store.WriteString(s->name, e->key, e->text);
            ok = ok && written;
        }
    }
    return ok;
}

void CProfileCache::Clear()
{
    m_sections.clear();
}

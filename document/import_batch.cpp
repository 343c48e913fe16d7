#include "document/import_batch.h"

#include <new>

void CImportBatch::Clear()
{
    if (m_locked)
        return;
    m_groups.RemoveAll();
    m_keywords.RemoveAll();
    m_articles.RemoveAll();
}

bool CImportBatch::HasEntries() const
{
    return m_groups.GetSize() > 0 || m_keywords.GetSize() > 0 || m_articles.GetSize() > 0;
}

void CImportBatch::SetRecording(bool on)
{
    m_recording = on;
    if (on)
        m_fromPaste = false;
}

void CImportBatch::Record(CIdSet& set, int32_t id)
{
    try {
        set.Add(id);
    } catch (const std::bad_alloc&) {
        // An id that cannot be recorded is simply not undone later.
    }
}

void CImportBatch::RecordArticle(int32_t id)
{
    if (m_recording)
        Record(m_articles, id);
}

void CImportBatch::RecordKeyword(int32_t id)
{
    if (m_recording)
        Record(m_keywords, id);
}

void CImportBatch::RecordGroup(int32_t id)
{
    if (m_recording)
        Record(m_groups, id);
}

void CImportBatch::RemoveArticleIds(const std::vector<int32_t>& ids)
{
    for (int32_t id : ids)
        m_articles.Remove(id);
}

void CImportBatch::RemoveKeywordIds(const std::vector<int32_t>& ids)
{
    for (int32_t id : ids)
        m_keywords.Remove(id);
}

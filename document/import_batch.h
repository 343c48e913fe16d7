// What the last import or paste created, so that it can be undone, opened or checked for duplicates.
// The document's add operations record into it while recording is on; most other changes clear it,
// except while it is locked (an import run or an article window being opened).
#pragma once
#include <cstdint>
#include <vector>

#include "storage/id_set.h"

class CImportBatch {
public:
    CImportBatch() = default;
    CImportBatch(const CImportBatch&) = delete;
    CImportBatch& operator=(const CImportBatch&) = delete;
    virtual ~CImportBatch() = default;

    // Empties the three sets unless locked.
    void Clear();
    bool HasEntries() const;

    // Switching recording on clears the paste mark.
    void SetRecording(bool on);
    bool IsRecording() const { return m_recording; }
    void SetLocked(bool on) { m_locked = on; }
    bool IsLocked() const { return m_locked; }
    void SetFromPaste(bool on) { m_fromPaste = on; }
    bool IsFromPaste() const { return m_fromPaste; }

    // Each takes effect only while recording; a memory failure leaves the id unrecorded.
    void RecordArticle(int32_t id);
    void RecordKeyword(int32_t id);
    void RecordGroup(int32_t id);

    void GetArticleIds(std::vector<int32_t>& out) const { out = m_articles.Values(); }
    void GetNewKeywordIds(std::vector<int32_t>& out) const { out = m_keywords.Values(); }
    void GetNewGroupIds(std::vector<int32_t>& out) const { out = m_groups.Values(); }
    const CArticleIdSet& Articles() const { return m_articles; }
    const CKeywordIdSet& Keywords() const { return m_keywords; }
    const CGroupIdSet& Groups() const { return m_groups; }

    void RemoveArticleIds(const std::vector<int32_t>& ids);
    void RemoveKeywordIds(const std::vector<int32_t>& ids);

private:
    static void Record(CIdSet& set, int32_t id);

    CGroupIdSet m_groups;
    bool m_fromPaste = false;
    bool m_locked = false;
    bool m_recording = false;
    CKeywordIdSet m_keywords;
    CArticleIdSet m_articles;
};

// Keeps recording on for one scope: a failed import must not leave later edits recorded.
class CImportRecordingScope {
public:
    explicit CImportRecordingScope(CImportBatch& batch) : m_batch(batch) { m_batch.SetRecording(true); }
    ~CImportRecordingScope() { m_batch.SetRecording(false); }
    CImportRecordingScope(const CImportRecordingScope&) = delete;
    CImportRecordingScope& operator=(const CImportRecordingScope&) = delete;

private:
    CImportBatch& m_batch;
};

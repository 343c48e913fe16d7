// A document under test with the windows it talks to replaced by recorders: a host that answers
// questions from a script and records what it was asked, and index, article and report views that
// record every code they receive in one shared trace.
#pragma once
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "framework/error_sink.h"
#include "storage/file_password.h"
#include "storage/id_set.h"

// One notification as a receiver saw it. Channel 'I' index view, 'A' article view, 'R' report view
// (code = request * 10 + report kind), 'T' a title placed in the index view, 'X' a title removed
// from it. Tests build them from the named codes: {IndexCode::kArticleChanged, a, 0}.
struct Notice {
    char channel;
    int code;
    intptr_t p;
    intptr_t n;

    Notice(char channel, int code, intptr_t p, intptr_t n) : channel(channel), code(code), p(p), n(n) {}
    Notice(IndexCode code, intptr_t p, intptr_t n) : Notice('I', static_cast<int>(code), p, n) {}
    Notice(ArticleHint hint, intptr_t p, intptr_t n) : Notice('A', static_cast<int>(hint), p, n) {}
    Notice(ReportRequest request, ReportKind kind, intptr_t p, intptr_t n)
        : Notice('R', static_cast<int>(request) * 10 + static_cast<int>(kind), p, n)
    {
    }

    bool operator==(const Notice& other) const
    {
        return channel == other.channel && code == other.code && p == other.p && n == other.n;
    }
};

// A title placed in (highlighted or not) or removed from the index view's titles list.
inline Notice TitlePlaced(int32_t article, bool highlight) { return Notice('T', 0, article, highlight ? 1 : 0); }
inline Notice TitleRemoved(int32_t article) { return Notice('X', 0, article, 0); }

inline std::ostream& operator<<(std::ostream& out, const Notice& notice)
{
    return out << notice.channel << notice.code << "(" << notice.p << "," << notice.n << ")";
}

using Trace = std::vector<Notice>;

class CRecordingHost : public CDocHost {
public:
    void Inform(const std::string& text, Icon icon) override { m_informed.push_back(text); }
    bool Confirm(const std::string& text) override
    {
        m_asked.push_back(text);
        bool answer = m_answers.empty() ? false : m_answers.front();
        if (!m_answers.empty())
            m_answers.pop_front();
        return answer;
    }
    bool PromptPassword(const std::string& fileName, CFilePassword& password) override
    {
        m_passwordPrompts.push_back(fileName);
        return password.Verify(m_password);
    }
    // The choices this host is not scripted for answer as the user's Cancel would, and are recorded.
    std::string ChooseDataFileCopy(DataFileCopy kind, const std::string& initialFolder) override
    {
        m_copyDialogs.push_back({kind, initialFolder});
        return m_copyTarget;
    }
    int ChooseConversion(const std::string& path) override
    {
        m_conversionAsked.push_back(path);
        return m_conversionChoice;
    }
    bool AskSaveUnsavedArticles(const std::string& caption) override
    {
        m_saveUnsavedAsked.push_back(caption);
        return m_saveUnsavedAnswer;
    }
    bool ChooseDuplicates(const std::vector<int32_t>& runs, bool afterImport, CArticleIdSet& marked) override
    {
        m_duplicateRuns.push_back(runs);
        return false;
    }
    void OpenArticleWindow(CQuorvaneDoc& document, int32_t id) override { m_openedArticles.push_back(id); }
    void ShowFileProperties(CQuorvaneDoc& document) override { ++m_filePropertySheets; }
    void AddKeywordsToIndex(CQuorvaneDoc& document) override { m_keywordDialogs.push_back("add"); }
    void ManageKeywordGroups(CQuorvaneDoc& document) override { m_keywordDialogs.push_back("groups"); }
    // The folder the keyword list dialog started in is recorded; m_keywordList is the user's choice.
    std::string ChooseKeywordList(const std::string& initialFolder) override
    {
        m_keywordDialogs.push_back("list " + initialFolder);
        return m_keywordList;
    }
    // Rich text stands for itself: the fixtures' duplicates are plain texts.
    std::string RtfToPlainText(const std::string& rtf) override { return rtf; }
    void SetCaption(const std::string& title) override { m_caption = title; }
    void SetCurrentDocument(CQuorvaneDoc* document) override { m_current = document; }
    void ActivateIndexFrame() override { ++m_indexActivations; }
    bool ConfirmClearBookmarks(const std::string& text) override
    {
        m_clearBookmarkPrompts.push_back(text);
        return Confirm(text);
    }
    void ApplySelectListMode() override { ++m_selectModeApplied; }
    void RefreshFindDialog() override { ++m_findRefreshes; }
    void ShowIndexFrame() override
    {
        if (m_onShowIndexFrame)
            m_onShowIndexFrame();
    }
    void FlushProfileCache() override
    {
        if (m_onFlushProfileCache)
            m_onFlushProfileCache();
    }

    // The query dialogs: the current query they work on, the user's answers, what was shown.
    CCurrentQuery* GetCurrentQuery() override { return m_currentQuery; }
    bool RunBuildQuery(CQuorvaneDoc& document, std::string& text, int32_t& from, int32_t& to) override
    {
        m_buildQueryStarts.push_back(text);
        return m_onBuildQuery ? m_onBuildQuery(text, from, to) : false;
    }
    bool RunManageQueries(CQuorvaneDoc& document, CCurrentQuery& current) override
    {
        return m_onManageQueries ? m_onManageQueries(current) : false;
    }
    int ChooseSavedQuery(CQuorvaneDoc& document) override { return m_chosenSavedQuery; }
    void ShowQueryTitles(const CArticleIdSet& found) override { m_queryTitles.push_back(found.Values()); }
    void UpdateSavedQueryMenus(const std::vector<std::string>& names, bool more) override
    {
        m_savedQueryMenus.push_back({names, more});
    }

    // The progress window: what it showed, how far it went, and whether the main window was enabled
    // again. Cancel is pressed once `m_cancelAfterSteps` steps were made; every `m_busyEvery`-th pump
    // finds a message waiting.
    void BeginProgress(const std::string& caption, const std::string& message, int range) override
    {
        m_progressCaption = caption;
        m_progressMessage = message;
        m_progressRange = range;
        m_progressSteps = 0;
        m_mainWindowEnabled = false;
    }
    void StepProgress() override { ++m_progressSteps; }
    bool IsProgressCancelled() override { return m_cancelAfterSteps >= 0 && m_progressSteps >= m_cancelAfterSteps; }
    void EndProgress() override
    {
        ++m_progressEnded;
        m_mainWindowEnabled = true;
    }
    int PumpPendingMessage() override { return m_busyEvery > 0 && ++m_pumps % m_busyEvery == 0 ? 0 : 1; }
    // Records what the Edit Reminder dialog was opened on; m_reminderAnswer plays the user (none:
    // Cancel).
    bool EditReminder(int32_t article, int32_t reminderId, ReminderRecord& record, bool& deleteChosen) override
    {
        m_reminderEdits.push_back({article, reminderId, record});
        return m_reminderAnswer ? m_reminderAnswer(record, deleteChosen) : false;
    }

    CCurrentQuery* m_currentQuery = nullptr;
    std::vector<std::string> m_buildQueryStarts;
    std::function<bool(std::string& text, int32_t& from, int32_t& to)> m_onBuildQuery;
    std::function<bool(CCurrentQuery& current)> m_onManageQueries;
    int m_chosenSavedQuery = -1;
    std::vector<std::vector<int32_t>> m_queryTitles;
    std::vector<std::pair<std::vector<std::string>, bool>> m_savedQueryMenus;
    std::vector<std::pair<DataFileCopy, std::string>> m_copyDialogs;
    std::string m_copyTarget;
    std::vector<std::string> m_conversionAsked;
    int m_conversionChoice = -1;
    std::vector<std::string> m_saveUnsavedAsked;
    bool m_saveUnsavedAnswer = true;
    std::vector<std::vector<int32_t>> m_duplicateRuns;
    std::vector<int32_t> m_openedArticles;
    std::vector<std::string> m_informed;
    std::vector<std::string> m_asked;
    std::deque<bool> m_answers;
    std::vector<std::string> m_passwordPrompts;
    std::string m_password;
    std::string m_caption;
    CQuorvaneDoc* m_current = nullptr;
    int m_indexActivations = 0;
    int m_filePropertySheets = 0;
    std::vector<std::string> m_keywordDialogs;
    std::string m_keywordList;
    std::vector<std::string> m_clearBookmarkPrompts;
    int m_selectModeApplied = 0;
    int m_findRefreshes = 0;
    std::function<void()> m_onFlushProfileCache;
    std::function<void()> m_onShowIndexFrame;
    std::string m_progressCaption;
    std::string m_progressMessage;
    int m_progressRange = -1;
    int m_progressSteps = 0;
    int m_progressEnded = 0;
    bool m_mainWindowEnabled = true;
    int m_cancelAfterSteps = -1;
    int m_busyEvery = 0;
    int m_pumps = 0;
    struct ReminderEdit {
        int32_t article;
        int32_t reminderId;
        ReminderRecord record;
    };
    std::vector<ReminderEdit> m_reminderEdits;
    std::function<bool(ReminderRecord& record, bool& deleteChosen)> m_reminderAnswer;
};

class CRecordingIndexView : public CDocumentView, public CIndexNotifyTarget {
public:
    explicit CRecordingIndexView(Trace& trace) : m_trace(trace) {}
    void OnUpdate(CDocumentView*, long, void*) override {}
    int32_t IndexNotify(IndexCode code, ChannelArg p, int32_t n) override
    {
        // Id sets passed by address are recorded as 0: their address is not part of the contract.
        m_trace.push_back({code, p.Value(), n});
        if (CArticleIdSet* out = p.ArticleIds())
            if (code == IndexCode::kGetListedArticleIds || code == IndexCode::kGetHighlightedArticleIds)
                out->Copy(m_listedArticles);
        if (CKeywordIdSet* out = p.KeywordIds())
            if (code == IndexCode::kGetSelectedKeywords)
                out->Copy(m_selectedKeywords);
        if (code == IndexCode::kDeleteKeywords && m_document && p.KeywordIdsToRead())
            m_document->DeleteKeywords(*p.KeywordIdsToRead());
        return m_answer;
    }
    void UpdateTitleForArticle(int32_t id, const CKeywordIdSet& keywords, bool highlight) override
    {
        m_trace.push_back(TitlePlaced(id, highlight));
        m_placedKeywords.push_back(keywords.Values());
    }
    void RemoveArticleTitle(int32_t id) override { m_trace.push_back(TitleRemoved(id)); }

    Trace& m_trace;
    // The keyword set given with each placed title, in order.
    std::vector<std::vector<int32_t>> m_placedKeywords;
    int32_t m_answer = 0;
    // What the view hands out for the id-set questions 8 and 26, and 13.
    CArticleIdSet m_listedArticles;
    CKeywordIdSet m_selectedKeywords;
    CQuorvaneDoc* m_document = nullptr;
};

class CRecordingArticleView : public CDocumentView, public CArticleNotifyTarget {
public:
    CRecordingArticleView(Trace& trace, int32_t id) : m_trace(trace), m_id(id) {}
    void OnUpdate(CDocumentView*, long, void*) override {}
    int32_t OnDocumentNotify(ArticleHint hint, int32_t p, int32_t n) override
    {
        m_trace.push_back({hint, p, n});
        if (hint == ArticleHint::kPendingKeywordStored && p == m_pending)
            m_pending = n;
        return hint == ArticleHint::kUsesPendingKeyword && p == m_pending ? 1 : 0;
    }
    int32_t GetArticleId() const override { return m_id; }
    bool IsModified() const override { return m_modified; }
    void SaveIfModified() override
    {
        if (m_modified && m_canSave)
            m_modified = false;
    }
    bool PromptSaveAndClose() override
    {
        ++m_closeChecks;
        // A window that closes during its check leaves the document's view list.
        if (m_mayClose && m_closingDocument)
            m_closingDocument->RemoveView(this);
        return m_mayClose;
    }
    void CloseFrame() override { m_closed = true; }

    Trace& m_trace;
    int32_t m_id;
    int32_t m_pending = 0;
    bool m_modified = false;
    bool m_canSave = true;
    bool m_mayClose = true;
    bool m_closed = false;
    int m_closeChecks = 0;
    CQuorvaneDoc* m_closingDocument = nullptr;
};

class CRecordingReportView : public CDocumentView, public CReportQueryTarget {
public:
    CRecordingReportView(Trace& trace, ReportKind kind) : m_trace(trace), m_kind(kind) {}
    void OnUpdate(CDocumentView*, long, void*) override {}
    ReportKind GetReportKind() const override { return m_kind; }
    int32_t Query(ReportRequest request, ChannelArg p, int32_t n) override
    {
        // Arguments that carry a string or an id set are recorded as 0, as for the index view.
        m_trace.push_back({request, m_kind, p.Value(), n});
        if (std::string* text = p.Text())
            *text = "report " + std::to_string(static_cast<int>(m_kind)) + " form " + std::to_string(n);
        if (CKeywordIdSet* out = p.KeywordIds())
            out->Copy(m_listed);
        if (CGroupIdSet* out = p.GroupIds())
            out->Copy(m_listed);
        if (CArticleIdSet* ids = p.ArticleIds())
            ids->Intersect(m_listed);
        return request == ReportRequest::kGetCountWidth ? 100 + static_cast<int>(m_kind) : 0;
    }

    Trace& m_trace;
    ReportKind m_kind;
    // The ids the report lists (requests 4 and 10) and keeps (request 6).
    CIdSet m_listed;
};

// Collects the messages that errors report while it lives.
class CRecordedErrors {
public:
    CRecordedErrors() { m_previous = SetErrorSink(&CRecordedErrors::Record); Messages().clear(); }
    ~CRecordedErrors() { SetErrorSink(m_previous); }
    static std::vector<std::string>& Messages()
    {
        static std::vector<std::string> messages;
        return messages;
    }

private:
    static void Record(const std::string& message) { Messages().push_back(message); }
    ErrorSink m_previous;
};

// The three channels to the document's windows: finding the receiving views and sending codes.
#include <new>

#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "storage/quor_error.h"

CIndexNotifyTarget* CQuorvaneDoc::GetIndexView() const
{
    for (CDocumentView* view : Views())
        if (auto* index = dynamic_cast<CIndexNotifyTarget*>(view))
            return index;
    return nullptr;
}

CArticleNotifyTarget* CQuorvaneDoc::FindArticleView(int32_t id) const
{
    for (CDocumentView* view : Views()) {
        auto* article = dynamic_cast<CArticleNotifyTarget*>(view);
        if (article && article->GetArticleId() == id)
            return article;
    }
    return nullptr;
}

CReportQueryTarget* CQuorvaneDoc::FindReportView(int kind) const
{
    for (CDocumentView* view : Views()) {
        auto* report = dynamic_cast<CReportQueryTarget*>(view);
        if (report && report->GetReportKind() == kind)
            return report;
    }
    return nullptr;
}

int32_t CQuorvaneDoc::NotifyIndexView(int code, intptr_t p, intptr_t n)
{
    CIndexNotifyTarget* index = GetIndexView();
    return index ? index->IndexNotify(code, p, n) : kNoneId;
}

void CQuorvaneDoc::NotifyArticleViews(int code, intptr_t p, intptr_t n)
{
    // A receiver may close its window; walk a copy of the list.
    std::vector<CDocumentView*> views = Views();
    for (CDocumentView* view : views)
        if (auto* article = dynamic_cast<CArticleNotifyTarget*>(view))
            article->OnDocumentNotify(code, p, n);
}

void CQuorvaneDoc::NotifyArticleView(int code, int32_t article, intptr_t p, intptr_t n)
{
    if (CArticleNotifyTarget* view = FindArticleView(article))
        view->OnDocumentNotify(code, p, n);
}

int32_t CQuorvaneDoc::QueryReportView(int kind, int code, intptr_t p, intptr_t n)
{
    CReportQueryTarget* report = FindReportView(kind);
    int32_t answer = kNoneId;
    if (report)
        ReportErrors([&] { answer = report->Query(code, p, n); });
    return answer;
}

void CQuorvaneDoc::NotifyReminderChanged(int32_t article)
{
    NotifyArticleView(18, article);
    NotifyIndexView(44, 0, 0);
}

void CQuorvaneDoc::NotifyRemindersChanged(const CArticleIdSet& articles)
{
    for (int32_t article : articles.Values())
        NotifyArticleView(18, article);
    NotifyIndexView(44, 0, 0);
}

void CQuorvaneDoc::BeginWaitCursor()
{
    m_host.BeginWaitCursor();
}

void CQuorvaneDoc::EndWaitCursor()
{
    m_host.EndWaitCursor();
}

void CQuorvaneDoc::RefreshViews()
{
    NotifyIndexView(7);
    NotifyArticleViews(7);
    for (int kind = 1; kind <= 3; ++kind)
        QueryReportView(kind, 2);
}

void CQuorvaneDoc::GetSelectedArticleIds(CArticleIdSet& out)
{
    out.RemoveAll();
    NotifyIndexView(8, reinterpret_cast<intptr_t>(&out));
}

void CQuorvaneDoc::GetHighlightedArticleIds(CArticleIdSet& out)
{
    out.RemoveAll();
    NotifyIndexView(26, reinterpret_cast<intptr_t>(&out));
}

int32_t CQuorvaneDoc::GetIndexKeywordSelection(CKeywordIdSet& out)
{
    out.RemoveAll();
    return NotifyIndexView(13, reinterpret_cast<intptr_t>(&out));
}

int32_t CQuorvaneDoc::GetIndexMode()
{
    return NotifyIndexView(15);
}

void CQuorvaneDoc::ClearIndexTitleSelection()
{
    NotifyIndexView(16);
}

void CQuorvaneDoc::ClearIndexListSelection()
{
    NotifyIndexView(17);
}

void CQuorvaneDoc::HighlightIndexKeywords(const CKeywordIdSet& keywords)
{
    NotifyIndexView(46, reinterpret_cast<intptr_t>(&keywords));
}

void CQuorvaneDoc::ApplyActiveLinks(int32_t setting)
{
    NotifyIndexView(24, setting);
    NotifyArticleViews(17, setting);
}

void CQuorvaneDoc::CloseArticleWindow(int32_t article, int direction)
{
    CArticleNotifyTarget* view = FindArticleView(article);
    if (!view || !view->PromptSaveAndClose())
        return;
    view->CloseFrame();
    NotifyIndexView(27, article, direction);
}

// Report text of kind `kind`, and with `countWidth` its count-column width too.
static void AskReportText(CQuorvaneDoc& document, int kind, int form, std::string& text, int32_t* countWidth)
{
    text.clear();
    if (countWidth)
        *countWidth = -1;
    if (!document.FindReportView(kind))
        return;
    document.QueryReportView(kind, 3, reinterpret_cast<intptr_t>(&text), form);
    if (countWidth)
        *countWidth = document.QueryReportView(kind, 9);
}

void CQuorvaneDoc::GetIndexReportText(int form, std::string& text)
{
    AskReportText(*this, 1, form, text, nullptr);
}

void CQuorvaneDoc::GetKeywordUsageReportText(int form, std::string& text, int32_t& countWidth)
{
    AskReportText(*this, 2, form, text, &countWidth);
}

void CQuorvaneDoc::GetKeywordCloudReportText(int form, std::string& text, int32_t& countWidth)
{
    AskReportText(*this, 3, form, text, &countWidth);
}

void CQuorvaneDoc::GetKeywordGroupReportText(int form, std::string& text)
{
    AskReportText(*this, 4, form, text, nullptr);
}

void CQuorvaneDoc::GetIndexReportKeywordIds(CKeywordIdSet& out)
{
    out.RemoveAll();
    QueryReportView(1, 4, reinterpret_cast<intptr_t>(&out));
}

void CQuorvaneDoc::GetKeywordUsageReportKeywordIds(CKeywordIdSet& out)
{
    out.RemoveAll();
    QueryReportView(2, 4, reinterpret_cast<intptr_t>(&out));
}

void CQuorvaneDoc::GetKeywordGroupReportGroupIds(CGroupIdSet& out)
{
    out.RemoveAll();
    QueryReportView(4, 10, reinterpret_cast<intptr_t>(&out));
}

void CQuorvaneDoc::FilterReportArticleIds(CArticleIdSet& ids)
{
    QueryReportView(1, 6, reinterpret_cast<intptr_t>(&ids));
}

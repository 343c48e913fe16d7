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

CReportQueryTarget* CQuorvaneDoc::FindReportView(ReportKind kind) const
{
    for (CDocumentView* view : Views()) {
        auto* report = dynamic_cast<CReportQueryTarget*>(view);
        if (report && report->GetReportKind() == kind)
            return report;
    }
    return nullptr;
}

int32_t CQuorvaneDoc::NotifyIndexView(IndexCode code, ChannelArg p, int32_t n)
{
    CIndexNotifyTarget* index = GetIndexView();
    return index ? index->IndexNotify(code, p, n) : kNoneId;
}

void CQuorvaneDoc::NotifyArticleViews(ArticleHint hint, int32_t p, int32_t n)
{
    // A receiver may close its window; walk a copy of the list.
    std::vector<CDocumentView*> views = Views();
    for (CDocumentView* view : views)
        if (auto* article = dynamic_cast<CArticleNotifyTarget*>(view))
            article->OnDocumentNotify(hint, p, n);
}

void CQuorvaneDoc::NotifyArticleView(ArticleHint hint, int32_t article, int32_t p, int32_t n)
{
    if (CArticleNotifyTarget* view = FindArticleView(article))
        view->OnDocumentNotify(hint, p, n);
}

int32_t CQuorvaneDoc::QueryReportView(ReportKind kind, ReportRequest request, ChannelArg p, int32_t n)
{
    CReportQueryTarget* report = FindReportView(kind);
    int32_t answer = kNoneId;
    if (report)
        ReportErrors([&] { answer = report->Query(request, p, n); });
    return answer;
}

void CQuorvaneDoc::NotifyReminderChanged(int32_t article)
{
    NotifyArticleView(ArticleHint::kReminderChanged, article);
    NotifyIndexView(IndexCode::kRemindersChanged, 0, 0);
}

void CQuorvaneDoc::NotifyRemindersChanged(const CArticleIdSet& articles)
{
    for (int32_t article : articles.Values())
        NotifyArticleView(ArticleHint::kReminderChanged, article);
    NotifyIndexView(IndexCode::kRemindersChanged, 0, 0);
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
    NotifyIndexView(IndexCode::kListFontChanged);
    NotifyArticleViews(ArticleHint::kDisplayChanged);
    for (ReportKind kind : kKeywordReports)
        QueryReportView(kind, ReportRequest::kDisplayRefresh);
}

void CQuorvaneDoc::GetSelectedArticleIds(CArticleIdSet& out)
{
    out.RemoveAll();
    NotifyIndexView(IndexCode::kGetListedArticleIds, &out);
}

void CQuorvaneDoc::GetHighlightedArticleIds(CArticleIdSet& out)
{
    out.RemoveAll();
    NotifyIndexView(IndexCode::kGetHighlightedArticleIds, &out);
}

int32_t CQuorvaneDoc::GetIndexKeywordSelection(CKeywordIdSet& out)
{
    out.RemoveAll();
    return NotifyIndexView(IndexCode::kGetSelectedKeywords, &out);
}

int32_t CQuorvaneDoc::GetIndexMode()
{
    return NotifyIndexView(IndexCode::kGetTitlesMode);
}

void CQuorvaneDoc::ClearIndexTitleSelection()
{
    NotifyIndexView(IndexCode::kClearTitleSelection);
}

void CQuorvaneDoc::ClearIndexListSelection()
{
    NotifyIndexView(IndexCode::kClearKeywordSelection);
}

void CQuorvaneDoc::HighlightIndexKeywords(const CKeywordIdSet& keywords)
{
    NotifyIndexView(IndexCode::kSelectKeywords, &keywords);
}

void CQuorvaneDoc::ApplyActiveLinks(int32_t setting)
{
    NotifyIndexView(IndexCode::kSetLinkDisplay, setting);
    NotifyArticleViews(ArticleHint::kActiveLinks, setting);
}

void CQuorvaneDoc::CloseArticleWindow(int32_t article, int direction)
{
    CArticleNotifyTarget* view = FindArticleView(article);
    if (!view || !view->PromptSaveAndClose())
        return;
    view->CloseFrame();
    NotifyIndexView(IndexCode::kOpenNeighbour, article, direction);
}

// Report text of kind `kind`, and with `countWidth` its count-column width too.
static void AskReportText(CQuorvaneDoc& document, ReportKind kind, int form, std::string& text, int32_t* countWidth)
{
    text.clear();
    if (countWidth)
        *countWidth = -1;
    if (!document.FindReportView(kind))
        return;
    document.QueryReportView(kind, ReportRequest::kGetReportText, &text, form);
    if (countWidth)
        *countWidth = document.QueryReportView(kind, ReportRequest::kGetCountWidth);
}

void CQuorvaneDoc::GetIndexReportText(int form, std::string& text)
{
    AskReportText(*this, ReportKind::kIndexReport, form, text, nullptr);
}

void CQuorvaneDoc::GetKeywordUsageReportText(int form, std::string& text, int32_t& countWidth)
{
    AskReportText(*this, ReportKind::kKeywordUsage, form, text, &countWidth);
}

void CQuorvaneDoc::GetKeywordCloudReportText(int form, std::string& text, int32_t& countWidth)
{
    AskReportText(*this, ReportKind::kKeywordCloud, form, text, &countWidth);
}

void CQuorvaneDoc::GetKeywordGroupReportText(int form, std::string& text)
{
    AskReportText(*this, ReportKind::kKeywordGroups, form, text, nullptr);
}

void CQuorvaneDoc::GetIndexReportKeywordIds(CKeywordIdSet& out)
{
    out.RemoveAll();
    QueryReportView(ReportKind::kIndexReport, ReportRequest::kGetKeywordIds, &out);
}

void CQuorvaneDoc::GetKeywordUsageReportKeywordIds(CKeywordIdSet& out)
{
    out.RemoveAll();
    QueryReportView(ReportKind::kKeywordUsage, ReportRequest::kGetKeywordIds, &out);
}

void CQuorvaneDoc::GetKeywordGroupReportGroupIds(CGroupIdSet& out)
{
    out.RemoveAll();
    QueryReportView(ReportKind::kKeywordGroups, ReportRequest::kGetGroupIds, &out);
}

void CQuorvaneDoc::FilterReportArticleIds(CArticleIdSet& ids)
{
    QueryReportView(ReportKind::kIndexReport, ReportRequest::kFilterArticleIds, &ids);
}

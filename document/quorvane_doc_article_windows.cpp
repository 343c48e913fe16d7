// The article windows open on the document: which of them an operation covers, and saving them
// before it runs.
#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"

// The article windows a scope covers. Scope 3, the active window, is the host's: the document sees
// no active window, so it covers none here.
std::vector<CArticleNotifyTarget*> CQuorvaneDoc::ArticleWindowsOfScope(int scope, bool modifiedOnly)
{
    CArticleIdSet chosen;
    if (scope == 2)
        NotifyIndexView(IndexCode::kGetListedArticleIds, &chosen);
    else if (scope == 4)
        NotifyIndexView(IndexCode::kGetHighlightedArticleIds, &chosen);
    std::vector<CArticleNotifyTarget*> windows;
    for (CDocumentView* view : Views()) {
        auto* article = dynamic_cast<CArticleNotifyTarget*>(view);
        if (!article || (modifiedOnly && !article->IsModified()))
            continue;
        int32_t id = article->GetArticleId();
        bool inScope = scope == 0 || (scope == 1 && IsBookmarked(id)) ||
                       ((scope == 2 || scope == 4) && chosen.Contains(id));
        if (inScope)
            windows.push_back(article);
    }
    return windows;
}

bool CQuorvaneDoc::SaveArticleWindows(int scope)
{
    for (CArticleNotifyTarget* window : ArticleWindowsOfScope(scope, true)) {
        window->SaveIfModified();
        if (window->IsModified())
            return false;
    }
    return true;
}

bool CQuorvaneDoc::PromptSaveArticles(const std::string& caption, int scope)
{
    if (ArticleWindowsOfScope(scope, true).empty())
        return true;
    if (!m_host.AskSaveUnsavedArticles(caption))
        return false;
    return SaveArticleWindows(scope);
}

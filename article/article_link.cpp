#include "article/article_link.h"

#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "storage/link_target.h"
#include "storage/quor_error.h"

bool CDocArticleLinks::ArePrivateArticlesHidden()
{
    return m_document.ArePrivateArticlesHidden();
}

bool CDocArticleLinks::IsArticlePrivate(int32_t id)
{
    return m_document.IsArticlePrivate(id);
}

bool CDocArticleLinks::UnlockPrivateArticles()
{
    return m_document.UnlockPrivateArticles();
}

bool CDocArticleLinks::MatchesCreatedStamp(int32_t id, int32_t date, int32_t time)
{
    return m_document.MatchesCreatedStamp(id, date, time);
}

void CDocArticleLinks::OpenArticle(int32_t id)
{
    m_document.OpenArticle(id);
}

std::string CDocArticleLinks::GetArticleTitle(int32_t id)
{
    const char* title = m_document.GetArticleTitle(id);
    return title ? title : "";
}

void OpenArticleLink(IArticleLinkDocument& document, const LinkRange& link)
{
    const int32_t id = link.targetArticle;
    if (document.ArePrivateArticlesHidden() && document.IsArticlePrivate(id) && !document.UnlockPrivateArticles())
        throw CQuorError(kPrivateLinkTarget);
    if (id < 0 || !document.MatchesCreatedStamp(id, link.valueB, link.valueC))
        throw CQuorError(kArticleGone);
    document.OpenArticle(id);
}

std::string LinkStatusText(IArticleLinkDocument* document, const LinkRange& link, bool targetIsFolder)
{
    constexpr size_t kMaxStatusText = 1000;
    std::string text;
    switch (link.type) {
    case CLinkTarget::kFile:
        text = QuorFormat1(QuorLoadString(targetIsFolder ? IDS_LINK_STATUS_FOLDER : IDS_LINK_STATUS_FILE),
                           link.target);
        break;
    case CLinkTarget::kInternet:
        text = QuorFormat1(QuorLoadString(IDS_LINK_STATUS_URL), link.target);
        break;
    case CLinkTarget::kArticle: {
        std::string title;
        // A private title stays hidden while private articles are.
        if (document && link.targetArticle >= 0 &&
            !(document->ArePrivateArticlesHidden() && document->IsArticlePrivate(link.targetArticle)))
            title = document->GetArticleTitle(link.targetArticle);
        text = QuorFormat1(QuorLoadString(IDS_LINK_STATUS_ARTICLE), title);
        break;
    }
    default:
        break;
    }
    if (text.size() > kMaxStatusText) text.resize(kMaxStatusText);
    return text;
}

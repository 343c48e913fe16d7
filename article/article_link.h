// Opening a link to another article of the knowledge base, and the status-bar text of a link:
// what the article pane needs of the document, behind a small interface so that the decisions are
// tested without a data file.
#pragma once
#include <cstdint>
#include <string>

#include "storage/link_range_list.h"

class CQuorvaneDoc;

class IArticleLinkDocument {
public:
    virtual ~IArticleLinkDocument() = default;
    virtual bool ArePrivateArticlesHidden() = 0;
    virtual bool IsArticlePrivate(int32_t id) = 0;
    // Asks for the file's password; true when the private articles are shown afterwards.
    virtual bool UnlockPrivateArticles() = 0;
    // The article exists and was created at `date` and `time`.
    virtual bool MatchesCreatedStamp(int32_t id, int32_t date, int32_t time) = 0;
    virtual void OpenArticle(int32_t id) = 0;
    // The article's title, "" when it is missing.
    virtual std::string GetArticleTitle(int32_t id) = 0;
};

// The document behind the interface.
class CDocArticleLinks : public IArticleLinkDocument {
public:
    explicit CDocArticleLinks(CQuorvaneDoc& document) : m_document(document) {}
    bool ArePrivateArticlesHidden() override;
    bool IsArticlePrivate(int32_t id) override;
    bool UnlockPrivateArticles() override;
    bool MatchesCreatedStamp(int32_t id, int32_t date, int32_t time) override;
    void OpenArticle(int32_t id) override;
    std::string GetArticleTitle(int32_t id) override;

private:
    CQuorvaneDoc& m_document;
};

// Opens the article a link of type 3 points to. Raises CQuorError 51 when the article is private,
// private articles are hidden and the user does not unlock them; 49 when the article is gone or its
// creation stamp no longer matches the link's second and third values (another article took the id).
void OpenArticleLink(IArticleLinkDocument& document, const LinkRange& link);

// The status-bar text of a link's target: `targetIsFolder` chooses between the two file texts.
// Types other than 1, 2 and 3 give "". Cut to 1000 characters.
std::string LinkStatusText(IArticleLinkDocument* document, const LinkRange& link, bool targetIsFolder);

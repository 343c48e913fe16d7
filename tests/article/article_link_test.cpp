#include "article/article_link.h"

#include <gtest/gtest.h>

#include <set>

#include "storage/quor_error.h"

namespace {

class CFakeDocument : public IArticleLinkDocument {
public:
    bool hidden = false;
    std::set<int32_t> privateIds;
    bool unlockAnswer = false;
    int unlockAsked = 0;
    std::vector<int32_t> opened;

    bool ArePrivateArticlesHidden() override { return hidden; }
    bool IsArticlePrivate(int32_t id) override { return privateIds.count(id) != 0; }
    bool UnlockPrivateArticles() override
    {
        ++unlockAsked;
        if (unlockAnswer) hidden = false;
        return unlockAnswer;
    }
    // Article 7 was created on 2020-01-02 at 10:00.
    bool MatchesCreatedStamp(int32_t id, int32_t date, int32_t time) override
    {
        return id == 7 && date == 20200102 && time == 36000;
    }
    void OpenArticle(int32_t id) override { opened.push_back(id); }
    std::string GetArticleTitle(int32_t id) override { return id == 7 ? "Seven" : ""; }
};

LinkRange ArticleLink(int32_t id, int32_t date, int32_t time)
{
    LinkRange r;
    r.type = 3;
    r.targetArticle = id;
    r.valueB = date;
    r.valueC = time;
    r.target = "Seven";
    return r;
}

int OpenCode(CFakeDocument& doc, const LinkRange& link)
{
    try {
        OpenArticleLink(doc, link);
    } catch (const CQuorError& e) {
        return e.Code();
    }
    return 0;
}

}  // namespace

TEST(ArticleLink, OpensOnlyTheArticleTheLinkWasMadeTo)
{
    CFakeDocument doc;
    EXPECT_EQ(OpenCode(doc, ArticleLink(7, 20200102, 36000)), 0);
    EXPECT_EQ(doc.opened, std::vector<int32_t>{7});
    // Another article now has the id, or none has.
    EXPECT_EQ(OpenCode(doc, ArticleLink(7, 20200102, 36001)), 49);
    EXPECT_EQ(OpenCode(doc, ArticleLink(8, 20200102, 36000)), 49);
    EXPECT_EQ(OpenCode(doc, ArticleLink(-1, -1, -1)), 49);
    EXPECT_EQ(doc.opened.size(), 1u);
}

TEST(ArticleLink, APrivateArticleWhileHiddenNeedsThePassword)
{
    CFakeDocument doc;
    doc.hidden = true;
    doc.privateIds = {7};
    EXPECT_EQ(OpenCode(doc, ArticleLink(7, 20200102, 36000)), 51);
    EXPECT_EQ(doc.unlockAsked, 1);
    EXPECT_TRUE(doc.opened.empty());
    doc.unlockAnswer = true;
    EXPECT_EQ(OpenCode(doc, ArticleLink(7, 20200102, 36000)), 0);
    EXPECT_EQ(doc.opened, std::vector<int32_t>{7});
    // Shown private articles, or a link to a public one, ask nothing.
    EXPECT_EQ(OpenCode(doc, ArticleLink(7, 20200102, 36000)), 0);
    EXPECT_EQ(doc.unlockAsked, 2);
}

TEST(ArticleLink, StatusTextByType)
{
    CFakeDocument doc;
    LinkRange link;
    link.type = 2;
    link.target = "http://example.org/";
    EXPECT_EQ(LinkStatusText(&doc, link, false), "URL: http://example.org/");
    link.type = 1;
    link.target = "C:\\Notes\\a.txt";
    EXPECT_EQ(LinkStatusText(&doc, link, false), "File: C:\\Notes\\a.txt");
    EXPECT_EQ(LinkStatusText(&doc, link, true), "Folder: C:\\Notes\\a.txt");
    link = ArticleLink(7, 0, 0);
    EXPECT_EQ(LinkStatusText(&doc, link, false), "Article: Seven");
    link.targetArticle = 9;
    EXPECT_EQ(LinkStatusText(&doc, link, false), "Article: ");
    // The title of a hidden private article stays hidden.
    doc.hidden = true;
    doc.privateIds = {7};
    link.targetArticle = 7;
    EXPECT_EQ(LinkStatusText(&doc, link, false), "Article: ");
    link.type = 0;
    EXPECT_EQ(LinkStatusText(&doc, link, false), "");
    link.type = 2;
    link.target = std::string(2000, 'x');
    EXPECT_EQ(LinkStatusText(&doc, link, false).size(), 1000u);
}

// Change Keywords for many articles as one operation, and a merge that passes every failure on.
#include <algorithm>

#include "framework/file.h"
#include "tests/document/doc_fixture.h"

namespace {

// Counts the flushes of one file and, from the `failAt`-th write on (0 = the first; -1 never), fails
// every write with a full disk.
class CFileCalls : public IFileFaults {
public:
    CFileCalls(std::string path, int failAt = -1) : m_path(std::move(path)), m_failAt(failAt)
    {
        m_previous = SetFileFaults(this);
    }
    ~CFileCalls() override { SetFileFaults(m_previous); }
    long Before(Call call, const std::string& path, uint64_t, uint32_t, uint32_t*) override
    {
        if (path != m_path)
            return 0;
        if (call == kFlush)
            ++m_flushes;
        if (call != kWrite)
            return 0;
        int index = m_writes++;
        return m_failAt >= 0 && index >= m_failAt ? 112 /* ERROR_DISK_FULL */ : 0;
    }
    int m_flushes = 0;
    int m_writes = 0;

private:
    std::string m_path;
    int m_failAt;
    IFileFaults* m_previous;
};

class DocKeywordChanges : public DocFixture {
protected:
    std::vector<int32_t> KeywordsOf(int32_t article)
    {
        CKeywordIdSet ids;
        m_doc->GetArticleKeywordIds(article, ids);
        return ids.Values();
    }
    std::vector<int32_t> ArticlesOf(int32_t keyword)
    {
        CArticleIdSet ids;
        m_doc->GetKeywordArticleIds(keyword, ids);
        return ids.Values();
    }
    bool Saw(const Notice& notice) const { return std::find(m_trace.begin(), m_trace.end(), notice) != m_trace.end(); }
};

}  // namespace

TEST_F(DocKeywordChanges, SharedKeywordRemovedAndAnotherAddedKeepsTheRest)
{
    Create();
    int32_t a = m_doc->AddKeyword("A", false);
    int32_t b = m_doc->AddKeyword("B", false);
    int32_t c = m_doc->AddKeyword("C", false);
    int32_t d = m_doc->AddKeyword("D", false);
    int32_t first = AddArticle("first", Keywords({a, c}));
    int32_t second = AddArticle("second", Keywords({a, d}));
    int32_t untouched = AddArticle("untouched", Keywords({a}));
    CRecordingArticleView window(m_trace, second);
    m_doc->AddView(&window);
    m_trace.clear();

    m_doc->ChangeKeywordsOfArticles(Articles({first, second}), Keywords({a}), Keywords({b}));

    EXPECT_EQ(KeywordsOf(first), (std::vector<int32_t>{b, c}));
    EXPECT_EQ(KeywordsOf(second), (std::vector<int32_t>{b, d}));
    EXPECT_EQ(KeywordsOf(untouched), (std::vector<int32_t>{a}));
    EXPECT_EQ(ArticlesOf(a), (std::vector<int32_t>{untouched}));
    EXPECT_EQ(ArticlesOf(b), (std::vector<int32_t>{first, second}));
    EXPECT_TRUE(Saw(Notice(ArticleHint::kKeywordDeleted, a, 0)));
    EXPECT_TRUE(Saw(Notice(ArticleHint::kKeywordAssigned, b, 0)));
    EXPECT_TRUE(Saw(TitlePlaced(first, false)));
    EXPECT_EQ(CheckOpenFile(), "");
    m_doc->RemoveView(&window);
    Reopen();
    EXPECT_EQ(KeywordsOf(second), (std::vector<int32_t>{b, d}));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocKeywordChanges, ManyArticlesAreOneFlushAndUnchangedArticlesAreNotWritten)
{
    Create();
    int32_t a = m_doc->AddKeyword("A", false);
    int32_t b = m_doc->AddKeyword("B", false);
    CArticleIdSet all;
    for (int i = 0; i < 60; ++i)
        all.Add(AddArticle("article " + std::to_string(i), Keywords({a})));
    m_doc->Flush();
    {
        CFileCalls calls(m_path);
        m_doc->ChangeKeywordsOfArticles(all, Keywords({a}), Keywords({b}));
        EXPECT_EQ(calls.m_flushes, 1);
    }
    EXPECT_TRUE(ArticlesOf(a).empty());
    EXPECT_EQ(ArticlesOf(b).size(), 60u);
    m_doc->Flush();
    std::string before = ReadBytes(m_path);
    {
        CFileCalls calls(m_path);
        m_doc->ChangeKeywordsOfArticles(all, Keywords({a}), Keywords({b}));  // nothing left to change
        EXPECT_EQ(calls.m_writes, 0);
    }
    m_doc->Flush();
    EXPECT_EQ(ReadBytes(m_path), before);
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocKeywordChanges, AnUnreadableArticleStopsTheChangeBeforeAnythingIsWritten)
{
    Create();
    m_doc->SetPassword("pw");
    int32_t a = m_doc->AddKeyword("A", false);
    int32_t b = m_doc->AddKeyword("B", false);
    int32_t open = AddArticle("open", Keywords({a}));
    int32_t hidden = AddArticle("private", Keywords({a}), true);
    Reopen();  // the private article is hidden and cannot be read
    m_doc->Flush();
    std::string before = ReadBytes(m_path);
    EXPECT_THROW(m_doc->ChangeKeywordsOfArticles(Articles({open, hidden}), Keywords({a}), Keywords({b})), CQuorError);
    m_doc->Flush();
    EXPECT_EQ(ReadBytes(m_path), before);
    EXPECT_EQ(KeywordsOf(open), (std::vector<int32_t>{a}));
}

TEST_F(DocKeywordChanges, APendingKeywordIsStoredOnceForAllArticles)
{
    Create();
    int32_t x = AddArticle("x", Keywords({}));
    int32_t y = AddArticle("y", Keywords({}));
    int32_t pending = m_doc->GetKeywordIdByName("Fresh");
    ASSERT_LT(pending, 0);
    m_doc->ChangeKeywordsOfArticles(Articles({x, y}), Keywords({}), Keywords({pending}));
    int32_t stored = m_doc->FindKeyword("Fresh");
    ASSERT_GE(stored, 0);
    EXPECT_EQ(KeywordsOf(x), (std::vector<int32_t>{stored}));
    EXPECT_EQ(ArticlesOf(stored), (std::vector<int32_t>{x, y}));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocKeywordChanges, AMergeThatFailsHalfWayPassesTheFailureOnAndLeavesTheSourceOnItsArticles)
{
    Create();
    int32_t s = m_doc->AddKeyword("source", false);
    int32_t t = m_doc->AddKeyword("target", false);
    std::vector<int32_t> articles;
    for (int i = 0; i < 20; ++i)
        articles.push_back(AddArticle("article " + std::to_string(i), Keywords({s})));
    m_doc->Flush();
    {
        CFileCalls calls(m_path, 12);  // some articles are written, then the disk is full
        EXPECT_THROW(m_doc->MergeKeyword(s, t), CQuorError);
        EXPECT_GE(calls.m_writes, 12);
    }
    for (int32_t article : articles) {
        std::vector<int32_t> keywords = KeywordsOf(article);
        EXPECT_NE(std::find(keywords.begin(), keywords.end(), s), keywords.end()) << article;
    }
    EXPECT_EQ(m_doc->GetKeywordName(s), "source");
}

TEST_F(DocKeywordChanges, MergingAKeywordIntoItselfChangesNothing)
{
    Create();
    int32_t s = m_doc->AddKeyword("source", false);
    AddArticle("a", Keywords({s}));
    m_doc->Flush();
    std::string before = ReadBytes(m_path);
    m_doc->MergeKeyword(s, s);
    m_doc->Flush();
    EXPECT_EQ(ReadBytes(m_path), before);
}

// What each operation tells the index view, the article windows and the report windows, in order.
// Report requests are recorded with code = request * 10 + report kind.
#include <functional>

#include "tests/document/doc_fixture.h"

namespace {
struct NotifyCase {
    const char* name;
    // Runs the operation on a file that holds keyword k (in group g) and article a (with k); the
    // ids are passed in and the expected trace is built from them.
    std::function<void(CQuorvaneDoc&, int32_t k, int32_t g, int32_t a)> operation;
    std::function<Trace(int32_t k, int32_t g, int32_t a)> expected;
};

Trace ReportsOf(int request, intptr_t p, std::initializer_list<int> kinds)
{
    Trace trace;
    for (int kind : kinds)
        trace.push_back({'R', request * 10 + kind, p, 0});
    return trace;
}

Trace operator+(Trace a, const Trace& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const NotifyCase kCases[] = {
    {"AddKeyword",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) { d.AddKeyword("new", true); },
     [](int32_t k, int32_t g, int32_t a) { return Trace{{'I', 2, k + 1, 1}}; }},
    {"AddArticleBookmarked",
     [](CQuorvaneDoc& d, int32_t k, int32_t, int32_t) {
         CArticleRecord record;
         record.SetTitle("new");
         record.SetKeywordIds(Keywords({k}));
         d.AddArticle(record, true, true);
     },
     [](int32_t k, int32_t, int32_t a) {
         return Trace{{'I', 1, a + 1, 1}, {'T', 0, a + 1, 1}} + ReportsOf(1, k, {1, 2, 3}) +
                Trace{{'I', 23, a + 1, 0}};
     }},
    {"UpdateArticleUnchanged",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         d.UpdateArticle(a, record, false);
     },
     [](int32_t, int32_t, int32_t a) {
         return Trace{{'T', 0, a, 0}, {'I', 23, a, 0}, {'I', 44, a, 0}};
     }},
    {"UpdateArticleTitle",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         record.SetTitle("renamed");
         d.UpdateArticle(a, record, false);
     },
     [](int32_t k, int32_t, int32_t a) {
         return ReportsOf(1, k, {1, 2, 3}) +
                Trace{{'I', 3, a, 0}, {'T', 0, a, 0}, {'I', 23, a, 0}, {'I', 44, a, 0}};
     }},
    {"UpdateArticleKeywordsOnly",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         record.SetKeywordIds(CKeywordIdSet());
         d.UpdateArticle(a, record, false);
     },
     [](int32_t k, int32_t, int32_t a) {
         return ReportsOf(1, k, {1, 2, 3}) + Trace{{'T', 0, a, 0}, {'I', 23, a, 0}, {'I', 44, a, 0}};
     }},
    {"UpdateArticleWithANewPendingKeyword",
     [](CQuorvaneDoc& d, int32_t k, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         record.SetKeywordIds(Keywords({d.GetKeywordIdByName("typed"), k}));
         d.UpdateArticle(a, record, false);
     },
     [](int32_t k, int32_t, int32_t a) {
         return Trace{{'I', 2, k + 1, 0}} + ReportsOf(1, k + 1, {1, 2, 3}) +
                Trace{{'T', 0, a, 0}, {'I', 23, a, 0}, {'I', 44, a, 0}};
     }},
    {"DeleteArticle",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) { d.DeleteArticle(a); },
     [](int32_t k, int32_t, int32_t a) {
         return ReportsOf(1, k, {1, 2, 3}) +
                Trace{{'I', 1, a, 0}, {'X', 0, a, 0}, {'I', 29, 0, 0}, {'I', 44, 0, 0}};
     }},
    {"SetBookmark",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) { d.SetBookmark(a, true); },
     [](int32_t, int32_t, int32_t a) { return Trace{{'I', 1, a, 1}}; }},
    {"RenameGroupedKeyword",
     [](CQuorvaneDoc& d, int32_t k, int32_t g, int32_t) { d.UpdateKeyword(k, "renamed", Groups({g})); },
     [](int32_t k, int32_t, int32_t) {
         return Trace{{'I', 10, k, 0}} + ReportsOf(1, k, {1, 2, 3, 4});
     }},
    {"RenameUngroupedKeywordIntoAGroup",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) {
         int32_t loose = d.AddKeyword("loose", false);
         d.UpdateKeyword(loose, "renamed", Groups({g}));
     },
     [](int32_t k, int32_t, int32_t) {
         // Not in a group before the change: the group report is not asked.
         return Trace{{'I', 2, k + 1, 0}, {'I', 10, k + 1, 0}} + ReportsOf(1, k + 1, {1, 2, 3});
     }},
    {"DeleteGroupedKeyword",
     [](CQuorvaneDoc& d, int32_t k, int32_t, int32_t) { d.DeleteKeywords(Keywords({k})); },
     [](int32_t k, int32_t, int32_t) {
         return ReportsOf(5, k, {1, 2, 3}) + ReportsOf(11, 0, {4});
     }},
    {"AddGroup",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) {
         CKeywordGroupRecord group;
         group.SetName("other");
         d.AddKeywordGroup(group);
     },
     [](int32_t, int32_t g, int32_t) { return Trace{{'I', 36, g + 1, 0}} + ReportsOf(11, 0, {4}); }},
    {"RenameGroupOnly",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) {
         CKeywordGroupRecord group;
         d.LoadKeywordGroup(g, group);
         group.SetName("renamed");
         d.UpdateKeywordGroup(g, group);
     },
     [](int32_t, int32_t g, int32_t) {
         return Trace{{'I', 37, g, 0}, {'I', 36, g, 0}} + ReportsOf(11, 0, {4});
     }},
    {"ChangeGroupMembers",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) {
         CKeywordGroupRecord group;
         d.LoadKeywordGroup(g, group);
         group.SetKeywordIds(CKeywordIdSet());
         d.UpdateKeywordGroup(g, group);
     },
     [](int32_t, int32_t g, int32_t) { return Trace{{'I', 43, g, 0}} + ReportsOf(11, 0, {4}); }},
    {"DeleteGroup",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) { d.DeleteKeywordGroup(g); },
     [](int32_t, int32_t g, int32_t) {
         return Trace{{'I', 37, g, 0}, {'I', 43, g, 0}} + ReportsOf(11, 0, {4});
     }},
    {"SetSortOrder",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) { d.SetSortOrder(3); },
     [](int32_t, int32_t, int32_t) { return Trace{{'I', 14, 0, 0}}; }},
    {"IndexQuestionsAndRequests",
     [](CQuorvaneDoc& d, int32_t k, int32_t, int32_t) {
         CArticleIdSet articles;
         CKeywordIdSet keywords;
         d.GetSelectedArticleIds(articles);
         d.GetHighlightedArticleIds(articles);
         d.GetIndexKeywordSelection(keywords);
         d.GetIndexMode();
         d.ClearIndexTitleSelection();
         d.ClearIndexListSelection();
         d.HighlightIndexKeywords(Keywords({k}));
         d.ApplyActiveLinks(1);
     },
     [](int32_t, int32_t, int32_t) {
         return Trace{{'I', 8, 0, 0},  {'I', 26, 0, 0}, {'I', 13, 0, 0}, {'I', 15, 0, 0},
                      {'I', 16, 0, 0}, {'I', 17, 0, 0}, {'I', 46, 0, 0}, {'I', 24, 1, 0}};
     }},
    {"RefreshViews",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) { d.RefreshViews(); },
     [](int32_t, int32_t, int32_t) { return Trace{{'I', 7, 0, 0}} + ReportsOf(2, 0, {1, 2, 3}); }},
};

class DocNotify : public DocFixture, public ::testing::WithParamInterface<NotifyCase> {};
}  // namespace

TEST_P(DocNotify, SendsExactlyTheCodesInOrder)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    CKeywordGroupRecord group;
    group.SetName("g");
    group.SetKeywordIds(Keywords({k}));
    int32_t g = m_doc->AddKeywordGroup(group);
    int32_t a = AddArticle("a", Keywords({k}));
    CRecordingReportView reports[] = {{m_trace, 1}, {m_trace, 2}, {m_trace, 3}, {m_trace, 4}};
    for (auto& report : reports)
        m_doc->AddView(&report);
    m_trace.clear();

    GetParam().operation(*m_doc, k, g, a);
    EXPECT_EQ(m_trace, GetParam().expected(k, g, a));
    EXPECT_EQ(CheckOpenFile(), "");
    for (auto& report : reports)
        m_doc->RemoveView(&report);
}

INSTANTIATE_TEST_SUITE_P(Operations, DocNotify, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<NotifyCase>& info) { return info.param.name; });

TEST_F(DocFixture, ArticleWindowHintsGoToTheWindowOfTheArticle)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t a = AddArticle("a", Keywords({k}));
    int32_t b = AddArticle("b", Keywords({}));
    CRecordingArticleView viewA(m_trace, a);
    CRecordingArticleView viewB(m_trace, b);
    m_doc->AddView(&viewA);
    m_doc->AddView(&viewB);
    m_trace.clear();

    m_doc->SetBookmark(a, true);
    m_doc->UpdateKeyword(k, "k2", CGroupIdSet());
    m_doc->DeleteArticle(a);
    EXPECT_TRUE(viewA.m_closed);
    EXPECT_FALSE(viewB.m_closed);
    Trace articleHints;
    for (const Notice& notice : m_trace)
        if (notice.channel == 'A')
            articleHints.push_back(notice);
    // Bookmark to a's window; rename to both; deletion: 19 then the bookmark cleared.
    EXPECT_EQ(articleHints, (Trace{{'A', 5, 1, 0}, {'A', 3, k, 0}, {'A', 3, k, 0}, {'A', 19, 0, 0}, {'A', 5, 0, 0}}));
    m_doc->RemoveView(&viewA);
    m_doc->RemoveView(&viewB);
}

// The index view places each stored title with the article's keyword set as stored: pending keywords
// already committed, and the highlight flag only for a new article that asks for it.
TEST_F(DocFixture, TitlesArePlacedWithTheStoredKeywordSet)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t k2 = m_doc->AddKeyword("k2", false);
    CArticleRecord record;
    record.SetTitle("a");
    record.SetKeywordIds(Keywords({m_doc->GetKeywordIdByName("typed"), k}));
    int32_t a = m_doc->AddArticle(record, false, true);
    int32_t typed = m_doc->FindKeyword("typed");
    UpdateKeywordsOf(a, Keywords({k2}));

    Trace placed;
    for (const Notice& notice : m_trace)
        if (notice.channel == 'T')
            placed.push_back(notice);
    EXPECT_EQ(placed, (Trace{{'T', 0, a, 1}, {'T', 0, a, 0}}));
    EXPECT_EQ(m_index.m_placedKeywords, (std::vector<std::vector<int32_t>>{{k, typed}, {k2}}));
}

TEST_F(DocFixture, WithoutAnIndexViewEveryQuestionAnswersNone)
{
    Create();
    m_doc->RemoveView(&m_index);
    for (int code : {4, 5, 8, 13, 15, 21, 22, 37, 41})
        EXPECT_EQ(m_doc->NotifyIndexView(code, 0, 0), kNoneId) << code;
    m_doc->AddView(&m_index);
}

TEST_F(DocFixture, ANewSortOrderIsAnnouncedAndTheIndexWindowActivated)
{
    Create();
    m_doc->SetSortOrder(0);
    EXPECT_EQ(m_trace, Trace{});
    EXPECT_EQ(m_host.m_indexActivations, 0);
    m_doc->SetSortOrder(3);
    m_doc->SetSortOrder(3);
    EXPECT_EQ(m_trace, (Trace{{'I', 14, 0, 0}}));
    EXPECT_EQ(m_host.m_indexActivations, 1);
    EXPECT_EQ(m_doc->GetSortOrder(), 3);
}

TEST_F(DocFixture, TheIndexViewsAnswersReachTheCaller)
{
    Create();
    m_index.m_listedArticles = Articles({3, 5});
    m_index.m_selectedKeywords = Keywords({2});
    m_index.m_answer = 1;
    CArticleIdSet articles = Articles({9});
    CKeywordIdSet keywords;
    m_doc->GetSelectedArticleIds(articles);
    EXPECT_EQ(articles.Values(), (std::vector<int32_t>{3, 5}));
    EXPECT_EQ(m_doc->GetIndexKeywordSelection(keywords), 1);
    EXPECT_EQ(keywords.Values(), (std::vector<int32_t>{2}));
    EXPECT_EQ(m_doc->GetIndexMode(), 1);

    m_doc->RemoveView(&m_index);
    articles = Articles({9});
    m_doc->GetHighlightedArticleIds(articles);
    EXPECT_EQ(articles.GetSize(), 0);
    EXPECT_EQ(m_doc->GetIndexKeywordSelection(keywords), kNoneId);
    EXPECT_EQ(keywords.GetSize(), 0);
    EXPECT_EQ(m_doc->GetIndexMode(), kNoneId);
    m_doc->AddView(&m_index);
}

TEST_F(DocFixture, ArticleWindowsApplyActiveLinksAndCloseForTheNextArticle)
{
    Create();
    int32_t a = AddArticle("a", Keywords({}));
    int32_t b = AddArticle("b", Keywords({}));
    CRecordingArticleView viewA(m_trace, a);
    CRecordingArticleView viewB(m_trace, b);
    m_doc->AddView(&viewA);
    m_doc->AddView(&viewB);
    m_trace.clear();

    m_doc->ApplyActiveLinks(2);
    EXPECT_EQ(m_trace, (Trace{{'I', 24, 2, 0}, {'A', 17, 2, 0}, {'A', 17, 2, 0}}));

    // A window that refuses to close stays, and the index view is not asked to move on.
    m_trace.clear();
    viewA.m_mayClose = false;
    m_doc->CloseArticleWindow(a, 1);
    EXPECT_FALSE(viewA.m_closed);
    EXPECT_EQ(m_trace, Trace{});
    m_doc->CloseArticleWindow(b, -1);
    EXPECT_TRUE(viewB.m_closed);
    EXPECT_EQ(m_trace, (Trace{{'I', 27, b, -1}}));
    m_doc->RemoveView(&viewA);
    m_doc->RemoveView(&viewB);
}

TEST_F(DocFixture, ReportTextsAndListsComeFromTheOpenReportWindowOfTheKind)
{
    Create();
    std::string text = "stale";
    int32_t width = 0;
    CKeywordIdSet keywords = Keywords({1});
    CGroupIdSet groups = Groups({1});
    CArticleIdSet articles = Articles({1, 2, 3});
    // No report window open: nothing to give, and the articles stay as they were.
    m_doc->GetKeywordUsageReportText(1, text, width);
    EXPECT_EQ(text, "");
    EXPECT_EQ(width, -1);
    m_doc->GetIndexReportKeywordIds(keywords);
    m_doc->GetKeywordGroupReportGroupIds(groups);
    m_doc->FilterReportArticleIds(articles);
    EXPECT_EQ(keywords.GetSize() + groups.GetSize(), 0);
    EXPECT_EQ(articles.Values(), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(m_trace, Trace{});

    CRecordingReportView reports[] = {{m_trace, 1}, {m_trace, 2}, {m_trace, 3}, {m_trace, 4}};
    for (auto& report : reports) {
        report.m_listed.Copy(std::vector<int32_t>{2, 7});
        m_doc->AddView(&report);
    }
    m_doc->GetIndexReportText(2, text);
    EXPECT_EQ(text, "report 1 form 2");
    m_doc->GetKeywordUsageReportText(1, text, width);
    EXPECT_EQ(text, "report 2 form 1");
    EXPECT_EQ(width, 102);
    m_doc->GetKeywordCloudReportText(3, text, width);
    EXPECT_EQ(text, "report 3 form 3");
    EXPECT_EQ(width, 103);
    m_doc->GetKeywordGroupReportText(1, text);
    EXPECT_EQ(text, "report 4 form 1");
    m_doc->GetIndexReportKeywordIds(keywords);
    EXPECT_EQ(keywords.Values(), (std::vector<int32_t>{2, 7}));
    m_doc->GetKeywordUsageReportKeywordIds(keywords);
    m_doc->GetKeywordGroupReportGroupIds(groups);
    EXPECT_EQ(groups.Values(), (std::vector<int32_t>{2, 7}));
    m_doc->FilterReportArticleIds(articles);
    EXPECT_EQ(articles.Values(), (std::vector<int32_t>{2}));
    EXPECT_EQ(m_trace, (Trace{{'R', 31, 0, 2}, {'R', 32, 0, 1}, {'R', 92, 0, 0}, {'R', 33, 0, 3}, {'R', 93, 0, 0},
                              {'R', 34, 0, 1}, {'R', 41, 0, 0}, {'R', 42, 0, 0}, {'R', 104, 0, 0}, {'R', 61, 0, 0}}));
    for (auto& report : reports)
        m_doc->RemoveView(&report);
}

// What each operation tells the index view, the article windows and the report windows, in order.
#include <functional>
#include <iterator>
#include <vector>

#include "tests/document/doc_fixture.h"

namespace {
struct NotifyCase {
    const char* name;
    // Runs the operation on a file that holds keyword k (in group g) and article a (with k); the
    // ids are passed in and the expected trace is built from them.
    std::function<void(CQuorvaneDoc&, int32_t k, int32_t g, int32_t a)> operation;
    std::function<Trace(int32_t k, int32_t g, int32_t a)> expected;
};

Trace ReportsOf(ReportRequest request, intptr_t p, std::vector<ReportKind> kinds)
{
    Trace trace;
    for (ReportKind kind : kinds)
        trace.push_back({request, kind, p, 0});
    return trace;
}

std::vector<ReportKind> KeywordReports()
{
    return {std::begin(kKeywordReports), std::end(kKeywordReports)};
}

std::vector<ReportKind> AllReports()
{
    std::vector<ReportKind> kinds = KeywordReports();
    kinds.push_back(ReportKind::kKeywordGroups);
    return kinds;
}

Trace operator+(Trace a, const Trace& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const NotifyCase kCases[] = {
    {"AddKeyword",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) { d.AddKeyword("new", true); },
     [](int32_t k, int32_t g, int32_t a) { return Trace{{IndexCode::kKeywordAdded, k + 1, 1}}; }},
    {"AddArticleBookmarked",
     [](CQuorvaneDoc& d, int32_t k, int32_t, int32_t) {
         CArticleRecord record;
         record.SetTitle("new");
         record.SetKeywordIds(Keywords({k}));
         d.AddArticle(record, true, true);
     },
     [](int32_t k, int32_t, int32_t a) {
         return Trace{{IndexCode::kBookmarkChanged, a + 1, 1}, TitlePlaced(a + 1, true)} + ReportsOf(ReportRequest::kKeywordChanged, k, KeywordReports()) +
                Trace{{IndexCode::kArticleChanged, a + 1, 0}};
     }},
    {"UpdateArticleUnchanged",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         d.UpdateArticle(a, record, false);
     },
     [](int32_t, int32_t, int32_t a) {
         return Trace{TitlePlaced(a, false), {IndexCode::kArticleChanged, a, 0}, {IndexCode::kRemindersChanged, a, 0}};
     }},
    {"UpdateArticleTitle",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         record.SetTitle("renamed");
         d.UpdateArticle(a, record, false);
     },
     [](int32_t k, int32_t, int32_t a) {
         return ReportsOf(ReportRequest::kKeywordChanged, k, KeywordReports()) +
                Trace{{IndexCode::kArticleTitleChanged, a, 0}, TitlePlaced(a, false), {IndexCode::kArticleChanged, a, 0}, {IndexCode::kRemindersChanged, a, 0}};
     }},
    {"UpdateArticleKeywordsOnly",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         record.SetKeywordIds(CKeywordIdSet());
         d.UpdateArticle(a, record, false);
     },
     [](int32_t k, int32_t, int32_t a) {
         return ReportsOf(ReportRequest::kKeywordChanged, k, KeywordReports()) + Trace{TitlePlaced(a, false), {IndexCode::kArticleChanged, a, 0}, {IndexCode::kRemindersChanged, a, 0}};
     }},
    {"UpdateArticleWithANewPendingKeyword",
     [](CQuorvaneDoc& d, int32_t k, int32_t, int32_t a) {
         CArticleRecord record;
         d.LoadArticle(a, record);
         record.SetKeywordIds(Keywords({d.GetKeywordIdByName("typed"), k}));
         d.UpdateArticle(a, record, false);
     },
     [](int32_t k, int32_t, int32_t a) {
         return Trace{{IndexCode::kKeywordAdded, k + 1, 0}} + ReportsOf(ReportRequest::kKeywordChanged, k + 1, KeywordReports()) +
                Trace{TitlePlaced(a, false), {IndexCode::kArticleChanged, a, 0}, {IndexCode::kRemindersChanged, a, 0}};
     }},
    {"DeleteArticle",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) { d.DeleteArticle(a); },
     [](int32_t k, int32_t, int32_t a) {
         return ReportsOf(ReportRequest::kKeywordChanged, k, KeywordReports()) +
                Trace{{IndexCode::kBookmarkChanged, a, 0}, TitleRemoved(a), {IndexCode::kTitlesCaption, 0, 0}, {IndexCode::kRemindersChanged, 0, 0}};
     }},
    {"SetBookmark",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t a) { d.SetBookmark(a, true); },
     [](int32_t, int32_t, int32_t a) { return Trace{{IndexCode::kBookmarkChanged, a, 1}}; }},
    {"RenameGroupedKeyword",
     [](CQuorvaneDoc& d, int32_t k, int32_t g, int32_t) { d.UpdateKeyword(k, "renamed", Groups({g})); },
     [](int32_t k, int32_t, int32_t) {
         return Trace{{IndexCode::kKeywordRenamed, k, 0}} + ReportsOf(ReportRequest::kKeywordChanged, k, AllReports());
     }},
    {"RenameUngroupedKeywordIntoAGroup",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) {
         int32_t loose = d.AddKeyword("loose", false);
         d.UpdateKeyword(loose, "renamed", Groups({g}));
     },
     [](int32_t k, int32_t, int32_t) {
         // Not in a group before the change: the group report is not asked.
         return Trace{{IndexCode::kKeywordAdded, k + 1, 0}, {IndexCode::kKeywordRenamed, k + 1, 0}} + ReportsOf(ReportRequest::kKeywordChanged, k + 1, KeywordReports());
     }},
    {"DeleteGroupedKeyword",
     [](CQuorvaneDoc& d, int32_t k, int32_t, int32_t) { d.DeleteKeywords(Keywords({k})); },
     [](int32_t k, int32_t, int32_t) {
         return ReportsOf(ReportRequest::kKeywordDeleting, k, KeywordReports()) + ReportsOf(ReportRequest::kGroupsChanged, 0, {ReportKind::kKeywordGroups});
     }},
    {"AddGroup",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) {
         CKeywordGroupRecord group;
         group.SetName("other");
         d.AddKeywordGroup(group);
     },
     [](int32_t, int32_t g, int32_t) { return Trace{{IndexCode::kGroupAdded, g + 1, 0}} + ReportsOf(ReportRequest::kGroupsChanged, 0, {ReportKind::kKeywordGroups}); }},
    {"RenameGroupOnly",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) {
         CKeywordGroupRecord group;
         d.LoadKeywordGroup(g, group);
         group.SetName("renamed");
         d.UpdateKeywordGroup(g, group);
     },
     [](int32_t, int32_t g, int32_t) {
         return Trace{{IndexCode::kGroupRemoved, g, 0}, {IndexCode::kGroupAdded, g, 0}} + ReportsOf(ReportRequest::kGroupsChanged, 0, {ReportKind::kKeywordGroups});
     }},
    {"ChangeGroupMembers",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) {
         CKeywordGroupRecord group;
         d.LoadKeywordGroup(g, group);
         group.SetKeywordIds(CKeywordIdSet());
         d.UpdateKeywordGroup(g, group);
     },
     [](int32_t, int32_t g, int32_t) { return Trace{{IndexCode::kGroupsChanged, g, 0}} + ReportsOf(ReportRequest::kGroupsChanged, 0, {ReportKind::kKeywordGroups}); }},
    {"DeleteGroup",
     [](CQuorvaneDoc& d, int32_t, int32_t g, int32_t) { d.DeleteKeywordGroup(g); },
     [](int32_t, int32_t g, int32_t) {
         return Trace{{IndexCode::kGroupRemoved, g, 0}, {IndexCode::kGroupsChanged, g, 0}} + ReportsOf(ReportRequest::kGroupsChanged, 0, {ReportKind::kKeywordGroups});
     }},
    {"SetSortOrder",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) { d.SetSortOrder(3); },
     [](int32_t, int32_t, int32_t) { return Trace{{IndexCode::kSortOrderChanged, 0, 0}}; }},
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
         return Trace{{IndexCode::kGetListedArticleIds, 0, 0},  {IndexCode::kGetHighlightedArticleIds, 0, 0}, {IndexCode::kGetSelectedKeywords, 0, 0}, {IndexCode::kGetTitlesMode, 0, 0},
                      {IndexCode::kClearTitleSelection, 0, 0}, {IndexCode::kClearKeywordSelection, 0, 0}, {IndexCode::kSelectKeywords, 0, 0}, {IndexCode::kSetLinkDisplay, 1, 0}};
     }},
    {"RefreshViews",
     [](CQuorvaneDoc& d, int32_t, int32_t, int32_t) { d.RefreshViews(); },
     [](int32_t, int32_t, int32_t) { return Trace{{IndexCode::kListFontChanged, 0, 0}} + ReportsOf(ReportRequest::kDisplayRefresh, 0, KeywordReports()); }},
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
    CRecordingReportView reports[] = {{m_trace, ReportKind::kIndexReport}, {m_trace, ReportKind::kKeywordUsage},
                                      {m_trace, ReportKind::kKeywordCloud}, {m_trace, ReportKind::kKeywordGroups}};
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
    EXPECT_EQ(articleHints, (Trace{{ArticleHint::kBookmarkState, 1, 0}, {ArticleHint::kKeywordRenamed, k, 0}, {ArticleHint::kKeywordRenamed, k, 0}, {ArticleHint::kArticleDeleting, 0, 0}, {ArticleHint::kBookmarkState, 0, 0}}));
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
    EXPECT_EQ(placed, (Trace{TitlePlaced(a, true), TitlePlaced(a, false)}));
    EXPECT_EQ(m_index.m_placedKeywords, (std::vector<std::vector<int32_t>>{{k, typed}, {k2}}));
}

TEST_F(DocFixture, WithoutAnIndexViewEveryQuestionAnswersNone)
{
    Create();
    m_doc->RemoveView(&m_index);
    for (IndexCode code : {IndexCode::kIsCatalog, IndexCode::kIsVisible, IndexCode::kGetListedArticleIds,
                           IndexCode::kGetSelectedKeywords, IndexCode::kGetTitlesMode, IndexCode::kGetPreviewFlags,
                           IndexCode::kTogglePreview, IndexCode::kGroupRemoved, IndexCode::kIsGroupPaneVisible})
        EXPECT_EQ(m_doc->NotifyIndexView(code, 0, 0), kNoneId) << static_cast<int>(code);
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
    EXPECT_EQ(m_trace, (Trace{{IndexCode::kSortOrderChanged, 0, 0}}));
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
    EXPECT_EQ(m_trace, (Trace{{IndexCode::kSetLinkDisplay, 2, 0}, {ArticleHint::kActiveLinks, 2, 0}, {ArticleHint::kActiveLinks, 2, 0}}));

    // A window that refuses to close stays, and the index view is not asked to move on.
    m_trace.clear();
    viewA.m_mayClose = false;
    m_doc->CloseArticleWindow(a, 1);
    EXPECT_FALSE(viewA.m_closed);
    EXPECT_EQ(m_trace, Trace{});
    m_doc->CloseArticleWindow(b, -1);
    EXPECT_TRUE(viewB.m_closed);
    EXPECT_EQ(m_trace, (Trace{{IndexCode::kOpenNeighbour, b, -1}}));
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

    CRecordingReportView reports[] = {{m_trace, ReportKind::kIndexReport}, {m_trace, ReportKind::kKeywordUsage},
                                      {m_trace, ReportKind::kKeywordCloud}, {m_trace, ReportKind::kKeywordGroups}};
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
    EXPECT_EQ(m_trace, (Trace{{ReportRequest::kGetReportText, ReportKind::kIndexReport, 0, 2}, {ReportRequest::kGetReportText, ReportKind::kKeywordUsage, 0, 1}, {ReportRequest::kGetCountWidth, ReportKind::kKeywordUsage, 0, 0}, {ReportRequest::kGetReportText, ReportKind::kKeywordCloud, 0, 3}, {ReportRequest::kGetCountWidth, ReportKind::kKeywordCloud, 0, 0},
                              {ReportRequest::kGetReportText, ReportKind::kKeywordGroups, 0, 1}, {ReportRequest::kGetKeywordIds, ReportKind::kIndexReport, 0, 0}, {ReportRequest::kGetKeywordIds, ReportKind::kKeywordUsage, 0, 0}, {ReportRequest::kGetGroupIds, ReportKind::kKeywordGroups, 0, 0}, {ReportRequest::kFilterArticleIds, ReportKind::kIndexReport, 0, 0}}));
    for (auto& report : reports)
        m_doc->RemoveView(&report);
}

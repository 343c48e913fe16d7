// The index window's selection without windows: a small knowledge base in memory, the window's lists
// as plain sets, and every result checked against set arithmetic done here by brute force.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "framework/ansi_case.h"
#include "index/current_query.h"
#include "index/index_selection.h"
#include "storage/quor_error.h"

namespace {

CKeywordIdSet Keywords(std::initializer_list<int32_t> ids)
{
    CKeywordIdSet set;
    set.Copy(std::vector<int32_t>(ids));
    return set;
}

std::vector<int32_t> Ids(std::initializer_list<int32_t> ids)
{
    return std::vector<int32_t>(ids);
}

// Articles 0..n-1 with keywords, bookmarks, attachments and privacy; keywords 0..k-1 named "k0"...
class CFixtureData : public CIndexData {
public:
    struct Article {
        std::vector<int32_t> keywords;
        bool bookmarked = false;
        int attachments = 0;
        bool isPrivate = false;
    };

    explicit CFixtureData(int keywordCount) : m_keywordCount(keywordCount) {}

    int32_t Add(Article article)
    {
        std::sort(article.keywords.begin(), article.keywords.end());
        articles.push_back(article);
        return static_cast<int32_t>(articles.size() - 1);
    }

    int32_t FindKeyword(const std::string& name) const override
    {
        for (int32_t k = 0; k < m_keywordCount; ++k)
            if (AnsiCompareNoCase(("k" + std::to_string(k)).c_str(), name.c_str()) == 0)
                return k;
        return kNoneId;
    }
    int32_t FindKeywordGroup(const std::string& name) const override { return kNoneId; }
    void GetKeywordArticleIds(int32_t keyword, CArticleIdSet& out) override
    {
        ++keywordReads;
        if (keyword == failingKeyword)
            throw CQuorError(kCorruptedRecord, "test.xrd");
        std::vector<int32_t> ids;
        for (size_t a = 0; a < articles.size(); ++a)
            if (Has(static_cast<int32_t>(a), keyword))
                ids.push_back(static_cast<int32_t>(a));
        out.Copy(ids);
    }
    void GetGroupKeywordIds(int32_t group, CKeywordIdSet& out) override { out.Copy(groups.at(group)); }
    void GetAllArticleIds(CArticleIdSet& out) override { out.Copy(Shown([](const Article&) { return true; })); }
    void GetBookmarkedIds(CArticleIdSet& out) override { out.Copy(Shown([](const Article& a) { return a.bookmarked; })); }
    int GetPrivateCount() override
    {
        return static_cast<int>(std::count_if(articles.begin(), articles.end(), [](const Article& a) { return a.isPrivate; }));
    }
    void GetArticleKeywordIds(int32_t article, CKeywordIdSet& out) override
    {
        ++articleLoads;
        out.Copy(articles.at(static_cast<size_t>(article)).keywords);
    }
    int GetArticleAttachmentCount(int32_t article) override { return articles.at(static_cast<size_t>(article)).attachments; }
    int32_t GetArticleDate(int32_t) override { return 20240101; }
    void GetAllKeywordIds(CKeywordIdSet& out) override
    {
        std::vector<int32_t> ids;
        for (int32_t k = 0; k < m_keywordCount; ++k)
            if (!deleted.count(k))
                ids.push_back(k);
        out.Copy(ids);
    }
    int GetKeywordCount() override { return keywordCountAnswer >= 0 ? keywordCountAnswer : m_keywordCount; }
    bool IsBookmarked(int32_t article) override { return articles.at(static_cast<size_t>(article)).bookmarked; }
    bool IsArticlePrivate(int32_t article) override { return articles.at(static_cast<size_t>(article)).isPrivate; }
    bool ArePrivateArticlesHidden() override { return privateHidden; }
    int GetShownArticleCount() override
    {
        CArticleIdSet all;
        GetAllArticleIds(all);
        return all.GetSize();
    }
    int GetSortOrder() override { return sortOrder; }
    void DeleteKeywords(const CKeywordIdSet& keywords) override
    {
        for (int32_t k : keywords.Values()) {
            deleted.insert(k);
            for (Article& a : articles)
                a.keywords.erase(std::remove(a.keywords.begin(), a.keywords.end(), k), a.keywords.end());
        }
    }
    void OpenArticle(int32_t article) override { opened.push_back(article); }

    bool Has(int32_t article, int32_t keyword) const
    {
        const std::vector<int32_t>& k = articles.at(static_cast<size_t>(article)).keywords;
        return std::find(k.begin(), k.end(), keyword) != k.end();
    }
    bool IsShown(int32_t a) const { return !(privateHidden && articles[static_cast<size_t>(a)].isPrivate); }
    // The shown articles matching `test`.
    template <class Test>
    std::vector<int32_t> Shown(Test test) const
    {
        std::vector<int32_t> ids;
        for (size_t a = 0; a < articles.size(); ++a)
            if (IsShown(static_cast<int32_t>(a)) && test(articles[a]))
                ids.push_back(static_cast<int32_t>(a));
        return ids;
    }

    std::vector<Article> articles;
    std::map<int32_t, std::vector<int32_t>> groups;
    std::set<int32_t> deleted;
    std::vector<int32_t> opened;
    bool privateHidden = true;
    int sortOrder = 0;
    int32_t failingKeyword = kNoneId;
    int keywordCountAnswer = -1;
    int keywordReads = 0;
    int articleLoads = 0;

private:
    int m_keywordCount;
};

// The window's lists as sets; every change is logged by name.
class CFakePanes : public CIndexPanes {
public:
    struct List {
        std::set<int32_t> ids;
        std::set<int32_t> highlighted;
    };

    void SetTitles(const CArticleIdSet& ids) override
    {
        Log("SetTitles");
        titles.ids = {ids.Values().begin(), ids.Values().end()};
        titles.highlighted.clear();
    }
    void GetTitles(CArticleIdSet& out) override { out.Copy(std::vector<int32_t>(titles.ids.begin(), titles.ids.end())); }
    int GetTitleCount() override { return static_cast<int>(titles.ids.size()); }
    bool HasTitle(int32_t id) override { return titles.ids.count(id) != 0; }
    bool IsTitleHighlighted(int32_t id) override { return titles.highlighted.count(id) != 0; }
    void InsertTitle(int32_t id, bool highlight) override
    {
        Log("InsertTitle");
        titles.ids.insert(id);
        if (highlight)
            titles.highlighted.insert(id);
    }
    void RemoveTitle(int32_t id) override
    {
        Log("RemoveTitle");
        titles.ids.erase(id);
        titles.highlighted.erase(id);
    }
    void GetHighlightedTitles(CArticleIdSet& out) override
    {
        out.Copy(std::vector<int32_t>(titles.highlighted.begin(), titles.highlighted.end()));
    }
    int GetHighlightedTitleCount() override { return static_cast<int>(titles.highlighted.size()); }
    int32_t GetOnlyHighlightedTitle() override { return titles.highlighted.size() == 1 ? *titles.highlighted.begin() : kNoneId; }
    void ClearTitleHighlights() override
    {
        Log("ClearTitleHighlights");
        titles.highlighted.clear();
    }
    // Display order is id order here.
    int TitleIndexOf(int32_t id) override
    {
        auto found = titles.ids.find(id);
        return found == titles.ids.end() ? -1 : static_cast<int>(std::distance(titles.ids.begin(), found));
    }
    int32_t TitleAt(int index) override { return *std::next(titles.ids.begin(), index); }
    void HighlightOnlyTitle(int index) override
    {
        Log("HighlightOnlyTitle");
        titles.highlighted = {TitleAt(index)};
    }
    void RepaintTitles() override { Log("RepaintTitles"); }
    void ResortTitles(bool keep) override { Log(keep ? "ResortKeep" : "Resort"); }

    void GetKeywords(KeywordPane pane, CKeywordIdSet& out) override
    {
        out.Copy(std::vector<int32_t>(Of(pane).ids.begin(), Of(pane).ids.end()));
    }
    void GetHighlightedKeywords(KeywordPane pane, CKeywordIdSet& out) override
    {
        out.Copy(std::vector<int32_t>(Of(pane).highlighted.begin(), Of(pane).highlighted.end()));
    }
    bool HasKeyword(KeywordPane pane, int32_t id) override { return Of(pane).ids.count(id) != 0; }
    void SetKeywords(KeywordPane pane, const CKeywordIdSet& ids) override
    {
        Log("SetKeywords");
        Of(pane).ids = {ids.Values().begin(), ids.Values().end()};
        Of(pane).highlighted.clear();
        if (pane == KeywordPane::kPreview)
            ++previewFills;
    }
    void AddKeyword(KeywordPane pane, int32_t id, bool highlight) override
    {
        Log("AddKeyword");
        Of(pane).ids.insert(id);
        if (highlight)
            Of(pane).highlighted.insert(id);
    }
    void AddAndSelectKeywords(KeywordPane pane, const CKeywordIdSet& ids) override
    {
        Log("AddAndSelectKeywords");
        Of(pane).highlighted.clear();
        for (int32_t id : ids.Values()) {
            Of(pane).ids.insert(id);
            Of(pane).highlighted.insert(id);
        }
    }
    void SelectKeywords(KeywordPane pane, const CKeywordIdSet& ids) override
    {
        Log("SelectKeywords");
        for (int32_t id : ids.Values())
            if (Of(pane).ids.count(id))
                Of(pane).highlighted.insert(id);
    }
    void ClearKeywordHighlights(KeywordPane pane) override
    {
        Log("ClearKeywordHighlights");
        Of(pane).highlighted.clear();
    }
    void RemoveHighlightedKeywords(KeywordPane pane) override
    {
        Log("RemoveHighlightedKeywords");
        for (int32_t id : Of(pane).highlighted)
            Of(pane).ids.erase(id);
        Of(pane).highlighted.clear();
    }
    void RemoveKeywords(KeywordPane pane, const CKeywordIdSet& ids) override
    {
        Log("RemoveKeywords");
        for (int32_t id : ids.Values()) {
            Of(pane).ids.erase(id);
            Of(pane).highlighted.erase(id);
        }
    }
    void RepaintKeywords(KeywordPane) override { Log("RepaintKeywords"); }
    void SetIndexFilter(const CKeywordIdSet& filter, bool on, bool showAll) override
    {
        Log("SetIndexFilter");
        indexFilter = {filter.Values().begin(), filter.Values().end()};
        filterOn = on;
        filterShowAll = showAll;
    }
    void RefreshIndexFilter(bool on) override
    {
        Log("RefreshIndexFilter");
        filterOn = on;
    }
    void GetHighlightedGroups(CGroupIdSet& out) override
    {
        out.Copy(std::vector<int32_t>(groups.highlighted.begin(), groups.highlighted.end()));
    }
    void AddGroup(int32_t id, bool highlight) override
    {
        Log("AddGroup");
        groups.ids.insert(id);
        if (highlight)
            groups.highlighted.insert(id);
    }
    bool RemoveGroup(int32_t id) override
    {
        Log("RemoveGroup");
        bool was = groups.highlighted.erase(id) != 0;
        groups.ids.erase(id);
        return was;
    }
    void ShowArticlePreview(int32_t id, bool force) override
    {
        if (id != previewArticle || force)
            ++previewLoads;
        previewArticle = id;
    }
    void SetIndexCaption(const std::string& text) override { indexCaption = text; }
    void SetSelectedCaption(const std::string& text) override { selectedCaption = text; }
    void SetTitlesCaption(const std::string& text) override { titlesCaption = text; }
    bool IsWindowShown() override { return true; }
    void ShowFrame(bool activate) override { Log(activate ? "ActivateFrame" : "ShowFrame"); }
    void SetCatalog(bool on) override { Log(on ? "CatalogOn" : "CatalogOff"); }
    void ApplyListFont() override { Log("ApplyListFont"); }
    void MeasureDates() override { Log("MeasureDates"); }
    void ApplySortImages() override { Log("ApplySortImages"); }
    void ApplyPreviewFlags() override { Log("ApplyPreviewFlags"); }
    void ApplyPreviewColor() override { Log("ApplyPreviewColor"); }
    void SetPreviewLinkMode(int mode) override { Log("LinkMode" + std::to_string(mode)); }
    void ApplyDisplayPrefs() override { Log("ApplyDisplayPrefs"); }
    void SavePlacement() override { Log("SavePlacement"); }
    void ApplyGroupPane(bool byUser) override { Log(byUser ? "GroupPaneByUser" : "GroupPane"); }
    void RemindersChanged() override { Log("RemindersChanged"); }
    void OpenRemindersManager() override { Log("OpenRemindersManager"); }
    void PostShowIndex() override { Log("PostShowIndex"); }
    void ReportError(const CQuorError& error) override { errors.push_back(error.Code()); }
    void ReportOutOfMemory() override { errors.push_back(1); }
    void ShowInformation(int id) override { messages.push_back(id); }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    int GetInitList() override { return initList; }
    bool GetAutoUpdateQuery() override { return autoUpdateQuery; }
    CCurrentQuery* GetCurrentQuery() override { return query; }
    void DropImportKeywords(const CKeywordIdSet&) override { Log("DropImportKeywords"); }

    List& Of(KeywordPane pane)
    {
        return pane == KeywordPane::kIndex ? index : pane == KeywordPane::kSelected ? selected : preview;
    }
    void Log(const std::string& what) { log.push_back(what); }
    std::vector<int32_t> TitleIds() const { return {titles.ids.begin(), titles.ids.end()}; }
    std::vector<int32_t> IdsOf(const List& list) const { return {list.ids.begin(), list.ids.end()}; }

    List titles, index, selected, preview, groups;
    std::set<int32_t> indexFilter;
    bool filterOn = false;
    bool filterShowAll = true;
    int32_t previewArticle = kNoneId;
    int previewLoads = 0;
    int previewFills = 0;
    std::string indexCaption, selectedCaption, titlesCaption;
    std::vector<std::string> log;
    std::vector<int> errors;
    std::vector<int> messages;
    int initList = 0;
    bool autoUpdateQuery = false;
    CCurrentQuery* query = nullptr;
};

// Eight articles over five keywords; article 6 is private, 7 has no keyword.
class IndexSelectionTest : public ::testing::Test {
protected:
    IndexSelectionTest()
    {
        data.Add({{0, 1}, true, 0, false});     // 0
        data.Add({{0, 2}, false, 1, false});    // 1
        data.Add({{1, 2}, false, 0, false});    // 2
        data.Add({{0, 1, 2}, true, 2, false});  // 3
        data.Add({{3}, false, 0, false});       // 4
        data.Add({{0, 3, 4}, false, 0, false}); // 5
        data.Add({{0, 1}, true, 1, true});      // 6 private
        data.Add({{}, false, 0, false});        // 7
        data.groups[0] = {0, 1};
        data.groups[1] = {1, 4};
        selection.SetData(&data);
    }

    void Start(int andOr = 0)
    {
        selection.Start(andOr);
        panes.log.clear();
    }
    // Highlights `keywords` in the index list and moves them.
    void MoveIn(const std::vector<int32_t>& keywords)
    {
        panes.index.highlighted = {keywords.begin(), keywords.end()};
        selection.MoveToSelected();
    }
    void MoveOut(const std::vector<int32_t>& keywords)
    {
        panes.selected.highlighted = {keywords.begin(), keywords.end()};
        selection.MoveToIndex();
    }
    // The shown articles carrying all (AND) or any (OR) of `keywords`.
    std::vector<int32_t> Expected(const std::set<int32_t>& keywords, int andOr)
    {
        return data.Shown([&](const CFixtureData::Article& a) {
            int carried = 0;
            for (int32_t k : keywords)
                carried += std::count(a.keywords.begin(), a.keywords.end(), k) ? 1 : 0;
            return andOr ? carried > 0 : carried == static_cast<int>(keywords.size());
        });
    }

    CFixtureData data{5};
    CFakePanes panes;
    IndexDisplayValues values;
    CIndexSelection selection{panes, values};
};

TEST_F(IndexSelectionTest, KeywordStepsMatchSetArithmetic)
{
    struct Step {
        bool in;  // Move to Selected, else Move to Index
        std::vector<int32_t> keywords;
    };
    struct Case {
        const char* name;
        int andOr;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"one keyword into the empty selection", 0, {{true, {0}}}},
        {"two at once into the empty selection, AND", 0, {{true, {0, 1}}}},
        {"two at once into the empty selection, OR", 1, {{true, {1, 3}}}},
        {"narrowing", 0, {{true, {0}}, {true, {2}}}},
        {"narrowing to nothing", 0, {{true, {3}}, {true, {1}}}},
        {"widening", 1, {{true, {4}}, {true, {2}}}},
        {"Move to Index reruns with what is left, AND", 0, {{true, {0, 1, 2}}, {false, {1}}}},
        {"Move to Index reruns with what is left, OR", 1, {{true, {0, 3}}, {false, {0}}}},
        {"back and forth", 0, {{true, {0}}, {true, {1}}, {false, {0}}, {true, {2}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        panes = CFakePanes();
        Start(c.andOr);
        std::set<int32_t> selected;
        for (const Step& step : c.steps) {
            if (step.in) {
                MoveIn(step.keywords);
                selected.insert(step.keywords.begin(), step.keywords.end());
            } else {
                MoveOut(step.keywords);
                for (int32_t k : step.keywords)
                    selected.erase(k);
            }
            EXPECT_EQ(panes.TitleIds(), Expected(selected, c.andOr));
            EXPECT_EQ(panes.selected.ids, selected);
            for (int32_t k : selected)
                EXPECT_EQ(panes.index.ids.count(k), 0u);
        }
        EXPECT_EQ(selection.GetTitlesMode(), kTitlesSelected);
        EXPECT_EQ(panes.titlesCaption, "Selected Titles (" + std::to_string(panes.titles.ids.size()) + " of 7)");
        EXPECT_TRUE(panes.errors.empty());
    }
}

TEST_F(IndexSelectionTest, AnEmptySelectionRecomputesEvenInAndMode)
{
    Start();
    MoveIn({0});
    MoveIn({3});  // narrowed to 5
    EXPECT_EQ(panes.TitleIds(), Ids({5}));
    MoveOut({0, 3});
    EXPECT_EQ(selection.GetTitlesMode(), kTitlesAll);
    // Into the now empty selection: from keyword 1's own articles, not from the titles listed.
    MoveIn({1});
    EXPECT_EQ(panes.TitleIds(), Expected({1}, 0));
}

TEST_F(IndexSelectionTest, TheLastKeywordRemovedFollowsTheStartListPreference)
{
    panes.initList = 2;
    Start();
    EXPECT_EQ(panes.titlesCaption, "Titles (0 of 7)");
    MoveIn({2});
    MoveOut({2});
    EXPECT_TRUE(panes.titles.ids.empty());
    EXPECT_EQ(panes.titlesCaption, "Titles (0 of 7)");

    panes.initList = 1;
    MoveIn({2});
    MoveOut({2});
    EXPECT_EQ(panes.TitleIds(), Ids({0, 3}));  // the private bookmarked 6 stays hidden
    EXPECT_EQ(panes.titlesCaption, "Bookmarked Titles (2 of 7)");
}

TEST_F(IndexSelectionTest, AStepThatRaisesIsReportedAndLeavesTheLists)
{
    Start();
    MoveIn({0});
    auto titles = panes.TitleIds();
    auto index = panes.index.ids;
    data.failingKeyword = 1;
    MoveIn({1});
    EXPECT_EQ(panes.errors, std::vector<int>({kCorruptedRecord}));
    EXPECT_EQ(panes.TitleIds(), titles);
    EXPECT_EQ(panes.index.ids, index);
    EXPECT_EQ(panes.selected.ids, std::set<int32_t>({0}));

    // Removing a keyword whose rerun fails keeps it selected.
    MoveIn({2});
    panes.errors.clear();
    data.failingKeyword = 0;
    MoveOut({2});
    EXPECT_EQ(panes.errors.size(), 1u);
    EXPECT_EQ(panes.selected.ids, std::set<int32_t>({0, 2}));
}

TEST_F(IndexSelectionTest, OrModeRerunsAndForcesTheIndexToAll)
{
    values.indexMode = 1;  // Related requested
    Start();
    EXPECT_EQ(panes.indexCaption, "Index (Related)");
    MoveIn({3});
    EXPECT_EQ(panes.TitleIds(), Ids({4, 5}));
    // Related: the keywords of the listed articles without the selected ones.
    EXPECT_EQ(panes.index.ids, std::set<int32_t>({0, 4}));
    // New keywords made in a batch (an imported list) carry no articles: not related.
    CKeywordIdSet made = Keywords({7});
    selection.Notify(IndexCode::kAddAndSelectKeywords, &made, 0);
    EXPECT_EQ(panes.index.ids, std::set<int32_t>({0, 4}));

    selection.Notify(IndexCode::kSetAndOrMode, 1, 0);
    EXPECT_EQ(panes.selectedCaption, "Selected (OR)");
    EXPECT_EQ(panes.indexCaption, "Index (All)");
    EXPECT_EQ(panes.index.ids, std::set<int32_t>({0, 1, 2, 4}));
    EXPECT_EQ(values.indexMode, 1);  // the request stays
    MoveIn({1});
    EXPECT_EQ(panes.TitleIds(), Expected({1, 3}, 1));
    // The index-mode cycle does nothing in OR.
    panes.log.clear();
    selection.Notify(IndexCode::kCycleIndexMode, 0, 0);
    EXPECT_EQ(values.indexMode, 1);
    EXPECT_TRUE(panes.log.empty());

    selection.Notify(IndexCode::kSetAndOrMode, 0, 0);
    EXPECT_EQ(panes.selectedCaption, "Selected (AND)");
    EXPECT_EQ(panes.indexCaption, "Index (Related)");
    EXPECT_EQ(panes.TitleIds(), Expected({1, 3}, 0));
    // The same mode again changes nothing, not even a caption.
    panes.log.clear();
    panes.indexCaption.clear();
    selection.Notify(IndexCode::kSetAndOrMode, 0, 0);
    EXPECT_TRUE(panes.log.empty());
    EXPECT_TRUE(panes.indexCaption.empty());
}

TEST_F(IndexSelectionTest, RelatedFromArticlesAndFromKeywordSetsAgree)
{
    Start();
    std::vector<CArticleIdSet> listings(4);
    listings[0].Copy(Ids({4}));
    listings[1].Copy(Ids({0, 1, 2}));
    listings[2].Copy(Ids({0, 1, 2, 3, 4, 5, 7}));
    listings[3].Copy(Ids({7}));
    for (const CArticleIdSet& titles : listings) {
        CKeywordIdSet selected = Keywords({1});
        std::set<int32_t> expected;
        for (int32_t a : titles.Values())
            for (int32_t k : data.articles[static_cast<size_t>(a)].keywords)
                if (k != 1)
                    expected.insert(k);
        CKeywordIdSet fromArticles, fromKeywords;
        data.keywordCountAnswer = 1000;  // few titles for many keywords: read the articles
        selection.RelatedKeywords(titles, selected, fromArticles);
        data.keywordCountAnswer = 1;  // many titles: read the keywords
        int loads = data.articleLoads;
        selection.RelatedKeywords(titles, selected, fromKeywords);
        EXPECT_EQ(data.articleLoads, loads);
        EXPECT_EQ(fromArticles.Values(), std::vector<int32_t>(expected.begin(), expected.end()));
        EXPECT_EQ(fromKeywords.Values(), fromArticles.Values());
    }
}

TEST_F(IndexSelectionTest, HighlightedGroupsFilterTheIndexList)
{
    Start();
    selection.Notify(IndexCode::kShowGroupPane, 1, 0);
    EXPECT_TRUE(panes.filterOn);
    EXPECT_TRUE(panes.filterShowAll);  // none highlighted: all shown
    EXPECT_EQ(values.groupVisible, 1);
    EXPECT_EQ(panes.log.front(), "GroupPaneByUser");
    panes.groups.highlighted = {0, 1};
    selection.RecomputeGroupFilter();
    EXPECT_EQ(panes.indexFilter, std::set<int32_t>({0, 1, 4}));
    EXPECT_FALSE(panes.filterShowAll);
    selection.Notify(IndexCode::kShowGroupPane, 0, 1);  // hidden by the program
    EXPECT_FALSE(panes.filterOn);
    EXPECT_EQ(panes.log.back(), "RefreshIndexFilter");
    EXPECT_EQ(std::count(panes.log.begin(), panes.log.end(), "GroupPane"), 1);
}

TEST_F(IndexSelectionTest, StartListsAndTheirCaptions)
{
    data.privateHidden = false;
    Start();
    EXPECT_EQ(panes.titlesCaption, "All Titles (8 of 8)");
    selection.ShowBookmarkedTitles();
    EXPECT_EQ(panes.TitleIds(), Ids({0, 3, 6}));
    EXPECT_EQ(panes.titlesCaption, "Bookmarked Titles (3 of 8)");
    MoveIn({4});
    selection.ShowArticlesWithAttachments();
    EXPECT_EQ(panes.TitleIds(), Ids({1, 3, 6}));
    EXPECT_EQ(panes.titlesCaption, "Articles with Attachments (3 of 8)");
    EXPECT_TRUE(panes.selected.ids.empty());  // the selection went back to the index
    EXPECT_EQ(panes.index.highlighted, std::set<int32_t>({4}));
    selection.ShowAllTitles();
    EXPECT_EQ(panes.titlesCaption, "All Titles (8 of 8)");
    EXPECT_TRUE(panes.errors.empty());
}

TEST_F(IndexSelectionTest, EditedArticlesByMode)
{
    Start();
    MoveIn({0, 1});
    EXPECT_EQ(panes.TitleIds(), Ids({0, 3}));
    // An article with every selected keyword and more still matches in AND; one that lost one goes.
    data.articles[2].keywords = {0, 1, 2, 4};
    selection.UpdateTitleForArticle(2, Keywords({0, 1, 2, 4}), false);
    EXPECT_EQ(panes.TitleIds(), Ids({0, 2, 3}));
    selection.UpdateTitleForArticle(3, Keywords({1, 2}), false);
    EXPECT_EQ(panes.TitleIds(), Ids({0, 2}));
    // A highlighted title keeps its highlight when placed again.
    panes.titles.highlighted = {0};
    selection.UpdateTitleForArticle(0, Keywords({0, 1}), false);
    EXPECT_EQ(panes.titles.highlighted, std::set<int32_t>({0}));

    // Found titles: the list stays and the caption says it is outdated.
    CArticleIdSet found;
    found.Copy(Ids({4, 7}));
    selection.ShowResult(found, kTitlesFound);
    selection.UpdateTitleForArticle(1, Keywords({0}), false);
    EXPECT_EQ(panes.TitleIds(), Ids({4, 7}));
    EXPECT_EQ(panes.titlesCaption, "Found Titles [Outdated] (2 of 7)");

    // Query titles without automatic update: outdated, list unchanged.
    CCurrentQuery query(&data);
    ASSERT_TRUE(query.Compile("k3"));
    panes.query = &query;
    CArticleIdSet result;
    query.Run(result);
    selection.ShowResult(result, kTitlesQuery);
    selection.UpdateTitleForArticle(0, Keywords({0, 1}), false);
    EXPECT_EQ(panes.titlesCaption, "Query Titles [Outdated] (2 of 7)");
    // With it: an outdated list runs again; a query list tests the one article.
    panes.autoUpdateQuery = true;
    data.articles[0].keywords = {0, 1, 3};
    selection.UpdateTitleForArticle(0, Keywords({0, 1, 3}), false);
    EXPECT_EQ(panes.titlesCaption, "Query Titles (3 of 7)");
    data.articles[4].keywords = {};
    selection.UpdateTitleForArticle(4, Keywords({}), false);
    EXPECT_EQ(panes.TitleIds(), Ids({0, 5}));
}

TEST_F(IndexSelectionTest, AHiddenPrivateArticleIsNeverListed)
{
    CCurrentQuery query(&data);
    ASSERT_TRUE(query.Compile("k0"));
    panes.query = &query;
    panes.autoUpdateQuery = true;
    for (int mode : {kTitlesAll, kTitlesBookmarked, kTitlesSelected, kTitlesFound, kTitlesQuery, kTitlesQueryOutdated,
                     kTitlesAttachments, kTitlesFoundStopped}) {
        SCOPED_TRACE(mode);
        panes = CFakePanes();
        panes.query = &query;
        panes.autoUpdateQuery = true;
        data.privateHidden = false;
        Start();
        if (mode == kTitlesSelected)
            MoveIn({0});
        CArticleIdSet listed;
        listed.Copy(Ids({0, 3, 6}));
        if (mode != kTitlesAll && mode != kTitlesSelected)
            selection.ShowResult(listed, mode);
        ASSERT_TRUE(panes.HasTitle(6));
        // Made private (or edited) while private articles are hidden: out, whatever the mode.
        data.privateHidden = true;
        selection.UpdateTitleForArticle(6, Keywords({0, 1}), true);
        EXPECT_FALSE(panes.HasTitle(6));
        selection.BookmarkChanged(6);
        EXPECT_FALSE(panes.HasTitle(6));
    }
    // Hiding them takes them out of a found list, which is not rebuilt.
    panes = CFakePanes();
    data.privateHidden = false;
    Start();
    CArticleIdSet found;
    found.Copy(Ids({1, 6}));
    selection.ShowResult(found, kTitlesFound);
    data.privateHidden = true;
    selection.Notify(IndexCode::kRerunTitles, 0, 0);
    EXPECT_EQ(panes.TitleIds(), Ids({1}));
    EXPECT_EQ(panes.titlesCaption, "Found Titles [Outdated] (1 of 7)");
}

TEST_F(IndexSelectionTest, DeletingWhatTheShownQueryUsesTellsTheUser)
{
    CCurrentQuery query(&data);
    panes.query = &query;
    Start();
    ASSERT_TRUE(query.Compile("k3 OR k4"));
    CArticleIdSet result;
    query.Run(result);
    selection.ShowResult(result, kTitlesQuery);
    query.OnKeywordsDeleted(Keywords({4}));  // the document's host tells the query first
    CKeywordIdSet doomed = Keywords({4});
    selection.Notify(IndexCode::kDeleteKeywords, &doomed, 0);
    EXPECT_EQ(panes.messages, std::vector<int>({14100}));
    EXPECT_EQ(selection.GetTitlesMode(), kTitlesQueryOutdated);
    EXPECT_TRUE(data.deleted.count(4));
    EXPECT_EQ(panes.index.ids.count(4), 0u);

    selection.ShowResult(result, kTitlesQuery);
    query.OnGroupDeleted(0);
    selection.Notify(IndexCode::kGroupsChanged, 0, 0);
    EXPECT_EQ(panes.messages, std::vector<int>({14100, 14103}));

    // Outside a query, a deleted selected keyword reruns the selection.
    MoveIn({0, 1});
    CKeywordIdSet one = Keywords({1});
    selection.Notify(IndexCode::kDeleteKeywords, &one, 0);
    EXPECT_EQ(panes.TitleIds(), Expected({0}, 0));
}

TEST_F(IndexSelectionTest, TheEntryCodeByCode)
{
    values.previewOn = 3;
    values.view = 1;
    values.indexMode = 1;
    Start();
    panes.groups.ids = {0, 1};
    panes.groups.highlighted = {1};
    panes.log.clear();
    struct Question {
        IndexCode code;
        int32_t answer;
    };
    for (Question q : {Question{IndexCode::kIsCatalog, 1}, {IndexCode::kIsVisible, 1}, {IndexCode::kGetTitlesMode, 1},
                       {IndexCode::kGetAndOrMode, 0}, {IndexCode::kGetPreviewFlags, 3}, {IndexCode::kGetIndexMode, 1},
                       {IndexCode::kIsGroupPaneVisible, 0}})
        EXPECT_EQ(selection.Notify(q.code, 0, 0), q.answer) << static_cast<int>(q.code);
    for (int unused : {0, 38, 39, 40, 47, 1000, -1})
        EXPECT_EQ(selection.Notify(static_cast<IndexCode>(unused), 5, 5), 0);
    EXPECT_TRUE(panes.log.empty());

    // 3 for an article not listed changes nothing, not even the caption.
    CArticleIdSet few;
    few.Copy(Ids({0, 1}));
    selection.ShowTitles(few);
    panes.log.clear();
    panes.titlesCaption = "untouched";
    selection.Notify(IndexCode::kArticleTitleChanged, 4, 0);
    EXPECT_TRUE(panes.log.empty());
    EXPECT_EQ(panes.titlesCaption, "untouched");
    panes.titles.highlighted = {1};
    selection.Notify(IndexCode::kArticleTitleChanged, 1, 0);
    EXPECT_EQ(panes.titles.highlighted, std::set<int32_t>({1}));

    // 27 on the last title: the first is highlighted and the index window comes forward; nothing opens.
    panes.log.clear();
    selection.Notify(IndexCode::kOpenNeighbour, 1, 1);
    EXPECT_TRUE(data.opened.empty());
    EXPECT_EQ(panes.titles.highlighted, std::set<int32_t>({0}));
    EXPECT_EQ(std::count(panes.log.begin(), panes.log.end(), "PostShowIndex"), 1);
    selection.Notify(IndexCode::kOpenNeighbour, 0, 1);
    EXPECT_EQ(data.opened, Ids({1}));
    EXPECT_EQ(panes.titles.highlighted, std::set<int32_t>({1}));

    // 37 answers whether the group was highlighted, so the rename (37 then 36) keeps it so.
    int32_t was = selection.Notify(IndexCode::kGroupRemoved, 1, 0);
    EXPECT_EQ(was, 1);
    selection.Notify(IndexCode::kGroupAdded, 1, was);
    EXPECT_EQ(panes.groups.highlighted, std::set<int32_t>({1}));
    EXPECT_EQ(selection.Notify(IndexCode::kGroupRemoved, 0, 0), 0);

    // Sets in and out.
    CArticleIdSet listed, highlighted;
    selection.Notify(IndexCode::kGetListedArticleIds, &listed, 0);
    selection.Notify(IndexCode::kGetHighlightedArticleIds, &highlighted, 0);
    EXPECT_EQ(listed.Values(), Ids({0, 1}));
    EXPECT_EQ(highlighted.Values(), Ids({1}));
    // 12 in the related index: it lists again what the listed titles relate to (not 3), and keeps
    // the highlight of the keywords it was given there.
    CKeywordIdSet chosen = Keywords({2, 3});
    selection.Notify(IndexCode::kAddAndSelectKeywords, &chosen, 0);
    EXPECT_EQ(panes.index.highlighted, std::set<int32_t>({2}));
    EXPECT_EQ(panes.index.ids.count(3), 0u);

    // Preview flags: 22 toggles bits, 31 cycles 0, 1, 2, 3, 0.
    selection.Notify(IndexCode::kTogglePreview, 2, 0);
    EXPECT_EQ(values.previewOn, 1);
    std::vector<int> cycle;
    for (int i = 0; i < 4; ++i) {
        selection.Notify(IndexCode::kCyclePreview, 0, 0);
        cycle.push_back(values.previewOn);
    }
    EXPECT_EQ(cycle, std::vector<int>({2, 3, 0, 1}));
    selection.Notify(IndexCode::kSetLinkDisplay, 2, 0);
    selection.Notify(IndexCode::kSetLinkDisplay, 1, 0);
    EXPECT_EQ(panes.log.back(), "LinkMode1");
    EXPECT_EQ(panes.log[panes.log.size() - 2], "LinkMode2");

    // 6: a different catalog flag switches it; the same one activates the frame.
    panes.log.clear();
    selection.Notify(IndexCode::kShowIndexWindow, 0, 0);
    selection.Notify(IndexCode::kShowIndexWindow, 1, 0);
    EXPECT_EQ(panes.log, std::vector<std::string>({"ShowFrame", "CatalogOff", "ActivateFrame"}));
}

TEST_F(IndexSelectionTest, PreviewsFollowTheHighlightedTitles)
{
    values.previewOn = 3;
    Start();
    panes.titles.highlighted = {3};
    selection.RefreshPreviews();
    EXPECT_EQ(panes.previewArticle, 3);
    EXPECT_EQ(panes.IdsOf(panes.preview), Ids({0, 1, 2}));
    // Two titles: no content, the keywords common to both, from the keyword sets.
    panes.titles.highlighted = {0, 3};
    int loads = data.articleLoads;
    selection.RefreshPreviews();
    EXPECT_EQ(panes.previewArticle, kNoneId);
    EXPECT_EQ(panes.IdsOf(panes.preview), Ids({0, 1}));
    EXPECT_EQ(data.articleLoads, loads + 1);
    // None in common: empty.
    panes.titles.highlighted = {3, 4};
    selection.RefreshPreviews();
    EXPECT_TRUE(panes.preview.ids.empty());
    // The same keywords again: the list is not refilled.
    int fills = panes.previewFills;
    panes.titles.highlighted = {4, 7};
    selection.RefreshPreviews();
    EXPECT_EQ(panes.previewFills, fills);

    // 23: the shown article is loaded again even though its id did not change.
    panes.titles.highlighted = {3};
    selection.RefreshPreviews();
    int previewLoads = panes.previewLoads;
    selection.Notify(IndexCode::kArticleChanged, 3, 0);
    EXPECT_EQ(panes.previewLoads, previewLoads + 1);
    selection.Notify(IndexCode::kArticleChanged, 0, 0);
    EXPECT_EQ(panes.previewLoads, previewLoads + 1);
}

TEST_F(IndexSelectionTest, KeywordsDroppedFromThePreview)
{
    Start();
    // Onto an empty selection: the full run, not a narrowing of the titles listed.
    CArticleIdSet few;
    few.Copy(Ids({4}));
    selection.ShowTitles(few);
    selection.AddKeywordsToSelection(Keywords({0, 1}));
    EXPECT_EQ(panes.TitleIds(), Expected({0, 1}, 0));
    EXPECT_EQ(panes.selected.ids, std::set<int32_t>({0, 1}));
    EXPECT_EQ(panes.index.ids.count(0), 0u);
    EXPECT_EQ(selection.GetTitlesMode(), kTitlesSelected);
    selection.AddKeywordsToSelection(Keywords({2}));
    EXPECT_EQ(panes.TitleIds(), Expected({0, 1, 2}, 0));
}

}  // namespace

namespace {

// Many articles changed by one command: titles leave in one pass and the whole-list work (resort,
// repaint, caption, previews) happens once, at the batch's end, not once per article.
TEST_F(IndexSelectionTest, ABatchResortsAndRemovesOnce)
{
    Start();
    selection.ShowAllTitles();
    data.sortOrder = 4;  // by bookmark
    panes.log.clear();
    {
        CIndexSelection::CTitleBatch batch(selection);
        for (int32_t id : {1, 2, 4}) {
            data.articles[static_cast<size_t>(id)].bookmarked = true;
            selection.BookmarkChanged(id);
        }
        EXPECT_TRUE(panes.log.empty());
    }
    EXPECT_EQ(std::count(panes.log.begin(), panes.log.end(), "ResortKeep"), 1);

    // Bookmarked Titles: unbookmarked titles leave together; deleted ones likewise.
    selection.ShowBookmarkedTitles();
    ASSERT_EQ(panes.TitleIds(), Ids({0, 1, 2, 3, 4}));
    panes.titlesCaption.clear();
    panes.log.clear();
    {
        CIndexSelection::CTitleBatch batch(selection);
        for (int32_t id : {1, 3}) {
            data.articles[static_cast<size_t>(id)].bookmarked = false;
            selection.BookmarkChanged(id);
        }
        selection.RemoveArticleTitle(4);
        selection.Notify(IndexCode::kRemindersChanged, 0, 0);
        selection.RemoveArticleTitle(7);  // not listed: nothing
        selection.Notify(IndexCode::kRemindersChanged, 0, 0);
        EXPECT_EQ(panes.TitleIds(), Ids({0, 1, 2, 3, 4}));
        EXPECT_TRUE(panes.titlesCaption.empty());
    }
    EXPECT_EQ(panes.TitleIds(), Ids({0, 2}));
    EXPECT_EQ(std::count(panes.log.begin(), panes.log.end(), "RemoveTitle"), 3);  // the default RemoveTitles
    EXPECT_EQ(std::count(panes.log.begin(), panes.log.end(), "RemindersChanged"), 1);
    EXPECT_FALSE(panes.titlesCaption.empty());
}

}  // namespace

TEST_F(IndexSelectionTest, ATitleBatchRefreshesCaptionAndPreviewsOnceAtItsEnd)
{
    values.previewOn = 1;
    Start();
    MoveIn({0, 1});
    panes.titles.highlighted = {0};
    int loadsBefore = panes.previewLoads;
    std::string captionBefore = panes.titlesCaption;
    {
        CIndexSelection::CTitleBatch outer(selection);
        {
            CIndexSelection::CTitleBatch inner(selection);
            data.articles[2].keywords = {0, 1};
            selection.UpdateTitleForArticle(2, Keywords({0, 1}), false);
            selection.UpdateTitleForArticle(0, Keywords({0, 1}), false);
        }
        // The titles are placed at once; the caption and the preview wait for the outer end.
        EXPECT_EQ(panes.TitleIds(), Ids({0, 2, 3}));
        EXPECT_EQ(panes.titlesCaption, captionBefore);
        EXPECT_EQ(panes.previewLoads, loadsBefore);
    }
    EXPECT_NE(panes.titlesCaption, captionBefore);
    EXPECT_EQ(panes.previewArticle, 0);
    // A batch that placed nothing refreshes nothing.
    std::string captionAfter = panes.titlesCaption;
    panes.titlesCaption.clear();
    { CIndexSelection::CTitleBatch idle(selection); }
    EXPECT_EQ(panes.titlesCaption, "");
    panes.titlesCaption = captionAfter;
}

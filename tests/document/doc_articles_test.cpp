// Keywords and articles: the operations that keep both sides of every link equal.
#include <algorithm>
#include <vector>

#include "storage/link_target.h"
#include "tests/document/doc_fixture.h"

using DocArticles = DocFixture;

TEST_F(DocArticles, FindKeywordIgnoresCaseAndNeverMatchesAnEmptyName)
{
    Create();
    int32_t a = m_doc->AddKeyword("Alpha", false);
    int32_t b = m_doc->AddKeyword("Beta", false);
    m_doc->DeleteKeywords(Keywords({a}));  // leaves a free slot with an empty name
    EXPECT_EQ(m_doc->FindKeyword("bETA"), b);
    EXPECT_EQ(m_doc->FindKeyword(""), kNoneId);
    EXPECT_EQ(m_doc->FindKeyword("Alpha"), kNoneId);
    EXPECT_FALSE(m_doc->IsValidKeywordId(a));
    EXPECT_THROW(m_doc->GetKeywordName(99), CQuorError);
}

TEST_F(DocArticles, PendingKeywordOfTwoWindowsIsStoredOnce)
{
    Create();
    int32_t pending = m_doc->GetKeywordIdByName("Fresh");
    ASSERT_LT(pending, 0);
    EXPECT_EQ(m_doc->GetKeywordIdByName("fresh"), pending);
    EXPECT_EQ(m_doc->GetKeywordName(pending), "Fresh");

    CRecordingArticleView first(m_trace, kNoneId);
    CRecordingArticleView second(m_trace, kNoneId);
    first.m_pending = pending;
    second.m_pending = pending;
    m_doc->AddView(&first);
    m_doc->AddView(&second);

    int32_t a = AddArticle("One", Keywords({pending}));
    EXPECT_EQ(m_doc->GetKeywordCount(), 1);
    int32_t stored = m_doc->FindKeyword("Fresh");
    EXPECT_EQ(second.m_pending, stored);  // hint 4 replaced the window's pending id

    int32_t b = AddArticle("Two", Keywords({second.m_pending}));
    EXPECT_EQ(m_doc->GetKeywordCount(), 1);
    CArticleIdSet articles;
    m_doc->GetKeywordArticleIds(stored, articles);
    EXPECT_EQ(articles.Values(), (std::vector<int32_t>{a, b}));
    m_doc->RemoveView(&first);
    m_doc->RemoveView(&second);
}

TEST_F(DocArticles, PurgeKeepsOnlyPendingNamesAWindowStillUses)
{
    Create();
    int32_t used = m_doc->GetKeywordIdByName("Used");
    int32_t dropped = m_doc->GetKeywordIdByName("Dropped");
    CRecordingArticleView view(m_trace, kNoneId);
    view.m_pending = used;
    m_doc->AddView(&view);
    m_doc->PurgePendingKeywords();
    EXPECT_EQ(m_doc->GetKeywordName(used), "Used");
    EXPECT_EQ(m_doc->GetKeywordName(dropped), "");
    m_doc->RemoveView(&view);
}

TEST_F(DocArticles, UpdateMovesTheArticleBetweenKeywords)
{
    Create();
    int32_t k1 = m_doc->AddKeyword("one", false);
    int32_t k2 = m_doc->AddKeyword("two", false);
    int32_t a = AddArticle("x", Keywords({k1}));
    UpdateKeywordsOf(a, Keywords({k2}));
    CArticleIdSet ids;
    m_doc->GetKeywordArticleIds(k1, ids);
    EXPECT_EQ(ids.GetSize(), 0);
    m_doc->GetKeywordArticleIds(k2, ids);
    EXPECT_EQ(ids.Values(), (std::vector<int32_t>{a}));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocArticles, DeletingKeywordsTakesThemOutOfArticlesAndGroups)
{
    Create();
    int32_t k1 = m_doc->AddKeyword("one", false);
    int32_t k2 = m_doc->AddKeyword("two", false);
    int32_t a = AddArticle("a", Keywords({k1, k2}));
    int32_t b = AddArticle("b", Keywords({k1}));
    CKeywordGroupRecord group;
    group.SetName("g");
    group.SetKeywordIds(Keywords({k1, k2}));
    int32_t g = m_doc->AddKeywordGroup(group);

    m_doc->DeleteKeywords(Keywords({k1}));
    CKeywordIdSet kept;
    m_doc->GetArticleKeywordIds(a, kept);
    EXPECT_EQ(kept.Values(), (std::vector<int32_t>{k2}));
    m_doc->GetArticleKeywordIds(b, kept);
    EXPECT_EQ(kept.GetSize(), 0);
    m_doc->GetGroupKeywordIds(g, kept);
    EXPECT_EQ(kept.Values(), (std::vector<int32_t>{k2}));
    EXPECT_EQ(m_doc->GetKeywordCount(), 1);
    EXPECT_EQ(CheckOpenFile(), "");
}

// Deleting a keyword reads each of its articles to check it, again to change it and to compare before
// writing; the disk is asked once for each part of the file, not three times per article.
TEST_F(DocArticles, DeletingAKeywordReadsItsArticlesFromTheDiskOnce)
{
    Create();
    int32_t k1 = m_doc->AddKeyword("one", false);
    int32_t k2 = m_doc->AddKeyword("two", false);
    std::vector<int32_t> withK1;
    for (int i = 0; i < 80; ++i) {
        int32_t id = AddArticle("article " + std::to_string(i), i % 2 ? Keywords({k1, k2}) : Keywords({k2}));
        if (i % 2)
            withK1.push_back(id);
    }
    Reopen();
    int64_t before = m_doc->GetDataFile().GetBlockReads();
    m_doc->DeleteKeywords(Keywords({k1}));
    EXPECT_LT(m_doc->GetDataFile().GetBlockReads() - before, 20);  // 40 articles, each read 3 times before
    for (int32_t id : withK1) {
        CKeywordIdSet kept;
        m_doc->GetArticleKeywordIds(id, kept);
        EXPECT_EQ(kept.Values(), (std::vector<int32_t>{k2}));
    }
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocArticles, MergeGivesEveryArticleTheTargetAndItsGroups)
{
    Create();
    int32_t from = m_doc->AddKeyword("from", false);
    int32_t into = m_doc->AddKeyword("into", false);
    int32_t a = AddArticle("a", Keywords({from}));
    int32_t b = AddArticle("b", Keywords({from, into}));
    CKeywordGroupRecord group;
    group.SetName("g");
    group.SetKeywordIds(Keywords({from}));
    int32_t g = m_doc->AddKeywordGroup(group);

    m_doc->MergeKeyword(from, into);
    m_doc->DeleteKeywords(Keywords({from}));
    CArticleIdSet ids;
    m_doc->GetKeywordArticleIds(into, ids);
    EXPECT_EQ(ids.Values(), (std::vector<int32_t>{a, b}));
    CGroupIdSet groups;
    m_doc->GetGroupsOfKeyword(into, groups);
    EXPECT_EQ(groups.Values(), (std::vector<int32_t>{g}));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocArticles, DeletingATrackedArticleLeavesAPlaceholder)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    CArticleRecord record;
    record.SetTitle("tracked");
    record.SetKeywordIds(Keywords({k}));
    record.SetFlags(static_cast<int16_t>(record.GetFlags() | 0x04));
    int32_t tracked = m_doc->AddArticle(record, false, false);
    int32_t plain = AddArticle("plain", Keywords({k}));

    m_doc->DeleteArticles(Articles({tracked, plain}));
    EXPECT_EQ(m_doc->GetArticleCount(), 0);
    EXPECT_TRUE(m_doc->IsPlaceholder(tracked));
    EXPECT_EQ(ReadKeyedIds(m_doc->GetDataFile(), 12), (std::set<int32_t>{tracked}));
    EXPECT_EQ(CheckOpenFile(), "");
    Reopen();
    EXPECT_EQ(m_doc->GetArticleCount(), 0);
    CArticleIdSet all;
    m_doc->GetAllArticleIds(all);
    EXPECT_EQ(all.GetSize(), 0);
}

TEST_F(DocArticles, AssignKeywordsTellsEachOpenArticleWindow)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t a = AddArticle("a", Keywords({}));
    int32_t b = AddArticle("b", Keywords({}));
    CRecordingArticleView view(m_trace, b);
    m_doc->AddView(&view);
    m_trace.clear();
    m_doc->AssignKeywords(Articles({a, b}), Keywords({k}));
    EXPECT_NE(std::find(m_trace.begin(), m_trace.end(), Notice{ArticleHint::kKeywordAssigned, k, 0}), m_trace.end());
    CArticleIdSet ids;
    m_doc->GetKeywordArticleIds(k, ids);
    EXPECT_EQ(ids.Values(), (std::vector<int32_t>{a, b}));
    EXPECT_EQ(CheckOpenFile(), "");
    m_doc->RemoveView(&view);
}

TEST_F(DocArticles, AnArticleNamingAKeywordThatIsGoneDoesNotBreakTheLinks)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    m_doc->DeleteKeywords(Keywords({k}));
    int32_t a = AddArticle("a", Keywords({k, 55}));
    CKeywordIdSet kept;
    m_doc->GetArticleKeywordIds(a, kept);
    EXPECT_EQ(kept.GetSize(), 0);
    EXPECT_EQ(CheckOpenFile(), "");
}

struct SortCase {
    int order;
    std::vector<int32_t> expected;  // indexes into the fixture's articles
};

class DocSortOrders : public DocFixture, public ::testing::WithParamInterface<SortCase> {};

// Articles: 0 "B" 2024-01-02 bookmarked; 1 "A" 2024-01-03; 2 "A" 2024-01-01 private; 3 "C" 2023.
TEST_P(DocSortOrders, OrdersTheArticles)
{
    Create();
    m_doc->SetPassword("pw");  // private articles are stored masked under the password's key
    std::vector<int32_t> ids = {AddArticle("B", Keywords({}), false, 20240102),
                                AddArticle("A", Keywords({}), false, 20240103),
                                AddArticle("A", Keywords({}), true, 20240101),
                                AddArticle("C", Keywords({}), false, 20230101)};
    m_doc->SetBookmark(ids[0], true);
    std::vector<int32_t> sorted = ids;
    std::string caption = "Sort";
    ASSERT_TRUE(m_doc->SortArticleIds(caption, sorted, GetParam().order));
    std::vector<int32_t> expected;
    for (int32_t index : GetParam().expected)
        expected.push_back(ids[static_cast<size_t>(index)]);
    EXPECT_EQ(sorted, expected);
}

INSTANTIATE_TEST_SUITE_P(All, DocSortOrders,
                         ::testing::Values(SortCase{0, {2, 1, 0, 3}}, SortCase{1, {3, 0, 2, 1}},
                                           SortCase{2, {3, 2, 0, 1}}, SortCase{3, {1, 0, 2, 3}},
                                           SortCase{4, {0, 2, 1, 3}}, SortCase{5, {2, 1, 3, 0}},
                                           SortCase{10, {2, 1, 0, 3}}, SortCase{11, {1, 0, 3, 2}}));

// The sort gathers each article's values and title key once; it must leave the ids exactly where a
// stable sort comparing them pair by pair with CompareArticles leaves them, in every order, over
// titles that differ in case, in Windows-1252 letters, digits and punctuation, and equal titles
// (some with equal dates too, which must keep their order).
TEST_F(DocArticles, EverySortOrderMatchesThePairwiseComparison)
{
    Create();
    m_doc->SetPassword("pw");
    const char* const titles[] = {
        "apple", "Apple", "APPLE", "\xC4pfel", "\xE4pfel", "Apfel", "\xD6l", "\xF6l", "Ol", "\xC6ther", "\x8Cuvre",
        "\x9Cuvre", "\x8A" "abat", "\x9F", "\xFF", "\xDF", "10 items", "9 items", "item-2", "item 2", "item's",
        "caf\xE9", "Caf\xC9", "cafe", "", "same", "same", "Same", "same", "zebra", "Zebra", "~", "!",
    };
    std::vector<int32_t> ids;
    int i = 0;
    for (const char* title : titles) {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetDate(20240101 + (i * 7) % 3);  // repeating dates: equal titles with equal dates
        record.SetTime(i % 2 == 0 ? 3600 : 7200);
        record.SetPrivate(i % 4 == 1);
        record.SetHasLinks(i % 3 == 2);
        if (i % 5 == 0) {
            CLinkTarget target;
            target.Set(CLinkTarget::kInternet, "http://example.com/");
            record.AddAttachment(target);
        }
        ids.push_back(m_doc->AddArticle(record, i % 3 == 0, false));
        ++i;
    }
    std::reverse(ids.begin(), ids.end());  // not in id order, so that stability shows
    for (int order = 0; order < CQuorvaneDoc::kSortOrderCount; ++order) {
        m_doc->SetSortOrder(order);
        std::vector<int32_t> expected = ids;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](int32_t a, int32_t b) { return m_doc->CompareArticles(a, b) < 0; });
        std::vector<int32_t> sorted = ids;
        ASSERT_TRUE(m_doc->SortArticleIds("Sort", sorted, order));
        EXPECT_EQ(sorted, expected) << "order " << order;
        if (order == 0) {
            sorted = ids;
            m_doc->SortArticleIdsByTitle(sorted);
            EXPECT_EQ(sorted, expected);
        }
    }
}

// Titles that all begin alike (the sort compares eight bytes from where the keys start to differ,
// then the whole keys): shorter and longer than those eight bytes, one the beginning of another,
// differing only in case or past the eighth byte.
TEST_F(DocArticles, TitlesBeginningAlikeSortAsThePairwiseComparison)
{
    Create();
    const char* const titles[] = {
        "Article 10", "Article 9", "article 9", "ARTICLE 9", "Article 9x", "Article", "Articles", "Article 100000",
        "Article 1000000000", "Article 1000000001", "article 1000000001", "Article 10000000", "Article \xE9t\xE9",
        "Article \xC9t\xC9", "Article 9", "Article ", "Article 1000000001 b", "Article 1000000001 a",
    };
    std::vector<int32_t> ids;
    int i = 0;
    for (const char* title : titles) {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetDate(20240101 + i % 2);
        ids.push_back(m_doc->AddArticle(record, false, false));
        ++i;
    }
    std::reverse(ids.begin(), ids.end());
    for (int order : {0, 1, 2}) {
        m_doc->SetSortOrder(order);
        std::vector<int32_t> expected = ids;
        std::stable_sort(expected.begin(), expected.end(),
                         [&](int32_t a, int32_t b) { return m_doc->CompareArticles(a, b) < 0; });
        std::vector<int32_t> sorted = ids;
        m_doc->SortArticleIdsInOrder(sorted);
        EXPECT_EQ(sorted, expected) << "order " << order;
    }
}

// Each title's collation key is kept from one sort to the next: a title changed in between sorts
// by its new text, not by the key of the old one.
TEST_F(DocArticles, ARetitledArticleSortsByItsNewTitle)
{
    Create();
    std::vector<int32_t> ids;
    for (const char* title : {"delta", "alpha", "charlie", "bravo"}) {
        CArticleRecord record;
        record.SetTitle(title);
        ids.push_back(m_doc->AddArticle(record, false, false));
    }
    auto sorted = [&] {
        std::vector<int32_t> order = ids;
        m_doc->SortArticleIdsInOrder(order);
        return order;
    };
    EXPECT_EQ(sorted(), (std::vector<int32_t>{ids[1], ids[3], ids[2], ids[0]}));
    CArticleRecord record;
    m_doc->LoadArticle(ids[1], record);
    record.SetTitle("echo");
    m_doc->UpdateArticle(ids[1], record, false);
    EXPECT_EQ(sorted(), (std::vector<int32_t>{ids[3], ids[2], ids[0], ids[1]}));
}

// A file whose deleted entries were taken by newer articles holds its records out of id order (the
// newest deleted blocks are reused first). The first sort of all titles reads every record: in the
// order the records lie, through the data file's read window, not one disk read per record.
TEST_F(DocArticles, TheFirstSortReadsTheRecordsInFileOrder)
{
    Create();
    const std::string body(1500, 'x');  // a few blocks each: the file is many read windows long
    auto add = [&](int i) {
        CArticleRecord record;
        record.SetTitle("title " + std::to_string((i * 37) % 200));
        record.SetDate(20240101 + i % 3);
        record.SetRichTextVersion();
        record.SetRtfText("{\\rtf1\\ansi " + body + "}");
        return m_doc->AddArticle(record, false, false);
    };
    CArticleIdSet gone;
    for (int i = 0; i < 160; ++i) {
        int32_t id = add(i);
        if (i % 2 == 0)
            gone.Add(id);
    }
    m_doc->DeleteArticles(gone);
    for (int i = 160; i < 240; ++i)
        add(i);
    Reopen();
    CArticleIdSet all;
    m_doc->GetAllArticleIds(all);
    std::vector<int32_t> sorted = all.Values();
    int64_t before = m_doc->GetDataFile().GetBlockReads();
    m_doc->SortArticleIdsInOrder(sorted);
    EXPECT_LT(m_doc->GetDataFile().GetBlockReads() - before, 30);  // 160 records, 80 of them out of order
    std::vector<int32_t> expected = all.Values();
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int32_t a, int32_t b) { return m_doc->CompareArticles(a, b) < 0; });
    EXPECT_EQ(sorted, expected);
    EXPECT_EQ(CheckOpenFile(), "");
}

// Titles and keyword names sort alphabetically whatever their case; only names that differ in case
// alone put the lower-case one first.
TEST_F(DocArticles, TitlesAndNamesSortAlphabeticallyBeforeByCase)
{
    Create();
    std::vector<int32_t> titles;
    std::vector<int32_t> names;
    for (const char* text : {"banana", "Cherry", "apple", "BANANA", "Apple"}) {
        titles.push_back(AddArticle(text, Keywords({})));
        names.push_back(m_doc->AddKeyword(text, false));
    }
    const std::vector<size_t> order{2, 4, 0, 3, 1};
    std::vector<int32_t> expectedTitles;
    std::vector<int32_t> expectedNames;
    for (size_t index : order) {
        expectedTitles.push_back(titles[index]);
        expectedNames.push_back(names[index]);
    }
    m_doc->SortArticleIdsByTitle(titles);
    m_doc->SortKeywordIdsByName(names);
    EXPECT_EQ(titles, expectedTitles);
    EXPECT_EQ(names, expectedNames);
}

// A pending id whose name was already released (the pool was purged while an importer or a window
// still held it) names no keyword: storing it must not create a keyword without a name.
TEST_F(DocArticles, AReleasedPendingIdIsDroppedNotStoredAsANamelessKeyword)
{
    Create();
    int32_t k = m_doc->AddKeyword("kept", false);
    int32_t stale = m_doc->GetKeywordIdByName("forgotten");
    m_doc->PurgePendingKeywords();  // no window uses it
    int32_t a = AddArticle("a", Keywords({stale, k}));
    CKeywordIdSet ids = Keywords({stale});
    m_doc->CommitPendingKeywords(ids);

    EXPECT_EQ(ids.GetSize(), 0);
    EXPECT_EQ(m_doc->GetKeywordCount(), 1);
    CKeywordIdSet keywords;
    m_doc->GetArticleKeywordIds(a, keywords);
    EXPECT_EQ(keywords.Values(), (std::vector<int32_t>{k}));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocArticles, DeletingKeywordsPassesOverIdsThatNameNoKeyword)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t kept = m_doc->AddKeyword("kept", false);
    int32_t a = AddArticle("a", Keywords({k, kept}));
    m_doc->DeleteKeywords(Keywords({m_doc->GetKeywordIdByName("pending"), k, kept + 1000}));
    m_doc->DeleteKeywords(Keywords({k}));  // a second time: gone already
    EXPECT_FALSE(m_doc->IsValidKeywordId(k));
    EXPECT_EQ(m_doc->GetKeywordName(kept), "kept");
    CKeywordIdSet keywords;
    m_doc->GetArticleKeywordIds(a, keywords);
    EXPECT_EQ(keywords.Values(), (std::vector<int32_t>{kept}));
    EXPECT_EQ(CheckOpenFile(), "");
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(DocArticles, AnEmptyNameGetsNoPendingId)
{
    Create();
    EXPECT_EQ(m_doc->GetKeywordIdByName(""), kNoneId);
    int32_t a = m_doc->GetKeywordIdByName("a");
    int32_t b = m_doc->GetKeywordIdByName("b");
    EXPECT_LT(a, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(m_doc->GetKeywordName(a), "a");
    EXPECT_EQ(m_doc->GetKeywordName(b), "b");
}

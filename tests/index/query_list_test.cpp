#include "index/query_list.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<int> Recent(const CQueryList& list)
{
    std::vector<int> recent;
    for (int i = 0; i < list.GetRecentCount(); ++i)
        recent.push_back(list.GetRecentIndex(i));
    return recent;
}

void AddNumbered(CQueryList& list, int count)
{
    for (int i = 0; i < count; ++i)
        list.Add("q" + std::to_string(list.GetCount()), "a", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
}

TEST(QueryList, AddPutsTheNewEntryFirstAndKeepsTwentyRecent)
{
    CQueryList list;
    EXPECT_FALSE(list.IsModified());
    AddNumbered(list, 3);
    EXPECT_TRUE(list.IsModified());
    EXPECT_EQ(Recent(list), (std::vector<int>{2, 1, 0}));

    AddNumbered(list, 18);
    ASSERT_EQ(list.GetCount(), 21);
    ASSERT_EQ(list.GetRecentCount(), 20);
    EXPECT_EQ(list.GetRecentIndex(0), 20);
    EXPECT_EQ(list.GetRecentIndex(19), 1);  // entry 0 dropped out of the recent list, not the list
    std::string name, text;
    int32_t from = 0, to = 0;
    EXPECT_TRUE(list.GetAt(0, name, text, from, to));
    EXPECT_EQ(name, "q0");

    list.MoveToFront(0);
    EXPECT_EQ(list.GetRecentIndex(0), 0);
    EXPECT_EQ(list.GetRecentIndex(19), 2);
    list.TouchRecent(5);  // place 5 holds entry 16
    EXPECT_EQ(Recent(list)[0], 16);
    EXPECT_EQ(list.GetRecentCount(), 20);
    list.MoveToFront(21);
    list.MoveToFront(-1);
    EXPECT_EQ(Recent(list)[0], 16);
}

TEST(QueryList, RemoveRenumbersAndTopsTheRecentListUp)
{
    CQueryList list;
    AddNumbered(list, 25);  // recent: 24 .. 5
    list.MoveToFront(2);    // recent: 2, 24 .. 6
    list.Remove(10);
    ASSERT_EQ(list.GetCount(), 24);
    std::vector<int> recent = Recent(list);
    ASSERT_EQ(recent.size(), 20u);
    EXPECT_EQ(recent[0], 2);
    EXPECT_EQ(recent[1], 23);  // former 24
    // The highest index not yet in the list refills the last place: entries 0..5 are missing, 5
    // is the highest.
    EXPECT_EQ(recent[19], 5);
    for (int r : recent)
        EXPECT_LT(r, 24);

    list.Remove(99);
    EXPECT_EQ(list.GetCount(), 24);

    // Fewer than 20 entries: the recent list holds them all.
    CQueryList small;
    AddNumbered(small, 3);
    small.Remove(1);
    EXPECT_EQ(Recent(small), (std::vector<int>{1, 0}));
    small.RemoveAll();
    EXPECT_EQ(small.GetCount(), 0);
    EXPECT_EQ(small.GetRecentCount(), 0);
    EXPECT_FALSE(small.IsModified());
}

TEST(QueryList, NamesCompareWithoutCaseAndSettersChangeOneEntry)
{
    CQueryList list;
    list.Add("Work", "a AND b", 20200101, 20201231);
    list.Add("Home", "c", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
    EXPECT_EQ(list.FindByName("WORK"), 0);
    EXPECT_EQ(list.FindByName("home"), 1);
    EXPECT_EQ(list.FindByName("Hom"), -1);

    list.SetName(1, "Garden");
    list.SetQuery(0, "b", 20210101, CCurrentQuery::kOpenTo);
    std::string name, text;
    int32_t from = 0, to = 0;
    list.GetName(1, name);
    EXPECT_EQ(name, "Garden");
    EXPECT_TRUE(list.GetRecentAt(1, text, from, to));  // recent: 1, 0
    EXPECT_EQ(text, "b");
    EXPECT_EQ(from, 20210101);
    EXPECT_EQ(to, CCurrentQuery::kOpenTo);

    name = "kept";
    EXPECT_FALSE(list.GetAt(2, name, text, from, to));
    EXPECT_FALSE(list.GetRecentAt(2, text, from, to));
    list.GetName(-1, name);
    EXPECT_EQ(name, "kept");

    std::vector<std::string> names{"stale"};
    list.GetRecentNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Garden", "Work"}));
}

TEST(QueryList, RenamesRewriteEverySavedText)
{
    CQueryList list;
    list.Add("one", "alpha AND GROUP: alpha", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
    list.Add("two", "beta", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);

    std::string name, text;
    int32_t from = 0, to = 0;
    list.RewriteKeywordInAll("alpha", "new alpha");
    list.GetAt(0, name, text, from, to);
    EXPECT_EQ(text, "\"new alpha\" AND GROUP: alpha");
    list.RewriteGroupInAll("ALPHA", "Office");
    list.GetAt(0, name, text, from, to);
    EXPECT_EQ(text, "\"new alpha\" AND GROUP: Office");
    list.GetAt(1, name, text, from, to);
    EXPECT_EQ(text, "beta");
}

}  // namespace

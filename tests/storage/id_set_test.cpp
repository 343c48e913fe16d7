#include "storage/id_set.h"

#include <gtest/gtest.h>

namespace {

CIdSet Make(std::initializer_list<int32_t> ids, bool modified = false)
{
    CIdSet set;
    for (int32_t id : ids)
        set.Add(id);
    if (!modified)
        set.ClearModified();
    return set;
}

std::vector<int32_t> V(std::initializer_list<int32_t> ids) { return ids; }

}  // namespace

TEST(IdSet, FindGivesIndexOrInsertionPoint)
{
    CIdSet set;
    int index = -1;
    EXPECT_FALSE(set.Find(7, index));
    EXPECT_EQ(index, 0);
    set = Make({-5, 2, 9, 40});
    EXPECT_TRUE(set.Find(9, index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(set.Find(10, index));
    EXPECT_EQ(index, 3);
    EXPECT_FALSE(set.Find(-6, index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(set.Find(41, index));
    EXPECT_EQ(index, 4);
}

TEST(IdSet, AddRemoveAndTheModifiedFlag)
{
    CIdSet set = Make({3, 1, 2});
    EXPECT_EQ(set.Values(), V({1, 2, 3}));
    set.Add(2);
    EXPECT_FALSE(set.IsModified());
    set.Remove(4);
    EXPECT_FALSE(set.IsModified());
    set.Remove(2);
    EXPECT_TRUE(set.IsModified());
    EXPECT_EQ(set.Values(), V({1, 3}));
    CIdSet empty;
    empty.RemoveAll();
    EXPECT_TRUE(empty.IsModified());
}

TEST(IdSet, Combinations)
{
    struct Case {
        const char* name;
        std::vector<int32_t> a, b, result;
        bool modified;
    };
    const Case intersect[] = {
        {"with empty", {1, 2}, {}, {}, true},
        {"both empty", {}, {}, {}, false},
        {"subset kept", {2, 3}, {1, 2, 3, 4}, {2, 3}, false},
        {"mixed", {1, 3, 5, 7}, {3, 4, 7, 9}, {3, 7}, true},
    };
    const Case unions[] = {
        {"subset", {1, 2, 3}, {2, 3}, {1, 2, 3}, false},
        {"new ids", {1, 5}, {0, 5, 9}, {0, 1, 5, 9}, true},
        {"tail of this only", {1, 8, 9}, {1}, {1, 8, 9}, false},
    };
    const Case symmetric[] = {
        {"not smaller", {1, 2, 3}, {3, 4}, {1, 2, 4}, false},
        {"smaller", {1, 2, 3}, {2, 3}, {1}, true},
        {"disjoint", {5}, {1, 9}, {1, 5, 9}, false},
    };
    const Case subtract[] = {
        {"nothing shared", {1, 3}, {2, 4}, {1, 3}, false},
        {"some dropped", {1, 2, 3, 5, 8}, {0, 2, 5, 9}, {1, 3, 8}, true},
        {"all dropped", {4, 6}, {1, 4, 6, 7}, {}, true},
        {"from empty", {}, {1}, {}, false},
    };
    for (const Case& c : subtract) {
        CIdSet a, b;
        a.Copy(c.a);
        b.Copy(c.b);
        a.Subtract(b);
        EXPECT_EQ(a.Values(), c.result) << c.name;
        EXPECT_EQ(a.IsModified(), c.modified) << c.name;
    }
    auto run = [](const Case& c, CIdSet (CIdSet::*op)(const CIdSet&)) {
        CIdSet a, b;
        a.Copy(c.a);
        b.Copy(c.b);
        CIdSet copy = (a.*op)(b);
        EXPECT_EQ(a.Values(), c.result) << c.name;
        EXPECT_EQ(copy.Values(), c.result) << c.name;
        EXPECT_EQ(a.IsModified(), c.modified) << c.name;
    };
    for (const Case& c : intersect)
        run(c, &CIdSet::Intersect);
    for (const Case& c : unions)
        run(c, &CIdSet::Union);
    for (const Case& c : symmetric)
        run(c, &CIdSet::SymmetricDifference);
}

TEST(IdSet, CombiningWithItself)
{
    CIdSet set = Make({1, 2});
    set.Intersect(set);
    set.Union(set);
    EXPECT_EQ(set.Values(), V({1, 2}));
    EXPECT_FALSE(set.IsModified());
    set.SymmetricDifference(set);
    EXPECT_TRUE(set.Values().empty());
    EXPECT_TRUE(set.IsModified());
    CIdSet other = Make({3, 4});
    other.Subtract(other);
    EXPECT_TRUE(other.Values().empty());
    EXPECT_TRUE(other.IsModified());
}

TEST(IdSet, SortRestoresTheInvariantAfterDirectFilling)
{
    CArticleIdSet set;
    set.Values() = {9, kNoneId, 3, 9, -2, 3};
    set.Sort();
    EXPECT_EQ(set.Values(), V({-2, 3, 9}));
    EXPECT_FALSE(set.IsModified());
    CKeywordIdSet other;
    other.Copy(set);
    EXPECT_EQ(other.Values(), set.Values());
    EXPECT_FALSE(other.IsModified());
}

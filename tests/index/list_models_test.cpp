#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include <map>
#include <string>
#include <vector>

#include "framework/ansi_case.h"
#include "index/keyword_list_model.h"
#include "index/sorted_id_list.h"
#include "index/type_ahead.h"

namespace {

std::vector<int32_t> Ids(std::initializer_list<int32_t> ids)
{
    return std::vector<int32_t>(ids);
}

CKeywordIdSet Set(std::initializer_list<int32_t> ids)
{
    CKeywordIdSet set;
    set.Copy(std::vector<int32_t>(ids));
    return set;
}

struct Names {
    std::map<int32_t, std::string> names;
    CKeywordListModel::NameSource Source()
    {
        return [this](int32_t id) {
            auto it = names.find(id);
            return it == names.end() ? std::string() : it->second;
        };
    }
};

Names SampleNames()
{
    Names n;
    n.names = {{0, "zero"}, {1, "banana"}, {2, "Apple"}, {3, "apple"}, {4, "cherry"}, {5, "Banana"}, {6, "date"}};
    return n;
}

TEST(SortedIdList, InsertGoesAfterEqualItemsAndKeepsOrder)
{
    CSortedIdList list;
    list.SetOrder([](int32_t a, int32_t b) { return (a / 10) - (b / 10); });
    list.Assign(Ids({31, 10, 20, 11}));
    EXPECT_EQ(list.Ids(), Ids({10, 11, 20, 31}));  // stable: 10 before 11
    EXPECT_EQ(list.Insert(12), 2);                   // after 10 and 11, before 20
    EXPECT_EQ(list.Insert(5), 0);
    EXPECT_EQ(list.Insert(99), 6);
    EXPECT_EQ(list.Ids(), Ids({5, 10, 11, 12, 20, 31, 99}));
    list.RemoveIndexes({6, 0, 3, 3});
    EXPECT_EQ(list.Ids(), Ids({10, 11, 20, 31}));
    EXPECT_EQ(list.IndexOf(20), 2);
    EXPECT_EQ(list.IndexOf(7), -1);
}

// Items whose sort key changed move to the places a full sort gives them; with a key that says
// "flagged first", as a bookmark order does.
TEST(SortedIdList, RepositionMovesOnlyTheChangedItems)
{
    std::set<int32_t> flagged = {3, 7};
    CSortedIdList list;
    list.SetOrder([&flagged](int32_t a, int32_t b) {
        bool fa = flagged.count(a) != 0, fb = flagged.count(b) != 0;
        if (fa != fb)
            return fa ? -1 : 1;
        return a - b;
    });
    list.Assign(Ids({1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(list.Ids(), Ids({3, 7, 1, 2, 4, 5, 6, 8}));
    struct Step {
        std::vector<int32_t> flagOn, flagOff;
    } steps[] = {
        {{2, 8}, {}},
        {{}, {3, 8}},
        {{1, 4, 5, 6}, {7}},
        {{}, {}},
    };
    for (const Step& step : steps) {
        std::vector<int32_t> moved;
        for (int32_t id : step.flagOn) {
            flagged.insert(id);
            moved.push_back(id);
        }
        for (int32_t id : step.flagOff) {
            flagged.erase(id);
            moved.push_back(id);
        }
        std::sort(moved.begin(), moved.end());
        list.Reposition(moved);
        CSortedIdList full;
        full.SetOrder([&flagged](int32_t a, int32_t b) {
            bool fa = flagged.count(a) != 0, fb = flagged.count(b) != 0;
            return fa != fb ? (fa ? -1 : 1) : a - b;
        });
        full.Assign(list.Ids());
        EXPECT_EQ(list.Ids(), full.Ids());
    }
}

TEST(KeywordListModel, ListsIdZeroAndNeverTheNoneId)
{
    Names n = SampleNames();
    CKeywordListModel model(n.Source());
    CKeywordIdSet ids = Set({0, 1, 4});
    ids.Values().push_back(kNoneId);  // filled directly: the model must not list it
    model.SetIds(ids);
    EXPECT_EQ(model.Items().Ids(), Ids({1, 4, 0}));  // banana, cherry, zero
    EXPECT_TRUE(model.HasId(0));
    EXPECT_FALSE(model.HasId(kNoneId));
    bool already = true;
    EXPECT_EQ(model.AddId(kNoneId, already), -1);
    EXPECT_EQ(model.Items().Count(), 3);
}

TEST(KeywordListModel, OrderIsLstrcmpOrderAndDescendingIsExactlyItsReverse)
{
    Names n = SampleNames();
    CKeywordListModel model(n.Source());
    model.SetIds(Set({1, 2, 3, 4, 5, 6}));
    std::vector<int32_t> ascending = model.Items().Ids();
    for (size_t i = 1; i < ascending.size(); ++i)
        EXPECT_LT(AnsiCompare(n.names[ascending[i - 1]].c_str(), n.names[ascending[i]].c_str()), 0) << i;
    EXPECT_EQ(ascending, Ids({3, 2, 1, 5, 4, 6}));  // apple Apple banana Banana cherry date

    EXPECT_TRUE(model.SetDescending(true));
    EXPECT_FALSE(model.SetDescending(true));
    std::vector<int32_t> reversed(ascending.rbegin(), ascending.rend());
    EXPECT_EQ(model.Items().Ids(), reversed);
    // A single id goes in at its place in the descending order too.
    n.names[7] = "bb";
    bool already = true;
    int at = model.AddId(7, already);
    EXPECT_FALSE(already);
    EXPECT_EQ(model.Items().At(at), 7);
    EXPECT_EQ(model.Items().Ids(), Ids({6, 4, 7, 5, 1, 2, 3}));
}

TEST(KeywordListModel, FilteredOutIdsStayListedAndComeBackWhenTheFilterGoesOff)
{
    Names n = SampleNames();
    CKeywordListModel model(n.Source());
    model.SetIds(Set({1, 2, 4, 6}));
    model.SetFilter(Set({4}), true, false);
    EXPECT_EQ(model.Items().Ids(), Ids({4}));
    EXPECT_EQ(model.GetIds().Values(), Ids({1, 2, 4, 6}));
    EXPECT_TRUE(model.HasId(6));

    // An id added while hidden is listed but has no item.
    bool already = true;
    EXPECT_EQ(model.AddId(3, already), -1);
    EXPECT_FALSE(already);
    EXPECT_TRUE(model.HasId(3));

    model.RefreshFilter(false);
    EXPECT_EQ(model.Items().Ids(), Ids({3, 2, 1, 4, 6}));
    // Show-all (no group highlighted) hides nothing even with the filter on.
    model.SetFilter(Set({6}), true, true);
    EXPECT_EQ(model.Items().Count(), 5);
    model.SetFilter(Set({6}), true, false);
    EXPECT_EQ(model.Items().Ids(), Ids({6}));
}

TEST(KeywordListModel, RemovingUnlistsFromItemsAllAndFilter)
{
    Names n = SampleNames();
    CKeywordListModel model(n.Source());
    model.SetIds(Set({1, 2, 3, 4, 6}));
    EXPECT_EQ(model.RemoveId(2), 1);
    EXPECT_EQ(model.RemoveId(2), -1);
    EXPECT_FALSE(model.HasId(2));
    model.RemoveItems({0, 2});  // apple, cherry
    EXPECT_EQ(model.Items().Ids(), Ids({1, 6}));
    EXPECT_EQ(model.GetIds().Values(), Ids({1, 6}));
    EXPECT_EQ(model.All().Ids(), Ids({1, 6}));

    // Many at once, hidden ones too; the rest keep their order and the filter loses the removed.
    model.SetIds(Set({1, 2, 3, 4, 5, 6}));
    model.SetFilter(Set({2, 4, 5}), true, false);
    model.RemoveIds(Set({3, 4, 7}));
    EXPECT_EQ(model.Items().Ids(), Ids({2, 5}));
    EXPECT_EQ(model.All().Ids(), Ids({2, 1, 5, 6}));
    EXPECT_EQ(model.GetIds().Values(), Ids({1, 2, 5, 6}));
    bool already = true;
    EXPECT_EQ(model.AddId(4, already), -1);  // 4 left the filter with its removal
    EXPECT_FALSE(already);
    EXPECT_EQ(model.Items().Ids(), Ids({2, 5}));
}

// The names the type-ahead table searches, in display order.
const std::vector<std::string> kTitles = {"alpha", "Banana", "berry", "Bison", "cherry", "date"};

// Their folded first letters, as the titles list keeps them.
std::vector<unsigned char> Initials()
{
    std::vector<unsigned char> initials;
    for (const std::string& title : kTitles)
        initials.push_back(CTypeAhead::FoldInitial(title.c_str()));
    return initials;
}

CTypeAhead::List ListAt(int caret, bool highlighted = true, const unsigned char* initials = nullptr)
{
    CTypeAhead::List list;
    list.count = static_cast<int>(kTitles.size());
    list.caret = caret;
    list.anyHighlighted = highlighted;
    list.textOf = [](int i) { return kTitles[static_cast<size_t>(i)].c_str(); };
    list.initials = initials;
    return list;
}

TEST(TypeAhead, KeysWithThePinnedClock)
{
    struct Key {
        char c;
        uint32_t at;     // tick of the key
        int expected;    // item selected (-1 none)
        const char* prefix;
    };
    struct Case {
        const char* name;
        int caret;
        bool highlighted;
        std::vector<Key> keys;
    };
    const Case cases[] = {
        {"b twice steps to the next b-name", 0, true, {{'b', 100, 1, "b"}, {'b', 300, 2, "b"}, {'b', 500, 3, "b"}}},
        {"b a within 1000 ms seeks ba", 0, true, {{'b', 100, 1, "b"}, {'a', 1100, 1, "ba"}}},
        {"a pause of more than 1000 ms starts anew", 0, true, {{'b', 100, 1, "b"}, {'d', 1101, 5, "d"}}},
        {"Esc empties the prefix", 0, true, {{'b', 100, 1, "b"}, {27, 200, -1, ""}, {'c', 300, 4, "c"}}},
        {"case does not matter", 0, true, {{'B', 100, 1, "B"}, {'I', 200, 3, "BI"}}},
        {"a single letter searches from the item after the caret, wrapping", 5, true, {{'a', 100, 0, "a"}}},
        {"nothing highlighted starts at the first item", 3, false, {{'a', 100, 0, "a"}}},
        {"no match leaves the prefix for the next key", 0, true, {{'x', 100, -1, "x"}, {'y', 200, -1, "xy"}}},
        {"a longer prefix starts at the caret itself", 1, true, {{'b', 100, 2, "b"}, {'e', 200, 2, "be"}}},
    };
    // Each case with the texts alone and with the first letters given: the same answers.
    const std::vector<unsigned char> initials = Initials();
    for (const unsigned char* given : {static_cast<const unsigned char*>(nullptr), initials.data()}) {
        for (const Case& test : cases) {
            CTypeAhead typeAhead(0);
            int caret = test.caret;
            bool highlighted = test.highlighted;
            for (const Key& key : test.keys) {
                int found = typeAhead.OnChar(key.c, key.at, ListAt(caret, highlighted, given));
                EXPECT_EQ(found, key.expected) << test.name << " key " << key.c << (given ? " (initials)" : "");
                EXPECT_EQ(typeAhead.Prefix(), key.prefix) << test.name << " key " << key.c;
                if (found >= 0) {
                    caret = found;
                    highlighted = true;
                }
            }
        }
    }
}

TEST(TypeAhead, FirstLettersSpareReadingTheOtherTexts)
{
    EXPECT_EQ(CTypeAhead::FoldInitial("Bison"), CTypeAhead::FoldInitial("b"));
    EXPECT_EQ(CTypeAhead::FoldInitial(""), 0);
    EXPECT_EQ(CTypeAhead::FoldInitial(nullptr), 0);
    const std::vector<unsigned char> initials = Initials();
    std::vector<int> read;
    CTypeAhead::List list = ListAt(0, false, initials.data());
    list.textOf = [&read](int i) {
        read.push_back(i);
        return kTitles[static_cast<size_t>(i)].c_str();
    };
    // "bi": only the three b-titles are read, up to the match.
    EXPECT_EQ(CTypeAhead::Find("bi", list), 3);
    EXPECT_EQ(read, (std::vector<int>{1, 2, 3}));
    // A letter no title begins with reads none.
    read.clear();
    EXPECT_EQ(CTypeAhead::Find("q", list), -1);
    EXPECT_TRUE(read.empty());
}

TEST(TypeAhead, ResetMakesTheNextKeyStartANewPrefix)
{
    CTypeAhead typeAhead(0);
    typeAhead.OnChar('b', 100, ListAt(0));
    typeAhead.Reset(150);
    EXPECT_EQ(typeAhead.OnChar('c', 151, ListAt(1)), 4);
    EXPECT_EQ(typeAhead.Prefix(), "c");
    EXPECT_EQ(CTypeAhead::Find("b", CTypeAhead::List{}), -1);  // an empty list finds nothing
}

}  // namespace

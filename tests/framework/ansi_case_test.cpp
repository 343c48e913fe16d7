// The native comparisons must order text as the Windows ones do, since sorted lists are shown and
// searched with them on both.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/ansi_case.h"

namespace {
int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}
}  // namespace

TEST(AnsiCase, CaseSensitiveOrderIsAlphabeticalFirstAndLowerCaseFirstOnATie)
{
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"apple", "Banana", -1}, {"Banana", "apple", 1}, {"banana", "Banana", -1}, {"Banana", "BANANA", -1},
        {"same", "same", 0},     {"", "a", -1},          {"ab", "a", 1},           {"Zoo", "zoo", 1},
        {"aB", "Ab", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sign(AnsiCompare(c.a, c.b)), c.expected) << c.a << " / " << c.b;
        if (c.expected != 0 && AnsiCompareNoCase(c.a, c.b) != 0) {
            EXPECT_EQ(Sign(AnsiCompareNoCase(c.a, c.b)), c.expected) << c.a << " / " << c.b;
        }
    }
}

// Sorting builds one collation key per text and compares the keys: every pair of these texts must
// compare through their keys as AnsiCompare compares the texts themselves (case, Windows-1252
// letters and their upper-case partners, digits, punctuation, prefixes, equal texts).
TEST(AnsiCase, SortKeysOrderAsTheComparison)
{
    const char* const texts[] = {
        "", "a", "A", "apple", "Apple", "APPLE", "applE", "apples", "Banana", "banana", "\xC4pfel", "\xE4pfel",
        "Apfel", "\xD6l", "\xF6l", "Ol", "ol", "\xC6ther", "\xE6ther", "\x8Cuvre", "\x9Cuvre", "\x8A" "abat",
        "\x9A" "abat", "\x9F", "\xFF", "\xD7", "\xF7", "\xDF", "10 items", "9 items", "2nd", "item-2", "item 2",
        "item_2", "item's", "items", "caf\xE9", "cafe", "Caf\xC9", "zebra", "Zebra", "~tilde", "!bang",
    };
    std::vector<std::string> keys;
    for (const char* text : texts) {
        std::string key;
        AppendAnsiSortKey(text, key);
        keys.push_back(key);
    }
    size_t n = sizeof(texts) / sizeof(texts[0]);
    for (size_t i = 0; i < n; ++i) {
        for (size_t j = 0; j < n; ++j) {
            int byKeys = CompareAnsiSortKeys(keys[i].data(), keys[i].size(), keys[j].data(), keys[j].size());
            EXPECT_EQ(Sign(byKeys), Sign(AnsiCompare(texts[i], texts[j]))) << i << " " << j;
        }
    }
    // A key goes after what the string holds, and long texts of letters that expand get whole keys.
    for (size_t i = 0; i < n; ++i) {
        std::string key = "prefix";
        AppendAnsiSortKey(texts[i], key);
        EXPECT_EQ(key, "prefix" + keys[i]) << i;
    }
    std::string longer(2000, '\xC6'), shorter(1999, '\xC6');
    std::string longKey, shortKey;
    AppendAnsiSortKey(longer.c_str(), longKey);
    AppendAnsiSortKey(shorter.c_str(), shortKey);
    EXPECT_EQ(Sign(CompareAnsiSortKeys(longKey.data(), longKey.size(), shortKey.data(), shortKey.size())),
              Sign(AnsiCompare(longer.c_str(), shorter.c_str())));
    EXPECT_GT(longKey.size(), longer.size());
}

// The keyword commands' decisions: renames, delete-list lines, cut names, count labels, and what
// Change Keywords does to an article's keywords.
#include <gtest/gtest.h>

#include <map>

#include "framework/ansi_case.h"
#include "index/keyword_rules.h"

namespace {

CKeywordIdSet Set(std::initializer_list<int32_t> ids)
{
    CKeywordIdSet set;
    for (int32_t id : ids)
        set.Add(id);
    return set;
}

}  // namespace

TEST(KeywordRules, RenameChecksTheTrimmedNameAgainstOtherKeywordsInAnyCase)
{
    const std::map<std::string, int32_t> names = {{"work", 1}, {"alpha", 2}};
    auto find = [&](const std::string& name) {
        for (const auto& entry : names)
            if (AnsiCompareNoCase(entry.first.c_str(), name.c_str()) == 0)
                return entry.second;
        return kNoneId;
    };
    struct Case {
        const char* typed;
        int32_t self;
        KeywordNameProblem problem;
        const char* trimmed;
    } cases[] = {
        {"  ", 1, KeywordNameProblem::kBlank, ""},
        {"\t\r\n", 1, KeywordNameProblem::kBlank, ""},
        {"ALPHA", 1, KeywordNameProblem::kTaken, "ALPHA"},
        {" alpha\t", 1, KeywordNameProblem::kTaken, "alpha"},
        {"WORK", 1, KeywordNameProblem::kNone, "WORK"},
        {"  Jobs and work ", 1, KeywordNameProblem::kNone, "Jobs and work"},
        {"alpha", 2, KeywordNameProblem::kNone, "alpha"},
    };
    for (const Case& c : cases) {
        std::string trimmed;
        EXPECT_EQ(CheckKeywordRename(c.typed, c.self, find, trimmed), c.problem) << c.typed;
        EXPECT_EQ(trimmed, c.trimmed) << c.typed;
    }
}

TEST(KeywordRules, CountsAreRightAlignedByTabsAndLabelsTakeTheirCount)
{
    EXPECT_EQ(FormatDeleteListCount(1234), "\t\t\t\t\t\t1234");
    EXPECT_EQ(FormatDeleteListCount(0), std::string(9, '\t') + "0");
    EXPECT_EQ(FormatDeleteListCount(1234567890), "1234567890");
    EXPECT_EQ(FormatCountLabel("&Group Membership (%ld)", 2), "&Group Membership (2)");
    EXPECT_EQ(FormatCountLabel("&Available Groups (%ld)", 5), "&Available Groups (5)");
    EXPECT_EQ(FormatCountLabel("A&vailable (%d)", 12), "A&vailable (12)");
    EXPECT_EQ(FormatCountLabel("Keywords", 3), "Keywords");
}

TEST(KeywordRules, NamesAreCutToTheWidthWithAnEllipsisOnlyWhenCut)
{
    auto fitsSix = [](const std::string& text) { return text.size() <= 6; };
    EXPECT_EQ(CutNameForList("short", fitsSix), "short");
    EXPECT_EQ(CutNameForList("a longer name", fitsSix), "a long...");
    EXPECT_EQ(CutNameWithEllipsis("short", fitsSix), "short");
    EXPECT_EQ(CutNameWithEllipsis("a longer name", fitsSix), "a l...");
    auto fitsNothing = [](const std::string& text) { return text.empty(); };
    EXPECT_EQ(CutNameWithEllipsis("name", fitsNothing), "...");
    EXPECT_EQ(CutNameForList("name", fitsNothing), "...");
}

TEST(KeywordRules, ChangeKeywordsTakesOffOnlyTheSharedKeywordsTheUserRemoved)
{
    // Shared {1, 2}; the user removed 1 and added 3.
    CKeywordIdSet removed;
    SharedKeywordsRemoved(Set({1, 2}), Set({2, 3}), removed);
    EXPECT_EQ(removed.Values(), (std::vector<int32_t>{1}));
    struct Case {
        CKeywordIdSet before;
        std::vector<int32_t> after;
    } cases[] = {
        {Set({1, 2, 7}), {2, 3, 7}},
        {Set({1, 2}), {2, 3}},
        {Set({1, 2, 3}), {2, 3}},
    };
    for (Case& c : cases) {
        ApplyKeywordChange(c.before, removed, Set({2, 3}));
        EXPECT_EQ(c.before.Values(), c.after);
    }
    // Nothing changed in the dialog: nothing is removed.
    SharedKeywordsRemoved(Set({1, 2}), Set({1, 2}), removed);
    EXPECT_EQ(removed.GetSize(), 0);
}

// The keyword rules: trimming, keyword list lines and files, renames, group names, delete-list lines,
// cut names, count labels, what Change Keywords does to an article's keywords; and the Add Keywords
// model.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "framework/ansi_case.h"
#include "index/add_keywords_model.h"
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
    EXPECT_EQ(DeleteListCount(1234), "\t\t\t\t\t\t1234");
    EXPECT_EQ(DeleteListCount(0), std::string(9, '\t') + "0");
    EXPECT_EQ(DeleteListCount(1234567890), "1234567890");
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
    // Measured in a font: ten units a character, fifty wide.
    auto fitsFifty = [](const std::string& text) { return text.size() * 10 <= 50; };
    EXPECT_EQ(CutNameForList("a longer name", fitsFifty), "a lon...");
    EXPECT_EQ(CutNameForList("", fitsNothing), "");
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

TEST(KeywordRules, KeywordListLines)
{
    struct Case {
        const char* line;
        const char* name;
    };
    const Case cases[] = {
        {"Work", "Work"},
        {"  Work  ", "Work"},
        {"Work\r", "Work"},
        {"Work\t12", "Work"},
        // Trimmed again after the cut: no "Work " beside "Work".
        {"Work \t12", "Work"},
        {"\tWork\t12", "Work"},  // the leading tab goes with the trim, before the cut
        {"Two words\tcomment\tmore", "Two words"},
        {"", ""},
        {"   \t  ", ""},
        {"Work\t", "Work"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(KeywordListLineName(c.line), c.name) << '"' << c.line << '"';
}

TEST(KeywordRules, TrimKeepsInnerBlanks)
{
    EXPECT_EQ(TrimName(" \t a  b \r\n"), "a  b");
    EXPECT_EQ(TrimName("\v\f"), "");
}

TEST(KeywordRules, GroupNameTaken)
{
    struct Case {
        const char* name;
        int32_t found;
        int32_t group;
        const char* stored;
        bool taken;
    };
    const Case cases[] = {
        {"Work", -1, -1, "", false},      // a new name for a new group
        {"work", 3, -1, "", true},        // a new group named like group 3 in another case
        {"WORK", 3, 3, "Work", false},    // only the case of its own name changes
        {"Home", 5, 3, "Work", true},     // another group's name
        {"Home", -1, 3, "Work", false},   // a free name
        {"home", 3, 3, "Home", false},    // the lookup finds the group itself
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsGroupNameTaken(c.name, c.found, c.group, c.stored), c.taken) << c.name << " " << c.group;
}

namespace {

// The names of `text` fed in pieces of `piece` bytes.
std::vector<std::string> ParseInPieces(const std::string& text, size_t piece)
{
    CKeywordListParser parser;
    std::vector<std::string> names;
    for (size_t at = 0; at < text.size(); at += piece)
        parser.Feed(text.data() + at, std::min(piece, text.size() - at), names);
    parser.Finish(names);
    return names;
}

}  // namespace

TEST(KeywordRules, KeywordListFiles)
{
    const std::string longName(5000, 'L');
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"CR LF", "Alpha\r\nBeta\r\n", {"Alpha", "Beta"}},
        {"LF only, no final newline", "Alpha\nBeta", {"Alpha", "Beta"}},
        {"lone CR", "Alpha\rBeta\r", {"Alpha", "Beta"}},
        {"blank lines", "\r\n\r\nAlpha\r\n   \r\n\t\r\nBeta\r\n\r\n", {"Alpha", "Beta"}},
        {"tabs", "Work \t12\r\n  Home\tcomment\r\n\tx\r\n", {"Work", "Home", "x"}},
        {"a line over 4096 bytes stays one name", "a\r\n" + longName + "\r\nb", {"a", longName, "b"}},
        {"NUL ends the line's text", std::string("ab\0cd\r\nef", 9), {"ab", "ef"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        for (size_t piece : {size_t(1), size_t(3), size_t(4096), size_t(1) << 20})
            EXPECT_EQ(ParseInPieces(c.text, piece), c.names) << c.what << ", pieces of " << piece;
    }
}

TEST(AddKeywordsModel, TypedNames)
{
    auto isKeyword = [](const std::string& name) { return name == "Project" || name == "project"; };
    const std::vector<std::string> listed = {"Draft"};
    struct Case {
        const char* text;
        const char* added;
    };
    const Case cases[] = {
        {"  Idea  ", "Idea"}, {"   ", ""}, {"project", ""}, {"Draft", ""}, {"draft", "draft"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TypedKeywordToAdd(c.text, isKeyword, listed), c.added) << c.text;
}

TEST(AddKeywordsModel, Placement)
{
    const KeywordDialogRect desktop{0, 0, 1000, 800};
    struct Case {
        const char* what;
        KeywordDialogRect stored;
        bool placed;
        KeywordDialogRect out;
    };
    const Case cases[] = {
        {"nothing stored", {10, 10, 310, 0}, false, {}},
        {"stored height kept, own width", {100, 50, 999, 450}, true, {100, 50, 400, 450}},
        {"a bottom above top plus the opening height", {100, 50, 400, 60}, true, {100, 50, 400, 350}},
        {"top below the desktop", {100, 900, 400, 1300}, true, {350, 200, 650, 600}},
        {"left right of the desktop", {1200, 50, 1500, 450}, true, {350, 200, 650, 600}},
        {"bottom above 0", {100, -600, 400, -200}, true, {350, 200, 650, 600}},
        {"right edge left of 0", {-900, 50, -600, 450}, true, {350, 200, 650, 600}},
        {"partly off stays", {-100, 50, 200, 450}, true, {-100, 50, 200, 450}},
    };
    for (const Case& c : cases) {
        KeywordDialogRect out;
        ASSERT_EQ(PlaceKeywordDialog(c.stored, 300, 300, desktop, out), c.placed) << c.what;
        if (!c.placed)
            continue;
        EXPECT_EQ(out.left, c.out.left) << c.what;
        EXPECT_EQ(out.top, c.out.top) << c.what;
        EXPECT_EQ(out.right, c.out.right) << c.what;
        EXPECT_EQ(out.bottom, c.out.bottom) << c.what;
    }
}

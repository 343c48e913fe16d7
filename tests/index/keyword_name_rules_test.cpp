// The name rules shared by the keyword and group dialogs and the keyword list import.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "index/add_keywords_model.h"
#include "index/keyword_name_rules.h"

TEST(KeywordNameRules, KeywordListLines)
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

TEST(KeywordNameRules, TrimKeepsInnerBlanks)
{
    EXPECT_EQ(TrimName(" \t a  b \r\n"), "a  b");
    EXPECT_EQ(TrimName("\v\f"), "");
}

TEST(KeywordNameRules, GroupNameTaken)
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

TEST(KeywordNameRules, DeleteListCountRightAlignsOnTabs)
{
    EXPECT_EQ(DeleteListCount(1234), "\t\t\t\t\t\t1234");
    EXPECT_EQ(DeleteListCount(0), std::string(9, '\t') + "0");
    EXPECT_EQ(DeleteListCount(1234567890), "1234567890");
}

TEST(KeywordNameRules, FitNameToWidth)
{
    auto width = [](const std::string& text) { return static_cast<int>(text.size()) * 10; };
    EXPECT_EQ(FitNameToWidth("short", 50, width), "short");
    EXPECT_EQ(FitNameToWidth("a longer name", 50, width), "a lon...");
    EXPECT_EQ(FitNameToWidth("abc", 5, width), "...");
    EXPECT_EQ(FitNameToWidth("", 0, width), "");
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

TEST(KeywordNameRules, KeywordListFiles)
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

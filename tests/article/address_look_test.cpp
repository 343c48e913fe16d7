// Recognised addresses: which spans of a text get the address look, the words they are found in, the
// runs a removal touches, and the look following the text while it is typed, checked against a model
// of the rich edit (a typed character takes the look of the one before it).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "article/address_look.h"
#include "tests/article/link_test_support.h"

namespace {

std::string DescribeChanges(const std::vector<AddressLookChange>& changes)
{
    std::string out;
    for (const AddressLookChange& c : changes) {
        if (!out.empty()) out += ' ';
        out += (c.add ? "+" : "-") + std::to_string(c.start) + "-" + std::to_string(c.end);
    }
    return out;
}

std::string Plan(const std::string& text, const std::string& links, int32_t from, int32_t to, bool clearGaps)
{
    CLinkFinder finder;
    CStringPositionText source(text);
    std::vector<AddressLookChange> changes;
    PlanAddressLooks(finder, source, Links(links), from, to, clearGaps, changes);
    return DescribeChanges(changes);
}

}  // namespace

TEST(AddressLookTest, AddressesOfARangeGetTheLook)
{
    struct {
        const char* text;
        const char* links;
        int32_t from, to;
        bool clearGaps;
        const char* expected;
    } cases[] = {
        {"see www.x.org. now", "", 0, 18, false, "+4-13"},
        {"(www.x.org).", "", 0, 12, false, "+1-10"},
        {"a=http://x.org b", "", 0, 16, false, "+2-14"},
        {"HTTP://X.ORG and ftp@host.net", "", 0, 29, false, "+0-12 +17-29"},
        {"a bare http:// is none", "", 0, 22, false, ""},
        // Two addresses in one run of characters, apart at '<'.
        {"http://a.org<http://b.org", "", 0, 25, false, "+0-12 +13-25"},
        // A word ends where a stored link begins, and a link's own text is passed over.
        {"www.x.orgLINK www.y.org", "9-13", 0, 23, false, "+0-9 +14-23"},
        {"LINKwww.x.org", "0-4", 0, 13, false, "+4-13"},
        // Lines.
        {"x\rwww.a.org\ry", "", 0, 13, false, "+2-11"},
        // Only the words of the range; a word starting at its end is not taken.
        {"www.a.org www.b.org www.c.org", "", 10, 19, false, "+10-19"},
        {"www.a.org www.b.org www.c.org", "", 10, 20, false, "+10-19"},
        // A range of one position examines the word there.
        {"ab www.b.org", "", 3, 3, false, "+3-12"},
        // Gaps lose the look: between, before and after the addresses.
        {"ab www.x.org cd", "", 0, 15, true, "-0-3 +3-12 -12-15"},
        {"plain text only", "", 0, 15, true, "-0-15"},
        {"www.x.org", "", 0, 9, true, "+0-9"},
        {"", "", 0, 0, true, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(Plan(c.text, c.links, c.from, c.to, c.clearGaps), c.expected);
    }
}

TEST(AddressLookTest, WordsAroundAPosition)
{
    CLinkSpans none(Links(""));
    CLinkSpans links(Links("10-14"));
    struct {
        const char* text;
        const CLinkSpans* links;
        int32_t at;
        int32_t start, end;
    } cases[] = {
        {"one two three", &none, 5, 4, 7},
        {"one two three", &none, 4, 4, 7},
        {"one two three", &none, 7, 4, 7},   // on the blank after it: the word before
        {"one two three", &none, 13, 8, 13},  // at the end of the text
        {"one  two", &none, 4, 4, 4},         // between two blanks: none
        {"<www.x.org>", &none, 3, 1, 10},     // '<' and '>' bound it
        {"((www.x.org", &none, 5, 2, 11},     // leading punctuation dropped
        {"abcdefghijLINKxyz", &links, 5, 0, 10},  // a stored link bounds it
        {"abcdefghijLINKxyz", &links, 15, 14, 17},
        {"abcdefghijLINKxyz", &links, 11, 11, 11},  // inside the link: none
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " @" + std::to_string(c.at));
        const std::string owned(c.text);
        CStringPositionText source(owned);
        const TextSpan word = WordAround(source, *c.links, c.at);
        EXPECT_EQ(word.start, c.start);
        EXPECT_EQ(word.end, c.end);
    }
}

namespace {

// Looks as letters: '.' plain, 'A' the address look, 'G' another look.
class CFakeLooks : public IRunLooks {
public:
    explicit CFakeLooks(const std::string& looks) : m_looks(looks) {}
    RunLook Look(int32_t start, int32_t end) override
    {
        ++questions;
        RunLook look;
        for (int32_t p = start + 1; p < end; ++p)
            if (m_looks[static_cast<size_t>(p)] != m_looks[static_cast<size_t>(start)]) look.uniform = false;
        look.address = look.uniform && m_looks[static_cast<size_t>(start)] == 'A';
        return look;
    }
    int questions = 0;

private:
    std::string m_looks;
};

std::string DescribeRuns(const std::vector<TextSpan>& runs)
{
    std::string out;
    for (const TextSpan& r : runs) out += (out.empty() ? "" : " ") + std::to_string(r.start) + "-" + std::to_string(r.end);
    return out;
}

}  // namespace

TEST(AddressLookTest, RemovalFindsTheRunsThatCarryTheLook)
{
    struct {
        const char* looks;
        int32_t from, to;
        const char* runs;
        int maxQuestions;
    } cases[] = {
        {"..........", 0, 10, "", 1},  // one look: one question
        {"AAAAAAAAAA", 0, 10, "0-10", 1},
        {"..AAA.GGAA", 0, 10, "2-5 8-10", 20},
        {"..AAA.GGAA", 3, 9, "3-5 8-9", 20},
        {"A", 0, 1, "0-1", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.looks);
        CFakeLooks looks(c.looks);
        EXPECT_EQ(DescribeRuns(AddressRuns(looks, c.from, c.to)), c.runs);
        EXPECT_LE(looks.questions, c.maxQuestions);
    }
    // A long text of one look with a short address in it: a handful of questions, not one per character.
    std::string long_(100000, '.');
    long_.replace(50000, 10, "AAAAAAAAAA");
    CFakeLooks looks(long_);
    EXPECT_EQ(DescribeRuns(AddressRuns(looks, 0, 100000)), "50000-50010");
    EXPECT_LT(looks.questions, 120);
}

namespace {

// The text of a rich edit with one flag per character: the address look. A typed character takes the
// look of the character before it on its line, as the control gives it that one's format.
class CTypingModel {
public:
    void Type(int32_t at, char c)
    {
        const bool inherit = at > 0 && m_text[static_cast<size_t>(at - 1)] != '\r' && m_look[static_cast<size_t>(at - 1)];
        m_text.insert(static_cast<size_t>(at), 1, c);
        m_look.insert(m_look.begin() + at, inherit);
        Track(at, at + 1, 1);
    }
    void Backspace(int32_t at)
    {
        if (at <= 0) return;
        m_text.erase(static_cast<size_t>(at - 1), 1);
        m_look.erase(m_look.begin() + (at - 1));
        Track(at, at - 1, -1);
    }
    void Delete(int32_t at)
    {
        if (at >= static_cast<int32_t>(m_text.size())) return;
        m_text.erase(static_cast<size_t>(at), 1);
        m_look.erase(m_look.begin() + at);
        Track(at, at, -1);
    }
    // Every address the finder recognises in the whole text carries the look, and nothing else.
    std::string Mismatch() const
    {
        std::vector<bool> ideal(m_text.size(), false);
        CStringPositionText source(m_text);
        std::vector<AddressLookChange> changes;
        PlanAddressLooks(m_finder, source, CLinkRangeList(), 0, source.Length(), false, changes);
        for (const AddressLookChange& c : changes)
            for (int32_t p = c.start; p < c.end; ++p) ideal[static_cast<size_t>(p)] = true;
        for (size_t p = 0; p < m_text.size(); ++p)
            if (ideal[p] != m_look[p])
                return "position " + std::to_string(p) + " of \"" + m_text + "\" " + (ideal[p] ? "lacks" : "has") +
                       " the look";
        return "";
    }
    const std::string& Text() const { return m_text; }

private:
    void Track(int32_t oldCaret, int32_t newCaret, int32_t delta)
    {
        CStringPositionText source(m_text);
        std::vector<AddressLookChange> changes;
        m_tracker.AfterKeystroke(m_finder, source, CLinkRangeList(), oldCaret, newCaret, delta, changes);
        for (const AddressLookChange& c : changes)
            for (int32_t p = std::max(c.start, 0); p < c.end && p < static_cast<int32_t>(m_look.size()); ++p)
                m_look[static_cast<size_t>(p)] = c.add;
    }

    CLinkFinder m_finder;
    CAddressTracker m_tracker;
    std::string m_text;
    std::vector<bool> m_look;
};

}  // namespace

TEST(AddressLookTest, TheLookFollowsAnAddressAsItIsTypedAndDeleted)
{
    const std::string typed = "see www.example.org. or mail me@host.net\rftp://files.org<http://x.org>) end";
    CTypingModel model;
    for (size_t i = 0; i < typed.size(); ++i) {
        model.Type(static_cast<int32_t>(i), typed[i]);
        ASSERT_EQ(model.Mismatch(), "") << "after typing " << i + 1 << " characters";
    }
    // Deleting back to nothing: the look shrinks with the address and goes when it is no longer one.
    for (int32_t at = static_cast<int32_t>(typed.size()); at > 0; --at) {
        model.Backspace(at);
        ASSERT_EQ(model.Mismatch(), "") << "with " << at - 1 << " characters left";
    }
}

TEST(AddressLookTest, TheLookFollowsRandomTypingAndDeleting)
{
    std::mt19937 random(19);
    // No "@": a word around the caret starts at a letter or digit, so an e-mail match that the
    // forward scan starts at a bare "@" is left to the typed-address test above.
    const std::string alphabet = "www.xo:/htp <>.\r";
    CTypingModel model;
    // The caret stays in one place for a while, as it does when someone types.
    int32_t caret = 0;
    for (int step = 0; step < 4000; ++step) {
        const int32_t length = static_cast<int32_t>(model.Text().size());
        if (random() % 16 == 0) caret = length ? static_cast<int32_t>(random() % static_cast<unsigned>(length + 1)) : 0;
        caret = std::min(caret, length);
        const unsigned what = random() % 10;
        if (what < 7) {
            model.Type(caret, alphabet[random() % alphabet.size()]);
            ++caret;
        } else if (what < 9) {
            model.Backspace(caret);
            if (caret > 0) --caret;
        } else {
            model.Delete(caret);
        }
        ASSERT_EQ(model.Mismatch(), "") << "step " << step;
    }
}

TEST(AddressLookTest, QuotedPathsAroundADoubleClick)
{
    struct {
        const char* text;
        int32_t at;
        const char* path;
        int32_t start, end;
    } cases[] = {
        {"see file://\"C:\\My Files\\a.txt\" here", 8, "C:\\My Files\\a.txt", 4, 30},
        {"file://\"  C:\\a b.txt \"", 2, "C:\\a b.txt", 0, 22},
        {"<file://\"C:\\x\">", 3, "C:\\x", 1, 14},
        {"file://\"C:\\no end", 3, "", 0, 0},           // no second quote on the line
        {"file://\"C:\\x\rmore\"", 3, "", 0, 0},         // nor across a line break
        {"file://\"   \"", 3, "", 0, 0},                 // only blanks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string owned(c.text);
        CStringPositionText source(owned);
        TextSpan quoted;
        EXPECT_EQ(QuotedPathAround(source, c.at, &quoted), c.path);
        EXPECT_EQ(quoted.start, c.start);
        EXPECT_EQ(quoted.end, c.end);
    }
    EXPECT_EQ(QuotedFileAddress("C:\\a b.txt"), "file://\"C:\\a b.txt\"");
}

#include "article/link_protection.h"

#include <gtest/gtest.h>

#include "tests/article/link_test_support.h"

namespace {

// Line facts of a plain text whose lines end in CR and are never wrapped.
class CTextLines : public ILineFacts {
public:
    explicit CTextLines(std::string text) : m_text(std::move(text)) {}
    bool IsLineStart(int32_t p) const override { return IsParagraphStart(p); }
    bool IsParagraphStart(int32_t p) const override { return p == 0 || m_text[static_cast<size_t>(p) - 1] == '\r'; }
    bool LineBeforeEndsAt(int32_t p) const override { return false; }

private:
    std::string m_text;
};

// A wrapped text: every position is a line start of a wrapped line.
class CWrappedLines : public ILineFacts {
public:
    bool IsLineStart(int32_t) const override { return true; }
    bool IsParagraphStart(int32_t p) const override { return p == 0; }
    bool LineBeforeEndsAt(int32_t) const override { return true; }
};

struct ProtectionCase {
    const char* what;
    const char* links;
    EditRequest request;
    int32_t selStart, selEnd;
    bool refuse;
    int32_t start, end;       // the range the change covers afterwards
    const char* removed;      // indices of the links taken out, blank-separated
    TypedCharLook look;
};

std::string Indices(const std::vector<int>& v)
{
    std::string out;
    for (int i : v) out += (out.empty() ? "" : " ") + std::to_string(i);
    return out;
}

}  // namespace

TEST(LinkProtection, TheRulesByMessage)
{
    using R = EditRequest;
    using L = TypedCharLook;
    const ProtectionCase cases[] = {
        {"a key inside a link selects the whole link", "5-10", R::kOtherKey, 7, 7, false, 5, 10, "", L::kUnchanged},
        {"a key at a link's start does not", "5-10", R::kOtherKey, 5, 5, false, 5, 5, "", L::kUnchanged},
        {"a selection reaching into a link takes all of it", "5-10 20-25", R::kOtherKey, 3, 22, false, 3, 25, "", L::kUnchanged},
        {"Backspace right after a link takes the link", "5-10", R::kBackspace, 10, 10, false, 5, 10, "", L::kUnchanged},
        {"Backspace right before a link takes one character", "5-10", R::kBackspace, 5, 5, false, 5, 5, "", L::kUnchanged},
        {"Backspace after touching links takes only the last", "0-5 5-10", R::kBackspace, 10, 10, false, 5, 10, "", L::kUnchanged},
        {"Delete right before a link takes and removes it", "5-10", R::kDelete, 5, 5, false, 5, 10, "0", L::kUnchanged},
        {"Delete right after a link takes one character", "5-10", R::kDelete, 10, 10, false, 10, 10, "", L::kUnchanged},
        {"Delete of a selection holding two links", "5-10 12-14 30-31", R::kDelete, 4, 13, false, 4, 14, "0 1", L::kUnchanged},
        {"Clear takes the links it touches at their start", "5-10 12-14", R::kClear, 2, 5, false, 2, 10, "0", L::kUnchanged},
        {"Clear away from links", "5-10", R::kClear, 11, 12, false, 11, 12, "", L::kUnchanged},
        {"paste into a link is refused", "5-10", R::kReplace, 7, 7, true, 7, 7, "", L::kUnchanged},
        {"paste at a link's start is allowed", "5-10", R::kReplace, 5, 5, false, 5, 5, "", L::kUnchanged},
        {"paste at a link's end is allowed", "5-10", R::kReplace, 10, 10, false, 10, 10, "", L::kUnchanged},
        {"paste over the start of the second of two touching links", "0-5 5-10", R::kReplace, 5, 7, true, 5, 7, "", L::kUnchanged},
        {"paste over a selection ending inside a link", "5-10", R::kReplace, 2, 6, true, 2, 6, "", L::kUnchanged},
        {"a character at a link at position 0 takes the default look", "0-5", R::kChar, 0, 0, false, 0, 0, "", L::kDefault},
        {"a character at a link's start takes the look before it", "5-10", R::kChar, 5, 5, false, 5, 5, "", L::kPreviousOrDefault},
        {"a character between touching links takes the default look", "0-5 5-10", R::kChar, 5, 5, false, 5, 5, "", L::kDefault},
        {"a character right behind a link takes the plain look", "5-10", R::kChar, 10, 10, false, 10, 10, "", L::kPlain},
        {"a character away from links", "5-10", R::kChar, 12, 12, false, 12, 12, "", L::kUnchanged},
        {"copy and mouse moves pass", "5-10", R::kHarmless, 6, 8, false, 6, 8, "", L::kUnchanged},
        {"a cut reaching into a link takes all of it", "5-10 12-14", R::kCut, 7, 11, false, 5, 11, "0", L::kUnchanged},
        {"a cut beside a link", "5-10", R::kCut, 10, 12, false, 10, 12, "", L::kUnchanged},
    };
    for (const ProtectionCase& c : cases) {
        SCOPED_TRACE(c.what);
        CLinkRangeList links = Links(c.links);
        ProtectionRequest request;
        request.request = c.request;
        request.selection = {c.selStart, c.selEnd};
        ProtectionAnswer answer = DecideProtection(links, request);
        EXPECT_EQ(answer.refuse, c.refuse);
        EXPECT_EQ(answer.range.start, c.start);
        EXPECT_EQ(answer.range.end, c.end);
        EXPECT_EQ(answer.widened, c.start != c.selStart || c.end != c.selEnd);
        EXPECT_EQ(Indices(answer.removeLinks), c.removed);
        EXPECT_EQ(answer.charLook, c.look);
    }
}

TEST(LinkProtection, BetweenTouchingLinksIsReportedForTheFormatAfterTyping)
{
    ProtectionRequest request;
    request.request = EditRequest::kChar;
    request.selection = {5, 5};
    EXPECT_TRUE(DecideProtection(Links("0-5 5-10"), request).betweenTouchingLinks);
    EXPECT_FALSE(DecideProtection(Links("5-10"), request).betweenTouchingLinks);
}

TEST(LinkProtection, FormatRequestsClearTypingAndReapplyTheLookUnlessThePaneIsBusy)
{
    ProtectionRequest request;
    request.request = EditRequest::kCharFormat;
    request.selection = {0, 20};
    ProtectionAnswer answer = DecideProtection(Links("5-10"), request);
    EXPECT_FALSE(answer.refuse);
    EXPECT_TRUE(answer.clearTypingFlags);
    EXPECT_TRUE(answer.reapplyLook);
    request.busy = true;
    EXPECT_FALSE(DecideProtection(Links("5-10"), request).reapplyLook);
    request.request = EditRequest::kParaFormat;
    answer = DecideProtection(Links("5-10"), request);
    EXPECT_TRUE(answer.clearTypingFlags);
    EXPECT_FALSE(answer.reapplyLook);
}

TEST(LinkProtection, DeleteKeepsTheLineBreakBeforeALineThatALinkEndsAt)
{
    // "ab\rcd": a link over "b\r" ends at the first position of the second line.
    ProtectionRequest request;
    request.request = EditRequest::kDelete;
    request.selection = {1, 1};
    CTextLines lines("ab\rcd");
    request.lines = &lines;
    ProtectionAnswer answer = DecideProtection(Links("1-3"), request);
    EXPECT_EQ(answer.range.end, 3);
    EXPECT_EQ(answer.pending.end, 2);
    // Starting its paragraph, the span keeps its end.
    request.selection = {0, 0};
    EXPECT_EQ(DecideProtection(Links("0-3"), request).pending.end, 3);
    // A wrapped line: the line before ends exactly there, no break to keep.
    CWrappedLines wrapped;
    request.lines = &wrapped;
    request.selection = {1, 1};
    EXPECT_EQ(DecideProtection(Links("1-3"), request).pending.end, 3);
}

TEST(LinkProtection, WideningEndsAndCoversEveryLinkMet)
{
    CLinkRangeList links = Links("0-4 4-8 8-12 20-30");
    std::vector<int> met;
    TextSpan span = WidenToLinks(links, {3, 9}, LinkTouch::kStrict, &met);
    EXPECT_EQ(span.start, 0);
    EXPECT_EQ(span.end, 12);
    EXPECT_EQ(Indices(met), "0 1 2");
    // An empty range between touching links meets neither strictly.
    span = WidenToLinks(links, {4, 4}, LinkTouch::kStrict, &met);
    EXPECT_EQ(span.end, 4);
    EXPECT_TRUE(met.empty());
}

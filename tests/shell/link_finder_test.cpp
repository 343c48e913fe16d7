#include "shell/link_finder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

namespace {

struct Found {
    int kind;
    std::string link;
};

Found First(const std::string& text)
{
    CLinkFinder finder;
    LinkMatch m;
    const int kind = finder.FindLink(text, 0, static_cast<int>(text.size()), m);
    return {kind, kind ? text.substr(static_cast<size_t>(m.linkStart), static_cast<size_t>(m.linkLength)) : ""};
}

}  // namespace

TEST(LinkFinder, FindsTheFirstAddressOfEachKind)
{
    struct Case {
        const char* text;
        int kind;
        const char* link;
    } cases[] = {
        {"see HTTP://Example.org/a now", 3, "HTTP://Example.org/a"},
        {"ftp://files.x.org", 1, "ftp://files.x.org"},
        {"gopher://g.x", 2, "gopher://g.x"},
        {"mailto:me@x.org", 4, "mailto:me@x.org"},
        {"news:comp.lang", 5, "news:comp.lang"},
        {"file://c:/notes", 6, "file://c:/notes"},
        {"telnet://host", 7, "telnet://host"},
        {"HtTpS://secure.x", 8, "HtTpS://secure.x"},
        {"go to www.x.org.", 9, "www.x.org"},
        {"(www.x.org).", 9, "www.x.org"},
        {"ftp@host", 10, "ftp@host"},
        {"write to john.q.public@mail.x.org, please", 10, "john.q.public@mail.x.org"},
        {"file://\"c:\\my notes\\a.txt\"", 11, "file://\"c:\\my"},
        {"a=http://x.org", 3, "http://x.org"},
        {"<a href=\"http://x.org/\">", 3, "http://x.org/"},
        {"www.x.org/~me/#top", 9, "www.x.org/~me/#top"},
        {"http://x.org>more", 3, "http://x.org"},
        {"first www.a.org then http://b.org", 9, "www.a.org"},
        {"http://", 0, ""},
        {"http://.", 3, "http://"},
        {"a@", 0, ""},
        {"@x.org", 0, ""},
        {"nothing here at all.", 0, ""},
        {"", 0, ""},
        {"caf\xE9@x.org \xFF\x80 www.\xE9t\xE9", 10, "caf\xE9@x.org"},
        {"\xE9\xE9\xE9 http://x.org", 3, "http://x.org"},
    };
    for (const Case& c : cases) {
        Found f = First(c.text);
        EXPECT_EQ(f.kind, c.kind) << c.text;
        EXPECT_EQ(f.link, c.link) << c.text;
    }
}

TEST(LinkFinder, MatchRecordsWhereTheLinkLies)
{
    CLinkFinder finder;
    const std::string text = "xx see www.x.org. and more";
    LinkMatch m;
    ASSERT_EQ(finder.FindLink(text, 2, 20, m), 9);
    EXPECT_EQ(m.scanStart, 2);
    EXPECT_EQ(m.linkStart, 7);
    EXPECT_EQ(m.linkOffset, 5);
    EXPECT_EQ(m.linkLength, 9);
    EXPECT_EQ(m.linkEnd, 16);
    EXPECT_EQ(m.rest, 6);

    // No link: the offset is the number of characters scanned; an empty range sets only the start.
    ASSERT_EQ(finder.FindLink(text, 0, 6, m), 0);
    EXPECT_EQ(m.linkOffset, 6);
    EXPECT_EQ(m.linkLength, 0);
    ASSERT_EQ(finder.FindLink(text, 4, 0, m), 0);
    EXPECT_EQ(m.scanStart, 4);
    EXPECT_EQ(m.linkOffset, 0);
    // A range reaching past the text is cut to it.
    ASSERT_EQ(finder.FindLink(text, 7, 1000, m), 9);
    EXPECT_EQ(m.rest, 10);
    EXPECT_EQ(finder.FindLink(text, 1000, 5, m), 0);
}

TEST(LinkFinder, ExtractLink)
{
    CLinkFinder finder;
    std::string link = "old";
    int start = -1, length = -1;
    EXPECT_EQ(finder.ExtractLink("a@bc.org", link, start, length), 10);
    EXPECT_EQ(link, "mailto:a@bc.org");
    EXPECT_EQ(start, 0);
    EXPECT_EQ(length, 8);

    EXPECT_EQ(finder.ExtractLink("  http://x.org/a.", link, start, length), 3);
    EXPECT_EQ(link, "http://x.org/a");
    EXPECT_EQ(start, 2);
    EXPECT_EQ(length, 14);

    EXPECT_EQ(finder.ExtractLink("no address", link, start, length), 0);
    EXPECT_EQ(link, "");

    EXPECT_EQ(finder.ExtractLinkAllowingSpaces("http://x.org/my notes/a b.txt", link, start, length), 3);
    EXPECT_EQ(link, "http://x.org/my%20notes/a%20b.txt");
    EXPECT_EQ(length, 33);

    EXPECT_TRUE(CLinkFinder::IsWwwPrefix("WWW.x"));
    EXPECT_FALSE(CLinkFinder::IsWwwPrefix("ww."));
    for (char c : std::string("aZ09#/~")) EXPECT_TRUE(CLinkFinder::IsLinkEndChar(c)) << c;
    for (char c : std::string(".)-_?\xE9")) EXPECT_FALSE(CLinkFinder::IsLinkEndChar(c)) << c;
}

TEST(LinkFinder, ScansOnceThroughLongText)
{
    // 1 MB holding 10,000 addresses: every link found, one after the other.
    std::string text;
    int expected = 0;
    while (text.size() < 1000000) {
        text += (expected % 2 ? "mail to a.b" + std::to_string(expected) + "@x.org, then "
                              : "see http://www.x.org/page" + std::to_string(expected) + ". ");
        text += std::string(60, 'w') + ' ';
        ++expected;
    }
    CLinkFinder finder;
    LinkMatch m;
    int found = 0;
    int pos = 0;
    const auto begin = std::chrono::steady_clock::now();
    while (finder.FindLink(text, pos, static_cast<int>(text.size()) - pos, m) != 0) {
        ++found;
        pos = m.linkEnd;
    }
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - begin).count();
    EXPECT_EQ(found, expected);
    EXPECT_GE(expected, 10000);
    // Generous for the sanitizer build; the benchmark build measures it properly.
    EXPECT_LT(ms, 2000);
}

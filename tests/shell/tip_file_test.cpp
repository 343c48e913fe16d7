#include "shell/tip_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../support/temp_folder.h"

namespace {

void Put16(std::string& b, uint32_t v)
{
    b += static_cast<char>(v & 0xFF);
    b += static_cast<char>(v >> 8 & 0xFF);
}
void Put32(std::string& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

struct RawLink {
    uint16_t first, last, kind;
    std::string target;  // stored as given: the writer adds the zero byte itself when it wants one
};
struct RawTip {
    uint16_t kind = 0;
    std::vector<RawLink> links;
    std::string text;  // stored as given
    uint16_t gap = 0;  // bytes between the links and the text length
    int64_t textLength = -1;  // the stored T; -1: the text's size
};

// A tip file of the layout the reader expects, with every field under the test's control.
std::string TipFileBytes(const std::vector<RawTip>& tips, const char* magic = "QVTD", int16_t version = 100,
                         int count = -1000)
{
    std::string records;
    std::vector<uint32_t> offsets;
    for (const RawTip& t : tips) {
        offsets.push_back(static_cast<uint32_t>(12 + 4 * tips.size() + records.size()));
        std::string links;
        for (const RawLink& l : t.links) {
            Put16(links, l.first);
            Put16(links, l.last);
            Put16(links, l.kind);
            Put16(links, static_cast<uint32_t>(l.target.size()));
            links += l.target;
        }
        Put16(records, t.kind);
        Put16(records, static_cast<uint32_t>(6 + links.size() + t.gap));
        Put16(records, static_cast<uint32_t>(t.links.size()));
        records += links + std::string(t.gap, '\xEE');
        Put32(records, t.textLength < 0 ? static_cast<uint32_t>(t.text.size()) : static_cast<uint32_t>(t.textLength));
        records += t.text;
    }
    std::string b(magic, 4);
    Put16(b, static_cast<uint16_t>(version));
    Put16(b, static_cast<uint16_t>(count == -1000 ? static_cast<int>(tips.size()) : count));
    Put32(b, 12);
    for (uint32_t o : offsets) Put32(b, o);
    return b + records;
}

RawTip Tip(const std::string& text, uint16_t kind = 0, std::vector<RawLink> links = {})
{
    RawTip t;
    t.kind = kind;
    t.text = text + std::string(1, '\0');
    t.links = std::move(links);
    return t;
}

struct TipFileTest : ::testing::Test {
    CTempFolder folder;
    CTipFile file;
    // A file of its own each time: on Windows the open one cannot be written over.
    bool OpenBytes(const std::string& bytes)
    {
        file.CloseQuietly();
        return file.Open(folder.Write("q" + std::to_string(m_files++) + ".tod", bytes));
    }
    int m_files = 0;
    struct Read {
        bool ok = false;
        int kind = -1;
        std::vector<TipLink> links;
        std::string text;
    };
    Read ReadTip(int n)
    {
        Read r;
        r.ok = file.ReadTip(n, r.kind, r.links, r.text);
        return r;
    }
};

}  // namespace

TEST_F(TipFileTest, HeaderChecks)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool opens;
        int count;
    } cases[] = {
        {"version 100", TipFileBytes({Tip("a")}, "QVTD", 100), true, 1},
        {"older version", TipFileBytes({Tip("a")}, "QVTD", 3), true, 1},
        {"version 101", TipFileBytes({Tip("a")}, "QVTD", 101), false, 0},
        {"magic in another case", TipFileBytes({Tip("a")}, "qvtd"), false, 0},
        {"other magic", TipFileBytes({Tip("a")}, "QVTX"), false, 0},
        {"short header", TipFileBytes({Tip("a")}).substr(0, 11), false, 0},
        {"empty file", "", false, 0},
        {"negative count", TipFileBytes({Tip("a")}, "QVTD", 100, -3), true, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(OpenBytes(c.bytes), c.opens) << c.name;
        EXPECT_EQ(file.GetCount(), c.count) << c.name;
        EXPECT_EQ(file.IsOpen(), c.opens) << c.name;
        EXPECT_FALSE(ReadTip(0).ok && c.count == 0) << c.name;
    }
    EXPECT_FALSE(file.Open(folder.File("missing.tod")));
    EXPECT_EQ(file.GetCount(), 0);
}

TEST_F(TipFileTest, ReadsTipsWithTheirLinksInFileOrder)
{
    ASSERT_TRUE(OpenBytes(TipFileBytes({
        Tip("First tip, see the site.", 0, {{19, 22, 0, std::string("http://x.org", 12) + '\0'}, {0, 4, 1, "0x101"}}),
        Tip("Other kind", 3),
        Tip(""),
    })));
    ASSERT_EQ(file.GetCount(), 3);
    Read r = ReadTip(0);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.kind, 0);
    EXPECT_EQ(r.text, "First tip, see the site.");
    EXPECT_EQ(r.links, (std::vector<TipLink>{{19, 22, 0, "http://x.org"}, {0, 4, 1, "0x101"}}));
    EXPECT_EQ(file.GetKind(1), 3);
    EXPECT_EQ(ReadTip(1).kind, 3);
    // T = 1: the text is one zero byte.
    r = ReadTip(2);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "");
    EXPECT_TRUE(r.links.empty());
    for (int n : {-1, 3, 1000}) {
        EXPECT_EQ(file.GetRecordOffset(n), -1) << n;
        EXPECT_EQ(file.GetKind(n), -1) << n;
        EXPECT_FALSE(ReadTip(n).ok) << n;
    }
}

TEST_F(TipFileTest, DamagedRecordsAreReadOrRefusedWithinTheirBytes)
{
    auto withGap = Tip("after a gap", 0, {{0, 4, 0, "www.a.org"}});
    withGap.gap = 7;
    auto noZero = Tip("x");
    noZero.text = "no zero byte";
    auto noZeroTarget = Tip("target", 0, {{0, 5, 0, "www.b.org"}});
    auto textPastEnd = Tip("short");
    textPastEnd.textLength = 0x7FFFFFFF;
    auto hugeText = Tip("short");
    hugeText.textLength = 0xFFFFFFFF;
    auto targetPastEnd = Tip("t", 0, {{0, 0, 0, "abc"}});
    auto outsideLinks = Tip("four", 0, {{0, 3, 0, "in"}, {2, 4, 0, "past the end"}, {3, 1, 0, "reversed"},
                                        {60000, 60001, 0, "far"}});
    std::string bytes = TipFileBytes({withGap, noZero, noZeroTarget, textPastEnd, hugeText, targetPastEnd, outsideLinks});
    // Tip 5's L (3) grows to 200: the target reaches past the end of the file.
    const size_t tip5 = bytes.find("abc");
    bytes[tip5 - 2] = static_cast<char>(200);
    ASSERT_TRUE(OpenBytes(bytes));

    Read r = ReadTip(0);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "after a gap");
    ASSERT_EQ(r.links.size(), 1u);
    EXPECT_EQ(r.links[0].target, "www.a.org");

    r = ReadTip(1);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.text, "no zero byte");

    r = ReadTip(2);
    EXPECT_TRUE(r.ok);
    ASSERT_EQ(r.links.size(), 1u);
    EXPECT_EQ(r.links[0].target, "www.b.org");

    for (int n : {3, 4, 5}) {
        r = ReadTip(n);
        EXPECT_FALSE(r.ok) << n;
        EXPECT_EQ(r.text, "") << n;
        EXPECT_TRUE(r.links.empty()) << n;
    }

    r = ReadTip(6);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.links, (std::vector<TipLink>{{0, 3, 0, "in"}}));
}

TEST_F(TipFileTest, UnreadableIndexEntries)
{
    std::string bytes = TipFileBytes({Tip("a"), Tip("b"), Tip("c")});
    // Entry 0 from 0x80000000, entry 1 past the end of the file.
    bytes[12 + 3] = static_cast<char>(0x80);
    bytes[16 + 2] = static_cast<char>(0x70);
    ASSERT_TRUE(OpenBytes(bytes));
    EXPECT_EQ(file.GetRecordOffset(0), -1);
    EXPECT_FALSE(ReadTip(0).ok);
    EXPECT_EQ(file.GetKind(1), -1);
    EXPECT_FALSE(ReadTip(1).ok);
    EXPECT_EQ(ReadTip(2).text, "c");
    // An index that lies past the end of the file.
    std::string farIndex = TipFileBytes({Tip("a")});
    farIndex[8] = static_cast<char>(0xF0);
    ASSERT_TRUE(OpenBytes(farIndex));
    EXPECT_EQ(file.GetRecordOffset(0), -1);
}

TEST_F(TipFileTest, NextTipSkipsOtherKindsAndWraps)
{
    ASSERT_TRUE(OpenBytes(TipFileBytes({Tip("zero"), Tip("one", 2), Tip("two"), Tip("three", 1)})));
    std::vector<TipLink> links;
    std::string text;
    struct Step {
        int from;
        bool read;
        const char* text;
        int next;
    } steps[] = {
        {0, true, "zero", 1},
        {1, true, "two", 3},
        {3, true, "zero", 1},   // the last tip is of another kind: wraps
        {4, true, "zero", 1},   // the stored number equals the count
        {99, true, "zero", 1},  // beyond the count
        {-5, true, "zero", 1},
    };
    for (const Step& s : steps) {
        int next = s.from;
        text = "old";
        EXPECT_EQ(ReadNextTip(file, next, links, text), s.read) << s.from;
        EXPECT_EQ(text, s.text) << s.from;
        EXPECT_EQ(next, s.next) << s.from;
    }

    // No tip of kind 0: nothing read, the number goes on by the count.
    ASSERT_TRUE(OpenBytes(TipFileBytes({Tip("a", 1), Tip("b", 1), Tip("c", 5)})));
    int next = 0;
    text = "kept";
    EXPECT_FALSE(ReadNextTip(file, next, links, text));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(next, 3);

    // A kind-0 tip that cannot be read ends the search; the text stays.
    auto broken = Tip("b");
    broken.textLength = 5000;
    ASSERT_TRUE(OpenBytes(TipFileBytes({Tip("a", 1), broken, Tip("c")})));
    next = 0;
    EXPECT_FALSE(ReadNextTip(file, next, links, text));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(next, 2);

    // No tips at all: nothing changes.
    ASSERT_TRUE(OpenBytes(TipFileBytes({})));
    next = 7;
    EXPECT_FALSE(ReadNextTip(file, next, links, text));
    EXPECT_EQ(next, 7);
}

TEST(TipHelpNumber, DecimalThenHexadecimalAfterAnX)
{
    struct Case {
        const char* target;
        uint32_t value;
    } cases[] = {
        {"257", 257},        {"0x101", 257},      {"x101", 257},       {"0X1aF", 0x1AF},
        {"", 0},             {"help", 0},         {"12ab", 12},        {"0x", 0},
        {"0xffffffff", 0xFFFFFFFFu}, {"0x1ffffffff", 0x1FFFFFFFu}, {"99999999999", 999999999u},
        {"4294967295", 4294967295u}, {"1x10", 0x110}, {"0x1x2", 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseHelpNumber(c.target), c.value) << c.target;
}

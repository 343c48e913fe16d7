#include "shell/update_check.h"

#include <gtest/gtest.h>

#include <string>

#include "resources/update_check_res.h"

namespace {

// Serves one list, or fails; counts the requests.
class FakeFetcher : public IUpdateListFetcher {
public:
    bool Fetch(const std::string& address, size_t maxBytes, const std::atomic<bool>& cancel,
               std::string& body) override
    {
        ++requests;
        lastAddress = address;
        lastMax = maxBytes;
        if (!ok || cancel)
            return false;
        body = list;
        return true;
    }
    std::string list;
    bool ok = true;
    int requests = 0;
    std::string lastAddress;
    size_t lastMax = 0;
};

// The running program: 4.0.0.1 (Alpha).
constexpr uint32_t kOwnHigh = 4u << 16;
constexpr uint32_t kOwnLow = 1;

CUpdateCheck MakeCheck()
{
    CUpdateCheck check("http://127.0.0.1:1/update.txt");
    check.SetOwnVersion(kOwnHigh, kOwnLow);
    return check;
}

std::atomic<bool> g_notCancelled{false};

TEST(UpdateCheck, AnswersByTheProductLine)
{
    struct Case {
        const char* list;
        int result;
        const char* latest;  // nullptr: not checked
    } cases[] = {
        {"qv\t4.0.0.1\thttp://x.test/\n", CUpdateCheck::kNewest, "4.0.0.1 (Alpha)"},
        {"QV\t5.18.3.0\thttps://x.test/n\r\n", CUpdateCheck::kNewer, "5.1.8"},
        {"QV\t4.0.0.2\t\n", CUpdateCheck::kNewer, "4.0.0.2 (Alpha)"},
        {"QV\t4.0.1.0\t", CUpdateCheck::kNewer, "4.0.0.0 (Beta)"},
        {"QV\t3.99.9.9\tx", CUpdateCheck::kNewest, "3.9.9"},
        // A major from 32768 is newer: compared number by number, not by a signed difference.
        {"QV\t40000.0.0.0\tx", CUpdateCheck::kNewer, "40000.0.0.0 (Alpha)"},
        {"QV\t65535.65535.65535.65535\tx", CUpdateCheck::kNewer, "65535.6553.5"},
        // Other products first; only the first line of ours counts.
        {"AB\t9.0.0.0\tx\nQV\t4.0.0.1\tx\nQV\t9.0.0.0\tx\n", CUpdateCheck::kNewest, "4.0.0.1 (Alpha)"},
        // No two TABs, no line of ours, empty: no answer.
        {"QV 4.0.0.1 x\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t4.0.0.1\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QVX\t9.0.0.0\tx\nXQV\t9.0.0.0\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"", CUpdateCheck::kNoAnswer, nullptr},
        {"\n\n\r\n", CUpdateCheck::kNoAnswer, nullptr},
        // Our line with an unsound version: no answer.
        {"QV\t5.18.3\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t5.18.3.0.1\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t5.65536.0.0\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t5.-1.0.0\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t5. 1.0.0\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t5..0.0\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t99999999999.0.0.0\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        {"QV\t5.18.3.0\r\tx\n", CUpdateCheck::kNoAnswer, nullptr},
        // A TAB on the next line does not complete this one.
        {"QV\t5.18.3.0\nQV\tx\n", CUpdateCheck::kNoAnswer, nullptr},
    };
    for (const Case& c : cases) {
        CUpdateCheck check = MakeCheck();
        FakeFetcher fetcher;
        fetcher.list = c.list;
        EXPECT_EQ(check.Check(fetcher, g_notCancelled), c.result) << c.list;
        EXPECT_EQ(check.IsChecked(), c.latest != nullptr) << c.list;
        if (c.latest) {
            EXPECT_EQ(check.GetLatestVersionText(), c.latest) << c.list;
        }
        EXPECT_EQ(fetcher.lastAddress, "http://127.0.0.1:1/update.txt");
        EXPECT_EQ(fetcher.lastMax, CUpdateCheck::kMaxListBytes);
    }
}

TEST(UpdateCheck, ThreeFieldsTheCrAndTheAddress)
{
    CUpdateCheck check = MakeCheck();
    FakeFetcher fetcher;
    fetcher.list = "QV\t5.18.3.0\thttps://x.test/n\r\nQV\t6.0.0.0\thttps://y.test/\r\n";
    ASSERT_EQ(check.Check(fetcher, g_notCancelled), CUpdateCheck::kNewer);
    std::string address;
    EXPECT_TRUE(check.GetInfoAddress(address));
    EXPECT_EQ(address, "https://x.test/n");  // the CR before the LF is not part of it

    // The rest of the line, TABs included, is the address; one that may not be opened is not offered.
    CUpdateCheck tabs = MakeCheck();
    fetcher.list = "QV\t5.18.3.0\thttp://x.test/\tmore";
    ASSERT_EQ(tabs.Check(fetcher, g_notCancelled), CUpdateCheck::kNewer);
    EXPECT_FALSE(tabs.GetInfoAddress(address));
    EXPECT_EQ(address, "http://x.test/\tmore");
}

TEST(UpdateCheck, SecondCheckAnswersWithoutFetching)
{
    CUpdateCheck check = MakeCheck();
    FakeFetcher fetcher;
    fetcher.list = "QV\t5.18.3.0\thttps://x.test/n\n";
    EXPECT_EQ(check.Check(fetcher, g_notCancelled), CUpdateCheck::kNewer);
    fetcher.list = "QV\t4.0.0.1\tx\n";
    EXPECT_EQ(check.Check(fetcher, g_notCancelled), CUpdateCheck::kNewer);
    EXPECT_EQ(fetcher.requests, 1);
    std::string address;
    EXPECT_TRUE(check.GetInfoAddress(address));
    EXPECT_EQ(address, "https://x.test/n");

    // A check that found no answer asks again next time.
    CUpdateCheck failing = MakeCheck();
    FakeFetcher down;
    down.ok = false;
    EXPECT_EQ(failing.Check(down, g_notCancelled), CUpdateCheck::kNoAnswer);
    EXPECT_EQ(failing.Check(down, g_notCancelled), CUpdateCheck::kNoAnswer);
    EXPECT_EQ(down.requests, 2);
}

TEST(UpdateCheck, NoAnswerWithoutOwnVersionFailureCancelOrOversizedList)
{
    FakeFetcher fetcher;
    fetcher.list = "QV\t5.18.3.0\thttps://x.test/n\n";
    CUpdateCheck unknown("http://127.0.0.1:1/update.txt");
    EXPECT_EQ(unknown.Check(fetcher, g_notCancelled), CUpdateCheck::kNoAnswer);
    EXPECT_EQ(fetcher.requests, 0);

    std::atomic<bool> cancelled{true};
    CUpdateCheck check = MakeCheck();
    EXPECT_EQ(check.Check(fetcher, cancelled), CUpdateCheck::kNoAnswer);
    EXPECT_FALSE(check.IsChecked());

    // A fetcher that ignores the limit: the list is refused all the same.
    std::string big = "QV\t5.18.3.0\thttps://x.test/n\n";
    big.resize(CUpdateCheck::kMaxListBytes + 1, '\n');
    fetcher.list = big;
    EXPECT_EQ(check.Check(fetcher, g_notCancelled), CUpdateCheck::kNoAnswer);
    big.resize(CUpdateCheck::kMaxListBytes);
    fetcher.list = big;
    EXPECT_EQ(check.Check(fetcher, g_notCancelled), CUpdateCheck::kNewer);
}

TEST(UpdateCheck, VersionTexts)
{
    CUpdateCheck check;
    EXPECT_EQ(check.GetListAddress().substr(0, 8), "https://");
    EXPECT_EQ(check.GetListAddress().substr(check.GetListAddress().size() - 10), "update.txt");
    check.SetOwnVersion(0x00050012, 0x00030000);
    EXPECT_EQ(check.GetOwnVersionText(), "5.1.8");
    check.SetOwnVersion(0x00050012, 0x00010004);
    EXPECT_EQ(check.GetOwnVersionText(), "5.1.8.4 (Beta)");
    check.SetOwnVersion(kOwnHigh, kOwnLow);
    EXPECT_EQ(check.GetOwnVersionText(), "4.0.0.1 (Alpha)");
}

TEST(UpdateCheck, SafeInfoAddresses)
{
    const std::string longPath = "https://x.test/" + std::string(CUpdateCheck::kMaxAddressLength - 15, 'a');
    struct Case {
        std::string address;
        bool safe;
    } cases[] = {
        {"https://x.test/n", true},
        {"HTTP://www.harlowen.example:8080/new?v=5#top", true},
        {"http://x.test", true},
        {longPath, true},
        {longPath + "a", false},
        {"ftp://x.test/", false},
        {"file:///c:/windows/system32/calc.exe", false},
        {"c:\\windows\\notepad.exe", false},
        {"mailto:a@x.test", false},
        {"http://", false},
        {"http:///path", false},
        {"http://.x.test/", false},
        {"http://user@x.test/", false},
        {"http://x.test:/", false},
        {"http://x.test:123456/", false},
        {"http://x.test/a b", false},
        {"http://x.test/a\"b", false},
        {"http://x.test/a'b", false},
        {"http://x.test/a\tb", false},
        {"http://x.test/a\x7F", false},
        {std::string("http://x.test/a\0b", 17), false},
        {"http://x.test\\evil", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CUpdateCheck::IsSafeInfoAddress(c.address), c.safe) << c.address;
}

TEST(UpdateCheck, FrequencyMap)
{
    struct Case {
        int days;
        int index;
    } cases[] = {{-5, 0}, {-1, 0}, {0, 0}, {1, 1}, {7, 1}, {8, 2}, {14, 2}, {30, 2}, {31, 3}, {90, 3}, {1000, 3}};
    for (const Case& c : cases)
        EXPECT_EQ(CUpdateCheck::FrequencyIndexForDays(c.days), c.index) << c.days;
    const int days[] = {-1, 7, 30, 90};
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(CUpdateCheck::DaysForFrequencyIndex(index), days[index]);
        EXPECT_EQ(CUpdateCheck::FrequencyIndexForDays(days[index]), index);
    }
}

TEST(UpdateCheck, WhatEachResultShows)
{
    CUpdateCheck::Display newest = CUpdateCheck::DisplayFor(CUpdateCheck::kNewest);
    EXPECT_EQ(newest.releasedTextId, 0);
    EXPECT_EQ(newest.statusTextId, IDS_UPDATE_MOST_RECENT);
    EXPECT_EQ(newest.statusColor, 0x008000u);
    EXPECT_TRUE(newest.storeDate);
    EXPECT_FALSE(newest.offerInfo);
    CUpdateCheck::Display newer = CUpdateCheck::DisplayFor(CUpdateCheck::kNewer);
    EXPECT_EQ(newer.statusTextId, IDS_UPDATE_NEWER_AVAILABLE);
    EXPECT_EQ(newer.statusColor, 0x000080u);
    EXPECT_TRUE(newer.storeDate);
    EXPECT_TRUE(newer.offerInfo);
    CUpdateCheck::Display none = CUpdateCheck::DisplayFor(CUpdateCheck::kNoAnswer);
    EXPECT_EQ(none.releasedTextId, IDS_UPDATE_UNABLE);
    EXPECT_EQ(none.statusTextId, IDS_UPDATE_TRY_LATER);
    EXPECT_EQ(none.statusColor, 0x000080u);
    EXPECT_FALSE(none.storeDate);
    CUpdateCheck::Display other = CUpdateCheck::DisplayFor(7);
    EXPECT_FALSE(other.known);
    EXPECT_EQ(other.statusTextId, 0);
}

}  // namespace

// Help requests, the Saved Queries submenu, the free-space probe and the open routine's decisions.
#include <gtest/gtest.h>

#include "framework/file.h"
#include "shell/data_file_opening.h"
#include "shell/help_requests.h"
#include "shell/saved_query_menu.h"
#include "storage/file_system.h"
#include "storage/quor_error.h"
#include "tests/support/temp_folder.h"

TEST(HelpRequests, EachKindOfHelpIdBecomesItsCalls)
{
    using Calls = std::vector<HelpCall>;
    const HelpCall::Kind ctx = HelpCall::kContext;
    struct Case {
        uint32_t id;
        bool splash;
        uint32_t report;
        Calls calls;
    };
    const Case cases[] = {
        {0xFFFFFFFE, false, 0, {}},
        {0x1E110, true, 0, {}},
        // Caption, minimize, maximize and close: the window topic; borders, scroll bars, toolbars: none.
        {0x40002, false, 0, {{ctx, 258, false}}},
        {0x40014, false, 0, {{ctx, 258, false}}},
        {0x40003, false, 0, {}},
        {0x40012, false, 0, {}},
        {0x5007F, false, 0, {}},
        {0x500A7, false, 0, {}},
        {0x18040, false, 0, {{ctx, 259, false}}},
        {0x180AD, false, 0, {{ctx, 260, false}}},
        {0x2007F, false, 0, {{HelpCall::kDefaultTopic, 0, false}}},
        {0x1EF05, false, 0, {{HelpCall::kQuit, 0, false}}},
        // The help file's own contexts are shown, then once more through the table.
        {0x1234, false, 0, {{ctx, 0x1234, false}, {ctx, 0x1234, true}}},
        // Recent entries 2 to 4 share the topic of entry 1; the usage report that of the index report.
        {0x1E111, false, 0, {{ctx, 0x1E110, true}}},
        {0x1E112, false, 0, {{ctx, 0x1E110, true}}},
        {0x1E113, false, 0, {{ctx, 0x1E110, true}}},
        {0x1809F, false, 0, {{ctx, 0x18006, true}}},
        {0x18079, false, 0, {{ctx, 515, true}}},
        {0x18001, false, 0, {{ctx, 0x18001, true}}},
        // The report window's frame: the shown report's own help.
        {0x2008E, false, 0x683, {{ctx, 0x683, true}}},
        {0x2008E, false, 0, {{ctx, 0x2008E, true}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlanHelpCalls(c.id, c.splash, c.report), c.calls) << std::hex << c.id;
}

TEST(SavedQueryMenu, EmptyNamedAndMore)
{
    auto none = BuildSavedQueryMenu({}, false, "No Saved Queries", "More Queries...");
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].id, 32942u);
    EXPECT_EQ(none[0].text, "No Saved Queries");
    EXPECT_TRUE(none[0].grayed);

    auto named = BuildSavedQueryMenu({"recent", "R&D notes", "older"}, true, "none", "More Queries...");
    ASSERT_EQ(named.size(), 5u);
    EXPECT_EQ(named[0].id, 32942u);
    EXPECT_EQ(named[1].text, "R&&D notes");
    EXPECT_EQ(named[2].id, 32944u);
    EXPECT_FALSE(named[2].grayed);
    EXPECT_TRUE(named[3].separator);
    EXPECT_EQ(named[4].id, 32962u);
    EXPECT_EQ(named[4].text, "More Queries...");

    // More names than places: 20 entries, none of them on the More Queries command.
    std::vector<std::string> many(25, "q");
    auto capped = BuildSavedQueryMenu(many, false, "none", "more");
    ASSERT_EQ(capped.size(), 20u);
    EXPECT_EQ(capped.back().id, 32961u);
}

TEST(OpenStep, FormatsAndOptions)
{
    struct Case {
        CDataFile::Format format;
        bool readOnly, newer;
        OpenStep step;
    };
    const Case cases[] = {
        {CDataFile::kCurrent, false, false, OpenStep::kOpen},
        {CDataFile::kOlder, false, false, OpenStep::kConvert},
        {CDataFile::kOlder, true, false, OpenStep::kOpen},
        {CDataFile::kNewerReadable, false, false, OpenStep::kAskNewer},
        {CDataFile::kNewerReadable, true, false, OpenStep::kOpen},
        {CDataFile::kNewerReadable, false, true, OpenStep::kOpen},
        {CDataFile::kNewerUnreadable, true, true, OpenStep::kNotice},
        {CDataFile::kInvalid, false, false, OpenStep::kOpen},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecideOpenStep(c.format, c.readOnly, c.newer), c.step) << c.format << c.readOnly << c.newer;
}

namespace {

class FailingWrites : public IFileFaults {
public:
    long Before(Call call, const std::string&, uint64_t, uint32_t, uint32_t* keep) override
    {
        if (call != kWrite)
            return 0;
        if (keep)
            *keep = 4096;
        return 112;  // ERROR_DISK_FULL
    }
};

}  // namespace

TEST(FreeSpaceProbe, LeavesNoFileAndNeverTouchesAUsersFile)
{
    CTempFolder folder;
    const std::string path = folder.File("new.xrd");
    ProbeFreeSpace(path);
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(FileExists(path + ".freespacecheck"));

    // A file of the probe's name is the user's: it stays as it was, and the probe takes another name.
    folder.Write("new.xrd.freespacecheck", "mine");
    ProbeFreeSpace(path);
    EXPECT_TRUE(FileExists(path + ".freespacecheck"));
    EXPECT_EQ(folder.Read("new.xrd.freespacecheck"), "mine");
    EXPECT_FALSE(FileExists(path + ".freespacecheck2"));

    // A full disk: code 27 with the chosen path, and the half-written probe removed.
    FailingWrites faults;
    IFileFaults* previous = SetFileFaults(&faults);
    try {
        ProbeFreeSpace(path);
        ADD_FAILURE() << "no error";
    } catch (const CQuorError& e) {
        EXPECT_EQ(e.Code(), 27);
        EXPECT_EQ(e.Text(), path);
    }
    SetFileFaults(previous);
    EXPECT_FALSE(FileExists(path + ".freespacecheck2"));
    EXPECT_FALSE(FileExists(path));

    // A folder that does not exist: the file error's code, nothing made.
    try {
        ProbeFreeSpace(folder.File("no such folder\\new.xrd"));
        ADD_FAILURE() << "no error";
    } catch (const CQuorError& e) {
        EXPECT_NE(e.Code(), 27);
        EXPECT_NE(e.Code(), 0);
    }
}

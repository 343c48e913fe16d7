// Start-up decisions: the start file, the version text, where the main window opens.
#include "shell/app_startup.h"

#include <gtest/gtest.h>

#include <set>

#include "shell/directories.h"
#include "shell/memory_profile_store.h"

namespace {

struct StartFile : ::testing::Test {
    StartFile()
    {
        dirs.SetPersonalFolderSource([] { return std::string("C:\\Docs"); });
        dirs.Load(store, "E:\\Q\\quorvane.exe", true);
        dirs.SetConfiguredFolder(CDirectories::kData, "D:\\Data");
        dirs.SetDrive("E:\\Q\\quorvane.exe");
    }
    StartFileChoice Choose(int mode, const std::string& last, int recent)
    {
        return ChooseStartFile(mode, last, recent, dirs, [this](const std::string& p) { return files.count(p) > 0; });
    }
    CMemoryProfileStore store;
    CDirectories dirs;
    std::set<std::string> files{"D:\\Data\\notes.xrd", "E:\\Kb\\portable.xrd", "C:\\x\\full.xrd"};
};

}  // namespace

TEST_F(StartFile, ModesChooseTheRecentListTheNamedFileOrNothing)
{
    struct Case {
        int mode;
        const char* last;
        int recent;
        StartFileChoice::Kind kind;
        const char* path;
        const char* missing;
    };
    const Case cases[] = {
        {0, "notes.xrd", 3, StartFileChoice::kNone, "", ""},
        {1, "", 2, StartFileChoice::kMostRecent, "", ""},
        {1, "notes.xrd", 0, StartFileChoice::kNone, "", ""},
        {2, "notes.xrd", 0, StartFileChoice::kPath, "D:\\Data\\notes.xrd", ""},
        {2, ".:\\Kb\\portable.xrd", 0, StartFileChoice::kPath, "E:\\Kb\\portable.xrd", ""},
        {2, "C:\\x\\full.xrd", 4, StartFileChoice::kPath, "C:\\x\\full.xrd", ""},
        {2, "", 4, StartFileChoice::kNone, "", ""},
        {2, "gone.xrd", 4, StartFileChoice::kNone, "", "D:\\Data\\gone.xrd"},
        {7, "notes.xrd", 4, StartFileChoice::kNone, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.last);
        StartFileChoice choice = Choose(c.mode, c.last, c.recent);
        EXPECT_EQ(choice.kind, c.kind);
        EXPECT_EQ(choice.path, c.path);
        EXPECT_EQ(choice.missing, *c.missing != 0);
        EXPECT_EQ(choice.missingPath, c.missing);
    }
}

TEST(ProgramVersion, AlphaAndBetaShowFourPartsReleasesThree)
{
    struct Case {
        unsigned a, b, c, d;
        const char* text;
        uint32_t number;
    };
    const Case cases[] = {
        {4, 12, 0, 7, "4.1.2.7 (Alpha)", 4120},
        {4, 12, 1, 3, "4.1.2.3 (Beta)", 4121},
        {4, 12, 2, 9, "4.1.2", 4122},
        {5, 3, 5, 0, "5.0.3", 5035},
    };
    for (const Case& c : cases) {
        ProgramVersion v = MakeProgramVersion(c.a << 16 | c.b, c.c << 16 | c.d);
        EXPECT_EQ(v.text, c.text);
        EXPECT_EQ(v.number, c.number) << c.text;
    }
}

TEST(MainWindowPlacement, FirstStartStoredOffDesktopAndDamagedSizes)
{
    struct Case {
        const char* name;
        int top, left, width, height, maximized;  // kPlacementNotStored: not written
        int desktopW, desktopH;
        MainWindowPlacement expected;
    };
    const int none = kPlacementNotStored;
    const Case cases[] = {
        {"first start", none, none, none, none, none, 1280, 1024, {280, 232, 720, 560, 1}},
        {"first start, small desktop", none, none, none, none, none, 640, 480, {0, 0, 640, 480, 1}},
        {"stored", 40, 30, 800, 600, 1, 1280, 1024, {30, 40, 800, 600, 1}},
        {"maximized", 40, 30, 800, 600, 3, 1280, 1024, {30, 40, 800, 600, 3}},
        {"corner right of desktop", 10, 1300, 800, 600, 1, 1280, 1024, {640, 512, 800, 600, 1}},
        {"corner below desktop", 1100, 10, 800, 600, 1, 1280, 1024, {640, 512, 800, 600, 1}},
        {"wholly left", 10, -900, 800, 600, 1, 1280, 1024, {640, 512, 800, 600, 1}},
        {"wholly above", -700, 10, 800, 600, 1, 1280, 1024, {640, 512, 800, 600, 1}},
        {"partly left stays", 10, -100, 800, 600, 1, 1280, 1024, {-100, 10, 800, 600, 1}},
        {"zero width", 10, 10, 0, 600, 1, 1280, 1024, {280, 232, 720, 560, 1}},
        {"negative height", 10, 10, 800, -5, 3, 1280, 1024, {280, 232, 720, 560, 3}},
        {"huge width", 10, 1000, 2147483647, 600, 1, 1280, 1024, {1000, 10, 2147483647, 600, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CMemoryProfileStore store;
        const char* keys[] = {"Top", "Left", "Width", "Height", "Maximized"};
        const int values[] = {c.top, c.left, c.width, c.height, c.maximized};
        for (int i = 0; i < 5; ++i)
            if (values[i] != none)
                store.WriteInt(kMainDisplaySection, keys[i], values[i]);
        MainWindowPlacement p = ChooseMainWindowPlacement(store, c.desktopW, c.desktopH);
        EXPECT_EQ(p.left, c.expected.left);
        EXPECT_EQ(p.top, c.expected.top);
        EXPECT_EQ(p.width, c.expected.width);
        EXPECT_EQ(p.height, c.expected.height);
        EXPECT_EQ(p.showCommand, c.expected.showCommand);
    }
}

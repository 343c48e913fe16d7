// The rules of the Preferences pages over the in-memory option store and a host that records what
// the program is told: filling, choice-to-value maps, the two-digit-year window, what changed and
// which notice it sends, and each page's values read back after a restart.
#include "shell/preference_models.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "shell/memory_profile_store.h"
#include "storage/date.h"

namespace {

class CRecordingHost : public IPreferenceHost {
public:
    void RefreshIndexDisplay() override { calls.push_back("refresh"); }
    void ApplyPreviewColor() override { calls.push_back("preview"); }
    void DateDisplayChanged() override { calls.push_back("dates"); }
    void SetCurrentAutoSave(int autoSave) override { calls.push_back("autosave " + std::to_string(autoSave)); }
    void ApplyOnTop() override { calls.push_back("ontop"); }
    std::vector<std::string> calls;
};

class PreferenceModelsTest : public ::testing::Test {
protected:
    PreferenceModelsTest()
    {
        dirs.Load(store, "E:\\Q\\quorvane.exe", false);
        dirs.SetDrive("E:\\Q\\quorvane.exe");
        settings.SetWindowTextColorSource([] { return 0u; });
        settings.ResetSettings();
    }
    ~PreferenceModelsTest() override { ::SetPivotYear(0); }

    // A fresh settings object over the same store, as after a restart.
    CAppSettings& Restart()
    {
        restarted = std::make_unique<CAppSettings>(store, fonts, dirs);
        restarted->SetWindowTextColorSource([] { return 0u; });
        restarted->ResetSettings();
        return *restarted;
    }
    const CMemoryProfileStore::Value* Written(const char* section, const char* key) const
    {
        const CMemoryProfileStore::Value* found = nullptr;
        for (const auto& write : store.Writes())
            if (EqualNoCase(write.section, section) && EqualNoCase(write.key, key))
                found = &write;
        return found;
    }

    CMemoryProfileStore store;
    CFontSettings fonts;
    CDirectories dirs;
    CAppSettings settings{store, fonts, dirs};
    std::unique_ptr<CAppSettings> restarted;
    CRecordingHost host;
};

}  // namespace

TEST_F(PreferenceModelsTest, IndexWindowShowTimesFollowsShowDatesAndAutoColoursReadAuto)
{
    CPrefIndexWindowModel page;
    page.Fill(settings);
    page.values.showTime = 1;
    page.ShowDateClicked(0);
    EXPECT_EQ(page.values.showTime, 0);
    EXPECT_FALSE(CPrefIndexWindowModel::IsShowTimeEnabled(page.values.showDate));
    page.ShowDateClicked(1);
    EXPECT_EQ(page.values.showTime, 0) << "ticking Show Dates again leaves Show Times unticked";
    EXPECT_TRUE(CPrefIndexWindowModel::IsShowTimeEnabled(1));

    EXPECT_EQ(CPrefIndexWindowModel::ColorCaption(-1), "Auto");
    EXPECT_EQ(CPrefIndexWindowModel::ColorCaption(0xFF0000), "");
    EXPECT_EQ(page.values.previewColor, -1) << "the preview colour is automatic by default";
}

TEST_F(PreferenceModelsTest, IndexWindowRefreshesOnlyForShowBoxesAndColoursThatChanged)
{
    struct Case {
        const char* name;
        void (*change)(CPrefIndexWindowModel::Values&);
        bool refresh;
    } cases[] = {
        {"nothing", [](CPrefIndexWindowModel::Values&) {}, false},
        {"the same colour again", [](CPrefIndexWindowModel::Values& v) { v.dateColor = 0xFF0000; }, false},
        {"titles list only", [](CPrefIndexWindowModel::Values& v) { v.titlesList = 2; }, false},
        {"show bookmarks", [](CPrefIndexWindowModel::Values& v) { v.showTag = 0; }, true},
        {"show reminders", [](CPrefIndexWindowModel::Values& v) { v.showReminders = 1; }, true},
        {"show links", [](CPrefIndexWindowModel::Values& v) { v.showHypertext = 1; }, true},
        {"title colour", [](CPrefIndexWindowModel::Values& v) { v.titleColor = 0x0000FF; }, true},
        {"preview colour", [](CPrefIndexWindowModel::Values& v) { v.previewColor = 0xEEEEEE; }, true},
    };
    for (const Case& c : cases) {
        host.calls.clear();
        settings.ResetSettings();
        CPrefIndexWindowModel page;
        page.Fill(settings);
        c.change(page.values);
        page.Apply(settings, host);
        const std::vector<std::string> expected =
            c.refresh ? std::vector<std::string>{"refresh", "preview"} : std::vector<std::string>{};
        EXPECT_EQ(host.calls, expected) << c.name;
    }
    EXPECT_EQ(settings.GetInitList(), 0);
}

TEST_F(PreferenceModelsTest, IndexWindowValuesComeBackAfterARestart)
{
    CPrefIndexWindowModel page;
    page.Fill(settings);
    page.values.titlesList = 1;
    page.values.showTime = 1;
    page.values.showPrivate = 1;
    page.values.titleColor = 0x123456;
    page.values.previewColor = -1;
    page.Apply(settings, host);
    ASSERT_TRUE(settings.SaveToProfile());
    const auto* showTime = store.Find("Index Display", "ShowTime");
    ASSERT_NE(showTime, nullptr);
    EXPECT_EQ(showTime->number, 1);

    CPrefIndexWindowModel again;
    again.Fill(Restart());
    EXPECT_EQ(again.values.titlesList, 1);
    EXPECT_EQ(again.values.showTime, 1);
    EXPECT_EQ(again.values.showPrivate, 1);
    EXPECT_EQ(again.values.titleColor, 0x123456);
}

TEST_F(PreferenceModelsTest, ArticlesYearWindowStartsNinetyNineBeforeItsEnd)
{
    struct Case {
        int end;
        int start;
    } cases[] = {{2029, 1930}, {2030, 1931}, {50, 0}, {99, 0}, {100, 1}, {0, 0}, {9999, 9900}};
    for (const Case& c : cases)
        EXPECT_EQ(CPrefArticleModel::StartYear(c.end), c.start) << c.end;

    EXPECT_EQ(CPrefArticleModel::StartYearText("2029"), "1930");
    EXPECT_EQ(CPrefArticleModel::StartYearText("abc"), "0");
    EXPECT_EQ(CPrefArticleModel::StartYearText(""), "0");
    EXPECT_EQ(CPrefArticleModel::StartYearText("99999999999999"), "9900") << "no overflow on a long number";

    // The up-down's up arrow sends a delta of -1.
    EXPECT_EQ(CPrefArticleModel::StepYear(2029, -1), 2030);
    EXPECT_EQ(CPrefArticleModel::StepYear(2029, 1), 2028);
    EXPECT_EQ(CPrefArticleModel::StepYear(9999, -1), 9999);
    EXPECT_EQ(CPrefArticleModel::StepYear(0, 1), 0);
    EXPECT_EQ(CPrefArticleModel::StepYear(2147483647, -1), 9999);
}

TEST_F(PreferenceModelsTest, ArticlesEndYearIsHandedToDateEntryAndAnUnsafeStoredYearGivesTheDefault)
{
    CPrefArticleModel page;
    page.Fill(settings, 2099);
    page.endYear = 2029;
    page.Apply(settings, host);
    EXPECT_EQ(ExpandTwoDigitYear(30), 1930);
    EXPECT_EQ(ExpandTwoDigitYear(29), 2029);
    ASSERT_TRUE(settings.SaveToProfile());
    CPrefArticleModel again;
    again.Fill(Restart(), 2099);
    EXPECT_EQ(again.endYear, 2029);

    for (int stored : {2147483647, -1, 10000}) {
        store.WriteInt("Quorvane", "PivotYear", stored);
        CAppSettings& loaded = Restart();
        EXPECT_EQ(loaded.GetPivotYear(), GetCenturyYear() + 99) << stored;
        EXPECT_EQ(ExpandTwoDigitYear(30), GetCenturyYear() + 30) << stored;
        CPrefArticleModel shown;
        shown.Fill(loaded, 2099);
        EXPECT_EQ(shown.endYear, GetCenturyYear() + 99) << stored;
    }
    settings.SetPivotYear(12345);
    EXPECT_EQ(settings.GetPivotYear(), 2029) << "a year beyond the range changes nothing";
}

TEST_F(PreferenceModelsTest, ArticlesProgramCheckAndNoticesOnlyForWhatChanged)
{
    CPrefArticleModel page;
    page.Fill(settings, 2099);
    page.userFolderBrowser = 1;
    for (const char* blank : {"", "   ", " \t "}) {
        page.programPath = blank;
        EXPECT_TRUE(page.MissingProgram()) << "'" << blank << "'";
    }
    page.programPath = "C:\\Tools\\browse.exe";
    EXPECT_FALSE(page.MissingProgram());
    page.userFolderBrowser = 0;
    page.programPath.clear();
    EXPECT_FALSE(page.MissingProgram()) << "no program is needed when the box is clear";

    page.Apply(settings, host);
    EXPECT_TRUE(host.calls.empty());
    page.displayDate = 0;
    page.autoSaveClicked = true;
    page.autoSave = 1;
    page.Apply(settings, host);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"dates", "autosave 1"}));

    page.userFolderBrowser = 1;
    page.programPath = "C:\\Tools\\browse.exe";
    page.Apply(settings, host);
    ASSERT_TRUE(settings.SaveToProfile());
    CPrefArticleModel again;
    again.Fill(Restart(), 2099);
    EXPECT_EQ(again.displayDate, 0);
    EXPECT_EQ(again.autoSave, 1);
    EXPECT_EQ(again.userFolderBrowser, 1);
    EXPECT_EQ(again.programPath, "C:\\Tools\\browse.exe");
    const auto* displayDate = store.Find("Date", "DisplayDate");
    ASSERT_NE(displayDate, nullptr);
    EXPECT_EQ(displayDate->number, 0);
}

TEST_F(PreferenceModelsTest, DisplayWritesStartupKeysAndInitOptionsOnlyWhenTheSplashBoxChanged)
{
    CPrefDisplayModel page;
    page.Fill(settings, store, fonts, false, true);
    EXPECT_EQ(page.welcome, 1);
    EXPECT_EQ(page.splash, 1);
    EXPECT_EQ(page.onTop, 0);
    EXPECT_FALSE(page.flatLocked);
    store.ClearWrites();
    page.Apply(settings, store, fonts, host);
    EXPECT_EQ(Written("QUORVANE", "InitOptions"), nullptr) << "an untouched splash box writes nothing";
    ASSERT_NE(Written("QUORVANE", "Welcome"), nullptr);
    EXPECT_EQ(Written("QUORVANE", "Welcome")->number, 1);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"ontop"}));

    page.splash = 0;
    page.welcome = 0;
    page.onTop = 1;
    page.Apply(settings, store, fonts, host);
    ASSERT_NE(Written("QUORVANE", "InitOptions"), nullptr);
    EXPECT_EQ(Written("QUORVANE", "InitOptions")->number, 1281);
    EXPECT_EQ(Written("QUORVANE", "Welcome")->number, 2);
    EXPECT_EQ(Written("QUORVANE", "OnTop")->number, 1);

    CPrefDisplayModel again;
    again.Fill(Restart(), store, fonts, false, true);
    EXPECT_EQ(again.splash, 0);
    EXPECT_EQ(again.welcome, 0);
    EXPECT_EQ(again.onTop, 1);
    store.WriteInt("QUORVANE", "InitOptions", 0x100);
    again.Fill(settings, store, fonts, false, true);
    EXPECT_EQ(again.splash, 1) << "only all of the bits 0x501 hide the splash";
}

TEST_F(PreferenceModelsTest, DisplayLocksFlatBarsUnderVisualStylesAndTakesTheChosenFont)
{
    CPrefDisplayModel page;
    page.Fill(settings, store, fonts, true, true);
    EXPECT_EQ(page.flatToolbar, 1);
    EXPECT_TRUE(page.flatLocked);
    EXPECT_FALSE(page.toolbarsChanged) << "the bars are flat already";
    page.Fill(settings, store, fonts, true, false);
    EXPECT_EQ(page.flatToolbar, 1) << "visual styles turn flat bars on";
    EXPECT_TRUE(page.toolbarsChanged) << "and have the bars rebuilt";
    // Raised bars chosen earlier: shown without visual styles, turned flat (and rebuilt) with them.
    settings.SetFlatToolbar(0);
    page.Fill(settings, store, fonts, false, true);
    EXPECT_EQ(page.flatToolbar, 0);
    EXPECT_FALSE(page.flatLocked);
    EXPECT_FALSE(page.toolbarsChanged);
    page.Fill(settings, store, fonts, true, true);
    EXPECT_EQ(page.flatToolbar, 1);
    EXPECT_TRUE(page.toolbarsChanged);
    settings.SetFlatToolbar(1);
    page.Fill(settings, store, fonts, false, false);
    EXPECT_EQ(page.flatToolbar, 0);
    EXPECT_TRUE(page.flatLocked);
    page.ToolbarClicked();
    EXPECT_TRUE(page.toolbarsChanged);

    LogFont chosen;
    chosen.lfHeight = -12;
    SetFaceName(chosen, "Pinned Face");
    page.FontChosen(chosen, -1);
    EXPECT_EQ(page.autoColor, 1);
    EXPECT_EQ(page.DialogColor(), -1);
    page.Apply(settings, store, fonts, host);
    bool automatic = false;
    fonts.GetColor(automatic);
    EXPECT_TRUE(automatic);
    EXPECT_EQ(GetFaceName(fonts.GetLogFont()), "Pinned Face");
    EXPECT_EQ(DescribeFont(fonts.GetLogFont(), 96), "Pinned Face, 9 pt");

    page.FontChosen(chosen, 0x0000FF);
    page.Apply(settings, store, fonts, host);
    EXPECT_EQ(fonts.GetColor(automatic), 0x0000FFu);
    EXPECT_FALSE(automatic);
}

TEST_F(PreferenceModelsTest, FilesListsFoldersAndStoresTheStartFile)
{
    dirs.SetConfiguredFolder(CDirectories::kData, "E:\\Notes");
    CPrefFileModel page;
    page.Fill(settings, dirs, false);
    ASSERT_EQ(page.folders.size(), 4u);
    EXPECT_EQ(page.LineText(0), "Quorvane Data\tE:\\Notes");
    EXPECT_EQ(page.LineText(4), "");

    page.SetFolderPath(2, "D:\\Att");
    page.startChoice = 2;
    page.startFile.clear();
    page.Apply(settings, dirs);
    EXPECT_EQ(settings.GetLoadLastFile(), 0) << "Open File: without a file opens nothing";
    EXPECT_EQ(dirs.GetFolder(2, false), "D:\\Att");
    EXPECT_EQ(dirs.GetExpandedFolder(2), "D:\\Att");

    page.startFile = "E:\\Notes\\my.xrd";
    page.Apply(settings, dirs);
    EXPECT_EQ(settings.GetLoadLastFile(), 2);
    EXPECT_EQ(settings.GetLastFileName(), "E:\\Notes\\my.xrd");
}

TEST_F(PreferenceModelsTest, FilesPortableChoiceRewritesEveryFolderInTheOtherForm)
{
    for (int i = 0; i < 4; ++i)
        dirs.SetConfiguredFolder(i, "E:\\Folder" + std::to_string(i));
    settings.SetUsePortableNames(0);
    CPrefFileModel page;
    page.Fill(settings, dirs, true);
    page.portable = 1;
    page.startChoice = 2;
    page.startFile = "E:\\Notes\\my.xrd";
    page.Apply(settings, dirs);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dirs.GetFolder(i, false), ".:\\Folder" + std::to_string(i));
    EXPECT_EQ(settings.GetLastFileName(), ".:\\Notes\\my.xrd");
    EXPECT_EQ(settings.GetUsePortableNames(), 1);

    CPrefFileModel back;
    back.Fill(settings, dirs, true);
    EXPECT_EQ(back.folders[1].path, "E:\\Folder1") << "shown expanded";
    EXPECT_EQ(back.startFile, "E:\\Notes\\my.xrd");
    back.portable = 0;
    back.Apply(settings, dirs);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(dirs.GetFolder(i, false), "E:\\Folder" + std::to_string(i));
}

TEST_F(PreferenceModelsTest, ToolsImportAndExportStoreTheirChoices)
{
    CPrefToolsModel tools;
    tools.Fill(settings);
    ASSERT_EQ(CPrefToolsModel::SnoozeLabels().size(), 8u);
    EXPECT_EQ(CPrefToolsModel::SnoozeLabels()[6], "4 hours");
    tools.snooze = 6;
    tools.reminderType = 1;
    tools.reminderTime = 3661;
    tools.playSound = 1;
    tools.Apply(settings);

    CPrefImportModel import;
    import.Fill(settings);
    import.duplicateAction = 1;
    import.defaultTitle = 2;
    import.importDate = 1;
    import.Apply(settings);
    EXPECT_TRUE(settings.IsFileDirty()) << "the import date is a per-file setting";

    CPrefExportModel exportPage;
    exportPage.Fill(settings);
    EXPECT_EQ(exportPage.lineChoice, 0);
    EXPECT_EQ(exportPage.lineLength, 70);
    exportPage.lineChoice = 1;
    exportPage.htmlType = 2;
    exportPage.customSet = "  koi8-r ";
    EXPECT_FALSE(exportPage.MissingCustomSet());
    exportPage.Store(settings);
    EXPECT_EQ(exportPage.customSet, "koi8-r");
    ASSERT_TRUE(settings.SaveToProfile());

    CAppSettings& loaded = Restart();
    EXPECT_EQ(store.Find("Quorvane", "SnoozeDuration")->number, 6);
    CPrefToolsModel toolsAgain;
    toolsAgain.Fill(loaded);
    EXPECT_EQ(toolsAgain.snooze, 6);
    EXPECT_EQ(toolsAgain.reminderType, 1);
    EXPECT_EQ(toolsAgain.reminderTime, 3661);
    EXPECT_EQ(toolsAgain.playSound, 1);
    CPrefImportModel importAgain;
    importAgain.Fill(loaded);
    EXPECT_EQ(importAgain.duplicateAction, 1);
    EXPECT_EQ(importAgain.defaultTitle, 2);
    CPrefExportModel exportAgain;
    exportAgain.Fill(loaded);
    EXPECT_EQ(store.Find("Quorvane", "ExportTextLineLength")->number, 0);
    EXPECT_EQ(exportAgain.lineChoice, 1) << "No Line Limit reopens chosen";
    EXPECT_EQ(exportAgain.lineLength, 70) << "showing 70";
    EXPECT_EQ(exportAgain.htmlType, 2);
    EXPECT_EQ(exportAgain.customSet, "koi8-r");

    exportAgain.customSet = "   ";
    EXPECT_TRUE(exportAgain.MissingCustomSet());
    exportAgain.htmlType = 1;
    EXPECT_FALSE(exportAgain.MissingCustomSet());
    EXPECT_TRUE(CPrefExportModel::IsComboEnabled(1));
    EXPECT_FALSE(CPrefExportModel::IsCustomEnabled(1));
    EXPECT_FALSE(CPrefExportModel::IsComboEnabled(0) || CPrefExportModel::IsCustomEnabled(0));
    EXPECT_TRUE(CPrefExportModel::IsCustomEnabled(2));
}

// quorvane.exe opening data files as a user does: named on the command line, then through File > Open
// with the file typed into the Open dialog. Each time the index window shows the file's titles and
// the main window's caption names the file; the program then closes cleanly.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/quorvane_doc.h"
#include "resources/article_properties_res.h"
#include "resources/commands.h"
#include "storage/article_record.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int kViewId = 0xE900;
constexpr int kTitleListId = 1003;
constexpr int kTitlesCaptionId = 1010;

std::string MakeFile(const CTempFolder& folder, const std::string& name, const std::vector<std::string>& titles)
{
    const std::string path = folder.File(name);
    CRecordingHost silent;
    CQuorvaneDoc document(silent);
    EXPECT_TRUE(document.CreateNewFile(path));
    for (const std::string& title : titles) {
        CArticleRecord record;
        record.SetTitle(title);
        document.AddArticle(record, false, false);
    }
    EXPECT_TRUE(document.SaveModified());
    document.DeleteContents();
    return path;
}

struct ProgramWindow {
    DWORD process;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM param)
{
    auto* find = reinterpret_cast<ProgramWindow*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner != find->process || !IsWindowVisible(hwnd) ||
        gui::GetText(hwnd).find("Personal Quorvane") == std::string::npos)
        return TRUE;
    find->found = hwnd;
    return FALSE;
}

// The program's main window: its top-level window whose caption holds the product name.
HWND MainWindow(DWORD process)
{
    ProgramWindow find = {process, nullptr};
    EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// The index window's view, when the index window shows.
HWND IndexView(HWND main)
{
    HWND client = FindWindowExA(main, nullptr, "MDICLIENT", nullptr);
    HWND frame = client ? GetWindow(client, GW_CHILD) : nullptr;
    return frame && IsWindowVisible(frame) ? GetDlgItem(frame, kViewId) : nullptr;
}

int TitleCount(HWND main)
{
    HWND view = IndexView(main);
    HWND list = view ? GetDlgItem(view, kTitleListId) : nullptr;
    return list ? static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)) : -1;
}

std::string TitlesCaption(HWND main)
{
    HWND view = IndexView(main);
    return view ? gui::GetText(GetDlgItem(view, kTitlesCaptionId)) : std::string();
}

int MdiChildCount(HWND main)
{
    HWND client = FindWindowExA(main, nullptr, "MDICLIENT", nullptr);
    int count = 0;
    for (HWND child = client ? GetWindow(client, GW_CHILD) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

}  // namespace

TEST(OpenFile, FromTheCommandLineAndThroughFileOpenIntoTheIndexWindow)
{
    CTempFolder folder;
    const std::string first = MakeFile(folder, "first.xrd", {"alpha", "beta", "gamma"});
    const std::string second = MakeFile(folder, "second.xrd", {"one", "two", "three", "four", "five"});

    gui::CGuiProcess program;
    ASSERT_TRUE(program.Start(gui::ProgramBesideTest("quorvane.exe"), "\"" + first + "\""));
    HWND main = nullptr;
    ASSERT_TRUE(gui::WaitFor([&] { return (main = MainWindow(program.Id())) != nullptr; }, 60000));
    ASSERT_TRUE(gui::WaitFor([&] { return TitleCount(main) == 3; }));
    EXPECT_EQ(TitlesCaption(main), "All Titles (3 of 3)");
    EXPECT_NE(gui::GetText(main).find("first.xrd"), std::string::npos) << gui::GetText(main);

    // File > Open: the file typed into the dialog's file name box, then OK.
    PostMessageA(main, WM_COMMAND, IDM_FILE_OPEN, 0);
    HWND dialog = gui::WaitForTopWindow(nullptr, "#32770", program.Id());
    ASSERT_NE(dialog, nullptr);
    HWND name = GetDlgItem(dialog, 0x47C);  // the Explorer-style dialog's file name combo box
    if (!name)
        name = GetDlgItem(dialog, 0x480);
    ASSERT_NE(name, nullptr);
    ASSERT_TRUE(gui::SetText(name, second));
    ASSERT_TRUE(gui::ClickButton(dialog, IDOK));
    ASSERT_TRUE(gui::WaitFor([&] { return TitleCount(main) == 5; }));
    EXPECT_EQ(TitlesCaption(main), "All Titles (5 of 5)");
    EXPECT_NE(gui::GetText(main).find("second.xrd"), std::string::npos) << gui::GetText(main);
    // The first file's window went with it.
    EXPECT_EQ(MdiChildCount(main), 1);

    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(&exitCode, 60000));
    EXPECT_EQ(exitCode, 0u);
}

// Article Properties from the index window of the program: the highlighted title's sheet on its
// General page, and OK without a change leaves the article as it was.
TEST(OpenFile, ArticlePropertiesOfAHighlightedTitle)
{
    CTempFolder folder;
    const std::string path = MakeFile(folder, "props.xrd", {"alpha", "beta"});
    auto stamp = [&] {
        CRecordingHost silent;
        CQuorvaneDoc document(silent);
        EXPECT_TRUE(document.OnOpenDocument(path));
        CArticleRecord record;
        document.LoadArticle(1, record);
        document.DeleteContents();
        return std::to_string(record.GetDateOf(CArticleRecord::kModifiedDate)) + " " +
               std::to_string(record.GetTimeOf(CArticleRecord::kModifiedDate));
    };
    const std::string before = stamp();

    gui::CGuiProcess program;
    ASSERT_TRUE(program.Start(gui::ProgramBesideTest("quorvane.exe"), "\"" + path + "\""));
    HWND main = nullptr;
    ASSERT_TRUE(gui::WaitFor([&] { return (main = MainWindow(program.Id())) != nullptr; }, 60000));
    ASSERT_TRUE(gui::WaitFor([&] { return TitleCount(main) == 2; }));
    HWND list = GetDlgItem(IndexView(main), kTitleListId);
    SendMessageA(list, LB_SETSEL, TRUE, 1);

    PostMessageA(main, WM_COMMAND, IDM_ARTICLE_PROPERTIES, 0);
    HWND sheet = gui::WaitForTopWindow("Article Properties", nullptr, program.Id());
    ASSERT_NE(sheet, nullptr);
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    EXPECT_EQ(gui::GetText(GetDlgItem(page, IDC_PROP_TITLE)), "beta");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return gui::FindTopWindow("Article Properties", nullptr, program.Id()) == nullptr; }));

    PostMessageA(main, WM_CLOSE, 0, 0);
    DWORD exitCode = 99;
    ASSERT_TRUE(program.WaitForExit(&exitCode, 60000));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(stamp(), before) << "OK without a change writes nothing";
}

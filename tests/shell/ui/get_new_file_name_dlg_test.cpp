// File > New's Save dialog on real windows: its title and filter, the folder it starts in, ".xrd"
// added to a typed name, the question before an existing file is replaced, and no file made by the
// dialog itself.
#include <windows.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <string>

#include "shell/ui/get_new_file_name_dlg.h"
#include "storage/file_system.h"
#include "tests/support/gui_driver.h"
#include "tests/support/running_file_dialog.h"
#include "tests/support/temp_folder.h"

namespace {
// The dialog over `folder` as File > New runs it, owned by the test's main window.
std::string RunNewFileDialog(HWND owner, const std::string& folder)
{
    CGetNewFileNameDlg dialog(owner);
    dialog.m_initialDir = folder;
    return dialog.DoModal() == IDOK ? dialog.m_fileName : std::string();
}
}  // namespace

TEST(GetNewFileNameDlg, StartsInTheFolderAndAddsTheDataFileExtensionWithoutMakingTheFile)
{
    CTempFolder folder;
    CRunningFileDialog run("New File", [&](HWND owner) { return RunNewFileDialog(owner, folder.Path()); });
    ASSERT_NE(run.window, nullptr);
    EXPECT_EQ(::GetWindow(run.window, GW_OWNER), run.m_frame);
    EXPECT_EQ(gui::GetText(::GetDlgItem(run.window, cmb1)), "Personal Quorvane (*.xrd)");
    EXPECT_EQ(run.Folder(), folder.Path());
    ASSERT_TRUE(run.Choose("notes"));
    EXPECT_EQ(run.End(), folder.File("notes.xrd"));
    EXPECT_FALSE(FileExists(folder.File("notes.xrd")));
}

TEST(GetNewFileNameDlg, AsksBeforeAnExistingFileIsReplacedAndCancelChoosesNothing)
{
    CTempFolder folder;
    folder.Write("kb.xrd", "data");
    {
        CRunningFileDialog run("New File", [&](HWND owner) { return RunNewFileDialog(owner, folder.Path()); });
        ASSERT_NE(run.window, nullptr);
        ASSERT_TRUE(run.ChooseAndKeepExisting("kb"));
        ASSERT_TRUE(gui::ClickButton(run.window, IDCANCEL));
        EXPECT_EQ(run.End(), "");
    }
    {
        CRunningFileDialog run("New File", [&](HWND owner) { return RunNewFileDialog(owner, folder.Path()); });
        ASSERT_NE(run.window, nullptr);
        ASSERT_TRUE(run.Choose("kb"));
        ASSERT_TRUE(gui::AnswerMessageBox("", IDYES));
        EXPECT_EQ(run.End(), folder.File("kb.xrd"));
    }
    // The dialog never touched the file.
    EXPECT_EQ(folder.Read("kb.xrd"), "data");
}

// The password dialogs on real windows: their OK buttons, messages and results.
#include <gtest/gtest.h>

#include <atomic>

#include "document/file_password.h"
#include "document/quorvane_doc.h"
#include "document/ui/doc_host_win.h"
#include "document/ui/password_dlg.h"
#include "document/ui/password_dlg_res.h"
#include "framework/string_table.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {
bool IsEnabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(gui::FindControl(dialog, id)) != FALSE;
}
}  // namespace

TEST(PasswordDialogs, EnterPasswordShowsTheFileAndClosesWithCancelOnAWrongEntry)
{
    CTempFolder folder;
    CWindowsDocHost host;
    CQuorvaneDoc doc(host);
    ASSERT_TRUE(doc.CreateNewFile(folder.File("kb.xrd")));
    doc.SetPassword("secret");
    doc.GetPassword().Lock();

    CEnterPasswordDlg dialog(doc.GetPassword(), host);
    dialog.m_fileName = "kb.xrd";
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui([&] { result = dialog.DoModal(); });
    HWND box = gui::WaitForTopWindow("Enter Your Password");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(gui::GetText(gui::FindControl(box, IDC_STATIC_FILE_NAME)), "File name: kb.xrd");
    EXPECT_FALSE(IsEnabled(box, IDOK));
    gui::SetText(gui::FindControl(box, IDC_EDIT_PASSWORD), "wrong");
    EXPECT_TRUE(gui::WaitFor([&] { return IsEnabled(box, IDOK); }));
    gui::ClickButton(box, IDOK);
    EXPECT_TRUE(gui::AnswerMessageBox(QuorLoadString(1304)));
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result.load(), IDCANCEL);
    EXPECT_TRUE(doc.ArePrivateArticlesHidden());
    doc.DeleteContents();
}

TEST(PasswordDialogs, CreatePasswordRefusesBlanksThenSetsThePassword)
{
    CTempFolder folder;
    CWindowsDocHost host;
    CQuorvaneDoc doc(host);
    ASSERT_TRUE(doc.CreateNewFile(folder.File("kb.xrd")));

    CCreatePasswordDlg dialog(doc, host);
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui([&] { result = dialog.DoModal(); });
    HWND box = gui::WaitForTopWindow("Create Password");
    ASSERT_NE(box, nullptr);
    HWND entered = gui::FindControl(box, IDC_EDIT_PASSWORD);
    HWND verify = gui::FindControl(box, IDC_EDIT_VERIFY_PASSWORD);
    gui::SetText(entered, "   ");
    EXPECT_FALSE(IsEnabled(box, IDOK));
    gui::SetText(verify, "   ");
    EXPECT_TRUE(gui::WaitFor([&] { return IsEnabled(box, IDOK); }));
    gui::ClickButton(box, IDOK);
    EXPECT_TRUE(gui::AnswerMessageBox(QuorLoadString(1311)));
    EXPECT_FALSE(ui.Done());

    gui::SetText(entered, " pw ");
    gui::SetText(verify, "pw");
    gui::ClickButton(box, IDOK);
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(result.load(), IDOK);
    EXPECT_TRUE(doc.HasPassword());
    EXPECT_TRUE(doc.VerifyPassword("pw"));
    doc.DeleteContents();
}

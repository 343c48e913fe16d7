// The password dialogs on real windows over a real knowledge base: each runs modally on a thread of
// its own while the test thread types into its edits, presses its buttons and answers the message
// boxes of the document's Windows host.
#include <gtest/gtest.h>

#include <atomic>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "document/quorvane_doc.h"
#include "document/ui/password_dlg.h"
#include "document/ui/password_dlg_res.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/frame_wnd.h"
#include "storage/article_record.h"
#include "storage/file_password.h"
#include "tests/document/ui/test_windows_doc_host.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_main_frame.h"

namespace {
bool IsEnabled(HWND dialog, int id)
{
    return ::IsWindowEnabled(gui::FindControl(dialog, id)) != FALSE;
}

HICON SystemIcon(int id)
{
    return ::LoadIconA(nullptr, MAKEINTRESOURCEA(id));
}
const int kInformationIcon = 32516;  // IDI_ASTERISK
const int kQuestionIcon = 32514;     // IDI_QUESTION
const int kExclamationIcon = 32515;  // IDI_EXCLAMATION

// A new knowledge base in a fresh folder, optionally with a password, and the host its dialogs use.
class CTestBase {
public:
    explicit CTestBase(const std::string& name = "kb.xrd", const std::string& password = "")
    {
        m_doc = std::make_unique<CQuorvaneDoc>(m_host);
        m_created = m_doc->CreateNewFile(m_folder.File(name));
        if (m_created && !password.empty())
            m_doc->SetPassword(password);
    }
    ~CTestBase() { m_doc->DeleteContents(); }
    void AddPrivateArticle()
    {
        CArticleRecord record;
        record.SetTitle("secret");
        record.SetPrivate(true);
        m_doc->AddArticle(record, false, false);
    }
    // True when `password` opens the file's private articles again after they were hidden.
    bool Unlocks(const std::string& password)
    {
        m_doc->GetPassword().Lock();
        return m_doc->GetPassword().Verify(password);
    }

    CTempFolder m_folder;
    CTestWindowsDocHost m_host;
    std::unique_ptr<CQuorvaneDoc> m_doc;
    bool m_created = false;
};

// A dialog of type D run modally on its own thread; `window` is its window once shown.
template <class D>
struct CRunningDialog {
    template <class... Args>
    explicit CRunningDialog(Args&&... args) : dialog(std::forward<Args>(args)...)
    {
    }
    // Runs the dialog and waits for its window.
    bool Show(const char* caption)
    {
        ui = std::make_unique<gui::CGuiThread>([this] { result = dialog.DoModal(); });
        window = gui::WaitForTopWindow(caption);
        return window != nullptr;
    }
    bool Type(int id, const std::string& text) { return gui::SetText(gui::FindControl(window, id), text); }
    // Types each entry into its edit, then presses OK.
    bool Submit(std::initializer_list<std::pair<int, std::string>> entries)
    {
        for (const auto& entry : entries) {
            if (!Type(entry.first, entry.second))
                return false;
        }
        return gui::ClickButton(window, IDOK);
    }
    // Waits for the dialog to end and gives what DoModal returned (0 when it did not end).
    INT_PTR End() { return ui->Join() ? result.load() : 0; }
    // True when the dialog is still shown once its thread has handled a message after the last box
    // closed: a dialog that ended would be hidden by then.
    bool StillOpen() const
    {
        DWORD_PTR ignored = 0;
        return ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) &&
               ::IsWindowVisible(window);
    }

    D dialog;
    std::atomic<INT_PTR> result{0};
    std::unique_ptr<gui::CGuiThread> ui;
    HWND window = nullptr;
};

// Waits for the box with message `stringId` over `dialog`, checks it as the user sees it (text,
// caption, owner, icon), presses `button` and waits until it is gone.
void AnswerBox(HWND dialog, int stringId, int icon, int button = IDOK)
{
    std::string text = QuorLoadString(stringId);
    HWND box = gui::WaitForMessageBox(text);
    ASSERT_NE(box, nullptr) << text;
    EXPECT_EQ(gui::MessageBoxText(box), text);
    EXPECT_EQ(gui::GetText(box), "Personal Quorvane");
    EXPECT_EQ(::GetWindow(box, GW_OWNER), dialog);
    EXPECT_EQ(gui::MessageBoxIcon(box), SystemIcon(icon)) << text;
    ASSERT_TRUE(gui::ClickButton(box, button));
    ASSERT_TRUE(gui::WaitFor([&] { return !::IsWindow(box); }));
}
}  // namespace

TEST(PasswordDialogs, EnterPasswordShowsTheFileAndClosesWithCancelOnAWrongEntry)
{
    CTempFolder folder;
    CTestWindowsDocHost host;
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
    CTestWindowsDocHost host;
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

TEST(CreatePasswordDlg, OkWaitsForBothEntries)
{
    CTestBase base;
    ASSERT_TRUE(base.m_created);
    CRunningDialog<CCreatePasswordDlg> run(*base.m_doc, base.m_host);
    ASSERT_TRUE(run.Show("Create Password"));
    EXPECT_FALSE(IsEnabled(run.window, IDOK));
    ASSERT_TRUE(run.Type(IDC_EDIT_PASSWORD, "  rosebud "));
    EXPECT_FALSE(IsEnabled(run.window, IDOK));
    ASSERT_TRUE(run.Type(IDC_EDIT_VERIFY_PASSWORD, "rosebud"));
    EXPECT_TRUE(gui::WaitFor([&] { return IsEnabled(run.window, IDOK); }));
    ASSERT_TRUE(run.Type(IDC_EDIT_PASSWORD, ""));
    EXPECT_TRUE(gui::WaitFor([&] { return !IsEnabled(run.window, IDOK); }));
    ASSERT_TRUE(run.Submit({{IDC_EDIT_PASSWORD, "  rosebud "}}));

    EXPECT_EQ(run.End(), IDOK);
    EXPECT_TRUE(base.m_doc->HasPassword());
    EXPECT_TRUE(base.Unlocks("rosebud"));
}

TEST(CreatePasswordDlg, RefusedEntriesAreToldAndKeepTheDialogOpen)
{
    struct Case {
        const char* password;
        const char* verify;
        int message;
    };
    const Case cases[] = {
        {"  ", "x", 1311},
        {"rose", "bud", 1305},
        {"rose", "Rose", 1305},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.password) + "|" + c.verify);
        CTestBase base;
        ASSERT_TRUE(base.m_created);
        CRunningDialog<CCreatePasswordDlg> run(*base.m_doc, base.m_host);
        ASSERT_TRUE(run.Show("Create Password"));
        ASSERT_TRUE(run.Submit({{IDC_EDIT_PASSWORD, c.password}, {IDC_EDIT_VERIFY_PASSWORD, c.verify}}));
        AnswerBox(run.window, c.message, kInformationIcon);
        EXPECT_TRUE(run.StillOpen());
        ASSERT_TRUE(gui::ClickButton(run.window, IDCANCEL));
        EXPECT_EQ(run.End(), IDCANCEL);
        EXPECT_FALSE(base.m_doc->HasPassword());
    }
}

TEST(ChangePasswordDlg, AWrongOldPasswordIsToldAndCancelsLeavingThePrivateArticlesShown)
{
    CTestBase base("kb.xrd", "old");
    ASSERT_TRUE(base.m_created);
    base.AddPrivateArticle();
    CRunningDialog<CChangePasswordDlg> run(*base.m_doc, base.m_host);
    ASSERT_TRUE(run.Show("Change Password"));
    ASSERT_TRUE(run.Submit(
        {{IDC_EDIT_OLD_PASSWORD, "olde"}, {IDC_EDIT_NEW_PASSWORD, "new"}, {IDC_EDIT_VERIFY_PASSWORD, "new"}}));
    AnswerBox(run.window, 1304, kExclamationIcon);

    EXPECT_EQ(run.End(), IDCANCEL);
    EXPECT_FALSE(base.m_doc->ArePrivateArticlesHidden());
    EXPECT_TRUE(base.Unlocks("old"));
}

TEST(ChangePasswordDlg, SetsTheTrimmedNewPasswordOverTheVerifiedOldOne)
{
    CTestBase base("kb.xrd", "old");
    ASSERT_TRUE(base.m_created);
    CRunningDialog<CChangePasswordDlg> run(*base.m_doc, base.m_host);
    ASSERT_TRUE(run.Show("Change Password"));
    ASSERT_TRUE(run.Submit(
        {{IDC_EDIT_OLD_PASSWORD, " old "}, {IDC_EDIT_NEW_PASSWORD, "new "}, {IDC_EDIT_VERIFY_PASSWORD, " new"}}));

    EXPECT_EQ(run.End(), IDOK);
    EXPECT_FALSE(base.Unlocks("old"));
    EXPECT_TRUE(base.Unlocks("new"));
}

TEST(ChangePasswordDlg, RefusedNewEntriesAreToldAndKeepTheDialogOpen)
{
    struct Case {
        const char* password;
        const char* verify;
        bool privateArticle;
        bool protectAll;
        int message;
    };
    const Case cases[] = {
        // Private or protected articles need a password: it cannot be emptied.
        {"", "", true, false, 1311},
        {" ", "", false, true, 1311},
        {"new", "neu", false, false, 1305},
        // One entry empty is a mismatch, not a removal.
        {"", "new", false, false, 1305},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.password) + "|" + c.verify);
        CTestBase base("kb.xrd", "old");
        ASSERT_TRUE(base.m_created);
        if (c.privateArticle)
            base.AddPrivateArticle();
        if (c.protectAll)
            base.m_doc->SetProtectAll(true);
        CRunningDialog<CChangePasswordDlg> run(*base.m_doc, base.m_host);
        ASSERT_TRUE(run.Show("Change Password"));
        ASSERT_TRUE(run.Submit({{IDC_EDIT_OLD_PASSWORD, "old"},
                                {IDC_EDIT_NEW_PASSWORD, c.password},
                                {IDC_EDIT_VERIFY_PASSWORD, c.verify}}));
        AnswerBox(run.window, c.message, kInformationIcon);
        EXPECT_TRUE(run.StillOpen());
        ASSERT_TRUE(gui::ClickButton(run.window, IDCANCEL));
        EXPECT_EQ(run.End(), IDCANCEL);
        EXPECT_TRUE(base.m_doc->HasPassword());
        EXPECT_TRUE(base.Unlocks("old"));
    }
}

TEST(ChangePasswordDlg, EmptyNewEntriesRemoveThePasswordOnlyAfterYes)
{
    CTestBase base("kb.xrd", "old");
    ASSERT_TRUE(base.m_created);
    CRunningDialog<CChangePasswordDlg> run(*base.m_doc, base.m_host);
    ASSERT_TRUE(run.Show("Change Password"));
    ASSERT_TRUE(run.Submit({{IDC_EDIT_OLD_PASSWORD, "old"}, {IDC_EDIT_NEW_PASSWORD, " "}}));
    AnswerBox(run.window, 1312, kQuestionIcon, IDNO);

    // No: nothing removed, the entries stay as typed.
    EXPECT_TRUE(run.StillOpen());
    EXPECT_EQ(gui::GetText(gui::FindControl(run.window, IDC_EDIT_OLD_PASSWORD)), "old");
    EXPECT_EQ(gui::GetText(gui::FindControl(run.window, IDC_EDIT_NEW_PASSWORD)), " ");
    EXPECT_TRUE(base.m_doc->HasPassword());

    ASSERT_TRUE(gui::ClickButton(run.window, IDOK));
    AnswerBox(run.window, 1312, kQuestionIcon, IDYES);
    EXPECT_EQ(run.End(), IDOK);
    EXPECT_FALSE(base.m_doc->HasPassword());
}

TEST(EnterPasswordDlg, AWrongPasswordCancelsAfterTheMessageOrSilently)
{
    for (int showMessage : {1, 0}) {
        SCOPED_TRACE(showMessage);
        CTestBase base("kb.xrd", "rosebud");
        ASSERT_TRUE(base.m_created);
        base.m_doc->GetPassword().Lock();
        CRunningDialog<CEnterPasswordDlg> run(base.m_doc->GetPassword(), base.m_host);
        run.dialog.m_fileName = "kb.xrd";
        run.dialog.m_showMessage = showMessage;
        ASSERT_TRUE(run.Show("Enter Your Password"));
        ASSERT_TRUE(run.Submit({{IDC_EDIT_PASSWORD, "Rosebud"}}));
        // Silently: the dialog ends with no box to answer.
        if (showMessage)
            AnswerBox(run.window, 1304, kExclamationIcon);
        EXPECT_EQ(run.End(), IDCANCEL);
        EXPECT_FALSE(base.m_doc->GetPassword().IsUnlocked());
        EXPECT_TRUE(base.Unlocks("rosebud"));
    }
}

TEST(EnterPasswordDlg, ThePromptAndItsMessageBelongToTheWindowTheUserWorksIn)
{
    CWinApp app;
    CTestBase base("kb.xrd", "rosebud");
    ASSERT_TRUE(base.m_created);
    base.m_doc->GetPassword().Lock();
    std::atomic<int> unlocked{-1};
    gui::CGuiThread ui([&] {
        CTestMainFrame frame(app, "Password host");
        if (!frame.Handle())
            return;
        unlocked = base.m_host.PromptPassword("kb.xrd", base.m_doc->GetPassword()) ? 1 : 0;
    });
    HWND dialog = gui::WaitForTopWindow("Enter Your Password");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(::GetWindow(dialog, GW_OWNER), gui::FindTopWindow("Password host"));
    ASSERT_TRUE(gui::SetText(gui::FindControl(dialog, IDC_EDIT_PASSWORD), "wrong"));
    ASSERT_TRUE(gui::ClickButton(dialog, IDOK));
    // Owned by the main window, the box would leave the dialog usable behind it.
    AnswerBox(dialog, 1304, kExclamationIcon);

    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(unlocked.load(), 0);
}

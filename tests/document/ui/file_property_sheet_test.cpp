// The File Properties sheet on real windows over a real knowledge base: the sheet runs on a thread of
// its own while the test thread reads its pages, types, switches tabs, presses buttons and keys and
// answers the message boxes.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "document/quorvane_doc.h"
#include "document/ui/file_property_sheet.h"
#include "document/ui/password_dlg_res.h"
#include "framework/string_table.h"
#include "resources/file_properties_res.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "storage/article_record.h"
#include "tests/support/gui_driver.h"
#include "tests/support/sheet_driver.h"
#include "tests/document/ui/test_windows_doc_host.h"
#include "tests/support/temp_folder.h"

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WithoutBreaks(std::string text)
{
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 2);
    return text;
}

class FilePropertySheet : public ::testing::Test, protected gui::CSheetDriver {
protected:
    void SetUp() override { m_path = m_folder.File("My Notes\\kb.xrd"); }
    void TearDown() override
    {
        if (m_doc)
            CloseFile();
    }

    void OpenFile(bool readOnly = false)
    {
        m_doc = std::make_unique<CQuorvaneDoc>(m_host);
        m_doc->SetSettings(&m_settings);
        m_doc->SetDirectories(&m_directories);
        if (!FileExists()) {
            ::CreateDirectoryA(m_folder.File("My Notes").c_str(), nullptr);
            ASSERT_TRUE(m_doc->CreateNewFile(m_path));
        } else {
            m_doc->SetOpenOptions(readOnly, false);
            ASSERT_TRUE(m_doc->OnOpenDocument(m_path));
        }
    }
    bool FileExists() { return ::GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    void CloseFile()
    {
        m_doc->SaveModified();
        m_doc->DeleteContents();
        m_doc.reset();
    }
    int32_t AddArticle(const std::string& title, bool isPrivate)
    {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetPrivate(isPrivate);
        return m_doc->AddArticle(record, false, false);
    }

    // Shows the sheet on its own thread; returns its window.
    HWND Show()
    {
        m_result = 0;
        m_ui = std::make_unique<gui::CGuiThread>([this] {
            FilePropertyServices services;
            services.browseFolder = [this](HWND, std::string& folder) {
                m_browsedFrom = folder;
                folder = m_browseAnswer;
                return !folder.empty();
            };
            services.chooseFont = [this](HWND, LogFont& font, int32_t& color) {
                SetFaceName(font, "Courier New");
                font.lfWeight = 700;
                color = 0x00336699;
                return true;
            };
            services.fontChanged = [this] { ++m_fontChanges; };
            services.showHelp = [this](int templateId) { m_helpTopics.push_back(templateId); };
            CFilePropertySheet sheet(*m_doc, m_host, m_settings, m_directories, services);
            m_result = sheet.Run();
        });
        return gui::WaitForTopWindow("File Properties");
    }
    INT_PTR End() { return m_ui->Join() ? m_result.load() : -2; }
    void Tab(HWND sheet, int index)
    {
        PostMessageA(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        gui::WaitFor([&] { return TabIndex(sheet) == index; }, 3000);
    }

    CTempFolder m_folder;
    std::string m_path;
    CTestWindowsDocHost m_host;
    CMemoryProfileStore m_store;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_store, m_fonts, m_directories};
    std::unique_ptr<CQuorvaneDoc> m_doc;
    std::unique_ptr<gui::CGuiThread> m_ui;
    std::atomic<INT_PTR> m_result{0};
    std::string m_browseAnswer;
    std::string m_browsedFrom;
    std::atomic<int> m_fontChanges{0};
    // Written on the sheet's thread, read after it ended.
    std::vector<int> m_helpTopics;
};

TEST_F(FilePropertySheet, GeneralShowsTheFileAndEnterAppliesEveryShownPage)
{
    OpenFile();
    int32_t k = m_doc->AddKeyword("alpha", false);
    m_doc->AddKeyword("beta", false);
    m_doc->SetPassword("pw");
    for (int i = 0; i < 12; ++i)
        AddArticle("a" + std::to_string(i), i < 3);
    (void)k;
    m_doc->Flush();

    HWND sheet = Show();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TabIndex(sheet), 0);
    EXPECT_EQ(TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet)), 3);
    EXPECT_EQ(WithoutBreaks(Text(sheet, IDC_STATIC_FILE_PATH)), m_path);
    const std::string size = Text(sheet, IDC_STATIC_FILE_SIZE);
    EXPECT_EQ(size.substr(size.size() - 6), " bytes");
    EXPECT_EQ(Text(sheet, IDC_STATIC_KEYWORD_COUNT), "2");
    EXPECT_EQ(Text(sheet, IDC_STATIC_ARTICLE_COUNT), "12   (3 Private)");
    EXPECT_EQ(Text(sheet, IDC_STATIC_GROUP_COUNT), "0");
    EXPECT_FALSE(Enabled(sheet, IDC_CHECK_READ_ONLY));
    EXPECT_TRUE(Enabled(sheet, IDC_EDIT_COMMENTS));

    Click(sheet, IDC_BUTTON_FILE_FONT);
    ASSERT_TRUE(gui::WaitFor([&] { return Text(sheet, IDC_STATIC_FILE_FONT).find("Courier New, ") == 0; }));
    EXPECT_NE(Text(sheet, IDC_STATIC_FILE_FONT).find(" pt, Bold"), std::string::npos);

    // The Articles page changed, then Enter in the comments: the sheet's OK applies both pages.
    Tab(sheet, 1);
    SendMessageA(Control(sheet, IDC_CHECK_WORD_WRAP), BM_SETCHECK, BST_UNCHECKED, 0);
    Tab(sheet, 0);
    HWND header = Control(sheet, IDC_EDIT_EXPORT_HEADER);
    gui::SetText(header, "From my notes");
    SendMessageA(header, EM_SETMODIFY, TRUE, 0);
    HWND comments = Control(sheet, IDC_EDIT_COMMENTS);
    gui::SetText(comments, "Kept with the file");
    SendMessageA(comments, EM_SETMODIFY, TRUE, 0);
    SetFocus(comments);
    gui::PressKey(comments, VK_RETURN);
    ASSERT_EQ(End(), IDOK);
    EXPECT_EQ(m_fontChanges.load(), 1);
    EXPECT_EQ(m_settings.GetWordWrap(), 0);

    CloseFile();
    m_settings.ResetSettings();
    OpenFile();
    EXPECT_EQ(m_settings.GetComments(), "Kept with the file");
    EXPECT_EQ(m_doc->GetExportHeader().GetText(), "From my notes");
    EXPECT_EQ(GetFaceName(m_settings.GetFileFont()), "Courier New");
    EXPECT_EQ(m_settings.GetFileTextColor(), 0x00336699);
    EXPECT_EQ(m_settings.GetWordWrap(), 0);
}

TEST_F(FilePropertySheet, CancelOrReadOnlyLeavesTheFileByteForByte)
{
    OpenFile();
    AddArticle("one", false);
    CloseFile();
    const std::string before = FileBytes(m_path);

    for (bool readOnly : {false, true}) {
        OpenFile(readOnly);
        HWND sheet = Show();
        ASSERT_NE(sheet, nullptr);
        if (readOnly) {
            EXPECT_EQ(SendMessageA(Control(sheet, IDC_CHECK_READ_ONLY), BM_GETCHECK, 0, 0), BST_CHECKED);
            for (int id : {IDC_EDIT_EXPORT_HEADER, IDC_BUTTON_FILE_FONT, IDC_EDIT_COMMENTS})
                EXPECT_FALSE(Enabled(sheet, id)) << id;
            Tab(sheet, 1);
            for (int id : {IDC_CHECK_AUTO_UPDATE_DATES, IDC_CHECK_WORD_WRAP, IDC_RADIO_LINKS_SPECIFIED,
                           IDC_BUTTON_LINK_BROWSE, IDC_CHECK_SAVE_FULL_PATHNAMES})
                EXPECT_FALSE(Enabled(sheet, id)) << id;
            Tab(sheet, 2);
            EXPECT_FALSE(Enabled(sheet, IDC_CHECK_PROTECT_ALL));
            EXPECT_FALSE(Enabled(sheet, IDC_BUTTON_PASSWORD));
            PostMessageA(sheet, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(End(), IDOK);
        } else {
            gui::SetText(Control(sheet, IDC_EDIT_COMMENTS), "not kept");
            Tab(sheet, 1);
            SendMessageA(Control(sheet, IDC_CHECK_WORD_WRAP), BM_SETCHECK, BST_UNCHECKED, 0);
            PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
            EXPECT_EQ(End(), IDCANCEL);
        }
        CloseFile();
        EXPECT_EQ(FileBytes(m_path), before) << readOnly;
    }
}

TEST_F(FilePropertySheet, ArticlesLocationAndTheQuestionOnLeaving)
{
    OpenFile();
    m_browseAnswer = "D:\\Link Targets";
    HWND sheet = Show();
    ASSERT_NE(sheet, nullptr);
    Tab(sheet, 1);
    const std::string attachments = m_directories.GetFolder(CDirectories::kAttachments, true);
    EXPECT_EQ(WithoutBreaks(Text(sheet, IDC_STATIC_LINK_LOCATION)), attachments);
    EXPECT_FALSE(Enabled(sheet, IDC_BUTTON_LINK_BROWSE));

    // Another choice and back: no question.
    Click(sheet, IDC_RADIO_LINKS_FILE_FOLDER);
    ASSERT_TRUE(gui::WaitFor([&] { return WithoutBreaks(Text(sheet, IDC_STATIC_LINK_LOCATION)) == m_folder.File("My Notes"); }));
    Click(sheet, IDC_RADIO_LINKS_ATTACHMENTS);
    ASSERT_TRUE(gui::WaitFor([&] { return WithoutBreaks(Text(sheet, IDC_STATIC_LINK_LOCATION)) == attachments; }));
    Tab(sheet, 0);
    EXPECT_EQ(TabIndex(sheet), 0);
    EXPECT_EQ(gui::FindMessageBox(QuorLoadString(IDS_LINK_LOCATION_CHANGED)), nullptr);

    // Specify path, Browse: leaving asks; No keeps the page, Yes lets it go.
    Tab(sheet, 1);
    Click(sheet, IDC_RADIO_LINKS_SPECIFIED);
    ASSERT_TRUE(gui::WaitFor([&] { return Enabled(sheet, IDC_BUTTON_LINK_BROWSE); }));
    Click(sheet, IDC_BUTTON_LINK_BROWSE);
    ASSERT_TRUE(gui::WaitFor([&] { return WithoutBreaks(Text(sheet, IDC_STATIC_LINK_LOCATION)) == "D:\\Link Targets"; }));
    PostMessageA(sheet, PSM_SETCURSEL, 0, 0);
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_LINK_LOCATION_CHANGED), IDNO));
    gui::WaitFor([] { return false; }, 300);
    EXPECT_EQ(TabIndex(sheet), 1);
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_LINK_LOCATION_CHANGED), IDYES));
    EXPECT_EQ(End(), IDOK);
    EXPECT_EQ(m_settings.GetLinkLocationMode(), 2);
    EXPECT_EQ(m_settings.GetLinkLocationPath(), "D:\\Link Targets");
}

TEST_F(FilePropertySheet, PrivacySetsThePasswordAndProtectsAll)
{
    OpenFile();
    int32_t open = AddArticle("open", false);
    HWND sheet = Show();
    ASSERT_NE(sheet, nullptr);
    Tab(sheet, 2);
    EXPECT_EQ(Text(sheet, IDC_BUTTON_PASSWORD), "&Set Password...");
    Click(sheet, IDC_BUTTON_PASSWORD);
    HWND create = gui::WaitForTopWindow("Create Password");
    ASSERT_NE(create, nullptr);
    gui::SetText(GetDlgItem(create, IDC_EDIT_PASSWORD), "pw");
    gui::SetText(GetDlgItem(create, IDC_EDIT_VERIFY_PASSWORD), "pw");
    ASSERT_TRUE(gui::ClickButton(create, IDOK));
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_PASSWORD_SET)));
    ASSERT_TRUE(gui::WaitFor([&] { return Text(sheet, IDC_BUTTON_PASSWORD) == "&Change Password..."; }));

    SendMessageA(Control(sheet, IDC_CHECK_PROTECT_ALL), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(End(), IDOK);
    EXPECT_EQ(m_doc->GetDataFile().GetFlags() & 0x03, 0x03);
    int32_t secret = AddArticle("secret", true);
    CloseFile();

    // Reopened with its password: everything reads.
    m_doc = std::make_unique<CQuorvaneDoc>(m_host);
    m_doc->SetSettings(&m_settings);
    gui::CGuiThread answer([] {
        HWND prompt = gui::WaitForTopWindow("Enter Your Password");
        if (prompt) {
            gui::SetText(GetDlgItem(prompt, IDC_EDIT_PASSWORD), "pw");
            gui::ClickButton(prompt, IDOK);
        }
    });
    ASSERT_TRUE(m_doc->OnOpenDocument(m_path));
    ASSERT_TRUE(answer.Join());
    EXPECT_STREQ(m_doc->GetArticleTitle(open), "open");
    EXPECT_STREQ(m_doc->GetArticleTitle(secret), "secret");
}

TEST_F(FilePropertySheet, ProtectAllWithoutAPasswordAndCancelChangesNothing)
{
    OpenFile();
    AddArticle("open", false);
    HWND sheet = Show();
    ASSERT_NE(sheet, nullptr);
    Tab(sheet, 2);
    SendMessageA(Control(sheet, IDC_CHECK_PROTECT_ALL), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageA(sheet, WM_COMMAND, IDOK, 0);
    HWND create = gui::WaitForTopWindow("Create Password");
    ASSERT_NE(create, nullptr);
    PostMessageA(create, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_PROTECTION_NOT_SET)));
    EXPECT_EQ(End(), IDOK);
    EXPECT_EQ(m_doc->GetDataFile().GetFlags() & 0x03, 0);
    EXPECT_FALSE(m_doc->HasPassword());
}

TEST_F(FilePropertySheet, ChangePasswordTellsAChangeOrARemovalAndRelabelsTheButton)
{
    // The new password typed, the question the dialog asks first (0 for none), the message that
    // follows and the button's text after it.
    struct Case {
        const char* newPassword;
        int question;
        int message;
        const char* button;
        bool hasPassword;
    } cases[] = {
        {"new", 0, IDS_PASSWORD_CHANGED, "&Change Password...", true},
        {"", 1312, IDS_PASSWORD_REMOVED, "&Set Password...", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newPassword);
        OpenFile();
        m_doc->SetPassword("old");
        HWND sheet = Show();
        ASSERT_NE(sheet, nullptr);
        Tab(sheet, 2);
        EXPECT_EQ(Text(sheet, IDC_BUTTON_PASSWORD), "&Change Password...");
        Click(sheet, IDC_BUTTON_PASSWORD);
        HWND change = gui::WaitForTopWindow("Change Password");
        ASSERT_NE(change, nullptr);
        gui::SetText(GetDlgItem(change, IDC_EDIT_OLD_PASSWORD), "old");
        gui::SetText(GetDlgItem(change, IDC_EDIT_NEW_PASSWORD), c.newPassword);
        gui::SetText(GetDlgItem(change, IDC_EDIT_VERIFY_PASSWORD), c.newPassword);
        ASSERT_TRUE(gui::ClickButton(change, IDOK));
        if (c.question)
            ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(c.question), IDYES));
        ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(c.message)));
        ASSERT_TRUE(gui::WaitFor([&] { return Text(sheet, IDC_BUTTON_PASSWORD) == c.button; }));
        PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
        EXPECT_EQ(End(), IDCANCEL);
        EXPECT_EQ(m_doc->HasPassword(), c.hasPassword);
        CloseFile();
        ::DeleteFileA(m_path.c_str());
    }
}

TEST_F(FilePropertySheet, F1OnTheGeneralAndPrivacyPagesAsksThePageTopic)
{
    OpenFile();
    HWND sheet = Show();
    ASSERT_NE(sheet, nullptr);
    auto f1 = [&](int id) {
        HELPINFO info = {};
        info.cbSize = sizeof info;
        info.iContextType = HELPINFO_WINDOW;
        info.iCtrlId = id;
        info.hItemHandle = Control(sheet, id);
        SendMessageA(Page(sheet), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    };
    f1(IDC_EDIT_COMMENTS);
    f1(IDC_STATIC_NO_HELP);
    Tab(sheet, 2);
    f1(IDC_CHECK_PROTECT_ALL);
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(End(), IDCANCEL);
    EXPECT_EQ(m_helpTopics, (std::vector<int>{IDD_FILE_PROPERTIES_GENERAL, IDD_FILE_PROPERTIES_PRIVACY}));
}

}  // namespace

namespace {

TEST_F(FilePropertySheet, HiddenPrivateArticlesAskForThePasswordOnThePrivacyTab)
{
    OpenFile();
    m_doc->SetPassword("pw");
    AddArticle("secret", true);
    AddArticle("open", false);
    m_doc->HidePrivateArticles();
    HWND sheet = Show();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(Text(sheet, IDC_STATIC_ARTICLE_COUNT), "1");

    // A wrong password keeps the tab the user came from.
    PostMessageA(sheet, PSM_SETCURSEL, 2, 0);
    HWND prompt = gui::WaitForTopWindow("Enter Your Password");
    ASSERT_NE(prompt, nullptr);
    gui::SetText(GetDlgItem(prompt, IDC_EDIT_PASSWORD), "wrong");
    ASSERT_TRUE(gui::ClickButton(prompt, IDOK));
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(1304)));
    ASSERT_TRUE(gui::WaitFor([&] { return TabIndex(sheet) == 0 && Page(sheet) == GetParent(Control(sheet, IDC_STATIC_FILE_SIZE)); }));
    EXPECT_TRUE(m_doc->ArePrivateArticlesHidden());

    // The right one opens the page, and the General page then counts the private articles.
    PostMessageA(sheet, PSM_SETCURSEL, 2, 0);
    prompt = gui::WaitForTopWindow("Enter Your Password");
    ASSERT_NE(prompt, nullptr);
    gui::SetText(GetDlgItem(prompt, IDC_EDIT_PASSWORD), "pw");
    ASSERT_TRUE(gui::ClickButton(prompt, IDOK));
    ASSERT_TRUE(gui::WaitFor([&] { return TabIndex(sheet) == 2 && Control(sheet, IDC_CHECK_PROTECT_ALL) != nullptr; }));
    EXPECT_EQ(Text(sheet, IDC_BUTTON_PASSWORD), "&Change Password...");
    Tab(sheet, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return Text(sheet, IDC_STATIC_ARTICLE_COUNT) == "2   (1 Private)"; }));
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(End(), IDCANCEL);
}

}  // namespace

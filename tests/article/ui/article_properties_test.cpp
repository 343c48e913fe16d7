// Article Properties of a stored article over a real knowledge base on a temporary file: the sheet
// runs on a thread of its own while the test thread reads its pages, clicks, answers the attachment
// dialogs and presses OK; then the article is read back from the file.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "article/article_properties_model.h"
#include "article/ui/article_properties.h"
#include "document/quorvane_doc.h"
#include "document/ui/password_dlg_res.h"
#include "framework/native_path.h"
#include "framework/string_table.h"
#include "resources/article_properties_res.h"
#include "resources/file_properties_res.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "storage/article_record.h"
#include "storage/link_shell.h"
#include "tests/document/ui/test_windows_doc_host.h"
#include "tests/storage/test_seams.h"
#include "tests/support/gui_driver.h"
#include "tests/support/sheet_driver.h"
#include "tests/support/temp_folder.h"

namespace {

std::string FileBytes(const std::string& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Opens nothing for real: records what the shell was asked and answers the not-found search.
class CRecordingShell : public ILinkShell {
public:
    CRecordingShell() { m_previous = SetLinkShell(this); }
    ~CRecordingShell() override { SetLinkShell(m_previous); }

    bool PathExists(const std::string& path, bool& isFolder) override
    {
        auto found = existing.find(path);
        if (found == existing.end())
            return false;
        isFolder = found->second;
        return true;
    }
    intptr_t Execute(const char*, const std::string& file, const std::string&) override
    {
        opened.push_back(file);
        ++openCount;
        return 42;
    }
    std::string FolderProgram() override { return std::string(); }
    bool CanSearchMissing() override { return true; }
    std::string BaseFolder() override { return "C:\\Notes"; }
    int FindMissing(std::string& path, int32_t) override
    {
        if (foundAt.empty())
            return 2;
        path = foundAt;
        return 1;
    }

    std::map<std::string, bool> existing;
    std::string foundAt;
    std::vector<std::string> opened;  // written on the sheet's thread, read after it ended
    std::atomic<int> openCount{0};

private:
    ILinkShell* m_previous;
};

class ArticlePropertiesTest : public ::testing::Test, protected gui::CSheetDriver {
protected:
    void SetUp() override
    {
        m_path = m_folder.File("kb.xrd");
        m_doc = std::make_unique<CQuorvaneDoc>(m_host);
        m_doc->SetSettings(&m_settings);
        m_doc->SetDirectories(&m_directories);
        ASSERT_TRUE(m_doc->CreateNewFile(m_path));
    }
    void TearDown() override
    {
        m_doc->DeleteContents();
        m_doc.reset();
    }

    int32_t AddArticle(const std::vector<CLinkTarget>& attachments = {})
    {
        CArticleRecord record;
        record.SetRichTextVersion();
        record.SetTitle("Garden plans");
        record.SetDate(20240305);
        record.SetTime(9 * 3600 + 5 * 60 + 7);
        record.SetRtfText("{\\rtf1\\ansi " + std::string(1234, 'x') + "}");
        for (const CLinkTarget& target : attachments)
            record.AddAttachment(target);
        int32_t id = m_doc->AddArticle(record, true, false);
        m_doc->Flush();
        return id;
    }
    CArticleRecord Stored(int32_t id)
    {
        CArticleRecord record;
        m_doc->LoadArticle(id, record);
        return record;
    }

    // Shows the sheet of article `id` on page `page` on its own thread; returns its window.
    HWND Show(int32_t id, int page)
    {
        m_ui = std::make_unique<gui::CGuiThread>([this, id, page] {
            m_written = RunStoredArticleProperties(*m_doc, id, page, nullptr);
        });
        return gui::WaitForTopWindow("Article Properties");
    }
    bool End() { return m_ui->Join() && m_written.load(); }
    // Selects list item `index` alone, as a click would, and tells the page.
    void SelectItem(HWND sheet, int index)
    {
        HWND list = Control(sheet, IDC_ATT_LIST);
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        SendMessageA(list, LB_SETSEL, TRUE, index);
        PostMessageA(Page(sheet), WM_COMMAND, MAKEWPARAM(IDC_ATT_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        gui::WaitFor([&] { return Enabled(sheet, IDC_ATT_OPEN); }, 3000);
    }
    std::vector<std::string> ListTexts(HWND sheet)
    {
        HWND list = Control(sheet, IDC_ATT_LIST);
        std::vector<std::string> texts;
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            texts.push_back(text);
        }
        return texts;
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
    std::atomic<bool> m_written{false};
};

CLinkTarget Target(int kind, const std::string& text)
{
    CLinkTarget target;
    target.Set(kind, text);
    return target;
}

TEST_F(ArticlePropertiesTest, GeneralShowsTheArticleAndOkWithoutAChangeWritesNothing)
{
    int32_t id = AddArticle({Target(CLinkTarget::kInternet, "https://example.org/")});
    const CArticleRecord stored = Stored(id);
    const std::string before = FileBytes(m_path);

    HWND sheet = Show(id, 0);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TabIndex(sheet), 0);
    EXPECT_EQ(TabCtrl_GetItemCount(PropSheet_GetTabControl(sheet)), 2);
    EXPECT_EQ(Text(sheet, IDC_PROP_TITLE), "Garden plans");
    EXPECT_EQ(Text(sheet, IDC_PROP_CREATED), ArticleStampText(stored.GetDateOf(CArticleRecord::kCreatedDate),
                                                              stored.GetTimeOf(CArticleRecord::kCreatedDate)));
    EXPECT_EQ(Text(sheet, IDC_PROP_MODIFIED), ArticleStampText(stored.GetDateOf(CArticleRecord::kModifiedDate),
                                                               stored.GetTimeOf(CArticleRecord::kModifiedDate)));
    EXPECT_EQ(Text(sheet, IDC_PROP_LENGTH), "1,234 characters");
    EXPECT_EQ(Text(sheet, IDC_PROP_ATTACHMENTS), "1");
    EXPECT_EQ(Text(sheet, IDC_PROP_LINKS), "0");
    EXPECT_TRUE(Enabled(sheet, IDC_PROP_PRIVATE));
    EXPECT_TRUE(Enabled(sheet, IDC_PROP_TIME));

    PressOk(sheet);
    EXPECT_FALSE(End()) << "nothing changed, nothing written";
    EXPECT_EQ(FileBytes(m_path), before);
}

TEST_F(ArticlePropertiesTest, AChangeStampsNowOnlyWhenTheDatesWereLeftAlone)
{
    m_settings.SetAutoUpdateDates(1);
    CPinnedClock clock(MakeLocalTime(2030, 1, 2, 3, 4, 5));
    const struct Case {
        const char* name;
        bool editDate;
        int32_t date;
        int32_t time;
    } cases[] = {
        {"word wrap only", false, 20300102, 3 * 3600 + 4 * 60 + 5},
        {"date typed", true, 20250102, 9 * 3600 + 5 * 60 + 7},
    };
    for (const Case& c : cases) {
        int32_t id = AddArticle();
        HWND sheet = Show(id, 0);
        ASSERT_NE(sheet, nullptr) << c.name;
        if (c.editDate) {
            HWND date = Control(sheet, IDC_PROP_DATE);
            gui::SetText(date, "1/2/2025");
        }
        HWND wrap = Control(sheet, IDC_PROP_WORD_WRAP);
        SendMessageA(wrap, BM_SETCHECK, BST_UNCHECKED, 0);
        Click(sheet, IDC_PROP_WORD_WRAP);
        PressOk(sheet);
        EXPECT_TRUE(End()) << c.name;
        CArticleRecord record = Stored(id);
        EXPECT_EQ(record.GetDateOf(CArticleRecord::kOwnDate), c.date) << c.name;
        EXPECT_EQ(record.GetTimeOf(CArticleRecord::kOwnDate), c.time) << c.name;
        EXPECT_EQ(record.GetInfo().GetWordWrap(), 0) << c.name;
    }
}

// A plain-text record has no room for the page's options: the article becomes rich text, its text kept.
TEST_F(ArticlePropertiesTest, APlainTextArticleBecomesRichTextSoItsChangedOptionsAreKept)
{
    CArticleRecord plain;
    plain.SetPlainTextVersion();
    plain.SetTitle("Plain notes");
    plain.SetDate(20240305);
    plain.SetText("first line\r\nsecond line");
    const int32_t id = m_doc->AddArticle(plain, false, false);
    m_doc->Flush();
    ASSERT_EQ(Stored(id).GetVersion(), CArticleRecord::kPlainTextVersion);

    HWND sheet = Show(id, 0);
    ASSERT_NE(sheet, nullptr);
    SendMessageA(Control(sheet, IDC_PROP_WORD_WRAP), BM_SETCHECK, BST_UNCHECKED, 0);
    Click(sheet, IDC_PROP_WORD_WRAP);
    PressOk(sheet);
    EXPECT_TRUE(End());

    const CArticleRecord stored = Stored(id);
    EXPECT_GT(stored.GetVersion(), CArticleRecord::kPlainTextVersion);
    EXPECT_EQ(stored.GetInfo().GetWordWrap(), 0);
    const std::string text = m_host.RtfToPlainText(stored.GetRtfText());
    EXPECT_NE(text.find("first line"), std::string::npos) << text;
    EXPECT_NE(text.find("second line"), std::string::npos) << text;
}

TEST_F(ArticlePropertiesTest, AttachmentsAreReorderedDetachedAddedAndOpenedFromTheirPage)
{
    CRecordingShell shell;
    shell.existing["C:\\Notes\\moved\\c.txt"] = false;
    shell.foundAt = "C:\\Notes\\moved\\c.txt";
    int32_t id = AddArticle({Target(CLinkTarget::kFile, "C:\\Notes\\a.txt"),
                             Target(CLinkTarget::kInternet, "https://example.org/"),
                             Target(CLinkTarget::kFile, "C:\\Other\\b.txt")});
    HWND sheet = Show(id, 1);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(TabIndex(sheet), 1);
    EXPECT_EQ(ListTexts(sheet), (std::vector<std::string>{"C:\\Notes\\a.txt", "https://example.org/", "C:\\Other\\b.txt"}));
    // The first item is selected: it may go down, not up.
    EXPECT_TRUE(Enabled(sheet, IDC_ATT_OPEN));
    EXPECT_FALSE(Enabled(sheet, IDC_ATT_MOVE_UP));
    EXPECT_TRUE(Enabled(sheet, IDC_ATT_MOVE_DOWN));

    Click(sheet, IDC_ATT_MOVE_DOWN);
    ASSERT_TRUE(gui::WaitFor([&] { return ListTexts(sheet)[0] == "https://example.org/"; }));
    EXPECT_TRUE(Enabled(sheet, IDC_ATT_MOVE_UP));

    // Detach the last one: the question lists it; Yes takes it away.
    SelectItem(sheet, 2);
    Click(sheet, IDC_ATT_DETACH);
    HWND detach = gui::WaitForTopWindow("Detach Attachments");
    ASSERT_NE(detach, nullptr);
    EXPECT_EQ(SendMessageA(GetDlgItem(detach, IDC_DETACH_LIST), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(detach, DM_GETDEFID, 0, 0) & 0xFFFF, IDC_DETACH_NO);
    PostMessageA(detach, WM_COMMAND, IDC_DETACH_YES, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return ListTexts(sheet).size() == 2; }));

    // Add a file below the base folder: kept relative.
    Click(sheet, IDC_ATT_ADD);
    HWND add = gui::WaitForTopWindow("Article Attachment Properties");
    ASSERT_NE(add, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(add, IDOK))) << "no text, no OK";
    gui::SetText(GetDlgItem(add, IDC_ATP_TARGET), "  C:\\Notes\\sub\\c.txt ");
    ASSERT_TRUE(gui::WaitFor([&] { return IsWindowEnabled(GetDlgItem(add, IDOK)) != FALSE; }));
    PostMessageA(add, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return ListTexts(sheet).size() == 3; }));
    EXPECT_EQ(ListTexts(sheet)[2], "sub\\c.txt");

    // Opening it finds it moved: the new place is kept, relative again.
    ASSERT_TRUE(gui::WaitFor([&] { return Enabled(sheet, IDC_ATT_OPEN); }));
    Click(sheet, IDC_ATT_OPEN);
    ASSERT_TRUE(gui::WaitFor([&] { return ListTexts(sheet)[2] == "moved\\c.txt"; }));

    PressOk(sheet);
    EXPECT_TRUE(End());
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"C:\\Notes\\moved\\c.txt"}));
    CArticleRecord record = Stored(id);
    ASSERT_EQ(record.GetAttachmentCount(), 3);
    EXPECT_EQ(record.GetAttachments().Item(0)->GetStoredTarget(), "https://example.org/");
    EXPECT_EQ(record.GetAttachments().Item(1)->GetStoredTarget(), "C:\\Notes\\a.txt");
    EXPECT_EQ(record.GetAttachments().Item(2)->GetStoredTarget(), "moved\\c.txt");
    EXPECT_EQ(record.GetTitle(), "Garden plans");
}

TEST_F(ArticlePropertiesTest, MakePrivateNeedsAPasswordAndWarnsOfTheReminder)
{
    int32_t id = AddArticle();
    ReminderRecord reminder;
    m_doc->GetReminders().InitReminder(reminder);
    reminder.articleId = id;
    reminder.date = 20300101;
    m_doc->GetReminders().SetReminder(-1, reminder);
    HWND sheet = Show(id, 0);
    ASSERT_NE(sheet, nullptr);
    HWND check = Control(sheet, IDC_PROP_PRIVATE);
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    Click(sheet, IDC_PROP_PRIVATE);

    // No password yet: Create Password; cancelled, the article stays as it was and the sheet open.
    PressOk(sheet);
    HWND create = gui::WaitForTopWindow("Create Password");
    ASSERT_NE(create, nullptr);
    PostMessageA(create, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_ARTICLE_PROTECTION_NOT_SET)));
    ASSERT_TRUE(gui::WaitFor([&] { return gui::FindTopWindow("Create Password") == nullptr; }));
    EXPECT_TRUE(IsWindow(sheet));

    // Given: told it is set, then that the reminder shows only while private articles show.
    PressOk(sheet);
    create = gui::WaitForTopWindow("Create Password");
    ASSERT_NE(create, nullptr);
    gui::SetText(GetDlgItem(create, IDC_EDIT_PASSWORD), "pw");
    gui::SetText(GetDlgItem(create, IDC_EDIT_VERIFY_PASSWORD), "pw");
    PostMessageA(create, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_PASSWORD_SET)));
    ASSERT_TRUE(gui::AnswerMessageBox(QuorLoadString(IDS_PRIVATE_ARTICLE_REMINDER)));
    EXPECT_TRUE(End());
    EXPECT_TRUE(m_doc->HasPassword());
    EXPECT_TRUE(Stored(id).IsPrivate());
    EXPECT_TRUE(m_doc->IsArticlePrivate(id));
}

TEST_F(ArticlePropertiesTest, AReadOnlyFileOpensAttachmentsButChangesNothing)
{
    int32_t id = AddArticle({Target(CLinkTarget::kInternet, "https://example.org/")});
    m_doc->DeleteContents();
    m_doc = std::make_unique<CQuorvaneDoc>(m_host);
    m_doc->SetSettings(&m_settings);
    m_doc->SetDirectories(&m_directories);
    m_doc->SetOpenOptions(true, false);
    ASSERT_TRUE(m_doc->OnOpenDocument(m_path));
    CRecordingShell shell;

    HWND sheet = Show(id, 0);
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(Enabled(sheet, IDC_PROP_PRIVATE));
    EXPECT_FALSE(Enabled(sheet, IDC_PROP_TIME));
    EXPECT_NE(GetWindowLongPtrA(Control(sheet, IDC_PROP_DATE), GWL_STYLE) & ES_READONLY, 0);
    PostMessageA(sheet, PSM_SETCURSEL, 1, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return TabIndex(sheet) == 1 && Control(sheet, IDC_ATT_LIST) != nullptr; }));
    ASSERT_TRUE(gui::WaitFor([&] { return Enabled(sheet, IDC_ATT_OPEN); }));
    for (int control : {IDC_ATT_ADD, IDC_ATT_EDIT, IDC_ATT_DETACH, IDC_ATT_AUTO_OPEN, IDC_ATT_FULL_PATHS})
        EXPECT_FALSE(Enabled(sheet, control)) << control;
    Click(sheet, IDC_ATT_OPEN);
    ASSERT_TRUE(gui::WaitFor([&] { return shell.openCount.load() == 1; }));
    PressOk(sheet);
    EXPECT_FALSE(End());
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"https://example.org/"}));
}

}  // namespace

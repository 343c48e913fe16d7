// Add Keywords To Index on real windows over a temporary data file: completion, the New Keywords
// list, Clear's question, the groups pane, OK making the keywords (in the highlighted groups), and
// the rectangle kept in the settings. The dialog runs on a thread of its own; the file is read back
// after it ended.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "index/ui/add_keywords_dlg.h"
#include "index/ui/add_keywords_dlg_res.h"
#include "shell/app_settings.h"
#include "shell/memory_profile_store.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

const char kCaption[] = "Add Keywords To Index";

void Command(HWND dialog, int id, int code = BN_CLICKED)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void Focus(HWND dialog, int id)
{
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

// Characters typed into the edit one by one, each changing it as the user's typing does.
void Type(HWND edit, const std::string& text)
{
    for (char c : text)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

std::string Selection(HWND edit)
{
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::to_string(start) + "-" + std::to_string(end);
}

std::vector<std::string> Items(HWND list)
{
    std::vector<std::string> items;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

class AddKeywordsDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.File("add.xrd");
        m_document = std::make_unique<CQuorvaneDoc>(m_host);
        ASSERT_TRUE(m_document->CreateNewFile(m_path));
        for (const char* name : {"Alpha", "Project", "Zebra"})
            m_document->AddKeyword(name, false);
        CKeywordGroupRecord group;
        group.SetName("Plans");
        m_plans = m_document->AddKeywordGroup(group);
        group.SetName("Other");
        m_other = m_document->AddKeywordGroup(group);
        m_settings.ResetSettings();
        m_document->SetSettings(&m_settings);
    }
    void TearDown() override { m_document->DeleteContents(); }

    INT_PTR Run(const std::function<void(HWND)>& script)
    {
        std::atomic<INT_PTR> result{-2};
        {
            gui::CGuiThread ui([&] {
                CAddKeywordsDlg dialog;
                dialog.Setup(m_document.get(), nullptr);
                result = dialog.DoModal();
                m_added = dialog.AddedIds().Values();
            });
            HWND window = gui::WaitForTopWindow(kCaption);
            EXPECT_NE(window, nullptr);
            if (window)
                script(window);
            EXPECT_TRUE(ui.Join());
        }
        return result;
    }

    CTempFolder m_folder;
    std::string m_path;
    CRecordingHost m_host;
    std::unique_ptr<CQuorvaneDoc> m_document;
    CMemoryProfileStore m_settingsStore;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_settingsStore, m_fonts, m_directories};
    int32_t m_plans = 0;
    int32_t m_other = 0;
    std::vector<int32_t> m_added;
};

}  // namespace

TEST_F(AddKeywordsDlgTest, CompletionNewNamesAndOkMakesThemInTheHighlightedGroups)
{
    std::string completed, selection, afterBackspace;
    std::vector<std::string> listed;
    std::string groupsCaption, toggleCaption;
    RECT closed = {}, opened = {};
    INT_PTR result = Run([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_ADDKW_NEW);
        HWND names = GetDlgItem(dialog, IDC_ADDKW_NEW_KEYWORDS);
        Focus(dialog, IDC_ADDKW_NEW);
        // "pro" completes to Project with "ject" selected; Backspace removes the selection and
        // completes no more.
        Type(edit, "pro");
        completed = gui::GetText(edit);
        selection = Selection(edit);
        SendMessageA(edit, WM_CHAR, VK_BACK, 0);
        afterBackspace = gui::GetText(edit);
        // Enter adds a new name ("prob"), an existing one in any case adds nothing.
        Type(edit, "b");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        gui::SetText(edit, "  ZEBRA ");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        gui::SetText(edit, "  Idea ");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        gui::SetText(edit, "Idea");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        listed = Items(names);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ADDKW_CLEAR)));
        EXPECT_EQ(gui::GetText(edit), "");

        // The groups pane: the dialog widens, the caption counts the highlighted groups.
        GetWindowRect(dialog, &closed);
        Command(dialog, IDC_ADDKW_SHOW_GROUPS);
        GetWindowRect(dialog, &opened);
        toggleCaption = gui::GetText(GetDlgItem(dialog, IDC_ADDKW_SHOW_GROUPS));
        HWND groups = GetDlgItem(dialog, IDC_ADDKW_GROUPS);
        EXPECT_TRUE(IsWindowVisible(groups));
        SendMessageA(groups, LB_SETSEL, TRUE, 0);  // "Other" sorts first
        SendMessageA(groups, LB_SETSEL, TRUE, 1);
        SendMessageA(groups, LB_SETSEL, FALSE, 0);
        Command(dialog, IDC_ADDKW_GROUPS, LBN_SELCHANGE);
        groupsCaption = gui::GetText(GetDlgItem(dialog, IDC_ADDKW_GROUPS_LABEL));
        gui::ClickButton(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(completed, "project");
    EXPECT_EQ(selection, "3-7");
    EXPECT_EQ(afterBackspace, "pro");
    EXPECT_EQ(listed, (std::vector<std::string>{"Idea", "prob"}));
    EXPECT_EQ(toggleCaption, "Hide &Groups");
    EXPECT_GT(opened.right - opened.left, closed.right - closed.left);
    EXPECT_EQ(groupsCaption, "Add New Keywords to &Selected Groups (1 of 2)");
    ASSERT_EQ(m_added.size(), 2u);
    for (int32_t id : m_added) {
        CGroupIdSet groups;
        m_document->GetGroupsOfKeyword(id, groups);
        EXPECT_EQ(groups.Values(), (std::vector<int32_t>{m_plans})) << m_document->GetKeywordName(id);
    }
    EXPECT_NE(m_document->FindKeyword("prob"), kNoneId);
    EXPECT_EQ(m_document->GetKeywordCount(), 5);
    // OK stored the rectangle, as it stands without the pane.
    EXPECT_EQ(m_settings.GetKeywordDialogRect().left, opened.left);
    EXPECT_EQ(m_settings.GetKeywordDialogRect().right, closed.right);
}

TEST_F(AddKeywordsDlgTest, ClearAsksFirstAndAltOKeepsTheStoredRectangle)
{
    INT_PTR result = Run([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_ADDKW_NEW);
        Focus(dialog, IDC_ADDKW_NEW);
        gui::SetText(edit, "First");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ADDKW_CLEAR, BN_CLICKED), 0);
        EXPECT_TRUE(gui::AnswerMessageBox(QuorLoadString(10050), IDNO));
        EXPECT_TRUE(gui::WaitFor([&] { return !gui::FindMessageBox("Clear the new keyword list"); }));
        EXPECT_EQ(Items(GetDlgItem(dialog, IDC_ADDKW_NEW_KEYWORDS)).size(), 1u);
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_ADDKW_CLEAR, BN_CLICKED), 0);
        EXPECT_TRUE(gui::AnswerMessageBox(QuorLoadString(10050), IDYES));
        EXPECT_TRUE(gui::WaitFor([&] { return Items(GetDlgItem(dialog, IDC_ADDKW_NEW_KEYWORDS)).empty(); }));
        gui::SetText(edit, "Second");
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        // Alt+O, as the dialog's loop sees it: OK without storing the rectangle. The accelerator
        // reads Alt from the key state, which the dialog's thread shares with this one meanwhile.
        gui::CKeyHeld alt(VK_MENU, dialog);
        PostMessageA(edit, WM_SYSKEYDOWN, 'O', 0x20000001);
        EXPECT_TRUE(gui::WaitFor([&] { return !IsWindow(dialog); }));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(m_document->FindKeyword("First"), kNoneId);
    EXPECT_NE(m_document->FindKeyword("Second"), kNoneId);
    EXPECT_EQ(m_settings.GetKeywordDialogRect().bottom, 0);
}

TEST_F(AddKeywordsDlgTest, AStoredRectangleOffTheDesktopIsCentred)
{
    CAppSettings::Rect away;
    away.left = 20000;
    away.top = 100;
    away.right = 20300;
    away.bottom = 500;
    m_settings.SetKeywordDialogRect(away);
    RECT placed = {};
    INT_PTR result = Run([&](HWND dialog) {
        GetWindowRect(dialog, &placed);
        gui::PressKey(dialog, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    EXPECT_NEAR((placed.left + placed.right) / 2, desktop.right / 2, 2);
    EXPECT_EQ(placed.bottom - placed.top, 400);
    EXPECT_EQ(m_document->GetKeywordCount(), 3);
}

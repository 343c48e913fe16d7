// The article dialogs run modally over a temporary data file, driven from inside their own modal
// loop by a timer: Keywords for Article (moves, typed keywords, completion, Clear, the groups pane,
// the remembered rectangle), Delete Articles, Save Unsaved Articles and Duplicate Articles.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "article/ui/article_dlgs.h"
#include "article/ui/article_keywords_dlg.h"
#include "article/ui/article_view.h"
#include "article/ui/shared_keywords_dlg.h"
#include "article/ui/shared_keywords_dlg_res.h"
#include "resources/article_res.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "resources/commands.h"
#include "shell/memory_profile_store.h"
#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

// Runs `run` (a DoModal) while `script` drives the dialog once its window exists.
std::function<bool()> g_ready;
std::function<void()> g_script;

void CALLBACK ScriptTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    if (!g_ready || !g_ready())
        return;
    KillTimer(nullptr, id);
    auto script = std::move(g_script);
    g_ready = nullptr;
    script();
}

INT_PTR RunScripted(CDialog& dialog, std::function<void()> script)
{
    g_ready = [&dialog] { return dialog.m_hWnd != nullptr && IsWindowVisible(dialog.m_hWnd); };
    g_script = std::move(script);
    UINT_PTR timer = SetTimer(nullptr, 0, 10, ScriptTimer);
    INT_PTR result = dialog.DoModal();
    KillTimer(nullptr, timer);
    g_ready = nullptr;
    g_script = nullptr;
    return result;
}

void Type(HWND edit, const std::string& text)
{
    for (char c : text)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

std::string Text(HWND hwnd)
{
    char buffer[512] = {};
    GetWindowTextA(hwnd, buffer, sizeof(buffer));
    return buffer;
}

class ArticleDlgsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.File("dialogs.xrd");
        m_document = std::make_unique<CQuorvaneDoc>(m_host);
        ASSERT_TRUE(m_document->CreateNewFile(m_path));
        for (const char* name : {"apple", "Banana", "berry", "cherry"})
            m_document->AddKeyword(name, false);
        CKeywordGroupRecord group;
        group.SetName("Fruit");
        m_group = m_document->AddKeywordGroup(group);
        CKeywordIdSet fruit;
        fruit.Add(0);
        fruit.Add(1);
        CGroupIdSet groups;
        groups.Add(m_group);
        m_document->AddKeywordsToGroups(fruit, groups);
        for (int i = 0; i < 5; ++i) {
            CArticleRecord record;
            record.SetTitle("Title " + std::to_string(i));
            record.SetDate(20240101 + i);
            CKeywordIdSet keywords;
            keywords.Add(i % 2);
            record.SetKeywordIds(keywords);
            m_ids.push_back(m_document->AddArticle(record, false, false));
        }
        m_settings.ResetSettings();
        CArticleKeywordsDlg::SetSettings(&m_settings);
        CArticleViewServices services;
        services.messageBox = [this](HWND, const std::string& text, UINT) {
            m_asked.push_back(text);
            return m_answer;
        };
        CArticleView::SetServices(services);
    }
    void TearDown() override
    {
        CArticleView::SetServices(CArticleViewServices());
        CArticleKeywordsDlg::SetSettings(nullptr);
        m_document->DeleteContents();
    }
    static void PressOk(CDialog& dialog) { SendMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0); }

    CTempFolder m_folder;
    std::string m_path;
    CRecordingHost m_host;
    std::unique_ptr<CQuorvaneDoc> m_document;
    int32_t m_group = 0;
    std::vector<int32_t> m_ids;
    CMemoryProfileStore m_settingsStore;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_settingsStore, m_fonts, m_directories};
    std::vector<std::string> m_asked;
    int m_answer = IDNO;
};

TEST_F(ArticleDlgsTest, TypedKeywordsMovesAndCompletion)
{
    CArticleKeywordsDlg dialog(*m_document);
    dialog.m_title = "My article";
    dialog.m_assigned.Add(3);
    int32_t pending = 0;
    std::string caption, completed, afterBackspace, selection;
    INT_PTR result = RunScripted(dialog, [&] {
        HWND edit = GetDlgItem(dialog.m_hWnd, IDC_KEYWORDS_NEW);
        caption = Text(dialog.m_hWnd);
        EXPECT_EQ(dialog.AvailableList().GetCount(), 3);
        EXPECT_EQ(GetFocus(), edit);

        // A new name and Enter: assigned as a pending keyword; removed, it stays out of Available.
        Type(edit, "Kiwi");
        PressOk(dialog);
        pending = m_document->GetKeywordIdByName("Kiwi");
        EXPECT_LT(pending, 0);
        EXPECT_TRUE(dialog.AssignedList().HasId(pending));
        EXPECT_TRUE(IsWindowVisible(dialog.m_hWnd));
        dialog.AssignedList().SendMessage(LB_SETSEL, FALSE, -1);
        dialog.AssignedList().SelectId(pending);
        SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_KEYWORDS_UNASSIGN, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.m_hWnd, IDC_KEYWORDS_UNASSIGN)));
        EXPECT_FALSE(dialog.AssignedList().HasId(pending));
        EXPECT_FALSE(dialog.AvailableList().HasId(pending));

        // Two letters in any case complete an available name, the rest selected; Backspace
        // completes no more.
        SetFocus(edit);
        Type(edit, "bA");
        completed = Text(edit);
        DWORD start = 0, end = 0;
        SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        selection = std::to_string(start) + "-" + std::to_string(end);
        SendMessageA(edit, WM_KEYDOWN, VK_BACK, 0);
        SendMessageA(edit, WM_CHAR, VK_BACK, 0);
        afterBackspace = Text(edit);

        // Move apple across with >>.
        SetWindowTextA(edit, "");
        dialog.AvailableList().SelectId(0);
        SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_KEYWORDS_ASSIGN, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.m_hWnd, IDC_KEYWORDS_ASSIGN)));
        EXPECT_TRUE(dialog.AssignedList().HasId(0));
        EXPECT_FALSE(dialog.AvailableList().HasId(0));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog.m_hWnd, IDC_KEYWORDS_CLEAR)));

        // Enter in the empty edit is OK.
        SetFocus(edit);
        PressOk(dialog);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(caption, "Keywords for Article: My article");
    EXPECT_EQ(completed, "bAnana");
    EXPECT_EQ(selection, "2-6");
    EXPECT_EQ(afterBackspace, "bA");
    EXPECT_TRUE(dialog.IsChanged());
    EXPECT_EQ(dialog.m_assigned.Values(), (std::vector<int32_t>{0, 3}));
}

TEST_F(ArticleDlgsTest, ClearAsksTheFilterOpensLeftwardsAndTheRectangleIsKept)
{
    CArticleKeywordsDlg dialog(*m_document);
    dialog.m_assigned.Add(2);
    dialog.m_assigned.Add(3);
    RECT closed = {}, opened = {};
    int filtered = -1, unfilteredGroups = -1;
    INT_PTR result = RunScripted(dialog, [&] {
        m_answer = IDNO;
        SendMessageA(dialog.m_hWnd, WM_COMMAND, IDC_KEYWORDS_CLEAR, 0);
        EXPECT_EQ(dialog.AssignedList().GetCount(), 2);
        m_answer = IDYES;
        SendMessageA(dialog.m_hWnd, WM_COMMAND, IDC_KEYWORDS_CLEAR, 0);
        EXPECT_EQ(dialog.AssignedList().GetCount(), 0);
        EXPECT_EQ(dialog.AvailableList().GetCount(), 4);

        GetWindowRect(dialog.m_hWnd, &closed);
        SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_KEYWORDS_FILTER, BN_CLICKED), 0);
        GetWindowRect(dialog.m_hWnd, &opened);
        EXPECT_TRUE(dialog.IsGroupsPaneShown());
        unfilteredGroups = dialog.AvailableList().GetCount();  // no group chosen: all pass
        dialog.GroupList().SetGroupSel(m_group, true);
        SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_KEYWORDS_GROUPS, LBN_SELCHANGE), 0);
        filtered = dialog.AvailableList().GetCount();
        SendMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(m_asked.size(), 2u);
    EXPECT_EQ(m_asked[0], QuorLoadString(IDS_CLEAR_ASSIGNED_KEYWORDS));
    EXPECT_EQ(opened.right, closed.right);
    EXPECT_EQ(opened.left, closed.left - dialog.PaneWidth());
    EXPECT_EQ(unfilteredGroups, 4);
    EXPECT_EQ(filtered, 2);
    // Stored as if the pane were hidden.
    EXPECT_EQ(m_settings.GetKeywordDialogRect().left, closed.left);
    EXPECT_EQ(m_settings.GetKeywordDialogRect().right, closed.right);

    // A remembered rectangle off the desktop: centred.
    CAppSettings::Rect away;
    away.left = -5000;
    away.top = -5000;
    away.right = -4600;
    away.bottom = -4700;
    m_settings.SetKeywordDialogRect(away);
    CArticleKeywordsDlg again(*m_document);
    RECT placed = {};
    RunScripted(again, [&] {
        GetWindowRect(again.m_hWnd, &placed);
        SendMessageA(again.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    RECT desktop;
    GetClientRect(GetDesktopWindow(), &desktop);
    EXPECT_NEAR((placed.left + placed.right) / 2, desktop.right / 2, 2);
}

TEST_F(ArticleDlgsTest, AltOAcceptsFromAnyControlAndTheGripSizesTheHeightOnly)
{
    CArticleKeywordsDlg dialog(*m_document);
    std::unique_ptr<gui::CKeyHeld> alt;
    LRESULT hit = 0;
    int listBottom = 0, clientBottom = 0;
    INT_PTR result = RunScripted(dialog, [&] {
        // The grip in the lower right corner sizes the bottom edge.
        RECT grip = dialog.GetGripRect();
        POINT corner = {grip.right - 3, grip.bottom - 3};
        ClientToScreen(dialog.m_hWnd, &corner);
        hit = SendMessageA(dialog.m_hWnd, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y));
        RECT window;
        GetWindowRect(dialog.m_hWnd, &window);
        MoveWindow(dialog.m_hWnd, window.left, window.top, window.right - window.left + 50,
                   window.bottom - window.top + 60, TRUE);
        RECT list, client;
        GetWindowRect(dialog.AssignedList().m_hWnd, &list);
        MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&list), 2);
        GetClientRect(dialog.m_hWnd, &client);
        listBottom = list.bottom;
        clientBottom = client.bottom;
        RECT after;
        GetWindowRect(dialog.m_hWnd, &after);
        EXPECT_EQ(after.right - after.left, window.right - window.left) << "the width stays";
        EXPECT_EQ(after.bottom - after.top, window.bottom - window.top + 60);

        // The assigned list's menu: Remove Keyword only, greyed while nothing is assigned.
        HMENU menu = dialog.MakeAssignedMenu();
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(menu, 0)), 1);
        EXPECT_EQ(GetMenuState(menu, IDM_KEYWORD_REMOVE, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
        DestroyMenu(menu);

        // Alt+O with the focus in the available list, as the dialog's own loop gets it: the typed
        // keyword is taken and the dialog ends. Alt reads as held until the loop has taken the key; a
        // key left untranslated lets the Cancel behind it end the dialog instead.
        Type(GetDlgItem(dialog.m_hWnd, IDC_KEYWORDS_NEW), "Melon");
        dialog.AvailableList().SetFocus();
        alt = std::make_unique<gui::CKeyHeld>(VK_MENU);
        PostMessageA(dialog.AvailableList().m_hWnd, WM_SYSKEYDOWN, 'O', 0x20000001);
        PostMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(hit, HTBOTTOM);
    EXPECT_EQ(listBottom, clientBottom - 5);
    alt.reset();
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(dialog.m_assigned.Contains(m_document->GetKeywordIdByName("Melon")));
}

TEST_F(ArticleDlgsTest, DeleteArticlesShowsTheCountWithTheFocusOnNo)
{
    CDeleteArticlesDlg dialog(*m_document);
    dialog.m_ids.Add(m_ids[1]);
    std::string label;
    HWND focus = nullptr, no = nullptr;
    int listed = 0;
    INT_PTR result = RunScripted(dialog, [&] {
        label = Text(GetDlgItem(dialog.m_hWnd, IDC_DELETE_TITLES_LABEL));
        focus = GetFocus();
        no = GetDlgItem(dialog.m_hWnd, IDCANCEL);
        listed = dialog.TitleList().GetCount();
        SendMessageA(dialog.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(label, "Titles (1) ");
    EXPECT_EQ(focus, no);
    EXPECT_EQ(listed, 1);
}

TEST_F(ArticleDlgsTest, SaveUnsavedNamesTheOperationThrice)
{
    CSaveUnsavedDlg dialog;
    dialog.m_operation = "Export";
    std::vector<std::string> lines;
    INT_PTR result = RunScripted(dialog, [&] {
        for (int id : {IDC_UNSAVED_AFFECT, IDC_UNSAVED_SAVE, IDC_UNSAVED_CANCEL})
            lines.push_back(Text(GetDlgItem(dialog.m_hWnd, id)));
        CheckDlgButton(dialog.m_hWnd, IDC_SAVE_WITHOUT_WARNINGS, BST_CHECKED);
        SendMessageA(dialog.m_hWnd, WM_COMMAND, IDYES, 0);
    });
    EXPECT_EQ(result, IDYES);
    EXPECT_TRUE(dialog.m_noWarnings);
    EXPECT_EQ(lines, (std::vector<std::string>{"There are unsaved articles which may affect the results of Export.",
                                               "Save the articles, then proceed with Export.", "Cancel Export."}));
}

TEST_F(ArticleDlgsTest, DuplicateGroupsGiveOneRootEachAndCheckedChildrenAreReturned)
{
    CDuplicateArticlesDlg dialog(*m_document);
    dialog.m_runs = {m_ids[0], m_ids[1], -1, m_ids[2], m_ids[3], m_ids[4]};
    CArticleRecord record;
    m_document->LoadArticle(m_ids[3], record);
    record.SetRichTextVersion();
    record.SetRtfText("{\\rtf1\\ansi Duplicate body}");
    m_document->UpdateArticle(m_ids[3], record, false);
    int roots = 0;
    std::vector<int> children;
    int32_t shownAtStart = 0, shownAfterSelect = 0;
    std::string previewText;
    UINT copyStateBefore = 0, copyStateAfter = 0;
    INT_PTR result = RunScripted(dialog, [&] {
        CCheckTreeCtrl& tree = dialog.Tree();
        // The preview shows the article of the selected entry, nothing while the tree fills.
        CDuplicatePreview& preview = dialog.Preview();
        shownAtStart = preview.GetShownArticle();
        HTREEITEM second = tree.GetNextItem(tree.GetRootItem(), TVGN_NEXT);
        HTREEITEM entry = tree.GetNextItem(tree.GetChildItem(second), TVGN_NEXT);
        tree.SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(entry));
        shownAfterSelect = preview.GetShownArticle();
        previewText = Text(preview.m_hWnd);
        // Its menu: Copy only with a selection; Select All selects the text.
        preview.SetSel(0, 0);
        HMENU menu = preview.MakeMenu();
        copyStateBefore = GetMenuState(menu, IDM_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED;
        DestroyMenu(menu);
        preview.RunMenuCommand(IDM_EDIT_SELECT_ALL);
        menu = preview.MakeMenu();
        copyStateAfter = GetMenuState(menu, IDM_EDIT_COPY, MF_BYCOMMAND) & MF_GRAYED;
        DestroyMenu(menu);
        for (HTREEITEM root = tree.GetRootItem(); root; root = tree.GetNextItem(root, TVGN_NEXT)) {
            ++roots;
            int count = 0;
            for (HTREEITEM child = tree.GetChildItem(root); child; child = tree.GetNextItem(child, TVGN_NEXT)) {
                ++count;
                int32_t id = dialog.ArticleOf(child);
                if (id == m_ids[1] || id == m_ids[4])
                    tree.SetItemCheck(child, true);
            }
            children.push_back(count);
        }
        SendMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(roots, 2);
    EXPECT_EQ(children, (std::vector<int>{2, 3}));
    EXPECT_EQ(dialog.m_marked.Values(), (std::vector<int32_t>{m_ids[1], m_ids[4]}));
    EXPECT_EQ(shownAtStart, -1);
    EXPECT_EQ(shownAfterSelect, m_ids[3]);
    EXPECT_EQ(previewText, "Duplicate body");
    EXPECT_EQ(copyStateBefore, static_cast<UINT>(MF_GRAYED));
    EXPECT_EQ(copyStateAfter, 0u);
}

}  // namespace

TEST_F(ArticleDlgsTest, SharedKeywordsAsksOnlyAboutAChangeAndCancelKeepsTheDialogOpen)
{
    CArticleView::SetSavingWithoutWarnings(false);
    auto assignBerry = [](CSharedKeywordsDlg& dialog) {
        dialog.AvailableList().SelectId(2);
        SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_KEYWORDS_ASSIGN, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog.m_hWnd, IDC_KEYWORDS_ASSIGN)));
    };
    std::vector<int> answers;
    auto ask = [&](HWND, bool& noWarnings) {
        if (answers.empty()) {
            ADD_FAILURE() << "asked once too often";
            return IDNO;
        }
        int answer = answers.front();
        answers.erase(answers.begin());
        noWarnings = answer == IDYES;
        return answer;
    };

    // Unchanged: OK closes without a question.
    CSharedKeywordsDlg unchanged(*m_document);
    unchanged.m_assigned.Add(0);
    unchanged.m_askSave = ask;
    std::string caption;
    EXPECT_EQ(RunScripted(unchanged, [&] {
                  caption = Text(unchanged.m_hWnd);
                  PressOk(unchanged);
              }),
              IDOK);
    EXPECT_EQ(caption, "Shared Keywords for Highlighted Articles");
    EXPECT_FALSE(unchanged.IsChanged());

    // Changed: Cancel in the question keeps the dialog; No ends it with Cancel.
    CSharedKeywordsDlg declined(*m_document);
    declined.m_assigned.Add(0);
    declined.m_askSave = ask;
    answers = {IDCANCEL, IDNO};
    bool openAfterCancel = false;
    EXPECT_EQ(RunScripted(declined, [&] {
                  assignBerry(declined);
                  PressOk(declined);
                  openAfterCancel = IsWindowVisible(declined.m_hWnd) != FALSE;
                  PressOk(declined);
              }),
              IDCANCEL);
    EXPECT_TRUE(openAfterCancel);
    EXPECT_TRUE(answers.empty());

    // Yes with the box: the result, and no question for the rest of the session.
    CSharedKeywordsDlg accepted(*m_document);
    accepted.m_assigned.Add(0);
    accepted.m_askSave = ask;
    answers = {IDYES};
    EXPECT_EQ(RunScripted(accepted, [&] {
                  assignBerry(accepted);
                  PressOk(accepted);
              }),
              IDOK);
    EXPECT_EQ(accepted.m_assigned.Values(), (std::vector<int32_t>{0, 2}));
    EXPECT_TRUE(CArticleView::IsSavingWithoutWarnings());
    CSharedKeywordsDlg silent(*m_document);
    silent.m_assigned.Add(0);
    silent.m_askSave = ask;
    EXPECT_EQ(RunScripted(silent, [&] {
                  assignBerry(silent);
                  PressOk(silent);
              }),
              IDOK);
    CArticleView::SetSavingWithoutWarnings(false);

    // The question itself: Yes reads the box.
    CSaveSharedKeywordsDlg question;
    EXPECT_EQ(RunScripted(question, [&] {
                  CheckDlgButton(question.m_hWnd, IDC_SAVE_WITHOUT_WARNINGS, BST_CHECKED);
                  SendMessageA(question.m_hWnd, WM_COMMAND, IDYES, 0);
              }),
              IDYES);
    EXPECT_TRUE(question.m_noWarnings);
}

// The index window's keyword-group commands on a real window: Unselect, Delete Keyword Groups with
// its question, Edit by double click and Merge, each dialog answered from another thread while the
// view's command runs its modal loop; Manage Keyword Groups and Add Keyword to Index reached through
// the document's commands.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "index/ui/group_dlgs_res.h"
#include "resources/commands.h"
#include "storage/keyword_record.h"
#include "tests/support/gui_driver.h"
#include "tests/support/index_window_fixture.h"

namespace {

// Runs `answer` on a thread of its own once a window captioned `caption` shows, while the test
// thread runs `command` (which opens that window modally).
void Answered(const char* caption, const std::function<void()>& command, const std::function<void(HWND)>& answer)
{
    std::thread user([&] {
        HWND window = gui::WaitForTopWindow(caption);
        EXPECT_NE(window, nullptr) << caption;
        if (window)
            answer(window);
    });
    command();
    user.join();
}

class IndexViewGroupsTest : public CIndexWindowFixture {
protected:
    void SetUp() override
    {
        MakeFile({"alpha", "beta", "gamma"}, {{"one", {0}}, {"two", {1}}});
        MakeFrame();
        Open();
        m_view->ShowGroupPane(true, true);
        m_work = AddGroup("Work", {0});
        m_home = AddGroup("Home", {1});
        m_misc = AddGroup("Misc", {});
        PumpMessages();
    }

    int32_t AddGroup(const char* name, std::vector<int32_t> keywords)
    {
        CKeywordGroupRecord record;
        record.SetName(name);
        CKeywordIdSet ids;
        ids.Copy(keywords);
        record.SetKeywordIds(ids);
        return Document()->AddKeywordGroup(record);
    }

    void Command(UINT id) { m_view->SendMessage(WM_COMMAND, id, 0); }

    CGroupIdSet Highlighted()
    {
        CGroupIdSet ids;
        m_view->GroupList().GetSelectedIds(ids);
        return ids;
    }

    int32_t m_work = 0, m_home = 0, m_misc = 0;
};

}  // namespace

TEST_F(IndexViewGroupsTest, UnselectAndDeleteTheHighlightedGroupsAfterTheQuestion)
{
    ASSERT_EQ(m_view->GroupList().GetCount(), 3);
    m_view->GroupList().SetGroupSel(m_work, true);
    m_view->GroupList().SetGroupSel(m_misc, true);
    Command(IDM_GROUP_UNSELECT);
    EXPECT_EQ(Highlighted().GetSize(), 0);

    // No: nothing changes.
    m_view->GroupList().SetGroupSel(m_work, true);
    m_view->GroupList().SetGroupSel(m_misc, true);
    Answered(
        "Delete Keyword Groups", [&] { Command(IDM_GROUP_DELETE); },
        [](HWND question) {
            EXPECT_EQ(gui::GetText(GetDlgItem(question, IDC_GROUPS_DELETE_LABEL)), "Keyword Groups (2) ");
            gui::ClickButton(question, IDCANCEL);
        });
    EXPECT_EQ(Document()->GetKeywordGroupCount(), 3);

    // Yes: both go, from the file and the list; the keyword of Work is in no group any more.
    Answered(
        "Delete Keyword Groups", [&] { Command(IDM_GROUP_DELETE); },
        [](HWND question) { gui::ClickButton(question, IDOK); });
    PumpMessages();
    EXPECT_EQ(Document()->GetKeywordGroupCount(), 1);
    EXPECT_EQ(m_view->GroupList().GetCount(), 1);
    CGroupIdSet groups;
    Document()->GetGroupsOfKeyword(0, groups);
    EXPECT_EQ(groups.GetSize(), 0);
}

TEST_F(IndexViewGroupsTest, DoubleClickEditsAndTheGroupStaysHighlightedMergeJoinsTheTarget)
{
    m_view->GroupList().SetGroupSel(m_work, true);
    Answered(
        "Keyword Group",
        [&] {
            m_view->SendMessage(WM_COMMAND, MAKEWPARAM(CIndexView::kGroupList, LBN_DBLCLK),
                                reinterpret_cast<LPARAM>(m_view->GroupList().m_hWnd));
            PumpMessages();  // the double click posts Edit Keyword Group
        },
        [](HWND dialog) {
            gui::SetText(GetDlgItem(dialog, IDC_GROUPS_NAME), "Job");
            gui::ClickButton(dialog, IDOK);
        });
    EXPECT_EQ(Document()->GetKeywordGroupName(m_work), "Job");
    EXPECT_EQ(Highlighted().Values(), (std::vector<int32_t>{m_work}));

    // Merge Job into Home: Home takes alpha, Job is gone.
    Answered(
        "Merge Keyword Group", [&] { Command(IDM_GROUP_MERGE); },
        [](HWND choice) {
            EXPECT_EQ(SendDlgItemMessageA(choice, IDC_GROUPS_MERGE_TARGETS, LB_GETCOUNT, 0, 0), 2);
            SendDlgItemMessageA(choice, IDC_GROUPS_MERGE_TARGETS, LB_SETSEL, TRUE, 0);  // Home
            SendMessageA(choice, WM_COMMAND, MAKEWPARAM(IDC_GROUPS_MERGE_TARGETS, LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(GetDlgItem(choice, IDC_GROUPS_MERGE_TARGETS)));
            gui::ClickButton(choice, IDOK);
            HWND question = nullptr;
            EXPECT_TRUE(gui::WaitFor([&] {
                question = gui::FindTopWindow("Merge Keyword Group");
                return question && GetDlgItem(question, IDC_GROUPS_MERGE_INTO);
            }));
            if (question)
                gui::ClickButton(question, IDOK);
        });
    PumpMessages();
    CKeywordIdSet members;
    Document()->GetGroupKeywordIds(m_home, members);
    EXPECT_EQ(members.Values(), (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(Document()->FindKeywordGroup("Job"), kNoneId);
    EXPECT_EQ(m_view->GroupList().GetCount(), 2);
}

TEST_F(IndexViewGroupsTest, TheCommandsFollowTheHighlightedGroups)
{
    auto enabled = [&](UINT id) {
        CCmdUIProbe probe(id);
        m_view->OnCmdMsg(id, &probe);
        return probe.m_enabled;
    };
    EXPECT_TRUE(enabled(IDM_GROUP_ADD));
    EXPECT_FALSE(enabled(IDM_GROUP_EDIT));
    EXPECT_FALSE(enabled(IDM_GROUP_DELETE));
    EXPECT_FALSE(enabled(IDM_GROUP_UNSELECT));
    m_view->GroupList().SetGroupSel(m_work, true);
    EXPECT_TRUE(enabled(IDM_GROUP_EDIT));
    EXPECT_TRUE(enabled(IDM_GROUP_MERGE));
    m_view->GroupList().SetGroupSel(m_home, true);
    EXPECT_FALSE(enabled(IDM_GROUP_EDIT));
    EXPECT_FALSE(enabled(IDM_GROUP_MERGE));
    EXPECT_TRUE(enabled(IDM_GROUP_DELETE));
    EXPECT_TRUE(enabled(IDM_GROUP_UNSELECT));
}

TEST_F(IndexViewGroupsTest, ManageKeywordGroupsThroughTheDocumentsCommand)
{
    Answered(
        "Manage Keyword Groups", [&] { Document()->OnCmdMsg(IDM_KEYWORD_GROUPS, nullptr); },
        [](HWND dialog) {
            EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_GROUPS_LIST, LB_GETCOUNT, 0, 0), 3);
            gui::ClickButton(dialog, IDC_GROUPS_CLOSE);
        });
    Answered(
        "Add Keywords To Index", [&] { Document()->OnCmdMsg(IDM_KEYWORD_ADD, nullptr); },
        [](HWND dialog) {
            HWND edit = GetDlgItem(dialog, 1044);
            gui::SetText(edit, "delta");
            SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);  // Enter in the edit: into New Keywords
            gui::ClickButton(dialog, IDOK);
        });
    PumpMessages();
    int32_t delta = Document()->FindKeyword("delta");
    ASSERT_NE(delta, kNoneId);
    // Listed and highlighted alone in the index list.
    CKeywordIdSet highlighted;
    m_view->IndexList().GetSelectedIds(highlighted);
    EXPECT_EQ(highlighted.Values(), (std::vector<int32_t>{delta}));
}

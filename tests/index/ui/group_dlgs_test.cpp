// The keyword-group dialogs on real windows over a temporary data file: each dialog runs modally on a
// thread of its own while the test plays the user through messages, then the file is read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/group_dlgs_res.h"
#include "index/ui/keyword_dlgs.h"
#include "index/ui/keyword_dlgs_res.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

// Runs `dialog` (built and shown by `run` on a GUI thread) until its window with `caption` shows,
// hands the window to `script`, and gives DoModal's result.
INT_PTR RunDialog(const char* caption, const std::function<INT_PTR()>& run, const std::function<void(HWND)>& script)
{
    std::atomic<INT_PTR> result{-2};
    gui::CGuiThread ui([&] { result = run(); });
    HWND window = gui::WaitForTopWindow(caption);
    EXPECT_NE(window, nullptr) << caption;
    if (window)
        script(window);
    EXPECT_TRUE(ui.Join());
    return result;
}

void Command(HWND dialog, int id, int code = BN_CLICKED)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Posted: the dialog may open a message box or another dialog, which the test then answers.
void PostCommand(HWND dialog, int id, int code = BN_CLICKED)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

int Count(HWND dialog, int list) { return static_cast<int>(SendDlgItemMessageA(dialog, list, LB_GETCOUNT, 0, 0)); }
int SelCount(HWND dialog, int list) { return static_cast<int>(SendDlgItemMessageA(dialog, list, LB_GETSELCOUNT, 0, 0)); }
// The focus moves and is read in the dialog's own thread.
void Focus(HWND dialog, int id)
{
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, id)), TRUE);
}

HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

std::string ItemText(HWND dialog, int list, int index)
{
    char text[512] = {};
    SendDlgItemMessageA(dialog, list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

void SelectItem(HWND dialog, int list, int index, bool on = true)
{
    SendDlgItemMessageA(dialog, list, LB_SETSEL, on ? TRUE : FALSE, index);
    Command(dialog, list, LBN_SELCHANGE);
}

void ClearSelection(HWND dialog, int list)
{
    SendDlgItemMessageA(dialog, list, LB_SETSEL, FALSE, -1);
    Command(dialog, list, LBN_SELCHANGE);
}

class GroupDlgsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.File("groups.xrd");
        m_document = std::make_unique<CQuorvaneDoc>(m_host);
        ASSERT_TRUE(m_document->CreateNewFile(m_path));
        for (const char* name : {"apple", "Banana", "berry", "cherry", "date"})
            m_document->AddKeyword(name, false);
    }
    void TearDown() override { m_document->DeleteContents(); }

    int32_t AddGroup(const char* name, std::vector<int32_t> keywords)
    {
        CKeywordGroupRecord record;
        record.SetName(name);
        CKeywordIdSet ids;
        ids.Copy(keywords);
        record.SetKeywordIds(ids);
        return m_document->AddKeywordGroup(record);
    }

    std::vector<int32_t> GroupKeywords(int32_t group)
    {
        CKeywordIdSet ids;
        m_document->GetGroupKeywordIds(group, ids);
        return ids.Values();
    }

    CTempFolder m_folder;
    std::string m_path;
    CRecordingHost m_host;
    std::unique_ptr<CQuorvaneDoc> m_document;
};

}  // namespace

TEST_F(GroupDlgsTest, SelectAGroupStartsOnTheFirstAndNeedsOne)
{
    int32_t work = AddGroup("Work", {});
    AddGroup("Zoo", {});
    AddGroup("home", {1});
    int32_t chosen = kNoneId;
    INT_PTR result = RunDialog(
        "Select a Keyword Group",
        [&] {
            CSelectKeywordGroupDlg dialog(*m_document);
            INT_PTR r = dialog.DoModal();
            chosen = dialog.m_groupId;
            return r;
        },
        [&](HWND dialog) {
            EXPECT_EQ(Count(dialog, IDC_GROUPS_LIST), 3);
            EXPECT_EQ(SelCount(dialog, IDC_GROUPS_LIST), 1);
            EXPECT_TRUE(SendDlgItemMessageA(dialog, IDC_GROUPS_LIST, LB_GETSEL, 0, 0) > 0);
            EXPECT_TRUE(Enabled(dialog, IDOK));
            ClearSelection(dialog, IDC_GROUPS_LIST);
            EXPECT_FALSE(Enabled(dialog, IDOK));
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);  // nothing highlighted: stays
            EXPECT_TRUE(IsWindow(dialog));
            // "home" sorts before "Work" and "Zoo" in the lists' order (lstrcmpA): Work is second.
            SelectItem(dialog, IDC_GROUPS_LIST, 1);
            EXPECT_TRUE(Enabled(dialog, IDOK));
            Command(dialog, IDC_GROUPS_LIST, LBN_DBLCLK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chosen, work);
}

TEST_F(GroupDlgsTest, SelectAGroupWithNoGroupsHasOkDisabled)
{
    INT_PTR result = RunDialog(
        "Select a Keyword Group",
        [&] {
            CSelectKeywordGroupDlg dialog(*m_document);
            return dialog.DoModal();
        },
        [&](HWND dialog) {
            EXPECT_EQ(Count(dialog, IDC_GROUPS_LIST), 0);
            EXPECT_FALSE(Enabled(dialog, IDOK));
            gui::PressKey(dialog, VK_ESCAPE);
        });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(GroupDlgsTest, MergeChoiceOffersTheOthersAndWithOneGroupNothing)
{
    int32_t only = AddGroup("Only", {});
    RunDialog(
        "Merge Keyword Group",
        [&] {
            CMergeIntoGroupDlg dialog(*m_document);
            dialog.m_sourceId = only;
            dialog.m_offered.Add(only);
            return dialog.DoModal();
        },
        [&](HWND dialog) {
            EXPECT_EQ(gui::GetText(GetDlgItem(dialog, IDC_GROUPS_MERGE_SOURCE)), "Only");
            EXPECT_EQ(Count(dialog, IDC_GROUPS_MERGE_TARGETS), 0);
            EXPECT_FALSE(Enabled(dialog, IDOK));
            gui::PressKey(dialog, VK_ESCAPE);
        });

    int32_t other = AddGroup("Other", {});
    int32_t third = AddGroup("Third", {});
    int32_t target = kNoneId;
    INT_PTR result = RunDialog(
        "Merge Keyword Group",
        [&] {
            CMergeIntoGroupDlg dialog(*m_document);
            dialog.m_sourceId = only;
            m_document->GetAllKeywordGroupIds(dialog.m_offered);
            INT_PTR r = dialog.DoModal();
            target = dialog.m_targetId;
            return r;
        },
        [&](HWND dialog) {
            EXPECT_EQ(Count(dialog, IDC_GROUPS_MERGE_TARGETS), 2);
            EXPECT_FALSE(Enabled(dialog, IDOK));
            Command(dialog, IDC_GROUPS_MERGE_TARGETS, LBN_DBLCLK);  // nothing highlighted: nothing
            EXPECT_TRUE(IsWindow(dialog));
            SelectItem(dialog, IDC_GROUPS_MERGE_TARGETS, 1);
            EXPECT_TRUE(Enabled(dialog, IDOK));
            gui::ClickButton(dialog, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(target, third);
    (void)other;
}

TEST_F(GroupDlgsTest, DeleteQuestionListsNamesAndRightAlignedCounts)
{
    int32_t fruit = AddGroup("Fruit", {0, 1, 2});
    int32_t long_ = AddGroup(std::string(120, 'W').c_str(), {});
    CGroupIdSet ids;
    ids.Add(fruit);
    ids.Add(long_);
    std::vector<std::string> items;
    std::string label;
    INT_PTR result = RunDialog(
        "Delete Keyword Groups",
        [&] {
            CDeleteKeywordGroupsDlg dialog(*m_document);
            dialog.m_ids.Copy(ids);
            return dialog.DoModal();
        },
        [&](HWND dialog) {
            label = gui::GetText(GetDlgItem(dialog, IDC_GROUPS_DELETE_LABEL));
            for (int i = 0; i < Count(dialog, IDC_GROUPS_LIST); ++i)
                items.push_back(ItemText(dialog, IDC_GROUPS_LIST, i));
            gui::PressKey(dialog, VK_ESCAPE);
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(label, "Keyword Groups (2) ");
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0], "Fruit" + std::string(9, '\t') + "3");
    size_t dots = items[1].find("...\t");
    EXPECT_NE(dots, std::string::npos) << items[1];
    EXPECT_LT(dots, 120u);
    EXPECT_EQ(items[1].substr(items[1].size() - 2), "\t0");
}

TEST_F(GroupDlgsTest, KeywordGroupCountsFollowEveryMove)
{
    std::vector<std::string> labels;
    int32_t made = kNoneId;
    INT_PTR result = RunDialog(
        "Keyword Group",
        [&] {
            CKeywordGroupDlg dialog(*m_document);
            INT_PTR r = dialog.DoModal();
            made = dialog.m_groupId;
            return r;
        },
        [&](HWND dialog) {
            auto both = [&] {
                return gui::GetText(GetDlgItem(dialog, IDC_GROUPS_AVAILABLE_LABEL)) + "|" +
                       gui::GetText(GetDlgItem(dialog, IDC_GROUPS_INCLUDED_LABEL));
            };
            labels.push_back(both());
            EXPECT_FALSE(Enabled(dialog, IDOK));  // no name yet
            EXPECT_FALSE(Enabled(dialog, IDC_GROUPS_CLEAR));
            SelectItem(dialog, IDC_GROUPS_AVAILABLE, 0);
            SelectItem(dialog, IDC_GROUPS_AVAILABLE, 2);
            Command(dialog, IDC_GROUPS_INCLUDE);
            labels.push_back(both());
            EXPECT_EQ(SelCount(dialog, IDC_GROUPS_INCLUDED), 2);  // moved items arrive highlighted
            // A double click in Included sends its highlighted items back.
            ClearSelection(dialog, IDC_GROUPS_INCLUDED);
            SelectItem(dialog, IDC_GROUPS_INCLUDED, 0);
            Command(dialog, IDC_GROUPS_INCLUDED, LBN_DBLCLK);
            labels.push_back(both());
            // Enter in Available moves instead of closing.
            ClearSelection(dialog, IDC_GROUPS_AVAILABLE);
            SelectItem(dialog, IDC_GROUPS_AVAILABLE, 3);
            Focus(dialog, IDC_GROUPS_AVAILABLE);
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            labels.push_back(both());
            EXPECT_TRUE(IsWindow(dialog));
            Command(dialog, IDC_GROUPS_SELECT_ALL);
            labels.push_back(both());
            EXPECT_FALSE(Enabled(dialog, IDC_GROUPS_SELECT_ALL));
            Command(dialog, IDC_GROUPS_CLEAR);
            labels.push_back(both());
            EXPECT_EQ(FocusOf(dialog), GetDlgItem(dialog, IDC_GROUPS_AVAILABLE));
            // A drop of Available's items on Included acts as ">>".
            ClearSelection(dialog, IDC_GROUPS_AVAILABLE);
            SelectItem(dialog, IDC_GROUPS_AVAILABLE, 4);
            SendMessageA(dialog, CDragList::kDropMessage, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_GROUPS_INCLUDED)),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_GROUPS_AVAILABLE)));
            labels.push_back(both());
            gui::SetText(GetDlgItem(dialog, IDC_GROUPS_NAME), "  Fresh  ");
            Command(dialog, IDC_GROUPS_NAME, EN_CHANGE);
            EXPECT_TRUE(Enabled(dialog, IDOK));
            Focus(dialog, IDC_GROUPS_NAME);
            gui::ClickButton(dialog, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "A&vailable (5)|&Included (0)", "A&vailable (3)|&Included (2)",
                          "A&vailable (4)|&Included (1)", "A&vailable (3)|&Included (2)",
                          "A&vailable (0)|&Included (5)", "A&vailable (5)|&Included (0)",
                          "A&vailable (4)|&Included (1)"}));
    ASSERT_NE(made, kNoneId);
    EXPECT_EQ(m_document->GetKeywordGroupName(made), "Fresh");
    EXPECT_EQ(GroupKeywords(made).size(), 1u);
    CGroupIdSet groups;
    m_document->GetGroupsOfKeyword(GroupKeywords(made)[0], groups);
    EXPECT_TRUE(groups.Contains(made));
}

TEST_F(GroupDlgsTest, KeywordGroupNamesAreUniqueInAnyCaseButItsOwn)
{
    int32_t work = AddGroup("Work", {0});
    // A new group "work": refused with the message, the dialog stays.
    INT_PTR result = RunDialog(
        "Keyword Group",
        [&] {
            CKeywordGroupDlg dialog(*m_document);
            return dialog.DoModal();
        },
        [&](HWND dialog) {
            gui::SetText(GetDlgItem(dialog, IDC_GROUPS_NAME), "work");
            PostCommand(dialog, IDOK);
            EXPECT_TRUE(gui::AnswerMessageBox("The keyword group name: work\nalready exists. \n\nPlease use another keyword group name."));
            EXPECT_TRUE(gui::WaitFor([&] { return !gui::FindMessageBox("already exists"); }));
            EXPECT_TRUE(IsWindow(dialog));
            gui::PressKey(dialog, VK_ESCAPE);
        });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(m_document->GetKeywordGroupCount(), 1);

    // Its own name in another case: stored, keywords kept.
    result = RunDialog(
        "Keyword Group",
        [&] {
            CKeywordGroupDlg dialog(*m_document);
            dialog.m_groupId = work;
            return dialog.DoModal();
        },
        [&](HWND dialog) {
            EXPECT_EQ(gui::GetText(GetDlgItem(dialog, IDC_GROUPS_NAME)), "Work");
            EXPECT_EQ(gui::GetText(GetDlgItem(dialog, IDC_GROUPS_INCLUDED_LABEL)), "&Included (1)");
            gui::SetText(GetDlgItem(dialog, IDC_GROUPS_NAME), "WORK");
            Focus(dialog, IDC_GROUPS_NAME);
            gui::ClickButton(dialog, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(m_document->GetKeywordGroupName(work), "WORK");
    EXPECT_EQ(GroupKeywords(work), (std::vector<int32_t>{0}));
}

TEST_F(GroupDlgsTest, ManageEnablesByHighlightAndDeletesSeveralAfterOneQuestion)
{
    int32_t a = AddGroup("Alpha", {0});
    int32_t b = AddGroup("Beta", {1});
    int32_t c = AddGroup("Gamma", {});
    INT_PTR result = RunDialog(
        "Manage Keyword Groups",
        [&] {
            CManageKeywordGroupsDlg dialog(*m_document);
            return dialog.DoModal();
        },
        [&](HWND dialog) {
            EXPECT_EQ(SelCount(dialog, IDC_GROUPS_LIST), 1);
            EXPECT_TRUE(Enabled(dialog, IDC_GROUPS_EDIT));
            EXPECT_TRUE(Enabled(dialog, IDC_GROUPS_MERGE));
            EXPECT_TRUE(Enabled(dialog, IDC_GROUPS_DELETE));
            SelectItem(dialog, IDC_GROUPS_LIST, 2);
            EXPECT_FALSE(Enabled(dialog, IDC_GROUPS_EDIT));
            EXPECT_FALSE(Enabled(dialog, IDC_GROUPS_MERGE));
            EXPECT_TRUE(Enabled(dialog, IDC_GROUPS_DELETE));
            PostCommand(dialog, IDC_GROUPS_DELETE);
            HWND question = gui::WaitForTopWindow("Delete Keyword Groups");
            ASSERT_NE(question, nullptr);
            EXPECT_EQ(Count(question, IDC_GROUPS_LIST), 2);
            gui::ClickButton(question, IDOK);
            EXPECT_TRUE(gui::WaitFor([&] { return Count(dialog, IDC_GROUPS_LIST) == 1; }));
            EXPECT_FALSE(gui::FindTopWindow("Delete Keyword Groups"));
            gui::ClickButton(dialog, IDC_GROUPS_CLOSE);
        });
    EXPECT_EQ(result, 0);
    CGroupIdSet left;
    m_document->GetAllKeywordGroupIds(left);
    EXPECT_EQ(left.Values(), (std::vector<int32_t>{b}));
    CGroupIdSet ofApple;
    m_document->GetGroupsOfKeyword(0, ofApple);
    EXPECT_EQ(ofApple.GetSize(), 0);
    (void)a;
    (void)c;
}

TEST_F(GroupDlgsTest, ManageMergesTheSourceIntoTheTarget)
{
    int32_t a = AddGroup("Alpha", {0});
    int32_t b = AddGroup("Beta", {1});
    INT_PTR result = RunDialog(
        "Manage Keyword Groups",
        [&] {
            CManageKeywordGroupsDlg dialog(*m_document);
            return dialog.DoModal();
        },
        [&](HWND dialog) {
            PostCommand(dialog, IDC_GROUPS_MERGE);  // Alpha, highlighted at the start
            HWND choice = gui::WaitForTopWindow("Merge Keyword Group");
            ASSERT_NE(choice, nullptr);
            EXPECT_EQ(Count(choice, IDC_GROUPS_MERGE_TARGETS), 1);
            SelectItem(choice, IDC_GROUPS_MERGE_TARGETS, 0);
            gui::ClickButton(choice, IDOK);
            HWND question = nullptr;
            EXPECT_TRUE(gui::WaitFor([&] {
                question = gui::FindTopWindow("Merge Keyword Group");
                return question && question != choice && GetDlgItem(question, IDC_GROUPS_MERGE_FROM);
            }));
            ASSERT_NE(question, nullptr);
            EXPECT_EQ(gui::GetText(GetDlgItem(question, IDC_GROUPS_MERGE_FROM)), "Alpha");
            EXPECT_EQ(gui::GetText(GetDlgItem(question, IDC_GROUPS_MERGE_INTO)), "Beta");
            gui::ClickButton(question, IDOK);
            EXPECT_TRUE(gui::WaitFor([&] { return Count(dialog, IDC_GROUPS_LIST) == 1; }));
            gui::PressKey(dialog, VK_ESCAPE);
        });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(GroupKeywords(b), (std::vector<int32_t>{0, 1}));
    CGroupIdSet left;
    m_document->GetAllKeywordGroupIds(left);
    EXPECT_FALSE(left.Contains(a));
}

// Delete Unused Keywords and Delete Unused Keyword Groups are one design over two templates.
TEST_F(GroupDlgsTest, UnusedKeywordsAndGroupsAreListedSortedAndEscapeIsNo)
{
    struct Case {
        const char* caption;
        int list;
        std::function<INT_PTR(const std::vector<std::string>&)> run;
    };
    const Case cases[] = {
        {"Delete Unused Keywords", IDC_DELETE_UNUSED_KEYWORDS_LIST,
         [](const std::vector<std::string>& names) {
             CDeleteUnusedKeywordsDlg dialog;
             dialog.m_names = names;
             return dialog.DoModal();
         }},
        {"Delete Unused Keyword Groups", IDC_GROUPS_LIST,
         [](const std::vector<std::string>& names) {
             CDeleteUnusedGroupsDlg dialog;
             dialog.m_names = names;
             return dialog.DoModal();
         }},
    };
    for (const Case& c : cases) {
        std::vector<std::string> items;
        auto run = [&] { return c.run({"Third", "Fifth", "fourth"}); };
        INT_PTR result = RunDialog(c.caption, run, [&](HWND dialog) {
            for (int i = 0; i < Count(dialog, c.list); ++i)
                items.push_back(ItemText(dialog, c.list, i));
            gui::ClickButton(dialog, IDYES);
        });
        EXPECT_EQ(result, IDYES) << c.caption;
        EXPECT_EQ(items, (std::vector<std::string>{"Fifth", "fourth", "Third"})) << c.caption;
        EXPECT_EQ(RunDialog(c.caption, run, [](HWND dialog) { gui::ClickButton(dialog, IDNO); }), IDNO) << c.caption;
        EXPECT_EQ(RunDialog(c.caption, run, [](HWND dialog) { gui::PressKey(dialog, VK_ESCAPE); }), IDNO)
            << c.caption;
    }
}

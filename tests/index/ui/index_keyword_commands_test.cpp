// The index window's keyword commands on a real window over a knowledge base opened through the
// Windows host: Edit Keyword with its name rules, group moves and the out-of-step repair, Delete
// Keyword with its counts and the password gate, Merge Keyword, keywords dropped on the titles and
// the group list, Change Keywords for Highlighted Articles, and Edit > Delete by the focused list.
// The commands run their dialogs on the test thread; a user thread answers them.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "framework/string_table.h"
#include "index/ui/keyword_dlgs_res.h"
#include "resources/keyword_commands_res.h"
#include "storage/keyword_record.h"
#include "tests/support/gui_driver.h"
#include "tests/support/index_window_fixture.h"

namespace {

// Plays the user on a thread of its own while the command's modal loops run on the test thread.
class CUser {
public:
    explicit CUser(std::function<void()> script) : m_thread(std::move(script)) {}
    ~CUser() { m_thread.join(); }

private:
    std::thread m_thread;
};

std::string FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Message(int id) { return QuorLoadString(id); }

HWND FocusOf(HWND dialog)
{
    GUITHREADINFO info = {sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// A second top-level window of that caption, once `previous` is gone.
HWND WaitForNext(const char* caption, HWND previous)
{
    HWND found = nullptr;
    gui::WaitFor([&] {
        found = gui::FindTopWindow(caption);
        return found && found != previous && !IsWindow(previous);
    });
    return found;
}

class IndexKeywordCommandsTest : public CIndexWindowFixture {
protected:
    // Keywords alpha 0, beta 1, gamma 2, Work 3; articles "one" {alpha, Work}, "two" {alpha, beta},
    // "three" {beta}.
    void SetUp() override
    {
        MakeFile({"alpha", "beta", "gamma", "Work"}, {{"one", {0, 3}}, {"two", {0, 1}}, {"three", {1}}});
        MakeFrame();
    }
    int32_t Group(const char* name, std::initializer_list<int32_t> keywords)
    {
        CKeywordGroupRecord group;
        group.SetName(name);
        CKeywordIdSet ids;
        ids.Copy(std::vector<int32_t>(keywords));
        group.SetKeywordIds(ids);
        return Document()->AddKeywordGroup(group);
    }
    void Highlight(CKeywordListBox& list, std::initializer_list<const char*> names)
    {
        list.SendMessage(LB_SETSEL, FALSE, -1);
        for (int i = 0; i < list.GetCount(); ++i)
            for (const char* name : names)
                if (list.GetItemText(i) == name)
                    list.SendMessage(LB_SETSEL, TRUE, i);
        ::SetFocus(list.m_hWnd);
    }
    void HighlightTitles(std::initializer_list<const char*> titles)
    {
        CIndexTitleList& list = m_view->TitleList();
        list.SendMessage(LB_SETSEL, FALSE, -1);
        for (int i = 0; i < list.GetItemCount(); ++i)
            for (const char* title : titles)
                if (std::string(Document()->GetArticleTitle(list.GetItemId(i))) == title)
                    list.SendMessage(LB_SETSEL, TRUE, i);
        TitlesSelectionChanged();
    }
    std::vector<int32_t> KeywordsOf(const char* title)
    {
        CArticleIdSet all;
        Document()->GetAllArticleIds(all);
        for (int32_t id : all.Values())
            if (std::string(Document()->GetArticleTitle(id)) == title) {
                CKeywordIdSet ids;
                Document()->GetArticleKeywordIds(id, ids);
                return ids.Values();
            }
        return {};
    }
    std::vector<int32_t> GroupsOf(int32_t keyword)
    {
        CGroupIdSet groups;
        Document()->GetGroupsOfKeyword(keyword, groups);
        return groups.Values();
    }
    void Command(UINT id) { m_view->SendMessage(WM_COMMAND, id, 0); }
    std::string Bytes()
    {
        Document()->Flush();
        return FileBytes(m_path);
    }
};

}  // namespace

TEST_F(IndexKeywordCommandsTest, EditKeywordRefusesBlankAndTakenNamesAndStoresNameAndGroups)
{
    Open();
    int32_t first = Group("First", {3});
    Group("Second", {});
    Group("Third", {});
    Highlight(m_view->IndexList(), {"Work"});
    std::string availableLabel, memberLabel, afterMove, blankSelection;
    bool stayedOpen = false;
    {
        CUser user([&] {
            HWND dialog = gui::WaitForTopWindow("Edit Keyword");
            ASSERT_NE(dialog, nullptr);
            HWND edit = gui::FindControl(dialog, IDC_EDIT_KEYWORD_NAME);
            availableLabel = gui::GetText(gui::FindControl(dialog, IDC_EDIT_KEYWORD_AVAILABLE_LABEL));
            memberLabel = gui::GetText(gui::FindControl(dialog, IDC_EDIT_KEYWORD_MEMBERSHIP_LABEL));
            gui::SetText(edit, "  ");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(gui::AnswerMessageBox(Message(IDS_KEYWORD_BLANK)));
            gui::WaitFor([&] { return IsWindowEnabled(dialog) && FocusOf(dialog) == edit; });
            DWORD start = 1, end = 0;
            SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            blankSelection = std::to_string(start) + "-" + std::to_string(end);
            gui::SetText(edit, "ALPHA");
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_TRUE(gui::AnswerMessageBox(Message(IDS_KEYWORD_EXISTS)));
            // The box's modal loop ends after its button: the dialog takes clicks again then.
            gui::WaitFor([&] { return IsWindowEnabled(dialog) && FocusOf(dialog) == edit; });
            stayedOpen = IsWindow(dialog) != FALSE;
            // Two available groups go over with ">>"; one comes back by double click.
            HWND available = gui::FindControl(dialog, IDC_EDIT_KEYWORD_AVAILABLE);
            HWND member = gui::FindControl(dialog, IDC_EDIT_KEYWORD_MEMBERSHIP);
            SendMessageA(available, LB_SETSEL, TRUE, -1);
            // Sent, not posted: the labels are read next, so the move must be done by then.
            SendMessageA(gui::FindControl(dialog, IDC_EDIT_KEYWORD_ADD), BM_CLICK, 0, 0);
            afterMove = gui::GetText(gui::FindControl(dialog, IDC_EDIT_KEYWORD_MEMBERSHIP_LABEL)) + " / " +
                        gui::GetText(gui::FindControl(dialog, IDC_EDIT_KEYWORD_AVAILABLE_LABEL));
            SendMessageA(member, LB_SETSEL, FALSE, -1);
            SendMessageA(member, LB_SETSEL, TRUE, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_EDIT_KEYWORD_MEMBERSHIP, LBN_DBLCLK),
                         reinterpret_cast<LPARAM>(member));
            gui::SetText(edit, "WORK");
            gui::ClickButton(dialog, IDOK);
        });
        Command(IDM_KEYWORD_EDIT);
    }
    EXPECT_EQ(availableLabel, "&Available Groups (2)");
    EXPECT_EQ(memberLabel, "&Group Membership (1)");
    EXPECT_EQ(blankSelection, "0-2");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(afterMove, "&Group Membership (3) / &Available Groups (0)");
    EXPECT_EQ(Document()->GetKeywordName(3), "WORK");
    EXPECT_EQ(GroupsOf(3).size(), 2u);  // "First" came back out of the three
    EXPECT_TRUE(Document()->AreKeywordGroupsConsistent(3));
    CKeywordIdSet members;
    Document()->GetGroupKeywordIds(first, members);
    EXPECT_FALSE(members.Contains(3));
}

TEST_F(IndexKeywordCommandsTest, GroupListsOutOfStepAreRepairedInsteadOfEditing)
{
    Open();
    int32_t group = Group("Lonely", {});
    CKeywordRecord record;
    record.Read(Document()->GetDataFile(), 0);
    CGroupIdSet groups;
    groups.Add(group);
    record.SetGroupIds(groups);  // alpha names the group, which does not list it
    record.Write(Document()->GetDataFile(), 0);
    Highlight(m_view->IndexList(), {"alpha"});
    bool editShown = false;
    {
        CUser user([&] {
            EXPECT_TRUE(gui::AnswerMessageBox(Message(IDS_GROUP_LISTS_OUT_OF_SYNC), IDYES));
            editShown = gui::WaitForTopWindow("Edit Keyword", nullptr, 0, 500) != nullptr;
        });
        Command(IDM_KEYWORD_EDIT);
    }
    EXPECT_FALSE(editShown);
    EXPECT_TRUE(Document()->AreKeywordGroupsConsistent(0));
}

TEST_F(IndexKeywordCommandsTest, DeleteKeywordShowsCountsAndNoLeavesTheFileAsItWas)
{
    Open();
    Highlight(m_view->IndexList(), {"alpha", "beta", "Work"});
    std::string label;
    std::vector<std::string> items;
    std::string before = Bytes();
    {
        CUser user([&] {
            HWND dialog = gui::WaitForTopWindow("Delete Keywords");
            ASSERT_NE(dialog, nullptr);
            label = gui::GetText(gui::FindControl(dialog, IDC_DELETE_KEYWORDS_LABEL));
            HWND list = gui::FindControl(dialog, IDC_DELETE_KEYWORDS_LIST);
            for (int i = 0; i < static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); ++i) {
                char text[300] = {};
                SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                items.push_back(text);
            }
            gui::ClickButton(dialog, IDCANCEL);
        });
        Command(IDM_EDIT_DELETE);  // the index list has the focus: Delete Keyword
    }
    EXPECT_EQ(label, "Keywords (3) ");
    std::string nine(9, '\t');
    EXPECT_EQ(items, std::vector<std::string>({"alpha" + nine + "2", "beta" + nine + "2", "Work" + nine + "1"}));
    EXPECT_EQ(Bytes(), before);

    {
        CUser user([&] { gui::ClickButton(gui::WaitForTopWindow("Delete Keywords"), IDOK); });
        Command(IDM_KEYWORD_DELETE);
    }
    EXPECT_EQ(Document()->FindKeyword("alpha"), kNoneId);
    EXPECT_EQ(Document()->FindKeyword("Work"), kNoneId);
    EXPECT_EQ(m_view->IndexList().GetCount(), 1);
    EXPECT_TRUE(KeywordsOf("one").empty());
}

TEST_F(IndexKeywordCommandsTest, ALongNameIsCutWithAnEllipsis)
{
    Open();
    std::string longName(120, 'x');
    Document()->AddKeyword(longName, false);
    Highlight(m_view->IndexList(), {longName.c_str()});
    std::string item;
    {
        CUser user([&] {
            HWND dialog = gui::WaitForTopWindow("Delete Keywords");
            char text[300] = {};
            SendMessageA(gui::FindControl(dialog, IDC_DELETE_KEYWORDS_LIST), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(text));
            item = text;
            gui::ClickButton(dialog, IDCANCEL);
        });
        Command(IDM_KEYWORD_DELETE);
    }
    size_t tab = item.find('\t');
    ASSERT_NE(tab, std::string::npos);
    EXPECT_LT(tab, longName.size());
    EXPECT_EQ(item.substr(tab - 3, 3), "...");
    EXPECT_EQ(item.substr(item.size() - 2), "\t0");
}

TEST_F(IndexKeywordCommandsTest, ARefusedPasswordDeletesAndMergesNothing)
{
    Open();
    Document()->SetPassword("pw");
    Document()->HidePrivateArticles();
    Highlight(m_view->IndexList(), {"beta"});
    std::string before = Bytes();
    struct Case {
        UINT command;
        int ask, refused;
    } cases[] = {{IDM_KEYWORD_DELETE, IDS_PASSWORD_TO_DELETE_KEYWORDS, IDS_KEYWORDS_NOT_DELETED},
                 {IDM_KEYWORD_MERGE, IDS_PASSWORD_TO_MERGE_KEYWORDS, IDS_KEYWORDS_NOT_MERGED}};
    for (const Case& c : cases) {
        CUser user([&] {
            EXPECT_TRUE(gui::AnswerMessageBox(Message(c.ask)));
            gui::ClickButton(gui::WaitForTopWindow("Enter Your Password"), IDCANCEL);
            EXPECT_TRUE(gui::AnswerMessageBox(Message(c.refused)));
        });
        Command(c.command);
    }
    EXPECT_EQ(Bytes(), before);
    EXPECT_EQ(Document()->FindKeyword("beta"), 1);
}

TEST_F(IndexKeywordCommandsTest, MergeGivesTheSourcesArticlesAndGroupsToTheTargetThenDeletesIt)
{
    Open();
    int32_t group = Group("Letters", {1});
    Highlight(m_view->IndexList(), {"beta"});
    bool okAtFirst = true, okAfterChoice = false;
    int offered = 0;
    std::string from, into;
    bool focusOnNo = false;
    {
        CUser user([&] {
            HWND choice = gui::WaitForTopWindow("Merge Keyword");
            ASSERT_NE(choice, nullptr);
            HWND list = gui::FindControl(choice, IDC_MERGE_TARGETS);
            offered = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
            okAtFirst = IsWindowEnabled(gui::FindControl(choice, IDOK)) != FALSE;
            auto* targets = dynamic_cast<CKeywordListBox*>(CWnd::FromHandle(list));
            ASSERT_NE(targets, nullptr);
            for (int i = 0; i < offered; ++i)
                if (targets->GetItemId(i) == 2)  // gamma
                    SendMessageA(list, LB_SETSEL, TRUE, i);
            SendMessageA(choice, WM_COMMAND, MAKEWPARAM(IDC_MERGE_TARGETS, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            okAfterChoice = IsWindowEnabled(gui::FindControl(choice, IDOK)) != FALSE;
            gui::ClickButton(choice, IDOK);
            HWND confirm = WaitForNext("Merge Keyword", choice);
            ASSERT_NE(confirm, nullptr);
            from = gui::GetText(gui::FindControl(confirm, IDC_MERGE_FROM));
            into = gui::GetText(gui::FindControl(confirm, IDC_MERGE_INTO));
            focusOnNo = gui::WaitFor([&] { return FocusOf(confirm) == gui::FindControl(confirm, IDCANCEL); });
            gui::ClickButton(confirm, IDOK);
        });
        Command(IDM_KEYWORD_MERGE);
    }
    EXPECT_EQ(offered, 3);
    EXPECT_FALSE(okAtFirst);
    EXPECT_TRUE(okAfterChoice);
    EXPECT_EQ(from, "beta");
    EXPECT_EQ(into, "gamma");
    EXPECT_TRUE(focusOnNo);
    EXPECT_EQ(Document()->FindKeyword("beta"), kNoneId);
    EXPECT_EQ(KeywordsOf("two"), (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(KeywordsOf("three"), (std::vector<int32_t>{2}));
    EXPECT_EQ(GroupsOf(2), (std::vector<int32_t>{group}));
}

TEST_F(IndexKeywordCommandsTest, KeywordsDroppedOnTitlesAndGroupsAreAssignedAfterTheQuestion)
{
    Open();
    int32_t group = Group("Target", {});
    auto drop = [&](HWND target, HWND source) {
        m_view->SendMessage(CDragList::kDropMessage, reinterpret_cast<WPARAM>(target), reinterpret_cast<LPARAM>(source));
    };
    HWND titles = m_view->TitleList().m_hWnd;
    HWND groups = m_view->GroupList().m_hWnd;
    HWND index = m_view->IndexList().m_hWnd;
    Highlight(m_view->IndexList(), {"gamma"});
    HighlightTitles({});
    std::string before = Bytes();
    {
        CUser user([&] { EXPECT_TRUE(gui::AnswerMessageBox(Message(IDS_NO_TITLES_FOR_KEYWORDS))); });
        drop(titles, index);
    }
    {
        CUser user([&] { EXPECT_TRUE(gui::AnswerMessageBox(Message(IDS_NO_GROUPS_FOR_KEYWORDS))); });
        drop(groups, index);
    }
    EXPECT_EQ(Bytes(), before);

    HighlightTitles({"one", "three"});
    std::string question;
    bool focusOnNo = false;
    {
        CUser user([&] {
            HWND dialog = gui::WaitForTopWindow("Assign Keywords to Articles");
            ASSERT_NE(dialog, nullptr);
            question = gui::GetText(gui::FindControl(dialog, IDC_ASSIGN_QUESTION));
            focusOnNo = gui::WaitFor([&] { return FocusOf(dialog) == gui::FindControl(dialog, IDCANCEL); });
            gui::ClickButton(dialog, IDOK);
        });
        drop(titles, index);
    }
    EXPECT_NE(question.find("Index column"), std::string::npos) << question;
    EXPECT_TRUE(focusOnNo);
    EXPECT_EQ(KeywordsOf("one"), (std::vector<int32_t>{0, 2, 3}));
    EXPECT_EQ(KeywordsOf("three"), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(KeywordsOf("two"), (std::vector<int32_t>{0, 1}));

    m_view->GroupList().SetGroupSel(group, true);
    {
        CUser user([&] {
            HWND dialog = gui::WaitForTopWindow("Assign Keywords to Keyword Groups");
            ASSERT_NE(dialog, nullptr);
            question = gui::GetText(gui::FindControl(dialog, IDC_ASSIGN_QUESTION));
            gui::ClickButton(dialog, IDOK);
        });
        drop(groups, index);
    }
    EXPECT_NE(question.find("Index column"), std::string::npos) << question;
    EXPECT_EQ(GroupsOf(2), (std::vector<int32_t>{group}));
}

TEST_F(IndexKeywordCommandsTest, ChangeKeywordsReplacesTheSharedKeywordsOfEveryHighlightedArticle)
{
    CKeywordIdSet offered;
    bool confirm = false;
    CKeywordIdSet answer;
    m_services.editSharedKeywords = [&](CQuorvaneDoc&, HWND, const CKeywordIdSet& shared, CKeywordIdSet& result) {
        offered.Copy(shared);
        result.Copy(answer);
        return confirm;
    };
    Open();
    HighlightTitles({"one", "two"});
    std::string before = Bytes();
    Command(IDM_KEYWORD_CHANGE);  // the user closes without a change
    EXPECT_EQ(offered.Values(), (std::vector<int32_t>{0}));
    EXPECT_EQ(Bytes(), before);

    confirm = true;
    answer.Add(2);  // alpha removed, gamma added
    Command(IDM_KEYWORD_CHANGE);
    EXPECT_EQ(KeywordsOf("one"), (std::vector<int32_t>{2, 3}));
    EXPECT_EQ(KeywordsOf("two"), (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(KeywordsOf("three"), (std::vector<int32_t>{1}));
}

TEST_F(IndexKeywordCommandsTest, DeleteInTheSelectedListMovesKeywordsBackToTheIndex)
{
    Open();
    Highlight(m_view->IndexList(), {"beta"});
    Command(CIndexView::kMoveToSelectedCommand);
    ASSERT_EQ(m_view->SelectedList().GetCount(), 1);
    Highlight(m_view->SelectedList(), {"beta"});
    m_view->SelectedList().SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    PumpMessages();
    EXPECT_EQ(m_view->SelectedList().GetCount(), 0);
    EXPECT_EQ(m_view->IndexList().GetCount(), 4);
}

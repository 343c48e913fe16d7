// The query dialogs on real windows over a knowledge base in a temporary file: Build Query's start
// text, insertions, Clear/Undo/Previous, errors and acceptance, Save Query...; Manage Queries' steps
// and what a read-only file allows; Select Query to Run. The dialogs run on a thread of their own;
// the test thread plays the user through messages, and the message boxes through the dialogs' seam.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <memory>
#include <string>
#include <vector>

#include "document/quorvane_doc.h"
#include "framework/error_sink.h"
#include "index/current_query.h"
#include "index/query_list.h"
#include "index/saved_query_actions.h"
#include "index/ui/query_dlgs.h"
#include "index/ui/query_dlgs_res.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int32_t kOpenFrom = CCurrentQuery::kOpenFrom;
constexpr int32_t kOpenTo = CCurrentQuery::kOpenTo;

// What the dialogs reported and asked, and the answers the user gives (Yes when none is queued).
struct Boxes {
    std::mutex lock;
    std::vector<std::string> texts;
    std::vector<UINT> styles;
    std::deque<int> answers;
};
Boxes g_boxes;
std::vector<std::string> g_errors;
void RecordError(const std::string& message)
{
    std::lock_guard<std::mutex> hold(g_boxes.lock);
    g_errors.push_back(message);
}

class QueryDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousSink = SetErrorSink(RecordError);
        {
            std::lock_guard<std::mutex> hold(g_boxes.lock);
            g_boxes.texts.clear();
            g_boxes.styles.clear();
            g_boxes.answers.clear();
            g_errors.clear();
        }
        QueryDialogServices& services = QueryServices();
        services = QueryDialogServices();
        services.messageBox = [](HWND, const std::string& text, UINT style) {
            std::lock_guard<std::mutex> hold(g_boxes.lock);
            g_boxes.texts.push_back(text);
            g_boxes.styles.push_back(style);
            int answer = IDYES;
            if (!g_boxes.answers.empty()) {
                answer = g_boxes.answers.front();
                g_boxes.answers.pop_front();
            }
            return answer;
        };
        services.savedQueriesChanged = [this] { ++m_menuRebuilds; };
        m_path = m_folder.File("kb.xrd");
        MakeDocument(false);
    }

    void TearDown() override
    {
        QueryServices() = QueryDialogServices();
        CloseDocument();
        SetErrorSink(m_previousSink);
    }

    void MakeDocument(bool readOnly)
    {
        m_doc = std::make_unique<CQuorvaneDoc>(m_host);
        m_index.m_document = m_doc.get();
        m_doc->AddView(&m_index);
        if (readOnly) {
            m_doc->SetOpenOptions(true, false);
            ASSERT_TRUE(m_doc->OnOpenDocument(m_path));
        } else {
            ASSERT_TRUE(m_doc->CreateNewFile(m_path));
            m_apple = m_doc->AddKeyword("apple", false);
            m_pear = m_doc->AddKeyword("pear", false);
            m_notes = m_doc->AddKeyword("my notes", false);
        }
        m_current.SetSource(m_doc.get());
    }

    void CloseDocument()
    {
        if (!m_doc)
            return;
        m_doc->RemoveView(&m_index);
        m_doc->SaveModified();
        m_doc->DeleteContents();
        m_doc.reset();
    }

    void ReopenReadOnly()
    {
        CloseDocument();
        MakeDocument(true);
    }

    // Runs `body` (which shows a dialog) on a thread of its own; `drive` plays the user once the
    // window with `caption` shows.
    void Drive(const std::function<void()>& body, const char* caption, const std::function<void(HWND)>& drive)
    {
        gui::CGuiThread ui(body);
        HWND dialog = gui::WaitForTopWindow(caption);
        ASSERT_NE(dialog, nullptr) << caption;
        drive(dialog);
        EXPECT_TRUE(ui.Join());
    }

    // Build Query over the document, starting from `text`; its result and accepted text.
    struct BuildResult {
        INT_PTR result = -1;
        std::string text;
        int32_t from = 0;
        int32_t to = 0;
    };
    BuildResult BuildQuery(const std::string& text, const std::function<void(HWND)>& drive, bool startFromCurrent = false)
    {
        BuildResult out;
        Drive(
            [&] {
                CBuildQueryDlg dialog;
                dialog.SetSources(m_doc.get(), nullptr);
                dialog.SetStartFromCurrent(startFromCurrent);
                dialog.m_savedQueries = &m_doc->GetQueryList();
                dialog.m_text = text;
                out.result = dialog.DoModal();
                out.text = dialog.m_text;
                out.from = dialog.m_from;
                out.to = dialog.m_to;
            },
            "Build Query", drive);
        return out;
    }

    INT_PTR Manage(const std::function<void(HWND)>& drive)
    {
        INT_PTR result = -1;
        Drive(
            [&] {
                CManageQueriesDlg dialog(*m_doc, m_current, nullptr);
                result = dialog.DoModal();
            },
            "Manage Queries", drive);
        return result;
    }

    std::vector<std::string> BoxTexts()
    {
        std::lock_guard<std::mutex> hold(g_boxes.lock);
        return g_boxes.texts;
    }

    CTempFolder m_folder;
    std::string m_path;
    Trace m_trace;
    CRecordingHost m_host;
    CRecordingIndexView m_index{m_trace};
    std::unique_ptr<CQuorvaneDoc> m_doc;
    CCurrentQuery m_current;
    int32_t m_apple = 0;
    int32_t m_pear = 0;
    int32_t m_notes = 0;
    std::atomic<int> m_menuRebuilds{0};
    ErrorSink m_previousSink = nullptr;
};

HWND Item(HWND dialog, int id) { return gui::FindControl(dialog, id); }
// Presses a button and returns once the dialog handled it (for buttons that open no window).
void Press(HWND dialog, int id) { SendMessageA(gui::FindControl(dialog, id), BM_CLICK, 0, 0); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Item(dialog, id)) != FALSE; }
std::string QueryText(HWND dialog) { return gui::GetText(Item(dialog, IDC_BQ_QUERY)); }

// Types `text` over the whole query, the caret after it. (A multi-line edit does not notify its
// owner of text set by WM_SETTEXT, so the text replaces a selection as typing or pasting would.)
void SetQueryText(HWND dialog, const std::string& text)
{
    HWND edit = Item(dialog, IDC_BQ_QUERY);
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void GetSelection(HWND edit, DWORD& start, DWORD& end)
{
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}

HWND FocusOf(HWND window)
{
    GUITHREADINFO info = {sizeof info};
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

TEST_F(QueryDialogs, BuildQueryStartText)
{
    struct Case {
        std::vector<int> selected;  // 0 apple, 1 pear, 2 my notes
        int mode;
        std::string current;
        std::string text;
        bool previous, ok;
    } cases[] = {
        {{1, 0}, 1, "", "apple OR pear", false, true},
        {{2}, 0, "apple", "\"my notes\"", true, true},
        {{}, 0, "pear AND apple  ", "pear AND apple", false, true},
        {{}, 0, "", "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        m_index.m_selectedKeywords.RemoveAll();
        const int32_t ids[] = {m_apple, m_pear, m_notes};
        for (int i : c.selected)
            m_index.m_selectedKeywords.Add(ids[i]);
        m_index.m_answer = c.mode;
        BuildResult result = BuildQuery(c.current, [&](HWND dialog) {
            EXPECT_EQ(QueryText(dialog), c.text);
            EXPECT_EQ(Enabled(dialog, IDC_BQ_PREVIOUS), c.previous);
            EXPECT_EQ(Enabled(dialog, IDC_BQ_OK), c.ok);
            EXPECT_EQ(Enabled(dialog, IDC_BQ_SAVE), c.ok);
            EXPECT_EQ(Enabled(dialog, IDC_QUERY_FROM), c.ok);
            EXPECT_EQ(Enabled(dialog, IDC_QUERY_TO), c.ok);
            EXPECT_FALSE(Enabled(dialog, IDC_BQ_GROUP));  // no keyword groups
            gui::ClickButton(dialog, IDCANCEL);
        });
        EXPECT_EQ(result.result, IDCANCEL);
    }
    m_index.m_selectedKeywords.RemoveAll();
}

TEST_F(QueryDialogs, InsertingClearUndoAndPrevious)
{
    BuildResult result = BuildQuery("old", [&](HWND dialog) {
        SetQueryText(dialog, "x");
        Press(dialog, IDC_BQ_AND);
        EXPECT_EQ(QueryText(dialog), "xAND ");
        SetQueryText(dialog, "xy");
        Press(dialog, IDC_BQ_AND);
        EXPECT_EQ(QueryText(dialog), "xy AND ");
        EXPECT_EQ(FocusOf(dialog), Item(dialog, IDC_BQ_QUERY));
        DWORD start = 0, end = 0;
        GetSelection(Item(dialog, IDC_BQ_QUERY), start, end);
        EXPECT_EQ(start, 7u);
        EXPECT_TRUE(Enabled(dialog, IDC_BQ_UNDO));
        Press(dialog, IDC_BQ_UNDO);
        EXPECT_EQ(QueryText(dialog), "xy");

        // A keyword from the list, by double click.
        HWND list = Item(dialog, IDC_BQ_KEYWORDS);
        SendMessageA(list, LB_SETSEL, TRUE, 1);  // my notes (apple, my notes, pear)
        SendMessageA(list, LB_SETCARETINDEX, 1, FALSE);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BQ_KEYWORDS, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        EXPECT_EQ(QueryText(dialog), "xy \"my notes\" ");

        Press(dialog, IDC_BQ_CLEAR);
        EXPECT_EQ(QueryText(dialog), "");
        EXPECT_FALSE(Enabled(dialog, IDC_BQ_OK));
        EXPECT_FALSE(Enabled(dialog, IDC_BQ_SAVE));
        EXPECT_FALSE(Enabled(dialog, IDC_QUERY_TO));
        EXPECT_TRUE(Enabled(dialog, IDC_BQ_PREVIOUS));
        Press(dialog, IDC_BQ_UNDO);
        EXPECT_EQ(QueryText(dialog), "xy \"my notes\" ");
        Press(dialog, IDC_BQ_PREVIOUS);
        EXPECT_EQ(QueryText(dialog), "old");
        EXPECT_FALSE(Enabled(dialog, IDC_BQ_PREVIOUS));
        gui::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(result.result, IDCANCEL);
}

TEST_F(QueryDialogs, AcceptingReportsErrorsWhereTheyAre)
{
    BuildResult result = BuildQuery("", [&](HWND dialog) {
        SetQueryText(dialog, "apple pear");
        Press(dialog, IDC_BQ_OK);
        EXPECT_EQ(g_errors.size(), 1u);
        EXPECT_TRUE(IsWindow(dialog));
        DWORD start = 0, end = 0;
        GetSelection(Item(dialog, IDC_BQ_QUERY), start, end);
        EXPECT_EQ(start, 5u);  // the character before "pear"
        EXPECT_EQ(end, 6u);

        // A bad to-date is found first: its edit is selected and focused.
        SetQueryText(dialog, "apple OR pear");
        gui::SetText(Item(dialog, IDC_QUERY_TO), "99/99/99999");
        gui::SetText(Item(dialog, IDC_QUERY_FROM), "99/99/99999");
        Press(dialog, IDC_BQ_OK);
        EXPECT_EQ(BoxTexts().size(), 1u);
        EXPECT_EQ(GetDlgCtrlID(FocusOf(dialog)), IDC_QUERY_TO);
        gui::SetText(Item(dialog, IDC_QUERY_TO), "");
        gui::SetText(Item(dialog, IDC_QUERY_FROM), "");
        // Alt+O accepts wherever the focus is: here in the keyword list.
        SendMessageA(Item(dialog, IDC_BQ_KEYWORDS), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(Item(dialog, IDC_BQ_KEYWORDS), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDM_DIALOG_ACCEPT, 1), 0);
    });
    EXPECT_EQ(result.result, IDOK);
    EXPECT_EQ(result.text, "apple OR pear");
    EXPECT_EQ(result.from, kOpenFrom);
    EXPECT_EQ(result.to, kOpenTo);
    EXPECT_EQ(g_errors.size(), 1u);

    // Alt+O is the accelerator of that command.
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_DIALOG_KEYS));
    ASSERT_NE(table, nullptr);
    ACCEL keys[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, keys, 4), 1);
    EXPECT_EQ(keys[0].key, 'O');
    EXPECT_EQ(keys[0].cmd, IDM_DIALOG_ACCEPT);
    EXPECT_EQ(keys[0].fVirt & (FALT | FVIRTKEY), FALT | FVIRTKEY);
}

TEST_F(QueryDialogs, EnterInTheKeywordListInsertsElsewhereAccepts)
{
    BuildResult result = BuildQuery("", [&](HWND dialog) {
        HWND list = Item(dialog, IDC_BQ_KEYWORDS);
        SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));  // apple, and the focus
        SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ASSERT_EQ(FocusOf(dialog), list);
        gui::PressKey(list, VK_RETURN);
        ASSERT_TRUE(gui::WaitFor([&] { return QueryText(dialog) == "apple "; }));
        gui::PressKey(Item(dialog, IDC_BQ_QUERY), VK_RETURN);
    });
    EXPECT_EQ(result.result, IDOK);
    EXPECT_EQ(result.text, "apple");
}

TEST_F(QueryDialogs, SaveQueryAddsANamedEntry)
{
    BuildResult result = BuildQuery("", [&](HWND dialog) {
        SetQueryText(dialog, "apple AND pear");
        EXPECT_TRUE(Enabled(dialog, IDC_BQ_SAVE));
        EXPECT_TRUE(IsWindowVisible(Item(dialog, IDC_BQ_SAVE)));
        EXPECT_TRUE(gui::ClickButton(dialog, IDC_BQ_SAVE));
        HWND prompt = gui::WaitForTopWindow("Save Query");
        ASSERT_NE(prompt, nullptr);
        EXPECT_FALSE(IsWindowEnabled(gui::FindControl(prompt, IDOK)));
        gui::SetText(gui::FindControl(prompt, IDC_SQ_NAME), "  Fruit ");
        EXPECT_TRUE(IsWindowEnabled(gui::FindControl(prompt, IDOK)));
        gui::ClickButton(prompt, IDOK);
        EXPECT_TRUE(gui::WaitFor([&] { return !IsWindow(prompt); }));
        gui::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(result.result, IDCANCEL);
    std::string name, text;
    int32_t from = 0, to = 0;
    ASSERT_TRUE(m_doc->GetQueryList().GetAt(0, name, text, from, to));
    EXPECT_EQ(name, "Fruit");
    EXPECT_EQ(text, "apple AND pear");
    EXPECT_EQ(m_menuRebuilds, 1);

    // A read-only file offers no Save Query....
    ReopenReadOnly();
    BuildQuery("apple", [&](HWND dialog) {
        EXPECT_FALSE(Enabled(dialog, IDC_BQ_SAVE));
        gui::ClickButton(dialog, IDCANCEL);
    });
}

TEST_F(QueryDialogs, KeywordGroupInsertsTheGroupWord)
{
    CKeywordGroupRecord group;
    group.SetName("Work Things");
    group.SetKeywordIds(CKeywordIdSet());
    const int32_t id = m_doc->AddKeywordGroup(group);
    QueryServices().chooseKeywordGroup = [id](HWND) { return id; };
    BuildQuery("", [&](HWND dialog) {
        ASSERT_TRUE(Enabled(dialog, IDC_BQ_GROUP));
        Press(dialog, IDC_BQ_GROUP);
        EXPECT_EQ(QueryText(dialog), "GROUP: \"Work Things\" ");
        gui::ClickButton(dialog, IDCANCEL);
    });
}

// ---- Manage Queries ----

int Row(HWND dialog) { return static_cast<int>(SendMessageA(gui::FindControl(dialog, IDC_MQ_LIST), LB_GETCURSEL, 0, 0)); }
void Highlight(HWND dialog, int row)
{
    HWND list = gui::FindControl(dialog, IDC_MQ_LIST);
    SendMessageA(list, LB_SETCURSEL, row, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MQ_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}
std::string RowText(HWND dialog, int row)
{
    HWND list = gui::FindControl(dialog, IDC_MQ_LIST);
    char text[256] = {};
    SendMessageA(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(QueryDialogs, ManageDeleteKeepsTheRowOrMovesUp)
{
    CQueryList& list = m_doc->GetQueryList();
    list.Add("Beta", "pear", kOpenFrom, kOpenTo);
    list.Add("Alpha", "apple", kOpenFrom, kOpenTo);
    list.Add("Gamma", "apple OR pear", kOpenFrom, kOpenTo);
    list.Add("Delta", "NOT apple", kOpenFrom, kOpenTo);  // rows: Alpha, Beta, Delta, Gamma
    auto count = [](HWND dialog) { return SendMessageA(Item(dialog, IDC_MQ_LIST), LB_GETCOUNT, 0, 0); };
    INT_PTR result = Manage([&](HWND dialog) {
        EXPECT_EQ(Row(dialog), -1);
        EXPECT_FALSE(Enabled(dialog, IDC_MQ_RUN));
        EXPECT_TRUE(Enabled(dialog, IDC_MQ_NEW));
        Highlight(dialog, 3);  // Gamma, the last row
        EXPECT_EQ(gui::GetText(Item(dialog, IDC_QUERY_TEXT)), "apple OR pear");
        {
            std::lock_guard<std::mutex> hold(g_boxes.lock);
            g_boxes.answers = {IDNO, IDYES};
        }
        Press(dialog, IDC_MQ_DELETE);  // No
        EXPECT_EQ(count(dialog), 4);
        Press(dialog, IDC_MQ_DELETE);  // Yes: the row above, Delta, whose entry came after Gamma's
        EXPECT_EQ(count(dialog), 3);
        EXPECT_EQ(Row(dialog), 2);
        EXPECT_EQ(RowText(dialog, 2), "Delta");
        EXPECT_EQ(gui::GetText(Item(dialog, IDC_QUERY_TEXT)), "NOT apple");
        Highlight(dialog, 0);
        Press(dialog, IDC_MQ_DELETE);
        EXPECT_EQ(Row(dialog), 0);  // the same row: Beta moved up
        EXPECT_EQ(gui::GetText(Item(dialog, IDC_QUERY_TEXT)), "pear");
        Press(dialog, IDC_MQ_DELETE);
        EXPECT_EQ(gui::GetText(Item(dialog, IDC_QUERY_TEXT)), "NOT apple");
        Press(dialog, IDC_MQ_DELETE);  // the only one
        EXPECT_EQ(Row(dialog), -1);
        EXPECT_FALSE(Enabled(dialog, IDC_MQ_RUN));
        EXPECT_EQ(gui::GetText(Item(dialog, IDC_QUERY_TEXT)), "");
        gui::ClickButton(dialog, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(list.GetCount(), 0);
    std::lock_guard<std::mutex> hold(g_boxes.lock);
    ASSERT_EQ(g_boxes.texts.size(), 5u);
    EXPECT_EQ(g_boxes.texts[0], "Delete this query: Gamma?");
    EXPECT_EQ(g_boxes.styles[0], UINT(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
}

TEST_F(QueryDialogs, ManageRenameAndReadOnly)
{
    CQueryList& list = m_doc->GetQueryList();
    list.Add("Work", "apple", kOpenFrom, kOpenTo);
    list.Add("Misc", "pear", kOpenFrom, kOpenTo);
    Manage([&](HWND dialog) {
        Highlight(dialog, 1);  // Work (Misc, Work)
        gui::ClickButton(dialog, IDC_MQ_RENAME);
        HWND rename = gui::WaitForTopWindow("Rename Query To");
        ASSERT_NE(rename, nullptr);
        EXPECT_EQ(gui::GetText(gui::FindControl(rename, IDC_SQ_NAME)), "Work");
        gui::SetText(gui::FindControl(rename, IDC_SQ_NAME), "work");
        gui::ClickButton(rename, IDOK);
        ASSERT_TRUE(gui::WaitFor([&] { return RowText(dialog, 1) == "work"; }));
        EXPECT_EQ(Row(dialog), 1);

        // Onto the other name: asked, and the renamed query keeps its own text.
        gui::ClickButton(dialog, IDC_MQ_RENAME);
        rename = gui::WaitForTopWindow("Rename Query To");
        ASSERT_NE(rename, nullptr);
        gui::SetText(gui::FindControl(rename, IDC_SQ_NAME), "MISC");
        gui::ClickButton(rename, IDOK);
        ASSERT_TRUE(gui::WaitFor([&] { return SendMessageA(Item(dialog, IDC_MQ_LIST), LB_GETCOUNT, 0, 0) == 1; }));
        EXPECT_EQ(RowText(dialog, 0), "MISC");
        EXPECT_EQ(gui::GetText(Item(dialog, IDC_QUERY_TEXT)), "apple");
        gui::ClickButton(dialog, IDCANCEL);
    });
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0], "Query: MISC already exists.\n\nOverwrite the existing query?");

    ReopenReadOnly();
    INT_PTR result = Manage([&](HWND dialog) {
        EXPECT_FALSE(Enabled(dialog, IDC_MQ_NEW));
        Highlight(dialog, 0);
        EXPECT_FALSE(Enabled(dialog, IDC_MQ_EDIT));
        EXPECT_FALSE(Enabled(dialog, IDC_MQ_RENAME));
        EXPECT_FALSE(Enabled(dialog, IDC_MQ_DELETE));
        EXPECT_TRUE(Enabled(dialog, IDC_MQ_RUN));
        gui::ClickButton(dialog, IDC_MQ_RUN);
    });
    EXPECT_EQ(result, IDC_MQ_RUN);
    EXPECT_EQ(m_current.GetText(), "apple");
}

TEST_F(QueryDialogs, ManageNewAndEditGoThroughBuildQuery)
{
    ASSERT_TRUE(CommitQuery(m_current, m_doc.get(), "pear", kOpenFrom, kOpenTo, false));
    m_doc->GetQueryList().Add("Apples", "apple", kOpenFrom, kOpenTo);
    Manage([&](HWND dialog) {
        gui::ClickButton(dialog, IDC_MQ_NEW);
        HWND build = gui::WaitForTopWindow("New Query");
        ASSERT_NE(build, nullptr);
        EXPECT_FALSE(IsWindowVisible(gui::FindControl(build, IDC_BQ_SAVE)));
        EXPECT_EQ(gui::GetText(gui::FindControl(build, IDC_BQ_QUERY)), "pear");
        SetQueryText(build, "apple AND pear");
        gui::ClickButton(build, IDC_BQ_OK);
        HWND name = gui::WaitForTopWindow("Save Query");
        ASSERT_NE(name, nullptr);
        gui::SetText(gui::FindControl(name, IDC_SQ_NAME), "Both");
        gui::ClickButton(name, IDOK);
        ASSERT_TRUE(gui::WaitFor([&] { return SendMessageA(Item(dialog, IDC_MQ_LIST), LB_GETCOUNT, 0, 0) == 2; }));
        EXPECT_EQ(RowText(dialog, Row(dialog)), "Both");
        EXPECT_EQ(gui::GetText(Item(dialog, IDC_QUERY_TEXT)), "apple AND pear");

        Highlight(dialog, 0);  // Apples
        gui::ClickButton(dialog, IDC_MQ_EDIT);
        build = gui::WaitForTopWindow("Edit Query");
        ASSERT_NE(build, nullptr);
        EXPECT_EQ(gui::GetText(gui::FindControl(build, IDC_BQ_QUERY)), "apple");
        SetQueryText(build, "NOT pear");
        gui::ClickButton(build, IDC_BQ_OK);
        ASSERT_TRUE(gui::WaitFor([&] { return gui::GetText(Item(dialog, IDC_QUERY_TEXT)) == "NOT pear"; }));
        gui::ClickButton(dialog, IDCANCEL);
    });
    // The query shown under "Query Titles" is still pear, text and code.
    EXPECT_EQ(m_current.GetText(), "pear");
    EXPECT_TRUE(m_current.IsValid());
    std::string name, text;
    int32_t from = 0, to = 0;
    ASSERT_TRUE(m_doc->GetQueryList().GetAt(0, name, text, from, to));
    EXPECT_EQ(text, "NOT pear");
}

TEST_F(QueryDialogs, SelectQueryToRunReturnsTheHighlightedEntry)
{
    m_doc->GetQueryList().Add("Pears", "pear", kOpenFrom, kOpenTo);
    m_doc->GetQueryList().Add("Apples", "apple", kOpenFrom, kOpenTo);
    int chosen = -2;
    INT_PTR result = -1;
    Drive(
        [&] {
            CSelectQueryDlg dialog(m_doc->GetQueryList());
            result = dialog.DoModal();
            chosen = dialog.m_chosen;
        },
        "Select Query to Run",
        [&](HWND dialog) {
            EXPECT_FALSE(IsWindowEnabled(gui::FindControl(dialog, IDOK)));
            HWND list = gui::FindControl(dialog, IDC_SQ_LIST);
            SendMessageA(list, LB_SETCURSEL, 1, 0);  // Pears
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SQ_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            EXPECT_EQ(gui::GetText(gui::FindControl(dialog, IDC_QUERY_TEXT)), "pear");
            gui::ClickButton(dialog, IDOK);
        });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(chosen, 0);
}

}  // namespace

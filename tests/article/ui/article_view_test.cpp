// Article windows opened by CQuorvaneDoc::OpenArticle over a temporary data file through the
// Windows host, in an MDI frame: saving with its checks and reading back after closing and reopening
// the file, the close prompts, Undo Article Changes, the header, the layout, the keyword commands and
// drops, and the notifications of the document. Questions go through the view's message-box seam,
// which records them and answers from a script.
#include <windows.h>
#include <prsht.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "article/ui/article_doc_host.h"
#include "article/ui/article_frame.h"
#include "article/ui/article_keywords_dlg.h"
#include "article/ui/article_view.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/mdi_wnd.h"
#include "resources/article_properties_res.h"
#include "resources/commands.h"
#include "resources/resource.h"
#include "resources/article_window_res.h"
#include "shell/app_settings.h"
#include "shell/article_placement.h"
#include "shell/memory_profile_store.h"
#include "storage/article_record.h"
#include "storage/date.h"
#include "storage/link_shell.h"
#include "storage/quor_error.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_data_object.h"

namespace {

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

std::string Text(int id) { return QuorLoadString(id); }

// Replaces the text of an edit as typing does (a multi-line edit reports no change for WM_SETTEXT).
void TypeInto(HWND edit, const std::string& text)
{
    SendMessageA(edit, EM_SETSEL, 0, -1);
    for (char c : text)
        SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

class ArticleViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = m_folder.File("articles.xrd");
        {
            CRecordingHost host;
            CQuorvaneDoc document(host);
            ASSERT_TRUE(document.CreateNewFile(m_path));
            for (const char* name : {"alpha", "Beta", "gamma"})
                document.AddKeyword(name, false);
            CArticleRecord record;
            record.SetTitle("Stored");
            record.SetDate(20240101);
            record.SetTime(3600);
            CKeywordIdSet keywords;
            keywords.Add(0);
            record.SetKeywordIds(keywords);
            m_storedId = document.AddArticle(record, false, false);
            document.DeleteContents();
        }
        ASSERT_TRUE(m_main.Create("Article test", 0));
        m_main.ShowWindow(SW_SHOW);
        MoveWindow(m_main.m_hWnd, 0, 0, 1000, 760, TRUE);
        m_settings.ResetSettings();
        m_settings.SetDisplayDate(1);
        m_settings.SetDisplayTime(1);
        m_host.SetArticleFrameOwner(&m_main);

        CArticleViewServices services;
        services.settings = &m_settings;
        services.getKeywordWidth = [this] { return m_keywordWidth; };
        services.setKeywordWidth = [this](int width) { m_keywordWidth = width; };
        services.messageBox = [this](HWND, const std::string& text, UINT style) {
            m_asked.push_back(text);
            m_styles.push_back(style);
            if (m_answers.empty())
                return (style & 0xF) == MB_OK ? IDOK : IDCANCEL;
            int answer = m_answers.front();
            m_answers.pop_front();
            return answer;
        };
        services.askSaveArticle = [this](HWND, const std::string& title, bool& noWarnings) {
            m_asked.push_back("Save Article: " + title);
            noWarnings = false;
            int answer = m_saveAnswer;
            return answer;
        };
        services.runKeywordsDialog = [this](CArticleKeywordsDlg& dialog) -> INT_PTR {
            ++m_keywordDialogs;
            return m_keywordScript ? m_keywordScript(dialog) : IDCANCEL;
        };
        services.chooseDate = [this](HWND, int top, int right, int32_t& date) {
            m_calendarAt = {right, top};
            m_calendarOpenedOn = date;
            if (m_calendarChoice == 0)
                return false;
            date = m_calendarChoice;
            return true;
        };
        services.confirmDelete = [this](HWND, CQuorvaneDoc&, int32_t) { return m_confirmDelete; };
        services.nextWindowRect = [this](int width, int height) {
            CArticlePlacement::Rect next = m_placement.Next(width, height, GetSystemMetrics(SM_CYCAPTION));
            return RECT{next.x, next.y, next.width, next.height};
        };
        services.storeWindowSize = [this](int width, int height) { m_placement.SetSize(width, height); };
        services.trackMenu = [this](HMENU popup, POINT) {
            std::vector<UINT> ids;
            for (int i = 0; i < GetMenuItemCount(popup); ++i)
                ids.push_back(GetMenuItemID(popup, i));
            m_menus.push_back(ids);
        };
        CArticleView::SetServices(services);
        CArticleView::SetSavingWithoutWarnings(false);
        CArticleKeywordsDlg::SetSettings(&m_settings);
    }
    void TearDown() override
    {
        CloseDocument();
        m_main.DestroyWindow();
        CArticleView::SetServices(CArticleViewServices());
        CArticleKeywordsDlg::SetSettings(nullptr);
    }

    void OpenDocument(bool readOnly = false)
    {
        m_document = std::make_unique<CQuorvaneDoc>(m_host);
        m_document->SetSettings(&m_settings);
        m_host.SetCurrentDocument(m_document.get());
        m_document->SetOpenOptions(readOnly, false);
        ASSERT_TRUE(m_document->OnOpenDocument(m_path));
    }
    // Closes every article window without questions, then the file.
    void CloseDocument()
    {
        for (HWND child : Children())
            DestroyWindow(child);
        Pump();
        if (m_document) {
            m_document->SaveModified();
            m_document->DeleteContents();
            m_host.SetCurrentDocument(nullptr);
            m_document.reset();
        }
    }
    std::vector<HWND> Children()
    {
        std::vector<HWND> out;
        for (HWND child = GetWindow(m_main.GetMDIClient(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetWindowLongPtrA(child, GWL_STYLE) & WS_CHILD && GetParent(child) == m_main.GetMDIClient())
                out.push_back(child);
        return out;
    }
    CArticleView* Open(int32_t id)
    {
        m_document->OpenArticle(id);
        Pump();
        auto* frame = dynamic_cast<CArticleFrame*>(m_main.MDIGetActive());
        m_frame = frame;
        return frame ? frame->GetArticleView() : nullptr;
    }
    bool Command(UINT id) { return m_frame->ExecuteCommand(id); }
    CCmdUIProbe Probe(CArticleView* view, UINT id)
    {
        CCmdUIProbe probe(id);
        view->OnCmdMsg(id, &probe);
        return probe;
    }
    bool IsOpen(CArticleFrame* frame)
    {
        for (HWND child : Children())
            if (child == frame->m_hWnd)
                return true;
        return false;
    }
    CArticleRecord Stored(int32_t id)
    {
        CArticleRecord record;
        m_document->LoadArticle(id, record);
        return record;
    }
    // A new article that passes every check.
    CArticleView* NewReadyArticle(const std::string& title)
    {
        CArticleView* view = Open(CArticleView::kNewArticle);
        view->TitleBox().SetWindowText(title);
        view->Content().SetPlainText("Some text", false);
        view->AssignKeywordByName("alpha");
        return view;
    }

    CTempFolder m_folder;
    std::string m_path;
    int32_t m_storedId = 0;
    CArticleDocHost m_host;
    CMemoryProfileStore m_settingsStore;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_settingsStore, m_fonts, m_directories};
    CMDIFrameWnd m_main;
    std::unique_ptr<CQuorvaneDoc> m_document;
    CArticleFrame* m_frame = nullptr;
    CArticlePlacement m_placement;
    int m_keywordWidth = 100;
    std::vector<std::string> m_asked;
    std::vector<UINT> m_styles;
    std::deque<int> m_answers;
    int m_saveAnswer = IDCANCEL;
    int m_keywordDialogs = 0;
    std::function<INT_PTR(CArticleKeywordsDlg&)> m_keywordScript;
    POINT m_calendarAt = {0, 0};
    int32_t m_calendarOpenedOn = 0;
    int32_t m_calendarChoice = 0;
    bool m_confirmDelete = false;
    std::vector<std::vector<UINT>> m_menus;  // the ids of each context menu shown
};

TEST_F(ArticleViewTest, ANewArticleIsSavedWholeAndReadsBackAfterReopeningTheFile)
{
    OpenDocument();
    CArticleView* view = Open(CArticleView::kNewArticle);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(gui::GetText(m_frame->m_hWnd).rfind("Untitled ", 0), 0u);
    EXPECT_EQ(view->TitleBox().GetWindowText(), gui::GetText(m_frame->m_hWnd));
    EXPECT_FALSE(view->IsModified());

    view->TitleBox().SetWindowText("Round trip");
    view->Content().SetPlainText("Read the manual here", false);
    LinkRange link;
    link.start = 16;
    link.end = 20;
    link.type = 2;
    link.target = "http://example.com/";
    CLinkRangeList links;
    links.Add(link);
    view->Content().SetLinkRanges(links);
    view->DateBox().SetDate(20240312, true);
    view->TimeField().SetTime(10 * 3600 + 5 * 60, true);
    view->AssignKeywordByName("Fresh keyword\r\nignored");
    EXPECT_TRUE(Command(IDM_ARTICLE_BOOKMARK));
    EXPECT_TRUE(view->IsModified());
    EXPECT_TRUE(Probe(view, IDM_ARTICLE_SAVE).m_enabled);
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    EXPECT_TRUE(m_asked.empty());
    EXPECT_FALSE(view->IsModified());
    const int32_t id = view->GetArticleId();
    EXPECT_NE(id, CArticleView::kNewArticle);
    EXPECT_EQ(gui::GetText(m_frame->m_hWnd), "Round trip");

    // Saving again updates the same article.
    view->TitleBox().SetWindowText("Round trip");
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    EXPECT_EQ(view->GetArticleId(), id);
    const int count = m_document->GetArticleCount();
    EXPECT_EQ(count, 2);

    CArticleFrame* frame = m_frame;
    EXPECT_TRUE(Command(IDM_ARTICLE_CLOSE));
    Pump();
    EXPECT_FALSE(IsOpen(frame));
    CloseDocument();

    OpenDocument();
    CArticleRecord record = Stored(id);
    EXPECT_EQ(record.GetTitle(), "Round trip");
    EXPECT_EQ(record.GetDateOf(CArticleRecord::kOwnDate), 20240312);
    EXPECT_EQ(record.GetTimeOf(CArticleRecord::kOwnDate), 10 * 3600 + 5 * 60);
    EXPECT_NE(record.GetRtfText().find("Read the manual"), std::string::npos);
    ASSERT_EQ(record.GetLinks().GetCount(), 1);
    EXPECT_EQ(record.GetLinks().Item(0)->target, "http://example.com/");
    int32_t fresh = m_document->FindKeyword("Fresh keyword");
    ASSERT_GE(fresh, 0);
    CKeywordIdSet keywords;
    record.GetKeywordIds(keywords);
    EXPECT_TRUE(keywords.Contains(fresh));
    EXPECT_TRUE(m_document->IsBookmarked(id));

    // Opened again: everything in its control; opening it once more only activates the window.
    view = Open(id);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->TitleBox().GetWindowText(), "Round trip");
    EXPECT_EQ(view->Content().Links().GetCount(), 1);
    EXPECT_TRUE(view->KeywordList().HasId(fresh));
    EXPECT_TRUE(view->IsBookmarked());
    EXPECT_FALSE(view->IsModified());
    Open(m_storedId);
    EXPECT_EQ(Children().size(), 2u);
    EXPECT_EQ(Open(id), view);
    EXPECT_EQ(Children().size(), 2u);
}

TEST_F(ArticleViewTest, ALongTitleIsCutInTheTitleBoxOnlyAndAPastedOneKeepsTheLimit)
{
    OpenDocument();
    CArticleRecord record = Stored(m_storedId);
    record.SetTitle(std::string(5000, 't'));
    m_document->UpdateArticle(m_storedId, record, false);
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->TitleBox().GetWindowText().size(), 4600u);
    EXPECT_EQ(gui::GetText(m_frame->m_hWnd).size(), 5000u);

    // 5000 characters pasted into an empty title box leave the first 4600.
    ASSERT_TRUE(OpenClipboard(m_main.m_hWnd));
    EmptyClipboard();
    std::string paste(5000, 'p');
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, paste.size() + 1);
    memcpy(GlobalLock(memory), paste.c_str(), paste.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
    view->TitleBox().SetWindowText("");
    view->TitleBox().SetFocus();
    EXPECT_TRUE(Command(IDM_EDIT_PASTE));
    EXPECT_EQ(view->TitleBox().GetWindowText(), std::string(4600, 'p'));
}

// The content's Paste state is kept between idle updates: it must still follow every change of
// the clipboard.
TEST_F(ArticleViewTest, ContentPasteFollowsTheClipboard)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    view->Content().SetFocus();
    auto setClipboard = [&](const char* text) {
        ASSERT_TRUE(OpenClipboard(m_main.m_hWnd));
        EmptyClipboard();
        if (text) {
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
            memcpy(GlobalLock(memory), text, strlen(text) + 1);
            GlobalUnlock(memory);
            SetClipboardData(CF_TEXT, memory);
        }
        CloseClipboard();
    };
    for (const char* text : {static_cast<const char*>(nullptr), "pasted", static_cast<const char*>(nullptr), "again"}) {
        setClipboard(text);
        EXPECT_EQ(Probe(view, IDM_EDIT_PASTE).m_enabled, text != nullptr) << (text ? text : "(empty)");
        EXPECT_EQ(Probe(view, IDM_EDIT_PASTE).m_enabled, text != nullptr) << (text ? text : "(empty)");
    }
}

TEST_F(ArticleViewTest, SaveChecksStoreNothingWhenTheyRefuse)
{
    OpenDocument();
    const int before = m_document->GetArticleCount();

    // Empty title: with DefaultTitle the title comes from the content, without it 11101.
    m_settings.SetDefaultTitle(1);
    CArticleView* view = NewReadyArticle("");
    view->Content().SetPlainText("Hello world\r\nmore", false);
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    EXPECT_EQ(view->TitleBox().GetWindowText(), "Hello world");
    EXPECT_EQ(m_document->GetArticleCount(), before + 1);

    m_settings.SetDefaultTitle(0);
    view = NewReadyArticle("  ");
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0], Text(IDS_ARTICLE_NEEDS_TITLE));
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(m_document->GetArticleCount(), before + 1);

    // A quiet save refused: code 54 (message 1154), nothing stored.
    try {
        view->SaveArticle(true, true);
        ADD_FAILURE() << "no refusal";
    } catch (const CQuorError& error) {
        EXPECT_EQ(error.Code(), kUnsavedArticles);
        EXPECT_NE(error.Message().find("unsaved article(s) could not be saved"), std::string::npos);
    }
    EXPECT_EQ(m_asked.size(), 1u);
    EXPECT_FALSE(m_document->SaveArticleWindows(0));

    // A bad date: 11100, the date text selected, nothing stored.
    m_asked.clear();
    view->TitleBox().SetWindowText("Dated");
    TypeInto(view->DateBox().m_hWnd, "99/99/9999");
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0].rfind("Invalid date.", 0), 0u);
    DWORD start = 1, end = 0;
    view->DateBox().SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, view->DateBox().GetWindowText().size());
    EXPECT_EQ(m_document->GetArticleCount(), before + 1);

    // No keyword: the keywords dialog opens; Cancel refuses.
    m_asked.clear();
    view->DateBox().SetDate(20240102);
    view->KeywordList().ResetContent();
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    EXPECT_EQ(m_keywordDialogs, 1);
    EXPECT_EQ(m_document->GetArticleCount(), before + 1);
    EXPECT_TRUE(view->IsModified());

    // Blank content asks 11102; No closes the window without storing.
    view->AssignKeywordByName("alpha");
    view->Content().SetPlainText("", false);
    m_answers = {IDNO};
    CArticleFrame* frame = m_frame;
    EXPECT_TRUE(frame->CanClose());
    Pump();
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0], Text(IDS_SAVE_BLANK_ARTICLE));
    EXPECT_EQ(m_styles.back(), static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_FALSE(IsOpen(frame));
    EXPECT_EQ(m_document->GetArticleCount(), before + 1);
}

TEST_F(ArticleViewTest, ClosingAskspWhenModifiedAndStoresALinkModeChangeSilently)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    CArticleFrame* frame = m_frame;
    view->TitleBox().SetWindowText("Changed");
    EXPECT_TRUE(view->IsModified());

    // The close box: Cancel keeps it open, No closes without storing.
    m_saveAnswer = IDCANCEL;
    SendMessageA(frame->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    Pump();
    EXPECT_TRUE(IsOpen(frame));
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0], "Save Article: Changed");
    EXPECT_TRUE(view->IsModified());
    m_saveAnswer = IDNO;
    EXPECT_TRUE(Command(IDM_ARTICLE_CLOSE));
    Pump();
    EXPECT_FALSE(IsOpen(frame));
    EXPECT_EQ(Stored(m_storedId).GetTitle(), "Stored");

    // Only the link mode changed: stored without a question.
    view = Open(m_storedId);
    m_asked.clear();
    view->OnDocumentNotify(ArticleHint::kActiveLinks, 2, 0);
    EXPECT_FALSE(view->IsModified());
    EXPECT_TRUE(m_frame->CanClose());
    Pump();
    EXPECT_TRUE(m_asked.empty());
    EXPECT_EQ(Stored(m_storedId).GetInfo().GetEditorState(), 2);
}

TEST_F(ArticleViewTest, UndoArticleChangesUndoesThenRedoesAndUndoFollowsTheFocus)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(Probe(view, IDM_EDIT_UNDO_ARTICLE).m_enabled);
    view->TitleBox().SetWindowText("Edited");
    EXPECT_EQ(Probe(view, IDM_EDIT_UNDO_ARTICLE).m_text, Text(IDS_UNDO_ARTICLE_CHANGES));
    EXPECT_TRUE(Command(IDM_EDIT_UNDO_ARTICLE));
    EXPECT_EQ(view->TitleBox().GetWindowText(), "Stored");
    EXPECT_FALSE(view->IsModified());
    CCmdUIProbe redo = Probe(view, IDM_EDIT_UNDO_ARTICLE);
    EXPECT_TRUE(redo.m_enabled);
    EXPECT_EQ(redo.m_text, Text(IDS_REDO_ARTICLE_CHANGES));
    EXPECT_EQ(view->OnDocumentNotify(ArticleHint::kStatusPrompt, IDM_EDIT_UNDO_ARTICLE, 0),
              IDS_REDO_ARTICLE_CHANGES_PROMPT);
    EXPECT_TRUE(Command(IDM_EDIT_UNDO_ARTICLE));
    EXPECT_EQ(view->TitleBox().GetWindowText(), "Edited");
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(Probe(view, IDM_EDIT_UNDO_ARTICLE).m_text, Text(IDS_UNDO_ARTICLE_CHANGES));

    // Undo: the date box swaps with its previous date, back and forth.
    view->DateBox().SetFocus();
    view->DateBox().SetDate(20240101);
    view->DateBox().SetToday();
    int32_t today = view->DateBox().GetCurrentValue();
    EXPECT_TRUE(Command(IDM_EDIT_UNDO));
    EXPECT_EQ(view->DateBox().GetCurrentValue(), 20240101);
    EXPECT_TRUE(Command(IDM_EDIT_UNDO));
    EXPECT_EQ(view->DateBox().GetCurrentValue(), today);

    // An import that can be undone comes first.
    EXPECT_EQ(Probe(view, IDM_EDIT_UNDO).m_text, Text(IDS_EDIT_UNDO));
    m_document->SetImportRecording(true);
    CArticleRecord imported;
    imported.SetTitle("Imported");
    imported.SetDate(20240101);
    m_document->AddArticle(imported, false, false);
    m_document->SetImportRecording(false);
    CCmdUIProbe undoImport = Probe(view, IDM_EDIT_UNDO);
    EXPECT_EQ(undoImport.m_text, Text(IDS_EDIT_UNDO_IMPORT));
    EXPECT_TRUE(undoImport.m_enabled);
}

TEST_F(ArticleViewTest, UndoAfterAReplaceSwapsBeforeAndAfterWithItsOwnMenuTexts)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    view->Content().SetPlainText("one two one", false);
    view->Content().SetFocus();
    // Replace All that replaces something: Undo goes back, then forward again.
    int count = view->ReplaceWithUndo(true, [&] {
        view->Content().SetSel(0, -1);
        view->Content().SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("uno two uno"));
        return 2;
    });
    EXPECT_EQ(count, 2);
    EXPECT_EQ(Probe(view, IDM_EDIT_UNDO).m_text, "&Undo Replace All\tCtrl+Z");
    EXPECT_TRUE(Probe(view, IDM_EDIT_UNDO).m_enabled);
    EXPECT_TRUE(Command(IDM_EDIT_UNDO));
    std::string text;
    view->Content().GetText(text, false);
    EXPECT_EQ(text, "one two one");
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(Probe(view, IDM_EDIT_UNDO).m_text, "Red&o Replace All\tCtrl+Z");
    EXPECT_TRUE(Command(IDM_EDIT_UNDO));
    view->Content().GetText(text, false);
    EXPECT_EQ(text, "uno two uno");
    EXPECT_EQ(view->GetReplaceUndoState(), 3);

    // Replace All that finds nothing leaves the earlier snapshot and state in place.
    EXPECT_EQ(view->ReplaceWithUndo(true, [] { return 0; }), 0);
    EXPECT_EQ(view->GetReplaceUndoState(), 3);
    EXPECT_TRUE(Command(IDM_EDIT_UNDO));
    view->Content().GetText(text, false);
    EXPECT_EQ(text, "one two one");

    // A single Replace, then typing: the state goes and Undo is the focused control's again.
    view->ReplaceWithUndo(false, [&] {
        view->Content().SetSel(0, 3);
        view->Content().SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("uno"));
        return 1;
    });
    EXPECT_EQ(Probe(view, IDM_EDIT_UNDO).m_text, "&Undo Replace\tCtrl+Z");
    TypeInto(view->TitleBox().m_hWnd, "Typed");
    EXPECT_EQ(view->GetReplaceUndoState(), 0);
    EXPECT_EQ(Probe(view, IDM_EDIT_UNDO).m_text, Text(IDS_EDIT_UNDO));
}

TEST_F(ArticleViewTest, HiddenStoredTextIsShownAndTheStoredWrappingApplies)
{
    {
        OpenDocument();
        CArticleRecord record;
        record.SetTitle("Hidden");
        record.SetDate(20240101);
        record.SetRichTextVersion();
        record.SetRtfText("{\\rtf1\\ansi shown {\\v secret} end\\par}");
        CArticleInfo info = record.GetInfo();
        info.SetWordWrap(0);
        record.SetInfo(info);
        CKeywordIdSet keywords;
        keywords.Add(0);
        record.SetKeywordIds(keywords);
        m_storedId = m_document->AddArticle(record, false, false);
    }
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    std::string text;
    view->Content().GetText(text, false);
    const size_t at = text.find("secret");
    ASSERT_NE(at, std::string::npos);
    if (view->Content().IsNewerDll()) {
        view->Content().SetSel(static_cast<int32_t>(at), static_cast<int32_t>(at + 6));
        CHARFORMAT2A format = {};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_HIDDEN;
        view->Content().SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        EXPECT_EQ(format.dwEffects & CFE_HIDDEN, 0u) << "hidden text is shown";
    }
    // Word wrap off: the content keeps its horizontal scroll bar.
    EXPECT_TRUE(GetWindowLongPtrA(view->Content().m_hWnd, GWL_STYLE) & WS_HSCROLL);
    EXPECT_FALSE(view->IsModified());
}

TEST_F(ArticleViewTest, HeaderEnterCalendarAndLayout)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);

    // Enter in the title goes to the content.
    view->TitleBox().SetFocus();
    view->TitleBox().SendMessage(WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(GetFocus(), view->Content().m_hWnd);

    // The calendar hangs right-aligned under the date box; Cancel and the same date change nothing.
    EXPECT_TRUE(Command(CArticleView::kCalendarCommand));
    RECT box;
    GetWindowRect(view->DateBox().m_hWnd, &box);
    EXPECT_EQ(m_calendarAt.x, box.right);
    EXPECT_EQ(m_calendarAt.y, box.bottom + 1);
    EXPECT_EQ(m_calendarOpenedOn, 20240101);
    EXPECT_FALSE(view->IsModified());
    m_calendarChoice = 20240101;
    SendMessageA(view->CalendarButton().m_hWnd, BM_CLICK, 0, 0);
    EXPECT_FALSE(view->IsModified());
    m_calendarChoice = 20240215;
    EXPECT_TRUE(Command(CArticleView::kCalendarCommand));
    EXPECT_TRUE(view->IsModified());
    int32_t date = 0;
    EXPECT_TRUE(view->DateBox().GetDate(date));
    EXPECT_EQ(date, 20240215);
    // A date that does not read: the calendar opens on today.
    TypeInto(view->DateBox().m_hWnd, "xx");
    m_calendarChoice = 0;
    Command(CArticleView::kCalendarCommand);
    EXPECT_EQ(m_calendarOpenedOn, GetTodayYmd());

    // Date and time hidden: the title spans W - 102.
    m_settings.SetDisplayDate(0);
    m_settings.SetDisplayTime(0);
    view->RecalcLayout();
    RECT client;
    GetClientRect(view->m_hWnd, &client);
    RECT title;
    GetWindowRect(view->TitleBox().m_hWnd, &title);
    EXPECT_EQ(title.right - title.left, client.right - 102);
    EXPECT_FALSE(IsWindowVisible(view->DateBox().m_hWnd));

    // The splitter dragged past the right edge: no keyword list, kept for new windows.
    const ArticleLayout& layout = view->Layout();
    int gapX = layout.content.Right() + 3, gapY = layout.content.y + 20;
    SendMessageA(view->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(gapX, gapY));
    SendMessageA(view->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.right + 40, gapY));
    SendMessageA(view->m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(client.right + 40, gapY));
    EXPECT_EQ(view->GetKeywordWidth(), 0);
    EXPECT_EQ(m_keywordWidth, 0);

    // Frames are never narrower than 240.
    MINMAXINFO info = {};
    SendMessageA(m_frame->m_hWnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 240);
}

TEST_F(ArticleViewTest, NewWindowsTakeTheRememberedPlaceOnlyWithArtSize)
{
    OpenDocument();
    RECT client;
    GetClientRect(m_main.GetMDIClient(), &client);
    m_settings.SetArtSize(1);
    Open(CArticleView::kNewArticle);
    RECT first;
    GetWindowRect(m_frame->m_hWnd, &first);
    MapWindowPoints(nullptr, m_main.GetMDIClient(), reinterpret_cast<POINT*>(&first), 2);
    EXPECT_EQ(first.left, 0);
    EXPECT_EQ(first.right - first.left, MulDiv(client.right, 85, 100));
    EXPECT_EQ(first.bottom - first.top, MulDiv(client.bottom, 75, 100));
    Open(CArticleView::kNewArticle);
    RECT second;
    GetWindowRect(m_frame->m_hWnd, &second);
    MapWindowPoints(nullptr, m_main.GetMDIClient(), reinterpret_cast<POINT*>(&second), 2);
    EXPECT_EQ(second.left, GetSystemMetrics(SM_CYCAPTION));

    m_settings.SetArtSize(0);
    CArticlePlacement before = m_placement;
    Open(CArticleView::kNewArticle);
    // The cascade was not used.
    EXPECT_EQ(m_placement.Next(100, 100, 0).x, before.Next(100, 100, 0).x);
}

TEST_F(ArticleViewTest, KeywordCommandsDropsAndNotifications)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->KeywordList().HasId(0));

    // Create Keyword on a selection of two lines assigns the first, a pending keyword.
    view->Content().SetPlainText("Zulu\r\nBeta", false);
    view->Content().SetFocus();
    view->Content().SetSel(0, -1);
    EXPECT_TRUE(Command(IDM_KEYWORD_CREATE));
    int32_t pending = m_document->GetKeywordIdByName("Zulu");
    EXPECT_LT(pending, 0);
    EXPECT_TRUE(view->KeywordList().HasId(pending));
    EXPECT_EQ(view->OnDocumentNotify(ArticleHint::kUsesPendingKeyword, pending, 0), 1);

    // A keyword drag from another list, by handle; a handle that is no keyword list is ignored.
    CKeywordListBox source;
    RECT rect = {0, 0, 100, 100};
    ASSERT_TRUE(source.Create(m_main.m_hWnd, 77, rect));
    source.SetDocument(m_document.get());
    CKeywordIdSet two;
    two.Add(1);
    two.Add(2);
    source.SetIds(two);
    source.SendMessage(LB_SETSEL, TRUE, -1);
    SendMessageA(view->m_hWnd, CDragList::kDropMessage, reinterpret_cast<WPARAM>(view->m_hWnd),
                 reinterpret_cast<LPARAM>(m_main.m_hWnd));
    EXPECT_FALSE(view->KeywordList().HasId(1));
    SendMessageA(view->m_hWnd, CDragList::kDropMessage, reinterpret_cast<WPARAM>(view->m_hWnd),
                 reinterpret_cast<LPARAM>(source.m_hWnd));
    EXPECT_TRUE(view->KeywordList().HasId(1));
    EXPECT_TRUE(view->KeywordList().HasId(2));
    EXPECT_TRUE(view->HasKeywordSnapshot());
    // Code 6 also looks at the snapshot; code 2 removes from both.
    view->KeywordList().RemoveId(0);
    EXPECT_EQ(view->OnDocumentNotify(ArticleHint::kUsesPendingKeyword, 0, 0), 1);
    view->OnDocumentNotify(ArticleHint::kKeywordDeleted, 0, 0);
    EXPECT_EQ(view->OnDocumentNotify(ArticleHint::kUsesPendingKeyword, 0, 0), 0);
    source.DestroyWindow();

    // Notifications: bookmark on and off, assigned elsewhere, save if modified.
    view->OnDocumentNotify(ArticleHint::kBookmarkState, 1, 0);
    EXPECT_TRUE(view->IsBookmarked());
    EXPECT_EQ(Probe(view, IDM_ARTICLE_BOOKMARK).m_check, 1);
    view->OnDocumentNotify(ArticleHint::kBookmarkOff, 0, 0);
    EXPECT_FALSE(view->IsBookmarked());
    view->OnDocumentNotify(ArticleHint::kKeywordAssigned, 0, 0);
    EXPECT_TRUE(view->KeywordList().HasId(0));
    EXPECT_FALSE(view->HasKeywordSnapshot());
    view->OnDocumentNotify(ArticleHint::kDisplayChanged, 0, 0);
    view->OnDocumentNotify(ArticleHint::kRedraw, 0, 0);
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(view->OnDocumentNotify(ArticleHint::kSaveIfModified, 0, 0), 1);
    EXPECT_FALSE(view->IsModified());
    CKeywordIdSet stored;
    Stored(m_storedId).GetKeywordIds(stored);
    EXPECT_EQ(stored.GetSize(), 4);  // alpha, Beta, gamma and the new Zulu
    view->TitleBox().SetWindowText("Reload me");
    view->OnDocumentNotify(ArticleHint::kReload, 0, 0);
    EXPECT_EQ(view->TitleBox().GetWindowText(), "Stored");
    EXPECT_FALSE(view->IsModified());

    // A letter typed in the keyword list opens the dialog with it as the start of a new keyword.
    std::string started;
    m_keywordScript = [&](CArticleKeywordsDlg& dialog) -> INT_PTR {
        started = dialog.m_initialText;
        return IDCANCEL;
    };
    view->KeywordList().SendMessage(WM_CHAR, 'q', 0);
    EXPECT_EQ(started, "q");

    // Ctrl+T toggles the bookmark of a stored article in the document.
    EXPECT_TRUE(Command(IDM_ARTICLE_BOOKMARK));
    EXPECT_TRUE(m_document->IsBookmarked(m_storedId));
}

namespace {

// A link shell that resolves relative targets against one folder.
class CBaseFolderShell : public ILinkShell {
public:
    explicit CBaseFolderShell(std::string base) : m_base(std::move(base)) {}
    bool PathExists(const std::string&, bool&) override { return false; }
    intptr_t Execute(const char*, const std::string&, const std::string&) override { return 2; }
    std::string FolderProgram() override { return ""; }
    bool CanSearchMissing() override { return false; }
    std::string BaseFolder() override { return m_base; }
    int FindMissing(std::string&, int32_t) override { return 2; }

private:
    std::string m_base;
};

HGLOBAL MakeDrop(const std::vector<std::string>& paths)
{
    std::string list;
    for (const std::string& path : paths)
        list += path + '\0';
    list += '\0';
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + list.size());
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), list.data(), list.size());
    GlobalUnlock(memory);
    return memory;
}

}  // namespace

TEST_F(ArticleViewTest, DroppedFilesAskWithTheirCountAndLongPathsAreNeverCut)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    m_answers = {IDNO};
    SendMessageA(view->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"C:\\a.txt", "C:\\b.txt", "C:\\c.txt"})), 0);
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0], "Attach the 3 file(s) to this article?");
    EXPECT_FALSE(view->IsModified());

    m_asked.clear();
    m_answers = {IDYES, IDOK};
    std::string longPath = "C:\\" + std::string(300, 'x') + ".txt";
    SendMessageA(view->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"C:\\a.txt", longPath})), 0);
    ASSERT_EQ(m_asked.size(), 2u);
    EXPECT_NE(m_asked[1].find(longPath), std::string::npos);
    EXPECT_TRUE(view->IsModified());
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    ASSERT_EQ(Stored(m_storedId).GetAttachmentCount(), 1);
}

TEST_F(ArticleViewTest, DroppedFilesUnderTheBaseFolderAreStoredRelativeAndTheMarkTipNamesThem)
{
    CBaseFolderShell shell("C:\\Notes");
    ILinkShell* previous = SetLinkShell(&shell);
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->AttachmentTipText(), "");
    m_answers = {IDYES};
    SendMessageA(view->m_hWnd, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(MakeDrop({"C:\\Notes\\sub\\a.txt", "C:\\Notesbook\\b.txt"})), 0);
    EXPECT_EQ(view->AttachmentTipText(), "2 attachments");
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    CArticleRecord stored = Stored(m_storedId);
    ASSERT_EQ(stored.GetAttachmentCount(), 2);
    EXPECT_EQ(stored.GetAttachments().Item(0)->GetStoredTarget(), "sub\\a.txt") << "under the base folder: relative";
    EXPECT_EQ(stored.GetAttachments().Item(1)->GetStoredTarget(), "C:\\Notesbook\\b.txt") << "a folder that only starts alike: whole";
    SetLinkShell(previous);

    // The tip sits on the attachment mark and names a single attachment.
    CloseDocument();
    OpenDocument();
    view = Open(CArticleView::kNewArticle);
    m_answers = {IDYES};
    SendMessageA(view->m_hWnd, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({"D:\\Pictures\\river.jpg"})), 0);
    EXPECT_EQ(view->AttachmentTipText(), "river.jpg");
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = view->m_hWnd;
    tool.uId = CArticleView::kAttachmentMarkTool;
    ASSERT_TRUE(SendMessageA(view->GetToolTips(), TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    RECT client;
    GetClientRect(view->m_hWnd, &client);
    EXPECT_EQ(tool.rect.right, client.right - 37) << "the mark's rectangle, 37 pixels from the right";
    EXPECT_EQ(tool.rect.top, 3);
    NMTTDISPINFOA ask = {};
    ask.hdr.hwndFrom = view->GetToolTips();
    ask.hdr.idFrom = CArticleView::kAttachmentMarkTool;
    ask.hdr.code = TTN_NEEDTEXTA;
    SendMessageA(view->m_hWnd, WM_NOTIFY, CArticleView::kAttachmentMarkTool, reinterpret_cast<LPARAM>(&ask));
    ASSERT_NE(ask.lpszText, nullptr);
    EXPECT_STREQ(ask.lpszText, "river.jpg");
}

// An index window whose title list is full: it stores nothing more and says so with code 19.
class CFullTitleListView : public CRecordingIndexView {
public:
    using CRecordingIndexView::CRecordingIndexView;
    void UpdateTitleForArticle(int32_t, const CKeywordIdSet&, bool) override { throw CQuorError(kTooManyTitles); }
};

TEST_F(ArticleViewTest, ANewArticleStoredDespiteAFullTitleListKeepsItsIdAndSavesInPlace)
{
    OpenDocument();
    Trace trace;
    CFullTitleListView index(trace);
    m_document->AddView(&index);
    CArticleIdSet before;
    m_document->GetAllArticleIds(before);
    CArticleView* view = NewReadyArticle("Crowded");
    m_answers = {IDOK};
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    ASSERT_EQ(m_asked.size(), 1u) << "the full title list is reported";
    EXPECT_NE(view->GetArticleId(), CArticleView::kNewArticle);
    EXPECT_FALSE(view->IsModified());
    // A second save updates the stored article instead of storing a copy.
    TypeInto(view->TitleBox().m_hWnd, "Crowded again");
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    CArticleIdSet after;
    m_document->GetAllArticleIds(after);
    EXPECT_EQ(after.GetSize(), before.GetSize() + 1);
    EXPECT_EQ(Stored(view->GetArticleId()).GetTitle(), "Crowded again");
    m_document->RemoveView(&index);
}

TEST_F(ArticleViewTest, HeaderControlsShowTheirOwnContextMenusAfterTakingTheFocus)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    struct Case {
        HWND control;
        UINT message;
        UINT firstId;
        UINT lastId;
    };
    const Case cases[] = {
        {view->TitleBox().m_hWnd, WM_RBUTTONUP, IDM_EDIT_UNDO, IDM_TOOLS_SPELLING},
        {view->DateBox().m_hWnd, WM_CONTEXTMENU, IDM_EDIT_UNDO, IDM_ARTICLE_NOW},
        {view->TimeField().m_hWnd, WM_CONTEXTMENU, IDM_ARTICLE_NOW, IDM_ARTICLE_PROPERTIES},
        {view->KeywordList().m_hWnd, WM_CONTEXTMENU, IDM_KEYWORD_CHANGE_FROM_LIST, IDM_EDIT_SELECT_ALL},
    };
    for (const Case& c : cases) {
        m_menus.clear();
        view->Content().SetFocus();
        WPARAM wParam = c.message == WM_CONTEXTMENU ? reinterpret_cast<WPARAM>(c.control) : 0;
        SendMessageA(c.control, c.message, wParam, MAKELPARAM(5, 5));
        ASSERT_EQ(m_menus.size(), 1u) << c.firstId;
        EXPECT_EQ(m_menus[0].front(), c.firstId);
        EXPECT_EQ(m_menus[0].back(), c.lastId);
        EXPECT_EQ(GetFocus(), c.control) << "the control takes the focus first";
    }
    // The keyword list's menu reaches the view's commands: Remove Keyword with a selected keyword.
    view->KeywordList().SetFocus();
    view->KeywordList().SendMessage(LB_SETSEL, TRUE, 0);
    EXPECT_TRUE(Probe(view, IDM_KEYWORD_REMOVE).m_enabled);
    EXPECT_TRUE(Command(IDM_KEYWORD_REMOVE));
    EXPECT_EQ(view->KeywordList().GetCount(), 0);
    EXPECT_TRUE(view->IsModified());
}

TEST_F(ArticleViewTest, EditingIsDisabledOnAReadOnlyFileAndInAMinimisedWindow)
{
    OpenDocument(true);
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->IsEditable());
    EXPECT_FALSE(Probe(view, IDM_KEYWORD_CHANGE).m_enabled);
    EXPECT_FALSE(Probe(view, IDM_ARTICLE_BOOKMARK).m_enabled);
    EXPECT_TRUE(GetWindowLongPtrA(view->TitleBox().m_hWnd, GWL_STYLE) & ES_READONLY);
    CloseDocument();

    OpenDocument();
    view = Open(m_storedId);
    EXPECT_TRUE(Probe(view, IDM_KEYWORD_CHANGE).m_enabled);
    ShowWindow(m_frame->m_hWnd, SW_MINIMIZE);
    EXPECT_FALSE(Probe(view, IDM_KEYWORD_CHANGE).m_enabled);
}

TEST_F(ArticleViewTest, DeleteArticleAsksForAChangedNewArticleAndClosesByAPostedClose)
{
    OpenDocument();
    CArticleView* view = Open(CArticleView::kNewArticle);
    CArticleFrame* frame = m_frame;
    // Not modified: closes without a question.
    EXPECT_TRUE(Command(IDM_ARTICLE_DELETE));
    EXPECT_TRUE(m_asked.empty());
    EXPECT_TRUE(IsOpen(frame));  // closed by the posted close
    Pump();
    EXPECT_FALSE(IsOpen(frame));

    view = Open(CArticleView::kNewArticle);
    frame = m_frame;
    view->TitleBox().SetWindowText("Changed");
    m_answers = {IDNO};
    EXPECT_TRUE(Command(IDM_ARTICLE_DELETE));
    Pump();
    ASSERT_EQ(m_asked.size(), 1u);
    EXPECT_EQ(m_asked[0], Text(IDS_DELETE_MODIFIED_NEW_ARTICLE));
    EXPECT_TRUE(IsOpen(frame));

    // A stored article goes through the Delete Articles confirmation and the document.
    view = Open(m_storedId);
    frame = m_frame;
    m_confirmDelete = true;
    EXPECT_TRUE(Command(IDM_ARTICLE_DELETE));
    Pump();
    EXPECT_FALSE(IsOpen(frame));
    EXPECT_EQ(m_document->GetArticleCount(), 0);
}

TEST_F(ArticleViewTest, InsertCreateTitleDeleteAndCharacterEffects)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);

    // Insert Date at the title's caret, as one undoable replacement.
    view->TitleBox().SetFocus();
    view->TitleBox().SetSel(0, 0);
    EXPECT_TRUE(Command(IDM_INSERT_DATE));
    std::string today = FormatToday(true);
    EXPECT_EQ(view->TitleBox().GetWindowText(), today + "Stored");
    EXPECT_TRUE(Command(IDM_EDIT_UNDO));
    EXPECT_EQ(view->TitleBox().GetWindowText(), "Stored");

    // Delete: in the title only with a selection; in the date box also without one, taking the
    // character after the caret.
    view->TitleBox().SetSel(0, 0);
    EXPECT_FALSE(Probe(view, IDM_EDIT_DELETE).m_enabled);
    view->TitleBox().SetSel(0, 1);
    EXPECT_TRUE(Command(IDM_EDIT_DELETE));
    EXPECT_EQ(view->TitleBox().GetWindowText(), "tored");
    view->DateBox().SetFocus();
    const size_t dateLength = view->DateBox().GetWindowText().size();
    view->DateBox().SetSel(0, 0);
    EXPECT_TRUE(Command(IDM_EDIT_DELETE));
    EXPECT_EQ(view->DateBox().GetWindowText().size(), dateLength - 1);

    // Create Title: the selected text up to its first line end replaces the title.
    view->Content().SetPlainText("  New heading  \r\nbody", false);
    view->Content().SetFocus();
    view->Content().SetSel(0, -1);
    EXPECT_TRUE(Command(IDM_ARTICLE_CREATE_TITLE));
    EXPECT_EQ(view->TitleBox().GetWindowText(), "New heading");

    // Bold toggles on the content and is checked; with the title box active it is greyed.
    view->Content().SetFocus();
    view->Content().SetSel(2, 5);
    EXPECT_EQ(Probe(view, IDM_FORMAT_BOLD).m_check, 0);
    EXPECT_TRUE(Command(IDM_FORMAT_BOLD));
    EXPECT_EQ(Probe(view, IDM_FORMAT_BOLD).m_check, 1);
    view->Content().SetSel(0, 8);
    EXPECT_EQ(Probe(view, IDM_FORMAT_BOLD).m_check, 2);
    view->TitleBox().SetFocus();
    EXPECT_FALSE(Probe(view, IDM_FORMAT_BOLD).m_enabled);

    // Previous and Next need the article in the index window's titles list: there is none here.
    EXPECT_FALSE(Probe(view, IDM_ARTICLE_NEXT).m_enabled);
}

}  // namespace

TEST_F(ArticleViewTest, TextDroppedOnTheKeywordListAssignsOnlyAnExistingKeywordNamedByItsFirstLine)
{
    COleInit ole;  // the view registers its drop targets only with OLE on the thread
    OpenDocument();
    CArticleView* view = Open(m_storedId);  // carries alpha
    ASSERT_NE(view, nullptr);
    IDropTarget& target = view->KeywordDropTarget();
    POINTL point = {5, 5};
    auto drop = [&](CTestDataObject data) {
        DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        EXPECT_EQ(target.DragEnter(&data, 0, point, &effect), S_OK);
        DWORD entered = effect;
        effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
        target.Drop(&data, 0, point, &effect);
        return entered;
    };
    EXPECT_EQ(drop(CTestDataObject(CF_BITMAP, "x")), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(drop(CTestDataObject::Text("  nothing by that name ")), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(drop(CTestDataObject::Text("ALPHA")), static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_FALSE(view->IsModified());
    EXPECT_EQ(view->KeywordList().GetCount(), 1);
    // Only the first line counts, in any case, trimmed; a block without its NUL ends at its end.
    drop(CTestDataObject(CF_TEXT, " beta\r\nGamma"));
    EXPECT_TRUE(view->KeywordList().HasId(1));
    EXPECT_FALSE(view->KeywordList().HasId(2));
    EXPECT_TRUE(view->IsModified());
    EXPECT_EQ(view->KeywordList().GetCount(), 2);
}

TEST_F(ArticleViewTest, PropertiesShowTheWindowsArticleAndTakeBackWhatChanged)
{
    OpenDocument();
    CArticleView* view = Open(m_storedId);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(Probe(view, IDM_ARTICLE_PROPERTIES).m_enabled);
    view->DateBox().SetDate(20240315, true);
    // The sheet runs modally on this thread; another one answers it.
    std::string shownTitle, shownCreated;
    int shownTab = -1;
    std::thread user([&] {
        HWND sheet = gui::WaitForTopWindow("Article Properties");
        if (!sheet)
            return;
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        shownTab = static_cast<int>(SendMessageA(PropSheet_GetTabControl(sheet), TCM_GETCURSEL, 0, 0));
        shownTitle = gui::GetText(GetDlgItem(page, IDC_PROP_TITLE));
        shownCreated = gui::GetText(GetDlgItem(page, IDC_PROP_CREATED));
        HWND keep = GetDlgItem(page, IDC_PROP_KEEP_TITLE);
        SendMessageA(keep, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_PROP_KEEP_TITLE, BN_CLICKED), reinterpret_cast<LPARAM>(keep));
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    EXPECT_TRUE(Command(IDM_ARTICLE_PROPERTIES));
    user.join();
    EXPECT_EQ(shownTab, 0);
    EXPECT_EQ(shownTitle, "Stored");
    EXPECT_FALSE(shownCreated.empty());
    EXPECT_TRUE(view->IsModified());
    EXPECT_TRUE(Command(IDM_ARTICLE_SAVE));
    CArticleRecord stored = Stored(m_storedId);
    EXPECT_EQ(stored.GetInfo().GetKeepTitle(), 1);
    EXPECT_EQ(stored.GetDateOf(CArticleRecord::kOwnDate), 20240315) << "the date box's date went through the sheet";
}

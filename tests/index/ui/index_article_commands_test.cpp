// The article commands of a real index window over a knowledge base opened through the Windows host:
// opening highlighted titles by Enter, double click and command, Next and Previous at the ends,
// Delete with the dialog's stand-in, Bookmark on a mix and in Bookmarked Titles, Open Attachments with
// its question, pacing and corrected path through a recording link shell, the Undo texts, Select All
// per list, the reminders manager when reminders fall due, and the keyword lists hidden and shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "framework/clock.h"
#include "framework/string_table.h"
#include "resources/index_commands_res.h"
#include "resources/resource.h"
#include "storage/link_shell.h"
#include "tests/support/gui_driver.h"
#include "tests/support/index_window_fixture.h"

namespace {

// Records what would have gone to the shell; paths in `missing` do not exist until FindMissing
// answers them with `replacement`.
class CRecordingLinkShell : public ILinkShell {
public:
    CRecordingLinkShell() { m_previous = SetLinkShell(this); }
    ~CRecordingLinkShell() override { SetLinkShell(m_previous); }

    bool PathExists(const std::string& path, bool& isFolder) override
    {
        isFolder = false;
        return path != missing;
    }
    intptr_t Execute(const char*, const std::string& file, const std::string&) override
    {
        opened.push_back(file);
        ticks.push_back(GetClock().TickCount());
        return 33;
    }
    std::string FolderProgram() override { return ""; }
    bool CanSearchMissing() override { return true; }
    std::string BaseFolder() override { return "C:\\"; }
    int FindMissing(std::string& path, int32_t) override
    {
        path = replacement;
        return 1;
    }

    std::string missing;
    std::string replacement;
    std::vector<std::string> opened;
    std::vector<std::uint32_t> ticks;

private:
    ILinkShell* m_previous = nullptr;
};

// A clock whose tick count moves only when told.
class CMovedClock : public IClock {
public:
    CMovedClock() { m_previous = SetClock(this); }
    ~CMovedClock() override { SetClock(m_previous); }
    QuorLocalTime Now() const override { return QuorLocalTime(); }
    std::uint32_t TickCount() const override { return tick; }
    std::uint32_t tick = 1000;

private:
    const IClock* m_previous = nullptr;
};

class IndexArticleCommandsTest : public CIndexWindowFixture {
protected:
    // Keywords alpha 0, beta 1; articles 0 "one" {alpha} bookmarked, 1 "two" {alpha}, 2 "three" {beta},
    // 3 "four" {} bookmarked. Titles sort by title: four, one, three, two.
    void SetUp() override
    {
        MakeFile({"alpha", "beta"}, {{"one", {0}, true}, {"two", {0}}, {"three", {1}}, {"four", {}, true}});
        MakeFrame();
        m_host.openArticle = [this](CQuorvaneDoc&, int32_t id) { m_opened.push_back(id); };
    }
    std::vector<std::string> Titles()
    {
        std::vector<std::string> titles;
        CIndexTitleList& list = m_view->TitleList();
        for (int i = 0; i < list.GetItemCount(); ++i)
            titles.push_back(Document()->GetArticleTitle(list.GetItemId(i)));
        return titles;
    }
    // Highlights the titles named, alone, and makes the titles list the focus list.
    void Highlight(std::initializer_list<const char*> names)
    {
        CIndexTitleList& list = m_view->TitleList();
        list.SendMessage(LB_SETSEL, FALSE, -1);
        std::vector<std::string> titles = Titles();
        for (const char* name : names)
            for (size_t i = 0; i < titles.size(); ++i)
                if (titles[i] == name)
                    list.SendMessage(LB_SETSEL, TRUE, static_cast<LPARAM>(i));
        list.SetFocus();
        TitlesSelectionChanged();
    }
    CCmdUIProbe Probe(UINT id)
    {
        CCmdUIProbe probe(id);
        EXPECT_TRUE(m_view->OnCmdMsg(id, &probe)) << id;
        return probe;
    }
    void Command(UINT id)
    {
        m_view->SendMessage(WM_COMMAND, id, 0);
        PumpMessages();
    }

    std::vector<int32_t> m_opened;
};

TEST_F(IndexArticleCommandsTest, EnterDoubleClickAndOpenOpenEveryHighlightedTitleInListOrder)
{
    Open();
    ASSERT_EQ(Titles(), std::vector<std::string>({"four", "one", "three", "two"}));
    EXPECT_FALSE(Probe(IDM_ARTICLE_OPEN).m_enabled);
    Highlight({"two", "four", "one"});
    EXPECT_TRUE(Probe(IDM_ARTICLE_OPEN).m_enabled);
    // Enter in the titles list.
    m_view->SendMessage(WM_COMMAND, IDOK, 0);
    PumpMessages();
    EXPECT_EQ(m_opened, std::vector<int32_t>({3, 0, 1}));
    // A double click.
    m_opened.clear();
    Highlight({"three"});
    m_view->SendMessage(WM_COMMAND, MAKEWPARAM(CIndexView::kTitleList, LBN_DBLCLK),
                        reinterpret_cast<LPARAM>(m_view->TitleList().m_hWnd));
    PumpMessages();
    EXPECT_EQ(m_opened, std::vector<int32_t>({2}));
    // The command itself.
    m_opened.clear();
    Command(IDM_ARTICLE_OPEN);
    EXPECT_EQ(m_opened, std::vector<int32_t>({2}));
}

TEST_F(IndexArticleCommandsTest, NextAndPreviousAreOffAtTheEnds)
{
    Open();
    Highlight({"four"});
    EXPECT_TRUE(Probe(IDM_ARTICLE_NEXT).m_enabled);
    EXPECT_FALSE(Probe(IDM_ARTICLE_PREVIOUS).m_enabled);
    Highlight({"two"});
    EXPECT_FALSE(Probe(IDM_ARTICLE_NEXT).m_enabled);
    EXPECT_TRUE(Probe(IDM_ARTICLE_PREVIOUS).m_enabled);
    Highlight({"one", "three"});
    EXPECT_FALSE(Probe(IDM_ARTICLE_NEXT).m_enabled);
    EXPECT_FALSE(Probe(IDM_ARTICLE_PREVIOUS).m_enabled);
    // With the index window active Next opens the highlighted title.
    Highlight({"one"});
    Command(IDM_ARTICLE_NEXT);
    EXPECT_EQ(m_opened, std::vector<int32_t>({0}));
}

// An article window as the index view sees it when it is the active MDI child.
class CFakeArticleView : public CView, public CArticleNotifyTarget {
public:
    int32_t OnDocumentNotify(ArticleHint, int32_t, int32_t) override { return 0; }
    int32_t GetArticleId() const override { return article; }
    bool IsModified() const override { return false; }
    void SaveIfModified() override {}
    bool PromptSaveAndClose() override
    {
        ++checks;
        return allowClose;
    }
    void CloseFrame() override {}

    int32_t article = kNoneId;
    int checks = 0;
    bool allowClose = true;
};

TEST_F(IndexArticleCommandsTest, NextWithTheHighlightedTitlesWindowActiveChecksItThenOpensTheNext)
{
    Open();
    Highlight({"one"});
    CFakeArticleView* window = nullptr;
    CDocTemplate articles(
        141, [] { return std::unique_ptr<CDocument>(); }, [] { return new CMDIChildWnd; },
        [&window] {
            window = new CFakeArticleView;
            return static_cast<CView*>(window);
        });
    CMDIChildWnd* frame = articles.CreateNewFrame(&m_main, Document());
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(m_main.MDIGetActive(), frame);
    window->article = 0;  // "one"
    // The window's close check refuses: nothing opens.
    window->allowClose = false;
    Command(IDM_ARTICLE_NEXT);
    EXPECT_EQ(window->checks, 1);
    EXPECT_TRUE(m_opened.empty());
    // It lets go: the title after "one" opens and is highlighted.
    window->allowClose = true;
    Command(IDM_ARTICLE_NEXT);
    EXPECT_EQ(window->checks, 2);
    EXPECT_EQ(m_opened, std::vector<int32_t>({2}));  // "three"
    EXPECT_TRUE(m_view->TitleList().IsIdSelected(2));
    // Previous from "three"'s own window: no check, the title before it.
    window->article = 2;
    Command(IDM_ARTICLE_PREVIOUS);
    EXPECT_EQ(window->checks, 2);
    EXPECT_EQ(m_opened, std::vector<int32_t>({2, 0}));
    frame->DestroyWindow();
    PumpMessages();
}

TEST_F(IndexArticleCommandsTest, DeleteAsksThenTakesTheTitlesOut)
{
    std::vector<CArticleIdSet> asked;
    bool confirm = false;
    m_services.confirmDeleteArticles = [&](CQuorvaneDoc&, const CArticleIdSet& ids, HWND) {
        asked.push_back(ids);
        return confirm;
    };
    Open();
    Highlight({"one", "three"});
    EXPECT_TRUE(Probe(IDM_ARTICLE_DELETE).m_enabled);
    // No: nothing changes.
    Command(IDM_ARTICLE_DELETE);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Values(), std::vector<int32_t>({0, 2}));
    EXPECT_EQ(Titles().size(), 4u);
    // Yes, by the Delete key of the titles list.
    confirm = true;
    m_view->TitleList().SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    PumpMessages();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(Titles(), std::vector<std::string>({"four", "two"}));
    EXPECT_EQ(gui::GetText(GetDlgItem(m_view->m_hWnd, CIndexView::kTitlesCaption)), "All Titles (2 of 2)");
    EXPECT_EQ(Document()->GetArticleCount(), 2);
    EXPECT_EQ(m_view->TitleList().SendMessage(LB_GETSELCOUNT), 0);
    EXPECT_FALSE(Probe(IDM_ARTICLE_DELETE).m_enabled);
    EXPECT_TRUE(Document()->CheckInvariants());
}

TEST_F(IndexArticleCommandsTest, DeleteIsOffOnAReadOnlyFile)
{
    m_services.confirmDeleteArticles = [](CQuorvaneDoc&, const CArticleIdSet&, HWND) { return true; };
    Open(true);
    Highlight({"one"});
    EXPECT_FALSE(Probe(IDM_ARTICLE_DELETE).m_enabled);
    EXPECT_FALSE(Probe(IDM_ARTICLE_BOOKMARK).m_enabled);
    Command(IDM_ARTICLE_DELETE);
    EXPECT_EQ(Titles().size(), 4u);
}

TEST_F(IndexArticleCommandsTest, BookmarkChecksOnlyWhenAllAreBookmarkedAndIsKeptAfterReopening)
{
    Open();
    // A mix: unchecked, and the command bookmarks them all.
    Highlight({"one", "two"});
    CCmdUIProbe mix = Probe(IDM_ARTICLE_BOOKMARK);
    EXPECT_TRUE(mix.m_enabled);
    EXPECT_EQ(mix.m_check, 0);
    Command(IDM_ARTICLE_BOOKMARK);
    EXPECT_TRUE(Document()->IsBookmarked(0));
    EXPECT_TRUE(Document()->IsBookmarked(1));
    EXPECT_EQ(Probe(IDM_ARTICLE_BOOKMARK).m_check, 1);
    // Bookmarked Titles: unbookmarking drops the titles from the list.
    Command(IDM_ARTICLE_BOOKMARKED);
    ASSERT_EQ(Titles(), std::vector<std::string>({"four", "one", "two"}));
    Highlight({"four", "two"});
    EXPECT_EQ(Probe(IDM_ARTICLE_BOOKMARK).m_check, 1);
    Command(IDM_ARTICLE_BOOKMARK);
    EXPECT_EQ(Titles(), std::vector<std::string>({"one"}));
    EXPECT_EQ(gui::GetText(GetDlgItem(m_view->m_hWnd, CIndexView::kTitlesCaption)), "Bookmarked Titles (1 of 4)");

    // Closed and opened again: the bookmarks stay.
    ASSERT_TRUE(Document()->SaveModified());
    m_frame->DestroyWindow();
    m_frame = nullptr;
    m_template.reset();
    PumpMessages();
    Open();
    EXPECT_TRUE(Document()->IsBookmarked(0));
    EXPECT_FALSE(Document()->IsBookmarked(1));
    EXPECT_FALSE(Document()->IsBookmarked(2));
    EXPECT_FALSE(Document()->IsBookmarked(3));
}

TEST_F(IndexArticleCommandsTest, BookmarkInABookmarkSortOrderResortsTheTitles)
{
    Open();
    Document()->SetSortOrder(4);
    m_view->IndexNotify(IndexCode::kSortOrderChanged, 0, 0);
    std::vector<std::string> before = Titles();
    Highlight({"two"});
    Command(IDM_ARTICLE_BOOKMARK);
    EXPECT_TRUE(Document()->IsBookmarked(1));
    // The list is in the document's order again, with "three" still highlighted.
    CIndexTitleList& list = m_view->TitleList();
    for (int i = 1; i < list.GetItemCount(); ++i)
        EXPECT_LE(Document()->CompareArticles(list.GetItemId(i - 1), list.GetItemId(i)), 0) << i;
    EXPECT_NE(Titles(), before);
    EXPECT_TRUE(list.IsIdSelected(1));
}

TEST_F(IndexArticleCommandsTest, OpenAttachmentsAsksAboveTenAndPacesAddresses)
{
    CRecordingLinkShell shell;
    CMovedClock clock;
    std::vector<std::uint32_t> waits;
    m_services.wait = [&](std::uint32_t ms) {
        waits.push_back(ms);
        clock.tick += ms;
    };
    Open();
    // "two" gets eleven files in its open list and one left out; "three" three addresses.
    CArticleRecord record;
    Document()->LoadArticle(1, record);
    for (int i = 0; i < 12; ++i) {
        CLinkTarget target;
        target.Set(CLinkTarget::kFile, "C:\\files\\f" + std::to_string(i) + ".txt");
        if (i == 5)
            target.SetInOpenList(false);
        record.AddAttachment(target);
    }
    Document()->UpdateArticle(1, record, false);
    Document()->LoadArticle(2, record);
    for (const char* address : {"http://a.example/", "http://b.example/", "http://c.example/"}) {
        CLinkTarget target;
        target.Set(CLinkTarget::kInternet, address);
        record.AddAttachment(target);
    }
    Document()->UpdateArticle(2, record, false);

    Highlight({"one"});
    EXPECT_FALSE(Probe(IDM_ARTICLE_OPEN_ATTACHMENTS).m_enabled);
    Highlight({"two"});
    EXPECT_TRUE(Probe(IDM_ARTICLE_OPEN_ATTACHMENTS).m_enabled);

    const std::string question = QuorFormatNumbers(QuorLoadString(IDS_OPEN_MANY_ATTACHMENTS), 11, 10);
    auto pressF5Answering = [&](int button) {
        shell.opened.clear();
        std::thread answer([&] { EXPECT_TRUE(gui::AnswerMessageBox(question, button)); });
        Command(IDM_ARTICLE_OPEN_ATTACHMENTS);
        answer.join();
    };
    pressF5Answering(IDNO);
    ASSERT_EQ(shell.opened.size(), 10u);
    EXPECT_EQ(shell.opened[0], "C:\\files\\f0.txt");
    EXPECT_EQ(shell.opened[5], "C:\\files\\f6.txt");  // f5 is not in the open list
    pressF5Answering(IDCANCEL);
    EXPECT_TRUE(shell.opened.empty());
    pressF5Answering(IDYES);
    EXPECT_EQ(shell.opened.size(), 11u);

    // Addresses: no question, two seconds apart.
    shell.opened.clear();
    shell.ticks.clear();
    Highlight({"three"});
    Command(IDM_ARTICLE_OPEN_ATTACHMENTS);
    ASSERT_EQ(shell.opened.size(), 3u);
    EXPECT_EQ(waits, std::vector<std::uint32_t>({2000, 2000}));
    EXPECT_EQ(shell.ticks[1] - shell.ticks[0], 2000u);
    EXPECT_EQ(shell.ticks[2] - shell.ticks[1], 2000u);
}

TEST_F(IndexArticleCommandsTest, ACorrectedAttachmentPathIsSaved)
{
    CRecordingLinkShell shell;
    shell.missing = "C:\\old\\notes.txt";
    shell.replacement = "D:\\new\\notes.txt";
    Open();
    CArticleRecord record;
    Document()->LoadArticle(3, record);
    CLinkTarget target;
    target.Set(CLinkTarget::kFile, shell.missing);
    record.AddAttachment(target);
    Document()->UpdateArticle(3, record, false);
    Highlight({"four"});
    Command(IDM_ARTICLE_OPEN_ATTACHMENTS);
    EXPECT_EQ(shell.opened, std::vector<std::string>({shell.replacement}));
    CArticleRecord stored;
    Document()->LoadArticle(3, stored);
    ASSERT_EQ(stored.GetAttachmentCount(), 1);
    std::string path;
    stored.GetAttachments().Item(0)->GetTarget(path);
    EXPECT_EQ(path, shell.replacement);
}

TEST_F(IndexArticleCommandsTest, PropertiesOpenTheSheetOfTheOneHighlightedTitleOnTheirPage)
{
    std::vector<std::pair<int32_t, int>> shown;
    m_services.showArticleProperties = [&](CQuorvaneDoc&, int32_t id, int page, HWND) { shown.push_back({id, page}); };
    Open();
    Highlight({"one", "three"});
    EXPECT_FALSE(Probe(IDM_ARTICLE_PROPERTIES).m_enabled);
    EXPECT_FALSE(Probe(IDM_ARTICLE_ATTACHMENTS).m_enabled);
    Highlight({"three"});
    EXPECT_TRUE(Probe(IDM_ARTICLE_PROPERTIES).m_enabled);
    Command(IDM_ARTICLE_PROPERTIES);
    Command(IDM_ARTICLE_ATTACHMENTS);
    EXPECT_EQ(shown, (std::vector<std::pair<int32_t, int>>{{2, 0}, {2, 1}}));
}

TEST_F(IndexArticleCommandsTest, UndoTextFollowsTheImportBatch)
{
    Open();
    CCmdUIProbe nothing = Probe(IDM_EDIT_UNDO);
    EXPECT_FALSE(nothing.m_enabled);
    EXPECT_EQ(nothing.m_text, QuorLoadString(IDS_UNDO_MENU));
    // An import recorded: "Undo Import".
    CQuorvaneDoc* document = Document();
    document->SetImportRecording(true);
    CArticleRecord record;
    record.SetTitle("imported");
    record.SetDate(20240101);
    document->AddArticle(record, false, false);
    document->SetImportRecording(false);
    CCmdUIProbe import = Probe(IDM_EDIT_UNDO);
    EXPECT_TRUE(import.m_enabled);
    EXPECT_EQ(import.m_text, QuorLoadString(IDS_UNDO_IMPORT_MENU));
    // The same batch from a paste: plain "Undo".
    document->GetImportBatch().SetFromPaste(true);
    CCmdUIProbe paste = Probe(IDM_EDIT_UNDO);
    EXPECT_TRUE(paste.m_enabled);
    EXPECT_EQ(paste.m_text, QuorLoadString(IDS_UNDO_MENU));
}

TEST_F(IndexArticleCommandsTest, CopyCutPasteAndUndoArticleCutThroughTheClipboard)
{
    m_host.mainWindow = m_main.m_hWnd;
    Open();
    Highlight({"three"});
    EXPECT_TRUE(Probe(IDM_EDIT_COPY).m_enabled);
    Command(IDM_EDIT_COPY);
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("Personal Quorvane 4 Articles")));
    EXPECT_TRUE(IsClipboardFormatAvailable(RegisterClipboardFormatA("Personal Quorvane 3 Articles")));
    EXPECT_TRUE(Probe(IDM_EDIT_PASTE).m_enabled);
    Command(IDM_EDIT_PASTE);
    EXPECT_EQ(Titles(), std::vector<std::string>({"four", "one", "three", "three", "two"}));
    EXPECT_TRUE(IsWindowEnabled(m_main.m_hWnd));
    // A paste is undone as a pasted batch: plain "Undo".
    EXPECT_EQ(Probe(IDM_EDIT_UNDO).m_text, QuorLoadString(IDS_UNDO_MENU));

    // Cut: the titles leave; Undo Article Cut while the clipboard is ours puts them back.
    Document()->ClearImportBatch();
    Highlight({"one", "two"});
    EXPECT_TRUE(Probe(IDM_EDIT_CUT).m_enabled);
    Command(IDM_EDIT_CUT);
    EXPECT_EQ(Titles(), std::vector<std::string>({"four", "three", "three"}));
    EXPECT_TRUE(m_view->IsCutPending());
    m_view->TitleList().SetFocus();
    CCmdUIProbe undo = Probe(IDM_EDIT_UNDO);
    EXPECT_TRUE(undo.m_enabled);
    EXPECT_EQ(undo.m_text, QuorLoadString(IDS_UNDO_ARTICLE_CUT_MENU));
    Command(IDM_EDIT_UNDO);
    EXPECT_EQ(Titles(), std::vector<std::string>({"four", "one", "three", "three", "two"}));
    EXPECT_FALSE(m_view->IsCutPending());

    // Another cut, then someone else takes the clipboard: no Undo Article Cut.
    Document()->ClearImportBatch();
    Highlight({"four"});
    Command(IDM_EDIT_CUT);
    m_view->TitleList().SetFocus();
    ASSERT_EQ(Probe(IDM_EDIT_UNDO).m_text, QuorLoadString(IDS_UNDO_ARTICLE_CUT_MENU));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    CCmdUIProbe gone = Probe(IDM_EDIT_UNDO);
    EXPECT_FALSE(gone.m_enabled);
    EXPECT_EQ(gone.m_text, QuorLoadString(IDS_UNDO_MENU));
    EXPECT_FALSE(Probe(IDM_EDIT_PASTE).m_enabled);
    EXPECT_TRUE(Document()->CheckInvariants());
}

// The main window is disabled while articles are pasted and enabled again also when the paste fails.
TEST_F(IndexArticleCommandsTest, AFailedPasteEnablesTheMainWindowAgain)
{
    CRecordedErrors errors;
    m_host.mainWindow = m_main.m_hWnd;
    Open();
    // A block that announces two articles and breaks off in the first.
    std::string broken("\x02\0\0\0\x09\0\0\0\x40\0\0\0", 12);
    ASSERT_TRUE(OpenClipboard(m_main.m_hWnd));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, broken.size());
    memcpy(GlobalLock(memory), broken.data(), broken.size());
    GlobalUnlock(memory);
    SetClipboardData(RegisterClipboardFormatA("Personal Quorvane 3 Articles"), memory);
    CloseClipboard();
    bool disabledWhilePasting = false;
    m_host.pumped = [&] { disabledWhilePasting = !IsWindowEnabled(m_main.m_hWnd); };
    Highlight({"one"});
    Command(IDM_EDIT_PASTE);
    EXPECT_TRUE(disabledWhilePasting);
    EXPECT_TRUE(IsWindowEnabled(m_main.m_hWnd));
    ASSERT_EQ(CRecordedErrors::Messages().size(), 1u);
    EXPECT_EQ(CRecordedErrors::Messages()[0], QuorLoadString(1122));
    EXPECT_EQ(Titles().size(), 4u);
}

TEST_F(IndexArticleCommandsTest, SelectAllHighlightsTheFocusedList)
{
    Open();
    Highlight({"one"});
    Command(IDM_EDIT_SELECT_ALL);
    EXPECT_EQ(m_view->TitleList().SendMessage(LB_GETSELCOUNT), 4);
    m_view->IndexList().SetFocus();
    EXPECT_TRUE(Probe(IDM_EDIT_SELECT_ALL).m_enabled);
    Command(IDM_EDIT_SELECT_ALL);
    EXPECT_EQ(m_view->IndexList().SendMessage(LB_GETSELCOUNT), 2);
    // The selected list is empty: nothing to select.
    m_view->SelectedList().SetFocus();
    EXPECT_FALSE(Probe(IDM_EDIT_SELECT_ALL).m_enabled);
}

TEST_F(IndexArticleCommandsTest, RemindersDueMakeTheManagerOnceThenRefreshIt)
{
    std::vector<int> modes;
    HWND manager = nullptr;
    m_services.makeRemindersManager = [&](HWND owner, int mode) {
        modes.push_back(mode);
        manager = CreateWindowExA(0, "STATIC", "Reminders", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
        return manager;
    };
    std::vector<UINT> beeps;
    m_services.beep = [&](UINT type) { beeps.push_back(type); };
    Open();
    // Silent while the setting is off.
    m_settings.SetPlayReminderSound(0);
    m_view->SendMessage(CIndexView::kRemindersDueMessage, 0, 0);
    EXPECT_TRUE(beeps.empty());
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(modes, std::vector<int>({1}));
    EXPECT_EQ(m_view->RemindersManager(), manager);
    // Due again, the sound on: the exclamation sound; the hidden manager shown and refreshed, not
    // made again.
    m_settings.SetPlayReminderSound(1);
    m_view->SendMessage(CIndexView::kRemindersDueMessage, 0, 0);
    EXPECT_EQ(beeps, std::vector<UINT>({MB_ICONEXCLAMATION}));
    EXPECT_EQ(modes.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(manager));
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, manager, CIndexView::kRefreshRemindersMessage, CIndexView::kRefreshRemindersMessage, PM_REMOVE));
    DestroyWindow(manager);
    // Manage Reminders once it is gone: made again in menu mode.
    m_view->IndexNotify(IndexCode::kManageReminders, 0, 0);
    EXPECT_EQ(modes, std::vector<int>({1, 0}));
    DestroyWindow(manager);
}

TEST_F(IndexArticleCommandsTest, CatalogCommandsHideAndShowTheKeywordLists)
{
    Open();
    Command(IDM_VIEW_CATALOG);
    EXPECT_EQ(m_view->IndexNotify(IndexCode::kIsCatalog, 0, 0), 1);
    EXPECT_FALSE(IsWindowVisible(m_view->IndexList().m_hWnd));
    Command(IDM_VIEW_KEYWORD_LISTS);
    EXPECT_EQ(m_view->IndexNotify(IndexCode::kIsCatalog, 0, 0), 0);
    EXPECT_TRUE(IsWindowVisible(m_view->IndexList().m_hWnd));
}

}  // namespace

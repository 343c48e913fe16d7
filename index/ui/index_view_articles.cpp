// The index view's article commands on the highlighted titles: open, Next and Previous, Delete,
// Bookmark, the article clipboard with the undo of a cut, Select All, the attachments, Properties, Set
// Reminder, and the reminders manager that opens when reminders fall due. The decisions that need no
// window live in index/article_commands.h.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "document/doc_errors.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/mdi_wnd.h"
#include "index/article_commands.h"
#include "index/ui/index_view.h"
#include "resources/index_commands_res.h"
#include "resources/resource.h"
#include "storage/article_record.h"
#include "storage/link_target.h"
#include "shell/app_settings.h"
#include "storage/quor_error.h"

bool CIndexView::OnArticleCmdMsg(unsigned id, CCmdUI* ui)
{
    using Row = CommandEntry<CIndexView>;
    static const Row kCommands[] = {
        Row(IDM_ARTICLE_OPEN, &CIndexView::OnOpenArticles, &CIndexView::OnUpdateOpenArticles),
        Row(IDM_ARTICLE_NEXT, &CIndexView::OnNextArticle, &CIndexView::OnUpdateNextArticle),
        Row(IDM_ARTICLE_PREVIOUS, &CIndexView::OnPreviousArticle, &CIndexView::OnUpdatePreviousArticle),
        Row(IDM_ARTICLE_DELETE, &CIndexView::OnDeleteArticles, &CIndexView::OnUpdateDeleteArticles),
        Row(IDM_ARTICLE_BOOKMARK, &CIndexView::OnBookmarkArticles, &CIndexView::OnUpdateBookmarkArticles),
        Row(IDM_EDIT_COPY, &CIndexView::OnCopy, &CIndexView::OnUpdateCopy),
        Row(IDM_EDIT_CUT, &CIndexView::OnCut, &CIndexView::OnUpdateCut),
        Row(IDM_EDIT_PASTE, &CIndexView::OnPaste, &CIndexView::OnUpdatePaste),
        Row(IDM_EDIT_UNDO, &CIndexView::OnUndo, &CIndexView::OnUpdateUndo),
        Row(IDM_EDIT_SELECT_ALL, &CIndexView::OnSelectAll, &CIndexView::OnUpdateSelectAll),
        Row(IDM_ARTICLE_OPEN_ATTACHMENTS, &CIndexView::OnOpenAttachments, &CIndexView::OnUpdateOpenAttachments),
        Row(IDM_ARTICLE_PROPERTIES, &CIndexView::OnArticleProperties, &CIndexView::OnUpdateArticleProperties),
        Row(IDM_ARTICLE_ATTACHMENTS, &CIndexView::OnAttachmentProperties, &CIndexView::OnUpdateArticleProperties),
        Row(IDM_ARTICLE_SET_REMINDER, &CIndexView::OnSetReminder, &CIndexView::OnUpdateSetReminder),
    };
    return RouteToTable(this, kCommands, id, ui);
}

// ---- State the update rules read ----

bool CIndexView::IsTitlesFocus() const
{
    return m_focusList == m_titleList.m_hWnd;
}

bool CIndexView::IsPreviewFocus() const
{
    HWND preview = PreviewHandle();
    return preview && ::GetFocus() == preview;
}

bool CIndexView::IsModifiable() const
{
    CQuorvaneDoc* document = Document();
    return document && document->CanModify();
}

int32_t CIndexView::OnlyHighlightedTitle() const
{
    if (m_titleList.SendMessage(LB_GETSELCOUNT) != 1)
        return kNoneId;
    std::vector<int32_t> ids;
    m_titleList.GetSelectedIds(ids);
    return ids.size() == 1 ? ids.front() : kNoneId;
}

CArticleNotifyTarget* CIndexView::ActiveArticleWindow() const
{
    auto* child = dynamic_cast<CMDIChildWnd*>(GetParentFrame());
    CMDIFrameWnd* main = child ? child->GetMDIFrame() : nullptr;
    CMDIChildWnd* active = main ? main->MDIGetActive() : nullptr;
    return active ? dynamic_cast<CArticleNotifyTarget*>(active->GetActiveView()) : nullptr;
}

bool CIndexView::ForwardToArticleWindow(int32_t article, UINT command)
{
    CQuorvaneDoc* document = Document();
    auto* view = document ? dynamic_cast<CView*>(document->FindArticleView(article)) : nullptr;
    if (!view || !view->IsWindow())
        return false;
    if (auto* frame = dynamic_cast<CMDIChildWnd*>(view->GetParentFrame()))
        frame->MDIActivate();
    view->SendMessage(WM_COMMAND, command, 0);
    return true;
}

void CIndexView::AfterArticlesChanged()
{
    m_titleList.Invalidate();
    if (Services().refreshFindDialog)
        Services().refreshFindDialog();
}

// ---- Open, Next, Previous ----

void CIndexView::OnUpdateOpenArticles(CCmdUI& ui)
{
    int highlighted = static_cast<int>(m_titleList.SendMessage(LB_GETSELCOUNT));
    ui.Enable(IsShowing() && (IsPreviewFocus() ? highlighted == 1 : highlighted > 0));
}

void CIndexView::OnOpenArticles()
{
    CQuorvaneDoc* document = Document();
    if (!document)
        return;
    std::vector<int32_t> ids;
    m_titleList.GetSelectedIds(ids);  // in list order
    ReportErrors([&] {
        for (int32_t id : ids)
            document->OpenArticle(id);  // an open window comes forward instead
    });
}

void CIndexView::OnUpdateNextArticle(CCmdUI& ui)
{
    int32_t id = OnlyHighlightedTitle();
    ui.Enable(NeighbourTitleIndex(id == kNoneId ? 0 : 1, m_titleList.IndexOfId(id), m_titleList.GetItemCount(), 1) >= 0);
}

void CIndexView::OnUpdatePreviousArticle(CCmdUI& ui)
{
    int32_t id = OnlyHighlightedTitle();
    ui.Enable(NeighbourTitleIndex(id == kNoneId ? 0 : 1, m_titleList.IndexOfId(id), m_titleList.GetItemCount(), -1) >= 0);
}

void CIndexView::OnNextArticle()
{
    StepArticle(1);
}

void CIndexView::OnPreviousArticle()
{
    StepArticle(-1);
}

// From the index window Next and Previous open the highlighted title; while that title's own
// window is the active one they step to the neighbour, Next after the window's save check.
void CIndexView::StepArticle(int direction)
{
    CQuorvaneDoc* document = Document();
    if (!document)
        return;
    std::vector<int32_t> ids;
    m_titleList.GetSelectedIds(ids);
    if (ids.empty()) {
        m_selection.RefreshPreviews();
        return;
    }
    int32_t article = ids.front();
    int index = m_titleList.IndexOfId(article);
    CArticleNotifyTarget* active = ActiveArticleWindow();
    if (active && active->GetArticleId() == article) {
        if (direction == 1 && !active->PromptSaveAndClose())
            return;
        index = NeighbourTitleIndex(1, index, m_titleList.GetItemCount(), direction);
        if (index < 0) {
            m_selection.RefreshPreviews();
            return;
        }
        article = m_titleList.GetItemId(index);
        HighlightOnlyTitle(index);
        m_selection.RefreshPreviews();
    }
    ReportErrors([&] { document->OpenArticle(article); });
}

// ---- Delete and Bookmark ----

void CIndexView::OnUpdateDeleteArticles(CCmdUI& ui)
{
    ui.Enable(IsShowing() && IsModifiable() && m_titleList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnDeleteArticles()
{
    CQuorvaneDoc* document = Document();
    if (!document || !document->CanModify() || !Services().confirmDeleteArticles)
        return;
    CArticleIdSet ids;
    m_titleList.GetSelectedIds(ids);
    if (ids.GetSize() == 0 || !Services().confirmDeleteArticles(*document, ids, m_hWnd))
        return;
    // The titles leave the list in one pass when the document is done (the batch), with the list's
    // redraw off meanwhile; on an error the redraw comes back before the report.
    m_titleList.SendMessage(WM_SETREDRAW, FALSE);
    BeginWaitCursor();
    bool failed = false;
    CQuorError error(0);
    try {
        CIndexSelection::CTitleBatch batch(m_selection);
        document->DeleteArticles(ids);
    } catch (const CQuorError& caught) {
        failed = true;
        error = caught;
    } catch (const std::bad_alloc&) {
        failed = true;
        error = CQuorError(kOutOfMemory);
    }
    EndWaitCursor();
    m_titleList.SendMessage(WM_SETREDRAW, TRUE);
    m_titleList.Invalidate();
    m_titleList.UpdateWindow();
    if (failed)
        error.Report();
    AfterArticlesChanged();
}

void CIndexView::OnUpdateBookmarkArticles(CCmdUI& ui)
{
    CQuorvaneDoc* document = Document();
    BookmarkTally tally;
    if (document) {
        std::vector<int32_t> ids;
        m_titleList.GetSelectedIds(ids);
        tally.highlighted = static_cast<int>(ids.size());
        for (int32_t id : ids)
            if (document->IsBookmarked(id))
                ++tally.bookmarked;
    }
    ui.Enable(IsShowing() && IsModifiable() && tally.highlighted > 0);
    ui.SetCheck(tally.AllBookmarked() ? 1 : 0);
}

void CIndexView::OnBookmarkArticles()
{
    CQuorvaneDoc* document = Document();
    if (!document || !document->CanModify())
        return;
    CArticleIdSet ids;
    m_titleList.GetSelectedIds(ids);
    if (ids.GetSize() == 0)
        return;
    BookmarkTally tally;
    tally.highlighted = ids.GetSize();
    for (int32_t id : ids.Values())
        if (document->IsBookmarked(id))
            ++tally.bookmarked;
    bool on = tally.Target();
    ReportErrors([&] {
        // The document tells the view of each article; the batch resorts and repaints once.
        CIndexSelection::CTitleBatch batch(m_selection);
        for (int32_t id : ids.Values())
            if (document->IsBookmarked(id) != on)
                document->SetBookmark(id, on);
    });
    AfterArticlesChanged();
}

// ---- The article clipboard ----

void CIndexView::OnUpdateCopy(CCmdUI& ui)
{
    bool titles = IsTitlesFocus() && m_titleList.SendMessage(LB_GETSELCOUNT) > 0;
    bool text = false;
    if (IsPreviewFocus() && ::IsWindowVisible(PreviewHandle())) {
        DWORD start = 0, end = 0;
        ::SendMessageA(PreviewHandle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        text = end > start;
    }
    ui.Enable(IsShowing() && (titles || text));
}

void CIndexView::OnCopy()
{
    CQuorvaneDoc* document = Document();
    if (IsPreviewFocus()) {
        // The preview's own copy keeps the selection's formats and links.
        ::SendMessageA(PreviewHandle(), WM_COPY, 0, 0);
        return;
    }
    if (!document)
        return;
    std::vector<int32_t> ids;
    m_titleList.GetSelectedIds(ids);  // in list order
    if (ids.empty())
        return;
    ReportErrors([&] { document->CopyArticlesToClipboard(ids); });
    m_cutPending = false;
}

void CIndexView::OnUpdateCut(CCmdUI& ui)
{
    ui.Enable(IsShowing() && IsModifiable() && IsTitlesFocus() && m_titleList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CIndexView::OnCut()
{
    CQuorvaneDoc* document = Document();
    if (!document || !document->CanModify())
        return;
    std::vector<int32_t> ids;
    m_titleList.GetSelectedIds(ids);
    if (ids.empty())
        return;
    bool done = false;
    ReportErrors([&] {
        CIndexSelection::CTitleBatch batch(m_selection);
        document->CutArticles(ids);
        done = true;
    });
    m_cutPending = done;
    AfterArticlesChanged();
}

void CIndexView::OnUpdatePaste(CCmdUI& ui)
{
    CQuorvaneDoc* document = Document();
    ui.Enable(IsShowing() && !IsPreviewFocus() && document && document->CanPasteArticles());
}

void CIndexView::OnPaste()
{
    CQuorvaneDoc* document = Document();
    if (!document || !document->CanModify())
        return;
    ClearTitleHighlights();
    // The main window is disabled while the articles come in (the pump between them keeps painting)
    // and enabled again however the paste ends.
    struct CDisabledWindow {
        explicit CDisabledWindow(HWND window) : m_window(window && ::IsWindowEnabled(window) ? window : nullptr)
        {
            if (m_window)
                ::EnableWindow(m_window, FALSE);
        }
        ~CDisabledWindow()
        {
            if (m_window)
                ::EnableWindow(m_window, TRUE);
        }
        HWND m_window;
    };
    {
        auto* child = dynamic_cast<CMDIChildWnd*>(GetParentFrame());
        CMDIFrameWnd* main = child ? child->GetMDIFrame() : nullptr;
        CDisabledWindow disabled(main && main->IsWindow() ? main->m_hWnd : nullptr);
        ReportErrors([&] { document->PasteArticles(); });
    }
    m_cutPending = false;
    m_selection.RefreshPreviews();
    m_selection.UpdateTitlesCaption();
    AfterArticlesChanged();
}

// ---- Undo ----

UndoFacts CIndexView::CurrentUndoFacts() const
{
    CQuorvaneDoc* document = Document();
    UndoFacts facts;
    facts.showing = IsShowing();
    facts.modifiable = IsModifiable();
    facts.canUndoImport = document && document->CanUndoImport();
    facts.batchFromPaste = document && document->IsPasteBatch();
    facts.cutPending = m_cutPending;
    facts.titlesFocused = IsTitlesFocus();
    // The clipboard's owner is a window of this process while nothing was copied since the cut.
    HWND owner = ::GetClipboardOwner();
    DWORD process = 0;
    if (owner)
        ::GetWindowThreadProcessId(owner, &process);
    facts.ownsClipboard = owner && process == ::GetCurrentProcessId();
    return facts;
}

void CIndexView::OnUpdateUndo(CCmdUI& ui)
{
    UndoChoice choice = DecideUndo(CurrentUndoFacts());
    int text = choice.text == UndoChoice::Text::kUndoImport      ? IDS_UNDO_IMPORT_MENU
             : choice.text == UndoChoice::Text::kUndoArticleCut ? IDS_UNDO_ARTICLE_CUT_MENU
                                                                 : IDS_UNDO_MENU;
    ui.SetText(QuorLoadString(text));
    ui.Enable(choice.enabled);
}

void CIndexView::OnUndo()
{
    CQuorvaneDoc* document = Document();
    if (!document)
        return;
    UndoChoice choice = DecideUndo(CurrentUndoFacts());
    if (choice.action == UndoAction::kUndoImport) {
        ReportErrors([&] { document->UndoImport(); });
        m_selection.RefreshPreviews();
    } else if (choice.action == UndoAction::kUndoCut) {
        OnPaste();  // puts the cut articles back
    }
    m_cutPending = false;
}

// ---- Select All ----

void CIndexView::OnUpdateSelectAll(CCmdUI& ui)
{
    bool any = false;
    if (IsPreviewFocus()) {
        any = ::GetWindowTextLengthA(PreviewHandle()) > 0;
    } else if (m_focusList && ::IsWindowVisible(m_focusList)) {
        LRESULT count = ::SendMessageA(m_focusList, LB_GETCOUNT, 0, 0);
        any = count != LB_ERR && count > 0;
    }
    ui.Enable(IsShowing() && any);
}

void CIndexView::OnSelectAll()
{
    if (IsPreviewFocus()) {
        ::SendMessageA(PreviewHandle(), EM_SETSEL, 0, -1);
        return;
    }
    if (!m_focusList || ::SendMessageA(m_focusList, LB_GETCOUNT, 0, 0) <= 0)
        return;
    ::SendMessageA(m_focusList, LB_SETSEL, TRUE, -1);
    if (m_focusList == m_groupList.m_hWnd)
        m_selection.RecomputeGroupFilter();
    m_selection.RefreshPreviews();
}

// ---- Attachments ----

void CIndexView::OnUpdateOpenAttachments(CCmdUI& ui)
{
    CQuorvaneDoc* document = Document();
    int32_t id = OnlyHighlightedTitle();
    bool any = false;
    if (document && id != kNoneId) {
        try {
            any = document->GetArticleAttachmentCount(id) > 0;
        } catch (const CQuorError&) {
        }
    }
    ui.Enable(any);
}

void CIndexView::OnOpenAttachments()
{
    CQuorvaneDoc* document = Document();
    int32_t id = OnlyHighlightedTitle();
    if (!document || id == kNoneId || ForwardToArticleWindow(id, IDM_ARTICLE_OPEN_ATTACHMENTS))
        return;
    ReportErrors([&] {
        CArticleRecord record;
        document->LoadArticle(id, record);
        CAttachmentArray attachments = record.GetAttachments();
        // Openable: the attachments of the article's open list.
        std::vector<int> openable;
        for (int i = 0; i < attachments.GetSize(); ++i) {
            const CLinkTarget* target = attachments.Item(i);
            if (target && target->GetKind() != CLinkTarget::kNone && target->IsInOpenList())
                openable.push_back(i);
        }
        int count = static_cast<int>(openable.size());
        AttachmentAnswer answer = AttachmentAnswer::kYes;
        if (MustAskAttachmentCount(count)) {
            std::string text = QuorFormatNumbers(QuorLoadString(IDS_OPEN_MANY_ATTACHMENTS), count,
                                                 kAttachmentsOpenedWithoutAsking);
            // MB_DEFBUTTON2 makes No the default; the box answers IDYES, IDNO or IDCANCEL.
            int pressed = MessageBoxA(m_hWnd, text.c_str(), QuorLoadString(IDS_APP_NAME).c_str(),
                                      MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
            answer = pressed == IDYES ? AttachmentAnswer::kYes
                   : pressed == IDNO  ? AttachmentAnswer::kNo
                                      : AttachmentAnswer::kCancel;
        }
        int toOpen = AttachmentsToOpen(count, answer);
        CAddressPacer pacer(GetClock(), Services().wait ? Services().wait : CAddressPacer::Wait([](uint32_t ms) {
            ::Sleep(ms);
        }));
        bool corrected = false;
        for (int n = 0; n < toOpen; ++n) {
            CLinkTarget target(*attachments.Item(openable[static_cast<size_t>(n)]));
            if (target.GetKind() == CLinkTarget::kInternet)
                pacer.BeforeAddress();
            int32_t article = target.Open(false, 0);
            if (article >= 0)
                document->OpenArticle(article);
            if (target.IsPathCorrected() && document->CanModify()) {
                attachments.SetAt(openable[static_cast<size_t>(n)], target);
                corrected = true;
            }
        }
        if (corrected) {
            record.SetAttachments(attachments);
            document->UpdateArticle(id, record, false);
        }
    });
}

// ---- Properties and reminders ----

void CIndexView::OnUpdateArticleProperties(CCmdUI& ui)
{
    ui.Enable(OnlyHighlightedTitle() != kNoneId && Services().showArticleProperties != nullptr);
}

void CIndexView::OnArticleProperties()
{
    ShowArticleProperties(IDM_ARTICLE_PROPERTIES, 0);
}

void CIndexView::OnAttachmentProperties()
{
    ShowArticleProperties(IDM_ARTICLE_ATTACHMENTS, 1);
}

void CIndexView::ShowArticleProperties(UINT command, int page)
{
    CQuorvaneDoc* document = Document();
    int32_t id = OnlyHighlightedTitle();
    if (!document || id == kNoneId || ForwardToArticleWindow(id, command) || !Services().showArticleProperties)
        return;
    ReportErrors([&] { Services().showArticleProperties(*document, id, page, m_hWnd); });
}

void CIndexView::OnUpdateSetReminder(CCmdUI& ui)
{
    ui.Enable(IsModifiable() && OnlyHighlightedTitle() != kNoneId);
}

void CIndexView::OnSetReminder()
{
    CQuorvaneDoc* document = Document();
    int32_t id = OnlyHighlightedTitle();
    if (!document || id == kNoneId)
        return;
    ReportErrors([&] { document->EditArticleReminder(id); });
}

HWND CIndexView::RemindersManager() const
{
    return m_remindersManager && ::IsWindow(m_remindersManager) ? m_remindersManager : nullptr;
}

void CIndexView::OnRemindersDue()
{
    if (Services().settings && Services().settings->GetPlayReminderSound()) {
        if (Services().beep)
            Services().beep(MB_ICONEXCLAMATION);
        else
            MessageBeep(MB_ICONEXCLAMATION);
    }
    if (HWND manager = RemindersManager()) {
        if (!::IsWindowVisible(manager))
            ::ShowWindow(manager, SW_SHOWNORMAL);
        ::PostMessageA(manager, kRefreshRemindersMessage, 0, 0);
    } else if (Services().makeRemindersManager) {
        m_remindersManager = Services().makeRemindersManager(m_hWnd, 1);
    }
}

void CIndexView::OpenRemindersManager()
{
    if (HWND manager = RemindersManager()) {
        ::PostMessageA(manager, kRefreshRemindersMessage, 0, 0);
        ::SetFocus(manager);
    } else if (Services().makeRemindersManager) {
        m_remindersManager = Services().makeRemindersManager(m_hWnd, 0);
    }
}

void CIndexView::RemindersChanged()
{
    m_titleList.Invalidate();
    if (HWND manager = RemindersManager())
        ::PostMessageA(manager, kRefreshRemindersMessage, 0, 0);
}

void CIndexView::CloseRemindersManager()
{
    if (HWND manager = RemindersManager())
        ::SendMessageA(manager, WM_COMMAND, IDCANCEL, 0);
    m_remindersManager = nullptr;
}

// The article window's commands with their update rules, the notifications of its controls, the
// keyword drags from other lists and the files dropped on it.
#include <windows.h>
#include <shellapi.h>

#include "article/article_save_checks.h"
#include "article/ui/article_dlgs.h"
#include "article/ui/article_properties.h"
#include "article/ui/article_view.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/mdi_wnd.h"
#include "resources/resource.h"
#include "resources/article_window_res.h"
#include "resources/commands.h"
#include "shell/app_settings.h"
#include "storage/date.h"
#include "storage/link_shell.h"
#include "storage/link_target.h"
#include "storage/quor_error.h"

namespace {

bool HasSelection(HWND edit)
{
    DWORD start = 0, end = 0;
    ::SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

// The character effect a toolbar command toggles.
DWORD EffectOf(unsigned id)
{
    switch (id) {
    case IDM_FORMAT_BOLD:
        return CFE_BOLD;
    case IDM_FORMAT_ITALIC:
        return CFE_ITALIC;
    case IDM_FORMAT_UNDERLINE:
        return CFE_UNDERLINE;
    default:
        return CFE_STRIKEOUT;
    }
}

}  // namespace

bool CArticleView::OnCmdMsg(unsigned id, CCmdUI* ui)
{
    static const CommandEntry<CArticleView> kCommands[] = {
        {IDM_ARTICLE_SAVE, &CArticleView::OnSaveArticle, &CArticleView::OnUpdateSave},
        {IDM_EDIT_UNDO_ARTICLE, &CArticleView::OnUndoArticleChanges, &CArticleView::OnUpdateUndoArticleChanges},
        {IDM_EDIT_UNDO, &CArticleView::OnUndo, &CArticleView::OnUpdateUndo},
        {IDM_EDIT_CUT, &CArticleView::OnCut, &CArticleView::OnUpdateCut},
        {IDM_EDIT_COPY, &CArticleView::OnCopy, &CArticleView::OnUpdateCopy},
        {IDM_EDIT_PASTE, &CArticleView::OnPaste, &CArticleView::OnUpdatePaste},
        {IDM_EDIT_PASTE_TEXT, &CArticleView::OnPaste, &CArticleView::OnUpdatePaste},
        {IDM_EDIT_SELECT_ALL, &CArticleView::OnSelectAll, &CArticleView::OnUpdateSelectAll},
        {IDM_ARTICLE_BOOKMARK, &CArticleView::OnBookmark, &CArticleView::OnUpdateBookmark},
        {IDM_ARTICLE_NOW, &CArticleView::OnSetToNow, &CArticleView::OnUpdateWritable},
        {IDM_ARTICLE_DELETE, &CArticleView::OnDeleteArticle, &CArticleView::OnUpdateEditable},
        {IDM_KEYWORD_CHANGE, &CArticleView::OnChangeKeywords, &CArticleView::OnUpdateEditable},
        {CKeywordListBox::kAddKeywordsCommand, &CArticleView::OnChangeKeywordsFromList,
         &CArticleView::OnUpdateChangeKeywordsFromList},
        {IDM_KEYWORD_REMOVE, &CArticleView::OnRemoveKeyword, &CArticleView::OnUpdateRemoveKeyword},
        {IDM_KEYWORD_CREATE, &CArticleView::OnCreateKeyword, &CArticleView::OnUpdateCreateKeyword},
        {kCalendarCommand, &CArticleView::OnSelectDate, &CArticleView::OnUpdateEditable},
        {kCalendarButtonId, &CArticleView::OnSelectDate, &CArticleView::OnUpdateEditable},
        {IDM_EDIT_DELETE, &CArticleView::OnDelete, &CArticleView::OnUpdateDelete},
        {IDM_INSERT_DATE_TIME, IDM_INSERT_TIME, &CArticleView::OnInsertDateTime, &CArticleView::OnUpdateInsertDateTime},
        {IDM_ARTICLE_CREATE_TITLE, &CArticleView::OnCreateTitle, &CArticleView::OnUpdateCreateTitle},
        {IDM_FORMAT_BOLD, IDM_FORMAT_BOLD, &CArticleView::OnEffect, &CArticleView::OnUpdateEffect},
        {IDM_FORMAT_ITALIC, IDM_FORMAT_UNDERLINE, &CArticleView::OnEffect, &CArticleView::OnUpdateEffect},
        {IDM_FORMAT_STRIKEOUT, IDM_FORMAT_STRIKEOUT, &CArticleView::OnEffect, &CArticleView::OnUpdateEffect},
        {IDM_ARTICLE_PREVIOUS, IDM_ARTICLE_PREVIOUS, &CArticleView::OnNeighbour, &CArticleView::OnUpdateNeighbour},
        {IDM_ARTICLE_NEXT, IDM_ARTICLE_NEXT, &CArticleView::OnNeighbour, &CArticleView::OnUpdateNeighbour},
        {IDM_ARTICLE_PROPERTIES, IDM_ARTICLE_PROPERTIES, &CArticleView::OnArticleProperties},
        {IDM_ARTICLE_ATTACHMENTS, IDM_ARTICLE_ATTACHMENTS, &CArticleView::OnArticleProperties},
        // Served by later parts of the window: routed here, greyed until then.
        {IDM_TOOLS_SPELLING, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_INSERT_LINK, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_INSERT_SPECIAL, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_EDIT_PASTE_RTF, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_EDIT_PASTE_HTML, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_ARTICLE_GALLERY, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_ARTICLE_SET_REMINDER, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_ARTICLE_OPEN_ATTACHMENTS, nullptr, &CArticleView::OnUpdateNotServed},
        {IDM_FORMAT_FONT, nullptr, &CArticleView::OnUpdateNotServed},
    };
    return RouteToTable(this, kCommands, id, ui) || CView::OnCmdMsg(id, ui);
}

bool CArticleView::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (!control) {
        // A command posted by a child (the keyword list's Enter, Insert, Delete, double click) takes
        // the frame's route, with its update rule.
        if (CFrameWnd* frame = GetParentFrame())
            frame->ExecuteCommand(id);
        result = 0;
        return true;
    }
    switch (id) {
    case kTitleBoxId:
    case kDateBoxId:
    case kContentId:
        if (code == EN_CHANGE)
            OnEditChange();
        else if (code == EN_SETFOCUS)
            m_activeText = control;
        return false;
    case kKeywordListId:
        if (code == LBN_SETFOCUS)
            m_activeText = control;
        else if (code == LBN_DBLCLK && IsEditable())
            ChangeKeywords(std::string());
        return false;
    case kCalendarButtonId:
        if (code == BN_CLICKED) {
            if (CFrameWnd* frame = GetParentFrame())
                frame->ExecuteCommand(kCalendarCommand);
            result = 0;
            return true;
        }
        return false;
    default:
        return false;
    }
}

void CArticleView::OnEditChange()
{
    m_modified = true;
    m_replaceUndoState = 0;
    if (CQuorvaneDoc* document = GetDoc())
        document->ClearImportBatch();
}

// ---- Update rules ----

void CArticleView::OnUpdateEditable(CCmdUI& ui) { ui.Enable(IsEditable()); }

void CArticleView::OnUpdateWritable(CCmdUI& ui) { ui.Enable(CanModify()); }

void CArticleView::OnUpdateNotServed(CCmdUI& ui) { ui.Enable(false); }

void CArticleView::OnUpdateSave(CCmdUI& ui) { ui.Enable(CanModify() && m_modified); }

void CArticleView::OnUpdateUndoArticleChanges(CCmdUI& ui)
{
    const bool redo = !m_modified && m_undoSnapshot;
    ui.SetText(QuorLoadString(redo ? IDS_REDO_ARTICLE_CHANGES : IDS_UNDO_ARTICLE_CHANGES));
    ui.Enable(CanModify() && (m_modified || m_undoSnapshot));
}

void CArticleView::OnUpdateBookmark(CCmdUI& ui)
{
    ui.Enable(CanModify());
    ui.SetCheck(m_bookmarked ? 1 : 0);
}

// ---- Undo: an import first, then the control that has the focus ----

void CArticleView::OnUpdateUndo(CCmdUI& ui)
{
    CQuorvaneDoc* document = GetDoc();
    const bool showing = ::IsWindowVisible(m_hWnd) && !(GetParentFrame() && ::IsIconic(GetParentFrame()->m_hWnd));
    if (document && document->CanUndoImport()) {
        ui.SetText(QuorLoadString(IDS_EDIT_UNDO_IMPORT));
        ui.Enable(showing);
        return;
    }
    if (m_replaceUndoState != 0 && m_undoSnapshot) {
        static const int kTexts[] = {IDS_UNDO_REPLACE, IDS_REDO_REPLACE, IDS_UNDO_REPLACE_ALL, IDS_REDO_REPLACE_ALL};
        ui.SetText(QuorLoadString(kTexts[m_replaceUndoState - 1]));
        ui.Enable(showing && CanModify());
        return;
    }
    ui.SetText(QuorLoadString(IDS_EDIT_UNDO));
    HWND focus = GetFocus();
    bool can = false;
    if (focus == m_titleBox.m_hWnd)
        can = m_titleBox.SendMessage(EM_CANUNDO) != 0;
    else if (focus == m_content.m_hWnd)
        can = m_content.CanUndo() || m_content.SendMessage(EM_CANREDO) != 0;
    else if (focus == m_dateBox.m_hWnd)
        can = m_dateBox.CanUndo();
    else if (focus == m_keywordList.m_hWnd)
        can = m_keywordSnapshot != nullptr;
    ui.Enable(showing && CanModify() && can);
}

void CArticleView::OnUndo()
{
    CQuorvaneDoc* document = GetDoc();
    if (document && document->CanUndoImport()) {
        document->UndoImport();
        return;
    }
    if (m_replaceUndoState != 0 && m_undoSnapshot) {
        SwapReplaceSnapshot();
        return;
    }
    HWND focus = GetFocus();
    if (focus == m_titleBox.m_hWnd) {
        m_titleBox.SendMessage(EM_UNDO);
    } else if (focus == m_content.m_hWnd) {
        if (m_content.CanUndo())
            m_content.Undo();
        else if (m_content.SendMessage(EM_CANREDO))
            m_content.SendMessage(EM_REDO);
    } else if (focus == m_dateBox.m_hWnd) {
        m_dateBox.SwapWithPrevious();
        OnEditChange();
    } else if (focus == m_keywordList.m_hWnd) {
        UndoKeywordChange();
    }
}

// ---- Clipboard of the header boxes; the content keeps its own through its messages ----

static HWND FocusedEdit(HWND title, HWND date, HWND content)
{
    HWND focus = GetFocus();
    return focus == title || focus == date || focus == content ? focus : nullptr;
}

void CArticleView::OnUpdateCut(CCmdUI& ui)
{
    HWND edit = FocusedEdit(m_titleBox.m_hWnd, m_dateBox.m_hWnd, m_content.m_hWnd);
    ui.Enable(edit && HasSelection(edit) && IsEditable());
}

void CArticleView::OnUpdateCopy(CCmdUI& ui)
{
    HWND edit = FocusedEdit(m_titleBox.m_hWnd, m_dateBox.m_hWnd, m_content.m_hWnd);
    ui.Enable(edit && HasSelection(edit));
}

void CArticleView::OnCut()
{
    if (HWND edit = FocusedEdit(m_titleBox.m_hWnd, m_dateBox.m_hWnd, m_content.m_hWnd))
        ::SendMessageA(edit, WM_CUT, 0, 0);
}

void CArticleView::OnCopy()
{
    if (HWND edit = FocusedEdit(m_titleBox.m_hWnd, m_dateBox.m_hWnd, m_content.m_hWnd))
        ::SendMessageA(edit, WM_COPY, 0, 0);
}

void CArticleView::OnUpdatePaste(CCmdUI& ui)
{
    HWND edit = FocusedEdit(m_titleBox.m_hWnd, m_dateBox.m_hWnd, m_content.m_hWnd);
    bool can = false;
    if (edit == m_content.m_hWnd)
        can = ContentCanPaste();
    else if (edit)
        can = IsClipboardFormatAvailable(CF_TEXT) != FALSE;
    ui.Enable(can && IsEditable());
}

// The control answers by reading the clipboard's formats (through OLE under Wine), most of what
// the toolbar's update costs after every key; the answer stands until the clipboard changes. A
// sequence number of 0 (the system keeps none for this session) asks every time.
bool CArticleView::ContentCanPaste()
{
    const DWORD sequence = ::GetClipboardSequenceNumber();
    if (sequence == 0 || sequence != m_pasteSequence) {
        m_contentCanPaste = m_content.SendMessage(EM_CANPASTE) != 0;
        m_pasteSequence = sequence;
    }
    return m_contentCanPaste;
}

void CArticleView::OnPaste()
{
    HWND edit = FocusedEdit(m_titleBox.m_hWnd, m_dateBox.m_hWnd, m_content.m_hWnd);
    if (!edit)
        return;
    ::SendMessageA(edit, WM_PASTE, 0, 0);
    if (edit == m_titleBox.m_hWnd)
        CutTitleToLimit();
}

void CArticleView::CutTitleToLimit()
{
    std::string text = m_titleBox.GetWindowText();
    if (text.size() <= static_cast<size_t>(CArticleTitleBox::kMaxLength))
        return;
    DWORD start = 0, end = 0;
    m_titleBox.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    text.resize(CArticleTitleBox::kMaxLength);
    m_titleBox.SetWindowText(text);
    m_titleBox.SetSel(static_cast<int>(std::min<DWORD>(start, CArticleTitleBox::kMaxLength)),
                      static_cast<int>(std::min<DWORD>(end, CArticleTitleBox::kMaxLength)));
}

void CArticleView::OnUpdateSelectAll(CCmdUI& ui)
{
    HWND focus = GetFocus();
    const bool showing = ::IsWindowVisible(m_hWnd);
    ui.Enable(showing && (focus == m_titleBox.m_hWnd || focus == m_dateBox.m_hWnd || focus == m_content.m_hWnd ||
                          focus == m_keywordList.m_hWnd));
}

void CArticleView::OnSelectAll()
{
    HWND focus = GetFocus();
    if (focus == m_keywordList.m_hWnd) {
        m_keywordList.SendMessage(LB_SETSEL, TRUE, -1);
    } else if (focus == m_content.m_hWnd) {
        m_content.SetSel(0, -1);
    } else if (focus == m_titleBox.m_hWnd || focus == m_dateBox.m_hWnd) {
        ::SendMessageA(focus, EM_SETSEL, 0, -1);
        ::SendMessageA(focus, EM_SCROLLCARET, 0, 0);
    }
}

// ---- Article commands ----

void CArticleView::OnBookmark()
{
    m_bookmarked = !m_bookmarked;
    if (m_articleId != kNewArticle) {
        if (CQuorvaneDoc* document = GetDoc())
            document->SetBookmark(m_articleId, m_bookmarked);
    }
    Invalidate();
}

void CArticleView::OnSetToNow() { SetToCurrentDateTime(); }

void CArticleView::OnDeleteArticle()
{
    CQuorvaneDoc* document = GetDoc();
    if (!document)
        return;
    try {
        if (m_articleId == kNewArticle) {
            if (m_modified && Ask(QuorLoadString(IDS_DELETE_MODIFIED_NEW_ARTICLE), MB_YESNO | MB_ICONQUESTION) != IDYES)
                return;
            m_modified = false;
            CloseFrame();
            return;
        }
        HWND owner = GetParentFrame() ? GetParentFrame()->m_hWnd : m_hWnd;
        bool yes = Services().confirmDelete ? Services().confirmDelete(owner, *document, m_articleId)
                                            : ConfirmDeleteArticle(owner, *document, m_articleId);
        if (!yes)
            return;
        // The document closes this window by a posted close: the view lives until this handler ends.
        m_modified = false;
        document->DeleteArticle(m_articleId);
    } catch (const CQuorError& error) {
        ReportError(error);
    }
}

void CArticleView::OnChangeKeywords() { ChangeKeywords(std::string()); }

void CArticleView::OnUpdateChangeKeywordsFromList(CCmdUI& ui)
{
    ui.Enable(IsEditable() && GetFocus() == m_keywordList.m_hWnd);
}

void CArticleView::OnChangeKeywordsFromList() { ChangeKeywords(std::string()); }

void CArticleView::OnUpdateRemoveKeyword(CCmdUI& ui)
{
    ui.Enable(IsEditable() && m_keywordList.SendMessage(LB_GETSELCOUNT) > 0);
}

void CArticleView::OnRemoveKeyword()
{
    SaveKeywordSnapshot();
    m_keywordList.RemoveSelected();
    OnEditChange();
}

void CArticleView::OnUpdateCreateKeyword(CCmdUI& ui)
{
    HWND focus = GetFocus();
    ui.Enable(IsEditable() && (focus == m_titleBox.m_hWnd || focus == m_content.m_hWnd) && HasSelection(focus));
}

void CArticleView::OnCreateKeyword()
{
    try {
        std::string text;
        HWND focus = GetFocus();
        if (focus == m_content.m_hWnd) {
            m_content.GetSelectionText(text);
        } else if (focus == m_titleBox.m_hWnd) {
            DWORD start = 0, end = 0;
            m_titleBox.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            std::string title = m_titleBox.GetWindowText();
            if (start < end && end <= title.size())
                text = title.substr(start, end - start);
        }
        AssignKeywordByName(text);
    } catch (const CQuorError& error) {
        ReportError(error);
    }
}

void CArticleView::OnSelectDate()
{
    int32_t shown = 0;
    const bool valid = m_dateBox.GetDate(shown);
    int32_t date = valid ? shown : GetTodayYmd();
    RECT box;
    ::GetWindowRect(m_dateBox.m_hWnd, &box);
    HWND owner = GetParentFrame() ? GetParentFrame()->m_hWnd : m_hWnd;
    bool chosen = Services().chooseDate ? Services().chooseDate(owner, box.bottom + 1, box.right, date)
                                        : ChooseDateFromCalendar(owner, box.bottom + 1, box.right, date);
    if (!chosen || (valid && date == shown))
        return;
    m_dateBox.SetDate(date, true);
    m_dateBox.SetSel(0, -1);
    m_dateBox.SendMessage(EM_SCROLLCARET);
    m_dateBox.SetFocus();
    OnEditChange();
}

// ---- Drops ----

void CArticleView::OnKeywordsDropped(HWND source)
{
    CQuorvaneDoc* document = GetDoc();
    if (!document || !document->CanModify() || !::IsWindow(source))
        return;
    // The drag names its list by handle: only a live keyword list of this program answers.
    auto* list = dynamic_cast<CKeywordListBox*>(CWnd::FromHandle(source));
    if (!list || list == &m_keywordList)
        return;
    try {
        CKeywordIdSet selected;
        list->GetSelectedIds(selected);
        int before = m_keywordList.GetCount();
        SaveKeywordSnapshot();
        for (int32_t id : selected.Values())
            m_keywordList.AddId(id, false);
        if (m_keywordList.GetCount() != before)
            OnEditChange();
    } catch (const CQuorError& error) {
        ReportError(error);
    }
}

void CArticleView::OnDropFiles(HDROP drop)
{
    try {
        UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
        if (count > 0 && CanModify()) {
            if (auto* child = dynamic_cast<CMDIChildWnd*>(GetParentFrame()))
                child->MDIActivate();
            std::string text = QuorFormat1(QuorLoadString(IDS_ATTACH_DROPPED_FILES), std::to_string(count));
            if (Ask(text, MB_YESNO | MB_ICONQUESTION) == IDYES) {
                bool attached = false;
                for (UINT i = 0; i < count; ++i) {
                    UINT length = DragQueryFileA(drop, i, nullptr, 0);
                    std::string path(length + 1, '\0');
                    DragQueryFileA(drop, i, &path[0], length + 1);
                    path.resize(length);
                    if (path.size() >= MAX_PATH) {
                        // Never attach a path cut short: it would name another file, or none.
                        Ask(QuorFormat1(QuorLoadString(IDS_DROPPED_PATH_TOO_LONG), path), MB_OK | MB_ICONEXCLAMATION);
                        continue;
                    }
                    CLinkTarget target;
                    target.Set(CLinkTarget::kFile, path);
                    if (!(m_info.GetFlags() & CArticleInfo::kSaveFullPaths))
                        if (ILinkShell* shell = GetLinkShell())
                            target.MakeRelativePath(shell->BaseFolder());
                    m_attachments.Add(target);
                    attached = true;
                }
                if (attached) {
                    OnEditChange();
                    Invalidate();
                }
            }
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    DragFinish(drop);
}

// ---- Inserting and deleting text ----

void CArticleView::OnUpdateInsertDateTime(CCmdUI& ui)
{
    HWND focus = GetFocus();
    bool inside = focus == m_titleBox.m_hWnd;
    if (focus == m_content.m_hWnd) {
        int32_t start = 0, end = 0;
        m_content.GetSel(start, end);
        inside = m_content.FindLinkAt(start) < 0 || m_content.FindLinkAt(end) < 0;
    }
    ui.Enable(inside && IsEditable());
}

void CArticleView::OnInsertDateTime(unsigned id)
{
    std::string date = FormatToday(true);
    std::string time = FormatTime(GetTimeOfDay(), false);
    std::string text = id == IDM_INSERT_DATE ? date : id == IDM_INSERT_TIME ? time : date + " " + time;
    HWND focus = GetFocus();
    if (focus == m_content.m_hWnd)
        m_content.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
    else if (focus == m_titleBox.m_hWnd)
        m_titleBox.ReplaceSel(text, true);
}

void CArticleView::OnUpdateCreateTitle(CCmdUI& ui)
{
    ui.Enable(IsEditable() && GetFocus() == m_content.m_hWnd && HasSelection(m_content.m_hWnd));
}

void CArticleView::OnCreateTitle()
{
    std::string text;
    m_content.GetSelectionText(text);
    text = TrimArticleText(text.substr(0, text.find_first_of("\r\n")));
    if (text.size() > static_cast<size_t>(CArticleTitleBox::kMaxLength))
        text.resize(CArticleTitleBox::kMaxLength);
    m_titleBox.SetSel(0, -1);
    m_titleBox.ReplaceSel(text, true);
}

void CArticleView::OnUpdateDelete(CCmdUI& ui)
{
    HWND focus = GetFocus();
    bool can = false;
    if (focus == m_titleBox.m_hWnd || focus == m_content.m_hWnd)
        can = HasSelection(focus);
    else if (focus == m_dateBox.m_hWnd)
        can = true;
    else if (focus == m_keywordList.m_hWnd)
        can = m_keywordList.SendMessage(LB_GETSELCOUNT) > 0;
    ui.Enable(can && IsEditable());
}

void CArticleView::OnDelete()
{
    HWND focus = GetFocus();
    if (focus == m_keywordList.m_hWnd) {
        OnRemoveKeyword();
        return;
    }
    if (focus != m_titleBox.m_hWnd && focus != m_dateBox.m_hWnd && focus != m_content.m_hWnd)
        return;
    if (!HasSelection(focus)) {
        DWORD start = 0, end = 0;
        ::SendMessageA(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        ::SendMessageA(focus, EM_SETSEL, start, start + 1);
    }
    ::SendMessageA(focus, WM_CLEAR, 0, 0);
}

// ---- Character effects of the content ----

void CArticleView::OnUpdateEffect(CCmdUI& ui)
{
    const bool active = m_activeText == m_content.m_hWnd;
    ui.Enable(active && IsEditable());
    if (!active) {
        ui.SetCheck(0);
        return;
    }
    const DWORD effect = EffectOf(ui.m_id);
    CHARFORMAT2A format = SelectionFormat(effect);
    ui.SetCheck(!(format.dwMask & effect) ? 2 : (format.dwEffects & effect) ? 1 : 0);
}

void CArticleView::OnEffect(unsigned id)
{
    if (m_activeText != m_content.m_hWnd)
        return;
    const DWORD effect = EffectOf(id);
    CHARFORMAT2A format = SelectionFormat(effect);
    const bool whole = (format.dwMask & effect) && (format.dwEffects & effect);
    CHARFORMAT2A change = {};
    change.cbSize = sizeof(change);
    change.dwMask = effect;
    change.dwEffects = whole ? 0 : effect;
    m_content.SetCharFormat(change, SCF_SELECTION);
}

// ---- Previous and Next Article ----

void CArticleView::OnUpdateNeighbour(CCmdUI& ui)
{
    CQuorvaneDoc* document = GetDoc();
    bool listed = false;
    if (document && m_articleId != kNewArticle) {
        CArticleIdSet titles;
        document->GetSelectedArticleIds(titles);
        listed = titles.Contains(m_articleId);
    }
    ui.Enable(listed);
}

void CArticleView::OnNeighbour(unsigned id)
{
    if (CQuorvaneDoc* document = GetDoc())
        document->CloseArticleWindow(m_articleId, id == IDM_ARTICLE_NEXT ? 1 : -1);
}

// ---- Article Properties ----

void CArticleView::OnArticleProperties(unsigned id)
{
    CQuorvaneDoc* document = GetDoc();
    if (!document)
        return;
    try {
        CArticleProperties sheet(*document, GetParentFrame() ? GetParentFrame()->m_hWnd : m_hWnd);
        ArticlePropertiesData& data = sheet.Data();
        CFrameWnd* frame = GetParentFrame();
        data.title = frame ? frame->GetWindowText() : m_titleBox.GetWindowText();
        int32_t date = 0;
        if (m_articleId == kNewArticle) {
            data.created = data.modified = QuorLoadString(IDS_ARTICLE_NOT_SAVED);
            if (!m_dateBox.GetDate(date))
                date = GetTodayYmd();
        } else {
            CArticleRecord stored;
            document->LoadArticle(m_articleId, stored);
            data.created = ArticleStampText(stored.GetDateOf(CArticleRecord::kCreatedDate),
                                            stored.GetTimeOf(CArticleRecord::kCreatedDate), false);
            data.modified = ArticleStampText(stored.GetDateOf(CArticleRecord::kModifiedDate),
                                             stored.GetTimeOf(CArticleRecord::kModifiedDate), false);
            if (!m_dateBox.GetDate(date))
                date = stored.GetDateOf(CArticleRecord::kOwnDate);
        }
        data.date = date;
        data.time = m_timeField.GetSecondsOfDay();
        data.length = std::to_string(m_content.SendMessage(WM_GETTEXTLENGTH));
        data.links = std::to_string(m_content.Links().GetCount());
        data.attachmentCount = std::to_string(m_attachments.GetSize());
        data.wordWrap = m_info.GetWordWrap() != 0 ? 1 : 0;
        data.keepTitle = m_info.GetKeepTitle() != 0 ? 1 : 0;
        data.isPrivate = m_private ? 1 : 0;
        data.bookmarked = m_bookmarked;
        data.hasReminder = m_hasReminder;
        data.attachments.Copy(m_attachments);
        data.autoOpen = AutoOpenFromOpening(m_info.GetAttachmentOpening());
        data.saveFullPaths = (m_info.GetFlags() & CArticleInfo::kSaveFullPaths) != 0 ? 1 : 0;
        sheet.SetStartPage(id == IDM_ARTICLE_ATTACHMENTS ? 1 : 0);
        if (sheet.DoModal() != IDOK || !sheet.IsChanged() || !document->CanModify())
            return;
        if (data.attachmentsModified) {
            m_attachments.Copy(data.attachments);
            m_info.SetAttachmentOpening(OpeningFromAutoOpen(data.autoOpen));
            m_info.SetFlags(static_cast<int16_t>(data.saveFullPaths ? (m_info.GetFlags() | CArticleInfo::kSaveFullPaths)
                                                                    : (m_info.GetFlags() & ~CArticleInfo::kSaveFullPaths)));
        }
        if (data.generalChanged) {
            m_private = data.isPrivate != 0;
            m_info.SetKeepTitle(data.keepTitle);
            m_info.SetWordWrap(data.wordWrap);
            m_content.SetWordWrap(data.wordWrap != 0);
            // Dates changed on the sheet count as the user's (the save keeps them); untouched ones
            // keep the boxes' own state.
            if (data.timeChanged) {
                m_dateBox.SetDate(data.date, true);
                m_timeField.SetTime(data.time, true);
            }
        }
        RecalcLayout();
        Invalidate();
        OnEditChange();
    } catch (const CQuorError& error) {
        ReportError(error);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
}

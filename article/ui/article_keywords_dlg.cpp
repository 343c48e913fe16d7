#include "article/ui/article_keywords_dlg.h"

#include <windowsx.h>

#include <algorithm>
#include <new>

#include "article/article_save_checks.h"
#include "article/ui/article_keywords_dlg_res.h"
#include "index/ui/keyword_completion.h"
#include "index/ui/query_dlgs_res.h"
#include "resources/resource.h"
#include "resources/article_window_res.h"
#include "article/ui/article_view.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "shell/app_settings.h"
#include "storage/quor_error.h"

namespace {

CAppSettings* g_settings = nullptr;

// The size of the grip drawn in the lower right corner, in pixels.
constexpr int kGripSize = 13;

// The controls that move with the groups pane, in this order.
constexpr int kMovingControls[] = {IDC_KEYWORDS_NEW_LABEL, IDC_KEYWORDS_NEW,   IDC_KEYWORDS_AVAILABLE_LABEL,
                                   IDC_KEYWORDS_AVAILABLE, IDC_KEYWORDS_FILTER, IDC_KEYWORDS_ASSIGN,
                                   IDC_KEYWORDS_UNASSIGN,  IDC_KEYWORDS_ASSIGNED_LABEL, IDC_KEYWORDS_ASSIGNED,
                                   IDOK,                   IDCANCEL,           IDC_DIALOG_HELP,
                                   IDC_KEYWORDS_CLEAR};

}  // namespace

void CArticleKeywordsDlg::SetSettings(CAppSettings* settings) { g_settings = settings; }

CArticleKeywordsDlg::CArticleKeywordsDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_KEYWORDS_FOR_ARTICLE, parent), m_document(document)
{
}

CArticleKeywordsDlg::~CArticleKeywordsDlg() = default;

int CArticleKeywordsDlg::Ask(const std::string& text, UINT style)
{
    const CArticleViewServices& services = CArticleView::Services();
    if (services.messageBox)
        return services.messageBox(m_hWnd, text, style);
    return MessageBoxA(m_hWnd, text.c_str(), QuorLoadString(IDS_APP_NAME).c_str(), style);
}

void CArticleKeywordsDlg::CreateLists()
{
    const int listBottom = KWD_LISTS_Y + KWD_LIST_HEIGHT;
    (void)listBottom;
    if (!m_groups.Create(m_hWnd, IDC_KEYWORDS_GROUPS,
                         DialogUnitsRect(m_hWnd, KWD_GROUPS_X, KWD_LISTS_Y, KWD_GROUPS_WIDTH, KWD_LIST_HEIGHT)) ||
        !m_available.Create(m_hWnd, IDC_KEYWORDS_AVAILABLE,
                            DialogUnitsRect(m_hWnd, KWD_AVAILABLE_X, KWD_LISTS_Y, KWD_LIST_WIDTH, KWD_LIST_HEIGHT)) ||
        !m_assignedList.Create(m_hWnd, IDC_KEYWORDS_ASSIGNED,
                               DialogUnitsRect(m_hWnd, KWD_ASSIGNED_X, KWD_LISTS_Y, KWD_LIST_WIDTH, KWD_LIST_HEIGHT)))
        throw CQuorError(kOutOfMemory);
    // Tab order: the lists follow their labels.
    ::SetWindowPos(m_groups.m_hWnd, ::GetDlgItem(m_hWnd, IDC_KEYWORDS_GROUPS_LABEL), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(m_available.m_hWnd, ::GetDlgItem(m_hWnd, IDC_KEYWORDS_AVAILABLE_LABEL), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(m_assignedList.m_hWnd, ::GetDlgItem(m_hWnd, IDC_KEYWORDS_ASSIGNED_LABEL), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool CArticleKeywordsDlg::OnInitDialog()
{
    m_initialising = true;
    CDialog::OnInitDialog();
    try {
        // Alt+O is OK from any control; the system's modal loop translates no accelerators itself.
        m_keys.Attach(m_hWnd, IDR_DIALOG_KEYS);
        if (!m_title.empty())
            SetWindowText(QuorFormat1(QuorLoadString(IDS_KEYWORDS_FOR_ARTICLE_CAPTION), m_title));
        m_edit = CEditHandle(::GetDlgItem(m_hWnd, IDC_KEYWORDS_NEW));
        CreateLists();
        HFONT listFont = CArticleView::Services().listFont;
        for (CKeywordListBox* list : {static_cast<CKeywordListBox*>(&m_available), static_cast<CKeywordListBox*>(&m_assignedList)}) {
            list->SetDocument(&m_document);
            list->SetSettings(g_settings);
            list->SetListFont(listFont, false);
        }
        CKeywordIdSet all;
        m_document.GetAllKeywordIds(all);
        m_model.Init(all, m_assigned);
        m_assignedList.SetIds(m_model.Assigned());
        m_available.SetIds(m_model.Available());

        m_groups.SetDocument(&m_document);
        m_groups.SetListFont(listFont, false);
        CGroupIdSet groups;
        m_document.GetAllKeywordGroupIds(groups);
        m_groups.SetIds(groups);
        m_groups.UpdateWindow();

        // The groups pane starts hidden: the window is narrower by its width.
        RECT groupRect = ChildRectInParent(m_hWnd, m_groups.m_hWnd);
        RECT availableRect = ChildRectInParent(m_hWnd, m_available.m_hWnd);
        m_paneWidth = availableRect.left - groupRect.left;
        m_paneShown = true;
        ToggleGroupsPane();

        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        m_minHeight = window.bottom - window.top;
        m_width = window.right - window.left;

        UpdateClearButton();
        m_edit.SetFocus();
        if (!m_initialText.empty()) {
            m_completing = true;
            m_edit.SetWindowText(m_initialText);
            m_completing = false;
            OnNewKeywordChanged();
            int length = static_cast<int>(m_edit.GetWindowText().size());
            DWORD start = 0, end = 0;
            m_edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
            if (start == end)
                m_edit.SendMessage(EM_SETSEL, length, length);
        }
        PlaceFromSettings();
    } catch (const CQuorError& error) {
        error.Report();
        EndDialog(IDCANCEL);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        EndDialog(IDCANCEL);
    }
    m_initialising = false;
    return false;  // the focus is set
}

void CArticleKeywordsDlg::PlaceFromSettings()
{
    if (!g_settings)
        return;
    const CAppSettings::Rect& stored = g_settings->GetKeywordDialogRect();
    if (stored.bottom == 0)
        return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = std::max(m_minHeight, static_cast<int>(stored.bottom - stored.top));
    RECT target = {stored.left, stored.top, stored.left + width, stored.top + height};
    RECT desktop;
    ::GetClientRect(GetDesktopWindow(), &desktop);
    RECT inside;
    bool onDesktop = IntersectRect(&inside, &target, &desktop) && EqualRect(&inside, &target);
    if (!onDesktop) {
        target.left = (desktop.right - width) / 2;
        target.top = (desktop.bottom - height) / 2;
    }
    ::MoveWindow(m_hWnd, target.left, target.top, width, height, TRUE);
}

void CArticleKeywordsDlg::SaveRect()
{
    if (!g_settings)
        return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    CAppSettings::Rect rect;
    rect.left = window.left + (m_paneShown ? m_paneWidth : 0);
    rect.top = window.top;
    rect.right = window.right;
    rect.bottom = window.bottom;
    g_settings->SetKeywordDialogRect(rect);
    g_settings->SaveToProfile();
}

bool CArticleKeywordsDlg::OnDestroy(LRESULT&)
{
    m_keys.Detach();
    return false;
}

void CArticleKeywordsDlg::UpdateClearButton()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_KEYWORDS_CLEAR), m_assignedList.GetCount() > 0);
}

void CArticleKeywordsDlg::SetEditText(const std::string& text)
{
    m_completing = true;
    m_edit.SetWindowText(text);
    m_completing = false;
    m_typedLength = 0;
}

void CArticleKeywordsDlg::Assign()
{
    CKeywordIdSet selected;
    m_available.GetSelectedIds(selected);
    CKeywordIdSet moved = m_model.Assign(selected);
    if (moved.GetSize() > 0) {
        m_assignedList.AddAndSelectIds(moved);
        m_available.RemoveIds(moved);
        SetEditText(std::string());
    }
    UpdateClearButton();
}

void CArticleKeywordsDlg::Unassign()
{
    CKeywordIdSet selected;
    m_assignedList.GetSelectedIds(selected);
    CKeywordIdSet moved = m_model.Unassign(selected);
    if (moved.GetSize() > 0) {
        CKeywordIdSet back;
        for (int32_t id : moved.Values())
            if (!CKeywordAssignment::IsPending(id))
                back.Add(id);
        m_available.AddAndSelectIds(back);
        m_assignedList.RemoveIds(moved);
        SetEditText(std::string());
    }
    UpdateClearButton();
}

void CArticleKeywordsDlg::Clear()
{
    if (Ask(QuorLoadString(IDS_CLEAR_ASSIGNED_KEYWORDS), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    CKeywordIdSet moved = m_model.Clear();
    CKeywordIdSet back;
    for (int32_t id : moved.Values())
        if (!CKeywordAssignment::IsPending(id))
            back.Add(id);
    m_available.AddAndSelectIds(back);
    m_assignedList.ResetContent();
    SetEditText(std::string());
    m_edit.SetFocus();
    UpdateClearButton();
}

void CArticleKeywordsDlg::AddTypedKeyword()
{
    try {
        std::string name = TrimArticleText(m_edit.GetWindowText());
        if (!name.empty()) {
            int32_t id = m_document.GetKeywordIdByName(name);
            if (m_model.AddTyped(id)) {
                m_assignedList.AddId(id, false);
                m_available.RemoveId(id);
            }
        }
        SetEditText(std::string());
        UpdateClearButton();
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CArticleKeywordsDlg::Finish()
{
    AddTypedKeyword();
    if (m_model.IsChanged())
        m_assignedList.GetIds(m_assigned);
    SaveRect();
    EndDialog(IDOK);
}

void CArticleKeywordsDlg::OnOK()
{
    try {
        HWND focus = GetFocus();
        if (focus == m_available.m_hWnd)
            Assign();
        else if (focus == m_assignedList.m_hWnd)
            Unassign();
        else if (focus == m_edit.m_hWnd && !TrimArticleText(m_edit.GetWindowText()).empty())
            AddTypedKeyword();
        else
            Finish();
    } catch (const CQuorError& error) {
        error.Report();
    }
}

void CArticleKeywordsDlg::OnCancel()
{
    SaveRect();
    EndDialog(IDCANCEL);
}

void CArticleKeywordsDlg::ToggleGroupsPane()
{
    m_paneShown = !m_paneShown;
    const int show = m_paneShown ? SW_SHOW : SW_HIDE;
    ::ShowWindow(m_groups.m_hWnd, show);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_KEYWORDS_GROUPS_LABEL), show);
    const int shift = m_paneShown ? m_paneWidth : -m_paneWidth;
    for (int id : kMovingControls) {
        HWND control = ::GetDlgItem(m_hWnd, id);
        if (!control)
            continue;
        RECT rect = ChildRectInParent(m_hWnd, control);
        ::SetWindowPos(control, nullptr, rect.left + shift, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The pane opens to the left: the left edge moves, the right one stays.
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    window.left -= shift;
    m_width = window.right - window.left;
    ::MoveWindow(m_hWnd, window.left, window.top, window.right - window.left, window.bottom - window.top, TRUE);
    ApplyGroupFilter();
}

void CArticleKeywordsDlg::ApplyGroupFilter()
{
    if (!m_paneShown) {
        m_available.SetFilter(CKeywordIdSet(), false, true);
        return;
    }
    CGroupIdSet groups;
    m_groups.GetSelectedIds(groups);
    CKeywordIdSet filter;
    for (int32_t group : groups.Values()) {
        CKeywordIdSet keywords;
        m_document.GetGroupKeywordIds(group, keywords);
        filter.Union(keywords);
    }
    // No group chosen: every keyword passes.
    m_available.SetFilter(filter, groups.GetSize() > 0, groups.GetSize() == 0);
}

void CArticleKeywordsDlg::OnNewKeywordChanged()
{
    if (m_completing)
        return;
    m_completing = true;
    CompleteKeywordEdit(m_edit, m_available, m_typedLength);
    m_completing = false;
}

void CArticleKeywordsDlg::OnAvailableSelectionChanged()
{
    int caret = static_cast<int>(m_available.SendMessage(LB_GETCARETINDEX));
    if (caret < 0 || caret >= m_available.GetCount())
        return;
    SetEditText(m_available.GetItemText(caret));
    m_edit.SendMessage(EM_SETSEL, 0, -1);
}

bool CArticleKeywordsDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    try {
        switch (id) {
        case IDC_KEYWORDS_ASSIGN:
            Assign();
            return true;
        case IDC_KEYWORDS_UNASSIGN:
            Unassign();
            return true;
        case IDC_KEYWORDS_CLEAR:
            Clear();
            return true;
        case IDC_KEYWORDS_FILTER:
            if (code == BN_CLICKED)
                ToggleGroupsPane();
            return true;
        case IDC_KEYWORDS_NEW:
            if (code == EN_CHANGE)
                OnNewKeywordChanged();
            return true;
        case IDC_KEYWORDS_AVAILABLE:
            if (code == LBN_DBLCLK)
                Assign();
            else if (code == LBN_SELCHANGE)
                OnAvailableSelectionChanged();
            return true;
        case IDC_KEYWORDS_ASSIGNED:
            if (code == LBN_DBLCLK)
                Unassign();
            return true;
        case CKeywordListBox::kAddKeywordsCommand:
            if (!control)
                return true;  // Enter and double clicks in the assigned list arrive as their own codes
            break;
        case CKeywordListBox::kRemoveKeywordCommand:
            if (!control && GetFocus() == m_assignedList.m_hWnd)
                Unassign();
            return true;
        case IDC_KEYWORDS_GROUPS:
            if (code == LBN_SELCHANGE)
                ApplyGroupFilter();
            return true;
        case IDM_DIALOG_ACCEPT:
            Finish();
            return true;
        default:
            break;
        }
    } catch (const CQuorError& error) {
        error.Report();
        return true;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

HMENU CArticleKeywordsDlg::MakeAssignedMenu() const
{
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ARTICLE_KEYWORDS_MENU));
    if (!menu)
        return nullptr;
    // Only Remove Keyword serves in the dialog: the rest goes.
    HMENU popup = ::GetSubMenu(menu, 0);
    for (int i = ::GetMenuItemCount(popup) - 1; i >= 0; --i)
        if (::GetMenuItemID(popup, i) != CKeywordListBox::kRemoveKeywordCommand)
            ::DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    ::EnableMenuItem(popup, CKeywordListBox::kRemoveKeywordCommand,
                     MF_BYCOMMAND | (m_assignedList.GetCount() > 0 ? MF_ENABLED : MF_GRAYED));
    return menu;
}

RECT CArticleKeywordsDlg::GripRect() const
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    return {client.right - kGripSize, client.bottom - kGripSize, client.right, client.bottom};
}

void CArticleKeywordsDlg::DrawGrip(HDC dc) const
{
    // Eleven diagonal lines from bottom-left to top-right, every fourth left out; the one after each
    // gap in the highlight colour, the rest in the shadow colour.
    RECT grip = GripRect();
    HPEN shadow = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    HPEN light = ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    HGDIOBJ old = ::SelectObject(dc, shadow);
    for (int i = 0; i < 11; ++i) {
        if (i % 4 == 2)
            continue;
        ::SelectObject(dc, i % 4 == 3 ? light : shadow);
        ::MoveToEx(dc, grip.right - 2 - i, grip.bottom - 1, nullptr);
        ::LineTo(dc, grip.right, grip.bottom - 3 - i);
    }
    ::SelectObject(dc, old);
    ::DeleteObject(shadow);
    ::DeleteObject(light);
}

bool CArticleKeywordsDlg::OnSize(UINT type, int width, int height, LRESULT& result)
{
    // The grip moves with the corner.
    RECT grip = GripRect();
    ::InflateRect(&grip, kGripSize, kGripSize);
    ::InvalidateRect(m_hWnd, &grip, TRUE);
    if (m_initialising || type == SIZE_MINIMIZED)
        return false;
    for (CWnd* list : {static_cast<CWnd*>(&m_groups), static_cast<CWnd*>(&m_available), static_cast<CWnd*>(&m_assignedList)}) {
        if (!list->m_hWnd)
            continue;
        RECT rect = ChildRectInParent(m_hWnd, list->m_hWnd);
        ::SetWindowPos(list->m_hWnd, nullptr, 0, 0, rect.right - rect.left, std::max(0, height - 5 - static_cast<int>(rect.top)),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return false;
}

bool CArticleKeywordsDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_GETMINMAXINFO: {
        // Resized in height only, never below the height it opened with.
        if (m_width <= 0)
            return false;
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = m_width;
        info->ptMaxTrackSize.x = m_width;
        info->ptMinTrackSize.y = m_minHeight;
        result = 0;
        return true;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        DrawGrip(dc);
        ::EndPaint(m_hWnd, &paint);
        result = 0;
        return true;
    }
    case WM_NCHITTEST: {
        // The grip sizes the bottom edge: the height is all the user may change.
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(m_hWnd, &point);
        RECT grip = GripRect();
        if (::PtInRect(&grip, point)) {
            result = HTBOTTOM;
            return true;
        }
        return false;
    }
    case WM_CONTEXTMENU:
        // The assigned list's menu, with the one command it serves here.
        if (reinterpret_cast<HWND>(wParam) == m_assignedList.m_hWnd) {
            m_assignedList.SetFocus();
            POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (screen.x == -1 && screen.y == -1) {
                RECT rect;
                ::GetWindowRect(m_assignedList.m_hWnd, &rect);
                screen = {rect.left + 4, rect.top + 4};
            }
            if (HMENU menu = MakeAssignedMenu()) {
                // TPM_RETURNCMD: the choice comes back here (the dialog is modal; no command route).
                const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
                    ::GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, screen.x, screen.y, 0, m_hWnd, nullptr));
                ::DestroyMenu(menu);
                if (chosen == CKeywordListBox::kRemoveKeywordCommand)
                    Unassign();
            }
            result = 0;
            return true;
        }
        return false;
    case CDragList::kDropMessage: {
        // Keywords dragged between the two lists: wParam the list dropped on.
        HWND target = reinterpret_cast<HWND>(wParam);
        if (target == m_assignedList.m_hWnd && reinterpret_cast<HWND>(lParam) == m_available.m_hWnd)
            Assign();
        else if (target == m_available.m_hWnd && reinterpret_cast<HWND>(lParam) == m_assignedList.m_hWnd)
            Unassign();
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

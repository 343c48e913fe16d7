#include "index/ui/add_keywords_dlg.h"

#include <algorithm>
#include <new>

#include "document/doc_errors.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "index/add_keywords_model.h"
#include "index/keyword_rules.h"
#include "index/ui/add_keywords_dlg_res.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/keyword_completion.h"
#include "index/ui/query_dlgs_res.h"
#include "shell/app_settings.h"
#include "storage/quor_error.h"

namespace {

constexpr int kClearQuestion = 10050;
constexpr int kShowGroupsCaption = 10066;
constexpr int kHideGroupsCaption = 10067;

// The controls that move right (or left) by the groups pane's width when it shows (hides), in this
// order. Help goes with them, or the pane would cover it.
constexpr int kMovingControls[] = {IDOK, IDCANCEL, IDC_ADDKW_GRIP, IDC_ADDKW_CLEAR, IDC_ADDKW_DELETE,
                                   IDC_ADDKW_SHOW_GROUPS, IDHELP};

}  // namespace

CAddKeywordsDlg::CAddKeywordsDlg(HWND parent) : CDialog(IDD_ADD_KEYWORDS, parent) {}

void CAddKeywordsDlg::Setup(CQuorvaneDoc* document, HFONT listFont)
{
    m_document = document;
    m_listFont = listFont;
    m_addedIds.RemoveAll();
    m_typedLength = 0;
}

bool CAddKeywordsDlg::OnInitDialog()
{
    m_initialising = true;
    CDialog::OnInitDialog();
    try {
        if (!m_document)
            throw CQuorError(kInternalInitialization);
        m_edit = CEditHandle(::GetDlgItem(m_hWnd, IDC_ADDKW_NEW));
        m_newNames = CListBoxHandle(::GetDlgItem(m_hWnd, IDC_ADDKW_NEW_KEYWORDS));
        if (!m_existing.Create(m_hWnd, IDC_ADDKW_EXISTING,
                               DialogUnitsRect(m_hWnd, ADDKW_EXISTING_X, ADDKW_LISTS_Y, ADDKW_LIST_W, ADDKW_LIST_H)) ||
            !m_groups.Create(m_hWnd, IDC_ADDKW_GROUPS,
                             DialogUnitsRect(m_hWnd, ADDKW_GROUPS_X, ADDKW_LISTS_Y, ADDKW_LIST_W, ADDKW_LIST_H)))
            throw CQuorError(kOutOfMemory);
        ::SetWindowPos(m_existing.m_hWnd, ::GetDlgItem(m_hWnd, IDC_ADDKW_EXISTING_LABEL), 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ::SetWindowPos(m_groups.m_hWnd, ::GetDlgItem(m_hWnd, IDC_ADDKW_GROUPS_LABEL), 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        m_existing.SetDocument(m_document);
        m_existing.SetListFont(m_listFont, false);
        m_groups.SetDocument(m_document);
        m_groups.SetListFont(m_listFont, false);
        if (m_listFont) {
            m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont), FALSE);
            m_newNames.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_listFont), FALSE);
        }
        CKeywordIdSet keywords;
        m_document->GetAllKeywordIds(keywords);
        m_existing.SetIds(keywords);
        CGroupIdSet groups;
        m_document->GetAllKeywordGroupIds(groups);
        m_groups.SetIds(groups);

        char caption[256] = {};
        ::GetDlgItemTextA(m_hWnd, IDC_ADDKW_GROUPS_LABEL, caption, sizeof caption);
        m_groupsCaption = caption;
        UpdateGroupsCaption();

        // The pane is laid out shown in the template's terms; it starts hidden.
        RECT pane = DialogUnitsRect(m_hWnd, 0, 0, ADDKW_PANE_W, 1);
        m_paneWidth = pane.right - pane.left;
        m_groups.ShowWindow(SW_HIDE);
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        m_width = window.right - window.left;
        m_openingHeight = window.bottom - window.top;
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        m_listBottomMargin = client.bottom - ChildRectInParent(m_hWnd, m_existing.m_hWnd).bottom;
        PlaceFromSettings();
        UpdateButtons();
        // Alt+O is OK without storing the rectangle.
        m_keys.Attach(m_hWnd, IDR_DIALOG_KEYS);
        ::SetFocus(m_edit);
    } catch (...) {
        ReportOpeningFailure(*this, IDCANCEL);
    }
    m_initialising = false;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    StretchLists(client.bottom);
    return false;  // the focus is set
}

void CAddKeywordsDlg::PlaceFromSettings()
{
    CAppSettings* settings = m_document->GetSettings();
    if (!settings)
        return;
    const CAppSettings::Rect& stored = settings->GetKeywordDialogRect();
    KeywordDialogRect from;
    from.left = stored.left;
    from.top = stored.top;
    from.right = stored.right;
    from.bottom = stored.bottom;
    RECT desktop;
    ::GetClientRect(GetDesktopWindow(), &desktop);
    KeywordDialogRect screen;
    screen.right = desktop.right;
    screen.bottom = desktop.bottom;
    KeywordDialogRect placed;
    if (PlaceKeywordDialog(from, m_width, m_openingHeight, screen, placed))
        ::MoveWindow(m_hWnd, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top, TRUE);
}

// Stored as the dialog stands without the groups pane, the width it always opens with.
void CAddKeywordsDlg::StoreRect()
{
    CAppSettings* settings = m_document->GetSettings();
    if (!settings)
        return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    CAppSettings::Rect rect;
    rect.left = window.left;
    rect.top = window.top;
    rect.right = window.right - (m_groupsShown ? m_paneWidth : 0);
    rect.bottom = window.bottom;
    settings->SetKeywordDialogRect(rect);
    settings->SaveToProfile();
}

void CAddKeywordsDlg::StretchLists(int clientHeight)
{
    if (m_initialising || !m_existing.m_hWnd)
        return;
    for (HWND list : {m_existing.m_hWnd, m_newNames.GetSafeHwnd(), m_groups.m_hWnd}) {
        RECT rect = ChildRectInParent(m_hWnd, list);
        int bottom = std::max(static_cast<int>(rect.top), clientHeight - m_listBottomMargin);
        ::MoveWindow(list, rect.left, rect.top, rect.right - rect.left, bottom - rect.top, TRUE);
    }
}

bool CAddKeywordsDlg::OnSize(UINT type, int width, int height, LRESULT& result)
{
    StretchLists(height);
    return false;
}

void CAddKeywordsDlg::SetEditText(const std::string& text)
{
    m_inCompletion = true;
    m_edit.SetWindowText(text);
    m_inCompletion = false;
}

// Completion only while the text grows: after Backspace or Delete the user's text stays as it is.
void CAddKeywordsDlg::OnNewKeywordChanged()
{
    if (m_inCompletion)
        return;
    m_inCompletion = true;
    CompleteKeywordEdit(m_edit, m_existing, m_typedLength);
    m_inCompletion = false;
}

void CAddKeywordsDlg::OnExistingSelectionChanged()
{
    int caret = static_cast<int>(m_existing.SendMessage(LB_GETCARETINDEX));
    if (caret < 0 || caret >= m_existing.GetCount())
        return;
    SetEditText(m_existing.GetItemText(caret));
}

std::vector<std::string> CAddKeywordsDlg::NewNames() const
{
    std::vector<std::string> names;
    int count = m_newNames.GetCount();
    names.reserve(static_cast<size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        names.push_back(m_newNames.GetText(i));
    return names;
}

void CAddKeywordsDlg::AddTypedName()
{
    std::string name = TypedKeywordToAdd(
        m_edit.GetWindowText(), [this](const std::string& text) { return m_document->FindKeyword(text) != kNoneId; },
        NewNames());
    if (!name.empty()) {
        int index = m_newNames.AddString(name);
        if (index < 0)
            throw CQuorError(kTooManyKeywords);
        m_newNames.SendMessage(LB_SETSEL, FALSE, -1);
        m_newNames.SendMessage(LB_SETSEL, TRUE, index);
        m_newNames.SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
    }
    SetEditText(std::string());
    m_typedLength = 0;
    UpdateButtons();
}

void CAddKeywordsDlg::DeleteSelectedNames()
{
    for (int i = m_newNames.GetCount() - 1; i >= 0; --i)
        if (m_newNames.SendMessage(LB_GETSEL, static_cast<WPARAM>(i)) > 0)
            m_newNames.DeleteString(i);
    UpdateButtons();
    ::SetFocus(m_edit);
}

void CAddKeywordsDlg::ClearNames()
{
    if (ShowGroupMessage(m_hWnd, QuorLoadString(kClearQuestion), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    m_newNames.ResetContent();
    UpdateButtons();
    ::SetFocus(m_edit);
}

void CAddKeywordsDlg::UpdateButtons()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ADDKW_DELETE), m_newNames.SendMessage(LB_GETSELCOUNT) > 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_ADDKW_CLEAR), m_newNames.GetCount() > 0);
}

void CAddKeywordsDlg::UpdateGroupsCaption()
{
    int highlighted = static_cast<int>(m_groups.SendMessage(LB_GETSELCOUNT));
    ::SetDlgItemTextA(m_hWnd, IDC_ADDKW_GROUPS_LABEL,
                      QuorFormatNumbers(m_groupsCaption, std::max(highlighted, 0), m_groups.GetCount()).c_str());
}

void CAddKeywordsDlg::ToggleGroups()
{
    m_groupsShown = !m_groupsShown;
    int shift = m_groupsShown ? m_paneWidth : -m_paneWidth;
    ::SetDlgItemTextA(m_hWnd, IDC_ADDKW_SHOW_GROUPS,
                      QuorLoadString(m_groupsShown ? kHideGroupsCaption : kShowGroupsCaption).c_str());
    int show = m_groupsShown ? SW_SHOW : SW_HIDE;
    m_groups.ShowWindow(show);
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_ADDKW_GROUPS_LABEL), show);
    for (int id : kMovingControls) {
        HWND control = ::GetDlgItem(m_hWnd, id);
        if (!control)
            continue;
        RECT rect = ChildRectInParent(m_hWnd, control);
        ::SetWindowPos(control, nullptr, rect.left + shift, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_width += shift;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_width, window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

// Makes the listed names (a retry after a failure half-way makes only those still missing), puts
// them in the highlighted groups while the pane shows, then ends.
void CAddKeywordsDlg::Accept(bool storeRect)
{
    bool done = ReportErrors([&] {
        if (!TrimName(m_edit.GetWindowText()).empty())
            AddTypedName();
        std::vector<std::string> names = NewNames();
        if (!names.empty()) {
            m_document->AddKeywordBatch(names, m_addedIds);
            CGroupIdSet groups;
            if (m_groupsShown && m_groups.GetSelectedIds(groups) > 0 && m_addedIds.GetSize() > 0)
                m_document->AddKeywordsToGroups(m_addedIds, groups);
        }
    });
    if (!done)
        return;
    if (storeRect)
        StoreRect();
    EndDialog(IDOK);
}

void CAddKeywordsDlg::OnOK()
{
    // Enter in the edit adds what it holds; with an empty edit, a list focused or OK pressed, the
    // dialog accepts.
    if (::GetFocus() == m_edit.GetSafeHwnd() && !m_edit.GetWindowText().empty()) {
        try {
            AddTypedName();
        } catch (const CQuorError& error) {
            error.Report();
        }
        return;
    }
    Accept(true);
}

bool CAddKeywordsDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && id == IDC_ADDKW_NEW && code == EN_CHANGE) {
        OnNewKeywordChanged();
        return false;
    }
    if (control && id == IDC_ADDKW_EXISTING && code == LBN_SELCHANGE) {
        OnExistingSelectionChanged();
        return false;
    }
    if (control && id == IDC_ADDKW_NEW_KEYWORDS && code == LBN_SELCHANGE) {
        UpdateButtons();
        return false;
    }
    if (control && id == IDC_ADDKW_GROUPS && code == LBN_SELCHANGE) {
        UpdateGroupsCaption();
        return false;
    }
    // The accelerator's command arrives with code 1.
    if (id == IDM_DIALOG_ACCEPT && code == 1 && !control) {
        Accept(false);
        result = 0;
        return true;
    }
    if (code != BN_CLICKED)
        return false;
    switch (id) {
    case IDC_ADDKW_DELETE: DeleteSelectedNames(); break;
    case IDC_ADDKW_CLEAR: ClearNames(); break;
    case IDC_ADDKW_SHOW_GROUPS: ToggleGroups(); break;
    default: return CDialog::OnCommand(id, code, control, result);
    }
    result = 0;
    return true;
}

bool CAddKeywordsDlg::OnDestroy(LRESULT& result)
{
    m_keys.Detach();
    return false;
}

bool CAddKeywordsDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_VKEYTOITEM:
        // The Delete key in New Keywords removes its highlighted names.
        if (reinterpret_cast<HWND>(lParam) == m_newNames.GetSafeHwnd()) {
            if (LOWORD(wParam) == VK_DELETE) {
                DeleteSelectedNames();
                result = -2;
            } else {
                result = -1;
            }
            return true;
        }
        return false;
    case WM_GETMINMAXINFO: {
        // Resized in height only, never below the height it opened with.
        if (m_width <= 0)
            return false;
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = m_width;
        info->ptMaxTrackSize.x = m_width;
        info->ptMinTrackSize.y = m_openingHeight;
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

#include "index/ui/keyword_dlgs.h"

#include <new>

#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "index/keyword_rules.h"
#include "index/ui/keyword_dlgs_res.h"
#include "resources/keyword_commands_res.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

namespace {

std::string ControlText(HWND control)
{
    int length = ::GetWindowTextLengthA(control);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = ::GetWindowTextA(control, &text[0], length + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

RECT DialogRect(HWND dialog, int x, int y, int width, int height)
{
    RECT rect = {x, y, x + width, y + height};
    MapDialogRect(dialog, &rect);
    return rect;
}

// Created controls come last in the tab order; after its label, the label's mnemonic reaches it.
void PlaceAfter(HWND control, HWND label)
{
    if (control && label)
        ::SetWindowPos(control, label, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Measures texts in a window's font: the DC is the window's, with its WM_GETFONT font selected.
class CTextMeasure {
public:
    explicit CTextMeasure(HWND window) : m_window(window), m_dc(::GetDC(window))
    {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
        m_old = m_dc && font ? ::SelectObject(m_dc, font) : nullptr;
    }
    ~CTextMeasure()
    {
        if (m_old)
            ::SelectObject(m_dc, m_old);
        if (m_dc)
            ::ReleaseDC(m_window, m_dc);
    }
    CTextMeasure(const CTextMeasure&) = delete;
    CTextMeasure& operator=(const CTextMeasure&) = delete;
    int Width(const std::string& text) const
    {
        SIZE size = {0, 0};
        if (m_dc)
            ::GetTextExtentPoint32A(m_dc, text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    HWND m_window;
    HDC m_dc;
    HGDIOBJ m_old;
};

int ClientWidth(HWND window)
{
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(window, &client);
    return client.right - client.left;
}

// Runs a dialog's opening step; a failure is reported and ends the dialog with `failure`.
template <class Step>
bool OpenOrEnd(CDialog& dialog, int failure, Step step)
{
    try {
        step();
        return true;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    dialog.EndDialog(failure);
    return false;
}

}  // namespace

void SetStaticToFit(HWND control, const std::string& name)
{
    CTextMeasure measure(control);
    const int width = ClientWidth(control);
    ::SetWindowTextA(control, CutNameWithEllipsis(name, [&](const std::string& text) {
                                  return measure.Width(text) <= width;
                              }).c_str());
}

// ---- Edit Keyword ----

CEditKeywordDlg::CEditKeywordDlg(CQuorvaneDoc* document, HFONT listFont, HWND parent)
    : CDialog(IDD_EDIT_KEYWORD, parent), m_document(document), m_listFont(listFont)
{
}

bool CEditKeywordDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_EDIT_KEYWORD_NAME, m_name.c_str());
    if (!m_document || !m_document->IsOpen())
        return true;
    OpenOrEnd(*this, IDCANCEL, [&] {
        HWND availableLabel = ::GetDlgItem(m_hWnd, IDC_EDIT_KEYWORD_AVAILABLE_LABEL);
        HWND membershipLabel = ::GetDlgItem(m_hWnd, IDC_EDIT_KEYWORD_MEMBERSHIP_LABEL);
        m_availableFormat = ControlText(availableLabel);
        m_membershipFormat = ControlText(membershipLabel);
        if (!m_available.Create(m_hWnd, IDC_EDIT_KEYWORD_AVAILABLE,
                                DialogRect(m_hWnd, EDKW_AVAILABLE_X, EDKW_LIST_Y, EDKW_LIST_W, EDKW_LIST_H)) ||
            !m_membership.Create(m_hWnd, IDC_EDIT_KEYWORD_MEMBERSHIP,
                                 DialogRect(m_hWnd, EDKW_MEMBERSHIP_X, EDKW_LIST_Y, EDKW_LIST_W, EDKW_LIST_H)))
            throw CQuorError(kOutOfMemory);
        PlaceAfter(m_available.m_hWnd, availableLabel);
        PlaceAfter(m_membership.m_hWnd, membershipLabel);
        for (CKeywordGroupListBox* list : {&m_available, &m_membership}) {
            list->SetDocument(m_document);
            list->SetListFont(m_listFont, false);
            // The two lists exchange groups by dragging.
            list->SetTargetKinds({DropKind::kSiblingGroupList});
        }
        CGroupIdSet member;
        m_document->GetGroupsOfKeyword(m_keyword, member);
        CGroupIdSet available;
        m_document->GetAllKeywordGroupIds(available);
        available.Subtract(member);
        // A group the keyword names but the file no longer holds is not offered.
        CGroupIdSet all;
        m_document->GetAllKeywordGroupIds(all);
        member.Intersect(all);
        m_available.SetIds(available);
        m_membership.SetIds(member);
        m_available.UpdateWindow();
        m_membership.UpdateWindow();
        UpdateLabels();
    });
    return true;
}

void CEditKeywordDlg::UpdateLabels()
{
    ::SetDlgItemTextA(m_hWnd, IDC_EDIT_KEYWORD_AVAILABLE_LABEL,
                      FormatCountLabel(m_availableFormat, m_available.GetCount()).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_EDIT_KEYWORD_MEMBERSHIP_LABEL,
                      FormatCountLabel(m_membershipFormat, m_membership.GetCount()).c_str());
}

void CEditKeywordDlg::Move(CKeywordGroupListBox& from, CKeywordGroupListBox& to)
{
    if (!from.m_hWnd || !to.m_hWnd)
        return;
    CGroupIdSet moving;
    from.GetSelectedIds(moving);
    if (moving.GetSize() == 0)
        return;
    to.AddGroups(moving, true);
    from.RemoveSelected();
    UpdateLabels();
}

void CEditKeywordDlg::Refuse(int messageId)
{
    HWND edit = ::GetDlgItem(m_hWnd, IDC_EDIT_KEYWORD_NAME);
    MessageBoxA(m_hWnd, QuorLoadString(messageId).c_str(), QuorLoadString(IDS_APP_NAME).c_str(), MB_OK);
    ::SendMessageA(edit, EM_SETSEL, 0, -1);
    ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    ::SetFocus(edit);
}

void CEditKeywordDlg::OnOK()
{
    try {
        HWND focus = ::GetFocus();
        if (focus && focus == m_available.m_hWnd) {
            Move(m_available, m_membership);
            return;
        }
        if (focus && focus == m_membership.m_hWnd) {
            Move(m_membership, m_available);
            return;
        }
        std::string trimmed;
        CQuorvaneDoc* document = m_document;
        KeywordNameProblem problem = CheckKeywordRename(
            ControlText(::GetDlgItem(m_hWnd, IDC_EDIT_KEYWORD_NAME)), m_keyword,
            [document](const std::string& name) { return document ? document->FindKeyword(name) : kNoneId; }, trimmed);
        if (problem == KeywordNameProblem::kBlank) {
            Refuse(IDS_KEYWORD_BLANK);
            return;
        }
        if (problem == KeywordNameProblem::kTaken) {
            Refuse(IDS_KEYWORD_EXISTS);
            return;
        }
        ::SetDlgItemTextA(m_hWnd, IDC_EDIT_KEYWORD_NAME, trimmed.c_str());
        m_name = trimmed;
        m_groups.RemoveAll();
        if (m_membership.m_hWnd)
            m_membership.GetIds(m_groups);
        EndDialog(IDOK);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        EndDialog(IDCANCEL);
    }
}

bool CEditKeywordDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && code == BN_CLICKED && (id == IDC_EDIT_KEYWORD_ADD || id == IDC_EDIT_KEYWORD_REMOVE)) {
        if (id == IDC_EDIT_KEYWORD_ADD)
            Move(m_available, m_membership);
        else
            Move(m_membership, m_available);
        result = 0;
        return true;
    }
    if (control && code == LBN_DBLCLK && (control == m_available.m_hWnd || control == m_membership.m_hWnd)) {
        if (control == m_available.m_hWnd)
            Move(m_available, m_membership);
        else
            Move(m_membership, m_available);
        result = 0;
        return true;
    }
    if (control && code == LBN_SELCHANGE && (control == m_available.m_hWnd || control == m_membership.m_hWnd)) {
        UpdateLabels();
        result = 0;
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

bool CEditKeywordDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == CDragList::kDropMessage) {
        // Posted to the target's parent (here) first: a drop on one list brings the other's groups.
        CDragList* source = CDragList::FromDrop(wParam, lParam);
        HWND target = reinterpret_cast<HWND>(wParam);
        if (source == &m_available && target == m_membership.m_hWnd)
            Move(m_available, m_membership);
        else if (source == &m_membership && target == m_available.m_hWnd)
            Move(m_membership, m_available);
        result = 0;
        return true;
    }
    if (msg == WM_VKEYTOITEM && LOWORD(wParam) == VK_DELETE && reinterpret_cast<HWND>(lParam) == m_membership.m_hWnd) {
        Move(m_membership, m_available);
        result = -2;  // the key is handled; the list does nothing more
        return true;
    }
    return CDialog::OnMessage(msg, wParam, lParam, result);
}

// ---- Delete Keywords ----

CDeleteKeywordsDlg::CDeleteKeywordsDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_DELETE_KEYWORDS, parent), m_document(document)
{
}

bool CDeleteKeywordsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND label = ::GetDlgItem(m_hWnd, IDC_DELETE_KEYWORDS_LABEL);
    HWND list = ::GetDlgItem(m_hWnd, IDC_DELETE_KEYWORDS_LIST);
    bool filled = OpenOrEnd(*this, IDNO, [&] {
        ::SetWindowTextA(label, (ControlText(label) + " (" + std::to_string(m_keywords.GetSize()) + ") ").c_str());
        // Ten stops four dialog units apart: the count's leading tabs end it at the last ones.
        int stops[10];
        for (int i = 0; i < 10; ++i)
            stops[i] = 144 + 4 * i;
        ::SendMessageA(list, LB_SETTABSTOPS, 10, reinterpret_cast<LPARAM>(stops));
        Fill();
    });
    if (!filled)
        return true;
    ::SetFocus(list);
    return false;
}

void CDeleteKeywordsDlg::Fill()
{
    HWND label = ::GetDlgItem(m_hWnd, IDC_DELETE_KEYWORDS_LABEL);
    HWND list = ::GetDlgItem(m_hWnd, IDC_DELETE_KEYWORDS_LIST);
    CTextMeasure measure(list);
    RECT labelRect = {0, 0, 0, 0};
    ::GetWindowRect(label, &labelRect);
    const int limit = labelRect.right - labelRect.left;
    bool refused = false;
    for (int32_t keyword : m_keywords.Values()) {
        CArticleIdSet articles;
        m_document.GetKeywordArticleIds(keyword, articles);
        std::string name = CutNameForList(m_document.GetKeywordName(keyword),
                                          [&](const std::string& text) { return measure.Width(text) <= limit; });
        std::string item = name + DeleteListCount(articles.GetSize());
        LRESULT added = ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        if (added == LB_ERR || added == LB_ERRSPACE)
            refused = true;
    }
    if (refused)
        CQuorError(kTooManyKeywords).Report();
}

// ---- Merge Keyword: the target ----

CMergeKeywordIntoDlg::CMergeKeywordIntoDlg(CQuorvaneDoc& document, HFONT listFont, HWND parent)
    : CDialog(IDD_MERGE_KEYWORD_INTO, parent), m_document(document), m_listFont(listFont)
{
}

bool CMergeKeywordIntoDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    OpenOrEnd(*this, IDCANCEL, [&] {
        if (!m_targets.Create(m_hWnd, IDC_MERGE_TARGETS, DialogRect(m_hWnd, MRGKW_LIST_X, MRGKW_LIST_Y, MRGKW_LIST_W, MRGKW_LIST_H)))
            throw CQuorError(kOutOfMemory);
        // After "&Into:", the static before the OK button.
        PlaceAfter(m_targets.m_hWnd, ::GetNextWindow(::GetDlgItem(m_hWnd, IDC_MERGE_SOURCE), GW_HWNDNEXT));
        m_targets.SetDocument(&m_document);
        m_targets.SetListFont(m_listFont, false);
        CKeywordIdSet others;
        m_document.GetAllKeywordIds(others);
        others.Remove(m_source);
        m_targets.SetIds(others);
        SetStaticToFit(::GetDlgItem(m_hWnd, IDC_MERGE_SOURCE), m_document.GetKeywordName(m_source));
        UpdateOk();
    });
    return true;
}

int32_t CMergeKeywordIntoDlg::OnlyHighlighted() const
{
    if (!m_targets.m_hWnd)
        return kNoneId;
    CKeywordIdSet highlighted;
    m_targets.GetSelectedIds(highlighted);
    return highlighted.GetSize() == 1 ? highlighted.GetAt(0) : kNoneId;
}

void CMergeKeywordIntoDlg::UpdateOk()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), OnlyHighlighted() != kNoneId);
}

void CMergeKeywordIntoDlg::OnOK()
{
    int32_t chosen = OnlyHighlighted();
    if (chosen == kNoneId)
        return;
    m_target = chosen;
    EndDialog(IDOK);
}

bool CMergeKeywordIntoDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && control == m_targets.m_hWnd) {
        if (code == LBN_SELCHANGE || code == LBN_SELCANCEL)
            UpdateOk();
        else if (code == LBN_DBLCLK)
            OnOK();
        result = 0;
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

// ---- Merge Keyword: the confirmation ----

CMergeKeywordDlg::CMergeKeywordDlg(CQuorvaneDoc& document, HWND parent)
    : CIconDialog(IDD_MERGE_KEYWORD, IDI_QUESTION, parent), m_document(document)
{
}

bool CMergeKeywordDlg::OnInitDialog()
{
    CIconDialog::OnInitDialog();
    OpenOrEnd(*this, IDCANCEL, [&] {
        SetStaticToFit(::GetDlgItem(m_hWnd, IDC_MERGE_FROM), m_document.GetKeywordName(m_source));
        SetStaticToFit(::GetDlgItem(m_hWnd, IDC_MERGE_INTO), m_document.GetKeywordName(m_target));
    });
    MakeNoTheDefault();
    return false;
}

// ---- The drop confirmations ----

CAssignConfirmDlg::CAssignConfirmDlg(int templateId, int sourceNameId, HWND parent)
    : CIconDialog(templateId, IDI_QUESTION, parent), m_sourceNameId(sourceNameId)
{
}

bool CAssignConfirmDlg::OnInitDialog()
{
    CIconDialog::OnInitDialog();
    OpenOrEnd(*this, IDCANCEL, [&] {
        HWND question = ::GetDlgItem(m_hWnd, IDC_ASSIGN_QUESTION);
        std::string text = ControlText(question);
        size_t at = text.find("%s");
        if (at != std::string::npos)
            text.replace(at, 2, QuorLoadString(m_sourceNameId));
        ::SetWindowTextA(question, text.c_str());
    });
    MakeNoTheDefault();
    return false;
}

CAssignKeywordsDlg::CAssignKeywordsDlg(int sourceNameId, HWND parent)
    : CAssignConfirmDlg(IDD_ASSIGN_KEYWORDS, sourceNameId, parent)
{
}

CAssignKeywordGroupsDlg::CAssignKeywordGroupsDlg(int sourceNameId, HWND parent)
    : CAssignConfirmDlg(IDD_ASSIGN_KEYWORD_GROUPS, sourceNameId, parent)
{
}

// ---- Delete Unused Keywords ----

CDeleteUnusedKeywordsDlg::CDeleteUnusedKeywordsDlg(HWND parent)
    : CDeleteUnusedItemsDlg(IDD_DELETE_UNUSED_KEYWORDS, IDC_DELETE_UNUSED_KEYWORDS_LIST, parent)
{
}

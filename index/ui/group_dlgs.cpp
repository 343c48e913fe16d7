#include "index/ui/group_dlgs.h"

#include <new>

#include "document/doc_errors.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "index/keyword_rules.h"
#include "index/ui/group_dlgs_res.h"
#include "resources/resource.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

namespace {

constexpr int kGroupExistsMessage = 33023;

// Puts a created list after `label` in the tab order, so that the label's mnemonic reaches it.
void PlaceAfter(HWND list, HWND dialog, int label)
{
    HWND after = label ? ::GetDlgItem(dialog, label) : HWND_TOP;
    ::SetWindowPos(list, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CreateGroupList(CKeywordGroupListBox& list, HWND dialog, int id, const RECT& rect, CQuorvaneDoc& document,
                     HFONT font)
{
    if (!list.Create(dialog, id, rect))
        throw CQuorError(kOutOfMemory);
    list.SetDocument(&document);
    list.SetListFont(font, false);
}

int SelectedCount(HWND list)
{
    return static_cast<int>(::SendMessageA(list, LB_GETSELCOUNT, 0, 0));
}

// The id of the one highlighted group, or kNoneId.
int32_t OnlySelectedGroup(const CKeywordGroupListBox& list)
{
    CGroupIdSet ids;
    if (list.GetSelectedIds(ids) != 1)
        return kNoneId;
    return ids.Values()[0];
}

void HighlightFirst(CKeywordGroupListBox& list)
{
    if (list.GetCount() > 0) {
        list.SendMessage(LB_SETSEL, TRUE, 0);
        list.SendMessage(LB_SETCARETINDEX, 0, FALSE);
    }
}

// The list of Select a Keyword Group and Manage Keyword Groups: every group, the first highlighted,
// first in the tab order and focused.
void ListEveryGroup(CKeywordGroupListBox& list, HWND dialog, const RECT& rect, CQuorvaneDoc& document, HFONT font)
{
    CreateGroupList(list, dialog, IDC_GROUPS_LIST, rect, document, font);
    PlaceAfter(list.m_hWnd, dialog, 0);
    CGroupIdSet all;
    document.GetAllKeywordGroupIds(all);
    list.SetIds(all);
    HighlightFirst(list);
    ::SetFocus(list.m_hWnd);
}

std::string GroupExistsText(const std::string& name)
{
    std::string text = QuorLoadString(kGroupExistsMessage);
    size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, name);
    return text;
}

}  // namespace

int ShowGroupMessage(HWND owner, const std::string& text, UINT style)
{
    return MessageBoxA(owner, text.c_str(), QuorLoadString(IDS_APP_NAME).c_str(), style);
}

void ReportOpeningFailure(CDialog& dialog, int result)
{
    try {
        throw;
    } catch (const CQuorError& error) {
        error.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
    dialog.EndDialog(result);
}

// ---- Select a Keyword Group ----

CSelectKeywordGroupDlg::CSelectKeywordGroupDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_SELECT_KEYWORD_GROUP, parent), m_document(document)
{
}

bool CSelectKeywordGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    try {
        ListEveryGroup(m_list, m_hWnd,
                       DialogUnitsRect(m_hWnd, SELGRP_LIST_X, SELGRP_LIST_Y, SELGRP_LIST_W, SELGRP_LIST_H), m_document,
                       m_listFont);
        UpdateOk();
    } catch (...) {
        ReportOpeningFailure(*this, IDCANCEL);
    }
    return false;
}

void CSelectKeywordGroupDlg::UpdateOk()
{
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), OnlySelectedGroup(m_list) != kNoneId);
}

void CSelectKeywordGroupDlg::OnOK()
{
    int32_t id = OnlySelectedGroup(m_list);
    if (id == kNoneId)
        return;
    m_groupId = id;
    EndDialog(IDOK);
}

bool CSelectKeywordGroupDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && id == IDC_GROUPS_LIST) {
        if (code == LBN_SELCHANGE)
            UpdateOk();
        else if (code == LBN_DBLCLK)
            OnOK();
        return false;
    }
    return CDialog::OnCommand(id, code, control, result);
}

// ---- Merge Keyword Group: the choice ----

CMergeIntoGroupDlg::CMergeIntoGroupDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_MERGE_INTO_GROUP, parent), m_document(document)
{
}

bool CMergeIntoGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    try {
        CreateGroupList(m_list, m_hWnd, IDC_GROUPS_MERGE_TARGETS,
                        DialogUnitsRect(m_hWnd, MRGGRP_LIST_X, MRGGRP_LIST_Y, MRGGRP_LIST_W, MRGGRP_LIST_H), m_document,
                        m_listFont);
        PlaceAfter(m_list.m_hWnd, m_hWnd, IDC_GROUPS_MERGE_SOURCE);
        CGroupIdSet offered;
        offered.Copy(m_offered);
        offered.Remove(m_sourceId);
        m_list.SetIds(offered);
        ::SetDlgItemTextA(m_hWnd, IDC_GROUPS_MERGE_SOURCE, m_document.GetKeywordGroupName(m_sourceId).c_str());
        UpdateOk();
        ::SetFocus(m_list.m_hWnd);
    } catch (...) {
        ReportOpeningFailure(*this, IDCANCEL);
    }
    return false;
}

void CMergeIntoGroupDlg::UpdateOk()
{
    HWND ok = ::GetDlgItem(m_hWnd, IDOK);
    bool enable = SelectedCount(m_list.m_hWnd) > 0;
    // A disabled button cannot keep the focus: the list takes it.
    if (!enable && ::GetFocus() == ok)
        ::SetFocus(m_list.m_hWnd);
    ::EnableWindow(ok, enable);
}

void CMergeIntoGroupDlg::OnOK()
{
    int caret = static_cast<int>(m_list.SendMessage(LB_GETCARETINDEX));
    if (caret < 0 || m_list.SendMessage(LB_GETSEL, static_cast<WPARAM>(caret)) <= 0) {
        CGroupIdSet selected;
        if (m_list.GetSelectedIds(selected) == 0)
            return;
        m_targetId = selected.Values()[0];
    } else {
        m_targetId = static_cast<int32_t>(m_list.GetItemData(caret));
    }
    EndDialog(IDOK);
}

bool CMergeIntoGroupDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && id == IDC_GROUPS_MERGE_TARGETS) {
        if (code == LBN_SELCHANGE)
            UpdateOk();
        else if (code == LBN_DBLCLK && SelectedCount(m_list.m_hWnd) > 0)
            OnOK();
        return false;
    }
    return CDialog::OnCommand(id, code, control, result);
}

// ---- Merge Keyword Group: the question ----

CMergeKeywordGroupDlg::CMergeKeywordGroupDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_MERGE_KEYWORD_GROUP, parent), m_document(document)
{
}

bool CMergeKeywordGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    try {
        ::SetDlgItemTextA(m_hWnd, IDC_GROUPS_MERGE_FROM, m_document.GetKeywordGroupName(m_sourceId).c_str());
        ::SetDlgItemTextA(m_hWnd, IDC_GROUPS_MERGE_INTO, m_document.GetKeywordGroupName(m_targetId).c_str());
    } catch (...) {
        ReportOpeningFailure(*this, IDCANCEL);
    }
    return true;
}

// ---- Delete Keyword Groups ----

CDeleteKeywordGroupsDlg::CDeleteKeywordGroupsDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_DELETE_KEYWORD_GROUPS, parent), m_document(document)
{
}

bool CDeleteKeywordGroupsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND label = ::GetDlgItem(m_hWnd, IDC_GROUPS_DELETE_LABEL);
    HWND list = ::GetDlgItem(m_hWnd, IDC_GROUPS_LIST);
    try {
        char caption[256] = {};
        ::GetWindowTextA(label, caption, sizeof caption);
        ::SetWindowTextA(label, (std::string(caption) + " (" + std::to_string(m_ids.GetSize()) + ") ").c_str());

        // Ten stops 4 units apart: the count's leading tabs carry it to the last ones, right-aligned.
        int stops[10];
        for (int i = 0; i < 10; ++i)
            stops[i] = 144 + 4 * i;
        ::SendMessageA(list, LB_SETTABSTOPS, 10, reinterpret_cast<LPARAM>(stops));

        RECT labelRect;
        ::GetClientRect(label, &labelRect);
        HDC dc = ::GetDC(list);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(list, WM_GETFONT, 0, 0)));
        auto width = [dc](const std::string& text) {
            SIZE size = {0, 0};
            ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            return static_cast<int>(size.cx);
        };
        bool refused = false;
        try {
            for (int32_t id : m_ids.Values()) {
                CKeywordGroupRecord record;
                m_document.LoadKeywordGroup(id, record);
                CKeywordIdSet keywords;
                record.GetKeywordIds(keywords);
                std::string item = CutNameForList(record.GetName(),
                                                  [&](const std::string& text) { return width(text) <= labelRect.right; }) +
                                   DeleteListCount(keywords.GetSize());
                if (::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str())) < 0)
                    refused = true;
            }
        } catch (...) {
            ::SelectObject(dc, old);
            ::ReleaseDC(list, dc);
            throw;
        }
        ::SelectObject(dc, old);
        ::ReleaseDC(list, dc);
        if (refused)
            CQuorError(kTooManyKeywords).Report();
    } catch (...) {
        ReportOpeningFailure(*this, IDNO);
    }
    return true;
}

// ---- Delete Unused Keywords and Keyword Groups ----

CDeleteUnusedGroupsDlg::CDeleteUnusedGroupsDlg(HWND parent)
    : CDeleteUnusedItemsDlg(IDD_DELETE_UNUSED_GROUPS, IDC_GROUPS_LIST, parent)
{
}

bool CDeleteUnusedItemsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    HWND list = ::GetDlgItem(m_hWnd, m_listId);
    bool refused = false;
    for (const std::string& name : m_names)
        if (::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str())) < 0)
            refused = true;
    if (refused)
        CQuorError(kTooManyKeywords).Report();
    return true;
}

bool CDeleteUnusedItemsDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code == BN_CLICKED && (id == IDYES || id == IDNO)) {
        EndDialog(static_cast<int>(id));
        return true;
    }
    // Esc is No; Enter presses the default button, Yes.
    if (code == BN_CLICKED && (id == IDCANCEL || id == IDOK)) {
        EndDialog(id == IDOK ? IDYES : IDNO);
        return true;
    }
    return false;
}

// ---- Keyword Group ----

CKeywordGroupDlg::CKeywordGroupDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_KEYWORD_GROUP, parent), m_document(document)
{
}

bool CKeywordGroupDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    try {
        for (CKeywordListBox* list : {&m_available, &m_included}) {
            int id = list == &m_available ? IDC_GROUPS_AVAILABLE : IDC_GROUPS_INCLUDED;
            int x = list == &m_available ? KWGRP_AVAILABLE_X : KWGRP_INCLUDED_X;
            if (!list->Create(m_hWnd, id, DialogUnitsRect(m_hWnd, x, KWGRP_LISTS_Y, KWGRP_LIST_W, KWGRP_LIST_H)))
                throw CQuorError(kOutOfMemory);
            list->SetDocument(&m_document);
            list->SetListFont(m_listFont, false);
            // The two lists exchange keywords by dragging, and take them from nowhere else.
            list->SetTargetKinds({DropKind::kSiblingKeywordList});
        }
        PlaceAfter(m_available.m_hWnd, m_hWnd, IDC_GROUPS_AVAILABLE_LABEL);
        PlaceAfter(m_included.m_hWnd, m_hWnd, IDC_GROUPS_INCLUDED_LABEL);
        char format[128] = {};
        ::GetDlgItemTextA(m_hWnd, IDC_GROUPS_AVAILABLE_LABEL, format, sizeof format);
        m_availableFormat = format;
        ::GetDlgItemTextA(m_hWnd, IDC_GROUPS_INCLUDED_LABEL, format, sizeof format);
        m_includedFormat = format;

        m_keywordIds.RemoveAll();
        if (m_groupId != kNoneId) {
            CKeywordGroupRecord record;
            m_document.LoadKeywordGroup(m_groupId, record);
            m_name = record.GetName();
            record.GetKeywordIds(m_keywordIds);
        }
        ::SetDlgItemTextA(m_hWnd, IDC_GROUPS_NAME, m_name.c_str());

        // The document's own keyword ids: a keyword record skipped at open, or a group naming a keyword
        // that is gone, cannot shift or stop the sorting.
        CKeywordIdSet all;
        m_document.GetAllKeywordIds(all);
        CKeywordIdSet included;
        included.Copy(all);
        included.Intersect(m_keywordIds);
        CKeywordIdSet available;
        available.Copy(all);
        available.Subtract(included);
        m_available.SetIds(available);
        m_included.SetIds(included);
        Update();
    } catch (...) {
        ReportOpeningFailure(*this, IDCANCEL);
    }
    return true;
}

void CKeywordGroupDlg::Update()
{
    int available = m_available.GetCount();
    int included = m_included.GetCount();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUPS_CLEAR), included > 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUPS_SELECT_ALL), available > 0);
    ::SetDlgItemTextA(m_hWnd, IDC_GROUPS_AVAILABLE_LABEL, FormatCountLabel(m_availableFormat, available).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_GROUPS_INCLUDED_LABEL, FormatCountLabel(m_includedFormat, included).c_str());
    char name[512] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_GROUPS_NAME, name, sizeof name);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDOK), !TrimName(name).empty());
}

// Both lists are filled whole: the target list gets its old ids plus the moved ones in one fill and
// the source drops its highlighted items in one step, so moving thousands stays a sort, not an
// insertion per keyword.
void CKeywordGroupDlg::Move(CKeywordListBox& from, CKeywordListBox& to, bool all)
{
    ReportErrors([&] {
        CKeywordIdSet moved;
        if (all)
            from.GetIds(moved);
        else
            from.GetSelectedIds(moved);
        if (moved.GetSize() == 0)
            return;  // from the lambda: nothing to move
        CKeywordIdSet target;
        to.GetIds(target);
        target.Union(moved);
        to.SendMessage(WM_SETREDRAW, FALSE);
        to.SetIds(target);
        to.SelectIds(moved);
        to.SendMessage(WM_SETREDRAW, TRUE);
        ::InvalidateRect(to.m_hWnd, nullptr, TRUE);
        if (all)
            from.SetIds(CKeywordIdSet());
        else
            from.RemoveSelected();
        from.ResetTypeAhead();
    });
    Update();
}

void CKeywordGroupDlg::Include() { Move(m_available, m_included, false); }
void CKeywordGroupDlg::Exclude() { Move(m_included, m_available, false); }
void CKeywordGroupDlg::SelectAll() { Move(m_available, m_included, true); }

void CKeywordGroupDlg::ClearIncluded()
{
    Move(m_included, m_available, true);
    ::SetFocus(m_available.m_hWnd);
}

bool CKeywordGroupDlg::Store(const std::string& name, const CKeywordIdSet& included)
{
    int32_t found = m_document.FindKeywordGroup(name);
    std::string stored = m_groupId == kNoneId ? std::string() : m_document.GetKeywordGroupName(m_groupId);
    if (IsGroupNameTaken(name, found, m_groupId == kNoneId ? -1 : m_groupId, stored)) {
        ShowGroupMessage(m_hWnd, GroupExistsText(name), MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_GROUPS_NAME));
        return false;
    }
    CKeywordGroupRecord record;
    record.SetName(name);
    record.SetKeywordIds(included);
    if (m_groupId == kNoneId)
        m_groupId = m_document.AddKeywordGroup(record);
    else
        m_document.UpdateKeywordGroup(m_groupId, record);
    return true;
}

void CKeywordGroupDlg::OnOK()
{
    HWND focus = ::GetFocus();
    if (focus == m_available.m_hWnd) {
        Include();
        return;
    }
    if (focus == m_included.m_hWnd) {
        Exclude();
        return;
    }
    char text[512] = {};
    ::GetDlgItemTextA(m_hWnd, IDC_GROUPS_NAME, text, sizeof text);
    std::string name = TrimName(text);
    if (name.empty())
        return;
    bool stored = false;
    ReportErrors([&] {
        CKeywordIdSet included;
        m_included.GetIds(included);
        stored = Store(name, included);
        if (stored) {
            m_name = name;
            m_keywordIds.Copy(included);
        }
    });
    if (stored)
        EndDialog(IDOK);
}

bool CKeywordGroupDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && (id == IDC_GROUPS_AVAILABLE || id == IDC_GROUPS_INCLUDED)) {
        if (code == LBN_DBLCLK) {
            if (id == IDC_GROUPS_AVAILABLE)
                Include();
            else
                Exclude();
        }
        return false;
    }
    if (control && id == IDC_GROUPS_NAME && code == EN_CHANGE) {
        Update();
        return false;
    }
    if (code == BN_CLICKED || !control) {
        switch (id) {
        case IDC_GROUPS_INCLUDE: Include(); result = 0; return true;
        case IDC_GROUPS_EXCLUDE:
        case CKeywordListBox::kRemoveKeywordCommand: Exclude(); result = 0; return true;
        case IDC_GROUPS_SELECT_ALL: SelectAll(); result = 0; return true;
        case IDC_GROUPS_CLEAR: ClearIncluded(); result = 0; return true;
        default: break;
        }
    }
    return CDialog::OnCommand(id, code, control, result);
}

bool CKeywordGroupDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != CDragList::kDropMessage)
        return false;
    // wParam is the list dropped on, lParam the dragged one.
    HWND target = reinterpret_cast<HWND>(wParam);
    HWND source = reinterpret_cast<HWND>(lParam);
    if (target == m_included.m_hWnd && source == m_available.m_hWnd)
        Include();
    else if (target == m_available.m_hWnd && source == m_included.m_hWnd)
        Exclude();
    result = 0;
    return true;
}

// ---- Manage Keyword Groups ----

CManageKeywordGroupsDlg::CManageKeywordGroupsDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_MANAGE_KEYWORD_GROUPS, parent), m_document(document)
{
}

bool CManageKeywordGroupsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    try {
        ListEveryGroup(m_list, m_hWnd,
                       DialogUnitsRect(m_hWnd, MNGGRP_LIST_X, MNGGRP_LIST_Y, MNGGRP_LIST_W, MNGGRP_LIST_H), m_document,
                       m_listFont);
        UpdateButtons();
    } catch (...) {
        ReportOpeningFailure(*this, 0);
    }
    return false;
}

void CManageKeywordGroupsDlg::OnCancel() { EndDialog(0); }

int32_t CManageKeywordGroupsDlg::OnlySelected() const { return OnlySelectedGroup(m_list); }

void CManageKeywordGroupsDlg::UpdateButtons()
{
    int selected = SelectedCount(m_list.m_hWnd);
    bool writable = m_document.CanModify();
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUPS_NEW), writable);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUPS_EDIT), writable && selected == 1);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUPS_MERGE), writable && selected == 1);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_GROUPS_DELETE), writable && selected > 0);
}

void CManageKeywordGroupsDlg::NewGroup()
{
    CKeywordGroupDlg dialog(m_document, m_hWnd);
    dialog.m_listFont = m_listFont;
    if (dialog.DoModal() == IDOK) {
        m_list.SendMessage(LB_SETSEL, FALSE, -1);
        int index = m_list.AddGroup(dialog.m_groupId);
        if (index >= 0) {
            m_list.SendMessage(LB_SETSEL, TRUE, index);
            m_list.SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
    }
    UpdateButtons();
}

void CManageKeywordGroupsDlg::EditGroup()
{
    int32_t id = OnlySelected();
    if (id == kNoneId)
        return;
    CKeywordGroupDlg dialog(m_document, m_hWnd);
    dialog.m_listFont = m_listFont;
    dialog.m_groupId = id;
    if (dialog.DoModal() == IDOK) {
        // Taken out and put back, so that a new name takes its place in the order.
        m_list.RemoveGroup(id);
        int index = m_list.AddGroup(id);
        if (index >= 0) {
            m_list.SendMessage(LB_SETSEL, TRUE, index);
            m_list.SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(index), FALSE);
        }
    }
    UpdateButtons();
}

void CManageKeywordGroupsDlg::DeleteGroups()
{
    CGroupIdSet ids;
    if (m_list.GetSelectedIds(ids) == 0)
        return;
    CDeleteKeywordGroupsDlg dialog(m_document, m_hWnd);
    dialog.m_ids.Copy(ids);
    if (dialog.DoModal() == IDOK) {
        try {
            for (int32_t id : ids.Values()) {
                m_document.DeleteKeywordGroup(id);
                m_list.RemoveGroup(id);
            }
        } catch (const CQuorError& error) {
            error.Report();
        }
    }
    UpdateButtons();
    ::SetFocus(m_list.m_hWnd);
}

void CManageKeywordGroupsDlg::MergeGroup()
{
    int32_t source = OnlySelected();
    if (source == kNoneId)
        return;
    CMergeIntoGroupDlg choice(m_document, m_hWnd);
    choice.m_listFont = m_listFont;
    choice.m_sourceId = source;
    m_list.GetIds(choice.m_offered);
    if (choice.DoModal() == IDOK && choice.m_targetId != source) {
        CMergeKeywordGroupDlg question(m_document, m_hWnd);
        question.m_sourceId = source;
        question.m_targetId = choice.m_targetId;
        if (question.DoModal() == IDOK) {
            try {
                m_document.MergeKeywordGroup(source, choice.m_targetId);
                m_list.RemoveGroup(source);
            } catch (const CQuorError& error) {
                error.Report();
            }
        }
    }
    UpdateButtons();
    ::SetFocus(m_list.m_hWnd);
}

bool CManageKeywordGroupsDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (control && id == IDC_GROUPS_LIST) {
        if (code == LBN_SELCHANGE)
            UpdateButtons();
        else if (code == LBN_DBLCLK && m_document.CanModify())
            EditGroup();
        return false;
    }
    if (code != BN_CLICKED)
        return false;
    // A button disabled meanwhile (a double click, a key) does nothing.
    if (control && !::IsWindowEnabled(control))
        return false;
    switch (id) {
    case IDC_GROUPS_NEW: NewGroup(); break;
    case IDC_GROUPS_EDIT: EditGroup(); break;
    case IDC_GROUPS_DELETE: DeleteGroups(); break;
    case IDC_GROUPS_MERGE: MergeGroup(); break;
    case IDC_GROUPS_CLOSE: EndDialog(0); break;
    default: return CDialog::OnCommand(id, code, control, result);
    }
    result = 0;
    return true;
}

bool CManageKeywordGroupsDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // The list wants its keys (LBS_WANTKEYBOARDINPUT): Delete deletes the highlighted groups.
    if (msg == WM_VKEYTOITEM && reinterpret_cast<HWND>(lParam) == m_list.m_hWnd) {
        if (LOWORD(wParam) == VK_DELETE && m_document.CanModify()) {
            DeleteGroups();
            result = -2;
        } else {
            result = -1;
        }
        return true;
    }
    return false;
}

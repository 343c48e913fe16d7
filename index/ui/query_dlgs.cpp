#include "index/ui/query_dlgs.h"

#include <new>
#include <vector>

#include "document/doc_errors.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "framework/ui/dialog.h"
#include "index/current_query.h"
#include "index/query_dialog_rules.h"
#include "index/query_list.h"
#include "index/ui/query_dlgs_res.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

namespace {

// Help contexts of the saved-query dialogs (the name prompt has one of its own while renaming).
constexpr DWORD kManageQueriesHelp = kHelpIdResource + 1668;
constexpr DWORD kSaveQueryHelp = kHelpIdResource + 19;
constexpr DWORD kRenameQueryHelp = kHelpIdResource + 20;
constexpr DWORD kSelectQueryHelp = kHelpIdResource + 21;
constexpr int kNoCaption = static_cast<int>(0x80000000);
// MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2: the questions whose safe answer is No.
constexpr UINT kAskNoDefault = 292;

// The operator buttons and the words they insert.
struct OperatorWord {
    int id;
    const char* word;
};
constexpr OperatorWord kOperatorWords[] = {
    {IDC_BQ_AND, "AND"},          {IDC_BQ_OR, "OR"},       {IDC_BQ_NOT, "NOT"},
    {IDC_BQ_OPEN, "("},           {IDC_BQ_CLOSE, ")"},     {IDC_BQ_BOOKMARKED, "BOOKMARKED"},
    {IDC_BQ_ATTACHMENTS, "ATTACHMENTS"}, {IDC_BQ_NOKEYS, "NOKEYS"},
};

void ShowHelpContext(DWORD context)
{
    if (QueryServices().showHelp)
        QueryServices().showHelp(context);
    else if (CWinApp* app = CWinApp::Current())
        app->ShowHelp(context);
}

int AskUser(HWND owner, const std::string& text, UINT style)
{
    if (QueryServices().messageBox)
        return QueryServices().messageBox(owner, text, style);
    return MessageBoxA(owner, text.c_str(), QuorLoadString(IDS_APP_NAME).c_str(), style);
}

// Only a change of state goes to the window: every keystroke updates the buttons.
void Enable(HWND dialog, int id, bool on)
{
    HWND control = ::GetDlgItem(dialog, id);
    if ((::IsWindowEnabled(control) != FALSE) != on)
        ::EnableWindow(control, on);
}

}  // namespace

QueryDialogServices& QueryServices()
{
    static QueryDialogServices services;
    return services;
}

// ---- Build Query ----

CBuildQueryDlg::CBuildQueryDlg(HWND parent) : CDialog(IDD_BUILD_QUERY, parent) {}

CBuildQueryDlg::~CBuildQueryDlg() = default;

bool CBuildQueryDlg::Edit(std::string& text, int32_t& from, int32_t& to)
{
    m_text = text;
    m_from = from;
    m_to = to;
    if (DoModal() != IDOK)
        return false;
    text = m_text;
    from = m_from;
    to = m_to;
    return true;
}

void CBuildQueryDlg::SetSources(CQuorvaneDoc* document, HFONT listFont)
{
    m_document = document;
    m_listFont = listFont;
}

int CBuildQueryDlg::Ask(const std::string& text, UINT style)
{
    return AskUser(m_hWnd, text, style);
}

bool CBuildQueryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (!ReportErrors([&] { Open(); }))
        EndDialog(IDCANCEL);
    return false;  // the focus is set
}

void CBuildQueryDlg::Open()
{
    m_keys.Attach(m_hWnd, IDR_DIALOG_KEYS);
    if (!m_keywords.Create(m_hWnd, IDC_BQ_KEYWORDS, DialogUnitsRect(m_hWnd, BQ_LIST_X, BQ_LIST_Y, BQ_LIST_WIDTH, BQ_LIST_HEIGHT)))
        throw CQuorError(kOutOfMemory);
    // Tab order: the list follows its label.
    ::SetWindowPos(m_keywords.m_hWnd, ::GetDlgItem(m_hWnd, IDC_BQ_INDEX_LABEL), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    m_query.SubclassDlgItem(IDC_BQ_QUERY, m_hWnd);
    m_fromEdit.SubclassDlgItem(IDC_QUERY_FROM, m_hWnd);
    m_toEdit.SubclassDlgItem(IDC_QUERY_TO, m_hWnd);

    m_keywords.SetDocument(m_document);
    m_keywords.SetListFont(m_listFont, false);
    if (m_document) {
        CKeywordIdSet all;
        m_document->GetAllKeywordIds(all);
        m_keywords.SetIds(all);
    }
    m_fromEdit.SetDate(m_from);
    m_toEdit.SetDate(m_to);

    m_previousText = TrimQueryTrailing(m_text);
    m_previousFrom = m_from;
    m_previousTo = m_to;
    m_canSave = m_document && m_document->CanModify() && m_savedQueries;
    std::string start = m_previousText;
    bool previousOn = false;
    if (!m_startFromCurrent && m_document) {
        CKeywordIdSet selected;
        const int mode = m_document->NotifyIndexView(IndexCode::kGetSelectedKeywords, &selected);
        if (selected.GetSize() > 0) {
            std::vector<std::string> names;
            for (int32_t id : selected.Values())
                names.push_back(m_document->GetKeywordName(id));
            start = SelectedKeywordsQuery(names, mode == 1 ? 1 : 0);
            previousOn = !m_previousText.empty();
        }
    } else if (m_startFromCurrent) {
        previousOn = BuildQueryEnablingFor(start, m_previousText, m_canSave).previous;
    }
    SetQueryText(start);
    UpdateControls();
    Enable(m_hWnd, IDC_BQ_PREVIOUS, previousOn);

    m_query.SetFocus();
    if (m_captionId != kNoCaption)
        SetWindowText(QuorLoadString(m_captionId));
    if (!m_showSave || !m_savedQueries)
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_BQ_SAVE), SW_HIDE);
    const bool groups = m_document && m_document->GetKeywordGroupCount() > 0 && QueryServices().chooseKeywordGroup;
    Enable(m_hWnd, IDC_BQ_GROUP, groups);
}

void CBuildQueryDlg::SetQueryText(const std::string& text)
{
    // The dialog's own change: the undo step saved for it stays.
    m_settingText = true;
    m_query.SetTextCaretAtEnd(text);
    m_settingText = false;
}

void CBuildQueryDlg::UpdateControls()
{
    const BuildQueryEnabling on = BuildQueryEnablingFor(m_query.GetWindowText(), m_previousText, m_canSave);
    Enable(m_hWnd, IDC_BQ_PREVIOUS, on.previous);
    Enable(m_hWnd, IDC_BQ_OK, on.ok);
    Enable(m_hWnd, IDC_BQ_SAVE, on.save);
    EnableDates(on.dates);
    Enable(m_hWnd, IDC_BQ_UNDO, m_query.CanUndo());
}

void CBuildQueryDlg::EnableDates(bool on)
{
    for (int id : {IDC_BQ_DATES, IDC_BQ_FROM_LABEL, IDC_QUERY_FROM, IDC_BQ_TO_LABEL, IDC_QUERY_TO})
        Enable(m_hWnd, id, on);
}

void CBuildQueryDlg::OnDateChanged()
{
    if (!m_previousText.empty())
        Enable(m_hWnd, IDC_BQ_PREVIOUS, true);
}

void CBuildQueryDlg::MakeOkDefault(bool on)
{
    // Without a default button Enter arrives as IDOK, which the list's owner answers by inserting.
    SendMessage(DM_SETDEFID, on ? IDC_BQ_OK : IDOK);
    ::SendMessageA(::GetDlgItem(m_hWnd, IDC_BQ_OK), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void CBuildQueryDlg::InsertWord(const std::string& word)
{
    // The edit's own changes: the controls are updated once, at the end.
    m_settingText = true;
    m_query.SaveUndoState();
    // The selection, or the marker, is where the word goes.
    int start = 0;
    int end = 0;
    ::SendMessageA(m_query.m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::string insertion = QueryInsertionText(m_query.GetTextWithoutMarker(), start, word);
    m_query.InsertTextAndFocus(insertion);
    m_settingText = false;
    UpdateControls();
}

void CBuildQueryDlg::InsertHighlightedKeyword()
{
    const int caret = static_cast<int>(m_keywords.SendMessage(LB_GETCARETINDEX));
    int32_t id = kNoneId;
    if (caret >= 0 && m_keywords.SendMessage(LB_GETSEL, static_cast<WPARAM>(caret)) > 0) {
        id = m_keywords.GetItemId(caret);
    } else {
        CKeywordIdSet selected;
        m_keywords.GetSelectedIds(selected);
        if (selected.GetSize() > 0)
            id = selected.Values().front();
    }
    if (id == kNoneId || !m_document)
        return;
    InsertWord(CCurrentQuery::QuoteName(m_document->GetKeywordName(id)));
}

void CBuildQueryDlg::InsertKeywordGroup()
{
    if (!QueryServices().chooseKeywordGroup || !m_document)
        return;
    const int32_t group = QueryServices().chooseKeywordGroup(m_hWnd);
    if (group == kNoneId)
        return;
    InsertWord("GROUP:");
    InsertWord(CCurrentQuery::QuoteName(m_document->GetKeywordGroupName(group)));
}

void CBuildQueryDlg::OnEnter()
{
    if (::GetFocus() == m_keywords.m_hWnd) {
        InsertHighlightedKeyword();
        return;
    }
    if (!m_query.GetWindowText().empty())
        Accept();
}

bool CBuildQueryDlg::ValidateDate(CDateEditOptional& edit, int32_t& date)
{
    if (edit.GetDate(date))
        return true;
    Ask(QuorFormat1(QuorLoadString(11100), GetEditDatePicture()), MB_OK | MB_ICONEXCLAMATION);
    edit.SetSel(0, -1);
    edit.SetFocus();
    return false;
}

bool CBuildQueryDlg::ReadAndCompile(std::string& text, int32_t& from, int32_t& to)
{
    if (!ValidateDate(m_toEdit, to) || !ValidateDate(m_fromEdit, from))
        return false;
    text = TrimQueryTrailing(m_query.GetWindowText());
    CCurrentQuery trial(m_document);
    int start = 0;
    int end = 0;
    if (CommitQuery(trial, m_document, text, from, to, false, &start, &end))
        return true;
    int selStart = 0;
    int selEnd = 0;
    QueryErrorSelection(start, end, selStart, selEnd);
    m_query.SetFocus();
    m_query.SetSel(selStart, selEnd);
    m_query.SendMessage(EM_SCROLLCARET);
    return false;
}

void CBuildQueryDlg::Accept()
{
    m_query.RemoveMarker();
    std::string text;
    int32_t from = 0;
    int32_t to = 0;
    const bool compiled = ReadAndCompile(text, from, to);
    if (compiled &&
        (!m_document || m_document->PromptSaveArticles(QuorLoadString(IDS_BUILD_QUERY_CAPTION), 0))) {
        m_text = text;
        m_from = from;
        m_to = to;
        EndDialog(IDOK);
        return;
    }
    if (::GetFocus() != m_query.m_hWnd)
        m_query.ShowMarker();
}

void CBuildQueryDlg::SaveQuery()
{
    if (!m_canSave || !m_savedQueries)
        return;
    m_query.RemoveMarker();
    std::string text;
    int32_t from = 0;
    int32_t to = 0;
    if (ReadAndCompile(text, from, to)) {
        CSaveQueryDlg prompt(*m_savedQueries, m_hWnd);
        if (prompt.DoModal() == IDOK) {
            try {
                m_savedQueries->Add(prompt.m_name, text, from, to);
            } catch (const std::bad_alloc&) {
                ReportOutOfMemory();
            }
            if (QueryServices().savedQueriesChanged)
                QueryServices().savedQueriesChanged();
        }
    }
    if (::GetFocus() != m_query.m_hWnd)
        m_query.ShowMarker();
}

void CBuildQueryDlg::Clear()
{
    m_query.SaveUndoState();
    m_query.SetFocus();
    SetQueryText(std::string());
    MakeOkDefault(true);
    UpdateControls();
}

void CBuildQueryDlg::UndoText()
{
    m_query.SetFocus();
    m_query.Undo();
    MakeOkDefault(true);
    UpdateControls();
}

void CBuildQueryDlg::Previous()
{
    m_query.SaveUndoState();
    m_fromEdit.SetDate(m_previousFrom);
    m_toEdit.SetDate(m_previousTo);
    m_query.SetFocus();
    SetQueryText(m_previousText);
    MakeOkDefault(true);
    UpdateControls();
}

bool CBuildQueryDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    try {
        if (id == IDM_DIALOG_ACCEPT && code == 1) {
            if (::IsWindowEnabled(::GetDlgItem(m_hWnd, IDC_BQ_OK)))
                Accept();
            return true;
        }
        if (control == m_keywords.m_hWnd) {
            if (code == LBN_DBLCLK)
                InsertHighlightedKeyword();
            else if (code == LBN_SETFOCUS)
                MakeOkDefault(false);
            return false;
        }
        if (id == IDC_BQ_QUERY) {
            if (code == EN_CHANGE && !m_settingText) {
                m_query.ClearUndo();
                UpdateControls();
            } else if (code == EN_SETFOCUS) {
                MakeOkDefault(true);
            }
            return false;
        }
        if (id == IDC_QUERY_FROM || id == IDC_QUERY_TO) {
            if (code == EN_CHANGE)
                OnDateChanged();
            else if (code == EN_SETFOCUS)
                MakeOkDefault(true);
            return false;
        }
        if (code != BN_CLICKED)
            return false;
        for (const OperatorWord& op : kOperatorWords) {
            if (op.id == static_cast<int>(id)) {
                InsertWord(op.word);
                return true;
            }
        }
        switch (id) {
        case IDOK:
        case IDC_BQ_OK: OnEnter(); return true;
        case IDCANCEL: EndDialog(IDCANCEL); return true;
        case IDHELP: ShowHelpContext(kHelpIdResource + IDD_BUILD_QUERY); return true;
        case IDC_BQ_GROUP: InsertKeywordGroup(); return true;
        case IDC_BQ_CLEAR: Clear(); return true;
        case IDC_BQ_UNDO: UndoText(); return true;
        case IDC_BQ_PREVIOUS: Previous(); return true;
        case IDC_BQ_SAVE: SaveQuery(); return true;
        default: break;
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

bool CBuildQueryDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_DESTROY)
        m_keys.Detach();
    return false;
}

bool CBuildQueryDlg::OnHelp(HELPINFO* info)
{
    ShowHelpContext(kHelpIdResource + IDD_BUILD_QUERY);
    return true;
}

// ---- The saved-query lists ----

CSavedQueryListDlg::CSavedQueryListDlg(int templateId, int listId, CQueryList& list, HWND parent)
    : CDialog(templateId, parent), m_list(list), m_listId(listId)
{
}

int CSavedQueryListDlg::Ask(const std::string& text, UINT style)
{
    return AskUser(m_hWnd, text, style);
}

bool CSavedQueryListDlg::OnHelp(HELPINFO* info)
{
    ShowHelpContext(m_helpContext);
    return true;
}

bool CSavedQueryListDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDHELP && code == BN_CLICKED) {
        ShowHelpContext(m_helpContext);
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

void CSavedQueryListDlg::AttachShared()
{
    m_names = CListBoxHandle(::GetDlgItem(m_hWnd, m_listId));
    m_fromEdit.SubclassDlgItem(IDC_QUERY_FROM, m_hWnd);
    m_toEdit.SubclassDlgItem(IDC_QUERY_TO, m_hWnd);
}

void CSavedQueryListDlg::FillList(bool strict)
{
    m_names.SendMessage(WM_SETREDRAW, FALSE);
    m_names.ResetContent();
    m_names.SendMessage(LB_INITSTORAGE, static_cast<WPARAM>(m_list.GetCount()), static_cast<LPARAM>(m_list.GetCount()) * 32);
    std::string name;
    for (int i = 0; i < m_list.GetCount(); ++i) {
        m_list.GetName(i, name);
        const int row = m_names.AddString(name);
        if (row < 0) {
            if (!strict)
                continue;
            m_names.SendMessage(WM_SETREDRAW, TRUE);
            throw CQuorError(kOutOfMemory);
        }
        m_names.SetItemData(row, i);
    }
    m_names.SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_names, nullptr, TRUE);
}

int CSavedQueryListDlg::HighlightedEntry() const
{
    const int row = m_names.GetCurSel();
    if (row < 0)
        return -1;
    return static_cast<int>(m_names.GetItemData(row));
}

void CSavedQueryListDlg::HighlightEntry(int entry)
{
    const int count = m_names.GetCount();
    for (int row = 0; row < count; ++row) {
        if (static_cast<int>(m_names.GetItemData(row)) == entry) {
            m_names.SetCurSel(row);
            return;
        }
    }
    m_names.SetCurSel(-1);
}

void CSavedQueryListDlg::ShowHighlighted()
{
    std::string name;
    std::string text;
    int32_t from = kNoLowerDate;
    int32_t to = kNoUpperDate;
    const int entry = HighlightedEntry();
    if (entry < 0 || !m_list.GetAt(entry, name, text, from, to)) {
        text.clear();
        from = kNoLowerDate;
        to = kNoUpperDate;
    }
    SetDlgItemText(IDC_QUERY_TEXT, text);
    m_fromEdit.SetDate(from);
    m_toEdit.SetDate(to);
}

// ---- Save Query ----

CSaveQueryDlg::CSaveQueryDlg(CQueryList& list, HWND parent) : CSavedQueryListDlg(IDD_SAVE_QUERY, IDC_SQ_LIST, list, parent)
{
    m_helpContext = kSaveQueryHelp;
}

void CSaveQueryDlg::SetRename(const std::string& startName)
{
    m_renameMode = true;
    m_startName = TrimQueryName(startName);
    m_helpContext = kRenameQueryHelp;
}

bool CSaveQueryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AttachShared();
    if (m_renameMode) {
        SetWindowText(QuorLoadString(IDS_RENAME_QUERY_CAPTION));
        SetDlgItemText(IDC_SQ_NAME, m_startName);
    }
    FillList(false);
    ShowHighlighted();
    Enable(m_hWnd, IDOK, !TrimQueryName(GetDlgItemText(IDC_SQ_NAME)).empty());
    ::SetFocus(::GetDlgItem(m_hWnd, IDC_SQ_NAME));
    ::SendDlgItemMessageA(m_hWnd, IDC_SQ_NAME, EM_SETSEL, 0, -1);
    return false;
}

bool CSaveQueryDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_SQ_NAME && code == EN_CHANGE) {
        Enable(m_hWnd, IDOK, !TrimQueryName(GetDlgItemText(IDC_SQ_NAME)).empty());
        return true;
    }
    if (static_cast<int>(id) == m_listId) {
        if (code == LBN_SELCHANGE) {
            ShowHighlighted();
        } else if (code == LBN_DBLCLK) {
            const int row = m_names.GetCurSel();
            if (row >= 0)
                SetDlgItemText(IDC_SQ_NAME, m_names.GetText(row));
        }
        return true;
    }
    return CSavedQueryListDlg::OnCommand(id, code, control, result);
}

void CSaveQueryDlg::OnOK()
{
    const std::string name = TrimQueryName(GetDlgItemText(IDC_SQ_NAME));
    int existing = -1;
    switch (DecideSaveName(m_list, name, m_renameMode ? m_startName : std::string(), existing)) {
    case SaveNameDecision::kNothing:
        return;
    case SaveNameDecision::kAccept:
        m_removed = -1;
        break;
    case SaveNameDecision::kAskOverwrite:
        if (Ask(FormatQueryPrompt(QuorLoadString(IDS_QUERY_EXISTS), name), kAskNoDefault) != IDYES)
            return;
        m_list.Remove(existing);
        m_removed = existing;
        break;
    }
    m_name = name;
    EndDialog(IDOK);
}

// ---- Select Query to Run ----

CSelectQueryDlg::CSelectQueryDlg(CQueryList& list, HWND parent)
    : CSavedQueryListDlg(IDD_SELECT_QUERY, IDC_SQ_LIST, list, parent)
{
    m_helpContext = kSelectQueryHelp;
}

bool CSelectQueryDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AttachShared();
    const bool opened = ReportErrors([&] {
        FillList(false);
        ShowHighlighted();
        Enable(m_hWnd, IDOK, false);
    });
    if (!opened)
        EndDialog(IDCANCEL);
    return true;
}

bool CSelectQueryDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (static_cast<int>(id) == m_listId) {
        if (code == LBN_SELCHANGE) {
            ShowHighlighted();
            Enable(m_hWnd, IDOK, HighlightedEntry() >= 0);
        } else if (code == LBN_DBLCLK) {
            OnOK();
        }
        return true;
    }
    if (id == IDC_SQ_RUN_COMMAND) {
        OnOK();
        return true;
    }
    return CSavedQueryListDlg::OnCommand(id, code, control, result);
}

void CSelectQueryDlg::OnOK()
{
    m_chosen = HighlightedEntry();
    EndDialog(m_chosen >= 0 ? IDOK : IDCANCEL);
}

// ---- Manage Queries ----

CManageQueriesDlg::CManageQueriesDlg(CQuorvaneDoc& document, CCurrentQuery& current, HFONT listFont, HWND parent)
    : CSavedQueryListDlg(IDD_MANAGE_QUERIES, IDC_MQ_LIST, document.GetQueryList(), parent),
      m_document(document),
      m_current(current),
      m_listFont(listFont),
      m_model(document.GetQueryList(), current, &document, *this, document.CanModify())
{
    m_helpContext = kManageQueriesHelp;
}

bool CManageQueriesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    AttachShared();
    const bool opened = ReportErrors([&] {
        FillList(true);
        ShowHighlighted();
        UpdateButtons();
    });
    if (!opened)
        EndDialog(IDCANCEL);
    return true;
}

void CManageQueriesDlg::UpdateButtons()
{
    const ManageQueriesEnabling on = m_model.Enabling(HighlightedEntry());
    Enable(m_hWnd, IDC_MQ_NEW, on.newQuery);
    Enable(m_hWnd, IDC_MQ_EDIT, on.edit);
    Enable(m_hWnd, IDC_MQ_RENAME, on.rename);
    Enable(m_hWnd, IDC_MQ_DELETE, on.remove);
    Enable(m_hWnd, IDC_MQ_RUN, on.run);
}

void CManageQueriesDlg::Refresh(int entry)
{
    FillList(true);
    HighlightEntry(entry);
    ShowHighlighted();
    UpdateButtons();
}

bool CManageQueriesDlg::EditQuery(int captionId, bool startFromCurrent, std::string& text, int32_t& from, int32_t& to)
{
    CBuildQueryDlg dialog(m_hWnd);
    dialog.SetSources(&m_document, m_listFont);
    dialog.SetCaptionId(captionId);
    dialog.SetShowSave(false);
    dialog.SetStartFromCurrent(startFromCurrent);
    return dialog.Edit(text, from, to);
}

bool CManageQueriesDlg::AskQueryName(bool rename, const std::string& startName, std::string& name, int& removed)
{
    CSaveQueryDlg prompt(m_list, m_hWnd);
    if (rename)
        prompt.SetRename(startName);
    if (prompt.DoModal() != IDOK) {
        removed = -1;
        return false;
    }
    name = prompt.m_name;
    removed = prompt.m_removed;
    return true;
}

bool CManageQueriesDlg::ConfirmDeleteQuery(const std::string& name)
{
    return Ask(FormatQueryPrompt(QuorLoadString(IDS_DELETE_QUERY_PROMPT), name), kAskNoDefault) == IDYES;
}

void CManageQueriesDlg::OnNew()
{
    const int entry = m_model.New();
    if (entry >= 0)
        Refresh(entry);
}

void CManageQueriesDlg::OnEdit()
{
    if (m_model.Edit(HighlightedEntry()) >= 0)
        ShowHighlighted();
}

void CManageQueriesDlg::OnRename()
{
    const int entry = m_model.Rename(HighlightedEntry());
    if (entry >= 0)
        Refresh(entry);
}

void CManageQueriesDlg::OnDelete()
{
    const int row = m_names.GetCurSel();
    const int entry = HighlightedEntry();
    if (row < 0 || !m_model.Delete(entry))
        return;
    // The list as a refill would make it, without adding every name again (each addition costs the
    // list box a scroll-bar update): the row goes, and the entries after the removed one move down.
    m_names.DeleteString(row);
    const int count = m_names.GetCount();
    for (int other = 0; other < count; ++other) {
        const int data = static_cast<int>(m_names.GetItemData(other));
        if (data > entry)
            m_names.SetItemData(other, data - 1);
    }
    m_names.SetCurSel(RowAfterDelete(row, count));
    ShowHighlighted();
    UpdateButtons();
}

void CManageQueriesDlg::OnRun()
{
    if (m_model.Run(HighlightedEntry()))
        EndDialog(IDC_MQ_RUN);
}

bool CManageQueriesDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (static_cast<int>(id) == m_listId) {
        if (code == LBN_SELCHANGE) {
            ShowHighlighted();
            UpdateButtons();
        } else if (code == LBN_DBLCLK && m_model.CanModify()) {
            ReportErrors([&] { OnEdit(); });
        }
        return true;
    }
    if (code != BN_CLICKED)
        return CSavedQueryListDlg::OnCommand(id, code, control, result);
    switch (id) {
    case IDC_MQ_NEW: ReportErrors([&] { OnNew(); }); return true;
    case IDC_MQ_EDIT: ReportErrors([&] { OnEdit(); }); return true;
    case IDC_MQ_RENAME: ReportErrors([&] { OnRename(); }); return true;
    case IDC_MQ_DELETE: ReportErrors([&] { OnDelete(); }); return true;
    case IDC_MQ_RUN: ReportErrors([&] { OnRun(); }); return true;
    case IDOK: return true;  // Enter in the list does nothing; Close is IDCANCEL
    default: break;
    }
    return CSavedQueryListDlg::OnCommand(id, code, control, result);
}

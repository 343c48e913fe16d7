#include "article/ui/article_dlgs.h"

#include <new>

#include "article/ui/article_view.h"
#include "controls/ui/calendar_dlg.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "resources/article_res.h"
#include "resources/article_window_res.h"
#include "storage/article_record.h"
#include "storage/date.h"
#include "storage/quor_error.h"

// ---- Save Article ----

CSavePromptDlg::CSavePromptDlg(int templateId, HWND parent) : CIconDialog(templateId, IDI_QUESTION, parent) {}

bool CSavePromptDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    switch (id) {
    case IDYES:
        m_noWarnings = IsDlgButtonChecked(m_hWnd, IDC_SAVE_WITHOUT_WARNINGS) == BST_CHECKED;
        EndDialog(IDYES);
        return true;
    case IDNO:
        EndDialog(IDNO);
        return true;
    default:
        return CIconDialog::OnCommand(id, code, control, result);
    }
}

CSaveArticleDlg::CSaveArticleDlg(HWND parent) : CSavePromptDlg(IDD_SAVE_ARTICLE, parent) {}

bool CSaveArticleDlg::OnInitDialog()
{
    CSavePromptDlg::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_SAVE_ARTICLE_TITLE, m_title.c_str());
    return true;
}

int RunSaveArticleDialog(HWND owner, const std::string& title, bool& noWarnings)
{
    CSaveArticleDlg dialog(owner);
    dialog.m_title = title;
    int result = static_cast<int>(dialog.DoModal());
    if (result == IDYES)
        noWarnings = dialog.m_noWarnings;
    return result;
}

// ---- Save Unsaved Articles ----

CSaveUnsavedDlg::CSaveUnsavedDlg(HWND parent) : CDialog(IDD_SAVE_UNSAVED_ARTICLES, parent) {}

bool CSaveUnsavedDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    const struct {
        int control;
        int text;
    } lines[] = {{IDC_UNSAVED_AFFECT, IDS_UNSAVED_AFFECT_RESULTS},
                 {IDC_UNSAVED_SAVE, IDS_UNSAVED_SAVE_THEN},
                 {IDC_UNSAVED_CANCEL, IDS_UNSAVED_CANCEL}};
    try {
        for (const auto& line : lines)
            ::SetDlgItemTextA(m_hWnd, line.control, QuorFormat1(QuorLoadString(line.text), m_operation).c_str());
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        EndDialog(IDCANCEL);
    }
    return true;
}

bool CSaveUnsavedDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDYES) {
        m_noWarnings = IsDlgButtonChecked(m_hWnd, IDC_SAVE_WITHOUT_WARNINGS) == BST_CHECKED;
        EndDialog(IDYES);
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

// ---- Delete Articles ----

CDeleteArticlesDlg::CDeleteArticlesDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_DELETE_ARTICLES, parent), m_document(document)
{
}

bool CDeleteArticlesDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    try {
        HWND label = ::GetDlgItem(m_hWnd, IDC_DELETE_TITLES_LABEL);
        char own[64] = {};
        ::GetWindowTextA(label, own, sizeof(own));
        ::SetWindowTextA(label, (std::string(own) + " (" + std::to_string(m_ids.GetSize()) + ") ").c_str());
        RECT rect = {7, 31, 233, 124};
        MapDialogRect(m_hWnd, &rect);
        if (!m_list.Create(m_hWnd, IDC_ARTICLE_TITLE_LIST, rect))
            throw CQuorError(kOutOfMemory);
        m_list.SetDocument(&m_document);
        m_list.SetListFont(CArticleView::Services().headerFont, false);
        m_list.SetIds(m_ids);
        MakeNoTheDefault();
    } catch (const CQuorError& error) {
        error.Report();
        EndDialog(IDCANCEL);
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        EndDialog(IDCANCEL);
    }
    return false;  // the focus is set
}

bool ConfirmDeleteArticle(HWND owner, CQuorvaneDoc& document, int32_t id)
{
    CDeleteArticlesDlg dialog(document, owner);
    dialog.m_ids.Add(id);
    return dialog.DoModal() == IDOK;
}

// ---- Duplicate Articles ----

CDuplicateArticlesDlg::CDuplicateArticlesDlg(CQuorvaneDoc& document, HWND parent)
    : CDialog(IDD_DUPLICATE_ARTICLES, parent), m_document(document)
{
}

bool CDuplicateArticlesDlg::OnInitDialog()
{
    m_initialising = true;
    CDialog::OnInitDialog();
    m_marked.RemoveAll();
    if (!m_tree.SubclassDlgItem(IDC_DUPLICATE_TREE, m_hWnd) || !m_tree.ApplyImageList() ||
        !m_preview.CreatePane(m_hWnd, IDC_DUPLICATE_PREVIEW)) {
        m_initialising = false;
        EndDialog(IDCANCEL);
        return true;
    }
    // The preview takes the place and the tab position of its placeholder in the template.
    if (HWND place = ::GetDlgItem(m_hWnd, IDC_DUPLICATE_PREVIEW_PLACE)) {
        RECT rect;
        ::GetWindowRect(place, &rect);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        ::SetWindowPos(m_preview.m_hWnd, place, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                       SWP_NOACTIVATE);
        ::DestroyWindow(place);
    }
    m_preview.SetDocument(&m_document);
    m_preview.SetBackground(::GetSysColor(COLOR_BTNFACE));
    Fill();
    m_initialising = false;
    return true;
}

bool CDuplicateArticlesDlg::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom == IDC_DUPLICATE_TREE && header->code == TVN_SELCHANGEDA && !m_initialising) {
        const auto* change = reinterpret_cast<const NMTREEVIEWA*>(header);
        int32_t id = ArticleOf(change->itemNew.hItem);
        if (id != kNoneId)
            m_preview.ShowArticle(id, false);
        return false;
    }
    return false;
}

void CDuplicateArticlesDlg::Fill()
{
    HCURSOR old = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    HTREEITEM root = nullptr;
    for (int32_t id : m_runs) {
        if (id < 0) {
            if (root)
                m_tree.Expand(root, TVE_EXPAND);
            root = nullptr;
            continue;
        }
        try {
            CArticleRecord record;
            m_document.LoadArticle(id, record);
            if (!root) {
                root = m_tree.InsertItem(record.GetTitle(), TVI_ROOT, TVI_LAST, CCheckTreeCtrl::kBranchOpen);
                if (!root)
                    continue;
            }
            CDate date;
            date.SetValue(record.GetDateOf(CArticleRecord::kOwnDate));
            CKeywordIdSet keywords;
            record.GetKeywordIds(keywords);
            std::string names;
            for (int32_t keyword : keywords.Values()) {
                if (!names.empty())
                    names += ", ";
                names += m_document.GetKeywordName(keyword);
            }
            HTREEITEM child = m_tree.InsertItem(date.Format(false) + " - " + names, root, TVI_LAST, CCheckTreeCtrl::kUnchecked);
            if (child) {
                m_tree.SetItemCheck(child, false);
                m_articles[child] = id;
            }
        } catch (const CQuorError&) {
            // An entry that cannot be read is left out.
        }
    }
    if (root)
        m_tree.Expand(root, TVE_EXPAND);
    if (HTREEITEM first = m_tree.GetRootItem())
        m_tree.SendMessage(TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(first));
    SetCursor(old);
}

int32_t CDuplicateArticlesDlg::ArticleOf(HTREEITEM item) const
{
    auto found = m_articles.find(item);
    return found == m_articles.end() ? kNoneId : found->second;
}

void CDuplicateArticlesDlg::OnOK()
{
    m_marked.RemoveAll();
    for (const auto& entry : m_articles)
        if (m_tree.GetCheck(entry.first))
            m_marked.Add(entry.second);
    EndDialog(IDOK);
}

bool CDuplicateArticlesDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == 9) {
        // Help: the dialog's topic through the application's help, when it has one.
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

// ---- The calendar under the date box ----

bool ChooseDateFromCalendar(HWND owner, int top, int right, int32_t& date)
{
    CCalendarDlg dialog(owner);
    CDate start;
    if (!start.SetValue(date))
        start.SetToday();
    dialog.SetDate(start);
    dialog.SetPosition(top, right);
    if (dialog.DoModal() != IDOK)
        return false;
    date = dialog.GetDate().GetValue();
    return true;
}

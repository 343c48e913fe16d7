#include "article/ui/shared_keywords_dlg.h"

#include <new>

#include "article/ui/article_view.h"
#include "article/ui/shared_keywords_dlg_res.h"
#include "framework/string_table.h"
#include "resources/keyword_commands_res.h"
#include "storage/quor_error.h"

// ---- Save Shared Keywords ----

CSaveSharedKeywordsDlg::CSaveSharedKeywordsDlg(HWND parent) : CSavePromptDlg(IDD_SAVE_SHARED_KEYWORDS, parent) {}

// ---- Shared Keywords for Highlighted Articles ----

CSharedKeywordsDlg::CSharedKeywordsDlg(CQuorvaneDoc& document, HWND parent) : CArticleKeywordsDlg(document, parent) {}

bool CSharedKeywordsDlg::OnInitDialog()
{
    bool result = CArticleKeywordsDlg::OnInitDialog();
    try {
        SetWindowText(QuorLoadString(IDS_SHARED_KEYWORDS_CAPTION));
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        EndDialog(IDCANCEL);
    }
    return result;
}

void CSharedKeywordsDlg::Finish()
{
    AddTypedKeyword();
    AssignedList().GetIds(m_assigned);
    if (!IsChanged() || CArticleView::IsSavingWithoutWarnings()) {
        SaveRect();
        EndDialog(IDOK);
        return;
    }
    bool noWarnings = false;
    int answer;
    if (m_askSave) {
        answer = m_askSave(m_hWnd, noWarnings);
    } else {
        CSaveSharedKeywordsDlg question(m_hWnd);
        answer = static_cast<int>(question.DoModal());
        noWarnings = question.m_noWarnings;
    }
    if (answer == IDYES) {
        if (noWarnings)
            CArticleView::SetSavingWithoutWarnings(true);
        SaveRect();
        EndDialog(IDOK);
    } else if (answer == IDNO) {
        SaveRect();
        EndDialog(IDCANCEL);
    }
    // Cancel: the dialog stays open.
}

bool RunSharedKeywordsDialog(CQuorvaneDoc& document, HWND owner, const CKeywordIdSet& shared, CKeywordIdSet& result)
{
    CSharedKeywordsDlg dialog(document, owner);
    dialog.m_assigned.Copy(shared);
    if (dialog.DoModal() != IDOK || !dialog.IsChanged())
        return false;
    result.Copy(dialog.m_assigned);
    return true;
}

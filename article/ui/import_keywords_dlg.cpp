#include "article/ui/import_keywords_dlg.h"

#include "framework/string_table.h"

namespace {
constexpr int kImportKeywordsCaption = 8300;
}

bool CImportKeywordsDlg::OnInitDialog()
{
    bool result = CArticleKeywordsDlg::OnInitDialog();
    if (IsWindow())
        SetWindowText(QuorLoadString(kImportKeywordsCaption));
    return result;
}

// An empty list has no step to run: Enter there closes the dialog as OK does, so the focus goes to
// OK before the base dialog decides.
void CImportKeywordsDlg::OnOK()
{
    HWND focus = ::GetFocus();
    if ((focus == AvailableList().m_hWnd && AvailableList().GetCount() == 0) ||
        (focus == AssignedList().m_hWnd && AssignedList().GetCount() == 0))
        ::SetFocus(::GetDlgItem(m_hWnd, IDOK));
    CArticleKeywordsDlg::OnOK();
}

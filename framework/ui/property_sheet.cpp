#include "framework/ui/property_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>

bool CPropertyPage::OnSetActive()
{
    if (m_sheet && m_sheet->IsWizard()) {
        int index = m_sheet->GetPageIndex(this);
        DWORD buttons = 0;
        if (index > 0)
            buttons |= PSWIZB_BACK;
        buttons |= index + 1 < m_sheet->GetPageCount() ? PSWIZB_NEXT : PSWIZB_FINISH;
        ::SendMessageA(::GetParent(m_hWnd), PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons));
    }
    return true;
}

bool CPropertyPage::OnKillActive()
{
    return UpdateData(true);
}

bool CPropertyPage::OnWizardFinish()
{
    return UpdateData(true);
}

bool CPropertyPage::OnNotify(NMHDR* header, LRESULT& result)
{
    // Notifications from the sheet come with the sheet as sender; a control's go to the base.
    if (header->hwndFrom != ::GetParent(m_hWnd))
        return CDialog::OnNotify(header, result);
    switch (header->code) {
    case PSN_SETACTIVE:
        if (m_sheet)
            m_sheet->m_hWnd = header->hwndFrom;
        result = OnSetActive() ? 0 : -1;  // -1 refuses the page
        return true;
    case PSN_KILLACTIVE:
        result = OnKillActive() ? FALSE : TRUE;  // TRUE keeps the page
        return true;
    case PSN_APPLY:
        OnOK();
        if (m_sheet)
            m_sheet->m_accepted = true;
        result = PSNRET_NOERROR;
        return true;
    case PSN_RESET:
        OnCancel();
        return true;
    case PSN_WIZBACK:
        result = OnWizardBack();
        return true;
    case PSN_WIZNEXT:
        result = OnWizardNext();
        return true;
    case PSN_WIZFINISH: {
        bool finish = OnWizardFinish();
        if (finish && m_sheet)
            m_sheet->m_accepted = true;
        result = finish ? FALSE : TRUE;  // nonzero keeps the wizard open
        return true;
    }
    default:
        return false;
    }
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CPropertyPage*>(FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        // A page's WM_INITDIALOG carries its PROPSHEETPAGE, whose lParam is our pointer.
        self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
        self->Bind(hwnd);
    }
    return self ? HandleMessage(self, hwnd, msg, wParam, lParam) : FALSE;
}

void CPropertySheet::AddPage(CPropertyPage* page)
{
    page->m_sheet = this;
    m_pages.push_back(page);
}

int CPropertySheet::GetPageIndex(const CPropertyPage* page) const
{
    auto found = std::find(m_pages.begin(), m_pages.end(), page);
    return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

INT_PTR CPropertySheet::DoModal()
{
    std::vector<PROPSHEETPAGEA> pages(m_pages.size());
    for (size_t i = 0; i < m_pages.size(); ++i) {
        PROPSHEETPAGEA& page = pages[i];
        page.dwSize = sizeof page;
        page.dwFlags = PSP_DEFAULT;
        page.hInstance = GetModuleHandleA(nullptr);
        page.pszTemplate = MAKEINTRESOURCEA(m_pages[i]->GetTemplateId());
        page.pfnDlgProc = CPropertyPage::PageProc;
        page.lParam = reinterpret_cast<LPARAM>(m_pages[i]);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | (m_wizard ? PSH_WIZARD : 0);
    header.hwndParent = m_parent;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = static_cast<UINT>(m_startPage);
    header.ppsp = pages.data();
    m_accepted = false;
    // PropertySheet answers -1 on failure; otherwise whether the user accepted is what the pages
    // heard (PSN_APPLY or a completed PSN_WIZFINISH).
    INT_PTR shown = PropertySheetA(&header);
    m_hWnd = nullptr;
    if (shown < 0)
        return -1;
    return m_accepted ? IDOK : IDCANCEL;
}

#include "framework/ui/property_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <algorithm>

// The sheet's own window (the system's), subclassed while the sheet runs for the requests that reach
// it rather than a page: WM_HELP and the Help button's command.
class CPropertySheet::CSheetWindow : public CSubclassedWnd {
public:
    explicit CSheetWindow(CPropertySheet& sheet) : m_sheet(sheet) {}

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg != WM_HELP)
            return false;
        result = m_sheet.OnHelpInfo(reinterpret_cast<HELPINFO*>(lParam)) ? TRUE : FALSE;
        return true;
    }
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (id != CPropertySheet::kHelpCommand)
            return false;
        m_sheet.OnHelpCommand();
        return true;
    }

private:
    CPropertySheet& m_sheet;
};

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
            m_sheet->AttachWindow(header->hwndFrom);
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
    case PSN_HELP:
        // The system's Help button tells the page shown; the sheet answers it.
        if (m_sheet)
            m_sheet->OnHelpCommand();
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

CPropertySheet::CPropertySheet(const std::string& caption, HWND parent) : m_caption(caption), m_parent(parent) {}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::AttachWindow(HWND sheet)
{
    if (m_hWnd == sheet)
        return;
    m_hWnd = sheet;
    m_window = std::make_unique<CSheetWindow>(*this);
    m_window->Subclass(sheet);
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return -1;
    // PSM_GETCURRENTPAGEHWND answers the page's window; the tab control's selection is its index.
    HWND tabs = reinterpret_cast<HWND>(::SendMessageA(m_hWnd, PSM_GETTABCONTROL, 0, 0));
    return tabs ? static_cast<int>(::SendMessageA(tabs, TCM_GETCURSEL, 0, 0)) : -1;
}

bool CPropertySheet::OnHelpInfo(HELPINFO* info)
{
    if (info->iContextType == HELPINFO_WINDOW && ::GetParent(static_cast<HWND>(info->hItemHandle)) == m_hWnd)
        OnHelpCommand();
    return true;
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
        page.dwFlags = PSP_DEFAULT | (m_helpButton ? PSP_HASHELP : 0);
        page.hInstance = GetModuleHandleA(nullptr);
        page.pszTemplate = MAKEINTRESOURCEA(m_pages[i]->GetTemplateId());
        page.pfnDlgProc = CPropertyPage::PageProc;
        page.lParam = reinterpret_cast<LPARAM>(m_pages[i]);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_NOCONTEXTHELP | (m_wizard ? PSH_WIZARD : 0) |
                     (m_helpButton ? PSH_HASHELP : 0);
    header.hwndParent = m_parent;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = m_startPage >= 0 && m_startPage < GetPageCount() ? static_cast<UINT>(m_startPage) : 0;
    header.ppsp = pages.data();
    m_accepted = false;
    // PropertySheet answers -1 on failure; otherwise whether the user accepted is what the pages
    // heard (PSN_APPLY or a completed PSN_WIZFINISH).
    INT_PTR shown = PropertySheetA(&header);
    m_hWnd = nullptr;
    m_window.reset();
    if (shown < 0)
        return -1;
    return m_accepted ? IDOK : IDCANCEL;
}

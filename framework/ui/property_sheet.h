// Property sheets and wizards on the system's PropertySheet, run modally. A sheet has no Apply
// button. Leaving a page asks its OnKillActive (by default: read the controls back, which fails on
// a bad value and keeps the page); OK calls OnOK of every page that was ever shown (the system
// created only those); a wizard's Back and Next may name the page to go to. A sheet may show a Help
// button: the button and F1 on the sheet's own buttons reach the sheet's help handlers, F1 on a
// page's control reaches the page's OnHelp first.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/dialog.h"
#include "framework/ui/subclassed_wnd.h"

class CPropertySheet;

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(int templateId) : CDialog(templateId) {}

    CPropertySheet* GetSheet() const { return m_sheet; }

protected:
    // PSN_SETACTIVE: false refuses the page. Default: in a wizard, Back/Next/Finish by the page's
    // place; true.
    virtual bool OnSetActive();
    // PSN_KILLACTIVE: false keeps the user on this page. Default: UpdateData(true).
    virtual bool OnKillActive();
    // PSN_APPLY, on OK: the fields were read when the page was left. Default: nothing.
    void OnOK() override {}
    // PSN_RESET, on Cancel. Default: nothing.
    void OnCancel() override {}
    // PSN_WIZBACK and PSN_WIZNEXT: 0 moves to the neighbouring page, -1 stays, a page's template id
    // goes to that page.
    virtual int OnWizardBack() { return 0; }
    virtual int OnWizardNext() { return 0; }
    // PSN_WIZFINISH: false keeps the wizard open. Default: UpdateData(true).
    virtual bool OnWizardFinish();

    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    CPropertySheet* m_sheet = nullptr;
};

class CPropertySheet {
public:
    // The command id of the sheet's Help button as the program names it.
    static constexpr UINT kHelpCommand = 57670;

    CPropertySheet(const std::string& caption, HWND parent = nullptr);
    virtual ~CPropertySheet();
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    // The page stays the caller's; it must live as long as the sheet runs.
    void AddPage(CPropertyPage* page);
    void SetWizardMode() { m_wizard = true; }
    // The page shown first; an index that names no page shows the first.
    void SetActivePage(int index) { m_startPage = index; }
    // Shows the Help button (before DoModal).
    void EnableHelpButton() { m_helpButton = true; }

    // Runs the sheet; IDOK after OK (or Finish), IDCANCEL otherwise, -1 when it could not be shown.
    INT_PTR DoModal();

    bool IsWizard() const { return m_wizard; }
    int GetPageCount() const { return static_cast<int>(m_pages.size()); }
    int GetPageIndex(const CPropertyPage* page) const;
    // The sheet's window while it runs.
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The page the sheet shows now, or -1.
    int GetActiveIndex() const;

protected:
    // The Help button (command kHelpCommand). Default: nothing.
    virtual void OnHelpCommand() {}
    // WM_HELP that reached the sheet's own window: F1 on its buttons or tabs, or a page that left the
    // request unhandled. Default: the Help button's action for the sheet's buttons, true.
    virtual bool OnHelpInfo(HELPINFO* info);

private:
    friend class CPropertyPage;
    class CSheetWindow;

    // The first page notification gives the sheet its window, which is then subclassed.
    void AttachWindow(HWND sheet);

    std::string m_caption;
    HWND m_parent;
    HWND m_hWnd = nullptr;
    std::vector<CPropertyPage*> m_pages;
    bool m_wizard = false;
    int m_startPage = 0;
    bool m_accepted = false;
    bool m_helpButton = false;
    std::unique_ptr<CSheetWindow> m_window;
};

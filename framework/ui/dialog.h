// The base of dialogs (and, through CPropertyPage, of property pages). A dialog is data in, data
// out: the caller sets public fields, runs DoModal (or Create for a modeless dialog) and reads the
// fields after IDOK. OnInitDialog fills the controls from the fields through DoDataExchange;
// OnOK reads them back and ends the dialog only when every check passed.
#pragma once
#include "framework/ui/data_exchange.h"
#include "framework/ui/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(int templateId, HWND parent = nullptr) : m_templateId(templateId), m_parent(parent) {}
    // A modeless dialog whose window still exists is destroyed (after unbinding).
    ~CDialog() override;

    // Runs the dialog modally; returns the value given to EndDialog, or -1 when it could not be
    // created.
    INT_PTR DoModal();
    // Creates the modeless dialog from template `templateId` (0: the constructor's).
    bool Create(HWND parent = nullptr, int templateId = 0);
    // Ends a modal dialog with `result`; destroys a modeless one.
    void EndDialog(int result);

    // Moves data between the fields and the controls; false when a check failed (the user was
    // told, the focus is on the control).
    bool UpdateData(bool save = true);

    bool PreTranslateMessage(MSG* msg) override;

    int GetTemplateId() const { return m_templateId; }

protected:
    // Default: fills the controls (UpdateData(false)); returns true to let the system set the focus.
    virtual bool OnInitDialog();
    // Default: UpdateData(true), then EndDialog(IDOK) when it succeeded.
    virtual void OnOK();
    // Default: EndDialog(IDCANCEL).
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx) {}
    // WM_HELP (F1, or the caption's question mark on a control): true when help was shown. Default:
    // false, and the dialog manager passes the request on to the owner.
    virtual bool OnHelp(HELPINFO* info) { return false; }
    // For questions whose safe answer is No (IDCANCEL): No becomes the default button and takes the
    // focus, so Enter answers No too. OnInitDialog then returns false.
    void MakeNoTheDefault();

    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    // Unused: the dialog manager calls the default procedure when the dialog procedure returns FALSE.
    LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) override { return 0; }

    // The dialog procedure's body once `self` is bound: decodes the message, writes DWLP_MSGRESULT
    // or returns the result directly where the message wants it, unbinds on WM_NCDESTROY.
    static INT_PTR HandleMessage(CDialog* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    void BindDialog(HWND hwnd) { Bind(hwnd); }

    int m_templateId;
    HWND m_parent;
    bool m_modal = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// The rectangle (x, y, width, height) in `dialog`'s dialog units, in pixels: where a dialog places a
// control it creates itself.
RECT DialogUnitsRect(HWND dialog, int x, int y, int width, int height);
// Where `child` lies in `parent`'s client coordinates.
RECT ChildRectInParent(HWND parent, HWND child);

// Check boxes and radio buttons of `dialog` by id: whether one is checked, checking it, and enabling
// any control.
inline bool IsDlgButtonOn(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
inline void SetDlgButton(HWND dialog, int id, bool on) { ::CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED); }
inline void EnableDlgItem(HWND dialog, int id, bool on) { ::EnableWindow(::GetDlgItem(dialog, id), on ? TRUE : FALSE); }

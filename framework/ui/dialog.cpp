#include "framework/ui/dialog.h"

#include "framework/callback_exceptions.h"
#include "framework/ui/app.h"

CDialog::~CDialog()
{
    if (HWND hwnd = m_hWnd) {
        Unbind();
        if (!m_modal)
            ::DestroyWindow(hwnd);
    }
}

INT_PTR CDialog::DoModal()
{
    m_modal = true;
    // Without a parent the main window owns the dialog, so it is disabled while the dialog runs.
    HWND owner = m_parent;
    if (!owner) {
        CWinApp* app = CWinApp::Current();
        CWnd* main = app ? app->GetMainWnd() : nullptr;
        owner = main && main->IsWindow() ? main->m_hWnd : nullptr;
    }
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), owner, DialogProc,
                           reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND parent, int templateId)
{
    m_modal = false;
    if (templateId)
        m_templateId = templateId;
    if (parent)
        m_parent = parent;
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), m_parent, DialogProc,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(int result)
{
    if (m_modal)
        ::EndDialog(m_hWnd, result);
    else
        DestroyWindow();
}

bool CDialog::UpdateData(bool save)
{
    CDataExchange dx(m_hWnd, save);
    DoDataExchange(dx);
    return !dx.Failed();
}

bool CDialog::PreTranslateMessage(MSG* msg)
{
    // A modal dialog's own loop does this; a modeless one needs the program's loop to do it.
    return !m_modal && m_hWnd && IsDialogMessageA(m_hWnd, msg);
}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::MakeNoTheDefault()
{
    HWND no = ::GetDlgItem(m_hWnd, IDCANCEL);
    ::SendMessageA(m_hWnd, DM_SETDEFID, IDCANCEL, 0);
    ::SendMessageA(::GetDlgItem(m_hWnd, IDOK), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    ::SendMessageA(no, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    ::SetFocus(no);
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    // Enter and Esc arrive as IDOK and IDCANCEL with code 0 (BN_CLICKED), like the buttons.
    if (code != BN_CLICKED)
        return false;
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

INT_PTR CDialog::HandleMessage(CDialog* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    INT_PTR answer = FALSE;
    try {
        LRESULT result = 0;
        if (msg == WM_INITDIALOG) {
            // TRUE: the system puts the focus on the first tab stop.
            answer = self->OnInitDialog() ? TRUE : FALSE;
        } else if (msg == WM_HELP) {
            answer = self->OnHelp(reinterpret_cast<HELPINFO*>(lParam)) ? TRUE : FALSE;
        } else if (self->Dispatch(msg, wParam, lParam, result)) {
            switch (msg) {
            // These messages take the dialog procedure's return value as their result.
            case WM_CTLCOLORMSGBOX:
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORLISTBOX:
            case WM_CTLCOLORBTN:
            case WM_CTLCOLORDLG:
            case WM_CTLCOLORSCROLLBAR:
            case WM_CTLCOLORSTATIC:
            case WM_COMPAREITEM:
            case WM_VKEYTOITEM:
            case WM_CHARTOITEM:
            case WM_QUERYDRAGICON:
                answer = static_cast<INT_PTR>(result);
                break;
            default:
                // Everything else: TRUE says "handled" and the result goes in DWLP_MSGRESULT.
                SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
                answer = TRUE;
                break;
            }
        }
    } catch (...) {
        ReportCallbackException("dialog procedure");
    }
    if (msg == WM_NCDESTROY)
        self->EndOfWindow();
    return answer;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CDialog*>(FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        // CreateDialogParam and DialogBoxParam pass our pointer as WM_INITDIALOG's lParam.
        self = reinterpret_cast<CDialog*>(lParam);
        self->Bind(hwnd);
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, WM_MEASUREITEM of owner-drawn controls) and after
    // WM_NCDESTROY go to the dialog manager's default.
    return self ? HandleMessage(self, hwnd, msg, wParam, lParam) : FALSE;
}

RECT DialogUnitsRect(HWND dialog, int x, int y, int width, int height)
{
    RECT rect = {x, y, x + width, y + height};
    ::MapDialogRect(dialog, &rect);
    return rect;
}

RECT ChildRectInParent(HWND parent, HWND child)
{
    RECT rect;
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

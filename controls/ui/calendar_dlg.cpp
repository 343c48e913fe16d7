#include "controls/ui/calendar_dlg.h"

#include "controls/popup_layout.h"
#include "resources/calendar_dlg_res.h"

namespace {

SIZE SizeOf(HWND hwnd)
{
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// The work area of the monitor nearest the anchor.
PopupRect WorkAreaAt(POINT point)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
        return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
    return {0, 0, GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN)};
}

}  // namespace

CCalendarDlg::CCalendarDlg(HWND parent) : CDialog(IDD_CALENDAR, parent) {}

bool CCalendarDlg::OnInitDialog()
{
    m_calendar = CMonthCalCtrlHandle(::GetDlgItem(m_hWnd, IDC_CALENDAR_MONTH));
    m_ok = CButtonHandle(::GetDlgItem(m_hWnd, IDOK));
    m_cancel = CButtonHandle(::GetDlgItem(m_hWnd, IDCANCEL));

    RECT minimum = {};
    if (!m_calendar.GetMinReqRect(minimum))
        minimum = m_calendar.GetClientRect();
    int width = minimum.right - minimum.left;
    int height = minimum.bottom - minimum.top;
    SIZE ok = SizeOf(m_ok);
    SIZE cancel = SizeOf(m_cancel);
    CalendarLayout layout = LayOutCalendar(width, height, ok.cx, ok.cy, cancel.cx, m_anchorRight, m_anchorTop,
                                           WorkAreaAt({m_anchorRight, m_anchorTop}));
    SetWindowPos(m_hWnd, nullptr, layout.window.left, layout.window.top, layout.window.Width(),
                 layout.window.Height(), SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_calendar.MoveWindow(layout.calendarLeft, layout.calendarTop, width, height);
    m_ok.MoveWindow(layout.okLeft, layout.buttonTop, ok.cx, ok.cy);
    m_cancel.MoveWindow(layout.cancelLeft, layout.buttonTop, cancel.cx, cancel.cy);

    QuorLocalTime date;
    m_date.GetSystemTime(date);
    SYSTEMTIME selection = {};
    selection.wYear = static_cast<WORD>(date.year);
    selection.wMonth = static_cast<WORD>(date.month);
    selection.wDay = static_cast<WORD>(date.day);
    if (!IsValidDateValue(m_date.GetValue()) || !m_calendar.SetCurSel(selection)) {
        // A date the calendar cannot show (a no-date marker): it opens on today.
        CDate today;
        today.GetSystemTime(date);
        selection.wYear = static_cast<WORD>(date.year);
        selection.wMonth = static_cast<WORD>(date.month);
        selection.wDay = static_cast<WORD>(date.day);
        m_calendar.SetCurSel(selection);
    }
    return CDialog::OnInitDialog();
}

void CCalendarDlg::OnOK()
{
    SYSTEMTIME selection = {};
    if (m_calendar.GetCurSel(selection))
        m_date.SetDate(selection.wMonth, selection.wDay, selection.wYear);
    EndDialog(IDOK);
}

bool CCalendarDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_PAINT)
        return false;
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    RECT client = GetClientRect();
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    EndPaint(m_hWnd, &paint);
    result = 0;
    return true;
}

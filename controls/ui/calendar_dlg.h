// The calendar drop-down of date fields: a borderless modal dialog around a month calendar with OK
// and Cancel. The caller gives the date to open on and the corner to hang it from (the top edge and
// the right edge, in screen coordinates: usually the date field's bottom and right), runs DoModal
// and on IDOK reads the chosen date. Near a screen edge the dialog moves into the work area.
#pragma once
#include "storage/date.h"
#include "framework/ui/controls.h"
#include "framework/ui/date_time_ctrl.h"
#include "framework/ui/dialog.h"

class CCalendarDlg : public CDialog {
public:
    explicit CCalendarDlg(HWND parent = nullptr);

    void SetDate(const CDate& date) { m_date = date; }
    // The anchor: the dialog's top edge at `top` and its right edge at `right`.
    void SetPosition(int top, int right)
    {
        m_anchorTop = top;
        m_anchorRight = right;
    }
    // The date opened on, or after IDOK the date chosen.
    const CDate& GetDate() const { return m_date; }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CMonthCalCtrlHandle m_calendar;
    CButtonHandle m_ok;
    CButtonHandle m_cancel;
    CDate m_date;
    int m_anchorRight = 0;
    int m_anchorTop = 0;
};

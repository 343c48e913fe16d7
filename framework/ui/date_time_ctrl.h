// Date-time picker and month-calendar messages as methods. The Handle forms only borrow the control;
// CDateTimeCtrl and CMonthCalCtrl also subclass it, for controls with behaviour of their own.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include "framework/ui/subclassed_wnd.h"
#include "framework/ui/wnd_handle.h"

template <class Base>
class CDateTimeCtrlT : public Base {
public:
    using Base::Base;

    // GDT_VALID with the time, GDT_NONE when a DTS_SHOWNONE picker is unchecked, GDT_ERROR on failure.
    DWORD GetTime(SYSTEMTIME& time) const
    {
        return static_cast<DWORD>(this->SendMessage(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)));
    }
    bool SetTime(const SYSTEMTIME& time) const
    {
        return this->SendMessage(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time)) != 0;
    }
    // MCSC_TITLETEXT, MCSC_BACKGROUND... of the drop-down calendar; answers the previous colour, or
    // (COLORREF)-1 on failure.
    COLORREF SetMonthCalColor(int part, COLORREF colour) const
    {
        return static_cast<COLORREF>(this->SendMessage(DTM_SETMCCOLOR, static_cast<WPARAM>(part), colour));
    }
};

template <class Base>
class CMonthCalCtrlT : public Base {
public:
    using Base::Base;

    // The smallest rectangle that shows one whole month (left and top are 0); false on failure.
    bool GetMinReqRect(RECT& rect) const { return this->SendMessage(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&rect)) != 0; }
    // Only the year, month and day count; false when the date lies outside the control's range.
    bool SetCurSel(const SYSTEMTIME& date) const { return this->SendMessage(MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&date)) != 0; }
    bool GetCurSel(SYSTEMTIME& date) const { return this->SendMessage(MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&date)) != 0; }
};

using CDateTimeCtrlHandle = CDateTimeCtrlT<CWndHandle>;
using CDateTimeCtrl = CDateTimeCtrlT<CSubclassedWnd>;
using CMonthCalCtrlHandle = CMonthCalCtrlT<CWndHandle>;
using CMonthCalCtrl = CMonthCalCtrlT<CSubclassedWnd>;

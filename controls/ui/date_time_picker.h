// A time-of-day field: a date-time picker in time format (DTS_TIMEFORMAT, with its up-down control)
// that reads and writes seconds since midnight. Subclass the picker of a dialog template, or Create
// one.
#pragma once
#include "framework/ui/date_time_ctrl.h"

class CDateTimePicker : public CDateTimeCtrl {
public:
    CDateTimePicker() = default;

    // Creates the picker as child `id` of `parent` over `rect` and subclasses it; false on failure.
    bool Create(HWND parent, const RECT& rect, int id, DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP);

    // Shows `seconds` (0 to 86399; others are clamped into it) as a time of day.
    void SetSecondsOfDay(int seconds);
    // The time shown, as seconds since midnight; 0 when the picker holds none.
    int GetSecondsOfDay() const;
    void SetCalendarTitleTextColor(COLORREF colour) const { SetMonthCalColor(MCSC_TITLETEXT, colour); }
};

#include "controls/ui/date_time_picker.h"

#include <algorithm>

#include "storage/date.h"

bool CDateTimePicker::Create(HWND parent, const RECT& rect, int id, DWORD style)
{
    return CreateControl(DATETIMEPICK_CLASSA, 0, style | DTS_TIMEFORMAT, rect, parent, id);
}

void CDateTimePicker::SetSecondsOfDay(int seconds)
{
    seconds = std::clamp(seconds, 0, 86399);
    // A time of day without a date of its own: the day the system's date counting starts.
    SYSTEMTIME time = {};
    time.wYear = 1899;
    time.wMonth = 12;
    time.wDay = 30;
    time.wHour = static_cast<WORD>(GetHour(seconds));
    time.wMinute = static_cast<WORD>(GetMinute(seconds));
    time.wSecond = static_cast<WORD>(seconds % 60);
    SetTime(time);
    UpdateWindow();
}

int CDateTimePicker::GetSecondsOfDay() const
{
    SYSTEMTIME time = {};
    if (GetTime(time) != GDT_VALID)
        return 0;
    return time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
}

#include "framework/clock.h"

#include <windows.h>

namespace {

class CWin32Clock : public IClock {
public:
    QuorLocalTime Now() const override
    {
        SYSTEMTIME st;
        GetLocalTime(&st);  // never fails
        QuorLocalTime t;
        t.year = st.wYear;
        t.month = st.wMonth;
        t.dayOfWeek = st.wDayOfWeek;
        t.day = st.wDay;
        t.hour = st.wHour;
        t.minute = st.wMinute;
        t.second = st.wSecond;
        t.milliseconds = st.wMilliseconds;
        return t;
    }
    std::uint32_t TickCount() const override { return GetTickCount(); }
};

}  // namespace

const IClock& GetPlatformClock()
{
    static const CWin32Clock clock;
    return clock;
}

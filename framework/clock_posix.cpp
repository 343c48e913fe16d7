#include "framework/clock.h"

#include <chrono>
#include <ctime>

namespace {

class CPosixClock : public IClock {
public:
    QuorLocalTime Now() const override
    {
        auto now = std::chrono::system_clock::now();
        std::time_t seconds = std::chrono::system_clock::to_time_t(now);
        std::tm tm{};
        localtime_r(&seconds, &tm);
        QuorLocalTime t;
        t.year = tm.tm_year + 1900;
        t.month = tm.tm_mon + 1;
        t.dayOfWeek = tm.tm_wday;
        t.day = tm.tm_mday;
        t.hour = tm.tm_hour;
        t.minute = tm.tm_min;
        t.second = tm.tm_sec < 60 ? tm.tm_sec : 59;  // a leap second reads as :59
        t.milliseconds = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
        return t;
    }
    std::uint32_t TickCount() const override
    {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
};

}  // namespace

const IClock& GetPlatformClock()
{
    static const CPosixClock clock;
    return clock;
}

#include "framework/clock.h"

// The platform clock is defined in clock_win.cpp or clock_posix.cpp.
const IClock& GetPlatformClock();

namespace {
const IClock* g_clock = nullptr;
}

const IClock& GetClock()
{
    return g_clock ? *g_clock : GetPlatformClock();
}

const IClock* SetClock(const IClock* clock)
{
    const IClock* previous = g_clock;
    g_clock = clock;
    return previous;
}

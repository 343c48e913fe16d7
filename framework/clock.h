// The clock seam: today's local date, the local time of day and a millisecond tick count. Portable
// code reads the time only through here, so tests can pin it; nothing in a test waits for real time.
#pragma once
#include <cstdint>

// A local date and time, with the fields and ranges of the Win32 SYSTEMTIME.
struct QuorLocalTime {
    int year = 1970;
    int month = 1;         // 1 to 12
    int dayOfWeek = 4;     // 0 = Sunday to 6 = Saturday
    int day = 1;           // 1 to 31
    int hour = 0;          // 0 to 23
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
};

class IClock {
public:
    virtual ~IClock() = default;
    virtual QuorLocalTime Now() const = 0;
    // Milliseconds since an arbitrary start (GetTickCount on Windows); wraps at 2^32.
    virtual std::uint32_t TickCount() const = 0;
};

// The clock in use: the platform's, unless a test installed its own.
const IClock& GetClock();
// Installs `clock` (nullptr restores the platform clock) and returns the previous one (nullptr when it
// was the platform clock). The caller keeps ownership.
const IClock* SetClock(const IClock* clock);

inline QuorLocalTime QuorNow() { return GetClock().Now(); }

// Pinned clock and locale for tests: installed for the lifetime of the object, restored after.
#pragma once
#include <string>

#include "framework/clock.h"
#include "framework/locale_info.h"
#include "storage/date.h"

class CPinnedClock : public IClock {
public:
    explicit CPinnedClock(QuorLocalTime now) : m_now(now) { m_previous = SetClock(this); }
    ~CPinnedClock() override { SetClock(m_previous); }
    QuorLocalTime Now() const override { return m_now; }
    std::uint32_t TickCount() const override { return 12345; }
    void Set(QuorLocalTime now) { m_now = now; }

private:
    QuorLocalTime m_now;
    const IClock* m_previous;
};

inline QuorLocalTime MakeLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    QuorLocalTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    return t;
}

// A locale with the given short-date and time pictures and German-style names, so that a test sees
// which table a name came from. Reloads the date pictures when installed and when removed.
class CPinnedLocale : public ILocaleInfo {
public:
    CPinnedLocale(std::string shortDate, std::string time = "HH:mm:ss")
        : m_shortDate(std::move(shortDate)), m_time(std::move(time))
    {
        m_previous = SetLocaleInfo(this);
        LoadLocaleDatePicture();
    }
    ~CPinnedLocale() override
    {
        SetLocaleInfo(m_previous);
        LoadLocaleDatePicture();
    }
    std::string ShortDatePicture() const override { return m_shortDate; }
    std::string TimePicture() const override { return m_time; }
    std::string DayName(int n, bool abbreviated) const override
    {
        static const char* const kFull[] = {"Montag", "Dienstag", "Mittwoch", "Donnerstag",
                                            "Freitag", "Samstag", "Sonntag"};
        if (n < 1 || n > 7) return std::string();
        return abbreviated ? std::string(kFull[n - 1], 2) : kFull[n - 1];
    }
    std::string MonthName(int month, bool abbreviated) const override
    {
        static const char* const kFull[] = {"Januar", "Februar", "Maerz", "April", "Mai", "Juni", "Juli",
                                            "August", "September", "Oktober", "November", "Dezember"};
        if (month < 1 || month > 12) return std::string();
        return abbreviated ? std::string(kFull[month - 1], 3) : kFull[month - 1];
    }
    std::string FormatShortDate(int year, int month, int day) const override
    {
        return std::to_string(day) + ". " + MonthName(month, false) + " " + std::to_string(year);
    }
    std::string FormatTime(int hour, int minute, int second, const std::string& picture,
                           bool noSeconds) const override
    {
        return FormatTimeByPicture(hour, minute, second, picture, noSeconds, "AM", "PM");
    }

private:
    std::string m_shortDate;
    std::string m_time;
    const ILocaleInfo* m_previous;
};

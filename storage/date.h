// Dates and times of day.
//
// A date is one signed 32-bit integer year * 10000 + month * 100 + day (yyyymmdd); a time of day is a
// count of seconds since midnight, 0 to 86399. Two markers pass through CDate unchecked and are never
// valid dates: kNoLowerDate (no lower bound) and kNoUpperDate (no upper bound).
//
// Dates are shown in the user's short-date picture (the display picture) and typed in a numeric
// picture derived from it (the edit picture). Both, and the day and month names, are process-wide
// state rebuilt from the locale seam by LoadLocaleDatePicture. Two-digit years are expanded into the
// 100-year window that ends at the pivot year.
#pragma once
#include <cstdint>
#include <string>

#include "framework/clock.h"

constexpr std::int32_t kNoLowerDate = INT32_MIN;  // 0x80000000
constexpr std::int32_t kNoUpperDate = INT32_MAX;  // 0x7FFFFFFF

class CDate {
public:
    CDate();  // today's local date
    virtual ~CDate() = default;

    void SetToday();
    // Stores a valid date or one of the two markers; returns whether it was a valid date (a marker is
    // stored but reported as not valid). Anything else leaves the old value.
    bool SetValue(std::int32_t value);
    bool SetDate(int month, int day, int year);

    std::int32_t GetValue() const { return m_value; }
    int GetYear() const { return m_value / 10000; }
    int GetMonth() const { return m_value / 100 % 100; }
    int GetDay() const { return m_value % 100; }
    // 0 = Sunday to 6 = Saturday; 0 for a marker.
    int GetDayOfWeek() const;
    // Year, month and day; every other field 0.
    void GetSystemTime(QuorLocalTime& out) const;

    // The date as text by the display picture (display) or the edit picture; empty when memory ran out.
    std::string Format(bool display) const;

private:
    std::int32_t m_value;
};

bool IsValidDate(int month, int day, int year);
bool IsValidDateValue(std::int32_t yyyymmdd);

std::int32_t GetTodayYmd();
int GetCurrentYear();
// Today's year rounded down to a multiple of 100.
int GetCenturyYear();

// Parses typed text by the edit picture: up to three numbers fill the picture's fields in order, the
// fields not typed keep today's values. True and `out` set when the result is a valid date; otherwise
// false and `out` untouched.
bool ParseDateText(const std::string& text, std::int32_t& out);
// Shows "Invalid date..." with the edit picture, for a date field that does not parse.
void ShowInvalidDateMessage();
std::string FormatToday(bool display);

// Rebuilds the pictures and the name tables from the locale seam. Called at start-up and when the
// system reports a change of locale settings; the first use of the pictures calls it when nobody has.
void LoadLocaleDatePicture();
std::string GetDisplayDatePicture();
std::string GetEditDatePicture();
// The numeric edit picture for an upper-cased, trimmed short-date picture.
std::string BuildEditDatePicture(const std::string& displayPicture);

// The last year of the window into which two-digit years fall; until set, the current century + 99.
void SetPivotYear(int year);
int GetPivotYear();
int ExpandTwoDigitYear(int year);

// A sample for sizing date columns: the longest short-date text of 19 to 25 December 2099, then "xx".
std::string GetWidestDateText();

// Times of day.
int GetTimeOfDay();
inline int GetHour(int seconds) { return seconds / 3600; }
inline int GetMinute(int seconds) { return seconds / 60 % 60; }
inline bool IsValidTimeOfDay(std::int32_t seconds) { return seconds >= 0 && seconds <= 86399; }
// The time of day by the locale's time picture (GetTimePicture); empty for a time outside 0 to 86399
// or when memory ran out.
std::string FormatTime(int seconds, bool withSeconds);
std::string FormatTimeNow();
// The locale's time picture, or that picture with its seconds (and the separator before them) removed.
std::string GetTimePicture(bool withSeconds);
std::string RemoveSecondsFromTimePicture(const std::string& picture);

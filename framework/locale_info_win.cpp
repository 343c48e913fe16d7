#include "framework/locale_info.h"

#include <windows.h>

namespace {

// GetLocaleInfoA for the user default locale; empty when the locale has no such value.
std::string UserLocaleString(LCTYPE type)
{
    char text[256];
    int n = ::GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text, sizeof text);  // counts the NUL; 0 = failure
    return n > 0 ? std::string(text, n - 1) : std::string();
}

SYSTEMTIME MakeSystemTime(int year, int month, int day, int hour, int minute, int second)
{
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    return st;
}

class CWin32LocaleInfo : public ILocaleInfo {
public:
    std::string ShortDatePicture() const override { return UserLocaleString(LOCALE_SSHORTDATE); }
    std::string TimePicture() const override { return UserLocaleString(LOCALE_STIMEFORMAT); }
    std::string DayName(int n, bool abbreviated) const override
    {
        if (n < 1 || n > 7) return std::string();
        LCTYPE first = abbreviated ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1;  // consecutive to ...7
        return UserLocaleString(first + (n - 1));
    }
    std::string MonthName(int month, bool abbreviated) const override
    {
        if (month < 1 || month > 12) return std::string();
        LCTYPE first = abbreviated ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;  // ...1 to ...12 consecutive
        return UserLocaleString(first + (month - 1));
    }
    std::string FormatShortDate(int year, int month, int day) const override
    {
        SYSTEMTIME st = MakeSystemTime(year, month, day, 0, 0, 0);
        char text[256];
        int n = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
        return n > 0 ? std::string(text, n - 1) : std::string();
    }
    std::string FormatTime(int hour, int minute, int second, const std::string& picture,
                           bool noSeconds) const override
    {
        SYSTEMTIME st = MakeSystemTime(2000, 1, 1, hour, minute, second);
        char text[256];
        int n = ::GetTimeFormatA(LOCALE_USER_DEFAULT, noSeconds ? TIME_NOSECONDS : 0, &st,
                                 picture.empty() ? nullptr : picture.c_str(), text, sizeof text);
        return n > 0 ? std::string(text, n - 1) : std::string();
    }
};

}  // namespace

const ILocaleInfo& GetPlatformLocaleInfo()
{
    static const CWin32LocaleInfo locale;
    return locale;
}

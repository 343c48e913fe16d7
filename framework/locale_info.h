// The locale seam: what portable code needs of the user's locale settings (the short-date and time
// pictures, day and month names, and the system's own date and time formatting). On Windows it is
// GetLocaleInfoA, GetDateFormatA and GetTimeFormatA for the user default locale; elsewhere a fixed
// English (United States) locale. Tests install their own to pin the pictures.
#pragma once
#include <string>

class ILocaleInfo {
public:
    virtual ~ILocaleInfo() = default;

    // The short-date picture as the locale gives it (LOCALE_SSHORTDATE), e.g. "M/d/yyyy".
    virtual std::string ShortDatePicture() const = 0;
    // The time picture (LOCALE_STIMEFORMAT), e.g. "h:mm:ss tt".
    virtual std::string TimePicture() const = 0;
    // Day names numbered as the locale numbers them: 1 = Monday to 7 = Sunday (LOCALE_SDAYNAMEn,
    // LOCALE_SABBREVDAYNAMEn). Empty when the locale cannot give the name.
    virtual std::string DayName(int n, bool abbreviated) const = 0;
    // Month names for month 1 to 12 (LOCALE_SMONTHNAMEn, LOCALE_SABBREVMONTHNAMEn).
    virtual std::string MonthName(int month, bool abbreviated) const = 0;
    // The date in the locale's own short-date form (GetDateFormatA with DATE_SHORTDATE); empty on failure.
    virtual std::string FormatShortDate(int year, int month, int day) const = 0;
    // The time of day by `picture` (GetTimeFormatA; TIME_NOSECONDS when noSeconds); empty on failure.
    virtual std::string FormatTime(int hour, int minute, int second, const std::string& picture,
                                   bool noSeconds) const = 0;
};

// The locale in use: the platform's, unless a test installed its own.
const ILocaleInfo& GetLocaleInfo();
// Installs `locale` (nullptr restores the platform's) and returns the previous one (nullptr for the
// platform's). The caller keeps ownership.
const ILocaleInfo* SetLocaleInfo(const ILocaleInfo* locale);

// Formats a time of day by a time picture the way GetTimeFormatA reads one: h/hh 12-hour, H/HH
// 24-hour, m/mm, s/ss, t/tt the first letter or the whole of `am`/`pm`, text in single quotes as it
// stands ('' inside quotes is one quote), any other character as it stands. With noSeconds the
// seconds and the separator before them are left out. For locales that have no GetTimeFormatA.
std::string FormatTimeByPicture(int hour, int minute, int second, const std::string& picture,
                                bool noSeconds, const std::string& am, const std::string& pm);

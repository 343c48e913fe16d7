#include "framework/locale_info.h"

#include <cstdio>

namespace {

// English (United States), the locale a fresh Windows installation gives.
class CFixedLocaleInfo : public ILocaleInfo {
public:
    std::string ShortDatePicture() const override { return "M/d/yyyy"; }
    std::string TimePicture() const override { return "h:mm:ss tt"; }
    std::string DayName(int n, bool abbreviated) const override
    {
        static const char* const kFull[] = {"Monday", "Tuesday", "Wednesday", "Thursday",
                                            "Friday", "Saturday", "Sunday"};
        if (n < 1 || n > 7) return std::string();
        std::string name = kFull[n - 1];
        return abbreviated ? name.substr(0, 3) : name;
    }
    std::string MonthName(int month, bool abbreviated) const override
    {
        static const char* const kFull[] = {"January", "February", "March",     "April",
                                            "May",     "June",     "July",      "August",
                                            "September", "October", "November", "December"};
        if (month < 1 || month > 12) return std::string();
        std::string name = kFull[month - 1];
        return abbreviated ? name.substr(0, 3) : name;
    }
    std::string FormatShortDate(int year, int month, int day) const override
    {
        char text[40];
        std::snprintf(text, sizeof text, "%d/%d/%d", month, day, year);
        return text;
    }
    std::string FormatTime(int hour, int minute, int second, const std::string& picture,
                           bool noSeconds) const override
    {
        return FormatTimeByPicture(hour, minute, second, picture, noSeconds, "AM", "PM");
    }
};

}  // namespace

const ILocaleInfo& GetPlatformLocaleInfo()
{
    static const CFixedLocaleInfo locale;
    return locale;
}

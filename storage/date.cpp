#include "storage/date.h"

#include <cctype>
#include <cstdio>
#include <new>

#include "framework/error_sink.h"
#include "framework/locale_info.h"
#include "framework/string_table.h"

namespace {

constexpr int kInvalidDateMessage = 11100;

// The process-wide date state. Day names are indexed 0 = Sunday to 6 = Saturday, month names 1 to 12.
struct DateLocaleState {
    bool loaded = false;
    std::string displayPicture;
    std::string editPicture;
    std::string dayNames[7];
    std::string abbrevDayNames[7];
    std::string monthNames[13];
    std::string abbrevMonthNames[13];
    int pivotYear = 0;  // 0 until set: the default window is used
};

DateLocaleState& State()
{
    static DateLocaleState state;
    return state;
}

DateLocaleState& LoadedState()
{
    DateLocaleState& state = State();
    if (!state.loaded) LoadLocaleDatePicture();
    return state;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const std::string& text)
{
    std::string::size_type first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

std::string UpperCase(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Length of the run of equal characters that starts at `i`.
std::string::size_type RunLength(const std::string& text, std::string::size_type i)
{
    std::string::size_type n = 1;
    while (i + n < text.size() && text[i + n] == text[i]) ++n;
    return n;
}

std::string Number(int value, bool twoDigits)
{
    char text[16];
    std::snprintf(text, sizeof text, twoDigits ? "%02d" : "%d", value);
    return text;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

// ---- validity, today ----------------------------------------------------------------------------

bool IsValidDate(int month, int day, int year)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
    int length = kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
    return day <= length;
}

bool IsValidDateValue(std::int32_t value)
{
    if (value < 0) return false;
    return IsValidDate(value / 100 % 100, value % 100, value / 10000);
}

std::int32_t GetTodayYmd()
{
    QuorLocalTime now = QuorNow();
    return now.year * 10000 + now.month * 100 + now.day;
}

int GetCurrentYear() { return QuorNow().year; }

int GetCenturyYear() { return GetCurrentYear() / 100 * 100; }

// ---- CDate --------------------------------------------------------------------------------------

CDate::CDate() : m_value(GetTodayYmd()) {}

void CDate::SetToday() { m_value = GetTodayYmd(); }

bool CDate::SetValue(std::int32_t value)
{
    if (value == kNoLowerDate || value == kNoUpperDate) {
        m_value = value;
        return false;
    }
    if (!IsValidDateValue(value)) return false;
    m_value = value;
    return true;
}

bool CDate::SetDate(int month, int day, int year)
{
    // Out-of-range parts cannot form a valid date; checking first keeps the product in range.
    if (!IsValidDate(month, day, year)) return false;
    return SetValue(year * 10000 + month * 100 + day);
}

int CDate::GetDayOfWeek() const
{
    static const int kOffset[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    int month = GetMonth();
    if (month < 1 || month > 12 || m_value < 0) return 0;  // a marker has no weekday
    int y = GetYear() - (month < 3 ? 1 : 0);
    return (y + y / 4 - y / 100 + y / 400 + kOffset[month - 1] + GetDay()) % 7;
}

void CDate::GetSystemTime(QuorLocalTime& out) const
{
    out = QuorLocalTime();
    out.year = GetYear();
    out.month = GetMonth();
    out.day = GetDay();
    out.dayOfWeek = 0;
}

std::string CDate::Format(bool display) const
{
    try {
        DateLocaleState& state = LoadedState();
        const std::string& picture = display ? state.displayPicture : state.editPicture;
        int month = GetMonth();
        std::string out;
        for (std::string::size_type i = 0; i < picture.size();) {
            char c = picture[i];
            std::string::size_type run = RunLength(picture, i);
            i += run;
            switch (c) {
            case 'D':
                if (run <= 2) {
                    out += Number(GetDay(), run == 2);
                } else {
                    int weekday = GetDayOfWeek();
                    out += run == 3 ? state.abbrevDayNames[weekday] : state.dayNames[weekday];
                }
                break;
            case 'M':
                if (display && month >= 1 && month <= 12 && run == 3)
                    out += state.abbrevMonthNames[month];
                else if (display && month >= 1 && month <= 12 && run == 4)
                    out += state.monthNames[month];
                else
                    out += Number(month, run == 2);
                break;
            case 'Y':
                out += run <= 2 ? Number(GetYear() % 100, true) : Number(GetYear(), false);
                break;
            default:
                out += c;
                break;
            }
        }
        return out;
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

// ---- pictures -----------------------------------------------------------------------------------

std::string BuildEditDatePicture(const std::string& displayPicture)
{
    enum Kind { kNone, kField, kSeparator };
    enum Field { kMonth, kDay, kYear, kFieldCount };
    static const char* const kDefaults[kFieldCount] = {"MM", "DD", "YYYY"};
    static const std::string::size_type kMaxLength[kFieldCount] = {2, 2, 4};

    bool seen[kFieldCount] = {false, false, false};
    char separator = '-';
    bool separatorFixed = false;
    Kind previous = kNone;
    std::string result;

    for (std::string::size_type i = 0; i < displayPicture.size();) {
        char c = displayPicture[i];
        std::string::size_type run = RunLength(displayPicture, i);
        i += run;
        int field = c == 'M' ? kMonth : c == 'D' ? kDay : c == 'Y' ? kYear : -1;
        if (field == kDay && run >= 3) continue;  // a day name: not typed, changes nothing
        if (field >= 0) {
            if (!seen[field]) {
                if (previous == kField) {  // two fields touching get the separator between them
                    result += separator;
                    separatorFixed = true;
                }
                seen[field] = true;
                result.append(run < kMaxLength[field] ? run : kMaxLength[field], c);
            }
            previous = kField;
        } else {
            if (!separatorFixed) {
                separator = c;
                separatorFixed = true;
            }
            if (!result.empty() && previous != kSeparator) result += separator;
            previous = kSeparator;
        }
    }
    result = TrimBlanks(result);
    while (!result.empty() && result.back() != 'D' && result.back() != 'M' && result.back() != 'Y')
        result.pop_back();
    for (int field = kMonth; field < kFieldCount; ++field) {
        if (!seen[field]) {
            result += separator;
            result += kDefaults[field];
        }
    }
    return result;
}

void LoadLocaleDatePicture()
{
    DateLocaleState& state = State();
    state.loaded = true;
    try {
        const ILocaleInfo& locale = GetLocaleInfo();
        for (int i = 0; i < 7; ++i) {
            int n = i == 0 ? 7 : i;  // the locale numbers days from Monday (1) to Sunday (7)
            state.dayNames[i] = locale.DayName(n, false);
            state.abbrevDayNames[i] = locale.DayName(n, true);
        }
        for (int m = 1; m <= 12; ++m) {
            state.monthNames[m] = locale.MonthName(m, false);
            state.abbrevMonthNames[m] = locale.MonthName(m, true);
        }
        state.displayPicture = UpperCase(TrimBlanks(locale.ShortDatePicture()));
        state.editPicture = BuildEditDatePicture(state.displayPicture);
    } catch (const std::bad_alloc&) {
        state.editPicture.clear();
    }
}

std::string GetDisplayDatePicture() { return LoadedState().displayPicture; }

std::string GetEditDatePicture() { return LoadedState().editPicture; }

// ---- two-digit years ----------------------------------------------------------------------------

void SetPivotYear(int year) { State().pivotYear = year; }

int GetPivotYear()
{
    int pivot = State().pivotYear;
    return pivot != 0 ? pivot : GetCenturyYear() + 99;
}

int ExpandTwoDigitYear(int year)
{
    if (year >= 100) return year;
    int pivot = GetPivotYear();
    int century = pivot / 100 - (year > pivot % 100 ? 1 : 0);
    return century > 0 ? century * 100 + year : year;
}

// ---- parsing and formatting ---------------------------------------------------------------------

bool ParseDateText(const std::string& text, std::int32_t& out)
{
    // Large enough for any field, small enough that no run of digits can overflow.
    constexpr int kDigitCap = 1000000;
    QuorLocalTime today = QuorNow();
    int month = today.month, day = today.day, year = today.year;

    int numbers[3];
    int count = 0;
    std::string::size_type i = 0;
    while (count < 3) {
        while (i < text.size() && !std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        if (i >= text.size()) break;
        int value = 0;
        for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
            if (value < kDigitCap) value = value * 10 + (text[i] - '0');
        numbers[count++] = value;
        if (i < text.size()) ++i;  // the character after the number
    }

    std::string picture = GetEditDatePicture();
    int used = 0;
    for (std::string::size_type p = 0; p < picture.size() && used < count;) {
        char c = picture[p];
        p += RunLength(picture, p);
        if (c == 'D') day = numbers[used++];
        else if (c == 'M') month = numbers[used++];
        else if (c == 'Y') year = numbers[used++];
    }
    if (year < 100) year = ExpandTwoDigitYear(year);
    if (!IsValidDate(month, day, year)) return false;
    out = year * 10000 + month * 100 + day;
    return true;
}

void ShowInvalidDateMessage()
{
    ShowErrorMessage(QuorFormat1(QuorLoadString(kInvalidDateMessage), GetEditDatePicture()));
}

std::string FormatToday(bool display) { return CDate().Format(display); }

std::string GetWidestDateText()
{
    std::string widest;
    for (int day = 19; day <= 25; ++day) {
        std::string text = GetLocaleInfo().FormatShortDate(2099, 12, day);
        if (text.size() > widest.size()) widest = text;
    }
    return widest + "xx";
}

// ---- times of day -------------------------------------------------------------------------------

int GetTimeOfDay()
{
    QuorLocalTime now = QuorNow();
    return now.hour * 3600 + now.minute * 60 + now.second;
}

std::string RemoveSecondsFromTimePicture(const std::string& picture)
{
    enum Last { kNothing, kLetter, kSeparator };
    Last last = kNothing;
    std::string::size_type separatorStart = 0;
    std::string out;
    for (char c : picture) {
        if (c == 'H' || c == 'h' || c == 'm') {
            out += c;
            last = kLetter;
        } else if (c == 's') {
            if (last == kSeparator) out.resize(separatorStart);  // the separator before the seconds goes
            last = kLetter;
        } else if (c == 't') {
            if (last == kSeparator) out.resize(separatorStart);
            out += c;
            last = kLetter;
        } else if (std::isspace(static_cast<unsigned char>(c))) {
            if (last == kSeparator) {
                out.resize(separatorStart);
                out += c;
            } else if (last == kLetter) {
                out += c;
            }
            last = kNothing;
        } else {
            if (last != kSeparator) separatorStart = out.size();
            out += c;
            last = kSeparator;
        }
    }
    if (last == kSeparator) out.resize(separatorStart);
    return out;
}

std::string GetTimePicture(bool withSeconds)
{
    std::string picture = GetLocaleInfo().TimePicture();
    return withSeconds ? picture : RemoveSecondsFromTimePicture(picture);
}

std::string FormatTime(int seconds, bool withSeconds)
{
    if (!IsValidTimeOfDay(seconds)) return std::string();
    try {
        return GetLocaleInfo().FormatTime(seconds / 3600, seconds / 60 % 60, seconds % 60,
                                          GetTimePicture(withSeconds), !withSeconds);
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

std::string FormatTimeNow() { return FormatTime(GetTimeOfDay(), false); }

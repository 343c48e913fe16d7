#include "framework/locale_info.h"

#include <cstdio>

// The platform locale is defined in locale_info_win.cpp or locale_info_posix.cpp.
const ILocaleInfo& GetPlatformLocaleInfo();

namespace {

const ILocaleInfo* g_locale = nullptr;

std::string Number(int value, int width)
{
    char text[16];
    std::snprintf(text, sizeof text, width == 2 ? "%02d" : "%d", value);
    return text;
}

bool IsTimeLetter(char c) { return c == 'h' || c == 'H' || c == 'm' || c == 's' || c == 't'; }

}  // namespace

const ILocaleInfo& GetLocaleInfo()
{
    return g_locale ? *g_locale : GetPlatformLocaleInfo();
}

const ILocaleInfo* SetLocaleInfo(const ILocaleInfo* locale)
{
    const ILocaleInfo* previous = g_locale;
    g_locale = locale;
    return previous;
}

std::string FormatTimeByPicture(int hour, int minute, int second, const std::string& picture,
                                bool noSeconds, const std::string& am, const std::string& pm)
{
    std::string out;
    // Where the literal text after the last minutes field began: with noSeconds it goes together with
    // the seconds field that follows it.
    std::string::size_type literalStart = std::string::npos;
    const std::string& designator = hour < 12 ? am : pm;
    for (std::string::size_type i = 0; i < picture.size();) {
        char c = picture[i];
        if (c == '\'') {
            if (literalStart == std::string::npos) literalStart = out.size();
            for (++i; i < picture.size(); ++i) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out += '\'';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i];
            }
            continue;
        }
        std::string::size_type run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (!IsTimeLetter(c)) {
            if (literalStart == std::string::npos) literalStart = out.size();
            out.append(run, c);
            i += run;
            continue;
        }
        int width = run >= 2 ? 2 : 1;
        switch (c) {
        case 'h': out += Number(hour % 12 == 0 ? 12 : hour % 12, width); break;
        case 'H': out += Number(hour, width); break;
        case 'm': out += Number(minute, width); break;
        case 's':
            if (noSeconds) {
                if (literalStart != std::string::npos) out.resize(literalStart);
            } else {
                out += Number(second, width);
            }
            break;
        case 't': out += width == 1 ? designator.substr(0, 1) : designator; break;
        }
        literalStart = std::string::npos;
        i += run;
    }
    return out;
}

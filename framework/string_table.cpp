#include "framework/string_table.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>

std::string QuorLoadString(int id)
{
    // LoadStringA copies at most the buffer size less one and returns 0 for a missing string.
    char buffer[4096];
    int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

#else
#include <algorithm>
#include <iterator>
#include "resources/resource.h"
#include "resources/article_window_res.h"

namespace {

struct StringEntry {
    int id;
    const char* text;
};

const StringEntry kStrings[] = {
#define QUOR_STRING(id, text) {id, text},
#include "resources/strings.inc"
#undef QUOR_STRING
};

}  // namespace

std::string QuorLoadString(int id)
{
    auto found = std::find_if(std::begin(kStrings), std::end(kStrings),
                              [id](const StringEntry& e) { return e.id == id; });
    return found == std::end(kStrings) ? std::string() : std::string(found->text);
}

#endif

std::string QuorFormat1(const std::string& pattern, const std::string& arg)
{
    std::string out;
    out.reserve(pattern.size() + arg.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == '1') {
            out += arg;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string QuorFormatArgs(const std::string& pattern, std::initializer_list<std::string> args)
{
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        size_t index = static_cast<size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && index < args.size()) {
            out += *(args.begin() + index);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

std::string QuorFormatNumbers(const std::string& pattern, int a, int b, int c)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, pattern.c_str(), a, b, c);
    return buffer;
}

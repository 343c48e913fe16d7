#include "article/rich_text_rules.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

enum class Token { kWord, kLineEnd, kEnd };

// Skips blanks (every white-space character but CR); a CR is a line end; otherwise collects the
// next run of non-blank characters.
Token NextWord(const std::string& text, size_t& p, std::string& word)
{
    word.clear();
    while (p < text.size() && text[p] != '\r' && IsSpace(text[p])) ++p;
    if (p < text.size() && text[p] == '\r') {
        ++p;
        return Token::kLineEnd;
    }
    while (p < text.size() && !IsSpace(text[p])) word += text[p++];
    return word.empty() ? Token::kEnd : Token::kWord;
}

}  // namespace

std::string MakeTitleFromText(const std::string& text)
{
    std::string title;
    std::string word;
    size_t p = 0;
    int words = 0;
    while (p < text.size() && words < kMaxTitleWords) {
        Token token = NextWord(text, p, word);
        if (token == Token::kLineEnd) {
            if (words > 0) break;
            continue;
        }
        if (token == Token::kEnd) break;
        if (!title.empty()) title += ' ';
        title += word;
        ++words;
    }
    return title;
}

void ClampSelectionRange(int32_t& start, int32_t& end, int32_t length)
{
    if (end == -1) {
        start = 0;
        end = length;
    } else if (end > length) {
        end = length;
    }
}

bool IsNewerRichEditVersion(uint32_t version)
{
    const uint32_t major = version >> 16;
    const uint32_t minor = version & 0xFFFF;
    return major > 5 || (major == 5 && minor != 0);
}

CharFormat MakeDefaultCharFormat(const LogFont& font, int pixelsPerInch, uint32_t color, bool automatic,
                                 bool markColor)
{
    CharFormat format;
    CharFormatFromLogFont(format, font, pixelsPerInch);
    format.cbSize = 60;
    format.dwMask = kCfmSize | kCfmColor | kCfmFace | kCfmOffset | kCfmBold | kCfmItalic | kCfmUnderline |
                    kCfmStrikeOut;
    format.yOffset = 0;
    format.crTextColor = color;
    if (automatic) format.dwEffects |= kCfeAutoColor;
    if (markColor) {
        format.crTextColor = kMarkedTextColor;
        format.dwEffects &= ~kCfeAutoColor;
    }
    return format;
}

namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::string WithoutProtection(const std::string& rtf, bool* changed)
{
    if (changed) *changed = false;
    std::string out;
    out.reserve(rtf.size() + 16);
    const size_t n = rtf.size();
    size_t i = 0;
    while (i < n) {
        const size_t backslash = rtf.find('\\', i);
        if (backslash == std::string::npos) {
            out.append(rtf, i, n - i);
            break;
        }
        out.append(rtf, i, backslash - i);
        i = backslash + 1;
        if (i >= n || !IsLetter(rtf[i])) {
            // A control symbol (\\, \{, \', ...): the backslash and the one character it escapes.
            out += '\\';
            if (i < n) out += rtf[i++];
            continue;
        }
        const size_t wordStart = i;
        while (i < n && IsLetter(rtf[i])) ++i;
        const size_t wordEnd = i;
        if (i < n && rtf[i] == '-') ++i;
        while (i < n && IsDigit(rtf[i])) ++i;
        const size_t paramEnd = i;
        const std::string word = rtf.substr(wordStart, wordEnd - wordStart);
        if (word == "protect") {
            const std::string param = rtf.substr(wordEnd, paramEnd - wordEnd);
            if (param != "0" && changed) *changed = true;
            out += "\\protect0";
        } else {
            out += '\\';
            out.append(rtf, wordStart, paramEnd - wordStart);
        }
        if (i < n && rtf[i] == ' ') out += rtf[i++];
        if (word == "bin" && paramEnd > wordEnd) {
            // Raw bytes follow, which may hold anything.
            long count = std::strtol(rtf.substr(wordEnd, paramEnd - wordEnd).c_str(), nullptr, 10);
            if (count > 0) {
                const size_t take = std::min(static_cast<size_t>(count), n - i);
                out.append(rtf, i, take);
                i += take;
            }
        }
    }
    return out;
}

bool RtfMayHideText(const std::string& rtf)
{
    const size_t n = rtf.size();
    for (size_t i = rtf.find('\\'); i != std::string::npos && i + 1 < n; i = rtf.find('\\', i)) {
        ++i;
        if (!IsLetter(rtf[i])) {
            ++i;  // a control symbol: the character it escapes is not a control word's start
            continue;
        }
        const size_t wordStart = i;
        while (i < n && IsLetter(rtf[i])) ++i;
        if (i - wordStart != 1 || rtf[wordStart] != 'v')
            continue;
        size_t param = i;
        if (param < n && rtf[param] == '-') ++param;
        const size_t digits = param;
        while (param < n && IsDigit(rtf[param])) ++param;
        if (!(param - digits == 1 && rtf[digits] == '0'))
            return true;
    }
    return false;
}

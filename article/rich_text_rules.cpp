#include "article/rich_text_rules.h"

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

#include "shell/font_settings.h"

#include <cstdlib>
#include <cstring>
#include <new>

int32_t QuorMulDiv(int32_t a, int32_t b, int32_t c)
{
    if (c == 0)
        return -1;
    int64_t product = static_cast<int64_t>(a) * b;
    int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    int64_t half = divisor / 2;
    int64_t result = product < 0 ? (product - half) / divisor : (product + half) / divisor;
    if (result > INT32_MAX || result < INT32_MIN)
        return -1;
    return static_cast<int32_t>(result);
}

std::string GetFaceName(const LogFont& font)
{
    const char* end = static_cast<const char*>(std::memchr(font.lfFaceName, '\0', sizeof font.lfFaceName));
    return std::string(font.lfFaceName, end ? end - font.lfFaceName : sizeof font.lfFaceName);
}

void SetFaceName(LogFont& font, const std::string& face)
{
    size_t n = face.size() < sizeof font.lfFaceName - 1 ? face.size() : sizeof font.lfFaceName - 1;
    std::memset(font.lfFaceName, 0, sizeof font.lfFaceName);
    std::memcpy(font.lfFaceName, face.data(), n);
}

int PointsFromHeight(int32_t height, int pixelsPerInch)
{
    return static_cast<int>(std::abs(static_cast<int64_t>(QuorMulDiv(height, 72, pixelsPerInch))));
}

void CharFormatFromLogFont(CharFormat& format, const LogFont& font, int pixelsPerInch)
{
    // A stored height is untrusted: INT32_MIN has no positive form, so it is taken as INT32_MAX.
    int32_t height = font.lfHeight == INT32_MIN ? INT32_MAX : std::abs(font.lfHeight);
    int64_t twips = static_cast<int64_t>(std::abs(static_cast<int64_t>(QuorMulDiv(height, 72, pixelsPerInch)))) * 20;
    format.yHeight = twips > INT32_MAX ? INT32_MAX : static_cast<int32_t>(twips);
    format.dwMask = kCfmBold | kCfmItalic | kCfmUnderline | kCfmStrikeOut | kCfmSize | kCfmFace | kCfmCharSet;
    format.dwEffects = 0;
    if (font.lfWeight == kFontWeightBold)
        format.dwEffects |= kCfeBold;
    if (font.lfItalic)
        format.dwEffects |= kCfeItalic;
    if (font.lfUnderline)
        format.dwEffects |= kCfeUnderline;
    if (font.lfStrikeOut)
        format.dwEffects |= kCfeStrikeOut;
    format.bCharSet = font.lfCharSet;
    format.bPitchAndFamily = font.lfPitchAndFamily;
    std::memcpy(format.szFaceName, font.lfFaceName, sizeof format.szFaceName);
    format.szFaceName[sizeof format.szFaceName - 1] = '\0';
}

void LogFontFromCharFormat(LogFont& font, const CharFormat& format, int pixelsPerInch)
{
    font.lfHeight = static_cast<int32_t>(-static_cast<int64_t>(QuorMulDiv(format.yHeight / 20, pixelsPerInch, 72)));
    font.lfWidth = 0;
    font.lfEscapement = 0;
    font.lfOrientation = 0;
    font.lfWeight = (format.dwEffects & kCfeBold) ? kFontWeightBold : 0;
    font.lfItalic = (format.dwEffects & kCfeItalic) ? 1 : 0;
    font.lfUnderline = (format.dwEffects & kCfeUnderline) ? 1 : 0;
    font.lfStrikeOut = (format.dwEffects & kCfeStrikeOut) ? 1 : 0;
    font.lfCharSet = format.bCharSet;
    font.lfOutPrecision = 0;
    font.lfClipPrecision = 0;
    font.lfQuality = 0;
    font.lfPitchAndFamily = format.bPitchAndFamily;
    std::memcpy(font.lfFaceName, format.szFaceName, sizeof font.lfFaceName);
    font.lfFaceName[sizeof font.lfFaceName - 1] = '\0';
}

std::string DescribeFont(const LogFont& font, int pixelsPerInch)
{
    try {
        std::string text = GetFaceName(font) + ", " + std::to_string(PointsFromHeight(font.lfHeight, pixelsPerInch)) +
                           " pt";
        if (font.lfWeight == kFontWeightBold)
            text += ", Bold";
        if (font.lfItalic)
            text += ", Italic";
        return text;
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

LogFont CFontSettings::DefaultFont(IFontFaces& faces)
{
    LogFont font;
    font.lfHeight = QuorMulDiv(-9, faces.PixelsPerInch(), 72);
    SetFaceName(font, faces.DefaultFace());
    return font;
}

void CFontSettings::SetColor(int32_t value)
{
    m_autoColor = value < 0;
    m_textColor = value < 0 ? 0 : static_cast<uint32_t>(value);
}

void CFontSettings::Load(IProfileStore& profile, IFontFaces& faces)
{
    m_autoColor = true;
    m_textColor = 0;
    const LogFont base = DefaultFont(faces);
    LogFont font = base;
    const char* s = kSection;
    std::string face;
    try {
        font.lfHeight = profile.GetInt(s, "Fontsize", base.lfHeight);
        face = profile.GetString(s, "Font", GetFaceName(base));
        font.lfItalic = static_cast<uint8_t>(profile.GetInt(s, "Style", base.lfItalic));
        font.lfWeight = profile.GetInt(s, "Weight", base.lfWeight);
        font.lfQuality = static_cast<uint8_t>(profile.GetInt(s, "Quality", base.lfQuality));
        font.lfCharSet = static_cast<uint8_t>(profile.GetInt(s, "Charset", base.lfCharSet));
        font.lfUnderline = static_cast<uint8_t>(profile.GetInt(s, "Underline", base.lfUnderline));
        font.lfStrikeOut = static_cast<uint8_t>(profile.GetInt(s, "StrikeOut", base.lfStrikeOut));
        font.lfOutPrecision = static_cast<uint8_t>(profile.GetInt(s, "OutPrecision", base.lfOutPrecision));
        font.lfClipPrecision = static_cast<uint8_t>(profile.GetInt(s, "ClipPrecision", base.lfClipPrecision));
        font.lfPitchAndFamily = static_cast<uint8_t>(profile.GetInt(s, "PitchAndFamily", base.lfPitchAndFamily));
        m_textColor = static_cast<uint32_t>(profile.GetInt(s, "TextColor", static_cast<int>(m_textColor)));
        m_autoColor = profile.GetInt(s, "AutoColor", m_autoColor ? 1 : 0) != 0;
    } catch (const std::bad_alloc&) {
        face.clear();  // an empty face selects the default font
    }
    if (face.empty()) {
        font = base;
    } else {
        SetFaceName(font, faces.IsFaceUsable(face) ? face : GetFaceName(base));
    }
    m_font = font;
    m_loaded = true;
}

void CFontSettings::Save(IProfileStore& profile) const
{
    if (!m_loaded)
        return;
    const char* s = kSection;
    try {
        profile.WriteInt(s, "Fontsize", m_font.lfHeight);
        profile.WriteString(s, "Font", GetFaceName(m_font));
        profile.WriteInt(s, "Style", m_font.lfItalic);
        profile.WriteInt(s, "Weight", m_font.lfWeight);
        profile.WriteInt(s, "Quality", m_font.lfQuality);
        profile.WriteInt(s, "Charset", m_font.lfCharSet);
        profile.WriteInt(s, "Underline", m_font.lfUnderline);
        profile.WriteInt(s, "StrikeOut", m_font.lfStrikeOut);
        profile.WriteInt(s, "OutPrecision", m_font.lfOutPrecision);
        profile.WriteInt(s, "ClipPrecision", m_font.lfClipPrecision);
        profile.WriteInt(s, "PitchAndFamily", m_font.lfPitchAndFamily);
        profile.WriteInt(s, "TextColor", static_cast<int>(m_textColor));
        profile.WriteInt(s, "AutoColor", m_autoColor ? 1 : 0);
    } catch (const std::bad_alloc&) {
        // A save that runs out of memory ends quietly; the next save writes everything again.
    }
}

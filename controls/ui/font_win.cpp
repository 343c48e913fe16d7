#include "controls/ui/font_win.h"

#include <cstring>

#include "framework/ui/gdi.h"

namespace {

enum class Match { kAny, kSwissVariableTrueType, kUsable };

struct Search {
    Match match;
    bool found = false;
    LOGFONTA font = {};
};

// Enumeration callback: returning 0 stops the enumeration. It only copies plain data, so it cannot throw.
int CALLBACK OnFont(const LOGFONTA* font, const TEXTMETRICA*, DWORD fontType, LPARAM param)
{
    Search& search = *reinterpret_cast<Search*>(param);
    bool trueType = (fontType & TRUETYPE_FONTTYPE) != 0;
    bool accept = false;
    switch (search.match) {
    case Match::kAny:
        accept = true;
        break;
    case Match::kSwissVariableTrueType:
        accept = trueType && (font->lfPitchAndFamily & 0xF0) == FF_SWISS &&
                 (font->lfPitchAndFamily & 3) == VARIABLE_PITCH;
        break;
    case Match::kUsable:
        accept = trueType || (fontType & RASTER_FONTTYPE) == 0;
        break;
    }
    if (!accept)
        return 1;
    search.font = *font;
    search.found = true;
    return 0;
}

// Enumerates the family `face` (all families when empty) in every character set.
bool Enumerate(const std::string& face, Match match, LOGFONTA& out)
{
    CClientDC dc(nullptr);  // the screen
    if (!dc)
        return false;
    LOGFONTA query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(query.lfFaceName, face.c_str(), LF_FACESIZE);
    Search search{match};
    EnumFontFamiliesExA(dc, &query, OnFont, reinterpret_cast<LPARAM>(&search), 0);
    if (search.found)
        out = search.font;
    return search.found;
}

// LogFont and LOGFONTA (and CharFormat and CHARFORMATA) share their member names, so one copy serves
// both directions.
template <class To, class From>
void CopyLogFont(To& out, const From& f)
{
    out.lfHeight = f.lfHeight;
    out.lfWidth = f.lfWidth;
    out.lfEscapement = f.lfEscapement;
    out.lfOrientation = f.lfOrientation;
    out.lfWeight = f.lfWeight;
    out.lfItalic = f.lfItalic;
    out.lfUnderline = f.lfUnderline;
    out.lfStrikeOut = f.lfStrikeOut;
    out.lfCharSet = f.lfCharSet;
    out.lfOutPrecision = f.lfOutPrecision;
    out.lfClipPrecision = f.lfClipPrecision;
    out.lfQuality = f.lfQuality;
    out.lfPitchAndFamily = f.lfPitchAndFamily;
    std::memcpy(out.lfFaceName, f.lfFaceName, LF_FACESIZE);
    out.lfFaceName[LF_FACESIZE - 1] = '\0';
}

template <class To, class From>
void CopyCharFormat(To& out, const From& f)
{
    out.cbSize = f.cbSize;
    out.dwMask = f.dwMask;
    out.dwEffects = f.dwEffects;
    out.yHeight = f.yHeight;
    out.yOffset = f.yOffset;
    out.crTextColor = f.crTextColor;
    out.bCharSet = f.bCharSet;
    out.bPitchAndFamily = f.bPitchAndFamily;
    std::memcpy(out.szFaceName, f.szFaceName, LF_FACESIZE);
    out.szFaceName[LF_FACESIZE - 1] = '\0';
}

}  // namespace

LOGFONTA ToLogFontA(const LogFont& font)
{
    LOGFONTA out = {};
    CopyLogFont(out, font);
    return out;
}

LogFont FromLogFontA(const LOGFONTA& font)
{
    LogFont out;
    CopyLogFont(out, font);
    return out;
}

CHARFORMATA ToCharFormatA(const CharFormat& format)
{
    CHARFORMATA out = {};
    CopyCharFormat(out, format);
    return out;
}

CharFormat FromCharFormatA(const CHARFORMATA& format)
{
    CharFormat out;
    CopyCharFormat(out, format);
    return out;
}

int CGdiFontFaces::PixelsPerInch()
{
    if (m_pixelsPerInch <= 0) {
        CClientDC dc(nullptr);  // the screen
        m_pixelsPerInch = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (m_pixelsPerInch <= 0)
            m_pixelsPerInch = 96;
    }
    return m_pixelsPerInch;
}

std::string CGdiFontFaces::DefaultFace()
{
    LOGFONTA found;
    if (Enumerate("Arial", Match::kSwissVariableTrueType, found) ||
        Enumerate(std::string(), Match::kSwissVariableTrueType, found))
        return found.lfFaceName;
    return std::string();
}

bool CGdiFontFaces::IsFaceUsable(const std::string& face)
{
    LOGFONTA found;
    return Enumerate(face, Match::kUsable, found);
}

bool FindFontFace(const std::string& face, LogFont& out)
{
    LOGFONTA found;
    if (!Enumerate(face, Match::kAny, found)) {
        out = LogFont();
        return false;
    }
    out = FromLogFontA(found);
    return true;
}

HFONT CreateSettingsFont(const CFontSettings& settings)
{
    LOGFONTA font = ToLogFontA(settings.GetLogFont());
    return CreateFontIndirectA(&font);
}

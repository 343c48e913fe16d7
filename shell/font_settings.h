// The program's default article font (a font description, a text colour and an automatic-colour flag,
// kept in the product section of the option store) and the conversions the editor and the preferences
// use: font description to rich-edit character format and back, points and heights, the text that
// describes a font.
//
// LogFont and CharFormat have the members, sizes and order of the system's LOGFONTA and CHARFORMATA so
// that the window half converts them member by member (controls/ui/font_win.h).
#pragma once
#include <cstdint>
#include <string>

#include "shell/profile_store.h"

struct LogFont {
    int32_t lfHeight = 0;  // logical units; negative for a character height
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    char lfFaceName[32] = {};  // NUL-terminated
};
static_assert(sizeof(LogFont) == 60, "LogFont must match LOGFONTA");

struct CharFormat {
    uint32_t cbSize = 0;
    uint32_t dwMask = 0;
    uint32_t dwEffects = 0;
    int32_t yHeight = 0;  // twips
    int32_t yOffset = 0;
    uint32_t crTextColor = 0;
    uint8_t bCharSet = 0;
    uint8_t bPitchAndFamily = 0;
    char szFaceName[32] = {};
};

constexpr uint32_t kCfmBold = 0x00000001;
constexpr uint32_t kCfmItalic = 0x00000002;
constexpr uint32_t kCfmUnderline = 0x00000004;
constexpr uint32_t kCfmStrikeOut = 0x00000008;
constexpr uint32_t kCfmCharSet = 0x08000000;
constexpr uint32_t kCfmFace = 0x20000000;
constexpr uint32_t kCfmSize = 0x80000000;
constexpr uint32_t kCfeBold = 0x0001;
constexpr uint32_t kCfeItalic = 0x0002;
constexpr uint32_t kCfeUnderline = 0x0004;
constexpr uint32_t kCfeStrikeOut = 0x0008;
constexpr int32_t kFontWeightBold = 700;

// a * b / c rounded half away from zero, as the system's MulDiv; -1 when c is 0 or the result does not
// fit in 32 bits.
int32_t QuorMulDiv(int32_t a, int32_t b, int32_t c);

// The face name up to its NUL (never past the 32 bytes).
std::string GetFaceName(const LogFont& font);
// Copies `face` into the font; a name of 32 characters or more is cut to 31 so that its NUL fits.
void SetFaceName(LogFont& font, const std::string& face);

// The rich-edit format of `font` at `pixelsPerInch` (the screen's LOGPIXELSY). The caller sets cbSize;
// the colour is not touched.
void CharFormatFromLogFont(CharFormat& format, const LogFont& font, int pixelsPerInch);
void LogFontFromCharFormat(LogFont& font, const CharFormat& format, int pixelsPerInch);
// |MulDiv(height, 72, pixelsPerInch)|.
int PointsFromHeight(int32_t height, int pixelsPerInch);
// "Arial, 9 pt", then ", Bold" for weight 700 exactly and ", Italic".
std::string DescribeFont(const LogFont& font, int pixelsPerInch);

// What the font settings need of the system's fonts (GDI on Windows; tests give their own).
class IFontFaces {
public:
    virtual ~IFontFaces() = default;
    // LOGPIXELSY of the screen.
    virtual int PixelsPerInch() = 0;
    // The first TrueType swiss variable-pitch face of the "Arial" family, else of any family; empty when
    // there is none.
    virtual std::string DefaultFace() = 0;
    // True when the face is installed as TrueType or at least not as a raster font.
    virtual bool IsFaceUsable(const std::string& face) = 0;
};

class CFontSettings {
public:
    static constexpr const char* kSection = "QuorVane";

    CFontSettings() = default;
    virtual ~CFontSettings() = default;

    // The default font (9 points in the default face) overlaid with the stored keys; a stored face that
    // is not usable is replaced by the default face; an empty stored face takes the whole default font.
    void Load(IProfileStore& profile, IFontFaces& faces);
    // Writes the keys; nothing before Load.
    void Save(IProfileStore& profile) const;
    bool IsLoaded() const { return m_loaded; }

    const LogFont& GetLogFont() const { return m_font; }
    void SetLogFont(const LogFont& font) { m_font = font; }
    // The text colour; `automatic` tells whether text is drawn in the window-text colour instead.
    uint32_t GetColor(bool& automatic) const
    {
        automatic = m_autoColor;
        return m_textColor;
    }
    // A negative value means automatic (colour 0); any other value is the colour, not automatic.
    void SetColor(int32_t value);

    static LogFont DefaultFont(IFontFaces& faces);

private:
    LogFont m_font;
    uint32_t m_textColor = 0;
    bool m_autoColor = true;
    bool m_loaded = false;
};

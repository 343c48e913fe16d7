// The system's font structures for the portable LogFont and CharFormat, member by member, and the
// system's fonts behind IFontFaces (GDI on the screen).
#pragma once
#include <windows.h>
#include <richedit.h>

#include "shell/font_settings.h"

LOGFONTA ToLogFontA(const LogFont& font);
LogFont FromLogFontA(const LOGFONTA& font);
CHARFORMATA ToCharFormatA(const CharFormat& format);
CharFormat FromCharFormatA(const CHARFORMATA& format);

// The system's fonts on the screen DC. LOGPIXELSY is read once and kept.
class CGdiFontFaces : public IFontFaces {
public:
    int PixelsPerInch() override;
    std::string DefaultFace() override;
    bool IsFaceUsable(const std::string& face) override;

private:
    int m_pixelsPerInch = 0;
};

// The first font of the family `face` on the screen; false and all 60 bytes zero when there is none.
bool FindFontFace(const std::string& face, LogFont& out);
// A font for the settings' LogFont; the caller deletes it with DeleteObject.
HFONT CreateSettingsFont(const CFontSettings& settings);

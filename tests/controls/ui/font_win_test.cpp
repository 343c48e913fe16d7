// The font helpers on the system's GDI under Wine.
#include "controls/ui/font_win.h"

#include <gtest/gtest.h>

#include "shell/memory_profile_store.h"

TEST(GdiFonts, StructuresConvertMemberByMember)
{
    static_assert(sizeof(LOGFONTA) == sizeof(LogFont), "same size");
    LogFont f;
    f.lfHeight = -13;
    f.lfWeight = 700;
    f.lfItalic = 1;
    f.lfCharSet = 238;
    f.lfPitchAndFamily = 0x22;
    SetFaceName(f, "Tahoma");
    LOGFONTA a = ToLogFontA(f);
    EXPECT_EQ(a.lfHeight, -13);
    EXPECT_EQ(a.lfWeight, 700);
    EXPECT_STREQ(a.lfFaceName, "Tahoma");
    LogFont back = FromLogFontA(a);
    EXPECT_EQ(memcmp(&back, &f, sizeof f), 0);

    CharFormat cf;
    CharFormatFromLogFont(cf, f, 96);
    cf.cbSize = sizeof(CHARFORMATA);
    CHARFORMATA ca = ToCharFormatA(cf);
    EXPECT_EQ(ca.cbSize, sizeof(CHARFORMATA));
    EXPECT_EQ(ca.yHeight, 200);
    EXPECT_EQ(ca.dwMask, static_cast<DWORD>(CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_SIZE |
                                            CFM_FACE | CFM_CHARSET));
    EXPECT_EQ(ca.dwEffects, static_cast<DWORD>(CFE_BOLD | CFE_ITALIC));
    EXPECT_STREQ(ca.szFaceName, "Tahoma");
}

TEST(GdiFonts, DefaultFaceIsInstalledAndSettingsCreateAFont)
{
    CGdiFontFaces faces;
    EXPECT_GT(faces.PixelsPerInch(), 0);
    std::string face = faces.DefaultFace();
    ASSERT_FALSE(face.empty());
    EXPECT_TRUE(faces.IsFaceUsable(face));
    EXPECT_FALSE(faces.IsFaceUsable("No Such Face Anywhere"));

    LogFont found;
    EXPECT_TRUE(FindFontFace(face, found));
    EXPECT_EQ(GetFaceName(found), face);
    LogFont missing;
    missing.lfHeight = 5;
    EXPECT_FALSE(FindFontFace("No Such Face Anywhere", missing));
    EXPECT_EQ(missing.lfHeight, 0);
    EXPECT_EQ(GetFaceName(missing), "");

    CFontSettings settings;
    CMemoryProfileStore empty;
    settings.Load(empty, faces);
    EXPECT_EQ(GetFaceName(settings.GetLogFont()), face);
    HFONT font = CreateSettingsFont(settings);
    ASSERT_NE(font, nullptr);
    LOGFONTA created = {};
    EXPECT_EQ(GetObjectA(font, sizeof created, &created), static_cast<int>(sizeof created));
    EXPECT_STREQ(created.lfFaceName, face.c_str());
    DeleteObject(font);
}

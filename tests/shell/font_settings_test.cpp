#include "shell/font_settings.h"

#include <cstring>
#include <gtest/gtest.h>
#include <set>

#include "shell/memory_profile_store.h"

namespace {

class CFakeFaces : public IFontFaces {
public:
    int PixelsPerInch() override { return ppi; }
    std::string DefaultFace() override { return defaultFace; }
    bool IsFaceUsable(const std::string& face) override { return usable.count(face) != 0; }

    int ppi = 96;
    std::string defaultFace = "Arial";
    std::set<std::string> usable{"Arial", "Georgia"};
};

LogFont Font(const char* face, int32_t height, int32_t weight = 400, uint8_t italic = 0)
{
    LogFont f;
    SetFaceName(f, face);
    f.lfHeight = height;
    f.lfWeight = weight;
    f.lfItalic = italic;
    return f;
}

}  // namespace

TEST(FontConversions, MulDivRoundsHalfAwayFromZero)
{
    EXPECT_EQ(QuorMulDiv(13, 72, 96), 10);   // 9.75
    EXPECT_EQ(QuorMulDiv(-9, 96, 72), -12);
    EXPECT_EQ(QuorMulDiv(-9, 120, 72), -15);
    EXPECT_EQ(QuorMulDiv(1, 1, 2), 1);       // 0.5 rounds up
    EXPECT_EQ(QuorMulDiv(-1, 1, 2), -1);
    EXPECT_EQ(QuorMulDiv(3, 1, -2), -2);
    EXPECT_EQ(QuorMulDiv(5, 7, 0), -1);
    EXPECT_EQ(QuorMulDiv(INT32_MAX, 4, 1), -1);
}

TEST(FontConversions, CharFormatFromLogFontAndBack)
{
    struct Case {
        int ppi;
        int32_t height;
        int32_t twips;
        int32_t backHeight;
    } cases[] = {
        {96, -13, 200, -13},   // 9.75 points round to 10
        {96, 13, 200, -13},    // a cell height converts like a character height
        {96, -12, 180, -12},
        {120, -15, 180, -15},
        {96, 0, 0, 0},
    };
    for (const Case& c : cases) {
        LogFont in = Font("Georgia", c.height, 700, 1);
        in.lfUnderline = 1;
        in.lfCharSet = 238;
        in.lfPitchAndFamily = 0x22;
        CharFormat cf;
        cf.crTextColor = 0x123456;
        CharFormatFromLogFont(cf, in, c.ppi);
        EXPECT_EQ(cf.yHeight, c.twips) << c.height << " at " << c.ppi;
        EXPECT_EQ(cf.dwMask, 0xA800000Fu);
        EXPECT_EQ(cf.dwEffects, kCfeBold | kCfeItalic | kCfeUnderline);
        EXPECT_EQ(cf.crTextColor, 0x123456u);
        EXPECT_EQ(cf.bCharSet, 238);
        EXPECT_EQ(cf.bPitchAndFamily, 0x22);
        EXPECT_STREQ(cf.szFaceName, "Georgia");

        LogFont out = Font("x", 99, 1, 1);
        out.lfQuality = 5;
        out.lfWidth = 7;
        LogFontFromCharFormat(out, cf, c.ppi);
        EXPECT_EQ(out.lfHeight, c.backHeight);
        EXPECT_EQ(out.lfWeight, 700);
        EXPECT_EQ(out.lfItalic, 1);
        EXPECT_EQ(out.lfUnderline, 1);
        EXPECT_EQ(out.lfStrikeOut, 0);
        EXPECT_EQ(out.lfWidth, 0);
        EXPECT_EQ(out.lfQuality, 0);
        EXPECT_EQ(out.lfCharSet, 238);
        EXPECT_EQ(GetFaceName(out), "Georgia");
    }
}

TEST(FontConversions, OnlyWeight700IsBold)
{
    CharFormat cf;
    CharFormatFromLogFont(cf, Font("Arial", -13, 600), 96);
    EXPECT_EQ(cf.dwEffects & kCfeBold, 0u);
    EXPECT_EQ(DescribeFont(Font("Arial", -13, 600), 96), "Arial, 10 pt");
    EXPECT_EQ(DescribeFont(Font("Arial", -13, 700), 96), "Arial, 10 pt, Bold");
    EXPECT_EQ(DescribeFont(Font("Times New Roman", -16, 700, 1), 96), "Times New Roman, 12 pt, Bold, Italic");
    EXPECT_EQ(DescribeFont(Font("Arial", 16, 400, 1), 96), "Arial, 12 pt, Italic");
    EXPECT_EQ(PointsFromHeight(-20, 120), 12);
}

TEST(FontConversions, FaceNamesNeverRunPastTheirField)
{
    LogFont f;
    SetFaceName(f, std::string(40, 'F'));
    EXPECT_EQ(GetFaceName(f), std::string(31, 'F'));
    // A face field without its NUL (as from a damaged store) is read to the end of its 32 bytes only.
    std::memset(f.lfFaceName, 'G', sizeof f.lfFaceName);
    EXPECT_EQ(GetFaceName(f), std::string(32, 'G'));
    CharFormat cf;
    CharFormatFromLogFont(cf, f, 96);
    EXPECT_EQ(std::string(cf.szFaceName), std::string(31, 'G'));
    // A height with no positive form does not overflow.
    f.lfHeight = INT32_MIN;
    CharFormatFromLogFont(cf, f, 96);
    EXPECT_GT(cf.yHeight, 0);
}

TEST(FontSettings, FirstLoadGivesNinePointDefaultInAutomaticColour)
{
    CMemoryProfileStore store;
    CFakeFaces faces;
    faces.ppi = 120;
    CFontSettings fs;
    fs.Load(store, faces);
    EXPECT_TRUE(fs.IsLoaded());
    EXPECT_EQ(fs.GetLogFont().lfHeight, -15);
    EXPECT_EQ(GetFaceName(fs.GetLogFont()), "Arial");
    EXPECT_EQ(fs.GetLogFont().lfWeight, 0);
    bool automatic = false;
    EXPECT_EQ(fs.GetColor(automatic), 0u);
    EXPECT_TRUE(automatic);
}

TEST(FontSettings, SaveAndLoadRoundTripInTheProductSection)
{
    CMemoryProfileStore store;
    CFakeFaces faces;
    CFontSettings fs;
    fs.Save(store);
    EXPECT_TRUE(store.Writes().empty());  // nothing before Load

    fs.Load(store, faces);
    LogFont f = Font("Georgia", -16, 700, 1);
    f.lfUnderline = 1;
    f.lfStrikeOut = 1;
    f.lfCharSet = 161;
    f.lfQuality = 2;
    f.lfOutPrecision = 3;
    f.lfClipPrecision = 4;
    f.lfPitchAndFamily = 0x12;
    fs.SetLogFont(f);
    fs.SetColor(0x0000FF);
    fs.Save(store);
    EXPECT_EQ(store.GetString("Quorvane", "Font", ""), "Georgia");
    EXPECT_EQ(store.GetInt("QUORVANE", "Fontsize", 0), -16);
    EXPECT_EQ(store.GetInt("QuorVane", "AutoColor", -1), 0);
    EXPECT_EQ(store.GetInt("QuorVane", "TextColor", -1), 0xFF);

    CFontSettings again;
    again.Load(store, faces);
    EXPECT_EQ(std::memcmp(&again.GetLogFont(), &f, sizeof f), 0);
    bool automatic = true;
    EXPECT_EQ(again.GetColor(automatic), 0xFFu);
    EXPECT_FALSE(automatic);
}

TEST(FontSettings, UnusableFaceIsReplacedButSizeStaysAndEmptyFaceTakesDefaultFont)
{
    CMemoryProfileStore store;
    CFakeFaces faces;
    store.WriteString("QuorVane", "Font", "Raster Only");
    store.WriteInt("QuorVane", "Fontsize", -20);
    store.WriteInt("QuorVane", "Weight", 700);
    CFontSettings fs;
    fs.Load(store, faces);
    EXPECT_EQ(GetFaceName(fs.GetLogFont()), "Arial");
    EXPECT_EQ(fs.GetLogFont().lfHeight, -20);
    EXPECT_EQ(fs.GetLogFont().lfWeight, 700);

    store.WriteString("QuorVane", "Font", "");
    CFontSettings empty;
    empty.Load(store, faces);
    EXPECT_EQ(GetFaceName(empty.GetLogFont()), "Arial");
    EXPECT_EQ(empty.GetLogFont().lfHeight, -12);
    EXPECT_EQ(empty.GetLogFont().lfWeight, 0);

    // A stored face longer than the field is cut to fit.
    std::string longFace(40, 'L');
    faces.usable.insert(longFace);
    store.WriteString("QuorVane", "Font", longFace);
    CFontSettings cut;
    cut.Load(store, faces);
    EXPECT_EQ(GetFaceName(cut.GetLogFont()), std::string(31, 'L'));
}

TEST(FontSettings, SetColorNegativeMeansAutomatic)
{
    CFontSettings fs;
    bool automatic = false;
    fs.SetColor(-1);
    EXPECT_EQ(fs.GetColor(automatic), 0u);
    EXPECT_TRUE(automatic);
    fs.SetColor(0);
    EXPECT_EQ(fs.GetColor(automatic), 0u);
    EXPECT_FALSE(automatic);
    fs.SetColor(0x00FF00);
    EXPECT_EQ(fs.GetColor(automatic), 0x00FF00u);
    EXPECT_FALSE(automatic);
}

// The program's owner-drawn buttons on real windows, read back pixel by pixel in both drawing modes
// (visual styles and classic): transparent pictures, the disabled picture, redraws only on change,
// and the colour button that opens only from its arrow.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "controls/ui/color_button.h"
#include "controls/ui/masked_bitmap.h"
#include "controls/ui/themed_button.h"
#include "controls/ui/visual_styles.h"
#include "framework/ui/custom_wnd.h"
#include "tests/controls/ui/test_controls_res.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kNearWhite = RGB(254, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 128, 0);
constexpr int kButtonId = 100;

// A 32-bit bitmap to draw into and read back.
class CCanvas {
public:
    CCanvas(int width, int height, COLORREF fill) : m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all = {0, 0, width, height};
        HBRUSH brush = CreateSolidBrush(fill);
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~CCanvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    HDC Dc() const { return m_dc; }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
};

// The parent the buttons' owner-draw messages go through; it counts the clicks they post.
class CParent : public CCustomWnd {
public:
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (id == kButtonId && code == BN_CLICKED)
            ++clicks;
        return false;
    }
    int clicks = 0;
};

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Draws `button` into a canvas its size through the owner-draw path (WM_PRINTCLIENT).
void Print(HWND button, CCanvas& canvas)
{
    SendMessageA(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
}

std::string Hex(COLORREF color)
{
    char text[16];
    wsprintfA(text, "%06lX", static_cast<unsigned long>(color));
    return text;
}

enum class Mode { kThemed, kClassic };

class ButtonsTest : public ::testing::TestWithParam<Mode> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CCustomWnd::RegisterWindowClass("QuorButtonsTestParent", CS_DBLCLKS, nullptr,
                                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
        ASSERT_TRUE(m_parent.CreateEx(0, "QuorButtonsTestParent", "Buttons", WS_POPUP | WS_VISIBLE,
                                      {10, 10, 300, 200}, nullptr, nullptr));
        ButtonVisualStyles().Load();
        CColorButton::VisualStyles().Load();
        if (GetParam() == Mode::kClassic) {
            ButtonVisualStyles().Disable();
            CColorButton::VisualStyles().Disable();
        }
    }
    void TearDown() override
    {
        // The next test binds the styles afresh.
        ButtonVisualStyles().Free();
        CColorButton::VisualStyles().Free();
    }
    bool Themed() const { return GetParam() == Mode::kThemed; }

    CParent m_parent;
};

INSTANTIATE_TEST_SUITE_P(BothModes, ButtonsTest, ::testing::Values(Mode::kThemed, Mode::kClassic),
                         [](const ::testing::TestParamInfo<Mode>& info) {
                             return info.param == Mode::kThemed ? "Themed" : "Classic";
                         });

}  // namespace

TEST_P(ButtonsTest, TheModeIsTheOneAsked)
{
    // Wine draws with its light visual style; the classic runs switch the styles off.
    EXPECT_EQ(CThemedButton::IsThemeActive(), Themed());
    EXPECT_EQ(CColorButton::IsThemeActive(), Themed());
}

TEST(MaskedBitmap, WhiteLetsTheBackgroundThroughAndANearWhitePixelStays)
{
    CMaskedBitmap picture;
    ASSERT_TRUE(picture.Load(IDB_TEST_PICTURE, kWhite));
    EXPECT_EQ(picture.GetSize().cx, 8);
    EXPECT_EQ(picture.GetSize().cy, 8);
    CCanvas canvas(40, 20, kGreen);
    picture.Draw(canvas.Dc(), 4, 6);
    picture.Draw(canvas.Dc(), 36, 6, true);  // right edge at 36: from 28
    for (int left : {4, 28}) {
        EXPECT_EQ(canvas.At(left, 6), kNearWhite) << left;
        EXPECT_EQ(canvas.At(left + 7, 6), kGreen) << left;
        EXPECT_EQ(canvas.At(left, 13), kGreen) << left;
        EXPECT_EQ(canvas.At(left + 7, 13), kGreen) << left;
        EXPECT_EQ(canvas.At(left + 2, 8), kRed) << left;
        EXPECT_EQ(canvas.At(left + 5, 11), kRed) << left;
    }
    EXPECT_EQ(canvas.At(3, 6), kGreen);
    EXPECT_EQ(canvas.At(12, 6), kGreen);

    CMaskedBitmap missing;
    EXPECT_FALSE(missing.Load(9999, kWhite));
    EXPECT_TRUE(missing.IsEmpty());
    missing.Draw(canvas.Dc(), 0, 0);  // draws nothing, does not fail
    EXPECT_EQ(canvas.At(0, 0), kGreen);
}

TEST_P(ButtonsTest, APictureKeepsNoWhiteCornersAndDisabledShowsTheSecond)
{
    const int width = 40, height = 30;
    CThemedButton plain, pictured;
    ASSERT_TRUE(plain.Create("", WS_CHILD | WS_VISIBLE, {0, 0, width, height}, m_parent.m_hWnd, kButtonId));
    ASSERT_TRUE(pictured.Create("", WS_CHILD | WS_VISIBLE, {0, 40, width, 40 + height}, m_parent.m_hWnd, kButtonId + 1));
    pictured.SetBitmap(IDB_TEST_PICTURE, kWhite);
    pictured.SetSecondBitmap(IDB_TEST_PICTURE_DISABLED, kWhite);
    pictured.SetImageCentered(true);
    EXPECT_EQ(pictured.GetImageSize().cx, 8);

    if (Themed()) {
        // The light style's normal face is white inside; pushed in it is not, so a white corner shows.
        plain.SetStates(false, false, true);
        pictured.SetStates(false, false, true);
    }
    CCanvas without(width, height, kGreen), with(width, height, kGreen);
    Print(plain.m_hWnd, without);
    Print(pictured.m_hWnd, with);
    const int x = (width - 8) / 2, y = (height - 8) / 2;
    EXPECT_EQ(with.At(x, y), kNearWhite);
    EXPECT_EQ(with.At(x + 3, y + 3), kRed);
    // The white corners show what the button draws without a picture.
    for (POINT corner : {POINT{x + 7, y}, POINT{x, y + 7}, POINT{x + 7, y + 7}}) {
        EXPECT_EQ(Hex(with.At(corner.x, corner.y)), Hex(without.At(corner.x, corner.y))) << corner.x << "," << corner.y;
        EXPECT_NE(with.At(corner.x, corner.y), kWhite);
    }

    pictured.SetStates(false, false, false);
    EnableWindow(pictured.m_hWnd, FALSE);
    CCanvas disabled(width, height, kGreen);
    Print(pictured.m_hWnd, disabled);
    EXPECT_EQ(disabled.At(x + 3, y + 3), kBlue);
    EXPECT_EQ(disabled.At(x, y), kNearWhite);
}

TEST_P(ButtonsTest, UnchangedStatesDoNotRedraw)
{
    CThemedButton button;
    ASSERT_TRUE(button.Create("Other...", WS_CHILD | WS_VISIBLE, {10, 10, 90, 34}, m_parent.m_hWnd, kButtonId));
    UpdateWindow(m_parent.m_hWnd);
    Pump();
    const int drawn = button.GetDrawCount();
    EXPECT_GT(drawn, 0);
    button.SetStates(false, false, false);
    EXPECT_EQ(button.GetDrawCount(), drawn);
    button.SetStates(false, true, false);
    EXPECT_EQ(button.GetDrawCount(), drawn + 1);
    button.SetStates(false, true, false);
    EXPECT_EQ(button.GetDrawCount(), drawn + 1);
}

TEST_P(ButtonsTest, ColorButtonOpensFromItsArrowOnlyNeverFromTheKeyboard)
{
    CColorButton button;
    ASSERT_TRUE(button.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, {10, 10, 110, 32}, m_parent.m_hWnd, kButtonId));
    HWND hwnd = button.m_hWnd;
    SetFocus(m_parent.m_hWnd);
    // The swatch: nothing, and the button does not take the focus.
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 11));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 11));
    Pump();
    EXPECT_EQ(m_parent.clicks, 0);
    EXPECT_NE(GetFocus(), hwnd);
    // The space bar on the focused button: nothing.
    SetFocus(hwnd);
    for (UINT msg : {WM_KEYDOWN, WM_CHAR, WM_KEYUP})
        SendMessageA(hwnd, msg, VK_SPACE, msg == WM_KEYUP ? 0xC0390001 : 0x00390001);
    Pump();
    EXPECT_EQ(m_parent.clicks, 0);
    // The arrow (the right-hand square, 2 pixels in): one click, and the focus.
    SetFocus(m_parent.m_hWnd);
    SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(90, 11));
    SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(90, 11));
    Pump();
    EXPECT_EQ(m_parent.clicks, 1);
    EXPECT_EQ(GetFocus(), hwnd);

    // The pointer over the arrow makes it hot where styles are usable.
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(90, 11));
    EXPECT_EQ(button.IsArrowHot(), Themed());
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(20, 11));
    EXPECT_FALSE(button.IsArrowHot());
    EXPECT_EQ(button.IsHot(), Themed());
    SendMessageA(hwnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.IsHot());
}

TEST_P(ButtonsTest, ColorButtonShowsItsColourAutomaticAndThePushedInArrow)
{
    const int width = 100, height = 22;
    CColorButton button;
    ASSERT_TRUE(button.Create(WS_CHILD | WS_VISIBLE, {0, 0, width, height}, m_parent.m_hWnd, kButtonId));
    const POINT swatch = {30, 11};
    struct Case {
        COLORREF color;
        bool face;
        COLORREF shown;
    };
    const Case cases[] = {
        {kGreen, false, kGreen},
        {static_cast<COLORREF>(-1), false, GetSysColor(COLOR_WINDOWTEXT)},
        {static_cast<COLORREF>(-1), true, GetSysColor(COLOR_BTNFACE)},
    };
    for (const Case& c : cases) {
        button.SetColor(c.color);
        button.SetAutomaticIsFace(c.face);
        CCanvas canvas(width, height, kWhite);
        Print(button.m_hWnd, canvas);
        EXPECT_EQ(Hex(canvas.At(swatch.x, swatch.y)), Hex(c.shown));
    }

    // A caption shortens the swatch to a square and is drawn after it.
    button.SetColor(kGreen);
    button.SetCaption("Auto");
    CCanvas captioned(width, height, kWhite);
    Print(button.m_hWnd, captioned);
    EXPECT_NE(captioned.At(swatch.x + 10, swatch.y), kGreen);
    EXPECT_EQ(captioned.At(8, swatch.y), kGreen);

    if (!Themed()) {
        // Classic: the arrow square's top-left edge is light when raised, shadow when pushed in.
        CCanvas raised(width, height, kWhite), pushed(width, height, kWhite);
        Print(button.m_hWnd, raised);
        button.SetPressed(true);
        EXPECT_TRUE(button.IsPressed());
        Print(button.m_hWnd, pushed);
        const int arrowLeft = width - 2 - (height - 4);
        EXPECT_EQ(Hex(raised.At(arrowLeft, 5)), Hex(GetSysColor(COLOR_BTNHIGHLIGHT)));
        EXPECT_EQ(Hex(pushed.At(arrowLeft, 5)), Hex(GetSysColor(COLOR_BTNSHADOW)));
    }
}

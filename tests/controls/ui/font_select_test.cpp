// The default-font dialog on real windows: "Auto" heads the colour list and gives -1, a palette
// colour comes back as chosen, "Use Default" ends with OK and the caller's default font, and F1 asks
// the dialog's own topic.
#include <windows.h>

#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <vector>

#include "controls/ui/font_select.h"
#include "controls/ui/font_select_res.h"
#include "framework/ui/app.h"
#include "framework/ui/context_help.h"
#include "tests/support/gui_driver.h"

namespace {

class CHelpRecorder : public CWinApp {
public:
    void ShowHelp(DWORD helpId) override { m_last = helpId; }
    std::atomic<DWORD> m_last{0};
};

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendMessageA(hwnd, msg, wParam, lParam);
}

std::string ItemText(HWND combo, int index)
{
    std::vector<char> text(static_cast<size_t>(Send(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index))) + 1);
    Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

LOGFONTA FontOf(const char* face, LONG height)
{
    LOGFONTA font = {};
    font.lfHeight = height;
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, face, LF_FACESIZE);
    return font;
}

// A named callback: the 32-bit API wants a stdcall function, which a lambda does not convert to.
int CALLBACK TakeFirstTrueTypeFace(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM data)
{
    if (!(type & TRUETYPE_FONTTYPE) || font->lfFaceName[0] == '@')
        return 1;
    *reinterpret_cast<std::string*>(data) = font->lfFaceName;
    return 0;
}

// The first TrueType face of the system, so that the dialog has something to select.
std::string SomeFace()
{
    std::string face;
    HDC dc = GetDC(nullptr);
    LOGFONTA any = {};
    any.lfCharSet = ANSI_CHARSET;
    EnumFontFamiliesExA(dc, &any, TakeFirstTrueTypeFace, reinterpret_cast<LPARAM>(&face), 0);
    ReleaseDC(nullptr, dc);
    return face;
}

struct DialogRun {
    CFontSelect& dialog;
    std::atomic<INT_PTR> result{0};
    gui::CGuiThread ui;
    HWND window = nullptr;
    explicit DialogRun(CFontSelect& d) : dialog(d), ui([this] { result = dialog.DoModal(); })
    {
        window = gui::WaitForTopWindow("Font");
    }
};

}  // namespace

TEST(FontSelect, AutoHeadsTheColourListAndAPaletteColourComesBackAsChosen)
{
    CHelpRecorder app;
    const std::string face = SomeFace();
    ASSERT_FALSE(face.empty());
    CFontSelect dialog(FontOf(face.c_str(), -12), RGB(0, 0, 0), true);
    DialogRun run(dialog);
    ASSERT_NE(run.window, nullptr);
    HWND combo = gui::FindControl(run.window, 1139);
    ASSERT_NE(combo, nullptr);
    const int count = static_cast<int>(Send(combo, CB_GETCOUNT));
    EXPECT_EQ(ItemText(combo, 0), "Auto");
    EXPECT_EQ(ItemText(combo, count - 1), "Custom");
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 0) << "automatic selects Auto";
    HWND button = gui::FindControl(run.window, IDC_FONT_COLOR_BUTTON);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(IsWindowVisible(button));
    EXPECT_FALSE(IsWindowVisible(gui::FindControl(run.window, IDC_FONT_SELECT_COLOR)));

    // F1 over the Use Default button: the dialog's topic; over the colour button: the combo's.
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = IDC_FONT_USE_DEFAULT;
    info.hItemHandle = gui::FindControl(run.window, IDC_FONT_USE_DEFAULT);
    Send(run.window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(app.m_last.load(), kHelpIdResource + IDD_FONT_SELECT);
    info.iCtrlId = IDC_FONT_COLOR_BUTTON;
    info.hItemHandle = button;
    Send(run.window, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(app.m_last.load(), kHelpIdControl + 1139);

    // A palette entry (the second after Auto) chosen in the list.
    const auto wanted = static_cast<COLORREF>(Send(combo, CB_GETITEMDATA, 2));
    Send(combo, CB_SETCURSEL, 2);
    Send(run.window, WM_COMMAND, MAKEWPARAM(1139, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    ASSERT_TRUE(gui::ClickButton(run.window, IDOK));
    ASSERT_TRUE(run.ui.Join());
    EXPECT_EQ(run.result.load(), IDOK);
    EXPECT_FALSE(dialog.IsAutomatic());
    EXPECT_EQ(dialog.GetColor(), wanted);
    EXPECT_EQ(std::string(dialog.GetLogFont().lfFaceName), face);
}

TEST(FontSelect, UseDefaultEndsWithOkTheDefaultFontAndAutomaticColour)
{
    const std::string face = SomeFace();
    ASSERT_FALSE(face.empty());
    CFontSelect dialog(FontOf(face.c_str(), -20), RGB(200, 0, 0), false);
    dialog.m_defaultFont = FontOf("Pinned Face", -12);
    DialogRun run(dialog);
    ASSERT_NE(run.window, nullptr);
    HWND combo = gui::FindControl(run.window, 1139);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), Send(combo, CB_GETCOUNT) - 1) << "a set colour selects Custom";
    EXPECT_EQ(static_cast<COLORREF>(Send(combo, CB_GETITEMDATA, Send(combo, CB_GETCOUNT) - 1)), RGB(200, 0, 0));
    ASSERT_TRUE(gui::ClickButton(run.window, IDC_FONT_USE_DEFAULT));
    ASSERT_TRUE(run.ui.Join());
    EXPECT_EQ(run.result.load(), IDOK);
    EXPECT_TRUE(dialog.UsedDefault());
    EXPECT_EQ(dialog.GetColor(), static_cast<COLORREF>(-1));
    EXPECT_STREQ(dialog.GetLogFont().lfFaceName, "Pinned Face");
    EXPECT_EQ(dialog.GetLogFont().lfHeight, -12);
}

// The calendar drop-down run modally on a thread of its own: it opens on the date, hangs from the
// anchor (right edge at its x, top at its y) at W + 10 by H + OK height + 15 around the calendar's
// minimum size, with OK and Cancel in three equal gaps; OK gives the chosen date, Cancel none; near
// a screen edge it stays in the work area.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>
#include <atomic>
#include <memory>

#include "controls/ui/calendar_dlg.h"
#include "resources/calendar_dlg_res.h"
#include "tests/support/gui_driver.h"

namespace {

RECT ScreenRect(HWND hwnd)
{
    RECT rect = {};
    GetWindowRect(hwnd, &rect);
    return rect;
}

RECT WorkArea()
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

class CalendarTest : public ::testing::Test {
protected:
    // Runs the dialog opened on `date` from the anchor; waits for its window.
    void Open(std::int32_t date, int top, int right)
    {
        m_ui = std::make_unique<gui::CGuiThread>([this, date, top, right] {
            CCalendarDlg dialog;
            CDate opening;
            opening.SetValue(date);
            dialog.SetDate(opening);
            dialog.SetPosition(top, right);
            m_result = static_cast<int>(dialog.DoModal());
            m_chosen = dialog.GetDate().GetValue();
        });
        ASSERT_TRUE(gui::WaitFor([&] {
            m_window = FindCalendar();
            return m_window != nullptr;
        }));
        m_calendar = GetDlgItem(m_window, IDC_CALENDAR_MONTH);
    }
    static HWND FindCalendar()
    {
        for (HWND hwnd = FindWindowExA(nullptr, nullptr, "#32770", nullptr); hwnd;
             hwnd = FindWindowExA(nullptr, hwnd, "#32770", nullptr)) {
            if (GetDlgItem(hwnd, IDC_CALENDAR_MONTH) && IsWindowVisible(hwnd))
                return hwnd;
        }
        return nullptr;
    }
    SYSTEMTIME Selection() const
    {
        SYSTEMTIME selection = {};
        SendMessageA(m_calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selection));
        return selection;
    }
    bool Close(int button)
    {
        return gui::ClickButton(m_window, button) && m_ui->Join();
    }

    std::unique_ptr<gui::CGuiThread> m_ui;
    HWND m_window = nullptr;
    HWND m_calendar = nullptr;
    std::atomic<int> m_result{0};
    std::atomic<std::int32_t> m_chosen{0};
};

}  // namespace

TEST_F(CalendarTest, HangsFromTheAnchorAroundTheCalendarsMinimumSize)
{
    Open(20240312, 100, 400);
    SYSTEMTIME opened = Selection();
    EXPECT_EQ(opened.wYear, 2024);
    EXPECT_EQ(opened.wMonth, 3);
    EXPECT_EQ(opened.wDay, 12);

    RECT minimum = {};
    ASSERT_TRUE(SendMessageA(m_calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&minimum)));
    int w = minimum.right - minimum.left;
    int h = minimum.bottom - minimum.top;
    HWND ok = GetDlgItem(m_window, IDOK);
    HWND cancel = GetDlgItem(m_window, IDCANCEL);
    RECT okRect = ScreenRect(ok);
    RECT cancelRect = ScreenRect(cancel);
    RECT window = ScreenRect(m_window);
    EXPECT_EQ(window.right, 400);
    EXPECT_EQ(window.top, 100);
    EXPECT_EQ(window.right - window.left, w + 10);
    EXPECT_EQ(window.bottom - window.top, h + (okRect.bottom - okRect.top) + 15);

    RECT calendar = ScreenRect(m_calendar);
    EXPECT_EQ(calendar.right - calendar.left, w);
    EXPECT_EQ(calendar.bottom - calendar.top, h);
    // Children stand in client coordinates: measure from the client area's origin.
    POINT origin = {0, 0};
    ClientToScreen(m_window, &origin);
    EXPECT_EQ(calendar.top - origin.y, 5);
    EXPECT_EQ(okRect.top - origin.y, h + 10);
    EXPECT_EQ(cancelRect.top, okRect.top);
    int width = w + 10;
    int gap = (width - (okRect.right - okRect.left) - (cancelRect.right - cancelRect.left)) / 3;
    EXPECT_EQ(okRect.left - origin.x, gap);
    EXPECT_EQ(cancelRect.left - origin.x, width - (cancelRect.right - cancelRect.left) - gap);

    SYSTEMTIME chosen = {};
    chosen.wYear = 2024;
    chosen.wMonth = 3;
    chosen.wDay = 20;
    ASSERT_TRUE(SendMessageA(m_calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&chosen)));
    ASSERT_TRUE(Close(IDOK));
    EXPECT_EQ(m_result, IDOK);
    EXPECT_EQ(m_chosen, 20240320);
}

TEST_F(CalendarTest, CancelGivesNoDate)
{
    Open(20240312, 100, 400);
    SYSTEMTIME other = {};
    other.wYear = 2025;
    other.wMonth = 1;
    other.wDay = 2;
    SendMessageA(m_calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&other));
    ASSERT_TRUE(Close(IDCANCEL));
    EXPECT_EQ(m_result, IDCANCEL);
    EXPECT_EQ(m_chosen, 20240312) << "the date stays the one opened on";
}

TEST_F(CalendarTest, NearTheScreensEdgeItStaysInTheWorkArea)
{
    RECT area = WorkArea();
    Open(20240312, area.bottom - 20, area.left + 30);
    RECT window = ScreenRect(m_window);
    EXPECT_GE(window.left, area.left);
    EXPECT_LE(window.bottom, area.bottom);
    EXPECT_LE(window.right, area.right);
    EXPECT_GE(window.top, area.top);
    ASSERT_TRUE(Close(IDCANCEL));
}

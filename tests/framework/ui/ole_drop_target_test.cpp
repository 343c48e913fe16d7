// The OLE drop target as OLE calls it: registration needs OLE on the thread, the handlers get the
// window and client points, answers are limited to what the source allows, and the dragged object
// is held exactly from enter to leave or drop.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/ui/frame_wnd.h"
#include "framework/ui/ole_drop_target.h"
#include "tests/support/test_data_object.h"

namespace {

const UINT kOtherFormat = CF_BITMAP;

class CRecordingTarget : public COleDropTarget {
public:
    DWORD OnDragEnter(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override
    {
        Note("enter", wnd, point);
        return data.IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY | DROPEFFECT_MOVE : DROPEFFECT_NONE;
    }
    DWORD OnDragOver(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override
    {
        Note("over", wnd, point);
        return data.IsDataAvailable(CF_TEXT) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    }
    void OnDragLeave(HWND wnd) override { Note("leave", wnd, {0, 0}); }
    DWORD OnDrop(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override
    {
        Note("drop", wnd, point);
        if (!data.GetGlobalBytes(CF_TEXT, m_dropped))
            return DROPEFFECT_NONE;
        return DROPEFFECT_COPY;
    }

    std::vector<std::string> m_events;
    HWND m_lastWindow = nullptr;
    POINT m_lastPoint = {};
    std::string m_dropped;

private:
    void Note(const char* event, HWND wnd, POINT point)
    {
        m_events.push_back(event);
        m_lastWindow = wnd;
        m_lastPoint = point;
    }
};

class OleDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_ole.IsOk());
        ASSERT_TRUE(m_frame.Create("Drop target", 0));
        m_frame.ShowWindow(SW_SHOW);
        ASSERT_TRUE(m_target.Register(m_frame.m_hWnd));
    }
    void TearDown() override { m_target.Revoke(); }

    POINTL ScreenPoint(int x, int y) const
    {
        POINT point = {x, y};
        ClientToScreen(m_frame.m_hWnd, &point);
        return {point.x, point.y};
    }

    COleInit m_ole;
    CFrameWnd m_frame;
    CRecordingTarget m_target;
};

}  // namespace

TEST_F(OleDropTest, HandlersGetClientPointsAndAnswersAreLimitedToTheAllowedEffects)
{
    EXPECT_FALSE(m_target.Register(m_frame.m_hWnd)) << "one registration per target";
    CTestDataObject text = CTestDataObject::Text("dropped words");
    IDropTarget* target = &m_target;

    DWORD effect = DROPEFFECT_COPY;
    ASSERT_EQ(target->DragEnter(&text, MK_LBUTTON, ScreenPoint(30, 40), &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY)) << "MOVE is not allowed by the source";
    EXPECT_EQ(m_target.m_lastWindow, m_frame.m_hWnd);
    EXPECT_EQ(m_target.m_lastPoint.x, 30);
    EXPECT_EQ(m_target.m_lastPoint.y, 40);
    EXPECT_GT(text.References(), 1u) << "the object is held during the drag";

    effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragOver(MK_LBUTTON, ScreenPoint(35, 45), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(m_target.m_lastPoint.x, 35);

    effect = DROPEFFECT_COPY;
    target->Drop(&text, 0, ScreenPoint(36, 46), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_STREQ(m_target.m_dropped.c_str(), "dropped words");
    EXPECT_EQ(text.References(), 1u) << "released after the drop";

    std::vector<std::string> expected = {"enter", "over", "drop"};
    EXPECT_EQ(m_target.m_events, expected);
}

TEST_F(OleDropTest, OtherDataIsRefusedAndLeavingReleasesTheObject)
{
    CTestDataObject picture(kOtherFormat, "not text");
    IDropTarget* target = &m_target;
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target->DragEnter(&picture, MK_LBUTTON, ScreenPoint(5, 5), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, ScreenPoint(6, 6), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target->DragLeave();
    EXPECT_EQ(picture.References(), 1u);

    effect = DROPEFFECT_COPY;
    target->Drop(&picture, 0, ScreenPoint(6, 6), &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)) << "a drop that read nothing reports no effect";
    EXPECT_EQ(target->DragEnter(&picture, 0, ScreenPoint(0, 0), nullptr), E_INVALIDARG);
}

TEST(OleDropTarget, RegistrationNeedsAWindowAndEndsWithTheTarget)
{
    COleInit ole;
    ASSERT_TRUE(ole.IsOk());
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create("Short-lived target", 0));
    {
        CRecordingTarget target;
        EXPECT_FALSE(target.Register(nullptr));
        ASSERT_TRUE(target.Register(frame.m_hWnd));
        EXPECT_EQ(target.GetWindow(), frame.m_hWnd);
    }
    // The destructor revoked it: the window can take a new target.
    CRecordingTarget next;
    EXPECT_TRUE(next.Register(frame.m_hWnd));
    next.Revoke();
}

// Owners free their handle exactly once and only while they own it; views never free; the selection
// guard puts back what the DC held.
#include <windows.h>

#include <gtest/gtest.h>
#include <utility>

#include "framework/ui/gdi.h"

namespace {

bool IsGdiObject(HGDIOBJ object)
{
    // GetObjectType answers 0 for a handle that was deleted.
    return GetObjectType(object) != 0;
}

}  // namespace

TEST(Gdi, OwnersFreeOnceAndViewsNever)
{
    HPEN raw = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    {
        CPen pen(raw);
        { CPenHandle view(pen); }
        EXPECT_TRUE(IsGdiObject(raw)) << "a view does not free";
        CPen moved(std::move(pen));
        EXPECT_EQ(pen.Get(), nullptr);
        EXPECT_EQ(moved.Get(), raw);
    }
    EXPECT_FALSE(IsGdiObject(raw)) << "the owner freed it";

    HBRUSH kept = CreateSolidBrush(RGB(4, 5, 6));
    {
        CBrush brush(kept);
        EXPECT_EQ(brush.Release(), kept);
    }
    EXPECT_TRUE(IsGdiObject(kept)) << "released, not freed";
    CBrush again;
    again.Reset(kept);
    HBRUSH replacement = CreateSolidBrush(RGB(7, 8, 9));
    again = CBrush(replacement);
    EXPECT_FALSE(IsGdiObject(kept)) << "replaced and freed";
    EXPECT_TRUE(IsGdiObject(replacement));
}

TEST(Gdi, MenusAndImageListsAreFreedByTheirOwners)
{
    HMENU raw = CreatePopupMenu();
    {
        CMenu menu(raw);
        CMenuHandle view(menu);
        EXPECT_TRUE(IsMenu(view));
    }
    EXPECT_FALSE(IsMenu(raw));

    CImageList list(ImageList_Create(16, 16, ILC_COLOR24, 1, 1));
    ASSERT_NE(list.Get(), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 0);
}

TEST(Gdi, SelectionGuardPutsThePreviousObjectBack)
{
    CMemoryDC dc;
    ASSERT_NE(static_cast<HDC>(dc), nullptr);
    HGDIOBJ original = GetCurrentObject(dc, OBJ_PEN);
    CPen red(CreatePen(PS_SOLID, 2, RGB(255, 0, 0)));
    CBrush blue(CreateSolidBrush(RGB(0, 0, 255)));
    {
        CSelectObject pen(dc, red);
        CSelectObject brush(dc, blue);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), static_cast<HGDIOBJ>(red.Get()));
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), original);
    EXPECT_NE(GetCurrentObject(dc, OBJ_BRUSH), static_cast<HGDIOBJ>(blue.Get()));
}

// Where small popups go: item tips laid over a list item and the calendar dropped below a date
// field. Pure arithmetic on screen rectangles, so that the rules are tested without windows.
#pragma once

struct PopupRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PopupRect& other) const
    {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

// Moves `rect` horizontally into `area`: left by what passes the area's right edge, then right by
// what lies left of its left edge (so a rect wider than the area starts at the area's left).
PopupRect ClampHorizontally(PopupRect rect, const PopupRect& area);

// Moves `rect` into `area` on both axes by the same rule (left and top edges win).
PopupRect ClampIntoArea(PopupRect rect, const PopupRect& area);

// True when `index` names one of `count` list items. List boxes answer indexes that are not items
// (LB_ITEMFROMPOINT of an empty list, an item deleted under a tip).
inline bool IsListItem(int index, int count) { return index >= 0 && index < count; }

// The calendar drop-down: a month calendar of minimum size W x H above an OK and a Cancel button.
struct CalendarLayout {
    PopupRect window;  // screen
    int calendarLeft = 0, calendarTop = 0;  // client
    int buttonTop = 0, okLeft = 0, cancelLeft = 0;  // client
};

// The dialog is W + 10 wide and H + the OK height + 15 high, its right edge at `anchorRight` and its
// top at `anchorTop`; the calendar centred at y 5; the buttons at y H + 10 in three equal gaps.
// The window is then kept inside `workArea`.
CalendarLayout LayOutCalendar(int calendarWidth, int calendarHeight, int okWidth, int okHeight, int cancelWidth,
                              int anchorRight, int anchorTop, const PopupRect& workArea);

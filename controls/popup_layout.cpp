#include "controls/popup_layout.h"

PopupRect ClampHorizontally(PopupRect rect, const PopupRect& area)
{
    if (rect.right > area.right) {
        int excess = rect.right - area.right;
        rect.left -= excess;
        rect.right -= excess;
    }
    if (rect.left < area.left) {
        int shortfall = area.left - rect.left;
        rect.left += shortfall;
        rect.right += shortfall;
    }
    return rect;
}

PopupRect ClampIntoArea(PopupRect rect, const PopupRect& area)
{
    rect = ClampHorizontally(rect, area);
    if (rect.bottom > area.bottom) {
        int excess = rect.bottom - area.bottom;
        rect.top -= excess;
        rect.bottom -= excess;
    }
    if (rect.top < area.top) {
        int shortfall = area.top - rect.top;
        rect.top += shortfall;
        rect.bottom += shortfall;
    }
    return rect;
}

CalendarLayout LayOutCalendar(int calendarWidth, int calendarHeight, int okWidth, int okHeight, int cancelWidth,
                              int anchorRight, int anchorTop, const PopupRect& workArea)
{
    CalendarLayout layout;
    int width = calendarWidth + 10;
    int height = calendarHeight + okHeight + 15;
    layout.window = ClampIntoArea({anchorRight - width, anchorTop, anchorRight, anchorTop + height}, workArea);
    layout.calendarLeft = (width - calendarWidth) / 2;
    layout.calendarTop = 5;
    layout.buttonTop = calendarHeight + 10;
    int gap = (width - okWidth - cancelWidth) / 3;
    layout.okLeft = gap;
    layout.cancelLeft = width - cancelWidth - gap;
    return layout;
}

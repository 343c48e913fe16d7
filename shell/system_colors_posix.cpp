#include "shell/system_colors.h"

// Without a window system the window text is black.
uint32_t SystemWindowTextColor()
{
    return 0;
}

#include "shell/system_colors.h"

#include <windows.h>

uint32_t SystemWindowTextColor()
{
    return GetSysColor(COLOR_WINDOWTEXT);
}

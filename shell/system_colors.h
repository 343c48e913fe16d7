// The system's window-text colour (COLOR_WINDOWTEXT), which stands in for an automatic colour.
#pragma once
#include <cstdint>

uint32_t SystemWindowTextColor();

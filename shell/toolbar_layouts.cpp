#include "shell/toolbar_layouts.h"

const ToolBarLayout kToolBarLayouts[kToolBarCount] = {
    {127, "Standard", {{277, 278, 279}, {272, 273, 274}}, 18, -1, -1},
    // The small Tools bar takes its hot images from 381 and its disabled ones from 380.
    {377, "Tools", {{379, 381, 380}, {382, 383, 384}}, 2, 8, 8},
    {167, "Format", {{321, 322, 323}, {324, 325, 326}}, 13, 2, 5},
    {253, "Browse", {{315, 316, 317}, {318, 319, 320}}, 2, 4, 4},
};

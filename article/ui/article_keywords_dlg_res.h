// Layout of the Keywords for Article dialog, in dialog units, shared by its template and the lists
// the dialog creates in place (they are created, not taken from the template).
#pragma once
#include "resources/article_res.h"

#define KWD_GROUPS_X 7
#define KWD_LISTS_Y 30
#define KWD_LIST_HEIGHT 140
#define KWD_GROUPS_WIDTH 90
#define KWD_AVAILABLE_X 107
#define KWD_LIST_WIDTH 100
#define KWD_ASSIGNED_X 247

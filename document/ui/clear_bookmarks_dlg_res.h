// Resource ids of the Clear Bookmarked Title List dialog.
#pragma once

#define IDD_CLEAR_BOOKMARKS 157
#define IDC_STATIC_CLEAR_BOOKMARKS_TEXT 1051

// Resource numbers of the index window: the pictures of the title marks and of the header buttons'
// sort arrows, the grips' arrows, the cursors of the dividers and of keyword drags, and the lists'
// context menus.
#pragma once

#define IDB_MARK_BOOKMARK 196
#define IDB_MARK_ATTACHMENT 197
#define IDB_MARK_LINK 374
#define IDB_MARK_PRIVATE 376
#define IDB_MARK_REMINDER 408
#define IDB_SORT_ASCENDING 257
#define IDB_SORT_DESCENDING 258
#define IDB_SORT_NONE 259

// The grips' arrows (6 x 16): hide the pane at their left (pointing left), or show it.
#define IDI_GRIP_HIDE 303
#define IDI_GRIP_SHOW 304

#define IDC_SPLIT_COLUMNS 146
#define IDC_SPLIT_PREVIEW 239
#define IDC_DRAG_ONE 171
#define IDC_DRAG_SEVERAL 172

#define IDR_INDEX_LIST_MENU 148
#define IDR_SELECTED_LIST_MENU 149
#define IDR_TITLE_LIST_MENU 150
#define IDR_GROUP_LIST_MENU 400

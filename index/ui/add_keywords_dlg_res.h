// Resource ids and layout of the Add Keywords To Index dialog, in dialog units. The keyword and group
// lists are created by the dialog in place, at the rectangles below.
#pragma once

#define IDD_ADD_KEYWORDS 136

#define IDC_ADDKW_NEW 1044
#define IDC_ADDKW_EXISTING 1037
#define IDC_ADDKW_EXISTING_LABEL 1036
#define IDC_ADDKW_NEW_KEYWORDS 1001
#define IDC_ADDKW_NEW_KEYWORDS_LABEL 1000
#define IDC_ADDKW_GROUPS 1422
#define IDC_ADDKW_GROUPS_LABEL 1459
#define IDC_ADDKW_CLEAR 1046
#define IDC_ADDKW_DELETE 1047
#define IDC_ADDKW_SHOW_GROUPS 1013
#define IDC_ADDKW_GRIP 57670

#define ADDKW_LISTS_Y 46
#define ADDKW_LIST_W 110
#define ADDKW_LIST_H 150
#define ADDKW_EXISTING_X 7
#define ADDKW_NEW_X 124
#define ADDKW_GROUPS_X 241
// The groups pane's width: the buttons move right by it when the pane shows.
#define ADDKW_PANE_W 117
#define ADDKW_BUTTONS_X 241

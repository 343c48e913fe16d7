// Resource ids and layout of the keyword dialogs of the index window. The owner-drawn lists are
// created by the dialogs in place, at the dialog-unit rectangles below.
#pragma once

#define IDD_DELETE_KEYWORDS 147
#define IDD_ASSIGN_KEYWORDS 173
#define IDD_DELETE_UNUSED_KEYWORDS 177
#define IDD_EDIT_KEYWORD 180
#define IDD_MERGE_KEYWORD_INTO 249
#define IDD_MERGE_KEYWORD 269
#define IDD_ASSIGN_KEYWORD_GROUPS 1692

// Delete Keywords.
#define IDC_DELETE_KEYWORDS_LIST 1000
#define IDC_DELETE_KEYWORDS_LABEL 1044
// Delete Unused Keywords.
#define IDC_DELETE_UNUSED_KEYWORDS_LIST 1001
// Assign Keywords to Articles and to Keyword Groups: the question with its "%s".
#define IDC_ASSIGN_QUESTION 1339
// Edit Keyword.
#define IDC_EDIT_KEYWORD_ADD 1002
#define IDC_EDIT_KEYWORD_REMOVE 1003
#define IDC_EDIT_KEYWORD_MEMBERSHIP 1038
#define IDC_EDIT_KEYWORD_NAME 1044
#define IDC_EDIT_KEYWORD_AVAILABLE 1422
#define IDC_EDIT_KEYWORD_AVAILABLE_LABEL 1459
#define IDC_EDIT_KEYWORD_MEMBERSHIP_LABEL 1463
// Merge Keyword: the choice of the target and the confirmation.
#define IDC_MERGE_SOURCE 1337
#define IDC_MERGE_TARGETS 1037
#define IDC_MERGE_FROM 1361
#define IDC_MERGE_INTO 1362

// Edit Keyword: the available list at the left, the membership list at the right.
#define EDKW_AVAILABLE_X 7
#define EDKW_MEMBERSHIP_X 150
#define EDKW_LIST_Y 40
#define EDKW_LIST_W 110
#define EDKW_LIST_H 120
// Merge Keyword: the list under "Into:".
#define MRGKW_LIST_X 7
#define MRGKW_LIST_Y 36
#define MRGKW_LIST_W 180
#define MRGKW_LIST_H 120

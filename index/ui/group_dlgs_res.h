// Resource ids and layout of the keyword-group dialogs. The owner-drawn lists are created by the
// dialogs in place, at the dialog-unit rectangles below (shared with the templates' labels).
#pragma once

#define IDD_SELECT_KEYWORD_GROUP 399
#define IDD_MANAGE_KEYWORD_GROUPS 1685
#define IDD_MERGE_INTO_GROUP 1686
#define IDD_KEYWORD_GROUP 1688
#define IDD_MERGE_KEYWORD_GROUP 1689
#define IDD_DELETE_KEYWORD_GROUPS 1690
#define IDD_DELETE_UNUSED_GROUPS 1691

#define IDC_GROUPS_LIST 1422
#define IDC_GROUPS_MERGE_SOURCE 1337
#define IDC_GROUPS_MERGE_TARGETS 1037
#define IDC_GROUPS_MERGE_FROM 1424
#define IDC_GROUPS_MERGE_INTO 1425
#define IDC_GROUPS_DELETE_LABEL 1044
#define IDC_GROUPS_NAME 1423
#define IDC_GROUPS_AVAILABLE_LABEL 1458
#define IDC_GROUPS_AVAILABLE 1037
#define IDC_GROUPS_INCLUDED_LABEL 1019
#define IDC_GROUPS_INCLUDED 1038
#define IDC_GROUPS_INCLUDE 1039
#define IDC_GROUPS_EXCLUDE 1040
#define IDC_GROUPS_CLEAR 1042
#define IDC_GROUPS_SELECT_ALL 1043
#define IDC_GROUPS_NEW 1001
#define IDC_GROUPS_EDIT 1002
#define IDC_GROUPS_DELETE 1004
#define IDC_GROUPS_MERGE 1006
#define IDC_GROUPS_CLOSE 32829

// Select a Keyword Group: the list.
#define SELGRP_LIST_X 7
#define SELGRP_LIST_Y 7
#define SELGRP_LIST_W 130
#define SELGRP_LIST_H 120
// Merge Keyword Group (the choice): the list under "Into:".
#define MRGGRP_LIST_X 7
#define MRGGRP_LIST_Y 34
#define MRGGRP_LIST_W 150
#define MRGGRP_LIST_H 110
// Keyword Group: the two keyword lists.
#define KWGRP_LISTS_Y 48
#define KWGRP_LIST_W 120
#define KWGRP_LIST_H 150
#define KWGRP_AVAILABLE_X 14
#define KWGRP_INCLUDED_X 184
// Manage Keyword Groups: the list.
#define MNGGRP_LIST_X 7
#define MNGGRP_LIST_Y 18
#define MNGGRP_LIST_W 150
#define MNGGRP_LIST_H 150

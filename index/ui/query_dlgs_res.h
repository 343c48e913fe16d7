// Ids of the query dialogs: Build Query, Manage Queries, Save Query and Select Query to Run. The
// keyword list of Build Query is created by the dialog in place (BQ_LIST_*, dialog units).
#pragma once

#define IDD_BUILD_QUERY 131
#define IDD_MANAGE_QUERIES 1668
#define IDD_SAVE_QUERY 1669
#define IDD_SELECT_QUERY 1670

// Alt+O in the query and keyword dialogs: accept whatever has the focus.
#define IDR_DIALOG_KEYS 390
#define IDM_DIALOG_ACCEPT 33016

// Build Query.
#define IDC_BQ_INDEX_LABEL 1036
#define IDC_BQ_KEYWORDS 1037
#define IDC_BQ_OPERATORS 1080
#define IDC_BQ_AND 1081
#define IDC_BQ_OR 1082
#define IDC_BQ_NOT 1083
#define IDC_BQ_OPEN 1084
#define IDC_BQ_CLOSE 1005
#define IDC_BQ_BOOKMARKED 1006
#define IDC_BQ_NOKEYS 1007
#define IDC_BQ_ATTACHMENTS 1008
#define IDC_BQ_GROUP 1013
#define IDC_BQ_QUERY_LABEL 1086
#define IDC_BQ_QUERY 1085
#define IDC_BQ_DATES 1167
#define IDC_BQ_FROM_LABEL 1168
#define IDC_BQ_TO_LABEL 1169
#define IDC_BQ_OK 1052
#define IDC_BQ_CLEAR 1009
#define IDC_BQ_UNDO 1010
#define IDC_BQ_PREVIOUS 1011
#define IDC_BQ_SAVE 1012

#define BQ_LIST_X 7
#define BQ_LIST_Y 18
#define BQ_LIST_WIDTH 110
#define BQ_LIST_HEIGHT 150

// Shared by the three saved-query dialogs.
#define IDC_QUERY_TEXT 1238
#define IDC_QUERY_FROM 1069
#define IDC_QUERY_TO 1070

// Manage Queries.
#define IDC_MQ_LIST 1232
#define IDC_MQ_NEW 1001
#define IDC_MQ_EDIT 1002
#define IDC_MQ_DELETE 1004
#define IDC_MQ_RENAME 1005
#define IDC_MQ_RUN 1006

// Save Query and Select Query to Run.
#define IDC_SQ_NAME 1333
#define IDC_SQ_LIST 1336
#define IDC_SQ_RUN_COMMAND 1090

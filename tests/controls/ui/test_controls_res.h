// Ids of the shared-controls tests' dialogs and controls.
#pragma once

#define IDD_TEST_TIPS 3501
#define IDD_TEST_EDITS 3502

#define IDC_TEST_TIP_LIST 3601
#define IDC_TEST_PLAIN_BUTTON 3602
#define IDC_TEST_HELP_BUTTON 3603
#define IDC_TEST_EDIT 3604
#define IDC_TEST_WORDS 3605
#define IDC_TEST_INSERT 3606
#define IDC_TEST_TREE 3607
#define IDC_TEST_TIME 3608
#define IDC_TEST_DATE 3609
#define IDC_TEST_DATE_OPTIONAL 3610
#define IDC_TEST_AFTER 3611

// 8 x 8 on white: a 4 x 4 red square (blue in the disabled one) from (2, 2) and one near-white
// pixel (254, 255, 255) at (0, 0).
#define IDB_TEST_PICTURE 3701
#define IDB_TEST_PICTURE_DISABLED 3702

// Ids of the progress dialog.
#pragma once

#define IDD_PROGRESS 178
#define IDC_PROGRESS_BAR 1093
#define IDC_PROGRESS_TEXT 1094

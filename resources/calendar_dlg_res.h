// Ids of the calendar drop-down.
#pragma once

#define IDD_CALENDAR 1693
#define IDC_CALENDAR_MONTH 1430

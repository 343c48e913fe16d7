// Resource ids shared by the resource scripts and the code. Kinds by prefix: IDR_ (menus, icons and
// accelerators of a frame), IDS_ (strings), IDD_ (dialogs), IDC_ (controls), IDM_ (commands).
#pragma once

#define IDR_MAINFRAME 127

#define IDS_APP_NAME 57344

// The Save dialogs for copies of the data file.
#define IDS_DATA_FILE_FILTER 143
#define IDS_SAVE_BACKUP_AS 5200
#define IDS_COPY_FILE_TO 5210

// Messages of the framework's data exchange.
#define IDS_DDX_INTEGER 61700
#define IDS_DDX_INTEGER_RANGE 61701

// The article pane's status-bar texts.
#define IDS_ARTICLE_CONTENT 11052
#define IDS_LINK_STATUS_FOLDER 11060
#define IDS_LINK_STATUS_FILE 11061
#define IDS_LINK_STATUS_URL 11062
#define IDS_LINK_STATUS_ARTICLE 11063

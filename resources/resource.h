// Resource ids shared by the resource scripts and the code. Kinds by prefix: IDR_ (menus, icons and
// accelerators of a frame), IDS_ (strings), IDD_ (dialogs), IDC_ (controls), IDM_ (commands).
#pragma once

#define IDR_MAINFRAME 127

#define IDS_APP_NAME 57344

// Messages of the framework's data exchange.
#define IDS_DDX_INTEGER 61700
#define IDS_DDX_INTEGER_RANGE 61701

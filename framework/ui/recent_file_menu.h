// Shows the File menu's recent-file list in a menu: the items of commands 57616.. are replaced by one
// item per entry, or by a grayed "Recent File" while the list is empty.
#pragma once
#include <windows.h>

class CRecentFileList;

// Finds the popup (at any depth) holding a recent-file command and rebuilds its items there;
// nothing when `menu` has no such popup.
void ApplyRecentFilesToMenu(HMENU menu, const CRecentFileList& list);

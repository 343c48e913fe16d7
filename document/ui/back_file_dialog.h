// The Save dialogs that name a copy of the open data file: "Save Backup As" (backups, and the backup
// before an older file is converted) and "Copy File To". Both offer data files only, add ".xrd" to a
// typed name, want an existing folder and ask before replacing a file. Set m_initialDir, run DoModal,
// read m_fileName after IDOK.
#pragma once
#include "framework/ui/file_dialog.h"

class CBackFileDialog : public CFileDialog {
public:
    explicit CBackFileDialog(HWND owner = nullptr);
};

class CCopyFileDlg : public CFileDialog {
public:
    explicit CCopyFileDlg(HWND owner = nullptr);
};

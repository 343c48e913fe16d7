// The dialogs met when a data file of another format is opened: "Convert File" for an older file,
// and the two "More Recent File Format Encountered" dialogs for a newer one.
#pragma once
#include <string>

#include "controls/ui/icon_dialog.h"

// After IDOK, m_option: 0 convert, 1 back up then convert, 2 open read-only.
class CConvertFileDlg : public CDialog {
public:
    explicit CConvertFileDlg(HWND parent = nullptr);
    int m_option = 1;

protected:
    void DoDataExchange(CDataExchange& dx) override;
};

// "Get Upgrade Info" opens the maker's upgrade page, or says where it is when no browser opens.
void OpenUpgradePage(HWND owner);

// A file that cannot be read: the message names the program's version; the file is never opened.
class CNewerFormatDlg : public CIconDialog {
public:
    explicit CNewerFormatDlg(HWND parent = nullptr);
    std::string m_versionText;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
};

// A file that can be read with losses: ends with 3 (open anyway), 4 (copy and open), 5 (open
// read-only) or IDCANCEL.
class CNewerFormatOpenDlg : public CIconDialog {
public:
    explicit CNewerFormatOpenDlg(HWND parent = nullptr);
    std::string m_versionText;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
};

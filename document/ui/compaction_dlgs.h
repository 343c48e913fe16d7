// The three dialogs of compaction and conversion: the question whether an older file may be
// converted while it is compacted, "Damaged Articles Found" (a file for the articles that could only
// be read in part) and the "Damaged File Report".
#pragma once
#include <string>

#include "controls/ui/icon_dialog.h"

class CDirectories;

// IDYES or IDNO; the focus starts on No.
class CCompactConvertDlg : public CIconDialog {
public:
    explicit CCompactConvertDlg(HWND parent = nullptr);
    std::string m_path;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
};

// IDOK with m_damagedPath set (or empty when the user chose to discard the damaged articles).
class CDamagedArticlesDlg : public CDialog {
public:
    explicit CDamagedArticlesDlg(CDirectories* directories, HWND parent = nullptr);
    int m_mode = 1;  // 1 compacting, else converting
    std::string m_destination;
    std::string m_damagedPath;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    void OnOK() override;

private:
    void ChooseFile();
    CDirectories* m_directories;
};

class CDamagedFileReportDlg : public CIconDialog {
public:
    explicit CDamagedFileReportDlg(HWND parent = nullptr);
    int m_mode = 1;  // 1 compaction, else conversion
    std::string m_report;

protected:
    bool OnInitDialog() override;
};

// The Save dialog of File > New: "New File", data files only, ".xrd" added to a typed name, an
// existing folder, a question before an existing file is replaced, and no test file created.
#pragma once
#include "framework/ui/file_dialog.h"

class CGetNewFileNameDlg : public CFileDialog {
public:
    // OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHOWHELP | OFN_PATHMUSTEXIST | OFN_NOTESTFILECREATE.
    static constexpr DWORD kFlags = 0x10816;

    explicit CGetNewFileNameDlg(HWND owner = nullptr);
};

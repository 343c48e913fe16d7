#include "document/ui/back_file_dialog.h"

#include <commdlg.h>

#include "framework/string_table.h"
#include "resources/resource.h"

namespace {
// The file dialog adds OFN_EXPLORER, OFN_HIDEREADONLY and OFN_NOCHANGEDIR itself.
void SetUpCopyDialog(CFileDialog& dialog, int titleId)
{
    dialog.m_title = QuorLoadString(titleId);
    dialog.m_filter = QuorLoadString(IDS_DATA_FILE_FILTER);
    dialog.m_defaultExt = "xrd";
    dialog.m_flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT;
}
}  // namespace

CBackFileDialog::CBackFileDialog(HWND owner) : CFileDialog(false, owner)
{
    SetUpCopyDialog(*this, IDS_SAVE_BACKUP_AS);
}

CCopyFileDlg::CCopyFileDlg(HWND owner) : CFileDialog(false, owner)
{
    SetUpCopyDialog(*this, IDS_COPY_FILE_TO);
}

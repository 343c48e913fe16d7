#include "shell/ui/get_new_file_name_dlg.h"

#include "framework/string_table.h"
#include "resources/resource.h"

CGetNewFileNameDlg::CGetNewFileNameDlg(HWND owner) : CFileDialog(false, owner)
{
    m_title = QuorLoadString(IDS_NEW_FILE);
    m_filter = QuorLoadString(IDS_DATA_FILE_FILTER);
    m_defaultExt = "xrd";
    m_flags = kFlags;
}

#include "framework/ui/recent_file_menu.h"

#include <string>

#include "framework/recent_file_list.h"
#include "framework/string_table.h"
#include "resources/resource.h"

namespace {

bool IsRecentCommand(UINT id)
{
    return id >= kFirstRecentFileCommand && id <= kLastRecentFileCommand;
}

// The popup holding a recent-file command and that command's position in it.
HMENU FindRecentPopup(HMENU menu, int& position)
{
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        // GetMenuItemID answers -1 (as UINT) for a popup.
        if (IsRecentCommand(GetMenuItemID(menu, i))) {
            position = i;
            return menu;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            if (HMENU found = FindRecentPopup(sub, position))
                return found;
        }
    }
    return nullptr;
}

}  // namespace

void ApplyRecentFilesToMenu(HMENU menu, const CRecentFileList& list)
{
    if (!menu)
        return;
    int position = 0;
    HMENU popup = FindRecentPopup(menu, position);
    if (!popup)
        return;
    for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
        if (IsRecentCommand(GetMenuItemID(popup, i)))
            DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
    }
    if (list.GetSize() == 0) {
        const std::string text = QuorLoadString(IDS_RECENT_FILE_NONE);
        InsertMenuA(popup, static_cast<UINT>(position), MF_BYPOSITION | MF_STRING | MF_GRAYED, kFirstRecentFileCommand,
                    text.c_str());
        return;
    }
    for (int i = 0; i < list.GetSize(); ++i) {
        const std::string text = list.MenuText(i);
        InsertMenuA(popup, static_cast<UINT>(position + i), MF_BYPOSITION | MF_STRING,
                    kFirstRecentFileCommand + static_cast<UINT>(i), text.c_str());
    }
}

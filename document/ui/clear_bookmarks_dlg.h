// "Clear Bookmarked Title List": the question with the list's size, the focus on No so that an
// Enter pressed without reading keeps the list. IDOK (Yes) clears it; No and Esc keep it.
#pragma once
#include <string>

#include "controls/ui/icon_dialog.h"

class CClearBookmarksDlg : public CIconDialog {
public:
    explicit CClearBookmarksDlg(HWND parent = nullptr);
    std::string m_text;

protected:
    bool OnInitDialog() override;
};

// The Acknowledgements dialog of the About box: one read-only text.
#pragma once
#include "framework/ui/dialog.h"

class CAcknowledgementsDlg : public CDialog {
public:
    explicit CAcknowledgementsDlg(HWND parent = nullptr);

protected:
    bool OnInitDialog() override;
};

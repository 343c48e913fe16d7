// A dialog that draws a standard system icon at (10, 10) of its client area whenever it paints.
#pragma once
#include "framework/ui/dialog.h"

class CIconDialog : public CDialog {
public:
    // `icon`: a system icon id (IDI_QUESTION, IDI_ASTERISK...).
    CIconDialog(int templateId, LPCSTR icon, HWND parent) : CDialog(templateId, parent), m_icon(icon) {}

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    LPCSTR m_icon;
};

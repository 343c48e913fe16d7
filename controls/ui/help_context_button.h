// A push button that names one fixed help topic in context-help mode (Shift+F1), whatever point of
// it is clicked, instead of the topic of its control id. Its owner creates or subclasses it like any
// push button.
#pragma once
#include "framework/ui/context_help.h"
#include "framework/ui/controls.h"

class CHelpContextButton : public CButton {
public:
    enum : DWORD { kHelpContext = 4104 };

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg != kHelpHitTestMessage)
            return false;
        result = kHelpContext;
        return true;
    }
};

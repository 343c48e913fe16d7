// The rich-text control (RichEdit 2.0, class "RichEdit20A") with its text streamed in and out as
// whole strings.
#pragma once
#include <windows.h>
#include <richedit.h>

#include <string>

#include "framework/ui/subclassed_wnd.h"
#include "framework/ui/wnd_handle.h"

// Loads riched20.dll once for the life of the process; false when it is missing.
bool LoadRichEdit();

// Creates a RichEdit 2.0 control as child `id` of `parent`; nullptr on failure.
HWND CreateRichEdit(HWND parent, int id, const RECT& rect, DWORD style);

// `format` is SF_RTF or SF_TEXT, optionally with SFF_SELECTION. False when the control reported
// a stream error.
bool RichEditStreamIn(HWND edit, int format, const std::string& data);
std::string RichEditStreamOut(HWND edit, int format);

template <class Base>
class CRichEditT : public Base {
public:
    using Base::Base;

    bool StreamIn(int format, const std::string& data) const { return RichEditStreamIn(this->m_hWnd, format, data); }
    std::string StreamOut(int format) const { return RichEditStreamOut(this->m_hWnd, format); }
    // Sets the text limit (the control's default is 32767 characters).
    void LimitText(int characters) const { this->SendMessage(EM_EXLIMITTEXT, 0, characters); }
};

using CRichEditHandle = CRichEditT<CWndHandle>;
using CRichEditCtrl = CRichEditT<CSubclassedWnd>;

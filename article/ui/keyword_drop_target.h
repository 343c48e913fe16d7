// The drop target of an article window's keyword list: text dragged onto it (a keyword from another
// program, or a name typed somewhere) is assigned to the article when the file holds a keyword of
// that name. Only the text up to its first line end counts; no keyword is created.
#pragma once
#include "framework/ui/ole_drop_target.h"

class CKeywordDropTarget : public COleDropTarget {
public:
    CKeywordDropTarget() = default;

    // Copy when the data offers plain text (CF_TEXT), else nothing.
    DWORD OnDragEnter(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;
    DWORD OnDragOver(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;
    // Hands the text to the article view that holds the registered window; copy when it was handed on.
    DWORD OnDrop(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;
};

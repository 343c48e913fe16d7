// What the main frame and its Format bar need of the active article view: the selection's colours
// and face, and the text control that has the keyboard. The article view implements it; the frame
// finds it as the active view of an article window.
#pragma once
#include <windows.h>

#include <string>

class IFormatTarget {
public:
    virtual ~IFormatTarget() = default;
    // Colours are COLORREF values; -1 is automatic.
    virtual COLORREF GetSelectionColor() = 0;
    virtual void SetSelectionColor(COLORREF color) = 0;
    virtual COLORREF GetHighlightColor() = 0;
    virtual void SetHighlightColor(COLORREF color) = 0;
    virtual void SetSelectionFace(const std::string& face) = 0;
    virtual void SetSelectionSize(int twips) = 0;
    // The rich edit that has the keyboard when it is the article's content, else null.
    virtual HWND GetActiveContent() = 0;
    // Whether the open data file may be changed.
    virtual bool CanModify() = 0;
    // Gives the keyboard back to the view.
    virtual void FocusView() = 0;
};

// List box messages as methods. CListBoxHandle only borrows the control; CListBox also subclasses it,
// for list boxes with behaviour of their own (owner drawing through reflected WM_DRAWITEM, drags).
#pragma once
#include <string>

#include "framework/ui/subclassed_wnd.h"
#include "framework/ui/wnd_handle.h"

template <class Base>
class CListBoxT : public Base {
public:
    using Base::Base;

    // Index of the new item; LB_ERR or LB_ERRSPACE (negative) on failure.
    int AddString(const std::string& text) const { return Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    int InsertString(int index, const std::string& text) const
    {
        return Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    }
    int DeleteString(int index) const { return Send(LB_DELETESTRING, static_cast<WPARAM>(index), 0); }
    void ResetContent() const { Send(LB_RESETCONTENT, 0, 0); }
    int GetCount() const { return Send(LB_GETCOUNT, 0, 0); }
    // LB_ERR (-1) when nothing is selected.
    int GetCurSel() const { return Send(LB_GETCURSEL, 0, 0); }
    // -1 clears the selection; LB_ERR then is not a failure.
    int SetCurSel(int index) const { return Send(LB_SETCURSEL, static_cast<WPARAM>(index), 0); }
    int GetTopIndex() const { return Send(LB_GETTOPINDEX, 0, 0); }
    std::string GetText(int index) const
    {
        int length = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0)
            return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        int copied = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        return text;
    }
    LPARAM GetItemData(int index) const
    {
        return static_cast<LPARAM>(this->SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index), 0));
    }
    bool SetItemData(int index, LPARAM data) const { return Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data) != LB_ERR; }
    bool GetItemRect(int index, RECT* rect) const
    {
        return Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)) != LB_ERR;
    }
    // The item under client point (x, y), or -1 when the point is below the last item.
    int ItemFromPoint(int x, int y) const
    {
        LRESULT answer = this->SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
        return HIWORD(answer) ? -1 : static_cast<int>(LOWORD(answer));
    }

private:
    int Send(UINT msg, WPARAM wParam, LPARAM lParam) const
    {
        return static_cast<int>(this->SendMessage(msg, wParam, lParam));
    }
};

using CListBoxHandle = CListBoxT<CWndHandle>;
using CListBox = CListBoxT<CSubclassedWnd>;

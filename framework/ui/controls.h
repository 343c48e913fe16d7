// Messages of the common controls as methods. Each wrapper is a template over its base: over
// CWndHandle it only borrows the control (CEditHandle), over CSubclassedWnd it also subclasses it
// for behaviour of its own (CEdit). Return values are the control's own (see each comment).
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/ui/subclassed_wnd.h"
#include "framework/ui/wnd_handle.h"

template <class Base>
class CButtonT : public Base {
public:
    using Base::Base;
    // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
    int GetCheck() const { return static_cast<int>(this->SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) const { this->SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
};

template <class Base>
class CEditT : public Base {
public:
    using Base::Base;
    // Selects characters first to last; (0, -1) selects all.
    void SetSel(int first, int last) const { this->SendMessage(EM_SETSEL, static_cast<WPARAM>(first), last); }
    void ReplaceSel(const std::string& text, bool canUndo = true) const
    {
        this->SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void LimitText(int characters) const { this->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(characters)); }
    bool GetModify() const { return this->SendMessage(EM_GETMODIFY) != 0; }
    void SetModify(bool modified = true) const { this->SendMessage(EM_SETMODIFY, modified); }
    void SetReadOnly(bool readOnly = true) const { this->SendMessage(EM_SETREADONLY, readOnly); }
};

template <class Base>
class CComboBoxT : public Base {
public:
    using Base::Base;
    // Index of the new item; CB_ERR or CB_ERRSPACE (negative) on failure.
    int AddString(const std::string& text) const
    {
        return static_cast<int>(this->SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
    }
    void ResetContent() const { this->SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(this->SendMessage(CB_GETCOUNT)); }
    // CB_ERR (-1) when nothing is selected.
    int GetCurSel() const { return static_cast<int>(this->SendMessage(CB_GETCURSEL)); }
    void SetCurSel(int index) const { this->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)); }
    LPARAM GetItemData(int index) const
    {
        return static_cast<LPARAM>(this->SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
    }
    bool SetItemData(int index, LPARAM data) const
    {
        return this->SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), data) != CB_ERR;
    }
};

template <class Base>
class CProgressCtrlT : public Base {
public:
    using Base::Base;
    void SetRange(int low, int high) const { this->SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
    // Answers the previous position.
    int SetPos(int position) const { return static_cast<int>(this->SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
    int GetPos() const { return static_cast<int>(this->SendMessage(PBM_GETPOS)); }
};

template <class Base>
class CUpDownCtrlT : public Base {
public:
    using Base::Base;
    void SetRange(int low, int high) const { this->SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
    int GetPos() const { return static_cast<int>(this->SendMessage(UDM_GETPOS32, 0, 0)); }
    void SetPos(int position) const { this->SendMessage(UDM_SETPOS32, 0, position); }
};

using CButtonHandle = CButtonT<CWndHandle>;
using CButton = CButtonT<CSubclassedWnd>;
using CEditHandle = CEditT<CWndHandle>;
using CEdit = CEditT<CSubclassedWnd>;
using CComboBoxHandle = CComboBoxT<CWndHandle>;
using CComboBox = CComboBoxT<CSubclassedWnd>;
using CProgressCtrlHandle = CProgressCtrlT<CWndHandle>;
using CUpDownCtrlHandle = CUpDownCtrlT<CWndHandle>;

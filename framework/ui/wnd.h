// The object bound to a window. One map ties a window to its object: the object's pointer in the
// window's GWLP_USERDATA slot, which only the framework uses. The bases that own a window procedure
// (CCustomWnd for windows of our classes, CDialog for dialogs and property pages, CSubclassedWnd for
// controls) bind when the first message they own arrives and unbind on WM_NCDESTROY; messages before
// binding go to the default procedure. This class decodes the messages every kind of window shares
// into virtual handlers: each returns true when it handled the message and writes the result.
#pragma once
#include <windows.h>

#include "framework/cmd_target.h"
#include "framework/ui/wnd_handle.h"

class CWnd : public CWndHandle, public CCmdTarget {
public:
    CWnd() = default;
    // Unbinds first, so no message of the window being destroyed reaches a half-destroyed object.
    ~CWnd() override;

    // The object bound to `hwnd`, or nullptr for windows without one.
    static CWnd* FromHandle(HWND hwnd);

    // The message loop offers each message to the object of its window and of every ancestor before
    // it is translated and dispatched; true means the message was used up.
    virtual bool PreTranslateMessage(MSG* msg) { return false; }

protected:
    void Bind(HWND hwnd);
    void Unbind();

    // Decodes `msg` into the handlers below and reflects a child control's notifications to the
    // child's object first. Returns true when a handler handled it.
    bool Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // The procedure this window's messages go to when no handler takes them.
    virtual LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // Binds, dispatches, calls the default procedure and unbinds on WM_NCDESTROY; the shared body of
    // the window procedures of CCustomWnd and CSubclassedWnd. Catches every exception.
    static LRESULT RouteMessage(CWnd* self, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // On WM_NCDESTROY, after the default procedure: unbinds, then calls OnFinalMessage.
    void EndOfWindow();

    virtual bool OnCreate(CREATESTRUCTA* create, LRESULT& result) { return false; }
    // WM_COMMAND: `code` is 0 for a menu item, 1 for an accelerator, else the control's notification.
    virtual bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) { return false; }
    virtual bool OnNotify(NMHDR* header, LRESULT& result) { return false; }
    virtual bool OnSize(UINT type, int width, int height, LRESULT& result) { return false; }
    virtual bool OnTimer(UINT_PTR id, LRESULT& result) { return false; }
    virtual bool OnClose(LRESULT& result) { return false; }
    virtual bool OnDestroy(LRESULT& result) { return false; }
    virtual bool OnInitMenuPopup(HMENU popup, UINT index, bool isWindowMenu, LRESULT& result) { return false; }
    // Every other message; a derived class overrides this with its own switch.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // A notification the parent reflected to this control: WM_COMMAND, WM_NOTIFY, WM_DRAWITEM,
    // WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM and WM_CTLCOLOR*, with the parent's arguments.
    // Return true to stop there; return false (also after acting) to let the parent handle it too.
    virtual bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
    // After WM_NCDESTROY, once unbound: an object that owns itself deletes itself here.
    virtual void OnFinalMessage() {}

private:
    bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
};


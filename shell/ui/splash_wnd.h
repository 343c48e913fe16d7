// The splash window: the program's picture with its version, shown at start-up for two seconds (then
// the start-up goes on with command 101), and as the About box, which stays until a key or a click
// and offers the Acknowledgements. A click on the home-page line opens the home page.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "framework/ui/custom_wnd.h"

class CSplashWnd : public CCustomWnd {
public:
    static constexpr UINT_PTR kTimerId = 1;
    static constexpr UINT kTimerMs = 250;
    static constexpr DWORD kStartupMs = 2000;
    static constexpr unsigned kContinueCommand = 101;
    // Click areas in client coordinates, the picture's own layout.
    static constexpr RECT kHomePageArea = {289, 174, 423, 190};
    static constexpr RECT kAcknowledgementsArea = {330, 254, 423, 270};

    CSplashWnd() = default;
    ~CSplashWnd() override;

    // Data in.
    std::string m_versionText;
    bool m_portable = false;
    HFONT m_interfaceFont = nullptr;  // the program's interface font; the default GUI font when null
    // Told true when the window opens and false when it closes (the application's splash-showing flag).
    std::function<void(bool)> m_onShowing;
    // The splash closed (start-up flag "splash finished").
    std::function<void()> m_onFinished;
    // Opens the home page; by default the guarded link opener.
    std::function<void(const std::string&)> m_onOpenLink;
    // Runs the Acknowledgements dialog; by default CAcknowledgementsDlg.
    std::function<void(HWND)> m_onAcknowledgements;

    // Creates and shows the window over `mainWnd` (About mode: centred on it, no time-out) or over the
    // desktop (start-up: closes after two seconds, posting command 101 to `mainWnd` when
    // `continueAfter`).
    bool Show(bool aboutMode, bool continueAfter, HWND mainWnd);
    bool IsAboutMode() const { return m_seconds < 0; }
    // A start file that did not open after all: the start-up goes on when the splash closes.
    void SetContinue(bool on) { m_continue = on; }

    // True once two seconds have passed since `start`. Elapsed ticks, unsigned: a wrap of the tick
    // count in between never holds the splash.
    static bool IsTimeUp(DWORD start, DWORD now) { return now - start >= kStartupMs; }

protected:
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    bool OnTimer(UINT_PTR id, LRESULT& result) override;
    bool OnClose(LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Paint();
    void OnLeftButton(POINT at);
    bool InArea(const RECT& area, POINT at) const;
    void FreeBitmap();

    int m_seconds = 2;
    bool m_continue = false;
    HWND m_mainWnd = nullptr;
    HPALETTE m_palette = nullptr;
    HBITMAP m_bitmap = nullptr;
    BITMAP m_bitmapInfo = {};
    UINT_PTR m_timer = 0;
    DWORD m_start = 0;
    bool m_closing = false;
};

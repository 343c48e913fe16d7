// The Welcome dialog at start-up when no data file opens: New File, Open File, Open Recent (with the
// recent files), Tutorial and Continue. It never does the work itself: it posts the chosen command to
// the main window and closes. Escape and the close box leave it open; Enter presses the focused
// button.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/dialog.h"

class CMainFrame;
class CThemedButton;

class CWelcomeDlg : public CDialog {
public:
    explicit CWelcomeDlg(HWND parent = nullptr);
    ~CWelcomeDlg() override;

    // Data in: the recent files (entry i runs command 57616 + i; empty entries are left out) and the
    // window the chosen command goes to. Data in and out: the "Show This Screen at Startup" check.
    std::vector<std::string> m_recentPaths;
    HWND m_commandTarget = nullptr;
    int m_showAtStartup = 1;

    // What the combo box shows for `path`: the path, or its file name when the path is wider than
    // `fits` allows.
    template <class Fits>
    static std::string RecentItemText(const std::string& path, Fits fits)
    {
        if (fits(path)) return path;
        const size_t slash = path.rfind('\\');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;

private:
    CMainFrame* MainFrame() const;
    void MakeRoomForPicture();
    void FillRecentFiles();
    void Choose(unsigned command);

    HBITMAP m_bitmap = nullptr;
    HPALETTE m_palette = nullptr;
    BITMAP m_bitmapInfo = {};
    std::vector<std::unique_ptr<CThemedButton>> m_buttons;
};

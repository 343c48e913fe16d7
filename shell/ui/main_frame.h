// The program's one top-level window: an MDI frame with four dockable toolbars and a status bar. It
// remembers which bars show and where, where the frame and the article windows sit, shows prompts,
// offers the colour menu and the Format bar's two colour drop-downs, and gives the other windows the
// active article view, the caption, hiding the bars and the placement of new article windows. The
// formatting commands belong to the active article view; the frame only greys them without one.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/ui/mdi_wnd.h"
#include "framework/ui/status_bar.h"
#include "shell/app_startup.h"
#include "shell/article_placement.h"
#include "shell/toolbar_layouts.h"

class CAppSettings;
class CControlBar;
class CFormatToolBar;
class CImageToolBar;
class CMainToolBar;
class CStandardToolBar;
class CToolBar;
class IBarStateProfile;
class IFormatTarget;
class IProfileStore;

// The open data file as the status bar sees it.
class IOpenFileState {
public:
    virtual ~IOpenFileState() = default;
    virtual bool IsFileOpen() = 0;
    virtual bool CanModify() = 0;
};

class CMainFrame : public CMDIFrameWnd {
public:
    static constexpr const char* kBarStateSection = "Toolbars\\Toolbars3";
    static constexpr const char* kOldBarStateSection = "Toolbars\\Toolbars";
    static constexpr UINT_PTR kStartupTimer = 411;

    // `profile` is the option store, `settings` the settings object; both outlive the frame.
    CMainFrame(IProfileStore& profile, CAppSettings& settings);
    ~CMainFrame() override;

    // Creates the frame from resource 127 with its bars; false when any part failed.
    bool LoadFrame();
    // Puts the frame where it was at the last close ("Quorvane Display"), when that place is on a
    // monitor, and shows it (maximised when it was).
    void RestoreAndShow(int showCommand);
    // Puts the frame at `placement` (the start-up decision) and shows it with its show command.
    void ShowAtPlacement(const MainWindowPlacement& placement);
    // The application's open data file (null: none ever opens).
    void SetOpenFileState(IOpenFileState* state) { m_openFile = state; }

    // ---- Operations for the other windows ----
    // The active article window's view, or null.
    IFormatTarget* GetActiveArticleView() const;
    void FocusArticleView();
    void ApplyFontFace(const std::string& face);
    // "<name> - Personal Quorvane", or "Personal Quorvane" alone for an empty name.
    void UpdateTitle(const std::string& name);
    // true hides the four toolbars; false shows each as its visible flag says.
    void HideToolBars(bool hide);
    bool IsBookmarkButtonChecked() const;
    void SetLastTextColor(COLORREF color);
    COLORREF GetCustomTextColor() const { return m_customTextColor; }
    void SetCustomTextColor(COLORREF color);
    void ApplyHighlight();
    void StoreArticleWindowSize(const RECT& rect);
    // Position and size (not edges) of the next article window in the MDI client.
    RECT GetNextArticleWindowRect();
    void KeepChildInClient(HWND child);
    // The keyword-list width of new article windows: the one last set by a window's splitter.
    int GetArticleKeywordWidth() const { return m_articleKeywordWidth; }
    void SetArticleKeywordWidth(int width) { m_articleKeywordWidth = width; }
    // Destroys and builds the four toolbars again (after the button size changed).
    void RecreateToolBars();
    // Whether the common controls draw flat toolbars.
    bool AllowsFlatBars() const { return m_flatBars; }
    // The active child frame may replace the prompt of command `id` (nothing while none is active).
    void SetChildCommandPrompt(unsigned id);
    // The active child is a maximised report window (the bars then keep their flags).
    bool IsReportWindowMaximized() const;
    // The stored width of the index window's keyword preview ("Divider").
    int GetDivider() const { return m_divider; }

    // A toolbar was shown or hidden: keeps its visible flag.
    void OnBarShown(ToolBarKind kind, bool visible);
    bool IsBarFlagSet(ToolBarKind kind) const { return m_barVisible[kind]; }
    bool IsStatusBarFlagSet() const { return m_statusBarVisible; }
    bool IsHighContrast() const { return m_highContrast; }

    CToolBar* GetToolBar(ToolBarKind kind) const;
    CFormatToolBar* GetFormatBar() const { return m_formatBar; }
    CStatusBar& GetStatusBar() { return m_statusBar; }
    HWND GetScratchRichEdit() const { return m_scratchEdit; }
    const RECT& GetNormalRect() const { return m_normalRect; }

    // ---- Dialogs over the frame ----
    // A dialog registers its window while it shows: messages for it and its controls then go through
    // its dialog keys (Tab, Enter, Escape, mnemonics) before the frame's accelerators, which would
    // otherwise take keys such as Ctrl+O from a modeless dialog. A destroyed dialog's registration
    // is dropped by the frame; the dialog also takes it back when its window goes.
    void RegisterDialog(HWND dialog);
    void UnregisterDialog(HWND dialog);
    bool IsDialogRegistered(HWND dialog) const;

    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;
    std::string GetMessageString(unsigned id) override;
    bool PreTranslateMessage(MSG* msg) override;

protected:
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    bool OnClose(LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;
    bool OnTimer(UINT_PTR id, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool CreateToolBars();
    void DestroyToolBars();
    void LoadBarLayout();
    void SaveBarState();
    void SaveWindowState();
    bool CreateStatusBar();
    void KeepNormalRect();
    IBarStateProfile& BarProfile();
    void DropDestroyedDialogs();

    void OnToggleBar(ToolBarKind kind);
    void OnViewToolbar() { OnToggleBar(kStandardBar); }
    void OnViewFormatBar() { OnToggleBar(kFormatBar); }
    void OnViewBrowseBar() { OnToggleBar(kBrowseBar); }
    void OnViewToolsBar() { OnToggleBar(kToolsBar); }
    void OnUpdateBarMenu(CCmdUI& ui);
    void OnViewStatusBar();
    void OnUpdateFormatFallback(CCmdUI& ui);
    void OnUpdateDisabledFallback(CCmdUI& ui);
    void OnTextColor();
    void OnColorCommand(unsigned id);
    void OnUpdateReadPane(CCmdUI& ui);
    void OnUpdateLinkPane(CCmdUI& ui);
    void OnUpdateOverwritePane(CCmdUI& ui);
    void OnAppExit();
    void OnWindowCommand(unsigned id);
    bool OnTextColorDropDown(const RECT& button);
    bool OnHighlightDropDown(const RECT& button);

    IProfileStore& m_profile;
    IOpenFileState* m_openFile = nullptr;
    CAppSettings& m_settings;
    std::unique_ptr<IBarStateProfile> m_barProfile;

    bool m_barVisible[kToolBarCount] = {true, false, true, true};
    bool m_statusBarVisible = true;
    bool m_highContrast = false;
    bool m_flatBars = true;
    bool m_statusIcons = true;
    bool m_barsHidden = false;
    int m_divider = 100;
    COLORREF m_customHighlightColor = 0xFFFFFF;
    COLORREF m_textColor = static_cast<COLORREF>(-1);
    COLORREF m_customTextColor = 0;
    HWND m_scratchEdit = nullptr;
    std::vector<HWND> m_dialogs;  // registered dialogs over the frame
    UINT_PTR m_startupTimer = 0;

    CStatusBar m_statusBar;
    CStandardToolBar* m_standardBar = nullptr;
    CFormatToolBar* m_formatBar = nullptr;
    CImageToolBar* m_browseBar = nullptr;
    CMainToolBar* m_toolsBar = nullptr;

    CArticlePlacement m_articlePlacement;
    int m_articleKeywordWidth = 100;
    RECT m_normalRect = {};
};

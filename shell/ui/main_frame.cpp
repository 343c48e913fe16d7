#include "shell/ui/main_frame.h"

#include <algorithm>
#include <commctrl.h>
#include <richedit.h>

#include "controls/ui/color_popup.h"
#include "controls/ui/dll_version.h"
#include "controls/ui/format_target.h"
#include "controls/ui/themed_button.h"
#include "framework/bar_state.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/dock_site.h"
#include "framework/ui/rich_edit.h"
#include "framework/ui/view.h"
#include "resources/commands.h"
#include "resources/main_frame_res.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/profile_store.h"
#include "shell/ui/format_tool_bar.h"
#include "shell/ui/tool_bars.h"

namespace {

constexpr const char kSection[] = "Quorvane";
constexpr const char kDisplaySection[] = "Quorvane Display";
constexpr int kScratchEditId = 1001;
constexpr COLORREF kAutomatic = static_cast<COLORREF>(-1);

// The bar state reads and writes through the option store.
class CProfileBarState : public IBarStateProfile {
public:
    explicit CProfileBarState(IProfileStore& store) : m_store(store) {}
    bool WriteInt(const std::string& section, const std::string& key, int value) override
    {
        return m_store.WriteInt(section, key, value);
    }
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override
    {
        return m_store.GetInt(section, key, defaultValue);
    }

private:
    IProfileStore& m_store;
};

bool ReadHighContrast()
{
    HIGHCONTRASTA contrast = {};
    contrast.cbSize = sizeof contrast;
    if (!SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0))
        return false;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

const COLORREF kColorMenu[16] = {
    0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0,
    0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
};

const unsigned kViewCommands[kToolBarCount] = {IDM_VIEW_TOOLBAR, IDM_VIEW_TOOLS_BAR, IDM_VIEW_FORMAT_BAR,
                                               IDM_VIEW_BROWSE_BAR};
const char* const kVisibleKeys[kToolBarCount] = {"Toolbar", "ToolsBar", "FormatToolbar", "BrowseBar"};
const int kVisibleDefaults[kToolBarCount] = {1, 0, 1, 1};

}  // namespace

CMainFrame::CMainFrame(IProfileStore& profile, CAppSettings& settings)
    : m_profile(profile), m_settings(settings), m_barProfile(std::make_unique<CProfileBarState>(profile))
{
}

CMainFrame::~CMainFrame()
{
    DestroyToolBars();
}

IBarStateProfile& CMainFrame::BarProfile()
{
    return *m_barProfile;
}

bool CMainFrame::LoadFrame()
{
    return Create(QuorLoadString(IDS_APP_NAME), IDR_MAINFRAME, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
}

CToolBar* CMainFrame::GetToolBar(ToolBarKind kind) const
{
    switch (kind) {
    case kStandardBar:
        return m_standardBar;
    case kToolsBar:
        return m_toolsBar;
    case kFormatBar:
        return m_formatBar;
    case kBrowseBar:
        return m_browseBar;
    default:
        return nullptr;
    }
}

// ---- Creation ----

bool CMainFrame::OnCreate(CREATESTRUCTA* create, LRESULT& result)
{
    CMDIFrameWnd::OnCreate(create, result);
    if (result == -1)
        return true;
    result = -1;
    const uint32_t version = GetDllVersion("comctl32.dll");
    m_flatBars = version > 0x00040045;
    m_statusIcons = version > 0x00040046;
    EnableDocking(kBarAlignAny);
    if (!CreateToolBars() || !CreateStatusBar())
        return true;

    LoadRichEdit();
    RECT scratch = {0, 0, 1000, 1000};
    m_scratchEdit = CreateRichEdit(m_hWnd, kScratchEditId, scratch, WS_CHILD | WS_DISABLED | ES_MULTILINE);
    if (m_scratchEdit) {
        ::SendMessageA(m_scratchEdit, EM_SETTARGETDEVICE, 0, 1);
        ::SendMessageA(m_scratchEdit, EM_EXLIMITTEXT, 0, 0xFFFFFF);
        ::SendMessageA(m_scratchEdit, EM_HIDESELECTION, TRUE, TRUE);
    }

    m_statusBarVisible = m_profile.GetInt(kSection, "StatusBar", 1) == 1;
    ShowControlBar(&m_statusBar, m_statusBarVisible);
    LoadBarLayout();

    const int unknown = CArticlePlacement::kUnknown;
    m_articlePlacement.SetSize(m_profile.GetInt(kDisplaySection, "ArtWidth", unknown),
                               m_profile.GetInt(kDisplaySection, "ArtHeight", unknown));
    m_divider = m_profile.GetInt(kDisplaySection, "Divider", 100);
    m_articlePlacement.Reset();
    m_highContrast = ReadHighContrast();
    m_startupTimer = SetTimer(kStartupTimer, 30000);
    m_customTextColor = static_cast<COLORREF>(m_settings.GetCustomTextColor());
    SetMessageText(GetIdlePrompt());
    result = 0;
    return true;
}

bool CMainFrame::CreateToolBars()
{
    m_standardBar = new CStandardToolBar(this);
    m_toolsBar = new CMainToolBar(this);
    m_formatBar = new CFormatToolBar(this);
    m_browseBar = new CImageToolBar(this);
    const int sizeMode = m_settings.GetToolbarButtonSize() ? 1 : 0;
    // Flat when the library allows it and the user keeps the choice; themed bars are always flat.
    const bool flat = m_flatBars && (m_settings.GetFlatToolbar() != 0 || CThemedButton::IsThemeActive());
    const DWORD toolbarStyle = flat ? (TBSTYLE_FLAT | TBSTYLE_TRANSPARENT) : 0;
    const DWORD style = WS_CHILD | WS_CLIPCHILDREN;
    const DWORD barStyle = kBarAlignTop | kBarBorderBottom | kBarToolTips | kBarFlyBy | kBarSizeDynamic;
    const int captions[kToolBarCount] = {IDS_BAR_STANDARD, IDS_BAR_TOOLS, IDS_BAR_FORMAT, IDS_BAR_BROWSE};
    for (int kind = 0; kind < kToolBarCount; ++kind) {
        auto* bar = static_cast<CMainFrameBar*>(GetToolBar(static_cast<ToolBarKind>(kind)));
        bar->SetSizeMode(sizeMode);
        if (!bar->Create(toolbarStyle, style, barStyle))
            return false;
        bar->SetWindowText(QuorLoadString(captions[kind]));
    }
    m_formatBar->SetTextColor(m_textColor);
    m_formatBar->SetHighlightColor(static_cast<COLORREF>(m_settings.GetHighlightColor()));
    m_formatBar->SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    for (unsigned id : {IDM_FORMAT_TEXT_COLOR, IDM_FORMAT_HIGHLIGHT}) {
        int index = m_formatBar->CommandToIndex(id);
        if (index >= 0)
            m_formatBar->SetButtonStyle(index, BTNS_BUTTON | BTNS_DROPDOWN);
    }
    int bookmark = m_standardBar->CommandToIndex(IDM_ARTICLE_BOOKMARK);
    if (bookmark >= 0)
        m_standardBar->SetButtonStyle(bookmark, BTNS_BUTTON | BTNS_CHECK);

    // Top or bottom only; first start: Standard then Tools on the first row, Format then Browse on
    // the second.
    CDockSite* site = GetDockSite();
    for (int kind = 0; kind < kToolBarCount; ++kind) {
        GetToolBar(static_cast<ToolBarKind>(kind))->EnableDocking(kBarAlignTop | kBarAlignBottom);
        m_barVisible[kind] = m_profile.GetInt(kSection, kVisibleKeys[kind], kVisibleDefaults[kind]) == 1;
    }
    for (int kind = 0; kind < kToolBarCount; ++kind)
        GetToolBar(static_cast<ToolBarKind>(kind))->ShowWindow(m_barVisible[kind] ? SW_SHOWNA : SW_HIDE);
    m_standardBar->SendMessage(TB_AUTOSIZE);
    site->DockBar(m_standardBar, DockSide::kTop, 0, 0);
    site->DockBarAfter(m_toolsBar, m_standardBar);
    site->DockBar(m_formatBar, DockSide::kTop, 1, 0);
    site->DockBarAfter(m_browseBar, m_formatBar);
    return true;
}

bool CMainFrame::CreateStatusBar()
{
    if (!m_statusBar.Create(this, WS_VISIBLE | SBARS_SIZEGRIP, kStatusBarId))
        return false;
    static const UINT kIndicators[] = {0, IDS_INDICATOR_LINK, IDS_INDICATOR_READ, kIndicatorOvr, kIndicatorCaps,
                                       kIndicatorNum};
    if (!m_statusBar.SetIndicators(kIndicators, 6))
        return false;
    if (m_statusIcons) {
        m_statusBar.SendMessage(SB_SIMPLE, FALSE);
        m_statusBar.SetPaneText(1, std::string());
        m_statusBar.SetPaneInfo(1, IDS_INDICATOR_LINK, 0, 26);
    }
    GetDockSite()->SetStatusBar(&m_statusBar);
    return true;
}

void CMainFrame::LoadBarLayout()
{
    CDockSite* site = GetDockSite();
    if (CDockSite::HasState(BarProfile(), kBarStateSection)) {
        site->LoadState(BarProfile(), kBarStateSection);
    } else {
        // First start (or a state saved by an older release): its bars keep their first-start
        // rows; Tools and Browse go right of Standard and Format.
        site->LoadState(BarProfile(), kOldBarStateSection);
        site->DockBarAfter(m_toolsBar, m_standardBar);
        site->DockBarAfter(m_browseBar, m_formatBar);
    }
    for (int kind = 0; kind < kToolBarCount; ++kind)
        m_barVisible[kind] = (GetToolBar(static_cast<ToolBarKind>(kind))->GetStyle() & WS_VISIBLE) != 0;
    RecalcLayout();
}

void CMainFrame::DestroyToolBars()
{
    CDockSite* site = GetDockSite();
    // Format, Standard, Browse, Tools.
    for (CToolBar** bar : {reinterpret_cast<CToolBar**>(&m_formatBar), reinterpret_cast<CToolBar**>(&m_standardBar),
                           reinterpret_cast<CToolBar**>(&m_browseBar), reinterpret_cast<CToolBar**>(&m_toolsBar)}) {
        if (!*bar)
            continue;
        if (site)
            site->RemoveBar(*bar);
        HWND hwnd = (*bar)->m_hWnd;
        (*bar)->Unsubclass();
        if (hwnd && ::IsWindow(hwnd))
            ::DestroyWindow(hwnd);
        delete *bar;
        *bar = nullptr;
    }
}

void CMainFrame::RecreateToolBars()
{
    CMDIChildWnd* child = MDIGetActive();
    const bool restore = child && IsReportWindowMaximized();
    if (restore) {
        SendMessage(WM_SETREDRAW, FALSE);
        ::SendMessageA(GetMDIClient(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
    }
    SaveBarState();
    DestroyToolBars();
    CreateToolBars();
    LoadBarLayout();
    if (m_standardBar)
        m_standardBar->SendMessage(TB_AUTOSIZE);
    RecalcLayout();
    if (restore) {
        ::SendMessageA(GetMDIClient(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child->m_hWnd), 0);
        SendMessage(WM_SETREDRAW, TRUE);
        child->Invalidate();
    }
    RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

// ---- Closing ----

void CMainFrame::SaveBarState()
{
    if (CDockSite* site = GetDockSite())
        site->SaveState(BarProfile(), kBarStateSection);
}

bool CMainFrame::OnClose(LRESULT& result)
{
    // The open file is saved first; when that fails and the user keeps it, the program stays.
    if (CWinApp* app = CWinApp::Current(); app && !app->SaveAllModified()) {
        result = 0;
        return true;
    }
    HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    SaveBarState();
    SetCursor(old);
    return false;  // the frame closes
}

void CMainFrame::SaveWindowState()
{
    for (int kind = 0; kind < kToolBarCount; ++kind)
        m_profile.WriteInt(kSection, kVisibleKeys[kind], m_barVisible[kind] ? 1 : 0);
    m_profile.WriteInt(kSection, "StatusBar", m_statusBarVisible ? 1 : 0);
    if (IsRectEmpty(&m_normalRect)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        if (GetWindowPlacement(m_hWnd, &placement))
            m_normalRect = placement.rcNormalPosition;
    }
    m_profile.WriteInt(kDisplaySection, "Top", m_normalRect.top);
    m_profile.WriteInt(kDisplaySection, "Left", m_normalRect.left);
    m_profile.WriteInt(kDisplaySection, "Width", m_normalRect.right - m_normalRect.left);
    m_profile.WriteInt(kDisplaySection, "Height", m_normalRect.bottom - m_normalRect.top);
    // Show commands: SW_SHOWMAXIMIZED or SW_SHOWNORMAL.
    m_profile.WriteInt(kDisplaySection, "Maximized", IsZoomed(m_hWnd) ? 3 : 1);
    m_profile.WriteInt(kDisplaySection, "ArtHeight", m_articlePlacement.Height());
    m_profile.WriteInt(kDisplaySection, "ArtWidth", m_articlePlacement.Width());
    m_profile.WriteInt(kDisplaySection, "Divider", m_divider);
}

bool CMainFrame::OnDestroy(LRESULT& result)
{
    SaveWindowState();
    if (m_scratchEdit && ::IsWindow(m_scratchEdit))
        ::DestroyWindow(m_scratchEdit);
    m_scratchEdit = nullptr;
    DestroyToolBars();
    if (CDockSite* site = GetDockSite())
        site->RemoveBar(&m_statusBar);
    return CMDIFrameWnd::OnDestroy(result);
}

// ---- Window state ----

void CMainFrame::KeepNormalRect()
{
    if (!IsIconic(m_hWnd) && !IsZoomed(m_hWnd))
        m_normalRect = GetWindowRect();
}

bool CMainFrame::OnSize(UINT type, int width, int height, LRESULT& result)
{
    CMDIFrameWnd::OnSize(type, width, height, result);
    if (type == SIZE_RESTORED)
        KeepNormalRect();
    return true;
}

bool CMainFrame::OnTimer(UINT_PTR id, LRESULT& result)
{
    if (id == kStartupTimer && m_startupTimer) {
        // The start-up windows (splash, tip, welcome) have finished by the first tick.
        KillTimer(kStartupTimer);
        m_startupTimer = 0;
    }
    return false;
}

void CMainFrame::RestoreAndShow(int showCommand)
{
    const int width = m_profile.GetInt(kDisplaySection, "Width", 0);
    const int height = m_profile.GetInt(kDisplaySection, "Height", 0);
    RECT stored = {m_profile.GetInt(kDisplaySection, "Left", 0), m_profile.GetInt(kDisplaySection, "Top", 0), 0, 0};
    stored.right = stored.left + width;
    stored.bottom = stored.top + height;
    // A stored place is used only when its caption lies on a monitor: the values may be stale.
    POINT caption = {stored.left + width / 2, stored.top + 8};
    if (width >= 100 && height >= 50 && MonitorFromPoint(caption, MONITOR_DEFAULTTONULL)) {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        GetWindowPlacement(m_hWnd, &placement);
        placement.rcNormalPosition = stored;
        placement.showCmd = SW_HIDE;
        SetWindowPlacement(m_hWnd, &placement);
        m_normalRect = stored;
    }
    const bool maximized = m_profile.GetInt(kDisplaySection, "Maximized", 1) == 3;
    ShowWindow(maximized && showCommand != SW_SHOWMINNOACTIVE && showCommand != SW_SHOWMINIMIZED
                   ? SW_SHOWMAXIMIZED
                   : showCommand);
    KeepNormalRect();
    UpdateWindow();
}

void CMainFrame::ShowAtPlacement(const MainWindowPlacement& placement)
{
    WINDOWPLACEMENT place = {};
    place.length = sizeof place;
    GetWindowPlacement(m_hWnd, &place);
    place.rcNormalPosition = {placement.left, placement.top, placement.left + placement.width,
                              placement.top + placement.height};
    place.showCmd = SW_HIDE;
    SetWindowPlacement(m_hWnd, &place);
    m_normalRect = place.rcNormalPosition;
    ShowWindow(placement.showCommand);
    KeepNormalRect();
    UpdateWindow();
}

void CMainFrame::UpdateTitle(const std::string& name)
{
    std::string app = QuorLoadString(IDS_APP_NAME);
    SetWindowText(name.empty() ? app : name + " - " + app);
}

// ---- Bars ----

void CMainFrame::OnBarShown(ToolBarKind kind, bool visible)
{
    if (!m_barsHidden)
        m_barVisible[kind] = visible;
}

void CMainFrame::HideToolBars(bool hide)
{
    m_barsHidden = hide;
    for (int kind = 0; kind < kToolBarCount; ++kind) {
        CToolBar* bar = GetToolBar(static_cast<ToolBarKind>(kind));
        if (bar)
            ShowControlBar(bar, hide ? false : m_barVisible[kind]);
    }
    m_barsHidden = false;
}

void CMainFrame::OnToggleBar(ToolBarKind kind)
{
    CToolBar* bar = GetToolBar(kind);
    if (!bar)
        return;
    m_barVisible[kind] = !(bar->GetStyle() & WS_VISIBLE);
    ShowControlBar(bar, m_barVisible[kind]);
}

void CMainFrame::OnUpdateBarMenu(CCmdUI& ui)
{
    int kind = 0;
    while (kind < kToolBarCount && kViewCommands[kind] != ui.m_id)
        ++kind;
    CToolBar* bar = kind < kToolBarCount ? GetToolBar(static_cast<ToolBarKind>(kind)) : nullptr;
    if (!bar) {
        ui.Enable(false);
        return;
    }
    if (IsReportWindowMaximized()) {
        ui.SetCheck(m_barVisible[kind] ? 1 : 0);
        ui.Enable(false);
        return;
    }
    m_barVisible[kind] = (bar->GetStyle() & WS_VISIBLE) != 0;
    ui.SetCheck(m_barVisible[kind] ? 1 : 0);
    ui.Enable(true);
}

void CMainFrame::OnViewStatusBar()
{
    m_statusBarVisible = !m_statusBarVisible;
    ShowControlBar(&m_statusBar, m_statusBarVisible);
}

bool CMainFrame::IsBookmarkButtonChecked() const
{
    return m_standardBar && m_standardBar->IsButtonChecked(IDM_ARTICLE_BOOKMARK);
}

bool CMainFrame::IsReportWindowMaximized() const
{
    CMDIChildWnd* child = MDIGetActive();
    return child && child->GetResourceId() == IDR_REPORT_FRAME && IsZoomed(child->m_hWnd);
}

// ---- Article windows ----

IFormatTarget* CMainFrame::GetActiveArticleView() const
{
    CMDIChildWnd* child = MDIGetActive();
    if (!child || child->GetResourceId() != IDR_ARTICLE_FRAME)
        return nullptr;
    return dynamic_cast<IFormatTarget*>(child->GetActiveView());
}

void CMainFrame::FocusArticleView()
{
    if (IFormatTarget* view = GetActiveArticleView())
        view->FocusView();
}

void CMainFrame::ApplyFontFace(const std::string& face)
{
    if (IFormatTarget* view = GetActiveArticleView())
        view->SetSelectionFace(face);
}

void CMainFrame::SetLastTextColor(COLORREF color)
{
    m_textColor = color;
    if (m_formatBar)
        m_formatBar->SetTextColor(color);
}

void CMainFrame::SetCustomTextColor(COLORREF color)
{
    m_customTextColor = color;
    m_settings.SetCustomTextColor(static_cast<int32_t>(color));
}

void CMainFrame::ApplyHighlight()
{
    IFormatTarget* view = GetActiveArticleView();
    if (view && m_formatBar)
        view->SetHighlightColor(m_formatBar->GetHighlightColor());
}

void CMainFrame::StoreArticleWindowSize(const RECT& rect)
{
    m_articlePlacement.SetSize(rect.right - rect.left, rect.bottom - rect.top);
}

RECT CMainFrame::GetNextArticleWindowRect()
{
    RECT client = {};
    ::GetClientRect(GetMDIClient(), &client);
    CArticlePlacement::Rect next =
        m_articlePlacement.Next(client.right, client.bottom, GetSystemMetrics(SM_CYCAPTION));
    return RECT{next.x, next.y, next.width, next.height};
}

void CMainFrame::KeepChildInClient(HWND child)
{
    RECT client = {};
    ::GetClientRect(GetMDIClient(), &client);
    RECT rect = {};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(nullptr, GetMDIClient(), reinterpret_cast<POINT*>(&rect), 2);
    if (rect.bottom > client.bottom) {
        const int up = rect.bottom - client.bottom;
        ::SetWindowPos(child, nullptr, rect.left, rect.top - up, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SendMessageA(GetMDIClient(), WM_MDIICONARRANGE, 0, 0);
    }
}

void CMainFrame::SetChildCommandPrompt(unsigned id)
{
    // The child frames that word prompts of their own (article, index, report) answer here once
    // they exist; the frame's own prompts stand meanwhile.
    (void)id;
}

std::string CMainFrame::GetMessageString(unsigned id)
{
    try {
        return CMDIFrameWnd::GetMessageString(id);
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}

// ---- Commands ----

bool CMainFrame::OnCmdMsg(unsigned id, CCmdUI* ui)
{
    static const CommandEntry<CMainFrame> kCommands[] = {
        {IDM_VIEW_TOOLBAR, &CMainFrame::OnViewToolbar, &CMainFrame::OnUpdateBarMenu},
        {IDM_VIEW_FORMAT_BAR, &CMainFrame::OnViewFormatBar, &CMainFrame::OnUpdateBarMenu},
        {IDM_VIEW_BROWSE_BAR, &CMainFrame::OnViewBrowseBar, &CMainFrame::OnUpdateBarMenu},
        {IDM_VIEW_TOOLS_BAR, &CMainFrame::OnViewToolsBar, &CMainFrame::OnUpdateBarMenu},
        {IDM_VIEW_STATUS_BAR, &CMainFrame::OnViewStatusBar, &CMainFrame::OnUpdateStatusBarMenu},
        {IDM_FORMAT_BOLD, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_ITALIC, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_UNDERLINE, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_STRIKEOUT, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_BULLETS, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_NUMBERS, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_LEFT, IDM_FORMAT_RIGHT, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_PARAGRAPH, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_ARTICLE_BOOKMARK, nullptr, &CMainFrame::OnUpdateFormatFallback},
        {IDM_FORMAT_TEXT_COLOR, &CMainFrame::OnTextColor, &CMainFrame::OnUpdateDisabledFallback},
        {IDM_FORMAT_INDENT, nullptr, &CMainFrame::OnUpdateDisabledFallback},
        {IDM_FORMAT_UNINDENT, nullptr, &CMainFrame::OnUpdateDisabledFallback},
        {IDM_COLOR_FIRST, IDM_COLOR_LAST, &CMainFrame::OnColorCommand},
        {IDM_COLOR_AUTOMATIC, IDM_COLOR_CUSTOM, &CMainFrame::OnColorCommand},
        {IDS_INDICATOR_READ, nullptr, &CMainFrame::OnUpdateReadPane},
        {IDS_INDICATOR_LINK, nullptr, &CMainFrame::OnUpdateLinkPane},
        {kIndicatorOvr, nullptr, &CMainFrame::OnUpdateOverwritePane},
        {IDM_APP_EXIT, &CMainFrame::OnAppExit},
        {IDM_WINDOW_ARRANGE, IDM_WINDOW_TILE, &CMainFrame::OnWindowCommand},
    };
    return RouteToTable(this, kCommands, id, ui) || CMDIFrameWnd::OnCmdMsg(id, ui);
}

void CMainFrame::OnUpdateFormatFallback(CCmdUI& ui)
{
    ui.SetCheck(0);
    ui.Enable(false);
}

void CMainFrame::OnUpdateDisabledFallback(CCmdUI& ui)
{
    ui.Enable(false);
}

void CMainFrame::OnTextColor()
{
    if (IFormatTarget* view = GetActiveArticleView())
        view->SetSelectionColor(m_formatBar ? m_formatBar->GetTextColor() : m_textColor);
}

void CMainFrame::OnColorCommand(unsigned id)
{
    IFormatTarget* view = GetActiveArticleView();
    if (!view)
        return;
    COLORREF color = kAutomatic;
    if (id >= IDM_COLOR_FIRST && id <= IDM_COLOR_LAST)
        color = kColorMenu[id - IDM_COLOR_FIRST];
    else if (id == IDM_COLOR_CUSTOM)
        color = m_customTextColor;
    view->SetSelectionColor(color);
    SetLastTextColor(color);
}

void CMainFrame::OnUpdateReadPane(CCmdUI& ui)
{
    ui.Enable(m_openFile && m_openFile->IsFileOpen() && !m_openFile->CanModify());
}

void CMainFrame::OnUpdateLinkPane(CCmdUI& ui)
{
    const bool on = m_openFile && m_openFile->IsFileOpen() && m_settings.GetActiveLinks() < 2;
    if (m_statusIcons) {
        int pane = m_statusBar.CommandToIndex(IDS_INDICATOR_LINK);
        m_statusBar.SetPaneIcon(
            pane, on ? LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LINK)) : nullptr);
    }
    ui.Enable(on);
}

void CMainFrame::OnUpdateOverwritePane(CCmdUI& ui)
{
    // RichEdit 2.0 has no message that reports overwrite mode; the Insert key toggles it, so the
    // key's toggle state stands for it while a rich edit has the keyboard.
    HWND focus = GetFocus();
    char className[32] = {};
    const bool richEdit = focus && GetClassNameA(focus, className, sizeof className) &&
                          (lstrcmpiA(className, "RichEdit20A") == 0 || lstrcmpiA(className, "RICHEDIT") == 0);
    ui.Enable(richEdit && (GetKeyState(VK_INSERT) & 1) != 0);
}

void CMainFrame::OnAppExit()
{
    PostMessage(WM_CLOSE);
}

void CMainFrame::OnWindowCommand(unsigned id)
{
    switch (id) {
    case IDM_WINDOW_CASCADE:
        ::SendMessageA(GetMDIClient(), WM_MDICASCADE, 0, 0);
        break;
    case IDM_WINDOW_TILE:
        ::SendMessageA(GetMDIClient(), WM_MDITILE, MDITILE_HORIZONTAL, 0);
        break;
    default:
        ::SendMessageA(GetMDIClient(), WM_MDIICONARRANGE, 0, 0);
        break;
    }
}

// ---- Messages ----

bool CMainFrame::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->code == TBN_DROPDOWN && header->idFrom == IDR_FORMAT_BAR && m_formatBar) {
        auto* drop = reinterpret_cast<NMTOOLBARA*>(header);
        RECT button = m_formatBar->GetItemRect(m_formatBar->CommandToIndex(static_cast<unsigned>(drop->iItem)));
        ::MapWindowPoints(m_formatBar->m_hWnd, nullptr, reinterpret_cast<POINT*>(&button), 2);
        bool handled = false;
        if (drop->iItem == IDM_FORMAT_TEXT_COLOR)
            handled = OnTextColorDropDown(button);
        else if (drop->iItem == IDM_FORMAT_HIGHLIGHT)
            handled = OnHighlightDropDown(button);
        if (handled) {
            result = TBDDRET_DEFAULT;
            return true;
        }
    }
    return CMDIFrameWnd::OnNotify(header, result);
}

bool CMainFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_MOVE:
        KeepNormalRect();
        return false;
    case WM_MOUSEMOVE:
        SetMessageText(GetIdlePrompt());
        return false;
    case WM_MENUSELECT:
        CMDIFrameWnd::OnMessage(msg, wParam, lParam, result);
        if (!(HIWORD(wParam) & (MF_POPUP | MF_SEPARATOR)) && HIWORD(wParam) != 0xFFFF)
            SetChildCommandPrompt(LOWORD(wParam));
        return false;
    case WM_SETTINGCHANGE:
        return false;
    case WM_SYSCOLORCHANGE:
        m_highContrast = ReadHighContrast();
        if (m_formatBar) {
            m_formatBar->SetTextColor(CFormatToolBar::kKeepColor);
            m_formatBar->SetHighlightColor(CFormatToolBar::kKeepColor);
        }
        return false;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (measure->CtlType != ODT_MENU || measure->itemID < IDM_COLOR_FIRST || measure->itemID > IDM_COLOR_LAST)
            return CMDIFrameWnd::OnMessage(msg, wParam, lParam, result);
        measure->itemHeight = static_cast<UINT>(GetSystemMetrics(SM_CYMENU));
        measure->itemWidth = static_cast<UINT>(GetSystemMetrics(SM_CYMENU) * 3 / 2);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        if (draw->CtlType != ODT_MENU || draw->itemID < IDM_COLOR_FIRST || draw->itemID > IDM_COLOR_LAST)
            return CMDIFrameWnd::OnMessage(msg, wParam, lParam, result);
        RECT rect = draw->rcItem;
        FillRect(draw->hDC, &rect, GetSysColorBrush((draw->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
        InflateRect(&rect, -7, -4);
        CBrush swatch(CreateSolidBrush(kColorMenu[draw->itemID - IDM_COLOR_FIRST]));
        FillRect(draw->hDC, &rect, swatch);
        InflateRect(&rect, 1, 1);
        FrameRect(draw->hDC, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        result = TRUE;
        return true;
    }
    default:
        return CMDIFrameWnd::OnMessage(msg, wParam, lParam, result);
    }
}

bool CMainFrame::OnTextColorDropDown(const RECT& button)
{
    IFormatTarget* view = GetActiveArticleView();
    CColorPopup popup(m_hWnd);
    popup.m_anchor = button;
    popup.m_initialColor = view ? view->GetSelectionColor() : color_popup::kNoColor;
    popup.m_commandId = IDM_FORMAT_TEXT_COLOR;
    popup.m_customColor = m_customTextColor;
    const INT_PTR end = popup.DoModal();
    if (end == IDCANCEL || end < 0)
        return true;  // nothing changes, not even the stored colours
    SetCustomTextColor(popup.m_customColor);
    PostMessage(WM_COMMAND, static_cast<WPARAM>(end), 0);
    return true;
}

bool CMainFrame::OnHighlightDropDown(const RECT& button)
{
    IFormatTarget* view = GetActiveArticleView();
    CColorPopup popup(m_hWnd);
    popup.m_anchor = button;
    popup.m_automaticMode = 2;
    popup.m_customColor = m_customHighlightColor;
    popup.m_initialColor = view ? view->GetHighlightColor() : color_popup::kNoColor;
    popup.m_commandId = IDM_FORMAT_HIGHLIGHT;
    const INT_PTR end = popup.DoModal();
    if (end == IDCANCEL || end < 0)
        return true;
    const COLORREF color = popup.GetColor();
    if (m_formatBar)
        m_formatBar->SetHighlightColor(color);
    m_settings.SetHighlightColor(static_cast<int32_t>(color));
    m_customHighlightColor = popup.m_customColor;
    ApplyHighlight();
    return true;
}

// ---- Dialogs over the frame ----

void CMainFrame::RegisterDialog(HWND dialog)
{
    DropDestroyedDialogs();
    if (dialog && !IsDialogRegistered(dialog)) m_dialogs.push_back(dialog);
}

void CMainFrame::UnregisterDialog(HWND dialog)
{
    m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), dialog), m_dialogs.end());
}

bool CMainFrame::IsDialogRegistered(HWND dialog) const
{
    return dialog && std::find(m_dialogs.begin(), m_dialogs.end(), dialog) != m_dialogs.end() && ::IsWindow(dialog);
}

void CMainFrame::DropDestroyedDialogs()
{
    m_dialogs.erase(std::remove_if(m_dialogs.begin(), m_dialogs.end(), [](HWND d) { return !::IsWindow(d); }),
                    m_dialogs.end());
}

bool CMainFrame::PreTranslateMessage(MSG* msg)
{
    if (!m_dialogs.empty()) {
        DropDestroyedDialogs();
        for (HWND dialog : m_dialogs) {
            // IsDialogMessage handles the dialog's keys and dispatches what it takes itself.
            if (msg->hwnd && (msg->hwnd == dialog || ::IsChild(dialog, msg->hwnd)))
                return ::IsDialogMessageA(dialog, msg) != 0;
        }
    }
    return CMDIFrameWnd::PreTranslateMessage(msg);
}

#include "index/ui/index_frame.h"

#include "index/ui/index_view.h"
#include "shell/profile_store.h"

namespace {

const char kSection[] = "Index Display";

}  // namespace

CIndexFrame::~CIndexFrame()
{
    if (m_icon)
        DestroyIcon(m_icon);
}

void CIndexFrame::PreCreateWindow(MDICREATESTRUCTA& create)
{
    if (IProfileStore* profile = CIndexView::Services().profile) {
        m_placement.top = profile->GetInt(kSection, "Top", IndexFramePlacement::kUseDefault);
        m_placement.left = profile->GetInt(kSection, "Left", IndexFramePlacement::kUseDefault);
        m_placement.width = profile->GetInt(kSection, "Width", IndexFramePlacement::kUseDefault);
        m_placement.height = profile->GetInt(kSection, "Height", IndexFramePlacement::kUseDefault);
        m_placement.showState = profile->GetInt(kSection, "Maximized", IndexFramePlacement::kNormal);
    }
    IndexFrameCreate placed = IndexFrameCreateFrom(m_placement);
    if (!placed.useDefaultPosition) {
        create.x = placed.x;
        create.y = placed.y;
    }
    if (!placed.useDefaultSize) {
        create.cx = placed.width;
        create.cy = placed.height;
    }
    create.style &= ~WS_VISIBLE;
    if (placed.maximized)
        create.style = (create.style | WS_MAXIMIZE) & ~WS_MINIMIZE;
    else if (placed.minimized)
        create.style = (create.style | WS_MINIMIZE) & ~WS_MAXIMIZE;
}

bool CIndexFrame::OnCreate(CREATESTRUCTA* create, LRESULT& result)
{
    if (HMENU system = GetSystemMenu(m_hWnd, FALSE)) {
        RemoveMenu(system, SC_NEXTWINDOW, MF_BYCOMMAND);
        AppendMenuA(system, MF_STRING, SC_NEXTWINDOW, "Nex&t\tCtrl+F6");
    }
    m_icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129), IMAGE_ICON, 16, 16, 0));
    if (m_icon)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    return CMDIChildWnd::OnCreate(create, result);
}

void CIndexFrame::ShowStored()
{
    int show = m_placement.showState == IndexFramePlacement::kMaximized   ? SW_SHOWMAXIMIZED
               : m_placement.showState == IndexFramePlacement::kMinimized ? SW_SHOWMINIMIZED
                                                                            : SW_SHOWNORMAL;
    ShowWindow(show);
    m_armed = true;
    if (!IsIconic(m_hWnd) && !IsZoomed(m_hWnd))
        RecordRect();
}

void CIndexFrame::RecordRect()
{
    if (!IndexFrameRecordsRect(IsIconic(m_hWnd) != FALSE, IsZoomed(m_hWnd) != FALSE))
        return;
    RECT rect = GetWindowRect();
    MapWindowPoints(nullptr, ::GetParent(m_hWnd), reinterpret_cast<POINT*>(&rect), 2);
    m_placement.left = rect.left;
    m_placement.top = rect.top;
    m_placement.width = rect.right - rect.left;
    m_placement.height = rect.bottom - rect.top;
}

void CIndexFrame::SavePlacement()
{
    HWND client = ::GetParent(m_hWnd);
    BOOL activeMaximized = FALSE;
    if (client)
        ::SendMessageA(client, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&activeMaximized));
    m_placement.showState = IndexFrameShowState(IsZoomed(m_hWnd) != FALSE, activeMaximized != FALSE,
                                                IsIconic(m_hWnd) != FALSE);
    IProfileStore* profile = CIndexView::Services().profile;
    if (!m_armed || !profile)
        return;
    profile->WriteInt(kSection, "Top", m_placement.top);
    profile->WriteInt(kSection, "Left", m_placement.left);
    profile->WriteInt(kSection, "Width", m_placement.width);
    profile->WriteInt(kSection, "Height", m_placement.height);
    profile->WriteInt(kSection, "Maximized", m_placement.showState);
}

bool CIndexFrame::OnClose(LRESULT& result)
{
    // The index window closes with its knowledge base, never on its own.
    result = 0;
    return true;
}

bool CIndexFrame::OnSize(UINT type, int width, int height, LRESULT& result)
{
    CMDIChildWnd::OnSize(type, width, height, result);
    if (type == SIZE_RESTORED)
        RecordRect();
    return false;
}

bool CIndexFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_MOVE:
        RecordRect();
        return false;
    case CIndexView::kSavePlacementMessage:
        SavePlacement();
        result = 0;
        return true;
    default:
        return CMDIChildWnd::OnMessage(msg, wParam, lParam, result);
    }
}

bool CIndexFrame::OnDestroy(LRESULT& result)
{
    SavePlacement();
    return CMDIChildWnd::OnDestroy(result);
}

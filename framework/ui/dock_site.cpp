#include "framework/ui/dock_site.h"

#include <algorithm>

#include "framework/ui/control_bar.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/gdi.h"
#include "framework/ui/mini_dock_frame_wnd.h"

namespace {

// How close to a dock row (pixels) a dropped bar snaps to it.
constexpr int kSnap = 16;

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, RECT*, LPARAM data)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) {
        auto* monitors = reinterpret_cast<std::vector<ScreenRect>*>(data);
        monitors->push_back({info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom});
    }
    return TRUE;
}

std::vector<ScreenRect> WorkAreas()
{
    std::vector<ScreenRect> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty())
        monitors.push_back({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return monitors;
}

bool SideAllowed(DWORD align, DockSide side)
{
    return (align & (side == DockSide::kTop ? kBarAlignTop : kBarAlignBottom)) != 0;
}

}  // namespace

CDockSite::CDockSite(CFrameWnd* frame) : m_frame(frame) {}
CDockSite::~CDockSite() = default;

CDockSite::Entry* CDockSite::Find(const CControlBar* bar)
{
    for (Entry& entry : m_entries)
        if (entry.bar == bar)
            return &entry;
    return nullptr;
}

const CDockSite::Entry* CDockSite::Find(const CControlBar* bar) const
{
    for (const Entry& entry : m_entries)
        if (entry.bar == bar)
            return &entry;
    return nullptr;
}

CDockSite::Entry& CDockSite::Add(CControlBar* bar)
{
    if (Entry* found = Find(bar))
        return *found;
    Entry entry{bar, BarPlacement{}, nullptr};
    entry.placement.id = bar->GetDlgCtrlID();
    entry.placement.visible = (bar->GetStyle() & WS_VISIBLE) != 0;
    m_entries.push_back(std::move(entry));
    return m_entries.back();
}

void CDockSite::DockBar(CControlBar* bar, DockSide side, int row, int place)
{
    Entry& entry = Add(bar);
    entry.placement.side = side;
    entry.placement.row = row;
    entry.placement.place = std::max(0, place);
    entry.placement.floating = false;
    Apply(entry);
}

void CDockSite::DockBarAfter(CControlBar* bar, CControlBar* before)
{
    const Entry* left = Find(before);
    if (!left) {
        DockBar(bar, DockSide::kTop, 0, 0);
        return;
    }
    BarPlacement target = left->placement;
    RecalcLayout();
    int right = target.place + before->CalcFixedLayout().cx;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (m_entries[i].bar == before && m_layout.rects[i].right > 0)
            right = m_layout.rects[i].right;
    DockBar(bar, target.side, target.row, right + 1);
}

void CDockSite::FloatBar(CControlBar* bar, int left, int top)
{
    Entry& entry = Add(bar);
    entry.placement.floating = true;
    entry.placement.floatLeft = left;
    entry.placement.floatTop = top;
    Apply(entry);
}

void CDockSite::RemoveBar(CControlBar* bar)
{
    if (bar == m_statusBar)
        m_statusBar = nullptr;
    auto found = std::find_if(m_entries.begin(), m_entries.end(), [bar](const Entry& e) { return e.bar == bar; });
    if (found == m_entries.end())
        return;
    if (found->floating && bar->IsWindow())
        ::SetParent(bar->m_hWnd, m_frame->m_hWnd);
    m_entries.erase(found);
}

void CDockSite::Apply(Entry& entry)
{
    CControlBar* bar = entry.bar;
    const BarPlacement& placement = entry.placement;
    if (placement.floating) {
        if (!entry.floating) {
            entry.floating = std::make_unique<CMiniDockFrameWnd>(this, bar);
            if (!entry.floating->Create(m_frame->m_hWnd, placement.floatLeft, placement.floatTop)) {
                // Without its window the bar stays docked where it was.
                entry.floating.reset();
                entry.placement.floating = false;
                Apply(entry);
                return;
            }
        } else {
            ::SetWindowPos(entry.floating->m_hWnd, nullptr, placement.floatLeft, placement.floatTop, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        bar->ShowWindow(placement.visible ? SW_SHOWNA : SW_HIDE);
        entry.floating->ShowWindow(placement.visible ? SW_SHOWNA : SW_HIDE);
    } else {
        if (entry.floating) {
            ::SetParent(bar->m_hWnd, m_frame->m_hWnd);
            entry.floating.reset();  // destroys the window
        }
        bar->ShowWindow(placement.visible ? SW_SHOWNA : SW_HIDE);
    }
    RecalcLayout();
}

void CDockSite::ShowBar(CControlBar* bar, bool show)
{
    if (bar == m_statusBar) {
        bar->ShowWindow(show ? SW_SHOWNA : SW_HIDE);
        RecalcLayout();
        return;
    }
    Entry* entry = Find(bar);
    if (!entry)
        return;
    entry->placement.visible = show;
    Apply(*entry);
}

bool CDockSite::IsBarVisible(const CControlBar* bar) const
{
    return bar && bar->IsWindow() && (bar->GetStyle() & WS_VISIBLE) != 0;
}

bool CDockSite::IsFloating(const CControlBar* bar) const
{
    const Entry* entry = Find(bar);
    return entry && entry->placement.floating;
}

const BarPlacement* CDockSite::GetPlacement(const CControlBar* bar) const
{
    const Entry* entry = Find(bar);
    return entry ? &entry->placement : nullptr;
}

std::vector<CControlBar*> CDockSite::GetBars() const
{
    std::vector<CControlBar*> bars;
    for (const Entry& entry : m_entries)
        bars.push_back(entry.bar);
    return bars;
}

void CDockSite::OnFloatingClosed(CControlBar* bar)
{
    ShowBar(bar, false);
}

std::vector<BarPlacement> CDockSite::Placements() const
{
    std::vector<BarPlacement> placements;
    for (const Entry& entry : m_entries) {
        BarPlacement placement = entry.placement;
        // The window says whether the bar shows: a bar may have been hidden directly.
        placement.visible = (entry.bar->GetStyle() & WS_VISIBLE) != 0;
        placements.push_back(placement);
    }
    return placements;
}

std::vector<DockRect> CDockSite::Sizes() const
{
    std::vector<DockRect> sizes;
    for (const Entry& entry : m_entries) {
        SIZE size = entry.bar->CalcFixedLayout();
        sizes.push_back({0, 0, size.cx, size.cy});
    }
    return sizes;
}

RECT CDockSite::BodyArea() const
{
    RECT client = m_frame->GetClientRect();
    if (m_statusBar && IsBarVisible(m_statusBar)) {
        // The status bar places itself at the bottom edge when its parent's size changes.
        m_statusBar->SendMessage(WM_SIZE, 0, 0);
        SIZE size = m_statusBar->CalcFixedLayout();
        client.bottom -= size.cy;
    }
    return client;
}

RECT CDockSite::RecalcLayout()
{
    RECT body = BodyArea();
    const std::vector<BarPlacement> placements = Placements();
    m_layout = LayOutDockBars(placements, Sizes(), body.right - body.left, body.bottom - body.top);
    for (size_t i = 0; i < m_entries.size(); ++i) {
        const Entry& entry = m_entries[i];
        if (entry.placement.floating || !placements[i].visible)
            continue;
        const DockRect& r = m_layout.rects[i];
        // A docked bar spans its row up to the frame's right edge only as far as its buttons go.
        ::SetWindowPos(entry.bar->m_hWnd, nullptr, body.left + r.left, body.top + r.top, r.Width(), r.Height(),
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    body.top += m_layout.topHeight;
    body.bottom -= m_layout.bottomHeight;
    if (body.bottom < body.top)
        body.bottom = body.top;
    return body;
}

void CDockSite::DropBar(CControlBar* bar, POINT screen, int barLeft, int barTop)
{
    Entry* entry = Find(bar);
    if (!entry)
        return;
    RECT body = BodyArea();
    POINT client = screen;
    ::ScreenToClient(m_frame->m_hWnd, &client);
    POINT left = {barLeft, 0};
    ::ScreenToClient(m_frame->m_hWnd, &left);
    const bool inside = client.x >= body.left - kSnap && client.x < body.right + kSnap;
    size_t index = static_cast<size_t>(entry - m_entries.data());
    BarPlacement placed = entry->placement;
    if (inside) {
        placed = PlaceDraggedBar(Placements(), m_layout, index, left.x - body.left, client.y - body.top,
                                 body.bottom - body.top, barLeft, barTop, kSnap);
    } else {
        placed.floating = true;
        placed.floatLeft = barLeft;
        placed.floatTop = barTop;
    }
    if (!placed.floating && !(SideAllowed(m_align, placed.side) && SideAllowed(bar->GetDockAlign(), placed.side))) {
        placed = entry->placement;
        placed.floating = true;
        placed.floatLeft = barLeft;
        placed.floatTop = barTop;
    }
    if (placed.floating && !CBarState::IsReachable(barLeft, barTop, WorkAreas()))
        return;  // a drop off every screen changes nothing
    placed.visible = true;
    entry->placement = placed;
    CompactRows();
    Apply(*entry);
}

void CDockSite::CompactRows()
{
    std::vector<BarPlacement> placements;
    for (const Entry& entry : m_entries)
        placements.push_back(entry.placement);
    CBarState::CompactRows(placements);
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i].placement.row = placements[i].row;
}

void CDockSite::TrackDrag(CControlBar* bar, POINT grab, HWND captureWindow)
{
    HWND capture = captureWindow ? captureWindow : bar->m_hWnd;
    RECT barRect = bar->GetWindowRect();
    const int width = barRect.right - barRect.left;
    const int height = barRect.bottom - barRect.top;
    ::SetCapture(capture);
    // The outline follows the pointer, drawn inverted on the screen so that drawing it twice erases it.
    CClientDC screen(nullptr);
    RECT outline = {};
    bool drawn = false;
    auto drawOutline = [&](POINT pointer) {
        if (drawn)
            DrawFocusRect(screen, &outline);
        outline = {pointer.x - grab.x, pointer.y - grab.y, pointer.x - grab.x + width, pointer.y - grab.y + height};
        DrawFocusRect(screen, &outline);
        drawn = true;
    };
    bool dropped = false;
    POINT last = {};
    MSG msg;
    while (::GetCapture() == capture && ::GetMessageA(&msg, nullptr, 0, 0)) {
        if (msg.message == WM_MOUSEMOVE || msg.message == WM_LBUTTONUP) {
            // The messages' own coordinates (client of the capturing window), so that posted input
            // drags too.
            POINT pointer = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
            ::ClientToScreen(msg.hwnd, &pointer);
            last = pointer;
            if (msg.message == WM_LBUTTONUP) {
                dropped = true;
                break;
            }
            drawOutline(pointer);
            continue;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
            break;
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    if (drawn)
        DrawFocusRect(screen, &outline);
    if (::GetCapture() == capture)
        ::ReleaseCapture();
    if (dropped)
        DropBar(bar, last, last.x - grab.x, last.y - grab.y);
}

bool CDockSite::HasState(IBarStateProfile& profile, const std::string& base)
{
    return CBarState::Exists(profile, base);
}

void CDockSite::LoadState(IBarStateProfile& profile, const std::string& base)
{
    std::vector<BarPlacement> placements = Placements();
    CBarState::Load(profile, base, placements, WorkAreas());
    for (size_t i = 0; i < m_entries.size(); ++i) {
        BarPlacement placement = placements[i];
        if (!SideAllowed(m_align, placement.side) || !SideAllowed(m_entries[i].bar->GetDockAlign(), placement.side))
            placement.side = m_entries[i].placement.side;
        m_entries[i].placement = placement;
    }
    for (Entry& entry : m_entries)
        Apply(entry);
}

void CDockSite::SaveState(IBarStateProfile& profile, const std::string& base) const
{
    CBarState::Save(profile, base, Placements());
}

// The docking of a frame's control bars: rows along the top and bottom edges (CDockLayout decides
// where), a status bar below them at the bottom edge, floating bars in captioned tool windows whose
// close box hides the bar, dragging by a bar's gripper or a floating window's caption, and the bar
// state kept in the option store (CBarState). The frame owns one when docking is enabled.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "framework/bar_state.h"
#include "framework/dock_layout.h"
#include "framework/ui/wnd_handle.h"

class CControlBar;
class CFrameWnd;
class CMiniDockFrameWnd;

class CDockSite {
public:
    explicit CDockSite(CFrameWnd* frame);
    ~CDockSite();
    CDockSite(const CDockSite&) = delete;
    CDockSite& operator=(const CDockSite&) = delete;

    // Sides of the frame that take bars (kBarAlign...).
    void EnableDocking(DWORD align) { m_align = align; }
    DWORD GetDockAlign() const { return m_align; }

    // Docks `bar` at `side` in `row` at `place` pixels from the row's left end (a new bar or one
    // docked or floating elsewhere).
    void DockBar(CControlBar* bar, DockSide side, int row, int place);
    // Docks `bar` on the row of `before`, just right of it.
    void DockBarAfter(CControlBar* bar, CControlBar* before);
    // Floats `bar` in its own captioned window at screen position (left, top).
    void FloatBar(CControlBar* bar, int left, int top);
    // Forgets `bar` (before its window goes); its floating window is destroyed.
    void RemoveBar(CControlBar* bar);
    // The frame's status bar, kept below the bottom rows.
    void SetStatusBar(CControlBar* bar) { m_statusBar = bar; }
    CControlBar* GetStatusBar() const { return m_statusBar; }

    // Shows or hides `bar` (its floating window too) and lays the frame out again.
    void ShowBar(CControlBar* bar, bool show);
    bool IsBarVisible(const CControlBar* bar) const;
    bool IsFloating(const CControlBar* bar) const;
    // The placement of `bar`, or nullptr when it is not one of the docked or floating bars.
    const BarPlacement* GetPlacement(const CControlBar* bar) const;
    // The docked and floating bars, in the order they were added.
    std::vector<CControlBar*> GetBars() const;

    // Lays the bars out in the frame's client area; answers what is left for the frame's body.
    RECT RecalcLayout();

    // Runs the drag of `bar` with the mouse captured by `captureWindow` (the bar, or its floating
    // window when dragged by the caption), `grab` being where the pointer holds it, in bar client
    // coordinates. Returns when the button is released (the bar docks or floats there) or the drag
    // is cancelled (Esc, capture lost).
    void TrackDrag(CControlBar* bar, POINT grab, HWND captureWindow = nullptr);
    // The drop of a drag: the pointer at `screen`, the bar's left edge `barLeft` (screen).
    void DropBar(CControlBar* bar, POINT screen, int barLeft, int barTop);

    // Bar state under `base` in `profile`; missing or damaged entries keep the current placement.
    void LoadState(IBarStateProfile& profile, const std::string& base);
    void SaveState(IBarStateProfile& profile, const std::string& base) const;
    // Whether a state was saved under `base`.
    static bool HasState(IBarStateProfile& profile, const std::string& base);

    // Called by a floating window whose close box was pressed.
    void OnFloatingClosed(CControlBar* bar);

private:
    struct Entry {
        CControlBar* bar;
        BarPlacement placement;
        std::unique_ptr<CMiniDockFrameWnd> floating;
    };
    Entry* Find(const CControlBar* bar);
    const Entry* Find(const CControlBar* bar) const;
    Entry& Add(CControlBar* bar);
    void Apply(Entry& entry);
    std::vector<BarPlacement> Placements() const;
    std::vector<DockRect> Sizes() const;
    void CompactRows();
    RECT BodyArea() const;  // the client area above the status bar

    CFrameWnd* m_frame;
    DWORD m_align = 0;
    CControlBar* m_statusBar = nullptr;
    std::vector<Entry> m_entries;
    DockLayout m_layout;
};

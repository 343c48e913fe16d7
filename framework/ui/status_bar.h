// The status bar on the common status-bar control: indicator panes named by string ids (the
// string's text sets the pane's width and is what the pane shows while its update rule enables it),
// one stretching pane that takes the width left over, pane icons, and the message pane (pane 0)
// that shows prompts. Panes are sent a message only when their text or icon changes.
#pragma once
#include <string>
#include <vector>

#include "framework/ui/control_bar.h"

enum : UINT {
    kPaneNoBorders = 0x0100,
    kPaneStretch = 0x0800,
    kPaneDisabled = 0x4000,  // the pane's text is not shown
};

class CStatusBar : public CControlBar {
public:
    bool Create(CFrameWnd* frame, DWORD style, UINT id);
    // One pane per id; id 0 is a pane without a string (the message pane).
    bool SetIndicators(const UINT* ids, int count);
    int GetCount() const { return static_cast<int>(m_panes.size()); }
    // The pane of command `id`, or -1.
    int CommandToIndex(unsigned id) const;
    void SetPaneInfo(int index, unsigned id, UINT style, int width);
    void GetPaneInfo(int index, unsigned& id, UINT& style, int& width) const;
    void SetPaneText(int index, const std::string& text);
    std::string GetPaneText(int index) const;
    // `icon` is borrowed (shared icons from LoadIcon); null removes it.
    void SetPaneIcon(int index, HICON icon);
    HICON GetPaneIcon(int index) const;

    // The status bar is not docked in rows: the frame keeps it at its bottom edge.
    bool IsDockable() const override { return false; }
    SIZE CalcFixedLayout() override;
    void OnUpdateCmdUI(CFrameWnd* target) override;

    // Puts the pane widths and texts into the control (after a size change).
    void UpdateParts();

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct Pane {
        unsigned id = 0;
        UINT style = 0;
        int width = 0;
        std::string text;     // the pane's own text (the indicator's string)
        std::string shown;    // what the control shows now
        HICON icon = nullptr;
    };
    void ApplyText(size_t index);

    std::vector<Pane> m_panes;
};

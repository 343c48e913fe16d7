// Three of the main frame's toolbars: the Standard bar, the Browse bar (CImageToolBar) and the
// Tools bar (CMainToolBar, a Browse bar with its own images). Each draws its buttons from three
// image lists of its size, paints a double gripper at its left end and tells the frame when it is
// shown or hidden. The Format bar is CFormatToolBar.
#pragma once
#include "framework/ui/tool_bar.h"
#include "shell/toolbar_layouts.h"
#include "shell/ui/bar_art.h"

class CMainFrame;

// Creation, images, painting and the visible flag, shared by the four bars.
class CMainFrameBar : public CToolBar {
public:
    CMainFrameBar(CMainFrame* frame, ToolBarKind kind) : m_mainFrame(frame), m_kind(kind) {}
    // 0 small buttons (16 pixels), 1 large (24); set before the window exists.
    void SetSizeMode(int mode) { m_sizeMode = mode ? 1 : 0; }
    int GetImageSize() const { return ToolBarImageSize(m_sizeMode); }
    ToolBarKind GetKind() const { return m_kind; }
    const ToolBarLayout& Layout() const { return kToolBarLayouts[m_kind]; }

    bool Create(DWORD toolbarStyle, DWORD style, DWORD barStyle);

protected:
    bool OnCreateBar() override;
    // Paints the gripper and clears the bar's trailing items after the control painted.
    virtual void PaintDecoration(HDC dc);
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    CMainFrame* m_mainFrame;
    ToolBarKind m_kind;
    int m_sizeMode = 1;
    CBarImages m_images;
};

class CStandardToolBar : public CMainFrameBar {
public:
    explicit CStandardToolBar(CMainFrame* frame) : CMainFrameBar(frame, kStandardBar) {}
    void ShowStatusText(unsigned id) override;
};

class CImageToolBar : public CMainFrameBar {
public:
    explicit CImageToolBar(CMainFrame* frame, ToolBarKind kind = kBrowseBar) : CMainFrameBar(frame, kind) {}
};

class CMainToolBar : public CImageToolBar {
public:
    explicit CMainToolBar(CMainFrame* frame) : CImageToolBar(frame, kToolsBar) {}
    void ShowStatusText(unsigned id) override;
};

#include "framework/ui/status_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/string_table.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/gdi.h"

namespace {

// A status pane as an update rule sees it: enabled shows the pane's text, disabled hides it.
class CPaneCmdUI : public CCmdUI {
public:
    CPaneCmdUI(unsigned id, UINT style, const std::string& text) : CCmdUI(id), m_style(style), m_text(text) {}
    void Enable(bool on) override { m_style = on ? (m_style & ~kPaneDisabled) : (m_style | kPaneDisabled); }
    void SetCheck(int check) override {}
    void SetText(const std::string& text) override { m_text = text; }

    UINT m_style;
    std::string m_text;
};

}  // namespace

bool CStatusBar::Create(CFrameWnd* frame, DWORD style, UINT id)
{
    HWND hwnd = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, style | WS_CHILD, 0, 0, 0, 0, frame->m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                                nullptr);
    return AttachBar(hwnd, frame, 0);
}

bool CStatusBar::SetIndicators(const UINT* ids, int count)
{
    m_panes.assign(static_cast<size_t>(count), Pane{});
    CClientDC dc(m_hWnd);
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    CSelectObject selected(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    for (int i = 0; i < count; ++i) {
        Pane& pane = m_panes[static_cast<size_t>(i)];
        pane.id = ids[i];
        if (pane.id == 0) {
            pane.style = kPaneNoBorders | kPaneStretch;
            continue;
        }
        pane.text = QuorLoadString(static_cast<int>(pane.id));
        SIZE extent = {};
        GetTextExtentPoint32A(dc, pane.text.c_str(), static_cast<int>(pane.text.size()), &extent);
        pane.width = extent.cx;
    }
    UpdateParts();
    return true;
}

int CStatusBar::CommandToIndex(unsigned id) const
{
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].id == id)
            return static_cast<int>(i);
    return -1;
}

void CStatusBar::SetPaneInfo(int index, unsigned id, UINT style, int width)
{
    if (index < 0 || index >= GetCount())
        return;
    Pane& pane = m_panes[static_cast<size_t>(index)];
    pane.id = id;
    pane.style = style;
    pane.width = width;
    UpdateParts();
}

void CStatusBar::GetPaneInfo(int index, unsigned& id, UINT& style, int& width) const
{
    const Pane& pane = m_panes.at(static_cast<size_t>(index));
    id = pane.id;
    style = pane.style;
    width = pane.width;
}

void CStatusBar::ApplyText(size_t index)
{
    Pane& pane = m_panes[index];
    std::string shown = (pane.style & kPaneDisabled) ? std::string() : pane.text;
    if (shown == pane.shown)
        return;
    pane.shown = shown;
    WPARAM part = index | ((pane.style & kPaneNoBorders) ? SBT_NOBORDERS : 0);
    SendMessage(SB_SETTEXTA, part, reinterpret_cast<LPARAM>(pane.shown.c_str()));
}

void CStatusBar::SetPaneText(int index, const std::string& text)
{
    if (index < 0 || index >= GetCount())
        return;
    m_panes[static_cast<size_t>(index)].text = text;
    ApplyText(static_cast<size_t>(index));
}

std::string CStatusBar::GetPaneText(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].shown : std::string();
}

void CStatusBar::SetPaneIcon(int index, HICON icon)
{
    if (index < 0 || index >= GetCount() || m_panes[static_cast<size_t>(index)].icon == icon)
        return;
    m_panes[static_cast<size_t>(index)].icon = icon;
    SendMessage(SB_SETICON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(icon));
}

HICON CStatusBar::GetPaneIcon(int index) const
{
    return index >= 0 && index < GetCount() ? m_panes[static_cast<size_t>(index)].icon : nullptr;
}

SIZE CStatusBar::CalcFixedLayout()
{
    RECT rect = GetWindowRect();
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void CStatusBar::UpdateParts()
{
    if (m_panes.empty())
        return;
    // Each part's right edge; a bordered pane needs room for its frame and margins besides its text.
    int borders[3] = {};
    SendMessage(SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    const int gap = borders[2] > 0 ? borders[2] : 2;
    const int total = GetClientRect().right - (GetStyle() & SBARS_SIZEGRIP ? GetSystemMetrics(SM_CXVSCROLL) : 0);
    std::vector<int> widths(m_panes.size());
    int fixed = 0;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        widths[i] = (m_panes[i].style & kPaneStretch) ? 0 : m_panes[i].width + 2 * GetSystemMetrics(SM_CXEDGE) + gap + 4;
        fixed += widths[i];
    }
    for (size_t i = 0; i < m_panes.size(); ++i)
        if (m_panes[i].style & kPaneStretch)
            widths[i] = std::max(0, total - fixed);
    std::vector<int> edges(m_panes.size());
    int right = 0;
    for (size_t i = 0; i < m_panes.size(); ++i) {
        right += widths[i];
        edges[i] = right;
    }
    edges.back() = -1;  // the last part runs to the right edge
    SendMessage(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    // SB_SETPARTS keeps the texts of existing parts; new parts start empty.
    for (size_t i = 0; i < m_panes.size(); ++i) {
        m_panes[i].shown = "\x01";  // forces ApplyText to send the text
        ApplyText(i);
        if (m_panes[i].icon)
            SendMessage(SB_SETICON, i, reinterpret_cast<LPARAM>(m_panes[i].icon));
    }
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* target)
{
    for (size_t i = 0; i < m_panes.size(); ++i) {
        Pane& pane = m_panes[i];
        if (pane.id == 0)
            continue;
        CPaneCmdUI ui(pane.id, pane.style, pane.text);
        target->UpdateCmdUI(ui);
        pane.style = ui.m_style;
        pane.text = ui.m_text;
        ApplyText(i);
    }
}

bool CStatusBar::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_SIZE) {
        result = DefaultProc(msg, wParam, lParam);
        UpdateParts();
        return true;
    }
    return CControlBar::OnMessage(msg, wParam, lParam, result);
}

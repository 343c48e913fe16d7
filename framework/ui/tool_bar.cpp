#include "framework/ui/tool_bar.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/string_table.h"
#include "framework/ui/frame_wnd.h"

namespace {

// A toolbar button as an update rule sees it: it records the state; the bar applies what changed.
class CToolCmdUI : public CCmdUI {
public:
    CToolCmdUI(unsigned id, BYTE state) : CCmdUI(id), m_state(state) {}
    void Enable(bool on) override
    {
        m_state = on ? (m_state | TBSTATE_ENABLED) : (m_state & ~TBSTATE_ENABLED);
        // A disabled button must not show pressed either.
        if (!on)
            m_state &= ~TBSTATE_PRESSED;
    }
    void SetCheck(int check) override
    {
        m_state &= ~(TBSTATE_CHECKED | TBSTATE_INDETERMINATE);
        if (check == 1)
            m_state |= TBSTATE_CHECKED;
        else if (check == 2)
            m_state |= TBSTATE_INDETERMINATE;
    }
    void SetText(const std::string&) override {}

    BYTE m_state;
};

}  // namespace

bool CToolBar::CreateEx(CFrameWnd* frame, DWORD toolbarStyle, DWORD style, DWORD barStyle, UINT id)
{
    // The frame places the bar itself: no parent alignment, no resizing, no divider line.
    DWORD controlStyle = style | toolbarStyle | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (barStyle & kBarToolTips)
        controlStyle |= TBSTYLE_TOOLTIPS;
    HWND hwnd = CreateWindowExA(0, TOOLBARCLASSNAMEA, nullptr, controlStyle, 0, 0, 0, 0, frame->m_hWnd,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), GetModuleHandleA(nullptr),
                                nullptr);
    if (hwnd)
        ::SendMessageA(hwnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    return AttachBar(hwnd, frame, barStyle);
}

bool CToolBar::LoadToolBar(int resourceId)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(instance, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(kResourceType));
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const auto* words = loaded ? static_cast<const WORD*>(LockResource(loaded)) : nullptr;
    DWORD bytes = found ? SizeofResource(instance, found) : 0;
    if (!words || bytes < 8 || words[0] != 1)
        return false;
    const size_t count = words[3];
    if (8 + count * 2 > bytes)
        return false;
    // Remove what is there, then add the resource's items.
    while (SendMessage(TB_BUTTONCOUNT) > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons(count);
    int image = 0;
    for (size_t i = 0; i < count; ++i) {
        TBBUTTON& button = buttons[i];
        button = TBBUTTON{};
        button.idCommand = words[4 + i];
        if (button.idCommand == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        button.iString = -1;
    }
    if (count && !SendMessage(TB_ADDBUTTONSA, count, reinterpret_cast<LPARAM>(buttons.data())))
        return false;
    SetSizes({static_cast<LONG>(words[1] + 7), static_cast<LONG>(words[2] + 7)},
             {static_cast<LONG>(words[1]), static_cast<LONG>(words[2])});
    ReadItems();
    return true;
}

void CToolBar::ReadItems()
{
    const int count = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
    m_items.assign(static_cast<size_t>(count > 0 ? count : 0), Item{0, 0});
    for (int i = 0; i < count; ++i) {
        TBBUTTON button = {};
        SendMessage(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
        m_items[static_cast<size_t>(i)] = {(button.fsStyle & BTNS_SEP) ? 0u : static_cast<unsigned>(button.idCommand),
                                           button.fsState};
    }
}

void CToolBar::SetSizes(SIZE button, SIZE image)
{
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(image.cx, image.cy));
    SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(button.cx, button.cy));
}

unsigned CToolBar::GetItemID(int index) const
{
    return index >= 0 && index < GetCount() ? m_items[static_cast<size_t>(index)].id : 0;
}

int CToolBar::CommandToIndex(unsigned id) const
{
    for (int i = 0; i < GetCount(); ++i)
        if (m_items[static_cast<size_t>(i)].id == id && id != 0)
            return i;
    return -1;
}

RECT CToolBar::GetItemRect(int index) const
{
    RECT rect = {};
    SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

void CToolBar::SetButtonInfo(int index, unsigned id, BYTE style, int widthOrImage)
{
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_COMMAND | TBIF_STYLE | ((style & BTNS_SEP) ? TBIF_SIZE : TBIF_IMAGE);
    info.idCommand = static_cast<int>(id);
    info.fsStyle = style;
    if (style & BTNS_SEP)
        info.cx = static_cast<WORD>(widthOrImage);
    else
        info.iImage = widthOrImage;
    SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    ReadItems();
    // A separator that holds a control keeps its id for the control, but is no command button.
    if (style & BTNS_SEP)
        m_items[static_cast<size_t>(index)].id = 0;
}

BYTE CToolBar::GetButtonStyle(int index) const
{
    TBBUTTON button = {};
    SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button));
    return button.fsStyle;
}

void CToolBar::SetButtonStyle(int index, BYTE style)
{
    TBBUTTONINFOA info = {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE;
    info.fsStyle = style;
    SendMessage(TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
}

bool CToolBar::IsButtonChecked(unsigned id) const
{
    return SendMessage(TB_ISBUTTONCHECKED, id) != 0;
}

SIZE CToolBar::CalcFixedLayout()
{
    SIZE size = {0, 0};
    // TB_GETMAXSIZE: the size of all visible buttons and separators in one row.
    SendMessage(TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    DWORD buttonSize = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    size.cy = std::max<LONG>(size.cy, HIWORD(buttonSize));
    size.cx += 4;
    size.cy += (m_barStyle & kBarBorderBottom) ? 4 : 2;
    return size;
}

RECT CToolBar::GetGripperRect() const
{
    RECT rect = {};
    if (m_gripperItems <= 0 || GetCount() < m_gripperItems)
        return rect;
    rect = GetItemRect(0);
    RECT last = GetItemRect(m_gripperItems - 1);
    rect.right = last.right;
    // The whole height of the bar, so the grip is easy to hit.
    RECT client = GetClientRect();
    rect.top = client.top;
    rect.bottom = client.bottom;
    return rect;
}

void CToolBar::OnUpdateCmdUI(CFrameWnd* target)
{
    for (size_t i = 0; i < m_items.size(); ++i) {
        Item& item = m_items[i];
        if (item.id == 0)
            continue;
        CToolCmdUI ui(item.id, item.state);
        target->UpdateCmdUI(ui);
        if (ui.m_state != item.state) {
            item.state = ui.m_state;
            SendMessage(TB_SETSTATE, item.id, MAKELPARAM(item.state, 0));
        }
    }
}

std::string CToolBar::TipOfCommand(unsigned id)
{
    std::string text = QuorLoadString(id);
    size_t newline = text.find('\n');
    return newline == std::string::npos ? text : text.substr(newline + 1);
}

bool CToolBar::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == m_hWnd) {
        // A button was clicked: the frame asks the update rule before it runs the command.
        if (m_frame)
            m_frame->ExecuteCommand(LOWORD(wParam));
        result = 0;
        return true;
    }
    if (msg != WM_NOTIFY)
        return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    switch (header->code) {
    case TBN_HOTITEMCHANGE: {
        if (m_barStyle & kBarFlyBy) {
            auto* hot = reinterpret_cast<NMTBHOTITEM*>(lParam);
            ShowStatusText((hot->dwFlags & HICF_LEAVING) ? 0 : static_cast<unsigned>(hot->idNew));
        }
        result = 0;
        return true;
    }
    case TBN_GETINFOTIPA: {
        auto* tip = reinterpret_cast<NMTBGETINFOTIPA*>(lParam);
        if (tip->pszText && tip->cchTextMax > 0) {
            m_tip = TipOfCommand(static_cast<unsigned>(tip->iItem));
            lstrcpynA(tip->pszText, m_tip.c_str(), tip->cchTextMax);
        }
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

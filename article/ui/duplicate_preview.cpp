#include "article/ui/duplicate_preview.h"

#include <windowsx.h>

#include "resources/article_window_res.h"
#include "resources/commands.h"

HMENU CDuplicatePreview::MakeMenu() const
{
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_DISPLAY_TEXT_BOX_MENU));
    if (!menu)
        return nullptr;
    int32_t start = 0, end = 0;
    GetSel(start, end);
    ::EnableMenuItem(menu, IDM_EDIT_COPY, MF_BYCOMMAND | (start != end ? MF_ENABLED : MF_GRAYED));
    return menu;
}

void CDuplicatePreview::RunMenuCommand(UINT id)
{
    if (id == IDM_EDIT_COPY)
        SendMessage(WM_COPY);
    else if (id == IDM_EDIT_SELECT_ALL)
        SetSel(0, -1);
}

void CDuplicatePreview::ShowMenu(POINT screen)
{
    ::SetFocus(m_hWnd);
    // The menu key sends (-1, -1): open at the top-left corner of the text.
    if (screen.x == -1 && screen.y == -1) {
        screen = {4, 4};
        ::ClientToScreen(m_hWnd, &screen);
    }
    HMENU menu = MakeMenu();
    if (!menu)
        return;
    // TPM_RETURNCMD: the choice comes back here instead of as WM_COMMAND to an owner.
    UINT chosen = static_cast<UINT>(::TrackPopupMenu(::GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                                                     screen.x, screen.y, 0, m_hWnd, nullptr));
    ::DestroyMenu(menu);
    RunMenuCommand(chosen);
}

bool CDuplicatePreview::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_RBUTTONUP: {
        POINT screen = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(m_hWnd, &screen);
        ShowMenu(screen);
        result = 0;
        return true;
    }
    case WM_CONTEXTMENU:
        ShowMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        result = 0;
        return true;
    default:
        return CArticlePreview::OnMessage(msg, wParam, lParam, result);
    }
}

#include "framework/ui/dialog_keys.h"

namespace {
// The keys attached last on this thread; each links to the one attached before it.
thread_local CDialogKeys* t_top = nullptr;
}  // namespace

bool CDialogKeys::Attach(HWND dialog, int tableId)
{
    Detach();
    // A table loaded from the program's resources is freed with the program; it is not destroyed.
    m_table = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(tableId));
    if (!m_table)
        return false;
    m_hook = SetWindowsHookExA(WH_MSGFILTER, Filter, nullptr, GetCurrentThreadId());
    if (!m_hook) {
        m_table = nullptr;
        return false;
    }
    m_dialog = dialog;
    m_below = t_top;
    t_top = this;
    return true;
}

void CDialogKeys::Detach()
{
    if (!m_hook)
        return;
    UnhookWindowsHookEx(m_hook);
    for (CDialogKeys** link = &t_top; *link; link = &(*link)->m_below) {
        if (*link == this) {
            *link = m_below;
            break;
        }
    }
    m_hook = nullptr;
    m_table = nullptr;
    m_dialog = nullptr;
    m_below = nullptr;
}

// A nonzero result tells the dialog manager that the message was handled: it is neither translated
// nor dispatched.
LRESULT CALLBACK CDialogKeys::Filter(int code, WPARAM wParam, LPARAM lParam)
{
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && msg) {
        for (CDialogKeys* keys = t_top; keys; keys = keys->m_below) {
            if (msg->hwnd != keys->m_dialog && !IsChild(keys->m_dialog, msg->hwnd))
                continue;
            if (TranslateAcceleratorA(keys->m_dialog, keys->m_table, msg))
                return 1;
            break;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

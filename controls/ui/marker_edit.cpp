#include "controls/ui/marker_edit.h"

#include <new>

namespace {

const char kMarker[] = " ";
// The timer that shows the marker; the edit's own id space.
constexpr UINT_PTR kMarkerTimer = 1;

}  // namespace

void CMarkerEdit::GetSel(int& start, int& end) const
{
    DWORD first = 0;
    DWORD last = 0;
    // EM_GETSEL with both pointers gives the full 32-bit positions (the result packs only 16 bits).
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void CMarkerEdit::ShowMarkerSoon()
{
    // Where the caret stands now is where the focus comes back to, marker or not.
    GetSel(m_savedStart, m_savedEnd);
    m_markerPending = ::SetTimer(m_hWnd, kMarkerTimer, USER_TIMER_MINIMUM, nullptr) != 0;
    if (!m_markerPending)
        ShowMarker();
}

void CMarkerEdit::CancelPendingMarker()
{
    if (!m_markerPending)
        return;
    ::KillTimer(m_hWnd, kMarkerTimer);
    m_markerPending = false;
}

void CMarkerEdit::PlaceMarker(int caret)
{
    CancelPendingMarker();
    SetSel(caret, caret);
    ReplaceSel(kMarker, false);
    SetSel(caret, caret + 1);
    ScrollCaret();
    m_markerShown = true;
    m_savedStart = caret;
    m_savedEnd = caret + 1;
}

void CMarkerEdit::ShowMarker()
{
    CancelPendingMarker();
    int start = 0;
    int end = 0;
    GetSel(start, end);
    if (start == end) {
        m_inserting = true;
        PlaceMarker(start);
        m_inserting = false;
    } else {
        m_markerShown = false;
        m_savedStart = start;
        m_savedEnd = end;
    }
}

void CMarkerEdit::DeleteMarker()
{
    bool inserting = m_inserting;
    m_inserting = true;
    // The marker is where it was put, unless the text was set whole since (which clears it).
    SetSel(m_savedStart, m_savedStart + 1);
    ReplaceSel("", false);
    SetSel(m_savedStart, m_savedStart);
    m_markerShown = false;
    m_savedEnd = m_savedStart;
    m_inserting = inserting;
}

void CMarkerEdit::RemoveMarker()
{
    CancelPendingMarker();
    if (m_markerShown) {
        DeleteMarker();
        m_inserting = false;
    } else {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        m_savedStart = end;
        m_savedEnd = end;
        SetSel(end, end);
    }
}

void CMarkerEdit::ReplaceInsertionPoint(const std::string& text, bool canUndo)
{
    // The flag stays set after the insertion: an owner's ClearUndo right after it keeps the undo.
    // Returning to the edit (or typing in it) clears it.
    m_inserting = true;
    if (m_markerShown) {
        // The marker is selected: the text takes its place.
        SetSel(m_savedStart, m_savedEnd);
        m_markerShown = false;
    }
    ReplaceSel(text, canUndo);
}

void CMarkerEdit::InsertText(const std::string& text, bool canUndo)
{
    ReplaceInsertionPoint(text, canUndo);
    if (GetFocus() != m_hWnd) {
        int start = 0;
        int end = 0;
        GetSel(start, end);
        PlaceMarker(end);
    }
}

void CMarkerEdit::InsertTextAndFocus(const std::string& text)
{
    ReplaceInsertionPoint(text, false);
    int start = 0;
    int end = 0;
    GetSel(start, end);
    // EN_SETFOCUS puts the caret back where these say.
    m_savedStart = end;
    m_savedEnd = end;
    if (GetFocus() != m_hWnd)
        SetFocus();
    else
        SetSel(end, end);
}

std::string CMarkerEdit::GetTextWithoutMarker() const
{
    std::string text = GetWindowText();
    if (m_markerShown && m_savedStart >= 0 && static_cast<size_t>(m_savedStart) < text.size())
        text.erase(static_cast<size_t>(m_savedStart), 1);
    return text;
}

void CMarkerEdit::SaveUndoState()
{
    try {
        m_undoText = GetTextWithoutMarker();
    } catch (const std::bad_alloc&) {
        m_undoText.clear();
    }
    if (m_markerShown) {
        m_undoStart = m_savedStart;
        m_undoEnd = m_savedStart;
    } else {
        GetSel(m_undoStart, m_undoEnd);
    }
    m_undoSaved = true;
}

void CMarkerEdit::Undo()
{
    if (!m_undoSaved)
        return;
    if (m_markerShown)
        RemoveMarker();
    std::string text;
    text.swap(m_undoText);
    int start = m_undoStart;
    int end = m_undoEnd;
    m_undoSaved = false;
    // Setting the text whole ends any insertion of the edit's own.
    m_inserting = false;
    SetWindowText(text);
    SetSel(start, end);
    ScrollCaret();
    ClearUndo();
}

void CMarkerEdit::ClearUndo()
{
    if (m_inserting)
        return;
    m_undoText.clear();
    m_undoSaved = false;
}

void CMarkerEdit::SetTextCaretAtEnd(const std::string& text)
{
    m_inserting = false;
    m_markerShown = false;
    SetWindowText(text);
    int end = GetWindowTextLengthA(m_hWnd);
    SetSel(end, end);
    m_savedStart = end;
    m_savedEnd = end;
}

bool CMarkerEdit::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    // What the user types or pastes is a change of the user's: the owner may drop the undo for it.
    if (msg == WM_CHAR || msg == WM_PASTE || msg == WM_CUT || msg == WM_CLEAR)
        m_inserting = false;
    return false;
}

bool CMarkerEdit::OnTimer(UINT_PTR id, LRESULT& result)
{
    if (id != kMarkerTimer)
        return false;
    const bool pending = m_markerPending;
    CancelPendingMarker();
    if (pending && ::GetFocus() != m_hWnd && !m_markerShown)
        ShowMarker();
    result = 0;
    return true;
}

bool CMarkerEdit::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_COMMAND)
        return false;
    switch (HIWORD(wParam)) {
    case EN_KILLFOCUS:
        ShowMarkerSoon();
        break;
    case EN_SETFOCUS:
        CancelPendingMarker();
        if (m_markerShown)
            RemoveMarker();
        m_inserting = false;
        SetSel(m_savedStart, m_savedEnd);
        ScrollCaret();
        break;
    default:
        break;
    }
    return false;  // the parent hears of it too
}

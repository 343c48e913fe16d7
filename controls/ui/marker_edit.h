// An edit control that keeps a visible insertion point while another control has the focus, so that
// buttons and lists of its dialog can insert words into it. When the edit loses the focus with the
// caret between characters, it inserts the marker, one space, at the caret and selects it; an
// insertion then replaces the marker, and coming back to the edit takes the marker out again.
// One step of undo covers an insertion: the owner calls SaveUndoState before InsertText, and Undo
// (after giving the edit the focus) brings back the text and selection saved.
//
// Every change of the text costs the control a pass over its scroll bar, which takes milliseconds
// under some window systems: an insertion therefore replaces a shown marker in one change, and
// saving the undo state leaves the marker where it is. The marker itself waits until the messages
// of the focus change are handled (a zero-length timer comes after them): a button pressed from the
// keyboard inserts its word before any marker is made.
//
// The owner may call ClearUndo on every EN_CHANGE (the user changed the text): changes the edit makes
// itself (an insertion, its marker) keep the undo state.
#pragma once
#include <string>

#include "framework/ui/controls.h"

class CMarkerEdit : public CEdit {
public:
    CMarkerEdit() = default;

    // Replaces the selection (the marker, when one is shown) with `text`; `canUndo` goes to
    // EM_REPLACESEL. Without the focus, a new marker follows the text.
    void InsertText(const std::string& text, bool canUndo = false);
    // The same, then the focus comes back to the edit with the caret after the text (no new marker).
    void InsertTextAndFocus(const std::string& text);
    // Saves the text without a shown marker, and the selection (the caret at the marker), as the
    // undo state; the marker stays for the insertion to replace.
    void SaveUndoState();
    // The text without a shown marker.
    std::string GetTextWithoutMarker() const;
    // The saved text and selection back; the undo state is spent. Does nothing without one.
    void Undo();
    // Drops the undo state, unless the edit is changing its own text just now.
    void ClearUndo();
    bool CanUndo() const { return m_undoSaved; }
    // The whole text, with the caret after its last character.
    void SetTextCaretAtEnd(const std::string& text);
    // Takes a shown marker out, leaving the caret where it stood; without one, collapses the
    // selection to its end.
    void RemoveMarker();
    // What losing the focus does: a marker at a collapsed caret, or the selection remembered.
    void ShowMarker();
    bool IsMarkerShown() const { return m_markerShown; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnTimer(UINT_PTR id, LRESULT& result) override;
    // Arms the timer that shows the marker once the focus has settled elsewhere.
    void ShowMarkerSoon();
    // Forgets an armed marker (the text or the focus changed first).
    void CancelPendingMarker();
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Inserts the marker at the collapsed caret and selects it (no undo, no change of the flag).
    void PlaceMarker(int caret);
    // Deletes the shown marker, the caret where it stood; the edit's own change.
    void DeleteMarker();
    // Replaces the selection, or the shown marker, with `text` as the edit's own change.
    void ReplaceInsertionPoint(const std::string& text, bool canUndo);
    void GetSel(int& start, int& end) const;
    void ScrollCaret() const { SendMessage(EM_SCROLLCARET); }

    int m_savedEnd = -1;
    int m_savedStart = 0;
    // Set while the edit changes its own text; its EN_CHANGE must not cost the owner the undo state.
    bool m_inserting = false;
    bool m_undoSaved = false;
    int m_undoStart = 0;
    int m_undoEnd = 0;
    std::string m_undoText;
    bool m_markerShown = false;
    bool m_markerPending = false;  // the marker timer is armed
};

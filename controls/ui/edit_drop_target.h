// Accepts text dragged onto an edit control (CF_TEXT) at the character under the cursor. While the
// drag is over the edit, a 1-pixel insertion caret shows where the text will land; without a
// position (a drop with no drag over the edit) the text goes to the end. The edit's text limit
// holds: only as much of the dropped text goes in as fits. Other data is refused. The owner
// registers the target for its edit (Register) and revokes it before the edit goes.
#pragma once
#include <string>

#include "framework/ui/ole_drop_target.h"

class CEditDropTarget : public COleDropTarget {
public:
    CEditDropTarget() = default;

    DWORD OnDragEnter(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;
    DWORD OnDragOver(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;
    void OnDragLeave(HWND wnd) override;
    DWORD OnDrop(HWND wnd, COleDataObject& data, DWORD keyState, POINT point) override;

    // Where the text would land (a character index); -1 when no position is set.
    int GetDropPosition() const { return m_dropPosition; }
    // The insertion caret drawn now; empty when none is drawn.
    const RECT& GetCaretRect() const { return m_caret; }

private:
    // Moves the insertion caret to the character under `point` (erasing the old one).
    void TrackCaret(HWND edit, POINT point);
    void EraseCaret(HWND edit);
    void InvertCaret(HWND edit) const;
    static int MeasureText(HWND edit);

    int m_textWidth = 1;
    RECT m_caret = {0, 0, 0, 0};
    int m_dropPosition = -1;
};

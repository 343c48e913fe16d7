// What a date field knows besides its text: the date it holds, whether the user typed since the date
// was last shown, whether the date changed since the owner last looked, and the one step of undo
// (the previous date, swapped with the shown one). The field's text is reached through ReadText and
// WriteText, so that the rules run without a window: CDateEdit supplies the edit control's text.
//
// Text and flags:
//   ShowDate            writes the date by the edit picture; the field is no longer edited
//   OnTextChanged       (the user typed) first change after ShowDate: previous = date; then
//                       changed, edited and undo available
//   OnFocusLost         edited text that parses is shown reformatted; text that does not parse stays
//   GetDate             parses edited text first; false only when it does not parse (out = last good)
//
// A field that may stay empty (blank allowed) reads its no-date value from blank text, and setting
// that value empties it; a range uses kNoLowerDate for its start and kNoUpperDate for its end.
#pragma once
#include <cstdint>
#include <string>

#include "storage/date.h"

class CDateEditState {
public:
    CDateEditState() = default;
    virtual ~CDateEditState() = default;

    void ShowDate();
    // The text through ParseDateText; on success the date takes the parsed value.
    bool ParseText();
    // Shows the date again when the text was not edited or parses; text that does not parse stays.
    void Reformat();
    // The date: blank text in a field that allows it gives the no-date value. False only when edited
    // text does not parse; `out` then holds the last good date.
    bool GetDate(std::int32_t& out);
    // kNoneId (0x80000001) sets today and marks the field changed; the no-date value of a field
    // that allows blanks empties it; any other value goes through CDate::SetValue (an invalid one
    // keeps the date) and `changed` is added to the changed flag.
    void SetDate(std::int32_t value, bool changed = false);
    void SetToday();
    // Undo: shows the previous date; when the shown one could be read it becomes the previous one,
    // so a second call swaps back.
    bool SwapWithPrevious();
    bool Undo() { return SwapWithPrevious(); }
    // The shown date, when it reads, becomes the one undo brings back.
    void SavePrevious();
    // The shown date, when it reads, becomes the previous one; undo is spent and the flags clear.
    void Commit();
    void ClearModified();
    bool IsNotBlank() const;
    // For a field that allows blanks: reformats non-blank text and, when it reads, clears the flags.
    bool Validate();

    // The window's events.
    void OnTextChanged();
    void OnFocusLost();

    bool IsChanged() const { return m_changed; }
    bool IsEdited() const { return m_edited; }
    bool CanUndo() const { return m_undoAvailable; }
    std::int32_t GetCurrentValue() const { return m_current.GetValue(); }
    std::int32_t GetPreviousValue() const { return m_previous.GetValue(); }

    void SetBlankAllowed(bool allowed) { m_blankAllowed = allowed; }
    bool IsBlankAllowed() const { return m_blankAllowed; }
    void SetNoDateValue(std::int32_t value) { m_noDate = value; }
    std::int32_t GetNoDateValue() const { return m_noDate; }

    static constexpr std::int32_t kNoneId = static_cast<std::int32_t>(0x80000001);

protected:
    virtual std::string ReadText() const = 0;
    virtual void WriteText(const std::string& text) = 0;
    // False before the window exists: Validate then leaves the field alone.
    virtual bool HasWindow() const { return true; }

private:
    bool IsBlank() const { return !IsNotBlank(); }
    // Writes text of the field's own: its change notification is not the user's.
    void WriteOwnText(const std::string& text);

    bool m_blankAllowed = false;
    bool m_undoAvailable = false;
    CDate m_current;
    bool m_changed = false;
    bool m_edited = false;
    CDate m_previous;
    std::int32_t m_noDate = kNoLowerDate;
    bool m_writing = false;
};

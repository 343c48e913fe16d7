#include "controls/date_edit_state.h"

#include <new>

namespace {

bool IsBlankChar(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

void CDateEditState::WriteOwnText(const std::string& text)
{
    m_writing = true;
    try {
        WriteText(text);
    } catch (...) {
        m_writing = false;
        throw;
    }
    m_writing = false;
}

void CDateEditState::ShowDate()
{
    WriteOwnText(m_current.Format(false));
    m_edited = false;
}

bool CDateEditState::ParseText()
{
    std::int32_t value = 0;
    if (!ParseDateText(ReadText(), value))
        return false;
    m_current.SetValue(value);
    return true;
}

void CDateEditState::Reformat()
{
    if (!m_edited || ParseText())
        ShowDate();
}

bool CDateEditState::GetDate(std::int32_t& out)
{
    if (m_blankAllowed && IsBlank()) {
        out = m_noDate;
        return true;
    }
    bool ok = !m_edited || ParseText();
    out = m_current.GetValue();
    return ok;
}

void CDateEditState::SetDate(std::int32_t value, bool changed)
{
    if (m_blankAllowed && value == m_noDate) {
        WriteOwnText(std::string());
        m_edited = false;
        m_changed = m_changed || changed;
        return;
    }
    if (value == kNoneId) {
        m_current.SetToday();
        m_changed = true;
    } else {
        m_current.SetValue(value);
        m_changed = m_changed || changed;
    }
    ShowDate();
}

void CDateEditState::SetToday()
{
    m_previous = m_current;
    m_current.SetToday();
    ShowDate();
    m_undoAvailable = true;
    m_changed = true;
}

bool CDateEditState::SwapWithPrevious()
{
    try {
        std::int32_t shown = 0;
        bool read = GetDate(shown);
        SetDate(m_previous.GetValue(), false);
        if (read) {
            m_previous.SetValue(shown);
            m_undoAvailable = true;
            m_changed = true;
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

void CDateEditState::SavePrevious()
{
    std::int32_t shown = 0;
    if (GetDate(shown)) {
        m_previous.SetValue(shown);
        m_undoAvailable = true;
    }
}

void CDateEditState::Commit()
{
    std::int32_t shown = 0;
    if (GetDate(shown))
        m_previous.SetValue(shown);
    m_undoAvailable = false;
    ClearModified();
}

void CDateEditState::ClearModified()
{
    m_edited = false;
    m_changed = false;
}

bool CDateEditState::IsNotBlank() const
{
    for (char c : ReadText()) {
        if (!IsBlankChar(c))
            return true;
    }
    return false;
}

bool CDateEditState::Validate()
{
    if (IsNotBlank() && HasWindow()) {
        Reformat();
        std::int32_t value = 0;
        if (GetDate(value))
            ClearModified();
    }
    return true;
}

void CDateEditState::OnTextChanged()
{
    if (m_writing)
        return;
    if (!m_edited)
        m_previous = m_current;
    m_changed = true;
    m_edited = true;
    m_undoAvailable = true;
}

void CDateEditState::OnFocusLost()
{
    if (!m_edited || (m_blankAllowed && IsBlank()))
        return;
    // The date held before the typing was kept as the previous date at the first change.
    if (ParseText())
        ShowDate();
}

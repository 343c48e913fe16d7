#include "document/quor_error.h"

#include <new>

#include "framework/error_sink.h"
#include "framework/string_table.h"

CQuorError::CQuorError(int code, const char* text) : m_code(code)
{
    // Running out of memory while copying the text still leaves a usable error.
    try {
        if (text)
            m_text = text;
    } catch (const std::bad_alloc&) {
        m_text.clear();
    }
}

std::string CQuorError::Message() const
{
    if (m_code == 0)
        return std::string();
    return QuorFormat1(QuorLoadString(MessageId()), m_text);
}

void CQuorError::Report() const
{
    if (m_code != 0)
        ShowErrorMessage(Message());
}

void ReportOutOfMemory()
{
    CQuorError(1).Report();
}

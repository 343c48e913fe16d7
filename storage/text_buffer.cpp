#include "storage/text_buffer.h"

#include <cstring>
#include <new>

#include "framework/ansi_case.h"
#include "storage/quor_error.h"

void CTextBuffer::Grow(int32_t by)
{
    if (static_cast<int64_t>(m_capacity) + by > INT32_MAX)
        throw CQuorError(kOutOfMemory);
    int32_t capacity = m_capacity + by;
    char* grown = new (std::nothrow) char[static_cast<size_t>(capacity)];
    if (!grown)
        throw CQuorError(kOutOfMemory);
    if (m_length > 0)
        std::memcpy(grown, m_chars.get(), static_cast<size_t>(m_length));
    m_chars.reset(grown);
    m_capacity = capacity;
}

void CTextBuffer::Append(const std::string& text)
{
    if (text.empty())
        return;
    if (text.size() > static_cast<size_t>(INT32_MAX))
        throw CQuorError(kOutOfMemory);
    int32_t n = static_cast<int32_t>(text.size());
    if (static_cast<int64_t>(m_length) + n >= m_capacity)
        Grow(n > m_growthStep ? n : m_growthStep);
    std::memcpy(m_chars.get() + m_length, text.data(), static_cast<size_t>(n));
    m_length += n;
}

void CTextBuffer::AppendChar(char c)
{
    if (m_length + 1 >= m_capacity)
        Grow(m_growthStep);
    m_chars[m_length++] = c;
}

const char* CTextBuffer::GetString()
{
    if (m_length >= m_capacity)
        Grow(m_growthStep);
    m_chars[m_length] = '\0';
    return m_chars.get();
}

void CTextBuffer::SetString(const std::string& text)
{
    Free();
    Append(text);
}

void CTextBuffer::MakeLower()
{
    AnsiLowerBuffer(m_chars.get(), static_cast<size_t>(m_length));
}

int CTextBuffer::CompareNoCase(const std::string& text)
{
    return AnsiCompareNoCase(GetString(), text.c_str());
}

void CTextBuffer::TrimSpaces()
{
    while (m_length > 0 && m_chars[m_length - 1] == ' ')
        --m_length;
    int32_t start = 0;
    while (start < m_length && m_chars[start] == ' ')
        ++start;
    if (start > 0) {
        std::memmove(m_chars.get(), m_chars.get() + start, static_cast<size_t>(m_length - start));
        m_length -= start;
    }
}

void CTextBuffer::DeleteLeft(int32_t n)
{
    if (n <= 0)
        return;
    if (n > m_length) {
        Free();
        return;
    }
    std::memmove(m_chars.get(), m_chars.get() + n, static_cast<size_t>(m_length - n));
    m_length -= n;
}

void CTextBuffer::Free()
{
    m_chars.reset();
    m_capacity = 0;
    m_length = 0;
}

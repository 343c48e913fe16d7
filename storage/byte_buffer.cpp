#include "storage/byte_buffer.h"

#include <cstring>
#include <new>

#include "storage/quor_error.h"

int32_t CByteBuffer::Append(const void* bytes, int32_t n)
{
    if (n <= 0)
        return 0;
    int64_t needed = static_cast<int64_t>(m_cursor) + n;
    if (needed > INT32_MAX - 512)
        throw CQuorError(kOutOfMemory);
    if (m_size < needed) {
        int32_t capacity = static_cast<int32_t>(static_cast<int64_t>(m_size) + n + 512);
        uint8_t* grown = new (std::nothrow) uint8_t[static_cast<size_t>(capacity)];
        if (!grown)
            throw CQuorError(kOutOfMemory);
        if (m_cursor > 0)
            std::memcpy(grown, m_data.get(), static_cast<size_t>(m_cursor));
        m_data.reset(grown);
        m_size = capacity;
    }
    std::memcpy(m_data.get() + m_cursor, bytes, static_cast<size_t>(n));
    m_cursor += n;
    return n;
}

int32_t CByteBuffer::AppendInt(int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    uint8_t bytes[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    return Append(bytes, 4);
}

int32_t CByteBuffer::AppendShort(int16_t value)
{
    uint16_t v = static_cast<uint16_t>(value);
    uint8_t bytes[2] = {uint8_t(v), uint8_t(v >> 8)};
    return Append(bytes, 2);
}

int32_t CByteBuffer::AppendString(const std::string& text)
{
    return Append(text.c_str(), static_cast<int32_t>(text.size()) + 1);
}

bool CByteBuffer::SetData(const void* bytes, int32_t n)
{
    Free();
    if (n <= 0)
        return true;
    uint8_t* copy = new (std::nothrow) uint8_t[static_cast<size_t>(n)];
    if (!copy)
        return false;
    std::memcpy(copy, bytes, static_cast<size_t>(n));
    m_data.reset(copy);
    m_size = n;
    return true;
}

bool CByteBuffer::ReadInt(int32_t& value)
{
    if (GetRemaining() < 4)
        return false;
    const uint8_t* p = m_data.get() + m_cursor;
    value = static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
    m_cursor += 4;
    return true;
}

bool CByteBuffer::ReadShort(int16_t& value)
{
    if (GetRemaining() < 2)
        return false;
    const uint8_t* p = m_data.get() + m_cursor;
    value = static_cast<int16_t>(uint16_t(p[0] | p[1] << 8));
    m_cursor += 2;
    return true;
}

bool CByteBuffer::ReadBytes(void* bytes, int32_t n)
{
    if (n < 0 || GetRemaining() < n)
        return false;
    if (n > 0)
        std::memcpy(bytes, m_data.get() + m_cursor, static_cast<size_t>(n));
    m_cursor += n;
    return true;
}

bool CByteBuffer::ReadString(std::string& text)
{
    if (GetRemaining() <= 0)
        return false;
    const char* start = reinterpret_cast<const char*>(m_data.get() + m_cursor);
    const void* nul = std::memchr(start, 0, static_cast<size_t>(GetRemaining()));
    int32_t length = nul ? static_cast<int32_t>(static_cast<const char*>(nul) - start) : GetRemaining();
    text.assign(start, static_cast<size_t>(length));
    m_cursor += nul ? length + 1 : length;
    return true;
}

void CByteBuffer::Free()
{
    m_data.reset();
    m_cursor = 0;
    m_size = 0;
}

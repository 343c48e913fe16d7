#include "storage/clipboard_codec.h"

#include <cstring>
#include <limits>

#include "storage/quor_error.h"

namespace {

// The first block: two zero bytes, as every earlier version allocated.
constexpr std::size_t kFirstCapacity = 2;

}  // namespace

CClipboardCodec::CLock::CLock(CClipboardCodec& codec) : m_codec(codec), m_bytes(codec.LockBlock())
{
    if (!m_bytes)
        throw CQuorError(kOutOfMemory);
}

std::size_t CClipboardCodec::GrownCapacity(std::size_t capacity, std::size_t needed)
{
    if (needed <= capacity)
        return capacity;
    std::size_t doubled = capacity <= std::numeric_limits<std::size_t>::max() / 2 ? capacity * 2 : needed;
    return doubled > needed ? doubled : needed;
}

void CClipboardCodec::Append(const void* bytes, std::size_t length)
{
    // Clipboard blocks are counted in 32 bits by every reader of the formats.
    if (length > static_cast<std::size_t>(INT32_MAX) - m_size)
        throw CQuorError(kOutOfMemory);
    std::size_t needed = m_size + length;
    if (!HasBlock()) {
        std::size_t first = needed > kFirstCapacity ? needed : kFirstCapacity;
        if (!ResizeBlock(first))
            throw CQuorError(kOutOfMemory);
        m_capacity = first;
    } else if (needed > m_capacity) {
        std::size_t grown = GrownCapacity(m_capacity, needed);
        if (!ResizeBlock(grown))
            throw CQuorError(kOutOfMemory);
        m_capacity = grown;
    }
    if (length == 0)
        return;
    CLock lock(*this);
    std::memcpy(lock.Bytes() + m_size, bytes, length);
    m_size = needed;
}

void CClipboardCodec::AppendString(const std::string& text)
{
    // The characters and the string's own terminating NUL.
    Append(text.c_str(), text.size() + 1);
}

void CClipboardCodec::AppendInt(std::int32_t value)
{
    auto u = static_cast<std::uint32_t>(value);
    unsigned char bytes[4] = {static_cast<unsigned char>(u), static_cast<unsigned char>(u >> 8),
                              static_cast<unsigned char>(u >> 16), static_cast<unsigned char>(u >> 24)};
    Append(bytes, sizeof bytes);
}

void CClipboardCodec::AppendText(const std::string& text)
{
    Append(text.data(), text.size());
}

void CClipboardCodec::AppendNewLine()
{
    Append("\r\n", 2);
}

void CClipboardCodec::AppendNul()
{
    Append("", 1);
}

void CClipboardCodec::AppendBytes(const void* bytes, std::size_t length)
{
    Append(bytes, length);
}

void CClipboardCodec::CheckAvailable(std::size_t length) const
{
    if (m_readPosition > m_size || length > m_size - m_readPosition)
        throw CQuorError(kBadClipboardData);
}

std::int32_t CClipboardCodec::ReadInt()
{
    if (!HasBlock())
        return 0;
    CheckAvailable(4);
    CLock lock(*this);
    const auto* bytes = reinterpret_cast<const unsigned char*>(lock.Bytes() + m_readPosition);
    std::uint32_t u = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
    m_readPosition += 4;
    return static_cast<std::int32_t>(u);
}

std::string CClipboardCodec::ReadString()
{
    if (!HasBlock())
        return std::string();
    CheckAvailable(1);
    CLock lock(*this);
    const char* start = lock.Bytes() + m_readPosition;
    const void* nul = std::memchr(start, '\0', m_size - m_readPosition);
    if (!nul)
        throw CQuorError(kBadClipboardData);
    std::size_t length = static_cast<std::size_t>(static_cast<const char*>(nul) - start);
    std::string text(start, length);
    m_readPosition += length + 1;
    return text;
}

void CClipboardCodec::ReadBytes(void* destination, std::size_t length)
{
    CheckAvailable(length);
    if (length == 0)
        return;
    CLock lock(*this);
    std::memcpy(destination, lock.Bytes() + m_readPosition, length);
    m_readPosition += length;
}

void CClipboardCodec::Skip(std::size_t count)
{
    CheckAvailable(count);
    m_readPosition += count;
}

void CClipboardCodec::TrimToSize()
{
    if (HasBlock() && m_size > 0 && m_size < m_capacity) {
        // Shrinking keeps the bytes; should it fail, the larger block still holds the data.
        if (ResizeBlock(m_size))
            m_capacity = m_size;
    }
}

void CClipboardCodec::StartReading(std::size_t size)
{
    m_size = size;
    m_capacity = size;
    m_readPosition = 0;
}

void CClipboardCodec::ForgetBlock()
{
    m_size = 0;
    m_capacity = 0;
    m_readPosition = 0;
}

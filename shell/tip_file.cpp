#include "shell/tip_file.h"

#include <cstring>
#include <new>

namespace {

constexpr char kMagic[4] = {'Q', 'V', 'T', 'D'};
constexpr uint32_t kUnreadableEntry = 0x80000000u;

// The characters before the first zero byte.
std::string UpToZero(const std::vector<char>& bytes)
{
    const void* zero = bytes.empty() ? nullptr : std::memchr(bytes.data(), 0, bytes.size());
    const size_t n = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes.data()) : bytes.size();
    return std::string(bytes.data(), n);
}

}  // namespace

bool CTipFile::Open(const std::string& path)
{
    m_count = 0;
    m_indexOffset = 0;
    if (IsOpen()) CloseQuietly();
    if (!CFile::Open(path, modeRead | shareDenyWrite))
        return false;
    try {
        m_length = GetLength();
        unsigned char header[12];
        Seek(0, begin);
        if (Read(header, sizeof header) == sizeof header && std::memcmp(header, kMagic, 4) == 0) {
            const int16_t version = static_cast<int16_t>(header[4] | header[5] << 8);
            const int16_t count = static_cast<int16_t>(header[6] | header[7] << 8);
            if (version <= kMaxVersion) {
                m_count = count > 0 ? count : 0;
                m_indexOffset = static_cast<uint32_t>(header[8]) | static_cast<uint32_t>(header[9]) << 8 |
                                static_cast<uint32_t>(header[10]) << 16 | static_cast<uint32_t>(header[11]) << 24;
                return true;
            }
        }
    } catch (const CFileException&) {
    }
    m_count = 0;
    CloseQuietly();
    return false;
}

void CTipFile::CloseQuietly()
{
    Abort();
}

bool CTipFile::Holds(uint64_t n) const
{
    return GetPosition() <= m_length && m_length - GetPosition() >= n;
}

bool CTipFile::ReadExact(void* buffer, uint32_t n)
{
    return Holds(n) && Read(buffer, n) == n;
}

bool CTipFile::ReadU16(uint16_t& value)
{
    unsigned char b[2];
    if (!ReadExact(b, 2)) return false;
    value = static_cast<uint16_t>(b[0] | b[1] << 8);
    return true;
}

bool CTipFile::ReadU32(uint32_t& value)
{
    unsigned char b[4];
    if (!ReadExact(b, 4)) return false;
    value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 | static_cast<uint32_t>(b[2]) << 16 |
            static_cast<uint32_t>(b[3]) << 24;
    return true;
}

int64_t CTipFile::GetRecordOffset(int n)
{
    if (n < 0 || n >= m_count || !IsOpen())
        return -1;
    try {
        uint32_t entry = 0;
        Seek(static_cast<int64_t>(m_indexOffset) + 4 * static_cast<int64_t>(n), begin);
        if (!ReadU32(entry) || entry >= kUnreadableEntry)
            return -1;
        return entry;
    } catch (const CFileException&) {
        return -1;
    }
}

int CTipFile::GetKind(int n)
{
    const int64_t offset = GetRecordOffset(n);
    if (offset < 0)
        return -1;
    try {
        uint16_t kind = 0;
        Seek(offset, begin);
        return ReadU16(kind) ? kind : -1;
    } catch (const CFileException&) {
        return -1;
    }
}

bool CTipFile::ReadTip(int n, int& kind, std::vector<TipLink>& links, std::string& text)
{
    kind = 0;
    text.clear();
    links.clear();
    const int64_t offset = GetRecordOffset(n);
    if (offset < 0)
        return false;
    try {
        uint16_t tipKind = 0, headerLength = 0, linkCount = 0;
        Seek(offset, begin);
        if (!ReadU16(tipKind) || !ReadU16(headerLength) || !ReadU16(linkCount))
            return false;
        std::vector<TipLink> read;
        std::vector<char> bytes;
        for (uint16_t i = 0; i < linkCount; ++i) {
            TipLink link;
            uint16_t targetLength = 0;
            if (!ReadU16(link.first) || !ReadU16(link.last) || !ReadU16(link.kind) || !ReadU16(targetLength) ||
                !Holds(targetLength))
                return false;
            bytes.resize(targetLength);
            if (!ReadExact(bytes.data(), targetLength))
                return false;
            link.target = UpToZero(bytes);
            read.push_back(std::move(link));
        }
        uint32_t textLength = 0;
        Seek(offset + headerLength, begin);
        if (!ReadU32(textLength) || !Holds(textLength))
            return false;
        bytes.resize(textLength);
        if (!ReadExact(bytes.data(), textLength))
            return false;
        std::string tipText = UpToZero(bytes);
        for (TipLink& link : read)
            if (link.first <= link.last && link.last < tipText.size())
                links.push_back(std::move(link));
        kind = tipKind;
        text = std::move(tipText);
        return true;
    } catch (const CFileException&) {
    } catch (const std::bad_alloc&) {
    }
    links.clear();
    text.clear();
    kind = 0;
    return false;
}

bool ReadNextTip(CTipFile& file, int& next, std::vector<TipLink>& links, std::string& text)
{
    const int count = file.GetCount();
    bool read = false;
    for (int attempt = 0; attempt < count; ++attempt) {
        if (next < 0 || next >= count) next = 0;
        const int kind = file.GetKind(next);
        if (kind == 0) {
            int readKind = 0;
            std::vector<TipLink> tipLinks;
            std::string tipText;
            read = file.ReadTip(next, readKind, tipLinks, tipText);
            if (read) {
                links = std::move(tipLinks);
                text = std::move(tipText);
            }
            ++next;
            break;
        }
        ++next;
    }
    return read;
}

uint32_t ParseHelpNumber(const std::string& target)
{
    uint64_t value = 0;
    bool hex = false;
    for (char c : target) {
        int digit;
        if (c == 'x' || c == 'X') {
            if (hex) break;
            hex = true;
            continue;
        }
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        const uint64_t grown = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (grown > 0xFFFFFFFFu) break;
        value = grown;
    }
    return static_cast<uint32_t>(value);
}

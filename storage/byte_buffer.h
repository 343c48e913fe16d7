// A growable byte buffer: records are built in it before they are cut into blocks (write mode), and
// sections are read back from it field by field (read mode, after SetData).
//
// Field layout (all integers little-endian):
//   int32   4 bytes
//   int16   2 bytes
//   string  the characters and a terminating NUL
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class CByteBuffer {
public:
    CByteBuffer() = default;
    CByteBuffer(const CByteBuffer&) = delete;
    CByteBuffer& operator=(const CByteBuffer&) = delete;
    virtual ~CByteBuffer() = default;

    // Write mode. Growing makes the capacity capacity + n + 512; a memory failure raises code 1 and
    // keeps what was written so far. Each returns the bytes appended.
    int32_t Append(const void* bytes, int32_t n);
    int32_t AppendInt(int32_t value);
    int32_t AppendShort(int16_t value);
    int32_t AppendString(const std::string& text);
    const uint8_t* GetData() const { return m_data.get(); }
    int32_t GetLength() const { return m_cursor; }

    // Read mode: holds a copy of n bytes; false after a memory failure (buffer left empty).
    bool SetData(const void* bytes, int32_t n);
    // A field that does not fit in what remains leaves the target and the cursor unchanged.
    bool ReadInt(int32_t& value);
    bool ReadShort(int16_t& value);
    // n bytes as they stand; false (nothing read) when fewer remain.
    bool ReadBytes(void* bytes, int32_t n);
    // The NUL-terminated string at the cursor (ending at the end of the content when no NUL comes).
    bool ReadString(std::string& text);
    int32_t GetRemaining() const { return m_size - m_cursor; }

    void Free();

private:
    int32_t m_cursor = 0;  // write: content length; read: read position
    int32_t m_size = 0;    // write: capacity; read: content length
    std::unique_ptr<uint8_t[]> m_data;
};

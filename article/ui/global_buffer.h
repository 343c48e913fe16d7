// The memory that rich-edit stream callbacks read from and write to: one movable global-memory
// block, filled from the start and read from a position that moves on.
//
// The block grows geometrically (at least doubling), not by each chunk the control hands over: a
// 10 MB article streamed out in 4 KB chunks would otherwise be copied thousands of times.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class CGlobalBuffer {
public:
    CGlobalBuffer() = default;
    CGlobalBuffer(const CGlobalBuffer&) = delete;
    CGlobalBuffer& operator=(const CGlobalBuffer&) = delete;
    // Frees the block.
    virtual ~CGlobalBuffer();

    // Appends n bytes; n <= 0 does nothing. A failed allocation or lock raises CQuorError 1 and keeps
    // the bytes appended before.
    void Append(const void* bytes, int32_t n);
    // Frees the block, appends the text's bytes (no terminator) and reads from the start again.
    void SetString(const std::string& text);
    void AppendZero();
    // The text up to the first zero byte (or the whole block); a failed lock raises CQuorError 1.
    void CopyTo(std::string& text) const;
    // Copies up to n bytes from the read position on and moves it; the count copied, 0 at the end.
    int32_t Read(void* dest, int32_t n);

    int32_t GetLength() const { return m_total; }
    void Free();

private:
    int32_t m_readPosition = 0;
    HGLOBAL m_block = nullptr;
    int32_t m_total = 0;
    int32_t m_capacity = 0;
};

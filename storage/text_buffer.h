// A growable character buffer for building long texts (import lines, export output, reports). It
// grows by at least the growth step (32000 by default) so that appending stays cheap.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

class CTextBuffer {
public:
    explicit CTextBuffer(int32_t growthStep = 32000) : m_growthStep(growthStep > 0 ? growthStep : 32000) {}
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;
    virtual ~CTextBuffer() = default;

    void Append(const std::string& text);
    void AppendChar(char c);
    // The text with a NUL after it (the NUL is not counted in the length).
    const char* GetString();
    int32_t GetLength() const { return m_length; }
    int32_t GetCapacity() const { return m_capacity; }
    // The character at pos, or 0 outside the text.
    char GetAt(int32_t pos) const { return pos < 0 || pos >= m_length ? 0 : m_chars[pos]; }
    void SetString(const std::string& text);
    void MakeLower();
    int CompareNoCase(const std::string& text);
    // Removes spaces (0x20 only) at the end, then at the start.
    void TrimSpaces();
    // Removes the first n characters; n beyond the length frees the buffer.
    void DeleteLeft(int32_t n);
    void Free();

private:
    void Grow(int32_t by);

    int32_t m_growthStep;
    std::unique_ptr<char[]> m_chars;
    int32_t m_capacity = 0;
    int32_t m_length = 0;
};

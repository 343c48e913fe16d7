// Small helpers for tests of stored structures: little-endian fields and error codes.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "storage/quor_error.h"

constexpr int32_t kNoneIdValue = static_cast<int32_t>(0x80000001u);

inline std::string Le32(int32_t v)
{
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[static_cast<size_t>(i)] = char(static_cast<uint32_t>(v) >> (8 * i));
    return bytes;
}

inline std::string Le16(int16_t v)
{
    return std::string{char(v & 0xFF), char(static_cast<uint16_t>(v) >> 8)};
}

inline int32_t Get32(const std::string& bytes, size_t at)
{
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= uint32_t(uint8_t(bytes[at + static_cast<size_t>(i)])) << (8 * i);
    return static_cast<int32_t>(v);
}

inline void Put32(std::string& bytes, size_t at, int32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<size_t>(i)] = static_cast<char>(static_cast<uint32_t>(value) >> (8 * i));
}

// The code of the CQuorError the action throws (0 when it throws none); *text receives its text.
inline int ErrorOf(const std::function<void()>& action, std::string* text = nullptr)
{
    try {
        action();
    } catch (const CQuorError& e) {
        if (text)
            *text = e.Text();
        return e.Code();
    }
    return 0;
}

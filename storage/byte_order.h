// Little-endian fields of the data file, read and written byte by byte so that the layout never
// depends on the host's byte order or on struct packing.
#pragma once
#include <cstdint>

inline uint32_t LoadLe32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

inline int32_t LoadLeInt32(const uint8_t* p) { return static_cast<int32_t>(LoadLe32(p)); }

inline int16_t LoadLeInt16(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }

inline void StoreLe32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

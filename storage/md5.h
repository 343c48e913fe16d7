// The MD5 message digest of RFC 1321. Used as Init, one or more Update calls and Final on a local
// object; the 16-byte digest stays readable until the next Final.
#pragma once
#include <cstddef>
#include <cstdint>

class CMD5 {
public:
    CMD5() { Init(); }
    virtual ~CMD5() = default;

    void Init();
    void Update(const void* bytes, size_t n);
    // Pads, stores the digest and clears the state words, the count and the input buffer.
    void Final();
    const uint8_t* GetDigest() const { return m_digest; }

private:
    void Transform(const uint8_t block[64]);

    uint32_t m_state[4];
    uint64_t m_bitCount;
    uint8_t m_buffer[64];
    uint8_t m_digest[16] = {};
};

#include "independent_reader.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <zlib.h>

#include "framework/native_path.h"

namespace independent {

namespace {

constexpr int32_t kNone = static_cast<int32_t>(0x80000001u);

int32_t I32(const uint8_t* p) { return static_cast<int32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24); }
int16_t I16(const uint8_t* p) { return static_cast<int16_t>(p[0] | p[1] << 8); }

void Fail(const std::string& what) { throw std::runtime_error(what); }

// Reads fields from a record's bytes, failing on anything past the end.
class Cursor {
public:
    Cursor(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& key) : m_bytes(bytes), m_key(key) {}
    const uint8_t* Take(size_t n)
    {
        if (n > m_bytes.size() - m_at) Fail("record ends early");
        const uint8_t* p = m_bytes.data() + m_at;
        m_at += n;
        return p;
    }
    int32_t Int() { return I32(Take(4)); }
    int16_t Short() { return I16(Take(2)); }
    int16_t SizedShort()
    {
        if (Int() != 2) Fail("sized int16 without size 2");
        return Short();
    }
    int32_t SizedInt()
    {
        if (Int() != 4) Fail("sized int32 without size 4");
        return Int();
    }
    std::string String()
    {
        int32_t n = Int();
        if (n < 1) Fail("string without its NUL");
        const uint8_t* p = Take(static_cast<size_t>(n));
        if (p[n - 1] != 0) Fail("string not NUL-terminated");
        return std::string(reinterpret_cast<const char*>(p));
    }
    std::vector<int32_t> IdSet()
    {
        int32_t n = Int();
        std::vector<int32_t> ids;
        if (n < 4) return ids;
        for (int32_t i = 0; i < n / 4; ++i) ids.push_back(Int());
        return ids;
    }
    std::string Packed(std::vector<int>& modes)
    {
        int mode = Short();
        modes.push_back(mode);
        std::vector<uint8_t> out;
        if ((mode & 1) == 0) {
            int32_t n = Int();
            const uint8_t* p = Take(static_cast<size_t>(n));
            out.assign(p, p + n);
        } else {
            uint32_t ulen = static_cast<uint32_t>(Int());
            uint32_t clen = static_cast<uint32_t>(Int());
            uint32_t checkB = 0;
            const uint8_t* compressed;
            if (mode & 2) {
                const uint8_t* salt = Take(4);
                std::vector<uint8_t> seed(salt, salt + 4);
                seed.insert(seed.end(), m_key.begin(), m_key.end());
                std::vector<uint8_t> digest = Md5(seed);
                clen ^= static_cast<uint32_t>(I32(digest.data()));
                ulen ^= static_cast<uint32_t>(I32(digest.data() + 7));
                uint8_t lenBytes[4];
                for (int i = 0; i < 4; ++i) lenBytes[i] = static_cast<uint8_t>(clen >> (8 * i));
                if (static_cast<uint32_t>(Int()) != crc32(0, lenBytes, 4)) Fail("check A does not match");
                compressed = Take(clen);
                checkB = static_cast<uint32_t>(Int());
            } else {
                compressed = Take(clen);
            }
            out.resize(ulen);
            uLongf got = ulen;
            if (uncompress(out.data(), &got, compressed, clen) != Z_OK || got != ulen) Fail("bad zlib stream");
            if (mode & 2) {
                uint8_t lenBytes[4];
                for (int i = 0; i < 4; ++i) lenBytes[i] = static_cast<uint8_t>(ulen >> (8 * i));
                if (checkB != crc32(0, lenBytes, 4)) Fail("check B does not match");
            }
        }
        if (out.empty() || out.back() != 0) Fail("packed string without its NUL");
        return std::string(reinterpret_cast<const char*>(out.data()));
    }

private:
    const std::vector<uint8_t>& m_bytes;
    const std::vector<uint8_t>& m_key;
    size_t m_at = 0;
};

Attachment ReadTarget(Cursor& c, std::vector<int>& modes)
{
    Attachment a;
    int16_t word = c.SizedShort();
    if (word & 0x8000) {
        a.kind = word & 0x3FFF;
        a.target = c.Packed(modes);
        if ((word & 0xC000) == 0xC000) {
            a.articleId = c.Int();
            a.flags = c.Int();
        }
    } else {
        a.kind = word;
        a.target = c.String();
    }
    return a;
}

void ReadAttachments(Cursor& c, Article& a)
{
    int16_t count = c.SizedShort();
    for (int i = 0; i < count; ++i) a.attachments.push_back(ReadTarget(c, a.packedModes));
}

}  // namespace

// ---- the file -----------------------------------------------------------------------------------

DataFileBytes::DataFileBytes(const std::string& path)
{
    std::ifstream in(NativePath(path), std::ios::binary);
    if (!in) Fail("cannot open " + path);
    m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (m_bytes.size() < 60 || m_bytes[0] != 'V' || m_bytes[1] != 'Q') Fail("not a data file");
    m_version = I16(&m_bytes[2]);
    if (I16(&m_bytes[4]) != 512 || I16(&m_bytes[6]) != 128) Fail("unexpected block geometry");
    m_headerSize = m_version < 300 ? 60 : I32(&m_bytes[60]);
    if (m_headerSize > 220) m_headerSize = 220;
}

const uint8_t* DataFileBytes::Block(int32_t n) const
{
    size_t offset = static_cast<size_t>(m_headerSize) + 512u * static_cast<size_t>(n);
    if (n < 0 || offset + 512 > m_bytes.size()) Fail("block outside the file");
    return &m_bytes[offset];
}

int32_t DataFileBytes::Next(int32_t block) const
{
    return I32(Block(block / 128 * 128) + 4 * (block % 128));
}

std::vector<uint8_t> DataFileBytes::Chain(int32_t first) const
{
    std::vector<uint8_t> bytes;
    for (int32_t b = first, steps = 0; b != kNone; b = Next(b)) {
        if (++steps > 100000) Fail("looping chain");
        const uint8_t* p = Block(b);
        bytes.insert(bytes.end(), p, p + 512);
    }
    return bytes;
}

std::vector<uint8_t> DataFileBytes::TableRecord(int table, int32_t entry) const
{
    const int descriptor[] = {20, 32, 44, 172, 184, 196};
    const uint8_t* d = &m_bytes[static_cast<size_t>(descriptor[table])];
    if (entry < 0 || entry >= I32(d)) Fail("entry outside the table");
    int32_t index = I32(d + 8);
    for (int32_t i = 0; i < entry / 128; ++i) index = Next(index);
    int32_t first = I32(Block(index) + 4 * (entry % 128));
    if (first == kNone) Fail("deleted entry");
    return Chain(first);
}

std::vector<uint8_t> DataFileBytes::KeyedRecord(int16_t key) const
{
    int32_t keys = I32(&m_bytes[44]);
    int32_t directory = I32(&m_bytes[52]);
    if (keys == 0 || directory == kNone) return {};
    std::vector<uint8_t> dir = Chain(directory);
    if (I32(dir.data()) != 6 * keys) Fail("key directory length");
    for (int32_t i = 0; i < keys; ++i) {
        const uint8_t* e = dir.data() + 4 + 6 * i;
        if (I16(e) == key) return Chain(I32(e + 2));
    }
    return {};
}

std::vector<uint8_t> DataFileBytes::RecordKey(const std::string& password) const
{
    std::vector<uint8_t> record = KeyedRecord(9);
    if (record.size() < 54 || I32(record.data()) < 50) Fail("no password record");
    const uint8_t* salt = &record[6];
    const uint8_t* check = &record[22];
    const uint8_t* encrypted = &record[38];
    std::vector<uint8_t> salted(salt, salt + 16);
    salted.insert(salted.end(), password.begin(), password.end());
    std::vector<uint8_t> digest = Md5(salted);
    if (std::memcmp(digest.data(), check, 16) != 0) Fail("wrong password");
    std::vector<uint8_t> hash = Md5(std::vector<uint8_t>(password.begin(), password.end()));
    std::vector<uint8_t> fileKey(16);
    for (int i = 0; i < 16; ++i) fileKey[i] = encrypted[i] ^ hash[i];
    return Md5(fileKey);
}

// ---- records ------------------------------------------------------------------------------------

Article ReadArticle(const DataFileBytes& file, int32_t id, const std::vector<uint8_t>& recordKey)
{
    std::vector<uint8_t> bytes = file.TableRecord(1, id);
    Cursor c(bytes, recordKey);
    Article a;
    a.type = c.SizedShort();
    if (a.type == static_cast<int16_t>(0x812C)) {
        if (c.Int() != 32) Fail("header length");
        a.version = c.Short();
        a.headerValue = c.Int();
        a.flags = c.Short();
        a.createdDate = c.Int();
        a.createdTime = c.Int();
        a.modifiedDate = c.Int();
        a.modifiedTime = c.Int();
        a.date = c.Int();
        a.time = c.Int();
        if (a.version > 0) a.title = c.Packed(a.packedModes);
        if (a.version > 1) a.keywordIds = c.IdSet();
        if (a.version > 2) ReadAttachments(c, a);
        if (a.version > 3) (a.version == 4 ? a.plainText : a.content) = c.Packed(a.packedModes);
        if (a.version > 4) {
            if (c.Int() != 20 || c.Short() != static_cast<int16_t>(0xF33F)) Fail("info, new form");
            a.wordWrap = c.Int();
            a.editorState = c.Int();
            a.attachmentOpening = c.Int();
            a.keepTitle = c.Int();
            a.infoFlags = c.Short();
        }
        if (a.version > 5) {
            int32_t count = c.Int();
            for (int32_t i = 0; i < count; ++i) {
                Link l;
                l.start = c.Int();
                l.end = c.Int();
                l.type = c.Short();
                l.targetArticle = c.Int();
                l.valueB = c.Int();
                l.valueC = c.Int();
                l.target = c.Packed(a.packedModes);
                a.links.push_back(l);
            }
        }
        return a;
    }
    if (a.type != 4 && a.type != 9) Fail("old layout version");
    a.version = a.type;
    a.date = c.SizedInt();
    a.title = c.String();
    a.plainText = c.String();
    a.keywordIds = c.IdSet();
    if (a.version == 9) {
        if (c.Int() != 4) Fail("info part 1");
        a.wordWrap = c.Int();
        ReadAttachments(c, a);
        a.legacyText = c.String();
        a.content = c.String();
        if (c.Int() != 10 || c.Short() != static_cast<int16_t>(0xF22F)) Fail("info part 2");
        a.editorState = c.Int();
        a.attachmentOpening = c.Int();
    }
    return a;
}

Keyword ReadKeyword(const DataFileBytes& file, int32_t id, const std::vector<uint8_t>& recordKey)
{
    std::vector<uint8_t> bytes = file.TableRecord(0, id);
    Cursor c(bytes, recordKey);
    Keyword k;
    std::vector<int> modes;
    k.type = c.SizedShort();
    k.name = (k.type & 0x8000) ? c.Packed(modes) : c.String();
    k.articleIds = c.IdSet();
    if ((k.type & 0x7FFF) == 3) k.groupIds = c.IdSet();
    return k;
}

// ---- MD5 (RFC 1321) -----------------------------------------------------------------------------

std::vector<uint8_t> Md5(const std::vector<uint8_t>& input)
{
    static const uint32_t K[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
        0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
        0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
        0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
        0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
        0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
        0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};
    static const int R[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                              5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                              4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                              6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    std::vector<uint8_t> m = input;
    uint64_t bits = static_cast<uint64_t>(input.size()) * 8;
    m.push_back(0x80);
    while (m.size() % 64 != 56) m.push_back(0);
    for (int i = 0; i < 8; ++i) m.push_back(static_cast<uint8_t>(bits >> (8 * i)));
    uint32_t h[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    for (size_t off = 0; off < m.size(); off += 64) {
        uint32_t w[16];
        for (int i = 0; i < 16; ++i) w[i] = static_cast<uint32_t>(I32(&m[off + 4 * i]));
        uint32_t a = h[0], b = h[1], c = h[2], d = h[3];
        for (int i = 0; i < 64; ++i) {
            uint32_t f;
            int g;
            if (i < 16) { f = (b & c) | (~b & d); g = i; }
            else if (i < 32) { f = (d & b) | (~d & c); g = (5 * i + 1) % 16; }
            else if (i < 48) { f = b ^ c ^ d; g = (3 * i + 5) % 16; }
            else { f = c ^ (b | ~d); g = (7 * i) % 16; }
            uint32_t t = d;
            d = c;
            c = b;
            uint32_t x = a + f + K[i] + w[g];
            b = b + ((x << R[i]) | (x >> (32 - R[i])));
            a = t;
        }
        h[0] += a; h[1] += b; h[2] += c; h[3] += d;
    }
    std::vector<uint8_t> digest(16);
    for (int i = 0; i < 16; ++i) digest[i] = static_cast<uint8_t>(h[i / 4] >> (8 * (i % 4)));
    return digest;
}

}  // namespace independent

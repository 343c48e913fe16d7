#include "storage/file_password.h"

#include <cstring>

#include "framework/random_source.h"
#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/md5.h"
#include "storage/quor_error.h"
#include "storage/record_stream.h"

namespace {

// The smallest stored count that holds the flags, salt, check and encrypted key.
constexpr int32_t kCountThroughKey = 2 + 3 * 16;

void Md5Of(const void* a, size_t na, const void* b, size_t nb, uint8_t out[16])
{
    CMD5 md5;
    md5.Init();
    md5.Update(a, na);
    if (nb != 0) md5.Update(b, nb);
    md5.Final();
    std::memcpy(out, md5.GetDigest(), 16);
}

void Md5OfText(const std::string& text, uint8_t out[16]) { Md5Of(text.data(), text.size(), nullptr, 0, out); }

void RandomBytes(uint8_t* out, int n)
{
    for (int i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(GetRandomSource().Next() % 4080 / 16);
}

void Xor(const uint8_t a[16], const uint8_t b[16], uint8_t out[16])
{
    for (int i = 0; i < 16; ++i) out[i] = a[i] ^ b[i];
}

bool IsZero(const uint8_t* bytes, int n)
{
    for (int i = 0; i < n; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

}  // namespace

void CFilePassword::ResetState()
{
    std::memset(m_passwordHash, 0, sizeof m_passwordHash);
    m_unlocked = true;
    m_dirty = false;
    m_damaged = false;
    m_flags = 0;
    std::memset(m_salt, 0, sizeof m_salt);
    std::memset(m_check, 0, sizeof m_check);
    std::memset(m_encryptedKey, 0, sizeof m_encryptedKey);
    std::memset(m_further, 0, sizeof m_further);
}

void CFilePassword::SetRecordKeyFromFileKey(const uint8_t fileKey[16])
{
    uint8_t recordKey[16];
    Md5Of(fileKey, 16, nullptr, 0, recordKey);
    if (m_file) m_file->SetRecordKey(recordKey);
}

void CFilePassword::ClearRecordKey()
{
    static const uint8_t kZero[16] = {};
    if (m_file) m_file->SetRecordKey(kZero);
}

// ---- the stored record --------------------------------------------------------------------------

void CFilePassword::ReadFrom(CRecordStream& stream)
{
    ResetState();
    int32_t count = stream.ReadInt();
    // Flags, salt, check, encrypted key and further bytes, in that order, as far as the count reaches.
    uint8_t content[kStoredCount] = {};
    int32_t n = count < 0 ? 0 : count > kStoredCount ? kStoredCount : count;
    int32_t got = 0;
    int code = stream.ReadRaw(content, n, &got);
    m_flags = got >= 2 ? static_cast<int16_t>(content[0] | content[1] << 8) : 0;
    std::memcpy(m_salt, content + 2, 16);
    std::memcpy(m_check, content + 18, 16);
    std::memcpy(m_encryptedKey, content + 34, 16);
    std::memcpy(m_further, content + 50, 48);
    bool cutOff = code != 0 || got < n;
    // A record that clears its flags says "no password" whole; any other record must hold at least
    // the flags, salt, check and key. Anything less cannot be told from a damaged password.
    if (!(got >= 2 && m_flags == 0 && !cutOff) && (cutOff || count < kCountThroughKey)) {
        m_damaged = true;
        m_flags = m_flags != 0 ? m_flags : 1;
        m_unlocked = false;
        throw CQuorError(kCorruptedRecord, stream.GetFilePath());
    }
    m_unlocked = m_flags == 0;
}

void CFilePassword::WriteTo(CRecordStream& stream) const
{
    stream.WriteInt(kStoredCount);
    stream.WriteShort(m_flags);
    uint8_t bytes[96];
    std::memcpy(bytes, m_salt, 16);
    std::memcpy(bytes + 16, m_check, 16);
    std::memcpy(bytes + 32, m_encryptedKey, 16);
    std::memcpy(bytes + 48, m_further, 48);
    // The byte-block form would put a second length before the bytes: write them as int32 words.
    for (int i = 0; i < 96; i += 4)
        stream.WriteInt(static_cast<int32_t>(static_cast<uint32_t>(bytes[i]) | static_cast<uint32_t>(bytes[i + 1]) << 8 |
                                             static_cast<uint32_t>(bytes[i + 2]) << 16 |
                                             static_cast<uint32_t>(bytes[i + 3]) << 24));
}




void CFilePassword::Load(CDataFile& file)
{
    ResetState();
    m_file = &file;
    if (CKeyedRecordStream::FindKey(&file, kPasswordKey) != kNoneId) {
        try {
            CKeyedRecordStream stream;
            stream.Open(&file, kPasswordKey, CRecordStream::kRead);
            ReadFrom(stream);
            stream.Close();
        } catch (const CQuorError& e) {
            if (e.Code() == kCorruptedRecord || m_damaged) {
                m_damaged = true;
                m_flags = m_flags != 0 ? m_flags : 1;
                m_unlocked = false;
                throw CQuorError(kCorruptedRecord, file.GetFilePath());
            }
            throw;
        }
    }
    m_dirty = false;
    m_unlocked = m_flags == 0;
}

void CFilePassword::Save(CDataFile& file)
{
    if (!m_dirty || file.GetOpenMode() == CDataFile::kClosed) return;
    CKeyedRecordStream stream;
    stream.Open(&file, kPasswordKey, CRecordStream::kRewrite);
    WriteTo(stream);
    stream.Close();
    m_dirty = false;
}

void CFilePassword::CopyTo(CDataFile& source, CDataFile& target)
{
    CFilePassword password;
    password.Load(source);
    if (!password.HasPassword()) return;
    password.m_dirty = true;
    password.Save(target);
}

// ---- the password -------------------------------------------------------------------------------

bool CFilePassword::Matches(const std::string& password) const
{
    if (!HasPassword() || m_damaged) return false;
    uint8_t check[16];
    Md5Of(m_salt, 16, password.data(), password.size(), check);
    return std::memcmp(check, m_check, 16) == 0;
}

bool CFilePassword::Verify(const std::string& password)
{
    if (!HasPassword() || m_damaged) return false;
    if (!Matches(password)) {
        m_unlocked = false;
        return false;
    }
    uint8_t hash[16], fileKey[16];
    Md5OfText(password, hash);
    Xor(m_encryptedKey, hash, fileKey);
    std::memcpy(m_passwordHash, hash, 16);
    SetRecordKeyFromFileKey(fileKey);
    m_unlocked = true;
    return true;
}

bool CFilePassword::SetPassword(const std::string& password)
{
    uint8_t fileKey[16];
    if (!HasPassword()) {
        RandomBytes(fileKey, 16);
    } else {
        // Only the hash of a password given in this session recovers the file key.
        if (m_damaged || !m_unlocked || IsZero(m_passwordHash, 16)) return false;
        Xor(m_encryptedKey, m_passwordHash, fileKey);
    }
    RandomBytes(m_salt, 16);
    Md5Of(m_salt, 16, password.data(), password.size(), m_check);
    SetRecordKeyFromFileKey(fileKey);
    Md5OfText(password, m_passwordHash);
    Xor(fileKey, m_passwordHash, m_encryptedKey);
    m_flags |= 1;
    m_unlocked = true;
    m_dirty = true;
    return true;
}

void CFilePassword::RemovePassword()
{
    ResetState();
    ClearRecordKey();
    m_dirty = true;
}

void CFilePassword::Lock()
{
    std::memset(m_passwordHash, 0, sizeof m_passwordHash);
    ClearRecordKey();
    m_unlocked = !HasPassword();
}

// The data file's password. The password itself is never stored: the file holds a random salt with
// a salted MD5 check value, and a random 16-byte file key encrypted (XOR) with the MD5 of the password.
// Once the password has been given, MD5(file key) becomes the data file's record key, which masks the
// lengths of packed fields.
//
// Password record, keyed record 9 (little-endian):
//   offset  size  field
//   0       int32 byte count of what follows: 98
//   4       int16 flags: bit 0 = the file has a password; other bits kept as read
//   6       16    salt: random bytes
//   22      16    check: MD5(salt, then the password's characters without a NUL)
//   38      16    encrypted file key: file key XOR MD5(password's characters)
//   54      48    further bytes, kept as read (zero when created here)
//
// States:
//   no password (flags 0, unlocked) --SetPassword--> password set, unlocked, dirty --Save--> clean
//   opening: Load --> locked when a password exists --Verify(right)--> unlocked (record key set)
//   unlocked --Lock--> locked (record key zero)        any --RemovePassword--> no password, dirty
//   Load of a damaged record --> damaged: locked for good, Verify and SetPassword refuse
#pragma once
#include <cstdint>
#include <string>

class CDataFile;
class CRecordStream;

class CFilePassword {
public:
    static constexpr int16_t kPasswordKey = 9;
    static constexpr int32_t kStoredCount = 98;

    CFilePassword() = default;
    virtual ~CFilePassword() = default;

    // Resets, remembers the file and reads record 9. A missing record means no password. A damaged one
    // (shorter than the flags, salt, check and key it claims, or cut off) leaves the file locked and
    // raises code 5 for the caller to report; it never reads as "no password".
    void Load(CDataFile& file);
    // Writes record 9 when dirty and the file is open.
    void Save(CDataFile& file);
    // Record 9 of `source`, when it holds a password, into `target`.
    static void CopyTo(CDataFile& source, CDataFile& target);

    // The file whose record key the password sets (Load sets it too).
    void SetFile(CDataFile* file) { m_file = file; }

    bool HasPassword() const { return m_flags != 0; }
    bool IsUnlocked() const { return m_unlocked; }
    bool IsDirty() const { return m_dirty; }
    bool IsDamaged() const { return m_damaged; }

    // True when `password` matches: the file key is decrypted and its MD5 becomes the record key. A
    // wrong password returns false and leaves the file locked with its record key as it was.
    bool Verify(const std::string& password);
    // True when `password` matches; nothing changes either way.
    bool Matches(const std::string& password) const;
    // Sets a new password over the same file key (a new random key when the file had no password).
    // Refused (false, nothing changed) while a password exists that was not verified or set in this
    // session, since the file key cannot be recovered then.
    bool SetPassword(const std::string& password);
    // No password: everything but the file pointer is reset, the record key cleared, the record marked
    // for writing.
    void RemovePassword();
    // Forgets the password and clears the record key; unlocked only when the file has no password.
    void Lock();

    // The stored record's content. A damaged record (shorter than the flags, salt, check and key it
    // claims, or cut off) leaves the file locked and raises code 5; it never reads as "no password".
    void ReadFrom(CRecordStream& stream);
    void WriteTo(CRecordStream& stream) const;

private:
    void ResetState();
    void SetRecordKeyFromFileKey(const uint8_t fileKey[16]);
    void ClearRecordKey();

    uint8_t m_passwordHash[16] = {};
    CDataFile* m_file = nullptr;
    bool m_unlocked = true;
    bool m_dirty = false;
    bool m_damaged = false;
    int16_t m_flags = 0;
    uint8_t m_salt[16] = {};
    uint8_t m_check[16] = {};
    uint8_t m_encryptedKey[16] = {};
    uint8_t m_further[48] = {};
};

#include "storage/file_password.h"

#include <gtest/gtest.h>
#include <cstring>

#include "framework/random_source.h"
#include "record_test_file.h"

namespace {

// A fixed sequence, so that salts and keys are reproducible.
class CCountingRandom : public IRandomSource {
public:
    CCountingRandom() { m_previous = SetRandomSource(this); }
    ~CCountingRandom() override { SetRandomSource(m_previous); }
    int Next() override { return (m_next += 977) % 32768; }

private:
    int m_next = 0;
    IRandomSource* m_previous;
};

struct PasswordTest : ::testing::Test {
    CRecordTestFile t{400};
    CCountingRandom random;

    int32_t Store(const CFilePassword& password)
    {
        return t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) { password.WriteTo(s); });
    }
    // A password object over the file, read from the stored record.
    void Load(CFilePassword& password, int32_t id)
    {
        password.SetFile(&t.file);
        t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) { password.ReadFrom(s); });
    }
};

}  // namespace

TEST_F(PasswordTest, SetStoreVerify)
{
    CFilePassword password;
    password.SetFile(&t.file);
    EXPECT_FALSE(password.HasPassword());
    EXPECT_TRUE(password.IsUnlocked());
    ASSERT_TRUE(password.SetPassword("rosebud"));
    EXPECT_TRUE(password.HasPassword());
    EXPECT_TRUE(password.IsDirty());
    std::vector<uint8_t> key = t.Key();
    EXPECT_NE(key, CRecordTestFile::ZeroKey());
    int32_t id = Store(password);

    // The record as the layout gives it: 98 bytes, flags 1, random bytes all below 255.
    std::vector<uint8_t> bytes = t.Bytes().TableRecord(CDataFile::kArticleTable, id);
    EXPECT_EQ(bytes[0], 98);
    EXPECT_EQ(bytes[4], 1);
    for (int i = 6; i < 22; ++i) EXPECT_LT(bytes[static_cast<size_t>(i)], 255);
    for (int i = 54; i < 102; ++i) EXPECT_EQ(bytes[static_cast<size_t>(i)], 0);

    t.SetKey(0);
    CFilePassword opened;
    Load(opened, id);
    EXPECT_TRUE(opened.HasPassword());
    EXPECT_FALSE(opened.IsUnlocked());
    EXPECT_FALSE(opened.Verify("Rosebud"));  // a wrong password never unlocks
    EXPECT_FALSE(opened.IsUnlocked());
    EXPECT_EQ(t.Key(), CRecordTestFile::ZeroKey());
    EXPECT_TRUE(opened.Verify("rosebud"));
    EXPECT_TRUE(opened.IsUnlocked());
    EXPECT_EQ(t.Key(), key);

    opened.Lock();
    EXPECT_FALSE(opened.IsUnlocked());
    EXPECT_EQ(t.Key(), CRecordTestFile::ZeroKey());
    EXPECT_TRUE(opened.Verify("rosebud"));
    EXPECT_EQ(t.Key(), key);  // the same record key as before
}

TEST_F(PasswordTest, ChangingThePasswordKeepsTheFileKey)
{
    CFilePassword password;
    password.SetFile(&t.file);
    ASSERT_TRUE(password.SetPassword("one"));
    std::vector<uint8_t> key = t.Key();
    ASSERT_TRUE(password.SetPassword("two"));  // no Verify between: the kept hash recovers the key
    EXPECT_EQ(t.Key(), key);
    int32_t id = Store(password);

    t.SetKey(0);
    CFilePassword opened;
    Load(opened, id);
    EXPECT_FALSE(opened.Verify("one"));
    EXPECT_FALSE(opened.SetPassword("three"));  // not verified: refused, nothing changed
    EXPECT_FALSE(opened.IsDirty());
    EXPECT_EQ(t.Key(), CRecordTestFile::ZeroKey());
    EXPECT_TRUE(opened.Verify("two"));
    EXPECT_EQ(t.Key(), key);
    EXPECT_TRUE(opened.SetPassword("three"));
    EXPECT_EQ(t.Key(), key);
}

TEST_F(PasswordTest, RemovingThePassword)
{
    CFilePassword password;
    password.SetFile(&t.file);
    ASSERT_TRUE(password.SetPassword("x"));
    password.RemovePassword();
    EXPECT_FALSE(password.HasPassword());
    EXPECT_TRUE(password.IsUnlocked());
    EXPECT_TRUE(password.IsDirty());
    EXPECT_EQ(t.Key(), CRecordTestFile::ZeroKey());  // no password, no key to mask with
    int32_t id = Store(password);
    CFilePassword opened;
    Load(opened, id);
    EXPECT_FALSE(opened.HasPassword());
    EXPECT_TRUE(opened.IsUnlocked());
    EXPECT_FALSE(opened.Verify(""));
    EXPECT_TRUE(opened.IsUnlocked());
}

TEST_F(PasswordTest, ShortAndDamagedRecords)
{
    CFilePassword source;
    source.SetFile(&t.file);
    ASSERT_TRUE(source.SetPassword("short"));
    std::vector<uint8_t> key = t.Key();
    int32_t full = Store(source);
    std::vector<uint8_t> bytes = t.Bytes().TableRecord(CDataFile::kArticleTable, full);

    // Byte count 50: flags, salt, check and key; the further bytes stay zero.
    int32_t fifty = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) {
        s.WriteInt(50);
        for (int i = 4; i < 54; i += 2) s.WriteShort(static_cast<int16_t>(bytes[static_cast<size_t>(i)] | bytes[static_cast<size_t>(i) + 1] << 8));
    });
    t.SetKey(0);
    CFilePassword opened;
    Load(opened, fifty);
    EXPECT_TRUE(opened.Verify("short"));
    EXPECT_EQ(t.Key(), key);

    // Flags say "password" but the salt, check and key are cut short: damaged, never "no password".
    int32_t damaged = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) {
        s.WriteInt(20);
        s.WriteShort(1);
    });
    t.SetKey(0);
    CFilePassword broken;
    broken.SetFile(&t.file);
    EXPECT_EQ(ErrorCodeOf([&] { t.LoadRaw(CDataFile::kArticleTable, damaged, [&](CRecordStream& s) { broken.ReadFrom(s); }); }),
              5);
    EXPECT_TRUE(broken.HasPassword());
    EXPECT_TRUE(broken.IsDamaged());
    EXPECT_FALSE(broken.IsUnlocked());
    EXPECT_FALSE(broken.Verify("short"));
    EXPECT_FALSE(broken.SetPassword("new"));
    EXPECT_EQ(t.Key(), CRecordTestFile::ZeroKey());

    // A record that says "no password" in full is not damaged, however short.
    int32_t none = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) {
        s.WriteInt(2);
        s.WriteShort(0);
    });
    CFilePassword clear;
    Load(clear, none);
    EXPECT_FALSE(clear.HasPassword());
    EXPECT_FALSE(clear.IsDamaged());
}

#include "storage/record_stream.h"

#include <gtest/gtest.h>
#include <cstring>
#include <functional>
#include <zlib.h>

#include "framework/random_source.h"
#include "storage/data_file.h"
#include "storage/md5.h"
#include "storage/quor_error.h"
#include "tests/support/storage_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int32_t kNone = kNoneIdValue;

class CCountingSource : public IRandomSource {
public:
    int Next() override { return m_values[m_next++ % 4]; }
    int m_values[4] = {65279, 256, 32767, 0};  // salt bytes 254/256 -> (r mod 65280) / 256
    int m_next = 0;
};

class RecordStreamTest : public ::testing::Test {
protected:
    void SetUp() override { file.Create(folder.File("kb.xrd"), 400); }

    int32_t WriteRecord(const std::function<void(CRecordStream&)>& fields, int32_t first = kNone)
    {
        CRecordStream stream;
        int mode = first == kNone ? CRecordStream::kNew : CRecordStream::kRewrite;
        if (first == kNone)
            first = file.AllocateBlock();
        stream.Open(&file, first, mode);
        fields(stream);
        stream.Close();
        return first;
    }
    std::vector<int32_t> Chain(int32_t first)
    {
        std::vector<int32_t> blocks;
        for (int32_t b = first; b != kNone; b = file.GetNextBlock(b))
            blocks.push_back(b);
        return blocks;
    }
    std::string Content(int32_t first)
    {
        std::string bytes;
        for (int32_t b : Chain(first)) {
            std::string block(512, '\0');
            file.ReadBlock(b, reinterpret_cast<uint8_t*>(&block[0]));
            bytes += block;
        }
        return bytes;
    }
    CTempFolder folder;
    CDataFile file;
};

}  // namespace

TEST_F(RecordStreamTest, FieldEncodings)
{
    CIdSet ids;
    ids.Add(7);
    ids.Add(-3);
    int32_t first = WriteRecord([&](CRecordStream& s) {
        s.WriteInt(-2);
        s.WriteShort(0x1234);
        s.WriteString("ab");
        s.WriteIdSet(ids);
        s.WriteSizedInt(9);
        s.WriteSizedShort(5);
        s.WriteByteBlock("xyz", 3);
        s.WritePackedString("", CRecordStream::kPackRaw);
    });
    std::string expected = Le32(-2) + Le16(0x1234) + Le32(3) + std::string("ab\0", 3) + Le32(8) + Le32(-3) +
                           Le32(7) + Le32(4) + Le32(9) + Le32(2) + Le16(5) + Le32(3) + "xyz" + Le16(0) + Le32(1) +
                           std::string(1, '\0');
    std::string content = Content(first);
    ASSERT_EQ(content.size(), 512u);
    EXPECT_EQ(content.substr(0, expected.size()), expected);
    EXPECT_EQ(content.substr(expected.size()), std::string(512 - expected.size(), '\0'));

    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    EXPECT_EQ(s.ReadInt(), -2);
    EXPECT_EQ(s.ReadShort(), 0x1234);
    EXPECT_EQ(s.ReadString(), "ab");
    CIdSet read;
    s.ReadIdSet(read);
    EXPECT_EQ(read.Values(), ids.Values());
    EXPECT_EQ(s.ReadSizedInt(), 9);
    EXPECT_EQ(s.ReadSizedShort(), 5);
    std::vector<uint8_t> block = s.ReadByteBlock();
    EXPECT_EQ(std::string(block.begin(), block.end()), "xyz");
    EXPECT_EQ(s.ReadPackedString(), "");
}

TEST_F(RecordStreamTest, SizedFieldsOfTheWrongSizeReadAsZero)
{
    int32_t first = WriteRecord([](CRecordStream& s) {
        s.WriteSizedInt(77);
        s.WriteSizedShort(3);
    });
    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    EXPECT_EQ(s.ReadSizedShort(), 0);  // size 4: only the size word is consumed
    EXPECT_EQ(s.ReadInt(), 77);
    EXPECT_EQ(s.ReadSizedInt(), 0);
    EXPECT_EQ(s.ReadShort(), 3);
}

TEST_F(RecordStreamTest, PackedModesAndMasking)
{
    const uint8_t key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    file.SetRecordKey(key);
    CCountingSource random;
    SetRandomSource(&random);
    std::string text(2000, 'k');
    int32_t first = WriteRecord([&](CRecordStream& s) {
        s.WritePackedString(text, CRecordStream::kPackRaw);
        s.WritePackedString(text, CRecordStream::kPackCompressed);
        s.WritePackedString(text, CRecordStream::kPackCompressed | CRecordStream::kPackMasked);
    });
    SetRandomSource(nullptr);

    std::vector<uint8_t> packed(compressBound(2001));
    uLongf packedLength = packed.size();
    ASSERT_EQ(compress(packed.data(), &packedLength, reinterpret_cast<const Bytef*>(text.c_str()), 2001), Z_OK);
    std::string zlibBytes(packed.begin(), packed.begin() + static_cast<long>(packedLength));
    auto crc = [](int32_t v) {
        std::string b = Le32(v);
        return static_cast<int32_t>(crc32(0L, reinterpret_cast<const Bytef*>(b.data()), 4));
    };

    std::string content = Content(first);
    size_t at = 0;
    EXPECT_EQ(content.substr(at, 6), Le16(0) + Le32(2001));
    at += 6 + 2001;
    EXPECT_EQ(content.substr(at, 10 + zlibBytes.size()), Le16(1) + Le32(2001) + Le32(int32_t(packedLength)) + zlibBytes);
    at += 10 + zlibBytes.size();
    // Mode 3: the salt bytes are (r mod 65280) / 256 of four draws: 254, 1, 127, 0.
    std::string salt = {char(254), char(1), char(127), char(0)};
    CMD5 md5;
    md5.Update(salt.data(), 4);
    md5.Update(key, 16);
    md5.Final();
    const uint8_t* d = md5.GetDigest();
    int32_t maskC = Get32(std::string(reinterpret_cast<const char*>(d), 16), 0);
    int32_t maskU = Get32(std::string(reinterpret_cast<const char*>(d), 16), 7);
    std::string expected = Le16(3) + Le32(2001 ^ maskU) + Le32(int32_t(packedLength) ^ maskC) + salt +
                           Le32(crc(int32_t(packedLength))) + zlibBytes + Le32(crc(2001));
    EXPECT_EQ(content.substr(at, expected.size()), expected);

    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(s.ReadPackedString(), text) << i;
}

TEST_F(RecordStreamTest, ProtectAllPacksEveryStringMasked)
{
    const uint8_t key[16] = {7};
    file.SetRecordKey(key);
    file.SetProtectAll(true);
    int32_t first = WriteRecord([](CRecordStream& s) { s.WritePackedString("", CRecordStream::kPackRaw); });
    EXPECT_EQ(Content(first).substr(0, 2), Le16(3));
    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    EXPECT_EQ(s.ReadPackedString(), "");
}

// Without the file's record key (a locked file) a masked field could never be read back: the record is
// refused whole, whether the caller asked for masking or protect-all imposes it, and the file keeps
// what it had.
TEST_F(RecordStreamTest, AMaskedFieldWithoutTheRecordKeyIsRefused)
{
    int32_t first = WriteRecord([](CRecordStream& s) { s.WriteString("before"); });
    std::string before = Content(first);
    for (bool protectAll : {false, true}) {
        file.SetProtectAll(protectAll);
        int mode = protectAll ? CRecordStream::kPackRaw
                              : CRecordStream::kPackCompressed | CRecordStream::kPackMasked;
        EXPECT_EQ(ErrorOf([&] {
                      CRecordStream s;
                      s.Open(&file, first, CRecordStream::kRewrite);
                      s.WriteString("after");
                      s.WritePackedString("secret", mode);
                      s.Close();
                  }),
                  48)
            << protectAll;
        EXPECT_EQ(Content(first), before);
    }
}

TEST_F(RecordStreamTest, AWrongRecordKeyFailsBeforeTheContent)
{
    const uint8_t key[16] = {9};
    file.SetRecordKey(key);
    std::string text(5000, 'z');
    int32_t first = WriteRecord([&](CRecordStream& s) {
        s.WritePackedString(text, CRecordStream::kPackCompressed | CRecordStream::kPackMasked);
    });
    const uint8_t other[16] = {8};
    file.SetRecordKey(other);
    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    std::string message;
    EXPECT_EQ(ErrorOf([&] { s.ReadPackedString(); }, &message), 5);
    EXPECT_EQ(message, "kb.xrd");  // the file name without its folder
}

TEST_F(RecordStreamTest, BlocksPerRecordByVersion)
{
    std::string content(512, 'c');
    int32_t first = WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(content.data(), 508); });
    EXPECT_EQ(Chain(first).size(), 1u);
    file.Close();

    file.Create(folder.File("old.xrd"), 220);
    first = WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(content.data(), 508); });
    ASSERT_EQ(Chain(first).size(), 2u);
    EXPECT_EQ(Content(first).substr(512), std::string(512, '\0'));
}

TEST_F(RecordStreamTest, RewritingReusesBlocksInPlace)
{
    std::string big(1500, 'b');  // 1504 bytes: three blocks
    int32_t first = WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(big.data(), 1500); });
    std::vector<int32_t> before = Chain(first);
    ASSERT_EQ(before.size(), 3u);
    std::string medium(596, 'm');  // 600 bytes: two blocks
    WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(medium.data(), 596); }, first);
    EXPECT_EQ(Chain(first), std::vector<int32_t>(before.begin(), before.begin() + 2));
    EXPECT_EQ(file.AllocateBlock(), before[2]);  // the third went to the free chain

    // Same size again: nothing is allocated.
    int32_t last = file.AllocateBlock();
    WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(medium.data(), 596); }, first);
    EXPECT_EQ(file.AllocateBlock(), last + 1);

    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    std::vector<uint8_t> read = s.ReadByteBlock();
    EXPECT_EQ(std::string(read.begin(), read.end()), medium);
}

// A rewrite writes only the blocks whose bytes change; whatever the blocks held before, the chain must
// end up holding exactly the new record and its zero padding.
TEST_F(RecordStreamTest, RewritesLeaveExactlyTheNewContent)
{
    auto pattern = [](size_t n, char seed) {
        std::string text(n, '\0');
        for (size_t i = 0; i < n; ++i)
            text[i] = char(seed + i % 23);
        return text;
    };
    std::string base = pattern(70000, 'a');  // past an allocation-table block: two runs of blocks
    std::string middle = base;
    middle[512 * 40 + 7] = '!';  // one block in the middle of a run
    std::string ends = middle;
    ends[3] = '?';
    ends.back() = '?';
    struct Step {
        const char* what;
        std::string content;
    } steps[] = {
        {"first write", base},
        {"the same again", base},
        {"one middle block", middle},
        {"first and last block", ends},
        {"grown by one id", ends + "1234"},
        {"shrunk into two blocks", pattern(600, 'k')},
        {"grown again over freed blocks", pattern(9000, 'q')},
        {"empty", std::string()},
        {"one block", pattern(100, 'z')},
    };
    int32_t first = kNone;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        const std::string& content = step.content;
        first = WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(content.data(), int32_t(content.size())); }, first);
        std::string stored = std::string(4, '\0') + content;
        uint32_t n = uint32_t(content.size());
        for (int i = 0; i < 4; ++i)
            stored[size_t(i)] = char(n >> (8 * i));
        stored.resize((stored.size() + 511) / 512 * 512, '\0');
        EXPECT_EQ(Content(first), stored);
    }
}

TEST_F(RecordStreamTest, EmptyRewriteLeavesNothingOfTheOldContent)
{
    std::string big(1000, 'o');
    int32_t first = WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(big.data(), 1000); });
    WriteRecord([](CRecordStream&) {}, first);
    EXPECT_EQ(Chain(first).size(), 1u);
    EXPECT_EQ(Content(first), std::string(512, '\0'));
}

// A record that grows at its end (a keyword's article list) has its chain checked for damage before
// each rewrite; the checks cover only the blocks not checked before, so that the cost of an append
// does not grow with the record. A shortened chain is checked again from where it was cut.
TEST_F(RecordStreamTest, GrowingARecordChecksOnlyItsNewBlocks)
{
    int32_t first = WriteRecord([](CRecordStream& s) { s.WriteInt(0); });
    std::string grown(4, '\0');
    std::vector<uint8_t> piece(512);
    constexpr int kAppends = 200;
    for (int i = 0; i < kAppends; ++i) {
        std::fill(piece.begin(), piece.end(), uint8_t('a' + i % 26));
        CRecordStream s;
        s.Open(&file, first, CRecordStream::kRewrite);
        CRecordStream::Piece p{int32_t(grown.size()), piece.data(), 512};
        s.RewriteInPlace(&p, 1, int32_t(grown.size()) + 512);
        grown.append(piece.begin(), piece.end());
    }
    ASSERT_EQ(Chain(first).size(), size_t(kAppends) + 1);
    EXPECT_EQ(Content(first), grown + std::string(508, '\0'));
    // Checking the whole chain at every append would have looked at about 20,000 blocks.
    EXPECT_LE(file.GetChainBlocksChecked(), 2 * kAppends);

    std::string shorter(600, 's');
    WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(shorter.data(), 600); }, first);
    int64_t before = file.GetChainBlocksChecked();
    std::string longer(3000, 'l');
    WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(longer.data(), 3000); }, first);
    EXPECT_LE(file.GetChainBlocksChecked() - before, 6);
    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    std::vector<uint8_t> read = s.ReadByteBlock();
    EXPECT_EQ(std::string(read.begin(), read.end()), longer);
}

TEST_F(RecordStreamTest, LongRecordsReadAndSkipAcrossBlocks)
{
    std::string text(3000, 'x');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = char('a' + i % 26);
    int32_t first = WriteRecord([&](CRecordStream& s) {
        s.WriteString(text);
        s.WriteInt(42);
        s.WriteByteBlock(text.data(), 1100);
        s.WriteString("end");
    });
    CRecordStream s;
    s.Open(&file, first, CRecordStream::kRead);
    EXPECT_EQ(s.ReadString(), text);
    EXPECT_EQ(s.ReadInt(), 42);
    s.SkipField();
    EXPECT_EQ(s.ReadString(), "end");
    EXPECT_EQ(s.ReadInt(), 0);  // the padding of the last block

    s.Open(&file, first, CRecordStream::kRead);
    s.Skip(4 + 3001 + 4 + 4 + 1100);
    EXPECT_EQ(s.ReadString(), "end");
    char buffer[2000];
    int32_t read = -1;
    EXPECT_EQ(s.ReadRaw(buffer, 2000, &read), 5);  // past the end of the chain
    EXPECT_LT(read, 2000);
}

TEST_F(RecordStreamTest, UntrustedLengthsAreCorruption)
{
    auto record = [&](const std::string& bytes) {
        int32_t first = file.AllocateBlock();
        std::string block = bytes;
        block.resize(512, '\0');
        file.WriteBlock(first, reinterpret_cast<const uint8_t*>(block.data()));
        return first;
    };
    std::string zlibGarbage = Le16(1) + Le32(100) + Le32(4) + "abcd";
    std::vector<uint8_t> packed(64);
    uLongf packedLength = packed.size();
    compress(packed.data(), &packedLength, reinterpret_cast<const Bytef*>("hello"), 5);
    std::string shortInflate = Le16(1) + Le32(9) + Le32(int32_t(packedLength)) +
                               std::string(packed.begin(), packed.begin() + static_cast<long>(packedLength));
    std::string longInflate = Le16(1) + Le32(3) + shortInflate.substr(6);
    struct Case {
        const char* name;
        std::string bytes;
        std::function<void(CRecordStream&)> read;
    } cases[] = {
        {"negative string", Le32(-5), [](CRecordStream& s) { s.ReadString(); }},
        {"huge string", Le32(0x7FFFFFF0), [](CRecordStream& s) { s.ReadString(); }},
        {"string past the chain", Le32(600), [](CRecordStream& s) { s.ReadString(); }},
        {"huge byte block", Le32(1 << 30), [](CRecordStream& s) { s.ReadByteBlock(); }},
        {"negative skip", Le32(-1), [](CRecordStream& s) { s.SkipField(); }},
        {"huge id set", Le32(0x7FFFFFFC), [](CRecordStream& s) { CIdSet set; s.ReadIdSet(set); }},
        {"raw packed past the chain", Le16(0) + Le32(100000), [](CRecordStream& s) { s.ReadPacked(); }},
        {"negative packed", Le16(0) + Le32(-1), [](CRecordStream& s) { s.ReadPacked(); }},
        {"inflate fails", zlibGarbage, [](CRecordStream& s) { s.ReadPacked(); }},
        {"inflate is short", shortInflate, [](CRecordStream& s) { s.ReadPacked(); }},
        {"inflate is longer", longInflate, [](CRecordStream& s) { s.ReadPacked(); }},
        {"inflate bomb length", Le16(1) + Le32(0x7FFFFFFF) + Le32(8), [](CRecordStream& s) { s.ReadPacked(); }},
    };
    for (const Case& c : cases) {
        CRecordStream s;
        s.Open(&file, record(c.bytes), CRecordStream::kRead);
        EXPECT_EQ(ErrorOf([&] { c.read(s); }), 5) << c.name;
    }
    std::string noNul = Le16(0) + Le32(3) + "abc";
    CRecordStream s;
    s.Open(&file, record(noNul), CRecordStream::kRead);
    EXPECT_EQ(s.ReadPackedString(), "abc");  // terminated although the NUL is missing

    s.Open(&file, record(Le32(20) + Le32(9) + Le32(kNone) + Le32(2) + Le32(9) + Le32(-4)), CRecordStream::kRead);
    CIdSet set;
    s.ReadIdSet(set);
    EXPECT_EQ(set.Values(), (std::vector<int32_t>{-4, 2, 9}));
    EXPECT_EQ(ErrorOf([&] { s.Open(&file, kNone, CRecordStream::kRead); }), 5);
}

TEST_F(RecordStreamTest, ARecordBuiltWhileAnExceptionUnwindsIsAbandoned)
{
    std::string old(700, 'o');
    int32_t first = WriteRecord([&](CRecordStream& s) { s.WriteByteBlock(old.data(), 700); });
    std::string before = Content(first);
    try {
        CRecordStream s;
        s.Open(&file, first, CRecordStream::kRewrite);
        s.WriteInt(1);
        throw std::runtime_error("the caller failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(Content(first), before);
    {
        CRecordStream s;  // closed by its destructor on the normal path: written
        s.Open(&file, first, CRecordStream::kRewrite);
        s.WriteInt(1);
    }
    EXPECT_EQ(Get32(Content(first), 0), 1);
}

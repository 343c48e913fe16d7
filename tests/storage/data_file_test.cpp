#include "storage/data_file.h"

#include <gtest/gtest.h>
#include <cstring>
#include <functional>

#include "storage/byte_order.h"
#include "storage/quor_error.h"
#include "tests/support/storage_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

constexpr int32_t kNone = kNoneIdValue;

// The header of a new file, spelled out field by field.
std::string NewHeader(int version)
{
    std::string h(220, '\0');
    h[0] = 'V';
    h[1] = 'Q';
    h[2] = char(version & 0xFF);
    h[3] = char(version >> 8);
    h[4] = 0x00;  // 512
    h[5] = 0x02;
    h[6] = char(128);
    Put32(h, 16, kNone);  // free chain
    for (size_t descriptor : {20, 32, 44, 172, 184, 196})
        Put32(h, descriptor + 8, kNone);
    Put32(h, 56, kNone);
    int size = version == 220 ? 60 : version == 300 ? 172 : 220;
    Put32(h, 60, size);
    std::memcpy(&h[80], "Personal Quorvane Data File", 27);
    return h.substr(0, size);
}

std::string NewAllocationBlock()
{
    std::string block(512, '\0');
    Put32(block, 0, kNone);
    return block;
}

class DataFileTest : public ::testing::Test {
protected:
    std::string NewFile(int version = 400)
    {
        std::string path = folder.File("kb.xrd");
        file.Create(path, version);
        return path;
    }
    // Allocates a chain of n blocks and returns its first block.
    int32_t Chain(int n)
    {
        int32_t first = file.AllocateBlock();
        int32_t last = first;
        for (int i = 1; i < n; ++i)
            last = file.AppendBlock(last);
        return first;
    }
    std::vector<int32_t> Walk(int32_t first)
    {
        std::vector<int32_t> blocks;
        for (int32_t b = first; b != kNone; b = file.GetNextBlock(b))
            blocks.push_back(b);
        return blocks;
    }
    std::string Bytes() { return CTempFolder::ReadFile(file.GetFilePath()); }

    CTempFolder folder;
    CDataFile file;
};

}  // namespace

TEST_F(DataFileTest, NewFilesAreByteExact)
{
    for (int version : {400, 300, 220}) {
        std::string path = NewFile(version);
        EXPECT_EQ(file.GetOpenMode(), CDataFile::kReadWrite);
        file.Close();
        EXPECT_EQ(CTempFolder::ReadFile(path), NewHeader(version) + NewAllocationBlock()) << version;
        file.Open(path, false);
        EXPECT_EQ(file.GetVersion(), version);
        EXPECT_EQ(file.GetHeaderSize(), version == 220 ? 60 : version == 300 ? 172 : 220);
        file.Close();
    }
    EXPECT_EQ(NewHeader(400).size(), 220u);
}

TEST_F(DataFileTest, HeaderChecks)
{
    std::string valid = NewHeader(400) + NewAllocationBlock();
    auto withVersion = [&](int version) {
        std::string bytes = valid;
        bytes[2] = char(version & 0xFF);
        bytes[3] = char(version >> 8);
        return bytes;
    };
    std::string otherMagic = valid;
    otherMagic[0] = 'X';
    std::string badText = valid;
    badText[90] = 'x';
    std::string badBlockSize = valid;
    badBlockSize[5] = 0x04;
    std::string badEntries = valid;
    badEntries[6] = 64;
    std::string smallHeader = withVersion(300);
    Put32(smallHeader, 60, 100);
    struct Case {
        const char* name;
        std::string bytes;
        int code;
        CDataFile::Format format;
    } cases[] = {
        {"3 bytes", valid.substr(0, 3), 10, CDataFile::kCurrent},
        {"short header", valid.substr(0, 100), 10, CDataFile::kCurrent},
        {"other magic", otherMagic, 6, CDataFile::kCurrent},
        {"version 209", withVersion(209), 7, CDataFile::kInvalid},
        {"version 210", withVersion(210), 0, CDataFile::kOlder},
        {"version 401", withVersion(401), 8, CDataFile::kNewerReadable},
        {"version 500", withVersion(500), 8, CDataFile::kNewerUnreadable},
        {"identifying text", badText, 7, CDataFile::kInvalid},
        {"block size 1024", badBlockSize, 7, CDataFile::kInvalid},
        {"64 entries per block", badEntries, 7, CDataFile::kInvalid},
        {"header size 100", smallHeader, 7, CDataFile::kInvalid},
    };
    for (const Case& c : cases) {
        std::string path = folder.Write("h.xrd", c.bytes);
        EXPECT_EQ(ErrorOf([&] { file.Open(path, false); }), c.code) << c.name;
        EXPECT_EQ(file.GetOpenMode(), c.code ? CDataFile::kClosed : CDataFile::kReadWrite) << c.name;
        file.CloseIfOpen();
        if (c.code == 0 || c.code == 7 || c.code == 8)
            EXPECT_EQ(CDataFile::CheckFormat(path), c.format) << c.name;
        else
            EXPECT_EQ(ErrorOf([&] { CDataFile::CheckFormat(path); }), c.code) << c.name;
    }
    std::string path = folder.Write("h.xrd", withVersion(401));
    file.Open(path, false, true);  // a newer minor version opens on request
    EXPECT_TRUE(file.IsNewerMinorVersion());
    file.Close();
    path = folder.Write("h.xrd", withVersion(500));
    EXPECT_EQ(ErrorOf([&] { file.Open(path, false, true); }), 8);
    EXPECT_EQ(CDataFile::ReadVersion(folder.Write("h.xrd", withVersion(300) + std::string(60, '\0'))), 300);
}

TEST_F(DataFileTest, Version300HeaderSizeIsTakenAsAtMost220)
{
    std::string bytes = NewHeader(400) + NewAllocationBlock();
    bytes[2] = char(300 & 0xFF);
    bytes[3] = char(300 >> 8);
    Put32(bytes, 60, 500);
    file.Open(folder.Write("kb.xrd", bytes), false);
    EXPECT_EQ(file.GetHeaderSize(), 220);
    EXPECT_EQ(file.GetNextBlock(file.AllocateBlock()), kNone);  // block 1 follows a 220-byte header
    file.Close();
    EXPECT_EQ(folder.Read("kb.xrd").size(), 220u + 2 * 512);
}

TEST_F(DataFileTest, OpenFailuresAndModes)
{
    EXPECT_EQ(ErrorOf([&] { file.Open(folder.File("missing.xrd"), false); }), 101);
    std::string path = NewFile();
    CDataFile other;
    EXPECT_EQ(ErrorOf([&] { other.Open(path, true); }), 107);  // opened exclusively
    file.Close();
    other.Open(path, true);
    EXPECT_EQ(other.GetOpenMode(), CDataFile::kReadOnly);
    EXPECT_EQ(ErrorOf([&] { file.Open(path, false); }), 107);  // read-only opener denies writing
    other.Close();
    EXPECT_EQ(other.GetFolder(), folder.Path());
}

TEST_F(DataFileTest, Block128BecomesAnAllocationTableBlock)
{
    std::string path = NewFile();
    for (int32_t expected = 1; expected <= 127; ++expected)
        ASSERT_EQ(file.AllocateBlock(), expected);
    EXPECT_EQ(file.AllocateBlock(), 129);
    EXPECT_EQ(file.AllocateBlock(), 130);
    file.Close();
    std::string bytes = CTempFolder::ReadFile(path);
    EXPECT_EQ(bytes.size(), 220u + 131 * 512);
    EXPECT_EQ(Get32(bytes, 8), 130);     // last block
    EXPECT_EQ(Get32(bytes, 12), 128);    // last allocation-table block
    EXPECT_EQ(Get32(bytes, 220), 128);   // slot 0 of block 0 names the next table block
    size_t table128 = 220 + 128 * 512;
    EXPECT_EQ(Get32(bytes, table128), kNone);
    EXPECT_EQ(Get32(bytes, table128 + 4), kNone);      // block 129: allocated, end of its chain
    EXPECT_EQ(Get32(bytes, table128 + 8), kNone);      // block 130
    EXPECT_EQ(Get32(bytes, table128 + 12), 0);         // beyond the last block
    EXPECT_EQ(Get32(bytes, 220 + 4 * 127), kNone);     // block 127
}

TEST_F(DataFileTest, FreedChainsAreZeroedAndGoToTheFrontOfTheFreeChain)
{
    NewFile();
    int32_t a = Chain(2);  // blocks 1, 2
    int32_t b = Chain(3);  // blocks 3, 4, 5
    EXPECT_EQ(Walk(b), (std::vector<int32_t>{3, 4, 5}));
    std::vector<uint8_t> content(512, 0xAB);
    file.WriteBlock(4, content.data());
    file.FreeChain(a);
    file.FreeChain(b);
    // Free chain: 3, 4, 5, then 1, 2; block 4 is zero again.
    std::vector<uint8_t> read(512, 1);
    file.ReadBlock(4, read.data());
    EXPECT_EQ(read, std::vector<uint8_t>(512, 0));
    for (int32_t expected : {3, 4, 5, 1, 2, 6})
        EXPECT_EQ(file.AllocateBlock(), expected);
    EXPECT_EQ(file.GetNextBlock(4), kNone);
    file.FreeChain(kNone);  // nothing
}

// Reads in file order are served from a window of the blocks ahead; every way of writing a block must
// show through it at once.
TEST_F(DataFileTest, ReadsAheadSeeEveryWriteBehindThem)
{
    NewFile();
    Chain(60);  // blocks 1 to 60
    auto fill = [](uint8_t value) { return std::vector<uint8_t>(512, value); };
    for (int32_t b = 1; b <= 60; ++b)
        file.WriteBlocks(b, 1, fill(uint8_t(b)).data());
    auto read = [&](int32_t b) {
        std::vector<uint8_t> bytes(512);
        file.ReadBlocks(b, 1, bytes.data());
        return bytes;
    };
    for (int32_t b = 1; b <= 5; ++b)
        EXPECT_EQ(read(b), fill(uint8_t(b)));  // in order: the window now holds the blocks ahead

    file.WriteBlocks(8, 1, fill(0xE8).data());
    EXPECT_EQ(read(8), fill(0xE8));
    file.WriteBlock(10, fill(0xEA).data());
    EXPECT_EQ(read(9), fill(9));
    EXPECT_EQ(read(10), fill(0xEA));
    EXPECT_EQ(read(40), fill(40));  // a jump: read directly
    EXPECT_EQ(read(41), fill(41));

    // An entry's slot is written into its index block in place.
    file.AddEntry(CDataFile::kArticleTable, 5);  // index block 61, slot 0
    EXPECT_EQ(read(60), fill(60));
    EXPECT_EQ(LoadLe32(read(61).data()), 5u);
    file.AddEntry(CDataFile::kArticleTable, 7);  // slot 1
    EXPECT_EQ(LoadLe32(read(61).data() + 4), 7u);
}

// While a read cache is alive, blocks come from the disk once, a chunk of 32 at a time, and every way
// of writing a block shows through what is kept; past the file's end a read keeps its error.
TEST_F(DataFileTest, AReadCacheReadsEachChunkOnceAndSeesEveryWrite)
{
    NewFile();
    Chain(100);  // blocks 1 to 100 (chunks 0 to 3)
    auto fill = [](uint8_t value) { return std::vector<uint8_t>(512, value); };
    for (int32_t b = 1; b <= 100; ++b)
        file.WriteBlocks(b, 1, fill(uint8_t(b)).data());
    auto read = [&](int32_t b, int32_t count = 1) {
        std::vector<uint8_t> bytes(512 * size_t(count));
        file.ReadBlocks(b, count, bytes.data());
        return bytes;
    };
    {
        CDataFile::CReadCache cache(&file);
        int64_t before = file.GetBlockReads();
        for (int32_t b : {90, 3, 70, 10, 35, 31, 97, 64})  // scattered, as the articles of a keyword
            EXPECT_EQ(read(b), fill(uint8_t(b)));
        EXPECT_EQ(file.GetBlockReads() - before, 4);
        std::vector<uint8_t> across = read(30, 4);  // a run across two chunks
        EXPECT_EQ(std::vector<uint8_t>(across.begin() + 3 * 512, across.end()), fill(33));

        file.WriteBlocks(70, 2, std::vector<uint8_t>(1024, 0xE7).data());
        file.WriteBlock(3, fill(0xE3).data());
        file.FreeChain(file.GetNextBlock(98));  // 99 and 100 zeroed
        EXPECT_EQ(read(71), fill(0xE7));
        EXPECT_EQ(read(3), fill(0xE3));
        EXPECT_EQ(read(100), fill(0));
        EXPECT_EQ(read(98), fill(98));
        EXPECT_EQ(file.GetBlockReads() - before, 4);
        // The file grows inside a chunk loaded when it ended there: loaded again.
        EXPECT_EQ(file.AllocateBlock(), 99);  // from the free chain
        EXPECT_EQ(file.AllocateBlock(), 100);
        EXPECT_EQ(file.AllocateBlock(), 101);
        file.WriteBlock(101, fill(0x65).data());
        EXPECT_EQ(read(101), fill(0x65));
        EXPECT_EQ(read(100), fill(0));
        EXPECT_EQ(file.GetBlockReads() - before, 5);
        EXPECT_EQ(ErrorOf([&] { read(200); }), kCorruptedRecord);
    }
    EXPECT_EQ(read(71), fill(0xE7));
}

// Reads going on through the file, each a little past the last (the start and the end of every
// record, as the article index reads them at open), are served from one read of the disk per window,
// also across an allocation-table block; a read that jumps back or far ahead goes to the disk alone,
// and a write inside the window is seen by the next read.
TEST_F(DataFileTest, ReadsGoingOnThroughTheFileShareOneDiskRead)
{
    NewFile();
    Chain(300);  // blocks 1 to 302, with the allocation-table blocks 128 and 256 among them
    auto fill = [](int32_t b) { return std::vector<uint8_t>(512, uint8_t(b * 7)); };
    for (int32_t b = 1; b <= 302; ++b)
        if (b % 128 != 0)
            file.WriteBlocks(b, 1, fill(b).data());
    auto read = [&](int32_t b) {
        std::vector<uint8_t> bytes(512);
        file.ReadBlocks(b, 1, bytes.data());
        return bytes;
    };
    EXPECT_EQ(read(1), fill(1));
    int64_t before = file.GetBlockReads();
    // Records of 6 blocks from block 2 on: the first block of each, then its last.
    for (int32_t start = 2; start + 5 < 250; start += 6) {
        if (start % 128 == 0 || (start + 5) % 128 == 0)
            continue;
        EXPECT_EQ(read(start), fill(start));
        EXPECT_EQ(read(start + 5), fill(start + 5));
    }
    EXPECT_EQ(file.GetBlockReads() - before, 1);  // blocks 2 to 257 in one window
    before = file.GetBlockReads();
    EXPECT_EQ(read(1), fill(1));      // back, outside the window: alone
    EXPECT_EQ(read(300), fill(300));  // 50 blocks past the last read: alone
    EXPECT_EQ(file.GetBlockReads() - before, 2);
    EXPECT_EQ(read(160), fill(160));  // still in the window
    file.WriteBlocks(161, 1, fill(1).data());
    EXPECT_EQ(read(161), fill(1));
    EXPECT_EQ(read(170), fill(170));
}

TEST_F(DataFileTest, EntriesAreReusedLowestFirst)
{
    NewFile();
    for (int i = 0; i < 10; ++i)
        ASSERT_EQ(file.AddEntry(CDataFile::kArticleTable, Chain(1)), i);
    file.DeleteArticleEntry(7);
    file.DeleteArticleEntry(2);
    file.DeleteArticleEntry(2);  // already deleted: nothing changes
    EXPECT_EQ(file.GetArticleCount(), 8);
    EXPECT_EQ(file.GetEntry(CDataFile::kArticleTable, 2), kNone);
    EXPECT_EQ(file.AddEntry(CDataFile::kArticleTable, Chain(1)), 2);
    EXPECT_EQ(file.AddEntry(CDataFile::kArticleTable, Chain(1)), 7);
    EXPECT_EQ(file.AddEntry(CDataFile::kArticleTable, Chain(1)), 10);
    EXPECT_EQ(ErrorOf([&] { file.DeleteArticleEntry(11); }), 3);
    EXPECT_EQ(ErrorOf([&] { file.GetEntry(CDataFile::kArticleTable, -1); }), 3);
    EXPECT_EQ(ErrorOf([&] { file.DeleteKeywordEntry(0); }), 3);
}

TEST_F(DataFileTest, EntriesSpanSeveralIndexBlocks)
{
    std::string path = NewFile();
    std::vector<int32_t> firsts;
    for (int i = 0; i < 300; ++i) {
        firsts.push_back(Chain(1));
        ASSERT_EQ(file.AddEntry(CDataFile::kKeywordTable, firsts.back()), i);
    }
    file.DeleteKeywordEntry(200);
    file.Close();
    file.Open(path, false);
    EXPECT_EQ(file.GetKeywordCount(), 299);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(file.GetEntry(CDataFile::kKeywordTable, i), i == 200 ? kNone : firsts[static_cast<size_t>(i)]);
}

TEST_F(DataFileTest, PutEntry)
{
    std::string path = NewFile();
    for (int i = 0; i < 8; ++i)
        file.AddEntry(CDataFile::kGroupTable, Chain(1));
    int32_t b = Chain(1);
    file.PutEntry(CDataFile::kGroupTable, 10, b);
    EXPECT_EQ(file.GetTableCount(CDataFile::kGroupTable), 11);
    EXPECT_EQ(file.GetGroupCount(), 9);
    EXPECT_EQ(file.GetEntry(CDataFile::kGroupTable, 8), kNone);
    EXPECT_EQ(file.GetEntry(CDataFile::kGroupTable, 9), kNone);
    EXPECT_EQ(file.GetEntry(CDataFile::kGroupTable, 10), b);

    // The value a slot already holds: the live chain stays.
    std::vector<uint8_t> content(512, 0x5A), read(512);
    file.WriteBlock(b, content.data());
    file.PutEntry(CDataFile::kGroupTable, 10, b);
    file.ReadBlock(b, read.data());
    EXPECT_EQ(read, content);
    EXPECT_EQ(file.GetNextBlock(b), kNone);

    // A deleted entry comes back to life; a replaced record's chain is freed.
    int32_t c = Chain(2);
    file.PutEntry(CDataFile::kGroupTable, 9, c);
    EXPECT_EQ(file.GetGroupCount(), 10);
    int32_t old = file.GetEntry(CDataFile::kGroupTable, 0);
    file.PutEntry(CDataFile::kGroupTable, 0, Chain(1));
    EXPECT_EQ(file.AllocateBlock(), old);
    file.Close();
    std::string bytes = CTempFolder::ReadFile(path);
    EXPECT_EQ(Get32(bytes, 172), 11);  // table 3 descriptor: count, free
    EXPECT_EQ(Get32(bytes, 176), 1);
}

TEST_F(DataFileTest, CollectArticleIdsAndItsSizeHint)
{
    NewFile();
    CArticleIdSet set;
    EXPECT_EQ(file.CollectArticleIds(set), 50);
    EXPECT_TRUE(set.Values().empty());
    for (int i = 0; i < 130; ++i)
        file.AddEntry(CDataFile::kArticleTable, Chain(1));
    file.DeleteArticleEntry(3);
    EXPECT_EQ(file.CollectArticleIds(set), 500);  // thresholds 50, 100, 125 passed
    EXPECT_EQ(set.GetSize(), 129);
    EXPECT_FALSE(set.Contains(3));
    EXPECT_TRUE(set.Contains(129));
}

TEST_F(DataFileTest, Flags)
{
    std::string path = NewFile();
    EXPECT_FALSE(file.IsPasswordAtOpen());
    file.SetProtectAll(true);
    EXPECT_EQ(file.GetFlags(), 3);
    file.SetProtectAll(false);
    EXPECT_EQ(file.GetFlags(), 1);
    EXPECT_TRUE(file.IsPasswordAtOpen());
    file.SetPasswordAtOpen(false);
    file.SetProtectAll(true);
    file.Close();
    EXPECT_EQ(Get32(CTempFolder::ReadFile(path), 76), 3);
}

TEST_F(DataFileTest, BrokenStructuresAreCorruptionNotCrashes)
{
    std::string path = NewFile();
    int32_t a = Chain(3);  // 1, 2, 3
    file.AddEntry(CDataFile::kArticleTable, a);
    EXPECT_EQ(ErrorOf([&] { file.GetNextBlock(0); }), 5);    // an allocation-table block
    EXPECT_EQ(ErrorOf([&] { file.GetNextBlock(99); }), 5);   // beyond the last block
    EXPECT_EQ(ErrorOf([&] { file.GetNextBlock(kNone); }), 5);
    file.SetNextBlock(3, 1);                                 // a loop
    EXPECT_EQ(ErrorOf([&] { file.FreeChain(a); }), 5);
    file.Close();

    // An index chain shorter than the table's count, a free head on a table block.
    std::string bytes = CTempFolder::ReadFile(path);
    Put32(bytes, 32, 500);
    Put32(bytes, 16, 0);
    file.Open(folder.Write("broken.xrd", bytes), false);
    EXPECT_EQ(ErrorOf([&] { file.GetEntry(CDataFile::kArticleTable, 300); }), 5);
    EXPECT_EQ(ErrorOf([&] { file.AllocateBlock(); }), 5);
    EXPECT_EQ(ErrorOf([&] { file.AddEntry(CDataFile::kArticleTable, 1); }), 5);  // count beyond the chain
    file.Close();

    // A last block far beyond the end of the file: allocating must not grow the file to reach it.
    Put32(bytes, 16, kNone);
    Put32(bytes, 8, 7000000);
    std::string path2 = folder.Write("beyond.xrd", bytes);
    file.Open(path2, false);
    EXPECT_EQ(ErrorOf([&] { file.AllocateBlock(); }), 5);
    EXPECT_EQ(ErrorOf([&] { file.GetNextBlock(6999999); }), 10);  // counted, but not in the file: truncated
    file.Close();
    Put32(bytes, 16, 6999999);  // and a free chain that starts there
    file.Open(folder.Write("beyond.xrd", bytes), false);
    EXPECT_EQ(ErrorOf([&] { file.AllocateBlock(); }), 10);
    file.Close();
    EXPECT_EQ(CTempFolder::ReadFile(path2).size(), bytes.size());
}

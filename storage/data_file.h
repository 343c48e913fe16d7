// The block-structured data file (*.xrd) of a knowledge base. All numbers are little-endian.
//
// File: the header at offset 0 (header-size bytes), then block n (n >= 0) of 512 bytes at offset
// header size + 512 x n.
//
// Header:
//   offset  size      meaning                                             written at creation
//   0       2         magic, the ASCII letters "VQ"                       "VQ"
//   2       int16     version                                             400 (220 or 300)
//   4       uint16    block size in bytes                                 512
//   6       uint16    entries per allocation-table and index block        128
//   8       int32     number of the last block in use                     0
//   12      int32     number of the last allocation-table block           0
//   16      int32     first block of the free chain                       0x80000001 (none)
//   20      12        table 0 descriptor: keywords                        0, 0, none
//   32      12        table 1 descriptor: articles                        0, 0, none
//   44      12        table 2 descriptor: key directory                   0, 0, none
//   56      int32     reserved                                            0x80000001
//   60      int32     header size (from version 300)                      220 (172 in version 300)
//   64      3 x int32 reserved                                            0
//   76      int32     flags: bit 0 ask for the password, bit 1 protect    0
//                     all articles (setting bit 1 sets bit 0)
//   80      92        "Personal Quorvane Data File", NUL, zeros to 171
//   172     12        table 3 descriptor: keyword groups                  0, 0, none
//   184     12        table 4 descriptor (no records)                     0, 0, none
//   196     12        table 5 descriptor (no records)                     0, 0, none
//   208     3 x int32 reserved                                            0
// Header size: 60 below version 300 (offsets 0 to 59 only); from 300 the field at 60, at most 220.
// Flags and the identifying text exist from version 300, tables 3 to 5 in 220-byte headers only.
//
// Table descriptor (12 bytes): int32 count (entries ever made, the next new entry number), int32
// free (entries now deleted), int32 first index block (none when the table has none). Table 2 is
// not an index table: count = number of keys, third field = first block of the key directory.
//
// Allocation table: block k x 128 is an allocation-table block of 128 int32 slots; slot s belongs
// to block k x 128 + s. Slot 0 holds the next allocation-table block (none for the last). A block
// in a chain holds its successor (none at the end of the chain); a free block the next free block;
// blocks beyond the last block hold 0.
//
// Index table: the index blocks of a table form a chain from the descriptor's first index block;
// entry i is slot i mod 128 (int32) of the (i / 128)-th index block: the first block of the
// entry's record, or none for a deleted entry.
//
// Untrusted input: the block size must be 512, the entries per block 128 and the header size at
// least 172 from version 300 (else code 7). Every block number read is checked to lie inside the
// file and not on an allocation-table block, and every walk along a chain is bounded by the number
// of blocks, so that a broken or looping chain is code 5.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "framework/file.h"
#include "storage/id_set.h"

class CDataFile : public CFile {
public:
    static constexpr int32_t kBlockSize = 512;
    static constexpr int32_t kEntriesPerBlock = 128;
    static constexpr int32_t kMaxHeaderSize = 220;
    static constexpr int kTableCount = 6;
    enum Table { kKeywordTable = 0, kArticleTable = 1, kKeyDirectory = 2, kGroupTable = 3 };
    enum OpenMode { kClosed = 0, kReadOnly = 1, kReadWrite = 2 };
    enum Flags { kFlagPasswordAtOpen = 0x01, kFlagProtectAll = 0x02 };
    enum Format { kCurrent = 0, kOlder = 1, kNewerReadable = 2, kNewerUnreadable = 3, kInvalid = 4 };

    CDataFile();
    ~CDataFile() override;

    // Creates a new file (version 400; 220 and 300 make older files for conversion): the header and
    // block 0 as the first allocation-table block. Failures raise the mapped code with the path.
    void Create(const std::string& path, int version = 400);
    // Opens and checks the header. Failures close the file and raise their code with the path; code
    // 8 for version 401 to 499 keeps the file open when allowNewerMinor is set.
    void Open(const std::string& path, bool readOnly, bool allowNewerMinor = false);
    static Format CheckFormat(const std::string& path);
    static int ReadVersion(const std::string& path);
    void Close();
    void CloseIfOpen();
    // Makes what was written reach the disk (CFile::Flush). Skipped when nothing was written since
    // the last flush that succeeded: an operation that flushes twice pays for the disk once.
    void Flush();

    int GetVersion() const;
    bool IsNewerMinorVersion() const;
    int GetOpenMode() const { return m_openMode; }
    int32_t GetHeaderSize() const { return m_headerSize; }
    int32_t GetArticleCount() const { return LiveEntries(kArticleTable); }
    int32_t GetKeywordCount() const { return LiveEntries(kKeywordTable); }
    int32_t GetGroupCount() const { return LiveEntries(kGroupTable); }
    uint64_t GetLengthSafe() const;
    // The folder of the path, without a trailing backslash except after a drive root ("C:\").
    std::string GetFolder() const;

    bool IsPasswordAtOpen() const { return (GetFlags() & (kFlagPasswordAtOpen | kFlagProtectAll)) != 0; }
    void SetPasswordAtOpen(bool on);
    bool IsProtectAll() const { return (GetFlags() & kFlagProtectAll) != 0; }
    void SetProtectAll(bool on);
    int32_t GetFlags() const;

    void SetRecordKey(const uint8_t key[16]);
    const uint8_t* GetRecordKey() const { return m_recordKey; }
    bool IsWritten() const { return m_written; }
    void SetWritten(bool written = true) { m_written = written; }

    // Blocks. Data blocks only: an allocation-table block or a number outside the file is code 5.
    void ReadBlock(int32_t n, uint8_t* buffer);
    void WriteBlock(int32_t n, const uint8_t* buffer);
    // count consecutive blocks from first (no allocation-table block among them) in one transfer.
    void ReadBlocks(int32_t first, int32_t count, uint8_t* buffer);
    void WriteBlocks(int32_t first, int32_t count, const uint8_t* buffer);
    int32_t AllocateBlock();
    // Zero-fills the chain's blocks and puts the chain in front of the free chain.
    void FreeChain(int32_t first);
    int32_t GetNextBlock(int32_t n);
    void SetNextBlock(int32_t n, int32_t next);
    // Allocates a block and links it after last.
    int32_t AppendBlock(int32_t last);
    // The most blocks any chain can hold: walks longer than this have looped.
    int32_t GetWalkLimit() const;
    // The number of live table entries (and index blocks, and the key directory) that start at the
    // block: a record being rewritten must be the only one at its first block, and no other block
    // of its chain may be one where something starts.
    int EntriesStartingAt(int32_t block);
    // The block at position `index` of the chain that starts at `first` (position 0 is `first`), or
    // the chain's last block when it is shorter: *reached says which position was reached. The walk
    // starts from the furthest known position at or before `index`: the part of the chain checked by
    // CheckOwnChain, or the position remembered for that chain. The furthest position reached by a
    // walk of more than a few blocks is remembered, so that going back to the end of a long record (a
    // keyword's growing article list) walks nothing again. Cutting a chain short or freeing one
    // forgets every remembered position; appending to a chain keeps them.
    int32_t WalkChain(int32_t first, int32_t index, int32_t* reached);
    // The same walk for a record about to be written over: the chain must be that record's alone up
    // to there (no other entry starts at `first`, nothing starts at its other blocks, it does not come
    // back to a block it passed or run into another chain checked here), else code 5 before anything
    // is written. The part of the chain checked is remembered, so that rewriting a record that grows
    // at its end (a keyword's article list) checks only its new blocks; cutting, relinking, freeing or
    // taking one of its blocks, or starting a record at one, forgets it.
    int32_t CheckOwnChain(int32_t first, int32_t index, int32_t* reached);
    // How many blocks CheckOwnChain has looked at since the file was opened.
    int64_t GetChainBlocksChecked() const { return m_chainBlocksChecked; }

    // Table entries (code 3 for an entry number outside the table).
    int32_t GetEntry(int table, int32_t i);
    // The entries `entries` (ascending) of `table` in one walk over its index blocks: firstBlocks[k]
    // is what GetEntry(table, entries[k]) gives, each index block looked up once.
    void GetEntries(int table, const std::vector<int32_t>& entries, std::vector<int32_t>& firstBlocks);
    int32_t AddEntry(int table, int32_t firstBlock);
    void PutEntry(int table, int32_t i, int32_t firstBlock);
    void DeleteEntry(int table, int32_t i);
    void DeleteArticleEntry(int32_t i) { DeleteEntry(kArticleTable, i); }
    void DeleteKeywordEntry(int32_t i) { DeleteEntry(kKeywordTable, i); }
    void DeleteGroupEntry(int32_t i) { DeleteEntry(kGroupTable, i); }
    int32_t GetTableCount(int table) const;  // entries ever made (descriptor's count)
    int32_t CollectArticleIds(CArticleIdSet& set);

    // Batches: between BeginBatch and the matching EndBatch the header, the allocation-table blocks
    // and the zero content of newly allocated blocks are kept in memory and written once when the
    // outermost batch ends, so that each operation leaves a complete file behind it but writes each
    // structure only once. Every changing operation is a batch of its own; callers join several.
    void BeginBatch() { ++m_batchDepth; }
    // Writes what the batch kept (at the outermost level); failures raise the mapped code.
    void EndBatch();
    // Ends a batch while an error unwinds: writes what it can and swallows failures.
    void AbandonBatch();
    // Inside a batch: writes what the batch kept so far (the allocation-table blocks and the header),
    // so that the writes that follow reach the disk after them. Blocks taken for a record are marked
    // used on disk before any content goes into them, and a table entry is written only after both:
    // a crash in between leaves blocks that nothing uses, never a free chain running into a record.
    void WritePending();
    // The same, only when the batch took blocks from the free chain or extended a chain on disk into
    // new blocks: blocks new at the end of the file may receive their content before the header counts
    // them (a crash leaves them past the file's last block, where nothing reads them).
    void WriteTakenBlocks();
    // A batch as a scope: End() ends it normally; leaving the scope without End() abandons it.
    class CBatch {
    public:
        explicit CBatch(CDataFile* file) : m_file(file) { m_file->BeginBatch(); }
        CBatch(const CBatch&) = delete;
        CBatch& operator=(const CBatch&) = delete;
        ~CBatch()
        {
            if (!m_ended)
                m_file->AbandonBatch();
        }
        void End()
        {
            m_ended = true;
            m_file->EndBatch();
        }

    private:
        CDataFile* m_file;
        bool m_ended = false;
    };

    // Reads kept for one operation: while a CReadCache is alive every block read is kept, loaded
    // kCacheChunkBlocks aligned blocks at a time, and writes go through to what is kept, so that an
    // operation that reads many records and then reads them again to rewrite them (deleting a keyword
    // from every article that has it) reads each from the disk once, and nearby records in one call.
    // At most kMostCachedChunks chunks are kept; reads past them go to the disk as without a cache.
    class CReadCache {
    public:
        explicit CReadCache(CDataFile* file) : m_file(file) { ++m_file->m_cacheDepth; }
        CReadCache(const CReadCache&) = delete;
        CReadCache& operator=(const CReadCache&) = delete;
        ~CReadCache()
        {
            if (m_file->m_cacheDepth > 0 && --m_file->m_cacheDepth == 0)
                m_file->m_chunks.clear();
        }

    private:
        CDataFile* m_file;
    };
    // Calls that read the disk for blocks since the file was opened (reads of records, not of the
    // header or the allocation table).
    int64_t GetBlockReads() const { return m_blockReads; }

    // Table 2: the key directory's first block and number of keys.
    int32_t GetKeyDirectoryBlock() const { return GetDescriptor(kKeyDirectory, 2); }
    int32_t GetKeyCount() const { return GetDescriptor(kKeyDirectory, 0); }
    void SetKeyDirectory(int32_t firstBlock, int32_t keyCount);

private:
    using Slots = std::array<int32_t, kEntriesPerBlock>;

    template <typename F>
    auto Guard(F&& operation) -> decltype(operation());
    [[noreturn]] void Corrupt() const;

    int32_t Get32(int offset) const;
    void Put32(int offset, int32_t value);
    void SetDefaultHeader(int version);
    void ReadHeader();
    void CheckStructure() const;
    void WriteHeader();
    int DescriptorOffset(int table) const;
    int32_t GetDescriptor(int table, int field) const;
    void SetDescriptor(int table, int field, int32_t value);
    int32_t LiveEntries(int table) const;

    int32_t LastBlock() const { return Get32(8); }
    int32_t FreeHead() const { return Get32(16); }
    bool IsDataBlock(int32_t n) const;
    void CheckDataBlock(int32_t n) const;
    void CheckRun(int32_t first, int32_t count) const;
    uint64_t BlockOffset(int32_t n) const;
    void ReadRaw(int32_t n, void* buffer);
    void WriteRaw(int32_t n, const void* buffer);
    void WriteData(int32_t first, int32_t count, const void* buffer);
    Slots& TableBlock(int32_t n);  // the allocation-table block that holds n's slot (cached)
    void WriteTableBlock(int32_t n);
    void StoreTableBlock(int32_t tableBlock);
    void StoreHeader();
    void WriteNewTableBlock(int32_t tableBlock);

    // The number of entries that start at each block, one byte per block of the file (a block named
    // 255 times, only in a damaged file, stays counted so).
    class CBlockUse {
    public:
        int Count(int32_t block) const
        {
            return block >= 0 && static_cast<size_t>(block) < m_counts.size() ? m_counts[static_cast<size_t>(block)] : 0;
        }
        // Room for the blocks 0 to blocks - 1 at once, so that counting a whole table never grows it.
        void Size(int32_t blocks) { m_counts.assign(static_cast<size_t>(std::max(blocks, 0)), 0); }
        void Add(int32_t block)
        {
            if (static_cast<size_t>(block) >= m_counts.size())
                m_counts.resize(static_cast<size_t>(block) + 1);
            uint8_t& count = m_counts[static_cast<size_t>(block)];
            if (count < 255)
                ++count;
        }
        void Remove(int32_t block)
        {
            if (block >= 0 && static_cast<size_t>(block) < m_counts.size()) {
                uint8_t& count = m_counts[static_cast<size_t>(block)];
                if (count > 0 && count < 255)
                    --count;
            }
        }
        void Clear() { std::vector<uint8_t>().swap(m_counts); }
        void Swap(CBlockUse& other) { m_counts.swap(other.m_counts); }

    private:
        std::vector<uint8_t> m_counts;
    };
    const CBlockUse& UsedBlocks();
    void CountUse(CBlockUse& used, int32_t block) const;
    void NoteUse(int32_t block, int delta);
    void CheckFreeBlock(int32_t block);

    void CheckTable(int table) const;
    void CheckEntry(int table, int32_t i) const;
    int32_t IndexBlock(int table, int32_t i, bool extend);
    int32_t ReadSlot(int32_t indexBlock, int32_t slot);
    const Slots& IndexSlots(int32_t indexBlock);
    void WriteSlot(int32_t indexBlock, int32_t slot, int32_t value);
    void AppendEntry(int table, int32_t value);
    int32_t FindDeletedEntry(int table, int32_t from);
    void ForgetChains();
    void ForgetCaches();
    template <typename F>
    auto Batched(F&& operation) -> decltype(operation());
    void FlushBatch();
    enum Pending { kPendingNone, kPendingAllocation, kPendingFree };
    void NotePending(Pending kind);
    uint64_t LogicalLength() const { return std::max(m_length, m_requiredLength); }
    void ReadAt(uint64_t offset, void* buffer, uint32_t n);
    bool ReadFromWindow(int32_t first, int32_t count, uint8_t* buffer);
    void ForgetWindow(int32_t first, int32_t count);
    bool ReadFromCache(int32_t first, int32_t count, uint8_t* buffer);
    void WriteThroughCache(int32_t first, int32_t count, const uint8_t* buffer);

    bool m_written = false;
    bool m_unflushed = false;  // written since the last successful Flush
    uint8_t m_recordKey[16] = {};
    int32_t m_headerSize = kMaxHeaderSize;
    uint8_t m_header[kMaxHeaderSize] = {};
    int m_openMode = kClosed;
    uint64_t m_length = 0;  // file length as far as this object wrote or read it
    // Batching: nesting depth, what is waiting to be written, and the length the file must reach
    // (blocks allocated at the end of the file but not written yet read as zeros).
    int m_batchDepth = 0;
    bool m_headerDirty = false;
    std::vector<int32_t> m_dirtyTableBlocks;  // in the order they changed
    // What the kept blocks and header hold: blocks taken from the free chain (or a chain on disk
    // extended into new blocks), or freed blocks. Blocks new at the end of the file are neither.
    Pending m_pending = kPendingNone;
    int32_t m_diskLastBlock = 0;  // the last block as the header on disk says
    uint64_t m_requiredLength = 0;

    // Allocation-table blocks as last read or written (the file is opened exclusively).
    std::unordered_map<int32_t, Slots> m_tableBlocks;
    // The table block found last (elements of the map keep their address until it is cleared).
    int32_t m_lastTableBlock = 0;
    Slots* m_lastSlots = nullptr;
    // Where live records and index blocks start (see UsedBlocks); known once built.
    CBlockUse m_used;
    bool m_usedKnown = false;
    // Remembered chain positions: first block -> (position, block), see WalkChain.
    struct ChainPosition {
        int32_t index;
        int32_t block;
    };
    std::unordered_map<int32_t, ChainPosition> m_chainPositions;
    // Chains checked by CheckOwnChain: first block -> its blocks checked so far, in chain order; and
    // each of those blocks -> its chain's first block and position.
    struct CheckedBlock {
        int32_t first;
        int32_t index;
    };
    std::unordered_map<int32_t, std::vector<int32_t>> m_checkedChains;
    std::unordered_map<int32_t, CheckedBlock> m_checkedBlocks;
    int64_t m_chainBlocksChecked = 0;
    void ForgetCheckedChain(int32_t first);
    void ForgetCheckedBlock(int32_t block);
    void CutCheckedChainAfter(int32_t block);
    void ForgetCheckedChains();
    // Index blocks as last read or written.
    std::unordered_map<int32_t, Slots> m_indexBlocks;
    // The index blocks of each table found so far, in chain order.
    std::vector<int32_t> m_indexChains[kTableCount];
    // The same blocks as a set, so that finding a loop while the chain is walked costs one lookup
    // per block, not a search of the chain.
    std::unordered_set<int32_t> m_indexChainBlocks[kTableCount];
    // Reads of a few blocks that start where the previous read ended, or a little after it, fetch the
    // blocks behind them too, so that walking many records in file order (building the article index
    // at open, which reads the start and the end of each) costs one system call per window, not one
    // or two per record. Writes to a block in the window drop the window.
    static constexpr int32_t kReadWindowBlocks = 256;
    // How far past the end of the previous read a read still counts as going on through the file.
    static constexpr int32_t kReadGapBlocks = 32;
    std::unique_ptr<uint8_t[]> m_window;
    int32_t m_windowFirst = 0;
    int32_t m_windowCount = 0;
    int32_t m_nextSequentialRead = kNoneId;  // the block after the last one read
    // The read cache (see CReadCache): chunk number (block / kCacheChunkBlocks) -> its blocks as far
    // as the file held them when loaded.
    static constexpr int32_t kCacheChunkBlocks = 32;
    struct Chunk {
        std::unique_ptr<uint8_t[]> bytes;
        int32_t blocks;
    };
    static constexpr size_t kMostCachedChunks = 4096;  // 64 MB
    int m_cacheDepth = 0;
    std::unordered_map<int32_t, Chunk> m_chunks;
    int64_t m_blockReads = 0;
    // Entries below this number are known to be live (the search for a deleted entry starts here).
    int32_t m_freeSearchStart[kTableCount] = {};
};

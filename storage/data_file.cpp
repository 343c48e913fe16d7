// The layout of the data file is described in data_file.h.
#include "storage/data_file.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <type_traits>

#include "storage/byte_order.h"
#include "storage/quor_error.h"

namespace {

constexpr char kIdentifyingText[] = "Personal Quorvane Data File";
constexpr int kTextOffset = 80;
constexpr int kTextEnd = 172;
constexpr int kFlagsOffset = 76;
constexpr int kHeaderSizeOffset = 60;
constexpr int32_t kOldHeaderSize = 60;
constexpr int32_t kVersion300HeaderSize = 172;

// Empties a map that may have grown large: clear() would set its whole bucket array to zero every
// time, even when it is already empty, so a large one is given back instead.
template <typename Map>
void Release(Map& map)
{
    if (map.bucket_count() > 1024)
        Map().swap(map);
    else
        map.clear();
}

}  // namespace

CDataFile::CDataFile() = default;

CDataFile::~CDataFile()
{
    CloseIfOpen();
}

// File exceptions become the mapped code with the data file's path, memory failures code 1.
template <typename F>
auto CDataFile::Guard(F&& operation) -> decltype(operation())
{
    try {
        return operation();
    } catch (...) {
        RethrowAsQuorError(GetFilePath());
    }
}

// Guard, inside a batch of its own (joining the caller's when there is one).
template <typename F>
auto CDataFile::Batched(F&& operation) -> decltype(operation())
{
    BeginBatch();
    if constexpr (std::is_void_v<decltype(operation())>) {
        try {
            Guard(operation);
        } catch (...) {
            AbandonBatch();
            throw;
        }
        EndBatch();
    } else {
        decltype(operation()) result;
        try {
            result = Guard(operation);
        } catch (...) {
            AbandonBatch();
            throw;
        }
        EndBatch();
        return result;
    }
}

void CDataFile::EndBatch()
{
    if (--m_batchDepth == 0)
        Guard([&] { FlushBatch(); });
}

void CDataFile::AbandonBatch()
{
    if (--m_batchDepth > 0)
        return;
    try {
        FlushBatch();
    } catch (...) {
    }
}

void CDataFile::WriteTakenBlocks()
{
    if (m_batchDepth > 0 && m_pending == kPendingAllocation)
        Guard([&] { FlushBatch(); });
}

void CDataFile::WritePending()
{
    if (m_batchDepth == 0 || (m_requiredLength <= m_length && m_dirtyTableBlocks.empty() && !m_headerDirty))
        return;
    Guard([&] { FlushBatch(); });
}

// Writes what the batch kept: first the zeros of blocks allocated at the end of the file and never
// written, then the allocation-table blocks and the header, in the order that keeps a crash between
// any two writes harmless. Blocks taken from the free chain, or a chain on disk extended into new
// blocks: the header first (the free head moves past them, the last block takes them in), then the
// table blocks in the order they changed (a taken block's own slot before the slot that links it into
// its chain); a crash in between loses the blocks, and no chain runs into the free chain or past the
// last block. Blocks given back, and chains of blocks new at the end of the file: the table blocks
// first (the chain cut off before the freed part is linked to the old free chain; new blocks linked
// while the header does not count them yet), then the header.
// Allocations and frees are never kept together (see NotePending). What fails to be written stays
// kept, so that a later batch still writes it.
void CDataFile::FlushBatch()
{
    if (m_requiredLength > m_length) {
        m_unflushed = true;
        SetLength(m_requiredLength);  // the extension reads as zeros
        m_length = m_requiredLength;
    }
    if (m_headerDirty && m_pending == kPendingAllocation) {
        StoreHeader();
        m_headerDirty = false;
    }
    while (!m_dirtyTableBlocks.empty()) {
        StoreTableBlock(m_dirtyTableBlocks.front());
        m_dirtyTableBlocks.erase(m_dirtyTableBlocks.begin());
    }
    if (m_headerDirty) {
        StoreHeader();
        m_headerDirty = false;
    }
    m_pending = kPendingNone;
}

// Allocations and frees need opposite orders of header and table blocks: what the batch kept of the
// other kind is written before a change of this kind is kept.
void CDataFile::NotePending(Pending kind)
{
    if (m_batchDepth > 0 && m_pending != kPendingNone && m_pending != kind)
        FlushBatch();
    m_pending = kind;
}

void CDataFile::Corrupt() const
{
    throw CQuorError(kCorruptedRecord, GetFilePath());
}

int32_t CDataFile::Get32(int offset) const
{
    return LoadLeInt32(m_header + offset);
}

void CDataFile::Put32(int offset, int32_t value)
{
    StoreLe32(m_header + offset, value);
}

// ---- Header ---------------------------------------------------------------------------------------

void CDataFile::SetDefaultHeader(int version)
{
    std::memset(m_header, 0, sizeof m_header);
    m_header[0] = 'V';
    m_header[1] = 'Q';
    m_header[2] = uint8_t(version);
    m_header[3] = uint8_t(version >> 8);
    m_header[4] = uint8_t(kBlockSize);
    m_header[5] = uint8_t(kBlockSize >> 8);
    m_header[6] = uint8_t(kEntriesPerBlock);
    m_header[7] = uint8_t(kEntriesPerBlock >> 8);
    Put32(16, kNoneId);
    for (int table = 0; table < kTableCount; ++table)
        Put32(DescriptorOffset(table) + 8, kNoneId);
    Put32(56, kNoneId);
    m_headerSize = version == 220 ? kOldHeaderSize : version == 300 ? kVersion300HeaderSize : kMaxHeaderSize;
    Put32(kHeaderSizeOffset, m_headerSize);
    std::memcpy(m_header + kTextOffset, kIdentifyingText, sizeof kIdentifyingText);
}

int CDataFile::GetVersion() const
{
    return static_cast<int16_t>(m_header[2] | m_header[3] << 8);
}

bool CDataFile::IsNewerMinorVersion() const
{
    return GetVersion() / 100 == 4 && GetVersion() % 100 > 0;
}

void CDataFile::ReadHeader()
{
    uint8_t start[4];
    Seek(0, begin);
    if (Read(start, 4) < 4)
        throw CQuorError(kTruncatedFile, GetFilePath());
    int version = static_cast<int16_t>(start[2] | start[3] << 8);
    int32_t headerSize = kOldHeaderSize;
    if (version >= 300) {
        uint8_t field[4];
        Seek(kHeaderSizeOffset, begin);
        if (Read(field, 4) < 4)
            throw CQuorError(kTruncatedFile, GetFilePath());
        uint32_t value = static_cast<uint32_t>(LoadLeInt32(field));
        headerSize = value > static_cast<uint32_t>(kMaxHeaderSize) ? kMaxHeaderSize : static_cast<int32_t>(value);
    }
    // A header size below what the version needs would leave fields of the image unread: the
    // smallest one is caught by CheckStructure, a negative or zero one here.
    int32_t toRead = std::max<int32_t>(headerSize, 4);
    Seek(0, begin);
    if (Read(m_header, static_cast<uint32_t>(toRead)) < static_cast<uint32_t>(toRead))
        throw CQuorError(kTruncatedFile, GetFilePath());
    m_headerSize = headerSize;
    if (m_header[0] != 'V' || m_header[1] != 'Q')
        throw CQuorError(kNotDataFile, GetFilePath());
    if (version < 210)
        throw CQuorError(kInvalidDataFile, GetFilePath());
    if (version > 400)
        throw CQuorError(kNewerDataFile, GetFilePath());
    if (version >= 300) {
        if (m_headerSize < kTextEnd ||
            std::strncmp(reinterpret_cast<const char*>(m_header + kTextOffset), kIdentifyingText,
                         sizeof kIdentifyingText) != 0)
            throw CQuorError(kInvalidDataFile, GetFilePath());
    }
    CheckStructure();
}

// Block arithmetic relies on these values; a file with others is not one of ours.
void CDataFile::CheckStructure() const
{
    int blockSize = m_header[4] | m_header[5] << 8;
    int entries = m_header[6] | m_header[7] << 8;
    int32_t needed = GetVersion() >= 300 ? kVersion300HeaderSize : kOldHeaderSize;
    if (blockSize != kBlockSize || entries != kEntriesPerBlock || m_headerSize < needed)
        throw CQuorError(kInvalidDataFile, GetFilePath());
}

void CDataFile::WriteHeader()
{
    m_written = true;
    if (m_batchDepth > 0) {
        m_headerDirty = true;
        return;
    }
    StoreHeader();
}

void CDataFile::StoreHeader()
{
    m_unflushed = true;
    Seek(0, begin);
    Write(m_header, static_cast<uint32_t>(m_headerSize));
    m_diskLastBlock = LastBlock();
    m_length = std::max<uint64_t>(m_length, static_cast<uint64_t>(m_headerSize));
    m_written = true;
}

int CDataFile::DescriptorOffset(int table) const
{
    return table < 3 ? 20 + 12 * table : 172 + 12 * (table - 3);
}

int32_t CDataFile::GetDescriptor(int table, int field) const
{
    int offset = DescriptorOffset(table);
    if (offset + 12 > m_headerSize)  // tables 3 to 5 exist only in 220-byte headers
        return field == 2 ? kNoneId : 0;
    return Get32(offset + 4 * field);
}

void CDataFile::SetDescriptor(int table, int field, int32_t value)
{
    Put32(DescriptorOffset(table) + 4 * field, value);
}

int32_t CDataFile::LiveEntries(int table) const
{
    // Both counts come from the header as stored; a damaged one may hold any values.
    int64_t live = int64_t{GetDescriptor(table, 0)} - GetDescriptor(table, 1);
    return static_cast<int32_t>(std::clamp<int64_t>(live, 0, INT32_MAX));
}

int32_t CDataFile::GetTableCount(int table) const
{
    return table >= 0 && table < kTableCount ? GetDescriptor(table, 0) : 0;
}

int32_t CDataFile::GetFlags() const
{
    return m_headerSize >= kFlagsOffset + 4 && GetVersion() >= 300 ? Get32(kFlagsOffset) : 0;
}

void CDataFile::SetPasswordAtOpen(bool on)
{
    if (m_headerSize < kFlagsOffset + 4)
        return;  // older files have no flags
    int32_t flags = GetFlags();
    Put32(kFlagsOffset, on ? flags | kFlagPasswordAtOpen : flags & ~kFlagPasswordAtOpen);
    Guard([&] { WriteHeader(); });
}

void CDataFile::SetProtectAll(bool on)
{
    if (m_headerSize < kFlagsOffset + 4)
        return;
    int32_t flags = GetFlags();
    Put32(kFlagsOffset, on ? flags | kFlagPasswordAtOpen | kFlagProtectAll : flags & ~kFlagProtectAll);
    Guard([&] { WriteHeader(); });
}

void CDataFile::SetRecordKey(const uint8_t key[16])
{
    std::memcpy(m_recordKey, key, sizeof m_recordKey);
}

void CDataFile::SetKeyDirectory(int32_t firstBlock, int32_t keyCount)
{
    Guard([&] {
        WriteTakenBlocks();  // the directory's blocks are taken on disk before the header names them
        SetDescriptor(kKeyDirectory, 2, firstBlock);
        SetDescriptor(kKeyDirectory, 0, keyCount);
        WriteHeader();
        m_used.Clear();  // a keyed record came in: found again when next needed
        m_usedKnown = false;
        ForgetCheckedChains();  // the records starting at checked blocks are no longer followed
    });
}

// ---- Opening and closing --------------------------------------------------------------------------

void CDataFile::Create(const std::string& path, int version)
{
    CloseIfOpen();
    CFileException error(CFileException::none, 0);
    if (!CFile::Open(path, modeCreate | modeReadWrite | shareExclusive, &error))
        throw CQuorError(FileExceptionToErrorCode(error), path);
    try {
        ForgetCaches();
        SetDefaultHeader(version == 220 || version == 300 ? version : 400);
        m_length = 0;
        m_openMode = kReadWrite;
        WriteHeader();
        WriteNewTableBlock(0);
        m_written = false;
    } catch (...) {
        CloseIfOpen();  // the partly written file stays on disk
        RethrowAsQuorError(path);
    }
}

void CDataFile::Open(const std::string& path, bool readOnly, bool allowNewerMinor)
{
    CloseIfOpen();
    readOnly = readOnly || IsReadOnlyFile(path);
    CFileException error(CFileException::none, 0);
    if (readOnly) {
        if (!CFile::Open(path, modeRead | shareDenyWrite, &error))
            throw CQuorError(FileExceptionToErrorCode(error), path);
        m_openMode = kReadOnly;
    } else if (CFile::Open(path, modeReadWrite | shareExclusive, &error)) {
        m_openMode = kReadWrite;
    } else if (CFile::Open(path, modeRead | shareExclusive, &error)) {
        m_openMode = kReadOnly;
    } else {
        throw CQuorError(FileExceptionToErrorCode(error), path);
    }
    try {
        ForgetCaches();
        SetDefaultHeader(400);
        Guard([&] {
            m_length = GetLength();
            ReadHeader();
            m_diskLastBlock = LastBlock();
        });
    } catch (const CQuorError& e) {
        if (e.Code() == kNewerDataFile && allowNewerMinor && GetVersion() > 400 && GetVersion() < 500) {
            try {
                CheckStructure();
            } catch (...) {
                CloseIfOpen();
                throw;
            }
        } else {
            CloseIfOpen();
            throw;
        }
    } catch (...) {
        CloseIfOpen();
        throw;
    }
    m_written = false;
}

CDataFile::Format CDataFile::CheckFormat(const std::string& path)
{
    CDataFile file;
    try {
        file.Open(path, true);
    } catch (const CQuorError& e) {
        if (e.Code() == kInvalidDataFile)
            return kInvalid;
        if (e.Code() != kNewerDataFile)
            throw;
        return file.GetVersion() < 500 ? kNewerReadable : kNewerUnreadable;
    }
    int version = file.GetVersion();
    file.CloseIfOpen();
    return version == 400 ? kCurrent : kOlder;
}

int CDataFile::ReadVersion(const std::string& path)
{
    CDataFile file;
    CFileException error(CFileException::none, 0);
    if (!file.CFile::Open(path, modeRead | shareExclusive, &error))
        throw CQuorError(FileExceptionToErrorCode(error), path);
    file.m_openMode = kReadOnly;
    file.Guard([&] {
        file.m_length = file.GetLength();
        file.ReadHeader();
    });
    return file.GetVersion();
}

void CDataFile::Close()
{
    ForgetCaches();
    m_openMode = kClosed;
    Guard([&] { CFile::Close(); });
}

void CDataFile::Flush()
{
    if (!m_unflushed)
        return;
    Guard([&] { CFile::Flush(); });
    m_unflushed = false;
}

void CDataFile::CloseIfOpen()
{
    ForgetCaches();
    m_openMode = kClosed;
    Abort();
}

uint64_t CDataFile::GetLengthSafe() const
{
    try {
        return GetLength();
    } catch (...) {
        return 0;
    }
}

std::string CDataFile::GetFolder() const
{
    const std::string& path = GetFilePath();
    size_t slash = path.rfind('\\');
    if (slash == std::string::npos)
        return std::string();
    if (slash > 0 && path[slash - 1] == ':')  // keep the backslash of a drive root
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

// ---- Blocks ---------------------------------------------------------------------------------------

// A block that the header counts and the file holds, and not an allocation-table block. (A block
// number from a broken file that lies beyond the end would make the first write to it grow the file
// by the whole distance.)
bool CDataFile::IsDataBlock(int32_t n) const
{
    return n > 0 && n <= LastBlock() && n % kEntriesPerBlock != 0 && BlockOffset(n) + kBlockSize <= LogicalLength();
}

// A block the header counts but the file does not hold is a truncated file (code 10), anything else
// that is not a data block a broken chain or table (code 5).
void CDataFile::CheckDataBlock(int32_t n) const
{
    if (IsDataBlock(n))
        return;
    if (n > 0 && n <= LastBlock() && n % kEntriesPerBlock != 0)
        throw CQuorError(kTruncatedFile, GetFilePath());
    Corrupt();
}

int32_t CDataFile::GetWalkLimit() const
{
    uint64_t length = LogicalLength();
    uint64_t inFile = length > static_cast<uint64_t>(m_headerSize)
                          ? (length - static_cast<uint64_t>(m_headerSize)) / kBlockSize
                          : 0;
    int64_t limit = std::min<int64_t>(LastBlock(), static_cast<int64_t>(inFile)) + 1;
    return static_cast<int32_t>(std::max<int64_t>(limit, 1));
}

uint64_t CDataFile::BlockOffset(int32_t n) const
{
    return static_cast<uint64_t>(m_headerSize) + static_cast<uint64_t>(n) * kBlockSize;
}

// A short read is a truncated file (code 10), except in blocks that a batch allocated at the end of
// the file and has not written yet: those read as zeros.
void CDataFile::ReadAt(uint64_t offset, void* buffer, uint32_t n)
{
    Seek(static_cast<int64_t>(offset), begin);
    uint32_t got = Read(buffer, n);
    if (got == n)
        return;
    if (offset + n > LogicalLength())
        throw CQuorError(kTruncatedFile, GetFilePath());
    std::memset(static_cast<uint8_t*>(buffer) + got, 0, n - got);
}

void CDataFile::ReadRaw(int32_t n, void* buffer)
{
    ReadAt(BlockOffset(n), buffer, kBlockSize);
}

// Every write of whole blocks comes here, so that the cached index blocks stay what the file holds.
void CDataFile::WriteData(int32_t first, int32_t count, const void* buffer)
{
    m_unflushed = true;
    ForgetWindow(first, count);
    if (!m_chunks.empty())
        WriteThroughCache(first, count, static_cast<const uint8_t*>(buffer));
    Seek(static_cast<int64_t>(BlockOffset(first)), begin);
    Write(buffer, static_cast<uint32_t>(count) * kBlockSize);
    m_length = std::max(m_length, BlockOffset(first + count - 1) + kBlockSize);
    m_written = true;
    if (!m_indexBlocks.empty())
        for (int32_t n = first; n < first + count; ++n)
            m_indexBlocks.erase(n);
}

void CDataFile::WriteRaw(int32_t n, const void* buffer)
{
    WriteData(n, 1, buffer);
}

void CDataFile::ReadBlock(int32_t n, uint8_t* buffer)
{
    CheckDataBlock(n);
    Guard([&] { ReadRaw(n, buffer); });
}

void CDataFile::WriteBlock(int32_t n, const uint8_t* buffer)
{
    CheckDataBlock(n);
    Guard([&] { WriteRaw(n, buffer); });
}

void CDataFile::CheckRun(int32_t first, int32_t count) const
{
    CheckDataBlock(first);
    if (count < 1 || first % kEntriesPerBlock + count > kEntriesPerBlock || first > LastBlock() - (count - 1))
        Corrupt();
}

void CDataFile::ReadBlocks(int32_t first, int32_t count, uint8_t* buffer)
{
    CheckRun(first, count);
    Guard([&] {
        if (m_cacheDepth > 0 && ReadFromCache(first, count, buffer))
            return;
        if (!ReadFromWindow(first, count, buffer)) {
            ++m_blockReads;
            ReadAt(BlockOffset(first), buffer, static_cast<uint32_t>(count) * kBlockSize);
        }
    });
}

// Serves a run from the read cache, loading the chunks it falls in (false past the cache's size
// or the file's end: the caller reads the disk).
bool CDataFile::ReadFromCache(int32_t first, int32_t count, uint8_t* buffer)
{
    int64_t inFile = (static_cast<int64_t>(LogicalLength()) - m_headerSize) / kBlockSize;
    if (first + count > inFile)
        return false;  // a read past the end keeps its own error
    for (int32_t block = first; block < first + count;) {
        int32_t number = block / kCacheChunkBlocks;
        int32_t start = number * kCacheChunkBlocks;
        int32_t end = std::min(first + count, start + kCacheChunkBlocks);
        auto found = m_chunks.find(number);
        if (found == m_chunks.end() || found->second.blocks < end - start) {
            // Not loaded, or loaded when the file ended inside it.
            if (found == m_chunks.end() && m_chunks.size() >= kMostCachedChunks)
                return false;
            int32_t blocks = static_cast<int32_t>(std::min<int64_t>(kCacheChunkBlocks, inFile - start));
            Chunk chunk{std::unique_ptr<uint8_t[]>(new uint8_t[static_cast<size_t>(kCacheChunkBlocks) * kBlockSize]), 0};
            ++m_blockReads;
            ReadAt(BlockOffset(start), chunk.bytes.get(), static_cast<uint32_t>(blocks) * kBlockSize);
            chunk.blocks = blocks;
            found = m_chunks.insert_or_assign(number, std::move(chunk)).first;
        }
        std::memcpy(buffer + static_cast<size_t>(block - first) * kBlockSize,
                    found->second.bytes.get() + static_cast<size_t>(block - start) * kBlockSize,
                    static_cast<size_t>(end - block) * kBlockSize);
        block = end;
    }
    return true;
}

void CDataFile::WriteThroughCache(int32_t first, int32_t count, const uint8_t* buffer)
{
    for (int32_t block = first; block < first + count;) {
        int32_t number = block / kCacheChunkBlocks;
        int32_t start = number * kCacheChunkBlocks;
        int32_t end = std::min(first + count, start + kCacheChunkBlocks);
        auto found = m_chunks.find(number);
        if (found != m_chunks.end()) {
            int32_t held = std::min(end, start + found->second.blocks);
            if (block < held)
                std::memcpy(found->second.bytes.get() + static_cast<size_t>(block - start) * kBlockSize,
                            buffer + static_cast<size_t>(block - first) * kBlockSize,
                            static_cast<size_t>(held - block) * kBlockSize);
        }
        block = end;
    }
}

// Serves a short run from the read window. A run that is not in it but starts where the previous
// read ended, or at most kReadGapBlocks blocks after, fills the window from `first` on: up to
// kReadWindowBlocks blocks, not past the last block in use or the file's end (an allocation-table
// block inside is read with the rest, never served: no run of data blocks holds one). False for a
// run to read directly (scattered reads, as of a few keyword records, would only copy blocks nobody
// asked for).
bool CDataFile::ReadFromWindow(int32_t first, int32_t count, uint8_t* buffer)
{
    bool sequential = m_nextSequentialRead != kNoneId && first >= m_nextSequentialRead &&
                      first - m_nextSequentialRead <= kReadGapBlocks;
    m_nextSequentialRead = first + count;
    constexpr int32_t kLongRun = 32;  // read straight into the caller's buffer
    if (count >= kLongRun)
        return false;
    if (m_windowCount == 0 || first < m_windowFirst || first + count > m_windowFirst + m_windowCount) {
        if (!sequential)
            return false;
        int64_t inFile = (static_cast<int64_t>(LogicalLength()) - m_headerSize) / kBlockSize;
        if (first + count > inFile)
            return false;  // a read past the end keeps its own error
        int64_t end = std::min<int64_t>({static_cast<int64_t>(first) + kReadWindowBlocks,
                                         static_cast<int64_t>(LastBlock()) + 1, inFile});
        if (!m_window)
            m_window.reset(new uint8_t[static_cast<size_t>(kReadWindowBlocks) * kBlockSize]);
        m_windowCount = 0;
        int32_t blocks = static_cast<int32_t>(end - first);
        ++m_blockReads;
        ReadAt(BlockOffset(first), m_window.get(), static_cast<uint32_t>(blocks) * kBlockSize);
        m_windowFirst = first;
        m_windowCount = blocks;
    }
    std::memcpy(buffer, m_window.get() + static_cast<size_t>(first - m_windowFirst) * kBlockSize,
                static_cast<size_t>(count) * kBlockSize);
    return true;
}

void CDataFile::ForgetWindow(int32_t first, int32_t count)
{
    if (m_windowCount > 0 && first < m_windowFirst + m_windowCount && first + count > m_windowFirst)
        m_windowCount = 0;
}

void CDataFile::WriteBlocks(int32_t first, int32_t count, const uint8_t* buffer)
{
    CheckRun(first, count);
    Guard([&] { WriteData(first, count, buffer); });
}

CDataFile::Slots& CDataFile::TableBlock(int32_t n)
{
    int32_t tableBlock = n - n % kEntriesPerBlock;
    if (m_lastSlots && m_lastTableBlock == tableBlock)
        return *m_lastSlots;  // walks along a chain stay in one table block for long stretches
    auto found = m_tableBlocks.find(tableBlock);
    if (found != m_tableBlocks.end()) {
        m_lastTableBlock = tableBlock;
        m_lastSlots = &found->second;
        return found->second;
    }
    uint8_t bytes[kBlockSize];
    ReadRaw(tableBlock, bytes);
    Slots slots;
    for (int s = 0; s < kEntriesPerBlock; ++s)
        slots[static_cast<size_t>(s)] = LoadLeInt32(bytes + 4 * s);
    return m_tableBlocks.emplace(tableBlock, slots).first->second;
}

void CDataFile::WriteTableBlock(int32_t n)
{
    int32_t tableBlock = n - n % kEntriesPerBlock;
    if (m_batchDepth > 0) {
        m_written = true;
        if (std::find(m_dirtyTableBlocks.begin(), m_dirtyTableBlocks.end(), tableBlock) == m_dirtyTableBlocks.end())
            m_dirtyTableBlocks.push_back(tableBlock);
        return;
    }
    StoreTableBlock(tableBlock);
}

void CDataFile::StoreTableBlock(int32_t tableBlock)
{
    const Slots& slots = TableBlock(tableBlock);
    uint8_t bytes[kBlockSize];
    for (int s = 0; s < kEntriesPerBlock; ++s)
        StoreLe32(bytes + 4 * s, slots[static_cast<size_t>(s)]);
    WriteRaw(tableBlock, bytes);
}

// A fresh allocation-table block: slot 0 (the next table block) none, the others 0.
void CDataFile::WriteNewTableBlock(int32_t tableBlock)
{
    Slots slots{};
    slots[0] = kNoneId;
    m_tableBlocks[tableBlock] = slots;
    WriteTableBlock(tableBlock);
}

int32_t CDataFile::GetNextBlock(int32_t n)
{
    CheckDataBlock(n);
    return Guard([&] { return TableBlock(n)[static_cast<size_t>(n % kEntriesPerBlock)]; });
}

void CDataFile::SetNextBlock(int32_t n, int32_t next)
{
    CheckDataBlock(n);
    Batched([&] {
        // A chain on disk that is extended into blocks the disk's header does not count yet: the
        // header goes first (see FlushBatch).
        if (next != kNoneId && n <= m_diskLastBlock && next > m_diskLastBlock)
            NotePending(kPendingAllocation);
        int32_t& slot = TableBlock(n)[static_cast<size_t>(n % kEntriesPerBlock)];
        if (slot != kNoneId) {
            Release(m_chainPositions);  // a chain cut or relinked: positions behind n may be gone
            CutCheckedChainAfter(n);
        }
        slot = next;
        WriteTableBlock(n);
    });
}

int32_t CDataFile::WalkChain(int32_t first, int32_t index, int32_t* reached)
{
    CheckDataBlock(first);
    return Guard([&] {
        int32_t at = 0;
        int32_t block = first;
        // A chain checked for a rewrite is known block by block as far as it was checked (kept in
        // step with every cut, relink, free and take): any position up to there costs no walk.
        auto checked = m_checkedChains.find(first);
        if (checked != m_checkedChains.end() && !checked->second.empty()) {
            const std::vector<int32_t>& chain = checked->second;
            if (index < static_cast<int32_t>(chain.size())) {
                *reached = index;
                return chain[static_cast<size_t>(index)];
            }
            at = static_cast<int32_t>(chain.size()) - 1;
            block = chain.back();
        }
        auto found = m_chainPositions.find(first);
        if (found != m_chainPositions.end() && found->second.index <= index && found->second.index > at) {
            at = found->second.index;
            block = found->second.block;
        }
        int32_t limit = GetWalkLimit();
        while (at < index) {
            int32_t next = TableBlock(block)[static_cast<size_t>(block % kEntriesPerBlock)];
            if (next == kNoneId)
                break;
            CheckDataBlock(next);
            if (++at >= limit)
                Corrupt();  // longer than the file can hold: the chain loops
            block = next;
        }
        // A position further along stays: a record read near its start between two visits to its
        // end (a keyword's count and then its last id) would otherwise walk the whole chain again.
        // Short walks are not remembered: walking them again costs less than keeping them (the
        // article index at open passes over the text of every article).
        constexpr int32_t kShortestRemembered = 16;
        if (found == m_chainPositions.end()) {
            if (at < kShortestRemembered) {
                *reached = at;
                return block;
            }
            constexpr size_t kMostPositions = 65536;
            if (m_chainPositions.size() >= kMostPositions)
                Release(m_chainPositions);
            m_chainPositions.emplace(first, ChainPosition{at, block});
        } else if (found->second.index <= at) {
            found->second = ChainPosition{at, block};
        }
        *reached = at;
        return block;
    });
}

int32_t CDataFile::CheckOwnChain(int32_t first, int32_t index, int32_t* reached)
{
    CheckDataBlock(first);
    return Guard([&] {
        if (EntriesStartingAt(first) > 1)
            Corrupt();
        auto owner = m_checkedBlocks.find(first);
        if (owner != m_checkedBlocks.end() && owner->second.first != first)
            ForgetCheckedChain(owner->second.first);
        std::vector<int32_t>& chain = m_checkedChains[first];
        if (chain.empty()) {
            chain.push_back(first);
            m_checkedBlocks[first] = CheckedBlock{first, 0};
            ++m_chainBlocksChecked;
        }
        if (index < static_cast<int32_t>(chain.size())) {
            *reached = index;
            return chain[static_cast<size_t>(index)];
        }
        int32_t at = static_cast<int32_t>(chain.size()) - 1;
        int32_t block = chain.back();
        while (at < index) {
            int32_t next = TableBlock(block)[static_cast<size_t>(block % kEntriesPerBlock)];
            if (next == kNoneId)
                break;
            CheckDataBlock(next);
            ++m_chainBlocksChecked;
            // A block met before is this chain looping or another record's chain (both would be
            // written over); a block where a record starts is another record.
            if (m_checkedBlocks.count(next) || EntriesStartingAt(next) > 0)
                Corrupt();
            ++at;
            chain.push_back(next);
            m_checkedBlocks[next] = CheckedBlock{first, at};
            block = next;
        }
        *reached = at;
        constexpr size_t kMostCheckedBlocks = 1 << 20;
        if (m_checkedBlocks.size() > kMostCheckedBlocks)
            ForgetCheckedChains();
        return block;
    });
}

void CDataFile::ForgetCheckedChain(int32_t first)
{
    auto chain = m_checkedChains.find(first);
    if (chain == m_checkedChains.end())
        return;
    for (int32_t block : chain->second) {
        auto found = m_checkedBlocks.find(block);
        if (found != m_checkedBlocks.end() && found->second.first == first)
            m_checkedBlocks.erase(found);
    }
    m_checkedChains.erase(chain);
}

// The block changes hands (taken, freed, or a record starts there): its chain is checked again.
void CDataFile::ForgetCheckedBlock(int32_t block)
{
    auto found = m_checkedBlocks.find(block);
    if (found != m_checkedBlocks.end())
        ForgetCheckedChain(found->second.first);
}

// The block's link changes: what its chain held behind it is no longer known to be there.
void CDataFile::CutCheckedChainAfter(int32_t block)
{
    auto found = m_checkedBlocks.find(block);
    if (found == m_checkedBlocks.end())
        return;
    std::vector<int32_t>& chain = m_checkedChains[found->second.first];
    size_t keep = static_cast<size_t>(found->second.index) + 1;
    for (size_t i = keep; i < chain.size(); ++i)
        m_checkedBlocks.erase(chain[i]);
    if (chain.size() > keep)
        chain.resize(keep);
}

void CDataFile::ForgetCheckedChains()
{
    Release(m_checkedChains);
    Release(m_checkedBlocks);
}

int32_t CDataFile::AllocateBlock()
{
    return Batched([&] {
        int32_t block = FreeHead();
        if (block != kNoneId) {
            NotePending(kPendingAllocation);
            CheckDataBlock(block);
            // Not a block where a record or an index block starts: no cached index chain holds it.
            CheckFreeBlock(block);
            ForgetCheckedBlock(block);
            int32_t& slot = TableBlock(block)[static_cast<size_t>(block % kEntriesPerBlock)];
            Put32(16, slot);
            slot = kNoneId;
            WriteTableBlock(block);
        } else {
            int32_t last = LastBlock();
            // A last block that the file does not hold (a broken header) would make the file grow
            // by its whole distance at once.
            if (last < 0 || last > INT32_MAX - 2 || BlockOffset(last) + kBlockSize > LogicalLength())
                Corrupt();
            block = last + 1;
            if (block % kEntriesPerBlock == 0) {
                int32_t lastTable = Get32(12);
                if (lastTable != block - kEntriesPerBlock)
                    Corrupt();
                TableBlock(lastTable)[0] = block;
                WriteTableBlock(lastTable);
                WriteNewTableBlock(block);
                Put32(12, block);
                ++block;
            }
            Put32(8, block);
            // The file grows to hold the block (zeros until the caller writes its content).
            m_requiredLength = std::max(LogicalLength(), BlockOffset(block) + kBlockSize);
            TableBlock(block)[static_cast<size_t>(block % kEntriesPerBlock)] = kNoneId;
            WriteTableBlock(block);
        }
        WriteHeader();
        return block;
    });
}

int32_t CDataFile::AppendBlock(int32_t last)
{
    CheckDataBlock(last);
    return Batched([&] {
        int32_t block = AllocateBlock();
        SetNextBlock(last, block);
        return block;
    });
}

void CDataFile::FreeChain(int32_t first)
{
    if (first == kNoneId)
        return;
    Batched([&] {
        NotePending(kPendingFree);
        Release(m_chainPositions);
        // Walk the whole chain first, so that a broken one changes nothing: a chain that loops, or
        // runs into a block where a live record or index starts, is not freed. A chain that runs
        // into the free chain's head (a crash cut it off there) is freed up to it.
        const CBlockUse& used = UsedBlocks();
        std::vector<int32_t> blocks;
        std::unordered_set<int32_t> seen;
        int32_t freeHead = FreeHead();
        for (int32_t block = first; block != kNoneId; block = TableBlock(block)[static_cast<size_t>(block % kEntriesPerBlock)]) {
            if (block == freeHead) {
                if (blocks.empty())
                    Corrupt();  // the free chain itself
                break;
            }
            CheckDataBlock(block);
            if (!seen.insert(block).second || used.Count(block) > 0)
                Corrupt();
            blocks.push_back(block);
        }
        for (int32_t block : blocks)
            ForgetCheckedBlock(block);
        // Zero-fill, a run of consecutive blocks at a time.
        static const uint8_t kZeros[kEntriesPerBlock * kBlockSize] = {};
        for (size_t i = 0; i < blocks.size();) {
            size_t run = 1;
            while (i + run < blocks.size() && blocks[i + run] == blocks[i] + static_cast<int32_t>(run))
                ++run;
            WriteData(blocks[i], static_cast<int32_t>(run), kZeros);
            i += run;
        }
        int32_t last = blocks.back();
        TableBlock(last)[static_cast<size_t>(last % kEntriesPerBlock)] = freeHead;
        WriteTableBlock(last);
        Put32(16, first);
        WriteHeader();
    });
}

// ---- Damaged files --------------------------------------------------------------------------------

// Blocks where a live record or an index block starts, each with the number of entries that name it
// (table entries, keyed records, index blocks and the key directory). Built on first need by one walk
// over the tables and kept in step by every change of an entry, so that the free chain of a damaged
// file cannot hand out, and freeing cannot give back, a block that a record still starts at. Numbers
// that are no data block of the file are not counted: the free chain never holds them.
const CDataFile::CBlockUse& CDataFile::UsedBlocks()
{
    if (m_usedKnown)
        return m_used;
    CBlockUse used;
    used.Size(GetWalkLimit());  // every data block the file holds lies below
    for (int table : {kKeywordTable, kArticleTable, kGroupTable}) {
        CheckTable(table);
        int32_t count = GetDescriptor(table, 0);
        for (int32_t i = 0; i < count; i += kEntriesPerBlock) {
            int32_t indexBlock = IndexBlock(table, i, false);
            CountUse(used, indexBlock);
            const Slots& slots = IndexSlots(indexBlock);
            for (int32_t s = 0; s < kEntriesPerBlock && i + s < count; ++s)
                if (slots[static_cast<size_t>(s)] != kNoneId)
                    CountUse(used, slots[static_cast<size_t>(s)]);
        }
    }
    // The key directory and the keyed records it names (its content: int32 6 x keys, then per key an
    // int16 key and an int32 first block).
    if (GetKeyDirectoryBlock() != kNoneId) {
        std::vector<uint8_t> directory;
        std::unordered_set<int32_t> seen;
        for (int32_t block = GetKeyDirectoryBlock(); block != kNoneId; block = GetNextBlock(block)) {
            CheckDataBlock(block);
            if (!seen.insert(block).second)
                Corrupt();
            directory.resize(directory.size() + kBlockSize);
            ReadRaw(block, &directory[directory.size() - kBlockSize]);
        }
        CountUse(used, GetKeyDirectoryBlock());
        int64_t bytes = LoadLeInt32(directory.data());
        for (int64_t at = 4; at + 6 <= 4 + bytes && at + 6 <= static_cast<int64_t>(directory.size()); at += 6) {
            int32_t first = LoadLeInt32(&directory[static_cast<size_t>(at) + 2]);
            if (first != kNoneId)
                CountUse(used, first);
        }
    }
    m_used.Swap(used);
    m_usedKnown = true;
    return m_used;
}

void CDataFile::NoteUse(int32_t block, int delta)
{
    if (block == kNoneId)
        return;
    // A record starting inside a checked chain, or a checked record gone: checked again when next
    // rewritten.
    ForgetCheckedBlock(block);
    if (!m_usedKnown)
        return;
    if (delta > 0)
        CountUse(m_used, block);
    else
        m_used.Remove(block);
}

void CDataFile::CountUse(CBlockUse& used, int32_t block) const
{
    if (IsDataBlock(block))
        used.Add(block);
}

int CDataFile::EntriesStartingAt(int32_t block)
{
    return Guard([&] { return UsedBlocks().Count(block); });
}

// A block the free chain offers must be one that freeing left behind: all zeros, and not where a
// live record or index starts. Anything else is a damaged free chain (code 5), found before the
// block is taken.
void CDataFile::CheckFreeBlock(int32_t block)
{
    if (UsedBlocks().Count(block) > 0)
        Corrupt();
    uint8_t bytes[kBlockSize];
    ReadRaw(block, bytes);
    for (uint8_t byte : bytes)
        if (byte != 0)
            Corrupt();
}

// ---- Tables ---------------------------------------------------------------------------------------

void CDataFile::ForgetChains()
{
    for (std::vector<int32_t>& chain : m_indexChains)
        chain.clear();
    for (std::unordered_set<int32_t>& blocks : m_indexChainBlocks)
        blocks.clear();
}

void CDataFile::ForgetCaches()
{
    m_batchDepth = 0;
    m_headerDirty = false;
    m_unflushed = false;
    m_windowCount = 0;
    m_nextSequentialRead = kNoneId;
    m_dirtyTableBlocks.clear();
    m_pending = kPendingNone;
    m_requiredLength = 0;
    m_indexBlocks.clear();
    m_used.Clear();
    m_usedKnown = false;
    ForgetChains();
    Release(m_chainPositions);
    ForgetCheckedChains();
    m_chainBlocksChecked = 0;
    m_chunks.clear();  // a scope's cache goes on with the file now open
    m_blockReads = 0;
    m_tableBlocks.clear();
    m_lastSlots = nullptr;
    std::fill(std::begin(m_freeSearchStart), std::end(m_freeSearchStart), 0);
}

void CDataFile::CheckTable(int table) const
{
    if (table < 0 || table >= kTableCount || table == kKeyDirectory)
        throw CQuorError(kNoSuchTableEntry);
    int32_t count = GetDescriptor(table, 0);
    int32_t free = GetDescriptor(table, 1);
    if (count < 0 || free < 0 || free > count)
        Corrupt();
}

void CDataFile::CheckEntry(int table, int32_t i) const
{
    CheckTable(table);
    if (i < 0 || i >= GetDescriptor(table, 0))
        throw CQuorError(kNoSuchTableEntry);
}

// The index block holding entry i; with extend, blocks are appended to the chain as needed.
int32_t CDataFile::IndexBlock(int table, int32_t i, bool extend)
{
    std::vector<int32_t>& chain = m_indexChains[table];
    size_t wanted = static_cast<size_t>(i / kEntriesPerBlock);
    if (chain.empty()) {
        int32_t first = GetDescriptor(table, 2);
        if (first == kNoneId) {
            if (!extend)
                Corrupt();
            if (DescriptorOffset(table) + 12 > m_headerSize)
                throw CQuorError(kNoSuchTableEntry);  // this header has no such table
            first = AllocateBlock();
            NoteUse(first, 1);
            WriteTakenBlocks();  // taken on disk before the header names it
            SetDescriptor(table, 2, first);
            WriteHeader();
        }
        CheckDataBlock(first);
        chain.push_back(first);
        m_indexChainBlocks[table] = {first};
    }
    while (chain.size() <= wanted) {
        if (chain.size() >= static_cast<size_t>(GetWalkLimit()))
            Corrupt();
        int32_t next = GetNextBlock(chain.back());
        if (next != kNoneId && m_indexChainBlocks[table].count(next))
            Corrupt();  // an index chain that loops would show one block's entries under many ids
        if (next == kNoneId) {
            // Entries are added one at a time, so a sound table needs at most its chain's next
            // block; a count far beyond the chain would otherwise grow the file without end.
            if (!extend || chain.size() != wanted)
                Corrupt();
            // The block taken was no index block of any table (a free block where something starts
            // is refused, see CheckFreeBlock): the chains found so far stay as they are, and a
            // table growing by one index block costs no walk over all the others.
            int32_t added = AppendBlock(chain.back());
            NoteUse(added, 1);
            chain.push_back(added);
            m_indexChainBlocks[table].insert(added);
            continue;
        }
        CheckDataBlock(next);
        chain.push_back(next);
        m_indexChainBlocks[table].insert(next);
    }
    return chain[wanted];
}

int32_t CDataFile::ReadSlot(int32_t indexBlock, int32_t slot)
{
    return IndexSlots(indexBlock)[static_cast<size_t>(slot)];
}

const CDataFile::Slots& CDataFile::IndexSlots(int32_t indexBlock)
{
    auto found = m_indexBlocks.find(indexBlock);
    if (found == m_indexBlocks.end()) {
        uint8_t bytes[kBlockSize];
        ReadRaw(indexBlock, bytes);
        Slots slots;
        for (int s = 0; s < kEntriesPerBlock; ++s)
            slots[static_cast<size_t>(s)] = LoadLeInt32(bytes + 4 * s);
        found = m_indexBlocks.emplace(indexBlock, slots).first;
    }
    return found->second;
}

void CDataFile::WriteSlot(int32_t indexBlock, int32_t slot, int32_t value)
{
    uint8_t bytes[4];
    StoreLe32(bytes, value);
    uint64_t offset = BlockOffset(indexBlock) + 4 * static_cast<uint64_t>(slot);
    m_unflushed = true;
    ForgetWindow(indexBlock, 1);
    Seek(static_cast<int64_t>(offset), begin);
    Write(bytes, 4);
    m_length = std::max(m_length, offset + 4);
    m_written = true;
    auto found = m_indexBlocks.find(indexBlock);
    if (found != m_indexBlocks.end())
        found->second[static_cast<size_t>(slot)] = value;
}

int32_t CDataFile::GetEntry(int table, int32_t i)
{
    CheckEntry(table, i);
    return Guard([&] { return ReadSlot(IndexBlock(table, i, false), i % kEntriesPerBlock); });
}

void CDataFile::GetEntries(int table, const std::vector<int32_t>& entries, std::vector<int32_t>& firstBlocks)
{
    firstBlocks.assign(entries.size(), kNoneId);
    Guard([&] {
        const Slots* slots = nullptr;
        int32_t held = -1;  // entry / kEntriesPerBlock of the index block whose slots are held
        for (size_t k = 0; k < entries.size(); ++k) {
            int32_t i = entries[k];
            CheckEntry(table, i);
            if (!slots || i / kEntriesPerBlock != held) {
                held = i / kEntriesPerBlock;
                slots = &IndexSlots(IndexBlock(table, i, false));
            }
            firstBlocks[k] = (*slots)[static_cast<size_t>(i % kEntriesPerBlock)];
        }
    });
}

// Appends entry number count holding value (a deleted entry when value is none).
void CDataFile::AppendEntry(int table, int32_t value)
{
    int32_t count = GetDescriptor(table, 0);
    if (count == INT32_MAX)
        Corrupt();
    int32_t indexBlock = IndexBlock(table, count, true);
    // An entry past the count is not read: written before the count (which follows it in the
    // header), it needs only its index block to be off the free chain on disk.
    WriteTakenBlocks();
    WriteSlot(indexBlock, count % kEntriesPerBlock, value);
    NoteUse(value, 1);
    SetDescriptor(table, 0, count + 1);
    if (value == kNoneId)
        SetDescriptor(table, 1, GetDescriptor(table, 1) + 1);
    WriteHeader();
}

// The lowest deleted entry from `from` on, or -1. Reads each index block once.
int32_t CDataFile::FindDeletedEntry(int table, int32_t from)
{
    int32_t count = GetDescriptor(table, 0);
    uint8_t bytes[kBlockSize];
    for (int32_t i = from; i < count; ++i) {
        if (i == from || i % kEntriesPerBlock == 0)
            ReadRaw(IndexBlock(table, i, false), bytes);
        if (LoadLeInt32(bytes + 4 * (i % kEntriesPerBlock)) == kNoneId)
            return i;
    }
    return -1;
}

int32_t CDataFile::AddEntry(int table, int32_t firstBlock)
{
    CheckTable(table);
    return Batched([&] {
        int32_t count = GetDescriptor(table, 0);
        if (GetDescriptor(table, 1) < 1) {
            AppendEntry(table, firstBlock);
            return count;
        }
        // Reuse the lowest deleted entry (the entries below the search start are all live).
        int32_t i = FindDeletedEntry(table, m_freeSearchStart[table]);
        if (i < 0 && m_freeSearchStart[table] > 0)
            i = FindDeletedEntry(table, 0);
        if (i < 0)
            Corrupt();  // the free count promised a deleted entry
        int32_t indexBlock = IndexBlock(table, i, false);
        // The free count drops on disk before the entry comes back to life: a crash in between
        // leaves a deleted entry that is not counted (never found again), not a count that promises
        // a deleted entry no longer there (every later add failing).
        SetDescriptor(table, 1, GetDescriptor(table, 1) - 1);
        WriteHeader();
        WritePending();
        WriteSlot(indexBlock, i % kEntriesPerBlock, firstBlock);
        NoteUse(firstBlock, 1);
        m_freeSearchStart[table] = i + 1;
        return i;
    });
}

void CDataFile::PutEntry(int table, int32_t i, int32_t firstBlock)
{
    CheckTable(table);
    if (i < 0)
        throw CQuorError(kNoSuchTableEntry);
    Batched([&] {
        int32_t count = GetDescriptor(table, 0);
        if (i >= count) {
            while (GetDescriptor(table, 0) < i)
                AppendEntry(table, kNoneId);
            AppendEntry(table, firstBlock);
            m_freeSearchStart[table] = std::min(m_freeSearchStart[table], count);
            return;
        }
        int32_t indexBlock = IndexBlock(table, i, false);
        int32_t old = ReadSlot(indexBlock, i % kEntriesPerBlock);
        if (old == firstBlock)
            return;  // the same record: freeing it would destroy the live chain
        if (old == kNoneId) {
            SetDescriptor(table, 1, GetDescriptor(table, 1) - 1);  // before the entry, as in AddEntry
            WriteHeader();
        }
        WritePending();
        WriteSlot(indexBlock, i % kEntriesPerBlock, firstBlock);
        NoteUse(firstBlock, 1);
        NoteUse(old, -1);
        if (old != kNoneId && firstBlock == kNoneId)
            SetDescriptor(table, 1, GetDescriptor(table, 1) + 1);
        if (firstBlock == kNoneId)
            m_freeSearchStart[table] = std::min(m_freeSearchStart[table], i);
        WriteHeader();
        if (old != kNoneId)
            FreeChain(old);
    });
}

void CDataFile::DeleteEntry(int table, int32_t i)
{
    CheckEntry(table, i);
    Batched([&] {
        int32_t indexBlock = IndexBlock(table, i, false);
        int32_t old = ReadSlot(indexBlock, i % kEntriesPerBlock);
        if (old == kNoneId)
            return;
        // The entry is gone before its chain is freed, so that a broken chain loses blocks
        // rather than leaving an entry that points into the free chain.
        WriteSlot(indexBlock, i % kEntriesPerBlock, kNoneId);
        NoteUse(old, -1);
        SetDescriptor(table, 1, GetDescriptor(table, 1) + 1);
        m_freeSearchStart[table] = std::min(m_freeSearchStart[table], i);
        WriteHeader();
        FreeChain(old);
    });
}

int32_t CDataFile::CollectArticleIds(CArticleIdSet& set)
{
    static const int32_t kSteps[] = {50, 100, 200, 500, 1000, 1000};
    static const int32_t kThresholds[] = {50, 100, 125, 200, 250};
    CheckTable(kArticleTable);
    set.Values().clear();
    int step = 0;
    int32_t count = GetDescriptor(kArticleTable, 0);
    Guard([&] {
        const Slots* slots = nullptr;
        for (int32_t i = 0; i < count; ++i) {
            // Kept: the article index reads the entries again, and the count of record starts below.
            if (i % kEntriesPerBlock == 0)
                slots = &IndexSlots(IndexBlock(kArticleTable, i, false));
            if ((*slots)[static_cast<size_t>(i % kEntriesPerBlock)] == kNoneId)
                continue;
            set.Values().push_back(i);
            if (step < 5 && kThresholds[step] < i)
                ++step;
        }
    });
    // The first change of a file that can change needs to know where every record starts (see
    // UsedBlocks): found now, with the tables just read, so that the first article added to a large
    // file does not pay a walk over all of them. A damaged table is met again, and reported, by
    // the change that needs it.
    if (m_openMode == kReadWrite) {
        try {
            Guard([&] { UsedBlocks(); });
        } catch (const CQuorError&) {
        }
    }
    return kSteps[step];
}

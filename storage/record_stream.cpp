// The field encodings and the packed form are described in record_stream.h.
#include "storage/record_stream.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
#include <zlib.h>

#include "framework/random_source.h"
#include "storage/byte_order.h"
#include "storage/data_file.h"
#include "storage/md5.h"
#include "storage/quor_error.h"
#include "storage/record_key_guard.h"

namespace {

constexpr int32_t kBlockSize = CDataFile::kBlockSize;
// Blocks read at once when a chain runs through consecutive blocks: a typical record in one read.
constexpr int32_t kReadAheadBlocks = 16;
// The most a zlib stream inflates to per input byte (deflate's best case), with room for headers.
constexpr int64_t kMaxInflateRatio = 1032;
// The longest packed field written or read: a stored length beyond it is a broken field (or a bomb
// that would take gigabytes and minutes to inflate), not an article.
constexpr int32_t kMaxPackedLength = 64 * 1024 * 1024;
// Bytes read into a growing buffer at a time, so that a length read from the file allocates only
// as much as the chain really holds.
constexpr int32_t kReadChunk = 64 * 1024;

// The block buffers of a record stream, one spare of each size for the process: a stream takes it
// when it opens and gives it back when it closes, so that reading or rewriting many records one after
// another allocates nothing per record. Not per thread: the Windows runtime frees thread-local objects
// of a worker thread after its heap bookkeeping is gone, which corrupts the heap when the thread ends.
std::mutex g_spareLock;
std::unique_ptr<uint8_t[]> g_spareReadBuffer;    // kReadAheadBlocks blocks
std::unique_ptr<uint8_t[]> g_spareStoredBuffer;  // kEntriesPerBlock blocks

std::unique_ptr<uint8_t[]> TakeBuffer(std::unique_ptr<uint8_t[]>& spare, size_t blocks)
{
    {
        std::lock_guard<std::mutex> hold(g_spareLock);
        if (spare)
            return std::move(spare);
    }
    return std::unique_ptr<uint8_t[]>(new uint8_t[blocks * static_cast<size_t>(kBlockSize)]);
}

void GiveBack(std::unique_ptr<uint8_t[]>& buffer, std::unique_ptr<uint8_t[]>& spare)
{
    if (buffer) {
        std::lock_guard<std::mutex> hold(g_spareLock);
        if (!spare) {
            spare = std::move(buffer);
            return;
        }
    }
    buffer.reset();
}

uint32_t CheckOf(int32_t length)
{
    uint8_t bytes[4];
    StoreLe32(bytes, static_cast<uint32_t>(length));
    return static_cast<uint32_t>(crc32(0L, bytes, 4));
}

// XORs the two lengths with the digest of the salt and the record key (its own inverse).
void MaskLengths(uint32_t salt, const uint8_t* recordKey, int32_t& uncompressed, int32_t& compressed)
{
    uint8_t saltBytes[4];
    StoreLe32(saltBytes, salt);
    CMD5 md5;
    md5.Init();
    md5.Update(saltBytes, 4);
    md5.Update(recordKey, 16);
    md5.Final();
    const uint8_t* digest = md5.GetDigest();
    compressed = static_cast<int32_t>(static_cast<uint32_t>(compressed) ^ LoadLe32(digest));
    uncompressed = static_cast<int32_t>(static_cast<uint32_t>(uncompressed) ^ LoadLe32(digest + 7));
}

// The characters up to the first NUL, or all of them when a stored string lacks its NUL.
std::string TextUpToNul(const std::vector<uint8_t>& bytes)
{
    std::string text(bytes.begin(), bytes.end());
    size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.resize(nul);
    return text;
}

// Inflates a zlib stream that must give exactly `length` bytes, as zlib's uncompress into a buffer of
// that length would. The output grows as the stream produces it, so that a length read from a
// broken file costs no more memory than the stream really holds.
bool Inflate(const std::vector<uint8_t>& packed, int32_t length, std::vector<uint8_t>& out)
{
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        throw CQuorError(kOutOfMemory);
    stream.next_in = const_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    size_t target = static_cast<size_t>(length);
    size_t produced = 0;
    uint8_t spare;
    int result = Z_OK;
    try {
        while (result == Z_OK) {
            if (produced < target) {
                size_t grow = std::min(target - produced, std::max<size_t>(kReadChunk, produced));
                out.resize(produced + grow);
                stream.next_out = out.data() + produced;
                stream.avail_out = static_cast<uInt>(grow);
            } else {
                stream.next_out = &spare;  // any further output: the stream is longer than stored
                stream.avail_out = 1;
            }
            uInt room = stream.avail_out;
            result = inflate(&stream, Z_NO_FLUSH);  // Z_BUF_ERROR: no progress, the input ran out
            size_t made = room - stream.avail_out;
            if (produced >= target && made > 0)
                result = Z_DATA_ERROR;
            produced += made;
        }
    } catch (const std::bad_alloc&) {
        inflateEnd(&stream);
        throw CQuorError(kOutOfMemory);
    }
    inflateEnd(&stream);
    if (result == Z_MEM_ERROR)
        throw CQuorError(kOutOfMemory);
    return result == Z_STREAM_END && produced == target;
}

}  // namespace

CRecordStream::~CRecordStream()
{
    if (m_mode == kClosed)
        return;
    if ((m_mode == kRewrite || m_mode == kNew) && std::uncaught_exceptions() > m_uncaughtAtOpen) {
        Abandon();
        return;
    }
    try {
        Close();
    } catch (...) {
    }
}

std::string CRecordStream::GetFilePath() const
{
    return m_file ? m_file->GetFilePath() : std::string();
}

std::string CRecordStream::FileName() const
{
    std::string path = GetFilePath();
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void CRecordStream::Corrupt() const
{
    throw CQuorError(kCorruptedRecord, GetFilePath());
}

void CRecordStream::Open(CDataFile* file, int32_t firstBlock, int mode)
{
    Abandon();
    m_file = file;
    if (firstBlock == kNoneId)
        Corrupt();
    Start(firstBlock, mode);
}

void CRecordStream::OpenNewRecord(CDataFile* file)
{
    Abandon();
    m_file = file;
    Start(kNoneId, kNew);
}

void CRecordStream::Start(int32_t firstBlock, int mode)
{
    try {
        if (!m_block)
            m_block = TakeBuffer(g_spareReadBuffer, kReadAheadBlocks);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    m_firstBlock = firstBlock;
    m_current = firstBlock;
    m_currentIndex = 0;
    m_bufferStart = 0;
    m_bufferEnd = 0;
    m_blocksLoaded = 0;
    m_loopMark = firstBlock;
    m_loopPower = 1;
    m_loopSteps = 0;
    m_readAhead = kReadAheadBlocks;
    m_mode = mode;
    m_uncaughtAtOpen = std::uncaught_exceptions();
}

void CRecordStream::Abandon()
{
    m_writeBuffer.Free();
    GiveBack(m_block, g_spareReadBuffer);
    GiveBack(m_stored, g_spareStoredBuffer);
    m_mode = kClosed;
}

template <typename F>
void CRecordStream::Building(F&& operation)
{
    try {
        operation();
    } catch (const std::bad_alloc&) {
        Abandon();
        throw CQuorError(kOutOfMemory);
    } catch (...) {
        Abandon();
        throw;
    }
}

void CRecordStream::Close()
{
    if (m_mode == kRewrite || m_mode == kNew) {
        CDataFile::CBatch batch(m_file);
        Building([&] { FlushWrite(); });
        batch.End();
    }
    Abandon();
}

// ---- Reading --------------------------------------------------------------------------------------

// Takes the run of consecutive blocks that starts at the current block (at most maxBlocks) off the
// chain, following it through the allocation table; returns the run's first block and length.
int32_t CRecordStream::TakeRun(int32_t maxBlocks, int32_t& run)
{
    if (m_current == kNoneId)
        Corrupt();
    int32_t first = m_current;
    int32_t block = first;
    run = 0;
    do {
        if (++m_blocksLoaded > m_file->GetWalkLimit())
            Corrupt();
        block = m_file->GetNextBlock(block);
        NoteStep(block);
        ++run;
    } while (run < maxBlocks && block == first + run && block % CDataFile::kEntriesPerBlock != 0);
    m_current = block;
    m_currentIndex += run;
    return first;
}

// A read that steps onto a block it passed before has met a loop in the chain (Brent's method: the
// mark moves up to the current block whenever the steps since it reach a doubling power), found
// within about twice the loop's length instead of at the walk's bound.
void CRecordStream::NoteStep(int32_t block)
{
    if (block == m_loopMark)
        Corrupt();
    if (++m_loopSteps == m_loopPower) {
        m_loopMark = block;
        m_loopPower *= 2;
        m_loopSteps = 0;
    }
}

// Loads the next run of at most maxBlocks blocks into the block buffer.
void CRecordStream::LoadRun(int32_t maxBlocks)
{
    int32_t run;
    int32_t first = TakeRun(maxBlocks, run);
    m_file->ReadBlocks(first, run, m_block.get());
    m_bufferStart = 0;
    m_bufferEnd = run * kBlockSize;
}

int CRecordStream::ReadRaw(void* buffer, int32_t n, int32_t* read)
{
    // Most fields lie whole in the blocks loaded already: taken without the loop below.
    if (m_mode == kRead && n >= 0 && n <= m_bufferEnd - m_bufferStart) {
        std::memcpy(buffer, m_block.get() + m_bufferStart, static_cast<size_t>(n));
        m_bufferStart += n;
        if (read)
            *read = n;
        return 0;
    }
    uint8_t* out = static_cast<uint8_t*>(buffer);
    int32_t done = 0;
    int code = 0;
    try {
        if (n < 0 || m_mode != kRead)
            Corrupt();
        while (done < n) {
            if (m_bufferStart < m_bufferEnd) {
                int32_t take = std::min(m_bufferEnd - m_bufferStart, n - done);
                std::memcpy(out + done, m_block.get() + m_bufferStart, static_cast<size_t>(take));
                m_bufferStart += take;
                done += take;
            } else if (n - done >= kReadAheadBlocks * kBlockSize) {
                // Large reads go straight into the caller's buffer, a run of blocks at a time.
                int32_t run;
                int32_t first = TakeRun((n - done) / kBlockSize, run);
                m_file->ReadBlocks(first, run, out + done);
                done += run * kBlockSize;
            } else {
                LoadRun(m_readAhead);
            }
        }
    } catch (const CQuorError& e) {
        code = e.Code();
    }
    if (read)
        *read = done;
    return code;
}

// The error ReadRaw met, with the data file's path (no text for memory exhaustion).
void CRecordStream::ThrowReadError(int code) const
{
    if (code == 1)
        throw CQuorError(kOutOfMemory);
    throw CQuorError(code, GetFilePath());
}

int32_t CRecordStream::ReadInt()
{
    if (m_mode == kRead && m_bufferEnd - m_bufferStart >= 4) {
        int32_t value = static_cast<int32_t>(LoadLe32(m_block.get() + m_bufferStart));
        m_bufferStart += 4;
        return value;
    }
    uint8_t bytes[4];
    int code = ReadRaw(bytes, 4);
    if (code != 0)
        ThrowReadError(code);
    return static_cast<int32_t>(LoadLe32(bytes));
}

int16_t CRecordStream::ReadShort()
{
    if (m_mode == kRead && m_bufferEnd - m_bufferStart >= 2) {
        const uint8_t* bytes = m_block.get() + m_bufferStart;
        m_bufferStart += 2;
        return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
    }
    uint8_t bytes[2];
    int code = ReadRaw(bytes, 2);
    if (code != 0)
        ThrowReadError(code);
    return static_cast<int16_t>(bytes[0] | bytes[1] << 8);
}

// A length read from the file: negative, or more than the whole file holds, is corruption.
int32_t CRecordStream::CheckedLength(int32_t n) const
{
    if (n < 0 || static_cast<int64_t>(n) > static_cast<int64_t>(m_file->GetWalkLimit()) * kBlockSize)
        Corrupt();
    return n;
}

// n bytes from the stream; the buffer grows only as bytes arrive. A short chain throws its code.
std::vector<uint8_t> CRecordStream::ReadBytes(int32_t n)
{
    CheckedLength(n);
    std::vector<uint8_t> bytes;
    try {
        for (int32_t done = 0; done < n;) {
            int32_t chunk = std::min(kReadChunk, n - done);
            bytes.resize(static_cast<size_t>(done + chunk));
            int code = ReadRaw(bytes.data() + done, chunk);
            if (code != 0)
                ThrowReadError(code);
            done += chunk;
        }
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    return bytes;
}

std::string CRecordStream::ReadString()
{
    int32_t n = ReadInt();
    return TextUpToNul(ReadBytes(n));
}

void CRecordStream::ReadIdSet(CIdSet& set)
{
    int32_t byteCount = ReadInt();
    set.Values().clear();
    if (byteCount < 4)
        return;
    std::vector<uint8_t> bytes = ReadBytes(byteCount / 4 * 4);
    try {
        set.Values().reserve(bytes.size() / 4);
        for (size_t i = 0; i < bytes.size(); i += 4)
            set.Values().push_back(static_cast<int32_t>(LoadLe32(&bytes[i])));
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    set.Sort();  // the file is not trusted to hold a sorted set without duplicates or the none id
}

int32_t CRecordStream::ReadSizedInt()
{
    return ReadInt() == 4 ? ReadInt() : 0;
}

int16_t CRecordStream::ReadSizedShort()
{
    return ReadInt() == 2 ? ReadShort() : 0;
}

void CRecordStream::SkipField()
{
    Skip(ReadInt());
}

void CRecordStream::Skip(int32_t n)
{
    if (n < 0 || m_mode != kRead)
        Corrupt();
    int32_t buffered = std::min(m_bufferEnd - m_bufferStart, n);
    m_bufferStart += buffered;
    n -= buffered;
    if (n >= kBlockSize) {
        // Whole blocks are passed without reading them, through the file's remembered positions
        // in this chain: skipping to the end of a long record again walks nothing again.
        int32_t blocks = n / kBlockSize;
        m_blocksLoaded += blocks;
        if (m_current == kNoneId || m_blocksLoaded > m_file->GetWalkLimit())
            Corrupt();
        int32_t last = m_currentIndex + blocks - 1;  // the last block passed
        int32_t reached;
        int32_t block = m_file->WalkChain(m_firstBlock, last, &reached);
        if (reached != last)
            Corrupt();
        m_current = m_file->GetNextBlock(block);
        NoteStep(m_current);
        m_currentIndex = last + 1;
        n -= blocks * kBlockSize;
    }
    if (n > 0) {
        LoadRun(m_readAhead);
        m_bufferStart = n;
    }
}

std::vector<uint8_t> CRecordStream::ReadByteBlock()
{
    return ReadBytes(ReadInt());
}

std::vector<uint8_t> CRecordStream::ReadPacked()
{
    return ReadPackedAfter(ReadShort());
}

std::vector<uint8_t> CRecordStream::ReadPackedAfter(int16_t mode)
{
    auto invalid = [this] { return CQuorError(kCorruptedRecord, FileName()); };
    int32_t first = ReadInt();
    auto readAll = [&](int32_t n) {
        if (n < 0 || static_cast<int64_t>(n) > static_cast<int64_t>(m_file->GetWalkLimit()) * kBlockSize)
            throw invalid();
        try {
            return ReadBytes(n);
        } catch (const CQuorError& e) {
            if (e.Code() != kCorruptedRecord)
                throw;  // a failing disk or a truncated file keeps its own code
            throw invalid();
        }
    };
    if ((mode & kPackCompressed) == 0)
        return readAll(first);

    int32_t uncompressed = first;
    int32_t compressed = ReadInt();
    if (mode & kPackMasked) {
        uint32_t salt = static_cast<uint32_t>(ReadInt());
        uint32_t checkA = static_cast<uint32_t>(ReadInt());
        MaskLengths(salt, m_file->GetRecordKey(), uncompressed, compressed);
        if (CheckOf(compressed) != checkA)
            throw invalid();  // a wrong record key shows here, before any content is read
    }
    if (uncompressed < 0 || uncompressed > kMaxPackedLength ||
        static_cast<int64_t>(uncompressed) > static_cast<int64_t>(compressed) * kMaxInflateRatio + 64)
        throw invalid();
    std::vector<uint8_t> packed = readAll(compressed);
    std::vector<uint8_t> content;
    // A failed or short inflate is corruption in every mode, not a silently shorter field.
    if (!Inflate(packed, uncompressed, content))
        throw invalid();
    if (mode & kPackMasked) {
        if (CheckOf(uncompressed) != static_cast<uint32_t>(ReadInt()))
            throw invalid();
    }
    return content;
}

std::string CRecordStream::ReadPackedString()
{
    int16_t mode = ReadShort();
    // Raw characters that lie whole in the blocks loaded (a title): taken from there at once.
    if ((mode & kPackCompressed) == 0 && m_mode == kRead && m_bufferEnd - m_bufferStart >= 4) {
        const uint8_t* at = m_block.get() + m_bufferStart;
        int32_t n = static_cast<int32_t>(LoadLe32(at));
        if (n >= 0 && n <= m_bufferEnd - m_bufferStart - 4) {
            const char* text = reinterpret_cast<const char*>(at + 4);
            const void* nul = std::memchr(text, 0, static_cast<size_t>(n));
            m_bufferStart += 4 + n;
            return std::string(text, nul ? static_cast<size_t>(static_cast<const char*>(nul) - text) : static_cast<size_t>(n));
        }
    }
    return TextUpToNul(ReadPackedAfter(mode));
}

void CRecordStream::SetReadAhead(int32_t blocks)
{
    m_readAhead = std::max<int32_t>(1, std::min(blocks, kReadAheadBlocks));
}

void CRecordStream::SkipPacked()
{
    int16_t mode = ReadShort();
    if (mode & kPackCompressed) {
        ReadPackedAfter(mode);  // read and inflated, so that a broken field still shows
        return;
    }
    int32_t n = ReadInt();
    if (n < 0 || static_cast<int64_t>(n) > static_cast<int64_t>(m_file->GetWalkLimit()) * kBlockSize)
        throw CQuorError(kCorruptedRecord, FileName());
    try {
        Skip(n);
    } catch (const CQuorError& e) {
        if (e.Code() != kCorruptedRecord)
            throw;  // as ReadPacked: a failing disk or a truncated file keeps its own code
        throw CQuorError(kCorruptedRecord, FileName());
    }
}

// ---- Writing --------------------------------------------------------------------------------------

void CRecordStream::WriteInt(int32_t value)
{
    Building([&] { m_writeBuffer.AppendInt(value); });
}

void CRecordStream::WriteShort(int16_t value)
{
    Building([&] { m_writeBuffer.AppendShort(value); });
}

void CRecordStream::WriteString(const std::string& text)
{
    Building([&] {
        m_writeBuffer.AppendInt(static_cast<int32_t>(text.size()) + 1);
        m_writeBuffer.AppendString(text);
    });
}

void CRecordStream::EncodeIdSet(const CIdSet& set, CByteBuffer& out)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(set.GetSize()) * 4);
    for (int i = 0; i < set.GetSize(); ++i)
        StoreLe32(&bytes[static_cast<size_t>(i) * 4], static_cast<uint32_t>(set.GetAt(i)));
    out.AppendInt(static_cast<int32_t>(bytes.size()));
    out.Append(bytes.data(), static_cast<int32_t>(bytes.size()));
}

void CRecordStream::WriteIdSet(const CIdSet& set)
{
    Building([&] { EncodeIdSet(set, m_writeBuffer); });
}

void CRecordStream::WriteSizedInt(int32_t value)
{
    Building([&] {
        m_writeBuffer.AppendInt(4);
        m_writeBuffer.AppendInt(value);
    });
}

void CRecordStream::WriteSizedShort(int16_t value)
{
    Building([&] {
        m_writeBuffer.AppendInt(2);
        m_writeBuffer.AppendShort(value);
    });
}

void CRecordStream::WriteByteBlock(const void* bytes, int32_t n)
{
    Building([&] {
        m_writeBuffer.AppendInt(n);
        m_writeBuffer.Append(bytes, n);
    });
}

void CRecordStream::WritePacked(const void* bytes, int32_t n, int mode)
{
    Building([&] {
        if (n > kMaxPackedLength)
            throw CQuorError(kTextTooLong);  // "The text is too long.": it could never be read back
        if (m_file->IsProtectAll())
            mode |= kPackCompressed | kPackMasked;
        // Masked under any key but the file's own (the zero key of a locked file) the field could
        // never be read again; the whole record is refused before it reaches the file.
        if ((mode & kPackMasked) && !HasRecordKey(*m_file))
            throw CQuorError(kWrongPassword, m_file->GetFilePath());
        m_writeBuffer.AppendShort(static_cast<int16_t>(mode));
        if ((mode & kPackCompressed) == 0) {
            m_writeBuffer.AppendInt(n);
            m_writeBuffer.Append(bytes, n);
            return;
        }
        uLongf bound = compressBound(static_cast<uLong>(n));
        std::vector<uint8_t> packed(bound, 0);
        int result = compress(packed.data(), &bound, static_cast<const Bytef*>(bytes), static_cast<uLong>(n));
        if (result != Z_OK)
            throw CQuorError(kOutOfMemory);  // compress fails only for want of memory with a bound-sized buffer
        int32_t compressed = static_cast<int32_t>(bound);
        int32_t uncompressed = n;
        uint32_t salt = 0;
        if (mode & kPackMasked) {
            IRandomSource& random = GetRandomSource();
            for (int i = 0; i < 4; ++i)
                salt |= static_cast<uint32_t>((random.Next() % 65280) / 256) << (8 * i);
            MaskLengths(salt, m_file->GetRecordKey(), uncompressed, compressed);
        }
        m_writeBuffer.AppendInt(uncompressed);
        m_writeBuffer.AppendInt(compressed);
        if (mode & kPackMasked) {
            m_writeBuffer.AppendInt(static_cast<int32_t>(salt));
            m_writeBuffer.AppendInt(static_cast<int32_t>(CheckOf(static_cast<int32_t>(bound))));
        }
        m_writeBuffer.Append(packed.data(), static_cast<int32_t>(bound));
        if (mode & kPackMasked)
            m_writeBuffer.AppendInt(static_cast<int32_t>(CheckOf(n)));
    });
}

void CRecordStream::WritePackedString(const std::string& text, int mode)
{
    WritePacked(text.c_str(), static_cast<int32_t>(text.size()) + 1, mode);
}

// ---- The chain ------------------------------------------------------------------------------------

void CRecordStream::Reserve(int32_t n)
{
    if (m_mode != kRewrite && m_mode != kNew)
        return;
    CDataFile::CBatch batch(m_file);
    bool allocated = m_firstBlock == kNoneId;
    if (allocated)
        m_firstBlock = m_file->AllocateBlock();  // a new record takes its first block now
    int32_t needed = std::max<int32_t>(1, static_cast<int32_t>((static_cast<int64_t>(n) + kBlockSize - 1) / kBlockSize));
    // The chain about to be written over must be this record's alone (a damaged file; writing would
    // destroy another record or the record itself): checked by the data file, which remembers what
    // it checked, so that a record growing at its end costs only its new blocks.
    int32_t reached = 0;
    int32_t block = m_firstBlock;
    if (m_mode == kRewrite) {
        block = m_file->CheckOwnChain(m_firstBlock, needed - 1, &reached);
    } else {
        // A new record's own blocks, taken by an earlier Reserve: not remembered for later walks.
        int32_t limit = m_file->GetWalkLimit();
        for (int32_t next; reached < needed - 1 && (next = m_file->GetNextBlock(block)) != kNoneId; block = next)
            if (++reached >= limit)
                Corrupt();
    }
    int32_t count = reached + 1;
    int32_t lastExisting = block;
    allocated = allocated || count < needed || m_mode == kNew;
    try {
        for (; count < needed; ++count)
            block = m_file->AppendBlock(block);
    } catch (...) {
        // A new record gives up its whole chain; a rewritten one goes back to the chain it had.
        try {
            if (m_mode == kNew) {
                m_file->FreeChain(m_firstBlock);
            } else {
                int32_t appended = m_file->GetNextBlock(lastExisting);
                if (appended != kNoneId) {
                    m_file->SetNextBlock(lastExisting, kNoneId);
                    m_file->FreeChain(appended);
                }
            }
        } catch (...) {
        }
        throw;
    }
    // Blocks taken from the free chain are off it on disk before content goes into them (see
    // CDataFile::WriteTakenBlocks).
    if (allocated)
        m_file->WriteTakenBlocks();
    batch.End();
}

void CRecordStream::RewriteInPlace(const Piece* pieces, int count, int32_t length)
{
    if (m_mode != kRewrite || length < 0 || m_file->GetVersion() < 300)
        Corrupt();  // older files end every record with a block of zeros: rewrite those whole
    for (int i = 0; i < count; ++i)
        if (pieces[i].offset < 0 || pieces[i].n < 0)
            Corrupt();
    Building([&] {
        CDataFile::CBatch batch(m_file);
        Reserve(length);
        int32_t lastIndex = std::max<int32_t>(1, (length + kBlockSize - 1) / kBlockSize) - 1;
        std::vector<int32_t> touched;
        for (int i = 0; i < count; ++i) {
            int32_t end = std::min(pieces[i].offset + pieces[i].n, length);
            for (int32_t b = pieces[i].offset / kBlockSize; b * kBlockSize < end; ++b)
                touched.push_back(b);
        }
        touched.push_back(lastIndex);
        std::sort(touched.begin(), touched.end());
        touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
        std::vector<uint8_t> bytes(kBlockSize);
        int32_t block = m_firstBlock;
        for (int32_t wanted : touched) {
            int32_t reached;
            block = m_file->WalkChain(m_firstBlock, wanted, &reached);
            if (reached != wanted)
                Corrupt();  // Reserve made the chain this long
            int32_t start = wanted * kBlockSize;
            m_file->ReadBlocks(block, 1, bytes.data());
            for (int i = 0; i < count; ++i) {
                int32_t from = std::max(pieces[i].offset, start);
                int32_t to = std::min({pieces[i].offset + pieces[i].n, start + kBlockSize, length});
                if (from < to)
                    std::memcpy(&bytes[static_cast<size_t>(from - start)], pieces[i].bytes + (from - pieces[i].offset),
                                static_cast<size_t>(to - from));
            }
            if (wanted == lastIndex)
                std::fill(bytes.begin() + std::max(0, length - start), bytes.end(), uint8_t(0));
            m_file->WriteBlocks(block, 1, bytes.data());
        }
        Truncate(block);
        batch.End();
    });
    Abandon();
}

void CRecordStream::FlushWrite()
{
    int32_t length = m_writeBuffer.GetLength();
    // Older files end a record with a block of zeros: it is reserved with the content, so that every
    // block the content goes into is taken before any is written.
    if (m_file->GetVersion() < 300 && length > 0)
        Reserve((length + kBlockSize - 1) / kBlockSize * kBlockSize + kBlockSize);
    else
        Reserve(length);
    WriteContent(m_writeBuffer.GetData(), length);
}

// The block after `block` in the chain, allocated and linked when the chain ends there.
int32_t CRecordStream::NextOrAppend(int32_t block)
{
    int32_t next = m_file->GetNextBlock(block);
    return next != kNoneId ? next : m_file->AppendBlock(block);
}

void CRecordStream::WriteContent(const uint8_t* content, int32_t length)
{
    std::vector<uint8_t> zeros(kBlockSize, 0);
    int32_t block = m_firstBlock;
    int32_t last = m_firstBlock;
    if (length == 0) {
        // Nothing of the old record may stay readable as the new, empty one.
        WriteRun(block, 1, zeros.data());
    } else {
        int32_t whole = length / kBlockSize;
        int32_t done = 0;
        // Whole blocks, a run of consecutive blocks at a time.
        while (done < whole) {
            int32_t first = block;
            int32_t run = 1;
            while (done + run < whole) {
                int32_t next = NextOrAppend(first + run - 1);
                if (next != first + run)
                    break;
                ++run;
            }
            WriteRun(first, run, content + static_cast<size_t>(done) * kBlockSize);
            done += run;
            last = first + run - 1;
            if (done < whole || length % kBlockSize != 0)
                block = NextOrAppend(last);
        }
        if (length % kBlockSize != 0) {
            std::memcpy(zeros.data(), content + static_cast<size_t>(whole) * kBlockSize,
                        static_cast<size_t>(length % kBlockSize));
            WriteRun(block, 1, zeros.data());
            std::fill(zeros.begin(), zeros.end(), 0);
            last = block;
        }
        // Older files end every record with a block of zeros.
        if (m_file->GetVersion() < 300) {
            last = NextOrAppend(last);
            WriteRun(last, 1, zeros.data());
        }
    }
    Truncate(last);
}

// Writes a run of consecutive blocks of the chain. A rewritten record writes only the blocks whose
// bytes differ from what the file holds: a record that grows at its end (a keyword's article list)
// then costs the blocks that changed, not the whole record, and the file ends up byte for byte
// what writing every block would have made it.
void CRecordStream::WriteRun(int32_t first, int32_t count, const uint8_t* content)
{
    if (m_mode != kRewrite) {
        m_file->WriteBlocks(first, count, content);
        return;
    }
    if (!m_stored)
        m_stored = TakeBuffer(g_spareStoredBuffer, CDataFile::kEntriesPerBlock);
    try {
        m_file->ReadBlocks(first, count, m_stored.get());
    } catch (const CQuorError& e) {
        if (e.Code() != kCorruptedRecord && e.Code() != kTruncatedFile)
            throw;
        m_file->WriteBlocks(first, count, content);  // blocks past a short file's end: write them all
        return;
    }
    auto same = [&](int32_t i) {
        size_t at = static_cast<size_t>(i) * kBlockSize;
        return std::memcmp(m_stored.get() + at, content + at, kBlockSize) == 0;
    };
    for (int32_t i = 0; i < count;) {
        if (same(i)) {
            ++i;
            continue;
        }
        int32_t run = 1;
        while (i + run < count && !same(i + run))
            ++run;
        m_file->WriteBlocks(first + i, run, content + static_cast<size_t>(i) * kBlockSize);
        i += run;
    }
    m_file->SetWritten();
}

// The last block written ends the chain; the blocks behind it are freed.
void CRecordStream::Truncate(int32_t lastWritten)
{
    int32_t rest = m_file->GetNextBlock(lastWritten);
    if (rest == kNoneId)
        return;
    m_file->SetNextBlock(lastWritten, kNoneId);
    m_file->FreeChain(rest);
}

// One record of the data file, read or written as a stream of typed fields over a chain of blocks.
// The blocks carry no link words or lengths of their own: the chain lives in the allocation table
// (see data_file.h) and a record ends where its reader stops reading. The last block is padded with
// zeros.
//
// Field encodings (all integers little-endian):
//   field        bytes
//   int32        4
//   int16        2
//   string       int32 n = length + 1, then the n bytes of the characters and a NUL
//   id set       int32 byte count = 4 x ids, then the ids as int32 in ascending order
//   sized int32  int32 4, then the int32 value
//   sized int16  int32 2, then the int16 value
//   byte block   int32 n, then n bytes
//   packed       int16 mode, then by the mode's bits (bit 0 compressed, bit 1 masked):
//     bit 0 clear (0, 2)  int32 n, then n raw bytes
//     1                   int32 uncompressed length, int32 compressed length, compressed bytes
//     3                   int32 uncompressed length (masked), int32 compressed length (masked),
//                         int32 salt (4 random bytes 0..127), int32 check A, compressed bytes,
//                         int32 check B
// Compressed bytes are a zlib stream (compress, default level). Check A is zlib's crc32 (initial 0)
// of the 4 bytes of the unmasked compressed length, check B of the unmasked uncompressed length.
// Masking: digest = MD5(4 salt bytes, then the file's 16-byte record key); the compressed length's
// 4 bytes are XORed with digest bytes 0 to 3, the uncompressed length's with digest bytes 7 to 10.
// A packed string stores its characters and its NUL.
//
// Every length read is untrusted: a negative one, or one larger than the file can hold, is code 5,
// and buffers grow only as bytes actually arrive from the chain.
//
// Lifecycle:
//   closed --Open(mode 1)--> reading --Close--> closed
//   closed --Open(mode 2 rewrite, 3 new)--> writing (fields build up in memory; only Reserve
//          touches the file) --Close: FlushWrite--> closed
//   writing --a field fails--> Abandon: closed, the record's blocks keep their old content
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/byte_buffer.h"
#include "storage/id_set.h"

class CDataFile;

class CRecordStream {
public:
    enum Mode { kClosed = 0, kRead = 1, kRewrite = 2, kNew = 3 };
    enum PackMode { kPackRaw = 0, kPackCompressed = 1, kPackMasked = 2 };

    CRecordStream() = default;
    CRecordStream(const CRecordStream&) = delete;
    CRecordStream& operator=(const CRecordStream&) = delete;
    // Closes, swallowing errors. While an exception unwinds the stack a record being written is
    // abandoned instead, so that a half-built record never reaches the disk.
    virtual ~CRecordStream();

    // Opens the record whose chain starts at firstBlock (none is code 5).
    void Open(CDataFile* file, int32_t firstBlock, int mode);
    // Opens a new record (mode 3) whose first block is allocated when the record is first extended
    // (Reserve) or written (Close), so that its allocation and its content reach the file together.
    void OpenNewRecord(CDataFile* file);
    // In the write modes writes the record into its chain. A failure abandons the stream.
    void Close();
    int GetMode() const { return m_mode; }
    // None for a new record that has not taken its first block yet.
    int32_t GetFirstBlock() const { return m_firstBlock; }
    CDataFile* GetFile() const { return m_file; }
    std::string GetFilePath() const;

    // Reading. ReadRaw returns the error code met (0 on success) and sets *read; the others throw.
    int ReadRaw(void* buffer, int32_t n, int32_t* read = nullptr);
    int32_t ReadInt();
    int16_t ReadShort();
    std::string ReadString();
    void ReadIdSet(CIdSet& set);
    int32_t ReadSizedInt();
    int16_t ReadSizedShort();
    void SkipField();
    void Skip(int32_t n);
    std::vector<uint8_t> ReadByteBlock();
    std::vector<uint8_t> ReadPacked();
    std::string ReadPackedString();
    // Passes over a packed field: raw bytes are skipped without reading the blocks that hold only
    // them; a compressed field is read and inflated as ReadPacked would, so that a broken one fails
    // the same way. Errors as ReadPacked's.
    void SkipPacked();
    // Blocks loaded at once when the next bytes are not loaded yet (1 to 16, 16 when opened): a
    // reader that takes a few fields of a long record and skips the rest sets 1, so that the blocks
    // it skips are never read.
    void SetReadAhead(int32_t blocks);

    // Writing: fields are appended to the record being built.
    void WriteInt(int32_t value);
    void WriteShort(int16_t value);
    void WriteString(const std::string& text);
    void WriteIdSet(const CIdSet& set);
    void WriteSizedInt(int32_t value);
    void WriteSizedShort(int16_t value);
    void WriteByteBlock(const void* bytes, int32_t n);
    void WritePacked(const void* bytes, int32_t n, int mode);
    void WritePackedString(const std::string& text, int mode);

    // The stored form of an id set, appended to `out`.
    static void EncodeIdSet(const CIdSet& set, CByteBuffer& out);

    // Bytes at an offset of the record, for RewriteInPlace.
    struct Piece {
        int32_t offset;
        const uint8_t* bytes;
        int32_t n;
    };
    // Rewrite mode, files from version 300 on: changes a record of which only some bytes change,
    // without building it whole. The pieces are written over the stored bytes and the record then
    // ends at `length`: the rest of its last block is zeroed, the blocks behind it are freed and the
    // chain grows as a full rewrite would grow it, so the file ends up as writing the whole record
    // would leave it. The pieces must cover every byte past the stored record's end. Only the blocks
    // that the pieces and the new end fall in are read and written. Closes the stream; a failure
    // abandons it.
    void RewriteInPlace(const Piece* pieces, int count, int32_t length);

    // Extends the chain so that it holds n bytes (at least one block); never shortens it.
    void Reserve(int32_t n);
    // Bytes that fields take, for Reserve.
    static int32_t StringSize(const std::string& text) { return static_cast<int32_t>(text.size()) + 5; }
    static int32_t IdSetSize(const CIdSet& set) { return 4 * set.GetSize() + 4; }
    static constexpr int32_t kSizedIntSize = 8;
    static constexpr int32_t kSizedShortSize = 6;

protected:
    // Frees the buffers and closes without writing.
    void Abandon();
    // Runs a write-side operation; any failure abandons the record and passes on.
    template <typename F>
    void Building(F&& operation);

private:
    void Start(int32_t firstBlock, int mode);
    int32_t TakeRun(int32_t maxBlocks, int32_t& run);
    void LoadRun(int32_t maxBlocks);
    void NoteStep(int32_t block);
    int32_t CheckedLength(int32_t n) const;
    std::vector<uint8_t> ReadBytes(int32_t n);
    std::vector<uint8_t> ReadPackedAfter(int16_t mode);
    void FlushWrite();
    void WriteContent(const uint8_t* content, int32_t length);
    int32_t NextOrAppend(int32_t block);
    void WriteRun(int32_t first, int32_t count, const uint8_t* content);
    void Truncate(int32_t lastWritten);
    std::string FileName() const;
    [[noreturn]] void Corrupt() const;
    [[noreturn]] void ThrowReadError(int code) const;

    CByteBuffer m_writeBuffer;
    CDataFile* m_file = nullptr;
    int m_mode = kClosed;
    int32_t m_firstBlock = 0;
    int32_t m_current = 0;  // read: the next block to load
    int32_t m_currentIndex = 0;  // its position in the chain (0 = the first block)
    // Read: the blocks loaded last (a run of consecutive blocks of the chain) and the unread part.
    std::unique_ptr<uint8_t[]> m_block;
    int32_t m_bufferStart = 0;
    int32_t m_bufferEnd = 0;
    int32_t m_blocksLoaded = 0;
    // Loop detection along the chain being read (see NoteStep).
    int32_t m_loopMark = 0;
    int32_t m_loopPower = 1;
    int32_t m_loopSteps = 0;
    int32_t m_readAhead = 16;
    // Rewrite: what the file holds in the blocks about to be written (a run at a time).
    std::unique_ptr<uint8_t[]> m_stored;
    int m_uncaughtAtOpen = 0;
};

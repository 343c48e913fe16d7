// The byte codec under every clipboard format of the program: typed values appended to one growing
// block, and typed values read back from a read position. It holds no layout of its own; the
// formats derive from it (through CClipboardBuffer on Windows) and write and read their fields.
//
// Encodings (little-endian, no padding, no type tags):
//   int32       4 bytes
//   string      its characters, then one NUL byte
//   text        its characters, no NUL
//   new line    13, 10
//   NUL         one zero byte
//   byte block  the bytes unchanged
//
// Where the block lives is the derived class's business (movable global memory on Windows, the
// heap in tests): it resizes, locks and unlocks the block. Writes grow the capacity geometrically,
// so n appends cost O(n) bytes copied; TrimToSize cuts the block to the bytes written before it is
// handed over, so its size is exactly the data, as readers expect.
//
// Untrusted input: a block read in comes from another program. Every read checks that its bytes lie
// inside the data (a string needs its NUL before the end) and throws CQuorError(kBadClipboardData)
// otherwise; nothing is read outside the block and the read position does not move on a failed read.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>


class CClipboardCodec {
public:
    CClipboardCodec() = default;
    virtual ~CClipboardCodec() = default;
    CClipboardCodec(const CClipboardCodec&) = delete;
    CClipboardCodec& operator=(const CClipboardCodec&) = delete;

    // Writing. Each throws CQuorError(kOutOfMemory) when the block cannot be allocated,
    // grown or locked. The first write allocates the block, even when it appends nothing.
    void AppendString(const std::string& text);
    void AppendInt(std::int32_t value);
    void AppendText(const std::string& text);
    void AppendNewLine();
    void AppendNul();
    void AppendBytes(const void* bytes, std::size_t length);

    // Reading. With no block ReadInt answers 0 and ReadString "" (nothing was read in); otherwise
    // a read past the data throws CQuorError(kBadClipboardData).
    std::int32_t ReadInt();
    std::string ReadString();
    void ReadBytes(void* destination, std::size_t length);
    void Skip(std::size_t count);
    bool HasMoreData() const { return m_readPosition < m_size; }

    std::size_t GetSize() const { return m_size; }
    std::size_t GetReadPosition() const { return m_readPosition; }

    // The capacity that follows `capacity` when `needed` bytes must fit: at least doubled.
    static std::size_t GrownCapacity(std::size_t capacity, std::size_t needed);

protected:
    // The block, kept by the derived class. ResizeBlock allocates it (when there is none) or
    // resizes it to exactly `capacity` bytes, keeping its bytes and zeroing new ones; false when
    // memory ran out (the old block stays). LockBlock answers its bytes, nullptr when it cannot be
    // locked; every successful LockBlock is paired with UnlockBlock.
    virtual bool ResizeBlock(std::size_t capacity) = 0;
    virtual char* LockBlock() = 0;
    virtual void UnlockBlock() = 0;
    virtual bool HasBlock() const = 0;

    // Cuts the block to the bytes written (a block with no bytes keeps its first allocation).
    void TrimToSize();
    // After the derived class put `size` bytes of data in a new block: reading starts at 0.
    void StartReading(std::size_t size);
    // After the derived class freed the block.
    void ForgetBlock();

private:
    // The block's bytes for one read or write, unlocked on every path; throws
    // CQuorError(kOutOfMemory) when the block cannot be locked.
    class CLock {
    public:
        explicit CLock(CClipboardCodec& codec);
        ~CLock() { m_codec.UnlockBlock(); }
        CLock(const CLock&) = delete;
        CLock& operator=(const CLock&) = delete;
        char* Bytes() const { return m_bytes; }

    private:
        CClipboardCodec& m_codec;
        char* m_bytes;
    };

    void Append(const void* bytes, std::size_t length);
    // Throws CQuorError(kBadClipboardData) unless `length` bytes follow the read position.
    void CheckAvailable(std::size_t length) const;

    std::size_t m_readPosition = 0;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

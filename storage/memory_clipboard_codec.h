// The clipboard codec over a block on the heap: the same reads and writes as CClipboardBuffer
// without global memory, for portable code, tests and fuzzing. It can also count the block's
// resizes and cap the memory it may take, to show the growth and the out-of-memory paths.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "storage/clipboard_codec.h"

class CMemoryClipboardCodec : public CClipboardCodec {
public:
    CMemoryClipboardCodec() = default;
    // A block read in: `data` from another program, reading starts at its first byte.
    explicit CMemoryClipboardCodec(const std::string& data)
    {
        if (!data.empty()) {
            m_block.assign(data.begin(), data.end());
            m_hasBlock = true;
            StartReading(data.size());
        }
    }

    // The block's bytes (capacity included) and the bytes written, as they would be handed over.
    const std::vector<char>& Block() const { return m_block; }
    std::string Written()
    {
        TrimToSize();
        return std::string(m_block.begin(), m_block.begin() + static_cast<std::ptrdiff_t>(GetSize()));
    }

    int Resizes() const { return m_resizes; }
    void LimitMemory(std::size_t bytes) { m_limit = bytes; }
    void FailLocks(bool fail) { m_failLocks = fail; }

protected:
    bool ResizeBlock(std::size_t capacity) override
    {
        if (capacity > m_limit)
            return false;
        m_block.resize(capacity, '\0');
        m_hasBlock = true;
        ++m_resizes;
        return true;
    }
    char* LockBlock() override { return m_failLocks ? nullptr : m_block.data(); }
    void UnlockBlock() override {}
    bool HasBlock() const override { return m_hasBlock; }

private:
    std::vector<char> m_block;
    bool m_hasBlock = false;
    int m_resizes = 0;
    std::size_t m_limit = static_cast<std::size_t>(-1);
    bool m_failLocks = false;
};

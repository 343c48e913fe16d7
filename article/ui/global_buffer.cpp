#include "article/ui/global_buffer.h"

#include <algorithm>
#include <cstring>

#include "storage/quor_error.h"

namespace {

// GlobalLock answers nullptr on failure; GlobalUnlock must follow every successful lock.
class CLockedBlock {
public:
    explicit CLockedBlock(HGLOBAL block) : m_block(block), m_data(block ? static_cast<char*>(GlobalLock(block)) : nullptr)
    {
        if (!m_data) throw CQuorError(kOutOfMemory);
    }
    ~CLockedBlock() { GlobalUnlock(m_block); }
    CLockedBlock(const CLockedBlock&) = delete;
    CLockedBlock& operator=(const CLockedBlock&) = delete;
    char* Data() const { return m_data; }

private:
    HGLOBAL m_block;
    char* m_data;
};

}  // namespace

CGlobalBuffer::~CGlobalBuffer()
{
    Free();
}

void CGlobalBuffer::Free()
{
    if (m_block) GlobalFree(m_block);
    m_block = nullptr;
    m_total = m_capacity = m_readPosition = 0;
}

void CGlobalBuffer::Append(const void* bytes, int32_t n)
{
    if (n <= 0) return;
    if (n > INT32_MAX - m_total) throw CQuorError(kOutOfMemory);
    const int32_t needed = m_total + n;
    if (needed > m_capacity) {
        int32_t capacity = std::max<int32_t>(needed, m_capacity > INT32_MAX / 2 ? INT32_MAX : m_capacity * 2);
        capacity = std::max<int32_t>(capacity, 4096);
        HGLOBAL block = m_block ? GlobalReAlloc(m_block, static_cast<SIZE_T>(capacity), GMEM_MOVEABLE | GMEM_ZEROINIT)
                                : GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<SIZE_T>(capacity));
        if (!block) throw CQuorError(kOutOfMemory);
        m_block = block;
        m_capacity = capacity;
    }
    CLockedBlock lock(m_block);
    std::memcpy(lock.Data() + m_total, bytes, static_cast<size_t>(n));
    m_total = needed;
}

void CGlobalBuffer::SetString(const std::string& text)
{
    Free();
    if (text.size() > static_cast<size_t>(INT32_MAX)) throw CQuorError(kOutOfMemory);
    Append(text.data(), static_cast<int32_t>(text.size()));
    m_readPosition = 0;
}

void CGlobalBuffer::AppendZero()
{
    const char zero = 0;
    Append(&zero, 1);
}

void CGlobalBuffer::CopyTo(std::string& text) const
{
    text.clear();
    if (!m_block) return;
    CLockedBlock lock(m_block);
    const char* end = static_cast<const char*>(std::memchr(lock.Data(), 0, static_cast<size_t>(m_total)));
    const char* begin = lock.Data();
    text.assign(begin, end ? end : begin + m_total);
}

int32_t CGlobalBuffer::Read(void* dest, int32_t n)
{
    const int32_t count = std::min(n, m_total - m_readPosition);
    if (count <= 0) return 0;
    CLockedBlock lock(m_block);
    std::memcpy(dest, lock.Data() + m_readPosition, static_cast<size_t>(count));
    m_readPosition += count;
    return count;
}

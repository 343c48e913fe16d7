// Windows benchmark (run under Wine: scripts/wine-run build/win64/bin/clipboard_buffer_bench.exe):
// how long CClipboardBuffer takes to build large clipboard blocks of small appends in real global
// memory, against a block grown to exactly its new size on every append. The clipboard writers add
// their own cases to the table below.
#include <windows.h>

#include <cstdio>
#include <string>

#include "controls/ui/clipboard_buffer.h"

namespace {

double Seconds(LARGE_INTEGER start, LARGE_INTEGER end)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

const std::string kChunk(100, 'q');

// The buffer: appends of 100 bytes up to `total`, then the block handed over (trimmed).
size_t BufferAppends(size_t total)
{
    CClipboardBuffer buffer;
    for (size_t written = 0; written < total; written += kChunk.size())
        buffer.AppendText(kChunk);
    HGLOBAL block = buffer.ReleaseBlock();
    size_t size = GlobalSize(block);
    GlobalFree(block);
    return size;
}

// The same appends with the block grown to exactly its new size each time.
size_t ExactGrowthAppends(size_t total)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 2);
    size_t size = 0;
    for (size_t written = 0; written < total; written += kChunk.size()) {
        block = GlobalReAlloc(block, size + kChunk.size(), GMEM_MOVEABLE | GMEM_ZEROINIT);
        char* bytes = static_cast<char*>(GlobalLock(block));
        memcpy(bytes + size, kChunk.data(), kChunk.size());
        GlobalUnlock(block);
        size += kChunk.size();
    }
    size_t result = GlobalSize(block);
    GlobalFree(block);
    return result;
}

struct Case {
    const char* name;
    size_t (*run)(size_t total);
    size_t total;
};

}  // namespace

int main()
{
    const Case cases[] = {
        {"buffer, 100-byte appends, 10 MB", BufferAppends, 10000000},
        {"buffer, 100-byte appends, 40 MB", BufferAppends, 40000000},
        {"exact growth, 100-byte appends, 10 MB", ExactGrowthAppends, 10000000},
    };
    for (const Case& c : cases) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        size_t size = c.run(c.total);
        QueryPerformanceCounter(&end);
        std::printf("%-40s %8.3f s  (block %zu bytes)\n", c.name, Seconds(start, end), size);
    }
    return 0;
}

#include "controls/ui/clipboard_buffer.h"

#include <cstring>

#include "framework/ui/app.h"
#include "framework/ui/clipboard.h"
#include "framework/ui/wnd.h"
#include "storage/quor_error.h"

namespace {

HWND MainWindow()
{
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    return main && main->IsWindow() ? main->m_hWnd : nullptr;
}

}  // namespace

bool CClipboardBuffer::ResizeBlock(std::size_t capacity)
{
    if (!m_block) {
        m_block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, capacity);
        return m_block != nullptr;
    }
    // GlobalReAlloc answers null and leaves the block as it was when it cannot resize it.
    HGLOBAL resized = GlobalReAlloc(m_block, capacity, GMEM_MOVEABLE | GMEM_ZEROINIT);
    if (!resized)
        return false;
    m_block = resized;
    return true;
}

char* CClipboardBuffer::LockBlock()
{
    return m_block ? static_cast<char*>(GlobalLock(m_block)) : nullptr;
}

void CClipboardBuffer::UnlockBlock()
{
    GlobalUnlock(m_block);
}

void CClipboardBuffer::Free()
{
    if (m_block)
        GlobalFree(m_block);
    m_block = nullptr;
    ForgetBlock();
}

HGLOBAL CClipboardBuffer::ReleaseBlock()
{
    TrimToSize();
    HGLOBAL block = m_block;
    m_block = nullptr;
    ForgetBlock();
    return block;
}

void CClipboardBuffer::ReadFromClipboard(UINT format)
{
    Free();
    CClipboard clipboard(MainWindow());
    if (!clipboard.IsOpen())
        throw CQuorError(kClipboardBusy);
    // The clipboard's handle stays the clipboard's: lock, copy, unlock, never free.
    HANDLE data = GetClipboardData(format);
    SIZE_T size = data ? GlobalSize(data) : 0;
    if (size == 0)
        throw CQuorError(kClipboardFormatMissing);
    if (size > static_cast<SIZE_T>(INT32_MAX))
        throw CQuorError(kOutOfMemory);
    const void* source = GlobalLock(data);
    if (!source)
        throw CQuorError(kOutOfMemory);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    void* target = block ? GlobalLock(block) : nullptr;
    if (!target) {
        GlobalUnlock(data);
        if (block)
            GlobalFree(block);
        throw CQuorError(kOutOfMemory);
    }
    std::memcpy(target, source, size);
    GlobalUnlock(block);
    GlobalUnlock(data);
    m_block = block;
    StartReading(size);
}

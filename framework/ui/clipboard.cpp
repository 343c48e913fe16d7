#include "framework/ui/clipboard.h"

#include <cstring>

bool CClipboard::SetData(UINT format, const std::string& data) const
{
    if (!m_open)
        return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, data.size() ? data.size() : 1);
    if (!memory)
        return false;
    void* bytes = GlobalLock(memory);
    if (!bytes) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(bytes, data.data(), data.size());
    GlobalUnlock(memory);
    // On success the clipboard owns the memory; on failure it is still ours.
    if (!SetClipboardData(format, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;
}

std::string CClipboard::GetData(UINT format) const
{
    if (!m_open)
        return std::string();
    // The handle stays the clipboard's: lock and copy, never free.
    HANDLE memory = GetClipboardData(format);
    if (!memory)
        return std::string();
    const void* bytes = GlobalLock(memory);
    if (!bytes)
        return std::string();
    std::string data(static_cast<const char*>(bytes), GlobalSize(memory));
    GlobalUnlock(memory);
    return data;
}

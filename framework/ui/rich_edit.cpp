#include "framework/ui/rich_edit.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

namespace {

struct StreamBuffer {
    const std::string* in = nullptr;
    size_t offset = 0;
    std::string out;
};

// EDITSTREAM callbacks return 0 to go on; on input, *transferred = 0 ends the stream.
DWORD CALLBACK ReadStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* transferred)
{
    auto* stream = reinterpret_cast<StreamBuffer*>(cookie);
    size_t n = std::min(static_cast<size_t>(size), stream->in->size() - stream->offset);
    std::memcpy(buffer, stream->in->data() + stream->offset, n);
    stream->offset += n;
    *transferred = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK WriteStream(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* transferred)
{
    try {
        reinterpret_cast<StreamBuffer*>(cookie)->out.append(reinterpret_cast<const char*>(buffer),
                                                            static_cast<size_t>(size));
    } catch (...) {
        // Out of memory: a nonzero answer stops the stream; the exception must not cross the control.
        *transferred = 0;
        return 1;
    }
    *transferred = size;
    return 0;
}

}  // namespace

bool LoadRichEdit()
{
    // Kept loaded until the process ends: controls of its classes may exist until then.
    static HMODULE module = LoadLibraryA("riched20.dll");
    return module != nullptr;
}

HWND CreateRichEdit(HWND parent, int id, const RECT& rect, DWORD style)
{
    if (!LoadRichEdit())
        return nullptr;
    return CreateWindowExA(0, RICHEDIT_CLASSA, "", style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

bool RichEditStreamIn(HWND edit, int format, const std::string& data)
{
    StreamBuffer stream;
    stream.in = &data;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&stream), 0, ReadStream};
    SendMessageA(edit, EM_STREAMIN, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&es));
    return es.dwError == 0;
}

std::string RichEditStreamOut(HWND edit, int format)
{
    StreamBuffer stream;
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&stream), 0, WriteStream};
    SendMessageA(edit, EM_STREAMOUT, static_cast<WPARAM>(format), reinterpret_cast<LPARAM>(&es));
    return stream.out;
}

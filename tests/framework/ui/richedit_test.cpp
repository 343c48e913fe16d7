// The rich-text control the article window is built on: RTF streamed in, plain text streamed out.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>
#include <string>

namespace {

struct StreamState {
    std::string data;
    size_t offset = 0;
};

// EDITSTREAM callbacks return 0 to go on; *transferred = 0 on input marks the end of the stream.
DWORD CALLBACK ReadFromString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* transferred)
{
    auto* state = reinterpret_cast<StreamState*>(cookie);
    size_t n = std::min(static_cast<size_t>(size), state->data.size() - state->offset);
    memcpy(buffer, state->data.data() + state->offset, n);
    state->offset += n;
    *transferred = static_cast<LONG>(n);
    return 0;
}

DWORD CALLBACK WriteToString(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* transferred)
{
    reinterpret_cast<StreamState*>(cookie)->data.append(reinterpret_cast<char*>(buffer), size);
    *transferred = size;
    return 0;
}

}  // namespace

TEST(RichEdit, StreamsRtfInAndPlainTextOut)
{
    HMODULE riched = LoadLibraryA("riched20.dll");
    ASSERT_NE(riched, nullptr);
    HWND edit = CreateWindowExA(0, "RichEdit20A", "", WS_OVERLAPPEDWINDOW | ES_MULTILINE, 0, 0, 300, 200,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(edit, nullptr);

    StreamState in;
    in.data = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}Hello {\\b bold} w\\'f6rld\\par second line}";
    EDITSTREAM es = {reinterpret_cast<DWORD_PTR>(&in), 0, ReadFromString};
    SendMessageA(edit, EM_STREAMIN, SF_RTF, reinterpret_cast<LPARAM>(&es));
    EXPECT_EQ(es.dwError, 0u);

    StreamState out;
    EDITSTREAM os = {reinterpret_cast<DWORD_PTR>(&out), 0, WriteToString};
    SendMessageA(edit, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&os));
    EXPECT_EQ(out.data, "Hello bold w\xf6rld\r\nsecond line");

    DestroyWindow(edit);
    FreeLibrary(riched);
}

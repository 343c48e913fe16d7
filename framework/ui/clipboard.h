// The clipboard, opened for the life of a CClipboard object, with formats registered by name.
#pragma once
#include <windows.h>

#include <string>

class CClipboard {
public:
    // Opens the clipboard for `owner`; IsOpen says whether another program held it.
    explicit CClipboard(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
    ~CClipboard()
    {
        if (m_open)
            CloseClipboard();
    }
    CClipboard(const CClipboard&) = delete;
    CClipboard& operator=(const CClipboard&) = delete;

    bool IsOpen() const { return m_open; }
    // The number of format `name` (the same in every program of the session); 0 on failure.
    static UINT RegisterFormat(const char* name) { return RegisterClipboardFormatA(name); }
    static bool IsFormatAvailable(UINT format) { return IsClipboardFormatAvailable(format) != FALSE; }

    bool Empty() const { return m_open && EmptyClipboard(); }
    // Puts a copy of `data` on the clipboard as `format`; false on failure (the copy is then freed).
    bool SetData(UINT format, const std::string& data) const;
    // The bytes of `format`, empty when it is missing.
    std::string GetData(UINT format) const;

private:
    bool m_open;
};

#include "shell/ui/folder_browser.h"

#include "framework/string_table.h"
#include "resources/resource.h"
#include "shell/fit_text.h"

namespace {

// The folder the running browser starts in (one browser at a time).
const std::string* g_initialFolder = nullptr;

// Shows `path` in the browser's status line, cut to the control's width in its font.
void ShowStatus(HWND browser, const std::string& path)
{
    HWND status = GetDlgItem(browser, CFolderBrowser::kStatusControlId);
    std::string shown = path;
    if (status) {
        RECT client = {};
        GetClientRect(status, &client);
        HDC dc = GetDC(status);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(status, WM_GETFONT, 0, 0)));
        shown = CutToFit(path, [&](const std::string& text) {
            SIZE size = {};
            GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            return size.cx <= client.right;
        });
        SelectObject(dc, old);
        ReleaseDC(status, dc);
    }
    SendMessageA(browser, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(shown.c_str()));
}

}  // namespace

CFolderBrowser::CFolderBrowser(HWND owner, const std::string& kindName, const std::string& initialFolder)
    : m_owner(owner)
{
    m_title = QuorFormat1(QuorLoadString(IDS_FOLDER_BROWSER_TITLE), kindName);
    if (initialFolder.size() < MAX_PATH)
        m_path = initialFolder;
}

int CALLBACK CFolderBrowser::Callback(HWND window, UINT msg, LPARAM lParam, LPARAM)
{
    try {
        if (msg == BFFM_INITIALIZED && g_initialFolder && !g_initialFolder->empty()) {
            SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(g_initialFolder->c_str()));
        } else if (msg == BFFM_SELCHANGED) {
            char path[MAX_PATH] = {};
            if (lParam && SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path))
                ShowStatus(window, path);
        }
    } catch (...) {
    }
    return 0;
}

INT_PTR CFolderBrowser::DoModal()
{
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator)
        return IDCANCEL;
    char display[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = m_owner;
    info.pszDisplayName = display;
    info.lpszTitle = m_title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_NEWDIALOGSTYLE;
    info.lpfn = &CFolderBrowser::Callback;
    const std::string* previous = g_initialFolder;
    g_initialFolder = &m_path;
    LPITEMIDLIST chosen = SHBrowseForFolderA(&info);
    g_initialFolder = previous;
    bool got = false;
    if (chosen) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(chosen, path)) {
            m_path = path;
            got = true;
        }
        allocator->Free(chosen);
    }
    allocator->Release();
    return got ? IDOK : IDCANCEL;
}

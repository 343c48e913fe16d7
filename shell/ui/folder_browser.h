// The shell's folder browser with an initial folder and the selected path, cut to fit, in its status
// line. One browser runs at a time.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

class CFolderBrowser {
public:
    static constexpr int kStatusControlId = 14147;

    // The title is "Choose the default folder for <kind> Files."; an initial folder of MAX_PATH or
    // more characters is not used.
    CFolderBrowser(HWND owner, const std::string& kindName, const std::string& initialFolder);
    virtual ~CFolderBrowser() = default;

    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& GetTitle() const { return m_title; }
    // IDOK when a folder was chosen (GetFolder has it), IDCANCEL when the user cancelled or the
    // folder has no path; the path is then kept as it was.
    INT_PTR DoModal();
    void GetFolder(std::string& out) const { out = m_path; }

private:
    static int CALLBACK Callback(HWND window, UINT msg, LPARAM lParam, LPARAM data);

    HWND m_owner;
    std::string m_path;
    std::string m_title;
};

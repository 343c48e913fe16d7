// The real option stores under Wine: each test program runs in a private prefix, so writing
// HKEY_CURRENT_USER and the Windows folder is safe.
#include <windows.h>

#include <gtest/gtest.h>
#include <string>

#include "controls/ui/font_win.h"
#include "shell/app_settings.h"
#include "shell/option_store.h"
#include "shell/recent_files.h"
#include "shell/system_stores.h"
#include "tests/support/temp_folder.h"

namespace {

const char kAppKey[] = "Software\\Harlowen Software\\Personal Quorvane";

struct RegValue {
    bool found = false;
    DWORD type = 0;
    std::string text;
    DWORD number = 0;
};

RegValue QueryValue(const std::string& section, const std::string& name)
{
    RegValue v;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (std::string(kAppKey) + "\\" + section).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return v;
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegQueryValueExA(key, name.c_str(), nullptr, &v.type, reinterpret_cast<BYTE*>(data), &size) ==
        ERROR_SUCCESS) {
        v.found = true;
        if (v.type == REG_DWORD)
            memcpy(&v.number, data, sizeof v.number);
        else
            v.text = data;
    }
    RegCloseKey(key);
    return v;
}

// Runs `command` and returns what it wrote to standard output.
std::string RunAndCapture(const std::string& command)
{
    SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return std::string();
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi = {};
    std::string line = command;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                  &si, &pi);
    // Our copy of the write end must close, or the read below never sees the end of the pipe.
    CloseHandle(writeEnd);
    std::string output;
    if (started) {
        char buffer[4096];
        DWORD n = 0;
        while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
            output.append(buffer, n);
        WaitForSingleObject(pi.hProcess, 30000);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    CloseHandle(readEnd);
    return output;
}

// The line of `reg query` output for value `name`: "    name    TYPE    data".
std::string RegQueryLine(const std::string& output, const std::string& name)
{
    size_t start = 0;
    while (start < output.size()) {
        size_t end = output.find('\n', start);
        if (end == std::string::npos)
            end = output.size();
        std::string line = output.substr(start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
            line.pop_back();
        size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.compare(first, name.size() + 4, name + "    ") == 0)
            return line.substr(first);
    }
    return std::string();
}

std::string ProgramPath(const CTempFolder& folder) { return folder.File("quorvane.exe"); }

}  // namespace

TEST(SystemStores, RegistryValuesAreDwordsAndStringsThatRegQuerySees)
{
    COptionStore store;
    store.UseStore(CreateRegistryProfileStore(COptionStore::kCompany, COptionStore::kApplication), false, "");
    ASSERT_TRUE(store.WriteInt("Index Display", "SortOrder", 3));
    ASSERT_TRUE(store.WriteInt("Index Display", "PreviewColor", -1));
    ASSERT_TRUE(store.WriteString("Index Display", "Caption", "Notes 0720"));
    ASSERT_TRUE(store.WriteString("INDEX DISPLAY", "Empty", ""));

    RegValue sort = QueryValue("Index Display", "SortOrder");
    ASSERT_TRUE(sort.found);
    EXPECT_EQ(sort.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(sort.number, 3u);
    RegValue caption = QueryValue("index display", "Caption");
    EXPECT_EQ(caption.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(caption.text, "Notes 0720");

    // Read back through the store: names in any case, a text is not an integer and the reverse.
    EXPECT_EQ(store.GetInt("index display", "sortorder", 0), 3);
    EXPECT_EQ(store.GetInt("Index Display", "PreviewColor", 0), -1);
    EXPECT_EQ(store.GetString("Index Display", "Empty", "dflt"), "");
    EXPECT_EQ(store.GetInt("Index Display", "Caption", 9), 9);
    EXPECT_EQ(store.GetString("Index Display", "SortOrder", "dflt"), "dflt");
    EXPECT_EQ(store.GetInt("No Such Section", "SortOrder", 5), 5);

    std::string out = RunAndCapture("reg.exe query \"HKCU\\Software\\Harlowen Software\\Personal Quorvane\\Index Display\"");
    EXPECT_EQ(RegQueryLine(out, "SortOrder"), "SortOrder    REG_DWORD    0x3") << out;
    EXPECT_EQ(RegQueryLine(out, "PreviewColor"), "PreviewColor    REG_DWORD    0xffffffff") << out;
    EXPECT_EQ(RegQueryLine(out, "Caption"), "Caption    REG_SZ    Notes 0720") << out;
}

TEST(SystemStores, PortableIniIsWrittenAtFlushInCreationOrder)
{
    CTempFolder folder;
    std::string ini = folder.Write("quorvane.ini", "[Quorvane]\r\nPortable=1\r\nLastFileName=old.xrd\r\n");
    std::unique_ptr<IOptionStoreHost> host = CreateSystemOptionStoreHost();
    CDirectories dirs;
    COptionStore store;
    store.Choose(*host, ProgramPath(folder), dirs);
    ASSERT_TRUE(store.IsPortable());
    EXPECT_EQ(store.GetProfileName(), ini);

    store.WriteString("QUORVANE", "LastFileName", "new.xrd");
    store.WriteInt("Recent Files", "Count", 2);
    store.WriteInt("Index Display", "PreviewColor", -1);
    store.WriteString("Recent Files", "File1", ".:\\Notes\\a.xrd");
    EXPECT_EQ(store.GetString("Quorvane", "LastFileName", ""), "new.xrd");
    EXPECT_EQ(folder.Read("quorvane.ini"), "[Quorvane]\r\nPortable=1\r\nLastFileName=old.xrd\r\n");

    ASSERT_TRUE(store.FlushProfileCache());
    std::string text = folder.Read("quorvane.ini");
    EXPECT_NE(text.find("LastFileName=new.xrd"), std::string::npos) << text;
    size_t recent = text.find("[Recent Files]");
    size_t index = text.find("[Index Display]");
    ASSERT_NE(recent, std::string::npos) << text;
    ASSERT_NE(index, std::string::npos) << text;
    EXPECT_LT(recent, index) << text;
    EXPECT_LT(text.find("Count=2"), text.find("File1=.:\\Notes\\a.xrd")) << text;
    EXPECT_NE(text.find("PreviewColor=-1"), std::string::npos) << text;

    // A fresh store reads the file: the automatic colour -1 survives, a missing key keeps its default.
    std::unique_ptr<IProfileStore> reread = CreateIniProfileStore(ini);
    EXPECT_EQ(reread->GetInt("Index Display", "PreviewColor", 0), -1);
    EXPECT_EQ(reread->GetString("recent files", "file1", ""), ".:\\Notes\\a.xrd");
    EXPECT_EQ(reread->GetString("Recent Files", "File9", "dflt"), "dflt");
    EXPECT_EQ(reread->GetInt("Recent Files", "File9", 7), 7);
    std::string longValue(5000, 'x');
    reread->WriteString("Long", "Value", longValue);
    EXPECT_EQ(reread->GetString("Long", "Value", ""), longValue);
}

TEST(SystemStores, IniWithoutPortableValueChoosesRegistryAndOldIniIsImported)
{
    CTempFolder folder;
    folder.Write("oldimport.ini", "[Quorvane]\r\nOther=1\r\n");
    std::string program = folder.File("oldimport.exe");
    char windows[MAX_PATH] = {};
    ASSERT_GT(GetWindowsDirectoryA(windows, MAX_PATH), 0u);
    std::string oldIni = std::string(windows) + "\\oldimport.INI";
    HANDLE f = CreateFileA(oldIni.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(f, INVALID_HANDLE_VALUE);
    const char text[] = "[QUORVANE]\r\nImportedSort=3\r\nImportedZip=0720\r\n[Broken\r\nImportedAfterBroken=x\r\n";
    DWORD written = 0;
    WriteFile(f, text, sizeof text - 1, &written, nullptr);
    CloseHandle(f);

    std::unique_ptr<IOptionStoreHost> host = CreateSystemOptionStoreHost();
    CDirectories dirs;
    COptionStore store;
    store.Choose(*host, program, dirs);
    DeleteFileA(oldIni.c_str());
    EXPECT_FALSE(store.IsPortable());

    RegValue sort = QueryValue("Quorvane", "ImportedSort");
    EXPECT_EQ(sort.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(sort.number, 3u);
    RegValue zip = QueryValue("QUORVANE", "ImportedZip");
    EXPECT_EQ(zip.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(zip.text, "0720");
    EXPECT_EQ(QueryValue("Quorvane", "ImportedAfterBroken").text, "x");
    RegValue useIni = QueryValue("Quorvane", "UseIni");
    EXPECT_EQ(useIni.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(useIni.number, 0u);
    EXPECT_EQ(store.GetInt("quorvane", "importedsort", 0), 3);
    EXPECT_TRUE(store.FlushProfileCache());
}

TEST(SystemStores, SettingsFoldersFontsAndRecentFilesThroughTheRegistry)
{
    COptionStore store;
    store.UseStore(CreateRegistryProfileStore(COptionStore::kCompany, COptionStore::kApplication), false, "");
    CGdiFontFaces faces;
    CFontSettings fonts;
    fonts.Load(store, faces);
    CDirectories dirs;
    dirs.Load(store, "C:\\Program Files\\Quorvane\\quorvane.exe", true);
    dirs.SetConfiguredFolder(CDirectories::kData, "D:\\Data");
    CAppSettings settings(store, fonts, dirs);
    settings.ResetSettings();
    settings.SetHtmlExportOptions(1, 2, "<>");
    settings.SetSortOrder(2);  // saves every setting
    dirs.Save(store);
    fonts.Save(store);

    std::string display = RunAndCapture(
        "reg.exe query \"HKCU\\Software\\Harlowen Software\\Personal Quorvane\\Index Display\"");
    EXPECT_EQ(RegQueryLine(display, "SortOrder"), "SortOrder    REG_DWORD    0x2") << display;
    EXPECT_EQ(RegQueryLine(display, "DateColor"), "DateColor    REG_DWORD    0xff0000") << display;
    std::string product =
        RunAndCapture("reg.exe query \"HKCU\\Software\\Harlowen Software\\Personal Quorvane\\Quorvane\"");
    EXPECT_EQ(RegQueryLine(product, "HTMLCustomSet"), "HTMLCustomSet    REG_SZ    <>") << product;
    EXPECT_EQ(RegQueryLine(product, "ExportTextLineLength"), "ExportTextLineLength    REG_DWORD    0x46") << product;
    EXPECT_EQ(RegQueryLine(product, "Font"), "Font    REG_SZ    " + GetFaceName(fonts.GetLogFont())) << product;
    EXPECT_EQ(RegQueryLine(product, "UpdateCheckFreq"), "") << product;
    std::string folders =
        RunAndCapture("reg.exe query \"HKCU\\Software\\Harlowen Software\\Personal Quorvane\\Directories\"");
    EXPECT_EQ(RegQueryLine(folders, "Quorvane Data"), "Quorvane Data    REG_SZ    D:\\Data") << folders;

    // A second run reads them back.
    CAppSettings again(store, fonts, dirs);
    again.ResetSettings();
    EXPECT_EQ(again.GetSortOrder(), 2);
    int type = 0, encode = 0;
    std::string custom;
    again.GetHtmlExportOptions(type, encode, custom);
    EXPECT_EQ(type, 1);
    EXPECT_EQ(custom, "<>");
}

TEST(SystemStores, PortableSettingsReachTheIniFileAtTheFlush)
{
    CTempFolder folder;
    folder.Write("quorvane.ini", "[Quorvane]\r\nPortable=yes\r\n");
    std::unique_ptr<IOptionStoreHost> host = CreateSystemOptionStoreHost();
    CDirectories dirs;
    COptionStore store;
    std::string program = ProgramPath(folder);
    store.Choose(*host, program, dirs);
    ASSERT_TRUE(store.IsPortable());
    dirs.SetDrive(program);
    dirs.SetPortable(true);
    dirs.Load(store, program, true);
    CRecentFiles recent(dirs);
    recent.SetPortable(true);
    recent.Add(folder.File("notes.xrd"));
    CGdiFontFaces faces;
    CFontSettings fonts;
    fonts.Load(store, faces);
    CAppSettings settings(store, fonts, dirs);
    settings.ResetSettings();
    settings.SetSortOrder(2);
    EXPECT_EQ(folder.Read("quorvane.ini"), "[Quorvane]\r\nPortable=yes\r\n");

    // What the program writes at exit, then the flush.
    dirs.Save(store);
    fonts.Save(store);
    recent.Save(store);
    ASSERT_TRUE(store.FlushProfileCache());
    std::unique_ptr<IProfileStore> ini = CreateIniProfileStore(store.GetProfileName());
    EXPECT_EQ(ini->GetInt("Index Display", "SortOrder", 0), 2);
    EXPECT_EQ(ini->GetString("Quorvane", "Portable", ""), "yes");
    EXPECT_EQ(ini->GetInt("Quorvane", "CustomTextColor", 0), -1);
    // The temporary folder is on the program's drive, so the file is kept drive-relative.
    std::string stored = ini->GetString("Recent Files", "File1", "");
    EXPECT_EQ(stored.substr(0, 2), ".:") << stored;
    EXPECT_EQ(dirs.ExpandDriveRelative(stored), folder.File("notes.xrd"));
}

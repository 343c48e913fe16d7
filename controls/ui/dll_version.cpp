#include "controls/ui/dll_version.h"

#include <windows.h>
#include <shlwapi.h>

#include <vector>

namespace {

uint32_t FileVersionOf(HMODULE module)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return 0;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path, &ignored);
    if (size == 0) return 0;
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(path, 0, size, data.data())) return 0;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT infoSize = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
        infoSize < sizeof(VS_FIXEDFILEINFO))
        return 0;
    return (HIWORD(info->dwFileVersionMS) << 16) | LOWORD(info->dwFileVersionMS);
}

}  // namespace

uint32_t GetDllVersion(const char* dllName)
{
    // LoadLibrary only adds a reference when the DLL is already loaded; FreeLibrary takes it back.
    HMODULE module = LoadLibraryA(dllName);
    if (!module) return 0;
    uint32_t version = 0;
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetVersion")));
    DLLVERSIONINFO info = {};
    info.cbSize = sizeof info;
    if (getVersion && SUCCEEDED(getVersion(&info)))
        version = (info.dwMajorVersion << 16) | (info.dwMinorVersion & 0xFFFF);
    else
        version = FileVersionOf(module);
    FreeLibrary(module);
    return version;
}

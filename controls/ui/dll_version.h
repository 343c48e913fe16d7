// The version of a DLL: what its DllGetVersion reports when it exports one, else the file version of
// its version resource.
#pragma once
#include <cstdint>

// Major version in the high 16 bits, minor in the low 16 bits; 0 when the DLL cannot be loaded or
// carries no version.
uint32_t GetDllVersion(const char* dllName);

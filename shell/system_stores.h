// The two real option stores. Both Windows-only (registry_profile_store_win.cpp,
// ini_profile_store_win.cpp); portable code reaches them through IProfileStore.
#pragma once
#include <memory>
#include <string>

#include "shell/profile_store.h"

// HKEY_CURRENT_USER\Software\<company>\<application>: a section is a subkey, an integer a REG_DWORD value,
// a text a REG_SZ value.
std::unique_ptr<IProfileStore> CreateRegistryProfileStore(const std::string& company,
                                                          const std::string& application);
// The INI file `path` through GetPrivateProfileStringA and WritePrivateProfileStringA.
std::unique_ptr<IProfileStore> CreateIniProfileStore(const std::string& path);

// Fuzz target: the option inputs the program does not write itself. The first byte chooses:
//   even  the rest is a per-file settings record (keyed record 4) without its length field
//   odd   the rest is an old INI file imported into an in-memory registry
// Reading must never fail, crash or read past the input; a record that reads back must write a record
// that reads back to the same fields.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/app_settings.h"
#include "shell/file_settings.h"
#include "shell/memory_profile_store.h"
#include "shell/option_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    CMemoryProfileStore store;
    CDirectories dirs;
    dirs.SetPersonalFolderSource([] { return std::string(); });
    if (data[0] % 2 == 1) {
        std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
        if (ImportOldIniText(text, store, dirs))
            dirs.MoveToProgramDrive(store, "E:\\Q\\quorvane.exe");
        return 0;
    }
    CFontSettings fonts;
    CAppSettings settings(store, fonts, dirs);
    CFileSettings(settings).Decode(data + 1, size - 1);
    std::vector<uint8_t> written = CFileSettings(settings).Encode();
    CAppSettings again(store, fonts, dirs);
    CFileSettings(again).Decode(written.data() + 4, written.size() - 4);
    if (CFileSettings(again).Encode() != written)
        std::abort();
    return 0;
}

// The rich-text control's library, loaded once for the process: the module handle of
// RICHED20.DLL, freed when the process ends.
#pragma once
#include <windows.h>

class CRichEditLoader {
public:
    CRichEditLoader() = default;
    CRichEditLoader(const CRichEditLoader&) = delete;
    CRichEditLoader& operator=(const CRichEditLoader&) = delete;
    // Runs at process exit, after every control of the library's classes is gone.
    ~CRichEditLoader();

    HMODULE m_module = nullptr;
};

// Loads RICHED20.DLL unless it is loaded; true when it is.
bool LoadRichEdit20();

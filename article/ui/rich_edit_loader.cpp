#include "article/ui/rich_edit_loader.h"

#include "framework/ui/rich_edit.h"

namespace {

CRichEditLoader g_richEditLoader;

}  // namespace

CRichEditLoader::~CRichEditLoader()
{
    if (m_module) FreeLibrary(m_module);
}

bool LoadRichEdit20()
{
    // The framework's own initialisation first: without it no rich edit is created at all.
    if (!LoadRichEdit()) return false;
    if (!g_richEditLoader.m_module) g_richEditLoader.m_module = LoadLibraryA("RICHED20.DLL");
    return g_richEditLoader.m_module != nullptr;
}

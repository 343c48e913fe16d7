#include "controls/ui/visual_styles.h"

namespace {

template <class F>
F Bind(HMODULE library, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

void CVisualStyles::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_library = LoadLibraryA("uxtheme.dll");
    if (!m_library)
        return;
    m_openThemeData = Bind<OpenThemeDataFn>(m_library, "OpenThemeData");
    m_drawThemeBackground = Bind<DrawThemeBackgroundFn>(m_library, "DrawThemeBackground");
    m_drawThemeText = Bind<DrawThemeTextFn>(m_library, "DrawThemeText");
    m_closeThemeData = Bind<CloseThemeDataFn>(m_library, "CloseThemeData");
    m_isAppThemed = Bind<IsAppThemedFn>(m_library, "IsAppThemed");
    m_usable = m_openThemeData && m_drawThemeBackground && m_drawThemeText && m_closeThemeData && m_isAppThemed;
}

void CVisualStyles::Free()
{
    if (m_library)
        FreeLibrary(m_library);
    m_library = nullptr;
    m_loaded = false;
    m_usable = false;
}

CVisualStyles& ButtonVisualStyles()
{
    static CVisualStyles styles;
    return styles;
}

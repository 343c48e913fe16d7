// File > Preferences: the sheet over the application's settings, folders and fonts.
#include "controls/ui/themed_button.h"
#include "document/doc_views.h"
#include "shell/app_settings.h"
#include "controls/ui/font_win.h"
#include "shell/ui/pref_dialog.h"
#include "shell/ui/quorvane_app.h"

namespace {

// The spelling engine's library, looked for by name.
constexpr const char kSpellEngineLibrary[] = "ssce5532.dll";
// The main frame's command that opens the spelling engine's options.
constexpr unsigned kSpellingOptionsCommand = 33011;

// What the pages' changes mean for the open windows.
class CAppPreferenceHost : public IPreferenceHost {
public:
    explicit CAppPreferenceHost(CQuorvaneApp& app) : m_app(app) {}

    void RefreshIndexDisplay() override
    {
        if (CQuorvaneDoc* document = m_app.GetOpenDocument())
            document->NotifyIndexView(IndexCode::kDisplayPrefsChanged);
    }
    void ApplyPreviewColor() override
    {
        if (CQuorvaneDoc* document = m_app.GetOpenDocument())
            document->NotifyIndexView(IndexCode::kPreviewColorChanged);
    }
    void DateDisplayChanged() override
    {
        if (CQuorvaneDoc* document = m_app.GetOpenDocument())
            document->NotifyArticleViews(ArticleHint::kDisplayChanged);
    }
    void SetCurrentAutoSave(int autoSave) override { m_app.SetCurrentAutoSave(autoSave); }
    void ApplyOnTop() override { m_app.ApplyOnTop(); }

private:
    CQuorvaneApp& m_app;
};

}  // namespace

bool CQuorvaneApp::IsSpellEngineAvailable()
{
    static bool available = false;
    if (!available) {
        if (HMODULE library = LoadLibraryA(kSpellEngineLibrary)) {
            FreeLibrary(library);
            available = true;
        }
    }
    return available;
}

void CQuorvaneApp::OnFilePreferences()
{
    CWnd* main = GetMainWnd();
    ShowPreferences(0, main ? main->m_hWnd : nullptr);
}

void CQuorvaneApp::ShowPreferences(int page, HWND parent)
{
    CAppPreferenceHost host(*this);
    CGdiFontFaces faces;
    CPrefContext context{Settings(), m_options, m_fonts, m_directories, host};
    context.portableUse = m_options.IsPortable();
    context.themeActive = CThemedButton::IsThemeActive();
    CMainFrame* frame = MainFrame();
    context.flatAllowed = frame ? frame->AllowsFlatBars() : true;
    context.spellEngineAvailable = IsSpellEngineAvailable();
    context.defaultFont = CFontSettings::DefaultFont(faces);
    context.pixelsPerInch = faces.PixelsPerInch();
    context.spellingOptions = [frame] {
        if (frame && frame->IsWindow())
            frame->SendMessage(WM_COMMAND, kSpellingOptionsCommand, 0);
    };

    CPrefDialog dialog(parent, context);
    dialog.Fill();
    dialog.SetActivePage(page >= 1 && page <= 6 ? page : 0);
    if (dialog.DoModal() != IDOK)
        return;
    // The Display page set the on-top state while the sheet was still up, and a window that owns an
    // open modal sheet may keep its place in the z-order (seen under Wine): set it again now.
    ApplyOnTop();
    if (dialog.m_display.m_model.toolbarsChanged && frame) {
        HCURSOR old = SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
        frame->RecreateToolBars();
        SetCursor(old);
    }
    if (CQuorvaneDoc* document = GetOpenDocument())
        document->ApplyActiveLinks(Settings().GetActiveLinks());
    Settings().SaveToProfile();
    m_directories.Save(m_options);
    m_fonts.Save(m_options);
}

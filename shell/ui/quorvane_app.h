// The application object of quorvane.exe. For now it chooses the option store, loads the settings,
// opens the main frame with its bars and reports the program's errors from command handlers; the
// start-up sequence grows here.
#pragma once
#include <memory>

#include "framework/ui/app.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/option_store.h"

class CAppSettings;

class CQuorvaneApp : public CWinApp {
public:
    CQuorvaneApp();
    ~CQuorvaneApp() override;
    void ReportCommandException() override;

    COptionStore& Options() { return m_options; }
    CAppSettings& Settings() { return *m_settings; }

protected:
    bool InitInstance() override;
    int ExitInstance(int exitCode) override;

private:
    COptionStore m_options;
    CDirectories m_directories;
    CFontSettings m_fonts;
    std::unique_ptr<CAppSettings> m_settings;
};

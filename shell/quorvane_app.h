// The application object of quorvane.exe. For now it opens the MDI main frame and reports the
// program's errors from command handlers; the start-up sequence grows here.
#pragma once
#include "framework/ui/app.h"

class CQuorvaneApp : public CWinApp {
public:
    void ReportCommandException() override;

protected:
    bool InitInstance() override;
};

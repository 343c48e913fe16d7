// The Check for Update dialog: shows the installed version, runs the update check on a worker
// thread 200 ms after it opened (so that a Close at once costs no request), shows the answer, offers
// "Get update info..." when a newer version has a safe address, and keeps the automatic-check
// frequency in the settings.
//
// The worker works on a copy of the application's CUpdateCheck inside a job block that it shares with
// the dialog; the dialog copies the finished check back when the answer arrives. Close asks the
// worker to stop and waits for it at most kCloseWaitMs: a worker still running then goes on alone,
// fills only its own job and posts nothing, since the dialog took its window out of the job.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "framework/ui/dialog.h"
#include "shell/update_check.h"

class CAppSettings;
class CWorkerThread;

class CUpdateCheckDlg : public CDialog {
public:
    // Posted by the worker: wParam = the check's result, lParam 0.
    static constexpr UINT kResultMessage = WM_APP + 4;
    static constexpr UINT_PTR kStartTimer = 1000;
    static constexpr UINT kStartDelayMs = 200;
    // How long Close waits for the worker, all told; with the time the dialog takes to end it stays
    // under three seconds whatever the server does.
    static constexpr DWORD kCloseWaitMs = 2500;

    // `check` is the application's and must outlive the dialog; the fetcher is shared with the
    // worker (it may outlive the dialog). `today` gives the date stored after an answer (yyyymmdd).
    CUpdateCheckDlg(CUpdateCheck& check, CAppSettings& settings, std::shared_ptr<IUpdateListFetcher> fetcher,
                    HWND parent = nullptr);
    ~CUpdateCheckDlg() override;

    // Opens the information address (the program: through the guarded link shell).
    std::function<void(const std::string&)> m_openAddress;
    // Today's date, yyyymmdd (the program: the clock's).
    std::function<int32_t()> m_today;

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnTimer(UINT_PTR id, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct Job;

    void StartWorker();
    void ShowResult(int result);
    void SetStatus(int textId, COLORREF color);

    CUpdateCheck& m_check;
    CAppSettings& m_settings;
    std::shared_ptr<IUpdateListFetcher> m_fetcher;
    int m_frequencyIndex = -1;
    std::shared_ptr<Job> m_job;
    std::unique_ptr<CWorkerThread> m_worker;
    COLORREF m_statusColor = 0;
};

#include "shell/ui/update_check_dlg.h"

#include "framework/clock.h"
#include "framework/string_table.h"
#include "framework/ui/worker_thread.h"
#include "resources/update_check_res.h"
#include "shell/app_settings.h"

// What the dialog and its worker share. The worker reads `check`, `fetcher` and `cancel` and writes
// `check`; it posts to `target` only while holding `lock` and only while `target` is set. The dialog
// clears `target` under the lock before its window goes, so no answer reaches a closed dialog.
struct CUpdateCheckDlg::Job {
    CUpdateCheck check;
    std::shared_ptr<IUpdateListFetcher> fetcher;
    std::atomic<bool> cancel{false};
    std::mutex lock;
    HWND target = nullptr;

    Job(const CUpdateCheck& from, std::shared_ptr<IUpdateListFetcher> source, HWND window)
        : check(from), fetcher(std::move(source)), target(window)
    {
    }
};

namespace {

constexpr int kFrequencyTexts[4] = {IDS_UPDATE_NEVER, IDS_UPDATE_EVERY_7_DAYS, IDS_UPDATE_EVERY_30_DAYS,
                                    IDS_UPDATE_EVERY_90_DAYS};

int32_t ClockToday()
{
    const QuorLocalTime now = QuorNow();
    return now.year * 10000 + now.month * 100 + now.day;
}

}  // namespace

CUpdateCheckDlg::CUpdateCheckDlg(CUpdateCheck& check, CAppSettings& settings,
                                 std::shared_ptr<IUpdateListFetcher> fetcher, HWND parent)
    : CDialog(IDD_UPDATE_CHECK, parent), m_check(check), m_settings(settings), m_fetcher(std::move(fetcher))
{
    m_today = ClockToday;
}

CUpdateCheckDlg::~CUpdateCheckDlg()
{
    // A worker still running here was left to go on alone in OnCancel.
    if (m_worker)
        m_worker->Detach();
}

bool CUpdateCheckDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_INSTALLED_VERSION, m_check.GetOwnVersionText().c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_RELEASED_VERSION, QuorLoadString(IDS_UPDATE_CHECKING).c_str());
    ::ShowWindow(::GetDlgItem(m_hWnd, IDC_BUTTON_UPDATE_INFO), SW_HIDE);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_COMBO_UPDATE_FREQUENCY);
    for (int textId : kFrequencyTexts)
        ::SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(QuorLoadString(textId).c_str()));
    m_frequencyIndex = CUpdateCheck::FrequencyIndexForDays(m_settings.GetUpdateCheckFreq());
    ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(m_frequencyIndex), 0);
    ::SetFocus(::GetDlgItem(m_hWnd, IDCANCEL));
    ::SetTimer(m_hWnd, kStartTimer, kStartDelayMs, nullptr);
    return false;  // the focus was set
}

bool CUpdateCheckDlg::OnTimer(UINT_PTR id, LRESULT& result)
{
    if (id != kStartTimer)
        return false;
    ::KillTimer(m_hWnd, kStartTimer);
    if (!m_worker)
        StartWorker();
    result = 0;
    return true;
}

void CUpdateCheckDlg::StartWorker()
{
    m_job = std::make_shared<Job>(m_check, m_fetcher, m_hWnd);
    std::shared_ptr<Job> job = m_job;
    auto worker = std::make_unique<CWorkerThread>([job]() -> unsigned {
        const int result = job->fetcher ? job->check.Check(*job->fetcher, job->cancel) : 0;
        std::lock_guard<std::mutex> hold(job->lock);
        if (job->target)
            ::PostMessageA(job->target, kResultMessage, static_cast<WPARAM>(result), 0);
        return static_cast<unsigned>(result);
    });
    if (!worker->CreateSuspended()) {
        ShowResult(CUpdateCheck::kNoAnswer);
        return;
    }
    m_worker = std::move(worker);
    m_worker->Resume();
}

void CUpdateCheckDlg::ShowResult(int result)
{
    const CUpdateCheck::Display display = CUpdateCheck::DisplayFor(result);
    if (!display.known) {
        ::SetDlgItemTextA(m_hWnd, IDC_STATIC_UPDATE_STATUS, "");
        return;
    }
    // The worker has ended: its check (and what it learnt) becomes the application's.
    if (m_job && !m_worker)
        m_check = m_job->check;
    const std::string released = display.releasedTextId ? QuorLoadString(display.releasedTextId)
                                                         : m_check.GetLatestVersionText();
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_RELEASED_VERSION, released.c_str());
    std::string address;
    if (display.offerInfo && m_check.GetInfoAddress(address))
        ::ShowWindow(::GetDlgItem(m_hWnd, IDC_BUTTON_UPDATE_INFO), SW_SHOW);
    SetStatus(display.statusTextId, display.statusColor);
    if (display.storeDate && m_today)
        m_settings.SetUpdateCheckLastDate(m_today());
}

void CUpdateCheckDlg::SetStatus(int textId, COLORREF color)
{
    m_statusColor = color;
    HWND status = ::GetDlgItem(m_hWnd, IDC_STATIC_UPDATE_STATUS);
    ::SetWindowTextA(status, QuorLoadString(textId).c_str());
    ::InvalidateRect(status, nullptr, TRUE);
}

bool CUpdateCheckDlg::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_BUTTON_UPDATE_INFO && code == BN_CLICKED) {
        std::string address;
        if (m_check.GetInfoAddress(address) && m_openAddress)
            m_openAddress(address);
        return true;
    }
    return CDialog::OnCommand(id, code, control, result);
}

void CUpdateCheckDlg::OnCancel()
{
    ::KillTimer(m_hWnd, kStartTimer);
    if (m_worker && !m_worker->Wait(100)) {
        m_job->cancel = true;
        ::SetDlgItemTextA(m_hWnd, IDC_STATIC_RELEASED_VERSION, QuorLoadString(IDS_UPDATE_CANCELED).c_str());
        SetStatus(IDS_UPDATE_PLEASE_WAIT, 0x000080);
        ::UpdateWindow(m_hWnd);
        m_worker->Wait(kCloseWaitMs - 100);
    }
    if (m_job) {
        std::lock_guard<std::mutex> hold(m_job->lock);
        m_job->target = nullptr;
    }
    // A worker that ended is done with; one that did not goes on alone (the destructor detaches it).
    if (m_worker && m_worker->Wait(0))
        m_worker.reset();
    EndDialog(IDCANCEL);
}

bool CUpdateCheckDlg::OnDestroy(LRESULT& result)
{
    ::KillTimer(m_hWnd, kStartTimer);
    HWND combo = ::GetDlgItem(m_hWnd, IDC_COMBO_UPDATE_FREQUENCY);
    const int index = static_cast<int>(::SendMessageA(combo, CB_GETCURSEL, 0, 0));
    if (index >= 0 && index < 4)
        m_frequencyIndex = index;
    if (m_frequencyIndex >= 0)
        m_settings.SetUpdateCheckFreq(CUpdateCheck::DaysForFrequencyIndex(m_frequencyIndex));
    if (m_job) {
        std::lock_guard<std::mutex> hold(m_job->lock);
        m_job->target = nullptr;
    }
    return CDialog::OnDestroy(result);
}

bool CUpdateCheckDlg::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case kResultMessage:
        // The worker posted this as its last act; wait for it to end before reading its check.
        if (m_worker) {
            if (!m_worker->Wait(kCloseWaitMs))
                return true;
            m_worker.reset();
        }
        ShowResult(static_cast<int>(wParam));
        result = 0;
        return true;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lParam) == ::GetDlgItem(m_hWnd, IDC_STATIC_UPDATE_STATUS)) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            ::SetTextColor(dc, m_statusColor);
            ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
            result = reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            return true;
        }
        return false;
    default:
        return CDialog::OnMessage(msg, wParam, lParam, result);
    }
}

// An exception thrown inside a command handler, a window procedure, a dialog procedure or a worker
// thread is stopped where the system called into the program, reported, and the program goes on.
// The 32-bit build is the one this guards: its DWARF-2 unwinder cannot walk through the system's
// frames, so an exception that reached them would end the program there, while the 64-bit build's
// table-based unwinding would often carry it through. The program runs its message loop on a thread
// of its own; the test thread plays the user.
#include <windows.h>

#include <gtest/gtest.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/ui/app.h"
#include "framework/ui/dialog.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/worker_thread.h"
#include "tests/framework/ui/test_dialogs_res.h"
#include "tests/support/callback_exceptions.h"
#include "tests/support/gui_driver.h"

namespace {

const UINT kThrowInWindowProcedure = WM_APP + 1;
const UINT kPing = WM_APP + 2;
const LRESULT kPong = 0x51;

const UINT kThrowInCommand = IDM_TEST_ALL;
const UINT kOpenThrowingDialog = IDM_TEST_DOC_UP;
const UINT kRunThrowingWorker = IDM_TEST_CHILD_UP;

// What reached the program's reports, written on the program's threads, read on the test's.
class CReports {
public:
    void Add(const std::string& report)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_reports.push_back(report);
    }
    std::vector<std::string> All()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_reports;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_reports;
};

CReports g_reports;
// Pings the program's window procedure has answered, sent or posted.
std::atomic<int> g_pings{0};

// The text of the exception being handled.
std::string HandledExceptionText()
{
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "?";
    }
}

class CRecordingApp : public CWinApp {
public:
    void ReportCommandException() override { g_reports.Add(HandledExceptionText()); }
};

// The check box throws from the dialog procedure; OK and Cancel still end the dialog.
class CThrowingDlg : public CDialog {
public:
    CThrowingDlg() : CDialog(IDD_TEST_SETTINGS) {}

protected:
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (id == IDC_TEST_CHECK)
            throw std::runtime_error("thrown in a dialog procedure");
        return CDialog::OnCommand(id, code, control, result);
    }
};

class CThrowingFrame : public CFrameWnd {
public:
    std::atomic<INT_PTR> m_dialogResult{0};
    std::atomic<DWORD> m_workerExitCode{0};

    bool OnCmdMsg(unsigned id, CCmdUI* ui) override
    {
        static const CommandEntry<CThrowingFrame> kCommands[] = {
            {kThrowInCommand, &CThrowingFrame::OnThrow},
            {kOpenThrowingDialog, &CThrowingFrame::OnThrowingDialog},
            {kRunThrowingWorker, &CThrowingFrame::OnThrowingWorker},
        };
        return RouteToTable(this, kCommands, id, ui) || CFrameWnd::OnCmdMsg(id, ui);
    }

private:
    void OnThrow() { throw std::runtime_error("thrown in a command handler"); }
    void OnThrowingDialog()
    {
        CThrowingDlg dialog;
        m_dialogResult = dialog.DoModal();
    }
    void OnThrowingWorker()
    {
        CWorkerThread worker([]() -> unsigned { throw std::runtime_error("thrown in a worker thread"); });
        if (worker.CreateSuspended() && worker.Resume() && worker.Wait(gui::kTimeoutMs))
            m_workerExitCode = worker.ExitCode();
    }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == kThrowInWindowProcedure)
            throw std::runtime_error("thrown in a window procedure");
        if (msg == kPing) {
            ++g_pings;
            result = kPong;
            return true;
        }
        return CFrameWnd::OnMessage(msg, wParam, lParam, result);
    }
};

// The program: an application and its main frame running the message loop on a thread of its own.
class CallbackExceptions : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_program = std::make_unique<gui::CGuiThread>([this] {
            CRecordingApp app;
            CThrowingFrame frame;
            if (!frame.Create("Throwing frame", 0))
                return;
            frame.ShowWindow(SW_SHOW);
            app.SetMainWnd(&frame);
            m_frameObject = &frame;
            m_frame = frame.m_hWnd;
            m_exitCode = app.Run();
            m_frameObject = nullptr;
        });
        // The first window of a test program can take long to appear when 32-bit Wine runs emulated
        // on a busy machine.
        ASSERT_TRUE(gui::WaitFor([this] { return m_frame.load() != nullptr; }, 3 * gui::kTimeoutMs))
            << "no main frame";
    }
    void TearDown() override
    {
        if (m_frame.load() && IsWindow(m_frame)) {
            PostMessageA(m_frame, WM_CLOSE, 0, 0);
            EXPECT_TRUE(m_program->Join()) << "the message loop did not end on WM_CLOSE";
            EXPECT_EQ(m_exitCode.load(), 0);
        }
        m_program.reset();
    }

    // The program still answers its main window and still runs commands.
    void ExpectStillRunning(const char* after)
    {
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(m_frame, kPing, 0, 0, SMTO_NORMAL, gui::kTimeoutMs, &answer))
            << "no answer after the exception " << after;
        EXPECT_EQ(static_cast<LRESULT>(answer), kPong) << after;
        EXPECT_FALSE(m_program->Done()) << "the message loop ended after the exception " << after;
    }

    // True once a boundary reported an exception whose text is `what`.
    bool Stopped(const std::string& what)
    {
        return gui::WaitFor([&] {
            for (const auto& caught : m_expected.Stopped())
                if (caught.what == what)
                    return true;
            return false;
        });
    }

    // Every throw here is on purpose: the boundaries' reports go to this test, not to a failure.
    CExpectedCallbackExceptions m_expected;
    std::unique_ptr<gui::CGuiThread> m_program;
    std::atomic<HWND> m_frame{nullptr};
    std::atomic<CThrowingFrame*> m_frameObject{nullptr};
    std::atomic<int> m_exitCode{-1};
};

TEST_F(CallbackExceptions, CommandHandler)
{
    size_t before = g_reports.All().size();
    PostMessageA(m_frame, WM_COMMAND, kThrowInCommand, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return g_reports.All().size() > before; })) << "not reported";
    EXPECT_EQ(g_reports.All().back(), "thrown in a command handler");
    ExpectStillRunning("in a command handler");

    // Commands still run, and throw again.
    PostMessageA(m_frame, WM_COMMAND, kThrowInCommand, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return g_reports.All().size() > before + 1; }));
}

TEST_F(CallbackExceptions, WindowProcedure)
{
    // Sent from another thread, the message reaches the window procedure while the program's thread
    // waits in its message loop: the exception would otherwise unwind into the system's frames.
    DWORD_PTR answer = 1;
    ASSERT_TRUE(SendMessageTimeoutA(m_frame, kThrowInWindowProcedure, 0, 0, SMTO_NORMAL, gui::kTimeoutMs, &answer));
    EXPECT_EQ(answer, 0u) << "a handler that threw answers 0";
    EXPECT_TRUE(Stopped("thrown in a window procedure")) << "not reported";
    ExpectStillRunning("in a window procedure");

    // Posted, it goes through DispatchMessage instead; a ping posted after it is handled only once
    // the loop has dispatched past the throw.
    int pings = g_pings;
    PostMessageA(m_frame, kThrowInWindowProcedure, 0, 0);
    PostMessageA(m_frame, kPing, 0, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return g_pings > pings; })) << "the message loop stopped";
    ExpectStillRunning("in a window procedure (posted)");
}

TEST_F(CallbackExceptions, DialogProcedure)
{
    PostMessageA(m_frame, WM_COMMAND, kOpenThrowingDialog, 0);
    HWND dialog = gui::WaitForTopWindow("Test Settings");
    ASSERT_NE(dialog, nullptr);

    // The check box's notification reaches the dialog procedure inside the dialog's own modal loop.
    ASSERT_TRUE(gui::ClickButton(dialog, IDC_TEST_CHECK));
    ASSERT_TRUE(IsWindow(dialog)) << "the dialog went away after the exception";
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, gui::kTimeoutMs, &answer))
        << "the dialog no longer answers";

    ASSERT_TRUE(gui::ClickButton(dialog, IDOK));
    ASSERT_TRUE(gui::WaitFor([&] { return m_frameObject.load() && m_frameObject.load()->m_dialogResult == IDOK; }))
        << "the dialog did not end with OK";
    EXPECT_TRUE(Stopped("thrown in a dialog procedure")) << "not reported";
    ExpectStillRunning("in a dialog procedure");
}

TEST_F(CallbackExceptions, WorkerThread)
{
    PostMessageA(m_frame, WM_COMMAND, kRunThrowingWorker, 0);
    ASSERT_TRUE(gui::WaitFor([&] { return m_frameObject.load() && m_frameObject.load()->m_workerExitCode != 0; }));
    EXPECT_EQ(m_frameObject.load()->m_workerExitCode.load(), 1u) << "the worker's failure reaches its owner";
    EXPECT_TRUE(Stopped("thrown in a worker thread")) << "not reported";
    ExpectStillRunning("in a worker thread");
}

}  // namespace

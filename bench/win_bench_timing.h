// Clocks, the message pump, a table of timed steps and the timing of a dialog's opening for the
// Windows benchmarks.
#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_options.h"
#include "bench/kb_plan.h"

// Elapsed milliseconds from the performance counter.
inline double NowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The processor time of this thread (user and kernel), which the machine's other work does not
// stretch as it stretches the elapsed time; coarse (the system's tick), so it suits the long steps.
inline double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

// Handles every message waiting for this thread.
inline void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A table of timed steps: each row keeps the runs' elapsed and processor times and is shown by their
// medians beside its aim.
class CStepTable {
public:
    void Add(size_t row, const char* step, const char* aim, double ms, double cpu)
    {
        if (m_rows.size() <= row)
            m_rows.resize(row + 1);
        m_rows[row].step = step;
        m_rows[row].aim = aim;
        m_rows[row].ms.push_back(ms);
        m_rows[row].cpu.push_back(cpu);
    }
    // Times `run` into row `row`.
    template <class Run>
    void Time(size_t row, const char* step, const char* aim, Run run)
    {
        double start = NowMs();
        double cpu = ThreadCpuMs();
        run();
        Add(row, step, aim, NowMs() - start, ThreadCpuMs() - cpu);
    }
    void Print(int width) const
    {
        std::printf("  %-*s %10s %10s  %s\n", width, "step (medians)", "ms", "cpu ms", "aim (ms)");
        for (const Row& row : m_rows)
            std::printf("  %-*s %10.1f %10.1f  %s\n", width, row.step.c_str(), Median(row.ms), Median(row.cpu),
                        row.aim.c_str());
    }

private:
    struct Row {
        std::string step;
        std::string aim;
        std::vector<double> ms;
        std::vector<double> cpu;
    };
    std::vector<Row> m_rows;
};

// Times how long a modal dialog takes to show. `show` runs its DoModal; a timer of the dialog's own
// modal loop finds the visible window captioned `caption`, lets it paint, hands it to `shown` with the
// time since `show` began (elapsed and this thread's processor time), and closes it with IDCANCEL
// once `shown` returns (`shown` may time steps inside the dialog meanwhile).
inline void TimeDialogShown(const char* caption, const std::function<void()>& show,
                            const std::function<void(HWND dialog, double ms, double cpu)>& shown)
{
    struct Pending {
        const char* caption;
        const std::function<void(HWND, double, double)>* shown;
        double start;
        double cpu;
    };
    static Pending pending;
    pending = Pending{caption, &shown, NowMs(), ThreadCpuMs()};
    struct Timer {
        static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD)
        {
            KillTimer(nullptr, timer);
            HWND dialog = FindWindowA(nullptr, pending.caption);
            if (!dialog || !IsWindowVisible(dialog)) {
                SetTimer(nullptr, 0, 1, Tick);
                return;
            }
            RedrawWindow(dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            (*pending.shown)(dialog, NowMs() - pending.start, ThreadCpuMs() - pending.cpu);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
    };
    SetTimer(nullptr, 0, 1, Timer::Tick);
    show();
}

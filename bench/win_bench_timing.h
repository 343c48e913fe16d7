// Clocks and the message pump of the Windows benchmarks.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

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

// The command line every such benchmark takes: --articles N, --rounds N, --folder DIR (the file is
// generated there; the temporary folder by default).
struct BenchOptions {
    int articles;
    int rounds;
    std::string folder;
};

inline BenchOptions ReadBenchOptions(int argc, char** argv, int articles, int rounds)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    BenchOptions options{articles, rounds, temp};
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--articles")
            options.articles = std::atoi(argv[i + 1]);
        else if (arg == "--rounds")
            options.rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (arg == "--folder")
            options.folder = argv[i + 1];
    }
    return options;
}

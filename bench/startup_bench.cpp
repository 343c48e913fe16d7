// Times quorvane.exe as a user meets it, under Wine:
//   start    from process creation to a shown main window that answers a message (no start file, the
//            splash, the tip of the day and the welcome dialog off);
//   splash   the same with the splash on (it shows over the main window, which must not wait for it);
//   welcome  with the tip of the day and the welcome dialog on (splash off): from the tip's Close to
//            the welcome dialog shown and answering;
//   command  from process creation, with a data file named on the command line, to the index window
//            listing all its titles and the program answering;
//   open     File > Open (the command posted, the dialog filled in): from the click on OK to the same.
// A minimal window program (this one with --window) is started and timed like the first, which is
// Wine's own cost of starting a process; each figure is also given with that cost taken off.
//
//   startup_bench --program DIR\quorvane.exe [--runs N] [--file PATH.xrd --titles N]
//
// Every start runs the program from a copy in a fresh portable folder (the INI beside it, and the
// tip file when the program has one beside it), so that nothing one run leaves (recent files,
// placement, the tip reached) changes the next. Prints one line per run and the medians; the first
// run of a process is the cold one when its wineserver was just started (scripts:
// bench/startup_bench.sh).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr UINT kFileOpenCommand = 57601;
constexpr int kTipCloseId = IDCANCEL;
constexpr int kViewId = 0xE900;
constexpr int kTitleListId = 1003;
constexpr DWORD kTimeoutMs = 120000;
const char kWindowCaption[] = "startup bench window";

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return static_cast<double>(count.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Polls `condition` every millisecond until it holds; false after the time-out.
bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs = kTimeoutMs)
{
    const double end = Now() + timeoutMs;
    while (!condition()) {
        if (Now() > end)
            return false;
        Sleep(1);
    }
    return true;
}

bool Answers(HWND hwnd)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result) != 0;
}

struct FindTop {
    DWORD process;
    const char* className;  // null: a window whose caption starts with `caption`
    const char* caption;
    HWND found;
};

BOOL CALLBACK FindTopProc(HWND hwnd, LPARAM param)
{
    auto* find = reinterpret_cast<FindTop*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != find->process || !IsWindowVisible(hwnd))
        return TRUE;
    char text[256] = {};
    if (find->className) {
        GetClassNameA(hwnd, text, sizeof text);
        if (lstrcmpA(text, find->className) != 0)
            return TRUE;
    } else {
        GetWindowTextA(hwnd, text, sizeof text);
        if (std::string(text).rfind(find->caption, 0) != 0)
            return TRUE;
    }
    find->found = hwnd;
    return FALSE;
}

HWND TopWindow(DWORD process, const char* className, const char* caption)
{
    FindTop find = {process, className, caption, nullptr};
    EnumWindows(FindTopProc, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

// The titles list of the program's index window; null until it shows.
HWND TitleList(HWND main)
{
    HWND client = FindWindowExA(main, nullptr, "MDICLIENT", nullptr);
    HWND frame = client ? GetWindow(client, GW_CHILD) : nullptr;
    if (!frame || !IsWindowVisible(frame))
        return nullptr;
    HWND view = GetDlgItem(frame, kViewId);
    return view ? GetDlgItem(view, kTitleListId) : nullptr;
}

bool ShowsTitles(HWND main, long titles)
{
    HWND list = TitleList(main);
    DWORD_PTR count = 0;
    return list && SendMessageTimeoutA(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 10000, &count) &&
           static_cast<long>(count) == titles && Answers(main);
}

class CProgram {
public:
    ~CProgram() { Stop(); }

    bool Start(const std::string& exe, const std::string& arguments)
    {
        std::string line = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::string folder = exe.substr(0, exe.find_last_of('\\'));
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &m_info))
            return false;
        CloseHandle(m_info.hThread);
        return true;
    }
    DWORD Id() const { return m_info.dwProcessId; }
    // Closes the main window and waits; a program still there after that is ended.
    void Stop(HWND main = nullptr)
    {
        if (!m_info.hProcess)
            return;
        if (main)
            PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_info.hProcess, main ? 30000 : 0) != WAIT_OBJECT_0) {
            TerminateProcess(m_info.hProcess, 1);
            WaitForSingleObject(m_info.hProcess, 10000);
        }
        CloseHandle(m_info.hProcess);
        m_info = PROCESS_INFORMATION();
    }

private:
    PROCESS_INFORMATION m_info = {};
};

// What shows at start-up, as the INI beside the program sets it.
enum class StartupWindows { kNone, kSplash, kTipAndWelcome };

// A fresh portable folder with a copy of the program (and its tip file): the INI beside it marks it
// portable and turns on only the start-up windows `windows` asks for.
std::string PrepareFolder(const std::string& program, int run, StartupWindows windows = StartupWindows::kNone)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "quor_startup_" + std::to_string(GetCurrentProcessId()) + "_" +
                         std::to_string(run);
    CreateDirectoryA(folder.c_str(), nullptr);
    std::string exe = folder + "\\quorvane.exe";
    if (!CopyFileA(program.c_str(), exe.c_str(), FALSE))
        return std::string();
    const std::string tips = program.substr(0, program.find_last_of('\\')) + "\\quorvane.tod";
    CopyFileA(tips.c_str(), (folder + "\\quorvane.tod").c_str(), FALSE);
    std::string ini = "[QUORVANE]\r\nPortable=1\r\n";
    switch (windows) {
    case StartupWindows::kNone:
        ini += "InitOptions=1281\r\nShowTipOfTheDay=0\r\nWelcome=2\r\n";
        break;
    case StartupWindows::kSplash:
        ini += "InitOptions=0\r\nShowTipOfTheDay=0\r\nWelcome=2\r\n";
        break;
    case StartupWindows::kTipAndWelcome:
        ini += "InitOptions=1281\r\nShowTipOfTheDay=1\r\nTipOfTheDay=0\r\nWelcome=1\r\n";
        break;
    }
    HANDLE file = CreateFileA((folder + "\\quorvane.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, ini.data(), static_cast<DWORD>(ini.size()), &written, nullptr);
    CloseHandle(file);
    return exe;
}

void RemoveFolder(const std::string& exe)
{
    std::string folder = exe.substr(0, exe.find_last_of('\\'));
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name != "." && name != "..")
                DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// -1 when a step failed.
double TimeBaseline(const std::string& self)
{
    CProgram program;
    const double start = Now();
    if (!program.Start(self, "--window"))
        return -1;
    HWND window = nullptr;
    if (!WaitFor([&] { return (window = TopWindow(program.Id(), nullptr, kWindowCaption)) && Answers(window); }))
        return -1;
    const double took = Now() - start;
    program.Stop(window);
    return took;
}

double TimeStart(const std::string& exe)
{
    CProgram program;
    const double start = Now();
    if (!program.Start(exe, ""))
        return -1;
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = TopWindow(program.Id(), nullptr, "Personal Quorvane")) && Answers(main); }))
        return -1;
    const double took = Now() - start;
    program.Stop(main);
    return took;
}

// From the tip's Close to the welcome dialog shown and answering.
double TimeWelcomeAfterTip(const std::string& exe)
{
    CProgram program;
    if (!program.Start(exe, ""))
        return -1;
    HWND tip = nullptr;
    if (!WaitFor([&] { return (tip = TopWindow(program.Id(), nullptr, "Tip of the Day")) && Answers(tip); }))
        return -1;
    HWND close = GetDlgItem(tip, kTipCloseId);
    const double start = Now();
    PostMessageA(tip, WM_COMMAND, MAKEWPARAM(kTipCloseId, BN_CLICKED), reinterpret_cast<LPARAM>(close));
    HWND welcome = nullptr;
    if (!WaitFor([&] { return (welcome = TopWindow(program.Id(), nullptr, "Welcome to Personal Quorvane")) &&
                              Answers(welcome); }))
        return -1;
    const double took = Now() - start;
    HWND main = TopWindow(program.Id(), nullptr, "Personal Quorvane");
    PostMessageA(welcome, WM_COMMAND, IDCANCEL, 0);
    program.Stop(main);
    return took;
}

double TimeCommandLine(const std::string& exe, const std::string& file, long titles)
{
    CProgram program;
    const double start = Now();
    if (!program.Start(exe, "\"" + file + "\""))
        return -1;
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = TopWindow(program.Id(), nullptr, "Personal Quorvane")) != nullptr; }) ||
        !WaitFor([&] { return ShowsTitles(main, titles); }))
        return -1;
    const double took = Now() - start;
    program.Stop(main);
    return took;
}

double TimeFileOpen(const std::string& exe, const std::string& file, long titles)
{
    CProgram program;
    if (!program.Start(exe, ""))
        return -1;
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = TopWindow(program.Id(), nullptr, "Personal Quorvane")) && Answers(main); }))
        return -1;
    PostMessageA(main, WM_COMMAND, kFileOpenCommand, 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = TopWindow(program.Id(), "#32770", nullptr)) && Answers(dialog); }))
        return -1;
    // The file name box: the combo box of the Explorer-style dialog, or the old-style edit.
    HWND name = GetDlgItem(dialog, 0x47C);
    if (!name)
        name = GetDlgItem(dialog, 0x480);
    if (!name)
        return -1;
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()), SMTO_ABORTIFHUNG, 10000,
                        &ignored);
    const double start = Now();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    if (!WaitFor([&] { return ShowsTitles(main, titles); }))
        return -1;
    const double took = Now() - start;
    program.Stop(main);
    return took;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunWindow()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "StartupBenchWindow";
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&windowClass);
    HWND hwnd = CreateWindowA("StartupBenchWindow", kWindowCaption, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                              400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

std::string FullPath(const std::string& path)
{
    char full[MAX_PATH] = {};
    return GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr) ? std::string(full) : path;
}

}  // namespace

int main(int argc, char** argv)
{
    std::string program, file;
    int runs = 5;
    long titles = 0;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--window")
            return RunWindow();
        if (arg == "--program" && i + 1 < argc)
            program = FullPath(argv[++i]);
        else if (arg == "--file" && i + 1 < argc)
            file = FullPath(argv[++i]);
        else if (arg == "--titles" && i + 1 < argc)
            titles = std::atol(argv[++i]);
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: startup_bench --program quorvane.exe [--runs N] [--file F.xrd --titles N]\n");
            return 2;
        }
    }
    if (program.empty() || (!file.empty() && titles <= 0)) {
        std::fprintf(stderr, "startup_bench: --program is needed, and --titles with --file\n");
        return 2;
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);

    struct Series {
        const char* name;
        StartupWindows windows;
        std::function<double(const std::string&)> time;
        std::vector<double> values;
    };
    std::vector<Series> series;
    series.push_back({"start", StartupWindows::kNone, [](const std::string& exe) { return TimeStart(exe); }, {}});
    series.push_back({"baseline", StartupWindows::kNone, [&](const std::string&) { return TimeBaseline(self); }, {}});
    series.push_back({"splash", StartupWindows::kSplash, [](const std::string& exe) { return TimeStart(exe); }, {}});
    series.push_back({"welcome", StartupWindows::kTipAndWelcome,
                      [](const std::string& exe) { return TimeWelcomeAfterTip(exe); }, {}});
    if (!file.empty()) {
        series.push_back({"command", StartupWindows::kNone,
                          [&](const std::string& exe) { return TimeCommandLine(exe, file, titles); }, {}});
        series.push_back({"open", StartupWindows::kNone,
                          [&](const std::string& exe) { return TimeFileOpen(exe, file, titles); }, {}});
    }
    int failures = 0;
    for (int run = 0; run < runs; ++run) {
        for (Series& one : series) {
            std::string exe = PrepareFolder(program, run, one.windows);
            double ms = exe.empty() ? -1 : one.time(exe);
            RemoveFolder(exe);
            std::printf("run %d %-9s %8.1f ms\n", run + 1, one.name, ms);
            std::fflush(stdout);
            if (ms < 0)
                ++failures;
            else
                one.values.push_back(ms);
        }
    }
    // The open is timed from OK, with the program running: no process start to take off.
    const double baseline = Median(series[1].values);
    for (const Series& one : series) {
        const std::string name = one.name;
        if (name == "start" || name == "splash" || name == "command")
            std::printf("median %-9s %8.1f ms   without Wine's process start %8.1f ms\n", one.name,
                        Median(one.values), Median(one.values) - baseline);
        else
            std::printf("median %-9s %8.1f ms\n", one.name, Median(one.values));
    }
    return failures ? 1 : 0;
}

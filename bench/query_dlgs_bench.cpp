// Windows benchmark of the query dialogs (run under Wine:
//   scripts/wine-run build/win64/bin/query_dlgs_bench.exe [--articles N] [--keywords N] [--queries N]
//   [--rounds N] [--folder DIR]):
// a generated knowledge base (100,000 articles, 10,000 keywords by default) opened through the
// Windows host, then, `rounds` times each, the median of:
// - Build Query shown: from DoModal until its window is visible and has painted (the keyword list
//   holds every keyword);
// - one insertion: the AND button pressed, and one keyword inserted from the list (its press handled);
// - Manage Queries over `queries` saved queries shown and painted, and one refill of its list (a
//   Delete answered Yes, which removes one entry and fills the list again).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/kb_plan.h"
#include "document/quorvane_doc.h"
#include "index/current_query.h"
#include "index/query_list.h"
#include "index/ui/query_dlgs.h"
#include "index/ui/query_dlgs_res.h"
#include "tests/document/ui/test_windows_doc_host.h"

namespace {

double NowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// This thread's processor time: a loaded machine stretches the elapsed time, not this.
double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user))
        return 0;
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

struct Times {
    std::vector<double> ms;
    std::vector<double> cpu;
};

double g_start = 0;
double g_startCpu = 0;
const char* g_caption = "";
Times g_buildShown;
Times g_manageShown;
Times g_andInsert;
Times g_keywordInsert;
Times g_refill;

// Times one step run on this thread (a press's handler has run when SendMessage returns).
template <class Step>
void Time(Times& times, Step step)
{
    double start = NowMs();
    double cpu = ThreadCpuMs();
    step();
    times.ms.push_back(NowMs() - start);
    times.cpu.push_back(ThreadCpuMs() - cpu);
}

void Press(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// Runs on the dialog's thread inside its modal loop: once the dialog has shown and painted, takes the
// time, times the steps, and closes the dialog.
void CALLBACK WhenShown(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND dialog = FindWindowA(nullptr, g_caption);
    if (!dialog || !IsWindowVisible(dialog)) {
        SetTimer(nullptr, 0, 1, WhenShown);
        return;
    }
    UpdateWindow(dialog);
    const bool build = GetDlgItem(dialog, IDC_BQ_AND) != nullptr;
    Times& shown = build ? g_buildShown : g_manageShown;
    shown.ms.push_back(NowMs() - g_start);
    shown.cpu.push_back(ThreadCpuMs() - g_startCpu);
    if (build) {
        Time(g_andInsert, [&] { Press(dialog, IDC_BQ_AND); });
        HWND list = GetDlgItem(dialog, IDC_BQ_KEYWORDS);
        SendMessageA(list, LB_SETSEL, TRUE, 5000);
        SendMessageA(list, LB_SETCARETINDEX, 5000, FALSE);
        Time(g_keywordInsert, [&] {
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BQ_KEYWORDS, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        });
    } else {
        HWND list = GetDlgItem(dialog, IDC_MQ_LIST);
        SendMessageA(list, LB_SETCURSEL, 250, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MQ_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        Time(g_refill, [&] { Press(dialog, IDC_MQ_DELETE); });
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Report(const char* what, Times times)
{
    if (times.ms.empty())
        return;
    std::sort(times.ms.begin(), times.ms.end());
    std::printf("%s: median %.1f ms (this thread's processor time %.1f ms), max %.1f ms over %zu runs\n", what,
                Median(times.ms), Median(times.cpu), times.ms.back(), times.ms.size());
}

}  // namespace

int main(int argc, char** argv)
{
    int articles = 100000;
    int keywords = 10000;
    int queries = 500;
    int rounds = 5;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string folder = temp;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string arg = argv[i];
        if (arg == "--articles")
            articles = std::atoi(argv[i + 1]);
        else if (arg == "--keywords")
            keywords = std::atoi(argv[i + 1]);
        else if (arg == "--queries")
            queries = std::atoi(argv[i + 1]);
        else if (arg == "--rounds")
            rounds = std::max(1, std::atoi(argv[i + 1]));
        else if (arg == "--folder")
            folder = argv[i + 1];
    }
    if (articles < 1000 || keywords < 5001 || queries < 251) {
        std::fprintf(stderr, "usage: query_dlgs_bench [--articles N>=1000] [--keywords N>5000] [--queries N>250] "
                             "[--rounds N] [--folder DIR]\n");
        return 2;
    }
    Plan plan = MakePlan(articles, keywords, Body::kTiny, 1);
    const std::string path = folder + "\\query_dlgs_bench.xrd";
    double start = NowMs();
    GenerateDataFile(path, plan);
    std::printf("%d articles, %d keywords: generated in %.0f ms\n", articles, keywords, NowMs() - start);
    {
        CTestWindowsDocHost host;
        CQuorvaneDoc document(host);
        start = NowMs();
        if (!document.OnOpenDocument(path)) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        std::printf("opened in %.0f ms\n", NowMs() - start);
        QueryServices().messageBox = [](HWND, const std::string&, UINT) { return IDYES; };
        for (int round = 0; round < rounds; ++round) {
            g_caption = "Build Query";
            SetTimer(nullptr, 0, 1, WhenShown);
            g_start = NowMs();
            g_startCpu = ThreadCpuMs();
            CBuildQueryDlg dialog;
            dialog.SetSources(&document, nullptr);
            dialog.m_text = "Keyword 1 OR Keyword 2";
            dialog.DoModal();
        }
        CQueryList& list = document.GetQueryList();
        for (int i = 0; i < queries + rounds; ++i)
            list.Add("Query " + std::to_string(i), "keyword AND other", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
        CCurrentQuery current(&document);
        for (int round = 0; round < rounds; ++round) {
            // One query goes per round: the list opens with `queries` entries (and the spare ones).
            g_caption = "Manage Queries";
            SetTimer(nullptr, 0, 1, WhenShown);
            g_start = NowMs();
            g_startCpu = ThreadCpuMs();
            CManageQueriesDlg dialog(document, current, nullptr);
            dialog.DoModal();
        }
        document.DeleteContents();
    }
    Report("Build Query shown (all keywords listed, painted)", g_buildShown);
    Report("Build Query insertion: AND", g_andInsert);
    Report("Build Query insertion: a keyword from the list", g_keywordInsert);
    Report("Manage Queries shown and painted", g_manageShown);
    Report("Manage Queries refill after Delete", g_refill);
    DeleteFileA(path.c_str());
    std::fflush(stdout);
    return 0;
}

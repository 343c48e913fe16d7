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

double g_start = 0;
const char* g_caption = "";
std::vector<double> g_shown;
std::vector<double> g_andInsert;
std::vector<double> g_keywordInsert;
std::vector<double> g_refill;

// Times one synchronous press (the handler has run when SendMessage returns).
double TimePress(HWND dialog, int id)
{
    double start = NowMs();
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    return NowMs() - start;
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
    g_shown.push_back(NowMs() - g_start);
    if (GetDlgItem(dialog, IDC_BQ_AND)) {
        g_andInsert.push_back(TimePress(dialog, IDC_BQ_AND));
        HWND list = GetDlgItem(dialog, IDC_BQ_KEYWORDS);
        SendMessageA(list, LB_SETSEL, TRUE, 5000);
        SendMessageA(list, LB_SETCARETINDEX, 5000, FALSE);
        double start = NowMs();
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_BQ_KEYWORDS, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        g_keywordInsert.push_back(NowMs() - start);
    } else {
        HWND list = GetDlgItem(dialog, IDC_MQ_LIST);
        SendMessageA(list, LB_SETCURSEL, 250, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_MQ_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        g_refill.push_back(TimePress(dialog, IDC_MQ_DELETE));
    }
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Report(const char* what, std::vector<double> times)
{
    if (times.empty())
        return;
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.1f ms, max %.1f ms over %zu runs\n", what, Median(times), times.back(), times.size());
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
            CManageQueriesDlg dialog(document, current, nullptr);
            dialog.DoModal();
        }
        document.DeleteContents();
    }
    Report("Build Query shown (all keywords listed, painted)", std::vector<double>(g_shown.begin(), g_shown.begin() + rounds));
    Report("Build Query insertion: AND", g_andInsert);
    Report("Build Query insertion: a keyword from the list", g_keywordInsert);
    Report("Manage Queries shown and painted", std::vector<double>(g_shown.begin() + rounds, g_shown.end()));
    Report("Manage Queries refill after Delete", g_refill);
    DeleteFileA(path.c_str());
    std::fflush(stdout);
    return 0;
}

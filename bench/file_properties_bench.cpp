// Windows benchmark of the File Properties sheet (run under Wine:
//   scripts/wine-run build/win64/bin/file_properties_bench.exe [--articles N] [--rounds N] [--folder DIR]):
// a generated knowledge base (100,000 articles, 10,000 keywords) opened through the Windows host, then
// the sheet made and shown on its General page, `rounds` times. Timed, the median: from the sheet's
// construction (which reads the file's facts) until its window is visible and has painted. The counts
// come from the tables, so no article is read.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/kb_plan.h"
#include "bench/win_bench_timing.h"
#include "document/quorvane_doc.h"
#include "document/ui/file_property_sheet.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "tests/document/ui/test_windows_doc_host.h"

namespace {

double g_start = 0;
std::vector<double> g_times;

// Ends the sheet once it has shown and painted: the time until then is the measure.
void CALLBACK WhenShown(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    HWND sheet = FindWindowA(nullptr, "File Properties");
    if (!sheet || !IsWindowVisible(sheet)) {
        SetTimer(nullptr, 0, 1, WhenShown);
        return;
    }
    UpdateWindow(sheet);
    g_times.push_back(NowMs() - g_start);
    PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options = ReadBenchOptions(argc, argv, 100000, 5);
    const int articles = options.articles;
    const int rounds = options.rounds;
    const std::string folder = options.folder;
    if (articles < 1000) {
        std::fprintf(stderr, "usage: file_properties_bench [--articles N>=1000] [--rounds N] [--folder DIR]\n");
        return 2;
    }
    Plan plan = MakePlan(articles, 10000, Body::kTiny, 1);
    const std::string path = folder + "\\file_properties_bench.xrd";
    double start = NowMs();
    GenerateDataFile(path, plan);
    std::printf("%d articles, 10000 keywords: generated in %.0f ms\n", articles, NowMs() - start);
    {
        CTestWindowsDocHost host;
        CMemoryProfileStore store;
        CFontSettings fonts;
        CDirectories directories;
        CAppSettings settings(store, fonts, directories);
        CQuorvaneDoc document(host);
        document.SetSettings(&settings);
        document.SetDirectories(&directories);
        start = NowMs();
        if (!document.OnOpenDocument(path)) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        std::printf("opened in %.0f ms\n", NowMs() - start);
        for (int round = 0; round < rounds; ++round) {
            SetTimer(nullptr, 0, 1, WhenShown);
            g_start = NowMs();
            CFilePropertySheet sheet(document, host, settings, directories, FilePropertyServices());
            sheet.Run();
        }
        document.DeleteContents();
    }
    std::vector<double> times = g_times;
    std::sort(times.begin(), times.end());
    if (!times.empty())
        std::printf("File Properties shown (General page, painted): median %.1f ms, max %.1f ms over %zu runs\n",
                    Median(times), times.back(), times.size());
    DeleteFileA(path.c_str());
    std::fflush(stdout);
    return 0;
}

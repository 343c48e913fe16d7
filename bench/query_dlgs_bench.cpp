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

#include <cstdio>
#include <string>

#include "bench/kb_plan.h"
#include "bench/win_bench_timing.h"
#include "document/quorvane_doc.h"
#include "index/current_query.h"
#include "index/query_list.h"
#include "index/ui/query_dlgs.h"
#include "index/ui/query_dlgs_res.h"
#include "tests/document/ui/test_windows_doc_host.h"

namespace {

void Press(HWND dialog, int id)
{
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

}  // namespace

int main(int argc, char** argv)
{
    const BenchOptions options = ReadBenchOptions(argc, argv, 100000, 5, {{"keywords", 10000}, {"queries", 500}});
    const int articles = options.articles;
    const int keywords = options.Number("keywords");
    const int queries = options.Number("queries");
    const int rounds = options.rounds;
    const std::string folder = options.folder;
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
    CStepTable table;
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
        // A press's handler has run when SendMessage returns: each step is timed on the dialog's thread.
        for (int round = 0; round < rounds; ++round) {
            CBuildQueryDlg dialog;
            dialog.SetSources(&document, nullptr);
            dialog.m_text = "Keyword 1 OR Keyword 2";
            TimeDialogShown("Build Query", [&] { dialog.DoModal(); }, [&](HWND shown, double ms, double cpu) {
                table.Add(0, "Build Query shown (all keywords listed, painted)", "", ms, cpu);
                table.Time(1, "Build Query insertion: AND", "", [&] { Press(shown, IDC_BQ_AND); });
                HWND list = GetDlgItem(shown, IDC_BQ_KEYWORDS);
                SendMessageA(list, LB_SETSEL, TRUE, 5000);
                SendMessageA(list, LB_SETCARETINDEX, 5000, FALSE);
                table.Time(2, "Build Query insertion: a keyword from the list", "", [&] {
                    SendMessageA(shown, WM_COMMAND, MAKEWPARAM(IDC_BQ_KEYWORDS, LBN_DBLCLK),
                                 reinterpret_cast<LPARAM>(list));
                });
            });
        }
        CQueryList& list = document.GetQueryList();
        for (int i = 0; i < queries + rounds; ++i)
            list.Add("Query " + std::to_string(i), "keyword AND other", CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
        CCurrentQuery current(&document);
        for (int round = 0; round < rounds; ++round) {
            // One query goes per round: the list opens with `queries` entries (and the spare ones).
            CManageQueriesDlg dialog(document, current, nullptr);
            TimeDialogShown("Manage Queries", [&] { dialog.DoModal(); }, [&](HWND shown, double ms, double cpu) {
                table.Add(3, "Manage Queries shown and painted", "", ms, cpu);
                HWND queryList = GetDlgItem(shown, IDC_MQ_LIST);
                SendMessageA(queryList, LB_SETCURSEL, 250, 0);
                SendMessageA(shown, WM_COMMAND, MAKEWPARAM(IDC_MQ_LIST, LBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(queryList));
                table.Time(4, "Manage Queries refill after Delete", "", [&] { Press(shown, IDC_MQ_DELETE); });
            });
        }
        document.DeleteContents();
    }
    table.Print(50);
    DeleteFileA(path.c_str());
    std::fflush(stdout);
    return 0;
}

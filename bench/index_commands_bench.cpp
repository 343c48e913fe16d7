// Windows benchmark of the index window's article commands on many titles (run under Wine:
//   scripts/wine-run build/win64/bin/index_commands_bench.exe [--articles N] [--rounds N] [--folder DIR]):
// a generated knowledge base (100,000 articles, 10,000 keywords) in an index window listing every
// title. Timed, each the median of `rounds` runs:
//   - Bookmark (Ctrl+T) on 10,000 highlighted titles in sort order 4 (by bookmark), through the
//     command: the document stores each bookmark and tells the view; the view resorts and repaints
//     once;
//   - the index view's share of Delete Article on 10,000 titles: the notifications the document sends
//     for each deleted article (the title removed, the caption, the reminders) inside the command's
//     batch, and the one pass that takes the titles out at its end.
// For comparison: a full resort, highlights set one LB_SETSEL at a time, and the highlights applied
// again by runs. Each is shown as elapsed time and as this thread's processor time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bench/bench_index_window.h"
#include "bench/kb_plan.h"
#include "bench/win_bench_timing.h"
#include "document/quorvane_doc.h"
#include "index/ui/index_view.h"
#include "tests/document/ui/test_windows_doc_host.h"

namespace {

// Highlights every tenth title (with redraw off: each highlight would repaint a shown list).
void HighlightEveryTenth(CIndexTitleList& titles, int wanted)
{
    titles.SendMessage(WM_SETREDRAW, FALSE);
    titles.SendMessage(LB_SETSEL, FALSE, -1);
    for (int i = 0; i < wanted && i * 10 < titles.GetItemCount(); ++i)
        titles.SendMessage(LB_SETSEL, TRUE, static_cast<LPARAM>(i * 10));
    titles.SendMessage(WM_SETREDRAW, TRUE);
    titles.Invalidate();
    Pump();
}

}  // namespace

int main(int argc, char** argv)
{
    BenchOptions options = ReadBenchOptions(argc, argv, 100000, 3);
    const int articles = options.articles;
    const int rounds = options.rounds;
    const std::string folder = options.folder;
    if (articles < 20000) {
        std::fprintf(stderr, "usage: index_commands_bench [--articles N>=20000] [--rounds N] [--folder DIR]\n");
        return 2;
    }
    Plan plan = MakePlan(articles, 10000, Body::kTiny, 1);
    std::string path = folder + "\\index_commands_bench.xrd";
    GenerateDataFile(path, plan);

    CTestWindowsDocHost host;
    CBenchIndexWindow window(host, "Index commands benchmark");
    window.Settings().SetShowDate(1);
    window.Open(path);
    Pump();
    CIndexView* view = &window.View();
    CQuorvaneDoc* document = &window.Document();
    CIndexTitleList& titles = view->TitleList();
    view->SendMessage(WM_COMMAND, IDM_ARTICLE_ALL_TITLES, 0);
    document->SetSortOrder(4);
    view->IndexNotify(IndexCode::kSortOrderChanged, 0, 0);
    Pump();
    std::printf("%d titles listed, sort order %d\n", titles.GetItemCount(), document->GetSortOrder());

    std::vector<double> bookmarkMs, bookmarkCpu, deleteMs, deleteCpu, resortMs, resortCpu, highlightMs, highlightCpu,
        applyMs, applyCpu;
    for (int round = 0; round < rounds; ++round) {
        // Ctrl+T twice per round: bookmarks on, then off again, each timed.
        for (int pass = 0; pass < 2; ++pass) {
            HighlightEveryTenth(titles, 10000);
            double start = NowMs(), cpu = ThreadCpuMs();
            view->SendMessage(WM_COMMAND, IDM_ARTICLE_BOOKMARK, 0);
            view->UpdateWindow();
            bookmarkMs.push_back(NowMs() - start);
            bookmarkCpu.push_back(ThreadCpuMs() - cpu);
            Pump();
        }
        // The view's share of deleting 10,000 titles: what the document sends per article, in the
        // command's batch.
        HighlightEveryTenth(titles, 10000);
        CArticleIdSet ids;
        titles.GetSelectedIds(ids);
        double start = NowMs(), cpu = ThreadCpuMs();
        {
            CIndexSelection::CTitleBatch batch(view->Selection());
            for (int32_t id : ids.Values()) {
                view->RemoveArticleTitle(id);
                view->IndexNotify(IndexCode::kTitlesCaption, 0, 0);
                view->IndexNotify(IndexCode::kRemindersChanged, 0, 0);
            }
        }
        view->UpdateWindow();
        deleteMs.push_back(NowMs() - start);
        deleteCpu.push_back(ThreadCpuMs() - cpu);
        std::printf("round %d: %d titles left\n", round + 1, titles.GetItemCount());
        // The titles come back for the next round (the document still holds them all).
        CArticleIdSet all;
        document->GetAllArticleIds(all);
        titles.SetIds(all);
        Pump();
        // Apart, for comparison: the list's own work.
        start = NowMs(), cpu = ThreadCpuMs();
        HighlightEveryTenth(titles, 10000);
        highlightMs.push_back(NowMs() - start);
        highlightCpu.push_back(ThreadCpuMs() - cpu);
        start = NowMs(), cpu = ThreadCpuMs();
        titles.Reposition(CArticleIdSet());
        applyMs.push_back(NowMs() - start);
        applyCpu.push_back(ThreadCpuMs() - cpu);
        start = NowMs(), cpu = ThreadCpuMs();
        titles.Resort(true);
        resortMs.push_back(NowMs() - start);
        resortCpu.push_back(ThreadCpuMs() - cpu);
    }
    std::printf("  %-62s %10s %10s  %s\n", "step (medians)", "ms", "cpu ms", "aim (ms)");
    std::printf("  %-62s %10.1f %10.1f  %s\n", "Ctrl+T on 10,000 highlighted titles, sort order 4", Median(bookmarkMs),
                Median(bookmarkCpu), "< 500");
    std::printf("  %-62s %10.1f %10.1f  %s\n", "Delete Article of 10,000 titles: the view's share", Median(deleteMs),
                Median(deleteCpu), "< 200");
    std::printf("  %-62s %10.1f %10.1f  %s\n", "  for comparison: a full resort keeping 10,000 highlights", Median(resortMs),
                Median(resortCpu), "");
    std::printf("  %-62s %10.1f %10.1f  %s\n", "  for comparison: 10,000 highlights by LB_SETSEL, redraw off", Median(highlightMs),
                Median(highlightCpu), "");
    std::printf("  %-62s %10.1f %10.1f  %s\n", "  the list's count and 10,000 scattered highlights reapplied", Median(applyMs),
                Median(applyCpu), "");
    window.Close();
    DeleteFileA(path.c_str());
    return 0;
}

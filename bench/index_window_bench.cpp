// Windows benchmark of the index window (run under Wine:
//   scripts/wine-run build/win64/bin/index_window_bench.exe [--articles N] [--keywords N] [--rounds N]
//                                                          [--folder DIR]):
// a generated knowledge base (100,000 articles, 10,000 keywords used after a Zipf law) opened into an
// index window in an MDI frame through the Windows host, as the program opens it. Timed, each the
// median of `rounds` runs on a freshly opened window:
// the opening with its initial update (the keyword index filled, no titles), every title filled into
// the titles list for the first time (the document reads each title from the file) and again, Resort
// keeping highlights, the keyword index filled, a 1,000-keyword group filter switched on and off,
// RemoveSelected of 5,000 highlighted keywords, one AddId into each list, and type-ahead keys that
// match or match nothing in both lists. Then, on the window opened again with both previews shown,
// the selecting steps as the user takes them: the most used keyword into an empty selection (a
// quarter of the articles), a second (narrowing), OR mode and a third (widening), Move to Index,
// All Titles, Related over all titles, Select All of the first keyword's titles with the keyword
// preview shown, and codes 3 and 23 for one highlighted article among all titles. Each step includes
// the repaint it causes. Each is shown as elapsed time and as this thread's processor time (what a
// loaded machine does not stretch).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "article/ui/article_preview.h"
#include "bench/bench_index_window.h"
#include "bench/kb_plan.h"
#include "bench/win_bench_timing.h"
#include "document/quorvane_doc.h"
#include "index/ui/index_view.h"
#include "tests/document/ui/test_windows_doc_host.h"

namespace {

class CBench {
public:
    CBench(const std::string& path, int rounds) : m_path(path), m_rounds(rounds)
    {
        // The initial update lists no titles: their first fill is timed apart.
        m_window.Settings().SetInitList(2);
        m_window.Settings().SetShowDate(1);
    }

    void Run(const std::vector<int32_t>& groupKeywords, const std::vector<int32_t>& byUse)
    {
        for (int round = 0; round < m_rounds; ++round) {
            RunRound(groupKeywords);
            RunSelecting(byUse);
        }
        m_table.Print(58);
    }

private:
    static CIndexViewServices WithPreview()
    {
        CIndexViewServices services;
        services.makeArticlePreview = [] { return std::unique_ptr<CIndexArticlePreview>(new CArticlePreview); };
        return services;
    }

    template <typename Step>
    void Time(size_t row, const char* name, const char* aim, Step step)
    {
        m_table.Time(row, name, aim, [&] {
            step();
            // The lists are child windows: each paints what the step invalidated.
            RedrawWindow(m_view->m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
        });
        Pump();
    }

    void Close()
    {
        m_window.Close();
        m_view = nullptr;
    }

    void Open()
    {
        m_window.Open(m_path);
        m_view = &m_window.View();
    }

    void RunRound(const std::vector<int32_t>& groupKeywords)
    {
        Close();
        size_t row = 0;
        Time(row++, "open into the index window (keyword index, no titles)", "", [&] { Open(); });
        CQuorvaneDoc* document = dynamic_cast<CQuorvaneDoc*>(m_view->GetDocument());
        CIndexTitleList& titles = m_view->TitleList();
        CIndexIndexList& index = m_view->IndexList();
        CArticleIdSet all;
        document->GetAllArticleIds(all);
        CKeywordIdSet keywords;
        document->GetAllKeywordIds(keywords);

        Time(row++, "titles: first fill of every title", "< 300", [&] { titles.SetIds(all); });
        Time(row++, "titles: fill again", "< 300", [&] { titles.SetIds(all); });
        int count = titles.GetItemCount();
        for (int i = 0; i < 10; ++i)
            titles.SendMessage(LB_SETSEL, TRUE, static_cast<LPARAM>(count / 2 + i * 97));
        Time(row++, "titles: Resort keeping 10 highlights", "", [&] { titles.Resort(true); });
        Time(row++, "keyword index: fill", "< 100", [&] { index.SetIds(keywords); });
        CKeywordIdSet group;
        for (int32_t id : groupKeywords)
            group.Add(id);
        Time(row++, "keyword index: 1,000-keyword group filter on", "< 50",
             [&] { index.SetFilter(group, true, false); });
        Time(row++, "keyword index: group filter off", "< 50", [&] { index.RefreshFilter(false); });
        index.SendMessage(LB_SETSEL, FALSE, -1);
        int keywordCount = index.GetCount();
        std::vector<int32_t> removed;
        // Highlighted with redraw off: each highlight of a shown list would repaint it.
        index.SendMessage(WM_SETREDRAW, FALSE);
        for (int i = 0; i < 5000 && i * 2 < keywordCount; ++i) {
            index.SendMessage(LB_SETSEL, TRUE, static_cast<LPARAM>(i * 2));
            removed.push_back(index.GetItemId(i * 2));
        }
        index.SendMessage(WM_SETREDRAW, TRUE);
        index.Invalidate();
        Pump();
        Time(row++, "keyword index: RemoveSelected of 5,000", "", [&] { index.RemoveSelected(); });
        Time(row++, "keyword index: one AddId", "", [&] { index.AddId(removed[removed.size() / 2], true); });
        int32_t someArticle = all.Values()[all.Values().size() / 3];
        titles.RemoveId(someArticle);
        Time(row++, "titles: one AddId", "", [&] { titles.AddId(someArticle, true); });

        // Type-ahead: every title begins "Article ", every keyword "keyword ".
        titles.SetFocus();
        titles.ResetTypeAhead();
        Time(row++, "titles: type-ahead key that matches ('a')", "< 20",
             [&] { titles.SendMessage(WM_CHAR, 'a', 0); });
        titles.ResetTypeAhead();
        Time(row++, "titles: type-ahead key that matches nothing ('q')", "< 20",
             [&] { titles.SendMessage(WM_CHAR, 'q', 0); });
        index.SetFocus();
        index.ResetTypeAhead();
        Time(row++, "keyword index: type-ahead key that matches ('k')", "< 20",
             [&] { index.SendMessage(WM_CHAR, 'k', 0); });
        index.ResetTypeAhead();
        Time(row++, "keyword index: type-ahead key that matches nothing ('q')", "< 20",
             [&] { index.SendMessage(WM_CHAR, 'q', 0); });
        m_selectingRow = row;
    }

    // Highlights `keyword` alone in `list`, as a click would.
    static void HighlightKeyword(CKeywordListBox& list, int32_t keyword)
    {
        list.SendMessage(LB_SETSEL, FALSE, -1);
        list.SelectId(keyword);
    }

    // `byUse`: keyword ids, the most used first.
    void RunSelecting(const std::vector<int32_t>& byUse)
    {
        Close();
        Open();
        Pump();
        m_view->SetPreviewFlags(3);
        Pump();
        size_t row = m_selectingRow;
        CIndexIndexList& index = m_view->IndexList();
        CSelectedKeywords& selected = m_view->SelectedList();
        CIndexTitleList& titles = m_view->TitleList();
        CIndexSelection& selection = m_view->Selection();
        auto command = [this](UINT id) { m_view->SendMessage(WM_COMMAND, id, 0); };
        auto check = [&](const char* step, int titlesMode) {
            if (selection.GetTitlesMode() != titlesMode || titles.GetItemCount() == 0) {
                std::fprintf(stderr, "%s: titles mode %d with %d titles\n", step, selection.GetTitlesMode(),
                             titles.GetItemCount());
                std::exit(1);
            }
        };

        HighlightKeyword(index, byUse[0]);
        Time(row++, "select: most used keyword into an empty selection", "< 50",
             [&] { command(CIndexView::kMoveToSelectedCommand); });
        check("most used keyword", kTitlesSelected);
        int firstCount = titles.GetItemCount();
        HighlightKeyword(index, byUse[1]);
        Time(row++, "select: a second keyword, AND (narrowing)", "< 50",
             [&] { command(CIndexView::kMoveToSelectedCommand); });
        check("second keyword", kTitlesSelected);
        Time(row++, "select: OR mode (rerun of both keywords)", "< 50",
             [&] { m_view->IndexNotify(IndexCode::kSetAndOrMode, 1, 0); });
        HighlightKeyword(index, byUse[2]);
        Time(row++, "select: a third keyword, OR (widening)", "< 50",
             [&] { command(CIndexView::kMoveToSelectedCommand); });
        check("third keyword", kTitlesSelected);
        HighlightKeyword(selected, byUse[2]);
        Time(row++, "select: Move to Index of the third (rerun)", "< 50",
             [&] { command(CIndexView::kMoveToIndexCommand); });
        m_view->IndexNotify(IndexCode::kSetAndOrMode, 0, 0);
        Time(row++, "select: All Titles", "< 300", [&] { command(IDM_ARTICLE_ALL_TITLES); });
        check("All Titles", kTitlesAll);
        Time(row++, "select: Related index over all titles", "< 100",
             [&] { m_view->IndexNotify(IndexCode::kSetIndexMode, 1, 0); });
        m_view->IndexNotify(IndexCode::kSetIndexMode, 0, 0);

        // The most used keyword alone again, every one of its titles highlighted.
        selection.SelectArticlesByKeywords(CKeywordIdSet());
        CKeywordIdSet first;
        first.Add(byUse[0]);
        selection.AddKeywordsToSelection(first);
        Pump();
        Time(row++, "select: Select All titles, keyword preview shown", "< 100", [&] {
            titles.SendMessage(LB_SETSEL, TRUE, -1);
            m_view->SendMessage(WM_COMMAND, MAKEWPARAM(CIndexView::kTitleList, LBN_SELCHANGE),
                                reinterpret_cast<LPARAM>(titles.m_hWnd));
        });
        if (titles.GetItemCount() != firstCount) {
            std::fprintf(stderr, "Select All: %d titles, not %d\n", titles.GetItemCount(), firstCount);
            std::exit(1);
        }

        // One article changed while every title is listed and it alone is highlighted (both previews).
        command(IDM_ARTICLE_ALL_TITLES);
        int32_t article = titles.GetItemId(titles.GetItemCount() / 2);
        titles.SendMessage(LB_SETSEL, FALSE, -1);
        titles.SelectId(article);
        m_view->SendMessage(WM_COMMAND, MAKEWPARAM(CIndexView::kTitleList, LBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(titles.m_hWnd));
        Pump();
        Time(row++, "article update: code 3 (title changed), all titles", "< 20",
             [&] { m_view->IndexNotify(IndexCode::kArticleTitleChanged, article, 0); });
        Time(row++, "article update: code 23 (stored again), previews shown", "< 20",
             [&] { m_view->IndexNotify(IndexCode::kArticleChanged, article, 0); });
        CKeywordIdSet keywords;
        dynamic_cast<CQuorvaneDoc*>(m_view->GetDocument())->GetArticleKeywordIds(article, keywords);
        Time(row++, "article update: its title placed again (UpdateTitleForArticle)", "< 20",
             [&] { m_view->UpdateTitleForArticle(article, keywords, false); });
    }

    std::string m_path;
    int m_rounds;
    size_t m_selectingRow = 13;
    CTestWindowsDocHost m_host;
    CBenchIndexWindow m_window{m_host, "Index window benchmark", WithPreview()};
    CIndexView* m_view = nullptr;
    CStepTable m_table;
};

}  // namespace

int main(int argc, char** argv)
{
    const BenchOptions options = ReadBenchOptions(argc, argv, 100000, 3, {{"keywords", 10000}});
    const int articles = options.articles;
    const int keywords = options.Number("keywords");
    const int rounds = options.rounds;
    const std::string folder = options.folder;
    if (articles < 1000 || keywords < 2000) {
        std::fprintf(stderr, "usage: index_window_bench [--articles N>=1000] [--keywords N>=2000] [--rounds N] "
                             "[--folder DIR]\n");
        return 2;
    }
    Plan plan = MakePlan(articles, keywords, Body::kTiny, 1);
    std::string path = folder + "\\index_window_bench.xrd";
    double start = NowMs();
    GenerateDataFile(path, plan);
    std::printf("%d articles, %d keywords (Zipf): generated in %.0f ms\n", articles, keywords, NowMs() - start);
    std::vector<int32_t> byUse(static_cast<size_t>(keywords));
    for (int32_t id = 0; id < keywords; ++id)
        byUse[static_cast<size_t>(id)] = id;
    std::stable_sort(byUse.begin(), byUse.end(), [&plan](int32_t a, int32_t b) {
        return plan.uses[static_cast<size_t>(a)] > plan.uses[static_cast<size_t>(b)];
    });
    std::printf("most used keywords: %d, %d and %d articles\n", plan.uses[static_cast<size_t>(byUse[0])],
                plan.uses[static_cast<size_t>(byUse[1])], plan.uses[static_cast<size_t>(byUse[2])]);
    // The group: every tenth keyword of the first 10,000, so it holds popular and rare ones.
    std::vector<int32_t> group;
    for (int32_t id = 0; id < keywords && group.size() < 1000; id += std::max(1, keywords / 1000))
        group.push_back(id);
    {
        CBench bench(path, rounds);
        bench.Run(group, byUse);
    }
    DeleteFileA(path.c_str());
    std::fflush(stdout);
    return 0;
}

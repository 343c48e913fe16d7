// The document's share of the keyword commands that touch many records, on the benchmarks' generated
// knowledge base:
// - Change Keywords for Highlighted Articles over many titles: the document's one operation against
//   the article-by-article saving it replaced. The titles all carry the most used keyword; the change
//   takes it off and gives them a rare one.
// - Import Keyword List of `lines` lines (a fifth of them naming existing keywords in another case,
//   which make nothing), recorded for Undo Import as the command records it, and Undo Import.
//
//   keyword_change_bench [--articles 100000] [--keywords 10000] [--titles 1000] [--lines 5000]
//                        [--folder DIR]
//   scripts/wine-run build/win64/bin/keyword_change_bench.exe (the same under Wine)
//
// Prints, for each step, the elapsed time and the data file's write and flush calls.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/bench_options.h"
#include "bench/file_call_counter.h"
#include "bench/kb_plan.h"
#include "document/keyword_list_file.h"
#include "document/quorvane_doc.h"
#include "storage/article_record.h"
#include "tests/document/doc_test_support.h"

namespace {

template <class Step>
void Measure(const char* name, const std::string& path, int items, const char* unit, Step step)
{
    CFileCallCounter counter(path);
    auto start = std::chrono::steady_clock::now();
    step();
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-22s %5d %-8s %9.1f ms  %7ld write calls  %5ld flushes\n", name, items, unit, ms, counter.writes,
                counter.flushes);
}

}  // namespace

int main(int argc, char** argv)
{
    const BenchOptions options =
        ReadBenchOptions(argc, argv, 100000, 1, {{"keywords", 10000}, {"titles", 1000}, {"lines", 5000}});
    const int articles = options.articles;
    const int keywords = options.Number("keywords");
    const int titles = options.Number("titles");
    const int lines = options.Number("lines");
    const std::string folder = options.folder;
    std::string path = (std::filesystem::path(folder) / "keyword_change_bench.xrd").string();
    Plan plan = MakePlan(articles, keywords, Body::kTiny, 0);
    GenerateDataFile(path, plan);

    CRecordingHost host;
    CQuorvaneDoc document(host);
    if (!document.OnOpenDocument(path)) {
        std::fprintf(stderr, "cannot open %s\n", path.c_str());
        return 1;
    }
    // Two runs of titles carrying keyword 0 (the most used), one for each way.
    CArticleIdSet first, second;
    for (int i = 0; i < articles && second.GetSize() < titles; ++i) {
        const std::vector<int32_t>& own = plan.keywordsOf[static_cast<size_t>(i)];
        if (own.empty() || own.front() != 0)
            continue;
        (first.GetSize() < titles ? first : second).Values().push_back(i);
    }
    const int32_t rare = keywords - 1;
    CKeywordIdSet removed, added;
    removed.Add(0);
    added.Add(rare);

    Measure("one operation", path, first.GetSize(), "titles",
            [&] { document.ChangeKeywordsOfArticles(first, removed, added); });
    Measure("article by article", path, second.GetSize(), "titles", [&] {
        for (int32_t id : second.Values()) {
            CArticleRecord record;
            document.LoadArticle(id, record);
            CKeywordIdSet own;
            record.GetKeywordIds(own);
            own.Subtract(removed);
            own.Union(added);
            record.SetKeywordIds(own);
            document.UpdateArticle(id, record, true);
        }
    });

    std::string listPath = (std::filesystem::path(folder) / "keyword_change_bench.txt").string();
    WriteKeywordList(listPath, lines, keywords);
    CKeywordIdSet made;
    document.SetImportRecording(true);
    Measure("import keyword list", path, lines, "lines", [&] { CKeywordListFile(document).Import(listPath, made); });
    document.SetImportRecording(false);
    host.m_answers.push_back(true);  // the question of Undo Import
    Measure("undo import", path, made.GetSize(), "keywords", [&] { document.UndoImport(); });
    document.DeleteContents();
    std::filesystem::remove(path);
    std::filesystem::remove(listPath);
    return 0;
}

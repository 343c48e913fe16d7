// Change Keywords for Highlighted Articles over many titles: the document's one operation against the
// article-by-article saving it replaced, on the benchmarks' generated knowledge base. The titles all
// carry the most used keyword; the change takes it off and gives them a rare one.
//
//   keyword_change_bench [--articles 100000] [--keywords 10000] [--titles 1000] [--folder DIR]
//   scripts/wine-run build/win64/bin/keyword_change_bench.exe (the same under Wine)
//
// Prints, for each way, the elapsed time and the data file's write and flush calls.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "bench/kb_plan.h"
#include "document/quorvane_doc.h"
#include "framework/file.h"
#include "storage/article_record.h"
#include "tests/document/doc_test_support.h"

namespace {

class CCallCounter : public IFileFaults {
public:
    explicit CCallCounter(std::string path) : m_path(std::move(path)) { m_previous = SetFileFaults(this); }
    ~CCallCounter() override { SetFileFaults(m_previous); }
    long Before(Call call, const std::string& path, uint64_t, uint32_t, uint32_t*) override
    {
        if (path == m_path) {
            if (call == kWrite)
                ++writes;
            else if (call == kFlush)
                ++flushes;
        }
        return 0;
    }
    long writes = 0;
    long flushes = 0;

private:
    std::string m_path;
    IFileFaults* m_previous;
};

template <class Step>
void Measure(const char* name, const std::string& path, int titles, Step step)
{
    CCallCounter counter(path);
    auto start = std::chrono::steady_clock::now();
    step();
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-22s %5d titles  %9.1f ms  %7ld write calls  %5ld flushes\n", name, titles, ms, counter.writes,
                counter.flushes);
}

}  // namespace

int main(int argc, char** argv)
{
    int articles = 100000, keywords = 10000, titles = 1000;
    std::string folder = std::filesystem::temp_directory_path().string();
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--articles"))
            articles = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--keywords"))
            keywords = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--titles"))
            titles = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--folder"))
            folder = argv[i + 1];
    }
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

    Measure("one operation", path, first.GetSize(),
            [&] { document.ChangeKeywordsOfArticles(first, removed, added); });
    Measure("article by article", path, second.GetSize(), [&] {
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
    document.DeleteContents();
    std::filesystem::remove(path);
    return 0;
}

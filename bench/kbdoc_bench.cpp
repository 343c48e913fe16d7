// Times the document's main operations on a generated knowledge base: 100,000 articles and 10,000
// keywords whose use follows a Zipf law. Each step runs once on the same file, as a user would.
//
//   kbdoc_bench [folder] [articles] [keywords]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "document/article_record.h"
#include "document/data_file.h"
#include "document/doc_host.h"
#include "document/keyword_record.h"
#include "document/quorvane_doc.h"

namespace {
using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Elapsed time and processor time (user and system) of one step, in ms. On a loaded machine the
// elapsed time also counts the waits for a processor; the processor time does not, nor the waits for
// the disk.
class CStepTimer {
public:
    CStepTimer() { Restart(); }
    void Restart()
    {
        m_wall = Clock::now();
        m_cpu = std::clock();
    }
    double Wall() const { return Since(m_wall); }
    double Cpu() const { return 1000.0 * static_cast<double>(std::clock() - m_cpu) / CLOCKS_PER_SEC; }

private:
    Clock::time_point m_wall;
    std::clock_t m_cpu;
};

// Draws keyword ids 0..n-1 with probability proportional to 1 / (rank + 1).
class ZipfKeywords {
public:
    ZipfKeywords(int n, unsigned seed) : m_random(seed)
    {
        double sum = 0;
        for (int i = 0; i < n; ++i) {
            sum += 1.0 / (i + 1);
            m_cumulative.push_back(sum);
        }
    }
    int32_t Next()
    {
        double r = std::uniform_real_distribution<double>(0, m_cumulative.back())(m_random);
        return static_cast<int32_t>(std::lower_bound(m_cumulative.begin(), m_cumulative.end(), r) -
                                    m_cumulative.begin());
    }
    std::mt19937& Random() { return m_random; }

private:
    std::vector<double> m_cumulative;
    std::mt19937 m_random;
};

// Writes the file straight through the record classes: every article record once, then every keyword
// record once with its complete article list (adding through the document would rewrite the popular
// keywords' records once per article).
void Generate(const std::string& path, int articles, int keywords, ZipfKeywords& zipf)
{
    std::vector<CArticleIdSet> articlesOf(static_cast<size_t>(keywords));
    CDataFile file;
    file.Create(path, 400);
    for (int i = 0; i < keywords; ++i) {
        CKeywordRecord record;
        record.SetName("keyword " + std::to_string(i));
        record.WriteNew(file);
    }
    std::uniform_int_distribution<int> count(1, 5);
    for (int i = 0; i < articles; ++i) {
        CKeywordIdSet ids;
        for (int k = count(zipf.Random()); k > 0; --k)
            ids.Add(zipf.Next());
        CArticleRecord record;
        record.SetTitle("Article " + std::to_string((i * 7919) % articles));
        record.SetDate(20000101 + i % 28);
        record.SetRichTextVersion();
        record.SetRtfText("{\\rtf1 body of article " + std::to_string(i) + "}");
        record.SetKeywordIds(ids);
        int32_t id = record.WriteNew(file);
        for (int32_t k : ids.Values())
            articlesOf[static_cast<size_t>(k)].Values().push_back(id);
    }
    for (int i = 0; i < keywords; ++i) {
        CKeywordRecord record;
        record.Read(file, i);
        record.SetArticleIds(articlesOf[static_cast<size_t>(i)]);
        record.Rewrite(file, i);
    }
    file.Close();
}
}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    int articles = argc > 2 ? std::atoi(argv[2]) : 100000;
    int keywords = argc > 3 ? std::atoi(argv[3]) : 10000;
    std::string path = folder + "/kbdoc_bench.xrd";
    ZipfKeywords zipf(keywords, 42);

    CStepTimer step;
    Generate(path, articles, keywords, zipf);
    std::printf("generate %d articles, %d keywords: %.0f ms, %ju bytes\n", articles, keywords, step.Wall(),
                static_cast<uintmax_t>(std::filesystem::file_size(path)));

    CDocHost host;
    CQuorvaneDoc doc(host);
    step.Restart();
    if (!doc.OnOpenDocument(path))
        return 1;
    double open = step.Wall(), openCpu = step.Cpu();
    step.Restart();
    CArticleIdSet all;
    doc.GetAllArticleIds(all);
    std::vector<int32_t> titles = all.Values();
    doc.SortArticleIdsByTitle(titles);
    double allTitles = step.Wall(), allTitlesCpu = step.Cpu();
    std::printf("open: %.1f ms (cpu %.1f); All Titles (index entries + sort of %zu): %.1f ms (cpu %.1f); "
                "total %.1f ms (cpu %.1f)\n",
                open, openCpu, titles.size(), allTitles, allTitlesCpu, open + allTitles, openCpu + allTitlesCpu);

    step.Restart();
    CArticleIdSet one;
    doc.GetKeywordArticleIds(0, one);
    std::printf("select by the most used keyword (%d articles): %.2f ms (cpu %.2f)\n", one.GetSize(), step.Wall(),
                step.Cpu());
    step.Restart();
    doc.GetKeywordArticleIds(keywords / 2, one);
    std::printf("select by a middle keyword (%d articles): %.2f ms (cpu %.2f)\n", one.GetSize(), step.Wall(),
                step.Cpu());

    step.Restart();
    CArticleIdSet result;
    doc.GetKeywordArticleIds(0, result);
    for (int32_t k : {1, 2}) {
        CArticleIdSet other;
        doc.GetKeywordArticleIds(k, other);
        result.Intersect(other);
    }
    std::printf("AND of the three most used keywords (%d articles): %.2f ms (cpu %.2f)\n", result.GetSize(),
                step.Wall(), step.Cpu());

    step.Restart();
    std::uniform_int_distribution<int> anyKeyword(0, keywords - 1);
    for (int i = 0; i < 1000; ++i) {
        CKeywordIdSet ids;
        while (ids.GetSize() < 5)
            ids.Add(zipf.Next());
        CArticleRecord record;
        record.SetTitle("Added " + std::to_string(i));
        record.SetKeywordIds(ids);
        doc.AddArticle(record, false, false);
    }
    double added = step.Wall(), addedCpu = step.Cpu();
    std::printf("add 1000 articles with 5 Zipf keywords each: %.0f ms (%.2f ms each; cpu %.0f ms, %.3f ms each)\n",
                added, added / 1000, addedCpu, addedCpu / 1000);

    // The keyword whose article count is closest to 10,000.
    int32_t target = 0;
    int best = -1;
    for (int32_t k = 0; k < keywords && k < 200; ++k) {
        CArticleIdSet ids;
        doc.GetKeywordArticleIds(k, ids);
        if (best < 0 || std::abs(ids.GetSize() - 10000) < std::abs(best - 10000)) {
            best = ids.GetSize();
            target = k;
        }
    }
    step.Restart();
    CKeywordIdSet doomed;
    doomed.Add(target);
    doc.DeleteKeywords(doomed);
    std::printf("delete keyword %d used by %d articles: %.0f ms (cpu %.0f)\n", target, best, step.Wall(), step.Cpu());

    step.Restart();
    doc.OnFileSave();
    std::printf("Save File: %.1f ms (cpu %.1f)\n", step.Wall(), step.Cpu());
    doc.DeleteContents();
    std::filesystem::remove(path);
    return 0;
}

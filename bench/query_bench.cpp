// Compile-and-run of queries over a synthetic knowledge base: 100,000 articles and 10,000 keywords
// whose use follows a Zipf law (keyword rank r is chosen with weight 1/r), 1 to 5 keywords per
// article, 1% private articles (hidden), 5% bookmarked. Keyword 0 is carried by about 30,000
// articles, keyword 1 by about 15,000.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "index/current_query.h"
#include "storage/id_set.h"
#include "tests/index/memory_query_source.h"

namespace {

constexpr int kArticles = 100000;
constexpr int kKeywords = 10000;

CMemoryQuerySource& Base()
{
    static CMemoryQuerySource* base = [] {
        auto* b = new CMemoryQuerySource;
        for (int k = 0; k < kKeywords; ++k)
            b->AddKeyword("k" + std::to_string(k));
        std::vector<int32_t> groupKeywords;
        for (int k = 5; k < 105; ++k)
            groupKeywords.push_back(k);
        b->AddGroup("G", groupKeywords);

        std::vector<double> weights;
        for (int r = 1; r <= kKeywords; ++r)
            weights.push_back(1.0 / r);
        std::mt19937 random(12345);
        std::discrete_distribution<int> zipf(weights.begin(), weights.end());
        std::uniform_int_distribution<int> perArticle(1, 5);
        std::uniform_int_distribution<int> percent(0, 99);
        for (int a = 0; a < kArticles; ++a) {
            CMemoryQuerySource::Article article;
            article.date = 20000101 + (a % 20) * 10000;
            for (int n = perArticle(random); n > 0; --n)
                article.keywords.push_back(zipf(random));
            std::sort(article.keywords.begin(), article.keywords.end());
            article.keywords.erase(std::unique(article.keywords.begin(), article.keywords.end()),
                                   article.keywords.end());
            article.attachments = percent(random) < 10 ? 1 : 0;
            article.bookmarked = percent(random) < 5;
            article.isPrivate = percent(random) < 1;
            b->AddArticle(article);
        }
        return b;
    }();
    return *base;
}

void CompileAndRun(benchmark::State& state, const char* text)
{
    CCurrentQuery query(&Base());
    CArticleIdSet result;
    for (auto _ : state) {
        if (!query.Compile(text) || !query.Run(result))
            state.SkipWithError("query failed");
        benchmark::DoNotOptimize(result.Values().data());
    }
    state.counters["matches"] = result.GetSize();
}

}  // namespace

BENCHMARK_CAPTURE(CompileAndRun, And, "k0 AND k1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileAndRun, Or, "k0 OR k1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileAndRun, Not, "NOT k0")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileAndRun, Group, "GROUP: G")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(CompileAndRun, Mix10,
                  "(k0 OR k1) AND NOT k2 AND (k3 OR k4 OR k5) OR GROUP: G AND k6 OR BOOKMARKED AND k7")
    ->Unit(benchmark::kMillisecond);

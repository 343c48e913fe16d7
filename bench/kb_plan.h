// The generated knowledge base of the benchmarks: N articles and K keywords whose use follows a Zipf
// law (1 to 5 keywords per article), titles "Article n" in a scrambled order, dates over four weeks and
// bodies of one size class, written straight through the record classes.
#pragma once
#include <cstdint>
#include <random>
#include <string>
#include <vector>

enum class Body { kTiny, k2K, k8K };

const char* BodyName(Body body);

// Draws keyword ids 0..n-1 with probability proportional to 1 / (rank + 1).
class ZipfKeywords {
public:
    ZipfKeywords(int n, unsigned seed);
    int32_t Next();
    std::mt19937& Random() { return m_random; }

private:
    std::vector<double> m_cumulative;
    std::mt19937 m_random;
};

// The knowledge base and the articles an add step adds.
struct Plan {
    int articles = 0;
    int keywords = 0;
    Body body = Body::kTiny;
    std::vector<std::vector<int32_t>> keywordsOf;  // sorted, per article
    std::vector<std::vector<int32_t>> added;       // keywords of the added articles, per round
    std::vector<int> uses;                         // articles per keyword

    std::string Title(int i) const;
    int32_t Date(int i) const { return 20000101 + i % 28; }
    std::string Content(int i) const;
};

Plan MakePlan(int articles, int keywords, Body body, int rounds);

// Writes the data file straight through the record classes: every keyword record, every article
// record once, then every keyword record again with its complete article list (adding through the
// document would rewrite the popular keywords' records once per article).
void GenerateDataFile(const std::string& path, const Plan& plan);

// A keyword list of `lines` lines for a knowledge base of `keywords` keywords ("keyword n"): every fifth
// line names an existing keyword in capitals (it makes nothing); the others name new keywords
// ("imported n"), some after blanks and with a tab and a count. CR LF line ends.
void WriteKeywordList(const std::string& path, int lines, int keywords);

// The median of a benchmark's rounds (0 for none).
double Median(std::vector<double> values);

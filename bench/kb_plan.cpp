#include "bench/kb_plan.h"

#include <algorithm>
#include <fstream>

#include "storage/article_record.h"
#include "storage/data_file.h"
#include "storage/keyword_record.h"

const char* BodyName(Body body)
{
    return body == Body::kTiny ? "tiny" : body == Body::k2K ? "2 KB" : "8 KB";
}

ZipfKeywords::ZipfKeywords(int n, unsigned seed) : m_random(seed)
{
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        sum += 1.0 / (i + 1);
        m_cumulative.push_back(sum);
    }
}

int32_t ZipfKeywords::Next()
{
    double r = std::uniform_real_distribution<double>(0, m_cumulative.back())(m_random);
    return static_cast<int32_t>(std::lower_bound(m_cumulative.begin(), m_cumulative.end(), r) - m_cumulative.begin());
}

std::string Plan::Title(int i) const
{
    // 64-bit: 7919 x i overflows 32 bits from 271,183 articles on.
    return "Article " + std::to_string(static_cast<int64_t>(i) * 7919 % articles);
}

std::string Plan::Content(int i) const
{
    std::string text = "{\\rtf1\\ansi body of article " + std::to_string(i);
    size_t size = body == Body::kTiny ? 0 : body == Body::k2K ? 2048 : 8192;
    static const char* const kWords[] = {"note", "keyword", "index", "title", "paragraph", "archive",
                                         "reminder", "link", "group", "window"};
    for (size_t w = static_cast<size_t>(i); text.size() + 12 < size; ++w) {
        text += ' ';
        text += kWords[(w * 7) % 10];
    }
    return text + "}";
}

Plan MakePlan(int articles, int keywords, Body body, int rounds)
{
    Plan plan;
    plan.articles = articles;
    plan.keywords = keywords;
    plan.body = body;
    plan.uses.assign(static_cast<size_t>(keywords), 0);
    ZipfKeywords zipf(keywords, 42);
    std::uniform_int_distribution<int> count(1, 5);
    plan.keywordsOf.resize(static_cast<size_t>(articles));
    for (auto& ids : plan.keywordsOf) {
        for (int k = count(zipf.Random()); k > 0; --k)
            ids.push_back(zipf.Next());
        std::sort(ids.begin(), ids.end());
        ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
        for (int32_t id : ids)
            ++plan.uses[static_cast<size_t>(id)];
    }
    plan.added.resize(static_cast<size_t>(rounds) * 1000);
    for (auto& ids : plan.added) {
        while (ids.size() < 5) {
            int32_t id = zipf.Next();
            if (std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
        }
        std::sort(ids.begin(), ids.end());
    }
    return plan;
}

void GenerateDataFile(const std::string& path, const Plan& plan)
{
    std::vector<CArticleIdSet> articlesOf(static_cast<size_t>(plan.keywords));
    CDataFile file;
    file.Create(path, 400);
    for (int i = 0; i < plan.keywords; ++i) {
        CKeywordRecord record;
        record.SetName("keyword " + std::to_string(i));
        record.WriteNew(file);
    }
    for (int i = 0; i < plan.articles; ++i) {
        CKeywordIdSet ids;
        for (int32_t k : plan.keywordsOf[static_cast<size_t>(i)])
            ids.Values().push_back(k);
        CArticleRecord record;
        record.SetTitle(plan.Title(i));
        record.SetDate(plan.Date(i));
        record.SetRichTextVersion();
        record.SetRtfText(plan.Content(i));
        record.SetKeywordIds(ids);
        int32_t id = record.WriteNew(file);
        for (int32_t k : ids.Values())
            articlesOf[static_cast<size_t>(k)].Values().push_back(id);
    }
    for (int i = 0; i < plan.keywords; ++i) {
        CKeywordRecord record;
        record.Read(file, i);
        record.SetArticleIds(articlesOf[static_cast<size_t>(i)]);
        record.Write(file, i);
    }
    file.Close();
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void WriteKeywordList(const std::string& path, int lines, int keywords)
{
    std::ofstream list(path, std::ios::binary);
    for (int i = 0; i < lines; ++i) {
        if (i % 5 == 0)
            list << "KEYWORD " << (i * 7) % keywords << "\r\n";
        else if (i % 5 == 1)
            list << "  imported " << i << "\t" << i << "\r\n";
        else
            list << "imported " << i << "\r\n";
    }
}

// Times compaction, export and import on a generated knowledge base (100,000 articles, 10,000
// keywords used by a Zipf law, as kbdoc_bench makes it), against the floor of reading every record
// of the file and writing the same records into a new file.
//
//   compaction_bench [folder] [articles] [keywords]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "document/compactor.h"
#include "document/data_file_export.h"
#include "document/data_file_import.h"
#include "document/exchange_host.h"
#include "document/quorvane_doc.h"
#include "storage/article_record.h"
#include "storage/data_file.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"

namespace {
using Clock = std::chrono::steady_clock;

class CStepTimer {
public:
    CStepTimer() { Restart(); }
    void Restart()
    {
        m_wall = Clock::now();
        m_cpu = std::clock();
    }
    double Wall() const { return std::chrono::duration<double, std::milli>(Clock::now() - m_wall).count(); }
    double Cpu() const { return 1000.0 * static_cast<double>(std::clock() - m_cpu) / CLOCKS_PER_SEC; }

private:
    Clock::time_point m_wall;
    std::clock_t m_cpu;
};

int32_t Zipf(std::mt19937& random, const std::vector<double>& cumulative)
{
    double r = std::uniform_real_distribution<double>(0, cumulative.back())(random);
    return static_cast<int32_t>(std::lower_bound(cumulative.begin(), cumulative.end(), r) - cumulative.begin());
}

// Every article record once, then every keyword record with its complete article list; every tenth
// article is deleted afterwards so that compaction has holes to close.
void Generate(const std::string& path, int articles, int keywords)
{
    std::mt19937 random(42);
    std::vector<double> cumulative;
    double sum = 0;
    for (int i = 0; i < keywords; ++i)
        cumulative.push_back(sum += 1.0 / (i + 1));
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
        for (int k = count(random); k > 0; --k)
            ids.Add(Zipf(random, cumulative));
        CArticleRecord record;
        record.SetTitle("Article " + std::to_string((i * 7919) % articles));
        record.SetDate(20000101 + i % 28);
        record.SetRichTextVersion();
        record.SetRtfText("{\\rtf1 body of article " + std::to_string(i) + "}");
        record.SetKeywordIds(ids);
        int32_t id = record.WriteNew(file);
        if (i % 10 != 9)
            for (int32_t k : ids.Values())
                articlesOf[static_cast<size_t>(k)].Values().push_back(id);
    }
    for (int i = 9; i < articles; i += 10)
        file.DeleteArticleEntry(i);
    for (int i = 0; i < keywords; ++i) {
        CKeywordRecord record;
        record.Read(file, i);
        record.SetArticleIds(articlesOf[static_cast<size_t>(i)]);
        record.Write(file, i);
    }
    file.Close();
}

// The floor: read every keyword and article record of `source` and write them, unchanged, as new
// records of a fresh file.
void ReadAllWriteAll(const std::string& source, const std::string& target)
{
    CDataFile in, out;
    in.Open(source, true);
    out.Create(target, 400);
    for (int table : {CDataFile::kKeywordTable, CDataFile::kArticleTable}) {
        for (int32_t i = 0; i < in.GetTableCount(table); ++i) {
            if (in.GetEntry(table, i) == kNoneId)
                continue;
            if (table == CDataFile::kKeywordTable) {
                CKeywordRecord record;
                record.Read(in, i);
                record.WriteNew(out);
            } else {
                CArticleRecord record;
                record.SetKeepStamp(true);
                record.Read(in, i);
                record.WriteNew(out);
            }
        }
    }
    out.Flush();
    out.Close();
    in.Close();
}

void Report(const char* what, const CStepTimer& step, const std::string& path)
{
    std::printf("%-52s %9.0f ms  (cpu %9.0f ms)  %10ju bytes\n", what, step.Wall(), step.Cpu(),
                static_cast<uintmax_t>(std::filesystem::exists(path) ? std::filesystem::file_size(path) : 0));
}
}  // namespace

int main(int argc, char** argv)
{
    std::string folder = argc > 1 ? argv[1] : std::filesystem::temp_directory_path().string();
    int articles = argc > 2 ? std::atoi(argv[2]) : 100000;
    int keywords = argc > 3 ? std::atoi(argv[3]) : 10000;
    std::string source = folder + "/compaction_bench.xrd";
    std::string floorCopy = folder + "/compaction_bench_floor.xrd";
    std::string compacted = folder + "/compaction_bench_compacted.xrd";
    std::string exported = folder + "/compaction_bench_export.xrd";
    std::string target = folder + "/compaction_bench_target.xrd";
    for (const std::string& path : {source, floorCopy, compacted, exported, target})
        std::filesystem::remove(path);

    CStepTimer step;
    Generate(source, articles, keywords);
    std::printf("generated %d articles (every tenth deleted), %d keywords\n", articles, keywords);
    Report("generate", step, source);

    step.Restart();
    ReadAllWriteAll(source, floorCopy);
    Report("read all + write all (floor)", step, floorCopy);

    CExchangeHost host;
    step.Restart();
    {
        CCompactor compactor(host, nullptr);
        compactor.SetPaths(source, compacted);
        compactor.Compact(false, false, false);
    }
    Report("compact", step, compacted);

    // Export of 10,000 articles of the compacted file.
    CRecordingHost docHost;
    {
        CQuorvaneDoc doc(docHost);
        if (!doc.OnOpenDocument(compacted))
            return 1;
        CArticleIdSet all, chosen;
        doc.GetAllArticleIds(all);
        for (int i = 0; i < all.GetSize() && chosen.GetSize() < 10000; i += std::max(1, all.GetSize() / 10000))
            chosen.Values().push_back(all.GetAt(i));
        step.Restart();
        CDataFileExport exporter(doc, host);
        exporter.Export(exported, chosen);
        Report("export 10,000 articles", step, exported);
        doc.DeleteContents();
    }

    // Import of that 10,000-article file into a copy of the compacted file.
    std::filesystem::copy_file(compacted, target);
    {
        CQuorvaneDoc doc(docHost);
        if (!doc.OnOpenDocument(target))
            return 1;
        step.Restart();
        CDataFileImport importer(doc, host, nullptr);
        importer.Import(exported, CKeywordIdSet());
        doc.SaveModified();
        Report("import a 10,000-article file", step, target);
        std::printf("imported %d articles\n", importer.GetImportedCount());
        doc.DeleteContents();
    }
    for (const std::string& path : {source, floorCopy, compacted, exported, target})
        std::filesystem::remove(path);
    return 0;
}

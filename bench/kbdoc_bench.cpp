// The knowledge base against a note store on SQLite, side by side in one run, on the steps a user
// takes: open the file and list All Titles, select by a keyword, AND three keywords, add articles one
// at a time, delete a keyword. Both stores hold the same generated knowledge base: N articles,
// 10,000 keywords whose use follows a Zipf law (1 to 5 per article), bodies of one size class.
//
// The SQLite store is what a user might pick instead: tables articles, keywords and article_keywords
// with indexes both ways and a title index; no journal and one sync per commit (our data file syncs
// once per operation and keeps no journal either: the same guarantee), and locking_mode=EXCLUSIVE,
// since we hold our file's lock for the whole session too.
//
// Each step runs `rounds` times and the median is printed with the ratio ours / SQLite.
//
//   kbdoc_bench [--articles 100000,400000] [--bodies tiny,2k,8k] [--keywords 10000] [--rounds 3]
//               [--folder DIR] [--ours-only] [--count]
//   kbdoc_bench --make FILE.xrd [--articles N] [--bodies tiny] [--keywords N]
//
// --make only writes our data file of the first size and body class, for the benchmarks that open it
// in the program (bench/startup_bench.sh).
//
// --count runs only our steps, once, for instruction counts under callgrind: each step is dumped as
// its own part (bench/count_instructions.sh runs it and sums the parts).
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define QUOR_CALLGRIND 1
#endif

#include "bench/kb_plan.h"
#include "document/quorvane_doc.h"
#include "storage/article_record.h"
#include "storage/data_file.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"

namespace {
using Clock = std::chrono::steady_clock;


struct Options {
    std::vector<int> articles{100000};
    std::vector<Body> bodies{Body::kTiny, Body::k2K, Body::k8K};
    int keywords = 10000;
    int rounds = 3;
    std::string folder = std::filesystem::temp_directory_path().string();
    bool withPeer = true;
    bool count = false;
    std::string make;
};


// Under callgrind with --count: the instructions of one step, dumped as a part of its own.
class CCountedStep {
public:
    CCountedStep(const Options& options, const char* name) : m_on(options.count), m_name(name)
    {
#ifdef QUOR_CALLGRIND
        if (m_on) {
            CALLGRIND_START_INSTRUMENTATION;
            CALLGRIND_ZERO_STATS;
        }
#endif
    }
    ~CCountedStep()
    {
#ifdef QUOR_CALLGRIND
        if (m_on) {
            CALLGRIND_DUMP_STATS_AT(m_name.c_str());
            CALLGRIND_STOP_INSTRUMENTATION;
        }
#endif
    }

private:
    bool m_on;
    std::string m_name;
};

double MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string LoadAverage()
{
    std::ifstream in("/proc/loadavg");
    std::string one;
    in >> one;
    return one.empty() ? "?" : one;
}

// ---- The SQLite store -----------------------------------------------------------------------------

class CSqliteStore {
public:
    ~CSqliteStore() { Close(); }

    void Open(const std::string& path)
    {
        if (sqlite3_open(path.c_str(), &m_db) != SQLITE_OK)
            Fail("open");
        Exec("PRAGMA locking_mode=EXCLUSIVE");
        Exec("PRAGMA journal_mode=OFF");
        Exec("PRAGMA synchronous=FULL");
    }
    void Close()
    {
        for (auto& prepared : m_statements)
            sqlite3_finalize(prepared.second);
        m_statements.clear();
        if (m_db)
            sqlite3_close(m_db);
        m_db = nullptr;
    }

    void Generate(const std::string& path, const Plan& plan)
    {
        std::remove(path.c_str());
        Open(path);
        Exec("CREATE TABLE articles(id INTEGER PRIMARY KEY, title TEXT, date INT, time INT, body TEXT)");
        Exec("CREATE TABLE keywords(id INTEGER PRIMARY KEY, name TEXT)");
        Exec("CREATE TABLE article_keywords(article INT, keyword INT, PRIMARY KEY(article, keyword)) WITHOUT ROWID");
        Exec("BEGIN");
        sqlite3_stmt* keyword = Prepare("INSERT INTO keywords(id, name) VALUES(?, ?)");
        for (int i = 0; i < plan.keywords; ++i) {
            std::string name = "keyword " + std::to_string(i);
            sqlite3_bind_int(keyword, 1, i);
            sqlite3_bind_text(keyword, 2, name.c_str(), -1, SQLITE_TRANSIENT);
            Step(keyword);
        }
        for (int i = 0; i < plan.articles; ++i)
            InsertArticle(i, plan.Title(i), plan.Date(i), plan.Content(i), plan.keywordsOf[static_cast<size_t>(i)]);
        Exec("COMMIT");
        Exec("CREATE INDEX keyword_articles ON article_keywords(keyword, article)");
        Exec("CREATE INDEX article_titles ON articles(title, date, time)");
        Close();
    }

    // Open + All Titles: the titles in title order, through the title index.
    size_t AllTitles(std::vector<std::pair<int32_t, std::string>>& titles)
    {
        sqlite3_stmt* select = Prepare("SELECT id, title FROM articles ORDER BY title, date, time");
        titles.clear();
        while (sqlite3_step(select) == SQLITE_ROW)
            titles.emplace_back(sqlite3_column_int(select, 0),
                                reinterpret_cast<const char*>(sqlite3_column_text(select, 1)));
        return titles.size();
    }

    std::vector<int32_t> ArticlesOf(int32_t keyword)
    {
        sqlite3_stmt* select = Prepare("SELECT article FROM article_keywords WHERE keyword = ?");
        sqlite3_bind_int(select, 1, keyword);
        return Column(select);
    }

    std::vector<int32_t> ArticlesOfAll(int32_t a, int32_t b, int32_t c)
    {
        sqlite3_stmt* select = Prepare("SELECT article FROM article_keywords WHERE keyword = ?1 INTERSECT "
                                       "SELECT article FROM article_keywords WHERE keyword = ?2 INTERSECT "
                                       "SELECT article FROM article_keywords WHERE keyword = ?3");
        sqlite3_bind_int(select, 1, a);
        sqlite3_bind_int(select, 2, b);
        sqlite3_bind_int(select, 3, c);
        return Column(select);
    }

    // One article and its keyword links in one transaction (one sync).
    void AddArticle(int id, const std::string& title, int32_t date, const std::string& body,
                    const std::vector<int32_t>& keywords)
    {
        Exec("BEGIN");
        InsertArticle(id, title, date, body, keywords);
        Exec("COMMIT");
    }

    void DeleteKeyword(int32_t keyword)
    {
        Exec("BEGIN");
        sqlite3_stmt* links = Prepare("DELETE FROM article_keywords WHERE keyword = ?");
        sqlite3_bind_int(links, 1, keyword);
        Step(links);
        sqlite3_stmt* name = Prepare("DELETE FROM keywords WHERE id = ?");
        sqlite3_bind_int(name, 1, keyword);
        Step(name);
        Exec("COMMIT");
    }

private:
    [[noreturn]] void Fail(const char* what)
    {
        std::fprintf(stderr, "sqlite %s: %s\n", what, m_db ? sqlite3_errmsg(m_db) : "");
        std::exit(2);
    }
    void Exec(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::fprintf(stderr, "sqlite: %s: %s\n", sql, error);
            std::exit(2);
        }
    }
    // Statements are prepared once per text and reused, as an application would.
    sqlite3_stmt* Prepare(const char* sql)
    {
        for (auto& prepared : m_statements)
            if (prepared.first == sql) {
                sqlite3_reset(prepared.second);
                sqlite3_clear_bindings(prepared.second);
                return prepared.second;
            }
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr) != SQLITE_OK)
            Fail(sql);
        m_statements.emplace_back(sql, statement);
        return statement;
    }
    void Step(sqlite3_stmt* statement)
    {
        if (sqlite3_step(statement) != SQLITE_DONE)
            Fail("step");
        sqlite3_reset(statement);
    }
    std::vector<int32_t> Column(sqlite3_stmt* select)
    {
        std::vector<int32_t> ids;
        while (sqlite3_step(select) == SQLITE_ROW)
            ids.push_back(sqlite3_column_int(select, 0));
        return ids;
    }
    void InsertArticle(int id, const std::string& title, int32_t date, const std::string& body,
                       const std::vector<int32_t>& keywords)
    {
        sqlite3_stmt* article = Prepare("INSERT INTO articles(id, title, date, time, body) VALUES(?, ?, ?, 0, ?)");
        sqlite3_bind_int(article, 1, id);
        sqlite3_bind_text(article, 2, title.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(article, 3, date);
        sqlite3_bind_text(article, 4, body.c_str(), -1, SQLITE_STATIC);
        Step(article);
        sqlite3_stmt* link = Prepare("INSERT INTO article_keywords(article, keyword) VALUES(?, ?)");
        for (int32_t keyword : keywords) {
            sqlite3_bind_int(link, 1, id);
            sqlite3_bind_int(link, 2, keyword);
            Step(link);
        }
    }

    sqlite3* m_db = nullptr;
    std::vector<std::pair<std::string, sqlite3_stmt*>> m_statements;
};

// ---- The run --------------------------------------------------------------------------------------

struct Row {
    std::string step;
    std::vector<double> ours;
    std::vector<double> peer;
    std::string aim;
};

void PrintRows(const std::vector<Row>& rows, bool withPeer)
{
    std::printf("  %-52s %11s %11s %7s  %s\n", "step (median ms)", "ours", withPeer ? "SQLite" : "", withPeer ? "ratio" : "",
                withPeer ? "aim" : "");
    for (const Row& row : rows) {
        double ours = Median(row.ours);
        if (!withPeer) {
            std::printf("  %-52s %11.2f\n", row.step.c_str(), ours);
            continue;
        }
        double peer = Median(row.peer);
        std::printf("  %-52s %11.2f %11.2f %7.2f  %s\n", row.step.c_str(), ours, peer, peer > 0 ? ours / peer : 0.0,
                    row.aim.c_str());
    }
}

// The keywords whose article counts lie closest to a tenth of the articles, one per round.
std::vector<int32_t> KeywordsNearTenPercent(const Plan& plan, int rounds)
{
    std::vector<int32_t> ids(static_cast<size_t>(plan.keywords));
    for (int32_t i = 0; i < plan.keywords; ++i)
        ids[static_cast<size_t>(i)] = i;
    int target = plan.articles / 10;
    std::stable_sort(ids.begin(), ids.end(), [&](int32_t a, int32_t b) {
        return std::abs(plan.uses[static_cast<size_t>(a)] - target) < std::abs(plan.uses[static_cast<size_t>(b)] - target);
    });
    ids.resize(static_cast<size_t>(std::max(rounds, 1)));
    return ids;
}

void RunOne(const Options& options, int articles, Body body)
{
    int rounds = options.count ? 1 : options.rounds;
    bool withPeer = options.withPeer && !options.count;
    Plan plan = MakePlan(articles, options.keywords, body, rounds);
    std::string ours = options.folder + "/kbdoc_bench.xrd";
    std::string theirs = options.folder + "/kbdoc_bench.sqlite";
    std::string load = LoadAverage();

    Clock::time_point start = Clock::now();
    GenerateDataFile(ours, plan);
    double generated = MillisecondsSince(start);
    double generatedPeer = 0;
    if (withPeer) {
        start = Clock::now();
        CSqliteStore().Generate(theirs, plan);
        generatedPeer = MillisecondsSince(start);
    }
    std::printf("%d articles, %d keywords, %s bodies: data file %.1f MB in %.0f ms", articles, options.keywords,
                BodyName(body), static_cast<double>(std::filesystem::file_size(ours)) / 1e6, generated);
    if (withPeer)
        std::printf(", SQLite %.1f MB in %.0f ms", static_cast<double>(std::filesystem::file_size(theirs)) / 1e6,
                    generatedPeer);
    std::printf("; load %s\n", load.c_str());

    std::vector<Row> rows;
    CRecordingHost host;
    std::unique_ptr<CQuorvaneDoc> doc;
    CSqliteStore peer;

    // Open + All Titles: the document opens the file, sorts every title and hands each one out.
    Row titlesRow{"open + All Titles (" + std::to_string(articles) + ")", {}, {}, "<= 1.0"};
    size_t checksum = 0;
    for (int round = 0; round < rounds; ++round) {
        doc.reset();
        start = Clock::now();
        {
            CCountedStep counted(options, "open + All Titles");
            doc = std::make_unique<CQuorvaneDoc>(host);
            if (!doc->OnOpenDocument(ours)) {
                std::fprintf(stderr, "cannot open %s\n", ours.c_str());
                std::exit(1);
            }
            CArticleIdSet all;
            doc->GetAllArticleIds(all);
            std::vector<int32_t> titles = all.Values();
            doc->SortArticleIdsByTitle(titles);
            for (int32_t id : titles)
                checksum += std::strlen(doc->GetArticleTitle(id));
        }
        titlesRow.ours.push_back(MillisecondsSince(start));
        if (withPeer) {
            peer.Close();
            start = Clock::now();
            peer.Open(theirs);
            std::vector<std::pair<int32_t, std::string>> titles;
            peer.AllTitles(titles);
            titlesRow.peer.push_back(MillisecondsSince(start));
            for (const auto& title : titles)
                checksum -= title.second.size();
        }
    }
    if (withPeer && checksum != 0)
        std::printf("  titles differ between the stores\n");
    rows.push_back(titlesRow);

    Row selectRow{"select by the top keyword", {}, {}, "< 0.5"};
    Row andRow{"AND of the three top keywords", {}, {}, "< 0.5"};
    size_t selected = 0, anded = 0;
    for (int round = 0; round < rounds; ++round) {
        start = Clock::now();
        CArticleIdSet one;
        {
            CCountedStep counted(options, "select");
            doc->GetKeywordArticleIds(0, one);
        }
        selectRow.ours.push_back(MillisecondsSince(start));
        selected = one.Values().size();
        start = Clock::now();
        CArticleIdSet result;
        {
            CCountedStep counted(options, "AND");
            doc->GetKeywordArticleIds(0, result);
            for (int32_t k : {1, 2}) {
                CArticleIdSet other;
                doc->GetKeywordArticleIds(k, other);
                result.Intersect(other);
            }
        }
        andRow.ours.push_back(MillisecondsSince(start));
        anded = result.Values().size();
        if (withPeer) {
            start = Clock::now();
            std::vector<int32_t> ids = peer.ArticlesOf(0);
            selectRow.peer.push_back(MillisecondsSince(start));
            start = Clock::now();
            std::vector<int32_t> both = peer.ArticlesOfAll(0, 1, 2);
            andRow.peer.push_back(MillisecondsSince(start));
            if (ids.size() != selected || both.size() != anded)
                std::printf("  selections differ between the stores\n");
        }
    }
    selectRow.step += " (" + std::to_string(selected) + ")";
    andRow.step += " (" + std::to_string(anded) + ")";
    rows.push_back(selectRow);
    rows.push_back(andRow);

    Row addRow{"add 1,000 articles, each committed", {}, {}, "<= 1.0"};
    int next = articles;
    for (int round = 0; round < rounds; ++round) {
        int first = next;
        start = Clock::now();
        {
            CCountedStep counted(options, "add 1000");
            for (int i = 0; i < 1000; ++i) {
                CArticleRecord record;
                record.SetTitle("Added " + std::to_string(first + i));
                record.SetDate(plan.Date(first + i));
                record.SetRichTextVersion();
                record.SetRtfText(plan.Content(first + i));
                CKeywordIdSet ids;
                for (int32_t k : plan.added[static_cast<size_t>(round * 1000 + i)])
                    ids.Values().push_back(k);
                record.SetKeywordIds(ids);
                doc->AddArticle(record, false, false);
            }
        }
        addRow.ours.push_back(MillisecondsSince(start));
        if (withPeer) {
            start = Clock::now();
            for (int i = 0; i < 1000; ++i)
                peer.AddArticle(first + i, "Added " + std::to_string(first + i), plan.Date(first + i),
                                plan.Content(first + i), plan.added[static_cast<size_t>(round * 1000 + i)]);
            addRow.peer.push_back(MillisecondsSince(start));
        }
        next += 1000;
    }
    rows.push_back(addRow);

    Row deleteRow{"delete a keyword used by ~10% (", {}, {}, "<= 2.0"};
    std::vector<int32_t> doomed = KeywordsNearTenPercent(plan, rounds);
    std::string counts;
    for (int32_t keyword : doomed) {
        CArticleIdSet users;
        doc->GetKeywordArticleIds(keyword, users);
        counts += (counts.empty() ? "" : "/") + std::to_string(users.GetSize());
        CKeywordIdSet set;
        set.Add(keyword);
        start = Clock::now();
        {
            CCountedStep counted(options, "delete keyword");
            doc->DeleteKeywords(set);
        }
        deleteRow.ours.push_back(MillisecondsSince(start));
        if (withPeer) {
            start = Clock::now();
            peer.DeleteKeyword(keyword);
            deleteRow.peer.push_back(MillisecondsSince(start));
        }
    }
    deleteRow.step += counts + ")";
    rows.push_back(deleteRow);

    PrintRows(rows, withPeer);
    std::printf("  load at the end %s\n\n", LoadAverage().c_str());
    std::fflush(stdout);
    doc->DeleteContents();
    doc.reset();
    peer.Close();
    std::filesystem::remove(ours);
    std::filesystem::remove(theirs);
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> parts;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, ',');)
        parts.push_back(part);
    return parts;
}

bool Parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--ours-only") {
            options.withPeer = false;
        } else if (arg == "--count") {
            options.count = true;
        } else if (arg == "--articles" && hasValue) {
            options.articles.clear();
            for (const std::string& part : Split(argv[++i]))
                options.articles.push_back(std::atoi(part.c_str()));
        } else if (arg == "--bodies" && hasValue) {
            options.bodies.clear();
            for (const std::string& part : Split(argv[++i])) {
                if (part == "tiny")
                    options.bodies.push_back(Body::kTiny);
                else if (part == "2k")
                    options.bodies.push_back(Body::k2K);
                else if (part == "8k")
                    options.bodies.push_back(Body::k8K);
                else
                    return false;
            }
        } else if (arg == "--keywords" && hasValue) {
            options.keywords = std::atoi(argv[++i]);
        } else if (arg == "--rounds" && hasValue) {
            options.rounds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--make" && hasValue) {
            options.make = argv[++i];
        } else if (arg == "--folder" && hasValue) {
            options.folder = argv[++i];
        } else {
            return false;
        }
    }
    for (int n : options.articles)
        if (n < 1000)
            return false;
    return options.keywords >= 10;
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: kbdoc_bench [--articles N,...] [--bodies tiny,2k,8k] [--keywords N] "
                             "[--rounds N] [--folder DIR] [--ours-only] [--count] [--make FILE]\n");
        return 2;
    }
    if (!options.make.empty()) {
        GenerateDataFile(options.make, MakePlan(options.articles[0], options.keywords, options.bodies[0], 1));
        std::printf("%s: %d articles, %d keywords\n", options.make.c_str(), options.articles[0], options.keywords);
        return 0;
    }
    for (int articles : options.articles)
        for (Body body : options.bodies)
            RunOne(options, articles, body);
    return 0;
}

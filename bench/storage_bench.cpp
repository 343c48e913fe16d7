// The data file against SQLite on the same work, in one run: write 100,000 records of mixed sizes
// (200 B to 20 KB, log-uniform, so small records are as common as large ones), read them all back
// by entry, rewrite every tenth with a new size, delete another tenth.
//
// The data file writes each operation through to the operating system before it returns and never
// syncs. SQLite runs with journal_mode=OFF and synchronous=OFF, one table with a blob column, in two
// ways: each statement its own transaction (the same guarantee as the data file), and each step in
// one transaction (the most SQLite can batch). Both hold their file's lock for the whole run
// (SQLite with locking_mode=EXCLUSIVE; without it every autocommit statement takes and drops its
// locks). Run with the bench preset:
//   cmake --preset bench && cmake --build --preset bench --target storage_bench
//   build/bench/bin/storage_bench
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "storage/data_file.h"
#include "storage/record_reader.h"

namespace {

constexpr int kRecords = 100000;

struct Workload {
    std::vector<int32_t> sizes;      // first write
    std::vector<int32_t> newSizes;   // rewrite of every tenth record
    std::vector<uint8_t> bytes;      // content source: records are slices of it
    int64_t totalBytes = 0;
};

const Workload& Work()
{
    static Workload* work = [] {
        auto* w = new Workload;
        std::mt19937 random(2024);
        std::uniform_real_distribution<double> exponent(std::log(200.0), std::log(20000.0));
        for (int i = 0; i < kRecords; ++i) {
            w->sizes.push_back(static_cast<int32_t>(std::exp(exponent(random))));
            w->newSizes.push_back(static_cast<int32_t>(std::exp(exponent(random))));
            w->totalBytes += w->sizes.back();
        }
        w->bytes.resize(64 * 1024);
        for (uint8_t& b : w->bytes)
            b = static_cast<uint8_t>(random());
        return w;
    }();
    return *work;
}

const uint8_t* Content(int i)
{
    return Work().bytes.data() + (static_cast<size_t>(i) * 97) % 4096;
}

std::string Scratch(const char* name)
{
    std::filesystem::path folder = std::filesystem::temp_directory_path() / "quor_storage_bench";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

// ---- The data file ---------------------------------------------------------------------------------

CDataFile g_file;

void DataFileWrite(benchmark::State& state)
{
    for (auto _ : state) {
        std::remove(Scratch("bench.xrd").c_str());
        g_file.Create(Scratch("bench.xrd"), 400);
        for (int i = 0; i < kRecords; ++i) {
            CRecordReader record;
            int32_t entry;
            record.OpenNew(&g_file, CDataFile::kArticleTable);
            record.WriteByteBlock(Content(i), Work().sizes[static_cast<size_t>(i)]);
            record.Close(&entry);
        }
    }
    state.SetBytesProcessed(Work().totalBytes);
}

void DataFileRead(benchmark::State& state)
{
    int64_t sum = 0;
    for (auto _ : state) {
        for (int i = 0; i < kRecords; ++i) {
            CRecordReader record;
            record.OpenEntry(&g_file, CDataFile::kArticleTable, i, CRecordStream::kRead);
            std::vector<uint8_t> bytes = record.ReadByteBlock();
            sum += static_cast<int64_t>(bytes.size()) + bytes.back();
        }
    }
    benchmark::DoNotOptimize(sum);
    state.SetBytesProcessed(Work().totalBytes);
}

void DataFileRewrite(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 0; i < kRecords; i += 10) {
            CRecordReader record;
            int32_t entry;
            record.OpenEntry(&g_file, CDataFile::kArticleTable, i, CRecordStream::kRewrite);
            record.WriteByteBlock(Content(i + 1), Work().newSizes[static_cast<size_t>(i)]);
            record.Close(&entry);
        }
    }
}

void DataFileDelete(benchmark::State& state)
{
    for (auto _ : state) {
        for (int i = 5; i < kRecords; i += 10)
            g_file.DeleteArticleEntry(i);
        g_file.Close();
    }
}

// ---- SQLite ---------------------------------------------------------------------------------------

struct SqliteRun {
    sqlite3* db = nullptr;
    bool batched = false;

    void Exec(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            std::fprintf(stderr, "sqlite: %s\n", error);
            sqlite3_free(error);
        }
    }
    sqlite3_stmt* Prepare(const char* sql)
    {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
        return statement;
    }
    void Begin()
    {
        if (batched)
            Exec("BEGIN");
    }
    void Commit()
    {
        if (batched)
            Exec("COMMIT");
    }
};

SqliteRun g_sqlite[2];

void SqliteWrite(benchmark::State& state)
{
    SqliteRun& run = g_sqlite[state.range(0)];
    run.batched = state.range(0) == 1;
    for (auto _ : state) {
        std::string path = Scratch(run.batched ? "bench_batched.sqlite" : "bench.sqlite");
        std::remove(path.c_str());
        sqlite3_open(path.c_str(), &run.db);
        run.Exec("PRAGMA locking_mode=EXCLUSIVE");
        run.Exec("PRAGMA journal_mode=OFF");
        run.Exec("PRAGMA synchronous=OFF");
        run.Exec("CREATE TABLE records(id INTEGER PRIMARY KEY, data BLOB)");
        sqlite3_stmt* insert = run.Prepare("INSERT INTO records(id, data) VALUES(?, ?)");
        run.Begin();
        for (int i = 0; i < kRecords; ++i) {
            sqlite3_bind_int(insert, 1, i);
            sqlite3_bind_blob(insert, 2, Content(i), Work().sizes[static_cast<size_t>(i)], SQLITE_STATIC);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        run.Commit();
        sqlite3_finalize(insert);
    }
    state.SetBytesProcessed(Work().totalBytes);
}

void SqliteRead(benchmark::State& state)
{
    SqliteRun& run = g_sqlite[state.range(0)];
    int64_t sum = 0;
    for (auto _ : state) {
        sqlite3_stmt* select = run.Prepare("SELECT data FROM records WHERE id = ?");
        run.Begin();
        for (int i = 0; i < kRecords; ++i) {
            sqlite3_bind_int(select, 1, i);
            sqlite3_step(select);
            const uint8_t* blob = static_cast<const uint8_t*>(sqlite3_column_blob(select, 0));
            std::vector<uint8_t> bytes(blob, blob + sqlite3_column_bytes(select, 0));
            sum += static_cast<int64_t>(bytes.size()) + bytes.back();
            sqlite3_reset(select);
        }
        run.Commit();
        sqlite3_finalize(select);
    }
    benchmark::DoNotOptimize(sum);
    state.SetBytesProcessed(Work().totalBytes);
}

void SqliteRewrite(benchmark::State& state)
{
    SqliteRun& run = g_sqlite[state.range(0)];
    for (auto _ : state) {
        sqlite3_stmt* update = run.Prepare("UPDATE records SET data = ? WHERE id = ?");
        run.Begin();
        for (int i = 0; i < kRecords; i += 10) {
            sqlite3_bind_blob(update, 1, Content(i + 1), Work().newSizes[static_cast<size_t>(i)], SQLITE_STATIC);
            sqlite3_bind_int(update, 2, i);
            sqlite3_step(update);
            sqlite3_reset(update);
        }
        run.Commit();
        sqlite3_finalize(update);
    }
}

void SqliteDelete(benchmark::State& state)
{
    SqliteRun& run = g_sqlite[state.range(0)];
    for (auto _ : state) {
        sqlite3_stmt* erase = run.Prepare("DELETE FROM records WHERE id = ?");
        run.Begin();
        for (int i = 5; i < kRecords; i += 10) {
            sqlite3_bind_int(erase, 1, i);
            sqlite3_step(erase);
            sqlite3_reset(erase);
        }
        run.Commit();
        sqlite3_finalize(erase);
        sqlite3_close(run.db);
    }
}

void Once(benchmark::internal::Benchmark* b)
{
    b->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
}

}  // namespace

// Registered in the order they must run: each step works on what the step before left.
BENCHMARK(DataFileWrite)->Apply(Once);
BENCHMARK(DataFileRead)->Apply(Once);
BENCHMARK(DataFileRewrite)->Apply(Once);
BENCHMARK(DataFileDelete)->Apply(Once);
BENCHMARK(SqliteWrite)->Arg(0)->Apply(Once);
BENCHMARK(SqliteRead)->Arg(0)->Apply(Once);
BENCHMARK(SqliteRewrite)->Arg(0)->Apply(Once);
BENCHMARK(SqliteDelete)->Arg(0)->Apply(Once);
BENCHMARK(SqliteWrite)->Arg(1)->Apply(Once);
BENCHMARK(SqliteRead)->Arg(1)->Apply(Once);
BENCHMARK(SqliteRewrite)->Arg(1)->Apply(Once);
BENCHMARK(SqliteDelete)->Arg(1)->Apply(Once);

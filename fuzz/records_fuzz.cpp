// Fuzz target: arbitrary bytes opened as a data file, every entry read as the record its table holds
// (keywords, articles in full and in summary, keyword groups) and the password record read and tried;
// whatever reads is written back, masked under a record key. Any failure must be a CQuorError: a
// crash, a hang, a leak or a sanitizer report is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "storage/article_record.h"
#include "storage/data_file.h"
#include "storage/file_password.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"

namespace {

constexpr int32_t kMaxEntries = 512;

std::string ScratchPath()
{
    static std::string path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/quor_records_fuzz_" + std::to_string(getpid()) + ".xrd";
    }();
    return path;
}

template <typename F>
void Attempt(F&& action)
{
    try {
        action();
    } catch (const CQuorError&) {
    }
}

template <typename Record>
void ReadAndRewrite(CDataFile& file, int table)
{
    int32_t count = file.GetTableCount(table);
    for (int32_t i = 0; i < count && i < kMaxEntries; ++i) {
        Attempt([&] {
            if (file.GetEntry(table, i) == kNoneId) return;
            Record record;
            record.Read(file, i);
            record.Write(file, i);
        });
    }
}

void ReadSummaries(CDataFile& file)
{
    int32_t count = file.GetTableCount(CDataFile::kArticleTable);
    for (int32_t i = 0; i < count && i < kMaxEntries; ++i) {
        Attempt([&] {
            if (file.GetEntry(CDataFile::kArticleTable, i) == kNoneId) return;
            CArticleRecord record;
            record.ReadSummary(file, i);
            record.ReplaceByPlaceholder(file, i, false);
        });
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = ScratchPath();
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    try {
        CDataFile file;
        file.Open(path, false, true);
        CFilePassword password;
        Attempt([&] { password.Load(file); });
        Attempt([&] { password.Verify("password"); });
        const uint8_t key[16] = {9, 8, 7};
        file.SetRecordKey(key);
        ReadSummaries(file);
        ReadAndRewrite<CKeywordRecord>(file, CDataFile::kKeywordTable);
        ReadAndRewrite<CArticleRecord>(file, CDataFile::kArticleTable);
        ReadAndRewrite<CKeywordGroupRecord>(file, CDataFile::kGroupTable);
        Attempt([&] {
            if (password.SetPassword("new")) password.Save(file);
        });
    } catch (const CQuorError&) {
    }
    std::remove(path.c_str());
    return 0;
}

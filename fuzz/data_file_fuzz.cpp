// Fuzz target: arbitrary bytes opened as a data file. Every table entry and every keyed record is
// read field by field in the shapes the stored records use; then a few changes exercise allocation,
// freeing and rewriting on the same broken structures. Any failure must be a CQuorError: a crash, a
// hang, a leak or a sanitizer report is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/quor_error.h"
#include "storage/record_reader.h"

namespace {

// Entries read per table: enough to cover several index blocks of any input the fuzzer makes.
constexpr int32_t kMaxEntries = 2048;

std::string ScratchPath()
{
    static std::string path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/quor_fuzz_" + std::to_string(getpid()) + ".xrd";
    }();
    return path;
}

// Reads a record as a mix of every field kind until the first error.
void ReadFields(CRecordStream& stream)
{
    try {
        CIdSet set;
        stream.ReadShort();
        stream.ReadString();
        stream.ReadIdSet(set);
        stream.ReadSizedInt();
        stream.ReadSizedShort();
        stream.ReadPackedString();
        stream.ReadByteBlock();
        stream.SkipField();
        stream.ReadPacked();
        stream.Skip(700);
        stream.ReadInt();
    } catch (const CQuorError&) {
    }
}

void ReadEverything(CDataFile& file)
{
    for (int table : {0, 1, 3, 4, 5}) {
        int32_t count = file.GetTableCount(table);
        for (int32_t i = 0; i < count && i < kMaxEntries; ++i) {
            try {
                if (file.GetEntry(table, i) == kNoneId)
                    continue;
                CRecordReader reader;
                reader.OpenEntry(&file, table, i, CRecordStream::kRead);
                ReadFields(reader);
            } catch (const CQuorError& e) {
                if (e.Code() == kCorruptedRecord || e.Code() == kTruncatedFile)
                    break;  // the rest of this table lies behind the same broken chain
            }
        }
    }
    for (int key = 0; key <= 16; ++key) {
        try {
            CKeyedRecordStream stream;
            stream.Open(&file, key, CRecordStream::kRead);
            ReadFields(stream);
        } catch (const CQuorError&) {
        }
    }
    try {
        CArticleIdSet ids;
        file.CollectArticleIds(ids);
    } catch (const CQuorError&) {
    }
}

void ChangeSomething(CDataFile& file)
{
    const uint8_t key[16] = {1, 2, 3};
    file.SetRecordKey(key);
    auto attempt = [](auto&& action) {
        try {
            action();
        } catch (const CQuorError&) {
        }
    };
    attempt([&] {
        CRecordReader reader;
        int32_t entry;
        reader.OpenNew(&file, CDataFile::kArticleTable);
        reader.WriteString(std::string(600, 'a'));
        reader.WritePackedString("packed", CRecordStream::kPackCompressed | CRecordStream::kPackMasked);
        reader.Close(&entry);
    });
    attempt([&] {
        CRecordReader reader;
        reader.OpenEntry(&file, CDataFile::kKeywordTable, 0, CRecordStream::kRewrite);
        reader.WriteInt(1);
        reader.Close();
    });
    attempt([&] { file.DeleteEntry(CDataFile::kArticleTable, 0); });
    attempt([&] { file.PutEntry(CDataFile::kGroupTable, 2, file.AllocateBlock()); });
    attempt([&] {
        CIdSet set;
        set.Add(3);
        CKeyedRecordStream::WriteIdSet(&file, 1, set);
    });
    attempt([&] { file.FreeChain(file.GetEntry(CDataFile::kKeywordTable, 1)); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string path = ScratchPath();
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);
    try {
        CDataFile file;
        file.Open(path, false, true);
        ReadEverything(file);
        ChangeSomething(file);
        ReadEverything(file);
    } catch (const CQuorError&) {
    }
    std::remove(path.c_str());
    return 0;
}

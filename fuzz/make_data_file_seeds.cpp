// Writes the seed corpus of data_file_fuzz: small data files of every version holding each kind of
// table record, keyed record, packed mode, deleted entry and free chain.
// Usage: make_data_file_seeds <folder>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/record_reader.h"

namespace {

std::string g_folder;

void Seed(const std::string& name, int version, const std::function<void(CDataFile&)>& fill)
{
    CDataFile file;
    file.Create(g_folder + "/" + name, version);
    fill(file);
    file.Close();
}

int32_t AddRecord(CDataFile& file, int table, const std::function<void(CRecordStream&)>& fields)
{
    CRecordReader reader;
    int32_t entry;
    reader.OpenNew(&file, table);
    fields(reader);
    reader.Close(&entry);
    return entry;
}

void Keyword(CRecordStream& s, const std::string& name, std::initializer_list<int32_t> articles)
{
    CIdSet ids;
    for (int32_t id : articles)
        ids.Add(id);
    s.WriteShort(int16_t(0x8001));
    s.WriteString(name);
    s.WriteIdSet(ids);
    s.WriteSizedInt(20240102);
    s.WriteSizedShort(7);
}

void Article(CRecordStream& s, const std::string& title, const std::string& content, int mode)
{
    s.WriteShort(3);
    s.WritePackedString(title, mode);
    CIdSet keywords;
    keywords.Add(0);
    keywords.Add(2);
    s.WriteIdSet(keywords);
    s.WriteSizedInt(20200101);
    s.WriteSizedShort(1);
    s.WritePackedString(content, mode);
    s.WriteByteBlock(content.data(), static_cast<int32_t>(content.size() / 2));
    s.WriteString("end");
}

void Standard(CDataFile& file)
{
    const uint8_t key[16] = {0x11, 0x22, 0x33};
    file.SetRecordKey(key);
    AddRecord(file, 0, [](CRecordStream& s) { Keyword(s, "alpha", {0, 1}); });
    AddRecord(file, 0, [](CRecordStream& s) { Keyword(s, "beta", {1}); });
    AddRecord(file, 0, [](CRecordStream& s) { Keyword(s, "gamma", {}); });
    std::string text(900, 'x');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = char('a' + (i * 7) % 26);
    AddRecord(file, 1, [&](CRecordStream& s) { Article(s, "raw", text, 0); });
    AddRecord(file, 1, [&](CRecordStream& s) { Article(s, "zlib", text, 1); });
    AddRecord(file, 1, [&](CRecordStream& s) { Article(s, "masked", text, 3); });
    if (file.GetHeaderSize() >= CDataFile::kMaxHeaderSize)  // groups need the 220-byte header
        AddRecord(file, 3, [](CRecordStream& s) { Keyword(s, "group", {0, 2}); });
    CIdSet bookmarks;
    bookmarks.Add(1);
    CKeyedRecordStream::WriteIdSet(&file, 1, bookmarks);
    CKeyedRecordStream::WriteIdSet(&file, 10, bookmarks);
    CKeyedRecordStream settings;
    settings.Open(&file, 4, CRecordStream::kRewrite);
    settings.WriteSizedInt(1);
    settings.WriteString("setting");
    settings.Close();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    g_folder = argv[1];
    Seed("new400.xrd", 400, [](CDataFile&) {});
    Seed("new300.xrd", 300, [](CDataFile&) {});
    Seed("new220.xrd", 220, [](CDataFile&) {});
    Seed("records400.xrd", 400, Standard);
    Seed("records300.xrd", 300, Standard);
    Seed("records220.xrd", 220, [](CDataFile& f) {
        AddRecord(f, 0, [](CRecordStream& s) { Keyword(s, "old", {0}); });
        AddRecord(f, 1, [](CRecordStream& s) { Article(s, "old", std::string(600, 'o'), 0); });
    });
    Seed("protectall.xrd", 400, [](CDataFile& f) {
        f.SetProtectAll(true);
        Standard(f);
    });
    Seed("deleted.xrd", 400, [](CDataFile& f) {
        Standard(f);
        f.DeleteEntry(1, 1);
        f.DeleteEntry(0, 0);
        f.PutEntry(0, 6, f.AllocateBlock());
    });
    Seed("rewritten.xrd", 400, [](CDataFile& f) {
        int32_t entry = AddRecord(f, 1, [](CRecordStream& s) { s.WriteString(std::string(2000, 'r')); });
        CRecordReader reader;
        reader.OpenEntry(&f, 1, entry, CRecordStream::kRewrite);
        reader.WriteString("short");
        reader.Close();
    });
    Seed("twoindexblocks.xrd", 400, [](CDataFile& f) {
        int32_t shared = AddRecord(f, 0, [](CRecordStream& s) { Keyword(s, "shared", {1, 2, 3}); });
        int32_t first = f.GetEntry(0, shared);
        for (int i = 0; i < 140; ++i)
            f.AddEntry(0, first);
    });
    Seed("tableblock128.xrd", 400, [](CDataFile& f) {
        int32_t first = AddRecord(f, 1, [](CRecordStream& s) { s.WriteByteBlock(std::string(66000, 'b').data(), 66000); });
        (void)first;
    });
    std::printf("seeds written to %s\n", argv[1]);
    return 0;
}

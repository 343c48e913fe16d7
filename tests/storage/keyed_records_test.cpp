// CKeyedRecordStream (the key directory) and CRecordReader (table records).
#include <gtest/gtest.h>

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/record_reader.h"
#include "tests/support/storage_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

class KeyedRecordsTest : public ::testing::Test {
protected:
    void SetUp() override { file.Create(folder.File("kb.xrd"), 400); }

    // The key directory record as stored, up to its byte count.
    std::string Directory()
    {
        std::string block(512, '\0');
        file.ReadBlock(file.GetKeyDirectoryBlock(), reinterpret_cast<uint8_t*>(&block[0]));
        return block.substr(0, 4 + static_cast<size_t>(Get32(block, 0)));
    }
    void WriteKey(int key, int32_t value)
    {
        CKeyedRecordStream stream;
        stream.Open(&file, key, CRecordStream::kRewrite);
        stream.WriteInt(value);
        stream.Close();
    }
    int32_t ReadKey(int key)
    {
        CKeyedRecordStream stream;
        stream.Open(&file, key, CRecordStream::kRead);
        return stream.ReadInt();
    }

    CTempFolder folder;
    CDataFile file;
};

}  // namespace

TEST_F(KeyedRecordsTest, TheFirstKeyCreatesTheDirectory)
{
    EXPECT_EQ(CKeyedRecordStream::FindKey(&file, 8), kNoneIdValue);
    WriteKey(8, 1234);
    int32_t first = CKeyedRecordStream::FindKey(&file, 8);
    EXPECT_EQ(file.GetKeyCount(), 1);
    EXPECT_EQ(Directory(), Le32(6) + Le16(8) + Le32(first));
    EXPECT_EQ(ReadKey(8), 1234);
    file.Close();
    std::string bytes = CTempFolder::ReadFile(folder.File("kb.xrd"));
    EXPECT_EQ(Get32(bytes, 44), 1);  // descriptor 2: count, free, directory block
    EXPECT_EQ(Get32(bytes, 48), 0);
    EXPECT_NE(Get32(bytes, 52), kNoneIdValue);
}

TEST_F(KeyedRecordsTest, KeysStayInFirstWrittenOrder)
{
    WriteKey(10, 1);
    WriteKey(1, 2);
    WriteKey(4, 3);
    std::string directory = Directory();
    int32_t first10 = CKeyedRecordStream::FindKey(&file, 10);
    EXPECT_EQ(directory, Le32(18) + Le16(10) + Le32(first10) + Le16(1) + Le32(CKeyedRecordStream::FindKey(&file, 1)) +
                             Le16(4) + Le32(CKeyedRecordStream::FindKey(&file, 4)));
    // Rewriting a key reuses its chain and leaves the directory as it was.
    WriteKey(10, 99);
    EXPECT_EQ(Directory(), directory);
    EXPECT_EQ(CKeyedRecordStream::FindKey(&file, 10), first10);
    EXPECT_EQ(ReadKey(10), 99);
    EXPECT_EQ(file.GetKeyCount(), 3);
}

TEST_F(KeyedRecordsTest, IdSetRecordsAndMissingKeys)
{
    std::string message;
    CIdSet set;
    EXPECT_EQ(ErrorOf([&] { CKeyedRecordStream::ReadIdSet(&file, 1, set); }, &message), 5);
    EXPECT_EQ(message, folder.File("kb.xrd"));
    set.Add(30);
    set.Add(4);
    CKeyedRecordStream::WriteIdSet(&file, 1, set);
    file.Close();
    file.Open(folder.File("kb.xrd"), false);
    CArticleIdSet read;
    CKeyedRecordStream::ReadIdSet(&file, 1, read);
    EXPECT_EQ(read.Values(), set.Values());
}

TEST_F(KeyedRecordsTest, TableRecordsAreEnteredWhenClosed)
{
    CRecordReader reader;
    int32_t entry = -1;
    reader.OpenNew(&file, CDataFile::kKeywordTable);
    reader.WriteString("alpha");
    reader.Close(&entry);
    EXPECT_EQ(entry, 0);

    reader.OpenNewAt(&file, CDataFile::kKeywordTable, 3);
    reader.WriteString("delta");
    reader.Close(&entry);
    EXPECT_EQ(entry, 3);
    EXPECT_EQ(file.GetTableCount(CDataFile::kKeywordTable), 4);
    EXPECT_EQ(file.GetKeywordCount(), 2);  // entries 1 and 2 were padded as deleted

    reader.OpenNew(&file, CDataFile::kKeywordTable);  // not entered without an out parameter
    reader.WriteString("lost");
    reader.Close();
    EXPECT_EQ(file.GetTableCount(CDataFile::kKeywordTable), 4);

    reader.OpenEntry(&file, CDataFile::kKeywordTable, 3, CRecordStream::kRewrite);
    reader.WriteString("DELTA");
    reader.Close(&entry);
    EXPECT_EQ(entry, 3);
    reader.OpenEntry(&file, CDataFile::kKeywordTable, 3, CRecordStream::kRead);
    EXPECT_EQ(reader.ReadString(), "DELTA");
    reader.Close();

    EXPECT_EQ(ErrorOf([&] { reader.OpenEntry(&file, CDataFile::kKeywordTable, 1, CRecordStream::kRead); }), 5);
    EXPECT_EQ(ErrorOf([&] { reader.OpenEntry(&file, CDataFile::kKeywordTable, 4, CRecordStream::kRead); }), 3);
}

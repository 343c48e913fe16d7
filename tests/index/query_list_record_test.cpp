#include "index/query_list.h"

#include <gtest/gtest.h>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/record_stream.h"
#include "tests/support/storage_helpers.h"
#include "tests/support/temp_folder.h"

namespace {

class QueryListRecordTest : public ::testing::TestWithParam<int> {
protected:
    void Create(int version) { file.Create(folder.File("kb.xrd"), version); }

    int32_t WriteRecord(const std::function<void(CRecordStream&)>& fields)
    {
        CRecordStream stream;
        int32_t first = file.AllocateBlock();
        stream.Open(&file, first, CRecordStream::kNew);
        fields(stream);
        stream.Close();
        return first;
    }

    int32_t Save(const CQueryList& list)
    {
        return WriteRecord([&](CRecordStream& s) { list.WriteTo(s, file.GetVersion()); });
    }

    void Load(int32_t first, CQueryList& list)
    {
        CRecordStream stream;
        stream.Open(&file, first, CRecordStream::kRead);
        list.ReadFrom(stream);
    }

    std::string Content(int32_t first)
    {
        std::string bytes;
        for (int32_t b = first; b != kNoneIdValue; b = file.GetNextBlock(b)) {
            std::string block(512, '\0');
            file.ReadBlock(b, reinterpret_cast<uint8_t*>(&block[0]));
            bytes += block;
        }
        return bytes;
    }

    static std::vector<int> Recent(const CQueryList& list)
    {
        std::vector<int> recent;
        for (int i = 0; i < list.GetRecentCount(); ++i)
            recent.push_back(list.GetRecentIndex(i));
        return recent;
    }

    static void TwoQueries(CQueryList& list)
    {
        list.Add("Work", "a AND b", 20200101, INT_MAX);
        list.Add("Home", "c", INT_MIN, 20201231);
        list.MoveToFront(0);  // recent: 0, 1
    }

    CTempFolder folder;
    CDataFile file;
};

std::string Packed(const std::string& s)
{
    return Le16(0) + Le32(static_cast<int32_t>(s.size() + 1)) + s + '\0';
}

std::string Plain(const std::string& s)
{
    return Le32(static_cast<int32_t>(s.size() + 1)) + s + '\0';
}

TEST_F(QueryListRecordTest, CurrentLayoutIsByteExact)
{
    Create(400);
    CQueryList list;
    TwoQueries(list);
    std::string expected = Le32(-1) + Le16(220) + Le32(2) + Packed("Work") + Packed("a AND b") + Le32(20200101) +
                           Le32(INT_MAX) + Packed("Home") + Packed("c") + Le32(INT_MIN) + Le32(20201231) + Le16(2) +
                           Le16(0) + Le16(1);
    std::string content = Content(Save(list));
    EXPECT_EQ(content.substr(0, expected.size()), expected);
    EXPECT_EQ(content.find_first_not_of('\0', expected.size()), std::string::npos);
}

TEST_F(QueryListRecordTest, OldLayoutIsByteExactAndCountsItsBytes)
{
    Create(220);
    CQueryList list;
    TwoQueries(list);
    std::string body = Le16(220) + Le32(2) + Plain("Work") + Plain("a AND b") + Le32(20200101) + Le32(INT_MAX) +
                       Plain("Home") + Plain("c") + Le32(INT_MIN) + Le32(20201231) + Le16(2) + Le16(0) + Le16(1);
    int32_t length = 6 + (4 + 7 + 18) + (4 + 1 + 18) + 2 + 2 * 2;
    ASSERT_EQ(static_cast<size_t>(length), body.size());
    std::string content = Content(Save(list));
    EXPECT_EQ(content.substr(0, body.size() + 4), Le32(length) + body);
}

TEST_P(QueryListRecordTest, RoundTripKeepsEntriesAndRecentOrder)
{
    Create(GetParam());
    CQueryList list;
    for (int i = 0; i < 23; ++i)
        list.Add("query " + std::to_string(i), "k" + std::to_string(i) + " OR \"x y\"", 20000000 + i, INT_MAX - i);
    list.MoveToFront(1);
    list.MoveToFront(0);

    CQueryList loaded;
    loaded.Add("stale", "stale", 0, 0);
    Load(Save(list), loaded);
    ASSERT_EQ(loaded.GetCount(), 23);
    EXPECT_EQ(Recent(loaded), Recent(list));
    EXPECT_FALSE(loaded.IsModified());
    for (int i = 0; i < 23; ++i) {
        std::string name, text;
        int32_t from = 0, to = 0;
        ASSERT_TRUE(loaded.GetAt(i, name, text, from, to));
        EXPECT_EQ(name, "query " + std::to_string(i));
        EXPECT_EQ(text, "k" + std::to_string(i) + " OR \"x y\"");
        EXPECT_EQ(from, 20000000 + i);
        EXPECT_EQ(to, INT_MAX - i);
    }
}

INSTANTIATE_TEST_SUITE_P(Versions, QueryListRecordTest, ::testing::Values(220, 300, 400));

TEST_F(QueryListRecordTest, ProtectedFileStillReadsBack)
{
    Create(400);
    const uint8_t key[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    file.SetRecordKey(key);
    file.SetProtectAll(true);
    CQueryList list;
    TwoQueries(list);
    int32_t first = Save(list);
    EXPECT_EQ(Content(first).substr(10, 2), Le16(3));  // the strings went packed and masked
    CQueryList loaded;
    Load(first, loaded);
    std::vector<std::string> names;
    loaded.GetRecentNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"Work", "Home"}));
}

TEST_F(QueryListRecordTest, AnotherLayoutVersionLoadsAsAnEmptyList)
{
    for (int version : {220, 400}) {
        Create(version);
        int32_t first = WriteRecord([&](CRecordStream& s) {
            s.WriteInt(version == 400 ? -1 : 10);
            s.WriteShort(221);
            s.WriteInt(1);
        });
        CQueryList loaded;
        loaded.Add("stale", "stale", 0, 0);
        Load(first, loaded);
        EXPECT_EQ(loaded.GetCount(), 0);
        EXPECT_EQ(loaded.GetRecentCount(), 0);
        file.Close();
    }
}

TEST_F(QueryListRecordTest, UntrustedRecentListKeepsOnlyValidIndexes)
{
    Create(400);
    int32_t first = WriteRecord([](CRecordStream& s) {
        s.WriteInt(-1);
        s.WriteShort(220);
        s.WriteInt(3);
        for (const char* name : {"q0", "q1", "q2"}) {
            s.WritePackedString(name, 0);
            s.WritePackedString("a", 0);
            s.WriteInt(INT_MIN);
            s.WriteInt(INT_MAX);
        }
        s.WriteShort(30);
        for (int16_t index : {1, 7, -1, 1, 2}) s.WriteShort(index);
        for (int i = 0; i < 25; ++i) s.WriteShort(0);
    });
    CQueryList loaded;
    Load(first, loaded);
    EXPECT_EQ(loaded.GetCount(), 3);
    EXPECT_EQ(Recent(loaded), (std::vector<int>{1, 2, 0}));
}

TEST_F(QueryListRecordTest, RecentCountBeyondTheRecordIsNotReadPastTwenty)
{
    Create(400);
    int32_t first = WriteRecord([](CRecordStream& s) {
        s.WriteInt(-1);
        s.WriteShort(220);
        s.WriteInt(2);
        for (const char* name : {"q0", "q1"}) {
            s.WritePackedString(name, 0);
            s.WritePackedString("a", 0);
            s.WriteInt(INT_MIN);
            s.WriteInt(INT_MAX);
        }
        s.WriteShort(32767);
        s.WriteShort(1);
    });
    CQueryList loaded;
    Load(first, loaded);  // the zeros after the record read as index 0, repeated: taken once
    EXPECT_EQ(Recent(loaded), (std::vector<int>{1, 0}));
}

struct OldRecordCase {
    const char* what;
    std::function<void(CRecordStream&)> write;
    std::vector<std::string> names;
};

TEST_F(QueryListRecordTest, OldLayoutKeepsWhatWasReadWhole)
{
    auto entry = [](CRecordStream& s, const std::string& name) {
        s.WriteString(name);
        s.WriteString("a");
        s.WriteInt(INT_MIN);
        s.WriteInt(INT_MAX);
    };
    const int32_t entryBytes = 4 + 3 + 4 + 2 + 8;  // "qN" and "a" with their NULs
    const OldRecordCase cases[] = {
        {"negative string length",
         [&](CRecordStream& s) {
             s.WriteInt(6 + entryBytes + 40);
             s.WriteShort(220);
             s.WriteInt(3);
             entry(s, "q0");
             s.WriteInt(-5);
         },
         {"q0"}},
        {"budget ends inside a string",
         [&](CRecordStream& s) {
             s.WriteInt(6 + entryBytes + 6);
             s.WriteShort(220);
             s.WriteInt(2);
             entry(s, "q0");
             s.WriteString("longer than the budget");
         },
         {"q0"}},
        {"budget ends before the dates",
         [&](CRecordStream& s) {
             s.WriteInt(6 + entryBytes + 11);
             s.WriteShort(220);
             s.WriteInt(2);
             entry(s, "q0");
             entry(s, "q1");
         },
         {"q0"}},
        {"negative count", [&](CRecordStream& s) {
             s.WriteInt(6);
             s.WriteShort(220);
             s.WriteInt(-4);
         }, {}},
        {"negative budget", [&](CRecordStream& s) {
             s.WriteInt(-20);
             s.WriteShort(220);
             s.WriteInt(1);
             entry(s, "q0");
         }, {}},
        {"no recent list within the budget",
         [&](CRecordStream& s) {
             s.WriteInt(6 + 2 * entryBytes);
             s.WriteShort(220);
             s.WriteInt(2);
             entry(s, "q0");
             entry(s, "q1");
             s.WriteShort(1);
             s.WriteShort(0);
         },
         {"q1", "q0"}},
    };
    Create(220);
    for (const OldRecordCase& c : cases) {
        SCOPED_TRACE(c.what);
        CQueryList loaded;
        Load(WriteRecord(c.write), loaded);
        std::vector<std::string> names;
        loaded.GetRecentNames(names);  // topped up from the highest index down
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(loaded.GetCount(), static_cast<int>(c.names.size()));
    }
}

TEST_F(QueryListRecordTest, TruncatedRecordIsCorruptAndLeavesNothing)
{
    Create(400);
    int32_t first = WriteRecord([](CRecordStream& s) {
        s.WriteInt(-1);
        s.WriteShort(220);
        s.WriteInt(1000000);
        s.WritePackedString("q0", 0);
    });
    CQueryList loaded;
    EXPECT_EQ(ErrorOf([&] { Load(first, loaded); }), 5);
    EXPECT_EQ(loaded.GetCount(), 0);
    EXPECT_EQ(loaded.GetRecentCount(), 0);
}

}  // namespace

namespace {

TEST_F(QueryListRecordTest, SavedAndLoadedAsKeyedRecordEight)
{
    for (int version : {220, 400}) {
        SCOPED_TRACE(version);
        const std::string path = folder.File("kb" + std::to_string(version) + ".xrd");
        file.Create(path, version);
        CQueryList list;
        list.Load(file);  // no record 8 yet: an empty list, no error
        EXPECT_EQ(list.GetCount(), 0);

        list.SaveIfModified(file);
        EXPECT_EQ(CKeyedRecordStream::FindKey(&file, 8), kNoneIdValue);
        TwoQueries(list);
        list.SaveIfModified(file);
        EXPECT_FALSE(list.IsModified());
        EXPECT_NE(CKeyedRecordStream::FindKey(&file, 8), kNoneIdValue);
        file.Close();

        file.Open(path, true);
        CQueryList loaded;
        loaded.Load(file);
        EXPECT_EQ(Recent(loaded), (std::vector<int>{0, 1}));
        loaded.SetName(1, "Garden");
        loaded.Save(file);  // read-only: nothing written, still modified
        EXPECT_TRUE(loaded.IsModified());
        file.Close();

        file.Open(path, false);
        loaded.Load(file);
        std::string name;
        loaded.GetName(1, name);
        EXPECT_EQ(name, "Home");
        file.Close();
    }
}

}  // namespace

namespace {

TEST_F(QueryListRecordTest, DamagedRecordEightLoadsEmptyWithoutError)
{
    Create(400);
    {
        CKeyedRecordStream stream;
        stream.Open(&file, 8, CRecordStream::kRewrite);
        stream.WriteInt(-1);
        stream.WriteShort(220);
        stream.WriteInt(5000);
        stream.Close();
    }
    CQueryList list;
    list.Add("stale", "a", 0, 0);
    EXPECT_EQ(ErrorOf([&] { list.Load(file); }), 0);
    EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace

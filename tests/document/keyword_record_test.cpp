#include "document/keyword_record.h"

#include <gtest/gtest.h>

#include "record_test_file.h"

namespace {

CIdSet Ids(std::initializer_list<int32_t> ids)
{
    CIdSet set;
    for (int32_t id : ids) set.Add(id);
    return set;
}

int32_t StoreKeyword(CRecordTestFile& t, const CKeywordRecord& record)
{
    return t.StoreRaw(CDataFile::kKeywordTable, [&](CRecordStream& s) { record.WriteTo(s); });
}

}  // namespace

TEST(KeywordRecord, LayoutFollowsTheFileVersion)
{
    struct Case {
        int fileVersion;
        int16_t type;
        bool groups;
    } cases[] = {{220, 2, false}, {300, static_cast<int16_t>(0x8002), false}, {400, static_cast<int16_t>(0x8003), true}};
    for (const Case& c : cases) {
        CRecordTestFile t(c.fileVersion);
        CKeywordRecord record;
        record.SetName("Gardening");
        record.SetArticleIds(Ids({7, 3, 11}));
        record.SetGroupIds(Ids({2}));
        int32_t id = StoreKeyword(t, record);

        independent::Keyword stored = independent::ReadKeyword(t.Bytes(), id, t.ZeroKey());
        EXPECT_EQ(stored.type, c.type) << c.fileVersion;
        EXPECT_EQ(stored.name, "Gardening");
        EXPECT_EQ(stored.articleIds, (std::vector<int32_t>{3, 7, 11}));
        EXPECT_EQ(stored.groupIds, c.groups ? std::vector<int32_t>{2} : std::vector<int32_t>{});

        CKeywordRecord back;
        t.LoadRaw(CDataFile::kKeywordTable, id, [&](CRecordStream& s) { back.ReadFrom(s); });
        EXPECT_EQ(back.GetName(), "Gardening");
        EXPECT_EQ(back.GetArticleCount(), 3);
        CIdSet groups;
        back.GetGroupIds(groups);
        EXPECT_EQ(groups.GetSize(), c.groups ? 1 : 0);
    }
}

TEST(KeywordRecord, GroupLayoutIsRefusedBelowVersion400)
{
    CRecordTestFile t(300);
    int32_t id = t.StoreRaw(CDataFile::kKeywordTable, [](CRecordStream& s) {
        s.WriteSizedShort(static_cast<int16_t>(0x8003));
        s.WritePackedString("Late", 0);
        s.WriteIdSet(Ids({1}));
        s.WriteIdSet(Ids({1}));
    });
    CKeywordRecord record;
    record.SetName("before");
    record.SetArticleIds(Ids({5}));
    std::string text;
    EXPECT_EQ(ErrorCodeOf([&] { t.LoadRaw(CDataFile::kKeywordTable, id, [&](CRecordStream& s) { record.ReadFrom(s); }); },
                          &text),
              56);
    EXPECT_EQ(text, t.Path());
    EXPECT_EQ(CQuorError(56, text).Message().rfind("This data file has been corrupted:", 0), 0u);
    EXPECT_EQ(record.GetName(), "");
    EXPECT_EQ(record.GetArticleCount(), 0);
}

TEST(KeywordRecord, OldRecordInANewFileIsWrittenBackWithGroups)
{
    CRecordTestFile t(400);
    int32_t id = t.StoreRaw(CDataFile::kKeywordTable, [](CRecordStream& s) {
        s.WriteSizedShort(2);
        s.WriteString("Old");
        s.WriteIdSet(Ids({4, 9}));
    });
    CKeywordRecord record;
    record.SetGroupIds(Ids({8}));  // whatever the object held before
    t.LoadRaw(CDataFile::kKeywordTable, id, [&](CRecordStream& s) { record.ReadFrom(s); });
    CIdSet groups;
    record.GetGroupIds(groups);
    EXPECT_EQ(groups.GetSize(), 0);
    EXPECT_EQ(record.GetName(), "Old");

    int32_t again = StoreKeyword(t, record);
    independent::Keyword stored = independent::ReadKeyword(t.Bytes(), again, t.ZeroKey());
    EXPECT_EQ(stored.type, static_cast<int16_t>(0x8003));
    EXPECT_EQ(stored.articleIds, (std::vector<int32_t>{4, 9}));
    EXPECT_TRUE(stored.groupIds.empty());
}

TEST(KeywordRecord, IdsComeBackSortedAndSizeIsReserved)
{
    CKeywordRecord record;
    CArticleIdSet unsorted;
    unsorted.Values() = {9, 2, 5};
    record.SetArticleIds(unsorted);
    CIdSet out;
    record.GetArticleIds(out);
    EXPECT_EQ(out.Values(), (std::vector<int32_t>{2, 5, 9}));
    record.SetName("abc");
    EXPECT_EQ(record.GetStoredSize(), 6 + 8 + 16 + 4);
}

TEST(KeywordGroupRecord, OnlyTheLowBitsOfTheTypeCount)
{
    CRecordTestFile t(400);
    auto store = [&](int16_t type) {
        return t.StoreRaw(CDataFile::kGroupTable, [&](CRecordStream& s) {
            s.WriteSizedShort(type);
            s.WritePackedString("Plants", 0);
            s.WriteInt(17);
            s.WriteIdSet(Ids({3, 1}));
        });
    };
    int32_t good = store(static_cast<int16_t>(0x8003));
    int32_t bad = store(2);

    CKeywordGroupRecord group;
    t.LoadRaw(CDataFile::kGroupTable, good, [&](CRecordStream& s) { group.ReadFrom(s); });
    EXPECT_EQ(group.GetName(), "Plants");
    EXPECT_EQ(group.GetNumber(), 17);
    CIdSet keywords;
    group.GetKeywordIds(keywords);
    EXPECT_EQ(keywords.Values(), (std::vector<int32_t>{1, 3}));

    EXPECT_EQ(ErrorCodeOf([&] { t.LoadRaw(CDataFile::kGroupTable, bad, [&](CRecordStream& s) { group.ReadFrom(s); }); }),
              56);
    EXPECT_EQ(group.GetName(), "");
    group.GetKeywordIds(keywords);
    EXPECT_EQ(keywords.GetSize(), 0);

    CKeywordGroupRecord nameOnly;
    t.LoadRaw(CDataFile::kGroupTable, good, [&](CRecordStream& s) { nameOnly.ReadFrom(s, true); });
    EXPECT_EQ(nameOnly.GetName(), "Plants");
    EXPECT_EQ(nameOnly.GetNumber(), 0);
}

TEST(KeywordGroupRecord, WrittenWithTypeThreeAndAPackedName)
{
    CRecordTestFile t(400);  // groups exist only in version-400 files
    CKeywordGroupRecord group;
    group.SetName("Trees");
    group.SetNumber(4);
    group.SetKeywordIds(Ids({5}));
    int32_t id = t.StoreRaw(CDataFile::kGroupTable, [&](CRecordStream& s) { group.WriteTo(s); });
    CKeywordGroupRecord back;
    t.LoadRaw(CDataFile::kGroupTable, id, [&](CRecordStream& s) {
        EXPECT_EQ(s.ReadSizedShort(), 3);
        EXPECT_EQ(s.ReadShort(), 0);  // the name packed in mode 0
    });
    t.LoadRaw(CDataFile::kGroupTable, id, [&](CRecordStream& s) { back.ReadFrom(s); });
    EXPECT_EQ(back.GetName(), "Trees");
    EXPECT_EQ(back.GetNumber(), 4);
}

TEST(KeywordRecord, ProtectAllMasksTheNameAndNeedsTheRecordKey)
{
    CRecordTestFile t(400);
    t.file.SetProtectAll(true);
    CKeywordRecord record;
    record.SetName("Secret");
    EXPECT_EQ(ErrorCodeOf([&] { StoreKeyword(t, record); }), 48);
    CKeywordGroupRecord group;
    EXPECT_EQ(ErrorCodeOf([&] { t.StoreRaw(CDataFile::kGroupTable, [&](CRecordStream& s) { group.WriteTo(s); }); }), 48);

    t.SetKey(0x5A);
    int32_t id = StoreKeyword(t, record);
    independent::Keyword stored = independent::ReadKeyword(t.Bytes(), id, t.Key());
    EXPECT_EQ(stored.name, "Secret");
    EXPECT_THROW(independent::ReadKeyword(t.Bytes(), id, t.ZeroKey()), std::runtime_error);
}

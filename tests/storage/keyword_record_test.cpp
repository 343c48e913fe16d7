#include "storage/keyword_record.h"

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
    EXPECT_EQ(CQuorError(kCorruptedRecordType, text).Message().rfind("This data file has been corrupted:", 0), 0u);
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
    EXPECT_EQ(ErrorCodeOf([&] { StoreKeyword(t, record); }), kWrongPassword);
    CKeywordGroupRecord group;
    EXPECT_EQ(ErrorCodeOf([&] { t.StoreRaw(CDataFile::kGroupTable, [&](CRecordStream& s) { group.WriteTo(s); }); }), kWrongPassword);

    t.SetKey(0x5A);
    int32_t id = StoreKeyword(t, record);
    independent::Keyword stored = independent::ReadKeyword(t.Bytes(), id, t.Key());
    EXPECT_EQ(stored.name, "Secret");
    EXPECT_THROW(independent::ReadKeyword(t.Bytes(), id, t.ZeroKey()), std::runtime_error);
}

namespace {

struct AppendCase {
    const char* what;
    int version;
    size_t nameLength;
    int articles;  // ids 10, 20, 30, ... stored
    int groups;
    int trailingInts;  // bytes after the record's fields, as a foreign writer might leave them
    int32_t article;   // 0: one past the last stored id
    bool protectAll;
    CKeywordRecord::AppendResult expected;
};

// The whole file after a keyword record shaped by `c`, followed by a second record, was given one
// more article: through the shortcut, or read, changed and rewritten whole. *before: the file
// before the change.
std::string FileAfterAdding(const AppendCase& c, bool shortcut, CKeywordRecord::AppendResult* result,
                            std::string* before)
{
    CRecordTestFile t(c.version);
    if (c.protectAll) {
        t.SetKey(0x21);
        t.file.SetProtectAll(true);
    }
    CKeywordRecord record;
    record.SetName(std::string(c.nameLength, 'n'));
    CIdSet ids;
    for (int i = 1; i <= c.articles; ++i) ids.Values().push_back(10 * i);
    record.SetArticleIds(ids);
    CIdSet groups;
    for (int i = 1; i <= c.groups; ++i) groups.Values().push_back(i);
    record.SetGroupIds(groups);
    int32_t id = t.StoreRaw(CDataFile::kKeywordTable, [&](CRecordStream& s) {
        record.WriteTo(s);
        for (int i = 0; i < c.trailingInts; ++i) s.WriteInt(0x55555555);
    });
    CKeywordRecord other;
    other.SetName("next");
    StoreKeyword(t, other);
    std::vector<uint8_t> key = t.Key();
    t.file.Close();
    *before = CTempFolder::ReadFile(t.Path());
    t.file.Open(t.Path(), false);
    t.file.SetRecordKey(key.data());

    int32_t article = c.article != 0 ? c.article : 10 * c.articles + 10;
    if (shortcut) {
        *result = CKeywordRecord::AppendArticleId(t.file, id, article);
    } else {
        CKeywordRecord whole;
        whole.Read(t.file, id);
        if (whole.AddArticleId(article))
            whole.Write(t.file, id);
    }
    t.file.Close();
    return CTempFolder::ReadFile(t.Path());
}

}  // namespace

// A new article joins the end of a keyword's list by writing only the bytes that change; the file
// must come out byte for byte as the whole rewrite makes it, and every form the shortcut does not
// handle must be left untouched for the whole rewrite.
TEST(KeywordRecord, AppendingAnArticleMatchesTheWholeRewrite)
{
    using R = CKeywordRecord;
    AppendCase cases[] = {
        {"empty list", 400, 9, 0, 0, 0, 0, false, R::kAppended},
        {"small list with a group", 400, 9, 3, 1, 0, 0, false, R::kAppended},
        {"the new id opens a block", 400, 9, 119, 1, 0, 0, false, R::kAppended},
        {"many blocks, groups across a block edge", 400, 9, 3000, 30, 0, 0, false, R::kAppended},
        {"the count across a block edge", 400, 498, 200, 2, 0, 0, false, R::kAppended},
        {"version 300 without groups", 300, 9, 200, 0, 0, 0, false, R::kAppended},
        {"bytes after the fields", 400, 9, 120, 1, 300, 0, false, R::kAppended},
        {"the id is already last", 400, 9, 50, 1, 0, 500, false, R::kAlreadyLast},
        {"a smaller id", 400, 9, 50, 1, 0, 15, false, R::kRewriteWhole},
        {"protect-all", 400, 9, 50, 1, 0, 0, true, R::kRewriteWhole},
        {"an older file", 220, 9, 50, 0, 0, 0, false, R::kRewriteWhole},
    };
    for (const AppendCase& c : cases) {
        SCOPED_TRACE(c.what);
        CKeywordRecord::AppendResult result = R::kRewriteWhole;
        std::string before;
        std::string viaShortcut = FileAfterAdding(c, true, &result, &before);
        EXPECT_EQ(result, c.expected);
        if (c.expected == R::kAppended) {
            EXPECT_NE(viaShortcut, before);
            EXPECT_TRUE(viaShortcut == FileAfterAdding(c, false, &result, &before));
        } else {
            EXPECT_TRUE(viaShortcut == before);
        }
    }
}

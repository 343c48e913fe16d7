// Records stored in and read from their tables and keyed records, end to end.
#include <gtest/gtest.h>

#include "storage/article_record.h"
#include "storage/file_password.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyword_record.h"
#include "record_test_file.h"

namespace {

CArticleRecord SampleArticle()
{
    CArticleRecord a;
    a.SetTitle("Seed catalogue");
    a.SetRtfText("{\\rtf1 Order {\\i before} March.}");
    a.SetDate(20250115);
    a.SetTime(45000);
    CKeywordIdSet keywords;
    keywords.Add(4);
    keywords.Add(2);
    a.SetKeywordIds(keywords);
    CLinkTarget target;
    target.Set(CLinkTarget::kArticle, "Sowing plan", 0, 3);
    a.AddAttachment(target);
    CLinkRangeList links;
    LinkRange link;
    link.start = 6;
    link.end = 12;
    link.type = 3;
    link.targetArticle = 3;
    link.target = "Sowing plan";
    links.Add(link);
    a.SetLinks(links);
    return a;
}

void ExpectSample(const independent::Article& s)
{
    EXPECT_EQ(s.title, "Seed catalogue");
    EXPECT_EQ(s.content, "{\\rtf1 Order {\\i before} March.}");
    EXPECT_EQ(s.date, 20250115);
    EXPECT_EQ(s.time, 45000);
    EXPECT_EQ(s.keywordIds, (std::vector<int32_t>{2, 4}));
    ASSERT_EQ(s.attachments.size(), 1u);
    EXPECT_EQ(s.attachments[0].target, "Sowing plan");
    EXPECT_EQ(s.attachments[0].articleId, 3);
    ASSERT_EQ(s.links.size(), 1u);
    EXPECT_EQ(s.links[0].start, 6);
    EXPECT_EQ(s.links[0].target, "Sowing plan");
}

}  // namespace

TEST(RecordTables, ArticlesThroughTheirTable)
{
    CRecordTestFile t(400);
    CArticleRecord a = SampleArticle();
    int32_t first = a.WriteNew(t.file);
    int32_t second = SampleArticle().WriteNew(t.file);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
    ExpectSample(independent::ReadArticle(t.Bytes(), first, t.ZeroKey()));

    CArticleRecord back;
    back.Read(t.file, first);
    EXPECT_EQ(back.GetTitle(), "Seed catalogue");
    back.SetTitle("Seed catalogue 2025");
    back.Write(t.file, first);
    EXPECT_EQ(independent::ReadArticle(t.Bytes(), first, t.ZeroKey()).title, "Seed catalogue 2025");

    SampleArticle().WriteNewAt(t.file, 10);
    EXPECT_EQ(independent::ReadArticle(t.Bytes(), 10, t.ZeroKey()).title, "Seed catalogue");
    EXPECT_EQ(t.file.GetArticleCount(), 3);

    CArticleRecord summary;
    summary.ReadSummary(t.file, second);
    EXPECT_EQ(summary.GetTitle(), "Seed catalogue");
    EXPECT_EQ(summary.GetAttachmentCount(), 1);

    // A deleted entry: the error passes on and the record's texts and lists are empty.
    t.file.DeleteArticleEntry(second);
    EXPECT_EQ(ErrorCodeOf([&] { back.Read(t.file, second); }), kCorruptedRecord);
    EXPECT_EQ(back.GetTitle(), "");
    EXPECT_EQ(back.GetLinks().GetCount(), 0);
}

TEST(RecordTables, TrackedArticleLeavesAPlaceholder)
{
    CRecordTestFile t(400);
    CArticleRecord plain = SampleArticle();
    int32_t id = plain.WriteNew(t.file);
    EXPECT_TRUE(plain.ReplaceByPlaceholder(t.file, id, false));  // untracked: the caller deletes

    CArticleRecord tracked = SampleArticle();
    tracked.SetCreated(20200202, 7);
    tracked.SetFlags(CArticleRecord::kTracked);
    id = tracked.WriteNew(t.file);
    EXPECT_TRUE(tracked.ReplaceByPlaceholder(t.file, id, true));  // forced
    EXPECT_FALSE(tracked.ReplaceByPlaceholder(t.file, id, false));
    independent::Article s = independent::ReadArticle(t.Bytes(), id, t.ZeroKey());
    EXPECT_EQ(s.flags, 0x1C);
    EXPECT_EQ(s.createdDate, 20200202);
    EXPECT_EQ(s.createdTime, 7);
    EXPECT_EQ(s.title, "");
    EXPECT_TRUE(s.attachments.empty());

    t.SetKey(0x77);
    CArticleRecord secret = SampleArticle();
    secret.SetFlags(CArticleRecord::kTracked);
    secret.SetPrivate(true);
    id = secret.WriteNew(t.file);
    EXPECT_FALSE(secret.ReplaceByPlaceholder(t.file, id, false));
    EXPECT_EQ(independent::ReadArticle(t.Bytes(), id, t.Key()).flags, 0x1C | 0x03);
}

TEST(RecordTables, KeywordsAndGroupsThroughTheirTables)
{
    CRecordTestFile t(400);
    CKeywordRecord keyword;
    keyword.SetName("Roses");
    CArticleIdSet articles;
    articles.Add(1);
    keyword.SetArticleIds(articles);
    int32_t id = keyword.WriteNew(t.file);
    keyword.SetName("Old roses");
    keyword.Write(t.file, id);
    CKeywordRecord back;
    back.Read(t.file, id);
    EXPECT_EQ(back.GetName(), "Old roses");
    EXPECT_EQ(back.GetArticleCount(), 1);

    CKeywordGroupRecord group;
    group.SetName("Flowers");
    CKeywordIdSet keywords;
    keywords.Add(id);
    group.SetKeywordIds(keywords);
    int32_t groupId = group.WriteNew(t.file);
    CKeywordGroupRecord name;
    name.ReadName(t.file, groupId);
    EXPECT_EQ(name.GetName(), "Flowers");
    group.SetNumber(3);
    group.Write(t.file, groupId);
    CKeywordGroupRecord full;
    full.Read(t.file, groupId);
    EXPECT_EQ(full.GetNumber(), 3);

    // A layout this program does not know.
    int32_t wrong = t.StoreRaw(CDataFile::kKeywordTable, [&](CRecordStream& s) {
        s.WriteSizedShort(static_cast<int16_t>(0x8004));
        s.WritePackedString("Future", 0);
    });
    std::string text;
    EXPECT_EQ(ErrorCodeOf([&] { back.Read(t.file, wrong); }, &text), kCorruptedRecordType);
    EXPECT_EQ(text, t.Path());
    EXPECT_EQ(back.GetName(), "");
}

TEST(RecordTables, PrivateArticleUnderAPassword)
{
    CRecordTestFile t(400);
    CFilePassword password;
    password.Load(t.file);  // no record 9: no password
    EXPECT_FALSE(password.HasPassword());
    ASSERT_TRUE(password.SetPassword("gardener"));
    password.Save(t.file);
    EXPECT_FALSE(password.IsDirty());

    CArticleRecord a = SampleArticle();
    a.SetPrivate(true);
    int32_t id = a.WriteNew(t.file);

    // The independent reader, given the password, reads what was written.
    independent::DataFileBytes bytes = t.Bytes();
    independent::Article s = independent::ReadArticle(bytes, id, bytes.RecordKey("gardener"));
    ExpectSample(s);
    EXPECT_EQ(s.flags & 3, 3);
    for (int mode : s.packedModes) EXPECT_EQ(mode, 3);
    EXPECT_THROW(bytes.RecordKey("Gardener"), std::runtime_error);

    // Opened again: locked until the password is given, and locked again by Lock.
    t.SetKey(0);
    CFilePassword opened;
    opened.Load(t.file);
    EXPECT_TRUE(opened.HasPassword());
    EXPECT_FALSE(opened.IsUnlocked());
    CArticleRecord back;
    EXPECT_EQ(ErrorCodeOf([&] { back.Read(t.file, id); }), kCorruptedRecord);
    EXPECT_FALSE(opened.Verify("wrong"));
    EXPECT_EQ(ErrorCodeOf([&] { back.Read(t.file, id); }), kCorruptedRecord);
    ASSERT_TRUE(opened.Verify("gardener"));
    back.Read(t.file, id);
    EXPECT_EQ(back.GetTitle(), "Seed catalogue");
    EXPECT_TRUE(back.IsPrivate());
    opened.Lock();
    EXPECT_EQ(ErrorCodeOf([&] { back.Read(t.file, id); }), kCorruptedRecord);
    // While locked, nothing masked can be written.
    EXPECT_EQ(ErrorCodeOf([&] { a.WriteNew(t.file); }), kWrongPassword);

    // The password record travels to a new file.
    CTempFolder other;
    CDataFile copy;
    copy.Create(other.File("copy.xrd"), 400);
    CFilePassword::CopyTo(t.file, copy);
    CFilePassword copied;
    copied.Load(copy);
    EXPECT_TRUE(copied.Verify("gardener"));
    copy.Close();
}

TEST(RecordTables, DamagedPasswordRecordStaysLocked)
{
    CRecordTestFile t(400);
    CKeyedRecordStream stream;
    stream.Open(&t.file, CFilePassword::kPasswordKey, CRecordStream::kRewrite);
    stream.WriteInt(20);  // a password, but too short to hold its salt, check and key
    stream.WriteShort(1);
    stream.Close();
    CFilePassword password;
    EXPECT_EQ(ErrorCodeOf([&] { password.Load(t.file); }), kCorruptedRecord);
    EXPECT_TRUE(password.HasPassword());
    EXPECT_FALSE(password.IsUnlocked());
    EXPECT_FALSE(password.SetPassword("new"));
    EXPECT_EQ(t.Key(), CRecordTestFile::ZeroKey());
}

#include "storage/article_record.h"

#include <gtest/gtest.h>

#include "storage/date.h"
#include "record_test_file.h"

namespace {

constexpr int32_t kUnset = static_cast<int32_t>(0x80000001u);
constexpr int32_t kNow = 13 * 3600 + 5 * 60 + 9;  // the pinned clock's time of day
constexpr int32_t kToday = 20261210;

int32_t StoreArticle(CRecordTestFile& t, CArticleRecord& record)
{
    return t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) { record.WriteTo(s); });
}

CArticleRecord LoadArticle(CRecordTestFile& t, int32_t id)
{
    CArticleRecord record;
    t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) { record.ReadFrom(s); });
    return record;
}

LinkRange Link(int32_t start, int32_t end, const char* target, int32_t article = -1)
{
    LinkRange r;
    r.start = start;
    r.end = end;
    r.type = article >= 0 ? 3 : 2;
    r.targetArticle = article;
    r.valueB = 11;
    r.valueC = -1;
    r.target = target;
    return r;
}

// An article with every field filled.
CArticleRecord FullArticle()
{
    CArticleRecord a;
    a.SetRichTextVersion();
    a.SetTitle("Roses in December");
    a.SetRtfText("{\\rtf1 Prune the roses {\\b now}.}");
    a.SetDate(20240305);
    a.SetTime(3600);
    a.SetCreated(20240301, 60);
    a.SetHeaderValue(77);
    CKeywordIdSet keywords;
    for (int32_t id : {12, 3, 40}) keywords.Add(id);
    a.SetKeywordIds(keywords);
    CLinkTarget file, web, article;
    file.Set(CLinkTarget::kFile, "C:\\Garden\\plan.txt", 1);
    web.Set(CLinkTarget::kInternet, "http://example.invalid/roses?x=1");
    article.Set(CLinkTarget::kArticle, "Tulips", 2, 9);
    a.AddAttachment(file);
    a.AddAttachment(web);
    a.AddAttachment(article);
    CArticleInfo info;
    info.SetKeepTitle(1);
    info.SetEditorState(0x1234);
    info.SetAttachmentOpening(CArticleInfo::kOpenAll);
    info.SetWordWrap(0);
    info.SetFlags(1);
    a.SetInfo(info);
    CLinkRangeList links;
    links.Add(Link(30, 35, "Tulips", 9));
    links.Add(Link(5, 10, "http://example.invalid"));
    a.SetLinks(links);
    return a;
}

void ExpectSameAsFull(const independent::Article& s, int mode)
{
    EXPECT_EQ(s.type, static_cast<int16_t>(0x812C));
    EXPECT_EQ(s.version, 6);
    EXPECT_EQ(s.headerValue, 77);
    EXPECT_EQ(s.title, "Roses in December");
    EXPECT_EQ(s.content, "{\\rtf1 Prune the roses {\\b now}.}");
    EXPECT_EQ(s.date, 20240305);
    EXPECT_EQ(s.time, 3600);
    EXPECT_EQ(s.createdDate, 20240301);
    EXPECT_EQ(s.createdTime, 60);
    EXPECT_EQ(s.modifiedDate, kToday);  // stamped when written
    EXPECT_EQ(s.modifiedTime, kNow);
    EXPECT_EQ(s.keywordIds, (std::vector<int32_t>{3, 12, 40}));
    ASSERT_EQ(s.attachments.size(), 3u);
    EXPECT_EQ(s.attachments[0].kind, 1);
    EXPECT_EQ(s.attachments[0].target, "C:\\Garden\\plan.txt");
    EXPECT_EQ(s.attachments[0].flags, 1);
    EXPECT_EQ(s.attachments[1].target, "http://example.invalid/roses?x=1");
    EXPECT_EQ(s.attachments[2].kind, 3);
    EXPECT_EQ(s.attachments[2].articleId, 9);
    EXPECT_EQ(s.attachments[2].flags, 2);
    EXPECT_EQ(s.keepTitle, 1);
    EXPECT_EQ(s.editorState, 0x1234);
    EXPECT_EQ(s.attachmentOpening, 2);
    EXPECT_EQ(s.wordWrap, 0);
    EXPECT_EQ(s.infoFlags, 1);
    ASSERT_EQ(s.links.size(), 2u);  // sorted by start when written
    EXPECT_EQ(s.links[0].start, 5);
    EXPECT_EQ(s.links[0].target, "http://example.invalid");
    EXPECT_EQ(s.links[1].targetArticle, 9);
    EXPECT_EQ(s.links[1].valueB, 11);
    EXPECT_EQ(s.links[1].valueC, -1);
    for (int m : s.packedModes) EXPECT_EQ(m, mode);
    EXPECT_EQ(s.packedModes.size(), 7u);  // title, 3 attachment targets, content, 2 link targets
}

}  // namespace

TEST(ArticleRecord, NewLayoutReadsBackThroughTheIndependentReader)
{
    for (int version : {300, 400}) {
        CRecordTestFile t(version);
        CArticleRecord a = FullArticle();
        int32_t id = StoreArticle(t, a);
        independent::Article s = independent::ReadArticle(t.Bytes(), id, t.ZeroKey());
        if (version == 400) {
            ExpectSameAsFull(s, 0);
        } else {
            EXPECT_EQ(s.title, "Roses in December");
            EXPECT_EQ(s.attachments[2].articleId, -1);  // the 300 form has no id or flags
            EXPECT_EQ(s.content, "{\\rtf1 Prune the roses {\\b now}.}");
        }
        EXPECT_EQ(s.flags, CArticleRecord::kHasLinksKnown | CArticleRecord::kHasLinks);

        CArticleRecord back = LoadArticle(t, id);
        EXPECT_EQ(back.GetTitle(), a.GetTitle());
        EXPECT_EQ(back.GetRtfText(), a.GetRtfText());
        EXPECT_EQ(back.GetVersion(), 6);
        EXPECT_EQ(back.GetDateOf(CArticleRecord::kModifiedDate), kToday);
        EXPECT_EQ(back.GetTimeOf(CArticleRecord::kCreatedDate), 60);
        EXPECT_EQ(back.GetLinks().GetCount(), 2);
        EXPECT_TRUE(back.GetInfo() == a.GetInfo());
        EXPECT_EQ(back.GetAttachmentCount(), 3);
        EXPECT_TRUE(back.HasLinks());
    }
}

TEST(ArticleRecord, PrivateArticleIsMaskedAndNeedsTheRecordKey)
{
    CRecordTestFile t(400);
    CArticleRecord a = FullArticle();
    a.SetPrivate(true);
    EXPECT_EQ(ErrorCodeOf([&] { StoreArticle(t, a); }), kWrongPassword);  // no record key: refused

    t.SetKey(0x3C);
    int32_t id = StoreArticle(t, a);
    independent::Article s = independent::ReadArticle(t.Bytes(), id, t.Key());
    ExpectSameAsFull(s, 3);
    EXPECT_EQ(s.flags & 3, 3);
    EXPECT_THROW(independent::ReadArticle(t.Bytes(), id, t.ZeroKey()), std::runtime_error);

    CArticleRecord back = LoadArticle(t, id);
    EXPECT_TRUE(back.IsPrivate());
    t.SetKey(0);  // locked: the masked fields cannot be read
    EXPECT_EQ(ErrorCodeOf([&] { LoadArticle(t, id); }), kCorruptedRecord);
}

TEST(ArticleRecord, OrdinaryArticleUnderProtectAllIsMasked)
{
    CRecordTestFile t(400);
    t.file.SetProtectAll(true);
    t.SetKey(0x11);
    CArticleRecord a = FullArticle();
    int32_t id = StoreArticle(t, a);
    independent::Article s = independent::ReadArticle(t.Bytes(), id, t.Key());
    for (int m : s.packedModes) EXPECT_EQ(m, 3);
    EXPECT_EQ(s.flags & 3, 0);
}

TEST(ArticleRecord, LayoutFollowsFileAndRecordVersion)
{
    {  // version 7 in a version-220 file: old layout, written as 9
        CRecordTestFile t(220);
        CArticleRecord a = FullArticle();
        a.SetLegacyText("legacy");
        a.SetText("plain");
        int32_t id = StoreArticle(t, a);
        independent::Article s = independent::ReadArticle(t.Bytes(), id, t.ZeroKey());
        EXPECT_EQ(s.type, 9);
        EXPECT_EQ(s.title, "Roses in December");
        EXPECT_EQ(s.plainText, "plain");
        EXPECT_EQ(s.legacyText, "legacy");
        EXPECT_EQ(s.content, a.GetRtfText());
        EXPECT_EQ(s.date, 20240305);
        EXPECT_EQ(s.wordWrap, 0);
        EXPECT_EQ(s.editorState, 0x1234);
        EXPECT_EQ(s.attachmentOpening, 2);
        ASSERT_EQ(s.attachments.size(), 3u);
        EXPECT_EQ(s.attachments[1].target, "http://example.invalid/roses?x=1");
        EXPECT_EQ(a.GetVersion(), 9);

        CArticleRecord back = LoadArticle(t, id);
        EXPECT_EQ(back.GetVersion(), 9);
        EXPECT_EQ(back.GetLegacyText(), "legacy");
        EXPECT_EQ(back.GetDateOf(CArticleRecord::kCreatedDate), 20240305);  // filled from the date
        EXPECT_EQ(back.GetTimeOf(CArticleRecord::kOwnDate), 0);
        EXPECT_EQ(back.GetInfo().GetEditorState(), 0x1234);
        EXPECT_EQ(back.GetLinks().GetCount(), 0);  // the old layout has none
    }
    {  // a plain-text record in a version-400 file: old layout; made rich text: new layout
        CRecordTestFile t(400);
        CArticleRecord a;
        a.SetPlainTextVersion();
        a.SetTitle("Shopping");
        a.SetText("milk, bread");
        a.SetDate(20241001);
        int32_t id = StoreArticle(t, a);
        independent::Article s = independent::ReadArticle(t.Bytes(), id, t.ZeroKey());
        EXPECT_EQ(s.type, 4);
        EXPECT_EQ(s.plainText, "milk, bread");
        a.SetRichTextVersion();
        EXPECT_EQ(a.GetVersion(), 9);
        id = StoreArticle(t, a);
        s = independent::ReadArticle(t.Bytes(), id, t.ZeroKey());
        EXPECT_EQ(s.type, static_cast<int16_t>(0x812C));
        EXPECT_EQ(s.version, 6);
    }
}

TEST(ArticleRecord, PrivatePlainTextArticleKeepsItsFlagAndMask)
{
    CRecordTestFile t(400);
    t.SetKey(0x42);
    CArticleRecord a;
    a.SetPlainTextVersion();
    a.SetTitle("PIN codes");
    a.SetText("1234");
    a.SetPrivate(true);
    int32_t id = StoreArticle(t, a);
    independent::Article s = independent::ReadArticle(t.Bytes(), id, t.Key());
    EXPECT_EQ(s.type, static_cast<int16_t>(0x812C));
    EXPECT_EQ(s.version, 4);
    EXPECT_EQ(s.flags & 3, 3);
    EXPECT_EQ(s.plainText, "1234");
    for (int m : s.packedModes) EXPECT_EQ(m, 3);

    CArticleRecord back = LoadArticle(t, id);
    EXPECT_TRUE(back.IsPrivate());
    EXPECT_EQ(back.GetVersion(), 4);
    EXPECT_EQ(back.GetText(), "1234");
    EXPECT_EQ(back.GetTitle(), "PIN codes");
    // Made public again, it goes back to the old layout.
    back.SetPrivate(false);
    id = StoreArticle(t, back);
    EXPECT_EQ(independent::ReadArticle(t.Bytes(), id, t.ZeroKey()).type, 4);
}

TEST(ArticleRecord, HeaderLengthIsHonoured)
{
    CRecordTestFile t(400);
    auto store = [&](int32_t length, int16_t type) {
        return t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) {
            s.WriteSizedShort(type);
            s.WriteInt(length);
            int16_t version = 6;
            std::vector<uint8_t> header(static_cast<size_t>(length > 40 ? length : 40), 0xEE);
            int32_t fields[] = {20240102, 100, 20240103, 200, 20240101, 300};
            header[0] = static_cast<uint8_t>(version);
            header[1] = 0;
            for (int i = 0; i < 4; ++i) header[2 + i] = 0;  // header value 0
            header[6] = 0x40;
            header[7] = 0;
            for (int f = 0; f < 6; ++f)
                for (int i = 0; i < 4; ++i)
                    header[static_cast<size_t>(8 + 4 * f + i)] = static_cast<uint8_t>(static_cast<uint32_t>(fields[f]) >> (8 * i));
            for (int32_t i = 0; i < length; i += 2) s.WriteShort(static_cast<int16_t>(header[i] | header[i + 1] << 8));
            s.WritePackedString("Title", 0);
            s.WriteIdSet(CIdSet());
            s.WriteSizedShort(0);
            s.WritePackedString("content", 0);
            s.WriteInt(20);
            s.WriteShort(static_cast<int16_t>(0xF33F));
            for (int i = 0; i < 4; ++i) s.WriteInt(0);
            s.WriteShort(0);
            s.WriteInt(0);
        });
    };
    CArticleRecord a = LoadArticle(t, store(40, static_cast<int16_t>(0x812C)));
    EXPECT_EQ(a.GetTitle(), "Title");
    EXPECT_EQ(a.GetRtfText(), "content");
    EXPECT_EQ(a.GetDateOf(CArticleRecord::kOwnDate), 20240101);
    EXPECT_EQ(a.GetTimeOf(CArticleRecord::kOwnDate), 300);

    // A 12-byte header covers the version, header value, flags and created date only.
    CArticleRecord shortHeader = LoadArticle(t, store(12, static_cast<int16_t>(0x812C)));
    EXPECT_EQ(shortHeader.GetDateOf(CArticleRecord::kCreatedDate), 20240102);
    EXPECT_EQ(shortHeader.GetDateOf(CArticleRecord::kOwnDate), kUnset);
    EXPECT_EQ(shortHeader.GetTimeOf(CArticleRecord::kOwnDate), 0);
    EXPECT_EQ(shortHeader.GetTitle(), "Title");

    // Bit 15 with any other layout is corruption, not an empty article.
    CArticleRecord other = FullArticle();
    EXPECT_EQ(ErrorCodeOf([&] { t.LoadRaw(CDataFile::kArticleTable, store(32, static_cast<int16_t>(0x812D)),
                                          [&](CRecordStream& s) { other.ReadFrom(s); }); }),
              5);
    EXPECT_EQ(other.GetTitle(), "");
    EXPECT_EQ(other.GetAttachmentCount(), 0);
}

TEST(ArticleRecord, UnsetDatesAreFilledAndBadTimesCountAsUnset)
{
    CRecordTestFile t(400);
    int32_t id = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) {
        s.WriteSizedShort(static_cast<int16_t>(0x812C));
        s.WriteInt(32);
        s.WriteShort(0);  // version 0: nothing after the header
        s.WriteInt(0);
        s.WriteShort(0);
        for (int32_t v : {kUnset, 86400, kUnset, -5, 20240707, 99999}) s.WriteInt(v);
    });
    CArticleRecord a = LoadArticle(t, id);
    EXPECT_EQ(a.GetTimeOf(CArticleRecord::kOwnDate), 0);
    EXPECT_EQ(a.GetDateOf(CArticleRecord::kCreatedDate), 20240707);
    EXPECT_EQ(a.GetTimeOf(CArticleRecord::kCreatedDate), 0);
    EXPECT_EQ(a.GetDateOf(CArticleRecord::kModifiedDate), 20240707);
    EXPECT_EQ(a.GetTimeOf(CArticleRecord::kModifiedDate), 0);
    EXPECT_EQ(a.GetTitle(), "");
}

TEST(ArticleRecord, StampingAndTrackFlags)
{
    CRecordTestFile t(400);
    CArticleRecord a;
    a.SetRichTextVersion();
    a.SetTitle("Tracked");
    a.SetFlags(CArticleRecord::kTracked);
    int32_t id = StoreArticle(t, a);
    independent::Article s = independent::ReadArticle(t.Bytes(), id, t.ZeroKey());
    EXPECT_EQ(s.createdDate, kToday);
    EXPECT_EQ(s.createdTime, kNow);
    EXPECT_EQ(s.flags, CArticleRecord::kTracked | CArticleRecord::kTrackedSaved);

    t.Now(MakeLocalTime(2027, 1, 2, 0, 0, 1));
    CArticleRecord back = LoadArticle(t, id);
    id = StoreArticle(t, back);
    s = independent::ReadArticle(t.Bytes(), id, t.ZeroKey());
    EXPECT_EQ(s.createdDate, kToday);  // kept
    EXPECT_EQ(s.modifiedDate, 20270102);
    EXPECT_EQ(s.modifiedTime, 1);

    CArticleRecord other;
    other.SetFlags(CArticleRecord::kPlaceholder | CArticleRecord::kHasLinks);
    CArticleRecord merged;
    merged.MergeTrackFlags(other);
    EXPECT_EQ(merged.GetFlags(), CArticleRecord::kPlaceholder);
    EXPECT_TRUE(merged.IsPlaceholder());
    merged.ClearTrackFlags();
    EXPECT_EQ(merged.GetFlags(), 0);
}

TEST(ArticleRecord, SummaryLearnsWhetherTheContentHasLinks)
{
    CRecordTestFile t(400);
    CArticleRecord a = FullArticle();
    a.SetFlags(0);  // has-links not known
    int32_t id = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) { a.WriteTo(s); });
    CArticleRecord summary;
    t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) { summary.ReadSummaryFrom(s); });
    EXPECT_EQ(summary.GetTitle(), "Roses in December");
    EXPECT_EQ(summary.GetAttachmentCount(), 3);
    EXPECT_TRUE(summary.HasLinks());
    EXPECT_EQ(summary.GetFlags() & CArticleRecord::kHasLinksKnown, CArticleRecord::kHasLinksKnown);
    CIdSet keywords;
    summary.GetKeywordIds(keywords);
    EXPECT_EQ(keywords.GetSize(), 0);  // skipped
}

TEST(ArticleRecord, AccessorsAndReset)
{
    CArticleRecord a = FullArticle();
    CLinkTarget none;
    a.SetMainAttachment(none);
    EXPECT_EQ(a.GetAttachmentCount(), 0);
    CLinkTarget first, second;
    first.Set(CLinkTarget::kInternet, "http://a.invalid");
    second.Set(CLinkTarget::kInternet, "http://b.invalid");
    a.SetMainAttachment(first);
    a.SetMainAttachment(second);
    ASSERT_EQ(a.GetAttachmentCount(), 1);
    EXPECT_EQ(a.GetAttachments().Item(0)->GetStoredTarget(), "http://b.invalid");

    a.SetLinks(CLinkRangeList());
    EXPECT_FALSE(a.HasLinks());
    EXPECT_EQ(a.GetFlags() & CArticleRecord::kHasLinksKnown, CArticleRecord::kHasLinksKnown);
    a.SetPrivate(true);
    EXPECT_EQ(a.GetFlags() & 3, 3);
    a.SetPrivate(false);
    EXPECT_FALSE(a.IsPrivate());

    CArticleInfo info = a.GetInfo();
    a.Reset();
    EXPECT_EQ(a.GetVersion(), 6);
    EXPECT_EQ(a.GetHeaderValue(), kUnset);
    EXPECT_EQ(a.GetDateOf(CArticleRecord::kCreatedDate), kUnset);
    EXPECT_EQ(a.GetTitle(), "");
    EXPECT_TRUE(a.GetInfo() == info);  // the info keeps its values
}

TEST(ArticleInfo, TolerantReaders)
{
    CRecordTestFile t(400);
    auto read = [&](const std::function<void(CRecordStream&)>& write, const std::function<void(CArticleInfo&, CRecordStream&)>& reader,
                    int32_t* after = nullptr) {
        int32_t id = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) {
            write(s);
            s.WriteInt(0x7777);  // what follows the part
        });
        CArticleInfo info;
        info.SetEditorState(99);
        info.SetWordWrap(5);
        t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) {
            reader(info, s);
            if (after) *after = s.ReadInt();
        });
        return info;
    };
    auto newForm = [](CArticleInfo& i, CRecordStream& s) { i.ReadNewForm(s); };
    auto part1 = [](CArticleInfo& i, CRecordStream& s) { i.ReadOldPart1(s); };
    auto part2 = [](CArticleInfo& i, CRecordStream& s) { i.ReadOldPart2(s); };

    // New form ending inside the editor state: word wrap read, the editor state takes the two bytes
    // that remain, the rest keeps the reset values with flag bit 0 set.
    int32_t after = 0;
    CArticleInfo info = read([](CRecordStream& s) {
        s.WriteInt(8);
        s.WriteShort(static_cast<int16_t>(0xF33F));
        s.WriteInt(0);
        s.WriteShort(0x0102);
    }, newForm, &after);
    EXPECT_EQ(info.GetWordWrap(), 0);
    EXPECT_EQ(info.GetEditorState(), 0x0102);
    EXPECT_EQ(info.GetAttachmentOpening(), 0);
    EXPECT_EQ(info.GetFlags(), 1);
    EXPECT_EQ(after, 0x7777);

    // A wrong marker is ignored; a longer part is skipped to its end.
    info = read([](CRecordStream& s) {
        s.WriteInt(24);
        s.WriteShort(0x1111);
        for (int32_t v : {1, 2, 0, 1}) s.WriteInt(v);
        s.WriteShort(0);
        s.WriteInt(-1);
    }, newForm, &after);
    EXPECT_EQ(info.GetEditorState(), 2);
    EXPECT_EQ(info.GetKeepTitle(), 1);
    EXPECT_EQ(info.GetFlags(), 0);
    EXPECT_EQ(after, 0x7777);

    // Old part 1 without its field resets everything, word wrap included.
    info = read([](CRecordStream& s) { s.WriteInt(0); }, part1, &after);
    EXPECT_EQ(info.GetWordWrap(), 1);
    EXPECT_EQ(info.GetEditorState(), 0);
    EXPECT_EQ(after, 0x7777);

    // Old part 2 with a wrong marker resets everything; a good one is read.
    info = read([](CRecordStream& s) {
        s.WriteInt(10);
        s.WriteShort(0x1234);
        s.WriteInt(3);
        s.WriteInt(2);
    }, part2, &after);
    EXPECT_EQ(info.GetEditorState(), 0);
    EXPECT_EQ(info.GetWordWrap(), 1);
    EXPECT_EQ(after, 0x7777);
    info = read([](CRecordStream& s) {
        s.WriteInt(10);
        s.WriteShort(static_cast<int16_t>(0xF22F));
        s.WriteInt(3);
        s.WriteInt(2);
    }, part2);
    EXPECT_EQ(info.GetEditorState(), 3);
    EXPECT_EQ(info.GetAttachmentOpening(), 2);
    EXPECT_EQ(info.GetWordWrap(), 5);  // part 2 does not touch it
}

TEST(ArticleRecord, SummaryOfAnOldLayoutRecord)
{
    CRecordTestFile t(220);
    CArticleRecord a = FullArticle();
    int32_t id = StoreArticle(t, a);
    CArticleRecord summary;
    t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) { summary.ReadSummaryFrom(s); });
    EXPECT_EQ(summary.GetVersion(), 9);
    EXPECT_EQ(summary.GetTitle(), "Roses in December");
    EXPECT_EQ(summary.GetDateOf(CArticleRecord::kOwnDate), 20240305);
    EXPECT_EQ(summary.GetDateOf(CArticleRecord::kModifiedDate), 20240305);
    EXPECT_EQ(summary.GetAttachmentCount(), 3);
    EXPECT_EQ(summary.GetInfo().GetWordWrap(), 0);
    EXPECT_EQ(summary.GetText(), "");  // skipped
}

#include "storage/link_target.h"
#include "storage/link_range_list.h"

#include <gtest/gtest.h>

#include "record_test_file.h"
#include "shell/directories.h"

namespace {

CLinkTarget FileTarget(const char* path)
{
    CLinkTarget target;
    target.Set(CLinkTarget::kFile, path);
    return target;
}

// The program runs portable from drive E unless a test says otherwise.
struct LinkTargetTest : ::testing::Test {
    CDirectories directories;
    const ILinkPathConverter* previous = nullptr;
    void SetUp() override
    {
        directories.SetDrive("E:\\Quorvane\\quorvane.exe");
        directories.SetPortable(true);
        previous = SetLinkPathConverter(&directories);
    }
    void TearDown() override { SetLinkPathConverter(previous); }
};

}  // namespace

TEST_F(LinkTargetTest, RelativePathsResolveAgainstTheBaseFolder)
{
    struct Case {
        const char* target;
        const char* base;
        const char* full;
    } cases[] = {
        {"notes\\a.txt", "C:\\Notes", "C:\\Notes\\notes\\a.txt"},
        {".\\a.txt", "C:\\Notes", "C:\\Notes\\a.txt"},
        {"D:\\x.txt", "C:\\Notes", "D:\\x.txt"},
        {"\\\\server\\x.txt", "C:\\Notes", "\\\\server\\x.txt"},
        {"a.txt", "C:\\", "C:\\a.txt"},
        {"\\a.txt", "C:\\Notes", "C:\\Notes\\a.txt"},
        {"a.txt", "", "a.txt"},
        {"sub\\a.txt", ".:\\Notes", "E:\\Notes\\sub\\a.txt"},  // a drive-relative base is expanded
    };
    for (const Case& c : cases) EXPECT_EQ(FileTarget(c.target).GetFullPath(c.base), c.full) << c.target;
}

TEST_F(LinkTargetTest, PathsOnTheProgramDriveAreStoredDriveRelative)
{
    struct Case {
        const char* given;
        const char* stored;
        const char* onDriveG;
    } cases[] = {
        {"E:\\Notes\\Data\\a.txt", ".:\\Notes\\Data\\a.txt", "G:\\Notes\\Data\\a.txt"},
        {"e:\\x.txt", ".:\\x.txt", "G:\\x.txt"},  // drive letters compare without regard to case
        {"F:\\Other\\b.txt", "F:\\Other\\b.txt", "F:\\Other\\b.txt"},
        {"E", "E", "C:\\Base\\E"},  // one character: unchanged, and relative
    };
    for (const Case& c : cases) {
        CLinkTarget target = FileTarget(c.given);
        EXPECT_EQ(target.GetStoredTarget(), c.stored);
        std::string out;
        EXPECT_EQ(target.GetTarget(out), CLinkTarget::kFile);
        EXPECT_EQ(out, c.given[0] == 'e' ? "E" + std::string(c.given + 1) : std::string(c.given));
        directories.SetDrive("G:\\quorvane.exe");
        EXPECT_EQ(target.GetFullPath("C:\\Base"), c.onDriveG) << c.given;
        directories.SetDrive("E:\\quorvane.exe");
    }
    // Only files and folders take the drive-relative form.
    CLinkTarget web;
    web.Set(CLinkTarget::kInternet, "E:\\not-a-file");
    EXPECT_EQ(web.GetStoredTarget(), "E:\\not-a-file");
    directories.SetPortable(false);
    EXPECT_EQ(FileTarget("E:\\Notes\\a.txt").GetStoredTarget(), "E:\\Notes\\a.txt");
}

TEST_F(LinkTargetTest, MakeRelativePathNeedsTheWholeBaseFolder)
{
    directories.SetPortable(false);
    struct Case {
        const char* target;
        const char* base;
        const char* result;
    } cases[] = {
        {"C:\\Notes\\notes\\a.txt", "c:\\notes", "notes\\a.txt"},
        {"C:\\NotesX\\a.txt", "C:\\Notes", "C:\\NotesX\\a.txt"},
        {"C:\\Notes", "C:\\Notes", "C:\\Notes"},
        {"C:\\Notes\\", "C:\\Notes", ""},
    };
    for (const Case& c : cases) {
        CLinkTarget target = FileTarget(c.target);
        target.MakeRelativePath(c.base);
        EXPECT_EQ(target.GetStoredTarget(), c.result) << c.target;
    }
    // Portable: both sides compare in drive-relative form.
    directories.SetPortable(true);
    CLinkTarget target = FileTarget("E:\\Notes\\a.txt");
    target.MakeRelativePath("e:\\notes");
    EXPECT_EQ(target.GetStoredTarget(), "a.txt");
    EXPECT_EQ(target.GetFullPath("E:\\Notes"), "E:\\Notes\\a.txt");
}

TEST_F(LinkTargetTest, FileNameFlagsAndCopy)
{
    EXPECT_EQ(FileTarget("C:\\a\\b.txt").GetFileName(), "b.txt");
    EXPECT_EQ(FileTarget("b.txt").GetFileName(), "b.txt");
    CLinkTarget article;
    article.Set(CLinkTarget::kArticle, "Title", 0, 42);
    EXPECT_EQ(article.GetFileName(), "");
    EXPECT_EQ(article.GetFullPath("C:\\x"), "Title");

    EXPECT_TRUE(article.IsInOpenList());
    article.SetInOpenList(false);
    article.SetInImageGallery(false);
    EXPECT_EQ(article.GetFlags(), 3);
    article.SetInOpenList(true);
    EXPECT_EQ(article.GetFlags(), 2);
    EXPECT_FALSE(article.IsInImageGallery());

    article.SetCallerValue(7);
    article.SetPathCorrected(true);
    CLinkTarget copy;
    copy.SetCallerValue(9);
    copy.Copy(article);
    EXPECT_EQ(copy.GetKind(), CLinkTarget::kArticle);
    EXPECT_EQ(copy.GetArticleId(), 42);
    EXPECT_EQ(copy.GetFlags(), 2);
    EXPECT_EQ(copy.GetCallerValue(), 9);  // not copied
    EXPECT_FALSE(copy.IsPathCorrected());
    copy.Reset();
    EXPECT_EQ(copy.GetKind(), 0);
    EXPECT_EQ(copy.GetArticleId(), -1);
    EXPECT_EQ(copy.GetCallerValue(), 0);
    EXPECT_EQ(FileTarget("abc").GetStoredSize(300), 14);
    EXPECT_EQ(FileTarget("abc").GetStoredSize(400), 30);
}

TEST_F(LinkTargetTest, AttachmentArrayOwnsCopies)
{
    CAttachmentArray list;
    for (int i = 0; i < 5; ++i) {
        CLinkTarget t;
        t.Set(CLinkTarget::kInternet, "http://x/" + std::to_string(i), i == 3 ? 2 : 0);
        EXPECT_EQ(list.Add(t), i);
    }
    EXPECT_EQ(list.GetCombinedFlags(), 2);
    CLinkTarget out = FileTarget("C:\\keep.txt");
    out.SetCallerValue(5);
    EXPECT_EQ(list.GetAt(5, out), -1);
    EXPECT_EQ(out.GetKind(), 0);
    EXPECT_EQ(out.GetStoredTarget(), "");
    EXPECT_EQ(out.GetCallerValue(), 0);
    EXPECT_EQ(list.GetAt(4, out), 4);
    EXPECT_EQ(out.GetStoredTarget(), "http://x/4");

    CAttachmentArray copy(list);
    list.RemoveAt(0);
    list.SetAt(0, FileTarget("C:\\new.txt"));
    EXPECT_EQ(list.GetSize(), 4);
    EXPECT_EQ(list.Item(0)->GetKind(), CLinkTarget::kFile);
    EXPECT_EQ(copy.GetSize(), 5);
    EXPECT_EQ(copy.Item(1)->GetStoredTarget(), "http://x/1");
    EXPECT_EQ(copy.Item(5), nullptr);
    list.RemoveAll();
    EXPECT_EQ(list.GetCombinedFlags(), 0);
}

TEST_F(LinkTargetTest, StoredFormsByFileVersion)
{
    directories.SetPortable(false);
    CLinkTarget article;
    article.Set(CLinkTarget::kArticle, "Tulips", 3, 12);
    CLinkTarget web;
    web.Set(CLinkTarget::kInternet, "http://example.invalid");
    for (int version : {220, 300, 400}) {
        CRecordTestFile t(version);
        int32_t id = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) {
            article.WriteTo(s, 0);
            web.WriteTo(s, 0);
        });
        t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) {
            int16_t word = s.ReadSizedShort();
            EXPECT_EQ(static_cast<uint16_t>(word), version < 300 ? 3u : version < 400 ? 0x8003u : 0xC003u);
        });
        CLinkTarget a, w;
        t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) {
            a.ReadFrom(s);
            w.ReadFrom(s);
        });
        EXPECT_EQ(a.GetKind(), CLinkTarget::kArticle);
        EXPECT_EQ(a.GetStoredTarget(), "Tulips");
        EXPECT_EQ(a.GetArticleId(), version >= 400 ? 12 : -1) << version;
        EXPECT_EQ(a.GetFlags(), version >= 400 ? 3 : 0);
        EXPECT_EQ(w.GetKind(), CLinkTarget::kInternet);
        EXPECT_EQ(w.GetStoredTarget(), "http://example.invalid");
    }
}

TEST_F(LinkTargetTest, LinkRangesStoredSortedWithTheirMode)
{
    CRecordTestFile t(400);
    t.SetKey(0x21);
    CLinkRangeList list;
    LinkRange later, earlier;
    later.start = 40;
    later.end = 44;
    later.type = 3;
    later.targetArticle = 8;
    later.valueB = 1;
    later.valueC = 2;
    later.target = "Later";
    earlier.start = 2;
    earlier.end = 9;
    earlier.target = "Earlier";
    list.Add(later);
    list.Add(earlier);
    int32_t id = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) { list.WriteTo(s, 3); });
    CLinkRangeList back;
    back.Add(later);  // replaced by what is read
    t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) { back.ReadFrom(s); });
    ASSERT_EQ(back.GetCount(), 2);
    LinkRange r;
    back.GetAt(0, r);
    EXPECT_EQ(r.target, "Earlier");
    EXPECT_EQ(r.valueB, -1);
    back.GetAt(1, r);
    EXPECT_EQ(r.start, 40);
    EXPECT_EQ(r.type, 3);
    EXPECT_EQ(r.targetArticle, 8);
    EXPECT_EQ(r.valueC, 2);
    t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) {
        EXPECT_EQ(s.ReadInt(), 2);
        s.Skip(22);
        EXPECT_EQ(s.ReadShort(), 3);  // the target's packed mode
    });
    t.SetKey(0);
    EXPECT_EQ(ErrorCodeOf([&] { t.LoadRaw(CDataFile::kArticleTable, id, [&](CRecordStream& s) { back.ReadFrom(s); }); }), kCorruptedRecord);

    int32_t bad = t.StoreRaw(CDataFile::kArticleTable, [&](CRecordStream& s) { s.WriteInt(-1); });
    EXPECT_EQ(ErrorCodeOf([&] { t.LoadRaw(CDataFile::kArticleTable, bad, [&](CRecordStream& s) { back.ReadFrom(s); }); }), kCorruptedRecord);
}

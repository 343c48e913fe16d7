// The Article Properties sheet's decisions without windows: the texts it shows, the Attachments
// page's buttons, when an edited attachment counts as changed, the relative-path rule, and what a
// stored article gives the sheet and takes back.
#include <gtest/gtest.h>

#include <string>

#include "article/article_properties_model.h"
#include "storage/article_info.h"
#include "storage/article_record.h"
#include "tests/storage/test_seams.h"

namespace {

TEST(ArticlePropertiesModelTest, CharacterCountGroupsDigitsFromTheRight)
{
    const struct {
        const char* length;
        char separator;
        const char* text;
    } cases[] = {
        {"0", ',', "0 characters"},
        {"999", ',', "999 characters"},
        {"1000", ',', "1,000 characters"},
        {"1234567", ',', "1,234,567 characters"},
        {"123456", '.', "123.456 characters"},
        {"12345678", ' ', "12 345 678 characters"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CharacterCountText(c.length, c.separator), c.text) << c.length;
}

TEST(ArticlePropertiesModelTest, StampTextPadsDateToTenAndTimeToEight)
{
    CPinnedLocale locale("M/d/yyyy", "H:mm:ss");
    EXPECT_EQ(ArticleStampText(20240305, 9 * 3600 + 5 * 60 + 7), "  3/5/2024  9:05:07");
    EXPECT_EQ(ArticleStampText(20241231, 23 * 3600 + 59 * 60 + 59), "12/31/2024 23:59:59");
}

TEST(ArticlePropertiesModelTest, AttachmentButtonsFollowTheSelection)
{
    const struct {
        bool canModify;
        int selected, count, first;
        // add, edit, detach, open, checks, up, down
        bool expected[7];
    } cases[] = {
        {true, 0, 0, -1, {true, false, false, false, true, false, false}},
        {true, 1, 1, 0, {true, true, true, true, true, false, false}},
        {true, 1, 3, 0, {true, true, true, true, true, false, true}},
        {true, 1, 3, 1, {true, true, true, true, true, true, true}},
        {true, 1, 3, 2, {true, true, true, true, true, true, false}},
        {true, 2, 3, 0, {true, false, true, false, true, false, false}},
        // A read-only file still opens an attachment.
        {false, 1, 3, 1, {false, false, false, true, false, false, false}},
        {false, 2, 3, 1, {false, false, false, false, false, false, false}},
    };
    for (const auto& c : cases) {
        AttachmentButtonState s = AttachmentButtons(c.canModify, c.selected, c.count, c.first);
        const bool got[7] = {s.add, s.edit, s.detach, s.open, s.checks, s.moveUp, s.moveDown};
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(got[i], c.expected[i]) << "case " << c.canModify << c.selected << c.count << c.first
                                             << " control " << i;
    }
}

TEST(ArticlePropertiesModelTest, TargetChangesByTextKindOrGalleryOnly)
{
    const struct {
        const char* initial;
        int initialKind;
        bool initialGallery;
        const char* text;
        int kind;
        bool gallery;
        bool changed;
    } cases[] = {
        {"C:\\a.txt", 1, true, "C:\\a.txt", 1, true, false},
        {"C:\\a.txt", 1, true, "  c:\\A.TXT\t", 1, true, false},  // case and blanks do not count
        {"C:\\a.txt", 1, true, "C:\\b.txt", 1, true, true},
        {"C:\\a.txt", 1, true, "C:\\a.txt", 2, true, true},
        {"C:\\a.txt", 1, true, "C:\\a.txt", 1, false, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsAttachmentTargetChanged(c.initial, c.initialKind, c.initialGallery, c.text, c.kind, c.gallery),
                  c.changed)
            << c.text;
}

TEST(ArticlePropertiesModelTest, NewFileTargetsBelowTheBaseFolderBecomeRelative)
{
    const struct {
        int kind;
        const char* path;
        bool fullPaths;
        const char* stored;
    } cases[] = {
        {CLinkTarget::kFile, "C:\\Notes\\docs\\a.txt", false, "docs\\a.txt"},
        {CLinkTarget::kFile, "c:\\NOTES\\a.txt", false, "a.txt"},
        {CLinkTarget::kFile, "C:\\Notes\\docs\\a.txt", true, "C:\\Notes\\docs\\a.txt"},
        {CLinkTarget::kFile, "C:\\Other\\a.txt", false, "C:\\Other\\a.txt"},
        {CLinkTarget::kFile, "C:\\NotesX\\a.txt", false, "C:\\NotesX\\a.txt"},
        {CLinkTarget::kInternet, "C:\\Notes\\a.txt", false, "C:\\Notes\\a.txt"},
    };
    for (const auto& c : cases) {
        CLinkTarget target;
        target.Set(c.kind, c.path);
        ApplyRelativePathRule(target, c.fullPaths, "C:\\Notes");
        EXPECT_EQ(target.GetStoredTarget(), c.stored) << c.path;
    }
}

CArticleRecord StoredArticle()
{
    CArticleRecord record;
    record.SetRichTextVersion();
    record.SetTitle("Plans");
    record.SetDate(20240110);
    record.SetTime(3600);
    record.SetCreated(20230101, 60);
    CArticleInfo info;
    info.SetWordWrap(1);
    info.SetKeepTitle(0);
    info.SetAttachmentOpening(CArticleInfo::kOpenNone);
    info.SetEditorState(3);
    record.SetInfo(info);
    CLinkTarget target;
    target.Set(CLinkTarget::kInternet, "https://example.org/");
    record.AddAttachment(target);
    return record;
}

TEST(ArticlePropertiesModelTest, FillTakesTheStoredValues)
{
    CPinnedLocale locale("M/d/yyyy", "H:mm:ss");
    CArticleRecord record = StoredArticle();
    ArticlePropertiesData data;
    FillArticleProperties(record, 1234, true, false, data);
    EXPECT_EQ(data.title, "Plans");
    EXPECT_EQ(data.date, 20240110);
    EXPECT_EQ(data.time, 3600);
    EXPECT_EQ(data.created, "  1/1/2023  0:01:00");
    EXPECT_EQ(data.length, "1234");
    EXPECT_EQ(data.attachmentCount, "1");
    EXPECT_EQ(data.links, "0");
    EXPECT_EQ(data.wordWrap, 1);
    EXPECT_EQ(data.autoOpen, 1);  // "open none" is neither on nor "by the preferences"
    EXPECT_TRUE(data.bookmarked);
    EXPECT_FALSE(data.IsChanged());
}

TEST(ArticlePropertiesModelTest, ApplyWritesOnlyWhatChanged)
{
    CArticleRecord record = StoredArticle();
    ArticlePropertiesData data;
    FillArticleProperties(record, 0, false, false, data);

    // Values edited on a page that never reported a change are not taken.
    data.date = 20991231;
    data.attachments.RemoveAll();
    EXPECT_FALSE(ApplyArticleProperties(data, record));
    EXPECT_EQ(record.GetDateOf(CArticleRecord::kOwnDate), 20240110);
    EXPECT_EQ(record.GetAttachmentCount(), 1);

    // The General page: dates and options; the attachments stay.
    data.generalChanged = true;
    data.isPrivate = 1;
    data.keepTitle = 1;
    EXPECT_TRUE(ApplyArticleProperties(data, record));
    EXPECT_EQ(record.GetDateOf(CArticleRecord::kOwnDate), 20991231);
    EXPECT_TRUE(record.IsPrivate());
    EXPECT_EQ(record.GetInfo().GetKeepTitle(), 1);
    EXPECT_EQ(record.GetInfo().GetEditorState(), 3);
    EXPECT_EQ(record.GetAttachmentCount(), 1);
    EXPECT_EQ(record.GetInfo().GetAttachmentOpening(), CArticleInfo::kOpenNone);

    // The Attachments page: the list, the opening and the full-paths flag.
    data.generalChanged = false;
    data.attachmentsModified = true;
    data.autoOpen = 2;
    data.saveFullPaths = 1;
    EXPECT_TRUE(ApplyArticleProperties(data, record));
    EXPECT_EQ(record.GetAttachmentCount(), 0);
    EXPECT_EQ(record.GetInfo().GetAttachmentOpening(), CArticleInfo::kOpenAll);
    EXPECT_EQ(record.GetInfo().GetFlags() & CArticleInfo::kSaveFullPaths, CArticleInfo::kSaveFullPaths);
    data.autoOpen = 0;
    data.saveFullPaths = 0;
    EXPECT_TRUE(ApplyArticleProperties(data, record));
    EXPECT_EQ(record.GetInfo().GetAttachmentOpening(), CArticleInfo::kOpenByPreferences);
    EXPECT_EQ(record.GetInfo().GetFlags() & CArticleInfo::kSaveFullPaths, 0);
}

}  // namespace

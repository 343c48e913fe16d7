#include "document/import_batch.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(ImportBatch, RecordsOnlyWhileRecordingAndKeepsOneEntryPerId)
{
    CImportBatch batch;
    batch.RecordArticle(4);
    EXPECT_FALSE(batch.HasEntries());

    batch.SetRecording(true);
    batch.RecordArticle(7);
    batch.RecordArticle(7);
    batch.RecordArticle(2);
    batch.RecordKeyword(3);
    batch.RecordGroup(1);
    std::vector<int32_t> ids;
    batch.GetArticleIds(ids);
    EXPECT_EQ(ids, (std::vector<int32_t>{2, 7}));
    batch.GetNewKeywordIds(ids);
    EXPECT_EQ(ids, (std::vector<int32_t>{3}));
    batch.GetNewGroupIds(ids);
    EXPECT_EQ(ids, (std::vector<int32_t>{1}));
}

TEST(ImportBatch, KeywordsAloneAreEntriesAndClearWhileLockedKeepsThem)
{
    CImportBatch batch;
    batch.SetRecording(true);
    batch.RecordKeyword(9);
    EXPECT_TRUE(batch.HasEntries());

    batch.SetLocked(true);
    batch.Clear();
    EXPECT_TRUE(batch.HasEntries());
    batch.SetLocked(false);
    batch.Clear();
    EXPECT_FALSE(batch.HasEntries());
}

TEST(ImportBatch, SwitchingRecordingOnClearsThePasteMark)
{
    CImportBatch batch;
    batch.SetRecording(true);
    batch.SetFromPaste(true);
    batch.SetRecording(false);
    EXPECT_TRUE(batch.IsFromPaste());
    batch.SetRecording(true);
    EXPECT_FALSE(batch.IsFromPaste());
}

TEST(ImportBatch, RemovesListedIds)
{
    CImportBatch batch;
    batch.SetRecording(true);
    for (int32_t id : {1, 2, 3})
        batch.RecordArticle(id);
    batch.RecordKeyword(5);
    batch.RecordKeyword(6);
    batch.RemoveArticleIds({2, 8});
    batch.RemoveKeywordIds({5});
    EXPECT_EQ(batch.Articles().Values(), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(batch.Keywords().Values(), (std::vector<int32_t>{6}));
}

TEST(ImportBatch, RecordingScopeEndsRecordingWhenTheImportThrows)
{
    CImportBatch batch;
    try {
        CImportRecordingScope recording(batch);
        EXPECT_TRUE(batch.IsRecording());
        throw std::runtime_error("import failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_FALSE(batch.IsRecording());
}

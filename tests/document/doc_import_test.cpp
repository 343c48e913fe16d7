// The import batch in the document, duplicates and copies of the data file.
#include "document/import_batch.h"
#include "storage/file_system.h"
#include "tests/document/doc_fixture.h"

using DocImport = DocFixture;

TEST_F(DocImport, UndoImportDeletesWhatTheImportCreated)
{
    Create();
    int32_t old = m_doc->AddKeyword("old", false);
    int32_t kept = AddArticle("kept", Keywords({old}));
    {
        CImportRecordingScope recording(m_doc->GetImportBatch());
        int32_t fresh = m_doc->AddKeyword("fresh", false);
        AddArticle("imported 1", Keywords({old, fresh}));
        AddArticle("imported 2", Keywords({fresh}));
        CKeywordGroupRecord group;
        group.SetName("imported group");
        group.SetKeywordIds(Keywords({old}));
        m_doc->AddKeywordGroup(group);
    }
    EXPECT_TRUE(m_doc->CanUndoImport());
    EXPECT_EQ(m_doc->GetImportedArticleCount(), 2);
    m_host.m_answers.push_back(true);
    m_doc->UndoImport();
    ASSERT_EQ(m_host.m_asked.size(), 1u);
    EXPECT_NE(m_host.m_asked[0].find("Articles: 2\nKeywords: 1\nKeyword Groups: 1"), std::string::npos);
    EXPECT_EQ(m_doc->GetArticleCount(), 1);
    EXPECT_EQ(m_doc->GetKeywordCount(), 1);
    EXPECT_EQ(m_doc->GetKeywordGroupCount(), 0);
    EXPECT_STREQ(m_doc->GetArticleTitle(kept), "kept");
    EXPECT_FALSE(m_doc->CanUndoImport());
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocImport, AChangeOutsideAnImportClearsTheBatchUnlessLocked)
{
    Create();
    m_doc->SetImportRecording(true);
    int32_t a = AddArticle("imported", Keywords({}));
    m_doc->SetImportRecording(false);
    m_doc->LockImportBatch(true);
    AddArticle("while an article window opens", Keywords({}));
    EXPECT_TRUE(m_doc->CanUndoImport());
    m_doc->LockImportBatch(false);
    m_doc->SetBookmark(a, true);
    EXPECT_TRUE(m_doc->CanUndoImport());  // bookmarks do not touch the batch
    CArticleRecord record;
    m_doc->LoadArticle(a, record);
    m_doc->UpdateArticle(a, record, false);
    EXPECT_FALSE(m_doc->CanUndoImport());
}

TEST_F(DocImport, UndoIsNotOfferedOnAReadOnlyFile)
{
    Create();
    m_doc->SetImportRecording(true);
    AddArticle("imported", Keywords({}));
    m_doc->SetImportRecording(false);
    EXPECT_TRUE(m_doc->CanUndoImport());
    Reopen(true);
    EXPECT_FALSE(m_doc->CanUndoImport());
}

TEST_F(DocImport, DuplicatesIgnoreTrailingBlanksAndFormRuns)
{
    Create();
    auto add = [&](const std::string& title, const std::string& text) {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetText(text);
        return m_doc->AddArticle(record, false, false);
    };
    int32_t a = add("Same  ", "body");
    int32_t b = add("Same", "body \r\n");
    int32_t c = add("Samf", "body");
    int32_t d = add("Zed", "z");
    int32_t e = add("Zed", "z");
    EXPECT_TRUE(m_doc->AreDuplicates(a, b));
    EXPECT_FALSE(m_doc->AreDuplicates(a, c));
    std::vector<int32_t> runs;
    EXPECT_TRUE(m_doc->FindDuplicates(runs));
    EXPECT_EQ(runs, (std::vector<int32_t>{b, a, -1, d, e}));
}

TEST_F(DocImport, ImportedDuplicatesAreFoundAgainstStoredArticles)
{
    Create();
    CArticleRecord record;
    record.SetTitle("Note");
    record.SetText("text");
    m_doc->AddArticle(record, false, false);
    std::vector<int32_t> imported;
    {
        CImportRecordingScope recording(m_doc->GetImportBatch());
        CArticleRecord copy;
        copy.SetTitle("Note");
        copy.SetText("text");
        imported.push_back(m_doc->AddArticle(copy, false, false));
        CArticleRecord other;
        other.SetTitle("Fresh");
        other.SetText("text");
        m_doc->AddArticle(other, false, false);
    }
    std::vector<int32_t> duplicates;
    m_doc->FindImportedDuplicates(duplicates);
    EXPECT_EQ(duplicates, imported);
}

TEST_F(DocImport, CopyOfTheDataFileIsExactAndNeverOverwritesTheOpenFile)
{
    Create();
    AddArticle("content", Keywords({m_doc->AddKeyword("k", false)}));
    EXPECT_FALSE(m_doc->CopyDataFileTo(m_path));
    EXPECT_EQ(m_errors.Messages().size(), 1u);

    std::string nowhere = m_folder.File("missing\\folder\\copy.xrd");
    EXPECT_FALSE(m_doc->CopyDataFileTo(nowhere));
    EXPECT_FALSE(FileExists(nowhere));

    std::string copy = m_folder.File("copy.xrd");
    ASSERT_TRUE(m_doc->CopyDataFileTo(copy));
    Close();  // the open file is held exclusively; it is compared once closed
    EXPECT_EQ(ReadBytes(copy), ReadBytes(m_path));
}

TEST_F(DocImport, DeletingImportedDuplicatesTakesTheirNewKeywordsAlong)
{
    Create();
    CArticleRecord stored;
    stored.SetTitle("Note");
    stored.SetText("text");
    int32_t original = m_doc->AddArticle(stored, false, false);
    int32_t fresh = kNoneId;
    m_doc->LockImportBatch(true);  // as the import driver holds it for the whole run
    {
        CImportRecordingScope recording(m_doc->GetImportBatch());
        fresh = m_doc->AddKeyword("only on the copy", false);
        CArticleRecord copy;
        copy.SetTitle("Note");
        copy.SetText("text");
        copy.SetKeywordIds(Keywords({fresh}));
        m_doc->AddArticle(copy, false, false);
    }
    m_host.m_answers.push_back(true);
    m_doc->HandleImportedDuplicates(1);
    m_doc->LockImportBatch(false);
    ASSERT_EQ(m_host.m_asked.size(), 1u);
    EXPECT_EQ(m_doc->GetArticleCount(), 1);
    EXPECT_STREQ(m_doc->GetArticleTitle(original), "Note");
    EXPECT_FALSE(m_doc->IsValidKeywordId(fresh));
    EXPECT_FALSE(m_doc->CanUndoImport());
    EXPECT_EQ(CheckOpenFile(), "");
}

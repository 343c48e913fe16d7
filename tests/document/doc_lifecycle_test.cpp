// Creating, opening, saving and closing a knowledge base.
#include <cstdio>

#include "framework/file.h"
#include "storage/file_system.h"
#include "storage/keyed_record_stream.h"
#include "tests/document/doc_fixture.h"

using DocLifecycle = DocFixture;

TEST_F(DocLifecycle, CreateAddCloseAndReopenKeepsEveryTable)
{
    Create();
    EXPECT_EQ(m_host.m_current, m_doc.get());
    EXPECT_EQ(m_host.m_caption, "kb.xrd");
    m_doc->SetPassword("pw");
    m_host.m_password = "pw";
    m_unlockAfterOpen = true;
    int32_t apple = m_doc->AddKeyword("Apple", false);
    int32_t pear = m_doc->AddKeyword("Pear", false);
    int32_t a = AddArticle("First", Keywords({apple}));
    int32_t b = AddArticle("Second", Keywords({apple, pear}), true);
    m_doc->SetBookmark(a, true);
    CKeywordGroupRecord fruit;
    fruit.SetName("Fruit");
    fruit.SetKeywordIds(Keywords({apple, pear}));
    int32_t group = m_doc->AddKeywordGroup(fruit);

    Reopen();
    EXPECT_EQ(m_doc->GetKeywordName(apple), "Apple");
    EXPECT_EQ(m_doc->FindKeyword("PEAR"), pear);
    EXPECT_EQ(m_doc->GetArticleCount(), 2);
    EXPECT_TRUE(m_doc->IsBookmarked(a));
    EXPECT_TRUE(m_doc->IsArticlePrivate(b));
    EXPECT_EQ(m_doc->GetKeywordGroupName(group), "Fruit");
    EXPECT_STREQ(m_doc->GetArticleTitle(b), "Second");
    CArticleIdSet ofApple;
    m_doc->GetKeywordArticleIds(apple, ofApple);
    EXPECT_EQ(ofApple.Values(), (std::vector<int32_t>{a, b}));
    EXPECT_EQ(CheckOpenFile(), "");
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(DocLifecycle, OpeningAFileWithoutGroupsHidesTheGroupsPane)
{
    Create();
    Close();
    m_trace.clear();
    m_doc = std::make_unique<CQuorvaneDoc>(m_host);
    Attach();
    ASSERT_TRUE(m_doc->OnOpenDocument(m_path));
    EXPECT_EQ(m_trace, (Trace{{IndexCode::kShowGroupPane, 0, 1}, {IndexCode::kListFontChanged, 0, 0}}));
}

TEST_F(DocLifecycle, ReadOnlyOpenNeverWritesEvenAfterBookmarkChanges)
{
    Create();
    int32_t a = AddArticle("Kept", Keywords({}));
    Close();
    std::string before = ReadBytes(m_path);

    ASSERT_TRUE(Open(true));
    EXPECT_FALSE(m_doc->CanModify());
    m_doc->SetBookmark(a, true);
    m_doc->GetPageLayout().SetBoldTitles(true);
    m_doc->GetHeaderText().SetText("changed");
    Close();
    EXPECT_EQ(ReadBytes(m_path), before);
}

TEST_F(DocLifecycle, ClosingWithoutChangesWritesNothing)
{
    Create();
    AddArticle("One", Keywords({m_doc->AddKeyword("k", false)}));
    Close();
    std::string before = ReadBytes(m_path);
    ASSERT_TRUE(Open());
    Close();
    EXPECT_EQ(ReadBytes(m_path), before);
}

TEST_F(DocLifecycle, KeyedRecordsAreWrittenOnlyWhenChanged)
{
    Create();
    Close();
    ASSERT_TRUE(Open());
    m_doc->GetFooterText().SetText("Footer &P");
    m_doc->GetPageLayout().SetPrintKeywords(false);
    m_doc->GetExportHeader().SetText("Exported");
    Reopen();
    EXPECT_EQ(m_doc->GetFooterText().GetText(), "Footer &P");
    EXPECT_FALSE(m_doc->GetPageLayout().GetPrintKeywords());
    EXPECT_EQ(m_doc->GetExportHeader().GetText(), "Exported");
    EXPECT_EQ(m_doc->GetHeaderText().GetText(), "kb.xrd");
    // Record 2 was never changed, so it was never written.
    EXPECT_EQ(CKeyedRecordStream::FindKey(&m_doc->GetDataFile(), 2), kNoneId);
}

TEST_F(DocLifecycle, BookmarkOfADeletedArticleIsRepairedWithMessage38)
{
    Create();
    int32_t a = AddArticle("Real", Keywords({}));
    m_doc->SetBookmark(a, true);
    Close();
    {
        CDataFile file;
        file.Open(m_path, false);
        CKeyedRecordStream::WriteIdSet(&file, 1, Articles({a, 77}));
        file.Close();
    }
    ASSERT_TRUE(Open());
    ASSERT_EQ(m_errors.Messages().size(), 1u);
    EXPECT_EQ(m_errors.Messages()[0], CQuorError(kBookmarkListRepaired, m_path).Message());
    CArticleIdSet bookmarked;
    m_doc->GetBookmarkedIds(bookmarked);
    EXPECT_EQ(bookmarked.Values(), (std::vector<int32_t>{a}));
    Reopen();
    EXPECT_EQ(m_errors.Messages().size(), 1u);
}

TEST_F(DocLifecycle, SaveFileOnADeletedFileReportsCode100AndKeepsTheTables)
{
    Create();
    int32_t k = m_doc->AddKeyword("Kept", false);
    int32_t a = AddArticle("Still here", Keywords({k}));
    if (std::remove(NativePath(m_path).c_str()) != 0)
        GTEST_SKIP() << "the platform does not let an open file be deleted";
    m_doc->OnFileSave();
    ASSERT_EQ(m_errors.Messages().size(), 1u);
    EXPECT_EQ(m_errors.Messages()[0], CQuorError(kFileError, m_path).Message());
    EXPECT_EQ(m_doc->GetKeywordName(k), "Kept");
    EXPECT_EQ(m_doc->GetArticleCount(), 1);
    EXPECT_TRUE(m_doc->IsOpen());
    EXPECT_STREQ(m_doc->GetArticleTitle(a), "Still here");
    m_doc->DeleteContents();
    m_doc.reset();
}

TEST_F(DocLifecycle, SaveFileWritesTheListsAndReopensInTheSameMode)
{
    Create();
    int32_t a = AddArticle("Marked", Keywords({}));
    m_doc->SetBookmark(a, true);
    m_doc->OnFileSave();
    EXPECT_TRUE(m_doc->CanModify());
    EXPECT_TRUE(m_doc->IsFileWritten());
    EXPECT_EQ(ReadKeyedIds(m_doc->GetDataFile(), 1), (std::set<int32_t>{a}));
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(DocLifecycle, AWrongPasswordAtOpenFailsWithCode48)
{
    Create();
    m_doc->SetPassword("secret");
    m_doc->SetPasswordAskedAtOpen(true);
    Close();
    m_host.m_password = "wrong";
    EXPECT_FALSE(Open());
    ASSERT_EQ(m_errors.Messages().size(), 1u);
    EXPECT_EQ(m_errors.Messages()[0], CQuorError(kWrongPassword, m_path).Message());
    EXPECT_EQ(m_host.m_passwordPrompts, (std::vector<std::string>{"kb.xrd"}));
    m_host.m_password = "secret";
    EXPECT_TRUE(Open());
}

TEST_F(DocLifecycle, DeleteContentsEmptiesEveryTable)
{
    Create();
    AddArticle("x", Keywords({m_doc->AddKeyword("k", false)}));
    m_doc->DeleteContents();
    EXPECT_FALSE(m_doc->IsOpen());
    EXPECT_EQ(m_doc->GetArticleCount(), 0);
    EXPECT_EQ(m_doc->GetKeywordCount(), 0);
    EXPECT_EQ(m_host.m_current, nullptr);
    EXPECT_EQ(m_host.m_caption, "");
    m_doc.reset();
}

// An open that fails after the tables were read must not leave them over a closed file, nor leave
// the application pointing at the failed document.
TEST_F(DocLifecycle, AnOpenThatFailsLateLeavesTheDocumentEmpty)
{
    Create();
    m_doc->SetPassword("pw");
    int32_t k = m_doc->AddKeyword("Kept", false);
    int32_t a = AddArticle("Secret", Keywords({k}), true);
    m_doc->SetBookmark(a, true);
    CKeywordGroupRecord group;
    group.SetName("Group");
    group.SetKeywordIds(Keywords({k}));
    m_doc->AddKeywordGroup(group);
    ReminderRecord reminder;
    reminder.date = 20260101;
    reminder.articleId = a;
    m_doc->GetReminders().SetReminder(-1, reminder);
    Close();

    m_host.m_onShowIndexFrame = [] { throw CQuorError(kOutOfMemory); };
    EXPECT_FALSE(Open());
    ASSERT_EQ(m_errors.Messages().size(), 1u);
    EXPECT_FALSE(m_doc->IsOpen());
    EXPECT_EQ(m_host.m_current, nullptr);
    EXPECT_EQ(m_host.m_caption, "");
    EXPECT_FALSE(m_doc->IsValidKeywordId(k));
    CArticleIdSet ids;
    m_doc->GetAllArticleIds(ids);
    EXPECT_EQ(ids.GetSize(), 0);
    m_doc->GetBookmarkedIds(ids);
    EXPECT_EQ(ids.GetSize(), 0);
    EXPECT_EQ(m_doc->GetPrivateArticleCount(), 0);
    CGroupIdSet groups;
    m_doc->GetAllKeywordGroupIds(groups);
    EXPECT_EQ(groups.GetSize(), 0);
    EXPECT_EQ(m_doc->GetReminders().GetCount(), 0);

    m_host.m_onShowIndexFrame = nullptr;
    EXPECT_TRUE(Open());
    EXPECT_EQ(m_doc->GetKeywordName(k), "Kept");
}

// Save File closes the data file and opens it again. When that open fails, the document must not keep
// its tables over a closed file: it closes cleanly and says why.
TEST_F(DocLifecycle, AFailedReopenDuringSaveFileClosesTheDocumentWithAMessage)
{
    Create();
    int32_t k = m_doc->AddKeyword("Gone", false);
    int32_t a = AddArticle("Gone too", Keywords({k}));
    m_doc->SetBookmark(a, true);
    bool removed = false;
    m_host.m_onFlushProfileCache = [&] { removed = std::remove(NativePath(m_path).c_str()) == 0; };
    m_doc->OnFileSave();
    m_host.m_onFlushProfileCache = nullptr;
    if (!removed)
        GTEST_SKIP() << "the platform does not let an open file be deleted";

    ASSERT_EQ(m_errors.Messages().size(), 1u);
    EXPECT_EQ(m_errors.Messages()[0], CQuorError(kFileNotFound, m_path).Message());
    EXPECT_FALSE(m_doc->IsOpen());
    EXPECT_EQ(m_doc->GetArticleCount(), 0);
    EXPECT_EQ(m_doc->GetKeywordCount(), 0);
    EXPECT_FALSE(m_doc->IsValidKeywordId(k));
    EXPECT_FALSE(m_doc->IsBookmarked(a));
    EXPECT_EQ(m_doc->GetArticleTitle(a), nullptr);
    EXPECT_EQ(m_host.m_current, nullptr);
    EXPECT_EQ(m_host.m_caption, "");
    // Closing afterwards writes nothing and creates no file.
    EXPECT_TRUE(m_doc->SaveModified());
    EXPECT_FALSE(FileExists(m_path));
    EXPECT_EQ(m_errors.Messages().size(), 1u);
}

// Closing writes the saved queries (record 8) before the password record (9); Save File writes them
// the other way round. In a file without a free block the record written first takes the lower block.
TEST_F(DocLifecycle, ClosingAndSaveFileWriteQueriesAndPasswordInTheirOwnOrders)
{
    for (bool viaSaveFile : {false, true}) {
        SCOPED_TRACE(viaSaveFile ? "Save File" : "closing");
        Create();
        m_doc->GetQueryList().Add("Saved", "apple", 0, 0);
        ASSERT_TRUE(m_doc->GetPassword().SetPassword("pw"));
        if (viaSaveFile)
            m_doc->OnFileSave();
        else
            EXPECT_TRUE(m_doc->SaveModified());
        int32_t queries = CKeyedRecordStream::FindKey(&m_doc->GetDataFile(), 8);
        int32_t password = CKeyedRecordStream::FindKey(&m_doc->GetDataFile(), 9);
        ASSERT_NE(queries, kNoneId);
        ASSERT_NE(password, kNoneId);
        EXPECT_EQ(queries < password, !viaSaveFile);
        Close();
        std::remove(NativePath(m_path).c_str());
    }
    EXPECT_TRUE(m_errors.Messages().empty());
}

// Article windows may close during their check before the document closes; every one of them is
// still asked, and one that refuses keeps the document open.
TEST_F(DocLifecycle, ClosingAsksEveryArticleWindowEvenWhenWindowsCloseOnTheWay)
{
    Create();
    int32_t a = AddArticle("a", Keywords({}));
    int32_t b = AddArticle("b", Keywords({}));
    int32_t c = AddArticle("c", Keywords({}));
    CRecordingArticleView views[] = {{m_trace, a}, {m_trace, b}, {m_trace, c}};
    for (auto& view : views) {
        view.m_closingDocument = m_doc.get();
        m_doc->AddView(&view);
    }
    views[2].m_mayClose = false;
    EXPECT_EQ(m_doc->SaveBeforeClose(), CQuorvaneDoc::SaveOutcome::kKept);
    for (auto& view : views)
        EXPECT_EQ(view.m_closeChecks, 1);
    m_doc->RemoveView(&views[2]);
}

// A window the user keeps open is not a failed save; a failed write of the file's records is, and
// only while no window is kept (the user asked to stay, so the close stops either way).
TEST_F(DocLifecycle, ClosingTellsAKeptWindowFromAFailedWrite)
{
    Create();
    int32_t a = AddArticle("a", Keywords({}));
    CRecordingArticleView view(m_trace, a);
    m_doc->AddView(&view);
    struct FullDisk : IFileFaults {
        long Before(Call call, const std::string&, uint64_t, uint32_t, uint32_t*) override
        {
            return call == kWrite ? 112 : 0;
        }
    } full;
    const struct {
        bool mayClose;
        bool diskFull;
        CQuorvaneDoc::SaveOutcome outcome;
    } cases[] = {
        {false, false, CQuorvaneDoc::SaveOutcome::kKept},
        {false, true, CQuorvaneDoc::SaveOutcome::kKept},
        {true, true, CQuorvaneDoc::SaveOutcome::kFailed},
        {true, false, CQuorvaneDoc::SaveOutcome::kSaved},
    };
    size_t errors = 0;
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << "may close " << test.mayClose << ", disk full " << test.diskFull);
        view.m_mayClose = test.mayClose;
        // A changed bookmark gives the close a record to write.
        m_doc->SetBookmark(a, !m_doc->IsBookmarked(a));
        IFileFaults* previous = SetFileFaults(test.diskFull ? &full : nullptr);
        EXPECT_EQ(m_doc->SaveBeforeClose(), test.outcome);
        SetFileFaults(previous);
        // The failed write is reported where it happened, kept window or not.
        errors += test.diskFull ? 1 : 0;
        EXPECT_EQ(m_errors.Messages().size(), errors);
    }
    m_doc->RemoveView(&view);
}

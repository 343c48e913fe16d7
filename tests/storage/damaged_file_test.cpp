// Damaged files: each one below opens without a message, and the edit next to it used to destroy an
// intact record. Now the edit fails with code 5 (or the read that meets the damage does), and every
// intact record reads back as it was.
#include <gtest/gtest.h>

#include <fstream>

#include "storage/article_record.h"
#include "record_test_file.h"
#include "tests/storage/block_owners.h"
#include "tests/support/storage_helpers.h"

namespace {

std::string Text(size_t length, char seed)
{
    std::string text = "{\\rtf1 ";
    while (text.size() < length)
        text += static_cast<char>('a' + (seed + text.size() * 3) % 26);
    return text + "}";
}

class DamagedFile : public ::testing::Test {
protected:
    int32_t Store(const std::string& title, size_t length)
    {
        CArticleRecord a;
        a.SetRichTextVersion();
        a.SetTitle(title);
        a.SetRtfText(Text(length, title[0]));
        return a.WriteNew(t.file);
    }
    std::string Load(int32_t id)
    {
        CArticleRecord a;
        a.Read(t.file, id);
        return a.GetTitle() + "|" + a.GetRtfText();
    }
    int Rewrite(int32_t id, const std::string& title, size_t length)
    {
        return ErrorCodeOf([&] {
            CArticleRecord a;
            a.SetRichTextVersion();
            a.SetTitle(title);
            a.SetRtfText(Text(length, title[0]));
            a.Write(t.file, id);
        });
    }
    // Reopens the file after `edit` changed its bytes.
    void Damage(const std::function<void(std::string&)>& edit)
    {
        t.file.Close();
        std::string bytes = CTempFolder::ReadFile(t.Path());
        edit(bytes);
        std::ofstream(NativePath(t.Path()), std::ios::binary | std::ios::trunc) << bytes;
        t.file.Open(t.Path(), false);
    }
    // The allocation-table slot of block n.
    static size_t Slot(int32_t n) { return 220 + 512 * static_cast<size_t>(n - n % 128) + 4 * static_cast<size_t>(n % 128); }
    std::string Problems()
    {
        t.file.Flush();
        return CBlockOwners(NativePath(t.Path())).Problems();
    }

    CRecordTestFile t;
};

}  // namespace

TEST_F(DamagedFile, AFreeChainRunningIntoALiveRecordIsNotHandedOut)
{
    int32_t a = Store("apples", 100);
    int32_t b = Store("bread", 1200);  // blocks 3 to 5
    int32_t c = Store("cheese", 100);
    std::string breadBefore = Load(b);
    t.file.DeleteArticleEntry(a);  // block 1 is the free chain
    int32_t bFirst = t.file.GetEntry(CDataFile::kArticleTable, b);
    // The free block leads on into bread's second block, then the free head onto bread itself.
    for (int32_t target : {bFirst + 1, bFirst}) {
        Damage([&](std::string& bytes) {
            if (target == bFirst + 1)
                Put32(bytes, Slot(1), target);
            else
                Put32(bytes, 16, target);
        });
        int32_t added = 0;
        int code = ErrorCodeOf([&] {
            for (int i = 0; i < 3; ++i)
                added = Store("dates", 100);
        });
        EXPECT_EQ(code, 5) << target;
        EXPECT_EQ(Load(b), breadBefore);
        EXPECT_EQ(Load(c).substr(0, 7), "cheese|");
    }
}

TEST_F(DamagedFile, TwoRecordsSharingAChainAreNeitherRewrittenNorFreed)
{
    int32_t a = Store("apples", 900);
    int32_t b = Store("bread", 900);
    std::string applesBefore = Load(a);
    int32_t aFirst = t.file.GetEntry(CDataFile::kArticleTable, a);
    t.file.PutEntry(CDataFile::kArticleTable, b, aFirst);  // frees bread's own chain; both name apples'
    Damage([](std::string&) {});
    EXPECT_EQ(Load(b), applesBefore);
    EXPECT_EQ(Rewrite(b, "bread again", 2000), 5);
    EXPECT_EQ(Load(a), applesBefore);
    EXPECT_EQ(ErrorCodeOf([&] { t.file.DeleteArticleEntry(b); }), kCorruptedRecord);  // the chain is apples' too
    EXPECT_EQ(Load(a), applesBefore);
    EXPECT_EQ(Problems().find("free chain"), std::string::npos);
}

TEST_F(DamagedFile, AChainLoopingOntoItselfIsFoundAndNeverFreesItsOwnBlocks)
{
    int32_t a = Store("apples", 1400);  // three blocks
    int32_t b = Store("bread", 100);
    std::string breadBefore = Load(b);
    std::vector<int32_t> chain;
    for (int32_t n = t.file.GetEntry(CDataFile::kArticleTable, a); n != kNoneIdValue; n = t.file.GetNextBlock(n))
        chain.push_back(n);
    ASSERT_EQ(chain.size(), 3u);
    Damage([&](std::string& bytes) { Put32(bytes, Slot(chain[2]), chain[0]); });
    // Reading through the loop finds it within about twice its length.
    EXPECT_EQ(ErrorCodeOf([&] {
                  CRecordStream s;
                  s.Open(&t.file, chain[0], CRecordStream::kRead);
                  s.Skip(512 * 10);
              }),
              5);
    // Saving it longer would write through the loop: refused before anything is written.
    std::string applesBefore = Load(a);
    EXPECT_EQ(Rewrite(a, "apples, long", 3000), 5);
    EXPECT_EQ(Load(a), applesBefore);
    // Saving it shorter cuts the chain after its new end; what follows leads back into the record, so
    // it is not freed (it is lost space for a compaction to give back).
    EXPECT_EQ(Rewrite(a, "apples, short", 100), 5);
    EXPECT_EQ(Load(a).substr(0, 14), "apples, short|");
    EXPECT_EQ(Load(b), breadBefore);
    std::string problems = Problems();
    EXPECT_EQ(problems.find("free"), std::string::npos) << problems;
}

TEST_F(DamagedFile, AnIndexChainLoopingOntoItselfShowsNoArticleUnderAnotherId)
{
    std::vector<int32_t> ids;
    for (int i = 0; i < 130; ++i)
        ids.push_back(Store(std::string(1, static_cast<char>('a' + i % 26)) + std::to_string(i), 20));
    // The article table's index chain: its first block now leads back to itself.
    Damage([&](std::string& bytes) {
        int32_t index0 = Get32(bytes, 40);
        Put32(bytes, Slot(index0), index0);
    });
    EXPECT_EQ(ErrorCodeOf([&] { t.file.GetEntry(CDataFile::kArticleTable, 128); }), kCorruptedRecord);
    EXPECT_EQ(ErrorCodeOf([&] { Store("new", 20); }), kCorruptedRecord);
    EXPECT_EQ(Load(ids[5]).substr(0, 2), "f5");
}

// The checks of a rewritten chain are remembered between rewrites; a record started inside the chain,
// or the chain linked back into itself, after a check is still found at the next rewrite.
TEST_F(DamagedFile, AChainCheckedBeforeIsCheckedAgainAfterItChanges)
{
    for (bool loop : {false, true}) {
        SCOPED_TRACE(loop ? "looped" : "a record started inside");
        int32_t a = Store("apples", 1400);  // three blocks
        std::vector<int32_t> chain;
        for (int32_t n = t.file.GetEntry(CDataFile::kArticleTable, a); n != kNoneIdValue; n = t.file.GetNextBlock(n))
            chain.push_back(n);
        ASSERT_EQ(chain.size(), 3u);
        ASSERT_EQ(Rewrite(a, "apples", 1400), 0);  // checked and remembered
        std::string applesBefore = Load(a);
        if (loop)
            t.file.SetNextBlock(chain[2], chain[1]);
        else
            t.file.AddEntry(CDataFile::kArticleTable, chain[1]);
        EXPECT_EQ(Rewrite(a, "apples, long", 3000), kCorruptedRecord);
        if (!loop) {
            EXPECT_EQ(Load(a), applesBefore);
        }
    }
}

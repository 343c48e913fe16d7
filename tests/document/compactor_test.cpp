// Compaction, repair and conversion: the result is read back with the independent table reader and
// the independent record reader, never through the compactor's own bookkeeping.
#include <algorithm>
#include <filesystem>

#include "document/compaction_rules.h"
#include "document/compactor.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyed_texts.h"
#include "framework/random_source.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "tests/document/doc_fixture.h"
#include "tests/document/exchange_test_support.h"
#include "tests/storage/independent_reader.h"
#include "tests/storage/test_seams.h"

namespace {

// Salts and keys from a fixed sequence, so that two runs write the same bytes.
class CCountingRandom : public IRandomSource {
public:
    CCountingRandom() { m_previous = SetRandomSource(this); }
    ~CCountingRandom() override { SetRandomSource(m_previous); }
    int Next() override { return static_cast<int>((m_n = m_n * 1103515245u + 12345u) >> 16) % 32768; }

private:
    uint32_t m_n = 1;
    IRandomSource* m_previous;
};

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(NativePath(folder)))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A failing rename for the last step of a run: the move of the new file to the destination.
class CFailingFinalMove : public CCompactor {
public:
    using CCompactor::CCompactor;
    std::string m_failFrom;

protected:
    bool MoveFile(const std::string& from, const std::string& to) override
    {
        if (from == m_failFrom)
            return false;
        return CCompactor::MoveFile(from, to);
    }
};

}  // namespace

class Compaction : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        m_out = m_folder.File("out.xrd");
    }

    // Ids of the healthy file's objects (source ids).
    struct Source {
        int32_t red, green, blue, unused;
        int32_t alpha, bravo, charlie, tracked;
        int32_t colours, empty;
    };

    // A file with holes in every table, a private article, a placeholder, links, a bookmark, a
    // reminder, groups, a saved query and an export header.
    Source BuildHealthy()
    {
        Source s;
        Create();
        m_doc->SetPassword("pw");
        int32_t gone = m_doc->AddKeyword("gone", false);
        s.red = m_doc->AddKeyword("red", false);
        s.green = m_doc->AddKeyword("green", false);
        s.blue = m_doc->AddKeyword("blue", false);
        s.unused = m_doc->AddKeyword("unused", false);
        int32_t scrap = AddArticle("scrap", Keywords({gone}));
        s.alpha = AddArticle("alpha", Keywords({s.red, s.green}));
        s.bravo = AddArticle("bravo", Keywords({s.green}), true);
        s.charlie = LinkingArticle("charlie", Keywords({s.blue}), {s.alpha, s.bravo});
        CArticleRecord tracked;
        tracked.SetTitle("tracked");
        tracked.SetFlags(CArticleRecord::kTracked);
        s.tracked = m_doc->AddArticle(tracked, false, false);
        m_doc->DeleteArticle(s.tracked);
        m_doc->DeleteArticle(scrap);
        m_doc->DeleteKeywords(Keywords({gone}));
        m_doc->SetBookmark(s.alpha, true);
        int32_t dropped = AddGroup("dropped", Keywords({}));
        s.colours = AddGroup("colours", Keywords({s.red, s.blue}));
        s.empty = AddGroup("empty", Keywords({}));
        m_doc->DeleteKeywordGroup(dropped);
        ReminderRecord reminder;
        m_doc->GetReminders().InitReminder(reminder);
        reminder.date = 20270101;
        reminder.articleId = s.charlie;
        m_doc->GetReminders().SetReminder(-1, reminder);
        m_doc->GetQueryList().Add("Saved", "red AND BOOKMARKED", 0, 0);
        m_doc->GetExportHeader().SetText("Exported by test");
        Close();
        return s;
    }

    int32_t LinkingArticle(const std::string& title, const CKeywordIdSet& keywords, std::vector<int32_t> targets)
    {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetKeywordIds(keywords);
        record.SetRtfText("{\\rtf1 links to the others here}");
        CLinkRangeList links;
        int32_t at = 0;
        for (int32_t target : targets) {
            LinkRange range;
            range.start = at;
            range.end = at + 4;
            range.type = 3;
            range.targetArticle = target;
            links.Add(range);
            at += 6;
        }
        record.SetLinks(links);
        CLinkTarget attachment;
        attachment.Set(CLinkTarget::kArticle, "first target", 0, targets.front());
        record.AddAttachment(attachment);
        return m_doc->AddArticle(record, false, false);
    }

    // Compacts `source` into `destination` as the Convert/Compact entry would, without the choosers.
    bool CompactFile(const std::string& source, const std::string& destination, int target = 400,
                     bool deleteOriginal = false)
    {
        CCompactor compactor(m_xhost, nullptr);
        compactor.SetPaths(source, destination);
        compactor.SetTargetVersion(target);
        try {
            compactor.Compact(deleteOriginal, true, true);
        } catch (const CQuorError&) {
            m_counts = compactor.GetCounts();
            return false;
        }
        m_counts = compactor.GetCounts();
        m_report = compactor.NeedsReport() ? compactor.BuildReport() : std::string();
        m_reportedSource = compactor.GetReportedSourcePath();
        return true;
    }

    FileTables TablesOf(const std::string& path, const std::string& password = "pw")
    {
        CDataFile file;
        file.Open(path, true);
        CFilePassword key;
        key.Load(file);
        if (key.HasPassword())
            EXPECT_TRUE(key.Verify(password));
        FileTables tables = ReadFileTables(file);
        file.Close();
        return tables;
    }

    static int32_t IdOf(const std::map<int32_t, std::string>& names, const std::string& name)
    {
        for (const auto& [id, text] : names)
            if (text == name)
                return id;
        return kNoneId;
    }

    // The names of the keywords an article names, sorted.
    static std::vector<std::string> KeywordNamesOf(const FileTables& t, int32_t article)
    {
        std::vector<std::string> names;
        if (t.keywordsOfArticle.count(article))
            for (int32_t k : t.keywordsOfArticle.at(article))
                names.push_back(t.keywordNames.at(k));
        std::sort(names.begin(), names.end());
        return names;
    }

    CRecordingExchangeHost m_xhost;
    std::string m_out;
    CCompactor::Counts m_counts;
    std::string m_report;
    std::string m_reportedSource;
};

TEST_F(Compaction, AHealthyFileKeepsEveryObjectRenumberedWithEveryReferenceTranslated)
{
    CPinnedClock clock(MakeLocalTime(2026, 12, 10, 13, 5, 9));
    Source s = BuildHealthy();
    m_xhost.m_password = "pw";
    FileTables before = TablesOf(m_path);

    clock.Set(MakeLocalTime(2030, 1, 2, 3, 4, 5));
    ASSERT_TRUE(CompactFile(m_path, m_out));
    EXPECT_EQ(m_xhost.m_passwordPrompts, std::vector<std::string>{m_path});
    EXPECT_EQ(m_xhost.m_unusedKeywords, (std::vector<std::vector<std::string>>{{"unused"}}));
    EXPECT_EQ(m_xhost.m_unusedGroups, (std::vector<std::vector<std::string>>{{"empty"}}));
    EXPECT_EQ(m_report, "");
    EXPECT_EQ(m_counts.articlesRecovered, 4);  // three articles and the placeholder
    EXPECT_EQ(m_counts.keywordsRecovered, 4);
    EXPECT_EQ(m_xhost.m_progressEnded, 1);
    EXPECT_TRUE(m_xhost.m_mainWindowEnabled);

    FileTables t = TablesOf(m_out);
    EXPECT_EQ(CheckTableLinks(t, true), "");
    // Dense ids: the keyword and group tables have no holes left.
    EXPECT_EQ(t.keywordNames, (std::map<int32_t, std::string>{{0, "red"}, {1, "green"}, {2, "blue"}, {3, "unused"}}));
    EXPECT_EQ(t.groupNames, (std::map<int32_t, std::string>{{0, "colours"}, {1, "empty"}}));
    int32_t alpha = IdOf(t.articleTitles, "alpha"), bravo = IdOf(t.articleTitles, "bravo"),
            charlie = IdOf(t.articleTitles, "charlie");
    EXPECT_EQ(t.articleTitles.size(), 3u);
    EXPECT_EQ((std::set<int32_t>{alpha, bravo, charlie}), (std::set<int32_t>{0, 1, 2}));
    // The tracked article's placeholder keeps its id.
    EXPECT_EQ(t.placeholders, std::set<int32_t>{s.tracked});
    EXPECT_EQ(KeywordNamesOf(t, alpha), (std::vector<std::string>{"green", "red"}));
    EXPECT_EQ(KeywordNamesOf(t, charlie), (std::vector<std::string>{"blue"}));
    EXPECT_EQ(t.keywordsOfGroup.at(0), (std::set<int32_t>{0, 2}));
    EXPECT_EQ(t.bookmarked, std::set<int32_t>{alpha});
    EXPECT_EQ(t.privateList, std::set<int32_t>{bravo});

    // The records themselves, as the independent reader decodes them.
    independent::DataFileBytes bytes(m_out);
    std::vector<uint8_t> key = bytes.RecordKey("pw");
    independent::Article linking = independent::ReadArticle(bytes, charlie, key);
    ASSERT_EQ(linking.links.size(), 2u);
    EXPECT_EQ(linking.links[0].targetArticle, alpha);
    EXPECT_EQ(linking.links[1].targetArticle, bravo);
    ASSERT_EQ(linking.attachments.size(), 1u);
    EXPECT_EQ(linking.attachments[0].articleId, alpha);
    independent::Article first = independent::ReadArticle(bytes, alpha, key);
    EXPECT_EQ(first.title, "alpha");
    EXPECT_EQ(first.modifiedDate, 20261210) << "compaction keeps the modification stamp";
    EXPECT_EQ(independent::ReadArticle(bytes, bravo, key).title, "bravo");

    // The document opens the result with the same password and finds the rest.
    m_path = m_out;
    m_host.m_password = "pw";
    m_unlockAfterOpen = true;
    ASSERT_TRUE(Open());
    EXPECT_EQ(m_doc->GetReminders().GetCount(), 1);
    ReminderRecord reminder;
    m_doc->GetReminders().GetAt(0, reminder);
    EXPECT_EQ(reminder.articleId, charlie);
    std::string name, text;
    int32_t from, to;
    ASSERT_TRUE(m_doc->GetQueryList().GetAt(0, name, text, from, to));
    EXPECT_EQ(text, "red AND BOOKMARKED");
    EXPECT_EQ(m_doc->GetExportHeader().GetText(), "Exported by test");
    EXPECT_TRUE(m_doc->IsPasswordAskedAtOpen() || m_doc->HasPassword());
    EXPECT_EQ(CheckOpenFile(), "");
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(Compaction, CompactingTwiceGivesTheSameBytesAsOnce)
{
    CPinnedClock clock(MakeLocalTime(2026, 12, 10, 13, 5, 9));
    BuildHealthy();
    m_xhost.m_password = "pw";
    std::string once = m_folder.File("once.xrd"), twice = m_folder.File("twice.xrd");
    {
        CCountingRandom random;
        ASSERT_TRUE(CompactFile(m_path, once));
    }
    {
        CCountingRandom random;
        ASSERT_TRUE(CompactFile(once, twice));
    }
    EXPECT_TRUE(FileBytes(once) == FileBytes(twice));
}

TEST_F(Compaction, UnusedKeywordsAndGroupsGoWhenTheUserSaysYesAndStillCountAsRecovered)
{
    BuildHealthy();
    m_xhost.m_password = "pw";
    m_xhost.m_deleteUnused = true;
    ASSERT_TRUE(CompactFile(m_path, m_out));
    FileTables t = TablesOf(m_out);
    EXPECT_EQ(IdOf(t.keywordNames, "unused"), kNoneId);
    EXPECT_EQ(IdOf(t.groupNames, "empty"), kNoneId);
    EXPECT_EQ(m_counts.keywordsRecovered, 4);
    EXPECT_EQ(CheckTableLinks(t, true), "");
}

TEST_F(Compaction, OntoItselfLeavesTheOldFileAsBakAndTheReportNamesIt)
{
    BuildHealthy();
    m_xhost.m_password = "pw";
    std::string original = FileBytes(m_path);
    std::string bak = m_folder.File("kb.BAK");
    WriteFileBytes(bak, "an older backup");
    ASSERT_TRUE(CompactFile(m_path, m_path));
    EXPECT_EQ(m_reportedSource, bak);
    EXPECT_TRUE(FileBytes(bak) == original);
    EXPECT_EQ(FilesIn(m_folder.Path()), (std::vector<std::string>{"kb.BAK", "kb.xrd"}));
    EXPECT_EQ(CheckTableLinks(TablesOf(m_path), true), "");

    // Through Convert with the original removed: no backup stays.
    CCompactor converter(m_xhost, nullptr);
    std::filesystem::remove(NativePath(bak));
    ASSERT_TRUE(converter.Convert(m_path, true));
    EXPECT_EQ(FilesIn(m_folder.Path()), (std::vector<std::string>{"kb.xrd"}));
}

TEST_F(Compaction, AFailedFinalRenamePutsTheSourceBackUnchanged)
{
    BuildHealthy();
    m_xhost.m_password = "pw";
    std::string original = FileBytes(m_path);
    CFailingFinalMove compactor(m_xhost, nullptr);
    compactor.m_failFrom = m_folder.File("kb.000");  // the temporary file
    compactor.SetPaths(m_path, m_path);
    EXPECT_THROW(compactor.Compact(false, false, false), CQuorError);
    EXPECT_EQ(FilesIn(m_folder.Path()), (std::vector<std::string>{"kb.xrd"}));
    EXPECT_TRUE(FileBytes(m_path) == original);
    EXPECT_EQ(compactor.GetReportedSourcePath(), m_path);
    EXPECT_EQ(m_errors.Messages(), (std::vector<std::string>{QuorLoadString(1145)}));
}

TEST_F(Compaction, CancelAtAnyPassLeavesNoTemporaryFileAndTheSourceUntouched)
{
    BuildHealthy();
    m_xhost.m_password = "pw";
    m_xhost.m_source = m_path;
    m_xhost.m_destination = m_out;
    std::string original = FileBytes(m_path);
    // Count the steps of a whole run first, then cancel before each of them.
    ASSERT_TRUE(CompactFile(m_path, m_out));
    int steps = m_xhost.m_totalSteps;
    ASSERT_GT(steps, 10);
    std::filesystem::remove(NativePath(m_out));
    for (int cancelAt = 0; cancelAt < steps; ++cancelAt) {
        SCOPED_TRACE(cancelAt);
        m_xhost.m_totalSteps = 0;
        m_xhost.m_cancelAfterSteps = cancelAt;
        m_xhost.m_informed.clear();
        CCompactor compactor(m_xhost, nullptr);
        EXPECT_FALSE(compactor.Run());
        EXPECT_EQ(m_xhost.m_informed,
                  std::vector<std::string>{QuorFormat1(QuorLoadString(IDS_COMPACTION_CANCELED), m_path)});
        EXPECT_EQ(FilesIn(m_folder.Path()), std::vector<std::string>{"kb.xrd"});
        EXPECT_TRUE(FileBytes(m_path) == original);
        EXPECT_TRUE(m_xhost.m_mainWindowEnabled);
    }
    EXPECT_TRUE(m_xhost.m_opened.empty());
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(Compaction, RunAsksForTheFilesOpensTheResultAndSaysCompleted)
{
    BuildHealthy();
    m_xhost.m_password = "pw";
    m_xhost.m_source = m_path;
    m_xhost.m_destination = m_out;
    CCompactor compactor(m_xhost, nullptr);
    ASSERT_TRUE(compactor.Run());
    EXPECT_EQ(m_xhost.m_opened, std::vector<std::string>{m_out});
    EXPECT_EQ(m_xhost.m_informed,
              std::vector<std::string>{QuorFormat1(QuorLoadString(IDS_COMPACTION_COMPLETED), m_out)});
    EXPECT_EQ(m_xhost.m_progressCaption, "Compact");
    EXPECT_EQ(m_xhost.m_progressTexts,
              (std::vector<std::string>{"Transferring keyword groups", "Transferring keywords",
                                        "Transferring articles", "Assigning keywords to keyword groups",
                                        "Assigning keywords to articles", "Adjusting hypertext links.",
                                        "Transferring reminders"}));

    // A refused password ends silently before anything is written, then says unsuccessful.
    m_xhost.m_password = "wrong";
    m_xhost.m_informed.clear();
    m_xhost.m_destination = m_folder.File("other.xrd");
    CCompactor refused(m_xhost, nullptr);
    EXPECT_FALSE(refused.Run());
    EXPECT_EQ(m_xhost.m_informed,
              std::vector<std::string>{QuorFormat1(QuorLoadString(IDS_COMPACTION_FAILED), m_path)});
    EXPECT_FALSE(std::filesystem::exists(NativePath(m_folder.File("other.xrd"))));
}

// ---- Repair -------------------------------------------------------------------------------------

class Repair : public Compaction {
protected:
    // Keywords red, green, blue; articles alpha {red, green} (bookmarked), bravo {green} (three
    // blocks of content), charlie {blue} (two blocks), delta {red} linking to alpha, echo.
    void BuildFile()
    {
        Create();
        m_red = m_doc->AddKeyword("red", false);
        m_green = m_doc->AddKeyword("green", false);
        m_blue = m_doc->AddKeyword("blue", false);
        m_alpha = AddArticle("alpha", Keywords({m_red, m_green}));
        m_bravo = LongArticle("bravo", Keywords({m_green}), 1400);
        m_charlie = LongArticle("charlie", Keywords({m_blue}), 900);
        m_delta = LinkingArticle("delta", Keywords({m_red}), {m_alpha});
        m_echo = AddArticle("echo", Keywords({}));
        m_doc->SetBookmark(m_alpha, true);
        Close();
    }

    int32_t LongArticle(const std::string& title, const CKeywordIdSet& keywords, size_t length)
    {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetKeywordIds(keywords);
        std::string text(length, 'x');
        for (size_t i = 0; i < length; ++i)
            text[i] = static_cast<char>('a' + (i * 7919) % 26);
        record.SetRtfText(text);
        return m_doc->AddArticle(record, false, false);
    }

public:
    int32_t m_red = 0, m_green = 0, m_blue = 0;
    int32_t m_alpha = 0, m_bravo = 0, m_charlie = 0, m_delta = 0, m_echo = 0;
};

struct RepairCase {
    const char* name;
    std::function<void(CFileDamage&, const Repair&)> damage;
    int recovered, partial, lost, keywordsRecovered, keywordsLost;
    bool listsRepaired;
    std::vector<std::string> titles;
    std::vector<std::string> damagedTitles;
};

TEST_F(Repair, DamagedFilesCompactIntoFilesThatOpenWithExactReports)
{
    const int32_t none = kNoneId;
    const RepairCase cases[] = {
        {"a record with a flipped byte",
         [](CFileDamage& d, const Repair& r) { d.FlipByte(d.FirstBlock(1, r.m_alpha), 4); },
         4, 0, 1, 3, 0, true, {"bravo", "charlie", "delta", "echo"}, {}},
        {"a truncated chain",
         [](CFileDamage& d, const Repair& r) { d.SetNext(d.FirstBlock(1, r.m_bravo), none); },
         4, 1, 0, 3, 0, false, {"alpha", "charlie", "delta", "echo"}, {"bravo"}},
        {"a block reused by two chains",
         [](CFileDamage& d, const Repair& r) {
             int32_t shared = d.NextBlock(d.FirstBlock(1, r.m_charlie));
             d.SetNext(d.FirstBlock(1, r.m_bravo), shared);
         },
         4, 1, 0, 3, 0, false, {"alpha", "charlie", "delta", "echo"}, {"bravo"}},
        {"a table entry beyond the file",
         [](CFileDamage& d, const Repair& r) { d.SetEntry(1, r.m_echo, 99999); },
         4, 0, 1, 3, 0, false, {"alpha", "bravo", "charlie", "delta"}, {}},
        {"a lost keyword record",
         [](CFileDamage& d, const Repair& r) { d.FlipByte(d.FirstBlock(0, r.m_green), 4); },
         5, 0, 0, 2, 1, false, {"alpha", "bravo", "charlie", "delta", "echo"}, {}},
    };
    for (const RepairCase& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFolder folder;
        m_path = folder.File("kb.xrd");
        m_out = folder.File("out.xrd");
        BuildFile();
        {
            CFileDamage damage(m_path);
            c.damage(damage, *this);
        }
        std::string damaged = FileBytes(m_path);
        m_xhost = CRecordingExchangeHost();
        m_xhost.m_damagedFile = folder.File("damaged.xrd");
        ASSERT_TRUE(CompactFile(m_path, m_out));
        EXPECT_TRUE(FileBytes(m_path) == damaged);

        EXPECT_EQ(m_counts.articlesRecovered, c.recovered);
        EXPECT_EQ(m_counts.articlesPartiallyRecovered, c.partial);
        EXPECT_EQ(m_counts.damagedArticles - m_counts.articlesPartiallyRecovered, c.lost);
        EXPECT_EQ(m_counts.keywordsRecovered, c.keywordsRecovered);
        EXPECT_EQ(m_counts.keywordsLost, c.keywordsLost);
        EXPECT_EQ(m_counts.listsRepaired, c.listsRepaired);
        std::string expected = FormatReportPattern(
            QuorLoadString(c.listsRepaired ? IDS_REPORT_LISTS_REPAIRED : IDS_REPORT),
            {c.recovered, c.partial, c.lost, c.keywordsRecovered, c.keywordsLost, m_path, m_out});
        if (c.partial > 0)
            expected += QuorFormat1(QuorLoadString(IDS_REPORT_PARTIAL_FILE), m_xhost.m_damagedFile);
        EXPECT_EQ(m_report, c.partial + c.lost + c.keywordsLost + (c.listsRepaired ? 1 : 0) ? expected : "");

        FileTables t = TablesOf(m_out);
        EXPECT_EQ(CheckTableLinks(t, true), "");
        std::vector<std::string> titles;
        for (const auto& entry : t.articleTitles)
            titles.push_back(entry.second);
        std::sort(titles.begin(), titles.end());
        EXPECT_EQ(titles, c.titles);
        if (c.partial > 0) {
            FileTables saved = TablesOf(m_xhost.m_damagedFile);
            std::vector<std::string> savedTitles;
            for (const auto& entry : saved.articleTitles)
                savedTitles.push_back(entry.second);
            EXPECT_EQ(savedTitles, c.damagedTitles);
        } else {
            EXPECT_FALSE(std::filesystem::exists(NativePath(m_xhost.m_damagedFile)));
        }
        // An article whose keyword was lost keeps its others; a link to a lost article is gone.
        int32_t alpha = IdOf(t.articleTitles, "alpha");
        if (alpha != kNoneId)
            EXPECT_EQ(KeywordNamesOf(t, alpha).front(), c.keywordsLost ? "red" : "green");
        int32_t delta = IdOf(t.articleTitles, "delta");
        independent::DataFileBytes bytes(m_out);
        independent::Article linking = independent::ReadArticle(bytes, delta, std::vector<uint8_t>(16, 0));
        EXPECT_EQ(linking.links.size(), alpha == kNoneId ? 0u : 1u);
        EXPECT_EQ(linking.attachments.size(), alpha == kNoneId ? 0u : 1u);
        if (alpha != kNoneId && !linking.links.empty())
            EXPECT_EQ(linking.links[0].targetArticle, alpha);

        // The result opens as a document.
        std::string source = m_path;
        m_path = m_out;
        ASSERT_TRUE(Open());
        EXPECT_EQ(CheckOpenFile(), "");
        Close();
        m_path = source;
    }
}

TEST_F(Repair, DamagedArticlesAreDiscardedWhenNoFileIsNamed)
{
    BuildFile();
    {
        CFileDamage damage(m_path);
        damage.SetNext(damage.FirstBlock(1, m_bravo), kNoneId);
        damage.SetNext(damage.FirstBlock(1, m_charlie), kNoneId);
    }
    ASSERT_TRUE(CompactFile(m_path, m_out));
    // Asked once, at the first damaged article whose title reads.
    EXPECT_EQ(m_xhost.m_damagedQuestions, std::vector<std::string>{m_out});
    EXPECT_EQ(m_counts.damagedArticles, 2);
    EXPECT_EQ(m_counts.articlesPartiallyRecovered, 0);
}

// ---- Versions ------------------------------------------------------------------------------------

TEST_F(Compaction, AVersion3TargetDropsGroupsRemindersAndLaterAttachmentsAndRewritesQueries)
{
    Source s = BuildHealthy();
    ASSERT_TRUE(Open());
    CArticleRecord record;
    m_doc->LoadArticle(s.alpha, record);
    CLinkTarget first, second;
    first.Set(CLinkTarget::kInternet, "http://one.example");
    second.Set(CLinkTarget::kInternet, "http://two.example");
    record.AddAttachment(first);
    record.AddAttachment(second);
    m_doc->UpdateArticle(s.alpha, record, false);
    Close();
    m_xhost.m_password = "pw";
    ASSERT_TRUE(CompactFile(m_path, m_out, 300));

    CDataFile out;
    out.Open(m_out, true);
    EXPECT_EQ(out.GetVersion(), 300);
    out.Close();
    FileTables t = TablesOf(m_out);
    EXPECT_TRUE(t.groupNames.empty());
    EXPECT_EQ(CheckTableLinks(t, true), "");
    independent::DataFileBytes bytes(m_out);
    independent::Article alpha = independent::ReadArticle(bytes, IdOf(t.articleTitles, "alpha"), bytes.RecordKey("pw"));
    ASSERT_EQ(alpha.attachments.size(), 1u);
    EXPECT_EQ(alpha.attachments[0].target, "http://one.example");
    EXPECT_TRUE(bytes.KeyedRecord(15).empty());

    // Back to the current format: the query word comes back.
    CQueryList queries;
    out.Open(m_out, true);
    queries.Load(out);
    out.Close();
    std::string name, text;
    int32_t from, to;
    ASSERT_TRUE(queries.GetAt(0, name, text, from, to));
    EXPECT_EQ(text, "red AND TAGGED");
    std::string again = m_folder.File("again.xrd");
    ASSERT_TRUE(CompactFile(m_out, again, 400));
    out.Open(again, true);
    queries.Load(out);
    out.Close();
    ASSERT_TRUE(queries.GetAt(0, name, text, from, to));
    EXPECT_EQ(text, "red AND BOOKMARKED");
}

TEST_F(Compaction, OlderFilesOfVersions220And300ConvertToTheCurrentFormat)
{
    for (int version : {220, 300}) {
        SCOPED_TRACE(version);
        CTempFolder folder;
        std::string path = folder.File("old.xrd");
        {
            CDataFile file;
            file.Create(path, version);
            CKeywordRecord keyword;
            keyword.SetName("old keyword");
            keyword.SetArticleIds(Articles({0}));
            keyword.WriteNew(file);
            CArticleRecord article;
            article.SetTitle("old article");
            article.SetPlainTextVersion();
            article.SetText("plain text of an old article");
            article.SetDate(19990101);
            article.SetKeywordIds(Keywords({0}));
            article.WriteNew(file);
            CKeyedRecordStream::WriteIdSet(&file, 1, Articles({0}));
            CQueryList queries;
            queries.Add("old", "TAGGED OR \"TAGGED\"", 0, 0);
            queries.Save(file);
            file.Close();
        }
        m_xhost = CRecordingExchangeHost();
        CCompactor compactor(m_xhost, nullptr);
        ASSERT_TRUE(compactor.Convert(path, false));
        EXPECT_EQ(compactor.GetReportedSourcePath(), folder.File("old.BAK"));
        EXPECT_EQ(CDataFile::ReadVersion(path), 400);
        EXPECT_EQ(CDataFile::ReadVersion(folder.File("old.BAK")), version);
        FileTables t = TablesOf(path);
        EXPECT_EQ(t.articleTitles, (std::map<int32_t, std::string>{{0, "old article"}}));
        EXPECT_EQ(KeywordNamesOf(t, 0), std::vector<std::string>{"old keyword"});
        EXPECT_EQ(t.bookmarked, std::set<int32_t>{0});
        EXPECT_EQ(CheckTableLinks(t, true), "");
        CDataFile out;
        out.Open(path, true);
        CQueryList queries;
        queries.Load(out);
        CArticleRecord article;
        article.Read(out, 0);
        out.Close();
        EXPECT_EQ(article.GetText(), "plain text of an old article");
        EXPECT_EQ(article.GetDateOf(CArticleRecord::kOwnDate), 19990101);
        std::string name, text;
        int32_t from, to;
        ASSERT_TRUE(queries.GetAt(0, name, text, from, to));
        EXPECT_EQ(text, "BOOKMARKED OR \"TAGGED\"");
    }
}

// ---- Text rules ----------------------------------------------------------------------------------

TEST(CompactionRules, ObjSubIsDeletedOnlyAfterAnEvenNumberOfBackslashes)
{
    struct Case {
        const char* in;
        const char* out;
        bool changed;
    } cases[] = {
        {"{\\objsub x}", "{ x}", true},
        {"{\\\\objsub x}", "{\\\\objsub x}", false},  // escaped backslash: text
        {"{\\\\\\objsub}", "{\\\\}", true},           // two backslashes of text, then the word
        {"\\objsub\\objsub1", "1", true},
        {"{\\objsubscript}", "{\\objsubscript}", false},
        {"no tags", "no tags", false},
    };
    for (const Case& c : cases) {
        std::string rtf = c.in;
        EXPECT_EQ(RemoveObjSubControlWords(rtf), c.changed) << c.in;
        EXPECT_EQ(rtf, c.out) << c.in;
    }
}

TEST(CompactionRules, QueryWordsFollowTheTokenRuleInBothDirections)
{
    struct Case {
        const char* in;
        const char* from;
        const char* to;
        const char* out;
    } cases[] = {
        {"red AND BOOKMARKED", "BOOKMARKED", "TAGGED", "red AND TAGGED"},
        {"(bookmarked)", "BOOKMARKED", "TAGGED", "(TAGGED)"},
        {"tagged OR BOOKMARKED", "BOOKMARKED", "TAGGED", "\"tagged\" OR TAGGED"},
        {"\"BOOKMARKED\" AND 'x y'", "BOOKMARKED", "TAGGED", "\"BOOKMARKED\" AND 'x y'"},
        {"TAGGED AND BOOKMARKEDX", "TAGGED", "BOOKMARKED", "BOOKMARKED AND BOOKMARKEDX"},
        {"BOOKMARKED", "TAGGED", "BOOKMARKED", "\"BOOKMARKED\""},
    };
    for (const Case& c : cases) {
        std::string text = c.in;
        RewriteQueryWord(text, c.from, c.to);
        EXPECT_EQ(text, c.out) << c.in;
    }
}

TEST_F(Compaction, TheObjSubQuestionComesOnceAndItsAnswerHoldsForTheRun)
{
    for (bool answer : {true, false}) {
        SCOPED_TRACE(answer);
        CTempFolder folder;
        m_path = folder.File("kb.xrd");
        m_out = folder.File("out.xrd");
        Create();
        for (const char* title : {"one", "two"}) {
            CArticleRecord record;
            record.SetTitle(title);
            record.SetRtfText("{\\rtf1 {\\object\\objsub data}}");
            m_doc->AddArticle(record, false, false);
        }
        Close();
        m_xhost = CRecordingExchangeHost();
        m_xhost.m_answers = {answer};
        ASSERT_TRUE(CompactFile(m_path, m_out));
        EXPECT_EQ(m_xhost.m_asked, std::vector<std::string>{QuorLoadString(IDS_RTF_TAGS_QUESTION)});
        independent::DataFileBytes bytes(m_out);
        for (int32_t id : {0, 1})
            EXPECT_EQ(independent::ReadArticle(bytes, id, std::vector<uint8_t>(16, 0)).content,
                      answer ? "{\\rtf1 {\\object data}}" : "{\\rtf1 {\\object\\objsub data}}");
    }
}

// The document's conversion of an older file through the compacting converter.
class CConvertingHost : public CRecordingHost {
public:
    int ChooseConversion(const std::string& path) override { return 0; }
};

TEST(CompactingConverter, TheDocumentConvertsAnOlderFileAndNamesTheBackup)
{
    CTempFolder folder;
    std::string path = folder.File("old.xrd");
    {
        CDataFile file;
        file.Create(path, 300);
        CArticleRecord article;
        article.SetTitle("kept");
        article.WriteNew(file);
        file.Close();
    }
    CConvertingHost host;
    CRecordingExchangeHost exchange;
    CCompactingConverter converter(exchange, nullptr);
    CQuorvaneDoc doc(host);
    doc.SetConverter(&converter);
    bool readOnly = false;
    ASSERT_TRUE(doc.ConvertOldFile(path, readOnly));
    EXPECT_FALSE(readOnly);
    EXPECT_EQ(host.m_informed, std::vector<std::string>{QuorFormat1(QuorLoadString(5212), folder.File("old.BAK"))});
    EXPECT_EQ(CDataFile::ReadVersion(path), 400);
    ASSERT_TRUE(doc.OnOpenDocument(path));
    CArticleIdSet all;
    doc.GetAllArticleIds(all);
    ASSERT_EQ(all.GetSize(), 1);
    EXPECT_STREQ(doc.GetArticleTitle(all.GetAt(0)), "kept");
    doc.DeleteContents();
}

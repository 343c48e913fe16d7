// Import Keyword List and keywords made in batches: a table of list files (line ends, blank lines,
// tabs, long lines, names the file has in another case), what the index list is told, one flush per
// batch, read errors, failures half-way, and Undo Import taking back exactly what the import made.
// The keywords are read back from the file's bytes by the independent reader.
#include <fstream>
#include <string>
#include <vector>

#include "document/keyword_list_file.h"
#include "framework/cmd_target.h"
#include "framework/file.h"
#include "resources/commands.h"
#include "storage/quor_error.h"
#include "tests/document/doc_fixture.h"
#include "tests/storage/independent_reader.h"

namespace {

// Counts the calls of one kind on one file and fails the `failAt`-th (0 = the first; -1 none) and
// every later one.
class CCallCounter : public IFileFaults {
public:
    CCallCounter(std::string path, Call call, int failAt = -1, long osError = 0)
        : m_path(std::move(path)), m_call(call), m_failAt(failAt), m_osError(osError)
    {
        m_previous = SetFileFaults(this);
    }
    ~CCallCounter() override { SetFileFaults(m_previous); }
    long Before(Call call, const std::string& path, uint64_t, uint32_t, uint32_t*) override
    {
        if (call != m_call || path != m_path)
            return 0;
        int index = m_calls++;
        return m_failAt >= 0 && index >= m_failAt ? m_osError : 0;
    }
    int Calls() const { return m_calls; }

private:
    std::string m_path;
    Call m_call;
    int m_failAt;
    long m_osError;
    int m_calls = 0;
    IFileFaults* m_previous;
};

class KeywordListImport : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        Create();
        m_alpha = m_doc->AddKeyword("Alpha", false);
        m_work = m_doc->AddKeyword("work", false);
        m_trace.clear();
    }

    std::string WriteList(const std::string& bytes)
    {
        std::string path = m_folder.File("list" + std::to_string(m_lists++) + ".txt");
        std::ofstream out(NativePath(path), std::ios::binary);
        out << bytes;
        return path;
    }

    // The names of the keywords made, in id order.
    std::vector<std::string> Names(const CKeywordIdSet& ids)
    {
        std::vector<std::string> names;
        for (int32_t id : ids.Values())
            names.push_back(m_doc->GetKeywordName(id));
        return names;
    }

    // Every keyword name of the file, read from its bytes with the file closed (the document holds it
    // open without sharing), then opened again.
    std::vector<std::string> StoredNames()
    {
        CKeywordIdSet all;
        m_doc->GetAllKeywordIds(all);
        Close();
        std::vector<std::string> names;
        {
            independent::DataFileBytes bytes(m_path);
            for (int32_t id : all.Values())
                names.push_back(independent::ReadKeyword(bytes, id, std::vector<uint8_t>(16, 0)).name);
        }
        EXPECT_TRUE(Open());
        return names;
    }

    int32_t m_alpha = 0;
    int32_t m_work = 0;
    int m_lists = 0;
};

}  // namespace

TEST_F(KeywordListImport, ListFiles)
{
    const std::string longName(5000, 'L');
    struct Case {
        const char* what;
        std::string bytes;
        std::vector<std::string> made;
    };
    const std::vector<Case> cases = {
        {"CR LF", "One\r\nTwo\r\n", {"One", "Two"}},
        {"no final newline", "Three\nFour", {"Three", "Four"}},
        {"blank lines", "\r\n  \r\n\t\r\nFive\r\n\r\n", {"Five"}},
        {"tabs: trimmed again after the cut", "Six \t12\r\nSeven\tcomment\r\n", {"Six", "Seven"}},
        {"a line over 4096 bytes", longName + "\r\nEight", {longName, "Eight"}},
        {"names the file has, in another case", "ALPHA\r\nWork\r\nnine\r\nNINE\r\n", {"nine"}},
        {"made by an earlier list", "one\r\nSIX\r\n", {}},
    };
    std::vector<std::string> expected = {"Alpha", "work"};
    for (const Case& c : cases) {
        CKeywordIdSet made;
        CKeywordListFile(*m_doc).Import(WriteList(c.bytes), made);
        EXPECT_EQ(Names(made), c.made) << c.what;
        expected.insert(expected.end(), c.made.begin(), c.made.end());
    }
    EXPECT_EQ(CheckOpenFile(), "");
    EXPECT_EQ(StoredNames(), expected);
    EXPECT_EQ(m_doc->GetKeywordCount(), static_cast<int>(expected.size()));
    EXPECT_EQ(m_doc->FindKeyword("Six "), kNoneId);
    EXPECT_NE(m_doc->FindKeyword("six"), kNoneId);
}

TEST_F(KeywordListImport, TheIndexListShowsOnlyTheNewKeywordsHighlightedAfterOneFlush)
{
    std::string list = WriteList("Red\r\nGreen\r\nalpha\r\n");
    CKeywordIdSet made;
    {
        CCallCounter flushes(m_path, IFileFaults::kFlush);
        CKeywordListFile(*m_doc).Import(list, made);
        EXPECT_EQ(flushes.Calls(), 1);
    }
    ASSERT_EQ(made.GetSize(), 2);
    ASSERT_FALSE(m_trace.empty());
    EXPECT_EQ(m_trace.front(), Notice(IndexCode::kClearKeywordSelection, 0, 0));
    EXPECT_EQ(m_trace.back().code, static_cast<int>(IndexCode::kAddAndSelectKeywords));
    EXPECT_EQ(m_trace.size(), 2u);
}

TEST_F(KeywordListImport, AFileThatCannotBeOpenedMakesNothing)
{
    std::string missing = m_folder.File("missing.txt");
    CKeywordIdSet made;
    try {
        CKeywordListFile(*m_doc).Import(missing, made);
        ADD_FAILURE() << "no error";
    } catch (const CQuorError& error) {
        EXPECT_EQ(error.Code(), kFileNotFound);
        EXPECT_EQ(error.Text(), missing);
    }
    EXPECT_EQ(made.GetSize(), 0);
    EXPECT_EQ(m_doc->GetKeywordCount(), 2);
}

TEST_F(KeywordListImport, AReadErrorKeepsTheNamesReadBeforeIt)
{
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "name" + std::to_string(i) + "\r\n";  // about 9 KB: three reads
    std::string list = WriteList(text);
    CKeywordIdSet made;
    CCallCounter reads(list, IFileFaults::kRead, 1, 23 /* a CRC error */);
    try {
        CKeywordListFile(*m_doc).Import(list, made);
        ADD_FAILURE() << "no error";
    } catch (const CQuorError& error) {
        EXPECT_EQ(error.Code(), kFileRead);
    }
    // The first 4,096 bytes held 455 whole lines; the cut one is not made.
    EXPECT_GT(made.GetSize(), 400);
    EXPECT_LT(made.GetSize(), 1000);
    EXPECT_EQ(m_doc->GetKeywordCount(), 2 + made.GetSize());
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(KeywordListImport, AWriteFailureHalfWayKeepsWhatWasMadeAndARetryMakesNoNameTwice)
{
    std::vector<std::string> names;
    for (int i = 0; i < 50; ++i)
        names.push_back("batch" + std::to_string(i));
    CKeywordIdSet made;
    {
        CCallCounter writes(m_path, IFileFaults::kWrite, 40, 112 /* disk full */);
        EXPECT_THROW(m_doc->AddKeywordBatch(names, made), CQuorError);
    }
    int first = made.GetSize();
    EXPECT_LT(first, 50);
    EXPECT_EQ(m_doc->GetKeywordCount(), 2 + first);
    // The failure was passed on only after the index list heard of the keywords made.
    ASSERT_FALSE(m_trace.empty());
    EXPECT_EQ(m_trace.back().code, static_cast<int>(IndexCode::kAddAndSelectKeywords));

    m_doc->AddKeywordBatch(names, made);
    EXPECT_EQ(made.GetSize(), 50);
    EXPECT_EQ(m_doc->GetKeywordCount(), 52);
    for (const std::string& name : names)
        EXPECT_NE(m_doc->FindKeyword(name), kNoneId) << name;
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(KeywordListImport, UndoImportRemovesExactlyWhatTheImportMade)
{
    int32_t before = m_doc->AddKeyword("Before", false);
    CKeywordIdSet made;
    m_doc->SetImportRecording(true);
    CKeywordListFile(*m_doc).Import(WriteList("Gamma\r\nalpha\r\nDelta\r\n"), made);
    m_doc->SetImportRecording(false);
    EXPECT_TRUE(m_doc->CanUndoImport());
    EXPECT_EQ(Names(made), (std::vector<std::string>{"Gamma", "Delta"}));

    m_host.m_answers.push_back(true);
    m_doc->UndoImport();
    CKeywordIdSet left;
    m_doc->GetAllKeywordIds(left);
    EXPECT_EQ(left.Values(), (std::vector<int32_t>{m_alpha, m_work, before}));
    EXPECT_FALSE(m_doc->CanUndoImport());
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(KeywordListImport, TheKeywordMenuCommandsNeedAWritableFileAndTheImportCanBeUndone)
{
    m_host.m_keywordList = WriteList("Omega\r\n");
    for (unsigned id : {unsigned(IDM_KEYWORD_ADD), unsigned(IDM_KEYWORD_GROUPS), unsigned(IDM_KEYWORD_IMPORT_LIST)})
        EXPECT_TRUE(m_doc->OnCmdMsg(id, nullptr)) << id;
    ASSERT_EQ(m_host.m_keywordDialogs.size(), 3u);
    EXPECT_EQ(m_host.m_keywordDialogs[0], "add");
    EXPECT_EQ(m_host.m_keywordDialogs[1], "groups");
    EXPECT_EQ(m_host.m_keywordDialogs[2].substr(0, 5), "list ");
    EXPECT_NE(m_doc->FindKeyword("omega"), kNoneId);
    EXPECT_TRUE(m_doc->CanUndoImport());

    // Cancel in the Open dialog: nothing read, nothing recorded.
    m_host.m_keywordList.clear();
    m_doc->ClearImportBatch();
    m_doc->OnCmdMsg(IDM_KEYWORD_IMPORT_LIST, nullptr);
    EXPECT_FALSE(m_doc->CanUndoImport());

    Reopen(true);
    m_host.m_keywordDialogs.clear();
    for (unsigned id : {unsigned(IDM_KEYWORD_ADD), unsigned(IDM_KEYWORD_GROUPS), unsigned(IDM_KEYWORD_IMPORT_LIST)}) {
        CCmdUIProbe probe(id);
        m_doc->OnCmdMsg(id, &probe);
        EXPECT_FALSE(probe.m_enabled) << id;
    }
}

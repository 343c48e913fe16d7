// A crash at any write: a fixed session of document operations runs in a child process that dies at
// its N-th write call on the data file (before the call, or after writing half of it), for every N
// (or a sample of them in the normal run). The parent then opens what is left, checks which block
// belongs to whom, compares every article that the interrupted operation did not touch with what it
// was, adds an article, saves, reopens and checks again.
//
// QUOR_CRASH_SWEEP=full sweeps every call twice (killed and torn, about two minutes); otherwise
// every 29th call is killed and every 31st torn, which takes a few seconds. QUOR_CRASH_POINT=N
// takes write call N alone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/storage/block_owners.h"
#include "tests/document/doc_fixture.h"
#include "tests/storage/test_seams.h"

namespace {

// Counts the write calls (writes, length changes, flushes) on one file; from call `m_target` on,
// the process ends at once, after writing half of that call's bytes when it tears.
class CWriteCalls : public IFileFaults {
public:
    explicit CWriteCalls(std::string path) : m_path(std::move(path)) { m_previous = SetFileFaults(this); }
    ~CWriteCalls() override { SetFileFaults(m_previous); }
    void DieAt(int64_t target, bool tear)
    {
        m_target = target;
        m_tear = tear;
    }
    int64_t Calls() const { return m_calls; }

    long Before(Call call, const std::string& path, uint64_t offset, uint32_t n, uint32_t* keep) override
    {
        if (call == kRead || path != m_path)
            return 0;
        int64_t index = m_calls++;
        if (m_target < 0 || index < m_target)
            return 0;
        if (index == m_target && m_tear && call == kWrite) {
            // A disk writes a sector (512 bytes of the file) at once: a torn write keeps the sectors
            // before the sector boundary nearest its middle. A write inside one sector is kept whole
            // (the process dies just after it).
            uint64_t middle = offset + n / 2;
            uint64_t boundary = (middle + kSector / 2) / kSector * kSector;
            *keep = boundary > offset && boundary < offset + n ? static_cast<uint32_t>(boundary - offset) : n;
            return 30;  // the rest of the process never writes again: the next call ends it
        }
        _exit(0);
    }

private:
    static constexpr uint64_t kSector = 512;
    std::string m_path;
    IFileFaults* m_previous;
    int64_t m_calls = 0;
    int64_t m_target = -1;
    bool m_tear = false;
};

using Snapshot = std::map<int32_t, std::string>;

std::string Text(size_t length, char seed)
{
    std::string text = "{\\rtf1 ";
    while (text.size() < length)
        text += static_cast<char>('a' + (seed + text.size() * 7) % 26);
    return text + "}";
}

std::string Describe(CQuorvaneDoc& doc, int32_t id)
{
    CArticleRecord record;
    doc.LoadArticle(id, record);
    CKeywordIdSet keywords;
    record.GetKeywordIds(keywords);
    std::string text = record.GetTitle() + "|" + record.GetRtfText() + "|";
    for (int32_t k : keywords.Values())
        text += doc.GetKeywordName(k) + ",";
    return text;
}

Snapshot Take(CQuorvaneDoc& doc)
{
    Snapshot snapshot;
    CArticleIdSet ids;
    doc.GetAllArticleIds(ids);
    for (int32_t id : ids.Values())
        snapshot[id] = Describe(doc, id);
    return snapshot;
}

int32_t Add(CQuorvaneDoc& doc, const std::string& title, const std::vector<std::string>& keywords, size_t length)
{
    CArticleRecord record;
    record.SetRichTextVersion();
    record.SetTitle(title);
    record.SetRtfText(Text(length, title[0]));
    CKeywordIdSet ids;
    for (const std::string& name : keywords)
        ids.Add(doc.GetKeywordIdByName(name));
    record.SetKeywordIds(ids);
    record.SetDate(20240101);
    return doc.AddArticle(record, false, false);
}

void Update(CQuorvaneDoc& doc, int32_t id, const std::string& title, size_t length)
{
    CArticleRecord record;
    doc.LoadArticle(id, record);
    record.SetTitle(title);
    record.SetRtfText(Text(length, title[0]));
    doc.UpdateArticle(id, record, false);
}

int32_t Group(CQuorvaneDoc& doc, const std::string& name, const std::vector<std::string>& keywords)
{
    CKeywordGroupRecord group;
    group.SetName(name);
    CKeywordIdSet ids;
    for (const std::string& keyword : keywords)
        ids.Add(doc.FindKeyword(keyword));
    group.SetKeywordIds(ids);
    return doc.AddKeywordGroup(group);
}

// The file the session starts from: keywords, groups, articles of one to five blocks, a deleted one.
void BuildStart(CQuorvaneDoc& doc)
{
    Add(doc, "apples", {"alpha", "beta"}, 300);
    Add(doc, "bread", {"beta", "gamma"}, 1400);
    int32_t gone = Add(doc, "cheese", {"alpha"}, 900);
    Add(doc, "dates", {"gamma", "delta"}, 2300);
    Add(doc, "eggs", {"alpha", "delta"}, 100);
    Add(doc, "figs", {}, 600);
    Group(doc, "first", {"alpha", "beta"});
    Group(doc, "second", {"gamma"});
    doc.DeleteArticle(gone);
    doc.OnFileSave();
}

// The session, one operation after another.
std::vector<std::function<void()>> Session(CQuorvaneDoc& doc)
{
    CQuorvaneDoc* d = &doc;
    return {
        [d] { Add(*d, "grapes", {"alpha", "beta"}, 700); },
        [d] { Update(*d, 0, "apples, more", 2100); },
        [d] { Update(*d, 1, "bread, less", 200); },
        [d] { d->DeleteArticle(3); },
        [d] { Add(*d, "honey", {"gamma"}, 1100); },  // takes the entry and the blocks of a deleted article
        [d] { d->UpdateKeyword(d->FindKeyword("beta"), "bravo", CGroupIdSet()); },
        [d] { d->MergeKeyword(d->FindKeyword("gamma"), d->FindKeyword("delta")); },
        [d] { d->DeleteKeywords(Keywords({d->FindKeyword("gamma")})); },
        [d] { d->AddKeyword("epsilon", false); },  // takes the deleted keyword's entry
        [d] { Group(*d, "third", {"alpha", "epsilon"}); },
        [d] { d->DeleteKeywordGroup(d->FindKeywordGroup("first")); },
        [d] { Add(*d, "ice", {"zeta", "alpha"}, 5000); },
        [d] {
            d->SetBookmark(0, true);
            d->OnFileSave();
        },
        [d] { d->DeleteKeywords(Keywords({d->FindKeyword("alpha")})); },
        [d] { Update(*d, 4, "eggs, boiled", 3000); },
        [d] { d->OnFileSave(); },
    };
}

// Runs the session; `after` runs after each operation.
void RunSession(CQuorvaneDoc& doc, const std::function<void()>& after)
{
    for (const std::function<void()>& operation : Session(doc)) {
        operation();
        after();
    }
}

// Whether write call `point` is swept: all of them, one, or every `stride`-th from `offset`.
bool Swept(int64_t point, int64_t stride, int64_t offset)
{
    if (const char* only = std::getenv("QUOR_CRASH_POINT"))
        return point == std::atoll(only);
    if (const char* mode = std::getenv("QUOR_CRASH_SWEEP"))
        if (std::string(mode) == "full")
            return true;
    return point % stride == offset;
}

struct Reference {
    std::vector<Snapshot> states;  // before the first operation, then after each
    std::vector<int64_t> ends;     // write calls made when each operation ended
};

class CrashSweep : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        m_start = m_folder.File("start.xrd");
        m_path = m_start;
        Create();
        BuildStart(*m_doc);
        Close();
        m_startBytes = ReadBytes(m_start);
    }

    void OpenAt(const std::string& path)
    {
        m_path = path;
        ASSERT_TRUE(Open()) << "the file does not open";
    }

    void Restore(const std::string& path) { m_folder.Write(path.substr(path.rfind('\\') + 1), m_startBytes); }

    Reference RunReference()
    {
        Reference reference;
        std::string path = m_folder.File("reference.xrd");
        Restore(path);
        OpenAt(path);
        reference.states.push_back(Take(*m_doc));
        CWriteCalls calls(path);
        RunSession(*m_doc, [&] {
            reference.ends.push_back(calls.Calls());
            reference.states.push_back(Take(*m_doc));
        });
        Close();
        return reference;
    }

    std::string m_start;
    std::string m_startBytes;
    CPinnedClock m_clock{MakeLocalTime(2025, 3, 4, 5, 6, 7)};
};

struct Figures {
    int points = 0, openFailed = 0, blockProblems = 0, lostUntouched = 0, touchedOld = 0, touchedNew = 0,
        touchedReported = 0, touchedMixed = 0, afterWorkProblems = 0, oneSidedLinks = 0, unreadableRecords = 0, lostBlocks = 0;
};

}  // namespace

TEST_F(CrashSweep, EveryArticleOutsideTheInterruptedOperationSurvivesAKillOrATornWrite)
{
    Reference reference = RunReference();
    int64_t total = reference.ends.back();
    ASSERT_GT(total, 100);
    bool full = std::getenv("QUOR_CRASH_SWEEP") && std::string(std::getenv("QUOR_CRASH_SWEEP")) == "full";
    Figures figures;
    for (int tear = 0; tear < 2; ++tear) {
        for (int64_t point = 0; point < total; ++point) {
            if (!Swept(point, tear ? 31 : 29, tear ? 7 : 3))
                continue;
            SCOPED_TRACE("write call " + std::to_string(point) + (tear ? " torn" : " killed"));
            std::string path = m_folder.File("crash.xrd");
            Restore(path);
            std::cout.flush();
            pid_t child = fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                m_path = path;
                if (Open()) {
                    CWriteCalls calls(path);
                    calls.DieAt(point, tear != 0);
                    try {
                        RunSession(*m_doc, [] {});
                    } catch (...) {
                    }
                    if (calls.Calls() > point)
                        _exit(0);  // torn, and the failure ended the session before another write
                }
                _exit(3);  // the session ran past the point: the reference run counted differently
            }
            int status = 0;
            waitpid(child, &status, 0);
            ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child did not die at the point";
            ++figures.points;

            size_t op = 0;
            while (op < reference.ends.size() && reference.ends[op] <= point)
                ++op;
            const Snapshot& before = reference.states[op];
            const Snapshot& after = reference.states[op + 1];

            CRecordedErrors::Messages().clear();
            m_path = path;
            if (!Open()) {
                ++figures.openFailed;
                ADD_FAILURE() << "the file does not open: "
                              << (CRecordedErrors::Messages().empty() ? "" : CRecordedErrors::Messages()[0]);
                continue;
            }
            CBlockOwners owners(NativePath(path));
            std::string problems = owners.Problems();
            if (!problems.empty()) {
                ++figures.blockProblems;
                ADD_FAILURE() << problems;
            }
            figures.lostBlocks += owners.LostBlocks();
            auto checkUntouched = [&](int* failures) {
                for (const auto& [id, described] : before) {
                    bool touched = !after.count(id) || after.at(id) != described;
                    if (touched)
                        continue;
                    std::string now;
                    try {
                        now = Describe(*m_doc, id);
                    } catch (const CQuorError& e) {
                        now = "error " + std::to_string(e.Code());
                    }
                    if (now != described) {
                        ++*failures;
                        ADD_FAILURE() << "article " << id << " was damaged: " << now.substr(0, 60);
                    }
                }
            };
            int lost = 0;
            checkUntouched(&lost);
            figures.lostUntouched += lost;
            std::set<int32_t> touched;
            for (const auto& [id, described] : before)
                if (!after.count(id) || after.at(id) != described)
                    touched.insert(id);
            for (const auto& [id, described] : after)
                if (!before.count(id))
                    touched.insert(id);
            for (int32_t id : touched) {
                CArticleIdSet all;
                m_doc->GetAllArticleIds(all);
                if (!all.Contains(id))
                    continue;
                try {
                    std::string now = Describe(*m_doc, id);
                    if (before.count(id) && now == before.at(id))
                        ++figures.touchedOld;
                    else if (after.count(id) && now == after.at(id))
                        ++figures.touchedNew;
                    else {
                        ++figures.touchedMixed;
                        if (full)
                            std::cout << "not old nor new: article " << id << " at write call " << point
                                      << (tear ? " torn" : " killed") << "\n";
                    }
                } catch (const CQuorError&) {
                    ++figures.touchedReported;
                }
            }
            try {
                if (!CheckTableLinks(ReadFileTables(m_doc->GetDataFile()), false).empty())
                    ++figures.oneSidedLinks;
            } catch (const CQuorError&) {
                ++figures.unreadableRecords;  // a record the interrupted operation was writing
            }

            // Further work on what is left: add, save, reopen.
            CRecordedErrors::Messages().clear();
            int32_t added = Add(*m_doc, "after the crash", {"omega", "delta"}, 1600);
            m_doc->OnFileSave();
            EXPECT_TRUE(CRecordedErrors::Messages().empty()) << CRecordedErrors::Messages()[0];
            Close();
            ASSERT_TRUE(Open()) << "the file does not open after further work";
            int damaged = 0;
            checkUntouched(&damaged);
            EXPECT_EQ(Describe(*m_doc, added).substr(0, 16), "after the crash|");
            std::string later = CBlockOwners(NativePath(path)).Problems();
            if (damaged || !later.empty()) {
                ++figures.afterWorkProblems;
                ADD_FAILURE() << later;
            }
            Close();
        }
    }
    std::cout << "crash sweep: " << total << " write calls in the session, " << figures.points << " points ("
              << (full ? "full" : "sample") << "); open failed " << figures.openFailed << ", block problems "
              << figures.blockProblems << ", untouched articles damaged " << figures.lostUntouched
              << ", problems after further work " << figures.afterWorkProblems << "; interrupted articles: old "
              << figures.touchedOld << ", new " << figures.touchedNew << ", reported " << figures.touchedReported
              << ", mixed " << figures.touchedMixed << "; points with one-sided links " << figures.oneSidedLinks
              << ", with a record that reads as damaged " << figures.unreadableRecords << ", lost blocks in all " << figures.lostBlocks << "\n";
}

namespace {

// Fails the N-th write call (write, length change or flush) on one file with a Win32 error number;
// the calls before and after it succeed.
class CFailingWrite : public IFileFaults {
public:
    CFailingWrite(std::string path, int64_t target, long osError)
        : m_path(std::move(path)), m_target(target), m_osError(osError)
    {
        m_previous = SetFileFaults(this);
    }
    ~CFailingWrite() override { SetFileFaults(m_previous); }
    long Before(Call call, const std::string& path, uint64_t, uint32_t, uint32_t* keep) override
    {
        if (call == kRead || path != m_path || m_calls++ != m_target)
            return 0;
        *keep = 0;
        return m_osError;
    }
    bool Failed() const { return m_calls > m_target; }

private:
    std::string m_path;
    int64_t m_target;
    long m_osError;
    int64_t m_calls = 0;
    IFileFaults* m_previous;
};

}  // namespace

// The same session with one write call failing (a failing disk, then a full disk, in turn) while the
// program goes on: the failure reaches the user as the mapped error with the path (thrown to the
// command, or reported by it), never swallowed; what is left opens, owns its blocks soundly and
// takes further work.
TEST_F(CrashSweep, AFailingWriteIsAlwaysReportedAndLeavesASoundFile)
{
    Reference reference = RunReference();
    int64_t total = reference.ends.back();
    bool full = std::getenv("QUOR_CRASH_SWEEP") && std::string(std::getenv("QUOR_CRASH_SWEEP")) == "full";
    int points = 0, unreadable = 0, metDamage = 0;
    for (int64_t point = 0; point < total; ++point) {
        if (!Swept(point, 17, 2))
            continue;
        long osError = point % 2 ? 112 : 30;
        int code = point % 2 ? 12 : 106;
        SCOPED_TRACE("write call " + std::to_string(point) + " fails with " + std::to_string(osError));
        std::string path = m_folder.File("failing.xrd");
        Restore(path);
        OpenAt(path);
        CRecordedErrors::Messages().clear();
        bool surfaced = false;
        {
            CFailingWrite failing(path, point, osError);
            for (const std::function<void()>& operation : Session(*m_doc)) {
                try {
                    operation();
                } catch (const CQuorError& e) {
                    // The failure itself; after it, an operation may meet the record it left half
                    // written (the one record being rewritten in place), which reads as damaged.
                    if (!surfaced) {
                        EXPECT_EQ(e.Code(), code) << e.Text();
                    } else if (e.Code() == kCorruptedRecord) {
                        ++metDamage;
                    } else {
                        EXPECT_EQ(e.Code(), code) << e.Text();
                    }
                    EXPECT_EQ(e.Text(), path);
                    surfaced = true;
                }
            }
            ASSERT_TRUE(failing.Failed());
        }
        std::string message = CQuorError(code, path).Message();
        for (const std::string& shown : CRecordedErrors::Messages())
            surfaced = surfaced || shown == message;
        EXPECT_TRUE(surfaced) << "the failure was swallowed";
        Close();
        ++points;

        ASSERT_TRUE(Open()) << "the file does not open";
        std::string problems = CBlockOwners(NativePath(path)).Problems();
        EXPECT_TRUE(problems.empty()) << problems;
        CArticleIdSet ids;
        m_doc->GetAllArticleIds(ids);
        for (int32_t id : ids.Values()) {
            try {
                Describe(*m_doc, id);
            } catch (const CQuorError&) {
                ++unreadable;
            }
        }
        CRecordedErrors::Messages().clear();
        int32_t added = Add(*m_doc, "after the failure", {"omega"}, 1600);
        m_doc->OnFileSave();
        EXPECT_TRUE(CRecordedErrors::Messages().empty());
        Close();
        ASSERT_TRUE(Open());
        EXPECT_EQ(Describe(*m_doc, added).substr(0, 18), "after the failure|");
        problems = CBlockOwners(NativePath(path)).Problems();
        EXPECT_TRUE(problems.empty()) << problems;
        Close();
    }
    std::cout << "failing writes: " << points << " points (" << (full ? "full" : "sample")
              << "), later operations that met a record the failure left half written " << metDamage
              << ", articles that read as damaged afterwards " << unreadable << "\n";
}

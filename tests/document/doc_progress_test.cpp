// The operations that run under the progress window: rebuilding the keyword-group links and sorting
// article ids. What the window showed, how far it went, Cancel, and the main window enabled again.
#include "framework/string_table.h"
#include "resources/resource.h"
#include "tests/document/doc_fixture.h"

namespace {
class DocProgress : public DocFixture {
protected:
    void SetGroupsOf(int32_t keyword, const CGroupIdSet& groups)
    {
        CKeywordRecord record;
        m_doc->ReadKeywordRecord(keyword, record);
        record.SetGroupIds(groups);
        record.Write(m_doc->GetDataFile(), keyword);
    }

    void ExpectProgressClosed()
    {
        EXPECT_EQ(m_host.m_progressEnded, 1);
        EXPECT_TRUE(m_host.m_mainWindowEnabled);
    }
};
}  // namespace

TEST_F(DocProgress, RepairRebuildsEveryKeywordsGroupsFromTheGroupRecords)
{
    Create();
    int32_t gone = m_doc->AddKeyword("gone", false);
    int32_t k1 = m_doc->AddKeyword("k1", false);
    int32_t k2 = m_doc->AddKeyword("k2", false);
    int32_t k3 = m_doc->AddKeyword("k3", false);
    int32_t k4 = m_doc->AddKeyword("k4", false);
    m_doc->DeleteKeywords(Keywords({gone}));  // a free entry at the front of the table
    int32_t g1 = AddGroup("g1", Keywords({k1, k2}));
    int32_t g2 = AddGroup("g2", Keywords({k2, k3}));

    // Broken on purpose: a wrong group, a missing one, one that does not list the keyword.
    SetGroupsOf(k1, Groups({g2}));
    SetGroupsOf(k3, Groups({}));
    SetGroupsOf(k4, Groups({g1}));
    ASSERT_NE(CheckOpenFile(), "");

    m_doc->RepairGroupLinks();
    EXPECT_EQ(GroupsOf(k1), (std::vector<int32_t>{g1}));
    EXPECT_EQ(GroupsOf(k2), (std::vector<int32_t>{g1, g2}));
    EXPECT_EQ(GroupsOf(k3), (std::vector<int32_t>{g2}));
    EXPECT_EQ(GroupsOf(k4), (std::vector<int32_t>{}));
    EXPECT_EQ(CheckOpenFile(), "");

    EXPECT_EQ(m_host.m_progressCaption, "Personal Quorvane");
    EXPECT_EQ(m_host.m_progressCaption, QuorLoadString(127));
    EXPECT_EQ(m_host.m_progressMessage, QuorLoadString(IDS_FIXING_GROUP_LISTS));
    EXPECT_EQ(m_host.m_progressRange, 4 + 2);
    EXPECT_EQ(m_host.m_progressSteps, 4 + 2);  // once per readable keyword, once per group
    ExpectProgressClosed();

    Reopen();
    EXPECT_EQ(GroupsOf(k2), (std::vector<int32_t>{g1, g2}));
    EXPECT_EQ(CheckOpenFile(), "");
}

// A damaged table counts more records than can be read: the walks still end at the table's end, the
// readable records are repaired, and a group that names the unreadable keyword still reaches its
// other keywords.
TEST_F(DocProgress, RepairOfADamagedTableEndsAtTheTablesEnd)
{
    Create();
    int32_t k1 = m_doc->AddKeyword("k1", false);
    int32_t broken = m_doc->AddKeyword("broken", false);
    int32_t k3 = m_doc->AddKeyword("k3", false);
    int32_t g = AddGroup("g", Keywords({k1, broken, k3}));
    int32_t brokenGroup = AddGroup("lost", Keywords({k3}));
    SetGroupsOf(k1, Groups({}));
    SetGroupsOf(k3, Groups({}));
    CDataFile& file = m_doc->GetDataFile();
    int32_t outside = static_cast<int32_t>(file.GetLengthSafe() / CDataFile::kBlockSize) + 1000;
    file.PutEntry(CDataFile::kKeywordTable, broken, outside);
    file.PutEntry(CDataFile::kGroupTable, brokenGroup, outside);
    ASSERT_EQ(m_doc->GetKeywordCount(), 3);
    ASSERT_EQ(m_doc->GetKeywordGroupCount(), 2);

    m_doc->RepairGroupLinks();
    EXPECT_EQ(GroupsOf(k1), (std::vector<int32_t>{g}));
    EXPECT_EQ(GroupsOf(k3), (std::vector<int32_t>{g}));
    EXPECT_EQ(m_host.m_progressRange, 3 + 2);
    EXPECT_EQ(m_host.m_progressSteps, 2 + 1);
    ExpectProgressClosed();
    // The damaged entries are left as they were for the user to deal with; nothing is reported.
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(DocProgress, SortShowsItsProgressAndSortsEveryId)
{
    Create();
    std::vector<int32_t> ids;
    for (const char* title : {"f", "e", "d", "c", "b", "a"})
        ids.push_back(AddArticle(title, Keywords({})));
    m_host.m_busyEvery = 2;  // every other pump finds a message: no element is sorted then
    std::vector<int32_t> sorted(ids.rbegin(), ids.rend());

    EXPECT_TRUE(m_doc->SortArticleIds("Print", ids, 0));
    EXPECT_EQ(ids, sorted);
    EXPECT_EQ(m_host.m_progressCaption, "Print");
    EXPECT_EQ(m_host.m_progressMessage, QuorLoadString(IDS_SORTING_ARTICLES));
    EXPECT_EQ(m_host.m_progressRange, 5);
    EXPECT_EQ(m_host.m_progressSteps, 5);
    EXPECT_EQ(m_doc->GetSortOrder(), 0);
    ExpectProgressClosed();
}

TEST_F(DocProgress, CancelStopsTheSortWithEveryIdKept)
{
    Create();
    m_doc->SetSortOrder(2);
    std::vector<int32_t> ids;
    for (const char* title : {"f", "e", "d", "c", "b", "a"})
        ids.push_back(AddArticle(title, Keywords({})));
    std::vector<int32_t> before = ids;
    m_host.m_cancelAfterSteps = 2;

    EXPECT_FALSE(m_doc->SortArticleIds("Print", ids, 0));
    EXPECT_EQ(m_host.m_progressSteps, 2);
    ExpectProgressClosed();
    // The three ids taken in before Cancel are sorted, the rest are as they were: none lost.
    EXPECT_EQ(ids, (std::vector<int32_t>{before[2], before[1], before[0], before[3], before[4], before[5]}));
    EXPECT_EQ(m_doc->GetSortOrder(), 2);
}

TEST_F(DocProgress, AnUnreadableArticleEndsTheSortWithTheWindowClosed)
{
    Create();
    std::vector<int32_t> ids{AddArticle("b", Keywords({})), 999, AddArticle("a", Keywords({}))};
    EXPECT_THROW(m_doc->SortArticleIds("Print", ids, 0), CQuorError);
    ExpectProgressClosed();
}

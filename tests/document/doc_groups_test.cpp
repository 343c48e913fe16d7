// Keyword groups: merging, finding, and the walks that keep keyword and group records in step.
#include "tests/document/doc_fixture.h"

namespace {
class DocGroups : public DocFixture {
protected:
    std::vector<int32_t> MembersOf(int32_t group)
    {
        CKeywordGroupRecord record;
        m_doc->LoadKeywordGroup(group, record);
        CKeywordIdSet keywords;
        record.GetKeywordIds(keywords);
        return keywords.Values();
    }
};
}  // namespace

TEST_F(DocGroups, MergingMovesEveryKeywordAndLeavesNoEntryForTheFirstGroup)
{
    Create();
    int32_t k1 = m_doc->AddKeyword("k1", false);
    int32_t k2 = m_doc->AddKeyword("k2", false);
    int32_t k3 = m_doc->AddKeyword("k3", false);
    int32_t a = AddGroup("A", Keywords({k1, k2}));
    int32_t b = AddGroup("B", Keywords({k2, k3}));
    m_trace.clear();

    m_doc->MergeKeywordGroup(a, b);
    EXPECT_EQ(m_doc->GetKeywordGroupCount(), 1);
    EXPECT_EQ(m_doc->FindKeywordGroup("A"), kNoneId);
    EXPECT_EQ(MembersOf(b), (std::vector<int32_t>{k1, k2, k3}));
    EXPECT_EQ(GroupsOf(k1), (std::vector<int32_t>{b}));
    EXPECT_EQ(GroupsOf(k2), (std::vector<int32_t>{b}));
    EXPECT_EQ(m_trace, (Trace{{IndexCode::kGroupRemoved, a, 0}, {IndexCode::kGroupsChanged, a, 0}}));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocGroups, RenamingAGroupRewritesTheSavedQueriesThatNameIt)
{
    Create();
    int32_t k = m_doc->AddKeyword("Fruit", false);
    int32_t g = AddGroup("Fruit", Keywords({k}));
    m_doc->GetQueryList().Add("Both", "GROUP: Fruit AND Fruit", 0, 0);
    m_doc->GetQueryList().Add("Other", "GROUP: Veg OR Fruit", 0, 0);

    CKeywordGroupRecord renamed;
    m_doc->LoadKeywordGroup(g, renamed);
    renamed.SetName("Produce");
    m_doc->UpdateKeywordGroup(g, renamed);

    // Only the group reference changes; the keyword of the same name stays.
    std::string name, text;
    int32_t from = 0, to = 0;
    ASSERT_TRUE(m_doc->GetQueryList().GetAt(m_doc->GetQueryList().FindByName("Both"), name, text, from, to));
    EXPECT_EQ(text, "GROUP: Produce AND Fruit");
    ASSERT_TRUE(m_doc->GetQueryList().GetAt(m_doc->GetQueryList().FindByName("Other"), name, text, from, to));
    EXPECT_EQ(text, "GROUP: Veg OR Fruit");
}

TEST_F(DocGroups, MergingAGroupIntoItselfKeepsIt)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t g = AddGroup("G", Keywords({k}));
    m_doc->MergeKeywordGroup(g, g);
    EXPECT_EQ(m_doc->GetKeywordGroupName(g), "G");
    EXPECT_EQ(MembersOf(g), (std::vector<int32_t>{k}));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DocGroups, FindingIgnoresCaseAndNeverMatchesAFreeEntry)
{
    Create();
    int32_t gone = AddGroup("Gone", Keywords({}));
    int32_t g = AddGroup("Fruit", Keywords({}));
    m_doc->DeleteKeywordGroup(gone);
    EXPECT_EQ(m_doc->FindKeywordGroup("fRUIT"), g);
    EXPECT_EQ(m_doc->FindKeywordGroupByName("FRUIT"), g);
    EXPECT_EQ(m_doc->FindKeywordGroup(""), kNoneId);
    EXPECT_EQ(m_doc->FindKeywordGroup("Gone"), kNoneId);
    CGroupIdSet all;
    m_doc->GetAllKeywordGroupIds(all);
    EXPECT_EQ(all.Values(), (std::vector<int32_t>{g}));
}

// A keyword that names a group which does not list it is inconsistent; removing it from every group
// clears it from the records that do list it.
TEST_F(DocGroups, ConsistencyTestAndRemovalFromEveryGroup)
{
    Create();
    int32_t k = m_doc->AddKeyword("k", false);
    int32_t other = m_doc->AddKeyword("other", false);
    int32_t g1 = AddGroup("g1", Keywords({k, other}));
    int32_t g2 = AddGroup("g2", Keywords({k}));
    EXPECT_TRUE(m_doc->AreKeywordGroupsConsistent(k));

    CKeywordGroupRecord record;
    m_doc->LoadKeywordGroup(g2, record);
    record.SetKeywordIds(Keywords({}));
    record.Write(m_doc->GetDataFile(), g2);  // broken on purpose: g2 no longer lists k
    EXPECT_FALSE(m_doc->AreKeywordGroupsConsistent(k));

    m_doc->RemoveKeywordFromAllGroups(k);
    EXPECT_EQ(MembersOf(g1), (std::vector<int32_t>{other}));
    EXPECT_EQ(MembersOf(g2), (std::vector<int32_t>{}));
}

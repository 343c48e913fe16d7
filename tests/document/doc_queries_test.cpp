// The query commands of the document: Build Query, Manage Saved Queries and the Run Saved Query
// menu, with the dialogs answered by the recording host. The current query changes only when a query
// is accepted or a saved query runs.
#include <string>
#include <vector>

#include "document/quorvane_doc.h"
#include "index/current_query.h"
#include "index/query_dialog_rules.h"
#include "index/saved_query_actions.h"
#include "resources/commands.h"
#include "shell/saved_query_menu.h"
#include "tests/document/doc_fixture.h"

namespace {

constexpr int32_t kOpenFrom = CCurrentQuery::kOpenFrom;
constexpr int32_t kOpenTo = CCurrentQuery::kOpenTo;

// Answers New in Manage Queries with one text and one name.
class CNewQueryPrompts : public IQueryPrompts {
public:
    CNewQueryPrompts(std::string text, std::string name) : m_text(std::move(text)), m_name(std::move(name)) {}
    bool EditQuery(int, bool, std::string& text, int32_t&, int32_t&) override
    {
        text = m_text;
        return true;
    }
    bool AskQueryName(bool, const std::string&, std::string& name, int& removed) override
    {
        name = m_name;
        removed = -1;
        return true;
    }
    bool ConfirmDeleteQuery(const std::string&) override { return false; }

private:
    std::string m_text;
    std::string m_name;
};

// Keywords apple and pear; articles 0 {apple}, 1 {pear}, 2 {apple, pear}.
class DocQueries : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        m_host.m_currentQuery = &m_query;
        Create();
        m_apple = m_doc->AddKeyword("apple", false);
        m_pear = m_doc->AddKeyword("pear", false);
        m_articles.push_back(AddArticle("one", Keywords({m_apple})));
        m_articles.push_back(AddArticle("two", Keywords({m_pear})));
        m_articles.push_back(AddArticle("three", Keywords({m_apple, m_pear})));
        m_query.SetSource(m_doc.get());
    }

    void Run(unsigned id) { EXPECT_TRUE(m_doc->OnCmdMsg(id, nullptr)) << id; }

    std::vector<int32_t> Ids(std::initializer_list<int> indexes)
    {
        std::vector<int32_t> ids;
        for (int i : indexes)
            ids.push_back(m_articles[size_t(i)]);
        return ids;
    }

    CCurrentQuery m_query;
    CRecordedErrors m_errors;
    int32_t m_apple = 0;
    int32_t m_pear = 0;
    std::vector<int32_t> m_articles;
};

TEST_F(DocQueries, BuildQueryChangesTheQueryOnlyWhenAccepted)
{
    ASSERT_TRUE(CommitQuery(m_query, m_doc.get(), "pear", 20240101, kOpenTo, false));
    // Cancel: nothing changes, nothing is shown.
    Run(IDM_EDIT_BUILD_QUERY);
    ASSERT_EQ(m_host.m_buildQueryStarts, (std::vector<std::string>{"pear"}));
    EXPECT_TRUE(m_host.m_queryTitles.empty());
    EXPECT_EQ(m_query.GetText(), "pear");

    // Accepted: text, range and code together, and the titles.
    m_host.m_onBuildQuery = [](std::string& text, int32_t& from, int32_t& to) {
        text = "apple AND NOT pear";
        from = kOpenFrom;
        return true;
    };
    Run(IDM_EDIT_BUILD_QUERY);
    EXPECT_EQ(m_query.GetText(), "apple AND NOT pear");
    int32_t from = 0, to = 0;
    m_query.GetDateRange(from, to);
    EXPECT_EQ(from, kOpenFrom);
    ASSERT_EQ(m_host.m_queryTitles.size(), 1u);
    EXPECT_EQ(m_host.m_queryTitles[0], Ids({0}));
    EXPECT_TRUE(m_errors.Messages().empty());
}

TEST_F(DocQueries, NewSavedQueryLeavesQueryTitlesOnTheShownQuery)
{
    m_host.m_onBuildQuery = [](std::string& text, int32_t&, int32_t&) {
        text = "apple";
        return true;
    };
    Run(IDM_EDIT_BUILD_QUERY);  // Query Titles of apple
    m_host.m_onManageQueries = [this](CCurrentQuery& current) {
        CNewQueryPrompts prompts("pear", "Pears");
        CManageQueriesModel model(m_doc->GetQueryList(), current, m_doc.get(), prompts, true);
        EXPECT_EQ(model.New(), 0);
        return false;  // closed without Run
    };
    Run(IDM_EDIT_MANAGE_QUERIES);
    EXPECT_EQ(m_host.m_queryTitles.size(), 1u);
    ASSERT_FALSE(m_host.m_savedQueryMenus.empty());
    EXPECT_EQ(m_host.m_savedQueryMenus.back().first, (std::vector<std::string>{"Pears"}));

    // An article edited to carry pear alone no longer matches; one given apple does.
    EXPECT_EQ(m_query.GetText(), "apple");
    UpdateKeywordsOf(m_articles[0], Keywords({m_pear}));
    EXPECT_FALSE(m_query.TestArticle(m_articles[0]));
    UpdateKeywordsOf(m_articles[1], Keywords({m_apple}));
    EXPECT_TRUE(m_query.TestArticle(m_articles[1]));

    // The saved query is in the file after reopening.
    Reopen();
    std::string name, text;
    int32_t from = 0, to = 0;
    ASSERT_TRUE(m_doc->GetQueryList().GetAt(0, name, text, from, to));
    EXPECT_EQ(name, "Pears");
    EXPECT_EQ(text, "pear");
}

TEST_F(DocQueries, SavedQueryMenuRunsAndReorders)
{
    CQueryList& list = m_doc->GetQueryList();
    CCmdUIProbe empty(kFirstSavedQueryCommand);
    m_doc->OnCmdMsg(kFirstSavedQueryCommand, &empty);
    EXPECT_FALSE(empty.m_enabled);

    list.Add("Apples", "apple", kOpenFrom, kOpenTo);
    list.Add("Gone", "apple OR plum", kOpenFrom, kOpenTo);
    list.Add("Pears", "pear", kOpenFrom, kOpenTo);  // recent: Pears, Gone, Apples
    CCmdUIProbe some(kFirstSavedQueryCommand + 2);
    m_doc->OnCmdMsg(kFirstSavedQueryCommand + 2, &some);
    EXPECT_TRUE(some.m_enabled);

    Run(kFirstSavedQueryCommand + 2);  // Apples
    EXPECT_EQ(m_query.GetText(), "apple");
    ASSERT_EQ(m_host.m_queryTitles.size(), 1u);
    EXPECT_EQ(m_host.m_queryTitles[0], Ids({0, 2}));
    EXPECT_EQ(m_host.m_savedQueryMenus.back().first, (std::vector<std::string>{"Apples", "Pears", "Gone"}));

    // A saved query that no longer compiles: reported, the shown query and its titles stay.
    Run(kFirstSavedQueryCommand + 2);  // Gone
    ASSERT_EQ(m_errors.Messages().size(), 1u);
    EXPECT_NE(m_errors.Messages()[0].find("saved query"), std::string::npos);
    EXPECT_EQ(m_query.GetText(), "apple");
    EXPECT_TRUE(m_query.IsValid());
    EXPECT_EQ(m_host.m_queryTitles.size(), 1u);
    EXPECT_EQ(m_host.m_savedQueryMenus.back().first, (std::vector<std::string>{"Apples", "Pears", "Gone"}));

    // More Queries...: Cancel does nothing; the chosen entry runs and heads the menu.
    Run(kMoreQueriesCommand);
    EXPECT_EQ(m_host.m_queryTitles.size(), 1u);
    m_host.m_chosenSavedQuery = 2;
    Run(kMoreQueriesCommand);
    EXPECT_EQ(m_query.GetText(), "pear");
    EXPECT_EQ(m_host.m_queryTitles.back(), Ids({1, 2}));
    EXPECT_EQ(m_host.m_savedQueryMenus.back().first, (std::vector<std::string>{"Pears", "Apples", "Gone"}));
}

TEST_F(DocQueries, ManageQueriesRunShowsTheRunQuery)
{
    m_doc->GetQueryList().Add("Both", "apple AND pear", kOpenFrom, kOpenTo);
    m_host.m_onManageQueries = [this](CCurrentQuery& current) {
        CNewQueryPrompts prompts("", "");
        CManageQueriesModel model(m_doc->GetQueryList(), current, m_doc.get(), prompts, false);
        return model.Run(0);
    };
    Run(IDM_EDIT_MANAGE_QUERIES);
    EXPECT_EQ(m_query.GetText(), "apple AND pear");
    ASSERT_EQ(m_host.m_queryTitles.size(), 1u);
    EXPECT_EQ(m_host.m_queryTitles[0], Ids({2}));
}

}  // namespace

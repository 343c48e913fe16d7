#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "framework/error_sink.h"
#include "index/current_query.h"
#include "index/query_dialog_rules.h"
#include "index/query_list.h"
#include "index/saved_query_actions.h"
#include "resources/resource.h"
#include "tests/index/memory_query_source.h"

namespace {

constexpr int32_t kOpenFrom = CCurrentQuery::kOpenFrom;
constexpr int32_t kOpenTo = CCurrentQuery::kOpenTo;

TEST(QueryDialogRulesTest, StartTextFromSelectedKeywords)
{
    struct Case {
        std::vector<std::string> names;
        int mode;
        std::string text;
    } cases[] = {
        {{"pear", "apple"}, 1, "apple OR pear"},
        {{"pear", "apple"}, 0, "apple AND pear"},
        {{"my notes"}, 0, "\"my notes\""},
        {{"Zebra", "and", "beta"}, 1, "\"and\" OR beta OR Zebra"},
        {{}, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SelectedKeywordsQuery(c.names, c.mode), c.text);
}

// The edit's text after inserting `word` over the selection [start, end).
std::string Insert(const std::string& text, int start, int end, const std::string& word)
{
    std::string result = text;
    result.replace(size_t(start), size_t(end - start), QueryInsertionText(text, start, word));
    return result;
}

TEST(QueryDialogRulesTest, InsertionSpacing)
{
    struct Case {
        std::string text;
        int start, end;
        std::string word;
        std::string result;
    } cases[] = {
        {"x", 1, 1, "AND", "xAND "},          // one character: no space before
        {"xy", 2, 2, "AND", "xy AND "},       // after the second character
        {"xy ", 3, 3, "OR", "xy OR "},        // a space already there
        {"", 0, 0, "NOT", "NOT "},
        {"apple", 0, 0, "(", "( apple"},      // at the start
        {"apple", 1, 1, "NOT", "aNOT pple"},  // start 1 is not after the second character
        {"ab cd", 3, 5, "x", "ab x "},        // the selection is replaced
        {"x ", 1, 2, "AND", "xAND "},         // a marker after one character is replaced
        {"xy ", 2, 3, "AND", "xy AND "},      // a marker after two characters
    };
    for (const Case& c : cases)
        EXPECT_EQ(Insert(c.text, c.start, c.end, c.word), c.result) << c.text << " + " << c.word;
}

TEST(QueryDialogRulesTest, EnablingFollowsTheTrimmedText)
{
    struct Case {
        std::string text, previous;
        bool canSave;
        bool ok, save, dates, previousOn;
    } cases[] = {
        {"", "", true, false, false, false, false},
        {"   ", "a", true, false, false, false, true},
        {"a", "", true, true, true, true, false},
        {"a", "", false, true, false, true, false},
        {"A  ", "a", true, true, true, true, false},  // the same text in another case
        {"  a", "a", true, true, true, true, true},   // leading blanks stay
        {"b", "a", true, true, true, true, true},
    };
    for (const Case& c : cases) {
        BuildQueryEnabling on = BuildQueryEnablingFor(c.text, c.previous, c.canSave);
        EXPECT_EQ(on.ok, c.ok) << "[" << c.text << "]";
        EXPECT_EQ(on.save, c.save) << "[" << c.text << "]";
        EXPECT_EQ(on.dates, c.dates) << "[" << c.text << "]";
        EXPECT_EQ(on.previous, c.previousOn) << "[" << c.text << "]";
    }
    EXPECT_EQ(TrimQueryTrailing("  a b \t\r\n"), "  a b");
    EXPECT_EQ(TrimQueryName("  Work \t"), "Work");
}

TEST(QueryDialogRulesTest, ErrorSelection)
{
    struct Case {
        int start, end, selStart, selEnd;
    } cases[] = {
        {2, 3, 1, 2},  // "a b": the character before b
        {0, 3, 0, 0},  // error at the first token: caret at its start
        {4, 4, 4, 4},  // at the end of the text: caret there
        {5, 2, 5, 5},
    };
    for (const Case& c : cases) {
        int s = -1, e = -1;
        QueryErrorSelection(c.start, c.end, s, e);
        EXPECT_EQ(s, c.selStart) << c.start << "," << c.end;
        EXPECT_EQ(e, c.selEnd) << c.start << "," << c.end;
    }
}

TEST(QueryDialogRulesTest, SaveNameDecision)
{
    CQueryList list;
    list.Add("Work", "a", kOpenFrom, kOpenTo);
    list.Add("Home", "b", kOpenFrom, kOpenTo);
    struct Case {
        std::string name, startName;
        SaveNameDecision decision;
        int existing;
    } cases[] = {
        {"", "", SaveNameDecision::kNothing, -1},
        {"Travel", "", SaveNameDecision::kAccept, -1},
        {"work", "Work", SaveNameDecision::kAccept, 0},  // a rename that changes the case only
        {"HOME", "", SaveNameDecision::kAskOverwrite, 1},
        {"home", "Work", SaveNameDecision::kAskOverwrite, 1},
    };
    for (const Case& c : cases) {
        int existing = -2;
        EXPECT_EQ(DecideSaveName(list, c.name, c.startName, existing), c.decision) << c.name;
        EXPECT_EQ(existing, c.existing) << c.name;
    }
    EXPECT_EQ(FormatQueryPrompt("Delete this query: %s?", "Work"), "Delete this query: Work?");
}

TEST(QueryDialogRulesTest, RowsAndEntriesAfterRemoval)
{
    EXPECT_EQ(RowAfterDelete(1, 3), 1);   // the row below moves up into place
    EXPECT_EQ(RowAfterDelete(3, 3), 2);   // the last row: the one above
    EXPECT_EQ(RowAfterDelete(0, 0), -1);  // the only one: nothing
    EXPECT_EQ(IndexAfterRemoval(3, 1), 2);
    EXPECT_EQ(IndexAfterRemoval(1, 3), 1);
    EXPECT_EQ(IndexAfterRemoval(2, -1), 2);

    ManageQueriesEnabling readOnly = ManageQueriesEnablingFor(true, false);
    EXPECT_TRUE(readOnly.run);
    EXPECT_FALSE(readOnly.newQuery || readOnly.edit || readOnly.rename || readOnly.remove);
    ManageQueriesEnabling none = ManageQueriesEnablingFor(false, true);
    EXPECT_TRUE(none.newQuery);
    EXPECT_FALSE(none.run || none.edit || none.rename || none.remove);
}

std::vector<std::string> g_messages;
void RecordMessage(const std::string& message) { g_messages.push_back(message); }

// Answers the dialogs as the user would; the name prompt decides as the Save Query dialog does.
class CScriptedPrompts : public IQueryPrompts {
public:
    explicit CScriptedPrompts(CQueryList& list) : m_list(list) {}

    bool EditQuery(int captionId, bool startFromCurrent, std::string& text, int32_t& from, int32_t& to) override
    {
        editCaption = captionId;
        editFromCurrent = startFromCurrent;
        editStartText = text;
        if (!acceptEdit)
            return false;
        text = editText;
        from = editFrom;
        to = editTo;
        return true;
    }

    bool AskQueryName(bool rename, const std::string& startName, std::string& name, int& removed) override
    {
        removed = -1;
        askedRename = rename;
        askedStart = startName;
        overwriteAsked = false;
        if (answerName.empty())
            return false;
        int existing = -1;
        switch (DecideSaveName(m_list, TrimQueryName(answerName), rename ? TrimQueryName(startName) : "", existing)) {
        case SaveNameDecision::kNothing: return false;
        case SaveNameDecision::kAccept: break;
        case SaveNameDecision::kAskOverwrite:
            overwriteAsked = true;
            if (!confirmOverwrite)
                return false;
            m_list.Remove(existing);
            removed = existing;
            break;
        }
        name = TrimQueryName(answerName);
        return true;
    }

    bool ConfirmDeleteQuery(const std::string& name) override
    {
        deleteAsked = name;
        return confirmDelete;
    }

    bool acceptEdit = true;
    std::string editText;
    int32_t editFrom = kOpenFrom;
    int32_t editTo = kOpenTo;
    int editCaption = 0;
    bool editFromCurrent = false;
    std::string editStartText;
    std::string answerName;
    bool confirmOverwrite = true;
    bool overwriteAsked = false;
    bool askedRename = false;
    std::string askedStart;
    bool confirmDelete = true;
    std::string deleteAsked;

private:
    CQueryList& m_list;
};

// Keywords a 0, b 1; articles 0 {a}, 1 {b}, 2 {a,b} dated 2020, 2021, 2022.
class SavedQueryActionsTest : public ::testing::Test {
protected:
    SavedQueryActionsTest() : current(&base), prompts(list), model(list, current, &base, prompts, true)
    {
        previousSink = SetErrorSink(RecordMessage);
        g_messages.clear();
        base.AddKeyword("a");
        base.AddKeyword("b");
        Add(20200101, {0});
        Add(20210101, {1});
        Add(20220101, {0, 1});
    }
    ~SavedQueryActionsTest() override { SetErrorSink(previousSink); }

    void Add(int32_t date, std::vector<int32_t> keywords)
    {
        CMemoryQuerySource::Article article;
        article.date = date;
        article.keywords = std::move(keywords);
        base.AddArticle(article);
    }

    std::vector<int32_t> RunCurrent()
    {
        CArticleIdSet found;
        current.Run(found);
        return found.Values();
    }

    CMemoryQuerySource base;
    CCurrentQuery current;
    CQueryList list;
    CScriptedPrompts prompts;
    CManageQueriesModel model;
    ErrorSink previousSink = nullptr;
};

TEST_F(SavedQueryActionsTest, NewSavedQueryLeavesTheShownQueryAlone)
{
    ASSERT_TRUE(CommitQuery(current, &base, "a", kOpenFrom, kOpenTo, false));
    EXPECT_EQ(RunCurrent(), (std::vector<int32_t>{0, 2}));

    prompts.editText = "b";
    prompts.editFrom = 20210101;
    prompts.answerName = "  Only b ";
    const int entry = model.New();
    ASSERT_EQ(entry, 0);
    EXPECT_EQ(prompts.editCaption, IDS_NEW_QUERY_CAPTION);
    EXPECT_FALSE(prompts.editFromCurrent);
    EXPECT_EQ(prompts.editStartText, "a");  // New starts from the shown query
    std::string name, text;
    int32_t from = 0, to = 0;
    ASSERT_TRUE(list.GetAt(0, name, text, from, to));
    EXPECT_EQ(name, "Only b");
    EXPECT_EQ(text, "b");
    EXPECT_EQ(from, 20210101);

    // Text, range and code still those of a: an article that only b selects is no match, and an
    // edited article of a re-runs a.
    EXPECT_EQ(current.GetText(), "a");
    current.GetDateRange(from, to);
    EXPECT_EQ(from, kOpenFrom);
    EXPECT_FALSE(current.TestArticle(1));
    EXPECT_TRUE(current.TestArticle(0));
    EXPECT_EQ(RunCurrent(), (std::vector<int32_t>{0, 2}));
}

TEST_F(SavedQueryActionsTest, CancelledStepsChangeNothing)
{
    ASSERT_TRUE(CommitQuery(current, &base, "a", kOpenFrom, kOpenTo, false));
    prompts.acceptEdit = false;
    EXPECT_EQ(model.New(), -1);
    prompts.acceptEdit = true;
    prompts.editText = "b";
    prompts.answerName.clear();  // the name prompt cancelled
    EXPECT_EQ(model.New(), -1);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(current.GetText(), "a");
    EXPECT_TRUE(current.IsValid());
}

TEST_F(SavedQueryActionsTest, FailedCompileKeepsTheShownQuery)
{
    ASSERT_TRUE(CommitQuery(current, &base, "a", 20200101, 20201231, false));
    int start = -1, end = -1;
    EXPECT_FALSE(CommitQuery(current, &base, "a nowhere", kOpenFrom, kOpenTo, false, &start, &end));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(end, 9);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(current.GetText(), "a");
    int32_t from = 0, to = 0;
    current.GetDateRange(from, to);
    EXPECT_EQ(from, 20200101);
    EXPECT_TRUE(current.IsValid());
    EXPECT_EQ(RunCurrent(), (std::vector<int32_t>{0}));
}

TEST_F(SavedQueryActionsTest, EditStartsFromTheEntryAndStoresIt)
{
    list.Add("Work", "a", kOpenFrom, kOpenTo);
    ASSERT_TRUE(CommitQuery(current, &base, "b", kOpenFrom, kOpenTo, false));
    prompts.editText = "a AND b";
    EXPECT_EQ(model.Edit(0), 0);
    EXPECT_EQ(prompts.editCaption, IDS_EDIT_QUERY_CAPTION);
    EXPECT_TRUE(prompts.editFromCurrent);
    EXPECT_EQ(prompts.editStartText, "a");
    std::string name, text;
    int32_t from = 0, to = 0;
    list.GetAt(0, name, text, from, to);
    EXPECT_EQ(text, "a AND b");
    EXPECT_EQ(current.GetText(), "b");
    EXPECT_EQ(RunCurrent(), (std::vector<int32_t>{1, 2}));
}

TEST_F(SavedQueryActionsTest, RenameRules)
{
    list.Add("Work", "a", kOpenFrom, kOpenTo);
    list.Add("Home", "b", kOpenFrom, kOpenTo);
    list.Add("Misc", "a AND b", kOpenFrom, kOpenTo);

    prompts.answerName = "work";  // its own name in another case: nothing asked
    EXPECT_EQ(model.Rename(0), 0);
    EXPECT_FALSE(prompts.overwriteAsked);
    EXPECT_TRUE(prompts.askedRename);
    EXPECT_EQ(prompts.askedStart, "Work");

    prompts.answerName = "HOME";  // onto an earlier entry, refused: nothing changes
    prompts.confirmOverwrite = false;
    EXPECT_EQ(model.Rename(2), -1);
    EXPECT_TRUE(prompts.overwriteAsked);
    EXPECT_EQ(list.GetCount(), 3);

    prompts.confirmOverwrite = true;  // confirmed: Home goes, Misc keeps its text under the name
    EXPECT_EQ(model.Rename(2), 1);
    ASSERT_EQ(list.GetCount(), 2);
    std::string name, text;
    int32_t from = 0, to = 0;
    list.GetAt(1, name, text, from, to);
    EXPECT_EQ(name, "HOME");
    EXPECT_EQ(text, "a AND b");
    list.GetAt(0, name, text, from, to);
    EXPECT_EQ(name, "work");
    EXPECT_EQ(text, "a");
}

TEST_F(SavedQueryActionsTest, DeleteAsksWithTheName)
{
    list.Add("Work", "a", kOpenFrom, kOpenTo);
    prompts.confirmDelete = false;
    EXPECT_FALSE(model.Delete(0));
    EXPECT_EQ(prompts.deleteAsked, "Work");
    EXPECT_EQ(list.GetCount(), 1);
    prompts.confirmDelete = true;
    EXPECT_TRUE(model.Delete(0));
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_FALSE(model.Delete(0));
}

TEST_F(SavedQueryActionsTest, RunTakesTheEntryOnlyWhenItCompiles)
{
    list.Add("Broken", "a AND gone", kOpenFrom, kOpenTo);
    list.Add("Recent", "b", 20220101, kOpenTo);
    ASSERT_TRUE(CommitQuery(current, &base, "a", kOpenFrom, kOpenTo, false));

    EXPECT_FALSE(model.Run(0));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_NE(g_messages[0].find("Problems were found in the saved query"), std::string::npos);
    EXPECT_EQ(current.GetText(), "a");
    EXPECT_TRUE(current.IsValid());

    EXPECT_TRUE(model.Run(1));
    EXPECT_EQ(current.GetText(), "b");
    EXPECT_EQ(RunCurrent(), (std::vector<int32_t>{2}));
}

TEST_F(SavedQueryActionsTest, ReadOnlyFileOnlyRuns)
{
    list.Add("Work", "a", kOpenFrom, kOpenTo);
    CManageQueriesModel readOnly(list, current, &base, prompts, false);
    prompts.editText = "b";
    prompts.answerName = "New";
    EXPECT_EQ(readOnly.New(), -1);
    EXPECT_EQ(readOnly.Edit(0), -1);
    EXPECT_EQ(readOnly.Rename(0), -1);
    EXPECT_FALSE(readOnly.Delete(0));
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_TRUE(readOnly.Run(0));
    EXPECT_EQ(current.GetText(), "a");
}

}  // namespace

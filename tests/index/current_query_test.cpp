#include "index/current_query.h"

#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "framework/error_sink.h"
#include "storage/id_set.h"
#include "tests/index/memory_query_source.h"

namespace {

std::vector<std::string> g_messages;
void RecordMessage(const std::string& message) { g_messages.push_back(message); }

// Keywords a 0, b 1, x 2, y 3; groups Work {a, x} 0, Other {y} 1, Broken 2 (its record fails).
// Articles (P private, * bookmarked, @ attachments):
//   0 {a} 2020-01-01      1 {a,b}* 2020-06-15    2 {b}@ 2021-01-01    3 {} 2021-05-05
//   4 {x}P 2020-03-01     5 {y}*P 2022-01-01     6 {}P@ 2020-02-02    7 {a,y} 2022-12-31
class CurrentQueryTest : public ::testing::Test {
protected:
    CurrentQueryTest() : query(&base)
    {
        previousSink = SetErrorSink(RecordMessage);
        g_messages.clear();
        for (const char* name : {"a", "b", "x", "y"})
            base.AddKeyword(name);
        base.AddGroup("Work", {0, 2});
        base.AddGroup("Other", {3});
        base.AddGroup("Broken", {0});
        base.FailGroup(2);
        Add(20200101, {0});
        Add(20200615, {0, 1}, 0, true);
        Add(20210101, {1}, 2);
        Add(20210505, {});
        Add(20200301, {2}, 0, false, true);
        Add(20220101, {3}, 0, true, true);
        Add(20200202, {}, 1, false, true);
        Add(20221231, {0, 3});
    }
    ~CurrentQueryTest() override { SetErrorSink(previousSink); }

    void Add(int32_t date, std::vector<int32_t> keywords, int attachments = 0, bool bookmarked = false,
             bool isPrivate = false)
    {
        CMemoryQuerySource::Article article;
        article.date = date;
        article.keywords = std::move(keywords);
        article.attachments = attachments;
        article.bookmarked = bookmarked;
        article.isPrivate = isPrivate;
        base.AddArticle(article);
    }

    std::vector<int32_t> Run(const std::string& text)
    {
        EXPECT_TRUE(query.Compile(text)) << text;
        CArticleIdSet result;
        query.Run(result);
        return result.Values();
    }

    CMemoryQuerySource base;
    CCurrentQuery query;
    ErrorSink previousSink;
};

using Ids = std::vector<int32_t>;

struct RunCase {
    const char* text;
    Ids privateHidden;
    Ids privateShown;
};

const RunCase kRunCases[] = {
    {"a", {0, 1, 7}, {0, 1, 7}},
    {"a AND b", {1}, {1}},
    {"a OR b", {0, 1, 2, 7}, {0, 1, 2, 7}},
    {"NOT a", {2, 3}, {2, 3, 4, 5, 6}},
    {"x", {}, {4}},
    {"NOT x", {0, 1, 2, 3, 7}, {0, 1, 2, 3, 5, 6, 7}},
    {"BOOKMARKED", {1}, {1, 5}},
    {"NOT BOOKMARKED", {0, 2, 3, 7}, {0, 2, 3, 4, 6, 7}},
    {"NOKEYS", {3}, {3, 6}},
    {"ATTACHMENTS", {2}, {2, 6}},
    {"GROUP: Work", {0, 1, 7}, {0, 1, 4, 7}},
    {"GROUP: Work OR GROUP: Other", {0, 1, 7}, {0, 1, 4, 5, 7}},
    {"NOT (a OR b) AND NOT NOKEYS", {}, {4, 5}},
    {"y AND NOT BOOKMARKED", {7}, {7}},
    {"\"\"", {}, {}},
    {"NOT \"\"", {0, 1, 2, 3, 7}, {0, 1, 2, 3, 4, 5, 6, 7}},
};

TEST_F(CurrentQueryTest, RunsEveryWordWithPrivateArticlesHiddenAndShown)
{
    for (bool hidden : {true, false}) {
        base.SetPrivateHidden(hidden);
        for (const RunCase& c : kRunCases) {
            SCOPED_TRACE(std::string(c.text) + (hidden ? " (private hidden)" : " (private shown)"));
            EXPECT_EQ(Run(c.text), hidden ? c.privateHidden : c.privateShown);
        }
    }
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(CurrentQueryTest, SingleArticleTestAgreesWithTheWholeRun)
{
    for (bool hidden : {true, false}) {
        base.SetPrivateHidden(hidden);
        for (const RunCase& c : kRunCases) {
            const Ids& expected = hidden ? c.privateHidden : c.privateShown;
            ASSERT_TRUE(query.Compile(c.text));
            for (int32_t id = 0; id < 8; ++id) {
                bool inRun = std::find(expected.begin(), expected.end(), id) != expected.end();
                EXPECT_EQ(query.TestArticle(id), inRun) << c.text << " article " << id << (hidden ? " hidden" : "");
            }
        }
    }
}

TEST_F(CurrentQueryTest, SingleArticleTestTouchesOnlyThatArticle)
{
    ASSERT_TRUE(query.Compile("NOKEYS"));
    base.articleLoads = 0;
    EXPECT_TRUE(query.TestArticle(3));
    EXPECT_FALSE(query.TestArticle(2));
    EXPECT_EQ(base.articleLoads, 2);
}

TEST_F(CurrentQueryTest, DateRangeIsInclusiveAndFiltersSingleTests)
{
    query.SetDateRange(20200615, 20210101);
    EXPECT_EQ(Run("a OR b"), (Ids{1, 2}));
    EXPECT_TRUE(query.TestArticle(1));
    EXPECT_FALSE(query.TestArticle(0));
    query.SetDateRange(20200616, 20201231);
    EXPECT_EQ(Run("a OR b"), Ids{});
    query.SetDateRange(CCurrentQuery::kOpenFrom, CCurrentQuery::kOpenTo);
    EXPECT_EQ(Run("a OR b"), (Ids{0, 1, 2, 7}));
    int32_t from = 0, to = 0;
    query.GetDateRange(from, to);
    EXPECT_EQ(from, static_cast<int32_t>(0x80000000u));
    EXPECT_EQ(to, 0x7FFFFFFF);
}

TEST_F(CurrentQueryTest, EmptyCodeRunsToNothing)
{
    CArticleIdSet result;
    result.Add(5);
    EXPECT_TRUE(query.Compile("   "));
    EXPECT_FALSE(query.Run(result));
    EXPECT_EQ(result.GetSize(), 0);
    EXPECT_FALSE(query.TestArticle(3));
}

TEST_F(CurrentQueryTest, CompileErrorsAreReportedAndLeaveTheQueryInvalid)
{
    EXPECT_TRUE(query.Compile("a"));
    EXPECT_TRUE(query.IsValid());
    EXPECT_FALSE(query.Compile("a AND (b"));
    EXPECT_FALSE(query.IsValid());
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "Expecting a ')'.");
    int start = 0, end = 0;
    query.GetErrorSpan(start, end);
    EXPECT_EQ(start, 8);
    EXPECT_EQ(end, 8);

    // The code the failed compile left still runs; its extra operand takes no part.
    CArticleIdSet result;
    EXPECT_TRUE(query.Run(result));
    EXPECT_EQ(result.Values(), (Ids{1, 2}));
    EXPECT_EQ(Run("a"), (Ids{0, 1, 7}));

    g_messages.clear();
    EXPECT_FALSE(query.CompileSaved("GROUP: Gone"));
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0],
              "Problems were found in the saved query.\nPossibly deleted keywords or keyword groups are included "
              "in the query.\n\nUse the \"Edit\" option of the \"Manage Query\" command to edit the query.");
    EXPECT_TRUE(query.CompileSaved("b"));
}

TEST_F(CurrentQueryTest, EvaluationErrorIsReportedAndLaterRunsAreClean)
{
    ASSERT_TRUE(query.Compile("a OR (b AND GROUP: Broken)"));
    CArticleIdSet result;
    EXPECT_FALSE(query.Run(result));
    EXPECT_EQ(result.GetSize(), 0);
    ASSERT_EQ(g_messages.size(), 1u);
    EXPECT_EQ(g_messages[0], "This data file has been corrupted:\ntest.xrd");
    EXPECT_FALSE(query.TestArticle(0));
    EXPECT_EQ(Run("NOT a"), (Ids{2, 3}));
}

TEST_F(CurrentQueryTest, EvaluationHoldsTheWaitCursorUntilItEnds)
{
    for (const char* text : {"a AND NOT b OR GROUP: Work", "a OR GROUP: Broken"}) {
        ASSERT_TRUE(query.Compile(text));
        CArticleIdSet result;
        query.Run(result);
        EXPECT_EQ(base.readsWithoutWaitCursor, 0) << text;
        EXPECT_EQ(base.waitCursors, 0) << text;  // released also when an error ends the run
    }
}

TEST_F(CurrentQueryTest, WithoutAKnowledgeBaseNamesDoNotResolve)
{
    CCurrentQuery lonely;
    EXPECT_FALSE(lonely.Compile("a"));
    EXPECT_TRUE(lonely.Compile("ATTACHMENTS"));
    CArticleIdSet result;
    EXPECT_FALSE(lonely.Run(result));
}

struct QuoteCase {
    const char* name;
    const char* quoted;
};

TEST(QueryQuoteName, QuotesOnlyWhatTheScannerWouldSplit)
{
    const QuoteCase cases[] = {
        {"plain", "plain"},
        {"two words", "\"two words\""},
        {"it's", "\"it's\""},
        {"say \"hi\"", "'say \"hi\"'"},
        {"(x", "\"(x\""},
        {"x)", "\"x)\""},
        {"and", "\"and\""},
        {"Group:", "\"Group:\""},
        {"Group", "Group"},
        {"caf\xE9", "caf\xE9"},
    };
    for (const QuoteCase& c : cases)
        EXPECT_EQ(CCurrentQuery::QuoteName(c.name), c.quoted) << c.name;
    EXPECT_TRUE(CCurrentQuery::IsReservedWord("nokeys"));
    EXPECT_FALSE(CCurrentQuery::IsReservedWord("keys"));
}

struct RewriteCase {
    bool group;
    const char* before;
    const char* oldName;
    const char* newName;
    const char* after;
};

const RewriteCase kRewriteCases[] = {
    {false, "alpha AND (alpha OR gamma)", "alpha", "beta", "beta AND (beta OR gamma)"},
    {false, "  ALPHA   OR  (  \"alpha\" )  ", "alpha", "beta", "  beta   OR  (  beta )  "},
    {false, "alpha OR gamma", "alpha", "new name", "\"new name\" OR gamma"},
    {false, "'my kw' AND \"my kw\" AND my", "my kw", "z", "z AND z AND my"},
    {false, "\"a(b\" OR c", "a(b", "d", "d OR c"},
    {false, "\"And\" AND b", "And", "x", "x AND b"},
    {false, "alpha", "alpha", "or", "\"or\""},
    {false, "alpha", "alpha", "say \"hi\"", "'say \"hi\"'"},
    {false, "b OR \"alpha", "alpha", "beta", "b OR beta"},
    {false, "GROUP: Work AND Work", "Work", "Office", "GROUP: Work AND Office"},
    {false, "\"GROUP:\" Work", "Work", "Office", "\"GROUP:\" Office"},
    {false, "alphabet OR alph", "alpha", "beta", "alphabet OR alph"},
    {false, "Caf\xC9 OR b", "caf\xE9", "tea", "tea OR b"},
    {true, "GROUP: Work AND Work", "Work", "Office", "GROUP: Office AND Work"},
    {true, "group: 'work'OR(GROUP: \"Work\")", "Work", "Big Office",
     "group: \"Big Office\"OR(GROUP: \"Big Office\")"},
    // A quote inside a word is an ordinary character: GROUP:"Work" is one word, a keyword name.
    {true, "GROUP:\"Work\"", "Work", "Office", "GROUP:\"Work\""},
    {true, "Work AND GROUP: Home", "Work", "Office", "Work AND GROUP: Home"},
};

TEST(QueryRewrite, RenamesEveryReferenceOfItsKindOnly)
{
    for (const RewriteCase& c : kRewriteCases) {
        CCurrentQuery query;
        query.SetText(c.before);
        if (c.group)
            query.RewriteGroup(c.oldName, c.newName);
        else
            query.RewriteKeyword(c.oldName, c.newName);
        EXPECT_EQ(query.GetText(), c.after) << c.before;
    }
}

TEST_F(CurrentQueryTest, RenameRewritesOnlyAValidQueryThatUsesTheItem)
{
    const std::string text = "a AND (GROUP: Work OR 'b')";
    query.SetText(text);
    ASSERT_TRUE(query.Compile(text));
    query.OnKeywordRenamed(2, "x", "ex");  // x is in group Work, but the text does not name it
    EXPECT_EQ(query.GetText(), text);

    base.RenameKeyword(1, "bee two");
    query.OnKeywordRenamed(1, "b", "bee two");
    EXPECT_EQ(query.GetText(), "a AND (GROUP: Work OR \"bee two\")");
    base.RenameGroup(0, "Office");
    query.OnGroupRenamed(0, "Work", "Office");
    EXPECT_EQ(query.GetText(), "a AND (GROUP: Office OR \"bee two\")");

    // The rewritten text compiles to the same ids.
    std::vector<QueryToken> before;
    for (int i = 0; i < query.GetCompiler().GetCount(); ++i) {
        QueryToken t;
        query.GetCompiler().GetInstruction(i, t);
        before.push_back(t);
    }
    ASSERT_TRUE(query.Compile(query.GetText()));
    for (int i = 0; i < query.GetCompiler().GetCount(); ++i) {
        QueryToken t;
        query.GetCompiler().GetInstruction(i, t);
        EXPECT_EQ(t, before[static_cast<size_t>(i)]);
    }

    // An invalid query is left alone.
    EXPECT_FALSE(query.Compile("a AND"));
    query.SetText("a AND");
    query.OnKeywordRenamed(0, "a", "z");
    EXPECT_EQ(query.GetText(), "a AND");
}

TEST_F(CurrentQueryTest, DeletionsInvalidateOnlyQueriesThatUseThem)
{
    ASSERT_TRUE(query.Compile("a AND GROUP: Work"));
    CKeywordIdSet deleted;
    deleted.Add(2);
    deleted.Add(3);
    query.OnKeywordsDeleted(deleted);
    EXPECT_TRUE(query.IsValid());
    query.OnGroupDeleted(1);
    EXPECT_TRUE(query.IsValid());
    deleted.Add(0);
    query.OnKeywordsDeleted(deleted);
    EXPECT_FALSE(query.IsValid());

    ASSERT_TRUE(query.Compile("a AND GROUP: Work"));
    query.OnGroupDeleted(0);
    EXPECT_FALSE(query.IsValid());

    // A never-compiled query stays invalid.
    CCurrentQuery fresh(&base);
    fresh.OnKeywordsDeleted(deleted);
    EXPECT_FALSE(fresh.IsValid());
}

}  // namespace

namespace {

// Random texts over awkward names: whatever compiles must compile to the same code after any rename
// has rewritten the text, so the rewrite and the compiler read texts alike.
TEST(QueryRewrite, RewrittenTextsCompileToTheSameCode)
{
    const std::vector<std::string> names = {"alpha", "two words", "it's", "say \"hi\"", "(paren)", "and",
                                            "GROUP:", "Work", "x", "caf\xE9"};
    const std::vector<std::string> renames = {"beta", "new name", "or", "o'k", "\"q\"", "a)b", "Work", "NOT",
                                              "CAF\xC9 two"};
    std::mt19937 random(7);
    auto pick = [&](const std::vector<std::string>& from) { return from[random() % from.size()]; };
    auto spaces = [&]() { return std::string(random() % 3, ' '); };

    int compiled = 0;
    for (int round = 0; round < 10000; ++round) {
        CMemoryQuerySource base;
        for (const std::string& name : names)
            base.AddKeyword(name);
        for (const std::string& name : names)
            base.AddGroup(name, {0});

        std::string text;
        for (int n = static_cast<int>(random() % 6) + 1; n > 0; --n) {
            const int choice = static_cast<int>(random() % 8);
            if (choice == 0)
                text += "GROUP:" + spaces() + CCurrentQuery::QuoteName(pick(names));
            else if (choice == 1)
                text += "NOT";
            else if (choice == 2)
                text += random() % 2 ? "(" : ")";
            else if (choice == 3)
                text += random() % 2 ? "AND" : "OR";
            else if (choice == 4)
                text += "'" + pick(names).substr(0, 3) + "'";
            else
                text += CCurrentQuery::QuoteName(pick(names));
            text += spaces() + (random() % 4 ? " " : "");
        }

        CCurrentQuery query(&base);
        ErrorSink previous = SetErrorSink([](const std::string&) {});
        bool ok = query.Compile(text);
        SetErrorSink(previous);
        if (!ok)
            continue;
        ++compiled;
        std::vector<QueryToken> before;
        for (int i = 0; i < query.GetCompiler().GetCount(); ++i) {
            QueryToken t;
            query.GetCompiler().GetInstruction(i, t);
            before.push_back(t);
        }

        const int32_t id = static_cast<int32_t>(random() % names.size());
        std::string newName = pick(renames);
        if (base.FindKeyword(newName) != kNoneId || base.FindKeywordGroup(newName) != kNoneId)
            newName += " 2";
        query.SetText(text);
        if (random() % 2) {
            base.RenameKeyword(id, newName);
            query.RewriteKeyword(names[static_cast<size_t>(id)], newName);
        } else {
            base.RenameGroup(id, newName);
            query.RewriteGroup(names[static_cast<size_t>(id)], newName);
        }
        const std::string rewritten = query.GetText();
        ASSERT_TRUE(query.Compile(rewritten)) << text << "  =>  " << rewritten;
        for (int i = 0; i < query.GetCompiler().GetCount(); ++i) {
            QueryToken t;
            query.GetCompiler().GetInstruction(i, t);
            ASSERT_EQ(t, before[static_cast<size_t>(i)]) << text << "  =>  " << rewritten;
        }
        ASSERT_EQ(query.GetCompiler().GetCount(), static_cast<int>(before.size()));
    }
    EXPECT_GT(compiled, 500);
}

}  // namespace

namespace {

TEST(QueryGroups, GroupOfAnySizeYieldsTheUnionOfItsKeywords)
{
    CMemoryQuerySource base;
    base.SetPrivateHidden(false);
    for (int k = 0; k < 7; ++k)
        base.AddKeyword("k" + std::to_string(k));
    std::mt19937 random(3);
    std::vector<std::set<int32_t>> carriers(7);
    for (int32_t a = 0; a < 200; ++a) {
        CMemoryQuerySource::Article article;
        for (int32_t k = 0; k < 7; ++k) {
            if (random() % 4 == 0) {
                article.keywords.push_back(k);
                carriers[static_cast<size_t>(k)].insert(a);
            }
        }
        base.AddArticle(article);
    }
    for (int size = 0; size <= 7; ++size) {
        std::vector<int32_t> members;
        std::set<int32_t> expected;
        for (int32_t k = 0; k < size; ++k) {
            members.push_back((k * 3) % 7);
            expected.insert(carriers[static_cast<size_t>((k * 3) % 7)].begin(),
                            carriers[static_cast<size_t>((k * 3) % 7)].end());
        }
        base.AddGroup("g" + std::to_string(size), members);
        CCurrentQuery query(&base);
        ASSERT_TRUE(query.Compile("GROUP: g" + std::to_string(size)));
        CArticleIdSet result;
        EXPECT_TRUE(query.Run(result));
        EXPECT_EQ(result.Values(), std::vector<int32_t>(expected.begin(), expected.end())) << size;
    }
}

}  // namespace

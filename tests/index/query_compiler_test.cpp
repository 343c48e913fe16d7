#include "index/query_compiler.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "storage/quor_error.h"
#include "tests/index/memory_query_source.h"

namespace {

// Keyword ids: a 0, b 1, x 2, y 3, And 4, "my kw" 5, "a(b" 6. Group ids: Work 0, "Big Group" 1.
class QueryCompilerTest : public ::testing::Test {
protected:
    QueryCompilerTest()
    {
        for (const char* name : {"a", "b", "x", "y", "And", "my kw", "a(b"})
            base.AddKeyword(name);
        base.AddGroup("Work", {0, 2});
        base.AddGroup("Big Group", {3});
    }

    std::vector<QueryToken> Code() const
    {
        std::vector<QueryToken> code;
        for (int i = 0; i < compiler.GetCount(); ++i) {
            QueryToken t;
            compiler.GetInstruction(i, t);
            code.push_back(t);
        }
        return code;
    }

    CMemoryQuerySource base;
    CQueryCompiler compiler;
};

const QueryToken A{4, 0}, B{4, 1}, X{4, 2}, Y{4, 3}, AndKw{4, 4}, MyKw{4, 5}, ParenKw{4, 6};
const QueryToken Work{5, 0}, Big{5, 1};
const QueryToken And{3, 3}, Or{3, 4}, Not{3, 5}, Bookmarked{3, 6}, NoKeys{3, 7}, Attachments{3, 8};

struct CodeCase {
    const char* text;
    std::vector<QueryToken> code;
};

const CodeCase kCodeCases[] = {
    {"", {}},
    {"    ", {}},
    {"a AND NOT b OR BOOKMARKED", {A, B, Not, And, Bookmarked, Or}},
    {"GROUP: Work AND (x OR y)", {Work, X, Y, Or, And}},
    {"NOT NOT a", {A, Not, Not}},
    {"a OR b OR x", {A, B, Or, X, Or}},
    {"a AND b AND x", {A, B, And, X, And}},
    {"a AND BOOKMARKED OR NOKEYS AND NOT ATTACHMENTS",
     {A, Bookmarked, And, NoKeys, Attachments, Not, And, Or}},
    {"bookmarked or Nokeys aNd attachments", {Bookmarked, NoKeys, Attachments, And, Or}},
    {"A", {A}},
    {"\"And\" and a", {AndKw, A, And}},
    {"'and'", {AndKw}},
    {"\"my kw\"AND a", {MyKw, A, And}},
    {"\"my kw", {MyKw}},
    {"a OR 'my kw", {A, MyKw, Or}},
    {"\"a(b\" OR (b)", {ParenKw, B, Or}},
    {"((a))", {A}},
    {"(a)OR(b)", {A, B, Or}},
    {"\"\"", {{4, kNoneId}}},
    {"GROUP: \"Big Group\" OR group: 'big group'", {Big, Big, Or}},
    {"NOT GROUP: work", {Work, Not}},
};

TEST_F(QueryCompilerTest, CompilesToPostfixCode)
{
    for (const CodeCase& c : kCodeCases) {
        SCOPED_TRACE(c.text);
        EXPECT_NO_THROW(compiler.Compile(c.text, base));
        EXPECT_EQ(Code(), c.code);
    }
}

struct ErrorCase {
    const char* text;
    int code;
    int spanStart;
    int spanEnd;
    const char* message;
};

const ErrorCase kErrorCases[] = {
    {"a b", IDS_QUERY_EXPECTING_OPERATOR, 2, 3, "Expecting an AND or OR operator."},
    {"(a) (b)", IDS_QUERY_EXPECTING_OPERATOR, 4, 5, "Expecting an AND or OR operator."},
    {"(a OR b", IDS_QUERY_EXPECTING_CLOSE_PAREN, 7, 7, "Expecting a ')'."},
    {"(a OR b x", IDS_QUERY_EXPECTING_CLOSE_PAREN, 8, 9, "Expecting a ')'."},
    {"a AND", IDS_QUERY_INCOMPLETE, 5, 5, "The query expression is incomplete."},
    {"NOT   ", IDS_QUERY_INCOMPLETE, 6, 6, "The query expression is incomplete."},
    {"AND a", IDS_QUERY_AND_INSTEAD_OF_OPERAND, 0, 3, "Expecting a keyword or keyword group instead of an AND."},
    {"a OR and", IDS_QUERY_AND_INSTEAD_OF_OPERAND, 5, 8, "Expecting a keyword or keyword group instead of an AND."},
    {"OR a", IDS_QUERY_OR_INSTEAD_OF_OPERAND, 0, 2, "Expecting a keyword or keyword group instead of an OR."},
    {") a", IDS_QUERY_PAREN_INSTEAD_OF_OPERAND, 0, 1, "Expecting a keyword or keyword group instead of a ')'."},
    {"a AND ()", IDS_QUERY_PAREN_INSTEAD_OF_OPERAND, 7, 8, "Expecting a keyword or keyword group instead of a ')'."},
    {"zzz", IDS_QUERY_UNKNOWN_KEYWORD, 0, 3, "This keyword is not in the current data file."},
    {"a OR \"no such\"", IDS_QUERY_UNKNOWN_KEYWORD, 5, 14, "This keyword is not in the current data file."},
    {"GROUP:Work", IDS_QUERY_UNKNOWN_KEYWORD, 0, 10, "This keyword is not in the current data file."},
    {"a\"b", IDS_QUERY_UNKNOWN_KEYWORD, 0, 3, "This keyword is not in the current data file."},
    {"NOT BOOKMARKED NOT", IDS_QUERY_EXPECTING_OPERATOR, 15, 18, "Expecting an AND or OR operator."},
    {"a AND GROUP:", IDS_QUERY_EXPECTING_GROUP_NAME, 6, 12, "Expecting a keyword group name."},
    {"GROUP: Nowhere AND a", IDS_QUERY_EXPECTING_GROUP_NAME, 0, 14, "Expecting a keyword group name."},
    {"x OR GROUP:  a", IDS_QUERY_EXPECTING_GROUP_NAME, 5, 14, "Expecting a keyword group name."},
    {"GROUP: \"\"", IDS_QUERY_EXPECTING_GROUP_NAME, 0, 9, "Expecting a keyword group name."},
    {"GROUP: AND", IDS_QUERY_EXPECTING_GROUP_NAME, 0, 10, "Expecting a keyword group name."},
    {"a AND GROUP: (Work)", IDS_QUERY_EXPECTING_GROUP_NAME, 6, 14, "Expecting a keyword group name."},
};

TEST_F(QueryCompilerTest, ErrorsCarryTheirMessageAndTokenSpan)
{
    for (const ErrorCase& c : kErrorCases) {
        SCOPED_TRACE(c.text);
        try {
            compiler.Compile(c.text, base);
            ADD_FAILURE() << "compiled without error";
        } catch (const CQuorError& e) {
            EXPECT_EQ(e.Code(), c.code);
            EXPECT_EQ(e.Message(), c.message);
            int start = -1, end = -1;
            compiler.GetErrorSpan(start, end);
            EXPECT_EQ(start, c.spanStart);
            EXPECT_EQ(end, c.spanEnd);
        }
    }
}

TEST(QueryWords, LookupIgnoresCase)
{
    EXPECT_EQ(LookupQueryWord("("), 1);
    EXPECT_EQ(LookupQueryWord("attachments"), 8);
    EXPECT_EQ(LookupQueryWord("group:"), 9);
    EXPECT_EQ(LookupQueryWord("GROUP"), kNoneId);
    EXPECT_EQ(LookupQueryWord("ANDx"), kNoneId);
}

TEST_F(QueryCompilerTest, ErrorKeepsTheCodeEmittedSoFar)
{
    EXPECT_THROW(compiler.Compile("a AND (b", base), CQuorError);
    EXPECT_EQ(Code(), (std::vector<QueryToken>{A, B}));
    // A new compilation starts from nothing.
    compiler.Compile("  ", base);
    EXPECT_EQ(compiler.GetCount(), 0);
}

TEST_F(QueryCompilerTest, CodeGrowsPastOneBlockAndChecksIndexes)
{
    std::string text = "a";
    for (int i = 0; i < 40; ++i)
        text += " OR b";
    compiler.Compile(text, base);
    ASSERT_EQ(compiler.GetCount(), 81);
    QueryToken last;
    compiler.GetInstruction(80, last);
    EXPECT_EQ(last, Or);
    QueryToken untouched{7, 7};
    EXPECT_THROW(compiler.GetInstruction(81, untouched), CQuorError);
    EXPECT_THROW(compiler.GetInstruction(-1, untouched), CQuorError);

    // Without code nothing is copied and nothing is raised.
    compiler.FreeCode();
    compiler.GetInstruction(0, untouched);
    EXPECT_EQ(untouched, (QueryToken{7, 7}));
}

TEST_F(QueryCompilerTest, DeepNestingIsRefusedInsteadOfExhaustingTheStack)
{
    const int deep = CQueryCompiler::kMaxNesting;
    std::string fits = std::string(static_cast<size_t>(deep), '(') + "a" + std::string(static_cast<size_t>(deep), ')');
    compiler.Compile(fits, base);
    EXPECT_EQ(Code(), std::vector<QueryToken>{A});

    std::string tooDeep = std::string(100000, '(') + "a";
    try {
        compiler.Compile(tooDeep, base);
        ADD_FAILURE();
    } catch (const CQuorError& e) {
        EXPECT_EQ(e.Code(), IDS_QUERY_SYNTAX_ERROR);
    }
    // A long NOT chain needs no nesting.
    std::string nots;
    for (int i = 0; i < 100000; ++i)
        nots += "NOT ";
    compiler.Compile(nots + "a", base);
    EXPECT_EQ(compiler.GetCount(), 100001);
}

TEST_F(QueryCompilerTest, TextEndsAtItsFirstNul)
{
    compiler.Compile(std::string("a OR b\0 garbage", 15), base);
    EXPECT_EQ(Code(), (std::vector<QueryToken>{A, B, Or}));
}

}  // namespace

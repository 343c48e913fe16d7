// Turns a query text into postfix code (see query_token.h), resolving every keyword and keyword-group
// name to its id through the open knowledge base.
//
// Grammar (recursive descent; NOT binds tighter than AND, AND tighter than OR, both to the left):
//   Or      := And { "OR" And }          emits {3,4} after each right operand
//   And     := Not { "AND" Not }         emits {3,3} after each right operand
//   Not     := "NOT" Not | Primary       emits {3,5} after the operand
//   Primary := "(" Or ")" | BOOKMARKED | NOKEYS | ATTACHMENTS | keyword | "GROUP:" group-name
//
// Errors are CQuorError whose code is the message number: 14000 AND, 14001 ")", 14002 unknown name,
// 14003 end of text, 14005 other reserved word (each where an operand is expected), 14006 missing
// ")", 14007 tokens after a complete expression, 14009 OR where an operand is expected, 14102
// "GROUP:" without a group name; 1 out of memory.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "index/query_token.h"

class CQueryNames;

class CQueryCompiler {
public:
    CQueryCompiler() = default;
    virtual ~CQueryCompiler() = default;

    // Compiles `text`, replacing the old code. Names are resolved through `names`. A text of spaces
    // only gives empty code. At an error the code emitted so far stays until the next compilation.
    void Compile(const std::string& text, const CQueryNames& names);

    // Copies instruction `i` into `out`. Without code `out` is left alone; an index outside the code
    // raises CQuorError 5.
    void GetInstruction(int i, QueryToken& out) const;
    int GetCount() const { return m_count; }
    // True when the code holds `instruction`.
    bool Holds(const QueryToken& instruction) const;

    // The span of the token at which compilation stopped: where it begins and the index after it.
    void GetErrorSpan(int& start, int& end) const;

    void FreeCode();

    // Nesting of parentheses deeper than this is refused as a syntax error (14005), so a stored text
    // cannot exhaust the stack.
    static constexpr int kMaxNesting = 200;

private:
    void NextToken(bool groupExpected);
    void ParseOr();
    void ParseAnd();
    void ParseNot();
    void ParsePrimary();
    void Emit(const QueryToken& instruction);
    bool CurrentIsWord(int32_t code) const { return m_token.kind == kTokenWord && m_token.value == code; }

    int m_capacity = 0;
    int m_count = 0;
    std::vector<QueryToken> m_code;  // m_capacity zero-filled instructions, m_count of them in use
    int m_position = 0;
    int m_tokenStart = 0;

    // State of the compilation in progress.
    const std::string* m_text = nullptr;
    const CQueryNames* m_names = nullptr;
    QueryToken m_token;
    int m_nesting = 0;
};

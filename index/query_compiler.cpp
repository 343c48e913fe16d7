#include "index/query_compiler.h"

#include <new>

#include "framework/ansi_case.h"
#include "index/query_names.h"
#include "index/query_scanner.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

namespace {

struct QueryWord {
    const char* name;
    int32_t code;
};

// Parentheses are split off by the scanner before any lookup; their rows only complete the table.
const QueryWord kQueryWords[] = {
    {"(", kWordOpen},
    {")", kWordClose},
    {"AND", kWordAnd},
    {"OR", kWordOr},
    {"NOT", kWordNot},
    {"BOOKMARKED", kWordBookmarked},
    {"NOKEYS", kWordNoKeys},
    {"ATTACHMENTS", kWordAttachments},
    {"GROUP:", kWordGroup},
};

// Code block growth, in instructions.
constexpr int kGrowBy = 32;

}  // namespace

int32_t LookupQueryWord(const std::string& name)
{
    for (const QueryWord& word : kQueryWords) {
        if (AnsiCompareNoCase(name.c_str(), word.name) == 0)
            return word.code;
    }
    return kNoneId;
}

void CQueryCompiler::FreeCode()
{
    std::vector<QueryToken>().swap(m_code);
    m_capacity = 0;
    m_count = 0;
}

void CQueryCompiler::Compile(const std::string& text, const CQueryNames& names)
{
    FreeCode();
    m_text = &text;
    m_names = &names;
    m_position = 0;
    m_nesting = 0;
    NextToken(false);
    if (m_token.kind == kTokenEnd)
        return;
    ParseOr();
    if (m_token.kind != kTokenEnd)
        throw CQuorError(IDS_QUERY_EXPECTING_OPERATOR);
}

void CQueryCompiler::GetInstruction(int i, QueryToken& out) const
{
    if (m_capacity == 0)
        return;
    if (i < 0 || i >= m_count)
        throw CQuorError(kCorruptedRecord);
    out = m_code[static_cast<size_t>(i)];
}

bool CQueryCompiler::Holds(const QueryToken& instruction) const
{
    for (int i = 0; i < m_count; ++i) {
        if (m_code[static_cast<size_t>(i)] == instruction)
            return true;
    }
    return false;
}

void CQueryCompiler::GetErrorSpan(int& start, int& end) const
{
    start = m_tokenStart;
    end = m_position;
}

void CQueryCompiler::NextToken(bool groupExpected)
{
    QueryToken token;
    try {
        QueryLexeme lexeme = ScanQueryLexeme(*m_text, static_cast<size_t>(m_position));
        m_tokenStart = static_cast<int>(lexeme.start);
        m_position = static_cast<int>(lexeme.end);
        switch (lexeme.form) {
        case QueryLexeme::kEnd:
            break;
        case QueryLexeme::kParenthesis:
            token.kind = kTokenParenthesis;
            token.value = lexeme.name[0] == '(' ? kWordOpen : kWordClose;
            break;
        case QueryLexeme::kQuoted:
            token.kind = groupExpected ? kTokenGroup : kTokenKeyword;
            token.value = groupExpected ? m_names->FindKeywordGroup(lexeme.name)
                                        : m_names->FindKeyword(lexeme.name);
            break;
        case QueryLexeme::kWord:
            token.value = LookupQueryWord(lexeme.name);
            if (token.value != kNoneId) {
                token.kind = kTokenWord;
            } else if (groupExpected) {
                token.kind = kTokenGroup;
                token.value = m_names->FindKeywordGroup(lexeme.name);
            } else {
                token.kind = kTokenKeyword;
                token.value = m_names->FindKeyword(lexeme.name);
            }
            break;
        }
        // A name that the data file does not hold; the empty quoted name keeps its kind.
        if (token.value == kNoneId && !lexeme.name.empty())
            token.kind = kTokenUnresolved;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        token = QueryToken();
    }
    m_token = token;
}

void CQueryCompiler::ParseOr()
{
    ParseAnd();
    while (CurrentIsWord(kWordOr)) {
        NextToken(false);
        ParseAnd();
        Emit({kTokenWord, kWordOr});
    }
}

void CQueryCompiler::ParseAnd()
{
    ParseNot();
    while (CurrentIsWord(kWordAnd)) {
        NextToken(false);
        ParseNot();
        Emit({kTokenWord, kWordAnd});
    }
}

void CQueryCompiler::ParseNot()
{
    // "NOT NOT a" is a chain: counted here rather than recursed, so its length costs no stack.
    int nots = 0;
    while (CurrentIsWord(kWordNot)) {
        ++nots;
        NextToken(false);
    }
    ParsePrimary();
    for (; nots > 0; --nots)
        Emit({kTokenWord, kWordNot});
}

void CQueryCompiler::ParsePrimary()
{
    switch (m_token.kind) {
    case kTokenParenthesis:
        if (m_token.value != kWordOpen)
            throw CQuorError(IDS_QUERY_PAREN_INSTEAD_OF_OPERAND);
        if (m_nesting >= kMaxNesting)
            throw CQuorError(IDS_QUERY_SYNTAX_ERROR);
        ++m_nesting;
        NextToken(false);
        ParseOr();
        if (m_token.kind != kTokenParenthesis || m_token.value != kWordClose)
            throw CQuorError(IDS_QUERY_EXPECTING_CLOSE_PAREN);
        --m_nesting;
        NextToken(false);
        return;
    case kTokenKeyword:
        Emit(m_token);
        NextToken(false);
        return;
    case kTokenWord:
        switch (m_token.value) {
        case kWordBookmarked:
        case kWordNoKeys:
        case kWordAttachments:
            Emit(m_token);
            NextToken(false);
            return;
        case kWordGroup: {
            // The error span of a failed group runs from "GROUP:" to the end of the name.
            int groupStart = m_tokenStart;
            NextToken(true);
            if (m_token.kind != kTokenGroup || m_token.value == kNoneId) {
                m_tokenStart = groupStart;
                throw CQuorError(IDS_QUERY_EXPECTING_GROUP_NAME);
            }
            Emit(m_token);
            NextToken(false);
            return;
        }
        case kWordAnd:
            throw CQuorError(IDS_QUERY_AND_INSTEAD_OF_OPERAND);
        case kWordOr:
            throw CQuorError(IDS_QUERY_OR_INSTEAD_OF_OPERAND);
        default:
            throw CQuorError(IDS_QUERY_SYNTAX_ERROR);
        }
    case kTokenEnd:
        throw CQuorError(IDS_QUERY_INCOMPLETE);
    case kTokenUnresolved:
        throw CQuorError(IDS_QUERY_UNKNOWN_KEYWORD);
    default:
        throw CQuorError(IDS_QUERY_SYNTAX_ERROR);
    }
}

void CQueryCompiler::Emit(const QueryToken& instruction)
{
    try {
        if (m_count == m_capacity) {
            m_code.resize(static_cast<size_t>(m_capacity + kGrowBy));
            m_capacity += kGrowBy;
        }
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    m_code[static_cast<size_t>(m_count++)] = instruction;
}

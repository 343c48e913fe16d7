#include "index/current_query.h"

#include <new>

#include "framework/ansi_case.h"
#include "index/query_names.h"
#include "index/query_scanner.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

namespace {

// Resolves nothing: the names of a query compiled while no knowledge base is open.
class CNoNames : public CQueryNames {
public:
    int32_t FindKeyword(const std::string&) const override { return kNoneId; }
    int32_t FindKeywordGroup(const std::string&) const override { return kNoneId; }
};

bool IsQueryError(int code)
{
    return code >= IDS_QUERY_AND_INSTEAD_OF_OPERAND && code <= IDS_QUERY_EXPECTING_GROUP_NAME;
}

}  // namespace

CCurrentQuery::CCurrentQuery(CQuerySource* source) : m_source(source) {}

void CCurrentQuery::SetText(const std::string& text)
{
    try {
        m_text = text;
    } catch (const std::bad_alloc&) {
        m_text.clear();
        throw CQuorError(kOutOfMemory);
    }
}

bool CCurrentQuery::Compile(const std::string& text)
{
    return CompileReporting(text, false);
}

bool CCurrentQuery::CompileSaved(const std::string& text)
{
    return CompileReporting(text, true);
}

bool CCurrentQuery::CompileReporting(const std::string& text, bool saved)
{
    m_valid = false;
    try {
        static const CNoNames kNoNames;
        m_compiler.Compile(text, m_source ? static_cast<const CQueryNames&>(*m_source) : kNoNames);
    } catch (const CQuorError& error) {
        if (saved && IsQueryError(error.Code()))
            CQuorError(IDS_QUERY_SAVED_QUERY_PROBLEMS).Report();
        else
            error.Report();
        return false;
    }
    m_valid = true;
    return true;
}

bool CCurrentQuery::IsReservedWord(const std::string& name)
{
    return LookupQueryWord(name) != kNoneId;
}

std::string CCurrentQuery::QuoteName(const std::string& name)
{
    if (name.find_first_of(" \"'()") == std::string::npos && !IsReservedWord(name))
        return name;
    const char quote = name.find('"') == std::string::npos ? '"' : '\'';
    return quote + name + quote;
}

void CCurrentQuery::OnKeywordRenamed(int32_t id, const std::string& oldName, const std::string& newName)
{
    if (m_valid && m_compiler.Holds({kTokenKeyword, id}))
        RewriteKeyword(oldName, newName);
}

void CCurrentQuery::OnGroupRenamed(int32_t id, const std::string& oldName, const std::string& newName)
{
    if (m_valid && m_compiler.Holds({kTokenGroup, id}))
        RewriteGroup(oldName, newName);
}

void CCurrentQuery::OnGroupDeleted(int32_t id)
{
    if (m_valid && m_compiler.Holds({kTokenGroup, id}))
        m_valid = false;
}

void CCurrentQuery::RewriteKeyword(const std::string& oldName, const std::string& newName)
{
    Rewrite(kTokenKeyword, oldName, newName);
}

void CCurrentQuery::RewriteGroup(const std::string& oldName, const std::string& newName)
{
    Rewrite(kTokenGroup, oldName, newName);
}

// Walks the text token by token with the compiler's own scanner, so a name is recognised exactly
// where compiling would look it up: a quoted token or a word that is no reserved word names a
// keyword, or a keyword group when it follows the word "GROUP:". The spaces between tokens and every
// token that is not replaced are copied as they stand.
void CCurrentQuery::Rewrite(int32_t kind, const std::string& oldName, const std::string& newName)
{
    if (oldName.empty())
        return;  // no keyword or group has an empty name
    try {
        const std::string replacement = QuoteName(newName);
        std::string result;
        result.reserve(m_text.size() + replacement.size());
        bool afterGroupWord = false;
        size_t position = 0;
        for (;;) {
            QueryLexeme lexeme = ScanQueryLexeme(m_text, position);
            result.append(m_text, position, lexeme.start - position);
            if (lexeme.form == QueryLexeme::kEnd) {
                result.append(m_text, lexeme.start, std::string::npos);
                break;
            }
            bool isName = lexeme.form == QueryLexeme::kQuoted ||
                          (lexeme.form == QueryLexeme::kWord && !IsReservedWord(lexeme.name));
            int32_t nameKind = afterGroupWord ? kTokenGroup : kTokenKeyword;
            if (isName && nameKind == kind && AnsiCompareNoCase(lexeme.name.c_str(), oldName.c_str()) == 0)
                result += replacement;
            else
                result.append(m_text, lexeme.start, lexeme.end - lexeme.start);
            afterGroupWord = lexeme.form == QueryLexeme::kWord && LookupQueryWord(lexeme.name) == kWordGroup;
            position = lexeme.end;
        }
        m_text.swap(result);
    } catch (const std::bad_alloc&) {
        m_valid = false;
    }
}

#include "index/query_scanner.h"

namespace {

// The text ends at its first NUL, as the C string it is stored as.
bool AtEnd(const std::string& text, size_t i)
{
    return i >= text.size() || text[i] == '\0';
}

}  // namespace

QueryLexeme ScanQueryLexeme(const std::string& text, size_t position)
{
    QueryLexeme lexeme;
    size_t i = position;
    while (!AtEnd(text, i) && text[i] == ' ')
        ++i;
    lexeme.start = i;
    lexeme.end = i;
    if (AtEnd(text, i))
        return lexeme;

    const char c = text[i];
    size_t j = i + 1;
    if (c == '(' || c == ')') {
        lexeme.form = QueryLexeme::kParenthesis;
        lexeme.name.assign(1, c);
        lexeme.end = j;
    } else if (c == '"' || c == '\'') {
        lexeme.form = QueryLexeme::kQuoted;
        while (!AtEnd(text, j) && text[j] != c)
            ++j;
        lexeme.name.assign(text, i + 1, j - (i + 1));
        lexeme.end = AtEnd(text, j) ? j : j + 1;  // a missing closing quote is no error
    } else {
        lexeme.form = QueryLexeme::kWord;
        j = i;
        while (!AtEnd(text, j) && text[j] != ' ' && text[j] != '(' && text[j] != ')')
            ++j;
        lexeme.name.assign(text, i, j - i);
        lexeme.end = j;
    }
    return lexeme;
}

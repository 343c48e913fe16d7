// The query language's scanner: cuts the next token out of a query text without resolving names.
// The compiler resolves what it returns; the rewrite after a rename walks texts with it, so both
// read a text the same way.
//
// Rules: only the space (32) separates; "(" and ")" are tokens of their own; a token that opens with
// a double or single quote runs to the next quote of the same kind (spaces and parentheses
// included; a missing closing quote runs to the end of the text, and there is no escape); any other
// token is a word that ends before the next space or parenthesis. A NUL ends the text.
#pragma once
#include <cstddef>
#include <string>

struct QueryLexeme {
    enum Form { kEnd, kParenthesis, kQuoted, kWord };

    Form form = kEnd;
    size_t start = 0;  // where the token begins, after the spaces before it
    size_t end = 0;    // index after the token (after its closing quote)
    std::string name;  // the parenthesis, the word, or what stands between the quotes
};

// The token that follows index `position` of `text`.
QueryLexeme ScanQueryLexeme(const std::string& text, size_t position);

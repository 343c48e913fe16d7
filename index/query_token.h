// Query instructions and the reserved words of the query language.
//
// Compiled code is a flat array of 8-byte instructions in postfix order, evaluated on a stack of
// article-id sets:
//
//   offset  size  field
//   0       4     kind   int32: 3 reserved word (operator or operand), 4 keyword, 5 keyword group
//   4       4     value  int32: the word's code, the keyword id or the keyword-group id
//
// Between the scanner and the parser a token uses two more kinds: 0 end of text, 1 a name that is
// no keyword or group of the data file, 2 a parenthesis (value 1 "(", 2 ")"). 0x80000001 is the
// value of a token that has none.
#pragma once
#include <cstdint>
#include <string>

#include "storage/id_set.h"

enum QueryTokenKind : int32_t {
    kTokenEnd = 0,
    kTokenUnresolved = 1,
    kTokenParenthesis = 2,
    kTokenWord = 3,
    kTokenKeyword = 4,
    kTokenGroup = 5,
};

// Codes of the reserved words (instruction kind 3).
enum QueryWordCode : int32_t {
    kWordOpen = 1,
    kWordClose = 2,
    kWordAnd = 3,
    kWordOr = 4,
    kWordNot = 5,
    kWordBookmarked = 6,
    kWordNoKeys = 7,
    kWordAttachments = 8,
    kWordGroup = 9,
};

struct QueryToken {
    int32_t kind = kTokenEnd;
    int32_t value = kNoneId;

    bool operator==(const QueryToken& other) const { return kind == other.kind && value == other.value; }
    bool operator!=(const QueryToken& other) const { return !(*this == other); }
};
static_assert(sizeof(QueryToken) == 8, "instructions are 8-byte records");

// The code of reserved word `name` (any case), or kNoneId.
int32_t LookupQueryWord(const std::string& name);

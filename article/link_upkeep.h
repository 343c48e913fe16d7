// Keeping the stored links on their characters after the text changed. The article pane records
// what is about to change (the pending edit range and the typing-state flags) before it lets a
// message through, and calls KeepLinksInStep once the change is done.
//
// Every shift uses the change of the text length that the pane measured around the change, not
// a count derived from the caret: the control decides what a key really removes (a double-clicked
// word's trailing blank, the last paragraph break), and only the measured length says so for sure.
// Links after the changed span therefore always move by exactly the characters that came or went.
#pragma once
#include <cstdint>

#include "storage/link_range_list.h"

// Typing-state flags of the article pane.
enum TypingFlags : int {
    kTypingKeystroke = 0x01,       // a keystroke is being accounted
    kTypingDrop = 0x02,            // a drop into the pane is in progress
    kTypingOther = 0x08,           // another change
    kTypingDropCopy = 0x10,        // with kTypingDrop: Ctrl makes the drop a copy
    kTypingWordSelection = 0x20,   // the selection came from a double-click on a word
    kTypingTouchingLinks = 0x40,   // the caret stands between two stored links that touch
};

struct ChangeFacts {
    int flags = 0;
    int32_t pendingStart = 0;  // the pending edit range: what the change replaces
    int32_t pendingEnd = 0;
    int32_t caret = 0;         // caret position after the change
    int32_t lengthDelta = 0;   // text length after the change minus before
    bool overtype = false;
    // With kTypingWordSelection: blanks behind the double-clicked word that the selection includes.
    int32_t wordBlanks = 0;
    // With kTypingDrop: the selection that the drop replaced.
    int32_t dropStart = 0;
    int32_t dropEnd = 0;
};

// What the pane does after the links moved: the span that the inserted character takes the
// default format on (empty when none).
struct ChangeOutcome {
    int32_t defaultFormatStart = 0;
    int32_t defaultFormatEnd = 0;
};

// Moves and removes `links` for one change. Without a keystroke, drop or other-change flag nothing
// is touched.
ChangeOutcome KeepLinksInStep(CLinkRangeList& links, const ChangeFacts& facts);

// Cut, paste, drop and every change the pane makes through the control's own edit messages: the
// links that start inside the replaced selection [oldStart, oldEnd) go; those at or after its end
// move by the length change.
void ShiftLinksAfterEdit(CLinkRangeList& links, int32_t oldStart, int32_t oldEnd, int32_t lengthDelta);

// Replace All: one occurrence found at [found.start, found.end) while stored links are kept in step.
// An occurrence that reaches out of a link is left alone (a link changes only as a whole or inside),
// and the search goes on from the link's end; any other occurrence is replaced.
struct ReplaceMatchRule {
    bool replace = true;
    int32_t resumeAt = 0;  // where the search goes on when the occurrence is left alone
};
ReplaceMatchRule DecideReplaceMatch(const CLinkRangeList& links, int32_t foundStart, int32_t foundEnd);

// After an occurrence [foundStart, foundEnd) was replaced and the text length changed by
// `lengthDelta`: a link holding the occurrence stretches or shrinks with it (and goes when none of
// its text is left), the links behind it move by the change.
void KeepLinksAfterReplace(CLinkRangeList& links, int32_t foundStart, int32_t foundEnd, int32_t lengthDelta);

#include "article/link_upkeep.h"

#include <algorithm>

namespace {

void ShiftFrom(CLinkRangeList& links, int32_t position, int32_t delta)
{
    if (delta != 0) links.Shift(position, delta);
}

// The links that start inside [start, end) go; those at or after `end` follow the length change.
void ReplaceSpan(CLinkRangeList& links, int32_t start, int32_t end, int32_t delta)
{
    if (end > start) links.RemoveRange(start, end);
    ShiftFrom(links, end, delta);
}

}  // namespace

ChangeOutcome KeepLinksInStep(CLinkRangeList& links, const ChangeFacts& facts)
{
    ChangeOutcome outcome;
    const int32_t s = facts.pendingStart;
    const int32_t e = facts.pendingEnd;
    if (facts.flags & kTypingKeystroke) {
        if (s == e) {
            if (facts.caret > s) {
                // Inserted at the caret: a link that starts there moves behind the new character.
                ShiftFrom(links, s, facts.lengthDelta);
                if (facts.flags & kTypingTouchingLinks) {
                    outcome.defaultFormatStart = s;
                    outcome.defaultFormatEnd = facts.caret;
                }
            } else {
                // Backspace took the character before the caret; Delete (caret unmoved) the one after.
                ShiftFrom(links, facts.caret == s ? s + 1 : s, facts.lengthDelta);
            }
        } else {
            int32_t end = e;
            // After a double-click the control may keep the word's trailing blank when a character
            // replaces the word; the blank is then not part of what went.
            if ((facts.flags & kTypingWordSelection) && !facts.overtype)
                end = std::max(s, e - facts.wordBlanks);
            ReplaceSpan(links, s, end, facts.lengthDelta);
        }
    } else if (facts.flags & kTypingDrop) {
        ShiftFrom(links, facts.dropStart, facts.caret - facts.dropEnd);
    } else if (facts.flags & kTypingOther) {
        ReplaceSpan(links, s, e, facts.lengthDelta);
    }
    return outcome;
}

void ShiftLinksAfterEdit(CLinkRangeList& links, int32_t oldStart, int32_t oldEnd, int32_t lengthDelta)
{
    ReplaceSpan(links, oldStart, oldEnd, lengthDelta);
}

namespace {

// The first link that the span [start, end) meets strictly (an empty span: one it lies inside).
int FindLinkOverlapping(const CLinkRangeList& links, int32_t start, int32_t end)
{
    for (int i = 0; i < links.GetCount(); ++i) {
        const LinkRange& link = *links.Item(i);
        if (start < link.end && end > link.start) return i;
    }
    return -1;
}

}  // namespace

ReplaceMatchRule DecideReplaceMatch(const CLinkRangeList& links, int32_t foundStart, int32_t foundEnd)
{
    ReplaceMatchRule rule;
    const int i = FindLinkOverlapping(links, foundStart, foundEnd);
    if (i < 0) return rule;
    const LinkRange& link = *links.Item(i);
    if (foundStart >= link.start && foundEnd <= link.end) return rule;
    rule.replace = false;
    // Always forward, whatever the link list holds.
    rule.resumeAt = std::max(link.end, foundStart + 1);
    return rule;
}

void KeepLinksAfterReplace(CLinkRangeList& links, int32_t foundStart, int32_t foundEnd, int32_t lengthDelta)
{
    const int i = FindLinkOverlapping(links, foundStart, foundEnd);
    if (i < 0 || foundStart < links.Item(i)->start || foundEnd > links.Item(i)->end) {
        ShiftFrom(links, foundStart, lengthDelta);
        return;
    }
    LinkRange link = *links.Item(i);
    links.RemoveAt(i);
    ShiftFrom(links, foundStart, lengthDelta);
    // A link goes only when none of its text is left; one that keeps characters shrinks, or they
    // would stay in the link look without being a link.
    link.end += lengthDelta;
    if (link.end <= link.start) return;
    CLinkRangeList sorted;
    bool placed = false;
    for (int k = 0; k < links.GetCount(); ++k) {
        if (!placed && links.Item(k)->start > link.start) {
            sorted.Add(link);
            placed = true;
        }
        sorted.Add(*links.Item(k));
    }
    if (!placed) sorted.Add(link);
    links.Copy(sorted);
}

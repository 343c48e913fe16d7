#include "article/link_protection.h"

#include <algorithm>

bool RangeMeetsLink(const LinkRange& link, int32_t from, int32_t to, LinkTouch touch)
{
    switch (touch) {
    case LinkTouch::kStrict:
        return from < link.end && to > link.start;
    case LinkTouch::kStart:
        return from < link.end && to >= link.start;
    case LinkTouch::kEnd:
        return from <= link.end && to > link.start;
    }
    return false;
}

TextSpan WidenToLinks(const CLinkRangeList& links, TextSpan range, LinkTouch touch, std::vector<int>* met)
{
    // Most keys are typed away from every link: one pass that keeps nothing answers them.
    bool meets = false;
    for (int i = 0; i < links.GetCount() && !meets; ++i)
        meets = RangeMeetsLink(*links.Item(i), range.start, range.end, touch);
    if (!meets) {
        if (met) met->clear();
        return range;
    }
    std::vector<bool> covered(static_cast<size_t>(links.GetCount()), false);
    bool grown = true;
    LinkTouch rule = touch;
    while (grown) {
        grown = false;
        const TextSpan before = range;
        // The original range's links are taken by the requested rule, everything after strictly:
        // a link that merely touches a link already taken is not pulled in.
        for (int i = 0; i < links.GetCount(); ++i) {
            const LinkRange& link = *links.Item(i);
            if (covered[static_cast<size_t>(i)] || !RangeMeetsLink(link, before.start, before.end, rule))
                continue;
            covered[static_cast<size_t>(i)] = true;
            range.start = std::min(range.start, link.start);
            range.end = std::max(range.end, link.end);
        }
        grown = range.start < before.start || range.end > before.end;
        rule = LinkTouch::kStrict;
    }
    if (met) {
        met->clear();
        for (size_t i = 0; i < covered.size(); ++i)
            if (covered[i]) met->push_back(static_cast<int>(i));
    }
    return range;
}

int FindLinkStartingAt(const CLinkRangeList& links, int32_t position)
{
    for (int i = 0; i < links.GetCount(); ++i)
        if (links.Item(i)->start == position) return i;
    return -1;
}

int FindLinkEndingAt(const CLinkRangeList& links, int32_t position)
{
    for (int i = 0; i < links.GetCount(); ++i)
        if (links.Item(i)->end == position) return i;
    return -1;
}

int FindLinkContaining(const CLinkRangeList& links, int32_t position)
{
    for (int i = 0; i < links.GetCount(); ++i) {
        const LinkRange& link = *links.Item(i);
        if (link.start <= position && position <= link.end) return i;
    }
    return -1;
}

namespace {

void Widen(const CLinkRangeList& links, const TextSpan& selection, LinkTouch touch, ProtectionAnswer& answer,
           bool removeMet)
{
    std::vector<int> met;
    answer.range = WidenToLinks(links, selection, touch, &met);
    answer.widened = !met.empty();
    answer.pending = answer.range;
    if (removeMet) answer.removeLinks = met;
}

}  // namespace

ProtectionAnswer DecideProtection(const CLinkRangeList& links, const ProtectionRequest& request)
{
    ProtectionAnswer answer;
    const TextSpan sel = request.selection;
    answer.range = sel;
    answer.pending = sel;
    switch (request.request) {
    case EditRequest::kBackspace:
        Widen(links, sel, LinkTouch::kEnd, answer, false);
        break;
    case EditRequest::kDelete:
        Widen(links, sel, LinkTouch::kStart, answer, true);
        // Deleting a span that ends at the first position of a line: the line break before it is
        // not part of what the key takes, unless the span starts its paragraph or the line before
        // was only wrapped there.
        if (answer.widened && request.lines && answer.range.end > answer.range.start &&
            request.lines->IsLineStart(answer.range.end) && !request.lines->IsParagraphStart(answer.range.start) &&
            !request.lines->LineBeforeEndsAt(answer.range.end))
            answer.pending.end -= 1;
        break;
    case EditRequest::kOtherKey:
        Widen(links, sel, LinkTouch::kStrict, answer, false);
        break;
    case EditRequest::kChar: {
        if (FindLinkStartingAt(links, sel.start) >= 0) {
            const bool touching = FindLinkEndingAt(links, sel.start) >= 0;
            if (sel.start == 0 || touching) {
                answer.charLook = TypedCharLook::kDefault;
                answer.betweenTouchingLinks = touching;
            } else {
                answer.charLook = TypedCharLook::kPreviousOrDefault;
            }
        } else if (sel.start > 0 && FindLinkEndingAt(links, sel.start) >= 0) {
            answer.charLook = TypedCharLook::kPlain;
        }
        break;
    }
    case EditRequest::kHarmless:
        break;
    case EditRequest::kCut:
        // A cut takes whole links: one that the selection only reaches into goes entirely, or it
        // would stay behind on the characters that remain.
        Widen(links, sel, LinkTouch::kStrict, answer, true);
        break;
    case EditRequest::kClear:
        Widen(links, sel, LinkTouch::kStart, answer, true);
        break;
    case EditRequest::kCharFormat:
        answer.clearTypingFlags = true;
        answer.reapplyLook = !request.busy;
        break;
    case EditRequest::kParaFormat:
        answer.clearTypingFlags = true;
        break;
    case EditRequest::kReplace:
        for (int i = 0; i < links.GetCount() && !answer.refuse; ++i)
            answer.refuse = RangeMeetsLink(*links.Item(i), sel.start, sel.end, LinkTouch::kStrict);
        break;
    }
    return answer;
}

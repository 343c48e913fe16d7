#include "index/article_commands.h"

int NeighbourTitleIndex(int highlightedCount, int index, int count, int direction)
{
    if (highlightedCount != 1 || index < 0 || index >= count || (direction != 1 && direction != -1))
        return -1;
    int next = index + direction;
    return next >= 0 && next < count ? next : -1;
}

int AttachmentsToOpen(int openable, AttachmentAnswer answer)
{
    if (openable <= 0 || answer == AttachmentAnswer::kCancel)
        return 0;
    if (answer == AttachmentAnswer::kNo && openable > kAttachmentsOpenedWithoutAsking)
        return kAttachmentsOpenedWithoutAsking;
    return openable;
}

void CAddressPacer::BeforeAddress()
{
    // Tick counts wrap at 2^32: "now is before the next allowed time" is a signed difference.
    std::uint32_t now = m_clock.TickCount();
    if (m_started && static_cast<std::int32_t>(now - m_nextAllowed) < 0) {
        if (m_wait)
            m_wait(kIntervalMs);
        now = m_clock.TickCount();
    }
    m_started = true;
    m_nextAllowed = now + kIntervalMs;
}

UndoChoice DecideUndo(const UndoFacts& facts)
{
    UndoChoice choice;
    if (!facts.showing)
        return choice;
    if (facts.canUndoImport) {
        choice.action = UndoAction::kUndoImport;
        choice.enabled = true;
        choice.text = facts.batchFromPaste ? UndoChoice::Text::kUndo : UndoChoice::Text::kUndoImport;
        return choice;
    }
    if (facts.cutPending && facts.titlesFocused && facts.modifiable && facts.ownsClipboard) {
        choice.action = UndoAction::kUndoCut;
        choice.enabled = true;
        choice.text = UndoChoice::Text::kUndoArticleCut;
    }
    return choice;
}

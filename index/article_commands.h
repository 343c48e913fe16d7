// The decisions behind the index window's article commands, apart from the windows: which title Next
// and Previous go to, what Bookmark does to a mix, how many attachments F5 opens, how Internet
// addresses are paced, and which Undo the Edit menu offers.
#pragma once
#include <cstdint>
#include <functional>

#include "framework/clock.h"

// ---- Next and Previous ----

// The item Next (+1) or Previous (-1) goes to from the only highlighted item `index` of `count`
// items; -1 when there is none (more or fewer than one highlighted, or at either end).
int NeighbourTitleIndex(int highlightedCount, int index, int count, int direction);

// ---- Bookmarks ----

// How many of the highlighted titles are bookmarked.
struct BookmarkTally {
    int highlighted = 0;
    int bookmarked = 0;
    // The menu item's check mark: every highlighted title is bookmarked.
    bool AllBookmarked() const { return highlighted > 0 && bookmarked == highlighted; }
    // What the command sets on every highlighted title: off only when all are on, so a mix gets
    // bookmarked throughout.
    bool Target() const { return !AllBookmarked(); }
};

// ---- Open Attachments ----

// More openable attachments than this asks first; No opens only this many.
constexpr int kAttachmentsOpenedWithoutAsking = 10;

enum class AttachmentAnswer { kYes, kNo, kCancel };

// Whether `openable` attachments need the question first.
inline bool MustAskAttachmentCount(int openable) { return openable > kAttachmentsOpenedWithoutAsking; }
// How many of the first attachments to open after `answer` (nothing asked: kYes).
int AttachmentsToOpen(int openable, AttachmentAnswer answer);

// Internet addresses opened one after another are paced: before an address, when the last one was
// opened less than the interval ago, the opener waits the interval; the next address may then come
// an interval after now. The wait itself is the caller's (a test records it and moves its clock).
class CAddressPacer {
public:
    static constexpr std::uint32_t kIntervalMs = 2000;
    using Wait = std::function<void(std::uint32_t milliseconds)>;

    CAddressPacer(const IClock& clock, Wait wait) : m_clock(clock), m_wait(std::move(wait)) {}
    // Call before opening each Internet address.
    void BeforeAddress();

private:
    const IClock& m_clock;
    Wait m_wait;
    bool m_started = false;
    std::uint32_t m_nextAllowed = 0;
};

// ---- Undo ----

struct UndoFacts {
    bool canUndoImport = false;   // the document's import batch holds ids and the file may change
    bool batchFromPaste = false;  // that batch came from a paste of articles
    bool cutPending = false;      // the last article command was a Cut
    bool titlesFocused = false;   // the titles list is the focus list
    bool modifiable = false;
    bool ownsClipboard = false;   // this program still owns the clipboard (nothing copied since)
    bool showing = false;
};

enum class UndoAction { kNone, kUndoImport, kUndoCut };

struct UndoChoice {
    UndoAction action = UndoAction::kNone;
    // The menu text: "&Undo Import\tCtrl+Z", "&Undo Article Cut\tCtrl+Z" or "&Undo\tCtrl+Z".
    enum class Text { kUndo, kUndoImport, kUndoArticleCut } text = Text::kUndo;
    bool enabled = false;
};

// What Undo offers in the index window: an import's undo first (named so unless the batch came from
// a paste), else the undo of a cut while its articles are still ours on the clipboard, else nothing.
UndoChoice DecideUndo(const UndoFacts& facts);

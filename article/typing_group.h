// The article pane's typing groups: which keys share one undo snapshot. A run of typed characters
// is one group (one Undo takes the whole word back); a run of Backspaces and line breaks is
// another; every Delete stands alone; moving the caret or clicking ends a group.
#pragma once
#include <cstdint>

enum class TypingGroup { kNone = 0, kDeletion = 1, kCharacters = 2 };

// What a key does to the typing state of the pane.
struct TypingStep {
    TypingGroup group = TypingGroup::kNone;  // the group after the key
    bool snapshot = false;                    // take an undo snapshot before the key acts
    bool clearTypingFlags = false;            // navigation: forget the keystroke being accounted
    bool clearKeystroke = false;              // a key that changes no text: clear the keystroke flag
};

enum class KeyKind {
    kNavigation,   // Page Up, Page Down, End, Home, the arrows
    kNoText,       // Ctrl, Shift, Alt, Insert, F1-F24, Pause, Caps Lock, Escape, Windows, Apps, Num Lock, Scroll Lock
    kBackspace,
    kEnter,
    kDelete,       // Delete and the Clear key
    kOther,
};

// The kind of virtual key `vk` (WM_KEYDOWN).
KeyKind ClassifyKey(unsigned vk);

// WM_KEYDOWN of a key of `kind` while the group is `group`.
TypingStep StepForKey(TypingGroup group, KeyKind kind);
// WM_CHAR of a printable character.
TypingStep StepForCharacter(TypingGroup group);

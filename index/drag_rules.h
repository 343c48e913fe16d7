// The decisions of a list that drags its keywords or groups out to other windows: which kind of drop
// target a window is, when a move becomes a drag, and what a click on an already highlighted item
// does once no drag followed it.
#pragma once

// The kind of a window as a drop target. There is no kind 5.
enum class DropKind : int {
    kNone = 0,
    kIndexKeywordList = 1,   // a keyword list of the index window
    kSelectedKeywords = 2,   // the index window's Selected list
    kIndexTitleList = 3,     // the index window's titles list
    kArticleWindow = 4,      // an article window or a window inside it
    kSiblingKeywordList = 6, // a keyword list beside the dragged list (same parent)
    kKeywordPreview = 7,     // the index window's keyword preview
    kIndexGroupList = 8,     // the index window's keyword-group list
    kSiblingGroupList = 9,   // a keyword-group list beside the dragged list
};

// What a window is, as far as drops go. Each flag names a class the window's object is, or derives
// from; a window without an object of ours has none.
struct DropWindowFacts {
    enum : unsigned {
        kSelectedKeywords = 1u << 0,
        kKeywordPreview = 1u << 1,
        kDragList = 1u << 2,
        kKeywordList = 1u << 3,
        kGroupList = 1u << 4,
        kArticleView = 1u << 5,
        kArticleList = 1u << 6,
        kIndexView = 1u << 7,
    };
    unsigned classes = 0;
    // This window is the parent of the dragged list.
    bool isSourceParent = false;

    bool Is(unsigned flag) const { return (classes & flag) != 0; }
};

// The kind of `window` (null: no window) whose parent is `parent` (null: none).
DropKind GetTargetKind(const DropWindowFacts* window, const DropWindowFacts* parent);

// A move of the mouse from the last accepted point starts (or continues) a drag only when it goes
// more than 2 pixels in either direction.
inline bool PassesDragThreshold(int dx, int dy)
{
    return dx > 2 || dx < -2 || dy > 2 || dy < -2;
}

// A press on an already highlighted item defers its effect to the release, so that a multi-item
// selection can be dragged. When no drag followed: neither Shift nor Ctrl highlights that item alone,
// Ctrl inverts its highlight, Shift alone changes nothing.
enum class DeferredClick { kHighlightOnly, kToggle, kNothing };
inline DeferredClick DeferredClickFor(bool ctrl, bool shift)
{
    if (ctrl)
        return DeferredClick::kToggle;
    return shift ? DeferredClick::kNothing : DeferredClick::kHighlightOnly;
}

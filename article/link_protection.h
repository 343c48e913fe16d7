// The rules that keep an article's stored links intact while the user edits the text around them.
// Every stored link is protected text: before a message may change text near a link, the article
// pane asks DecideProtection, which answers whether the change is refused, which range the change
// must cover instead (a link is changed only as a whole), which links go and which character format
// a typed character takes. Window-free: the pane supplies the selection and the few facts about
// lines it needs, and carries the answer out.
//
// Positions are character positions of the rich edit (a paragraph break counts one). A link covers
// [start, end). Three ways to meet a range [from, to]:
//   strict          from < end and to > start (an empty range meets a link it lies inside);
//   touching start  also when the range ends at the link's start (to == start);
//   touching end    also when the range starts at the link's end (from == end).
// Every link of the list is examined, not only the first one met: two links may touch (0-5 and 5-10).
#pragma once
#include <cstdint>
#include <vector>

#include "storage/link_range_list.h"

enum class LinkTouch { kStrict, kStart, kEnd };

struct TextSpan {
    int32_t start = 0;
    int32_t end = 0;
};

// True when the range [from, to] meets `link` in the given way.
bool RangeMeetsLink(const LinkRange& link, int32_t from, int32_t to, LinkTouch touch);

// The range grown to cover every link it meets: first the links met in the given way, then, while
// the range still grows, the links it now meets strictly. `met` receives the indices of the links
// covered (in list order). Ends because the range only ever grows and every step adds a link.
TextSpan WidenToLinks(const CLinkRangeList& links, TextSpan range, LinkTouch touch, std::vector<int>* met = nullptr);

// The message that is about to change the text, as the protection rules tell them apart.
enum class EditRequest {
    kBackspace,      // WM_KEYDOWN, Backspace
    kDelete,         // WM_KEYDOWN, Delete
    kOtherKey,       // WM_KEYDOWN, any other key
    kChar,           // WM_CHAR
    kHarmless,       // WM_MOUSEMOVE, WM_COPY
    kCut,            // WM_CUT
    kClear,          // WM_CLEAR
    kCharFormat,     // EM_SETCHARFORMAT
    kParaFormat,     // EM_SETPARAFORMAT
    kReplace,        // anything else: paste, replace, drop, stream into the selection, undo
};

// What the Delete rule needs to know about lines (wrapped lines included).
class ILineFacts {
public:
    virtual ~ILineFacts() = default;
    // `position` is the first position of a display line.
    virtual bool IsLineStart(int32_t position) const = 0;
    // `position` is the first position of a paragraph (0, or just after a paragraph break).
    virtual bool IsParagraphStart(int32_t position) const = 0;
    // The display line before the one at `position` ends exactly there (the line was wrapped).
    virtual bool LineBeforeEndsAt(int32_t position) const = 0;
};

// The format a typed character is given before it is inserted.
enum class TypedCharLook {
    kUnchanged,         // the control's own choice
    kDefault,           // the program's default character format
    kPreviousOrDefault, // the format of the character before, or the default when that one shows an address
    kPlain,             // the plain look: text typed right behind a link does not become link-coloured
};

struct ProtectionAnswer {
    bool refuse = false;
    // The range the change covers; when `widened`, the pane selects it and keeps it as the pending
    // edit range.
    bool widened = false;
    TextSpan range;
    // The pending edit range: the range, except that Delete may leave out a final line break.
    TextSpan pending;
    // Links to take out of the list now (indices, ascending); their span gets the plain look.
    std::vector<int> removeLinks;
    TypedCharLook charLook = TypedCharLook::kUnchanged;
    // The caret stands between two links that touch: the inserted character gets the default format
    // once it is in.
    bool betweenTouchingLinks = false;
    // A format change: the typing flags are cleared; `reapplyLook` asks for the link look again.
    bool clearTypingFlags = false;
    bool reapplyLook = false;
};

struct ProtectionRequest {
    EditRequest request = EditRequest::kReplace;
    TextSpan selection;
    bool overtype = false;
    // The pane is changing formats itself (EM_SETCHARFORMAT then asks for no re-apply).
    bool busy = false;
    const ILineFacts* lines = nullptr;  // needed for kDelete only
};

ProtectionAnswer DecideProtection(const CLinkRangeList& links, const ProtectionRequest& request);

// Index of a link that starts exactly at `position`, or -1.
int FindLinkStartingAt(const CLinkRangeList& links, int32_t position);
// Index of a link that ends exactly at `position`, or -1.
int FindLinkEndingAt(const CLinkRangeList& links, int32_t position);
// The link containing `position`, touching either end counting (the first in list order), or -1.
int FindLinkContaining(const CLinkRangeList& links, int32_t position);

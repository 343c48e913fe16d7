// The article pane's message filter: every message that may change text near a stored link is
// decided here before the control sees it, and the links are moved once the change is done.
#include <windowsx.h>

#include <algorithm>

#include "article/link_upkeep.h"
#include "article/ui/article_content.h"

namespace {

// Display lines of the control, wrapped ones included.
class CControlLines : public ILineFacts {
public:
    explicit CControlLines(const CArticleContent& pane) : m_pane(pane) {}
    bool IsLineStart(int32_t p) const override
    {
        LRESULT line = m_pane.SendMessage(EM_EXLINEFROMCHAR, 0, p);
        return m_pane.SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line)) == p;
    }
    bool IsParagraphStart(int32_t p) const override
    {
        if (p == 0) return true;
        char text[2] = {};
        TEXTRANGEA range = {{p - 1, p}, text};
        m_pane.SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        return text[0] == '\r' || text[0] == '\n';
    }
    bool LineBeforeEndsAt(int32_t p) const override
    {
        LRESULT line = m_pane.SendMessage(EM_EXLINEFROMCHAR, 0, p);
        if (line <= 0) return false;
        LRESULT start = m_pane.SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line - 1));
        return start + m_pane.SendMessage(EM_LINELENGTH, static_cast<WPARAM>(start)) == p;
    }

private:
    const CArticleContent& m_pane;
};

bool KeyDown(int vk)
{
    return GetKeyState(vk) < 0;
}

}  // namespace

ProtectionAnswer CArticleContent::Decide(EditRequest request, const TextSpan& selection)
{
    CControlLines lines(*this);
    ProtectionRequest r;
    r.request = request;
    r.selection = selection;
    r.overtype = IsOvertype();
    r.busy = m_busy != 0;
    r.lines = &lines;
    return DecideProtection(m_links, r);
}

void CArticleContent::Carry(const ProtectionAnswer& answer)
{
    if (!answer.removeLinks.empty()) {
        for (auto i = answer.removeLinks.rbegin(); i != answer.removeLinks.rend(); ++i) m_links.RemoveAt(*i);
        ApplyPlainLook(answer.range.start, answer.range.end);
    }
    if (answer.widened) {
        CFlagScope bypass(m_bypass, 1);
        SetSel(answer.range.start, answer.range.end);
    }
    m_pending = answer.pending;
}

void CArticleContent::WidenSelectionToLinks()
{
    TextSpan selection;
    GetSel(selection.start, selection.end);
    TextSpan widened = WidenToLinks(m_links, selection, LinkTouch::kStrict);
    if (widened.start != selection.start || widened.end != selection.end) {
        CFlagScope bypass(m_bypass, 1);
        SetSel(widened.start, widened.end);
    }
    m_pending = widened;
}

void CArticleContent::ApplyTypedCharLook(TypedCharLook look, int32_t position)
{
    if (look == TypedCharLook::kUnchanged) return;
    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    int32_t start, end;
    GetSel(start, end);
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    if (look == TypedCharLook::kPreviousOrDefault && position > 0 && !HasAddressLook(position - 1)) {
        SetSel(position - 1, position);
        SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    } else if (look == TypedCharLook::kPlain) {
        bool automatic = false;
        format.crTextColor = NeighbourColor(position, automatic);
        format.dwMask = CFM_COLOR | CFM_PROTECTED | CFM_UNDERLINE;
        format.dwEffects = automatic ? CFE_AUTOCOLOR : 0;
    } else {
        GetDefaultCharFormat(*reinterpret_cast<CHARFORMATA*>(&format));
        format.cbSize = sizeof format;
        format.dwMask |= CFM_PROTECTED;
        format.dwEffects &= ~CFE_PROTECTED;
    }
    // Set on the selection before the character goes in: an empty selection keeps it as the
    // format of what is typed next.
    SetSel(start, end);
    SetCharFormat(format, SCF_SELECTION);
}

bool CArticleContent::OnKeyDown(UINT key, UINT repeat, UINT flags, LRESULT& result)
{
    return CRichEditCtrl1::OnKeyDown(key, repeat, flags, result);
}

bool CArticleContent::FilterKeyDown(UINT key, LPARAM lParam, LRESULT& result)
{
    const bool ctrl = KeyDown(VK_CONTROL);
    const bool shift = KeyDown(VK_SHIFT);
    // The control's own clipboard keys and its one-step undo would change text outside the rules.
    if ((ctrl && key == 'V') || (shift && !ctrl && key == VK_INSERT)) {
        result = 0;
        SendMessage(WM_PASTE);
        return true;
    }
    if ((ctrl && key == 'X') || (shift && !ctrl && key == VK_DELETE)) {
        result = 0;
        SendMessage(WM_CUT);
        return true;
    }
    if (ctrl && key == 'Z') {
        result = 0;
        Undo();
        return true;
    }
    if (ctrl && key == 'Y') {
        result = 0;
        return true;
    }
    if (key == VK_TAB && shift) {
        HWND previous = ::GetNextDlgTabItem(::GetParent(m_hWnd), m_hWnd, TRUE);
        if (previous && previous != m_hWnd) ::SetFocus(previous);
        result = 0;
        return true;
    }
    if (m_readOnly) return CRichEditCtrl1::OnKeyDown(key, LOWORD(lParam), HIWORD(lParam), result);

    TextSpan selection;
    GetSel(selection.start, selection.end);
    const KeyKind kind = ClassifyKey(key);
    if (key == VK_DELETE && selection.start == selection.end && selection.start >= GetCharCount()) {
        result = 0;  // nothing after the caret: no snapshot, no group
        return true;
    }
    const TypingStep step = StepForKey(m_typingGroup, kind);
    if (step.snapshot) SaveUndoSnapshot();
    m_typingGroup = step.group;
    if (step.clearTypingFlags) ClearTypingFlags();
    if (step.clearKeystroke) m_typingFlags &= ~kTypingKeystroke;
    if (kind == KeyKind::kNavigation || kind == KeyKind::kNoText)
        return CRichEditCtrl1::OnKeyDown(key, LOWORD(lParam), HIWORD(lParam), result);

    EditRequest request = key == VK_BACK ? EditRequest::kBackspace
                          : key == VK_DELETE ? EditRequest::kDelete
                                             : EditRequest::kOtherKey;
    Carry(Decide(request, selection));
    m_typingFlags |= kTypingKeystroke;
    m_overtypeInserts = IsOvertype() && (key == VK_RETURN || CharAt(m_pending.end) == '\r') ? 1 : 0;
    m_knownLength = GetCharCount();
    {
        CFlagScope filtering(m_filtering, 1);
        CRichEditCtrl1::OnKeyDown(key, LOWORD(lParam), HIWORD(lParam), result);
        result = DefaultProc(WM_KEYDOWN, key, lParam);
    }
    // Format keys of the control (bold, underline...) act on the selection without a message.
    if (ctrl) {
        int32_t start, end;
        GetSel(start, end);
        ApplyLinkLookOver(start, end);
    }
    return true;
}

bool CArticleContent::FilterChar(WPARAM ch, LPARAM lParam, LRESULT& result)
{
    if (m_readOnly || (ch < 0x20 && ch != '\t')) return false;
    const TypingStep step = StepForCharacter(m_typingGroup);
    if (step.snapshot) SaveUndoSnapshot();
    m_typingGroup = step.group;

    TextSpan selection;
    GetSel(selection.start, selection.end);
    // Overtype: the character after the caret is what the typed one replaces, and a link there
    // is replaced as a whole like any other; at a line end the character is inserted.
    if (IsOvertype() && selection.start == selection.end && selection.start < GetCharCount() &&
        CharAt(selection.start) != '\r') {
        selection.end = selection.start + 1;
        CFlagScope bypass(m_bypass, 1);
        SetSel(selection.start, selection.end);
    }
    // Also for a character that came without its key (posted, or from an input method).
    Carry(Decide(EditRequest::kOtherKey, selection));
    GetSel(selection.start, selection.end);
    m_pending = selection;
    if (!(m_typingFlags & kTypingKeystroke)) m_knownLength = GetCharCount();
    m_typingFlags |= kTypingKeystroke;

    const ProtectionAnswer answer = Decide(EditRequest::kChar, selection);
    if (answer.betweenTouchingLinks) m_typingFlags |= kTypingTouchingLinks;
    ApplyTypedCharLook(answer.charLook, selection.start);
    CFlagScope filtering(m_filtering, 1);
    result = DefaultProc(WM_CHAR, ch, lParam);
    return true;
}

bool CArticleContent::FilterKeyUp(UINT key, LPARAM lParam, LRESULT&)
{
    // A character entered with Alt and the numeric pad arrives after Alt is released.
    if (key == VK_MENU && (static_cast<DWORD>(lParam) & 0xC0000000) == 0xC0000000) {
        GetSel(m_pending.start, m_pending.end);
        m_knownLength = GetCharCount();
        m_typingFlags |= kTypingKeystroke;
        return false;
    }
    if (!KeyDown(VK_SHIFT) && !(m_typingFlags & kTypingKeystroke)) WidenSelectionToLinks();
    return false;
}

bool CArticleContent::FilterEdit(UINT msg, WPARAM wParam, LPARAM lParam, EditRequest request, bool snapshot,
                                 LRESULT& result)
{
    if (m_readOnly) return false;
    if (m_typingFlags & kTypingDrop) {
        // The text a drop brings in: accounted when the control reports the drop done.
        CFlagScope bypass(m_bypass, 1);
        result = DefaultProc(msg, wParam, lParam);
        return true;
    }
    m_unprotected = false;  // pasted RTF may bring protection along
    TextSpan selection;
    GetSel(selection.start, selection.end);
    const ProtectionAnswer answer = Decide(request, selection);
    if (answer.refuse) {
        result = 0;
        return true;
    }
    if (snapshot) SaveUndoSnapshot();
    Carry(answer);
    GetSel(selection.start, selection.end);
    const int32_t before = GetCharCount();
    {
        CFlagScope bypass(m_bypass, 1);
        CFlagScope filtering(m_filtering, 1);
        result = DefaultProc(msg, wParam, lParam);
    }
    const int32_t after = GetCharCount();
    ShiftLinksAfterEdit(m_links, selection.start, selection.end, after - before);
    m_knownLength = after;
    m_typingGroup = TypingGroup::kNone;
    ClearTypingFlags();
    // What came in is not a link, whatever look it brought or took from the link before it.
    const int32_t insertedEnd = selection.end + (after - before);
    if (insertedEnd > selection.start) {
        CFlagScope busy(m_busy, 1);
        CFlagScope bypass(m_bypass, 1);
        int32_t start, end;
        GetSel(start, end);
        SetSel(selection.start, insertedEnd);
        CHARFORMAT2A unprotect = {};
        unprotect.cbSize = sizeof unprotect;
        unprotect.dwMask = CFM_PROTECTED;
        SetCharFormat(unprotect, SCF_SELECTION);
        const bool behindLink = FindLinkEndingAt(m_links, selection.start) >= 0;
        SetSel(start, end);
        if (behindLink) {
            SetSel(selection.start, selection.start + 1);
            CHARFORMAT2A look = {};
            look.cbSize = sizeof look;
            SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&look));
            SetSel(start, end);
            if (!(look.dwEffects & CFE_AUTOCOLOR) && look.crTextColor == kLinkColor && (look.dwEffects & CFE_UNDERLINE))
                ApplyPlainLook(selection.start, insertedEnd);
        }
    }
    RefreshAddresses(selection.start, std::max(selection.start, insertedEnd));
    return true;
}

bool CArticleContent::FilterCharFormat(WPARAM scope, LPARAM lParam, LRESULT& result)
{
    m_unprotected = false;
    TextSpan selection;
    GetSel(selection.start, selection.end);
    const ProtectionAnswer answer = Decide(EditRequest::kCharFormat, selection);
    if (answer.clearTypingFlags) ClearTypingFlags();
    {
        CFlagScope filtering(m_filtering, 1);
        result = DefaultProc(EM_SETCHARFORMAT, scope, lParam);
    }
    // A format command never leaves a link in another look: the links it reached get theirs back
    // at once (only those, not the whole text). A format that sets neither colour, underline nor
    // protection (bold, a font, hidden text) leaves the look as it is.
    const auto* format = reinterpret_cast<const CHARFORMATA*>(lParam);
    const DWORD lookMask = CFM_COLOR | CFM_UNDERLINE | CFM_PROTECTED | CFM_UNDERLINETYPE;
    const bool touchesLook = !format || format->cbSize < sizeof(CHARFORMATA) || (format->dwMask & lookMask) != 0;
    if (answer.reapplyLook && touchesLook && m_links.GetCount() > 0) {
        if (scope & SCF_ALL)
            ApplyLinkFormatting();
        else if (scope & (SCF_SELECTION | SCF_WORD))
            ApplyLinkLookOver(selection.start, selection.end == selection.start ? selection.end + 1 : selection.end);
    }
    return true;
}

LRESULT CArticleContent::AnswerProtected(const ENPROTECTED* notice)
{
    // The filter already decided the message being passed on, and the pane's own changes are allowed.
    if (m_filtering || m_bypass) return 0;
    EditRequest request = EditRequest::kReplace;
    switch (notice->msg) {
    case WM_KEYDOWN:
        request = notice->wParam == VK_BACK ? EditRequest::kBackspace
                  : notice->wParam == VK_DELETE ? EditRequest::kDelete
                                                : EditRequest::kOtherKey;
        break;
    case WM_CHAR: request = EditRequest::kChar; break;
    case WM_MOUSEMOVE:
    case WM_COPY: request = EditRequest::kHarmless; break;
    case WM_CUT: request = EditRequest::kCut; break;
    case WM_CLEAR: request = EditRequest::kClear; break;
    case EM_SETCHARFORMAT: request = EditRequest::kCharFormat; break;
    case EM_SETPARAFORMAT: request = EditRequest::kParaFormat; break;
    default: break;
    }
    const ProtectionAnswer answer = Decide(request, {notice->chrg.cpMin, notice->chrg.cpMax});
    if (answer.clearTypingFlags) ClearTypingFlags();
    if (answer.reapplyLook) PostMessage(kReapplyLinkLook);
    return answer.refuse ? 1 : 0;
}

void CArticleContent::OnContentChanged()
{
    m_unprotected = m_unprotected && m_bypass;
    if ((m_typingFlags & kTypingDrop) && IsNewerDll()) {
        CFlagScope busy(m_busy, 1);
        CFlagScope bypass(m_bypass, 1);
        CHARFORMAT2A visible = {};
        visible.cbSize = sizeof visible;
        visible.dwMask = CFM_HIDDEN;
        SetCharFormat(visible, SCF_ALL);
    }
    // The pane's own changes, and a drop until the control reports it done, are accounted there.
    if (m_bypass || (m_typingFlags & kTypingDrop)) return;
    const int32_t length = GetCharCount();
    int32_t caret, end;
    GetSel(caret, end);
    ChangeFacts facts;
    facts.flags = m_typingFlags;
    facts.pendingStart = m_pending.start;
    facts.pendingEnd = m_pending.end;
    facts.caret = caret;
    facts.lengthDelta = length - m_knownLength;
    facts.overtype = IsOvertype();
    facts.wordBlanks = m_wordBlanks;
    if (!(facts.flags & (kTypingKeystroke | kTypingOther))) {
        // A change no message told of: taken as text inserted before the caret or removed after it.
        facts.flags = kTypingOther;
        facts.pendingStart = facts.lengthDelta > 0 ? caret - facts.lengthDelta : caret;
        facts.pendingEnd = facts.lengthDelta > 0 ? facts.pendingStart : caret - facts.lengthDelta;
    }
    const ChangeOutcome outcome = KeepLinksInStep(m_links, facts);
    m_knownLength = length;
    const bool typed = (facts.flags & kTypingKeystroke) && caret > facts.pendingStart;
    const int32_t typedAt = facts.pendingStart;
    ClearTypingFlags();
    m_wordBlanks = 0;

    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    if (outcome.defaultFormatEnd > outcome.defaultFormatStart) {
        SetSel(outcome.defaultFormatStart, outcome.defaultFormatEnd);
        CHARFORMATA format;
        GetDefaultCharFormat(format);
        SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        CHARFORMAT2A unprotect = {};
        unprotect.cbSize = sizeof unprotect;
        unprotect.dwMask = CFM_PROTECTED;
        SetCharFormat(unprotect, SCF_SELECTION);
        SetSel(caret, end);
    } else if (typed && FindLinkEndingAt(m_links, typedAt) >= 0 && FindLinkStartingAt(m_links, typedAt) < 0) {
        // Typed right behind a link: a control that gave it the link's look anyway loses it here.
        SetSel(typedAt, typedAt + 1);
        CHARFORMAT2A look = {};
        look.cbSize = sizeof look;
        SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&look));
        SetSel(caret, end);
        if (look.dwEffects & CFE_PROTECTED) ApplyPlainLook(typedAt, caret);
    }
    if (m_addressesShown) {
        // A keystroke follows the word at the caret; anything else looks again at what it touched.
        if ((facts.flags & kTypingKeystroke) && facts.pendingStart == facts.pendingEnd)
            TrackAddressesAfterKeystroke(facts.pendingStart, caret, facts.lengthDelta);
        else
            RefreshAddresses(std::min(facts.pendingStart, caret), std::max(facts.pendingStart, caret));
    }
}

void CArticleContent::OnDropBegin(bool copy)
{
    SaveUndoSnapshot();
    m_typingFlags |= kTypingDrop | (copy ? kTypingDropCopy : 0);
    GetSel(m_dropSelection.start, m_dropSelection.end);
}

void CArticleContent::OnDragDropDone()
{
    if (!(m_typingFlags & kTypingDrop)) return;
    int32_t caret, end;
    GetSel(caret, end);
    ChangeFacts facts;
    facts.flags = kTypingDrop;
    facts.caret = end;
    facts.dropStart = m_dropSelection.start;
    facts.dropEnd = m_dropSelection.end;
    KeepLinksInStep(m_links, facts);
    m_knownLength = GetCharCount();
    ClearTypingFlags();
    m_typingGroup = TypingGroup::kNone;
    RefreshAddresses(m_dropSelection.start, end);
}

bool CArticleContent::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case kReapplyLinkLook: {
        CFlagScope bypass(m_bypass, 1);
        ApplyLinkFormatting();
        result = 0;
        return true;
    }
    case WM_SETCURSOR:
        if (m_linksActive && LOWORD(lParam) == HTCLIENT && m_currentCursor) {
            ::SetCursor(m_currentCursor);
            result = TRUE;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
        result = DefaultProc(msg, wParam, lParam);
        OnMouseMoved(lParam);
        return true;
    case WM_LBUTTONDBLCLK:
        return OnDoubleClick(lParam, result);
    case WM_LBUTTONDOWN:
        m_wordBlanks = 0;
        m_typingFlags &= ~(kTypingWordSelection | kTypingKeystroke);
        m_typingGroup = TypingGroup::kNone;
        return false;
    case WM_LBUTTONUP:
        result = DefaultProc(msg, wParam, lParam);
        if (!m_bypass) WidenSelectionToLinks();
        return true;
    case WM_KILLFOCUS:
        if (!(m_typingFlags & kTypingDrop) && !m_bypass) ClearTypingFlags();
        return false;
    case WM_CONTEXTMENU:
        ShowContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        result = 0;
        return true;
    case WM_RBUTTONUP: {
        // Not passed on: the control's default would ask for the menu a second time.
        POINT point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ClientToScreen(m_hWnd, &point);
        ShowContextMenu(point);
        result = 0;
        return true;
    }
    default:
        break;
    }
    if (m_bypass) return CRichEditCtrl1::OnMessage(msg, wParam, lParam, result);
    switch (msg) {
    case WM_KEYDOWN:
        return FilterKeyDown(static_cast<UINT>(wParam), lParam, result);
    case WM_CHAR:
        return FilterChar(wParam, lParam, result);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        return FilterKeyUp(static_cast<UINT>(wParam), lParam, result);
    case WM_CLEAR:
        return FilterEdit(msg, wParam, lParam, EditRequest::kClear, true, result);
    case WM_CUT:
        return FilterEdit(msg, wParam, lParam, EditRequest::kCut, true, result);
    case WM_PASTE:
    case EM_PASTESPECIAL:
        return FilterEdit(msg, wParam, lParam, EditRequest::kReplace, true, result);
    case EM_REPLACESEL:
        return FilterEdit(msg, wParam, lParam, EditRequest::kReplace, false, result);
    case EM_STREAMIN:
        if (wParam & SFF_SELECTION) return FilterEdit(msg, wParam, lParam, EditRequest::kReplace, false, result);
        [[fallthrough]];
    case WM_SETTEXT: {
        // The whole text is replaced: nothing of it stays for a link to move with.
        {
            CFlagScope bypass(m_bypass, 1);
            result = DefaultProc(msg, wParam, lParam);
        }
        m_knownLength = GetCharCount();
        return true;
    }
    case WM_UNDO:
    case EM_UNDO:
        Undo();
        result = TRUE;
        return true;
    case EM_REDO:
        result = FALSE;
        return true;
    case EM_SETCHARFORMAT:
        return FilterCharFormat(wParam, lParam, result);
    case EM_SETPARAFORMAT:
        ClearTypingFlags();
        return false;
    default:
        return false;
    }
}

bool CArticleContent::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_COMMAND && reinterpret_cast<HWND>(lParam) == m_hWnd && HIWORD(wParam) == EN_CHANGE) {
        OnContentChanged();
        return false;  // the parent hears of the change too
    }
    if (msg != WM_NOTIFY) return false;
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != m_hWnd) return false;
    switch (header->code) {
    case EN_PROTECTED:
        result = AnswerProtected(reinterpret_cast<ENPROTECTED*>(lParam));
        return true;
    case EN_SELCHANGE: {
        auto* notice = reinterpret_cast<SELCHANGE*>(lParam);
        ClampSelection(notice, result);
        if (!m_bypass) m_lastSelection = {notice->chrg.cpMin, notice->chrg.cpMax};
        return false;
    }
    case EN_DRAGDROPDONE:
        OnDragDropDone();
        return false;
    default:
        return false;
    }
}

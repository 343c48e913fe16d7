#include "article/ui/article_content.h"

#include <algorithm>
#include <new>

#include "article/link_upkeep.h"
#include "article/rich_text_rules.h"
#include "storage/quor_error.h"

namespace {

CHARFORMAT2A LookFormat(DWORD mask, DWORD effects, COLORREF color)
{
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    format.dwEffects = effects;
    format.crTextColor = color;
    return format;
}

}  // namespace

CArticleContent::CArticleContent()
{
    m_handCursor = LoadCursor(nullptr, IDC_HAND);
    m_currentCursor = LoadCursor(nullptr, IDC_IBEAM);
}

// System cursors are shared and never destroyed.
CArticleContent::~CArticleContent() = default;

bool CArticleContent::Create(DWORD style, const RECT& rect, HWND parent, int id)
{
    if (!CRichEditCtrl1::Create(style, rect, parent, id)) return false;
    const LRESULT mask = SendMessage(EM_GETEVENTMASK);
    SendMessage(EM_SETEVENTMASK, 0, mask | ENM_CHANGE | ENM_SELCHANGE | ENM_PROTECTED | ENM_DRAGDROPDONE);
    m_knownLength = GetCharCount();
    return true;
}

void CArticleContent::ClearText()
{
    if (GetCharCount() > 0) {
        CFlagScope bypass(m_bypass, 1);
        CRichEditCtrl1::ClearText();
    }
    m_knownLength = 0;
}

// ---- Loading ----

void CArticleContent::LoadWithBypass(const std::string& rtf)
{
    CFlagScope bypass(m_bypass, 1);
    // The old text goes first, so that taking protection off the empty control costs nothing;
    // the new text comes in without protection (the links get theirs from their look).
    ClearText();
    CHARFORMAT2A unprotect = LookFormat(CFM_PROTECTED, 0, 0);
    SetCharFormat(unprotect, SCF_ALL);
    // A visible control lays out and paints as the text streams in; once at the end is enough.
    SendMessage(WM_SETREDRAW, FALSE);
    try {
        SetRtf(WithoutProtection(rtf));
    } catch (...) {
        SendMessage(WM_SETREDRAW, TRUE);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        throw;
    }
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    m_knownLength = GetCharCount();
    m_unprotected = true;
    m_addressTracker.Reset();
}

void CArticleContent::LoadWithLinks(const std::string& rtf)
{
    LoadWithBypass(rtf);
    if (m_links.GetCount() > 0) ApplyLinkFormatting();
}

void CArticleContent::LoadRtfContent(const std::string& rtf, bool addressesShown, const CLinkRangeList* links)
{
    if (links) {
        try {
            m_links.Copy(*links);
        } catch (const std::bad_alloc&) {
            throw CQuorError(kOutOfMemory);
        }
        LoadWithLinks(rtf);
    } else {
        LoadWithBypass(rtf);
    }
    m_addressesShown = addressesShown ? 1 : 0;
}

void CArticleContent::LoadTextContent(const std::string& text)
{
    {
        CFlagScope bypass(m_bypass, 1);
        CHARFORMAT2A unprotect = LookFormat(CFM_PROTECTED, 0, 0);
        SetCharFormat(unprotect, SCF_ALL);
        SetPlainText(text, false);
        m_knownLength = GetCharCount();
        m_addressTracker.Reset();
        m_unprotected = true;
    }
    m_addressesShown = 0;
}

// ---- Links ----

void CArticleContent::SetLinkRanges(const CLinkRangeList& links)
{
    try {
        m_links.Copy(links);
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    ApplyLinkFormatting();
}

void CArticleContent::ClearLinkRanges()
{
    m_links.RemoveAll();
    ApplyLinkFormatting();
}

void CArticleContent::SetLinkMode(int mode)
{
    m_linksActive = mode < 2 ? 1 : 0;
    // Stored links keep their look in every mode; the addresses get or lose theirs over the whole text.
    const bool shown = mode == 0;
    if (shown != (m_addressesShown != 0)) SwitchAddresses(shown);
}

int CArticleContent::FindLinkAt(int32_t position, LinkRange* link) const
{
    const int index = FindLinkContaining(m_links, position);
    if (index >= 0 && link) *link = *m_links.Item(index);
    return index;
}

void CArticleContent::ApplyLinkLook(int32_t start, int32_t end)
{
    m_unprotected = false;
    SetSel(start, end);
    SetCharFormat(LookFormat(CFM_COLOR | CFM_PROTECTED | CFM_UNDERLINE, CFE_PROTECTED | CFE_UNDERLINE, kLinkColor),
                  SCF_SELECTION);
}

char CArticleContent::CharAt(int32_t position) const
{
    char text[2] = {};
    TEXTRANGEA range = {{position, position + 1}, text};
    SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    return text[0];
}

bool CArticleContent::HasAddressLook(int32_t position)
{
    SetSel(position, position + 1);
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    return (format.dwMask & (CFM_COLOR | CFM_UNDERLINE)) == (CFM_COLOR | CFM_UNDERLINE) &&
           !(format.dwEffects & CFE_AUTOCOLOR) && format.crTextColor == kAddressColor &&
           (format.dwEffects & CFE_UNDERLINE);
}

// Walks back from `position` over line ends, address-look characters and stored links (whose
// colour is the link look, not the text's) to the first other character.
COLORREF CArticleContent::NeighbourColor(int32_t position, bool& automatic)
{
    for (int32_t p = position - 1; p >= 0; --p) {
        const int link = FindLinkContaining(m_links, p);
        if (link >= 0 && m_links.Item(link)->end > p) {
            p = m_links.Item(link)->start;
            continue;
        }
        const char c = CharAt(p);
        if (c == '\r' || c == '\n' || HasAddressLook(p)) continue;
        SetSel(p, p + 1);
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        automatic = (format.dwEffects & CFE_AUTOCOLOR) != 0;
        return format.crTextColor;
    }
    CHARFORMATA format;
    GetDefaultCharFormat(format);
    automatic = (format.dwEffects & CFE_AUTOCOLOR) != 0;
    return format.crTextColor;
}

void CArticleContent::ApplyPlainLook(int32_t start, int32_t end)
{
    if (end <= start) return;
    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    int32_t selStart, selEnd;
    GetSel(selStart, selEnd);
    bool automatic = false;
    const COLORREF color = NeighbourColor(start, automatic);
    SetSel(start, end);
    SetCharFormat(LookFormat(CFM_COLOR | CFM_PROTECTED | CFM_UNDERLINE, automatic ? CFE_AUTOCOLOR : 0, color),
                  SCF_SELECTION);
    SetSel(selStart, selEnd);
}

// After a format change over [start, end): the links there get their look back.
void CArticleContent::ApplyLinkLookOver(int32_t start, int32_t end)
{
    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    int32_t selStart, selEnd;
    GetSel(selStart, selEnd);
    bool any = false;
    for (int i = 0; i < m_links.GetCount(); ++i) {
        const LinkRange& link = *m_links.Item(i);
        if (link.start < end && link.end > start) {
            ApplyLinkLook(link.start, link.end);
            any = true;
        }
    }
    if (any) SetSel(selStart, selEnd);
}

void CArticleContent::ApplyLinkFormatting()
{
    if (!m_hWnd) return;
    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    const LRESULT eventMask = SendMessage(EM_GETEVENTMASK);
    SendMessage(EM_SETEVENTMASK, 0, 0);
    const bool hadFocus = ::GetFocus() == m_hWnd;
    if (hadFocus) ::SetFocus(nullptr);
    SendMessage(EM_HIDESELECTION, TRUE);
    // Every look change repaints a visible control; with redraw off the whole pass paints once.
    SendMessage(WM_SETREDRAW, FALSE);
    int32_t selStart, selEnd;
    GetSel(selStart, selEnd);
    try {
        // Right after a load nothing is protected yet: the pass over the whole text is saved.
        if (!m_unprotected) SetCharFormat(LookFormat(CFM_PROTECTED, 0, 0), SCF_ALL);
        for (int i = 0; i < m_links.GetCount(); ++i) ApplyLinkLook(m_links.Item(i)->start, m_links.Item(i)->end);
    } catch (...) {
        SetSel(selStart, selEnd);
        SendMessage(WM_SETREDRAW, TRUE);
        SendMessage(EM_HIDESELECTION, FALSE);
        SendMessage(EM_SETEVENTMASK, 0, eventMask);
        throw;
    }
    SetSel(selStart, selEnd);
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    SendMessage(EM_HIDESELECTION, FALSE);
    if (hadFocus && !::GetFocus()) ::SetFocus(m_hWnd);
    SendMessage(EM_SETEVENTMASK, 0, eventMask);
}

void CArticleContent::AddLink(const LinkRange& range)
{
    // Sorted by start, as the article stores them.
    int at = 0;
    while (at < m_links.GetCount() && m_links.Item(at)->start <= range.start) ++at;
    CLinkRangeList sorted;
    for (int i = 0; i < at; ++i) sorted.Add(*m_links.Item(i));
    sorted.Add(range);
    for (int i = at; i < m_links.GetCount(); ++i) sorted.Add(*m_links.Item(i));
    m_links.Copy(sorted);

    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    CHARFORMAT2A before = {};
    before.cbSize = sizeof before;
    SetSel(range.start, range.start + 1);
    SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&before));
    ApplyLinkLook(range.start, range.end);
    // Text typed in front of the link keeps the look the characters there had.
    SetSel(range.start, range.start);
    SetCharFormat(before, SCF_SELECTION);
}

void CArticleContent::RemoveLinksInRange(const LinkRange& range)
{
    if (range.type == 0) return;
    m_links.RemoveRange(range.start, range.end);
    ApplyPlainLook(range.start, range.end);
}

void CArticleContent::InsertLinkText(const std::string& text, bool canUndo, bool keepLinks)
{
    if (canUndo) SaveUndoSnapshot();
    int32_t start, end;
    GetSel(start, end);
    int inside = -1;
    if (keepLinks) {
        for (int i = 0; i < m_links.GetCount() && inside < 0; ++i)
            if (m_links.Item(i)->start <= start && end <= m_links.Item(i)->end) inside = i;
    }
    CFlagScope bypass(m_bypass, 1);
    const int32_t before = GetCharCount();
    SendMessage(EM_REPLACESEL, canUndo ? TRUE : FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    const int32_t delta = GetCharCount() - before;
    if (inside >= 0) {
        LinkRange link = *m_links.Item(inside);
        m_links.Shift(link.start + 1, delta);  // the links behind it
        link.end += delta;
        m_links.SetAt(inside, link);
    } else {
        ShiftLinksAfterEdit(m_links, start, end, delta);
    }
    m_knownLength = GetCharCount();
}

int CArticleContent::ReplaceAllKeepingLinks(DWORD flags, const std::string& find, const std::string& replacement)
{
    int count = 0;
    {
        // The replacements are accounted here, not as changes the control reports.
        CFlagScope busy(m_busy, 1);
        CFlagScope bypass(m_bypass, 1);
        m_unprotected = false;
        count = ReplaceAll(flags, find, replacement, &m_links);
        m_knownLength = GetCharCount();
    }
    m_typingGroup = TypingGroup::kNone;
    ClearTypingFlags();
    // Links that stretched or shrank take their look over their new extent.
    if (count > 0 && m_links.GetCount() > 0) ApplyLinkFormatting();
    return count;
}

void CArticleContent::SetReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    SendMessage(EM_SETREADONLY, readOnly ? TRUE : FALSE);
}

void CArticleContent::SetWordWrap(bool wrap)
{
    // Changing the target device lays the whole text out again (seconds for a long article), so it
    // is sent only when the wrapping changes.
    if (m_wrapApplied == (wrap ? 1 : 0))
        return;
    m_wordWrap = wrap;
    m_wrapApplied = wrap ? 1 : 0;
    SendMessage(EM_SETTARGETDEVICE, 0, wrap ? 0 : 1);
}

void CArticleContent::ResetDefaultFormat()
{
    if (GetCharCount() > 0) ClearText();
    CHARFORMATA format;
    GetDefaultCharFormat(format);
    CFlagScope bypass(m_bypass, 1);
    SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

// ---- Undo ----

void CArticleContent::SaveUndoSnapshot()
{
    if (m_readOnly) return;
    std::string rtf;
    GetRtf(rtf, false);
    m_undoRtf.swap(rtf);
    m_undoLinks.Copy(m_links);
    GetSel(m_undoSelection.start, m_undoSelection.end);
    m_undoFirstLine = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
    m_undoAddressesShown = m_addressesShown;
    m_hasUndo = true;
}

void CArticleContent::Undo()
{
    if (m_readOnly) return;
    if (!m_hasUndo) {
        // The control's own step cannot bring links back: only text without links may use it.
        if (m_links.GetCount() == 0) {
            CFlagScope bypass(m_bypass, 1);
            DefaultProc(EM_UNDO, 0, 0);
            m_knownLength = GetCharCount();
        }
        return;
    }
    std::string currentRtf;
    GetRtf(currentRtf, false);
    CLinkRangeList currentLinks;
    currentLinks.Copy(m_links);
    TextSpan currentSelection;
    GetSel(currentSelection.start, currentSelection.end);
    const int currentFirstLine = static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE));
    const int currentShown = m_addressesShown;

    SendMessage(WM_SETREDRAW, FALSE);
    m_links.Copy(m_undoLinks);
    LoadWithLinks(m_undoRtf);
    SendMessage(WM_SETREDRAW, FALSE);
    m_addressesShown = m_undoAddressesShown;
    {
        CFlagScope bypass(m_bypass, 1);
        SendMessage(EM_LINESCROLL, 0, m_undoFirstLine - static_cast<int>(SendMessage(EM_GETFIRSTVISIBLELINE)));
        SetSel(m_undoSelection.start, m_undoSelection.end);
    }
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);

    m_undoRtf.swap(currentRtf);
    m_undoLinks.Copy(currentLinks);
    m_undoSelection = currentSelection;
    m_undoFirstLine = currentFirstLine;
    m_undoAddressesShown = currentShown;
    m_typingGroup = TypingGroup::kNone;
    ClearTypingFlags();
}

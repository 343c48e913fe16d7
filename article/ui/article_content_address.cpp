// The article pane's recognised addresses: the address look over a range, its removal, the look
// following the word at the caret while the user types, the hand cursor over an address and the
// double-click that opens one. What is an address and where the look goes is decided window-free
// (article/address_look.h); here the text is read from the control and the looks are set.
#include <windowsx.h>

#include <algorithm>
#include <new>

#include "article/ui/article_content.h"
#include "framework/ui/app.h"
#include "storage/link_shell.h"
#include "storage/link_target.h"
#include "storage/quor_error.h"

namespace {

// Longer ranges are switched with the main window disabled and the wait cursor showing.
constexpr int32_t kSlowRange = 10000;

// The control's text as positions see it, read in pieces: the piece around a wanted position is
// fetched when it is not the one held (a keystroke reads a word or two, a whole-range pass reads its
// range once).
class CControlText : public IPositionText {
public:
    CControlText(const CArticleContent& pane, int32_t from = 0, int32_t to = 0) : m_pane(pane)
    {
        m_length = pane.GetCharCount();
        if (to > from) Fetch(from, to);
    }
    int32_t Length() const override { return m_length; }
    char CharAt(int32_t position) const override
    {
        if (position < 0 || position >= m_length) return '\0';
        if (position < m_start || position >= m_start + static_cast<int32_t>(m_text.size()))
            Fetch(position - kPiece / 2, position + kPiece / 2);
        const int32_t offset = position - m_start;
        return offset >= 0 && offset < static_cast<int32_t>(m_text.size()) ? m_text[static_cast<size_t>(offset)] : '\0';
    }

private:
    static constexpr int32_t kPiece = 1024;

    void Fetch(int32_t from, int32_t to) const
    {
        from = std::max<int32_t>(from, 0);
        to = std::min(to, m_length);
        m_start = from;
        m_text.assign(static_cast<size_t>(std::max(to - from, 0)) + 1, '\0');
        TEXTRANGEA range = {{from, to}, &m_text[0]};
        const LRESULT copied = m_pane.SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        m_text.resize(static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    }

    const CArticleContent& m_pane;
    int32_t m_length = 0;
    mutable int32_t m_start = 0;
    mutable std::string m_text;
};

// The formats of runs of the control's text, read one run at a time.
class CControlLooks : public IRunLooks {
public:
    explicit CControlLooks(CArticleContent& pane) : m_pane(pane) {}
    RunLook Look(int32_t start, int32_t end) override
    {
        m_pane.SetSel(start, end);
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        m_pane.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        RunLook look;
        look.uniform = (format.dwMask & (CFM_COLOR | CFM_UNDERLINE)) == (CFM_COLOR | CFM_UNDERLINE);
        look.address = look.uniform && !(format.dwEffects & CFE_AUTOCOLOR) &&
                       format.crTextColor == CArticleContent::kAddressColor && (format.dwEffects & CFE_UNDERLINE);
        return look;
    }

private:
    CArticleContent& m_pane;
};

// The main window disabled with the wait cursor for a long pass.
class CSlowPass {
public:
    explicit CSlowPass(bool slow)
    {
        if (!slow) return;
        CWinApp* app = CWinApp::Current();
        CWnd* main = app ? app->GetMainWnd() : nullptr;
        if (main && main->m_hWnd) {
            m_main = main->m_hWnd;
            ::UpdateWindow(m_main);
            ::EnableWindow(m_main, FALSE);
        }
        m_cursor = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
        m_slow = true;
    }
    ~CSlowPass()
    {
        if (m_main) ::EnableWindow(m_main, TRUE);
        if (m_slow) ::SetCursor(m_cursor);
    }
    CSlowPass(const CSlowPass&) = delete;
    CSlowPass& operator=(const CSlowPass&) = delete;

private:
    HWND m_main = nullptr;
    HCURSOR m_cursor = nullptr;
    bool m_slow = false;
};

}  // namespace

void CArticleContent::ApplyAddressLook(int32_t start, int32_t end)
{
    if (!m_addressesShown || end <= start) return;
    SetSel(start, end);
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_UNDERLINE;
    format.dwEffects = CFE_UNDERLINE;
    format.crTextColor = kAddressColor;
    SetCharFormat(format, SCF_SELECTION);
}

void CArticleContent::ApplyAddressChanges(const std::vector<AddressLookChange>& changes)
{
    if (changes.empty()) return;
    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    int32_t selStart, selEnd;
    GetSel(selStart, selEnd);
    const bool hidden = SendMessage(EM_HIDESELECTION, TRUE) != 0;
    (void)hidden;
    for (const AddressLookChange& change : changes) {
        if (change.add) {
            ApplyAddressLook(change.start, change.end);
        } else {
            CControlLooks looks(*this);
            for (const TextSpan& run : AddressRuns(looks, change.start, change.end)) ApplyPlainLook(run.start, run.end);
        }
    }
    SetSel(selStart, selEnd);
    SendMessage(EM_HIDESELECTION, FALSE);
}

void CArticleContent::FormatAddresses(int32_t from, int32_t to, bool clearGaps)
{
    if (!m_hWnd) return;
    const int32_t length = GetCharCount();
    from = std::clamp<int32_t>(from, 0, length);
    to = std::clamp<int32_t>(to, from, length);
    CSlowPass slow(to - from > kSlowRange);
    // The range is read once; words reaching past it are read on demand.
    const CControlText text(*this, from, to > from ? to : from + 1);
    std::vector<AddressLookChange> changes;
    PlanAddressLooks(m_finder, text, m_links, from, to, clearGaps, changes);
    ApplyAddressChanges(changes);
    m_addressTracker.ForgetLook();
}

void CArticleContent::RemoveAddressLook(int32_t from, int32_t to)
{
    if (!m_hWnd || to <= from) return;
    ApplyAddressChanges({{from, to, false}});
}

void CArticleContent::RefreshAddresses(int32_t from, int32_t to)
{
    if (!m_addressesShown || !m_hWnd) return;
    const CControlText text(*this);
    const TextSpan range = WidenToBlanks(text, from, to);
    FormatAddresses(range.start, range.end, true);
}

void CArticleContent::SwitchAddresses(bool shown)
{
    if (!m_hWnd) {
        m_addressesShown = shown ? 1 : 0;
        return;
    }
    CFlagScope busy(m_busy, 1);
    CFlagScope bypass(m_bypass, 1);
    const LRESULT eventMask = SendMessage(EM_SETEVENTMASK, 0, 0);
    SendMessage(WM_SETREDRAW, FALSE);
    int32_t selStart, selEnd;
    GetSel(selStart, selEnd);
    try {
        const int32_t length = GetCharCount();
        if (shown) {
            m_addressesShown = 1;
            FormatAddresses(0, length, false);
        } else {
            // Every recognised address takes the colour of the text before it, without underline.
            m_addressesShown = 0;
            CSlowPass slow(length > kSlowRange);
            const CControlText text(*this, 0, length);
            std::vector<AddressLookChange> changes;
            PlanAddressLooks(m_finder, text, m_links, 0, length, false, changes);
            SendMessage(EM_HIDESELECTION, TRUE);
            for (const AddressLookChange& change : changes) ApplyPlainLook(change.start, change.end);
            SendMessage(EM_HIDESELECTION, FALSE);
        }
    } catch (...) {
        SetSel(selStart, selEnd);
        SendMessage(WM_SETREDRAW, TRUE);
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        SendMessage(EM_SETEVENTMASK, 0, eventMask);
        throw;
    }
    SetSel(selStart, selEnd);
    SendMessage(WM_SETREDRAW, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    SendMessage(EM_SETEVENTMASK, 0, eventMask);
    m_addressTracker.Reset();
}

void CArticleContent::TrackAddressesAfterKeystroke(int32_t oldCaret, int32_t newCaret, int32_t delta)
{
    if (!m_addressesShown || delta == 0) return;
    const CControlText text(*this);
    std::vector<AddressLookChange> changes;
    m_addressTracker.AfterKeystroke(m_finder, text, m_links, oldCaret, newCaret, delta, changes);
    if (changes.empty()) return;
    // Without word wrap the control would repaint the long line at every change.
    if (!m_wordWrap) SendMessage(WM_SETREDRAW, FALSE);
    ApplyAddressChanges(changes);
    if (!m_wordWrap) {
        SendMessage(WM_SETREDRAW, TRUE);
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
    }
}

void CArticleContent::SetCursorAtPoint(LPARAM point)
{
    const int32_t position = CharFromPoint(point);
    const CControlText text(*this);
    const CLinkSpans spans(m_links);
    const TextSpan word = WordAround(text, spans, position);
    const AddressMatch match = FindAddressInWord(m_finder, text, word, word.start);
    const bool over = match.kind != CLinkFinder::kNone && position >= match.start && position < match.end;
    m_currentCursor = over ? m_handCursor : LoadCursor(nullptr, IDC_IBEAM);
    ::SetCursor(m_currentCursor);
}

bool CArticleContent::OpenAddressAt(int32_t position)
{
    const CControlText text(*this);
    const CLinkSpans spans(m_links);
    const TextSpan word = WordAround(text, spans, position);
    const AddressMatch match = FindAddressInWord(m_finder, text, word, word.start);
    if (match.kind == CLinkFinder::kNone) return false;

    std::string path;
    TextSpan replaced = {match.start, match.end};
    if (match.kind == CLinkFinder::kQuotedFile) {
        path = QuotedPathAround(text, position, &replaced);
        if (path.empty()) return true;
    } else if (match.kind == CLinkFinder::kFile) {
        for (int32_t p = match.start; p < match.end; ++p) path += text.CharAt(p);
        if (path.size() > 7) path.erase(0, 7);
    } else {
        std::string address;
        for (int32_t p = match.start; p < match.end; ++p) address += text.CharAt(p);
        if (match.kind == CLinkFinder::kEmail) address.insert(0, "mailto:");
        {
            CFlagScope bypass(m_bypass, 1);
            SetSel(match.start, match.end);
        }
        CLinkFinder::OpenLink(address);
        return true;
    }

    // A file address: when the file or folder exists, it is written as "file://" with the path in
    // double quotes, which keeps a path with blanks in one address.
    int32_t selStart, selEnd;
    GetSel(selStart, selEnd);
    {
        CFlagScope bypass(m_bypass, 1);
        SetSel(replaced.start, replaced.end);
    }
    CLinkTarget target;
    target.Set(CLinkTarget::kFile, path);
    ILinkShell* shell = GetLinkShell();
    bool folder = false;
    if (!shell || !shell->PathExists(target.GetFullPath(shell->BaseFolder()), folder)) return true;
    const std::string address = QuotedFileAddress(path);
    InsertLinkText(address, true, false);
    {
        CFlagScope bypass(m_bypass, 1);
        SetSel(selStart, selEnd);
    }
    RefreshAddresses(replaced.start, replaced.start + static_cast<int32_t>(address.size()));
    return true;
}

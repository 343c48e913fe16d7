#include "article/ui/article_preview.h"

#include <new>

#include "document/quorvane_doc.h"
#include "storage/article_record.h"
#include "storage/quor_error.h"

CArticlePreview::CArticlePreview() = default;

CArticlePreview::~CArticlePreview() = default;

bool CArticlePreview::CreatePane(HWND parent, int id)
{
    RECT none = {0, 0, 10, 10};
    DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | ES_MULTILINE | ES_READONLY |
                  ES_AUTOVSCROLL | ES_AUTOHSCROLL;
    if (!Create(style, none, parent, id))
        return false;
    SetReadOnly(true);
    SendMessage(EM_EXLIMITTEXT, 0, 0xFFFFFF);
    // Key events reach the parent's message filter too.
    SendMessage(EM_SETEVENTMASK, 0, SendMessage(EM_GETEVENTMASK) | ENM_KEYEVENTS);
    return true;
}

void CArticlePreview::SetDocument(CQuorvaneDoc* document)
{
    m_documentOf = document;
    m_links = document ? std::make_unique<CDocArticleLinks>(*document) : nullptr;
    CArticleContent::SetDocument(m_links.get());
    m_shown = -1;
}

void CArticlePreview::SetBackground(COLORREF color)
{
    SendMessage(EM_SETBKGNDCOLOR, 0, color);
}

void CArticlePreview::ShowArticle(int32_t id, bool force)
{
    if (!m_hWnd)
        return;
    if (id < 0) {
        if (m_shown != -1)
            ClearText();
        ClearLinkRanges();
        m_shown = -1;
        return;
    }
    if (id == m_shown && !force)
        return;
    if (!m_documentOf)
        return;
    try {
        CArticleRecord record;
        m_documentOf->LoadArticle(id, record);
        if (record.GetVersion() <= CArticleRecord::kPlainTextVersion) {
            ClearLinkRanges();
            LoadTextContent(record.GetText());
            SetSel(0, 0);
        } else {
            if (record.GetRtfText().empty())
                ClearText();
            else
                LoadRtfContent(record.GetRtfText(), AreAddressesShown());
            // Hidden text is shown in the preview.
            CHARFORMAT2A visible = {};
            visible.cbSize = sizeof(CHARFORMATA);
            visible.dwMask = CFM_HIDDEN;
            SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&visible));
            SetLinkRanges(record.GetLinks());
            ApplyLinkFormatting();
            SetSel(0, 0);
        }
        m_shown = id;
    } catch (const CQuorError& error) {
        ClearText();
        ClearLinkRanges();
        m_shown = -1;
        error.Report();
    } catch (const std::bad_alloc&) {
        ClearText();
        ClearLinkRanges();
        m_shown = -1;
    }
}

bool CArticlePreview::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_KEYDOWN && (wParam == VK_OEM_COMMA || wParam == VK_OEM_PERIOD) && GetKeyState(VK_CONTROL) < 0 &&
        GetKeyState(VK_SHIFT) < 0) {
        // The font-size keys: the preview's text is the article's, not to be changed here.
        result = 0;
        return true;
    }
    if (msg == WM_KEYDOWN && wParam == VK_TAB) {
        HWND parent = ::GetParent(m_hWnd);
        HWND next = parent ? GetNextDlgTabItem(parent, m_hWnd, GetKeyState(VK_SHIFT) < 0) : nullptr;
        if (next)
            ::SetFocus(next);
        result = 0;
        return true;
    }
    if (msg == WM_CHAR && wParam == '\t') {
        result = 0;
        return true;
    }
    return CArticleContent::OnMessage(msg, wParam, lParam, result);
}

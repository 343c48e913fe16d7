// The article pane under the mouse: opening a link on a double-click, the hand cursor and the
// status-bar text over a stored link.
#include <windowsx.h>

#include <new>

#include "article/link_upkeep.h"
#include "article/ui/article_content.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "resources/resource.h"
#include "storage/link_shell.h"
#include "storage/link_target.h"
#include "storage/quor_error.h"

int32_t CArticleContent::CharFromPoint(LPARAM lParam) const
{
    POINTL point = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return static_cast<int32_t>(SendMessage(EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&point)));
}

bool CArticleContent::OnDoubleClick(LPARAM lParam, LRESULT& result)
{
    const int index = FindLinkAt(CharFromPoint(lParam));
    if (index >= 0) {
        result = 0;
        OpenLink(index);
        return true;
    }
    if (m_linksActive) {
        try {
            if (OpenAddressAt(CharFromPoint(lParam))) {
                result = 0;
                return true;
            }
        } catch (const CQuorError& e) {
            e.Report();
            result = 0;
            return true;
        } catch (const std::bad_alloc&) {
            ReportOutOfMemory();
            result = 0;
            return true;
        }
    }
    result = DefaultProc(WM_LBUTTONDBLCLK, MK_LBUTTON, lParam);
    // The control selected the word, perhaps with the blanks behind it. They are counted from the
    // selected text (EM_FINDWORDBREAK does not answer on every control), never past the word's start.
    int32_t start, end;
    GetSel(start, end);
    int32_t blanks = 0;
    while (end - blanks > start) {
        const char c = CharAt(end - blanks - 1);
        if (c != ' ' && c != '\t') break;
        ++blanks;
    }
    m_wordBlanks = blanks;
    m_typingFlags |= kTypingWordSelection;
    return true;
}

void CArticleContent::OpenLink(int index)
{
    const LinkRange* found = m_links.Item(index);
    if (!found) return;
    LinkRange link = *found;
    {
        CFlagScope bypass(m_bypass, 1);
        SetSel(link.start, link.end);
    }
    try {
        switch (link.type) {
        case CLinkTarget::kFile: {
            CLinkTarget target;
            target.Set(CLinkTarget::kFile, link.target);
            target.Open(false, 0);
            if (target.IsPathCorrected()) {
                link.target = target.GetStoredTarget();
                m_links.SetAt(index, link);
                // The article counts as changed, as after an edit.
                const int id = ::GetDlgCtrlID(m_hWnd);
                ::PostMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(id, EN_CHANGE),
                               reinterpret_cast<LPARAM>(m_hWnd));
            }
            break;
        }
        case CLinkTarget::kInternet: {
            CLinkTarget target;
            target.Set(CLinkTarget::kInternet, link.target);
            target.Open(false, 0);
            break;
        }
        case CLinkTarget::kArticle:
            if (m_document) OpenArticleLink(*m_document, link);
            break;
        default:
            break;
        }
    } catch (const CQuorError& e) {
        e.Report();
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
    }
}

void CArticleContent::ShowStatus(const std::string& text)
{
    if (m_statusText) m_statusText(text);
}

void CArticleContent::ShowLinkStatusText(const LinkRange& link)
{
    LinkRange shown = link;
    bool folder = false;
    if (link.type == CLinkTarget::kFile) {
        CLinkTarget target;
        target.Set(CLinkTarget::kFile, link.target);
        ILinkShell* shell = GetLinkShell();
        shown.target = target.GetFullPath(shell ? shell->BaseFolder() : std::string());
        const DWORD attributes = GetFileAttributesA(shown.target.c_str());
        folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    ShowStatus(LinkStatusText(m_document, shown, folder));
}

void CArticleContent::OnMouseMoved(LPARAM lParam)
{
    LinkRange link;
    if (FindLinkAt(CharFromPoint(lParam), &link) >= 0) {
        m_currentCursor = m_handCursor;
        ::SetCursor(m_currentCursor);
        try {
            ShowLinkStatusText(link);
        } catch (const std::bad_alloc&) {
        }
        return;
    }
    if (m_linksActive)
        SetCursorAtPoint(lParam);
    else
        m_currentCursor = LoadCursor(nullptr, IDC_IBEAM);
    ShowStatus(QuorLoadString(IDS_ARTICLE_CONTENT));
}

void CArticleContent::ShowContextMenu(POINT screen)
{
    ::SetFocus(m_hWnd);
    if (screen.x == -1 && screen.y == -1) {
        int32_t start, end;
        GetSel(start, end);
        POINTL caret = {0, 0};
        SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&caret), end);
        screen = {caret.x, caret.y};
        ::ClientToScreen(m_hWnd, &screen);
    }
    HMENU menu = ::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_CONTENT_BOX_MENU));
    if (!menu) return;
    HMENU popup = ::GetSubMenu(menu, 0);
    if (popup) TrackContextMenu(popup, screen);
    ::DestroyMenu(menu);
}

void CArticleContent::TrackContextMenu(HMENU popup, POINT screen)
{
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    HWND owner = main && main->m_hWnd ? main->m_hWnd : ::GetParent(m_hWnd);
    ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, owner, nullptr);
}

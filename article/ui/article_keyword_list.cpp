#include "article/ui/article_keyword_list.h"

bool CArticleKeywordList::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_LBUTTONDBLCLK:
        PostCommandToParent(kAddKeywordsCommand);
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        if (m_onMouseMove)
            m_onMouseMove();
        break;
    case WM_CHAR: {
        const auto ch = static_cast<unsigned char>(wParam);
        if (ch == VK_TAB && m_onTab) {
            m_onTab(GetKeyState(VK_SHIFT) < 0);
            result = 0;
            return true;
        }
        if (ch == VK_RETURN) {
            PostCommandToParent(kAddKeywordsCommand);
            result = 0;
            return true;
        }
        if (ch >= 0x20 && ch != 0x7F && m_onChar) {
            m_onChar(static_cast<char>(ch));
            result = 0;
            return true;
        }
        break;
    }
    default:
        break;
    }
    return CKeywordListBox::OnMessage(msg, wParam, lParam, result);
}

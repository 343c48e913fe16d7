// The index window's previews with the article preview the article module makes: one highlighted
// title shows its content with hidden text visible and its links applied, two show no content but
// their common keywords, a stored article is shown again, the automatic colour is the button face,
// the font-size keys do nothing and Tab leaves the pane.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "article/ui/article_preview.h"
#include "tests/support/index_window_fixture.h"

namespace {

std::string PaneText(HWND pane)
{
    GETTEXTLENGTHEX length = {GTL_DEFAULT, CP_ACP};
    LRESULT size = SendMessageA(pane, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    std::string text(static_cast<size_t>(size) + 1, '\0');
    GETTEXTEX get = {static_cast<DWORD>(text.size()), GT_DEFAULT, CP_ACP, nullptr, nullptr};
    LRESULT got = SendMessageA(pane, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(got > 0 ? got : 0));
    return text;
}

class ArticlePreviewTest : public CIndexWindowFixture {
protected:
    // Keywords alpha 0, beta 1, gamma 2. Articles: 0 "one" {alpha, beta} with hidden text, 1 "two"
    // {beta, gamma}, 2 "three" {gamma}.
    void SetUp() override
    {
        MakeFile({"alpha", "beta", "gamma"},
                 {{"one", {0, 1}, false, "{\\rtf1\\ansi shown {\\v secret} end\\par}"},
                  {"two", {1, 2}, false, "{\\rtf1\\ansi second text\\par}"},
                  {"three", {2}, false, "{\\rtf1\\ansi third\\par}"}});
        MakeFrame();
        m_profile.WriteInt("Index Display", "PreviewOn", 3);
        m_services.makeArticlePreview = [this] {
            auto preview = std::make_unique<CArticlePreview>();
            m_preview = preview.get();
            return std::unique_ptr<CIndexArticlePreview>(preview.release());
        };
        Open();
        ASSERT_NE(m_preview, nullptr);
    }
    // Highlights the titles of these articles, as a click does.
    void HighlightArticles(std::initializer_list<int32_t> ids)
    {
        CIndexTitleList& titles = m_view->TitleList();
        titles.SendMessage(LB_SETSEL, FALSE, -1);
        for (int32_t id : ids)
            titles.SelectId(id);
        TitlesSelectionChanged();
    }
    std::vector<std::string> PreviewKeywords()
    {
        std::vector<std::string> names;
        for (int i = 0; i < m_view->KeywordPreview().GetCount(); ++i)
            names.push_back(m_view->KeywordPreview().GetItemText(i));
        return names;
    }

    CArticlePreview* m_preview = nullptr;
};

TEST_F(ArticlePreviewTest, OneTitleShowsItsContentTwoTheirCommonKeywords)
{
    HighlightArticles({0});
    EXPECT_EQ(m_preview->GetShownArticle(), 0);
    std::string text = PaneText(m_preview->m_hWnd);
    EXPECT_NE(text.find("shown"), std::string::npos);
    EXPECT_NE(text.find("secret"), std::string::npos);  // hidden text is visible here
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    SendMessageA(m_preview->m_hWnd, EM_SETSEL, 7, 12);
    SendMessageA(m_preview->m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.dwEffects & CFE_HIDDEN, 0u);
    EXPECT_EQ(PreviewKeywords(), std::vector<std::string>({"alpha", "beta"}));

    HighlightArticles({0, 1});
    EXPECT_EQ(m_preview->GetShownArticle(), -1);
    EXPECT_EQ(PaneText(m_preview->m_hWnd), "");
    EXPECT_EQ(PreviewKeywords(), std::vector<std::string>({"beta"}));
    HighlightArticles({0, 2});
    EXPECT_TRUE(PreviewKeywords().empty());
}

TEST_F(ArticlePreviewTest, AStoredArticleIsShownAgain)
{
    HighlightArticles({1});
    ASSERT_NE(PaneText(m_preview->m_hWnd).find("second"), std::string::npos);
    CArticleRecord record;
    Document()->LoadArticle(1, record);
    record.SetRtfText("{\\rtf1\\ansi changed words\\par}");
    Document()->UpdateArticle(1, record, false);
    m_view->IndexNotify(IndexCode::kArticleChanged, 1, 0);
    EXPECT_NE(PaneText(m_preview->m_hWnd).find("changed words"), std::string::npos);
}

TEST_F(ArticlePreviewTest, AutomaticColourKeysAndTab)
{
    // The automatic colour (-1) is the button face: setting another one answers the previous.
    COLORREF previous = static_cast<COLORREF>(SendMessageA(m_preview->m_hWnd, EM_SETBKGNDCOLOR, 0, RGB(1, 2, 3)));
    EXPECT_EQ(previous, GetSysColor(COLOR_BTNFACE));

    HighlightArticles({2});
    std::string before = PaneText(m_preview->m_hWnd);
    m_preview->SetFocus();
    // Ctrl+Shift+, and Ctrl+Shift+. (the font-size keys) change nothing.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    SendMessageA(m_preview->m_hWnd, EM_SETSEL, 0, -1);
    SendMessageA(m_preview->m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    LONG size = format.yHeight;
    SendMessageA(m_preview->m_hWnd, WM_KEYDOWN, VK_OEM_PERIOD, 0);
    SendMessageA(m_preview->m_hWnd, WM_KEYDOWN, VK_OEM_COMMA, 0);
    SendMessageA(m_preview->m_hWnd, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(format.yHeight, size);
    keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(PaneText(m_preview->m_hWnd), before);

    // Tab leaves the pane for the next control.
    SendMessageA(m_preview->m_hWnd, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_NE(GetFocus(), m_preview->m_hWnd);
}

}  // namespace

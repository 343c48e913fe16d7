// The content of one article shown read-only: the index window's article preview (and the article
// dialogs' previews). Hidden text is shown, the article's links get their look and open on a
// double-click; the font-size keys do nothing; Tab leaves for the next control of the parent.
#pragma once
#include <memory>

#include "article/article_link.h"
#include "article/ui/article_content.h"
#include "index/ui/article_preview_pane.h"

class CQuorvaneDoc;

class CArticlePreview : public CArticleContent, public CIndexArticlePreview {
public:
    CArticlePreview();
    ~CArticlePreview() override;

    bool CreatePane(HWND parent, int id) override;
    HWND Handle() const override { return m_hWnd; }
    void SetDocument(CQuorvaneDoc* document) override;
    void ShowArticle(int32_t id, bool force) override;
    void SetBackground(COLORREF color) override;
    void SetLinkMode(int mode) override { CArticleContent::SetLinkMode(mode); }
    // The article shown; -1 for none.
    int32_t GetShownArticle() const { return m_shown; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CQuorvaneDoc* m_documentOf = nullptr;
    std::unique_ptr<CDocArticleLinks> m_links;
    int32_t m_shown = -1;
};

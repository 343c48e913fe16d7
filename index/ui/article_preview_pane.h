// The index window's article preview as the index view uses it: a read-only rich-text pane that shows
// the content of one article. The article window's module makes the real one (CArticlePreview, with
// the links of the article); without it the view keeps an empty read-only pane.
#pragma once
#include <windows.h>

#include <cstdint>

class CQuorvaneDoc;

class CIndexArticlePreview {
public:
    virtual ~CIndexArticlePreview() = default;
    // Creates the pane as child `id` of `parent`: multi-line, read-only, both scroll bars.
    virtual bool CreatePane(HWND parent, int id) = 0;
    virtual HWND Handle() const = 0;
    virtual void SetDocument(CQuorvaneDoc* document) = 0;
    // Shows article `id` (below 0: nothing); loads it only when it is another article or `force`.
    virtual void ShowArticle(int32_t id, bool force) = 0;
    virtual void SetBackground(COLORREF color) = 0;
    // 1: links active, addresses not shown; 2: neither.
    virtual void SetLinkMode(int mode) = 0;
};

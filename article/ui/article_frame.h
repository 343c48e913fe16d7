// The MDI child frame of an article window. New frames take the place and size the main frame
// remembers (when the ArtSize setting is 1); a restored frame hands its size back for the next one.
// The close box, the system menu's Close, Ctrl+F4 and Close Article ask the view first; the view
// closes the frame by a posted WM_CLOSE once it may, so no handler destroys the window it runs in.
#pragma once
#include "framework/ui/mdi_wnd.h"

class CArticleView;

class CArticleFrame : public CMDIChildWnd {
public:
    static constexpr int kMinWidth = 240;
    static constexpr int kMinHeight = 100;

    CArticleFrame() = default;
    ~CArticleFrame() override;

    CArticleView* GetArticleView() const;
    // The view's save check, then the pending keywords no open article uses any more are dropped.
    bool CanClose();

    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;

protected:
    void PreCreateWindow(MDICREATESTRUCTA& create) override;
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnCloseArticle();

    HICON m_icon = nullptr;
};

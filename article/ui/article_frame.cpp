#include "article/ui/article_frame.h"

#include "article/ui/article_view.h"
#include "document/quorvane_doc.h"
#include "resources/commands.h"
#include "resources/main_frame_res.h"
#include "shell/app_settings.h"

CArticleFrame::~CArticleFrame()
{
    if (m_icon)
        DestroyIcon(m_icon);
}

CArticleView* CArticleFrame::GetArticleView() const { return dynamic_cast<CArticleView*>(GetActiveView()); }

void CArticleFrame::PreCreateWindow(MDICREATESTRUCTA& create)
{
    const CArticleViewServices& services = CArticleView::Services();
    if (!services.nextWindowRect || !services.settings || services.settings->GetArtSize() != 1)
        return;
    RECT client = {0, 0, 0, 0};
    if (CMDIFrameWnd* main = GetMDIFrame())
        ::GetClientRect(main->GetMDIClient(), &client);
    RECT next = services.nextWindowRect(client.right, client.bottom);
    create.x = next.left;
    create.y = next.top;
    create.cx = next.right;
    create.cy = next.bottom;
}

bool CArticleFrame::OnCreate(CREATESTRUCTA* create, LRESULT& result)
{
    m_icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ARTICLE_FRAME), IMAGE_ICON, 16, 16, 0));
    if (m_icon)
        SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    return CMDIChildWnd::OnCreate(create, result);
}

bool CArticleFrame::CanClose()
{
    CArticleView* view = GetArticleView();
    if (!view)
        return true;
    bool may = view->PromptSaveAndClose();
    if (CQuorvaneDoc* document = view->GetDoc())
        document->PurgePendingKeywords();
    return may;
}

bool CArticleFrame::OnCmdMsg(unsigned id, CCmdUI* ui)
{
    static const CommandEntry<CArticleFrame> kCommands[] = {
        {IDM_ARTICLE_CLOSE, &CArticleFrame::OnCloseArticle},
    };
    return RouteToTable(this, kCommands, id, ui) || CMDIChildWnd::OnCmdMsg(id, ui);
}

void CArticleFrame::OnCloseArticle()
{
    // The view posts the close itself once it may.
    CanClose();
}

bool CArticleFrame::OnSize(UINT type, int width, int height, LRESULT& result)
{
    if (type == SIZE_RESTORED && CArticleView::Services().storeWindowSize) {
        RECT window;
        ::GetWindowRect(m_hWnd, &window);
        CArticleView::Services().storeWindowSize(window.right - window.left, window.bottom - window.top);
    }
    return CMDIChildWnd::OnSize(type, width, height, result);
}

bool CArticleFrame::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = kMinWidth;
        info->ptMinTrackSize.y = kMinHeight;
        if (info->ptMaxTrackSize.x < info->ptMaxSize.x)
            info->ptMaxTrackSize.x = info->ptMaxSize.x;
        if (info->ptMaxTrackSize.y < info->ptMaxSize.y)
            info->ptMaxTrackSize.y = info->ptMaxSize.y;
        result = 0;
        return true;
    }
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            CanClose();
            result = 0;
            return true;
        }
        return CMDIChildWnd::OnMessage(msg, wParam, lParam, result);
    default:
        return CMDIChildWnd::OnMessage(msg, wParam, lParam, result);
    }
}

#include "framework/ui/view.h"

#include "framework/ui/frame_wnd.h"

const char CView::kClassName[] = "QuorView";

CView::~CView()
{
    Detach();
}

bool CView::Create(CFrameWnd* frame, CDocument* document, int id)
{
    if (!RegisterWindowClass(kClassName))
        return false;
    RECT rect = frame->GetClientRect();
    if (!CreateEx(WS_EX_CLIENTEDGE, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, frame->m_hWnd,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id))))
        return false;
    m_frame = frame;
    m_document = document;
    if (document)
        document->AddView(this);
    return true;
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CDocumentView* sender, long hint, void* hintObject)
{
    Invalidate();
}

bool CView::OnDestroy(LRESULT& result)
{
    Detach();
    return false;
}

void CView::Detach()
{
    if (m_frame && m_frame->GetActiveView() == this)
        m_frame->SetActiveView(nullptr);
    m_frame = nullptr;
    // Removing the last view may delete the document.
    if (CDocument* document = m_document) {
        m_document = nullptr;
        document->RemoveView(this);
    }
}

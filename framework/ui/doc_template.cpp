#include "framework/ui/doc_template.h"

#include <algorithm>

#include "framework/ui/mdi_wnd.h"
#include "framework/ui/view.h"

CDocTemplate::CDocTemplate(int resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                           ViewFactory makeView)
    : m_resourceId(resourceId),
      m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)),
      m_makeView(std::move(makeView)),
      m_sharedMenu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId)))
{
}

CDocTemplate::~CDocTemplate()
{
    // Documents outliving the template (windows never closed) must not call back into it.
    for (auto& document : m_documents)
        document->SetOwner(nullptr);
    if (m_sharedMenu && IsMenu(m_sharedMenu))
        DestroyMenu(m_sharedMenu);
}

CDocument* CDocTemplate::OpenDocumentFile(CMDIFrameWnd* main, const std::string& path)
{
    std::unique_ptr<CDocument> document = m_makeDocument();
    bool ready = path.empty() ? document->OnNewDocument() : document->OnOpenDocument(path);
    if (!ready)
        return nullptr;
    return AddDocument(main, std::move(document));
}

CDocument* CDocTemplate::AddDocument(CMDIFrameWnd* main, std::unique_ptr<CDocument> document)
{
    if (document->GetTitle().empty())
        document->SetTitle("Untitled");
    CDocument* raw = document.get();
    m_documents.push_back(std::move(document));
    raw->SetOwner(this);
    if (!CreateNewFrame(main, raw)) {
        // No view was added, so nobody else frees it.
        if (raw->Views().empty())
            OnDocumentUnused(raw);
        return nullptr;
    }
    return raw;
}

CMDIChildWnd* CDocTemplate::CreateNewFrame(CMDIFrameWnd* main, CDocument* document)
{
    CMDIChildWnd* frame = m_makeFrame();
    frame->SetTemplate(m_resourceId, m_sharedMenu,
                       LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_resourceId)));
    if (!frame->Create(main, document->GetTitle())) {
        delete frame;
        return nullptr;
    }
    frame->m_autoDelete = true;
    CView* view = m_makeView();
    if (!view->Create(frame, document)) {
        delete view;
        frame->DestroyWindow();
        return nullptr;
    }
    view->m_autoDelete = true;
    frame->SetActiveView(view);
    view->OnInitialUpdate();
    frame->MDIActivate();
    view->SetFocus();
    return frame;
}

void CDocTemplate::OnDocumentUnused(CDocument* document)
{
    auto found = std::find_if(m_documents.begin(), m_documents.end(),
                              [document](const std::unique_ptr<CDocument>& d) { return d.get() == document; });
    if (found == m_documents.end())
        return;
    (*found)->DeleteContents();
    m_documents.erase(found);
}

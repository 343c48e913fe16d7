#include "framework/document.h"

#include <algorithm>

void CDocument::AddView(CDocumentView* view)
{
    if (std::find(m_views.begin(), m_views.end(), view) == m_views.end())
        m_views.push_back(view);
}

void CDocument::RemoveView(CDocumentView* view)
{
    auto found = std::find(m_views.begin(), m_views.end(), view);
    if (found == m_views.end())
        return;
    m_views.erase(found);
    if (m_views.empty() && m_owner)
        m_owner->OnDocumentUnused(this);
}

void CDocument::UpdateAllViews(CDocumentView* sender, long hint, void* hintObject)
{
    // A view may add or remove views while it updates; walk a copy.
    std::vector<CDocumentView*> views = m_views;
    for (CDocumentView* view : views) {
        if (view != sender)
            view->OnUpdate(sender, hint, hintObject);
    }
}

void CDocument::SetPathName(const std::string& path)
{
    m_pathName = path;
    size_t slash = path.find_last_of("\\/:");
    m_title = slash == std::string::npos ? path : path.substr(slash + 1);
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_modified = false;
    m_pathName.clear();
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path)
{
    DeleteContents();
    m_modified = false;
    SetPathName(path);
    return true;
}

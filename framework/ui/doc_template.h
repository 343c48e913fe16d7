// A document template ties a document class to the frame and view classes that show it: it creates
// a document with its first frame and view, or a further frame and view over an open document.
// Several templates may share one document class. The template that created a document deletes it
// when its last view is gone.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "framework/document.h"

class CMDIFrameWnd;
class CMDIChildWnd;
class CView;

class CDocTemplate : public CDocumentOwner {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<CMDIChildWnd*()>;
    using ViewFactory = std::function<CView*()>;

    // `resourceId` identifies the template (its frames' menu and icon in the resources).
    CDocTemplate(int resourceId, DocumentFactory makeDocument, FrameFactory makeFrame, ViewFactory makeView);
    // The same with the classes given as types, each default-constructible.
    template <class TDocument, class TFrame, class TView>
    static std::unique_ptr<CDocTemplate> Make(int resourceId)
    {
        return std::make_unique<CDocTemplate>(
            resourceId, [] { return std::unique_ptr<CDocument>(new TDocument); },
            [] { return static_cast<CMDIChildWnd*>(new TFrame); }, [] { return static_cast<CView*>(new TView); });
    }
    ~CDocTemplate() override;

    int ResourceId() const { return m_resourceId; }
    // The menu of resource `resourceId`, which every frame of this template shows while it is
    // active; null when the resources have none. Destroyed with the template.
    HMENU GetSharedMenu() const { return m_sharedMenu; }

    // A new document (`path` empty) or the document of `path`, with a frame and view in `main`;
    // nullptr when the document refused or a window could not be created.
    CDocument* OpenDocumentFile(CMDIFrameWnd* main, const std::string& path);
    // A document its caller made ready (a file it created), shown in a new frame and view; nullptr
    // when the windows could not be made, the document then being freed.
    CDocument* AddDocument(CMDIFrameWnd* main, std::unique_ptr<CDocument> document);
    // A further frame and view of this template over `document`, activated and initially updated.
    CMDIChildWnd* CreateNewFrame(CMDIFrameWnd* main, CDocument* document);

    const std::vector<std::unique_ptr<CDocument>>& Documents() const { return m_documents; }

    void OnDocumentUnused(CDocument* document) override;

private:
    int m_resourceId;
    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    HMENU m_sharedMenu;
    std::vector<std::unique_ptr<CDocument>> m_documents;
};

// A view: a child window of a frame that shows one document. It is a command target ahead of its
// document and hears of the document's changes through OnUpdate.
#pragma once
#include "framework/document.h"
#include "framework/ui/custom_wnd.h"

class CFrameWnd;

class CView : public CCustomWnd, public CDocumentView {
public:
    static const char kClassName[];

    ~CView() override;

    // Creates the view as child `id` of `frame`, filling its client area, and adds it to `document`.
    bool Create(CFrameWnd* frame, CDocument* document, int id = kPaneId);

    CDocument* GetDocument() const { return m_document; }
    CFrameWnd* GetParentFrame() const { return m_frame; }

    // Called once after the frame and view are built; the default updates the view as a whole.
    virtual void OnInitialUpdate();
    // The document changed; the default repaints the view.
    void OnUpdate(CDocumentView* sender, long hint, void* hintObject) override;

    // The child id of a frame's one view.
    enum { kPaneId = 0xE900 };

protected:
    bool OnDestroy(LRESULT& result) override;

private:
    void Detach();

    CDocument* m_document = nullptr;
    CFrameWnd* m_frame = nullptr;
};

// The document base: data that one or more views show. It knows its views only through the
// CDocumentView interface, so it builds without any window code.
#pragma once
#include <string>
#include <vector>

#include "framework/cmd_target.h"

class CDocument;

// A view as its document sees it.
class CDocumentView {
public:
    virtual ~CDocumentView() = default;
    // The document changed. `sender` is the view that made the change (nullptr: the document), `hint`
    // and `hintObject` say what changed; 0 and nullptr mean "everything".
    virtual void OnUpdate(CDocumentView* sender, long hint, void* hintObject) = 0;
};

// Whoever created a document and frees it when its last view is gone (a document template).
class CDocumentOwner {
public:
    virtual ~CDocumentOwner() = default;
    // The last view of `document` was removed; the owner may delete it.
    virtual void OnDocumentUnused(CDocument* document) = 0;
};

class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    ~CDocument() override = default;

    void AddView(CDocumentView* view);
    // Removes `view`; when it was the last one, the owner is told and may delete this document, so
    // the caller must not touch the document afterwards.
    void RemoveView(CDocumentView* view);
    const std::vector<CDocumentView*>& Views() const { return m_views; }
    void UpdateAllViews(CDocumentView* sender, long hint = 0, void* hintObject = nullptr);

    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    const std::string& GetPathName() const { return m_pathName; }
    // Sets the path and makes its file name (without folder) the title.
    void SetPathName(const std::string& path);
    const std::string& GetTitle() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }

    void SetOwner(CDocumentOwner* owner) { m_owner = owner; }

    // Called by the template that creates the document; false abandons it.
    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    // Frees what the document holds; called before the document is reused or deleted.
    virtual void DeleteContents() {}

private:
    std::vector<CDocumentView*> m_views;
    CDocumentOwner* m_owner = nullptr;
    bool m_modified = false;
    std::string m_pathName;
    std::string m_title;
};

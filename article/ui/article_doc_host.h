// The document's host once article windows exist: it opens an article in its own window (activating
// the window that already shows it), asks Save Unsaved Articles before an operation that reads the
// data file, and lets the user choose among duplicate articles. The application derives from it.
#pragma once
#include <memory>

#include "document/ui/doc_host_win.h"

class CDocTemplate;
class CMDIFrameWnd;

class CArticleDocHost : public CWindowsDocHost {
public:
    CArticleDocHost();
    ~CArticleDocHost() override;

    // The main frame whose MDI client holds the article windows; set before the first one opens.
    void SetArticleFrameOwner(CMDIFrameWnd* main) { m_main = main; }
    // The article windows' template (141), made on first use.
    CDocTemplate& ArticleTemplate();
    // The template once made, else null.
    CDocTemplate* GetArticleTemplate() const { return m_template.get(); }

    void OpenArticleWindow(CQuorvaneDoc& document, int32_t id) override;
    bool AskSaveUnsavedArticles(const std::string& caption) override;
    bool ChooseDuplicates(const std::vector<int32_t>& runs, bool afterImport, CArticleIdSet& marked) override;
    // The rich text of copied articles, built in a hidden control of the article windows' class.
    std::unique_ptr<IArticleRtfWriter> MakeArticleRtfWriter() override;
    // Remembers the document the duplicate dialog reads; a derived host calls it too.
    void SetCurrentDocument(CQuorvaneDoc* document) override { m_currentDocument = document; }

private:
    CMDIFrameWnd* m_main = nullptr;
    std::unique_ptr<CDocTemplate> m_template;
    int32_t m_pendingId = 0;
    CQuorvaneDoc* m_currentDocument = nullptr;
};

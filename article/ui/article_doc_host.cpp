#include "article/ui/article_doc_host.h"

#include "article/ui/article_dlgs.h"
#include "article/ui/article_frame.h"
#include "article/ui/article_view.h"
#include "article/ui/rtf_clipboard_writer.h"
#include "document/quorvane_doc.h"
#include "framework/ui/doc_template.h"
#include "resources/main_frame_res.h"
#include "storage/quor_error.h"

CArticleDocHost::CArticleDocHost() = default;
CArticleDocHost::~CArticleDocHost() = default;

CDocTemplate& CArticleDocHost::ArticleTemplate()
{
    if (!m_template) {
        // Article windows open over the document already open: the template never makes one.
        m_template = std::make_unique<CDocTemplate>(
            IDR_ARTICLE_FRAME, [] { return std::unique_ptr<CDocument>(); },
            [] { return static_cast<CMDIChildWnd*>(new CArticleFrame); },
            [this] {
                auto* view = new CArticleView;
                view->SetArticleId(m_pendingId);
                return static_cast<CView*>(view);
            });
    }
    return *m_template;
}

void CArticleDocHost::OpenArticleWindow(CQuorvaneDoc& document, int32_t id)
{
    if (id != CArticleView::kNewArticle) {
        if (auto* open = dynamic_cast<CArticleView*>(document.FindArticleView(id))) {
            if (auto* frame = dynamic_cast<CMDIChildWnd*>(open->GetParentFrame())) {
                if (IsIconic(frame->m_hWnd))
                    ShowWindow(frame->m_hWnd, SW_RESTORE);
                frame->MDIActivate();
            }
            return;
        }
    }
    if (!m_main)
        throw CQuorError(kInternalInitialization);
    m_pendingId = id;
    CMDIChildWnd* frame = ArticleTemplate().CreateNewFrame(m_main, &document);
    if (!frame)
        throw CQuorError(kOutOfMemory);
    // A new article's title is selected, ready to be typed over.
    auto* view = dynamic_cast<CArticleView*>(frame->GetActiveView());
    if (view && view->GetArticleId() == CArticleView::kNewArticle)
        view->SelectTitle();
}

bool CArticleDocHost::AskSaveUnsavedArticles(const std::string& caption)
{
    if (CArticleView::IsSavingWithoutWarnings())
        return true;
    CSaveUnsavedDlg dialog(MainWindow());
    dialog.m_operation = caption;
    if (dialog.DoModal() != IDYES)
        return false;
    if (dialog.m_noWarnings)
        CArticleView::SetSavingWithoutWarnings(true);
    return true;
}

bool CArticleDocHost::ChooseDuplicates(const std::vector<int32_t>& runs, bool afterImport, CArticleIdSet& marked)
{
    (void)afterImport;
    // The dialog reads titles, dates and keywords from the current document; without one the choice
    // is refused.
    CQuorvaneDoc* document = m_currentDocument;
    if (!document)
        return false;
    CDuplicateArticlesDlg dialog(*document, MainWindow());
    dialog.m_runs = runs;
    if (dialog.DoModal() != IDOK)
        return false;
    marked.Copy(dialog.m_marked);
    return true;
}

std::unique_ptr<IArticleRtfWriter> CArticleDocHost::MakeArticleRtfWriter()
{
    return std::make_unique<CRtfClipboardWriter>();
}

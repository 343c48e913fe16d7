// The query dialogs as the document's commands open them, and the index view's "Query Titles".
#include "index/query_list.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/index_view.h"
#include "index/ui/query_dlgs.h"
#include "index/ui/query_dlgs_res.h"
#include "resources/commands.h"
#include "shell/ui/quorvane_app.h"

namespace {

// What the query dialogs ask of the program while `app` runs them; `listFont` is the lists' font.
void InstallQueryServices(CQuorvaneApp& app, HFONT listFont)
{
    QueryDialogServices& services = QueryServices();
    services.chooseKeywordGroup = [&app, listFont](HWND parent) {
        CQuorvaneDoc* document = app.GetOpenDocument();
        if (!document)
            return kNoneId;
        CSelectKeywordGroupDlg dialog(*document, parent);
        dialog.m_listFont = listFont;
        return dialog.DoModal() == IDOK ? dialog.m_groupId : kNoneId;
    };
    services.savedQueriesChanged = [&app] {
        if (CQuorvaneDoc* document = app.GetOpenDocument())
            document->RebuildSavedQueryMenus();
    };
    services.showHelp = [&app](DWORD context) { app.ShowHelp(context); };
}

}  // namespace

bool CQuorvaneApp::RunBuildQuery(CQuorvaneDoc& document, std::string& text, int32_t& from, int32_t& to)
{
    InstallQueryServices(*this, m_listFont);
    CBuildQueryDlg dialog(MainWindow());
    dialog.SetSources(&document, m_listFont);
    dialog.m_savedQueries = &document.GetQueryList();
    return dialog.Edit(text, from, to);
}

bool CQuorvaneApp::RunManageQueries(CQuorvaneDoc& document, CCurrentQuery& current)
{
    InstallQueryServices(*this, m_listFont);
    CManageQueriesDlg dialog(document, current, m_listFont, MainWindow());
    return dialog.DoModal() == IDC_MQ_RUN;
}

int CQuorvaneApp::ChooseSavedQuery(CQuorvaneDoc& document)
{
    InstallQueryServices(*this, m_listFont);
    CSelectQueryDlg dialog(document.GetQueryList(), MainWindow());
    return dialog.DoModal() == IDOK ? dialog.m_chosen : -1;
}

void CQuorvaneApp::ShowQueryTitles(const CArticleIdSet& found)
{
    if (CQuorvaneDoc* document = GetOpenDocument()) {
        for (CDocumentView* view : document->Views()) {
            if (auto* index = dynamic_cast<CIndexView*>(view)) {
                index->Selection().ClearSelectedKeywords();
                index->Selection().ShowResult(found, kTitlesQuery);
            }
        }
    }
    if (CMainFrame* main = MainFrame())
        main->PostMessage(WM_COMMAND, IDM_SHOW_INDEX, 0);
}

// The small dialogs around whole articles: the Save Article and Save Unsaved Articles prompts, the
// Delete Articles confirmation and the Duplicate Articles choice; and the calendar drop-down of the
// article's date box. Each is data in, data out.
#pragma once
#include <map>
#include <string>
#include <vector>

#include "article/ui/duplicate_preview.h"
#include "controls/ui/check_tree_ctrl.h"
#include "controls/ui/icon_dialog.h"
#include "framework/ui/dialog.h"
#include "index/ui/article_list_box.h"
#include "storage/id_set.h"

class CQuorvaneDoc;

// A save question with Yes, No and Cancel and the "save without warnings" box, read on Yes.
class CSavePromptDlg : public CIconDialog {
public:
    CSavePromptDlg(int templateId, HWND parent);
    // Read only when the dialog ends with Yes.
    bool m_noWarnings = false;

protected:
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
};

// "Save Article": Yes, No or Cancel for a changed stored article.
class CSaveArticleDlg : public CSavePromptDlg {
public:
    explicit CSaveArticleDlg(HWND parent = nullptr);
    std::string m_title;

protected:
    bool OnInitDialog() override;
};

// "Save Unsaved Articles" before an operation named `m_operation` reads the data file.
class CSaveUnsavedDlg : public CDialog {
public:
    explicit CSaveUnsavedDlg(HWND parent = nullptr);
    std::string m_operation;
    bool m_noWarnings = false;

protected:
    bool OnInitDialog() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
};

// "Delete Articles": the titles of the ids, sorted by title, with the focus on No.
class CDeleteArticlesDlg : public CDialog {
public:
    CDeleteArticlesDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    CArticleIdSet m_ids;
    CArticleListBox& TitleList() { return m_list; }

protected:
    bool OnInitDialog() override;

private:
    CQuorvaneDoc& m_document;
    CArticleListBox m_list;
};

// "Duplicate Articles": groups of duplicates (a negative entry ends a group) as a tree of check
// boxes, one root per group titled by its first article, with the article of the selected entry
// shown beside it; OK returns the checked articles.
class CDuplicateArticlesDlg : public CDialog {
public:
    CDuplicateArticlesDlg(CQuorvaneDoc& document, HWND parent = nullptr);
    std::vector<int32_t> m_runs;
    CArticleIdSet m_marked;
    CCheckTreeCtrl& Tree() { return m_tree; }
    CDuplicatePreview& Preview() { return m_preview; }
    // The article of a child item; kNoneId for a root or an unknown item.
    int32_t ArticleOf(HTREEITEM item) const;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void Fill();

    CQuorvaneDoc& m_document;
    CCheckTreeCtrl m_tree;
    CDuplicatePreview m_preview;
    bool m_initialising = false;
    std::map<HTREEITEM, int32_t> m_articles;
};

// The dialogs as the article window and the document's host run them.
int RunSaveArticleDialog(HWND owner, const std::string& title, bool& noWarnings);
bool ConfirmDeleteArticle(HWND owner, CQuorvaneDoc& document, int32_t id);
// The calendar under the date box: opens on `date` (yyyymmdd) hung from (`right`, `top`) in screen
// coordinates; true with `date` set when the user confirmed one.
bool ChooseDateFromCalendar(HWND owner, int top, int right, int32_t& date);

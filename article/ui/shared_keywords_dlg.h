// "Shared Keywords for Highlighted Articles": the keyword-assignment dialog over the keywords every
// highlighted title carries, which asks before a change goes to all of them; and that question,
// "Save Shared Keywords", whose box skips it until the program ends.
#pragma once
#include <functional>

#include "article/ui/article_dlgs.h"
#include "article/ui/article_keywords_dlg.h"

class CSaveSharedKeywordsDlg : public CSavePromptDlg {
public:
    explicit CSaveSharedKeywordsDlg(HWND parent = nullptr);
};

class CSharedKeywordsDlg : public CArticleKeywordsDlg {
public:
    CSharedKeywordsDlg(CQuorvaneDoc& document, HWND parent = nullptr);

    // The question before a change is saved: IDYES, IDNO or IDCANCEL, and the box on Yes. Empty:
    // CSaveSharedKeywordsDlg.
    std::function<int(HWND owner, bool& noWarnings)> m_askSave;

protected:
    bool OnInitDialog() override;
    void Finish() override;
};

// Runs the dialog over `shared`: true when the user confirmed a change, `result` holding the
// keywords all the articles are to carry.
bool RunSharedKeywordsDialog(CQuorvaneDoc& document, HWND owner, const CKeywordIdSet& shared, CKeywordIdSet& result);

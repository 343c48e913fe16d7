// "Keywords for Imported Articles": the Keywords for Article dialog over the keyword set that an
// import gives every article it makes. Enter in the new-keyword edit or in a list that holds
// keywords does that control's step; elsewhere (an empty list included) it closes with the set.
#pragma once
#include "article/ui/article_keywords_dlg.h"

class CImportKeywordsDlg : public CArticleKeywordsDlg {
public:
    explicit CImportKeywordsDlg(CQuorvaneDoc& document, HWND parent = nullptr)
        : CArticleKeywordsDlg(document, parent)
    {
    }

protected:
    bool OnInitDialog() override;
    void OnOK() override;
};

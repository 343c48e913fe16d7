// The article preview of the Duplicate Articles dialog: read-only text whose context menu offers
// only Copy (with a selection) and Select All, acted on here rather than by the program's commands,
// since the dialog is modal and the main window's command route does not reach it.
#pragma once
#include "article/ui/article_preview.h"

class CDuplicatePreview : public CArticlePreview {
public:
    // The menu as it would show now (Copy greyed without a selection); the caller destroys it.
    HMENU MakeMenu() const;
    // Copy or Select All, as chosen from the menu.
    void RunMenuCommand(UINT id);

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowMenu(POINT screen);
};

// The keywords assigned to an article, in the article window's header and in the Keywords for
// Article dialog. A double click or Enter asks the parent (command 32878) for the keywords dialog; a
// printable character asks it for the dialog with that character as the start of a new keyword; Tab
// goes to the next control of the view.
#pragma once
#include <functional>

#include "index/ui/keyword_list_box.h"

class CArticleKeywordList : public CKeywordListBox {
public:
    // A printable character typed in the list.
    void SetCharHandler(std::function<void(char)> handler) { m_onChar = std::move(handler); }
    void SetTabHandler(std::function<void(bool back)> handler) { m_onTab = std::move(handler); }
    void SetStatusTextHandler(std::function<void()> handler) { m_onMouseMove = std::move(handler); }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    std::function<void(char)> m_onChar;
    std::function<void(bool)> m_onTab;
    std::function<void()> m_onMouseMove;
};

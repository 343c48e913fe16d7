// The small controls of the article window's header: the title box, the date box, the time field
// and the calendar button. Each moves the focus on Tab (back with Shift) through the view's tab
// order, selecting the whole text of a title or date box it lands on, and shows its prompt in the
// status bar under the mouse. The view is told of their events through the callbacks it sets.
#pragma once
#include <functional>
#include <string>

#include "controls/ui/date_time_picker.h"
#include "controls/ui/themed_button.h"
#include "controls/ui/date_edit.h"
#include "framework/ui/controls.h"

// What a header control asks of its view.
struct ArticleHeaderHooks {
    std::function<void(const std::string&)> statusText;
    // Tab pressed in control `from`; `back` with Shift.
    std::function<void(HWND from, bool back)> tab;
    // Enter in the title box: the focus goes to the content.
    std::function<void()> titleEnter;
    // The context menu of a control at a screen point.
    std::function<void(HWND control, POINT screen)> contextMenu;
    // The time field took the focus.
    std::function<void()> timeFocus;
};

// The hooks a header control was given by its view.
class CArticleHeaderHooked {
public:
    void SetHooks(const ArticleHeaderHooks* hooks) { m_hooks = hooks; }

protected:
    const ArticleHeaderHooks* m_hooks = nullptr;
};

class CArticleTitleBox : public CEdit, public CArticleHeaderHooked {
public:
    static constexpr int kMaxLength = 4600;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class CArticleDateBox : public CDateEdit, public CArticleHeaderHooked {
protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class CArticleTimeCtrl : public CDateTimePicker, public CArticleHeaderHooked {
public:
    // Shows `seconds`; `edited` is added to the edited flag.
    void SetTime(int seconds, bool edited);
    bool IsEdited() const { return m_edited; }
    void ClearEdited() { m_edited = false; }

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool m_edited = false;
};

class CArticleHeaderButton : public CThemedButton, public CArticleHeaderHooked {
protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

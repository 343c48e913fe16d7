#include "index/ui/keyword_completion.h"

#include <string>

#include "article/keyword_assignment.h"
#include "index/ui/keyword_list_box.h"

bool CompleteKeywordEdit(CEditHandle edit, CKeywordListBox& list, int& typedLength)
{
    std::string text = edit.GetWindowText();
    std::string name;
    int match = FindKeywordCompletion(text, typedLength, list.GetCount(), [&](int i) -> const std::string& {
        name = list.GetItemText(i);
        return name;
    });
    if (match < 0)
        return false;
    name = list.GetItemText(match);
    if (name.size() > text.size()) {
        edit.SetWindowText(text + name.substr(text.size()));
        edit.SendMessage(EM_SETSEL, text.size(), static_cast<LPARAM>(name.size()));
        edit.SendMessage(EM_SCROLLCARET);
    }
    list.SendMessage(LB_SETSEL, FALSE, -1);
    list.ScrollToTop(match);
    list.SendMessage(LB_SETCARETINDEX, static_cast<WPARAM>(match), FALSE);
    return true;
}

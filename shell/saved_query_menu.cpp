#include "shell/saved_query_menu.h"

namespace {

// A menu shows "&x" as an underlined x; a name's own ampersands are doubled to show as written.
std::string MenuText(const std::string& name)
{
    std::string text;
    for (char c : name) {
        text += c;
        if (c == '&')
            text += '&';
    }
    return text;
}

}  // namespace

std::vector<MenuItemModel> BuildSavedQueryMenu(const std::vector<std::string>& names, bool more,
                                               const std::string& noneText, const std::string& moreText)
{
    std::vector<MenuItemModel> items;
    const size_t count = names.size() < size_t(kMaxSavedQueryEntries) ? names.size() : size_t(kMaxSavedQueryEntries);
    for (size_t i = 0; i < count; ++i) {
        MenuItemModel item;
        item.id = kFirstSavedQueryCommand + unsigned(i);
        item.text = MenuText(names[i]);
        items.push_back(item);
    }
    if (items.empty()) {
        MenuItemModel none;
        none.id = kFirstSavedQueryCommand;
        none.text = noneText;
        none.grayed = true;
        items.push_back(none);
    }
    if (more) {
        MenuItemModel separator;
        separator.separator = true;
        items.push_back(separator);
        MenuItemModel moreItem;
        moreItem.id = kMoreQueriesCommand;
        moreItem.text = moreText;
        items.push_back(moreItem);
    }
    return items;
}

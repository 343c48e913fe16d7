// The items of the Edit menu's "Run Saved Query" submenu, built from the saved queries' names in
// recent order. The window half puts them into each template's shared menu.
#pragma once
#include <string>
#include <vector>

struct MenuItemModel {
    unsigned id = 0;  // 0 for a separator
    std::string text;
    bool grayed = false;
    bool separator = false;
};

constexpr unsigned kFirstSavedQueryCommand = 32942;
constexpr unsigned kMoreQueriesCommand = 32962;
// Ids 32942 .. 32961: one place each, so never more entries than that.
constexpr int kMaxSavedQueryEntries = 20;

// One item per name, ids from 32942, at most 20 whatever `names` holds (an '&' in a name shows as
// itself); with no names one grayed `noneText` item (id 32942). With `more` a separator and
// `moreText` (id 32962) follow.
std::vector<MenuItemModel> BuildSavedQueryMenu(const std::vector<std::string>& names, bool more,
                                               const std::string& noneText, const std::string& moreText);

#include "index/add_keywords_model.h"

#include "index/keyword_rules.h"

std::string TypedKeywordToAdd(const std::string& text, const std::function<bool(const std::string&)>& isKeyword,
                              const std::vector<std::string>& newNames)
{
    std::string name = TrimName(text);
    if (name.empty() || isKeyword(name))
        return std::string();
    for (const std::string& listed : newNames)
        if (listed == name)
            return std::string();
    return name;
}

bool PlaceKeywordDialog(const KeywordDialogRect& stored, int width, int openingHeight, const KeywordDialogRect& desktop,
                        KeywordDialogRect& out)
{
    if (stored.bottom == 0)
        return false;
    int height = stored.bottom - stored.top;
    if (height < openingHeight)
        height = openingHeight;
    bool off = stored.top > desktop.bottom || stored.left > desktop.right || stored.bottom < 0 || stored.right < 0;
    if (off) {
        out.left = desktop.left + (desktop.right - desktop.left - width) / 2;
        out.top = desktop.top + (desktop.bottom - desktop.top - height) / 2;
    } else {
        out.left = stored.left;
        out.top = stored.top;
    }
    out.right = out.left + width;
    out.bottom = out.top + height;
    return true;
}

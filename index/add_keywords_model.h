// The decisions of the Add Keywords To Index dialog that need no window: which typed name joins the
// New Keywords list, and where the dialog opens from the rectangle the settings remember.
#pragma once
#include <functional>
#include <string>
#include <vector>

// The name Enter in the new-keyword edit adds: `text` trimmed, or empty when nothing is to be added
// (blank, a keyword of the file has the name in any case, or `newNames` holds it exactly).
std::string TypedKeywordToAdd(const std::string& text, const std::function<bool(const std::string&)>& isKeyword,
                              const std::vector<std::string>& newNames);

struct KeywordDialogRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Where the dialog goes, `width` wide, having opened `openingHeight` high, from the stored rectangle:
// false when nothing is stored (bottom 0) and it stays where it opened. Otherwise `out` is the stored
// left and top with the dialog's own width and the stored height, but never lower than the opening
// height (a stored bottom above top plus that height takes it); a rectangle off `desktop` (its top
// below the desktop's bottom, its left right of the desktop's right edge, its bottom above 0 or its
// right edge left of 0) is centred on the desktop instead.
bool PlaceKeywordDialog(const KeywordDialogRect& stored, int width, int openingHeight, const KeywordDialogRect& desktop,
                        KeywordDialogRect& out);

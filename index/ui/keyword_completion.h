// Completion of a new-keyword edit from a keyword list while the user types, shared by the dialogs
// that have one (Keywords for Article, Add Keywords To Index).
#pragma once
#include "framework/ui/controls.h"

class CKeywordListBox;

// Completes the text of `edit` from the names of `list` in list order (FindKeywordCompletion: only
// while the text grows past `typedLength`, which it updates). On a hit the rest of the name is
// appended and selected, the caret scrolled into view, and in the list nothing stays highlighted,
// the hit goes to the top and takes the caret. The caller guards against the edit's own change
// notification. True on a hit.
bool CompleteKeywordEdit(CEditHandle edit, CKeywordListBox& list, int& typedLength);

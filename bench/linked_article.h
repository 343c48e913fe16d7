// What the article benchmarks share: the large article with links they load, and typing into an
// edit control.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "article/article_link.h"

// An article of `paragraphs` paragraphs of about 100 bytes of RTF each (10,000 make about 1 MB), a
// stored link in the link look in every tenth, with the links' ranges.
struct LinkedArticle {
    std::string rtf;
    CLinkRangeList links;
};
LinkedArticle MakeLinkedArticle(int paragraphs);

// Milliseconds per key for `keys` characters typed (key down, character, key up, then the queue
// emptied and `idle` run) at the middle of the text of the edit control `edit`.
double TypeKeysMs(HWND edit, int keys, const std::function<void()>& idle = nullptr);

// Where the article window puts its children: the header row (title box, date box with its calendar
// button, time field, and 98 pixels at the right for the bookmark, attachment and reminder marks),
// the content pane with the assigned-keyword list right of it behind a 7-pixel splitter gap, and the
// optional image gallery at the bottom with its toggle bar above it. All values are pixels of the
// view's client area; the window half measures the texts and hands them in.
#pragma once

struct ArticleRect {
    int x = 0, y = 0, width = 0, height = 0;
    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    bool operator==(const ArticleRect& o) const
    {
        return x == o.x && y == o.y && width == o.width && height == o.height;
    }
};

struct ArticleLayoutInput {
    int width = 0;             // client width W
    int height = 0;            // client height H
    int dateTextWidth = 0;     // widest date text in the date box's font or the list font
    int timeTextWidth = 0;     // widest time text in the time field's font or the list font
    int scrollBarWidth = 0;    // SM_CXVSCROLL: the time field's spin part
    int buttonImageWidth = 0;  // the calendar button's picture
    int textHeight = 0;        // the title font's text height
    int timeTextHeight = 0;    // the time field's text height
    int keywordLabelHeight = 0;  // "Keywords" in the header font
    int keywordWidth = 0;      // K: the keyword list's width
    int gallerySize = 0;       // the gallery's image size
    bool showDate = true;
    bool showTime = true;
    bool galleryShown = false;
};

struct ArticleLayout {
    ArticleRect title;
    ArticleRect date;
    ArticleRect calendarButton;
    ArticleRect time;
    ArticleRect content;
    ArticleRect keywordList;
    ArticleRect gallery;
    ArticleRect galleryButton;
    bool dateShown = true;
    bool timeShown = true;
    bool galleryShown = false;
    // The row height of the header: the bottom of the area repainted after a layout.
    int headerHeight = 0;
};

// The width the marks at the right of the header take, with the 4-pixel margin at the left.
constexpr int kArticleHeaderMarksWidth = 98;
constexpr int kArticleSplitterGap = 7;

ArticleLayout LayoutArticleWindow(const ArticleLayoutInput& in);

// The keyword-list width after the splitter was released at `position` (x in the client): the
// distance from the position to the list's right edge, never below 0. A position past the right edge
// hides the list; the rectangle drawn while dragging stays inside SplitterLimits.
int KeywordWidthAfterSplit(const ArticleLayout& layout, int position);
// The x range the dragged splitter rectangle follows: the content's left edge to the keyword list's
// right edge - 5.
void SplitterLimits(const ArticleLayout& layout, int& low, int& high);
// True when `x`, `y` lie in the gap between the content and the keyword list.
bool IsOnSplitter(const ArticleLayout& layout, int x, int y);

// The header marks: their x from the right edge, each `offset` + the bitmap's width left of it.
enum class ArticleMark { kBookmark = 8, kAttachment = 37, kReminder = 66 };
ArticleRect ArticleMarkRect(int clientWidth, ArticleMark mark, int bitmapWidth, int bitmapHeight);

#include "article/article_layout.h"

ArticleLayout LayoutArticleWindow(const ArticleLayoutInput& in)
{
    ArticleLayout out;
    const int dateWidth = in.dateTextWidth + 8;
    const int timeWidth = in.timeTextWidth + in.scrollBarWidth + 12;
    const int button = in.buttonImageWidth;

    // The title takes what the date and the time leave; in a window too narrow for them the title
    // keeps its width and the others stand to its right, partly outside.
    int title = in.width - 4 - kArticleHeaderMarksWidth;
    if (in.showDate && dateWidth < title)
        title -= button + dateWidth + 8;
    if (in.showTime && timeWidth < title)
        title -= timeWidth + 4;

    const int row = in.textHeight + 8;
    out.headerHeight = row + 2;
    out.title = {4, 2, title, row};
    out.dateShown = in.showDate;
    out.timeShown = in.showTime;
    out.date = {title + 8, 2, dateWidth, row};
    out.calendarButton = {title + 8 + dateWidth - 1, 2, button + 4, row};
    out.time = {title + 8 + (in.showDate ? dateWidth + button + 8 : 0), 2, timeWidth, in.timeTextHeight + 8};

    const int top = row + 6;
    int bottom = in.height - 12;
    out.galleryShown = in.galleryShown;
    if (in.galleryShown)
        bottom -= in.gallerySize + 24;
    const int quarter = (in.width - 4) / 4;
    out.galleryButton = {quarter, bottom + 3, (in.width - 4 - quarter) - quarter, 6};

    out.content = {4, top, in.width - 4 - in.keywordWidth - kArticleSplitterGap, bottom - top};
    const int listTop = top + in.keywordLabelHeight + 4;
    out.keywordList = {out.content.Right() + kArticleSplitterGap, listTop, in.keywordWidth, bottom - listTop};
    out.gallery = {4, bottom + 12, in.width - 8, in.gallerySize + 24};
    return out;
}

int KeywordWidthAfterSplit(const ArticleLayout& layout, int position)
{
    int width = (layout.keywordList.Right() - 5) - position + 5;
    return width < 0 ? 0 : width;
}

void SplitterLimits(const ArticleLayout& layout, int& low, int& high)
{
    low = layout.content.x;
    high = layout.keywordList.Right() - 5;
    if (high < low)
        high = low;
}

bool IsOnSplitter(const ArticleLayout& layout, int x, int y)
{
    return x >= layout.content.Right() && x < layout.keywordList.x && y >= layout.content.y &&
           y < layout.content.Bottom();
}

ArticleRect ArticleMarkRect(int clientWidth, ArticleMark mark, int bitmapWidth, int bitmapHeight)
{
    return {clientWidth - static_cast<int>(mark) - bitmapWidth, 3, bitmapWidth, bitmapHeight};
}

#include "shell/article_placement.h"

#include <cstdint>

namespace {

// MulDiv's rounding, for the non-negative sizes used here.
int ScalePercent(int value, int percent)
{
    return static_cast<int>((static_cast<int64_t>(value) * percent + 50) / 100);
}

}  // namespace

CArticlePlacement::Rect CArticlePlacement::Next(int clientWidth, int clientHeight, int captionHeight)
{
    int width = m_width;
    int height = m_height;
    if (width == kUnknown || height == kUnknown) {
        width = ScalePercent(clientWidth, 85);
        height = ScalePercent(clientHeight, 75);
    }
    if (m_x < 0)
        m_x = 0;
    if (m_y < 0)
        m_y = 0;
    if (m_y + height > clientHeight)
        m_y = 0;
    if (m_x + width > clientWidth)
        m_x = 0;
    Rect rect{m_x, m_y, width, height};
    m_x += captionHeight;
    m_y += captionHeight;
    return rect;
}

// Where new article windows open inside the MDI client: the first at the top-left corner with 85 % of
// the client's width and 75 % of its height (or the size the user last gave one), each next one a
// caption height lower and further right, back to the edge on each axis where it would leave the
// client.
#pragma once

class CArticlePlacement {
public:
    static constexpr int kUnknown = static_cast<int>(0x80000000);

    struct Rect {
        int x, y, width, height;  // position and size, not edges
        bool operator==(const Rect& o) const
        {
            return x == o.x && y == o.y && width == o.width && height == o.height;
        }
    };

    // The stored size ("ArtWidth", "ArtHeight"); kUnknown in both when none is known.
    void SetSize(int width, int height)
    {
        m_width = width;
        m_height = height;
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Starts the cascade again at (0, 0).
    void Reset() { m_x = m_y = 0; }

    // The rectangle of the next window in a client of `clientWidth` x `clientHeight`; then moves
    // the next position on by `captionHeight` on both axes.
    Rect Next(int clientWidth, int clientHeight, int captionHeight);

private:
    int m_x = 0;
    int m_y = 0;
    int m_width = kUnknown;
    int m_height = kUnknown;
};

#include "framework/dock_layout.h"

#include <algorithm>
#include <map>

namespace {

// Lays out one side's rows; `down` = rows grow downwards from `start`, else upwards.
int LayOutSide(const std::vector<BarPlacement>& bars, const std::vector<DockRect>& sizes, DockSide side, int width,
               int start, bool down, std::vector<DockRect>& rects, std::vector<DockRect>& rowBands)
{
    std::map<int, std::vector<size_t>> rows;
    for (size_t i = 0; i < bars.size(); ++i)
        if (bars[i].side == side && bars[i].visible && !bars[i].floating)
            rows[bars[i].row].push_back(i);
    int used = 0;
    for (auto& entry : rows) {
        std::vector<size_t>& members = entry.second;
        std::stable_sort(members.begin(), members.end(),
                         [&bars](size_t a, size_t b) { return bars[a].place < bars[b].place; });
        int rowHeight = 0;
        for (size_t i : members)
            rowHeight = std::max(rowHeight, sizes[i].Height());
        const int top = down ? start + used : start - used - rowHeight;
        // Right edge pass: each bar at most where it still fits before the bars after it.
        std::vector<int> latest(members.size());
        int limit = width;
        for (size_t k = members.size(); k-- > 0;) {
            limit -= sizes[members[k]].Width();
            latest[k] = limit;
        }
        int right = 0;
        for (size_t k = 0; k < members.size(); ++k) {
            const size_t i = members[k];
            int x = std::min(bars[i].place, latest[k]);
            x = std::max(x, right);
            rects[i] = {x, top, x + sizes[i].Width(), top + sizes[i].Height()};
            right = rects[i].right;
        }
        rowBands.push_back({0, top, width, top + rowHeight});
        used += rowHeight;
    }
    return used;
}

}  // namespace

DockLayout LayOutDockBars(const std::vector<BarPlacement>& bars, const std::vector<DockRect>& sizes, int width,
                          int height)
{
    DockLayout layout;
    layout.rects.assign(bars.size(), DockRect{});
    layout.topHeight = LayOutSide(bars, sizes, DockSide::kTop, width, 0, true, layout.rects, layout.topRows);
    layout.bottomHeight =
        LayOutSide(bars, sizes, DockSide::kBottom, width, height, false, layout.rects, layout.bottomRows);
    return layout;
}

BarPlacement PlaceDraggedBar(const std::vector<BarPlacement>& bars, const DockLayout& layout, size_t index, int x,
                             int y, int clientHeight, int screenX, int screenY, int snap)
{
    BarPlacement placed = bars[index];
    placed.place = std::max(0, std::min(x, CBarState::kMaxPlace));
    placed.floating = false;
    auto rowOf = [&bars](DockSide side, size_t band) {
        // The stored row number of the band-th visible row of `side`.
        std::vector<int> rows;
        for (const BarPlacement& bar : bars)
            if (bar.side == side && bar.visible && !bar.floating)
                rows.push_back(bar.row);
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        return band < rows.size() ? rows[band] : (rows.empty() ? 0 : rows.back() + 1);
    };
    // Top rows, or a new row just below them.
    for (size_t r = 0; r < layout.topRows.size(); ++r) {
        if (y >= layout.topRows[r].top - (r == 0 ? snap : 0) && y < layout.topRows[r].bottom) {
            placed.side = DockSide::kTop;
            placed.row = rowOf(DockSide::kTop, r);
            return placed;
        }
    }
    if (y >= layout.topHeight - (layout.topRows.empty() ? snap : 0) && y < layout.topHeight + snap) {
        placed.side = DockSide::kTop;
        placed.row = rowOf(DockSide::kTop, layout.topRows.size());
        return placed;
    }
    // Bottom rows (row 0 nearest the edge), or a new row just above them.
    for (size_t r = 0; r < layout.bottomRows.size(); ++r) {
        if (y >= layout.bottomRows[r].top && y < layout.bottomRows[r].bottom + (r == 0 ? snap : 0)) {
            placed.side = DockSide::kBottom;
            placed.row = rowOf(DockSide::kBottom, r);
            return placed;
        }
    }
    const int bottomTop = clientHeight - layout.bottomHeight;
    if (y >= bottomTop - snap && y < bottomTop + (layout.bottomRows.empty() ? snap : 0)) {
        placed.side = DockSide::kBottom;
        placed.row = rowOf(DockSide::kBottom, layout.bottomRows.size());
        return placed;
    }
    placed = bars[index];
    placed.floating = true;
    placed.floatLeft = screenX;
    placed.floatTop = screenY;
    return placed;
}

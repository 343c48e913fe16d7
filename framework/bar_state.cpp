#include "framework/bar_state.h"

#include <algorithm>
#include <map>

namespace {

std::string BarSection(const std::string& base, int index)
{
    return base + "-Bar" + std::to_string(index);
}

const char kSummaryKey[] = "Bars";

}  // namespace

bool BarPlacement::operator==(const BarPlacement& other) const
{
    return id == other.id && visible == other.visible && side == other.side && row == other.row &&
           place == other.place && floating == other.floating && floatLeft == other.floatLeft &&
           floatTop == other.floatTop;
}

bool CBarState::Exists(IBarStateProfile& profile, const std::string& base)
{
    return profile.GetInt(base + "-Summary", kSummaryKey, -1) != -1;
}

bool CBarState::IsReachable(int left, int top, const std::vector<ScreenRect>& monitors)
{
    // The caption's left end must be on a monitor so that the user can drag the window back.
    for (const ScreenRect& m : monitors) {
        if (left >= m.left - kGrip / 2 && left + kGrip <= m.right && top >= m.top && top + kGrip / 2 <= m.bottom)
            return true;
    }
    return false;
}

int CBarState::Load(IBarStateProfile& profile, const std::string& base, std::vector<BarPlacement>& bars,
                    const std::vector<ScreenRect>& monitors)
{
    int count = profile.GetInt(base + "-Summary", kSummaryKey, 0);
    if (count <= 0)
        return 0;
    count = std::min(count, kMaxBars);
    std::vector<bool> taken(bars.size(), false);
    int loaded = 0;
    for (int i = 0; i < count; ++i) {
        const std::string section = BarSection(base, i);
        const int id = profile.GetInt(section, "BarID", 0);
        auto it = std::find_if(bars.begin(), bars.end(), [id](const BarPlacement& b) { return b.id == id; });
        if (it == bars.end())
            continue;  // not a bar of this frame
        const size_t slot = static_cast<size_t>(it - bars.begin());
        if (taken[slot])
            continue;  // a second entry for one bar: the first one stands
        BarPlacement read;
        read.id = id;
        const int visible = profile.GetInt(section, "Visible", -1);
        const int side = profile.GetInt(section, "Side", -1);
        read.row = profile.GetInt(section, "Row", -1);
        read.place = profile.GetInt(section, "Place", -1);
        const int floating = profile.GetInt(section, "Floating", -1);
        read.floatLeft = profile.GetInt(section, "FloatLeft", 0);
        read.floatTop = profile.GetInt(section, "FloatTop", 0);
        if ((visible != 0 && visible != 1) || (side != 0 && side != 1) || (floating != 0 && floating != 1))
            continue;
        if (read.row < 0 || read.row > kMaxRow || read.place < 0 || read.place > kMaxPlace)
            continue;
        read.visible = visible == 1;
        read.side = side == 0 ? DockSide::kTop : DockSide::kBottom;
        read.floating = floating == 1;
        if (read.floating && !IsReachable(read.floatLeft, read.floatTop, monitors)) {
            // Off every monitor (a monitor that has gone, a hand-edited value): the bar docks where
            // it docked at first start, and keeps whether it was shown.
            it->visible = read.visible;
            taken[slot] = true;
            continue;
        }
        *it = read;
        taken[slot] = true;
        ++loaded;
    }
    CompactRows(bars);
    return loaded;
}

void CBarState::CompactRows(std::vector<BarPlacement>& bars)
{
    for (DockSide side : {DockSide::kTop, DockSide::kBottom}) {
        std::map<int, int> rows;  // stored row -> dense row
        for (const BarPlacement& bar : bars)
            if (bar.side == side)
                rows.emplace(bar.row, 0);
        int next = 0;
        for (auto& entry : rows)
            entry.second = next++;
        for (BarPlacement& bar : bars)
            if (bar.side == side)
                bar.row = rows[bar.row];
    }
}

void CBarState::Save(IBarStateProfile& profile, const std::string& base, const std::vector<BarPlacement>& bars)
{
    std::vector<BarPlacement> dense = bars;
    CompactRows(dense);
    for (size_t i = 0; i < dense.size(); ++i) {
        const BarPlacement& bar = dense[i];
        const std::string section = BarSection(base, static_cast<int>(i));
        profile.WriteInt(section, "BarID", bar.id);
        profile.WriteInt(section, "Visible", bar.visible ? 1 : 0);
        profile.WriteInt(section, "Side", static_cast<int>(bar.side));
        profile.WriteInt(section, "Row", bar.row);
        profile.WriteInt(section, "Place", bar.place);
        profile.WriteInt(section, "Floating", bar.floating ? 1 : 0);
        profile.WriteInt(section, "FloatLeft", bar.floatLeft);
        profile.WriteInt(section, "FloatTop", bar.floatTop);
    }
    // The summary last: a state whose writing broke off reads as none, or as the previous one.
    profile.WriteInt(base + "-Summary", kSummaryKey, static_cast<int>(dense.size()));
}

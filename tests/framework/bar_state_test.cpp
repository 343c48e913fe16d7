// The bar-state codec and the dock layout: what a frame's bars read back from an option store that
// anyone may have edited, and where docked bars go.
#include <gtest/gtest.h>

#include <map>

#include "framework/bar_state.h"
#include "framework/dock_layout.h"

namespace {

class CMapProfile : public IBarStateProfile {
public:
    bool WriteInt(const std::string& section, const std::string& key, int value) override
    {
        values[section + "|" + key] = value;
        return true;
    }
    int GetInt(const std::string& section, const std::string& key, int defaultValue) override
    {
        auto it = values.find(section + "|" + key);
        return it == values.end() ? defaultValue : it->second;
    }
    std::map<std::string, int> values;
};

const std::string kBase = "Toolbars\\Toolbars3";
const std::vector<ScreenRect> kOneMonitor = {{0, 0, 1024, 768}};

// The four bars at their first-start places: Standard and Tools on the first top row, Format and
// Browse on the second; Tools hidden.
std::vector<BarPlacement> FirstStart()
{
    std::vector<BarPlacement> bars(4);
    bars[0].id = 127;
    bars[1].id = 377;
    bars[1].visible = false;
    bars[1].place = 300;
    bars[2].id = 167;
    bars[2].row = 1;
    bars[3].id = 253;
    bars[3].row = 1;
    bars[3].place = 400;
    return bars;
}

void WriteBar(CMapProfile& profile, int index, std::map<std::string, int> fields)
{
    for (auto& field : fields)
        profile.WriteInt(kBase + "-Bar" + std::to_string(index), field.first, field.second);
}

std::map<std::string, int> Bar(int id, int side, int row, int place, int floating = 0, int left = 0, int top = 0)
{
    return {{"BarID", id}, {"Visible", 1}, {"Side", side}, {"Row", row}, {"Place", place},
            {"Floating", floating}, {"FloatLeft", left}, {"FloatTop", top}};
}

}  // namespace

TEST(BarState, SavedStateReadsBackWhole)
{
    CMapProfile profile;
    EXPECT_FALSE(CBarState::Exists(profile, kBase));
    std::vector<BarPlacement> saved = FirstStart();
    saved[0].side = DockSide::kBottom;
    saved[2].floating = true;
    saved[2].floatLeft = 200;
    saved[2].floatTop = 150;
    saved[3].visible = false;
    CBarState::Save(profile, kBase, saved);
    EXPECT_TRUE(CBarState::Exists(profile, kBase));
    EXPECT_EQ(profile.values[kBase + "-Summary|Bars"], 4);

    std::vector<BarPlacement> loaded = FirstStart();
    EXPECT_EQ(CBarState::Load(profile, kBase, loaded, kOneMonitor), 4);
    CBarState::CompactRows(saved);
    EXPECT_EQ(loaded, saved);
}

// Each damaged entry leaves its bar at its first-start place; the sound entries still load.
TEST(BarState, DamagedEntriesFallBackToFirstStartPlaces)
{
    struct Case {
        const char* what;
        std::map<std::string, int> entry;
    };
    const Case cases[] = {
        {"unknown bar id", Bar(999, 0, 0, 0)},
        {"side out of range", Bar(167, 2, 0, 10)},
        {"row out of range", Bar(167, 0, 16, 10)},
        {"negative row", Bar(167, 0, -1, 10)},
        {"place out of range", Bar(167, 0, 0, 40000)},
        {"negative place", Bar(167, 0, 0, -5)},
        {"visible neither 0 nor 1", [] { auto b = Bar(167, 0, 0, 10); b["Visible"] = 7; return b; }()},
        {"missing field", [] { auto b = Bar(167, 0, 0, 10); b.erase("Side"); return b; }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CMapProfile profile;
        profile.WriteInt(kBase + "-Summary", "Bars", 2);
        WriteBar(profile, 0, Bar(127, 1, 0, 50));  // sound: Standard at the bottom
        WriteBar(profile, 1, c.entry);
        std::vector<BarPlacement> bars = FirstStart();
        EXPECT_EQ(CBarState::Load(profile, kBase, bars, kOneMonitor), 1);
        EXPECT_EQ(bars[0].side, DockSide::kBottom);
        EXPECT_EQ(bars[0].place, 50);
        std::vector<BarPlacement> expected = FirstStart();
        EXPECT_EQ(bars[2], expected[2]);
    }
}

TEST(BarState, CountsOutOfRangeAndRepeatedIds)
{
    CMapProfile profile;
    profile.WriteInt(kBase + "-Summary", "Bars", -3);
    WriteBar(profile, 0, Bar(127, 1, 0, 0));
    std::vector<BarPlacement> bars = FirstStart();
    EXPECT_EQ(CBarState::Load(profile, kBase, bars, kOneMonitor), 0);
    EXPECT_EQ(bars, FirstStart());

    // A huge count reads the sections that exist and stops at the limit.
    profile.WriteInt(kBase + "-Summary", "Bars", 2000000000);
    WriteBar(profile, 1, Bar(127, 0, 3, 70));  // the same bar again: the first entry stands
    EXPECT_EQ(CBarState::Load(profile, kBase, bars, kOneMonitor), 1);
    EXPECT_EQ(bars[0].side, DockSide::kBottom);
    EXPECT_EQ(bars[0].place, 0);
}

TEST(BarState, FloatingBarOffEveryMonitorDocksButKeepsItsVisibility)
{
    const std::vector<ScreenRect> twoMonitors = {{0, 0, 1024, 768}, {1024, 0, 2048, 768}};
    struct Case {
        int left, top;
        bool reachable;
    };
    const Case cases[] = {
        {100, 100, true}, {1500, 300, true}, {-5000, 100, false}, {100, 5000, false},
        {2040, 100, false}, {100, -40, false}, {-10, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top);
        CMapProfile profile;
        profile.WriteInt(kBase + "-Summary", "Bars", 1);
        auto entry = Bar(253, 0, 0, 0, 1, c.left, c.top);
        entry["Visible"] = 0;
        WriteBar(profile, 0, entry);
        std::vector<BarPlacement> bars = FirstStart();
        CBarState::Load(profile, kBase, bars, twoMonitors);
        EXPECT_EQ(bars[3].floating, c.reachable);
        EXPECT_FALSE(bars[3].visible);
        if (!c.reachable) {
            EXPECT_EQ(bars[3].row, 1);
        }
    }
}

TEST(BarState, RowsAreRenumberedWithoutGaps)
{
    CMapProfile profile;
    profile.WriteInt(kBase + "-Summary", "Bars", 2);
    WriteBar(profile, 0, Bar(127, 0, 9, 0));
    WriteBar(profile, 1, Bar(167, 0, 12, 0));
    std::vector<BarPlacement> bars = FirstStart();
    CBarState::Load(profile, kBase, bars, kOneMonitor);
    // Tools (row 0) and Browse (row 1) kept their first-start rows; 9 and 12 follow them.
    EXPECT_EQ(bars[1].row, 0);
    EXPECT_EQ(bars[3].row, 1);
    EXPECT_EQ(bars[0].row, 2);
    EXPECT_EQ(bars[2].row, 3);
}

TEST(DockLayout, RowsStackFromEachEdge)
{
    std::vector<BarPlacement> bars = FirstStart();
    bars[1].visible = true;
    bars[3].side = DockSide::kBottom;
    bars[3].row = 0;
    const std::vector<DockRect> sizes = {{0, 0, 250, 30}, {0, 0, 100, 30}, {0, 0, 400, 28}, {0, 0, 60, 24}};
    DockLayout layout = LayOutDockBars(bars, sizes, 800, 600);
    EXPECT_EQ(layout.topHeight, 58);
    EXPECT_EQ(layout.bottomHeight, 24);
    EXPECT_EQ(layout.rects[0], (DockRect{0, 0, 250, 30}));
    EXPECT_EQ(layout.rects[1], (DockRect{300, 0, 400, 30}));
    EXPECT_EQ(layout.rects[2], (DockRect{0, 30, 400, 58}));
    EXPECT_EQ(layout.rects[3], (DockRect{400, 576, 460, 600}));

    // Hidden and floating bars take no room; their rows collapse.
    bars[0].visible = false;
    bars[1].floating = true;
    layout = LayOutDockBars(bars, sizes, 800, 600);
    EXPECT_EQ(layout.rects[2], (DockRect{0, 0, 400, 28}));
    EXPECT_EQ(layout.topHeight, 28);
    EXPECT_EQ(layout.rects[0], DockRect{});
}

TEST(DockLayout, BarsStayInReachWhenPlacedPastTheEdgeOrOverlapping)
{
    std::vector<BarPlacement> bars(3);
    bars[0].id = 1;
    bars[0].place = 5000;  // past the edge
    bars[1].id = 2;
    bars[1].place = 10;
    bars[2].id = 3;
    bars[2].place = 20;  // overlaps bar 2
    const std::vector<DockRect> sizes = {{0, 0, 100, 20}, {0, 0, 100, 20}, {0, 0, 100, 20}};
    DockLayout layout = LayOutDockBars(bars, sizes, 500, 300);
    EXPECT_EQ(layout.rects[1].left, 10);
    EXPECT_EQ(layout.rects[2].left, 110);
    EXPECT_EQ(layout.rects[0].left, 400);
}

TEST(DockLayout, DraggedBarLandsOnRowsOrFloats)
{
    std::vector<BarPlacement> bars = FirstStart();
    bars[1].visible = true;
    const std::vector<DockRect> sizes = {{0, 0, 250, 30}, {0, 0, 100, 30}, {0, 0, 400, 30}, {0, 0, 60, 30}};
    DockLayout layout = LayOutDockBars(bars, sizes, 800, 600);
    struct Case {
        int y;
        DockSide side;
        int row;
        bool floating;
    };
    const Case cases[] = {
        {5, DockSide::kTop, 0, false},    {45, DockSide::kTop, 1, false},  {65, DockSide::kTop, 2, false},
        {300, DockSide::kTop, 0, true},   {590, DockSide::kBottom, 0, false},
        {-8, DockSide::kTop, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.y);
        BarPlacement placed = PlaceDraggedBar(bars, layout, 3, 120, c.y, 600, 700, 800, 16);
        EXPECT_EQ(placed.floating, c.floating);
        if (!c.floating) {
            EXPECT_EQ(placed.side, c.side);
            EXPECT_EQ(placed.row, c.row);
            EXPECT_EQ(placed.place, 120);
        } else {
            EXPECT_EQ(placed.floatLeft, 700);
            EXPECT_EQ(placed.floatTop, 800);
        }
    }
}

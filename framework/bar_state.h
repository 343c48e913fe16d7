// Where each control bar of a frame sits (docked at the top or bottom in a row, or floating) and
// whether it shows: kept between runs in the option store, one section per bar under a base name.
//
// Stored form, all integers:
//   "<base>-Summary"  Bars       number of bar sections that follow
//   "<base>-Bar<i>"   BarID      the bar's control id (i = 0 .. Bars-1)
//                     Visible    1 shown, 0 hidden
//                     Side       0 docked at the top, 1 docked at the bottom
//                     Row        row on that side, 0 nearest the frame's edge
//                     Place      pixels from the row's left end
//                     Floating   1 when the bar floats in its own window
//                     FloatLeft, FloatTop   screen position of the floating window
//
// Untrusted input: the INI file of a portable installation is a text file anyone may edit, and a
// registry value can be changed by hand. Reading keeps every entry that is whole and sensible and
// drops the others: unknown or repeated bar ids, a count that is negative or too large, a side, row
// or place out of range, a floating window that would open off every monitor. A dropped or missing
// bar keeps the place the frame gave it before loading (its first-start place), so no bar is ever
// lost or out of reach.
#pragma once
#include <string>
#include <vector>

// The part of the option store the bar state needs. Missing values give the default.
class IBarStateProfile {
public:
    virtual ~IBarStateProfile() = default;
    virtual bool WriteInt(const std::string& section, const std::string& key, int value) = 0;
    virtual int GetInt(const std::string& section, const std::string& key, int defaultValue) = 0;
};

enum class DockSide { kTop = 0, kBottom = 1 };

struct BarPlacement {
    int id = 0;
    bool visible = true;
    DockSide side = DockSide::kTop;
    int row = 0;
    int place = 0;
    bool floating = false;
    int floatLeft = 0;
    int floatTop = 0;

    bool operator==(const BarPlacement& other) const;
};

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class CBarState {
public:
    // Limits of what reading accepts; a frame has a handful of bars.
    static constexpr int kMaxBars = 32;
    static constexpr int kMaxRow = 15;
    static constexpr int kMaxPlace = 32767;
    // A floating bar is reachable when this many pixels of its caption's left end lie on a monitor.
    static constexpr int kGrip = 24;

    // True when a state was saved under `base` ("Bars" in "<base>-Summary" present).
    static bool Exists(IBarStateProfile& profile, const std::string& base);

    // Reads the state under `base` into `bars`, which holds every bar of the frame with its current
    // (first-start) placement; entries that pass the checks above replace those placements. `monitors`
    // are the screen rectangles of the monitors. Returns how many bars took a stored placement.
    static int Load(IBarStateProfile& profile, const std::string& base, std::vector<BarPlacement>& bars,
                    const std::vector<ScreenRect>& monitors);
    // Writes `bars` under `base`, rows renumbered densely per side.
    static void Save(IBarStateProfile& profile, const std::string& base, const std::vector<BarPlacement>& bars);

    // Whether a floating window at (left, top) can be reached on one of `monitors`.
    static bool IsReachable(int left, int top, const std::vector<ScreenRect>& monitors);
    // Rows renumbered 0, 1, ... per side in their order, so that no gaps stay from removed bars.
    static void CompactRows(std::vector<BarPlacement>& bars);
};

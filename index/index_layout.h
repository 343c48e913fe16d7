// Where the index window puts its panes: the optional keyword-group list, the keyword index, the two
// arrow buttons, the selected keywords, the titles column with its header buttons and the optional
// previews below the titles; the two grips that hide and show panes; and the dividers the user drags.
// All in client pixels; a rectangle is (x, y, width, height).
//
// Normal layout (W = client width - 4, H = header height, L = client height - H):
//   [group list][gap 10][index list][5][>> <<][5][selected list][10][titles column ... W]
// Catalog layout: the titles column alone, from x = 8.
#pragma once

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    int Right() const { return x + width; }
    int Bottom() const { return y + height; }
    bool Contains(int px, int py) const { return px >= x && px < Right() && py >= y && py < Bottom(); }
    bool operator==(const LayoutRect& other) const
    {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// The sizes and states the index window keeps in the option store (section "Index Display").
struct IndexDisplayValues {
    int divider = 100;       // "Divider": selected list width
    int listWidth = 100;     // "ListWidth": index list width
    int view = 0;            // "View": 1 catalog (keyword lists hidden)
    int previewOn = 0;       // "PreviewOn": bit 0 article content, bit 1 keywords
    int previewHeight = -1;  // "PreviewHeight": negative until first laid out
    int indexMode = 0;       // "IndexMode"
    int groupWidth = 100;    // "GroupWidth"
    int groupVisible = 0;    // "GroupVisible"

    // A stored index width of 0 or less reads as 100.
    static int ReadListWidth(int stored) { return stored <= 0 ? 100 : stored; }
};

// The five status columns of the titles, in their order.
enum TitleStatusColumn { kTagColumn, kAttachmentColumn, kHypertextColumn, kPrivateColumn, kReminderColumn, kStatusColumnCount };

struct IndexLayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    int headerHeight = 0;
    bool themed = false;          // visual styles active: header buttons 1 pixel narrower than classic
    bool catalog = false;
    bool groupVisible = false;
    int groupWidth = 100;
    int listWidth = 100;
    int divider = 100;
    int previewFlags = 0;
    int previewHeight = -1;
    int titlesMinHeight = 0;      // one item plus the list's borders plus 4
    int mainDivider = 100;        // the main frame's stored "Divider": keyword preview width beside the article preview
    bool statusShown[kStatusColumnCount] = {};
    int statusWidth[kStatusColumnCount] = {};  // each column's image width
    bool showDate = false;
    int dateColumnWidth = 0;
};

struct IndexLayout {
    LayoutRect groupList, groupHeader;
    LayoutRect indexList, indexHeader;
    LayoutRect moveToSelected, moveToIndex;   // ">>" and "<<"
    LayoutRect selectedList, selectedHeader;
    LayoutRect titlesList, articlePreview, keywordPreview;
    LayoutRect statusHeaders[kStatusColumnCount];  // width 0 when hidden
    LayoutRect dateHeader;                         // width 0 when hidden
    LayoutRect titlesCaption;
    LayoutRect leftGrip, rightGrip;                // the left grip is empty in catalog mode
    int titlesLeft = 0;
    int previewHeight = -1;   // the preview height to keep (a negative one becomes L / 5)
};

IndexLayout LayOutIndexView(const IndexLayoutInput& in);

// The dividers and grips, as the mouse finds them.
enum DividerState {
    kNoDivider = 0,
    kIndexWidthDivider = 1,     // right of the index list
    kSelectedWidthDivider = 2,  // between the selected list and the titles
    kPreviewDivider = 3,        // above the previews
    kRightGrip = 4,             // hides or shows the keyword lists
    kGroupWidthDivider = 5,     // between the group list and the index list
    kLeftGrip = 6,              // hides or shows the group list
};

// What lies under client point (x, y): a divider band, a grip or nothing.
int HitTestDivider(const IndexLayoutInput& in, const IndexLayout& layout, int x, int y);

// A drag of one divider: the tracked coordinate (x, or y for the preview divider) moves between
// `low` and `high`.
struct DividerDrag {
    int state = kNoDivider;
    bool vertical = false;   // tracks y
    int start = 0;
    int low = 0;
    int high = 0;

    int Clamp(int position) const { return position < low ? low : (position > high ? high : position); }
};

// Starts the drag of divider `state` (1, 2, 3 or 5) pressed at (x, y).
DividerDrag BeginDividerDrag(int state, const IndexLayoutInput& in, const IndexLayout& layout, int x, int y);
// Applies a drag released at `position` (clamped first) to the stored sizes.
void ApplyDividerDrag(const DividerDrag& drag, int position, const IndexLayoutInput& in, const IndexLayout& layout,
                      IndexDisplayValues& values);

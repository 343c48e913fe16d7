// The index window's lists on real list boxes under a window of ours, over a real knowledge base:
// the keyword list's fill, filter, order, type-ahead and keys; the drag list's deferred click, drag
// threshold and drops (mouse messages posted with their MK_ flags); the titles' fill, re-sort and
// clicks; the group list's order.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include <string>
#include <utility>
#include <vector>

#include "document/quorvane_doc.h"
#include "framework/clock.h"
#include "framework/ui/custom_wnd.h"
#include "index/ui/article_list_box.h"
#include "index/ui/keyword_group_list_box.h"
#include "index/ui/keyword_list_box.h"
#include "resources/index_window_res.h"
#include "storage/article_record.h"
#include "storage/keyword_record.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/gui_driver.h"
#include "tests/support/temp_folder.h"

namespace {

// The tick count the lists read; the test moves it.
class CTickClock : public IClock {
public:
    CTickClock() { m_previous = SetClock(this); }
    ~CTickClock() override { SetClock(m_previous); }
    QuorLocalTime Now() const override { return QuorLocalTime(); }
    std::uint32_t TickCount() const override { return m_tick; }
    std::uint32_t m_tick = 100000;

private:
    const IClock* m_previous;
};

// Records what the lists tell their parent.
class CListParent : public CCustomWnd {
public:
    bool Create()
    {
        if (!RegisterWindowClass("QuorIndexListsTest"))
            return false;
        RECT rect = {50, 50, 650, 450};
        return CreateEx(0, "QuorIndexListsTest", "Lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, rect,
                        nullptr, nullptr);
    }

    std::vector<std::pair<HWND, HWND>> m_drops;  // (target, source)
    std::vector<UINT> m_commands;
    int m_selChanges = 0;

protected:
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override
    {
        if (code == LBN_SELCHANGE)
            ++m_selChanges;
        else if (!control)
            m_commands.push_back(id);
        result = 0;
        return true;
    }
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg != CDragList::kDropMessage)
            return false;
        m_drops.emplace_back(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
        result = 0;
        return true;
    }
};

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A list whose tip timer finds the pointer where the test says, not where the system's pointer is
// (which Wine moves asynchronously).
template <class List>
class CPointerPinned : public List {
public:
    POINT m_pointer = {0, 0};  // screen coordinates
    // What one tick of the tip timer does.
    void PassTipTimer() { this->SendMessage(WM_TIMER, CDragList::kTipTimer); }

protected:
    POINT PointerPosition() const override { return m_pointer; }
};

class IndexListsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_doc.CreateNewFile(m_folder.File("lists.xrd")));
        for (const char* name : {"zero", "banana", "Apple", "apple", "cherry", "Banana", "berry", "date"})
            m_keywords.push_back(m_doc.AddKeyword(name, false));
        ASSERT_EQ(m_keywords[0], 0);
        ASSERT_TRUE(m_parent.Create());
        SetForegroundWindow(m_parent.m_hWnd);
        UpdateWindow(m_parent.m_hWnd);
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        m_doc.DeleteContents();
    }

    void MakeKeywordList(CKeywordListBox& list, int id, int x)
    {
        RECT rect = {x, 10, x + 150, 250};
        ASSERT_TRUE(list.Create(m_parent.m_hWnd, id, rect));
        list.SetDocument(&m_doc);
        list.SetListFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false);
    }
    CKeywordIdSet AllKeywords() const
    {
        CKeywordIdSet set;
        for (int32_t id : m_keywords)
            set.Add(id);
        return set;
    }
    std::vector<std::string> Names(const CKeywordListBox& list) const
    {
        std::vector<std::string> names;
        for (int i = 0; i < list.GetCount(); ++i)
            names.push_back(list.GetItemText(i));
        return names;
    }
    std::vector<int> Highlighted(HWND list) const
    {
        std::vector<int> out;
        int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i)
            if (SendMessageA(list, LB_GETSEL, i, 0) > 0)
                out.push_back(i);
        return out;
    }
    POINT ItemCenter(HWND list, int index) const
    {
        RECT item = {};
        SendMessageA(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item));
        return POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    }
    // The drag list finds the window under the pointer on the screen: wait until the system shows
    // `list` there.
    void WaitUntilShown(HWND list)
    {
        POINT center = ItemCenter(list, 0);
        ClientToScreen(list, &center);
        EXPECT_TRUE(gui::WaitFor([&] { return WindowFromPoint(center) == list; }, 5000));
    }
    // Tip tests keep the system's pointer away from the lists, so that no move the system makes up
    // at its position (after a change of capture or focus) reaches them; the list is told of the
    // pointer by posted moves and its pinned position alone.
    void ParkPointer()
    {
        EXPECT_TRUE(gui::WaitFor([] {
            SetCursorPos(1, 1);
            POINT at;
            return GetCursorPos(&at) && at.x == 1 && at.y == 1;
        }, 5000));
    }
    // A list too narrow for long names, for tips.
    template <class List>
    void MakeNarrowList(List& list, int id)
    {
        RECT rect = {10, 10, 90, 200};
        ASSERT_TRUE(list.Create(m_parent.m_hWnd, id, rect));
        list.SetDocument(&m_doc);
        list.SetListFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false);
    }
    template <class List>
    void Hover(CPointerPinned<List>& list, POINT at)
    {
        list.m_pointer = at;
        ClientToScreen(list.m_hWnd, &list.m_pointer);
        PostMessageA(list.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        Pump();
    }
    // The real pointer goes there too: the system synthesises moves at its position (after a change of
    // capture or focus), which must not look like a drag.
    void Post(HWND list, UINT msg, UINT keys, POINT at)
    {
        POINT screen = at;
        ClientToScreen(list, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(list, msg, keys, MAKELPARAM(at.x, at.y));
        Pump();
    }

    CTempFolder m_folder;
    CRecordingHost m_host;
    CQuorvaneDoc m_doc{m_host};
    std::vector<int32_t> m_keywords;
    CListParent m_parent;
};

TEST_F(IndexListsTest, KeywordListFillsInNameOrderWithIdZeroAndReversesExactly)
{
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    CKeywordIdSet ids = AllKeywords();
    ids.Values().push_back(kNoneId);
    list.SetIds(ids);
    EXPECT_EQ(list.GetCount(), 8);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"apple", "Apple", "banana", "Banana", "berry", "cherry",
                                                      "date", "zero"}));
    UpdateWindow(list.m_hWnd);  // draws every item, id 0 too
    int last = list.GetCount() - 1;
    EXPECT_EQ(list.GetItemId(last), 0);
    SendMessageA(list.m_hWnd, LB_SETSEL, TRUE, last);
    CKeywordIdSet selected;
    list.GetSelectedIds(selected);
    EXPECT_EQ(selected.Values(), (std::vector<int32_t>{0}));

    std::vector<std::string> ascending = Names(list);
    list.SetDescending(true);
    std::vector<std::string> descending = Names(list);
    EXPECT_EQ(descending, std::vector<std::string>(ascending.rbegin(), ascending.rend()));
}

TEST_F(IndexListsTest, FilteredOutKeywordsStayListedAndComeBackWithTheCaret)
{
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    list.SetIds(AllKeywords());
    int32_t cherry = m_keywords[4];
    list.SelectId(cherry);
    CKeywordIdSet filter;
    filter.Add(cherry);
    filter.Add(m_keywords[1]);
    list.SetFilter(filter, true, false);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"banana", "cherry"}));
    CKeywordIdSet listed;
    list.GetIds(listed);
    EXPECT_EQ(listed.GetSize(), 8);
    EXPECT_TRUE(list.HasId(m_keywords[7]));
    EXPECT_EQ(list.GetItemId(static_cast<int>(SendMessageA(list.m_hWnd, LB_GETCARETINDEX, 0, 0))), cherry);

    list.RefreshFilter(false);
    EXPECT_EQ(list.GetCount(), 8);
    int caret = static_cast<int>(SendMessageA(list.m_hWnd, LB_GETCARETINDEX, 0, 0));
    EXPECT_EQ(list.GetItemId(caret), cherry);
    EXPECT_EQ(Highlighted(list.m_hWnd), (std::vector<int>{caret}));
}

// The completion's jump scrolls with drawing off: a shown list stays shown, a hidden one hidden.
TEST_F(IndexListsTest, ScrollToTopKeepsTheListShownOrHidden)
{
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    list.SetIds(AllKeywords());
    const int itemHeight = static_cast<int>(SendMessageA(list.m_hWnd, LB_GETITEMHEIGHT, 0, 0));
    MoveWindow(list.m_hWnd, 10, 10, 150, 2 * itemHeight + 4, TRUE);  // two items a page
    list.ScrollToTop(4);
    EXPECT_EQ(list.GetTopIndex(), 4);
    EXPECT_TRUE(IsWindowVisible(list.m_hWnd));
    ShowWindow(list.m_hWnd, SW_HIDE);
    list.ScrollToTop(1);
    EXPECT_EQ(list.GetTopIndex(), 1);
    EXPECT_FALSE(GetWindowLongA(list.m_hWnd, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(IndexListsTest, KeywordListAddsRemovesAndRemovesTheHighlighted)
{
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    CKeywordIdSet some;
    some.Add(m_keywords[1]);
    some.Add(m_keywords[7]);
    list.SetIds(some);
    EXPECT_FALSE(list.AddId(m_keywords[4], true));
    EXPECT_TRUE(list.AddId(m_keywords[4], true));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"banana", "cherry", "date"}));
    EXPECT_EQ(Highlighted(list.m_hWnd), (std::vector<int>{1}));
    CKeywordIdSet more;
    more.Add(m_keywords[2]);
    more.Add(m_keywords[6]);
    list.AddAndSelectIds(more);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Apple", "banana", "berry", "cherry", "date"}));
    EXPECT_EQ(Highlighted(list.m_hWnd), (std::vector<int>{0, 2}));
    list.RemoveSelected();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"banana", "cherry", "date"}));
    EXPECT_TRUE(Highlighted(list.m_hWnd).empty());
    list.RemoveId(m_keywords[4]);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"banana", "date"}));
    EXPECT_FALSE(list.HasId(m_keywords[4]));
}

// Many ids at once (a keyword list imported) take the refill path: the same list and highlights as
// one insertion each, the caret on the last added name.
TEST_F(IndexListsTest, KeywordListAddsManyAtOnceAsOneRefill)
{
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    CKeywordIdSet some;
    some.Add(m_keywords[1]);
    some.Add(m_keywords[7]);
    list.SetIds(some);
    CKeywordIdSet many;
    many.Add(m_keywords[1]);  // already listed: neither added again nor highlighted
    int32_t lastName = kNoneId;
    for (int i = 0; i < 100; ++i) {
        char name[16];
        snprintf(name, sizeof name, "k%03d", i);
        lastName = m_doc.AddKeyword(name, false);
        many.Add(lastName);
    }
    list.AddAndSelectIds(many);
    ASSERT_EQ(list.GetCount(), 102);
    std::vector<std::string> names = Names(list);
    std::vector<std::string> sorted = names;
    std::stable_sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    EXPECT_EQ(names, sorted);
    std::vector<int> highlighted = Highlighted(list.m_hWnd);
    ASSERT_EQ(highlighted.size(), 100u);
    for (int index : highlighted)
        EXPECT_EQ(names[static_cast<size_t>(index)][0], 'k');
    EXPECT_EQ(list.GetItemId(static_cast<int>(SendMessageA(list.m_hWnd, LB_GETCARETINDEX, 0, 0))), lastName);
}

TEST_F(IndexListsTest, KeywordTypeAheadWithThePinnedClock)
{
    CTickClock clock;
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    list.SetIds(AllKeywords());  // apple Apple banana Banana berry cherry date zero
    list.ResetTypeAhead();
    auto type = [&](char c, std::uint32_t after) {
        clock.m_tick += after;
        SendMessageA(list.m_hWnd, WM_CHAR, static_cast<unsigned char>(c), 0);
        Pump();
        std::vector<int> h = Highlighted(list.m_hWnd);
        return h.size() == 1 ? list.GetItemText(h[0]) : std::string("(") + std::to_string(h.size()) + ")";
    };
    EXPECT_EQ(type('b', 10), "banana");
    EXPECT_EQ(type('b', 10), "Banana");   // the same letter twice steps on
    EXPECT_EQ(type('b', 10), "berry");
    EXPECT_EQ(type('a', 2000), "apple");  // a pause starts anew
    EXPECT_EQ(type('p', 500), "apple");   // "ap" within 1000 ms
    EXPECT_EQ(type('x', 1000), "apple");  // "apx" matches nothing: the selection stays
    type(27, 10);
    EXPECT_EQ(type('c', 10), "cherry");   // Esc emptied the prefix
    EXPECT_EQ(m_parent.m_selChanges, 8);  // after every key, also without a match and for Esc
}

TEST_F(IndexListsTest, KeywordListKeysPostCommands)
{
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_INSERT, 0);
    SendMessageA(list.m_hWnd, WM_KEYDOWN, VK_DELETE, 0);
    Pump();
    EXPECT_EQ(m_parent.m_commands, (std::vector<UINT>{32878, 32879}));
}

TEST_F(IndexListsTest, DeferredClickOnAHighlightedItemOfASelection)
{
    struct Case {
        const char* name;
        UINT keys;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"plain click keeps only that item", 0, {1}},
        {"Ctrl removes it", MK_CONTROL, {0, 2}},
        {"Shift changes nothing", MK_SHIFT, {0, 1, 2}},
    };
    for (const Case& test : cases) {
        CKeywordListBox list;
        MakeKeywordList(list, 100, 10);
        list.SetIds(AllKeywords());
        for (int i : {0, 1, 2})
            SendMessageA(list.m_hWnd, LB_SETSEL, TRUE, i);
        WaitUntilShown(list.m_hWnd);
        int before = m_parent.m_selChanges;
        POINT at = ItemCenter(list.m_hWnd, 1);
        Post(list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON | test.keys, at);
        EXPECT_EQ(Highlighted(list.m_hWnd), (std::vector<int>{0, 1, 2})) << test.name;  // nothing yet
        Post(list.m_hWnd, WM_LBUTTONUP, test.keys, at);
        EXPECT_EQ(Highlighted(list.m_hWnd), test.expected) << test.name;
        EXPECT_GT(m_parent.m_selChanges, before) << test.name;
        EXPECT_EQ(GetCapture(), nullptr) << test.name;
        list.DestroyWindow();
    }
}

TEST_F(IndexListsTest, TwoPixelsStartNoDragThreeDoAndADropPostsToParentThenTarget)
{
    CKeywordListBox source;
    MakeKeywordList(source, 100, 10);
    CKeywordListBox target;
    MakeKeywordList(target, 101, 300);
    source.SetIds(AllKeywords());
    source.SetTargetKinds({DropKind::kSiblingKeywordList});
    EXPECT_EQ(source.GetTargetKind(target.m_hWnd), DropKind::kSiblingKeywordList);
    EXPECT_EQ(source.GetTargetKind(m_parent.m_hWnd), DropKind::kNone);
    WaitUntilShown(source.m_hWnd);
    WaitUntilShown(target.m_hWnd);

    // 2 pixels: still a click; the release applies it.
    for (int i : {0, 1})
        SendMessageA(source.m_hWnd, LB_SETSEL, TRUE, i);
    POINT at = ItemCenter(source.m_hWnd, 0);
    Post(source.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    POINT moved = {at.x + 2, at.y + 2};
    Post(source.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, moved);
    Post(source.m_hWnd, WM_LBUTTONUP, 0, moved);
    EXPECT_EQ(Highlighted(source.m_hWnd), (std::vector<int>{0}));

    // 3 pixels: a drag; the selection stays and a release over the list itself drops nothing.
    SendMessageA(source.m_hWnd, LB_SETSEL, TRUE, 1);
    Post(source.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    moved = {at.x + 3, at.y};
    Post(source.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, moved);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_NO));  // over itself
    Post(source.m_hWnd, WM_LBUTTONUP, 0, moved);
    EXPECT_EQ(Highlighted(source.m_hWnd), (std::vector<int>{0, 1}));
    EXPECT_TRUE(m_parent.m_drops.empty());

    // A release over the sibling list posts to the parent, then to the target.
    Post(source.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    POINT over = ItemCenter(target.m_hWnd, 0);
    MapWindowPoints(target.m_hWnd, source.m_hWnd, &over, 1);
    Post(source.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, over);
    EXPECT_NE(GetCursor(), LoadCursorA(nullptr, IDC_NO));
    Post(source.m_hWnd, WM_LBUTTONUP, 0, over);
    ASSERT_EQ(m_parent.m_drops.size(), 1u);
    EXPECT_EQ(m_parent.m_drops[0].first, target.m_hWnd);
    EXPECT_EQ(m_parent.m_drops[0].second, source.m_hWnd);
    EXPECT_EQ(CDragList::FromDrop(reinterpret_cast<WPARAM>(target.m_hWnd), reinterpret_cast<LPARAM>(source.m_hWnd)),
              &source);
    EXPECT_EQ(GetCapture(), nullptr);

    // The drag cursor says how many items go: several, then one.
    HMODULE module = GetModuleHandleA(nullptr);
    HCURSOR several = LoadCursorA(module, MAKEINTRESOURCEA(IDC_DRAG_SEVERAL));
    HCURSOR one = LoadCursorA(module, MAKEINTRESOURCEA(IDC_DRAG_ONE));
    ASSERT_NE(several, nullptr);
    ASSERT_NE(one, nullptr);
    for (bool many : {true, false}) {
        SendMessageA(source.m_hWnd, LB_SETSEL, FALSE, -1);
        SendMessageA(source.m_hWnd, LB_SETSEL, TRUE, 0);
        if (many)
            SendMessageA(source.m_hWnd, LB_SETSEL, TRUE, 1);
        Post(source.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        Post(source.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, over);
        EXPECT_EQ(GetCursor(), many ? several : one);
        Post(source.m_hWnd, WM_LBUTTONUP, 0, over);
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_ARROW));
    }
    EXPECT_EQ(m_parent.m_drops.size(), 3u);

    // A drop whose source window is gone resolves to nothing.
    HWND gone = source.m_hWnd;
    source.DestroyWindow();
    EXPECT_EQ(CDragList::FromDrop(reinterpret_cast<WPARAM>(target.m_hWnd), reinterpret_cast<LPARAM>(gone)), nullptr);
}

TEST_F(IndexListsTest, ItemTipShowsANameTooWideForTheListOnScreen)
{
    ParkPointer();
    int32_t wide = m_doc.AddKeyword("a keyword name far too wide for this narrow list", false);
    CPointerPinned<CKeywordListBox> list;
    MakeNarrowList(list, 100);
    CKeywordIdSet ids;
    ids.Add(wide);
    ids.Add(m_keywords[7]);  // "zero" fits
    list.SetIds(ids);        // the wide name first, then zero
    WaitUntilShown(list.m_hWnd);
    list.SetFocus();
    Hover(list, ItemCenter(list.m_hWnd, 0));
    ASSERT_TRUE(list.Tip().IsWindowVisible());
    RECT item, tip;
    list.GetItemRect(0, &item);
    MapWindowPoints(list.m_hWnd, nullptr, reinterpret_cast<POINT*>(&item), 2);
    GetWindowRect(list.Tip().m_hWnd, &tip);
    EXPECT_EQ(tip.left, item.left);
    EXPECT_EQ(tip.top, item.top);
    EXPECT_GT(tip.right, item.right);
    EXPECT_EQ(list.Tip().GetItem(), 0);
    // The tip timer looks where the pointer rests: still there, the tip stays.
    list.PassTipTimer();
    EXPECT_TRUE(list.Tip().IsWindowVisible());

    // Onto a name that fits: the tip goes.
    Hover(list, ItemCenter(list.m_hWnd, 1));
    EXPECT_FALSE(list.Tip().IsWindowVisible());

    // Near the right edge of the screen the tip ends at the work area's edge.
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT parent;
    GetWindowRect(m_parent.m_hWnd, &parent);
    MoveWindow(m_parent.m_hWnd, work.right - 120, parent.top, parent.right - parent.left, parent.bottom - parent.top,
               TRUE);
    Pump();
    WaitUntilShown(list.m_hWnd);
    Hover(list, ItemCenter(list.m_hWnd, 0));
    ASSERT_TRUE(list.Tip().IsWindowVisible());
    GetWindowRect(list.Tip().m_hWnd, &tip);
    EXPECT_EQ(tip.right, work.right);
    EXPECT_GE(tip.left, work.left);

    // The pointer leaving the list without a move over it: the timer hides the tip.
    list.m_pointer = POINT{work.left + 1, work.bottom - 1};
    list.PassTipTimer();
    EXPECT_FALSE(list.Tip().IsWindowVisible());

    // The focus leaving for another window hides it.
    Hover(list, ItemCenter(list.m_hWnd, 0));
    ASSERT_TRUE(list.Tip().IsWindowVisible());
    SetFocus(m_parent.m_hWnd);
    EXPECT_FALSE(list.Tip().IsWindowVisible());
    // Without the focus in the list's window no tip shows at all.
    SetFocus(nullptr);
    Hover(list, ItemCenter(list.m_hWnd, 0));
    EXPECT_FALSE(list.Tip().IsWindowVisible());
    MoveWindow(m_parent.m_hWnd, parent.left, parent.top, parent.right - parent.left, parent.bottom - parent.top, TRUE);
}

TEST_F(IndexListsTest, GroupListTipGoesAtAPressAndStaysHiddenWhileDragging)
{
    ParkPointer();
    std::vector<int32_t> groups;
    for (const char* name : {"a keyword group name far too wide for the list", "another group name too wide for it"}) {
        CKeywordGroupRecord group;
        group.SetName(name);
        groups.push_back(m_doc.AddKeywordGroup(group));
    }
    CPointerPinned<CKeywordGroupListBox> list;
    MakeNarrowList(list, 300);
    CGroupIdSet all;
    m_doc.GetAllKeywordGroupIds(all);
    list.SetIds(all);
    WaitUntilShown(list.m_hWnd);
    list.SetFocus();
    POINT first = ItemCenter(list.m_hWnd, 0);
    POINT second = ItemCenter(list.m_hWnd, 1);
    Hover(list, first);
    ASSERT_TRUE(list.Tip().IsWindowVisible());
    EXPECT_EQ(list.Tip().GetItem(), 0);

    // Press on the first name and drag over the second, which would show its own tip.
    PostMessageA(list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.x, first.y));
    Pump();
    EXPECT_FALSE(list.Tip().IsWindowVisible());
    list.m_pointer = second;
    ClientToScreen(list.m_hWnd, &list.m_pointer);
    PostMessageA(list.m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(second.x, second.y));
    Pump();
    ASSERT_TRUE(list.IsDragging());
    EXPECT_FALSE(list.Tip().IsWindowVisible());
    list.PassTipTimer();
    EXPECT_FALSE(list.Tip().IsWindowVisible());
    PostMessageA(list.m_hWnd, WM_LBUTTONUP, 0, MAKELPARAM(second.x, second.y));
    Pump();
    EXPECT_FALSE(list.IsDragging());
    EXPECT_FALSE(list.Tip().IsWindowVisible());

    // After the drag the pointer resting on a name shows its tip again.
    Hover(list, second);
    ASSERT_TRUE(list.Tip().IsWindowVisible());
    EXPECT_EQ(list.Tip().GetItem(), 1);
}

TEST_F(IndexListsTest, PressBelowTheLastItemClearsTheSelection)
{
    CKeywordListBox list;
    MakeKeywordList(list, 100, 10);
    CKeywordIdSet two;
    two.Add(m_keywords[1]);
    two.Add(m_keywords[4]);
    list.SetIds(two);
    SendMessageA(list.m_hWnd, LB_SETSEL, TRUE, -1);
    RECT client;
    GetClientRect(list.m_hWnd, &client);
    Post(list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, POINT{10, client.bottom - 3});
    Post(list.m_hWnd, WM_LBUTTONUP, 0, POINT{10, client.bottom - 3});
    EXPECT_TRUE(Highlighted(list.m_hWnd).empty());
}

class ArticleListsTest : public IndexListsTest {
protected:
    int32_t AddArticle(const std::string& title)
    {
        CArticleRecord record;
        record.SetTitle(title);
        record.SetDate(20240101);
        return m_doc.AddArticle(record, false, false);
    }
    std::vector<std::string> Titles(const CArticleListBox& list)
    {
        std::vector<std::string> titles;
        for (int i = 0; i < list.GetCount(); ++i)
            titles.push_back(m_doc.GetArticleTitle(list.GetItemId(i)));
        return titles;
    }
    void MakeList(CArticleListBox& list)
    {
        RECT rect = {10, 10, 300, 300};
        ASSERT_TRUE(list.Create(m_parent.m_hWnd, 200, rect));
        list.SetDocument(&m_doc);
        list.SetListFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), false);
    }
};

TEST_F(ArticleListsTest, FillSkipsTheNoneIdResortKeepsHighlightsAndInsertsInOrder)
{
    std::vector<int32_t> ids;
    for (const char* title : {"delta", "Alpha", "charlie", "bravo", "echo"})
        ids.push_back(AddArticle(title));
    CArticleListBox list;
    MakeList(list);
    CArticleIdSet set;
    set.Copy(ids);
    set.Values().push_back(kNoneId);
    list.SetIds(set);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta", "echo"}));
    EXPECT_FALSE(list.HasId(kNoneId));

    list.SelectId(ids[2]);  // charlie
    list.SelectId(ids[4]);  // echo
    m_doc.SetSortOrder(1);  // titles descending
    list.Resort(true);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"echo", "delta", "charlie", "bravo", "Alpha"}));
    EXPECT_EQ(Highlighted(list.m_hWnd), (std::vector<int>{0, 2}));
    EXPECT_EQ(SendMessageA(list.m_hWnd, LB_GETTOPINDEX, 0, 0), 0);

    int32_t added = AddArticle("coffee");
    list.AddId(added, true);
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"echo", "delta", "coffee", "charlie", "bravo", "Alpha"}));
    EXPECT_TRUE(list.IsIdSelected(added));
    list.RemoveSelected();
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"delta", "bravo", "Alpha"}));
    m_doc.SetSortOrder(0);
}

// A retitled article moves to its new place with the count unchanged: the order is CompareArticles'
// and every title keeps its own highlight, the moved one as well, whichever way it moves.
TEST_F(ArticleListsTest, MovedTitleTakesItsPlaceAndEveryHighlightStaysWithItsTitle)
{
    std::vector<int32_t> ids;
    for (const char* title : {"a", "c", "e", "g", "i", "k"})
        ids.push_back(AddArticle(title));
    CArticleListBox list;
    MakeList(list);
    CArticleIdSet set;
    set.Copy(ids);
    list.SetIds(set);
    auto retitle = [&](int32_t id, const char* title) {
        CArticleRecord record;
        m_doc.LoadArticle(id, record);
        record.SetTitle(title);
        m_doc.UpdateArticle(id, record, false);
    };
    auto highlightedTitles = [&] {
        std::vector<std::string> out;
        for (int index : Highlighted(list.m_hWnd))
            out.push_back(m_doc.GetArticleTitle(list.GetItemId(index)));
        return out;
    };
    struct Step {
        int article;
        const char* title;
        bool highlight;
        std::vector<std::string> order;
        std::vector<std::string> highlighted;
    };
    list.SelectId(ids[1]);  // c
    list.SelectId(ids[2]);  // e
    list.SelectId(ids[4]);  // i
    const Step steps[] = {
        {1, "j", false, {"a", "e", "g", "i", "j", "k"}, {"e", "i", "j"}},  // down past a highlight
        {5, "b", false, {"a", "b", "e", "g", "i", "j"}, {"e", "i", "j"}},  // up, unhighlighted
        {2, "h", false, {"a", "b", "g", "h", "i", "j"}, {"h", "i", "j"}},  // a highlighted one down
        {3, "gg", true, {"a", "b", "gg", "h", "i", "j"}, {"gg", "h", "i", "j"}},  // in place, highlighted
        {0, "z", false, {"b", "gg", "h", "i", "j", "z"}, {"gg", "h", "i", "j"}},  // first to last
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.title);
        retitle(ids[static_cast<size_t>(step.article)], step.title);
        list.MoveId(ids[static_cast<size_t>(step.article)], step.highlight);
        EXPECT_EQ(Titles(list), step.order);
        EXPECT_EQ(highlightedTitles(), step.highlighted);
        EXPECT_EQ(list.GetItemCount(), 6);
        for (int i = 1; i < list.GetItemCount(); ++i)
            EXPECT_LE(m_doc.CompareArticles(list.GetItemId(i - 1), list.GetItemId(i)), 0);
    }
    // The caret goes with its title.
    SendMessageA(list.m_hWnd, LB_SETCARETINDEX, 1, FALSE);  // gg
    retitle(ids[3], "zz");
    list.MoveId(ids[3], false);
    EXPECT_EQ(SendMessageA(list.m_hWnd, LB_GETCARETINDEX, 0, 0), 5);
    EXPECT_EQ(highlightedTitles(), (std::vector<std::string>{"h", "i", "j", "zz"}));
}

TEST_F(ArticleListsTest, TypeAheadTellsTheParentOnlyOfAMatchAndAClickBelowClears)
{
    CTickClock clock;
    for (const char* title : {"bravo", "beta", "alpha"})
        AddArticle(title);
    CArticleIdSet all;
    m_doc.GetAllArticleIds(all);
    CArticleListBox list;
    MakeList(list);
    list.SetIds(all);
    list.ResetTypeAhead();
    SendMessageA(list.m_hWnd, WM_CHAR, 'b', 0);
    Pump();
    EXPECT_EQ(Highlighted(list.m_hWnd), (std::vector<int>{1}));  // beta
    EXPECT_EQ(m_parent.m_selChanges, 1);
    clock.m_tick += 10;
    SendMessageA(list.m_hWnd, WM_CHAR, 'b', 0);
    Pump();
    EXPECT_EQ(Highlighted(list.m_hWnd), (std::vector<int>{2}));  // bravo
    clock.m_tick += 10;
    SendMessageA(list.m_hWnd, WM_CHAR, 'q', 0);
    Pump();
    EXPECT_EQ(m_parent.m_selChanges, 2);  // no match, no notice

    RECT client;
    GetClientRect(list.m_hWnd, &client);
    Post(list.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, POINT{10, client.bottom - 3});
    Post(list.m_hWnd, WM_LBUTTONUP, 0, POINT{10, client.bottom - 3});
    EXPECT_TRUE(Highlighted(list.m_hWnd).empty());
}

TEST_F(IndexListsTest, GroupListKeepsNameOrderAndAddsOnce)
{
    std::vector<int32_t> groups;
    for (const char* name : {"work", "Home", "archive"}) {
        CKeywordGroupRecord group;
        group.SetName(name);
        groups.push_back(m_doc.AddKeywordGroup(group));
    }
    CKeywordGroupListBox list;
    RECT rect = {10, 10, 200, 200};
    ASSERT_TRUE(list.Create(m_parent.m_hWnd, 300, rect));
    list.SetDocument(&m_doc);
    CGroupIdSet all;
    m_doc.GetAllKeywordGroupIds(all);
    EXPECT_EQ(list.SetIds(all), 3);
    EXPECT_EQ(list.GetText(0), "archive");
    EXPECT_EQ(list.GetText(1), "Home");
    EXPECT_EQ(list.GetText(2), "work");
    EXPECT_EQ(list.AddGroup(groups[1]), 1);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.FindItem(12345), kNoneId);
    list.SetGroupSel(12345, true);
    EXPECT_TRUE(Highlighted(list.m_hWnd).empty());
    list.SetGroupSel(groups[0], true);
    EXPECT_TRUE(list.IsGroupSelected(groups[0]));
    list.RemoveGroup(groups[0]);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_FALSE(list.IsGroupSelected(groups[0]));
    UpdateWindow(list.m_hWnd);
}

}  // namespace

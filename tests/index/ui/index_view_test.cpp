// The index window in an MDI frame over a knowledge base opened through the Windows host: its panes
// and captions, the layout limits, catalog mode, the divider drags and grips, the header clicks, Tab
// between the lists, the stored sizes and placement across a restart, and a frame that the close box
// does not close.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "index/ui/index_view.h"
#include "resources/index_window_res.h"
#include "tests/support/gui_driver.h"
#include "tests/support/index_window_fixture.h"

namespace {

// What a right-click's menu showed: the focus while it was open and its first command. A thread
// timer runs inside the menu's own message loop, reads the menu and ends it.
struct TrackedMenu {
    HWND focus = nullptr;
    UINT firstCommand = 0;
    int items = 0;
};
TrackedMenu g_tracked;

void CALLBACK ReadAndEndMenu(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND menuWindow = FindWindowA("#32768", nullptr);
    if (!menuWindow || !IsWindowVisible(menuWindow))
        return;  // not open yet: the next tick looks again
    KillTimer(nullptr, timer);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    g_tracked.focus = GetFocus();
    g_tracked.firstCommand = GetMenuItemID(menu, 0);
    g_tracked.items = GetMenuItemCount(menu);
    EndMenu();
}

class IndexViewTest : public CIndexWindowFixture {
protected:
    void SetUp() override
    {
        MakeFile({"alpha", "beta", "gamma"}, {{"first", {}}, {"second", {}}});
        MakeFrame();
        m_settings.SetShowDate(1);
        m_services.mainDivider = [] { return 100; };
        m_services.postToMainFrame = [this](UINT command) { m_mainCommands.push_back(command); };
    }

    // A child's rectangle in the view's client coordinates.
    RECT ChildRect(HWND child)
    {
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, m_view->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    HWND Child(int id) { return GetDlgItem(m_view->m_hWnd, id); }
    void Mouse(UINT msg, UINT keys, int x, int y)
    {
        SendMessageA(m_view->m_hWnd, msg, keys, MAKELPARAM(x, y));
    }
    void Drag(int fromX, int fromY, int toX, int toY)
    {
        Mouse(WM_LBUTTONDOWN, MK_LBUTTON, fromX, fromY);
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, (fromX + toX) / 2, (fromY + toY) / 2);
        Mouse(WM_MOUSEMOVE, MK_LBUTTON, toX, toY);
        Mouse(WM_LBUTTONUP, 0, toX, toY);
    }

    std::vector<UINT> m_mainCommands;
};

TEST_F(IndexViewTest, PanesCaptionsAndListsOfAnOpenedFile)
{
    Open();
    EXPECT_EQ(gui::GetText(Child(CIndexView::kGroupHeader)), "Keyword Groups");
    EXPECT_EQ(gui::GetText(Child(CIndexView::kIndexHeader)), "Index (All)");
    EXPECT_EQ(gui::GetText(Child(CIndexView::kSelectedHeader)), "Selected (AND)");
    EXPECT_EQ(gui::GetText(Child(CIndexView::kDateHeader)), "Date");
    EXPECT_EQ(gui::GetText(Child(CIndexView::kTitlesCaption)), "All Titles (2 of 2)");
    EXPECT_EQ(m_view->IndexList().GetCount(), 3);
    EXPECT_EQ(m_view->IndexList().GetItemText(0), "alpha");  // the lists name their items from the document
    EXPECT_EQ(m_view->IndexList().GetItemText(2), "gamma");
    EXPECT_EQ(m_view->TitleList().GetCount(), 2);
    EXPECT_FALSE(IsWindowVisible(Child(CIndexView::kGroupList)));  // hidden until the user shows it
    EXPECT_TRUE(IsWindowVisible(Child(CIndexView::kIndexList)));

    RECT client;
    GetClientRect(m_view->m_hWnd, &client);
    RECT index = ChildRect(Child(CIndexView::kIndexList));
    RECT selected = ChildRect(Child(CIndexView::kSelectedList));
    RECT titles = ChildRect(Child(CIndexView::kTitleList));
    EXPECT_EQ(index.right - index.left, 100);
    EXPECT_LT(index.right, selected.left);
    EXPECT_LT(selected.right, titles.left);
    EXPECT_EQ(titles.right, client.right - 4);

    // A narrow window: the index list at most client width - 58, the selected list ending 5 pixels
    // before the edge of the laid-out width.
    MoveWindow(m_view->m_hWnd, 0, 0, 180, 300, TRUE);
    GetClientRect(m_view->m_hWnd, &client);
    index = ChildRect(Child(CIndexView::kIndexList));
    selected = ChildRect(Child(CIndexView::kSelectedList));
    EXPECT_LE(index.right - index.left, client.right - 58);
    EXPECT_EQ(selected.right, client.right - 4 - 5);
}

TEST_F(IndexViewTest, CatalogShowsTheTitlesColumnAndTheRightGripOnly)
{
    m_profile.WriteInt("Index Display", "View", 1);
    Open();
    EXPECT_FALSE(IsWindowVisible(Child(CIndexView::kIndexList)));
    EXPECT_FALSE(IsWindowVisible(Child(CIndexView::kSelectedList)));
    EXPECT_FALSE(IsWindowVisible(Child(CIndexView::kGroupList)));
    EXPECT_FALSE(IsWindowVisible(Child(CIndexView::kMoveToSelectedButton)));
    EXPECT_TRUE(IsWindowVisible(Child(CIndexView::kTitleList)));
    EXPECT_EQ(ChildRect(Child(CIndexView::kTitleList)).left, 8);
    EXPECT_EQ(m_view->Layout().leftGrip.width, 0);
    EXPECT_EQ(m_view->IndexNotify(IndexCode::kIsCatalog, 0, 0), 1);
    const LayoutRect& grip = m_view->Layout().rightGrip;
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, grip.x + 2, grip.y + 5);
    Mouse(WM_LBUTTONUP, 0, grip.x + 2, grip.y + 5);
    EXPECT_EQ(m_mainCommands, (std::vector<UINT>{CIndexView::kKeywordListsCommand}));
}

TEST_F(IndexViewTest, DividerDragsKeepTheirLimitsAndGripsPostTheirCommands)
{
    m_profile.WriteInt("Index Display", "GroupVisible", 1);
    Open();
    ASSERT_TRUE(IsWindowVisible(Child(CIndexView::kGroupList)));
    RECT client;
    GetClientRect(m_view->m_hWnd, &client);
    const IndexLayout& layout = m_view->Layout();
    int y = layout.indexList.y + 10;

    // The index list's right edge: wider, then never below 40 nor above client width - 58.
    int right = layout.indexList.Right();
    Drag(right, y, right + 30, y);
    EXPECT_EQ(m_view->Values().listWidth, 130);
    Drag(m_view->Layout().indexList.Right(), y, 0, y);
    EXPECT_EQ(m_view->Values().listWidth, 40);

    // The selected list's divider moves by the distance dragged.
    int gap = m_view->Layout().selectedList.Right() + 2;
    Drag(gap, y, gap + 25, y);
    EXPECT_EQ(m_view->Values().divider, 125);

    // The group divider.
    int groupGap = m_view->Layout().groupList.Right() + 2;
    Drag(groupGap, y, groupGap - 20, y);
    EXPECT_EQ(m_view->Values().groupWidth, 80);

    // Grips: a click posts the command; a press that moves becomes the divider's drag.
    const LayoutRect left = m_view->Layout().leftGrip;
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, left.x + 2, left.y + 5);
    Mouse(WM_LBUTTONUP, 0, left.x + 2, left.y + 5);
    const LayoutRect rightGrip = m_view->Layout().rightGrip;
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, rightGrip.x + 2, rightGrip.y + 5);
    Mouse(WM_LBUTTONUP, 0, rightGrip.x + 2, rightGrip.y + 5);
    EXPECT_EQ(m_mainCommands,
              (std::vector<UINT>{CIndexView::kKeywordGroupsCommand, CIndexView::kKeywordListsCommand}));
    int dividerBefore = m_view->Values().divider;
    Drag(rightGrip.x + 2, rightGrip.y + 5, rightGrip.x + 22, rightGrip.y + 5);
    EXPECT_EQ(m_view->Values().divider, dividerBefore + 20);
    EXPECT_EQ(m_mainCommands.size(), 2u);

    // The preview divider: a too tall preview leaves the titles their minimum height.
    m_view->SetPreviewFlags(1);
    const IndexLayout& withPreview = m_view->Layout();
    int band = withPreview.titlesList.Bottom();
    Drag(withPreview.titlesList.x + 20, band, withPreview.titlesList.x + 20, 0);
    EXPECT_EQ(m_view->Layout().titlesList.height, m_view->TitleList().GetMinimumHeight());
}

TEST_F(IndexViewTest, GripsShowTheirArrowIconsAndLightUpUnderThePointer)
{
    m_profile.WriteInt("Index Display", "GroupVisible", 1);
    Open();
    // The arrows are 4 pixels deep: 5 pixels above their middle only the pixel nearest the base is
    // drawn, at x 4 for an arrow pointing left (hide) and at x 1 for one pointing right (show).
    auto pixel = [&](const LayoutRect& grip, int x) {
        InvalidateRect(m_view->m_hWnd, nullptr, TRUE);
        UpdateWindow(m_view->m_hWnd);
        HDC dc = GetDC(m_view->m_hWnd);
        COLORREF color = GetPixel(dc, grip.x + x, grip.y + (grip.height - CIndexView::kGripIconHeight) / 2 + 5);
        ReleaseDC(m_view->m_hWnd, dc);
        return color;
    };
    const COLORREF black = RGB(0, 0, 0);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Expected {
        const char* state;
        bool leftGripShown;
        bool rightHides;
        bool leftHides;
    };
    auto check = [&](const Expected& expected) {
        const IndexLayout& layout = m_view->Layout();
        EXPECT_EQ(pixel(layout.rightGrip, 4), expected.rightHides ? black : face) << expected.state;
        EXPECT_EQ(pixel(layout.rightGrip, 1), expected.rightHides ? face : black) << expected.state;
        if (!expected.leftGripShown) {
            EXPECT_EQ(layout.leftGrip.width, 0) << expected.state;
            return;
        }
        EXPECT_EQ(pixel(layout.leftGrip, 4), expected.leftHides ? black : face) << expected.state;
        EXPECT_EQ(pixel(layout.leftGrip, 1), expected.leftHides ? face : black) << expected.state;
    };
    check({"both panes shown", true, true, true});
    m_view->ShowGroupPane(false, true);
    check({"group pane hidden", true, true, false});
    m_view->SetCatalog(true);
    check({"catalog", false, false, false});
    m_view->SetCatalog(false);

    // The pointer over a grip: the grip's colour shows around its arrow until the pointer leaves.
    const LayoutRect grip = m_view->Layout().rightGrip;
    POINT over = {grip.x + 2, grip.y + grip.height / 2};
    ClientToScreen(m_view->m_hWnd, &over);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_TRUE(gui::WaitFor([&] {
        SetCursorPos(over.x, over.y);
        return pixel(grip, 1) == shadow;
    }, 5000));
    EXPECT_EQ(pixel(grip, 4), black);
    EXPECT_TRUE(gui::WaitFor([&] {
        SetCursorPos(over.x + 200, over.y);
        return pixel(grip, 1) == face;
    }, 5000));
}

TEST_F(IndexViewTest, SizesAndPlacementAreKeptAcrossARestart)
{
    m_profile.WriteInt("Index Display", "ListWidth", 0);
    Open();
    EXPECT_EQ(m_view->Values().listWidth, 100);  // 0 or less reads as 100
    int y = m_view->Layout().indexList.y + 10;
    int right = m_view->Layout().indexList.Right();
    Drag(right, y, right + 50, y);
    m_view->SetPreviewFlags(2);
    MoveWindow(m_frame->m_hWnd, 10, 20, 600, 400, TRUE);
    PumpMessages();
    m_view->IndexNotify(IndexCode::kSavePlacement, 0, 0);
    Close();

    EXPECT_EQ(m_profile.GetInt("Index Display", "ListWidth", -5), 150);
    EXPECT_EQ(m_profile.GetInt("Index Display", "PreviewOn", -5), 2);
    EXPECT_GE(m_profile.GetInt("Index Display", "PreviewHeight", -5), 0);
    EXPECT_EQ(m_profile.GetInt("Index Display", "GroupVisible", -5), -5);  // never shown or hidden by the user
    EXPECT_EQ(m_profile.GetInt("Index Display", "Left", -5), 10);
    EXPECT_EQ(m_profile.GetInt("Index Display", "Top", -5), 20);
    EXPECT_EQ(m_profile.GetInt("Index Display", "Width", -5), 600);
    EXPECT_EQ(m_profile.GetInt("Index Display", "Height", -5), 400);
    EXPECT_EQ(m_profile.GetInt("Index Display", "Maximized", -5), 1);

    Open();
    EXPECT_EQ(m_view->Values().listWidth, 150);
    EXPECT_EQ(m_view->Values().previewOn, 2);
    RECT frame;
    GetWindowRect(m_frame->m_hWnd, &frame);
    MapWindowPoints(nullptr, m_main.GetMDIClient(), reinterpret_cast<POINT*>(&frame), 2);
    EXPECT_EQ(frame.left, 10);
    EXPECT_EQ(frame.top, 20);
    EXPECT_EQ(frame.right - frame.left, 600);

    // Moving while maximised keeps the last normal rectangle; the user's showing of the group pane
    // is now stored.
    m_frame->ShowWindow(SW_MAXIMIZE);
    MoveWindow(m_frame->m_hWnd, 50, 60, 300, 200, TRUE);
    m_view->IndexNotify(IndexCode::kShowGroupPane, 1, 0);
    Close();
    EXPECT_EQ(m_profile.GetInt("Index Display", "Left", -5), 10);
    EXPECT_EQ(m_profile.GetInt("Index Display", "Width", -5), 600);
    EXPECT_EQ(m_profile.GetInt("Index Display", "Maximized", -5), 3);
    EXPECT_EQ(m_profile.GetInt("Index Display", "GroupVisible", -5), 1);
}

TEST_F(IndexViewTest, NothingIsWrittenBeforeTheFrameWasShownAndTheCloseBoxLeavesItOpen)
{
    OpenUnshown();
    HWND frame = m_frame->m_hWnd;
    SendMessageA(frame, WM_CLOSE, 0, 0);
    SendMessageA(frame, WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindow(frame));
    Close();
    EXPECT_EQ(m_profile.GetInt("Index Display", "Top", -5), -5);
    EXPECT_EQ(m_profile.GetInt("Index Display", "Maximized", -5), -5);
}

TEST_F(IndexViewTest, HeaderClicksPostTheirCommandsAndTheIndexHeaderReversesItsList)
{
    Open();
    auto clickAndTake = [&](int id) {
        SendMessageA(Child(id), BM_CLICK, 0, 0);
        MSG msg;
        UINT command = 0;
        while (PeekMessageA(&msg, m_view->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            command = LOWORD(msg.wParam);
        return command;
    };
    EXPECT_EQ(clickAndTake(CIndexView::kDateHeader), 32880u);
    EXPECT_EQ(clickAndTake(CIndexView::kTitlesCaption), 32881u);
    EXPECT_EQ(clickAndTake(CIndexView::kSelectedHeader), 32891u);
    std::string first = m_view->IndexList().GetItemText(0);
    clickAndTake(CIndexView::kIndexHeader);
    EXPECT_TRUE(m_view->IndexList().IsDescending());
    EXPECT_EQ(m_view->IndexList().GetItemText(2), first);
}

TEST_F(IndexViewTest, TabMovesBetweenTheLists)
{
    Open();
    SetFocus(m_view->m_hWnd);
    EXPECT_EQ(GetFocus(), m_view->IndexList().m_hWnd);
    MSG tab = {GetFocus(), WM_KEYDOWN, VK_TAB, 0};
    EXPECT_TRUE(m_view->PreTranslateMessage(&tab));
    HWND next = GetFocus();
    EXPECT_NE(next, m_view->IndexList().m_hWnd);
    EXPECT_TRUE(IsChild(m_view->m_hWnd, next));
}

}  // namespace

TEST_F(IndexViewTest, RightClicksFocusTheListAndTrackItsMenu)
{
    m_profile.WriteInt("Index Display", "GroupVisible", 1);
    Open();
    struct Case {
        int list;
        UINT firstCommand;
    };
    const Case cases[] = {
        {CIndexView::kIndexList, CIndexView::kMoveToSelectedCommand},
        {CIndexView::kSelectedList, CIndexView::kMoveToIndexCommand},
        {CIndexView::kTitleList, 32809},  // Open Article
        {CIndexView::kGroupList, 33026},  // Add Keyword Group...
    };
    for (const Case& test : cases) {
        g_tracked = TrackedMenu();
        HWND list = Child(test.list);
        SetFocus(Child(CIndexView::kTitlesCaption));
        RECT rect;
        GetWindowRect(list, &rect);
        UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadAndEndMenu);
        SendMessageA(m_view->m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list),
                     MAKELPARAM(rect.left + 10, rect.top + 10));
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_tracked.focus, list) << test.list;
        EXPECT_EQ(g_tracked.firstCommand, test.firstCommand) << test.list;
        EXPECT_GT(g_tracked.items, 2) << test.list;
        EXPECT_EQ(GetFocus(), list) << test.list;
    }
    // Elsewhere in the view: no menu.
    g_tracked = TrackedMenu();
    UINT_PTR timer = SetTimer(nullptr, 0, 30, ReadAndEndMenu);
    SendMessageA(m_view->m_hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_view->m_hWnd), MAKELPARAM(5, 5));
    KillTimer(nullptr, timer);
    EXPECT_EQ(g_tracked.items, 0);
}

TEST_F(IndexViewTest, SortArrowsFollowTheSortOrderAndTheIndexDirection)
{
    Open();
    auto shown = [&](int id) {
        auto* button = dynamic_cast<CImageButton*>(CWnd::FromHandle(Child(id)));
        return button ? button->GetBitmapId() : -1;
    };
    EXPECT_EQ(shown(CIndexView::kTitlesCaption), IDB_SORT_ASCENDING);
    EXPECT_EQ(shown(CIndexView::kDateHeader), IDB_SORT_NONE);
    EXPECT_EQ(shown(CIndexView::kIndexHeader), IDB_SORT_ASCENDING);
    EXPECT_EQ(shown(CIndexView::kTagHeader), IDB_MARK_BOOKMARK);
    CQuorvaneDoc* document = dynamic_cast<CQuorvaneDoc*>(m_view->GetDocument());
    ASSERT_NE(document, nullptr);
    document->SetSortOrder(3);  // dates descending
    EXPECT_EQ(shown(CIndexView::kDateHeader), IDB_SORT_DESCENDING);
    EXPECT_EQ(shown(CIndexView::kTitlesCaption), IDB_SORT_NONE);
    document->SetSortOrder(1);  // titles descending
    EXPECT_EQ(shown(CIndexView::kTitlesCaption), IDB_SORT_DESCENDING);
    document->SetSortOrder(6);  // attachments first: no arrow on either
    EXPECT_EQ(shown(CIndexView::kTitlesCaption), IDB_SORT_NONE);
    EXPECT_EQ(shown(CIndexView::kDateHeader), IDB_SORT_NONE);
    document->SetSortOrder(0);
    SendMessageA(Child(CIndexView::kIndexHeader), BM_CLICK, 0, 0);
    EXPECT_EQ(shown(CIndexView::kIndexHeader), IDB_SORT_DESCENDING);
}

TEST_F(IndexViewTest, DividerCursorsAreTheProgramsOwn)
{
    m_profile.WriteInt("Index Display", "GroupVisible", 1);
    m_profile.WriteInt("Index Display", "PreviewOn", 1);
    Open();
    HMODULE module = GetModuleHandleA(nullptr);
    // Wine moves the pointer asynchronously: the pointer is placed and the cursor asked again until
    // the expected one shows or the wait ends; the last cursor shown is compared.
    auto cursorAt = [&](int x, int y, HCURSOR expected) {
        POINT screen = {x, y};
        ClientToScreen(m_view->m_hWnd, &screen);
        HCURSOR shown = nullptr;
        gui::WaitFor([&] {
            SetCursorPos(screen.x, screen.y);
            SendMessageA(m_view->m_hWnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(m_view->m_hWnd),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            shown = GetCursor();
            return shown == expected;
        }, 5000);
        return shown;
    };
    const IndexLayout& layout = m_view->Layout();
    int y = layout.indexList.y + 10;
    const HCURSOR sizeWE = LoadCursorA(nullptr, IDC_SIZEWE);
    const HCURSOR columns = LoadCursorA(module, MAKEINTRESOURCEA(IDC_SPLIT_COLUMNS));
    const HCURSOR preview = LoadCursorA(module, MAKEINTRESOURCEA(IDC_SPLIT_PREVIEW));
    EXPECT_EQ(cursorAt(layout.indexList.Right() + 1, y, sizeWE), sizeWE);
    EXPECT_EQ(cursorAt(layout.selectedList.Right() + 2, y, columns), columns);
    EXPECT_EQ(cursorAt(layout.groupList.Right() + 2, y, columns), columns);
    EXPECT_EQ(cursorAt(layout.titlesList.x + 20, layout.titlesList.Bottom() + 1, preview), preview);
    EXPECT_NE(LoadCursorA(module, MAKEINTRESOURCEA(IDC_SPLIT_COLUMNS)), nullptr);
}

TEST_F(IndexViewTest, TitleMarksShowInColumnsByTheirSettings)
{
    Open();
    CQuorvaneDoc* document = dynamic_cast<CQuorvaneDoc*>(m_view->GetDocument());
    CIndexTitleList& titles = m_view->TitleList();
    int32_t bookmarked = titles.GetItemId(0);
    document->SetBookmark(bookmarked, true);

    // Every column and the date off: the title starts one pixel from the left.
    m_settings.SetShowDate(0);
    m_settings.SetShowTag(0);
    m_settings.SetShowAttachment(0);
    m_settings.SetShowHypertextStatus(0);
    m_settings.SetShowPrivateStatus(0);
    m_settings.SetShowReminderStatus(0);
    m_view->IndexNotify(IndexCode::kDisplayPrefsChanged, 0, 0);
    EXPECT_EQ(LayOutTitleLine(titles.LineInput()).titleX, 1);
    EXPECT_FALSE(IsWindowVisible(Child(CIndexView::kTagHeader)));

    // The bookmark column: its header shows, and the bookmarked title's line draws the mark.
    m_settings.SetShowTag(1);
    m_settings.SetShowReminderStatus(1);
    m_view->IndexNotify(IndexCode::kDisplayPrefsChanged, 0, 0);
    TitleLineInput line = titles.LineInput();
    EXPECT_EQ(line.statusWidth[kTagColumn], 12);
    TitleLineLayout columns = LayOutTitleLine(line);
    EXPECT_EQ(columns.statusX[kTagColumn], 1);
    EXPECT_EQ(columns.statusX[kReminderColumn], 1 + 12 + 4);
    EXPECT_EQ(columns.titleX, 1 + 12 + 4 + 12 + 4);
    EXPECT_TRUE(IsWindowVisible(Child(CIndexView::kTagHeader)));
    EXPECT_TRUE(IsWindowVisible(Child(CIndexView::kReminderHeader)));
    EXPECT_FALSE(IsWindowVisible(Child(CIndexView::kAttachmentHeader)));

    // Each line drawn into a bitmap of our own, as the list box asks its owner to draw it.
    titles.SendMessage(LB_SETSEL, FALSE, -1);
    RECT line0;
    titles.GetItemRect(0, &line0);
    auto drawLine = [&](int index, int x) {
        HDC screen = GetDC(nullptr);
        HDC dc = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, line0.right, line0.bottom - line0.top);
        HGDIOBJ old = SelectObject(dc, bitmap);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_LISTBOX;
        item.CtlID = CIndexView::kTitleList;
        item.itemID = static_cast<UINT>(index);
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = titles.m_hWnd;
        item.hDC = dc;
        item.rcItem = {0, 0, line0.right, line0.bottom - line0.top};
        SendMessageA(m_view->m_hWnd, WM_DRAWITEM, CIndexView::kTitleList, reinterpret_cast<LPARAM>(&item));
        COLORREF colour = GetPixel(dc, x, (line0.bottom - line0.top) / 2);
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
        return colour;
    };
    // The ribbon's middle column, half way down each line.
    EXPECT_EQ(drawLine(0, 1 + 5), RGB(200, 30, 30));
    EXPECT_EQ(drawLine(1, 1 + 5), GetSysColor(COLOR_WINDOW));
}

TEST_F(IndexViewTest, InsertAndDeleteInTheListsPostTheirCommands)
{
    m_profile.WriteInt("Index Display", "GroupVisible", 1);
    Open();
    auto keyAndTake = [&](int list, UINT vk) {
        SendMessageA(Child(list), WM_KEYDOWN, vk, 0);
        MSG msg;
        UINT command = 0;
        while (PeekMessageA(&msg, m_view->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
            command = LOWORD(msg.wParam);
        return command;
    };
    EXPECT_EQ(keyAndTake(CIndexView::kTitleList, VK_INSERT), 32785u);   // New Article
    EXPECT_EQ(keyAndTake(CIndexView::kIndexList, VK_INSERT), 32804u);   // Add Keyword...
    EXPECT_EQ(keyAndTake(CIndexView::kSelectedList, VK_INSERT), 32878u);
    EXPECT_EQ(keyAndTake(CIndexView::kSelectedList, VK_DELETE), 32879u);
    EXPECT_EQ(keyAndTake(CIndexView::kGroupList, VK_INSERT), 33026u);   // Add Keyword Group...
    EXPECT_EQ(keyAndTake(CIndexView::kGroupList, VK_DELETE), 33029u);   // Delete Keyword Groups...
}

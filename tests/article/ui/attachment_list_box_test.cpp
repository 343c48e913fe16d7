// The attachment list on a real list box: its operations keep the targets in step with the items,
// the ends of Move Up and Move Down, the check column and Space (ignored when read-only), the kind
// pictures, and the item tip that leaves the pictures uncovered.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "article/ui/attachment_list_box.h"
#include "storage/link_shell.h"

namespace {

class CFolderShell : public ILinkShell {
public:
    CFolderShell() { m_previous = SetLinkShell(this); }
    ~CFolderShell() override { SetLinkShell(m_previous); }
    bool PathExists(const std::string& path, bool& isFolder) override
    {
        isFolder = path == "C:\\Notes\\folder";
        return isFolder;
    }
    intptr_t Execute(const char*, const std::string&, const std::string&) override { return 42; }
    std::string FolderProgram() override { return std::string(); }
    bool CanSearchMissing() override { return false; }
    std::string BaseFolder() override { return "C:\\Notes"; }
    int FindMissing(std::string&, int32_t) override { return 2; }

private:
    ILinkShell* m_previous;
};

CLinkTarget Target(int kind, const std::string& text)
{
    CLinkTarget target;
    target.Set(kind, text);
    return target;
}

class AttachmentListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_parent = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        HWND list = CreateWindowExA(0, "LISTBOX", "",
                                    WS_CHILD | WS_VISIBLE | WS_BORDER | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                                        LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                    0, 0, 200, 150, m_parent, reinterpret_cast<HMENU>(1413), GetModuleHandleA(nullptr),
                                    nullptr);
        ASSERT_TRUE(m_list.Subclass(list));
        m_list.SetItemHeight();
        CAttachmentArray all;
        all.Add(Target(CLinkTarget::kFile, "C:\\Notes\\a.txt"));
        all.Add(Target(CLinkTarget::kInternet, "https://example.org/"));
        all.Add(Target(CLinkTarget::kFile, "C:\\Notes\\folder"));
        EXPECT_EQ(m_list.SetAll(all), 3);
    }
    void TearDown() override { DestroyWindow(m_parent); }
    std::vector<std::string> Order()
    {
        CAttachmentArray all;
        m_list.GetAll(all);
        std::vector<std::string> texts;
        for (int i = 0; i < all.GetSize(); ++i)
            texts.push_back(all.Item(i)->GetStoredTarget());
        return texts;
    }
    void ClickAt(int x, int index)
    {
        RECT item = {};
        m_list.GetItemRect(index, &item);
        const LPARAM at = MAKELPARAM(x, (item.top + item.bottom) / 2);
        m_list.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        m_list.SendMessage(WM_LBUTTONUP, 0, at);
    }

    CFolderShell m_shell;
    HWND m_parent = nullptr;
    CAttachmentListBox m_list;
};

TEST_F(AttachmentListBoxTest, MovesStopAtTheEndsAndKeepTheTargetsInStep)
{
    EXPECT_EQ(m_list.GetIconKind(0), CAttachmentListBox::kFileIcon);
    EXPECT_EQ(m_list.GetIconKind(1), CAttachmentListBox::kInternetIcon);
    EXPECT_EQ(m_list.GetIconKind(2), CAttachmentListBox::kFolderIcon);

    m_list.SelectOnly(0);
    m_list.MoveUp();
    m_list.SelectOnly(2);
    m_list.MoveDown();
    EXPECT_EQ(Order(), (std::vector<std::string>{"C:\\Notes\\a.txt", "https://example.org/", "C:\\Notes\\folder"}));

    m_list.SelectOnly(0);
    m_list.MoveDown();
    EXPECT_EQ(Order(), (std::vector<std::string>{"https://example.org/", "C:\\Notes\\a.txt", "C:\\Notes\\folder"}));
    EXPECT_EQ(m_list.GetSelectedIndices(), std::vector<int>({1}));
    EXPECT_EQ(m_list.GetText(1), "C:\\Notes\\a.txt");

    // Two selected: no move; Delete Selected takes both, from the last.
    m_list.SendMessage(LB_SETSEL, TRUE, 2);
    m_list.MoveUp();
    EXPECT_EQ(m_list.GetItem(1).GetStoredTarget(), "C:\\Notes\\a.txt");
    m_list.DeleteSelected();
    EXPECT_EQ(Order(), std::vector<std::string>{"https://example.org/"});

    // Replacing recomputes the picture; an index that is no item does nothing.
    m_list.ReplaceItem(0, Target(CLinkTarget::kFile, "C:\\Notes\\folder"));
    m_list.ReplaceItem(5, Target(CLinkTarget::kFile, "C:\\x"));
    EXPECT_EQ(m_list.GetIconKind(0), CAttachmentListBox::kFolderIcon);
    EXPECT_EQ(m_list.GetText(0), "C:\\Notes\\folder");
    EXPECT_EQ(m_list.GetCount(), 1);
}

TEST_F(AttachmentListBoxTest, TheCheckColumnAndSpaceToggleUnlessReadOnly)
{
    const struct {
        bool readOnly;
        bool toggled;
    } cases[] = {{false, true}, {true, false}};
    for (const auto& c : cases) {
        m_list.SetCheckMode(true, c.readOnly);
        m_list.ClearCheckToggled();
        const bool before = m_list.GetItem(0).IsInOpenList();
        ClickAt(3, 0);
        EXPECT_EQ(m_list.GetItem(0).IsInOpenList() != before, c.toggled) << c.readOnly;
        ClickAt(60, 0);  // on the text: selects only
        EXPECT_EQ(m_list.GetItem(0).IsInOpenList() != before, c.toggled) << c.readOnly;
        m_list.SelectOnly(1);
        const bool second = m_list.GetItem(1).IsInOpenList();
        m_list.SendMessage(WM_KEYDOWN, VK_SPACE, 0);
        EXPECT_EQ(m_list.GetItem(1).IsInOpenList() != second, c.toggled) << c.readOnly;
        EXPECT_EQ(m_list.IsCheckToggled(), c.toggled) << c.readOnly;
    }
}

TEST_F(AttachmentListBoxTest, TheTipOfALongTargetLeavesThePicturesUncovered)
{
    m_list.SetCheckMode(true, false);
    m_list.AddItem(Target(CLinkTarget::kInternet, "https://example.org/" + std::string(40, 'x')), true);
    m_list.ShowTipFor(0);
    EXPECT_FALSE(m_list.Tip().IsWindowVisible()) << "a short target fits";
    m_list.ShowTipFor(3);
    ASSERT_TRUE(m_list.Tip().IsWindowVisible());
    RECT item = {};
    m_list.GetItemRect(3, &item);
    MapWindowPoints(m_list.m_hWnd, nullptr, reinterpret_cast<POINT*>(&item), 2);
    const RECT tip = m_list.Tip().GetWindowRect();
    EXPECT_GT(tip.left, item.left + 30) << "after the check box and the kind picture";
    EXPECT_GT(tip.right, item.right);
    m_list.HideTip();
}

}  // namespace

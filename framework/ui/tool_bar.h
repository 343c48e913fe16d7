// A toolbar on the common toolbar control: buttons and separators from a toolbar resource, button
// and image sizes, check and drop-down buttons, tips and status-bar prompts from "prompt\ntip"
// strings named by each command id, and the idle update of its buttons through the frame's update
// rules. A button's click runs its command through the frame, which asks the update rule first.
//
// Toolbar resource (resource type 241), little-endian 16-bit words:
//   version (1), image width, image height, item count, then one command id per item (0 for a
//   separator). A button's image is its place among the buttons (separators take none).
#pragma once
#include <string>
#include <vector>

#include "framework/ui/control_bar.h"

class CToolBar : public CControlBar {
public:
    static constexpr WORD kResourceType = 241;

    // Creates the control as child `id` of `frame`. `toolbarStyle` adds TBSTYLE_ flags (flat,
    // transparent); `style` holds the window styles; `barStyle` the kBar... flags.
    bool CreateEx(CFrameWnd* frame, DWORD toolbarStyle, DWORD style, DWORD barStyle, UINT id);
    // Replaces the items by those of toolbar resource `resourceId`; false when it is missing or
    // damaged.
    bool LoadToolBar(int resourceId);
    // Button size (image + frame) and image size.
    void SetSizes(SIZE button, SIZE image);

    int GetCount() const { return static_cast<int>(m_items.size()); }
    // The command id of item `index` (0 for a separator), or 0 when out of range.
    unsigned GetItemID(int index) const;
    // The item of command `id`, or -1.
    int CommandToIndex(unsigned id) const;
    RECT GetItemRect(int index) const;
    // Turns item `index` into command `id` with button style `style` (BTNS_...); for a separator,
    // `widthOrImage` is its width, for a button its image index.
    void SetButtonInfo(int index, unsigned id, BYTE style, int widthOrImage);
    BYTE GetButtonStyle(int index) const;
    void SetButtonStyle(int index, BYTE style);
    // TB_ISBUTTONCHECKED for command `id`.
    bool IsButtonChecked(unsigned id) const;
    // How many leading separators hold the gripper (0: none).
    void SetGripperItems(int count) { m_gripperItems = count; }

    SIZE CalcFixedLayout() override;
    void OnUpdateCmdUI(CFrameWnd* target) override;
    RECT GetGripperRect() const override;

    // The tip of command `id`: the text after '\n' in its string, else the whole string.
    static std::string TipOfCommand(unsigned id);

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct Item {
        unsigned id;
        BYTE state;  // TBSTATE_ as last applied
    };
    void ReadItems();

    std::vector<Item> m_items;
    int m_gripperItems = 0;
    std::string m_tip;  // the tip handed to the control, alive until the next request
};

// The index window's MDI child frame. It keeps its position, size and show state in the option store
// (section "Index Display": "Top", "Left", "Width", "Height", "Maximized"), relative to the MDI client,
// and stays open for as long as its knowledge base: the close box, the system menu's Close and Ctrl+F4
// do nothing.
#pragma once
#include "framework/ui/mdi_wnd.h"
#include "index/index_placement.h"

class CIndexFrame : public CMDIChildWnd {
public:
    CIndexFrame() = default;
    ~CIndexFrame() override;

    // Set once the frame was shown for the first time: only then is the placement written.
    void ArmPlacement() { m_armed = true; }
    bool IsPlacementArmed() const { return m_armed; }
    // Writes the placement (when armed): the last normal rectangle and the show state.
    void SavePlacement();
    const IndexFramePlacement& Placement() const { return m_placement; }
    // Shows the frame as the stored state says (maximised, minimised or normal) and arms the placement.
    void ShowStored();

protected:
    void PreCreateWindow(MDICREATESTRUCTA& create) override;
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    bool OnClose(LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;

private:
    void RecordRect();

    bool m_armed = false;
    IndexFramePlacement m_placement;
    HICON m_icon = nullptr;
};

// The Format bar's two combo boxes: the TrueType families of the screen and the usual point sizes.
// Each shows what the selection of the active article's text uses and applies a choice to it.
#pragma once
#include <string>

#include <windows.h>
#include <richedit.h>

#include "framework/ui/controls.h"

class CMainFrame;

class CFontNameCombo : public CComboBox {
public:
    explicit CFontNameCombo(CMainFrame* frame) : m_frame(frame) {}
    // Creates the combo over `rect` of `parent` and fills it.
    bool Create(HWND parent, const RECT& rect, UINT id, DWORD style);
    // Selects `face` when the list holds it exactly; otherwise clears the selection and shows the
    // face up to its first ',' as typed text (only when that text differs, ignoring case).
    void SelectFace(const std::string& face);

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PreTranslateMessage(MSG* msg) override;

private:
    void ApplySelection();
    CMainFrame* m_frame;
};

class CFontSizeCombo : public CComboBox {
public:
    static constexpr int kSizes[17] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 32, 36, 48, 72};

    explicit CFontSizeCombo(CMainFrame* frame) : m_frame(frame) {}
    bool Create(HWND parent, const RECT& rect, UINT id, DWORD style);
    // Shows `twips` / 20 points, unless the user is typing in the combo.
    void SelectSize(int twips);
    // The size typed in the edit field in twips, or 0 when it is not a whole number from 1 to 127.
    static int ParseTypedSize(const std::string& text);

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool PreTranslateMessage(MSG* msg) override;

private:
    void Apply(int twips);
    bool HasFocus() const;

    CMainFrame* m_frame;
    HWND m_target = nullptr;  // the rich edit that had the keyboard when the combo got it
    CHARRANGE m_targetSelection = {};
    bool m_busy = false;
};

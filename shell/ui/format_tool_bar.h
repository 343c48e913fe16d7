// The Format bar: character and paragraph buttons, the font-name and font-size combos on items 3
// and 5, and two colour buttons (Highlight Text, Text Color) whose pictures carry the current
// colour as a bar along their bottom edge.
#pragma once
#include "shell/ui/font_combos.h"
#include "shell/ui/tool_bars.h"

class CFormatToolBar : public CMainFrameBar {
public:
    static constexpr COLORREF kKeepColor = static_cast<COLORREF>(-2);
    static constexpr COLORREF kAutomatic = static_cast<COLORREF>(-1);
    static constexpr int kHighlightImage = 4;
    static constexpr int kTextColorImage = 5;

    explicit CFormatToolBar(CMainFrame* frame);
    ~CFormatToolBar() override;

    // -2 keeps the stored colour, any other value replaces it; -1 draws in the system's
    // window-text colour (text) or window colour (highlight).
    void SetTextColor(COLORREF color);
    void SetHighlightColor(COLORREF color);
    COLORREF GetTextColor() const { return m_textColor; }
    COLORREF GetHighlightColor() const { return m_highlightColor; }

    CFontNameCombo& NameCombo() { return m_nameCombo; }
    CFontSizeCombo& SizeCombo() { return m_sizeCombo; }

    void OnUpdateCmdUI(CFrameWnd* target) override;

protected:
    bool OnCreateBar() override;

private:
    void DrawSwatch(int image, COLORREF color, int normalId, int disabledId);

    COLORREF m_highlightColor = kAutomatic;
    COLORREF m_textColor = kAutomatic;
    CFont m_font;
    CFontNameCombo m_nameCombo;
    CFontSizeCombo m_sizeCombo;
};

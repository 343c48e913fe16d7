// The Tip of the Day dialog: one tip at a time from the tip file in a read-only rich-text pane whose
// links can be clicked, Next Tip, and the "Show Tips at Startup" check. The number of the next tip
// and the check are written to the settings as soon as they change, so the next run goes on.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/ui/dialog.h"
#include "framework/ui/rich_edit.h"
#include "shell/tip_file.h"

class CAppSettings;

// The tip pane: plain text with coloured, underlined link ranges; a click on a link opens it.
class CTipRichEdit : public CRichEditCtrl {
public:
    static constexpr COLORREF kShellLinkColor = 0xFF0000;  // blue
    static constexpr COLORREF kHelpLinkColor = 0x007F00;   // dark green: bit 0 of the link kind

    // The text, put in as plain text: a tip that happens to start "{\rtf" shows as typed.
    void SetTipText(const std::string& text);
    // Takes over `links` and gives their ranges the link look.
    void ApplyLinks(std::vector<TipLink> links);
    // The first link holding character `c`, or nullptr.
    const TipLink* LinkAtChar(int c) const;
    const std::vector<TipLink>& Links() const { return m_links; }

    // A click on a help link asks for its context number; on a shell link opens its target.
    std::function<void(uint32_t)> m_onHelp;
    std::function<void(const std::string&)> m_onOpen;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    const TipLink* LinkAtPoint(LPARAM point) const;

    std::vector<TipLink> m_links;
    HCURSOR m_cursor = nullptr;
};

class CTipOfTheDayDlg : public CDialog {
public:
    static constexpr COLORREF kPaneColor = 0xF0FFFF;

    CTipOfTheDayDlg(CAppSettings& settings, HWND parent = nullptr);

    // Data in. 1 from the menu (a missing file is reported), 0 at start-up.
    int m_reportMissingFile = 1;
    std::string m_tipFilePath;
    bool m_highContrast = false;
    std::function<void(uint32_t)> m_onHelp;
    std::function<void(const std::string&)> m_onOpen;

    // Shows the next tip of kind 0 and stores the number after it.
    void ShowNextTip();
    COLORREF PaneColor() const { return m_paneColor; }
    CTipRichEdit& Pane() { return m_pane; }

    // The tip file beside the program: its path with everything from the last "." replaced by ".tod".
    static std::string TipFilePathFor(const std::string& programPath);

protected:
    bool OnInitDialog() override;
    void OnCancel() override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;

private:
    void PaintHeading();

    CAppSettings& m_settings;
    CTipRichEdit m_pane;
    CTipFile m_file;
    COLORREF m_paneColor = kPaneColor;
};

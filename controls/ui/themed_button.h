// The program's owner-drawn push button: a caption and an optional picture with a transparent
// background (a second picture while disabled), drawn through the visual styles when they are
// active, else with classic 3-D edges. Its owner may draw it pressed while a drop-down it owns is
// open, or with the default look.
#pragma once
#include <memory>

#include "controls/ui/masked_bitmap.h"
#include "framework/ui/controls.h"

class CThemedButton : public CButton {
public:
    // Binds the visual-style entry points once per process.
    CThemedButton();
    ~CThemedButton() override;

    // Creates the button (BS_OWNERDRAW is forced) as child `id` of `parent`.
    bool Create(const std::string& caption, DWORD style, const RECT& rect, HWND parent, UINT id);
    // Subclasses a button of a dialog template and makes it owner-drawn.
    bool SubclassButton(HWND button);

    void SetBitmap(int id, COLORREF transparent);
    void SetSecondBitmap(int id, COLORREF transparent);
    void SetImageLeft() { m_imageLeft = true; }
    void SetImageCentered(bool centred) { m_imageCentered = centred; }
    SIZE GetImageSize() const;
    // Stores the three states and redraws at once, only when one of them changed.
    void SetStates(bool hot, bool defaultLook, bool pushedIn);
    // How many times the button was drawn (for checks of needless redraws).
    int GetDrawCount() const { return m_drawCount; }

    static bool IsThemeActive();
    // Frees uxtheme.dll at exit.
    static void FreeThemeLibrary();

protected:
    bool OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

private:
    void DrawThemed(const DRAWITEMSTRUCT& item);
    void DrawClassic(const DRAWITEMSTRUCT& item);
    HFONT Font() const;

    bool m_hot = false;
    bool m_pushedIn = false;
    bool m_defaultLook = false;
    std::unique_ptr<CMaskedBitmap> m_secondImage;
    bool m_imageLeft = false;
    bool m_imageCentered = false;
    std::unique_ptr<CMaskedBitmap> m_image;
    int m_drawCount = 0;
};

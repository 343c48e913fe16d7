#include "shell/ui/font_combos.h"

#include <richedit.h>

#include <cstdlib>

#include "controls/ui/format_target.h"
#include "shell/ui/main_frame.h"

namespace {

int CALLBACK AddTrueTypeFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM data)
{
    if (type & TRUETYPE_FONTTYPE) {
        auto* combo = reinterpret_cast<CFontNameCombo*>(data);
        if (combo->SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(font->lfFaceName)) == CB_ERR)
            combo->AddString(font->lfFaceName);
    }
    return 1;
}

HWND CreateCombo(HWND parent, const RECT& rect, UINT id, DWORD style)
{
    return CreateWindowExA(0, "COMBOBOX", nullptr, style, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
}

bool IsFocusIn(HWND combo)
{
    HWND focus = GetFocus();
    return focus && (focus == combo || IsChild(combo, focus));
}

}  // namespace

bool CFontNameCombo::Create(HWND parent, const RECT& rect, UINT id, DWORD style)
{
    if (!Subclass(CreateCombo(parent, rect, id, style)))
        return false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesA(screen, nullptr, AddTrueTypeFamily, reinterpret_cast<LPARAM>(this));
    ReleaseDC(nullptr, screen);
    return true;
}

void CFontNameCombo::SelectFace(const std::string& face)
{
    int found = static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(face.c_str())));
    // CB_FINDSTRINGEXACT ignores case; the list must hold the name exactly.
    if (found != CB_ERR) {
        std::string item(static_cast<size_t>(SendMessage(CB_GETLBTEXTLEN, found)) + 1, '\0');
        SendMessage(CB_GETLBTEXT, found, reinterpret_cast<LPARAM>(&item[0]));
        item.resize(item.size() - 1);
        if (item == face) {
            if (GetCurSel() != found)
                SetCurSel(found);
            return;
        }
    }
    if (GetCurSel() != CB_ERR)
        SetCurSel(-1);
    std::string shown = face.substr(0, face.find(','));
    if (lstrcmpiA(shown.c_str(), GetWindowText().c_str()) != 0)
        SetWindowText(shown);
}

void CFontNameCombo::ApplySelection()
{
    int index = GetCurSel();
    if (index == CB_ERR || !m_frame)
        return;
    std::string face(static_cast<size_t>(SendMessage(CB_GETLBTEXTLEN, index)) + 1, '\0');
    SendMessage(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&face[0]));
    face.resize(face.size() - 1);
    m_frame->ApplyFontFace(face);
    m_frame->FocusArticleView();
}

bool CFontNameCombo::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_COMMAND && HIWORD(wParam) == CBN_CLOSEUP)
        ApplySelection();
    return false;
}

bool CFontNameCombo::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN || msg->wParam != VK_RETURN)
        return false;
    // Enter on a name the list holds exactly selects and applies it.
    std::string typed = GetWindowText();
    int found = static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(typed.c_str())));
    if (found != CB_ERR) {
        SetCurSel(found);
        ApplySelection();
    }
    return true;
}

constexpr int CFontSizeCombo::kSizes[17];

bool CFontSizeCombo::Create(HWND parent, const RECT& rect, UINT id, DWORD style)
{
    if (!Subclass(CreateCombo(parent, rect, id, style)))
        return false;
    for (int size : kSizes)
        AddString(std::to_string(size));
    return true;
}

bool CFontSizeCombo::HasFocus() const
{
    return IsFocusIn(m_hWnd);
}

void CFontSizeCombo::SelectSize(int twips)
{
    if (HasFocus())
        return;
    std::string text = std::to_string(twips / 20);
    int found = static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                             reinterpret_cast<LPARAM>(text.c_str())));
    if (found != CB_ERR) {
        if (GetCurSel() != found)
            SetCurSel(found);
        return;
    }
    if (GetCurSel() != CB_ERR)
        SetCurSel(-1);
    if (GetWindowText() != text)
        SetWindowText(text);
}

int CFontSizeCombo::ParseTypedSize(const std::string& text)
{
    if (text.empty() || text.size() > 3)
        return 0;
    for (char c : text)
        if (c < '0' || c > '9')
            return 0;
    int points = std::atoi(text.c_str());
    return points >= 1 && points <= 127 ? points * 20 : 0;
}

void CFontSizeCombo::Apply(int twips)
{
    if (m_busy || !m_frame)
        return;
    m_busy = true;
    IFormatTarget* view = m_frame->GetActiveArticleView();
    if (view && m_target && ::IsWindow(m_target)) {
        ::SendMessageA(m_target, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&m_targetSelection));
        view->SetSelectionSize(twips);
    }
    SetWindowText(std::to_string(twips / 20));
    m_frame->FocusArticleView();
    m_busy = false;
}

bool CFontSizeCombo::OnReflectedMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_COMMAND)
        return false;
    switch (HIWORD(wParam)) {
    case CBN_SETFOCUS: {
        IFormatTarget* view = m_frame ? m_frame->GetActiveArticleView() : nullptr;
        m_target = view ? view->GetActiveContent() : nullptr;
        if (m_target)
            ::SendMessageA(m_target, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&m_targetSelection));
        break;
    }
    case CBN_CLOSEUP: {
        int index = GetCurSel();
        if (index >= 0 && index < 17)
            Apply(kSizes[index] * 20);
        break;
    }
    case CBN_KILLFOCUS:
        if (int twips = ParseTypedSize(GetWindowText()); twips && !m_busy && m_target)
            Apply(twips);
        m_target = nullptr;
        break;
    default:
        break;
    }
    return false;
}

bool CFontSizeCombo::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN)
        return false;
    if (msg->wParam == VK_RETURN) {
        if (int twips = ParseTypedSize(GetWindowText()))
            Apply(twips);
        return true;
    }
    if (msg->wParam == VK_ESCAPE) {
        int index = GetCurSel();
        if (index >= 0 && index < 17)
            SetWindowText(std::to_string(kSizes[index]));
        return true;
    }
    return false;
}

#include "framework/ui/data_exchange.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "framework/error_sink.h"
#include "framework/string_table.h"
#include "framework/ui/wnd_handle.h"
#include "resources/resource.h"

namespace {

// Parses a whole number that fills `text` (surrounding blanks allowed) into `value`.
bool ParseInt(const std::string& text, int& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    long parsed = std::strtol(begin, &end, 10);
    if (end == begin || errno == ERANGE || parsed < INT_MIN || parsed > INT_MAX)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0')
        return false;
    value = static_cast<int>(parsed);
    return true;
}

}  // namespace

void CDataExchange::Fail(int id, const std::string& message)
{
    m_failed = true;
    ShowErrorMessage(message);
    HWND control = GetDlgItem(m_dialog, id);
    SetFocus(control);
    SendMessageA(control, EM_SETSEL, 0, -1);
}

void CDataExchange::Text(int id, std::string& value)
{
    if (m_failed)
        return;
    CWndHandle dialog(m_dialog);
    if (m_save)
        value = dialog.GetDlgItemText(id);
    else
        dialog.SetDlgItemText(id, value);
}

void CDataExchange::Number(int id, int& value)
{
    if (m_failed)
        return;
    if (!m_save) {
        SetDlgItemInt(m_dialog, id, static_cast<UINT>(value), TRUE);
        return;
    }
    if (!ParseInt(CWndHandle(m_dialog).GetDlgItemText(id), value))
        Fail(id, QuorLoadString(IDS_DDX_INTEGER));
}

void CDataExchange::Number(int id, int& value, int min, int max)
{
    int typed = value;
    Number(id, typed);
    if (m_failed || !m_save)
        return;
    if (typed < min || typed > max) {
        Fail(id, QuorFormatArgs(QuorLoadString(IDS_DDX_INTEGER_RANGE), {std::to_string(min), std::to_string(max)}));
        return;
    }
    value = typed;
}

void CDataExchange::Check(int id, int& value)
{
    if (m_failed)
        return;
    if (m_save)
        value = static_cast<int>(IsDlgButtonChecked(m_dialog, id));
    else
        CheckDlgButton(m_dialog, id, static_cast<UINT>(value));
}

void CDataExchange::Radio(int firstId, int& index)
{
    if (m_failed)
        return;
    HWND button = GetDlgItem(m_dialog, firstId);
    if (m_save)
        index = -1;
    for (int i = 0; button; ++i) {
        if (m_save) {
            if (SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                index = i;
        } else {
            SendMessageA(button, BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        button = GetWindow(button, GW_HWNDNEXT);
        if (button && (GetWindowLongPtrA(button, GWL_STYLE) & WS_GROUP))
            break;
    }
}

void CDataExchange::ComboIndex(int id, int& index)
{
    if (m_failed)
        return;
    // CB_GETCURSEL answers CB_ERR (-1) when nothing is selected; CB_SETCURSEL with -1 clears it.
    if (m_save)
        index = static_cast<int>(SendDlgItemMessageA(m_dialog, id, CB_GETCURSEL, 0, 0));
    else
        SendDlgItemMessageA(m_dialog, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

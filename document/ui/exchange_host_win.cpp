#include "document/ui/exchange_host_win.h"

#include <richedit.h>

#include "document/ui/compaction_dlgs.h"
#include "document/ui/doc_host_win.h"
#include "framework/string_table.h"
#include "framework/ui/file_dialog.h"
#include "framework/ui/rich_edit.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/keyword_dlgs.h"
#include "resources/resource.h"

namespace {

CDocHost::Icon DocIcon(CExchangeHost::Icon icon)
{
    return icon == CExchangeHost::kInformation ? CDocHost::kInformation
           : icon == CExchangeHost::kQuestion  ? CDocHost::kQuestion
                                                : CDocHost::kExclamation;
}

std::string FileNameOf(const std::string& path)
{
    size_t slash = path.find_last_of("\\/:");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

CWindowsExchangeHost::~CWindowsExchangeHost()
{
    if (m_converter)
        ::DestroyWindow(m_converter);
}

void CWindowsExchangeHost::Inform(const std::string& text, Icon icon)
{
    m_docHost.Inform(text, DocIcon(icon));
}

bool CWindowsExchangeHost::Confirm(const std::string& text, Icon icon)
{
    return m_docHost.Confirm(text);
}

bool CWindowsExchangeHost::PromptPassword(const std::string& path, CFilePassword& password)
{
    return m_docHost.PromptPassword(FileNameOf(path), password);
}

std::string CWindowsExchangeHost::CreatePassword()
{
    return m_createPassword ? m_createPassword() : std::string();
}

std::string CWindowsExchangeHost::ChooseCompactSource(const std::string& folder)
{
    CFileDialog dialog(true, m_owner);
    dialog.m_title = QuorLoadString(IDS_COMPACT_WHICH_FILE);
    dialog.m_filter = QuorLoadString(IDS_DATA_FILE_FILTER);
    dialog.m_defaultExt = "xrd";
    dialog.m_initialDir = folder;
    dialog.m_flags = OFN_SHOWHELP | OFN_FILEMUSTEXIST;
    return dialog.DoModal() == IDOK ? dialog.m_fileName : std::string();
}

std::string CWindowsExchangeHost::ChooseCompactDestination(const std::string& folder, int& format)
{
    CFileDialog dialog(false, m_owner);
    dialog.m_title = QuorLoadString(IDS_SAVE_COMPACTED_AS);
    dialog.m_filter = QuorLoadString(IDS_COMPACT_FILTER);
    dialog.m_defaultExt = "xrd";
    dialog.m_initialDir = folder;
    dialog.m_flags = OFN_OVERWRITEPROMPT | OFN_SHOWHELP | OFN_PATHMUSTEXIST | OFN_NOTESTFILECREATE;
    if (dialog.DoModal() != IDOK)
        return std::string();
    format = dialog.m_filterIndex;
    return dialog.m_fileName;
}

bool CWindowsExchangeHost::ConfirmCompactConversion(const std::string& path)
{
    CCompactConvertDlg dialog(m_owner);
    dialog.m_path = path;
    return dialog.DoModal() == IDYES;
}

bool CWindowsExchangeHost::AskDeleteUnusedKeywords(const std::vector<std::string>& names)
{
    CDeleteUnusedKeywordsDlg dialog(m_owner);
    dialog.m_names = names;
    return dialog.DoModal() == IDYES;
}

bool CWindowsExchangeHost::AskDeleteUnusedGroups(const std::vector<std::string>& names)
{
    CDeleteUnusedGroupsDlg dialog(m_owner);
    dialog.m_names = names;
    return dialog.DoModal() == IDYES;
}

std::string CWindowsExchangeHost::ChooseDamagedArticleFile(int mode, const std::string& destination)
{
    CDamagedArticlesDlg dialog(m_directories, m_owner);
    dialog.m_mode = mode;
    dialog.m_destination = destination;
    return dialog.DoModal() == IDOK ? dialog.m_damagedPath : std::string();
}

void CWindowsExchangeHost::ShowDamagedFileReport(int mode, const std::string& text)
{
    CDamagedFileReportDlg dialog(m_owner);
    dialog.m_mode = mode;
    dialog.m_report = text;
    dialog.DoModal();
}

void CWindowsExchangeHost::OpenDataFile(const std::string& path)
{
    if (m_openDataFile)
        m_openDataFile(path);
}

void CWindowsExchangeHost::RebuildSavedQueryMenu()
{
    if (m_rebuildSavedQueryMenu)
        m_rebuildSavedQueryMenu();
}

void CWindowsExchangeHost::BeginProgress(const std::string& caption, const std::string& message, int range)
{
    m_docHost.BeginProgress(caption, message, range);
}

void CWindowsExchangeHost::SetProgressText(const std::string& text) { m_docHost.SetProgressText(text); }
void CWindowsExchangeHost::SetProgressRange(int range) {}
void CWindowsExchangeHost::StepProgress() { m_docHost.StepProgress(); }
bool CWindowsExchangeHost::IsProgressCancelled() { return m_docHost.IsProgressCancelled(); }
void CWindowsExchangeHost::EndProgress() { m_docHost.EndProgress(); }
int CWindowsExchangeHost::PumpPendingMessage() { return m_docHost.PumpPendingMessage(); }

HWND CWindowsExchangeHost::Converter()
{
    if (!m_converter) {
        const RECT none = {0, 0, 0, 0};
        m_converter = CreateRichEdit(HWND_MESSAGE, 0, none, ES_MULTILINE);
        if (m_converter) {
            ::SendMessageA(m_converter, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
            ::SendMessageA(m_converter, EM_SETTARGETDEVICE, 0, 1);
        }
    }
    return m_converter;
}

// WM_GETTEXTLENGTH counts the characters of the text the control holds after loading the RTF.
int32_t CWindowsExchangeHost::GetRtfTextLength(const std::string& rtf)
{
    HWND edit = Converter();
    if (!edit || !RichEditStreamIn(edit, SF_RTF, rtf))
        return -1;
    return static_cast<int32_t>(::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
}

std::string CWindowsExchangeHost::PlainTextToRtf(const std::string& text, const ExchangeCharFormat& format)
{
    HWND edit = Converter();
    if (!edit || !RichEditStreamIn(edit, SF_TEXT, text))
        return text;
    CHARFORMATA cf = {};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_CHARSET | CFM_COLOR;
    cf.dwEffects = (format.weight >= FW_BOLD ? CFE_BOLD : 0) | (format.italic ? CFE_ITALIC : 0) |
                   (format.underline ? CFE_UNDERLINE : 0) | (format.strikeOut ? CFE_STRIKEOUT : 0) |
                   (format.autoColor ? CFE_AUTOCOLOR : 0);
    cf.crTextColor = format.autoColor ? 0 : format.color;
    // Height in logical units of the screen to twips: points x 20.
    HDC screen = ::GetDC(nullptr);
    int pixelsPerInch = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    int32_t height = format.height < 0 ? -format.height : format.height;
    cf.yHeight = height > 0 ? ::MulDiv(height, 1440, pixelsPerInch) : 200;
    cf.bCharSet = format.charSet;
    cf.bPitchAndFamily = format.pitchAndFamily;
    lstrcpynA(cf.szFaceName, format.faceName.c_str(), LF_FACESIZE);
    ::SendMessageA(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
    return RichEditStreamOut(edit, SF_RTF);
}

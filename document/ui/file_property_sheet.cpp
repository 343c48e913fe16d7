#include "document/ui/file_property_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "document/ui/password_dlg.h"
#include "framework/string_table.h"
#include "resources/file_properties_res.h"
#include "shell/app_settings.h"
#include "shell/fit_text.h"

namespace {

// LOCALE_STHOUSAND of the user's locale, as the model takes it.
char LocaleThousandsSeparator()
{
    char text[8] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, sizeof text);
    return ThousandsSeparatorFrom(length > 1 ? std::string(text, static_cast<size_t>(length - 1)) : std::string());
}

int ScreenPixelsPerInch()
{
    HDC screen = ::GetDC(nullptr);
    const int ppi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return ppi > 0 ? ppi : 96;
}

std::string ControlText(HWND control)
{
    const int length = ::GetWindowTextLengthA(control);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    ::GetWindowTextA(control, text.data(), length + 1);
    return std::string(text.data());
}

// `path` wrapped to the width of static `control`, measured with the control's font.
std::string WrapToStatic(HWND control, const std::string& path)
{
    RECT client = {};
    ::GetClientRect(control, &client);
    HDC dc = ::GetDC(control);
    if (!dc)
        return path;
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(control, WM_GETFONT, 0, 0)));
    std::string wrapped = WrapPathToWidth(path, client.right - client.left, [dc](const std::string& text) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
    SelectObject(dc, old);
    ::ReleaseDC(control, dc);
    return wrapped;
}

// The privacy questions through the document, its host and the password dialogs.
class CPrivacyPrompts : public IPrivacyPrompts {
public:
    CPrivacyPrompts(CQuorvaneDoc& document, CDocHost& host, HWND owner)
        : m_document(document), m_host(host), m_owner(owner)
    {
    }
    bool EnterPassword() override { return m_document.UnlockPrivateArticles(); }
    bool CreatePassword() override
    {
        CCreatePasswordDlg dialog(m_document, m_host, m_owner);
        return dialog.DoModal() == IDOK && m_document.HasPassword();
    }
    void Inform(int messageId) override
    {
        m_host.Inform(QuorLoadString(messageId),
                      messageId == IDS_PROTECTION_NOT_SET ? CDocHost::kExclamation : CDocHost::kInformation);
    }

private:
    CQuorvaneDoc& m_document;
    CDocHost& m_host;
    HWND m_owner;
};

// The page's help topic over any control but 1198.
bool PageHelp(const CFilePropertySheet& sheet, int templateId, HELPINFO* info)
{
    if (!info || info->iContextType != HELPINFO_WINDOW || info->iCtrlId == IDC_STATIC_NO_HELP)
        return false;
    if (sheet.Services().showHelp)
        sheet.Services().showHelp(templateId);
    return true;
}

}  // namespace

// ---- General ----

bool CCommentsEdit::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if ((msg != WM_KEYDOWN && msg != WM_CHAR) || wParam != VK_RETURN || (::GetKeyState(VK_CONTROL) & 0x8000))
        return false;
    // The page's parent is the sheet; the key's character that follows is swallowed too.
    if (msg == WM_KEYDOWN)
        ::PostMessageA(::GetParent(::GetParent(m_hWnd)), PSM_PRESSBUTTON, PSBTN_OK, 0);
    result = 0;
    return true;
}

CFileProperties::CFileProperties(CFilePropertySheet& sheet)
    : CPropertyPage(IDD_FILE_PROPERTIES_GENERAL), m_owner(sheet)
{
}

bool CFileProperties::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const CFilePropertiesModel& model = m_owner.Model();
    const char separator = LocaleThousandsSeparator();
    HWND path = ::GetDlgItem(m_hWnd, IDC_STATIC_FILE_PATH);
    ::SetWindowTextA(path, WrapToStatic(path, model.m_path).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_FILE_SIZE, model.SizeText(separator).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_KEYWORD_COUNT, model.KeywordText(separator).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_ARTICLE_COUNT, model.ArticleText(separator).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_GROUP_COUNT, model.GroupText(separator).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_REMINDER_COUNT, model.ReminderText(separator).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_EDIT_EXPORT_HEADER, model.m_exportHeader.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_EDIT_COMMENTS, model.m_comments.c_str());
    ::SendDlgItemMessageA(m_hWnd, IDC_EDIT_EXPORT_HEADER, EM_SETMODIFY, FALSE, 0);
    ::SendDlgItemMessageA(m_hWnd, IDC_EDIT_COMMENTS, EM_SETMODIFY, FALSE, 0);
    SetDlgButton(m_hWnd, IDC_CHECK_READ_ONLY, model.m_readOnly);
    EnableDlgItem(m_hWnd, IDC_CHECK_READ_ONLY, false);
    EnableDlgItem(m_hWnd, IDC_EDIT_EXPORT_HEADER, !model.m_readOnly);
    EnableDlgItem(m_hWnd, IDC_BUTTON_FILE_FONT, !model.m_readOnly);
    EnableDlgItem(m_hWnd, IDC_EDIT_COMMENTS, !model.m_readOnly);
    m_comments.SubclassDlgItem(IDC_EDIT_COMMENTS, m_hWnd);
    ShowFont();
    return true;
}

void CFileProperties::ShowFont()
{
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_FILE_FONT, m_owner.Model().FontText(ScreenPixelsPerInch()).c_str());
}

bool CFileProperties::OnSetActive()
{
    m_owner.m_lastPage = 0;
    CFilePropertiesModel& model = m_owner.Model();
    model.RefreshCounts(m_owner.Document());
    ::SetDlgItemTextA(m_hWnd, IDC_STATIC_ARTICLE_COUNT, model.ArticleText(LocaleThousandsSeparator()).c_str());
    HWND comments = ::GetDlgItem(m_hWnd, IDC_EDIT_COMMENTS);
    const int end = ::GetWindowTextLengthA(comments);
    ::SendMessageA(comments, EM_SETSEL, static_cast<WPARAM>(end), end);
    return CPropertyPage::OnSetActive();
}

bool CFileProperties::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_BUTTON_FILE_FONT && code == BN_CLICKED) {
        CFilePropertiesModel& model = m_owner.Model();
        LogFont font = model.m_font;
        int32_t color = model.m_autoColor ? -1 : model.m_color;
        if (m_owner.Services().chooseFont && m_owner.Services().chooseFont(m_hWnd, font, color)) {
            model.SetChosenFont(font, color);
            ShowFont();
        }
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control, result);
}

void CFileProperties::OnOK()
{
    CFilePropertiesModel& model = m_owner.Model();
    if (model.m_readOnly)
        return;
    const bool headerModified = ::SendDlgItemMessageA(m_hWnd, IDC_EDIT_EXPORT_HEADER, EM_GETMODIFY, 0, 0) != 0;
    const bool commentsModified = ::SendDlgItemMessageA(m_hWnd, IDC_EDIT_COMMENTS, EM_GETMODIFY, 0, 0) != 0;
    model.m_exportHeader = ControlText(::GetDlgItem(m_hWnd, IDC_EDIT_EXPORT_HEADER));
    model.m_comments = ControlText(::GetDlgItem(m_hWnd, IDC_EDIT_COMMENTS));
    if (model.ApplyGeneral(m_owner.Document(), m_owner.Settings(), headerModified, commentsModified,
                           ScreenPixelsPerInch()) &&
        m_owner.Services().fontChanged)
        m_owner.Services().fontChanged();
}

bool CFileProperties::OnHelp(HELPINFO* info)
{
    return PageHelp(m_owner, IDD_FILE_PROPERTIES_GENERAL, info);
}

// ---- Articles ----

namespace {

constexpr int kLinkRadios[3] = {IDC_RADIO_LINKS_ATTACHMENTS, IDC_RADIO_LINKS_FILE_FOLDER, IDC_RADIO_LINKS_SPECIFIED};

}  // namespace

CFilePropertyArticles::CFilePropertyArticles(CFilePropertySheet& sheet)
    : CPropertyPage(IDD_FILE_PROPERTIES_ARTICLES), m_owner(sheet)
{
}

bool CFilePropertyArticles::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const CFilePropertiesModel& model = m_owner.Model();
    SetDlgButton(m_hWnd, IDC_CHECK_AUTO_UPDATE_DATES, model.m_autoUpdateDates != 0);
    SetDlgButton(m_hWnd, IDC_CHECK_WORD_WRAP, model.m_wordWrap != 0);
    SetDlgButton(m_hWnd, IDC_CHECK_SAVE_FULL_PATHNAMES, model.m_saveFullPathnames != 0);
    for (int mode = 0; mode < 3; ++mode)
        SetDlgButton(m_hWnd, kLinkRadios[mode], model.m_linkMode == mode);
    const int controls[] = {IDC_CHECK_AUTO_UPDATE_DATES, IDC_CHECK_WORD_WRAP, IDC_CHECK_SAVE_FULL_PATHNAMES,
                            IDC_RADIO_LINKS_ATTACHMENTS, IDC_RADIO_LINKS_FILE_FOLDER, IDC_RADIO_LINKS_SPECIFIED,
                            IDC_BUTTON_LINK_BROWSE};
    if (model.m_readOnly) {
        for (int id : controls)
            EnableDlgItem(m_hWnd, id, false);
    }
    ShowLocation();
    return true;
}

void CFilePropertyArticles::ShowLocation()
{
    const CFilePropertiesModel& model = m_owner.Model();
    HWND location = ::GetDlgItem(m_hWnd, IDC_STATIC_LINK_LOCATION);
    ::SetWindowTextA(location, WrapToStatic(location, model.LocationText(model.m_linkMode)).c_str());
    EnableDlgItem(m_hWnd, IDC_BUTTON_LINK_BROWSE, model.m_linkMode == 2 && !model.m_readOnly);
}

bool CFilePropertyArticles::OnSetActive()
{
    m_owner.m_lastPage = 1;
    return CPropertyPage::OnSetActive();
}

bool CFilePropertyArticles::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    CFilePropertiesModel& model = m_owner.Model();
    for (int mode = 0; mode < 3; ++mode) {
        if (id == static_cast<UINT>(kLinkRadios[mode]) && code == BN_CLICKED) {
            model.m_linkMode = mode;
            ShowLocation();
            return true;
        }
    }
    if (id == IDC_BUTTON_LINK_BROWSE && code == BN_CLICKED) {
        std::string folder = model.m_specifiedPath;
        if (m_owner.Services().browseFolder && m_owner.Services().browseFolder(m_hWnd, folder)) {
            model.m_specifiedPath = folder;
            ShowLocation();
        }
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control, result);
}

bool CFilePropertyArticles::OnKillActive()
{
    const CFilePropertiesModel& model = m_owner.Model();
    if (model.m_readOnly ||
        !LinkLocationChanged(model.m_storedLinkMode, model.m_storedPath, model.m_linkMode, model.m_specifiedPath))
        return true;
    const std::string caption = QuorLoadString(IDS_FILE_PROPERTIES);
    return ::MessageBoxA(::GetParent(m_hWnd), QuorLoadString(IDS_LINK_LOCATION_CHANGED).c_str(), caption.c_str(),
                       MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

void CFilePropertyArticles::OnOK()
{
    CFilePropertiesModel& model = m_owner.Model();
    if (model.m_readOnly)
        return;
    model.m_autoUpdateDates = IsDlgButtonOn(m_hWnd, IDC_CHECK_AUTO_UPDATE_DATES) ? 1 : 0;
    model.m_wordWrap = IsDlgButtonOn(m_hWnd, IDC_CHECK_WORD_WRAP) ? 1 : 0;
    model.m_saveFullPathnames = IsDlgButtonOn(m_hWnd, IDC_CHECK_SAVE_FULL_PATHNAMES) ? 1 : 0;
    model.ApplyArticles(m_owner.Settings());
}

// ---- Privacy ----

CFilePropertyPrivacy::CFilePropertyPrivacy(CFilePropertySheet& sheet)
    : CPropertyPage(IDD_FILE_PROPERTIES_PRIVACY), m_owner(sheet)
{
}

bool CFilePropertyPrivacy::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    const bool writable = m_owner.Document().CanModify();
    SetDlgButton(m_hWnd, IDC_CHECK_PROTECT_ALL, m_owner.Model().m_protectAll);
    EnableDlgItem(m_hWnd, IDC_CHECK_PROTECT_ALL, writable);
    EnableDlgItem(m_hWnd, IDC_BUTTON_PASSWORD, writable);
    ShowPasswordButton();
    return true;
}

void CFilePropertyPrivacy::ShowPasswordButton()
{
    const int textId = m_owner.Document().HasPassword() ? IDS_CHANGE_PASSWORD_BUTTON : IDS_SET_PASSWORD_BUTTON;
    ::SetDlgItemTextA(m_hWnd, IDC_BUTTON_PASSWORD, QuorLoadString(textId).c_str());
}

// While private articles are hidden the page opens only for the file's password; without it the
// sheet goes back to the page it came from.
bool CFilePropertyPrivacy::OnSetActive()
{
    CQuorvaneDoc& document = m_owner.Document();
    if (document.ArePrivateArticlesHidden() && !document.UnlockPrivateArticles()) {
        ::PostMessageA(::GetParent(m_hWnd), PSM_SETCURSEL, static_cast<WPARAM>(m_owner.m_lastPage), 0);
        return CPropertyPage::OnSetActive();
    }
    m_owner.m_lastPage = 2;
    return CPropertyPage::OnSetActive();
}

bool CFilePropertyPrivacy::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (id == IDC_BUTTON_PASSWORD && code == BN_CLICKED) {
        OnPasswordButton();
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control, result);
}

void CFilePropertyPrivacy::OnPasswordButton()
{
    CQuorvaneDoc& document = m_owner.Document();
    CDocHost& host = m_owner.Host();
    if (document.HasPassword()) {
        CChangePasswordDlg dialog(document, host, m_hWnd);
        if (dialog.DoModal() != IDOK)
            return;
        host.Inform(QuorLoadString(document.HasPassword() ? IDS_PASSWORD_CHANGED : IDS_PASSWORD_REMOVED),
                    CDocHost::kInformation);
    } else {
        CCreatePasswordDlg dialog(document, host, m_hWnd);
        if (dialog.DoModal() != IDOK || !document.HasPassword())
            return;
        host.Inform(QuorLoadString(IDS_PASSWORD_SET), CDocHost::kInformation);
    }
    ShowPasswordButton();
}

void CFilePropertyPrivacy::OnOK()
{
    CPrivacyPrompts prompts(m_owner.Document(), m_owner.Host(), m_hWnd);
    m_changed = m_owner.Model().ApplyPrivacy(m_owner.Document(), IsDlgButtonOn(m_hWnd, IDC_CHECK_PROTECT_ALL), prompts);
}

bool CFilePropertyPrivacy::OnHelp(HELPINFO* info)
{
    return PageHelp(m_owner, IDD_FILE_PROPERTIES_PRIVACY, info);
}

// ---- The sheet ----

CFilePropertySheet::CFilePropertySheet(CQuorvaneDoc& document, CDocHost& host, CAppSettings& settings,
                                       const CDirectories& directories, FilePropertyServices services, HWND parent)
    : CPropertySheet(QuorLoadString(IDS_FILE_PROPERTIES), parent),
      m_document(document),
      m_host(host),
      m_settings(settings),
      m_services(std::move(services)),
      m_general(*this),
      m_articles(*this),
      m_privacy(*this)
{
    m_model.Load(document, settings, directories);
    AddPage(&m_general);
    AddPage(&m_articles);
    AddPage(&m_privacy);
    SetActivePage(0);
}

INT_PTR CFilePropertySheet::Run()
{
    const INT_PTR result = DoModal();
    if (result == IDOK && m_privacy.IsChanged())
        m_document.RewriteAfterProtectionChange();
    return result;
}

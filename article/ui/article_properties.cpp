#include "article/ui/article_properties.h"

#include <commctrl.h>
#include <prsht.h>

#include <new>
#include <string>

#include "document/quorvane_doc.h"
#include "article/ui/rich_edit_ctrl1.h"
#include "document/ui/password_dlg.h"
#include "framework/string_table.h"
#include "framework/ui/rich_edit.h"
#include "resources/article_properties_res.h"
#include "resources/file_properties_res.h"
#include "resources/index_window_res.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "storage/article_record.h"
#include "storage/date.h"
#include "storage/link_shell.h"
#include "storage/quor_error.h"

namespace {

// LOCALE_STHOUSAND of the user's locale when it is one character, else ','.
char LocaleThousandsSeparator()
{
    char text[8] = {};
    const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, text, sizeof text);
    return length == 2 ? text[0] : ',';
}

void Inform(HWND owner, int messageId)
{
    ::MessageBoxA(owner, QuorLoadString(messageId).c_str(), QuorLoadString(IDS_APP_NAME).c_str(),
                  MB_OK | MB_ICONINFORMATION);
}

}  // namespace

// ---- General ----

CArtPropGeneral::CArtPropGeneral(CArticleProperties& sheet) : CPropertyPage(IDD_ART_PROP_GENERAL), m_owner(sheet) {}

bool CArtPropGeneral::IsTimeChanged() const
{
    return m_owner.Data().timeChanged;
}

bool CArtPropGeneral::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    ArticlePropertiesData& data = m_owner.Data();
    const bool m = m_owner.Document().CanModify();
    ::SetDlgItemTextA(m_hWnd, IDC_PROP_TITLE, data.title.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PROP_CREATED, data.created.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PROP_MODIFIED, data.modified.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PROP_LENGTH, CharacterCountText(data.length, LocaleThousandsSeparator()).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PROP_LINKS, data.links.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_PROP_ATTACHMENTS, data.attachmentCount.c_str());

    m_date.SubclassDlgItem(IDC_PROP_DATE, m_hWnd);
    m_date.SetDate(data.date);
    m_date.ClearModified();
    m_date.SendMessage(EM_SETREADONLY, m ? FALSE : TRUE);
    m_time.SubclassDlgItem(IDC_PROP_TIME, m_hWnd);
    m_time.SetSecondsOfDay(data.time);
    EnableDlgItem(m_hWnd, IDC_PROP_TIME, m);

    SetDlgButton(m_hWnd, IDC_PROP_WORD_WRAP, data.wordWrap != 0);
    SetDlgButton(m_hWnd, IDC_PROP_KEEP_TITLE, data.keepTitle != 0);
    SetDlgButton(m_hWnd, IDC_PROP_PRIVATE, data.isPrivate != 0);
    for (int id : {IDC_PROP_WORD_WRAP, IDC_PROP_KEEP_TITLE, IDC_PROP_PRIVATE})
        EnableDlgItem(m_hWnd, id, m);
    m_wasPrivate = data.isPrivate != 0;

    m_bookmark.Load(IDB_MARK_BOOKMARK, RGB(255, 0, 255));
    m_attachment.Load(IDB_MARK_ATTACHMENT, RGB(255, 255, 255));
    m_reminder.Load(IDB_MARK_REMINDER, RGB(255, 0, 255));
    return true;
}

void CArtPropGeneral::PaintMarks(HDC dc)
{
    ArticlePropertiesData& data = m_owner.Data();
    const struct {
        int control;
        bool shown;
        const CMaskedBitmap& picture;
    } marks[] = {
        {IDC_PROP_BOOKMARK_MARK, data.bookmarked, m_bookmark},
        {IDC_PROP_ATTACHMENT_MARK, data.attachments.GetSize() > 0, m_attachment},
        {IDC_PROP_REMINDER_MARK, data.hasReminder, m_reminder},
    };
    for (const auto& mark : marks) {
        if (!mark.shown || mark.picture.IsEmpty())
            continue;
        const RECT place = ChildRectInParent(m_hWnd, ::GetDlgItem(m_hWnd, mark.control));
        const SIZE size = mark.picture.GetSize();
        mark.picture.Draw(dc, place.left + (place.right - place.left - size.cx) / 2,
                          place.top + (place.bottom - place.top - size.cy) / 2);
    }
}

bool CArtPropGeneral::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (msg != WM_PAINT)
        return CPropertyPage::OnMessage(msg, wParam, lParam, result);
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    PaintMarks(dc);
    ::EndPaint(m_hWnd, &paint);
    result = 0;
    return true;
}

bool CArtPropGeneral::OnCommand(UINT id, UINT code, HWND control, LRESULT& result)
{
    if (code == BN_CLICKED && (id == IDC_PROP_WORD_WRAP || id == IDC_PROP_KEEP_TITLE || id == IDC_PROP_PRIVATE)) {
        m_owner.Data().generalChanged = true;
        return true;
    }
    return CPropertyPage::OnCommand(id, code, control, result);
}

bool CArtPropGeneral::OnNotify(NMHDR* header, LRESULT& result)
{
    if (header->idFrom == IDC_PROP_TIME && header->code == DTN_DATETIMECHANGE) {
        m_owner.Data().generalChanged = true;
        m_owner.Data().timeChanged = true;
        result = 0;
        return true;
    }
    return CPropertyPage::OnNotify(header, result);
}

bool CArtPropGeneral::CheckPrivacy()
{
    CQuorvaneDoc& document = m_owner.Document();
    if (document.HasPassword())
        return !document.ArePrivateArticlesHidden() || document.UnlockPrivateArticles();
    CCreatePasswordDlg dialog(document, document.GetHost(), m_hWnd);
    const bool set = dialog.DoModal() == IDOK && document.HasPassword();
    Inform(m_hWnd, set ? IDS_PASSWORD_SET : IDS_ARTICLE_PROTECTION_NOT_SET);
    return set;
}

bool CArtPropGeneral::OnKillActive()
{
    ArticlePropertiesData& data = m_owner.Data();
    int32_t date = 0;
    if (!m_date.GetDate(date)) {
        m_date.SetFocus();
        ShowInvalidDateMessage();
        return false;
    }
    if (m_date.IsEdited() || m_date.IsChanged()) {
        data.generalChanged = true;
        data.timeChanged = true;
    }
    data.date = date;
    data.time = m_time.GetSecondsOfDay();
    data.wordWrap = IsDlgButtonOn(m_hWnd, IDC_PROP_WORD_WRAP) ? 1 : 0;
    data.keepTitle = IsDlgButtonOn(m_hWnd, IDC_PROP_KEEP_TITLE) ? 1 : 0;
    data.isPrivate = IsDlgButtonOn(m_hWnd, IDC_PROP_PRIVATE) ? 1 : 0;
    if (data.isPrivate && m_owner.Document().CanModify() && !CheckPrivacy()) {
        ::SetFocus(::GetDlgItem(m_hWnd, IDC_PROP_PRIVATE));
        return false;
    }
    return true;
}

void CArtPropGeneral::OnOK()
{
    const ArticlePropertiesData& data = m_owner.Data();
    if (!m_wasPrivate && data.isPrivate && data.hasReminder)
        Inform(m_hWnd, IDS_PRIVATE_ARTICLE_REMINDER);
}

// ---- The sheet ----

CArticleProperties::CArticleProperties(CQuorvaneDoc& document, HWND parent)
    : CPropertySheet(QuorLoadString(IDS_ARTICLE_PROPERTIES_CAPTION), parent),
      m_document(document),
      m_general(*this),
      m_attachmentsPage(*this)
{
    AddPage(&m_general);
    AddPage(&m_attachmentsPage);
    if (ILinkShell* shell = GetLinkShell())
        m_services.baseFolder = shell->BaseFolder();
}

// ---- A stored article ----

namespace {

// The number of characters the article's content shows, counted by a hidden rich-text control.
int32_t ContentLength(const CArticleRecord& record)
{
    const bool plain = record.GetVersion() <= CArticleRecord::kPlainTextVersion;
    const std::string& content = plain ? record.GetText() : record.GetRtfText();
    if (content.empty() || !LoadRichEdit())
        return 0;
    const RECT none = {0, 0, 0, 0};
    HWND edit = CreateRichEdit(HWND_MESSAGE, 0, none, ES_MULTILINE);
    if (!edit)
        return 0;
    ::SendMessageA(edit, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    int32_t length = 0;
    if (RichEditStreamIn(edit, plain ? SF_TEXT : SF_RTF, content))
        length = static_cast<int32_t>(::SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0));
    ::DestroyWindow(edit);
    return length;
}

// A plain-text article has no place for the information values (word wrap, title kept, attachment
// opening) nor, in files of the old layout, for attachments: before the sheet's changes go in, it
// becomes rich text in the program's default format, as the article window makes it when it saves.
void MakeRichText(CArticleRecord& record)
{
    if (record.GetVersion() != CArticleRecord::kPlainTextVersion)
        return;
    CRichEditCtrl1 edit;
    const RECT none = {0, 0, 0, 0};
    if (!edit.Create(ES_MULTILINE, none, HWND_MESSAGE, 0))
        throw CQuorError(kInternalInitialization);
    edit.SetPlainText(record.GetText(), false);
    std::string rtf;
    edit.GetRtf(rtf, false);
    edit.DestroyWindow();
    record.SetRichTextVersion();
    record.SetRtfText(rtf);
    record.SetText(std::string());
}

}  // namespace

bool RunStoredArticleProperties(CQuorvaneDoc& document, int32_t id, int page, HWND owner)
{
    try {
        CArticleRecord record;
        document.LoadArticle(id, record);
        CArticleProperties sheet(document, owner);
        FillArticleProperties(record, ContentLength(record), document.IsBookmarked(id),
                              document.GetReminders().HasReminder(id), sheet.Data());
        sheet.SetStartPage(page);
        if (sheet.DoModal() != IDOK || !document.CanModify())
            return false;
        const ArticlePropertiesData& data = sheet.Data();
        if (!data.IsChanged())
            return false;
        MakeRichText(record);
        if (!ApplyArticleProperties(data, record))
            return false;
        // The document stamps now over the date and time only when the user left them as they were.
        document.UpdateArticle(id, record, !data.timeChanged);
        return true;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

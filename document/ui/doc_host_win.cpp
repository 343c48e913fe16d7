#include "document/ui/doc_host_win.h"

#include "controls/ui/progress_dlg.h"
#include "document/ui/back_file_dialog.h"
#include "document/ui/clear_bookmarks_dlg.h"
#include "document/ui/file_format_dlgs.h"
#include "document/ui/password_dlg.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/app.h"
#include "framework/ui/clipboard.h"
#include "framework/ui/file_dialog.h"
#include "framework/ui/rich_edit.h"
#include "framework/ui/wnd.h"
#include "import/article_clipboard.h"
#include "index/current_query.h"
#include "index/ui/add_keywords_dlg.h"
#include "index/ui/group_dlgs.h"
#include "index/ui/index_view.h"
#include "resources/resource.h"
#include "shell/option_store.h"
#include "storage/id_set.h"
#include "storage/quor_error.h"

namespace {
UINT IconStyle(CDocHost::Icon icon)
{
    switch (icon) {
    case CDocHost::kInformation: return MB_ICONINFORMATION;
    case CDocHost::kQuestion: return MB_ICONQUESTION;
    default: return MB_ICONEXCLAMATION;
    }
}
}  // namespace

CWindowsDocHost::CWindowsDocHost() = default;

CWindowsDocHost::~CWindowsDocHost()
{
    EndProgress();
}

HWND CWindowsDocHost::MainWindow() const
{
    CWinApp* app = CWinApp::Current();
    CWnd* main = app ? app->GetMainWnd() : nullptr;
    return main ? main->GetSafeHwnd() : nullptr;
}

// A box owned by the main window alone would leave a modal dialog above it (a password dialog, say)
// usable behind the box; the last active popup is the window the user is working in. Without a
// main window (before the frame exists) that is this thread's active window.
HWND CWindowsDocHost::BoxOwner() const
{
    HWND main = MainWindow();
    return main ? ::GetLastActivePopup(main) : ::GetActiveWindow();
}

int CWindowsDocHost::ShowBox(const std::string& text, UINT style)
{
    return ::MessageBoxA(BoxOwner(), text.c_str(), QuorLoadString(IDS_APP_NAME).c_str(), style);
}

void CWindowsDocHost::Inform(const std::string& text, Icon icon)
{
    ShowBox(text, MB_OK | IconStyle(icon));
}

// MB_DEFBUTTON2 makes No the default; MessageBoxA answers IDYES or IDNO.
bool CWindowsDocHost::Confirm(const std::string& text)
{
    return ShowBox(text, MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

bool CWindowsDocHost::PromptPassword(const std::string& fileName, CFilePassword& password)
{
    CEnterPasswordDlg dialog(password, *this, BoxOwner());
    dialog.m_fileName = fileName;
    return dialog.DoModal() == IDOK;
}

bool CWindowsDocHost::ConfirmClearBookmarks(const std::string& text)
{
    CClearBookmarksDlg dialog(MainWindow());
    dialog.m_text = text;
    return dialog.DoModal() == IDOK;
}

int CWindowsDocHost::ChooseConversion(const std::string& path)
{
    CConvertFileDlg dialog(MainWindow());
    if (dialog.DoModal() != IDOK)
        return -1;
    return dialog.m_option;
}

bool CWindowsDocHost::EditReminder(int32_t, int32_t, ReminderRecord&, bool& deleteChosen)
{
    deleteChosen = false;
    return false;
}

// Each dialog sets its own title.
std::string CWindowsDocHost::ChooseDataFileCopy(DataFileCopy kind, const std::string& initialFolder)
{
    std::unique_ptr<CFileDialog> dialog;
    if (kind == DataFileCopy::kCopyTo)
        dialog = std::make_unique<CCopyFileDlg>(BoxOwner());
    else
        dialog = std::make_unique<CBackFileDialog>(BoxOwner());
    dialog->m_initialDir = initialFolder;
    return dialog->DoModal() == IDOK ? dialog->m_fileName : std::string();
}

// Nested scopes keep one wait cursor; the outermost restores the cursor it replaced.
void CWindowsDocHost::BeginWaitCursor()
{
    HCURSOR previous = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
    if (m_waitDepth++ == 0)
        m_savedCursor = previous;
}

void CWindowsDocHost::EndWaitCursor()
{
    if (m_waitDepth > 0 && --m_waitDepth == 0)
        ::SetCursor(m_savedCursor);
}

void CWindowsDocHost::BeginProgress(const std::string& caption, const std::string& message, int range)
{
    EndProgress();
    auto* dialog = new CProgressDlg(MainWindow());
    if (!dialog->Create(MainWindow())) {
        delete dialog;
        return;
    }
    m_progress = dialog;
    m_progressScope = std::make_unique<CProgressScope>(MainWindow(), dialog);
    dialog->SetWindowText(caption);
    dialog->SetRange(range);
    dialog->SetText(message);
}

void CWindowsDocHost::SetProgressText(const std::string& text)
{
    if (m_progress)
        m_progress->SetText(text);
}

void CWindowsDocHost::StepProgress()
{
    if (m_progress)
        m_progress->StepIt();
}

bool CWindowsDocHost::IsProgressCancelled()
{
    return m_progress && m_progress->IsCanceled();
}

// The scope re-enables the main window and destroys the dialog, which deletes itself.
void CWindowsDocHost::EndProgress()
{
    m_progressScope.reset();
    m_progress = nullptr;
}

int CWindowsDocHost::PumpPendingMessage()
{
    return ::PumpPendingMessage();
}

// What closed before a long operation (the index frame, before a file opens) leaves an invalid area
// that the queue would only repaint once the operation is over. RDW_UPDATENOW paints it now, and
// RDW_ALLCHILDREN the frame's children (the MDI client, the bars) with it.
void CWindowsDocHost::RepaintMainWindow()
{
    if (HWND main = MainWindow())
        ::RedrawWindow(main, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CWindowsDocHost::FlushProfileCache()
{
    if (m_optionStore)
        m_optionStore->FlushProfileCache();
}

void CWindowsDocHost::OnKeywordRenamed(int32_t id, const std::string& oldName, const std::string& newName)
{
    if (m_currentQuery)
        m_currentQuery->OnKeywordRenamed(id, oldName, newName);
}

void CWindowsDocHost::OnKeywordsDeleted(const CKeywordIdSet& keywords)
{
    if (m_currentQuery)
        m_currentQuery->OnKeywordsDeleted(keywords);
}

void CWindowsDocHost::OnGroupRenamed(int32_t id, const std::string& oldName, const std::string& newName)
{
    if (m_currentQuery)
        m_currentQuery->OnGroupRenamed(id, oldName, newName);
}

void CWindowsDocHost::OnGroupDeleted(int32_t id)
{
    if (m_currentQuery)
        m_currentQuery->OnGroupDeleted(id);
}

// A message-only window: never shown, never enumerated among the desktop's windows, and still a full
// rich-text control. Multi-line, or the control would drop the paragraph breaks; without a raised
// limit it would cut every text after 32767 characters. EM_SETTARGETDEVICE with a line width of 1
// turns word wrap off: wrapped at the window's zero width, a long paragraph takes seconds to lay out.
HWND CWindowsDocHost::PlainTextConverter()
{
    if (!m_plainTextEdit) {
        const RECT none = {0, 0, 0, 0};
        m_plainTextEdit.reset(CreateRichEdit(HWND_MESSAGE, 0, none, ES_MULTILINE));
        if (m_plainTextEdit) {
            CRichEditHandle edit(m_plainTextEdit.get());
            edit.LimitText(0x7FFFFFFE);
            edit.SendMessage(EM_SETTARGETDEVICE, 0, 1);
        }
    }
    return m_plainTextEdit.get();
}

// Streaming in without SFF_SELECTION replaces the whole content, so one control serves every call.
std::string CWindowsDocHost::RtfToPlainText(const std::string& rtf)
{
    CRichEditHandle edit(PlainTextConverter());
    if (!edit.m_hWnd || !edit.StreamIn(SF_RTF, rtf))
        return rtf;
    return edit.StreamOut(SF_TEXT);
}

void CWindowsDocHost::ShowFileProperties(CQuorvaneDoc& document)
{
    if (!document.GetSettings() || !document.GetDirectories())
        return;
    CFilePropertySheet sheet(document, *this, *document.GetSettings(), *document.GetDirectories(),
                             FilePropertyServicesFor(), BoxOwner());
    sheet.Run();
}

// ---- The article clipboard ----

namespace {

// The article formats by version, newest first.
const char* ArticleFormatName(int version)
{
    switch (version) {
    case 4: return kArticleClipboardFormatV4;
    case 3: return kArticleClipboardFormatV3;
    case 2: return kArticleClipboardFormatV2;
    case 1: return kArticleClipboardFormatV1;
    default: return nullptr;
    }
}

}  // namespace

void CWindowsDocHost::SetArticleClipboard(const ArticleBlocks& blocks)
{
    CClipboard clipboard(MainWindow());
    if (!clipboard.IsOpen())
        throw CQuorError(kClipboardBusy);
    if (!clipboard.Empty())
        throw CQuorError(kBadClipboardData);
    // CF_TEXT wants its terminating NUL inside the block.
    if (!clipboard.SetData(CClipboard::RegisterFormat(kArticleClipboardFormatV3), blocks.v3) ||
        !clipboard.SetData(CClipboard::RegisterFormat(kArticleClipboardFormatV4), blocks.v4) ||
        !clipboard.SetData(CF_TEXT, blocks.text + '\0'))
        throw CQuorError(kOutOfMemory);
    // Rich text comes after the plain text, in the order a program enumerating the formats sees them;
    // like CF_TEXT it ends with a NUL.
    if (!blocks.rtf.empty() && !clipboard.SetData(CClipboard::RegisterFormat(CF_RTF), blocks.rtf + '\0'))
        throw CQuorError(kOutOfMemory);
}

int CWindowsDocHost::ArticleClipboardVersion()
{
    for (int version = 4; version >= 1; --version)
        if (CClipboard::IsFormatAvailable(CClipboard::RegisterFormat(ArticleFormatName(version))))
            return version;
    return 0;
}

std::string CWindowsDocHost::GetArticleClipboard(int version)
{
    const char* name = ArticleFormatName(version);
    if (!name)
        throw CQuorError(kClipboardFormatMissing);
    CClipboard clipboard(MainWindow());
    if (!clipboard.IsOpen())
        throw CQuorError(kClipboardBusy);
    std::string data = clipboard.GetData(CClipboard::RegisterFormat(name));
    if (data.empty())
        throw CQuorError(kClipboardFormatMissing);
    return data;
}

std::string CWindowsDocHost::ChooseKeywordList(const std::string& initialFolder)
{
    CFileDialog dialog(true, BoxOwner());
    dialog.m_title = QuorLoadString(IDS_IMPORT_KEYWORD_LIST_TITLE);
    dialog.m_filter = QuorLoadString(IDS_TEXT_FILE_FILTER);
    dialog.m_defaultExt = "txt";
    dialog.m_initialDir = initialFolder;
    dialog.m_flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_SHOWHELP;
    return dialog.DoModal() == IDOK ? dialog.m_fileName : std::string();
}

void CWindowsDocHost::AddKeywordsToIndex(CQuorvaneDoc& document)
{
    CAddKeywordsDlg dialog(BoxOwner());
    dialog.Setup(&document, CIndexView::Services().listFont);
    dialog.DoModal();
}

void CWindowsDocHost::ManageKeywordGroups(CQuorvaneDoc& document)
{
    CManageKeywordGroupsDlg dialog(document, BoxOwner());
    dialog.m_listFont = CIndexView::Services().listFont;
    dialog.DoModal();
}

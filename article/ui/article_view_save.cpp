// How an article comes from the document into the view and goes back: loading, the checks before a
// save, storing, the save prompts on closing, and undoing the article's changes as a whole.
#include <algorithm>
#include <new>

#include "article/ui/article_dlgs.h"
#include "article/ui/article_keywords_dlg.h"
#include "article/rich_text_rules.h"
#include "article/ui/article_view.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/mdi_wnd.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "storage/date.h"
#include "storage/quor_error.h"

namespace {

// The article's settings record as a new article gets it: word wrap from the file's setting.
void ResetInfo(CArticleInfo& info)
{
    const CAppSettings* settings = CArticleView::Services().settings;
    info.Reset(false, settings ? settings->GetWordWrap() : 1);
}

int ActiveLinksSetting()
{
    const CAppSettings* settings = CArticleView::Services().settings;
    return settings ? settings->GetActiveLinks() : 0;
}

}  // namespace

void CArticleView::SetCaption(const std::string& title)
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetWindowText(title);
}

void CArticleView::SetContentLinkMode(int mode)
{
    m_linkMode = mode;
    m_content.SetLinkMode(mode);
}

void CArticleView::OnInitialUpdate()
{
    CQuorvaneDoc* document = GetDoc();
    ResetInfo(m_info);
    m_timeField.SetMonthCalColor(MCSC_TITLEBK, 0xFF0000);
    const bool writable = document && document->CanModify();
    if (writable) {
        m_titleDropTarget.Register(m_titleBox.m_hWnd);
        m_keywordDropTarget.Register(m_keywordList.m_hWnd);
        ::DragAcceptFiles(m_hWnd, TRUE);
        m_dropRegistered = true;
    } else {
        m_titleBox.SetReadOnly(true);
        m_dateBox.SetReadOnly(true);
        m_content.SetReadOnly(true);
        m_calendarButton.EnableWindow(false);
        m_timeField.EnableWindow(false);
    }
    m_keywordList.SetDocument(document);
    m_keywordList.SetSettings(Services().settings);

    if (m_articleId == kNewArticle) {
        ShowNewArticle();
    } else {
        try {
            LoadArticle(true);
        } catch (const CQuorError& error) {
            // A window that could not load its article would store an empty one over it: it closes.
            ReportError(error);
            m_modified = false;
            m_articleId = kNewArticle;
            CloseFrame();
            return;
        }
    }
    m_titleBox.SetModify(false);
    m_content.SendMessage(EM_SETMODIFY, 0);
    m_modified = false;
    m_content.SetWordWrap(m_info.GetWordWrap() != 0);
    RecalcLayout();
}

void CArticleView::ShowNewArticle()
{
    CQuorvaneDoc* document = GetDoc();
    int number = 1;
    if (document) {
        number = document->GetNewArticleNumber();
        document->RaiseNewArticleNumber();
    }
    std::string title = QuorFormat1(QuorLoadString(IDS_UNTITLED_ARTICLE), std::to_string(number));
    SetCaption(title);
    m_titleBox.SetWindowText(title);
    SetContentLinkMode(ActiveLinksSetting());
    const CAppSettings* settings = Services().settings;
    if (document && settings && settings->GetDefaultKeywords()) {
        CKeywordIdSet selected;
        document->GetIndexKeywordSelection(selected);
        m_keywordList.SetIds(selected);
    }
    m_private = false;
    m_dateBox.SetDate(GetTodayYmd());
    m_dateBox.ClearModified();
    m_timeField.SetTime(GetTimeOfDay(), false);
    m_timeField.ClearEdited();
}

void CArticleView::LoadArticle(bool openAttachments)
{
    CQuorvaneDoc* document = GetDoc();
    if (!document)
        return;
    try {
        CArticleRecord record;
        document->LoadArticle(m_articleId, record);
        SetCaption(record.GetTitle());
        m_private = record.IsPrivate();
        m_hasReminder = document->GetReminders().HasReminder(m_articleId);
        if (document->CanModify())
            m_content.ResetDefaultFormat();
        std::string title = record.GetTitle();
        if (title.size() > static_cast<size_t>(CArticleTitleBox::kMaxLength))
            title.resize(CArticleTitleBox::kMaxLength);
        m_titleBox.SetWindowText(title);
        m_dateBox.SetDate(record.GetDateOf(CArticleRecord::kOwnDate));
        m_dateBox.ClearModified();
        m_timeField.SetTime(record.GetTimeOf(CArticleRecord::kOwnDate), false);
        m_timeField.ClearEdited();

        if (record.GetVersion() > CArticleRecord::kPlainTextVersion) {
            m_info = record.GetInfo();
            SetContentLinkMode(m_info.GetEditorState());
            // Wrapping set before the text comes in: set afterwards it lays the whole text out again.
            m_content.SetWordWrap(m_info.GetWordWrap() != 0);
            if (record.GetRtfText().empty())
                m_content.ClearText();  // a record stored without content has no RTF to stream
            else
                m_content.LoadRtfContent(record.GetRtfText(), m_linkMode == 0, &record.GetLinks());
            // Text the RTF cannot have hidden needs no pass over the whole text to show it.
            if (m_content.IsNewerDll()) {
                if (RtfMayHideText(record.GetRtfText())) {
                    CHARFORMAT2A visible = {};
                    visible.cbSize = sizeof(CHARFORMATA);
                    visible.dwMask = CFM_HIDDEN;
                    m_content.SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&visible));
                }
                m_content.SendMessage(EM_EMPTYUNDOBUFFER);
            }
            m_attachments.Copy(record.GetAttachments());
        } else {
            m_content.SendMessage(EM_HIDESELECTION, TRUE);
            m_content.LoadTextContent(record.GetText());
            m_content.SetLinkRanges(record.GetLinks());
            m_content.SetSel(0, 0);
            m_content.SendMessage(EM_HIDESELECTION, FALSE);
            ResetInfo(m_info);
            SetContentLinkMode(m_info.GetEditorState());
            m_attachments.RemoveAll();
        }
        CKeywordIdSet keywords;
        record.GetKeywordIds(keywords);
        m_keywordList.SetIds(keywords);
        if (record.GetRtfText().empty() && record.GetVersion() > CArticleRecord::kPlainTextVersion)
            m_content.SetLinkRanges(record.GetLinks());
        m_bookmarked = document->IsBookmarked(m_articleId);
        // Attachments open through the attachment list, which this window does not have yet.
        (void)openAttachments;
        Invalidate();
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

// ---- The checks before a save, answered by the controls ----

std::string CArticleView::GetTitleText() { return m_titleBox.GetWindowText(); }

void CArticleView::SetTitleText(const std::string& title)
{
    std::string text = title;
    if (text.size() > static_cast<size_t>(CArticleTitleBox::kMaxLength))
        text.resize(CArticleTitleBox::kMaxLength);
    m_titleBox.SetWindowText(text);
}

bool CArticleView::IsTitleEdited() { return m_titleBox.GetModify(); }

std::string CArticleView::MakeTitleFromContent()
{
    std::string title;
    m_content.MakeTitle(title);
    return title;
}

bool CArticleView::IsContentEmpty()
{
    std::string text;
    m_content.GetText(text, false);
    return TrimArticleText(text).empty();
}

void CArticleView::ShowTitleMissing()
{
    if (CFrameWnd* frame = GetParentFrame()) {
        if (auto* child = dynamic_cast<CMDIChildWnd*>(frame))
            child->MDIActivate();
        if (::IsIconic(frame->m_hWnd))
            ::ShowWindow(frame->m_hWnd, SW_RESTORE);
    }
    Ask(QuorLoadString(IDS_ARTICLE_NEEDS_TITLE), MB_OK | MB_ICONEXCLAMATION);
}

BlankArticleAnswer CArticleView::AskSaveBlank()
{
    switch (Ask(QuorLoadString(IDS_SAVE_BLANK_ARTICLE), MB_YESNOCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2)) {
    case IDYES:
        return BlankArticleAnswer::kYes;
    case IDNO:
        return BlankArticleAnswer::kNo;
    default:
        return BlankArticleAnswer::kCancel;
    }
}

bool CArticleView::IsDateOrTimeEdited() { return m_dateBox.IsEdited() || m_dateBox.IsChanged() || m_timeField.IsEdited(); }

void CArticleView::SetDateTimeToNow()
{
    m_dateBox.SetDate(GetTodayYmd());
    m_timeField.SetTime(GetTimeOfDay(), false);
}

bool CArticleView::IsDateValid()
{
    int32_t date = 0;
    return m_dateBox.GetDate(date);
}

void CArticleView::ShowInvalidDate()
{
    Ask(QuorFormat1(QuorLoadString(11100), GetEditDatePicture()), MB_OK | MB_ICONEXCLAMATION);
    m_dateBox.SetSel(0, -1);
    m_dateBox.SendMessage(EM_SCROLLCARET);
    m_dateBox.SetFocus();
}

int CArticleView::GetKeywordCount() { return m_keywordList.GetCount(); }

bool CArticleView::ChooseKeywords() { return ChangeKeywords(std::string()); }

// ---- Storing ----

void CArticleView::BuildRecord(CArticleRecord& record)
{
    record.SetRichTextVersion();
    record.SetTitle(m_titleBox.GetWindowText());
    int32_t date = 0;
    m_dateBox.GetDate(date);
    record.SetDate(date);
    record.SetTime(m_timeField.GetSecondsOfDay());
    CKeywordIdSet keywords;
    m_keywordList.GetIds(keywords);
    record.SetKeywordIds(keywords);
    std::string rtf;
    m_content.GetRtf(rtf, false);
    record.SetRtfText(rtf);
    m_info.SetEditorState(m_linkMode);
    record.SetInfo(m_info);
    record.SetAttachments(m_attachments);
    record.SetPrivate(m_private);
    record.SetLinks(m_content.Links());
}

void CArticleView::SaveArticle(bool quiet, bool allowDateUpdate)
{
    CQuorvaneDoc* document = GetDoc();
    if (!document)
        throw CQuorError(kCancelled);
    bool discarded = false;
    bool stored = false;
    try {
        const CAppSettings* settings = Services().settings;
        ArticleSaveOptions options;
        options.isNew = m_articleId == kNewArticle;
        options.interactive = !quiet;
        options.allowDateUpdate = allowDateUpdate;
        options.keepTitle = m_info.GetKeepTitle() != 0;
        options.defaultTitle = settings && settings->GetDefaultTitle() != 0;
        options.autoUpdateDates = settings && settings->GetAutoUpdateDates() != 0;
        switch (RunArticleSaveChecks(options, *this)) {
        case ArticleSaveCheck::kProceed:
            break;
        case ArticleSaveCheck::kDiscarded:
            discarded = true;
            throw CQuorError(kCancelled);
        case ArticleSaveCheck::kRefused:
            throw CQuorError(kCancelled);
        }

        CArticleRecord record;
        BuildRecord(record);
        if (m_articleId == kNewArticle) {
            try {
                m_articleId = document->AddArticle(record, m_bookmarked, false);
            } catch (const CQuorError& error) {
                // Code 19 comes after the article was stored: the window keeps its id, so that the
                // next save updates it instead of storing a copy, and reports the full title list.
                if (error.Code() != kTooManyTitles)
                    throw;
                m_articleId = document->LastAddedArticleId();
                FinishSave(record.GetTitle());
                stored = true;
                throw;
            }
        } else {
            document->UpdateArticle(m_articleId, record, false);
        }
        FinishSave(record.GetTitle());
    } catch (const CQuorError& error) {
        if (stored)
            throw;  // only the index could not list it
        m_modified = !discarded;
        if (error.Code() == kCancelled && quiet)
            throw CQuorError(kUnsavedArticles);
        throw;
    } catch (const std::bad_alloc&) {
        m_modified = true;
        throw CQuorError(kOutOfMemory);
    }
}

void CArticleView::FinishSave(const std::string& title)
{
    m_titleBox.SendMessage(EM_EMPTYUNDOBUFFER);
    m_content.SendMessage(EM_EMPTYUNDOBUFFER);
    m_dateBox.ClearModified();
    m_modified = false;
    SetCaption(title);
}

void CArticleView::ResetEditState()
{
    m_titleBox.SendMessage(EM_EMPTYUNDOBUFFER);
    m_titleBox.SetModify(false);
    m_content.SendMessage(EM_EMPTYUNDOBUFFER);
    m_dateBox.Commit();
    m_timeField.ClearEdited();
    m_undoSnapshot.reset();
    m_keywordSnapshot.reset();
}

void CArticleView::OnSaveArticle()
{
    try {
        SaveArticle(false, true);
        ResetEditState();
        m_modified = false;
    } catch (const CQuorError& error) {
        ReportError(error);
    }
}

void CArticleView::SaveIfModified()
{
    if (m_modified)
        OnSaveArticle();
}

bool CArticleView::PromptSaveAndClose()
{
    if (m_opening)
        return false;
    CQuorvaneDoc* document = GetDoc();
    try {
        if (m_modified) {
            if (m_articleId == kNewArticle || IsSavingWithoutWarnings()) {
                SaveIfModified();
            } else {
                bool noWarnings = false;
                int answer = IDCANCEL;
                std::string title = m_titleBox.GetWindowText();
                HWND owner = GetParentFrame() ? GetParentFrame()->m_hWnd : m_hWnd;
                if (Services().askSaveArticle)
                    answer = Services().askSaveArticle(owner, title, noWarnings);
                else
                    answer = RunSaveArticleDialog(owner, title, noWarnings);
                if (answer == IDYES) {
                    SetSavingWithoutWarnings(noWarnings);
                    SaveIfModified();
                } else if (answer == IDNO) {
                    m_modified = false;
                }
            }
        } else if (document && document->IsOpen() && document->CanModify() && m_articleId != kNewArticle &&
                   m_linkMode != m_info.GetEditorState()) {
            // Only the way links show changed: stored without a question.
            try {
                SaveArticle(false, false);
            } catch (const CQuorError&) {
            }
            m_modified = false;
        }
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return false;
    }
    if (m_modified)
        return false;
    CloseFrame();
    return true;
}

// ---- Undo Article Changes ----

void CArticleView::TakeUndoSnapshot()
{
    if (!m_undoSnapshot)
        m_undoSnapshot = std::make_unique<CArticleRecord>();
    CArticleRecord& snapshot = *m_undoSnapshot;
    snapshot.SetTitle(m_titleBox.GetWindowText());
    std::string rtf;
    m_content.GetRtf(rtf, false);
    snapshot.SetRtfText(rtf);
    snapshot.SetLinks(m_content.Links());
    CKeywordIdSet keywords;
    m_keywordList.GetIds(keywords);
    snapshot.SetKeywordIds(keywords);
    m_info.SetEditorState(m_linkMode);
    snapshot.SetInfo(m_info);
    snapshot.SetAttachments(m_attachments);
    m_snapshotFlags.titleModified = m_titleBox.GetModify();
    m_snapshotFlags.contentModified = m_content.SendMessage(EM_GETMODIFY) != 0;
    m_snapshotFlags.modified = m_modified;
    m_snapshotFlags.linkMode = m_linkMode;
    m_dateBox.SavePrevious();
    m_keywordSnapshot.reset();
    m_replaceUndoState = 0;
}

int CArticleView::ReplaceWithUndo(bool all, const std::function<int()>& replace)
{
    // The snapshot and state from before, put back when nothing was replaced.
    std::unique_ptr<CArticleRecord> earlier = std::move(m_undoSnapshot);
    const SnapshotFlags earlierFlags = m_snapshotFlags;
    const int earlierState = m_replaceUndoState;
    TakeUndoSnapshot();
    const int count = replace();
    if (count > 0) {
        // Set after the replacing, whose EN_CHANGE clears the state.
        m_replaceUndoState = all ? 3 : 1;
    } else {
        m_undoSnapshot = std::move(earlier);
        m_snapshotFlags = earlierFlags;
        m_replaceUndoState = earlierState;
    }
    return count;
}

void CArticleView::SwapReplaceSnapshot()
{
    const int state = m_replaceUndoState;
    std::unique_ptr<CArticleRecord> older = std::move(m_undoSnapshot);
    const SnapshotFlags olderFlags = m_snapshotFlags;
    // The article as it is now becomes the snapshot the next Undo returns to.
    TakeUndoSnapshot();
    std::unique_ptr<CArticleRecord> current = std::move(m_undoSnapshot);
    const SnapshotFlags currentFlags = m_snapshotFlags;
    m_undoSnapshot = std::move(older);
    m_snapshotFlags = olderFlags;
    RestoreUndoSnapshot();
    m_undoSnapshot = std::move(current);
    m_snapshotFlags = currentFlags;
    m_modified = true;
    // 1 <-> 2 (Replace), 3 <-> 4 (Replace All).
    m_replaceUndoState = state % 2 == 1 ? state + 1 : state - 1;
}

void CArticleView::RestoreUndoSnapshot()
{
    if (!m_undoSnapshot)
        return;
    std::unique_ptr<CArticleRecord> snapshot = std::move(m_undoSnapshot);
    m_titleBox.SetWindowText(snapshot->GetTitle());
    m_titleBox.SetModify(m_snapshotFlags.titleModified);
    m_dateBox.SwapWithPrevious();
    m_info = snapshot->GetInfo();
    SetContentLinkMode(m_snapshotFlags.linkMode);
    if (snapshot->GetRtfText().empty()) {
        m_content.ClearText();
        m_content.SetLinkRanges(snapshot->GetLinks());
    } else {
        m_content.LoadRtfContent(snapshot->GetRtfText(), m_linkMode == 0, &snapshot->GetLinks());
    }
    m_content.SendMessage(EM_SETMODIFY, m_snapshotFlags.contentModified);
    CKeywordIdSet keywords;
    snapshot->GetKeywordIds(keywords);
    m_keywordList.SetIds(keywords);
    m_attachments.Copy(snapshot->GetAttachments());
    m_modified = m_snapshotFlags.modified;
    SelectTitle();
}

void CArticleView::ResetToNewArticle()
{
    ShowNewArticle();
    m_content.ClearText();
    m_content.ClearLinkRanges();
    if (!(Services().settings && Services().settings->GetDefaultKeywords()))
        m_keywordList.ResetContent();
    m_attachments.RemoveAll();
    ResetInfo(m_info);
}

void CArticleView::OnUndoArticleChanges()
{
    try {
        if (m_modified) {
            TakeUndoSnapshot();
            if (m_articleId == kNewArticle)
                ResetToNewArticle();
            else
                LoadArticle(false);
            SetContentLinkMode(ActiveLinksSetting());
            m_modified = false;
        } else if (m_undoSnapshot) {
            RestoreUndoSnapshot();
        }
        m_content.SetWordWrap(m_info.GetWordWrap() != 0);
        RecalcLayout();
        Invalidate();
    } catch (const CQuorError& error) {
        ReportError(error);
    }
}

void CArticleView::ReloadArticle()
{
    m_undoSnapshot.reset();
    m_keywordSnapshot.reset();
    if (m_articleId == kNewArticle)
        ResetToNewArticle();
    else
        LoadArticle(false);
    m_content.SetWordWrap(m_info.GetWordWrap() != 0);
    SetContentLinkMode(ActiveLinksSetting());
    m_modified = false;
}

void CArticleView::SetInitialContent(UINT format, const std::string& text)
{
    try {
        if (format == CF_TEXT)
            m_content.LoadTextContent(text);
        else
            m_content.LoadRtfContent(text, m_linkMode == 0);
        int32_t end = m_content.GetCharCount();
        m_content.SetSel(end, end);
        const CAppSettings* settings = Services().settings;
        if (settings && settings->GetDefaultTitle()) {
            std::string title = MakeTitleFromContent();
            if (!title.empty()) {
                SetTitleText(title);
                m_titleBox.SetSel(static_cast<int>(title.size()), static_cast<int>(title.size()));
            }
        }
        m_titleBox.SetFocus();
    } catch (const CQuorError& error) {
        ReportError(error);
    }
}

void CArticleView::SelectTitle()
{
    m_titleBox.SetSel(0, -1);
    m_titleBox.SendMessage(EM_SCROLLCARET);
}

void CArticleView::GetKeywordIds(CKeywordIdSet& out) const { m_keywordList.GetIds(out); }

void CArticleView::SetKeywordIds(const CKeywordIdSet& ids)
{
    m_keywordList.SetIds(ids);
    m_modified = true;
}

// ---- Keywords ----

void CArticleView::SaveKeywordSnapshot()
{
    auto snapshot = std::make_unique<CKeywordIdSet>();
    m_keywordList.GetIds(*snapshot);
    m_keywordSnapshot = std::move(snapshot);
}

void CArticleView::UndoKeywordChange()
{
    if (!m_keywordSnapshot)
        return;
    // A swap: a second undo brings the change back.
    CKeywordIdSet current;
    m_keywordList.GetIds(current);
    m_keywordList.SetIds(*m_keywordSnapshot);
    m_keywordSnapshot->Copy(current);
    OnEditChange();
}

bool CArticleView::ChangeKeywords(const std::string& initial)
{
    CQuorvaneDoc* document = GetDoc();
    if (!document)
        return false;
    try {
        CArticleKeywordsDlg dialog(*document, m_hWnd);
        dialog.m_title = m_titleBox.GetWindowText();
        dialog.m_initialText = initial;
        m_keywordList.GetIds(dialog.m_assigned);
        INT_PTR result = Services().runKeywordsDialog ? Services().runKeywordsDialog(dialog) : dialog.DoModal();
        if (result != IDOK)
            return false;
        if (dialog.IsChanged()) {
            SaveKeywordSnapshot();
            m_keywordList.SetIds(dialog.m_assigned);
            OnEditChange();
        }
        return true;
    } catch (const CQuorError& error) {
        ReportError(error);
        return false;
    } catch (const std::bad_alloc&) {
        ReportOutOfMemory();
        return false;
    }
}

void CArticleView::AssignKeywordByName(const std::string& text)
{
    AssignKeywordNamed(text, true);
}

void CArticleView::AssignExistingKeywordByName(const std::string& text)
{
    AssignKeywordNamed(text, false);
}

void CArticleView::AssignKeywordNamed(const std::string& text, bool createPending)
{
    CQuorvaneDoc* document = GetDoc();
    if (!document)
        return;
    try {
        std::string name = text.substr(0, text.find_first_of("\r\n"));
        name = TrimArticleText(name);
        if (name.empty())
            return;
        int32_t id = createPending ? document->GetKeywordIdByName(name) : document->FindKeyword(name);
        if (id == kNoneId || m_keywordList.HasId(id))
            return;
        SaveKeywordSnapshot();
        m_keywordList.AddId(id, false);
        OnEditChange();
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CArticleView::SetToCurrentDateTime()
{
    m_dateBox.SetToday();
    m_timeField.SetTime(GetTimeOfDay(), true);
    m_modified = true;
}

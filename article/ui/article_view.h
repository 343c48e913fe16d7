// The view of an article window: its own working copy of one article while the user edits it. The
// header holds the title box, the date box with its calendar button and the time field, with the
// bookmark, attachment and reminder marks at the right; below it the content pane with the assigned
// keywords right of it behind a splitter. The view loads the article from the document, stores it
// back (a new article added, a stored one updated) after the checks of article/article_save_checks.h,
// undoes and redoes the article's changes as a whole, and decides whether its window may close.
//
// The modified flag: set by every edit (title, date, time, content, keywords, attachments), cleared
// by a load, a save and Undo Article Changes. A new article (id kNewArticle) becomes a stored one the
// first time a save succeeds.
//
// No handler destroys the view: a window that must go (deleted, closed after a prompt) posts WM_CLOSE
// to its frame, so a second close request is harmless.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "article/article_layout.h"
#include "article/article_save_checks.h"
#include "article/ui/article_content.h"
#include "article/ui/article_header.h"
#include "article/ui/article_keyword_list.h"
#include "article/ui/keyword_drop_target.h"
#include "controls/ui/edit_drop_target.h"
#include "controls/ui/format_target.h"
#include "document/doc_views.h"
#include "framework/ui/view.h"
#include "resources/article_window_res.h"
#include "storage/article_info.h"
#include "storage/article_record.h"

class CAppSettings;
class CArticleKeywordsDlg;
class CQuorvaneDoc;

// What the view needs of the application. Every member may be left empty (a test, or a service the
// program does not have yet); the view then does without.
struct CArticleViewServices {
    CAppSettings* settings = nullptr;
    // The keyword-list width for new windows, kept by the main frame.
    std::function<int()> getKeywordWidth;
    std::function<void(int)> setKeywordWidth;
    std::function<void(const std::string&)> statusText;
    // A message box owned by `owner`: the button pressed (IDYES...). Empty: MessageBoxA.
    std::function<int(HWND owner, const std::string& text, UINT style)> messageBox;
    // The Save Article prompt for `title`: IDYES, IDNO or IDCANCEL; `noWarnings` receives the
    // dialog's "save without warnings" box on Yes. Empty: CSaveArticleDlg.
    std::function<int(HWND owner, const std::string& title, bool& noWarnings)> askSaveArticle;
    // Runs the keywords dialog modally. Empty: DoModal.
    std::function<INT_PTR(CArticleKeywordsDlg& dialog)> runKeywordsDialog;
    // Runs the Delete Articles dialog for the view's stored article: true on Yes. Empty: the dialog.
    std::function<bool(HWND owner, CQuorvaneDoc& document, int32_t id)> confirmDelete;
    // The calendar drop-down under the date box: opens on `date` with its top-right corner at
    // (`right`, `top`) in screen coordinates; true and `date` changed when the user chose a date.
    std::function<bool(HWND owner, int top, int right, int32_t& date)> chooseDate;
    // Where the next article window goes in the MDI client of `clientWidth` x `clientHeight` (position
    // and size); empty: the system's placement. A restored window's size is handed back.
    std::function<RECT(int clientWidth, int clientHeight)> nextWindowRect;
    std::function<void(int width, int height)> storeWindowSize;
    // Shows a header control's context menu `popup` at `screen`; empty: TrackPopupMenu owned by the
    // main window, whose command route reaches the active view.
    std::function<void(HMENU popup, POINT screen)> trackMenu;
    // Fonts: the title and edit font, the header font ("Keywords", lists of dialogs) and the list
    // font; null: the system's.
    HFONT titleFont = nullptr;
    HFONT headerFont = nullptr;
    HFONT listFont = nullptr;
};

class CArticleView : public CView, public CArticleNotifyTarget, public IFormatTarget, private IArticleSaveSubject {
public:
    static constexpr int32_t kNewArticle = static_cast<int32_t>(0x80000001u);
    enum ControlId : int {
        kTitleBoxId = 1001,
        kDateBoxId = 1002,
        kContentId = 1003,
        kKeywordListId = 1004,
        kTimeFieldId = 1006,
        kCalendarButtonId = 1161,
        kAttachmentMarkTool = 1005,  // the tool tip's tool over the attachment mark
    };
    // The Select Date from Calendar command (the calendar button sends its own id).
    static constexpr unsigned kCalendarCommand = IDM_ARTICLE_SELECT_DATE;

    CArticleView();
    ~CArticleView() override;

    static void SetServices(const CArticleViewServices& services);
    static const CArticleViewServices& Services();
    // The application's "save articles without warnings" choice, kept until the program ends.
    static bool IsSavingWithoutWarnings();
    static void SetSavingWithoutWarnings(bool on);

    // ---- CArticleNotifyTarget ----
    int32_t OnDocumentNotify(ArticleHint hint, int32_t p, int32_t n) override;
    int32_t GetArticleId() const override { return m_articleId; }
    bool IsModified() const override { return m_modified; }
    void SaveIfModified() override;
    bool PromptSaveAndClose() override;
    void CloseFrame() override;

    // ---- IFormatTarget ----
    COLORREF GetSelectionColor() override;
    void SetSelectionColor(COLORREF color) override;
    COLORREF GetHighlightColor() override;
    void SetHighlightColor(COLORREF color) override;
    void SetSelectionFace(const std::string& face) override;
    void SetSelectionSize(int twips) override;
    HWND GetActiveContent() override;
    bool CanModify() override;
    void FocusView() override;

    // Set by the document before the initial update; kNewArticle for a new article.
    void SetArticleId(int32_t id) { m_articleId = id; }
    bool IsBookmarked() const { return m_bookmarked; }
    void OnInitialUpdate() override;

    // Reads the article with the view's id from the document into every control.
    void LoadArticle(bool openAttachments);
    // Checks and stores the working copy; throws CQuorError on refusal (code 0 silently, or 54 when
    // `quiet`) or failure. The modified flag stays set after any failure except the answer No to the
    // blank-article question.
    void SaveArticle(bool quiet, bool allowDateUpdate);
    // The Save Article command: reports a refusal or failure.
    void OnSaveArticle();
    void OnUndoArticleChanges();
    void ReloadArticle();
    // The text of a new article made from dropped or pasted text: CF_TEXT or "Rich Text Format".
    void SetInitialContent(UINT format, const std::string& text);
    void SelectTitle();
    void GetKeywordIds(CKeywordIdSet& out) const;
    void SetKeywordIds(const CKeywordIdSet& ids);
    // Assigns the keyword named by the text up to its first line end (a pending one when the file has
    // none of that name).
    void AssignKeywordByName(const std::string& text);
    // The same for text dropped on the keyword list: only a keyword the file holds is assigned; a
    // name that is no keyword does nothing.
    void AssignExistingKeywordByName(const std::string& text);
    // The Keywords for Article dialog, its new-keyword edit starting with `initial`.
    bool ChangeKeywords(const std::string& initial);
    void SetToCurrentDateTime();
    void SetContentLinkMode(int mode);
    // Runs a Replace (`all` false) or Replace All, `replace` answering how many it replaced, with an
    // undo snapshot taken first, so that Undo then swaps back and forth between before and after.
    // When nothing was replaced the earlier snapshot and state stay. Returns the count.
    int ReplaceWithUndo(bool all, const std::function<int()>& replace);
    int GetReplaceUndoState() const { return m_replaceUndoState; }

    // The children, for the window's own tests and the frame.
    CArticleTitleBox& TitleBox() { return m_titleBox; }
    CArticleDateBox& DateBox() { return m_dateBox; }
    CArticleTimeCtrl& TimeField() { return m_timeField; }
    CArticleContent& Content() { return m_content; }
    CArticleKeywordList& KeywordList() { return m_keywordList; }
    CKeywordDropTarget& KeywordDropTarget() { return m_keywordDropTarget; }
    CArticleHeaderButton& CalendarButton() { return m_calendarButton; }
    const ArticleLayout& Layout() const { return m_layout; }
    int GetKeywordWidth() const { return m_keywordWidth; }
    HWND GetActiveTextControl() const { return m_activeText; }
    HWND GetToolTips() const { return m_tips; }
    // The attachment mark's tip: the one attachment's name, else the number of attachments.
    std::string AttachmentTipText() const;
    bool HasUndoSnapshot() const { return m_undoSnapshot != nullptr; }
    bool HasKeywordSnapshot() const { return m_keywordSnapshot != nullptr; }
    void RecalcLayout();
    // The window may not change the article (read-only file, or the frame minimised or hidden).
    bool IsEditable();
    CQuorvaneDoc* GetDoc() const;

    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;
    bool PreTranslateMessage(MSG* msg) override;

protected:
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void AssignKeywordNamed(const std::string& text, bool createPending);
    // ---- article_view_save.cpp ----
    std::string GetTitleText() override;
    void SetTitleText(const std::string& title) override;
    bool IsTitleEdited() override;
    std::string MakeTitleFromContent() override;
    bool IsContentEmpty() override;
    void ShowTitleMissing() override;
    BlankArticleAnswer AskSaveBlank() override;
    bool IsDateOrTimeEdited() override;
    void SetDateTimeToNow() override;
    bool IsDateValid() override;
    void ShowInvalidDate() override;
    int GetKeywordCount() override;
    bool ChooseKeywords() override;
    void BuildRecord(CArticleRecord& record);
    // What a stored save leaves: empty undo buffers, the date committed, not modified, the caption.
    void FinishSave(const std::string& title);
    void ResetEditState();
    void TakeUndoSnapshot();
    void RestoreUndoSnapshot();
    // Undo after a Replace: the article and the snapshot change places.
    void SwapReplaceSnapshot();
    void ResetToNewArticle();
    void ShowNewArticle();
    void SetCaption(const std::string& title);
    void SaveKeywordSnapshot();
    void UndoKeywordChange();
    bool HasAssignedKeyword(int32_t id) const;

    // ---- article_view_commands.cpp ----
    void OnEditChange();
    void OnCloseArticle();
    void OnBookmark();
    void OnUpdateBookmark(CCmdUI& ui);
    void OnUpdateSave(CCmdUI& ui);
    void OnUpdateUndoArticleChanges(CCmdUI& ui);
    void OnUndo();
    void OnUpdateUndo(CCmdUI& ui);
    void OnChangeKeywords();
    void OnChangeKeywordsFromList();
    void OnUpdateChangeKeywordsFromList(CCmdUI& ui);
    void OnRemoveKeyword();
    void OnUpdateRemoveKeyword(CCmdUI& ui);
    void OnCreateKeyword();
    void OnUpdateCreateKeyword(CCmdUI& ui);
    void OnSelectDate();
    void OnDeleteArticle();
    void OnSetToNow();
    void OnPaste();
    void OnUpdatePaste(CCmdUI& ui);
    bool ContentCanPaste();
    void OnSelectAll();
    void OnUpdateSelectAll(CCmdUI& ui);
    void OnCopy();
    void OnCut();
    void OnUpdateCopy(CCmdUI& ui);
    void OnUpdateCut(CCmdUI& ui);
    void OnUpdateEditable(CCmdUI& ui);
    void OnUpdateWritable(CCmdUI& ui);
    void OnUpdateNotServed(CCmdUI& ui);
    void OnUpdateInsertDateTime(CCmdUI& ui);
    void OnInsertDateTime(unsigned id);
    void OnUpdateCreateTitle(CCmdUI& ui);
    void OnCreateTitle();
    void OnUpdateDelete(CCmdUI& ui);
    void OnDelete();
    void OnUpdateEffect(CCmdUI& ui);
    void OnEffect(unsigned id);
    void OnUpdateNeighbour(CCmdUI& ui);
    void OnNeighbour(unsigned id);
    // Article Properties (32877) and Attachment Properties (32896): the sheet over the window's
    // working copy; what changed is taken back and the article counts as modified.
    void OnArticleProperties(unsigned id);
    void OnKeywordsDropped(HWND source);
    void OnDropFiles(HDROP drop);
    void CutTitleToLimit();

    // ---- article_view.cpp ----
    void CreateChildren();
    void PaintHeader(HDC dc);
    // Where a header mark is drawn, and whether it is.
    ArticleRect MarkRect(ArticleMark mark) const;
    bool IsMarkShown(ArticleMark mark) const;
    void OnMouse(UINT msg, int x, int y);
    // Draws or removes the splitter bar dragged at `x` (kept inside the splitter's limits).
    void InvertSplitBar(int x);
    void MoveFocus(HWND from, bool back);
    void ShowContextMenu(HWND control, POINT screen);
    int Ask(const std::string& text, UINT style);
    void ShowStatus(const std::string& text);
    void ReportError(const class CQuorError& error);
    void ApplyFonts();
    // The content selection's character format for `mask` (the mask comes back cut to what is uniform).
    CHARFORMAT2A SelectionFormat(DWORD mask);
    HFONT TitleFont() const;

    ArticleHeaderHooks m_hooks;
    int m_opening = 0;
    bool m_hasReminder = false;
    CArticleHeaderButton m_calendarButton;
    CEditDropTarget m_titleDropTarget;
    CKeywordDropTarget m_keywordDropTarget;
    CArticleTitleBox m_titleBox;
    CArticleContent m_content;
    CArticleTimeCtrl m_timeField;
    bool m_private = false;
    int m_replaceUndoState = 0;
    // The content's paste answer and the clipboard's sequence number it was given for (0: none).
    DWORD m_pasteSequence = 0;
    bool m_contentCanPaste = false;
    int m_linkMode = 0;  // how the content shows links now (the stored value is in m_info)
    CArticleInfo m_info;
    CAttachmentArray m_attachments;
    std::unique_ptr<CArticleRecord> m_undoSnapshot;
    // What the undo snapshot holds beside the record.
    struct SnapshotFlags {
        bool titleModified = false;
        bool contentModified = false;
        bool modified = false;
        int32_t previousDate = 0;
        int linkMode = 0;
    } m_snapshotFlags;
    std::unique_ptr<CKeywordIdSet> m_keywordSnapshot;
    bool m_modified = false;
    int32_t m_articleId = kNewArticle;
    bool m_bookmarked = false;
    CArticleDateBox m_dateBox;
    CArticleKeywordList m_keywordList;
    HWND m_activeText = nullptr;
    ArticleLayout m_layout;
    bool m_splitting = false;
    int m_splitX = 0;
    int m_keywordWidth = 100;
    bool m_dropRegistered = false;
    HWND m_tips = nullptr;
    std::string m_tipText;  // the text last handed to the tool tip, kept while it shows
};

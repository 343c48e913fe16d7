// The index window's view: side by side an optional keyword-group list, the keyword index, the two
// arrow buttons, the selected keywords and the titles with their header buttons, and optional previews
// below the titles. It lays the panes out (index_layout.h decides where), lets the user drag the
// dividers and click the grips, keeps its sizes in the option store (section "Index Display"), fills
// its lists at the initial update and runs the reminder watcher while it lives.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "document/doc_views.h"
#include "framework/ui/controls.h"
#include "framework/ui/view.h"
#include "index/article_commands.h"
#include "index/index_layout.h"
#include "index/index_selection.h"
#include "index/ui/article_preview_pane.h"
#include "index/ui/image_button.h"
#include "index/ui/index_drop_target.h"
#include "index/ui/index_lists.h"
#include "resources/commands.h"

class CAppSettings;
class CArticleNotifyTarget;
class CCurrentQuery;
class CIndexDocData;
class CQuorvaneDoc;
class CWorkerThread;
class IProfileStore;

// What the index view takes from the application around it.
struct CIndexViewServices {
    IProfileStore* profile = nullptr;      // the option store; null: nothing is read or written
    CAppSettings* settings = nullptr;      // the program's settings; null: their defaults
    HFONT listFont = nullptr;              // the article and keyword list font; null: the GUI font
    HFONT dialogFont = nullptr;            // the dialog font of the header buttons; null: the GUI font
    std::function<int()> mainDivider;      // the main frame's stored "Divider" (keyword preview width)
    std::function<void(UINT)> postToMainFrame;  // a command for the main frame (the grips)
    CCurrentQuery* currentQuery = nullptr;  // the query shown under "Query Titles"; null: none
    // Deleted keywords leave the default import keyword list.
    std::function<void(const CKeywordIdSet&)> dropImportKeywords;
    // Makes the article preview; null or a null result: an empty read-only pane.
    std::function<std::unique_ptr<CIndexArticlePreview>()> makeArticlePreview;
    // Gives a new article window the text dropped on the titles list (CF_TEXT or "Rich Text
    // Format"); true when it took it.
    std::function<bool(CArticleNotifyTarget* article, UINT format, const std::string& text)> pasteIntoArticle;
    // Imports files dropped on the index window.
    std::function<void(const std::vector<std::string>& paths)> importFiles;

    // ---- The article commands' windows of other parts of the program ----
    // The Delete Articles dialog over `ids`; true when the user confirmed.
    std::function<bool(CQuorvaneDoc& document, const CArticleIdSet& ids, HWND owner)> confirmDeleteArticles;
    // The Article Properties sheet of article `id` on its general page (0) or its attachments page (1).
    std::function<void(CQuorvaneDoc& document, int32_t id, int page, HWND owner)> showArticleProperties;
    // Makes the reminders manager, a modeless dialog owned by `owner`, in due mode (1) or menu mode
    // (0); its window or null.
    std::function<HWND(HWND owner, int mode)> makeRemindersManager;
    // The main frame's Find dialog reads its choices again (the articles changed).
    std::function<void()> refreshFindDialog;
    // Plays the system sound of `type` (reminders due); null: MessageBeep.
    std::function<void(UINT type)> beep;
    // Waits between two Internet addresses opened as attachments; null: Sleep.
    std::function<void(uint32_t milliseconds)> wait;
    // The Shared Keywords dialog over `shared`, the keywords all highlighted titles carry: true when
    // the user confirmed a change, with `result` the keywords they are all to carry.
    std::function<bool(CQuorvaneDoc& document, HWND owner, const CKeywordIdSet& shared, CKeywordIdSet& result)>
        editSharedKeywords;
};

class CIndexView : public CView, public CDropClassified, public CIndexNotifyTarget, private CIndexPanes {
public:
    enum ControlId {
        kMoveToIndexButton = 1005,   // "<<"
        kMoveToSelectedButton = 1004,  // ">>"
        kTitleList = 1003,
        kArticlePreview = 1006,
        kTagHeader = 1007,
        kAttachmentHeader = 1008,
        kDateHeader = 1009,
        kTitlesCaption = 1010,
        kSelectedHeader = 1011,
        kIndexHeader = 1012,
        kKeywordPreview = 1013,
        kPrivateHeader = 1014,
        kHypertextHeader = 1015,
        kGroupHeader = 1016,
        kGroupList = 1017,
        kReminderHeader = 1018,
        kIndexList = 1037,
        kSelectedList = 1038,
    };
    enum : UINT {
        kMoveToSelectedCommand = IDM_KEYWORD_MOVE_TO_SELECTED,
        kMoveToIndexCommand = IDM_KEYWORD_MOVE_TO_INDEX,
        kSelectAllKeywordsCommand = IDM_KEYWORD_SELECT_ALL,
        kKeywordListsCommand = 32779,   // the right grip: show or hide the keyword lists
        kKeywordGroupsCommand = 33021,  // the left grip: show or hide the group list
        kRemindersDueMessage = 0x8007,
        kRefreshRemindersMessage = 0x8008,  // to the reminders manager: read the reminders again
        kSavePlacementMessage = WM_APP + 32,  // to the index frame: store its placement
        kHoverTimer = 1100,
    };
    // The grips' arrows (icons IDI_GRIP_HIDE and IDI_GRIP_SHOW), centred in the grips.
    enum : int { kGripIconWidth = 6, kGripIconHeight = 16 };

    CIndexView();
    ~CIndexView() override;

    static void SetServices(const CIndexViewServices& services);
    static const CIndexViewServices& Services();

    void OnInitialUpdate() override;
    unsigned DropClasses() const override { return DropWindowFacts::kIndexView; }

    int32_t IndexNotify(IndexCode code, ChannelArg p, int32_t n) override;
    void UpdateTitleForArticle(int32_t id, const CKeywordIdSet& keywords, bool highlight) override;
    void RemoveArticleTitle(int32_t id) override;

    bool PreTranslateMessage(MSG* msg) override;
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;

    // Delete Article on the highlighted titles (also Edit > Delete with the focus in the titles).
    void OnDeleteArticles();
    // The reminders manager while it is open, else null.
    HWND RemindersManager() const;
    // True while the cut articles of this window are ours on the clipboard for Undo Article Cut.
    bool IsCutPending() const { return m_cutPending; }

    // Which titles are listed and why; the tests drive it directly.
    CIndexSelection& Selection() { return m_selection; }
    CIndexDropTarget& DropTarget() { return m_dropTarget; }

    // The lists and sizes, for the frame and the tests.
    CIndexIndexList& IndexList() { return m_indexList; }
    CSelectedKeywords& SelectedList() { return m_selectedList; }
    CIndexGroupList& GroupList() { return m_groupList; }
    CIndexTitleList& TitleList() { return m_titleList; }
    CIndexKeywordPreviewPane& KeywordPreview() { return m_keywordPreview; }
    const IndexDisplayValues& Values() const { return m_values; }
    const IndexLayout& Layout() const { return m_layout; }
    IndexLayoutInput LayoutInput() const;
    int GetHeaderHeight() const { return m_headerHeight; }

    // Shows or hides the keyword lists (catalog mode) and the group pane; `byUser` marks the group
    // visibility for storing.
    void SetCatalog(bool on) override;
    void ShowGroupPane(bool show, bool byUser);
    void SetPreviewFlags(int flags);
    void RecalcLayout();
    // Writes the stored values now.
    void WriteValues();

    // ---- Keyword-group commands (index_view_groups.cpp) ----
    // Delete Keyword Groups: also what Edit > Delete runs while the group list has the focus.
    void OnDeleteKeywordGroups();
    void OnUnselectKeywordGroups();
    void OnAddKeywordGroup();
    void OnEditKeywordGroup();
    void OnMergeKeywordGroup();

protected:
    bool OnCreate(CREATESTRUCTA* create, LRESULT& result) override;
    bool OnSize(UINT type, int width, int height, LRESULT& result) override;
    bool OnTimer(UINT_PTR id, LRESULT& result) override;
    bool OnClose(LRESULT& result) override;
    bool OnDestroy(LRESULT& result) override;
    bool OnCommand(UINT id, UINT code, HWND control, LRESULT& result) override;
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    CQuorvaneDoc* Document() const;
    bool CreateChildren();
    void ReadValues();
    void Paint();
    void DrawGrip(HDC dc, const LayoutRect& grip, bool pointsLeft, bool hot);
    void OnLButtonDown(POINT point);
    void OnMouseMove(UINT keys, POINT point);
    void OnLButtonUp(POINT point);
    void DrawTracker();
    bool SetDividerCursor(POINT point);
    void OnContextMenu(HWND window, POINT screen);
    void OnHeaderClick(UINT id);
    void UpdateSortImages();
    void ApplyColumnHeaders();
    void StartReminderWatcher();
    void StopReminderWatcher();
    void FillLists();

    // ---- Keyword-group commands (index_view_groups.cpp) ----
    bool OnGroupCmdMsg(unsigned id, CCmdUI* ui);
    int32_t OnlyHighlightedGroup();
    void OnUpdateGroupsHighlighted(CCmdUI& ui);
    void OnUpdateAddKeywordGroup(CCmdUI& ui);
    void OnUpdateOneGroupHighlighted(CCmdUI& ui);
    void OnUpdateDeleteKeywordGroups(CCmdUI& ui);

    // ---- Commands ----
    void OnMoveToSelected();
    void OnMoveToIndex();
    void OnUpdateMoveToSelected(CCmdUI& ui);
    void OnUpdateMoveToIndex(CCmdUI& ui);
    void OnSelectAllKeywords();
    void OnUpdateSelectAllKeywords(CCmdUI& ui);
    void OnShowAllTitles();
    void OnShowBookmarkedTitles();
    void OnShowArticlesWithAttachments();
    void OnKeywordsDropped(HWND target, HWND source);
    // Text dropped on the titles list: New Article, then the text into the window it made, only that.
    bool NewArticleFromText(UINT format, const std::string& text);
    void OnDropFiles(HDROP drop);
    void RevokeDrops();
    bool IsShowing() const;

    // ---- Article commands (index_view_articles.cpp) ----
    bool OnArticleCmdMsg(unsigned id, CCmdUI* ui);
    void OnOpenArticles();
    void OnUpdateOpenArticles(CCmdUI& ui);
    void OnNextArticle();
    void OnPreviousArticle();
    void OnUpdateNextArticle(CCmdUI& ui);
    void OnUpdatePreviousArticle(CCmdUI& ui);
    void StepArticle(int direction);
    void OnUpdateDeleteArticles(CCmdUI& ui);
    void OnBookmarkArticles();
    void OnUpdateBookmarkArticles(CCmdUI& ui);
    void OnCopy();
    void OnUpdateCopy(CCmdUI& ui);
    void OnCut();
    void OnUpdateCut(CCmdUI& ui);
    void OnPaste();
    void OnUpdatePaste(CCmdUI& ui);
    void OnUndo();
    void OnUpdateUndo(CCmdUI& ui);
    UndoFacts CurrentUndoFacts() const;
    void OnSelectAll();
    void OnUpdateSelectAll(CCmdUI& ui);
    void OnOpenAttachments();
    void OnUpdateOpenAttachments(CCmdUI& ui);
    void OnArticleProperties();
    void OnAttachmentProperties();
    void OnUpdateArticleProperties(CCmdUI& ui);
    void ShowArticleProperties(UINT command, int page);
    void OnSetReminder();
    void OnUpdateSetReminder(CCmdUI& ui);
    void OnRemindersDue();
    void CloseRemindersManager();
    bool IsTitlesFocus() const;
    bool IsPreviewFocus() const;
    bool IsModifiable() const;
    // The highlighted title when exactly one is, else kNoneId.
    int32_t OnlyHighlightedTitle() const;
    // The article window on `article`, brought forward and sent `command`; false when none is open.
    bool ForwardToArticleWindow(int32_t article, UINT command);
    // The article window that is the active MDI child, or null.
    CArticleNotifyTarget* ActiveArticleWindow() const;
    // After articles changed under the titles: the lists are repainted and the Find dialog told.
    void AfterArticlesChanged();
    // ---- Keyword commands (index_view_keywords.cpp) ----
    bool RouteKeywordCommands(unsigned id, CCmdUI* ui);
    void OnEditKeyword();
    void OnMergeKeyword();
    void OnUpdateOneKeyword(CCmdUI& ui);
    void OnDeleteKeyword();
    void OnUpdateDeleteKeyword(CCmdUI& ui);
    void OnChangeKeywords();
    void OnUpdateChangeKeywords(CCmdUI& ui);
    void OnDeleteByFocus();
    void OnUpdateDeleteByFocus(CCmdUI& ui);
    void AssignDroppedKeywords(HWND target, HWND source);
    HWND DialogOwner() const;
    int AskUser(int messageId, UINT style) const;
    HWND FocusedList() const;
    bool CanModifyDocument() const;
    int32_t OnlyHighlightedKeyword() const;
    bool PassPasswordGate(int askId, int refusedId);
    template <class Step>
    void RunKeywordCommand(Step step);

    // ---- The window as the selection sees it (index_view_panes.cpp) ----
    void SetTitles(const CArticleIdSet& ids) override;
    void GetTitles(CArticleIdSet& out) override;
    int GetTitleCount() override;
    bool HasTitle(int32_t id) override;
    bool IsTitleHighlighted(int32_t id) override;
    void InsertTitle(int32_t id, bool highlight) override;
    void RemoveTitle(int32_t id) override;
    void MoveTitle(int32_t id, bool highlight) override;
    void RemoveTitles(const CArticleIdSet& ids) override;
    void GetHighlightedTitles(CArticleIdSet& out) override;
    int GetHighlightedTitleCount() override;
    int32_t GetOnlyHighlightedTitle() override;
    void ClearTitleHighlights() override;
    int TitleIndexOf(int32_t id) override;
    int32_t TitleAt(int index) override;
    void HighlightOnlyTitle(int index) override;
    void RepaintTitles() override;
    void ResortTitles(bool keepHighlights) override;
    void RepositionTitles(const CArticleIdSet& ids) override;
    void GetKeywords(KeywordPane pane, CKeywordIdSet& out) override;
    void GetHighlightedKeywords(KeywordPane pane, CKeywordIdSet& out) override;
    bool HasKeyword(KeywordPane pane, int32_t id) override;
    void SetKeywords(KeywordPane pane, const CKeywordIdSet& ids) override;
    void AddKeyword(KeywordPane pane, int32_t id, bool highlight) override;
    void AddAndSelectKeywords(KeywordPane pane, const CKeywordIdSet& ids) override;
    void SelectKeywords(KeywordPane pane, const CKeywordIdSet& ids) override;
    void ClearKeywordHighlights(KeywordPane pane) override;
    void RemoveHighlightedKeywords(KeywordPane pane) override;
    void RemoveKeywords(KeywordPane pane, const CKeywordIdSet& ids) override;
    void RepaintKeywords(KeywordPane pane) override;
    void SetIndexFilter(const CKeywordIdSet& filter, bool filterOn, bool showAll) override;
    void RefreshIndexFilter(bool filterOn) override;
    void GetHighlightedGroups(CGroupIdSet& out) override;
    void AddGroup(int32_t id, bool highlight) override;
    bool RemoveGroup(int32_t id) override;
    void ShowArticlePreview(int32_t id, bool force) override;
    void SetIndexCaption(const std::string& text) override;
    void SetSelectedCaption(const std::string& text) override;
    void SetTitlesCaption(const std::string& text) override;
    bool IsWindowShown() override;
    void ShowFrame(bool activate) override;
    void ApplyListFont() override;
    void MeasureDates() override;
    void ApplySortImages() override;
    void ApplyPreviewFlags() override;
    void ApplyPreviewColor() override;
    void SetPreviewLinkMode(int mode) override;
    void ApplyDisplayPrefs() override;
    void SavePlacement() override;
    void ApplyGroupPane(bool byUser) override;
    void RemindersChanged() override;
    void OpenRemindersManager() override;
    void PostShowIndex() override;
    void ReportError(const CQuorError& error) override;
    void ReportOutOfMemory() override;
    void ShowInformation(int messageId) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    int GetInitList() override;
    bool GetAutoUpdateQuery() override;
    CCurrentQuery* GetCurrentQuery() override;
    void DropImportKeywords(const CKeywordIdSet& keywords) override;
    CKeywordListBox& KeywordList(KeywordPane pane);

    IndexDisplayValues m_values;
    CIndexSelection m_selection{*this, m_values};
    std::unique_ptr<CIndexDocData> m_data;
    IndexLayout m_layout;
    bool m_groupVisibilityChanged = false;
    int m_headerHeight = 20;
    int m_waitDepth = 0;
    HCURSOR m_cursorBeforeWait = nullptr;
    int m_leftGripHot = 2;
    int m_rightGripHot = 0;

    CImageButton m_groupHeader{0x30810015};
    CImageButton m_indexHeader{0x1000};
    CImageButton m_selectedHeader{0x1001};
    CImageButton m_tagHeader{0x1003};
    CImageButton m_attachmentHeader{0x1003};
    CImageButton m_hypertextHeader{0x1003};
    CImageButton m_privateHeader{0x1003};
    CImageButton m_reminderHeader{0x1003};
    CImageButton m_dateHeader{0x1003};
    CImageButton m_titlesCaption{0x1003};
    CButton m_moveToSelected;
    CButton m_moveToIndex;
    CIndexGroupList m_groupList;
    CIndexIndexList m_indexList;
    CSelectedKeywords m_selectedList;
    CIndexTitleList m_titleList;
    CIndexKeywordPreviewPane m_keywordPreview;
    std::unique_ptr<CIndexArticlePreview> m_articlePreview;
    CIndexDropTarget m_dropTarget;
    bool m_acceptsFiles = false;
    HWND PreviewHandle() const { return m_articlePreview ? m_articlePreview->Handle() : nullptr; }

    // The drag of a divider or a press on a grip.
    int m_dragState = kNoDivider;
    DividerDrag m_drag;
    POINT m_pressPoint = {0, 0};
    int m_tracked = 0;
    bool m_trackerShown = false;
    HWND m_focusList = nullptr;

    std::unique_ptr<CWorkerThread> m_watcher;

    // The article commands' state: a Cut whose articles Undo may put back, and the reminders manager.
    bool m_cutPending = false;
    HWND m_remindersManager = nullptr;
};

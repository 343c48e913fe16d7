// Which titles the index window lists and why: the keyword selection (AND or OR), the start lists
// (all, bookmarked, articles with attachments), query results, the related index, the keyword-group
// filter, the captions, the previews' contents and the answer to every code of the index view's
// entry. The logic works on sets: it reads the knowledge base through CIndexData and changes the
// window's lists only through CIndexPanes, so it runs and is tested without windows.
//
// Every step computes its new sets first and changes the lists only afterwards: a step that raises
// is reported and leaves the lists as they were.
//
// Private articles: while they are hidden no list ever gets one. Sets taken from keywords are cut to
// the shown articles, a changed article that is private and hidden is taken out (never put in) in
// every titles-list mode, and hiding them takes them out of lists that are not rebuilt (Found and
// outdated Query titles).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "index/index_channel.h"
#include "index/index_layout.h"
#include "index/query_names.h"
#include "storage/id_set.h"

class CCurrentQuery;
class CQuorError;

// The titles-list modes; the caption of mode m is string IDS_TITLES_CAPTION_FIRST + m.
enum TitlesMode : int {
    kTitlesNone = 0,
    kTitlesAll = 1,
    kTitlesBookmarked = 2,
    kTitlesSelected = 3,
    kTitlesFound = 4,
    kTitlesFoundStopped = 5,
    kTitlesFoundOutdated = 6,
    kTitlesQuery = 7,
    kTitlesQueryOutdated = 8,
    kTitlesAttachments = 9,
};

// What the selection reads of the open knowledge base besides what a query reads. Errors are
// CQuorError.
class CIndexData : public CQuerySource {
public:
    virtual void GetAllKeywordIds(CKeywordIdSet& out) = 0;
    virtual int GetKeywordCount() = 0;
    virtual bool IsBookmarked(int32_t article) = 0;
    virtual bool IsArticlePrivate(int32_t article) = 0;
    virtual bool ArePrivateArticlesHidden() = 0;
    // The articles shown (the private ones left out while hidden): %2 of the titles caption.
    virtual int GetShownArticleCount() = 0;
    virtual int GetSortOrder() = 0;
    // Deletes the keywords from the knowledge base (their records, and their ids in every article and
    // keyword group).
    virtual void DeleteKeywords(const CKeywordIdSet& keywords) = 0;
    // Opens the article in its window.
    virtual void OpenArticle(int32_t article) = 0;
};

// The keyword lists of the index window.
enum class KeywordPane { kIndex, kSelected, kPreview };

// The index window as the selection changes it. Lists hold ids; a highlight is the list's selection.
class CIndexPanes {
public:
    virtual ~CIndexPanes() = default;

    // ---- Titles ----
    // Lists exactly `ids`, none highlighted.
    virtual void SetTitles(const CArticleIdSet& ids) = 0;
    virtual void GetTitles(CArticleIdSet& out) = 0;
    virtual int GetTitleCount() = 0;
    virtual bool HasTitle(int32_t id) = 0;
    virtual bool IsTitleHighlighted(int32_t id) = 0;
    // Lists an id not listed, at its place in the sort order.
    virtual void InsertTitle(int32_t id, bool highlight) = 0;
    virtual void RemoveTitle(int32_t id) = 0;
    // A listed title whose title, date or flags changed goes to its place in the sort order; it keeps
    // its highlight and gets one with `highlight`.
    virtual void MoveTitle(int32_t id, bool highlight)
    {
        highlight = highlight || IsTitleHighlighted(id);
        RemoveTitle(id);
        InsertTitle(id, highlight);
    }
    // Removes every listed id of `ids` in one pass over the list.
    virtual void RemoveTitles(const CArticleIdSet& ids)
    {
        for (int32_t id : ids.Values())
            if (HasTitle(id))
                RemoveTitle(id);
    }
    virtual void GetHighlightedTitles(CArticleIdSet& out) = 0;
    virtual int GetHighlightedTitleCount() = 0;
    // The highlighted title when exactly one is highlighted, else kNoneId.
    virtual int32_t GetOnlyHighlightedTitle() = 0;
    virtual void ClearTitleHighlights() = 0;
    // Item positions in display order.
    virtual int TitleIndexOf(int32_t id) = 0;
    virtual int32_t TitleAt(int index) = 0;
    // Unhighlights every title, highlights item `index` and puts the caret there.
    virtual void HighlightOnlyTitle(int index) = 0;
    virtual void RepaintTitles() = 0;
    virtual void ResortTitles(bool keepHighlights) = 0;
    // Only the titles of `ids` changed how they sort (their bookmarks, say): they move to their
    // places, the highlights stay.
    virtual void RepositionTitles(const CArticleIdSet& ids) { ResortTitles(true); }

    // ---- Keyword lists and groups ----
    virtual void GetKeywords(KeywordPane pane, CKeywordIdSet& out) = 0;
    virtual void GetHighlightedKeywords(KeywordPane pane, CKeywordIdSet& out) = 0;
    virtual bool HasKeyword(KeywordPane pane, int32_t id) = 0;
    // Lists exactly `ids` (the index list keeps its group filter).
    virtual void SetKeywords(KeywordPane pane, const CKeywordIdSet& ids) = 0;
    // Lists `id`; with `highlight` it is highlighted, the caret goes to it and it is scrolled into view.
    virtual void AddKeyword(KeywordPane pane, int32_t id, bool highlight) = 0;
    // Clears the highlights, then lists and highlights each id.
    virtual void AddAndSelectKeywords(KeywordPane pane, const CKeywordIdSet& ids) = 0;
    // Highlights the ids listed; other highlights stay.
    virtual void SelectKeywords(KeywordPane pane, const CKeywordIdSet& ids) = 0;
    virtual void ClearKeywordHighlights(KeywordPane pane) = 0;
    virtual void RemoveHighlightedKeywords(KeywordPane pane) = 0;
    virtual void RemoveKeywords(KeywordPane pane, const CKeywordIdSet& ids) = 0;
    virtual void RepaintKeywords(KeywordPane pane) = 0;
    // The index list shows only its keywords in `filter`, or all while the filter is off or showAll.
    virtual void SetIndexFilter(const CKeywordIdSet& filter, bool filterOn, bool showAll) = 0;
    virtual void RefreshIndexFilter(bool filterOn) = 0;
    virtual void GetHighlightedGroups(CGroupIdSet& out) = 0;
    virtual void AddGroup(int32_t id, bool highlight) = 0;
    // True when the group was highlighted.
    virtual bool RemoveGroup(int32_t id) = 0;

    // ---- Previews and captions ----
    // The article preview shows article `id` (kNoneId: nothing); `force` loads it again.
    virtual void ShowArticlePreview(int32_t id, bool force) = 0;
    virtual void SetIndexCaption(const std::string& text) = 0;
    virtual void SetSelectedCaption(const std::string& text) = 0;
    virtual void SetTitlesCaption(const std::string& text) = 0;

    // ---- The window around the lists ----
    virtual bool IsWindowShown() = 0;
    // Shows the frame when hidden; with `activate` also restores it when minimised and activates it.
    virtual void ShowFrame(bool activate) = 0;
    virtual void SetCatalog(bool on) = 0;
    virtual void ApplyListFont() = 0;
    virtual void MeasureDates() = 0;
    virtual void ApplySortImages() = 0;
    // The preview flags changed: show or hide the previews and lay out again.
    virtual void ApplyPreviewFlags() = 0;
    virtual void ApplyPreviewColor() = 0;
    virtual void SetPreviewLinkMode(int mode) = 0;
    virtual void ApplyDisplayPrefs() = 0;
    virtual void SavePlacement() = 0;
    // The group pane's visibility (in the display values) changed: show or hide it, lay out again;
    // `byUser` marks it to be stored.
    virtual void ApplyGroupPane(bool byUser) = 0;
    virtual void RemindersChanged() = 0;
    virtual void OpenRemindersManager() = 0;
    // Posts Show Index to the view (brings the index window forward).
    virtual void PostShowIndex() = 0;

    // ---- The application ----
    virtual void ReportError(const CQuorError& error) = 0;
    virtual void ReportOutOfMemory() = 0;
    // An information message from the string table.
    virtual void ShowInformation(int messageId) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // "InitList": 1 bookmarked titles, 2 nothing, other values all titles.
    virtual int GetInitList() = 0;
    virtual bool GetAutoUpdateQuery() = 0;
    // The query shown under "Query Titles"; may be null.
    virtual CCurrentQuery* GetCurrentQuery() = 0;
    // Deleted keywords leave the default import keyword list.
    virtual void DropImportKeywords(const CKeywordIdSet& keywords) = 0;
};

class CIndexSelection {
public:
    // `values` are the index window's stored display values (preview flags, requested index mode,
    // catalog flag, group pane); the window keeps them and the selection changes them.
    CIndexSelection(CIndexPanes& panes, IndexDisplayValues& values);

    // The knowledge base; null while the window has none.
    void SetData(CIndexData* data) { m_data = data; }
    CIndexData* Data() const { return m_data; }

    // ---- The start ----
    // Titles by "InitList" (1 bookmarked, 2 none, otherwise all), the AND/OR mode and the index mode.
    void Start(int andOrMode);

    // ---- Keyword steps ----
    // Move to Selected: the highlighted keywords of the index list.
    void MoveToSelected();
    // Move to Index: the highlighted keywords of the selected list.
    void MoveToIndex();
    // Keywords dropped on the selected list from the keyword preview.
    void AddKeywordsToSelection(const CKeywordIdSet& keywords);
    // The full run over `keywords` (SelectArticlesByKeywords).
    void SelectArticlesByKeywords(const CKeywordIdSet& keywords);
    void ClearSelectedKeywords();

    // ---- Start lists and results ----
    void ShowAllTitles();
    void ShowBookmarkedTitles();
    void ShowArticlesWithAttachments();
    // Lists `ids` (a query's or Find's result) in titles-list mode `mode`.
    void ShowResult(const CArticleIdSet& ids, int mode);
    void ShowTitles(const CArticleIdSet& ids);

    // ---- Modes ----
    void SetAndOrMode(int mode);
    void SetIndexMode(int requested);
    void CycleIndexMode();
    void SetTitlesMode(int mode);
    int GetAndOrMode() const { return m_andOr; }
    int GetTitlesMode() const { return m_titlesMode; }
    int GetShownIndexMode() const { return m_shownIndexMode; }

    // ---- Keeping in step ----
    void UpdateTitleForArticle(int32_t id, const CKeywordIdSet& keywords, bool highlight);
    void RemoveArticleTitle(int32_t id);
    void BookmarkChanged(int32_t id);
    void DeleteKeywords(const CKeywordIdSet& keywords);
    void GroupsChanged();
    void RerunByMode();
    // The group filter and the previews report their own errors (the lists stay usable).
    void RecomputeGroupFilter();
    void RecomputeRelatedIndex();
    void RefreshPreviews();

    // A command that changes many articles at once (Delete, Bookmark, Change Keywords) runs inside a
    // batch: titles that leave the list go in one pass at its end, listed titles stay where they are,
    // and the work that concerns the whole list (the resort of a bookmark order, the repaint, the
    // related index, the caption, the previews) is done once there instead of once per article.
    void BeginTitleBatch() { ++m_batchDepth; }
    void EndTitleBatch();
    class CTitleBatch {
    public:
        explicit CTitleBatch(CIndexSelection& selection) : m_selection(selection) { m_selection.BeginTitleBatch(); }
        ~CTitleBatch() { m_selection.EndTitleBatch(); }
        CTitleBatch(const CTitleBatch&) = delete;
        CTitleBatch& operator=(const CTitleBatch&) = delete;

    private:
        CIndexSelection& m_selection;
    };

    // The keywords every article of `articles` carries.
    void CommonKeywords(const CArticleIdSet& articles, CKeywordIdSet& out);
    // The keywords of `articles` that are not in `selected`.
    void RelatedKeywords(const CArticleIdSet& articles, const CKeywordIdSet& selected, CKeywordIdSet& out);

    // ---- Captions ----
    void UpdateCaptions();
    void UpdateTitlesCaption();
    static std::string TitlesCaption(int mode, int listed, int shown);
    static std::string IndexCaption(int shownIndexMode);
    static std::string SelectedCaption(int andOrMode);

    // ---- The entry ----
    // One code of the index view's entry; the answer of a question, else 0. Codes 0, 38 to 40 and
    // above 46 do nothing. An error is reported and ends the code's handling.
    int32_t Notify(IndexCode code, ChannelArg p, int32_t n);

private:
    // The articles of the keywords combined by the AND/OR mode, cut to the shown articles.
    void ComputeSelection(const CKeywordIdSet& keywords, CArticleIdSet& out);
    // `titles` narrowed (AND) or widened (OR) by the keywords' articles.
    void CombineWith(CArticleIdSet& titles, const CKeywordIdSet& keywords);
    void CutToShown(CArticleIdSet& ids);
    bool IsHiddenPrivate(int32_t id);
    // Lists `id` (again): a listed title keeps its highlight.
    void PlaceTitle(int32_t id, bool highlight);
    void PlaceOrRemove(int32_t id, bool listed, bool highlight);
    // Takes a listed title out, at once or at the batch's end.
    void RemoveListedTitle(int32_t id);
    void FlushBatchRemovals();
    void DropIfHidden(int32_t id);
    void QueryTest(int32_t id);
    void AutoRerunQuery();
    void OpenNeighbour(int32_t id, int direction);
    // All Titles or Bookmarked Titles: the selection goes back to the index and `read` lists.
    void ShowStartList(int mode, void (CQuerySource::*read)(CArticleIdSet&));
    void FillKeywordPreview();
    void AfterQueryItemsDeleted(int messageId);
    void RemoveHiddenTitles();
    void ShowGroupPane(bool show, bool byUser);
    // Runs `step`, reporting a CQuorError or a memory failure; true when it ran through.
    template <class Step>
    bool Guarded(Step step);

    CIndexPanes& m_panes;
    IndexDisplayValues& m_values;
    CIndexData* m_data = nullptr;
    int m_andOr = 0;
    int m_titlesMode = kTitlesNone;
    int m_shownIndexMode = 0;

    // The open batch: its nesting, the titles it removes, and the whole-list work it owes.
    int m_batchDepth = 0;
    std::vector<int32_t> m_batchRemovals;
    std::vector<int32_t> m_batchMoved;  // titles whose place in a bookmark order changed
    bool m_batchResort = false;
    bool m_batchRepaint = false;
    bool m_batchListChanged = false;
    bool m_batchReminders = false;
};

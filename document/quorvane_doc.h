// The one open knowledge base: the data file and every table held in memory while it is open.
// It is the only object that reads or writes the data file for the views and dialogs, keeps the
// two-way links between articles, keywords and keyword groups, and tells its windows of each change
// through the three channels of doc_views.h. Everything it needs of windows goes through CDocHost.
//
// Lifecycle:
//   closed --CreateNewFile / OnOpenDocument--> open (read-write or read-only)
//   open --OnFileSave--> open (written back, closed and reopened at once)
//   open --SaveModified, then DeleteContents--> closed
// While the file is read-only CanModify is false and no table is written back.
//
// Invariants after every public operation:
//   - article a lists keyword k  <=>  keyword k lists article a;
//   - keyword k lists group g    <=>  group g lists keyword k;
//   - all ids = live entries of the article table minus the placeholder ids;
//   - bookmarked ids and private ids are subsets of all ids.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/import_batch.h"
#include "framework/document.h"
#include "index/query_list.h"
#include "index/query_names.h"
#include "storage/data_file.h"
#include "storage/file_password.h"
#include "storage/id_set.h"
#include "storage/keyed_texts.h"
#include "storage/page_layout.h"
#include "storage/reminder_list.h"
#include "storage/string_pool.h"

class CAppSettings;
class CArticleRecord;
class CDirectories;
class CPrintOptions;
class IDataFileConverter;
class CArticleNotifyTarget;
class CIndexNotifyTarget;
class CKeywordGroupRecord;
class CKeywordRecord;
class CReportQueryTarget;

// The cached values of one article behind title lists and sorting.
struct ArticleIndexEntry {
    int32_t date = 0;
    int32_t time = 0;
    int32_t createdDate = 0;
    int32_t createdTime = 0;
    int32_t attachmentCount = 0;
    int32_t hasLinks = 0;
    std::string title;
    // The title's collation key, made by the first sort that needs it and kept until the title is
    // read again: every later fill of a titles list compares keys without making them anew.
    std::string sortKey;
    bool hasSortKey = false;
};

class CQuorvaneDoc : public CDocument, public CQuerySource, public CReminderOwner {
public:
    // Title sort orders 0 to 13: by title, date, bookmark, attachments, links, privacy, reminder,
    // each ascending and descending.
    static constexpr int kSortOrderCount = 14;

    explicit CQuorvaneDoc(CDocHost& host);
    ~CQuorvaneDoc() override;

    // ---- Lifecycle (quorvane_doc.cpp) ----
    // The settings object of the application; it must outlive the document.
    void SetSettings(CAppSettings* settings) { m_settings = settings; }
    CAppSettings* GetSettings() const { return m_settings; }
    // The host the document asks and tells the user through; dialogs over the document use it too.
    CDocHost& GetHost() const { return m_host; }
    // The application's data folders (the attachments folder follows each opened file; the copy
    // dialogs start in the data folder) and print choices; each must outlive the document.
    void SetDirectories(CDirectories* directories) { m_directories = directories; }
    CDirectories* GetDirectories() const { return m_directories; }
    void SetPrintOptions(CPrintOptions* printOptions) { m_printOptions = printOptions; }
    // The pending open options of the application: read-only, and a newer minor format anyway.
    void SetOpenOptions(bool readOnly, bool allowNewer);
    bool CreateNewFile(const std::string& path);
    bool OnOpenDocument(const std::string& path) override;
    // How closing the file went: everything saved, an article window kept open by the user (or
    // holding an article it could not save; it stays with its edits and has said why), or a failed
    // write of the file's own records.
    enum class SaveOutcome { kSaved, kKept, kFailed };
    // The close check before the file closes: every article window's check, then the file's records.
    SaveOutcome SaveBeforeClose();
    bool SaveModified() { return SaveBeforeClose() == SaveOutcome::kSaved; }
    void OnFileSave();
    void DeleteContents() override;
    bool CanModify() const { return IsFileWritable(); }
    bool IsFileWritable() const { return m_dataFile.GetOpenMode() == 2; }
    bool IsOpen() const { return m_dataFile.GetOpenMode() != 0; }
    int GetFileVersion() const { return m_dataFile.GetVersion(); }
    bool IsFileWritten() const { return m_dataFile.IsWritten(); }
    bool Flush();
    CDataFile& GetDataFile() { return m_dataFile; }
    int32_t GetNewArticleNumber() const { return m_newArticleNumber; }
    void RaiseNewArticleNumber() { ++m_newArticleNumber; }

    // ---- Keywords (quorvane_doc_keywords.cpp) ----
    std::string GetKeywordName(int32_t id) const;
    int GetKeywordCount() const;
    bool IsValidKeywordId(int32_t id) const;
    int32_t FindKeyword(const std::string& name) const override;
    int32_t GetKeywordIdByName(const std::string& name);
    int32_t AddKeyword(const std::string& name, bool select);
    void CommitPendingKeywords(CKeywordIdSet& keywords);
    void PurgePendingKeywords();
    void GetAllKeywordIds(CKeywordIdSet& out) const;
    void SortKeywordIdsByName(std::vector<int32_t>& ids) const;
    void GetKeywordArticleIds(int32_t keyword, CArticleIdSet& out) override;
    void ReadKeywordRecord(int32_t keyword, CKeywordRecord& record);
    void GetGroupsOfKeyword(int32_t keyword, CGroupIdSet& out);
    void UpdateKeyword(int32_t id, const std::string& name, const CGroupIdSet& groups);
    void DeleteKeywords(const CKeywordIdSet& keywords);
    void MergeKeyword(int32_t from, int32_t into);
    void AssignKeywords(const CArticleIdSet& articles, const CKeywordIdSet& keywords);
    // Change Keywords for many articles as one operation (quorvane_doc_keyword_changes.cpp): every
    // article of `articles` loses `removed` and gains `added` (pending ids are stored first). Every
    // article is checked readable before anything is written; then each changed article and each
    // changed keyword record is written once, with one flush. Open windows of the articles hear of
    // each keyword they gained or lost; dates are stamped by the file's option.
    void ChangeKeywordsOfArticles(const CArticleIdSet& articles, const CKeywordIdSet& removed,
                                  const CKeywordIdSet& added);

    // ---- Articles (quorvane_doc_articles.cpp) ----
    void LoadArticle(int32_t id, CArticleRecord& record);
    // Stores a new article; returns its id. Code 19 (the index's title list is full) comes after the
    // article was stored: LastAddedArticleId then names it.
    int32_t AddArticle(CArticleRecord& record, bool bookmark, bool highlight);
    int32_t LastAddedArticleId() const { return m_lastAddedId; }
    void UpdateArticle(int32_t id, CArticleRecord& record, bool stamp);
    void DeleteArticle(int32_t id);
    void DeleteArticles(const CArticleIdSet& ids);
    // The cached title; nullptr for a negative id or when the entry cannot be built.
    const char* GetArticleTitle(int32_t id);
    int32_t GetArticleDate(int32_t id) override;
    int32_t GetArticleTime(int32_t id);
    int GetArticleAttachmentCount(int32_t id) override;
    bool ArticleHasLinks(int32_t id);
    bool MatchesCreatedStamp(int32_t id, int32_t date, int32_t time);
    int GetArticleCount() const;
    void GetAllArticleIds(CArticleIdSet& out) override;
    void GetBookmarkedIds(CArticleIdSet& out) override;
    int GetBookmarkedCount();
    bool IsBookmarked(int32_t id) const { return m_bookmarkedIds.Contains(id); }
    void SetBookmark(int32_t id, bool on);
    void OpenArticle(int32_t id);
    int CompareArticles(int32_t a, int32_t b);
    void SortArticleIdsByTitle(std::vector<int32_t>& ids);
    // Sorts `ids` stably in the current sort order, as comparing them with CompareArticles would,
    // without a progress window (the title lists' fills).
    void SortArticleIdsInOrder(std::vector<int32_t>& ids);
    bool SortArticleIds(const std::string& caption, std::vector<int32_t>& ids, int order);
    void SetSortOrder(int order);
    int GetSortOrder() const { return m_sortOrder; }
    void GetArticleKeywordIds(int32_t article, CKeywordIdSet& out) override;
    bool IsPlaceholder(int32_t id) const { return m_placeholderIds.Contains(id); }

    // ---- Keywords made in batches (quorvane_doc_keyword_batch.cpp) ----
    // Makes a keyword of every name in `names` that no keyword has yet, compared without case (a name
    // given twice is made once), and lists them highlighted in the index list after its highlights
    // were cleared: one name map for the lookups, one flush and one list update for the batch. The
    // ids made go to `added` (added to what it holds). On a failure the keywords made so far stay,
    // are listed and in `added`, and the failure is passed on.
    void AddKeywordBatch(const std::vector<std::string>& names, CKeywordIdSet& added);

    // ---- Keyword groups (quorvane_doc_groups.cpp) ----
    std::string GetKeywordGroupName(int32_t id) const;
    int32_t FindKeywordGroup(const std::string& name) const override;
    int32_t FindKeywordGroupByName(const std::string& name) const;
    void GetAllKeywordGroupIds(CGroupIdSet& out) const;
    void SortGroupIdsByName(std::vector<int32_t>& ids) const;
    int GetKeywordGroupCount() const;
    void LoadKeywordGroup(int32_t id, CKeywordGroupRecord& record);
    void GetGroupKeywordIds(int32_t group, CKeywordIdSet& out) override;
    int32_t AddKeywordGroup(CKeywordGroupRecord& record);
    void UpdateKeywordGroup(int32_t id, CKeywordGroupRecord& record);
    void DeleteKeywordGroup(int32_t id);
    void DeleteKeywordGroups(const CGroupIdSet& ids);
    void MergeKeywordGroup(int32_t from, int32_t into);
    void AddKeywordsToGroups(const CKeywordIdSet& keywords, const CGroupIdSet& groups);
    bool AreKeywordGroupsConsistent(int32_t keyword);
    void RemoveKeywordFromAllGroups(int32_t keyword);
    void RepairGroupLinks();

    // ---- Private articles and the password (quorvane_doc_privacy.cpp) ----
    bool IsArticlePrivate(int32_t id) const override { return m_privateIds.Contains(id); }
    int GetPrivateArticleCount() const { return m_privateIds.GetSize(); }
    int GetPrivateCount() override { return GetPrivateArticleCount(); }
    bool ArePrivateArticlesHidden() const;
    bool HasPassword() const;
    bool SetPassword(const std::string& text);
    bool VerifyPassword(const std::string& text);
    bool IsPasswordAskedAtOpen() const;
    void SetPasswordAskedAtOpen(bool on);
    bool IsProtectAll() const;
    void SetProtectAll(bool on);
    bool UnlockPrivateArticles();
    void HidePrivateArticles();
    void RewriteAfterProtectionChange();
    void RemovePassword();
    CFilePassword& GetPassword() { return *m_password; }
    // Hands this file's record key to `other`, so that masked fields written there read back with
    // this file's password.
    void CopyRecordKey(CDataFile& other) const;

    // The query engine shows the wait cursor through the document.
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // ---- Notifications (quorvane_doc_notify.cpp) ----
    CIndexNotifyTarget* GetIndexView() const;
    CArticleNotifyTarget* FindArticleView(int32_t id) const;
    CReportQueryTarget* FindReportView(ReportKind kind) const;
    int32_t NotifyIndexView(IndexCode code, ChannelArg p = 0, int32_t n = 0);
    void NotifyArticleViews(ArticleHint hint, int32_t p = 0, int32_t n = 0);
    void NotifyArticleView(ArticleHint hint, int32_t article, int32_t p = 0, int32_t n = 0);
    // The report view's answer; kNoneId when no report window of the kind is open or it failed.
    int32_t QueryReportView(ReportKind kind, ReportRequest request, ChannelArg p = 0, int32_t n = 0);
    void NotifyReminderChanged(int32_t article);
    void NotifyRemindersChanged(const CArticleIdSet& articles);
    void RefreshViews();
    // What the index window shows and holds, asked of the index view (empty, or kNoneId for the
    // answers, without one): the articles of its titles list, the highlighted titles, the selected
    // keywords (the answer is the AND/OR mode) and the titles-list mode.
    void GetSelectedArticleIds(CArticleIdSet& out);
    void GetHighlightedArticleIds(CArticleIdSet& out);
    int32_t GetIndexKeywordSelection(CKeywordIdSet& out);
    int32_t GetIndexMode();
    void ClearIndexTitleSelection();
    void ClearIndexListSelection();
    void HighlightIndexKeywords(const CKeywordIdSet& keywords);
    // The active-links setting changed: the index view and every article window apply it.
    void ApplyActiveLinks(int32_t setting);
    // The text of the open report window of a kind in `form` (1 plain text, 2 RTF, 3 the cloud's
    // HTML body); empty when none is open. The usage and cloud reports also give their count-column
    // width (-1 when none).
    void GetIndexReportText(int form, std::string& text);
    void GetKeywordUsageReportText(int form, std::string& text, int32_t& countWidth);
    void GetKeywordCloudReportText(int form, std::string& text, int32_t& countWidth);
    void GetKeywordGroupReportText(int form, std::string& text);
    // What the HTML export of a report takes from its window: the keywords of the index and usage
    // reports, the groups of the group report, and the index report's range and dates applied to a
    // keyword's articles (`ids` in and out).
    void GetIndexReportKeywordIds(CKeywordIdSet& out);
    void GetKeywordUsageReportKeywordIds(CKeywordIdSet& out);
    void GetKeywordGroupReportGroupIds(CGroupIdSet& out);
    void FilterReportArticleIds(CArticleIdSet& ids);
    // Next or Previous Article from an article window: the window closes (after its save check) and
    // the index view opens the neighbouring title (direction -1 or +1).
    void CloseArticleWindow(int32_t article, int direction);

    // ---- Import batch (quorvane_doc_import.cpp) ----
    void SetImportRecording(bool on) { m_importBatch.SetRecording(on); }
    void LockImportBatch(bool on) { m_importBatch.SetLocked(on); }
    void ClearImportBatch() { m_importBatch.Clear(); }
    bool IsPasteBatch() const { return m_importBatch.IsFromPaste(); }
    bool CanUndoImport() const { return m_importBatch.HasEntries() && CanModify(); }
    void UndoImport();
    int GetImportedArticleCount() const { return m_importBatch.Articles().GetSize(); }
    void OpenImportedArticles();
    CImportBatch& GetImportBatch() { return m_importBatch; }
    void FindImportedDuplicates(std::vector<int32_t>& out);
    // After an import, by the duplicate setting: 0 ask, 1 delete, 2 keep.
    void HandleImportedDuplicates(int action);

    // ---- The article clipboard (quorvane_doc_clipboard.cpp) ----
    // Puts the articles, in this order, on the clipboard in the article formats and as text.
    void CopyArticlesToClipboard(const std::vector<int32_t>& ids);
    // Copies the articles, then deletes them.
    void CutArticles(const std::vector<int32_t>& ids);
    // True when the file may change and the clipboard offers articles.
    bool CanPasteArticles();
    // Adds the clipboard's articles as new ones, recorded as a pasted batch that Undo can take back;
    // the number pasted. Articles added before an error stay.
    int PasteArticles();

    // ---- Duplicate articles (quorvane_doc_duplicates.cpp) ----
    bool AreDuplicates(int32_t a, int32_t b);
    bool FindDuplicates(std::vector<int32_t>& out);
    // The Check for Duplicate Articles command.
    void CheckForDuplicateArticles();

    // ---- Saving article windows before an operation (quorvane_doc_article_windows.cpp) ----
    // Saves the modified article windows of a scope: 0 all, 1 bookmarked articles, 2 articles selected
    // in the index, 3 the active window, 4 articles highlighted in the index. False as soon as a
    // window stays modified.
    bool SaveArticleWindows(int scope);
    // Asks before an operation on articles when a window of the scope holds changes; true to go on.
    bool PromptSaveArticles(const std::string& caption, int scope);

    // The Run Saved Query menus from the saved queries' recent list.
    void RebuildSavedQueryMenus();

    // ---- Copies of the data file and its records (quorvane_doc_file_copies.cpp) ----
    // "Save Backup As" and "Copy File To": copy the data file at `path` (open or not) to a file the
    // user picks, starting in the data folder, whose folder then becomes the data folder. False when
    // cancelled or after a reported failure.
    bool BackUpFile(const std::string& path);
    bool CopyFileTo(const std::string& path);
    // Copies the open data file to `target` in blocks; never onto the open file itself, and a
    // partial copy is removed. Reports failures; true on success.
    bool CopyDataFileTo(const std::string& target);
    // Copies keyed record `key` of this file, one byte block, into a record of that key in `other`.
    // A missing record copies nothing; a full disk (code 12) passes on; other failures are dropped.
    // True when the record was copied.
    bool CopyKeyedRecord(int key, CDataFile& other);

    // ---- Older data files (quorvane_doc_conversion.cpp) ----
    // Before an older data file is opened: the user converts it (after a backup if chosen) or opens
    // it read-only (sets `readOnly`). True when the open may go on. The conversion itself needs the
    // converter; without one the file is reported as not convertible.
    bool ConvertOldFile(const std::string& path, bool& readOnly);
    void SetConverter(IDataFileConverter* converter) { m_converter = converter; }

    // ---- Checking (quorvane_doc_invariants.cpp) ----
    // True when the invariants above hold between the records of the data file and the tables in
    // memory (a record that cannot be read is left out); `firstBreak`, when given, gets the first
    // break found, or "". Reads every record, so only tests and the checking build call it.
    bool CheckInvariants(std::string* firstBreak = nullptr);

    // ---- Menu commands on the whole knowledge base (quorvane_doc_commands.cpp) ----
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override;
    // Empties the bookmarked title list after the user confirmed it.
    void ClearBookmarks();

    // ---- Reminders (quorvane_doc_reminders.cpp) ----
    // Set Reminder on article `article`: the host's Edit Reminder dialog on its reminder (a new one
    // when it has none); on OK the reminder is deleted or stored, and the views told.
    void EditArticleReminder(int32_t article);
    int32_t GetPresetReminderTime() const override;

    // ---- Stored objects of the open file ----
    CReminderList& GetReminders() { return m_reminders; }
    CQueryList& GetQueryList() { return m_queries; }
    CPageLayout& GetPageLayout() { return m_pageLayout; }
    CHeaderText& GetHeaderText() { return m_headerText; }
    CFooterText& GetFooterText() { return m_footerText; }
    CExportHeader& GetExportHeader() { return m_exportHeader; }

private:
    // Command handlers and update rules.
    void OnUpdateWritable(CCmdUI& ui);
    // Keyword > Add Keyword to Index, Import Keyword List, Manage Keyword Groups
    // (quorvane_doc_keyword_batch.cpp).
    void OnAddKeywordsToIndex();
    void OnImportKeywordList();
    void OnManageKeywordGroups();
    void OnUpdateAlwaysDisabled(CCmdUI& ui);
    void OnClearBookmarks();
    void OnUpdateClearBookmarks(CCmdUI& ui);
    void OnShowIndex();
    void OnNewArticle();
    void OnCloseAllWindows();
    void OnSortOrder(unsigned id);
    void OnUpdateSortOrder(CCmdUI& ui);
    void OnSelectListMode(unsigned id);
    void OnUpdateSelectListMode(CCmdUI& ui);
    void OnShowCatalog();
    void OnUpdateShowCatalog(CCmdUI& ui);
    void OnKeywordLists();
    void OnUpdateKeywordLists(CCmdUI& ui);
    void OnTogglePreviews();
    void OnUpdateTogglePreviews(CCmdUI& ui);
    void OnPreviewKind(unsigned id);
    void OnUpdatePreviewKind(CCmdUI& ui);
    void OnPreviewPaneCycle();
    void OnIndexMode(unsigned id);
    void OnUpdateIndexMode(CCmdUI& ui);
    void OnIndexModeToggle();
    void OnKeywordGroupsPane();
    void OnUpdateKeywordGroupsPane(CCmdUI& ui);
    void OnManageReminders();
    void OnFileProperties();
    void OnUndoImport();
    void OnUpdateUndoImport(CCmdUI& ui);
    int StoredSelectListMode() const;
    // The query commands (quorvane_doc_queries.cpp).
    void OnBuildQuery();
    void OnManageQueries();
    void OnRunSavedQuery(unsigned id);
    void OnUpdateRunSavedQuery(CCmdUI& ui);
    // Runs `query` and has the index view list the result as "Query Titles".
    void ShowQueryTitles(CCurrentQuery& query);

    // Tables and lists.
    void LoadTables();
    void ReadIdList(int key, CArticleIdSet& set);
    void WriteIdList(int key, CArticleIdSet& set);
    void WriteKeyedLists();
    void WriteKeyedRecords(bool queriesFirst);
    // The page layout, export header and print header and footer.
    void ReadPrintRecords();
    // The attachments folder of the opened file, from its link-location setting.
    void SetAttachmentsFolder();
    void ResetTables();
    void ReopenAfterSave();
    std::string FileName() const;
    // The file name with its extension, without the folder.
    static std::string FileNameOf(const std::string& path);

    // Keyword-record upkeep.
    void AddArticleToKeywords(int32_t article, const CKeywordIdSet& keywords);
    void RemoveArticleFromKeywords(int32_t article, const CKeywordIdSet& keywords);
    void AddGroupToKeywords(int32_t group, const CKeywordIdSet& keywords);
    void RemoveGroupFromKeywords(int32_t group, const CKeywordIdSet& keywords);
    void ReportKeywordChanged(int32_t keyword);
    // Before a rewrite of many articles: raises when any of them cannot be read, so nothing is half
    // done.
    void CheckArticlesReadable(const CArticleIdSet& ids);

    // The article index.
    ArticleIndexEntry* GetIndexEntry(int32_t id);
    // Builds the entries of the ids among `ids` that have none yet, reading their records in the
    // order they lie in the file. A record that cannot be read is left for GetIndexEntry to report.
    void BuildIndexEntries(std::vector<int32_t>::const_iterator begin, std::vector<int32_t>::const_iterator end);
    void FillIndexEntry(int32_t id, const CArticleRecord& record);
    void FreeIndexEntry(int32_t id);
    void SetPrivateMembership(int32_t id, bool isPrivate);
    int CompareInOrder(int32_t a, int32_t b, int order);

    // Runs a copy dialog titled by string `titleId` and copies the file at `path` to its choice.
    bool CopyFileChosen(const std::string& path, IDocPrompts::DataFileCopy kind);
    // Copies a data file that is not the open one; the same rules as CopyDataFileTo.
    bool CopyClosedFileTo(const std::string& source, const std::string& target);
    // Creates `target` and fills it from `in` in blocks; a partial target is removed. Reports
    // failures; true on success.
    bool CopyBlocksTo(CFile& in, const std::string& target);

    void ClearBatchUnlessRecording();
    bool ConfirmAndDeleteDuplicates(const CArticleIdSet& marked);
    void DeleteKeywordsThroughIndex(const CKeywordIdSet& keywords);
    std::vector<CArticleNotifyTarget*> ArticleWindowsOfScope(int scope, bool modifiedOnly);
    void RewriteAllKeywords();
    void RewriteArticles(const CArticleIdSet& ids);
    void NotifyPrivacyChanged();
    // Hands the reminder list the articles it must pass over (the private ones while hidden); called
    // after every change of the private ids or of the hidden state.
    void UpdateHiddenReminderArticles();
    // Pending keywords become stored ones, and ids that name no keyword are dropped, so that no
    // article or group names a keyword that does not list it back.
    void PrepareKeywordSet(CKeywordIdSet& keywords);
    void ChangeGroupRecord(int32_t group, const CKeywordIdSet& keywords, bool add);
    int32_t WriteNewKeyword(const std::string& name);
    void SortInOrder(std::vector<int32_t>& ids, int order, bool withProgress, bool& cancelled);
    void StableSortInOrder(std::vector<int32_t>& ids, size_t count, int order);
    std::string PlainTextOf(const CArticleRecord& record);
    // The header lines of an article copied to the clipboard, and its plain-text rendering.
    std::vector<std::string> ArticleHeaderLines(const CArticleRecord& record);
    void AppendArticleText(const std::vector<std::string>& header, const CArticleRecord& record, std::string& text);
    // The first id whose name equals `name` without regard to case; kNoneId for none or an empty name.
    static int32_t FindName(const std::vector<std::string>& names, const std::string& name);
    // The ids whose name is not empty, ascending.
    static void NonEmptyIds(const std::vector<std::string>& names, CIdSet& out);
    // removed = before - after, added = after - before.
    static void SplitChanges(const CIdSet& before, const CIdSet& after, CIdSet& removed, CIdSet& added);
    // Case-sensitive order of titles and names: -1, 0 or 1.
    static int CompareText(const char* a, const char* b);

    // Marks a public operation that changes the tables. In the checking build (QUOR_CHECK_INVARIANTS)
    // the outermost one, started on a document whose invariants hold and ended without an error,
    // must leave them holding, or the program stops naming it; elsewhere it costs nothing.
    class COperationCheck {
    public:
#ifdef QUOR_CHECK_INVARIANTS
        COperationCheck(CQuorvaneDoc& doc, const char* name);
        ~COperationCheck();

    private:
        CQuorvaneDoc& m_doc;
        const char* m_name;
        bool m_outermost;
        bool m_heldBefore = false;
        int m_exceptions;
        unsigned m_errorsBefore = 0;
#else
        COperationCheck(CQuorvaneDoc&, const char*) {}
#endif
        COperationCheck(const COperationCheck&) = delete;
        COperationCheck& operator=(const COperationCheck&) = delete;
    };

    CDocHost& m_host;
    int m_operationDepth = 0;  // nesting of COperationCheck

    CReminderList m_reminders;
    CQueryList m_queries;
    CPageLayout m_pageLayout;
    CFooterText m_footerText;
    CHeaderText m_headerText;
    CExportHeader m_exportHeader;
    int32_t m_newArticleNumber = 1;
    std::vector<std::string> m_groupNames;
    CArticleIdSet m_placeholderIds;
    std::unique_ptr<CFilePassword> m_password;
    CArticleIdSet m_privateIds;
    int m_sortOrder = 0;
    CStringPool m_pendingKeywords;
    CArticleIdSet m_bookmarkedIds;
    CArticleIdSet m_allIds;
    std::vector<std::string> m_keywordNames;
    std::vector<std::unique_ptr<ArticleIndexEntry>> m_articleIndex;
    CImportBatch m_importBatch;
    int32_t m_lastAddedId = -1;  // the id AddArticle stored last
    CDataFile m_dataFile;

    // The application's settings (per-file record 4, sort order, date stamping); may be null.
    CAppSettings* m_settings = nullptr;
    CDirectories* m_directories = nullptr;
    CPrintOptions* m_printOptions = nullptr;
    IDataFileConverter* m_converter = nullptr;
    bool m_openReadOnly = false;
    bool m_openAllowNewer = false;
};

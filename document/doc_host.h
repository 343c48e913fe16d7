// What the knowledge-base document asks of the windows around it, one interface per role. The
// document itself never touches a window: the application installs a host that shows message boxes,
// the password prompt, the progress dialog and the index and article windows; tests install one that
// records and answers.
//
// What must be answered (a question to the user, a choice, a window the user asked for) is pure
// virtual: a host that forgot one would otherwise refuse or accept silently what the user never saw.
// What only keeps the windows up to date (progress, the caption, the current query) has do-nothing
// defaults, which is right for a host without those windows.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CArticleIdSet;
class CCurrentQuery;
class CFilePassword;
class CKeywordIdSet;
class CQuorvaneDoc;
struct ReminderRecord;

// Questions and choices put to the user.
class IDocPrompts {
public:
    // The icon of a message; the host maps it to the platform's message-box style.
    enum Icon { kInformation, kExclamation, kQuestion };
    // Which copy of a data file a Save dialog names; each has its own dialog and title.
    enum class DataFileCopy { kBackup, kCopyTo };

    virtual ~IDocPrompts() = default;

    // A message with an OK button.
    virtual void Inform(const std::string& text, Icon icon) = 0;
    // A Yes/No question with No as the default button; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // The "Enter Your Password" dialog for `fileName` (name and extension, no folder). True when the
    // dialog verified the password through `password`.
    virtual bool PromptPassword(const std::string& fileName, CFilePassword& password) = 0;
    // "Clear Bookmarked Title List" with `text`, the focus on No; true for Yes.
    virtual bool ConfirmClearBookmarks(const std::string& text) = 0;
    // The Save dialog for a copy of a data file ("Save Backup As" or "Copy File To") that starts in
    // `initialFolder`; the chosen path, or empty when cancelled.
    virtual std::string ChooseDataFileCopy(DataFileCopy kind, const std::string& initialFolder) = 0;
    // Keyword > Import Keyword List: the Open dialog for a text file, starting in `initialFolder`; the
    // chosen path, or empty when the user cancelled.
    virtual std::string ChooseKeywordList(const std::string& initialFolder) = 0;
    // The "Convert File" dialog for the older data file at `path`: -1 cancelled, 0 convert, 1 back up
    // then convert, 2 open read-only.
    virtual int ChooseConversion(const std::string& path) = 0;
    // The "Edit Reminder" dialog for article `article` on reminder `reminderId` (-1: a new one).
    // `record` comes in with the reminder's values (a new one's defaults). True on OK: `record`
    // receives the dialog's values and `deleteChosen` whether the user deleted the reminder.
    virtual bool EditReminder(int32_t article, int32_t reminderId, ReminderRecord& record, bool& deleteChosen) = 0;
};

// The article windows: opening one, and the questions that read them or preview articles.
class IDocArticleWindows {
public:
    virtual ~IDocArticleWindows() = default;

    // Opens a window on article `id`: activates the one that shows it, or creates one through the
    // article template. Raises CQuorError when the window cannot be made.
    virtual void OpenArticleWindow(CQuorvaneDoc& document, int32_t id) = 0;
    // "Save Unsaved Articles" under `caption`: true when the user chose to save (also without asking
    // once the user ticked the box that stops the question).
    virtual bool AskSaveUnsavedArticles(const std::string& caption) = 0;
    // The duplicate dialog on runs of duplicates (runs after the first preceded by -1): the one for
    // an import's duplicates or the one for all articles. True when confirmed; `marked` receives the
    // articles to delete.
    virtual bool ChooseDuplicates(const std::vector<int32_t>& runs, bool afterImport, CArticleIdSet& marked) = 0;
};

// The wait cursor, the shared progress dialog and the message pump of long operations.
class IDocProgress {
public:
    virtual ~IDocProgress() = default;

    // A wait cursor for the operations that run without a progress window.
    virtual void BeginWaitCursor() {}
    virtual void EndWaitCursor() {}
    // BeginProgress disables the main window; EndProgress closes the dialog and enables the main
    // window again. Without a dialog nothing is ever cancelled.
    virtual void BeginProgress(const std::string& caption, const std::string& message, int range) {}
    virtual void SetProgressText(const std::string& text) {}
    virtual void StepProgress() {}
    virtual bool IsProgressCancelled() { return false; }
    virtual void EndProgress() {}
    // Handles one pending message (commands and close requests are discarded); 1 when the queue was
    // empty.
    virtual int PumpPendingMessage() { return 1; }
};

// The application's windows and services that follow the open file.
class IDocShell {
public:
    virtual ~IDocShell() = default;

    // The plain text of rich text, as the program's hidden rich-text control reads it back.
    // Duplicate checks compare these texts, so every host answers it.
    virtual std::string RtfToPlainText(const std::string& rtf) = 0;

    // The main window's caption from the document's title; an empty title shows the product alone.
    virtual void SetCaption(const std::string& title) {}
    // Puts an opened data file on top of the File menu's recent-file list.
    virtual void AddToRecentFiles(const std::string& path) {}
    // Shows the index window's frame (maximised when its stored state says so) and arms its
    // placement saving.
    virtual void ShowIndexFrame() {}
    // Shows the index window and makes it the active one (the title sort order changed).
    virtual void ActivateIndexFrame() {}
    // The application's current document: set after a file was created or opened, cleared (nullptr)
    // when it closes. The host also rebuilds the saved-query menus and the list font here.
    virtual void SetCurrentDocument(CQuorvaneDoc* document) {}
    virtual void RepaintMainWindow() {}
    virtual void FlushProfileCache() {}
    // Closes the main frame's Find dialog (the file it searched is going away).
    virtual void CloseFindDialog() {}
    // The main frame's Find dialog reads its choices again (the articles it may search changed).
    virtual void RefreshFindDialog() {}
    // Hands the stored selected-keyword mode (AND or OR) to the index view.
    virtual void ApplySelectListMode() {}
    // File > File Properties: the sheet over `document`, which applies what the user chose.
    virtual void ShowFileProperties(CQuorvaneDoc& document) = 0;
    // Keyword > Add Keyword to Index and Keyword > Manage Keyword Groups: the dialogs over `document`,
    // which store what the user chose.
    virtual void AddKeywordsToIndex(CQuorvaneDoc& document) = 0;
    virtual void ManageKeywordGroups(CQuorvaneDoc& document) = 0;
};

// Changes of keywords and groups that the application's current query follows.
class IDocEvents {
public:
    virtual ~IDocEvents() = default;

    virtual void OnKeywordRenamed(int32_t id, const std::string& oldName, const std::string& newName) {}
    virtual void OnKeywordsDeleted(const CKeywordIdSet& keywords) {}
    virtual void OnGroupRenamed(int32_t id, const std::string& oldName, const std::string& newName) {}
    virtual void OnGroupDeleted(int32_t id) {}
};

// The clipboard, for whole articles. A host without one offers nothing and refuses to copy.
// The rich-text rendering of copied articles: one RTF document that holds them all in order, each
// as its header lines in the article font, an empty line, its content (plain or rich) and two empty
// lines. Raises CQuorError 1 when the text cannot be built.
class IArticleRtfWriter {
public:
    struct Article {
        std::vector<std::string> header;  // the title, the date line, the attachment and keyword lines
        bool rich = false;
        std::string content;  // RTF when `rich`, else plain text
    };
    virtual ~IArticleRtfWriter() = default;

    virtual void AddArticle(const Article& article) = 0;
    // The whole document built so far.
    virtual std::string GetRtf() = 0;
};

class IDocClipboard {
public:
    // What copying puts on the clipboard: the article formats (versions 3 and 4), the text and, when
    // the host could build it, the rich text.
    struct ArticleBlocks {
        std::string v3;
        std::string v4;
        std::string text;
        std::string rtf;
    };
    virtual ~IDocClipboard() = default;

    // A writer for the rich-text rendering; null for a host without rich-text controls, which then
    // offers no rich text.
    virtual std::unique_ptr<IArticleRtfWriter> MakeArticleRtfWriter() { return nullptr; }

    // Empties the clipboard and puts the blocks on it, the main window as its owner. Raises CQuorError
    // 21 when it cannot be opened, 22 when it cannot be emptied or closed.
    virtual void SetArticleClipboard(const ArticleBlocks& blocks);
    // The newest article format offered: 4, 3, 2, or 1 for the oldest; 0 when none is.
    virtual int ArticleClipboardVersion() { return 0; }
    // The bytes of article format `version`. Raises CQuorError 21 when the clipboard cannot be
    // opened, 23 when the format is missing or empty.
    virtual std::string GetArticleClipboard(int version);
};

// The query dialogs and the "Query Titles" they lead to. A host without them has no current query,
// so the query commands do nothing.
class IDocQueries {
public:
    virtual ~IDocQueries() = default;

    // The application's current query, the one "Query Titles" shows; null when there is none.
    virtual CCurrentQuery* GetCurrentQuery() { return nullptr; }
    // Build Query, starting from `text` and the range (the current query's). True with the
    // accepted text, which compiled, and its range; the current query is the caller's to change.
    virtual bool RunBuildQuery(CQuorvaneDoc& document, std::string& text, int32_t& from, int32_t& to) { return false; }
    // Manage Saved Queries over the document's list; true when it ended by running a query, which is
    // then the current query.
    virtual bool RunManageQueries(CQuorvaneDoc& document, CCurrentQuery& current) { return false; }
    // Select Query to Run: the chosen entry of the document's list, -1 when cancelled.
    virtual int ChooseSavedQuery(CQuorvaneDoc& document) { return -1; }
    // The index view lists `found` as "Query Titles" (its selected keywords go back to the index) and
    // the index window comes forward.
    virtual void ShowQueryTitles(const CArticleIdSet& found) {}
    // The Run Saved Query menus list `names` (the recent entries), with "More Queries..." when `more`.
    virtual void UpdateSavedQueryMenus(const std::vector<std::string>& names, bool more) {}
};

// The document's whole host: every role above.
class CDocHost : public IDocPrompts,
                 public IDocArticleWindows,
                 public IDocProgress,
                 public IDocShell,
                 public IDocEvents,
                 public IDocClipboard,
                 public IDocQueries {
};

// Holds the wait cursor for one scope.
class CDocWaitCursor {
public:
    explicit CDocWaitCursor(IDocProgress& progress) : m_progress(progress) { m_progress.BeginWaitCursor(); }
    ~CDocWaitCursor() { m_progress.EndWaitCursor(); }
    CDocWaitCursor(const CDocWaitCursor&) = delete;
    CDocWaitCursor& operator=(const CDocWaitCursor&) = delete;

private:
    IDocProgress& m_progress;
};

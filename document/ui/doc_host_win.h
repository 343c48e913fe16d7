// The document's host on Windows: message boxes owned by the window the user is working in, the Enter
// Your Password, Clear Bookmarked Title List and Convert File dialogs, the Save dialogs for copies of
// the data file, the shared progress dialog with message pumping, the wait cursor, and a hidden
// rich-text control that turns an article's rich text into plain text. The article windows' role is
// left to the host that has them (article/ui); the application derives from that one for what needs
// its other windows (frames, the current document, the Find dialog).
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

#include "document/doc_host.h"
#include "document/ui/file_property_sheet.h"

class CCurrentQuery;
class COptionStore;
class CProgressDlg;
class CProgressScope;

class CWindowsDocHost : public CDocHost {
public:
    CWindowsDocHost();
    ~CWindowsDocHost() override;

    // The application's current query, which follows renamed and deleted keywords and groups, and its
    // option store, whose cache Save File writes out. Either may be null (none yet); both must outlive
    // the host's use.
    void SetCurrentQuery(CCurrentQuery* query) { m_currentQuery = query; }
    void SetOptionStore(COptionStore* store) { m_optionStore = store; }
    CCurrentQuery* GetCurrentQuery() override { return m_currentQuery; }

    void Inform(const std::string& text, Icon icon) override;
    bool Confirm(const std::string& text) override;
    bool PromptPassword(const std::string& fileName, CFilePassword& password) override;
    bool ConfirmClearBookmarks(const std::string& text) override;
    int ChooseConversion(const std::string& path) override;
    // The program has no Edit Reminder dialog yet: the reminder stays as it was (Cancel).
    bool EditReminder(int32_t article, int32_t reminderId, ReminderRecord& record, bool& deleteChosen) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void BeginProgress(const std::string& caption, const std::string& message, int range) override;
    void SetProgressText(const std::string& text) override;
    void StepProgress() override;
    bool IsProgressCancelled() override;
    void EndProgress() override;
    int PumpPendingMessage() override;
    void RepaintMainWindow() override;
    void FlushProfileCache() override;
    void OnKeywordRenamed(int32_t id, const std::string& oldName, const std::string& newName) override;
    void OnKeywordsDeleted(const CKeywordIdSet& keywords) override;
    void OnGroupRenamed(int32_t id, const std::string& oldName, const std::string& newName) override;
    void OnGroupDeleted(int32_t id) override;
    // When the rich-text control cannot be made or refuses the text, the text itself: two texts that
    // cannot be read then compare equal only when they are the same bytes.
    std::string RtfToPlainText(const std::string& rtf) override;
    // CBackFileDialog for a backup, CCopyFileDlg for Copy File To.
    std::string ChooseDataFileCopy(DataFileCopy kind, const std::string& initialFolder) override;
    // The File Properties sheet over the document's settings and folders (nothing without them).
    void ShowFileProperties(CQuorvaneDoc& document) override;
    // The article formats, the text and the rich text on the system clipboard, owned by the main window.
    void SetArticleClipboard(const ArticleBlocks& blocks) override;
    int ArticleClipboardVersion() override;
    std::string GetArticleClipboard(int version) override;
    // The Open dialog for a keyword list: text files first, the Help button shown.
    std::string ChooseKeywordList(const std::string& initialFolder) override;
    // CAddKeywordsDlg and CManageKeywordGroupsDlg in the index window's list font.
    void AddKeywordsToIndex(CQuorvaneDoc& document) override;
    void ManageKeywordGroups(CQuorvaneDoc& document) override;

protected:
    // The window that owns message boxes and dialogs; null when there is no main window yet.
    virtual HWND MainWindow() const;
    // The main window's last active popup: the owner of message boxes and the password prompt.
    HWND BoxOwner() const;
    // What the File Properties sheet needs of the program's other windows (font dialog, folder
    // browser, refresh, help); none by default.
    virtual FilePropertyServices FilePropertyServicesFor() { return FilePropertyServices(); }

private:
    struct WindowDestroyer {
        void operator()(HWND hwnd) const { ::DestroyWindow(hwnd); }
    };
    using COwnedWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDestroyer>;

    int ShowBox(const std::string& text, UINT style);
    HWND PlainTextConverter();

    CCurrentQuery* m_currentQuery = nullptr;
    COptionStore* m_optionStore = nullptr;
    CProgressDlg* m_progress = nullptr;  // deletes itself when its window is destroyed
    std::unique_ptr<CProgressScope> m_progressScope;
    HCURSOR m_savedCursor = nullptr;
    int m_waitDepth = 0;
    // Made on first use by the thread that uses the host, which must also destroy the host: a window
    // can only be destroyed by the thread that created it.
    COwnedWindow m_plainTextEdit;
};

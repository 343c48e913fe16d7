// The host of compaction, conversion and the data-file exchange on Windows: the file choosers, the
// compaction dialogs and lists of unused names as message questions, and a hidden rich-text control
// that measures and converts text. Messages, the password prompt and the progress dialog with its
// pumping are the document host's, so that both share one progress window and one box owner.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "document/exchange_host.h"

class CDirectories;
class CWindowsDocHost;
class CCreatePasswordDlg;

class CWindowsExchangeHost : public CExchangeHost {
public:
    CWindowsExchangeHost(CWindowsDocHost& docHost, CDirectories* directories, HWND owner)
        : m_docHost(docHost), m_directories(directories), m_owner(owner)
    {
    }
    ~CWindowsExchangeHost() override;

    // What opens the compacted file and rebuilds the Saved Queries menu (the application's).
    std::function<void(const std::string&)> m_openDataFile;
    std::function<void()> m_rebuildSavedQueryMenu;
    // Runs Create Password for the open document; the new password or empty.
    std::function<std::string()> m_createPassword;

    void Inform(const std::string& text, Icon icon) override;
    bool Confirm(const std::string& text, Icon icon) override;
    bool PromptPassword(const std::string& path, CFilePassword& password) override;
    std::string CreatePassword() override;
    std::string ChooseCompactSource(const std::string& folder) override;
    std::string ChooseCompactDestination(const std::string& folder, int& format) override;
    bool ConfirmCompactConversion(const std::string& path) override;
    bool AskDeleteUnusedKeywords(const std::vector<std::string>& names) override;
    bool AskDeleteUnusedGroups(const std::vector<std::string>& names) override;
    std::string ChooseDamagedArticleFile(int mode, const std::string& destination) override;
    void ShowDamagedFileReport(int mode, const std::string& text) override;
    void OpenDataFile(const std::string& path) override;
    void RebuildSavedQueryMenu() override;
    void BeginProgress(const std::string& caption, const std::string& message, int range) override;
    void SetProgressText(const std::string& text) override;
    void SetProgressRange(int range) override;
    void StepProgress() override;
    bool IsProgressCancelled() override;
    void EndProgress() override;
    int PumpPendingMessage() override;
    int32_t GetRtfTextLength(const std::string& rtf) override;
    std::string PlainTextToRtf(const std::string& text, const ExchangeCharFormat& format) override;

private:
    HWND Converter();

    CWindowsDocHost& m_docHost;
    CDirectories* m_directories;
    HWND m_owner;
    HWND m_converter = nullptr;  // hidden rich-text control, made on first use
};

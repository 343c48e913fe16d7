// What compaction, conversion and the exchange of articles with another data file ask of the windows
// around them: file choosers, questions, the password prompts, the lists of unused keywords and
// groups, the reports, the progress dialog with its Cancel button, and the hidden rich-text control
// that measures and converts text. The engines never touch a window; the application installs a
// host that shows the dialogs, tests install one that records and answers.
#pragma once
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

class CFilePassword;

// The character format that plain text takes when it becomes rich text: a font and its colour.
struct ExchangeCharFormat {
    std::string faceName;
    int32_t height = 0;  // in logical units, as a LOGFONT holds it (negative: character height)
    int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    uint8_t charSet = 0;
    uint8_t pitchAndFamily = 0;
    bool autoColor = true;
    uint32_t color = 0;  // COLORREF, used when autoColor is clear
};

class CExchangeHost {
public:
    enum Icon { kInformation, kExclamation, kQuestion };

    virtual ~CExchangeHost() = default;

    // A message with an OK button.
    virtual void Inform(const std::string& text, Icon icon) {}
    // A Yes/No question with No as the default button; true for Yes.
    virtual bool Confirm(const std::string& text, Icon icon) { return false; }

    // "Enter Your Password" for the data file at `path`; true when `password` verified the answer.
    virtual bool PromptPassword(const std::string& path, CFilePassword& password) { return false; }
    // "Create Password": the new password, or empty when cancelled.
    virtual std::string CreatePassword() { return std::string(); }

    // The Open dialog of File > Compact ("Compact Which File"), starting in `folder`; empty on Cancel.
    virtual std::string ChooseCompactSource(const std::string& folder) { return std::string(); }
    // The Save dialog for the compacted file, starting in `folder`; `format` receives the chosen
    // filter: 1 the current format, 2 the version-3 format. Empty on Cancel.
    virtual std::string ChooseCompactDestination(const std::string& folder, int& format) { return std::string(); }
    // The question whether an older file may be converted while it is compacted; true for Yes.
    virtual bool ConfirmCompactConversion(const std::string& path) { return false; }
    // "Delete Unused Keywords" / "Delete Unused Keyword Groups" over the names; true for Yes.
    virtual bool AskDeleteUnusedKeywords(const std::vector<std::string>& names) { return false; }
    virtual bool AskDeleteUnusedGroups(const std::vector<std::string>& names) { return false; }
    // "Damaged Articles Found" (`mode` 1 compacting, 2 converting; `destination` the file that takes
    // the undamaged articles): the path of the "Damaged Article" file, or empty to discard them.
    virtual std::string ChooseDamagedArticleFile(int mode, const std::string& destination) { return std::string(); }
    // The "Damaged File Report" with its text.
    virtual void ShowDamagedFileReport(int mode, const std::string& text) {}
    // Opens the compacted file as the current data file.
    virtual void OpenDataFile(const std::string& path) {}
    // The Saved Queries menu follows the open file's query list.
    virtual void RebuildSavedQueryMenu() {}

    // The shared progress dialog. BeginProgress disables the main window; EndProgress closes the
    // dialog and enables the main window again. A range summed from a damaged file's counts can pass
    // the 32-bit limit: CappedRange sums it wide and caps it.
    static int CappedRange(int64_t range) { return static_cast<int>(std::clamp<int64_t>(range, 0, INT32_MAX)); }
    virtual void BeginProgress(const std::string& caption, const std::string& message, int range) {}
    virtual void SetProgressText(const std::string& text) {}
    virtual void SetProgressRange(int range) {}
    virtual void StepProgress() {}
    virtual bool IsProgressCancelled() { return false; }
    virtual void EndProgress() {}
    // Handles one pending message (commands and close requests are discarded); 1 when the queue was
    // empty.
    virtual int PumpPendingMessage() { return 1; }

    // The length of the text of `rtf` as the rich-text control counts it; -1 when it cannot be told.
    virtual int32_t GetRtfTextLength(const std::string& rtf) { return -1; }
    // `text` as rich text, all of it in `format`.
    virtual std::string PlainTextToRtf(const std::string& text, const ExchangeCharFormat& format) { return text; }
};

// The rules of the seven Preferences pages, without windows. Each page holds one model: the
// application fills it from the settings before the sheet runs (Fill), the page moves its members to
// and from the controls, asks the model what to enable and whether it may be left, and on OK the
// model writes its values back (Apply) and tells the program what changed through IPreferenceHost.
// A page that was never shown applies nothing.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/profile_store.h"

// What the pages ask of the rest of the program once their values are stored.
class IPreferenceHost {
public:
    virtual ~IPreferenceHost() = default;
    // The index window shows its titles again with the new display settings.
    virtual void RefreshIndexDisplay() = 0;
    // The preview panes take the preview background (index notification 25).
    virtual void ApplyPreviewColor() = 0;
    // The article windows show their date and time fields again.
    virtual void DateDisplayChanged() = 0;
    // The running program's save-without-warnings state.
    virtual void SetCurrentAutoSave(int autoSave) = 0;
    // The main window is made topmost, or not, by the stored "OnTop".
    virtual void ApplyOnTop() = 0;
};

// The option-store section the Display page writes itself (start-up windows and on-top).
constexpr const char* kStartupSection = "QUORVANE";
// "InitOptions" when the splash is not wanted.
constexpr int kNoSplashOptions = 0x501;

// ---- Index Window ----
struct CPrefIndexWindowModel {
    struct Values {
        int titlesList = 0;  // InitList: 0 all, 1 bookmarked, 2 none
        int showTag = 0;
        int showAttachment = 0;
        int showHypertext = 0;
        int showPrivate = 0;
        int showReminders = 0;
        int showDate = 0;
        int showTime = 0;
        int32_t titleColor = -1;
        int32_t dateColor = -1;
        int32_t previewColor = -1;
    };
    Values values;
    Values filled;

    void Fill(const CAppSettings& settings);
    // Show Times is offered only while Show Dates is ticked; unticking Show Dates unticks it.
    static bool IsShowTimeEnabled(int showDate) { return showDate != 0; }
    void ShowDateClicked(int showDate);
    // The colour button's caption: "Auto" for the automatic colour (-1), else none.
    static std::string ColorCaption(int32_t color);
    // Writes the values; the colours only when changed. Any changed Show box or colour refreshes the
    // index window once and applies the preview colour; the titles-list choice alone refreshes
    // nothing (it is read when an index window starts).
    void Apply(CAppSettings& settings, IPreferenceHost& host) const;
};

// ---- Articles ----
struct CPrefArticleModel {
    // The end years the page takes; a stored value outside gives the default.
    static constexpr int kMinEndYear = 0;
    static constexpr int kMaxEndYear = 9999;

    int artSize = 0;
    int activeLinks = 0;
    int autoOpenFile = 0;
    int autoOpenInternet = 0;
    int userFolderBrowser = 0;
    std::string programPath;
    int showImageGallery = 0;
    int galleryImageSize = 0;
    int endYear = 0;
    int displayDate = 0;
    int displayTime = 0;
    int autoSave = 0;
    int defaultTitle = 0;
    int defaultKeywords = 0;
    // Set when the save-without-warnings box was clicked while the page was open.
    bool autoSaveClicked = false;

    // `effectiveEndYear`: the year two-digit years end at now (when none is stored).
    void Fill(const CAppSettings& settings, int effectiveEndYear);
    // The start of the window: end − 99, not below 0.
    static int StartYear(int endYear);
    // The start year's text for the end year's text as typed ("0" for anything that is not a number).
    static std::string StartYearText(const std::string& endYearText);
    // The up-down's step: the number less the system's delta (its up arrow sends -1), kept within
    // the years the page takes.
    static int StepYear(int number, int delta);
    // The folder-attachment program is wanted but none is named (blanks count as none): the page
    // stays with message 1317.
    bool MissingProgram() const;
    void Apply(CAppSettings& settings, IPreferenceHost& host) const;

    int filledDisplayDate = 0;
    int filledDisplayTime = 0;
};

// ---- Display ----
struct CPrefDisplayModel {
    int flatToolbar = 0;
    int largeButtons = 0;
    int welcome = 0;
    int splash = 0;
    int onTop = 0;
    LogFont font;
    uint32_t fontColor = 0;
    int autoColor = 1;
    int filledSplash = 0;
    bool fontChanged = false;
    bool toolbarsChanged = false;
    // The flat-style box is greyed when visual styles are on or the bars cannot be flat.
    bool flatLocked = false;

    void Fill(CAppSettings& settings, IProfileStore& profile, const CFontSettings& fonts, bool themeActive,
              bool flatAllowed);
    void ToolbarClicked() { toolbarsChanged = true; }
    // The font dialog's result: -1 for the automatic colour.
    void FontChosen(const LogFont& chosen, int32_t color);
    // The colour the font dialog opens with: -1 when automatic.
    int32_t DialogColor() const { return autoColor ? -1 : static_cast<int32_t>(fontColor); }
    // Writes "Welcome", "InitOptions" (only when the splash box changed), "OnTop", the bar settings
    // and, when changed, the default font; the main window takes the on-top state at once.
    void Apply(CAppSettings& settings, IProfileStore& profile, CFontSettings& fonts, IPreferenceHost& host) const;
};

// ---- Files ----
struct CPrefFileModel {
    struct Folder {
        std::string name;
        std::string path;
        bool changed = false;
    };
    std::vector<Folder> folders;
    bool rootMode = false;
    bool portableUse = false;
    int portable = 0;
    int filledPortable = 0;
    int startChoice = 0;  // LoadLastFile: 0 none, 1 most recent, 2 the start file
    std::string startFile;

    void Fill(CAppSettings& settings, const CDirectories& directories, bool portableUse);
    // "name<TAB>path".
    std::string LineText(int index) const;
    void SetFolderPath(int index, const std::string& path);
    bool IsStartFileBrowseEnabled() const { return startChoice == 2; }
    // Stores the portable choice (in portable use), the changed folders (all of them when the
    // portable choice changed, so that each is stored in its new form), LoadLastFile (0 for "Open
    // File:" without a file) and the start file, drive-relative in portable use.
    void Apply(CAppSettings& settings, CDirectories& directories) const;
};

// ---- Tools ----
struct CPrefToolsModel {
    int autoUpdateQuery = 0;
    int playSound = 0;
    int snooze = 0;
    int reminderType = 0;
    int reminderTime = 0;

    // The snooze choices, index = SnoozeDuration.
    static const std::vector<std::string>& SnoozeLabels();
    void Fill(const CAppSettings& settings);
    void Apply(CAppSettings& settings) const;
};

// ---- Import ----
struct CPrefImportModel {
    int importDate = -1;
    int openImport = 0;
    int duplicateAction = 0;
    int defaultTitle = -1;

    void Fill(const CAppSettings& settings);
    void Apply(CAppSettings& settings) const;
};

// ---- Export ----
struct CPrefExportModel {
    // What the line-length edit shows with No Line Limit.
    static constexpr int kShownWhenUnlimited = 70;
    static constexpr int kMinLineLength = 1;
    static constexpr int kMaxLineLength = 9999;
    static constexpr int kUpDownMax = 500;

    int lineChoice = 0;  // 0 Limit Line Length, 1 No Line Limit
    int lineLength = kShownWhenUnlimited;
    int htmlType = 0;  // 0 none, 1 predefined, 2 custom
    int encodeSet = 0;
    std::string customSet;

    void Fill(const CAppSettings& settings);
    static bool IsComboEnabled(int htmlType) { return htmlType == 1; }
    static bool IsCustomEnabled(int htmlType) { return htmlType == 2; }
    // Custom chosen with nothing but blanks: the page stays with message 18101.
    bool MissingCustomSet() const;
    // When the page is left (and on OK): the custom text trimmed, the values into the settings.
    void Store(CAppSettings& settings);
};

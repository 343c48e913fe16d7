// The program's settings: user preferences kept in the option store, and a per-file part kept in each
// data file (keyed record 4, read and written by CFileSettings in file_settings.h). Built with defaults,
// loaded at start-up after the font settings, written back whenever a setting changes and never at exit.
//
// Option-store sections: "Quorvane" (the product section, any case), "Index Display", "Date", and
// "DialogBoxes" for the keyword dialog's rectangle. Colours are COLORREF values with -1 for automatic.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/profile_store.h"

class CAppSettings {
public:
    struct Rect {
        int32_t left = 0, top = 0, right = 0, bottom = 0;
    };

    static constexpr int32_t kAutomaticColor = -1;

    // Only makes the texts empty and HighlightColor automatic; nothing is read. `profile`, `fonts` and
    // `directories` must outlive the settings.
    CAppSettings(IProfileStore& profile, const CFontSettings& fonts, const CDirectories& directories);
    virtual ~CAppSettings() = default;

    // Defaults, the file font and colours from the font settings, then the stored values.
    void ResetSettings();
    void LoadFromProfile();
    // Writes every stored setting except the four that write their own key; true when all writes worked.
    bool SaveToProfile();

    // Whether the per-file part changed since it was last read or written (see CFileSettings).
    bool IsFileDirty() const { return m_fileDirty != 0; }
    void SetFileDirty(bool dirty) { m_fileDirty = dirty ? 1 : 0; }

    // ---- Settings written straight through the store each time ----
    int GetLoadLastFile();
    void SetLoadLastFile(int mode);
    std::string GetLastFileName();
    void SetLastFileName(const std::string& path);

    // ---- Getters with rules ----
    // With `resolve`, automatic (-1) gives the window-text colour.
    int32_t GetTitleColor(bool resolve) const;
    int32_t GetDateColor() const;
    bool IsPreviewColorAutomatic() const { return m_previewColor == kAutomaticColor; }
    bool IsDateColorAutomatic() const { return m_dateColor == kAutomaticColor; }
    bool IsFileTextColorAutomatic() const { return m_fileTextColor == kAutomaticColor; }
    // Read from the store again each time, with the current value as default.
    int32_t GetHighlightColor();
    // Read from the store each time (default 0), as 0 or 1.
    int GetToolbarButtonSize();
    // The stored choice of flat bars (0 or 1; 1 when nothing is stored), read from the store each
    // time, so that an unticked box holds after OK and at the next start.
    int GetFlatToolbar();
    // An empty path is first filled with the configured attachments folder, expanded (the folder the
    // user chose in Preferences, not wherever the last file dialog happened to be).
    std::string GetLinkLocationPath();
    void GetDefaultReminder(int& type, int& time) const;
    void SetDefaultReminder(int type, int time);
    void GetHtmlExportOptions(int& exportType, int& encodeSet, std::string& customSet) const;
    void SetHtmlExportOptions(int exportType, int encodeSet, const std::string& customSet);
    // The stored folder-browser program, only when its digest still matches (a name changed outside the
    // program is not used); otherwise "".
    std::string GetFolderBrowserName() const;
    void SetFolderBrowserName(const std::string& name);
    // 32 lower-case hex digits of MD5(4 little-endian bytes of `salt`, then the name's bytes).
    static std::string FolderBrowserDigest(int32_t salt, const std::string& name);

    // ---- Setters that mark the per-file part for writing ----
    void SetAutoUpdateDates(int16_t value);
    void SetWordWrap(int16_t value);
    void SetFileFont(const LogFont& font);
    void SetFileTextColor(int32_t color);
    void SetFontDescription(const std::string& text);
    // The file's comments (File Properties), kept in record 4 after SaveFullPathnames.
    void SetComments(const std::string& text);
    // Values outside 0..2 are ignored.
    void SetLinkLocationMode(int16_t mode);
    // Trimmed at both ends; an empty result changes nothing.
    void SetLinkLocationPath(const std::string& path);
    void SetOpenImport(int value);
    void SetImportDate(int value);
    void SetPreviewColor(int32_t color);
    void SetDisplayTime(int value);

    // ---- Setters that save all settings ----
    void SetSortOrder(int value);
    void SetSelectListMode(int value);
    void SetShowTipOfTheDay(int value);
    void SetTipOfTheDay(int value);
    void SetHighlightColor(int32_t color);
    void SetCustomTextColor(int32_t color);

    // ---- Setters that write their own key at once ----
    void SetFlatToolbar(int value);
    void SetToolbarButtonSize(int value);
    void SetFindTitlesOnly(int value);
    void SetUpdateCheckFreq(int value);
    void SetUpdateCheckLastDate(int32_t yyyymmdd);

    // Stores the year and hands it to the date functions; a year outside 0 to 9999 changes nothing
    // (a stored one gives the default, the current century's last year).
    void SetPivotYear(int year);
    static bool IsValidPivotYear(int year) { return year >= 0 && year <= 9999; }

    // ---- Plain getters and setters ----
    int32_t GetArtSettings() const { return m_artSettings; }
    const std::string& GetUserSettings() const { return m_userSettings; }
    int GetUserFolderBrowser() const { return m_userFolderBrowser; }
    void SetUserFolderBrowser(int value) { m_userFolderBrowser = value; }
    int16_t GetSaveFullPathnames() const { return m_saveFullPathnames; }
    void SetSaveFullPathnames(int16_t value) { m_saveFullPathnames = value; }
    int GetSnoozeDuration() const { return m_snoozeDuration; }
    void SetSnoozeDuration(int value) { m_snoozeDuration = value; }
    int GetPlayReminderSound() const { return m_playReminderSound; }
    void SetPlayReminderSound(int value) { m_playReminderSound = value; }
    int GetShowReminderStatus() const { return m_showReminderStatus; }
    void SetShowReminderStatus(int value) { m_showReminderStatus = value; }
    int32_t GetCustomTextColor() const { return m_customTextColor; }
    int GetUpdateCheckFreq() const { return m_updateCheckFreq; }
    int32_t GetUpdateCheckLastDate() const { return m_updateCheckLastDate; }
    int16_t GetLinkLocationMode() const { return m_linkLocationMode; }
    const std::string& GetFontDescription() const { return m_fontDescription; }
    const std::string& GetComments() const { return m_comments; }
    int GetShowImageGallery() const { return m_showImageGallery; }
    void SetShowImageGallery(int value) { m_showImageGallery = value; }
    int GetGalleryImageSize() const { return m_galleryImageSize; }
    void SetGalleryImageSize(int value) { m_galleryImageSize = value; }
    int GetIndexMode() const { return m_indexMode; }
    void SetIndexMode(int value) { m_indexMode = value; }
    int GetFindTitlesOnly() const { return m_findTitlesOnly; }
    int GetUsePortableNames() const { return m_usePortableNames; }
    void SetUsePortableNames(int value) { m_usePortableNames = value; }
    int GetShowHypertextStatus() const { return m_showHypertextStatus; }
    void SetShowHypertextStatus(int value) { m_showHypertextStatus = value; }
    int GetShowPrivateStatus() const { return m_showPrivateStatus; }
    void SetShowPrivateStatus(int value) { m_showPrivateStatus = value; }
    int GetShowTime() const { return m_showTime; }
    void SetShowTime(int value) { m_showTime = value; }
    int GetDisplayTime() const { return m_displayTime; }
    int32_t GetPreviewColor() const { return m_previewColor; }
    int GetImportDefaultTitle() const { return m_importDefaultTitle; }
    void SetImportDefaultTitle(int value) { m_importDefaultTitle = value; }
    int GetFileAutoColor() const { return m_fileAutoColor; }
    void SetFileAutoColor(int value) { m_fileAutoColor = value; }
    int GetImportDuplicateAction() const { return m_importDuplicateAction; }
    void SetImportDuplicateAction(int value) { m_importDuplicateAction = value; }
    int GetTipOfTheDay() const { return m_tipOfTheDay; }
    int GetShowTipOfTheDay() const { return m_showTipOfTheDay; }
    int GetIndexReportMode() const { return m_indexReportMode; }
    void SetIndexReportMode(int value) { m_indexReportMode = value; }
    int GetExportTextLineLength() const { return m_exportTextLineLength; }
    void SetExportTextLineLength(int value) { m_exportTextLineLength = value; }
    int GetDefaultKeywords() const { return m_defaultKeywords; }
    void SetDefaultKeywords(int value) { m_defaultKeywords = value; }
    int GetDefaultTitle() const { return m_defaultTitle; }
    void SetDefaultTitle(int value) { m_defaultTitle = value; }
    int GetPivotYear() const { return m_pivotYear; }
    int GetOpenImport() const { return m_openImport; }
    int GetImportDate() const { return m_importDate; }
    int GetActiveLinks() const { return m_activeLinks; }
    void SetActiveLinks(int value) { m_activeLinks = value; }
    int GetSelectListMode() const { return m_selectListMode; }
    int GetAutoOpenInternet() const { return m_autoOpenInternet; }
    void SetAutoOpenInternet(int value) { m_autoOpenInternet = value; }
    int GetAutoOpenFile() const { return m_autoOpenFile; }
    void SetAutoOpenFile(int value) { m_autoOpenFile = value; }
    int GetSortOrder() const { return m_sortOrder; }
    int GetAutoUpdateQuery() const { return m_autoUpdateQuery; }
    void SetAutoUpdateQuery(int value) { m_autoUpdateQuery = value; }
    int32_t GetFileTextColor() const { return m_fileTextColor; }
    int GetShowAttachment() const { return m_showAttachment; }
    void SetShowAttachment(int value) { m_showAttachment = value; }
    int GetShowTag() const { return m_showTag; }
    void SetShowTag(int value) { m_showTag = value; }
    void SetDateColor(int32_t color) { m_dateColor = color; }
    void SetTitleColor(int32_t color) { m_titleColor = color; }
    int GetShowDate() const { return m_showDate; }
    void SetShowDate(int value) { m_showDate = value; }
    int16_t GetAutoUpdateDates() const { return m_autoUpdateDates; }
    int16_t GetDisplayDate() const { return m_displayDate; }
    void SetDisplayDate(int16_t value) { m_displayDate = value; }
    int16_t GetInitList() const { return m_initList; }
    void SetInitList(int16_t value) { m_initList = value; }
    int16_t GetArtSize() const { return m_artSize; }
    void SetArtSize(int16_t value) { m_artSize = value; }
    int16_t GetWordWrap() const { return m_wordWrap; }
    int16_t GetAutoSave() const { return m_autoSave; }
    void SetAutoSave(int16_t value) { m_autoSave = value; }
    const LogFont& GetFileFont() const { return m_fileFont; }

    // The keyword dialog's rectangle, loaded and saved with the settings.
    const Rect& GetKeywordDialogRect() const { return m_keywordDialogRect; }
    void SetKeywordDialogRect(const Rect& rect) { m_keywordDialogRect = rect; }

    // Replace the window-text colour and the tick count (tests).
    void SetWindowTextColorSource(std::function<uint32_t()> source) { m_windowTextColor = std::move(source); }

    struct KeyedField;

private:
    // Reads and writes the per-file fields as they stand, without the setters' rules.
    friend class CFileSettings;

    void SetDefaults();
    void ApplyClamps();

    // Pointers, not references, so that resetting can assign a fresh object's defaults.
    IProfileStore* m_profile;
    const CFontSettings* m_fonts;
    const CDirectories* m_directories;
    std::function<uint32_t()> m_windowTextColor;

    // Fields in declaration order.
    int32_t m_artSettings = 0;
    std::string m_userSettings;
    int m_userFolderBrowser = 0;
    std::string m_folderBrowserName;
    int m_defaultReminderTime = 0;
    int m_defaultReminderTimeType = 0;
    int16_t m_saveFullPathnames = 1;
    int m_snoozeDuration = 0;
    int m_playReminderSound = 0;
    int m_showReminderStatus = 0;
    int32_t m_customTextColor = kAutomaticColor;
    int m_updateCheckFreq = -1;
    int32_t m_updateCheckLastDate = 0;
    std::string m_linkLocationPath;
    int16_t m_linkLocationMode = 0;
    std::string m_fontDescription;
    std::string m_comments;
    int m_showImageGallery = 1;
    int m_galleryImageSize = 1;
    int m_indexMode = 0;
    int m_findTitlesOnly = 0;
    int m_usePortableNames = 1;
    std::string m_htmlCustomSet;
    int m_htmlEncodeSet = 0;
    int m_htmlExportType = 0;
    int m_showHypertextStatus = 0;
    int m_showPrivateStatus = 0;
    int32_t m_highlightColor = kAutomaticColor;
    int m_showTime = 0;
    int m_displayTime = 0;
    int32_t m_previewColor = kAutomaticColor;
    int m_importDefaultTitle = 0;
    int m_toolbarButtonSize = 0;
    int m_fileAutoColor = 1;
    int m_importDuplicateAction = 2;
    int m_tipOfTheDay = 0;
    int m_showTipOfTheDay = 1;
    int m_indexReportMode = 0;
    int m_exportTextLineLength = 70;
    int m_defaultKeywords = 0;
    int m_defaultTitle = 0;
    int m_pivotYear = 0;
    int m_openImport = 1;
    int m_importDate = 0;
    int m_activeLinks = 1;
    int m_flatToolbar = 1;
    int m_selectListMode = 0;
    int m_autoOpenInternet = 0;
    int m_autoOpenFile = 0;
    int m_sortOrder = 0;
    int m_autoUpdateQuery = 1;
    int32_t m_fileTextColor = 0;
    int m_showAttachment = 1;
    int m_showTag = 1;
    int32_t m_dateColor = 0xFF0000;
    int32_t m_titleColor = 0;
    int m_showDate = 1;
    int m_fileDirty = 0;
    int16_t m_autoUpdateDates = 0;
    int16_t m_displayDate = 1;
    int16_t m_initList = 0;
    int16_t m_artSize = 0;
    int16_t m_wordWrap = 1;
    int16_t m_autoSave = 0;
    LogFont m_fileFont;

    Rect m_keywordDialogRect;
};

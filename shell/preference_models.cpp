#include "shell/preference_models.h"

#include <cstdlib>

namespace {

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

int Bit(int value)
{
    return value != 0 ? 1 : 0;
}

}  // namespace

// ---- Index Window ----

void CPrefIndexWindowModel::Fill(const CAppSettings& settings)
{
    values.titlesList = settings.GetInitList();
    values.showTag = settings.GetShowTag();
    values.showAttachment = settings.GetShowAttachment();
    values.showHypertext = settings.GetShowHypertextStatus();
    values.showPrivate = settings.GetShowPrivateStatus();
    values.showReminders = settings.GetShowReminderStatus();
    values.showDate = settings.GetShowDate();
    values.showTime = settings.GetShowTime();
    values.titleColor = settings.GetTitleColor(false);
    values.dateColor = settings.GetDateColor();
    values.previewColor = settings.GetPreviewColor();
    ShowDateClicked(values.showDate);
    filled = values;
}

void CPrefIndexWindowModel::ShowDateClicked(int showDate)
{
    values.showDate = showDate;
    if (!IsShowTimeEnabled(showDate))
        values.showTime = 0;
}

std::string CPrefIndexWindowModel::ColorCaption(int32_t color)
{
    return color == CAppSettings::kAutomaticColor ? "Auto" : "";
}

void CPrefIndexWindowModel::Apply(CAppSettings& settings, IPreferenceHost& host) const
{
    settings.SetInitList(static_cast<int16_t>(values.titlesList));
    settings.SetShowTag(values.showTag);
    settings.SetShowAttachment(values.showAttachment);
    settings.SetShowHypertextStatus(values.showHypertext);
    settings.SetShowPrivateStatus(values.showPrivate);
    settings.SetShowReminderStatus(values.showReminders);
    settings.SetShowDate(values.showDate);
    settings.SetShowTime(values.showTime);
    if (values.titleColor != filled.titleColor)
        settings.SetTitleColor(values.titleColor);
    if (values.dateColor != filled.dateColor)
        settings.SetDateColor(values.dateColor);
    if (values.previewColor != filled.previewColor)
        settings.SetPreviewColor(values.previewColor);
    const bool changed = values.showDate != filled.showDate || values.showTime != filled.showTime ||
                         values.showTag != filled.showTag || values.showAttachment != filled.showAttachment ||
                         values.showPrivate != filled.showPrivate || values.showReminders != filled.showReminders ||
                         values.showHypertext != filled.showHypertext || values.titleColor != filled.titleColor ||
                         values.dateColor != filled.dateColor || values.previewColor != filled.previewColor;
    if (changed) {
        host.RefreshIndexDisplay();
        host.ApplyPreviewColor();
    }
}

// ---- Articles ----

void CPrefArticleModel::Fill(const CAppSettings& settings, int effectiveEndYear)
{
    artSize = settings.GetArtSize();
    activeLinks = settings.GetActiveLinks();
    autoOpenFile = settings.GetAutoOpenFile();
    autoOpenInternet = settings.GetAutoOpenInternet();
    userFolderBrowser = settings.GetUserFolderBrowser();
    programPath = settings.GetFolderBrowserName();
    showImageGallery = settings.GetShowImageGallery();
    galleryImageSize = settings.GetGalleryImageSize();
    endYear = settings.GetPivotYear();
    if (endYear == 0 || endYear < kMinEndYear || endYear > kMaxEndYear)
        endYear = effectiveEndYear;
    displayDate = settings.GetDisplayDate();
    displayTime = settings.GetDisplayTime();
    autoSave = settings.GetAutoSave();
    defaultTitle = settings.GetDefaultTitle();
    defaultKeywords = settings.GetDefaultKeywords();
    autoSaveClicked = false;
    filledDisplayDate = displayDate;
    filledDisplayTime = displayTime;
}

int CPrefArticleModel::StartYear(int endYear)
{
    return endYear - 99 < 0 ? 0 : endYear - 99;
}

std::string CPrefArticleModel::StartYearText(const std::string& endYearText)
{
    // As the system reads a number from an edit: leading digits, else 0; the years the page takes
    // bound it so that no arithmetic overflows.
    long long typed = std::strtoll(endYearText.c_str(), nullptr, 10);
    if (typed > kMaxEndYear)
        typed = kMaxEndYear;
    return std::to_string(StartYear(static_cast<int>(typed)));
}

int CPrefArticleModel::StepYear(int number, int delta)
{
    const long long stepped = static_cast<long long>(number) - delta;
    if (stepped < kMinEndYear)
        return kMinEndYear;
    if (stepped > kMaxEndYear)
        return kMaxEndYear;
    return static_cast<int>(stepped);
}

bool CPrefArticleModel::MissingProgram() const
{
    return userFolderBrowser != 0 && Trim(programPath).empty();
}

void CPrefArticleModel::Apply(CAppSettings& settings, IPreferenceHost& host) const
{
    settings.SetArtSize(static_cast<int16_t>(artSize));
    settings.SetDisplayDate(static_cast<int16_t>(displayDate));
    settings.SetDisplayTime(displayTime);
    settings.SetPivotYear(endYear);
    settings.SetActiveLinks(activeLinks);
    settings.SetDefaultTitle(defaultTitle);
    settings.SetDefaultKeywords(defaultKeywords);
    settings.SetFolderBrowserName(programPath);
    settings.SetUserFolderBrowser(userFolderBrowser);
    settings.SetAutoSave(static_cast<int16_t>(autoSave));
    settings.SetAutoOpenFile(autoOpenFile);
    settings.SetAutoOpenInternet(autoOpenInternet);
    settings.SetGalleryImageSize(galleryImageSize);
    settings.SetShowImageGallery(showImageGallery);
    if (displayDate != filledDisplayDate || displayTime != filledDisplayTime)
        host.DateDisplayChanged();
    if (autoSaveClicked)
        host.SetCurrentAutoSave(autoSave);
}

// ---- Display ----

void CPrefDisplayModel::Fill(CAppSettings& settings, IProfileStore& profile, const CFontSettings& fonts,
                             bool themeActive, bool flatAllowed)
{
    flatToolbar = settings.GetFlatToolbar() != 0 && flatAllowed ? 1 : 0;
    largeButtons = settings.GetToolbarButtonSize();
    welcome = profile.GetInt(kStartupSection, "Welcome", 1) < 2 ? 1 : 0;
    const int options = profile.GetInt(kStartupSection, "InitOptions", 0);
    splash = (options & kNoSplashOptions) == kNoSplashOptions ? 0 : 1;
    filledSplash = splash;
    onTop = profile.GetInt(kStartupSection, "OnTop", 0) == 1 ? 1 : 0;
    font = fonts.GetLogFont();
    bool automatic = true;
    fontColor = fonts.GetColor(automatic);
    autoColor = automatic ? 1 : 0;
    fontChanged = false;
    toolbarsChanged = false;
    // Themed bars are always flat: the box shows it and the bars are built flat after OK.
    if (themeActive && !flatToolbar) {
        flatToolbar = 1;
        toolbarsChanged = true;
    }
    flatLocked = themeActive || !flatAllowed;
}

void CPrefDisplayModel::FontChosen(const LogFont& chosen, int32_t color)
{
    autoColor = color == -1 ? 1 : 0;
    if (!autoColor)
        fontColor = static_cast<uint32_t>(color);
    font = chosen;
    fontChanged = true;
}

void CPrefDisplayModel::Apply(CAppSettings& settings, IProfileStore& profile, CFontSettings& fonts,
                              IPreferenceHost& host) const
{
    if (fontChanged) {
        fonts.SetLogFont(font);
        fonts.SetColor(autoColor ? -1 : static_cast<int32_t>(fontColor));
    }
    profile.WriteInt(kStartupSection, "Welcome", welcome ? 1 : 2);
    if (splash != filledSplash)
        profile.WriteInt(kStartupSection, "InitOptions", splash ? 0 : kNoSplashOptions);
    settings.SetFlatToolbar(Bit(flatToolbar));
    settings.SetToolbarButtonSize(Bit(largeButtons));
    profile.WriteInt(kStartupSection, "OnTop", Bit(onTop));
    host.ApplyOnTop();
}

// ---- Files ----

void CPrefFileModel::Fill(CAppSettings& settings, const CDirectories& directories, bool portable)
{
    folders.clear();
    for (int i = 0; i < directories.GetCount(); ++i)
        folders.push_back({directories.GetValueName(i), directories.GetFolder(i, true), false});
    rootMode = directories.IsRootMode();
    portableUse = portable;
    this->portable = settings.GetUsePortableNames() != 0 ? 1 : 0;
    filledPortable = this->portable;
    startChoice = settings.GetLoadLastFile();
    if (startChoice < 0 || startChoice > 2)
        startChoice = 0;
    startFile = directories.ExpandDriveRelative(settings.GetLastFileName());
}

std::string CPrefFileModel::LineText(int index) const
{
    if (index < 0 || index >= static_cast<int>(folders.size()))
        return {};
    return folders[static_cast<size_t>(index)].name + "\t" + folders[static_cast<size_t>(index)].path;
}

void CPrefFileModel::SetFolderPath(int index, const std::string& path)
{
    if (index < 0 || index >= static_cast<int>(folders.size()))
        return;
    folders[static_cast<size_t>(index)].path = path;
    folders[static_cast<size_t>(index)].changed = true;
}

void CPrefFileModel::Apply(CAppSettings& settings, CDirectories& directories) const
{
    bool portableChanged = false;
    if (portableUse) {
        settings.SetUsePortableNames(portable);
        directories.SetPortable(portable != 0);
        portableChanged = portable != filledPortable;
    }
    const int choice = startChoice == 2 && startFile.empty() ? 0 : startChoice;
    for (size_t i = 0; i < folders.size(); ++i) {
        if (!folders[i].changed && !portableChanged)
            continue;
        directories.SetConfiguredFolder(static_cast<int>(i), folders[i].path);
        directories.SetFolder(static_cast<int>(i), folders[i].path);
    }
    settings.SetLoadLastFile(choice);
    if (!startFile.empty())
        settings.SetLastFileName(directories.MakeDriveRelative(startFile, false));
}

// ---- Tools ----

const std::vector<std::string>& CPrefToolsModel::SnoozeLabels()
{
    static const std::vector<std::string> labels = {"5 minutes", "10 minutes", "15 minutes", "30 minutes",
                                                    "1 hour",    "2 hours",    "4 hours",    "8 hours"};
    return labels;
}

void CPrefToolsModel::Fill(const CAppSettings& settings)
{
    autoUpdateQuery = settings.GetAutoUpdateQuery();
    playSound = settings.GetPlayReminderSound();
    snooze = settings.GetSnoozeDuration();
    settings.GetDefaultReminder(reminderType, reminderTime);
}

void CPrefToolsModel::Apply(CAppSettings& settings) const
{
    settings.SetSnoozeDuration(snooze);
    settings.SetPlayReminderSound(playSound);
    settings.SetDefaultReminder(reminderType, reminderTime);
    settings.SetAutoUpdateQuery(autoUpdateQuery);
}

// ---- Import ----

void CPrefImportModel::Fill(const CAppSettings& settings)
{
    importDate = settings.GetImportDate();
    openImport = settings.GetOpenImport();
    duplicateAction = settings.GetImportDuplicateAction();
    defaultTitle = settings.GetImportDefaultTitle();
}

void CPrefImportModel::Apply(CAppSettings& settings) const
{
    settings.SetOpenImport(openImport);
    settings.SetImportDate(importDate);
    settings.SetImportDuplicateAction(duplicateAction);
    settings.SetImportDefaultTitle(defaultTitle);
}

// ---- Export ----

void CPrefExportModel::Fill(const CAppSettings& settings)
{
    const int stored = settings.GetExportTextLineLength();
    lineChoice = stored == 0 ? 1 : 0;
    lineLength = stored == 0 ? kShownWhenUnlimited : stored;
    settings.GetHtmlExportOptions(htmlType, encodeSet, customSet);
}

bool CPrefExportModel::MissingCustomSet() const
{
    return htmlType == 2 && Trim(customSet).empty();
}

void CPrefExportModel::Store(CAppSettings& settings)
{
    customSet = Trim(customSet);
    settings.SetExportTextLineLength(lineChoice == 0 ? lineLength : 0);
    settings.SetHtmlExportOptions(htmlType, encodeSet, customSet);
}

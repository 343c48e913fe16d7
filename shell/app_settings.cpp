#include "shell/app_settings.h"

#include "framework/clock.h"
#include "shell/system_colors.h"
#include "storage/date.h"
#include "storage/md5.h"

namespace {

const char kProduct[] = "Quorvane";
const char kIndexDisplay[] = "Index Display";
const char kDate[] = "Date";
const char kDialogBoxes[] = "DialogBoxes";

enum FieldFlags {
    kNoSave = 1,        // the setter writes the key itself
    kSaveLast = 2,      // written after the keyword dialog's rectangle
    kFixedDefault = 4,  // read with a fixed default instead of the current value
    kZeroOrOne = 8,     // any non-zero stored value reads as 1
};

}  // namespace

struct CAppSettings::KeyedField {
    const char* section;
    const char* key;
    int CAppSettings::*number;
    int16_t CAppSettings::*shortNumber;
    std::string CAppSettings::*text;
    int flags;
    int fixedDefault;

    static KeyedField Int(const char* s, const char* k, int CAppSettings::*m, int flags = 0, int dflt = 0)
    {
        return {s, k, m, nullptr, nullptr, flags, dflt};
    }
    static KeyedField Short(const char* s, const char* k, int16_t CAppSettings::*m)
    {
        return {s, k, nullptr, m, nullptr, 0, 0};
    }
    static KeyedField Text(const char* s, const char* k, std::string CAppSettings::*m, int flags = 0)
    {
        return {s, k, nullptr, nullptr, m, flags, 0};
    }

    // Every setting kept in the option store, in the order of the fields. FlatToolbar and
    // ToolbarButtonSize are not here: their own accessors read and write them.
    static const std::vector<KeyedField>& All()
    {
        using S = CAppSettings;
        static const std::vector<KeyedField> fields = {
            Int(kProduct, "ArtSettings", &S::m_artSettings),
            Text(kProduct, "UserSettings", &S::m_userSettings),
            Int(kProduct, "UserFolderBrowser", &S::m_userFolderBrowser, kFixedDefault, 0),
            Text(kProduct, "FolderBrowserName", &S::m_folderBrowserName, kFixedDefault),
            Int(kProduct, "DefaultReminderTime", &S::m_defaultReminderTime),
            Int(kProduct, "DefaultReminderTimeType", &S::m_defaultReminderTimeType),
            Int(kProduct, "SnoozeDuration", &S::m_snoozeDuration),
            Int(kProduct, "PlayReminderSound", &S::m_playReminderSound),
            Int(kIndexDisplay, "ShowReminderStatus", &S::m_showReminderStatus),
            Int(kProduct, "CustomTextColor", &S::m_customTextColor),
            Int(kProduct, "UpdateCheckFreq", &S::m_updateCheckFreq, kNoSave | kFixedDefault, -1),
            Int(kProduct, "UpdateCheckLastDate", &S::m_updateCheckLastDate, kNoSave | kFixedDefault, 0),
            Int(kIndexDisplay, "ShowImageGallery", &S::m_showImageGallery, kSaveLast),
            Int(kIndexDisplay, "GalleryImageSize", &S::m_galleryImageSize, kSaveLast),
            Int(kIndexDisplay, "IndexMode", &S::m_indexMode),
            Int(kProduct, "FindTitlesOnly", &S::m_findTitlesOnly),
            Int(kProduct, "UsePortableNames", &S::m_usePortableNames),
            Text(kProduct, "HTMLCustomSet", &S::m_htmlCustomSet),
            Int(kProduct, "HTMLEncodeSet", &S::m_htmlEncodeSet),
            Int(kProduct, "HTMLExportType", &S::m_htmlExportType),
            Int(kIndexDisplay, "ShowHypertextStatus", &S::m_showHypertextStatus),
            Int(kIndexDisplay, "ShowPrivateStatus", &S::m_showPrivateStatus),
            Int(kProduct, "HighlightColor", &S::m_highlightColor),
            Int(kIndexDisplay, "ShowTime", &S::m_showTime),
            Int(kDate, "DisplayTime", &S::m_displayTime),
            Int(kIndexDisplay, "PreviewColor", &S::m_previewColor),
            Int(kProduct, "ImportDefaultTitle", &S::m_importDefaultTitle),
            Int(kProduct, "ImportDuplicateAction", &S::m_importDuplicateAction),
            Int(kProduct, "TipOfTheDay", &S::m_tipOfTheDay),
            Int(kProduct, "ShowTipOfTheDay", &S::m_showTipOfTheDay, kZeroOrOne),
            Int(kProduct, "IndexReportMode", &S::m_indexReportMode),
            Int(kProduct, "ExportTextLineLength", &S::m_exportTextLineLength),
            Int(kProduct, "DefaultKeywords", &S::m_defaultKeywords),
            Int(kProduct, "DefaultTitle", &S::m_defaultTitle),
            Int(kProduct, "PivotYear", &S::m_pivotYear),
            Int(kProduct, "OpenImport", &S::m_openImport, kZeroOrOne),
            Int(kDate, "ImportDate", &S::m_importDate),
            Int(kProduct, "ActiveLinks", &S::m_activeLinks),
            Int(kIndexDisplay, "SelectListMode", &S::m_selectListMode),
            Int(kIndexDisplay, "AutoOpenInternet", &S::m_autoOpenInternet),
            Int(kIndexDisplay, "AutoOpenFile", &S::m_autoOpenFile),
            Int(kIndexDisplay, "SortOrder", &S::m_sortOrder),
            Int(kProduct, "AutoUpdateQuery", &S::m_autoUpdateQuery),
            Int(kIndexDisplay, "ShowAttachment", &S::m_showAttachment),
            Int(kIndexDisplay, "ShowTag", &S::m_showTag),
            Int(kIndexDisplay, "DateColor", &S::m_dateColor),
            Int(kIndexDisplay, "TitleColor", &S::m_titleColor),
            Int(kIndexDisplay, "ShowDate", &S::m_showDate),
            Short(kDate, "DisplayDate", &S::m_displayDate),
            Short(kProduct, "InitList", &S::m_initList),
            Short(kProduct, "ArtSize", &S::m_artSize),
            Short(kProduct, "AutoSave", &S::m_autoSave),
        };
        return fields;
    }
};

CAppSettings::CAppSettings(IProfileStore& profile, const CFontSettings& fonts, const CDirectories& directories)
    : m_profile(&profile), m_fonts(&fonts), m_directories(&directories), m_windowTextColor(SystemWindowTextColor)
{
}

void CAppSettings::SetDefaults()
{
    // A fresh object holds every default; the references and the colour source are not settings.
    CAppSettings defaults(*m_profile, *m_fonts, *m_directories);
    defaults.m_windowTextColor = m_windowTextColor;
    *this = defaults;
}

void CAppSettings::ResetSettings()
{
    SetDefaults();
    m_artSettings = static_cast<int32_t>(GetClock().TickCount());
    m_fileFont = m_fonts->GetLogFont();
    bool automatic = true;
    m_fileTextColor = static_cast<int32_t>(m_fonts->GetColor(automatic));
    m_fileAutoColor = automatic ? 1 : 0;
    m_pivotYear = GetCenturyYear() + 99;
    LoadFromProfile();
    m_fileDirty = 0;
}

void CAppSettings::LoadFromProfile()
{
    for (const KeyedField& f : KeyedField::All()) {
        if (f.text) {
            std::string dflt = (f.flags & kFixedDefault) ? std::string() : this->*f.text;
            this->*f.text = m_profile->GetString(f.section, f.key, dflt);
        } else if (f.shortNumber) {
            this->*f.shortNumber = static_cast<int16_t>(m_profile->GetInt(f.section, f.key, this->*f.shortNumber));
        } else {
            int dflt = (f.flags & kFixedDefault) ? f.fixedDefault : this->*f.number;
            int value = m_profile->GetInt(f.section, f.key, dflt);
            this->*f.number = (f.flags & kZeroOrOne) ? (value != 0 ? 1 : 0) : value;
        }
    }
    ApplyClamps();
    m_keywordDialogRect.top = m_profile->GetInt(kDialogBoxes, "KeywordTop", 0);
    m_keywordDialogRect.left = m_profile->GetInt(kDialogBoxes, "KeywordLeft", 0);
    m_keywordDialogRect.bottom = m_profile->GetInt(kDialogBoxes, "KeywordBottom", 0);
    m_keywordDialogRect.right = m_profile->GetInt(kDialogBoxes, "KeywordRight", 0);
    ::SetPivotYear(m_pivotYear);
}

void CAppSettings::ApplyClamps()
{
    if (m_snoozeDuration < 0 || m_snoozeDuration > 7)
        m_snoozeDuration = 0;
    if (m_defaultReminderTimeType < 0 || m_defaultReminderTimeType > 1)
        m_defaultReminderTimeType = 0;
    if (!IsValidTimeOfDay(m_defaultReminderTime))
        m_defaultReminderTime = 0;
    // Two-digit years are expanded as century x 100 + year: a year beyond four digits would overflow.
    if (!IsValidPivotYear(m_pivotYear))
        m_pivotYear = GetCenturyYear() + 99;
}

bool CAppSettings::SaveToProfile()
{
    bool ok = true;
    auto write = [&](const KeyedField& f) {
        if (f.text)
            ok = m_profile->WriteString(f.section, f.key, this->*f.text) && ok;
        else if (f.shortNumber)
            ok = m_profile->WriteInt(f.section, f.key, this->*f.shortNumber) && ok;
        else
            ok = m_profile->WriteInt(f.section, f.key, this->*f.number) && ok;
    };
    for (const KeyedField& f : KeyedField::All()) {
        if (!(f.flags & (kNoSave | kSaveLast)))
            write(f);
    }
    ok = m_profile->WriteInt(kDialogBoxes, "KeywordTop", m_keywordDialogRect.top) && ok;
    ok = m_profile->WriteInt(kDialogBoxes, "KeywordLeft", m_keywordDialogRect.left) && ok;
    ok = m_profile->WriteInt(kDialogBoxes, "KeywordBottom", m_keywordDialogRect.bottom) && ok;
    ok = m_profile->WriteInt(kDialogBoxes, "KeywordRight", m_keywordDialogRect.right) && ok;
    // GalleryImageSize, then ShowImageGallery.
    const auto& all = KeyedField::All();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->flags & kSaveLast)
            write(*it);
    }
    return ok;
}

// ---- Accessors with rules -----------------------------------------------------------------------

int CAppSettings::GetLoadLastFile()
{
    return m_profile->GetInt(kProduct, "LoadLastFile", 0);
}

void CAppSettings::SetLoadLastFile(int mode)
{
    m_profile->WriteInt(kProduct, "LoadLastFile", mode);
}

std::string CAppSettings::GetLastFileName()
{
    return m_profile->GetString(kProduct, "LastFileName", std::string());
}

void CAppSettings::SetLastFileName(const std::string& path)
{
    m_profile->WriteString(kProduct, "LastFileName", path);
}

int32_t CAppSettings::GetTitleColor(bool resolve) const
{
    if (resolve && m_titleColor == kAutomaticColor)
        return static_cast<int32_t>(m_windowTextColor());
    return m_titleColor;
}

int32_t CAppSettings::GetDateColor() const
{
    return m_dateColor == kAutomaticColor ? static_cast<int32_t>(m_windowTextColor()) : m_dateColor;
}

int32_t CAppSettings::GetHighlightColor()
{
    m_highlightColor = m_profile->GetInt(kProduct, "HighlightColor", m_highlightColor);
    return m_highlightColor;
}

int CAppSettings::GetToolbarButtonSize()
{
    m_toolbarButtonSize = m_profile->GetInt(kProduct, "ToolbarButtonSize", 0) != 0 ? 1 : 0;
    return m_toolbarButtonSize;
}

int CAppSettings::GetFlatToolbar()
{
    m_flatToolbar = m_profile->GetInt(kProduct, "FlatToolbar", 1) != 0 ? 1 : 0;
    return m_flatToolbar;
}

std::string CAppSettings::GetLinkLocationPath()
{
    if (m_linkLocationPath.empty())
        m_linkLocationPath = m_directories->GetFolder(CDirectories::kAttachments, true);
    return m_linkLocationPath;
}

void CAppSettings::GetDefaultReminder(int& type, int& time) const
{
    type = m_defaultReminderTimeType;
    time = m_defaultReminderTime;
}

void CAppSettings::SetDefaultReminder(int type, int time)
{
    m_defaultReminderTimeType = type;
    m_defaultReminderTime = IsValidTimeOfDay(time) ? time : 0;
}

void CAppSettings::GetHtmlExportOptions(int& exportType, int& encodeSet, std::string& customSet) const
{
    exportType = m_htmlExportType;
    encodeSet = m_htmlEncodeSet;
    customSet = m_htmlCustomSet;
}

void CAppSettings::SetHtmlExportOptions(int exportType, int encodeSet, const std::string& customSet)
{
    m_htmlExportType = exportType;
    m_htmlEncodeSet = encodeSet;
    m_htmlCustomSet = customSet;
}

std::string CAppSettings::FolderBrowserDigest(int32_t salt, const std::string& name)
{
    uint8_t saltBytes[4];
    for (int i = 0; i < 4; ++i)
        saltBytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(salt) >> (8 * i));
    CMD5 md5;
    md5.Update(saltBytes, sizeof saltBytes);
    if (!name.empty())
        md5.Update(name.data(), name.size());
    md5.Final();
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (int i = 0; i < 16; ++i) {
        hex += kHex[md5.GetDigest()[i] >> 4];
        hex += kHex[md5.GetDigest()[i] & 15];
    }
    return hex;
}

std::string CAppSettings::GetFolderBrowserName() const
{
    return FolderBrowserDigest(m_artSettings, m_folderBrowserName) == m_userSettings ? m_folderBrowserName
                                                                                     : std::string();
}

void CAppSettings::SetFolderBrowserName(const std::string& name)
{
    m_folderBrowserName = name;
    m_artSettings = static_cast<int32_t>(GetClock().TickCount());
    m_userSettings = FolderBrowserDigest(m_artSettings, name);
}

// ---- Setters that mark the per-file part --------------------------------------------------------

void CAppSettings::SetAutoUpdateDates(int16_t value)
{
    m_autoUpdateDates = value;
    m_fileDirty = 1;
}

void CAppSettings::SetWordWrap(int16_t value)
{
    m_wordWrap = value;
    m_fileDirty = 1;
}

void CAppSettings::SetFileFont(const LogFont& font)
{
    m_fileFont = font;
    m_fileDirty = 1;
}

void CAppSettings::SetFileTextColor(int32_t color)
{
    m_fileTextColor = color;
    m_fileDirty = 1;
}

void CAppSettings::SetFontDescription(const std::string& text)
{
    m_fontDescription = text;
    m_fileDirty = 1;
}

void CAppSettings::SetComments(const std::string& text)
{
    m_comments = text;
    m_fileDirty = 1;
}

void CAppSettings::SetLinkLocationMode(int16_t mode)
{
    if (mode < 0 || mode > 2)
        return;
    m_linkLocationMode = mode;
    m_fileDirty = 1;
}

void CAppSettings::SetLinkLocationPath(const std::string& path)
{
    const char* blanks = " \t\r\n";
    size_t first = path.find_first_not_of(blanks);
    if (first == std::string::npos)
        return;
    m_linkLocationPath = path.substr(first, path.find_last_not_of(blanks) - first + 1);
    m_fileDirty = 1;
}

void CAppSettings::SetOpenImport(int value)
{
    m_openImport = value;
    m_fileDirty = 1;
}

void CAppSettings::SetImportDate(int value)
{
    m_importDate = value;
    m_fileDirty = 1;
}

void CAppSettings::SetPreviewColor(int32_t color)
{
    m_previewColor = color;
    m_fileDirty = 1;
}

void CAppSettings::SetDisplayTime(int value)
{
    m_displayTime = value;
    m_fileDirty = 1;
}

// ---- Setters that save all settings -------------------------------------------------------------

void CAppSettings::SetSortOrder(int value)
{
    m_sortOrder = value;
    SaveToProfile();
}

void CAppSettings::SetSelectListMode(int value)
{
    m_selectListMode = value;
    SaveToProfile();
}

void CAppSettings::SetShowTipOfTheDay(int value)
{
    m_showTipOfTheDay = value;
    SaveToProfile();
}

void CAppSettings::SetTipOfTheDay(int value)
{
    m_tipOfTheDay = value;
    SaveToProfile();
}

void CAppSettings::SetHighlightColor(int32_t color)
{
    m_highlightColor = color;
    SaveToProfile();
}

void CAppSettings::SetCustomTextColor(int32_t color)
{
    m_customTextColor = color;
    SaveToProfile();
}

// ---- Setters that write their own key -----------------------------------------------------------

void CAppSettings::SetFlatToolbar(int value)
{
    m_flatToolbar = value;
    m_profile->WriteInt(kProduct, "FlatToolbar", value != 0 ? 1 : 0);
}

void CAppSettings::SetToolbarButtonSize(int value)
{
    m_toolbarButtonSize = value != 0 ? 1 : 0;
    m_profile->WriteInt(kProduct, "ToolbarButtonSize", m_toolbarButtonSize);
}

void CAppSettings::SetFindTitlesOnly(int value)
{
    m_findTitlesOnly = value;
    m_profile->WriteInt(kProduct, "FindTitlesOnly", value);
}

void CAppSettings::SetUpdateCheckFreq(int value)
{
    m_updateCheckFreq = value;
    m_profile->WriteInt(kProduct, "UpdateCheckFreq", value);
}

void CAppSettings::SetUpdateCheckLastDate(int32_t yyyymmdd)
{
    m_updateCheckLastDate = yyyymmdd;
    m_profile->WriteInt(kProduct, "UpdateCheckLastDate", yyyymmdd);
}

void CAppSettings::SetPivotYear(int year)
{
    if (!IsValidPivotYear(year))
        return;
    m_pivotYear = year;
    ::SetPivotYear(year);
}

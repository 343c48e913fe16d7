#include "document/file_properties_model.h"

#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "resources/file_properties_res.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "storage/data_file.h"
#include "storage/keyed_texts.h"

char ThousandsSeparatorFrom(const std::string& localeSeparator)
{
    return localeSeparator.size() == 1 ? localeSeparator[0] : ',';
}

std::string GroupThousands(uint64_t value, char separator)
{
    const std::string digits = std::to_string(value);
    if (digits.size() < 4)
        return digits;
    std::string text;
    text.reserve(digits.size() + digits.size() / 3);
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += separator;
        text += digits[i];
    }
    return text;
}

std::string FileSizeText(uint64_t bytes, char separator)
{
    return GroupThousands(bytes, separator) + " bytes";
}

namespace {

std::string Count(int value, char separator)
{
    return GroupThousands(static_cast<uint64_t>(value < 0 ? 0 : value), separator);
}

std::string WithPrivate(int count, int privateCount, char separator)
{
    return Count(count, separator) + "   (" + Count(privateCount, separator) + " Private)";
}

}  // namespace

std::string ArticleCountText(int shown, int privateCount, bool privateHidden, char separator)
{
    return privateHidden ? Count(shown, separator) : WithPrivate(shown, privateCount, separator);
}

std::string ReminderCountText(int total, int privateCount, bool privateHidden, char separator)
{
    return privateHidden ? Count(total - privateCount, separator) : WithPrivate(total, privateCount, separator);
}

bool LinkLocationChanged(int storedMode, const std::string& storedPath, int mode, const std::string& path)
{
    return mode != storedMode || AnsiCompareNoCase(storedPath.c_str(), path.c_str()) != 0;
}

void CFilePropertiesModel::Load(CQuorvaneDoc& document, CAppSettings& settings, const CDirectories& directories)
{
    CDataFile& file = document.GetDataFile();
    m_path = document.GetPathName();
    m_size = file.GetLengthSafe();
    m_keywordCount = document.GetKeywordCount();
    m_groupCount = document.GetKeywordGroupCount();
    m_readOnly = !document.CanModify();
    m_fileFolder = file.GetFolder();
    m_attachmentsFolder = directories.GetFolder(CDirectories::kAttachments, true);
    RefreshCounts(document);

    m_exportHeader = document.GetExportHeader().GetText();
    m_comments = settings.GetComments();
    m_font = settings.GetFileFont();
    m_autoColor = settings.GetFileAutoColor();
    m_color = settings.GetFileTextColor();
    m_fontChanged = false;

    m_autoUpdateDates = settings.GetAutoUpdateDates();
    m_wordWrap = settings.GetWordWrap();
    m_linkMode = settings.GetLinkLocationMode();
    m_storedLinkMode = m_linkMode;
    m_saveFullPathnames = settings.GetSaveFullPathnames();
    m_specifiedPath = settings.GetLinkLocationPath();
    m_storedPath = m_specifiedPath;

    m_protectAll = document.IsProtectAll();
}

void CFilePropertiesModel::RefreshCounts(CQuorvaneDoc& document)
{
    m_privateHidden = document.ArePrivateArticlesHidden();
    m_shownArticleCount = document.GetArticleCount();
    m_privateArticleCount = document.GetPrivateArticleCount();
    m_reminderCount = document.GetReminders().CountReminders(m_privateReminderCount);
}

std::string CFilePropertiesModel::LocationText(int mode) const
{
    switch (mode) {
    case 1:
        return m_fileFolder;
    case 2:
        return m_specifiedPath;
    default:
        return m_attachmentsFolder;
    }
}

void CFilePropertiesModel::SetChosenFont(const LogFont& font, int32_t color)
{
    m_font = font;
    m_autoColor = color < 0 ? 1 : 0;
    m_color = color < 0 ? 0 : color;
    m_fontChanged = true;
}

bool CFilePropertiesModel::ApplyGeneral(CQuorvaneDoc& document, CAppSettings& settings, bool headerModified,
                                   bool commentsModified, int pixelsPerInch) const
{
    if (m_readOnly)
        return false;
    if (headerModified)
        document.GetExportHeader().SetText(m_exportHeader);
    if (commentsModified && m_comments != settings.GetComments())
        settings.SetComments(m_comments);
    if (!m_fontChanged)
        return false;
    settings.SetFileFont(m_font);
    settings.SetFileTextColor(m_color);
    settings.SetFileAutoColor(m_autoColor);
    settings.SetFontDescription(FontText(pixelsPerInch));
    return true;
}

void CFilePropertiesModel::ApplyArticles(CAppSettings& settings) const
{
    if (m_readOnly)
        return;
    if (m_autoUpdateDates != settings.GetAutoUpdateDates())
        settings.SetAutoUpdateDates(static_cast<int16_t>(m_autoUpdateDates));
    if (m_wordWrap != settings.GetWordWrap())
        settings.SetWordWrap(static_cast<int16_t>(m_wordWrap));
    if (m_saveFullPathnames != settings.GetSaveFullPathnames()) {
        settings.SetSaveFullPathnames(static_cast<int16_t>(m_saveFullPathnames));
        settings.SetFileDirty(true);
    }
    if (m_linkMode != settings.GetLinkLocationMode())
        settings.SetLinkLocationMode(static_cast<int16_t>(m_linkMode));
    if (AnsiCompareNoCase(m_specifiedPath.c_str(), settings.GetLinkLocationPath().c_str()) != 0)
        settings.SetLinkLocationPath(m_specifiedPath);
}

bool CFilePropertiesModel::ApplyPrivacy(CQuorvaneDoc& document, bool protectAll, IPrivacyPrompts& prompts) const
{
    if (!document.CanModify())
        return false;
    bool available = !protectAll;
    if (!available) {
        if (document.HasPassword()) {
            available = !document.ArePrivateArticlesHidden() || prompts.EnterPassword();
        } else if (prompts.CreatePassword()) {
            prompts.Inform(IDS_PASSWORD_SET);
            available = document.HasPassword();
        }
    }
    if (!available) {
        prompts.Inform(IDS_PROTECTION_NOT_SET);
        return false;
    }
    const bool before = document.IsProtectAll();
    document.SetProtectAll(protectAll);
    document.SetPasswordAskedAtOpen(protectAll);
    return before != protectAll;
}

// What the File Properties sheet shows and changes, without windows: the open file's facts (path,
// 64-bit size, counts taken from the tables, never from the articles), their texts with thousands
// separators, the path wrapped to a width, the link-location texts and question, and what OK does on
// each page. The sheet's pages (document/ui) only move values between these and their controls.
#pragma once
#include <cstdint>
#include <string>

#include "shell/font_settings.h"

class CAppSettings;
class CDirectories;
class CQuorvaneDoc;

// The thousands separator: the locale's when it is one character, else ','.
char ThousandsSeparatorFrom(const std::string& localeSeparator);
// `value` with `separator` before every group of three digits counted from the right (four digits
// or more).
std::string GroupThousands(uint64_t value, char separator);

// The texts of counts: "1,234,567 bytes"; an article count with "   (3 Private)" while private
// articles show; a reminder count less the private ones while they are hidden, else with the
// private count after it.
std::string FileSizeText(uint64_t bytes, char separator);
std::string ArticleCountText(int shown, int privateCount, bool privateHidden, char separator);
std::string ReminderCountText(int total, int privateCount, bool privateHidden, char separator);

// Whether leaving the Articles page must ask before the link location changes: the mode differs, or
// the specified path differs without regard to case.
bool LinkLocationChanged(int storedMode, const std::string& storedPath, int mode, const std::string& path);

// The answers the Privacy page's OK needs from the user.
class IPrivacyPrompts {
public:
    virtual ~IPrivacyPrompts() = default;
    // "Enter Your Password" while private articles are hidden; true when the file's password was given.
    virtual bool EnterPassword() = 0;
    // The Create Password dialog (a password set on OK); true when one was set.
    virtual bool CreatePassword() = 0;
    // A message of the string table.
    virtual void Inform(int messageId) = 0;
};

class CFilePropertiesModel {
public:
    // ---- Facts of the open file (Load) ----
    std::string m_path;
    uint64_t m_size = 0;
    int m_keywordCount = 0;
    int m_groupCount = 0;
    int m_shownArticleCount = 0;
    int m_privateArticleCount = 0;
    int m_reminderCount = 0;
    int m_privateReminderCount = 0;
    bool m_privateHidden = false;
    bool m_readOnly = false;
    std::string m_fileFolder;
    std::string m_attachmentsFolder;

    // ---- General ----
    std::string m_exportHeader;
    std::string m_comments;
    LogFont m_font;
    int m_autoColor = 1;
    int32_t m_color = 0;
    bool m_fontChanged = false;

    // ---- Articles ----
    int m_autoUpdateDates = 0;
    int m_wordWrap = 1;
    int m_linkMode = 0;  // 0 the Attachments folder, 1 the file's folder, 2 the specified path
    int m_saveFullPathnames = 1;
    std::string m_specifiedPath;
    int m_storedLinkMode = 0;
    std::string m_storedPath;

    // ---- Privacy ----
    bool m_protectAll = false;

    // Fills every field from the document, its settings and the data folders. Reads no article.
    void Load(CQuorvaneDoc& document, CAppSettings& settings, const CDirectories& directories);

    // Re-reads what changes while the sheet is up (the shown-article count after a password).
    void RefreshCounts(CQuorvaneDoc& document);

    std::string SizeText(char separator) const { return FileSizeText(m_size, separator); }
    std::string KeywordText(char separator) const { return GroupThousands(static_cast<uint64_t>(m_keywordCount), separator); }
    std::string GroupText(char separator) const { return GroupThousands(static_cast<uint64_t>(m_groupCount), separator); }
    std::string ArticleText(char separator) const
    {
        return ArticleCountText(m_shownArticleCount, m_privateArticleCount, m_privateHidden, separator);
    }
    std::string ReminderText(char separator) const
    {
        return ReminderCountText(m_reminderCount, m_privateReminderCount, m_privateHidden, separator);
    }
    // "<face>, 9 pt, Bold, Italic".
    std::string FontText(int pixelsPerInch) const { return DescribeFont(m_font, pixelsPerInch); }
    // The folder the Location static shows for `mode`.
    std::string LocationText(int mode) const;
    // A font chosen with the font dialog; a negative colour means automatic.
    void SetChosenFont(const LogFont& font, int32_t color);

    // ---- OK of each page (nothing while read-only) ----
    // The export header and comments only when their edits were modified; the font when changed.
    // True when the font changed (the caller recreates the list font and refreshes the windows).
    bool ApplyGeneral(CQuorvaneDoc& document, CAppSettings& settings, bool headerModified, bool commentsModified,
                      int pixelsPerInch) const;
    // Each setting written only when it differs from the stored one (the path without regard to case).
    void ApplyArticles(CAppSettings& settings) const;
    // The protect-all choice `protectAll`: applied when it is off or a password is available (given,
    // or created), else message 1313 and nothing changes. True when the file's protection changed
    // (the document must then be rewritten).
    bool ApplyPrivacy(CQuorvaneDoc& document, bool protectAll, IPrivacyPrompts& prompts) const;
};

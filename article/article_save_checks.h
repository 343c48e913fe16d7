// The checks an article passes before the article window stores it. They decide only: the window
// answers the questions (the title box, the content, the date and time fields, the keyword list)
// and carries out what the user must be shown (the messages, the keywords dialog).
//
// In order:
//   1. the title (trimmed); made from the first line of the content when the article keeps its
//      title equal to the first line, or, for a new article, when the title is empty or was never
//      edited and DefaultTitle is on; a made title that is empty leaves the title box alone
//   2. an empty title is refused (interactive: the frame is brought up and the user told)
//   3. new articles only, interactive: blank content asks Yes / No / Cancel; No discards the changes
//   4. with automatic date update allowed and on, a date and time the user did not edit become now
//   5. a date that does not read is refused (interactive: the user told, the date text selected)
//   6. new articles only, interactive: no keyword opens the keywords dialog; Cancel refuses
#pragma once
#include <string>

enum class BlankArticleAnswer { kYes, kNo, kCancel };

class IArticleSaveSubject {
public:
    virtual ~IArticleSaveSubject() = default;
    virtual std::string GetTitleText() = 0;
    virtual void SetTitleText(const std::string& title) = 0;
    // The user edited the title box since it was filled.
    virtual bool IsTitleEdited() = 0;
    // At most 20 words of the content's first non-blank line.
    virtual std::string MakeTitleFromContent() = 0;
    virtual bool IsContentEmpty() = 0;
    virtual void ShowTitleMissing() = 0;
    virtual BlankArticleAnswer AskSaveBlank() = 0;
    virtual bool IsDateOrTimeEdited() = 0;
    virtual void SetDateTimeToNow() = 0;
    virtual bool IsDateValid() = 0;
    virtual void ShowInvalidDate() = 0;
    virtual int GetKeywordCount() = 0;
    // The keywords dialog; false when cancelled.
    virtual bool ChooseKeywords() = 0;
};

struct ArticleSaveOptions {
    bool isNew = false;
    bool interactive = true;
    bool allowDateUpdate = true;
    bool keepTitle = false;         // the article's own keep-title flag
    bool defaultTitle = false;      // the DefaultTitle setting
    bool autoUpdateDates = false;   // the file's "update article dates to modification dates"
};

enum class ArticleSaveCheck {
    kProceed,    // store the article
    kRefused,    // nothing stored; the article keeps its changes
    kDiscarded,  // nothing stored; the user chose to drop the blank article's changes
};

ArticleSaveCheck RunArticleSaveChecks(const ArticleSaveOptions& options, IArticleSaveSubject& subject);

// Trims blanks (spaces and tabs) and line ends at both ends.
std::string TrimArticleText(const std::string& text);

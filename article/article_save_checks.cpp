#include "article/article_save_checks.h"

std::string TrimArticleText(const std::string& text)
{
    const char* blanks = " \t\r\n";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

ArticleSaveCheck RunArticleSaveChecks(const ArticleSaveOptions& options, IArticleSaveSubject& subject)
{
    std::string title = TrimArticleText(subject.GetTitleText());
    bool makeTitle = options.keepTitle;
    if (options.isNew && (title.empty() || !subject.IsTitleEdited()) && options.defaultTitle)
        makeTitle = true;
    if (makeTitle) {
        // An empty line made from the content never replaces what the user typed.
        std::string made = TrimArticleText(subject.MakeTitleFromContent());
        if (!made.empty()) {
            subject.SetTitleText(made);
            title = made;
        }
    }

    if (title.empty()) {
        if (options.interactive)
            subject.ShowTitleMissing();
        return ArticleSaveCheck::kRefused;
    }

    if (options.isNew && options.interactive && subject.IsContentEmpty()) {
        switch (subject.AskSaveBlank()) {
        case BlankArticleAnswer::kYes:
            break;
        case BlankArticleAnswer::kNo:
            return ArticleSaveCheck::kDiscarded;
        case BlankArticleAnswer::kCancel:
            return ArticleSaveCheck::kRefused;
        }
    }

    if (options.autoUpdateDates && options.allowDateUpdate && !subject.IsDateOrTimeEdited())
        subject.SetDateTimeToNow();

    if (!subject.IsDateValid()) {
        if (options.interactive)
            subject.ShowInvalidDate();
        return ArticleSaveCheck::kRefused;
    }

    if (options.isNew && options.interactive && subject.GetKeywordCount() == 0 && !subject.ChooseKeywords())
        return ArticleSaveCheck::kRefused;
    return ArticleSaveCheck::kProceed;
}

// The article window's portable decisions: where its children go, the splitter, the checks before
// a save, and the keyword moves and completion of the Keywords for Article dialog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "article/article_layout.h"
#include "article/article_save_checks.h"
#include "article/keyword_assignment.h"

namespace {

ArticleLayoutInput Input(int width, bool date, bool time)
{
    ArticleLayoutInput in;
    in.width = width;
    in.height = 400;
    in.dateTextWidth = 70;
    in.timeTextWidth = 60;
    in.scrollBarWidth = 16;
    in.buttonImageWidth = 16;
    in.textHeight = 14;
    in.timeTextHeight = 14;
    in.keywordLabelHeight = 13;
    in.keywordWidth = 100;
    in.gallerySize = 64;
    in.showDate = date;
    in.showTime = time;
    return in;
}

TEST(ArticleLayoutTest, TitleDateAndTimeShareTheHeaderRow)
{
    struct Case {
        int width;
        bool date, time;
        int title, dateX, timeX;
    };
    // D = 78, T = 88, B = 16.
    const Case cases[] = {
        {600, false, false, 600 - 102, 600 - 102 + 8, 600 - 102 + 8},
        {600, true, false, 600 - 102 - 16 - 78 - 8, 404, 404 + 78 + 16 + 8},
        {600, false, true, 600 - 102 - 88 - 4, 414, 414},
        {600, true, true, 600 - 102 - 102 - 92, 312, 312 + 102},
        // Too narrow for the date: the title keeps W - 102 and the rest stands right of it.
        {170, true, true, 68, 76, 76 + 102},
    };
    for (const Case& c : cases) {
        ArticleLayout layout = LayoutArticleWindow(Input(c.width, c.date, c.time));
        SCOPED_TRACE(c.width);
        EXPECT_EQ(layout.title, (ArticleRect{4, 2, c.title, 22}));
        EXPECT_EQ(layout.date.x, c.dateX);
        EXPECT_EQ(layout.calendarButton.x, c.dateX + 78 - 1);
        EXPECT_EQ(layout.calendarButton.width, 20);
        EXPECT_EQ(layout.time.x, c.timeX);
        EXPECT_EQ(layout.dateShown, c.date);
        EXPECT_EQ(layout.timeShown, c.time);
    }
}

TEST(ArticleLayoutTest, ContentKeywordListGalleryAndSplitter)
{
    ArticleLayoutInput in = Input(600, true, true);
    ArticleLayout layout = LayoutArticleWindow(in);
    EXPECT_EQ(layout.content, (ArticleRect{4, 28, 600 - 4 - 100 - 7, 400 - 12 - 28}));
    EXPECT_EQ(layout.keywordList, (ArticleRect{500, 28 + 13 + 4, 100, 388 - 45}));
    EXPECT_EQ(layout.galleryButton, (ArticleRect{149, 391, 596 - 149 - 149, 6}));

    in.galleryShown = true;
    ArticleLayout withGallery = LayoutArticleWindow(in);
    EXPECT_EQ(withGallery.content.Bottom(), 388 - 88);
    EXPECT_EQ(withGallery.gallery, (ArticleRect{4, 300 + 12, 592, 88}));
    EXPECT_EQ(withGallery.galleryButton.y, 303);

    // The splitter: on the gap only; released past the right edge the list gets no width, and the
    // dragged rectangle keeps inside the window.
    EXPECT_TRUE(IsOnSplitter(layout, 495, 100));
    EXPECT_FALSE(IsOnSplitter(layout, 492, 100));
    EXPECT_FALSE(IsOnSplitter(layout, 500, 100));
    EXPECT_EQ(KeywordWidthAfterSplit(layout, 400), 200);
    EXPECT_EQ(KeywordWidthAfterSplit(layout, 600), 0);
    EXPECT_EQ(KeywordWidthAfterSplit(layout, 900), 0);
    int low = 0, high = 0;
    SplitterLimits(layout, low, high);
    EXPECT_EQ(low, 4);
    EXPECT_EQ(high, 595);
    in.keywordWidth = 0;
    EXPECT_EQ(LayoutArticleWindow(in).content.width, 589);

    EXPECT_EQ(ArticleMarkRect(600, ArticleMark::kBookmark, 16, 15), (ArticleRect{576, 3, 16, 15}));
    EXPECT_EQ(ArticleMarkRect(600, ArticleMark::kReminder, 16, 15).x, 518);
}

// A window that answers the checks from fields and records what it was asked.
class FakeArticle : public IArticleSaveSubject {
public:
    std::string title, contentTitle;
    bool titleEdited = true, contentEmpty = false, dateTimeEdited = false, dateValid = true, chooseOk = true;
    int keywords = 1;
    BlankArticleAnswer blank = BlankArticleAnswer::kYes;
    std::vector<std::string> calls;

    std::string GetTitleText() override { return title; }
    void SetTitleText(const std::string& text) override { title = text, calls.push_back("title"); }
    bool IsTitleEdited() override { return titleEdited; }
    std::string MakeTitleFromContent() override { return contentTitle; }
    bool IsContentEmpty() override { return contentEmpty; }
    void ShowTitleMissing() override { calls.push_back("11101"); }
    BlankArticleAnswer AskSaveBlank() override { return calls.push_back("11102"), blank; }
    bool IsDateOrTimeEdited() override { return dateTimeEdited; }
    void SetDateTimeToNow() override { calls.push_back("now"); }
    bool IsDateValid() override { return dateValid; }
    void ShowInvalidDate() override { calls.push_back("11100"); }
    int GetKeywordCount() override { return keywords; }
    bool ChooseKeywords() override { return calls.push_back("keywords"), chooseOk; }
};

TEST(ArticleSaveChecksTest, TableOfChecks)
{
    struct Case {
        const char* name;
        void (*setUp)(FakeArticle&, ArticleSaveOptions&);
        ArticleSaveCheck result;
        std::vector<std::string> calls;
        const char* title;
    };
    using A = FakeArticle;
    using O = ArticleSaveOptions;
    const Case cases[] = {
        {"plain new article", [](A&, O&) {}, ArticleSaveCheck::kProceed, {}, "Mine"},
        {"empty title, DefaultTitle on: from the content",
         [](A& a, O& o) { a.title = "  ", a.contentTitle = "Hello world", o.defaultTitle = true; },
         ArticleSaveCheck::kProceed, {"title"}, "Hello world"},
        {"untouched title, DefaultTitle on: from the content",
         [](A& a, O& o) { a.titleEdited = false, a.contentTitle = "First line", o.defaultTitle = true; },
         ArticleSaveCheck::kProceed, {"title"}, "First line"},
        {"empty title, DefaultTitle off", [](A& a, O&) { a.title = "", a.contentTitle = "Hello"; },
         ArticleSaveCheck::kRefused, {"11101"}, ""},
        {"empty title, quiet: refused without a word", [](A& a, O& o) { a.title = " ", o.interactive = false; },
         ArticleSaveCheck::kRefused, {}, " "},
        {"empty title and empty first line", [](A& a, O& o) { a.title = "", o.defaultTitle = true; },
         ArticleSaveCheck::kRefused, {"11101"}, ""},
        {"blank, Yes", [](A& a, O&) { a.contentEmpty = true; }, ArticleSaveCheck::kProceed, {"11102"}, "Mine"},
        {"blank, No", [](A& a, O&) { a.contentEmpty = true, a.blank = BlankArticleAnswer::kNo; },
         ArticleSaveCheck::kDiscarded, {"11102"}, "Mine"},
        {"blank, Cancel", [](A& a, O&) { a.contentEmpty = true, a.blank = BlankArticleAnswer::kCancel; },
         ArticleSaveCheck::kRefused, {"11102"}, "Mine"},
        {"blank stored article: no question", [](A& a, O& o) { a.contentEmpty = true, o.isNew = false; },
         ArticleSaveCheck::kProceed, {}, "Mine"},
        {"bad date", [](A& a, O&) { a.dateValid = false; }, ArticleSaveCheck::kRefused, {"11100"}, "Mine"},
        {"bad date, quiet", [](A& a, O& o) { a.dateValid = false, o.interactive = false; },
         ArticleSaveCheck::kRefused, {}, "Mine"},
        {"automatic dates", [](A&, O& o) { o.autoUpdateDates = true; }, ArticleSaveCheck::kProceed, {"now"}, "Mine"},
        {"automatic dates, date typed by the user",
         [](A& a, O& o) { o.autoUpdateDates = true, a.dateTimeEdited = true; }, ArticleSaveCheck::kProceed, {}, "Mine"},
        {"automatic dates not allowed", [](A&, O& o) { o.autoUpdateDates = true, o.allowDateUpdate = false; },
         ArticleSaveCheck::kProceed, {}, "Mine"},
        {"no keyword, chosen", [](A& a, O&) { a.keywords = 0; }, ArticleSaveCheck::kProceed, {"keywords"}, "Mine"},
        {"no keyword, cancelled", [](A& a, O&) { a.keywords = 0, a.chooseOk = false; }, ArticleSaveCheck::kRefused,
         {"keywords"}, "Mine"},
        {"no keyword, quiet", [](A& a, O& o) { a.keywords = 0, o.interactive = false; }, ArticleSaveCheck::kProceed,
         {}, "Mine"},
        {"no keyword, stored article", [](A& a, O& o) { a.keywords = 0, o.isNew = false; }, ArticleSaveCheck::kProceed,
         {}, "Mine"},
        {"stored article keeps an untouched title",
         [](A& a, O& o) { a.titleEdited = false, a.contentTitle = "Other", o.defaultTitle = true, o.isNew = false; },
         ArticleSaveCheck::kProceed, {}, "Mine"},
        {"keep-title flag on a stored article",
         [](A& a, O& o) { a.contentTitle = "Other", o.keepTitle = true, o.isNew = false; }, ArticleSaveCheck::kProceed,
         {"title"}, "Other"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeArticle article;
        article.title = "Mine";
        ArticleSaveOptions options;
        options.isNew = true;
        c.setUp(article, options);
        EXPECT_EQ(RunArticleSaveChecks(options, article), c.result);
        EXPECT_EQ(article.calls, c.calls);
        EXPECT_EQ(article.title, c.title);
    }
}

CKeywordIdSet Ids(std::vector<int32_t> values)
{
    CKeywordIdSet set;
    for (int32_t v : values)
        set.Add(v);
    return set;
}

TEST(KeywordAssignmentTest, MovesKeepBothSidesApartAndPendingKeywordsOutOfAvailable)
{
    CKeywordAssignment model;
    model.Init(Ids({1, 2, 3, 4}), Ids({2}));
    EXPECT_EQ(model.Available().Values(), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_FALSE(model.IsChanged());

    EXPECT_EQ(model.Assign(Ids({1, 2, 9})).Values(), (std::vector<int32_t>{1}));  // only what is available
    EXPECT_EQ(model.Assigned().Values(), (std::vector<int32_t>{1, 2}));
    EXPECT_TRUE(model.IsChanged());

    // A new name typed: a pending id, assigned; removed again it is not available.
    EXPECT_TRUE(model.AddTyped(-5));
    EXPECT_FALSE(model.AddTyped(kNoneId));
    EXPECT_EQ(model.Unassign(Ids({-5, 1})).Values(), (std::vector<int32_t>{-5, 1}));
    EXPECT_EQ(model.Available().Values(), (std::vector<int32_t>{1, 3, 4}));
    EXPECT_EQ(model.Assigned().Values(), (std::vector<int32_t>{2}));

    // A typed existing name leaves the available side.
    model.AddTyped(3);
    model.AddTyped(-6);
    EXPECT_EQ(model.Available().Values(), (std::vector<int32_t>{1, 4}));
    EXPECT_EQ(model.Clear().GetSize(), 3);
    EXPECT_EQ(model.Assigned().GetSize(), 0);
    EXPECT_EQ(model.Available().Values(), (std::vector<int32_t>{1, 2, 3, 4}));
}

TEST(KeywordAssignmentTest, CompletionOnlyWhileTheTextGrows)
{
    std::vector<std::string> names = {"alpha", "Beta", "bETAMAX", "gamma"};
    auto at = [&](int i) -> const std::string& { return names[static_cast<size_t>(i)]; };
    int typed = 0;
    EXPECT_EQ(FindKeywordCompletion("b", typed, 4, at), 1);
    EXPECT_EQ(FindKeywordCompletion("BE", typed, 4, at), 1);
    EXPECT_EQ(typed, 2);
    // Backspace: shorter text completes no more, nor does the same length again.
    EXPECT_EQ(FindKeywordCompletion("B", typed, 4, at), -1);
    EXPECT_EQ(FindKeywordCompletion("B", typed, 4, at), -1);
    EXPECT_EQ(FindKeywordCompletion("BetaM", typed, 4, at), 2);
    EXPECT_EQ(FindKeywordCompletion("betamaxx", typed, 4, at), -1);
    typed = 0;
    EXPECT_EQ(FindKeywordCompletion("delta", typed, 4, at), -1);
    EXPECT_EQ(typed, 5);
    typed = 0;
    EXPECT_EQ(FindKeywordCompletion("", typed, 4, at), -1);
    // The code page's own letters fold too: "\xE9T" completes "\xC9t\xE9", not "Etat".
    std::vector<std::string> accented = {"Etat", "\xC9t\xE9", "\xC9tude"};
    auto accentedAt = [&](int i) -> const std::string& { return accented[static_cast<size_t>(i)]; };
    typed = 0;
    EXPECT_EQ(FindKeywordCompletion("\xE9T", typed, 3, accentedAt), 1);
    EXPECT_EQ(FindKeywordCompletion("\xE9TU", typed, 3, accentedAt), 2);
}

}  // namespace

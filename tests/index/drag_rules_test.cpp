#include "index/drag_rules.h"

#include <gtest/gtest.h>

namespace {

using F = DropWindowFacts;

DropWindowFacts Facts(unsigned classes, bool isSourceParent = false)
{
    DropWindowFacts facts;
    facts.classes = classes;
    facts.isSourceParent = isSourceParent;
    return facts;
}

TEST(DragRules, TargetKindOfEachWindow)
{
    const unsigned keywordList = F::kDragList | F::kKeywordList;
    const unsigned groupList = F::kDragList | F::kGroupList;
    const DropWindowFacts indexView = Facts(F::kIndexView);
    const DropWindowFacts articleView = Facts(F::kArticleView);
    const DropWindowFacts dialog = Facts(0, true);       // the dragged list's own parent
    const DropWindowFacts otherDialog = Facts(0, false);
    struct Case {
        const char* name;
        bool hasWindow;
        DropWindowFacts window;
        bool hasParent;
        DropWindowFacts parent;
        DropKind expected;
    };
    const Case cases[] = {
        {"no window", false, {}, false, {}, DropKind::kNone},
        {"selected list, before the keyword-list test", true, Facts(keywordList | F::kSelectedKeywords), true, indexView,
         DropKind::kSelectedKeywords},
        {"keyword preview, before the keyword-list test", true, Facts(keywordList | F::kKeywordPreview), true, indexView,
         DropKind::kKeywordPreview},
        {"keyword list of the index view", true, Facts(keywordList), true, indexView, DropKind::kIndexKeywordList},
        {"group list of the index view", true, Facts(groupList), true, indexView, DropKind::kIndexGroupList},
        {"another drag list in the index view", true, Facts(F::kDragList), true, indexView, DropKind::kNone},
        {"drag list without parent", true, Facts(keywordList), false, {}, DropKind::kNone},
        {"keyword list in an article view", true, Facts(keywordList), true, articleView, DropKind::kArticleWindow},
        {"keyword list beside the dragged one", true, Facts(keywordList), true, dialog, DropKind::kSiblingKeywordList},
        {"group list beside the dragged one", true, Facts(groupList), true, dialog, DropKind::kSiblingGroupList},
        {"keyword list of another dialog", true, Facts(keywordList), true, otherDialog, DropKind::kNone},
        {"article view itself", true, Facts(F::kArticleView), true, Facts(0), DropKind::kArticleWindow},
        {"article view that holds the dragged list", true, Facts(F::kArticleView, true), true, Facts(0), DropKind::kNone},
        {"window inside an article view", true, Facts(0), true, articleView, DropKind::kArticleWindow},
        {"window inside the article view of the dragged list", true, Facts(0), true, Facts(F::kArticleView, true),
         DropKind::kNone},
        {"titles list of the index view", true, Facts(F::kArticleList), true, indexView, DropKind::kIndexTitleList},
        {"titles list of a dialog", true, Facts(F::kArticleList), true, otherDialog, DropKind::kNone},
        {"plain window without parent", true, Facts(0), false, {}, DropKind::kNone},
    };
    for (const Case& test : cases) {
        DropKind kind = GetTargetKind(test.hasWindow ? &test.window : nullptr, test.hasParent ? &test.parent : nullptr);
        EXPECT_EQ(static_cast<int>(kind), static_cast<int>(test.expected)) << test.name;
    }
}

TEST(DragRules, TwoPixelsStartNoDragThreeDo)
{
    struct Case {
        int dx, dy;
        bool drag;
    };
    const Case cases[] = {{0, 0, false}, {2, 2, false}, {-2, -2, false}, {2, -2, false}, {3, 0, true},
                          {0, 3, true},  {-3, 0, true}, {0, -3, true},   {3, 3, true}};
    for (const Case& test : cases)
        EXPECT_EQ(PassesDragThreshold(test.dx, test.dy), test.drag) << test.dx << "," << test.dy;
}

TEST(DragRules, DeferredClickByModifier)
{
    EXPECT_EQ(DeferredClickFor(false, false), DeferredClick::kHighlightOnly);
    EXPECT_EQ(DeferredClickFor(true, false), DeferredClick::kToggle);
    EXPECT_EQ(DeferredClickFor(true, true), DeferredClick::kToggle);
    EXPECT_EQ(DeferredClickFor(false, true), DeferredClick::kNothing);
}

}  // namespace

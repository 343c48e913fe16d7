#include "index/drag_rules.h"

// The Selected list and the keyword preview are keyword lists inside the index view themselves, so
// they are recognised before the general keyword-list test.
DropKind GetTargetKind(const DropWindowFacts* window, const DropWindowFacts* parent)
{
    using F = DropWindowFacts;
    if (!window)
        return DropKind::kNone;
    if (window->Is(F::kSelectedKeywords))
        return DropKind::kSelectedKeywords;
    if (window->Is(F::kKeywordPreview))
        return DropKind::kKeywordPreview;
    if (window->Is(F::kDragList)) {
        if (!parent)
            return DropKind::kNone;
        if (parent->Is(F::kIndexView)) {
            if (window->Is(F::kKeywordList))
                return DropKind::kIndexKeywordList;
            return window->Is(F::kGroupList) ? DropKind::kIndexGroupList : DropKind::kNone;
        }
        if (parent->Is(F::kArticleView))
            return DropKind::kArticleWindow;
        if (parent->isSourceParent) {
            if (window->Is(F::kKeywordList))
                return DropKind::kSiblingKeywordList;
            return window->Is(F::kGroupList) ? DropKind::kSiblingGroupList : DropKind::kNone;
        }
        return DropKind::kNone;
    }
    if (window->Is(F::kArticleView) && !window->isSourceParent)
        return DropKind::kArticleWindow;
    if (!parent)
        return DropKind::kNone;
    if (parent->Is(F::kArticleView) && !parent->isSourceParent)
        return DropKind::kArticleWindow;
    if (window->Is(F::kArticleList) && parent->Is(F::kIndexView))
        return DropKind::kIndexTitleList;
    return DropKind::kNone;
}

#include "index/index_selection.h"

#include <algorithm>
#include <new>

#include "framework/string_table.h"
#include "index/current_query.h"
#include "resources/resource.h"
#include "storage/quor_error.h"

namespace {

// True when the two ascending sets share an id: walks the smaller one and searches the larger.
bool Meets(const std::vector<int32_t>& a, const std::vector<int32_t>& b)
{
    const std::vector<int32_t>& small = a.size() <= b.size() ? a : b;
    const std::vector<int32_t>& large = a.size() <= b.size() ? b : a;
    if (small.empty() || small.back() < large.front() || large.back() < small.front())
        return false;
    auto from = large.begin();
    for (int32_t id : small) {
        from = std::lower_bound(from, large.end(), id);
        if (from == large.end())
            return false;
        if (*from == id)
            return true;
    }
    return false;
}

// True when every id of the ascending `part` is in the ascending `whole`.
bool Includes(const std::vector<int32_t>& whole, const std::vector<int32_t>& part)
{
    if (part.size() > whole.size())
        return false;
    return std::includes(whole.begin(), whole.end(), part.begin(), part.end());
}

// Holds the window's wait cursor for one scope.
class CWaitScope {
public:
    explicit CWaitScope(CIndexPanes& panes) : m_panes(panes) { m_panes.BeginWaitCursor(); }
    ~CWaitScope() { m_panes.EndWaitCursor(); }
    CWaitScope(const CWaitScope&) = delete;
    CWaitScope& operator=(const CWaitScope&) = delete;

private:
    CIndexPanes& m_panes;
};

}  // namespace

CIndexSelection::CIndexSelection(CIndexPanes& panes, IndexDisplayValues& values) : m_panes(panes), m_values(values) {}

template <class Step>
bool CIndexSelection::Guarded(Step step)
{
    try {
        step();
        return true;
    } catch (const CQuorError& error) {
        m_panes.ReportError(error);
    } catch (const std::bad_alloc&) {
        m_panes.ReportOutOfMemory();
    }
    return false;
}

// ---- Captions ----

std::string CIndexSelection::TitlesCaption(int mode, int listed, int shown)
{
    mode = std::clamp(mode, 0, 9);
    return QuorFormatArgs(QuorLoadString(IDS_TITLES_CAPTION_FIRST + mode), {std::to_string(listed), std::to_string(shown)});
}

std::string CIndexSelection::IndexCaption(int shownIndexMode)
{
    return QuorLoadString(shownIndexMode == 1 ? IDS_INDEX_CAPTION_RELATED : IDS_INDEX_CAPTION_ALL);
}

std::string CIndexSelection::SelectedCaption(int andOrMode)
{
    return QuorLoadString(andOrMode == 1 ? IDS_SELECTED_CAPTION_OR : IDS_SELECTED_CAPTION_AND);
}

void CIndexSelection::UpdateTitlesCaption()
{
    if (m_batchDepth > 0) {
        m_batchListChanged = true;
        return;
    }
    int shown = m_data ? m_data->GetShownArticleCount() : 0;
    m_panes.SetTitlesCaption(TitlesCaption(m_titlesMode, m_panes.GetTitleCount(), shown));
}

void CIndexSelection::UpdateCaptions()
{
    m_panes.SetIndexCaption(IndexCaption(m_shownIndexMode));
    m_panes.SetSelectedCaption(SelectedCaption(m_andOr));
    UpdateTitlesCaption();
}

void CIndexSelection::SetTitlesMode(int mode)
{
    m_titlesMode = mode;
    UpdateTitlesCaption();
}

// ---- Sets ----

bool CIndexSelection::IsHiddenPrivate(int32_t id)
{
    return m_data && m_data->ArePrivateArticlesHidden() && m_data->IsArticlePrivate(id);
}

void CIndexSelection::CutToShown(CArticleIdSet& ids)
{
    if (!m_data || m_data->GetPrivateCount() <= 0 || !m_data->ArePrivateArticlesHidden())
        return;
    std::vector<int32_t>& values = ids.Values();
    values.erase(std::remove_if(values.begin(), values.end(), [this](int32_t id) { return m_data->IsArticlePrivate(id); }),
                 values.end());
}

void CIndexSelection::ComputeSelection(const CKeywordIdSet& keywords, CArticleIdSet& out)
{
    out.RemoveAll();
    bool first = true;
    CArticleIdSet articles;
    for (int32_t keyword : keywords.Values()) {
        if (keyword < 0)
            continue;  // a keyword not stored yet carries no articles
        m_data->GetKeywordArticleIds(keyword, articles);
        if (first)
            out.Copy(articles);
        else if (m_andOr == 1)
            out.Union(articles);
        else
            out.Intersect(articles);
        first = false;
    }
    CutToShown(out);
}

void CIndexSelection::CombineWith(CArticleIdSet& titles, const CKeywordIdSet& keywords)
{
    CArticleIdSet articles;
    for (int32_t keyword : keywords.Values()) {
        if (keyword < 0)
            continue;
        m_data->GetKeywordArticleIds(keyword, articles);
        if (m_andOr == 1)
            titles.Union(articles);
        else
            titles.Intersect(articles);
    }
    CutToShown(titles);
}

// ---- Showing titles ----

void CIndexSelection::ShowTitles(const CArticleIdSet& ids)
{
    m_panes.SetTitles(ids);
    RecomputeRelatedIndex();
    RefreshPreviews();
    UpdateTitlesCaption();
}

void CIndexSelection::ShowResult(const CArticleIdSet& ids, int mode)
{
    Guarded([&] {
        CArticleIdSet shown;
        shown.Copy(ids);
        CutToShown(shown);
        ShowTitles(shown);
        SetTitlesMode(mode);
    });
}

void CIndexSelection::Start(int andOrMode)
{
    m_andOr = andOrMode != 0 ? 1 : 0;
    m_shownIndexMode = m_andOr ? 0 : m_values.indexMode;
    if (!m_data) {
        UpdateCaptions();
        return;
    }
    Guarded([&] {
        CKeywordIdSet keywords;
        m_data->GetAllKeywordIds(keywords);
        m_panes.SetKeywords(KeywordPane::kIndex, keywords);
        int initList = m_panes.GetInitList();
        CArticleIdSet titles;
        int mode = kTitlesAll;
        if (initList == 1) {
            m_data->GetBookmarkedIds(titles);
            mode = kTitlesBookmarked;
        } else if (initList == 2) {
            mode = kTitlesNone;
        } else {
            m_data->GetAllArticleIds(titles);
        }
        m_titlesMode = mode;
        ShowTitles(titles);
    });
    UpdateCaptions();
}

void CIndexSelection::ClearSelectedKeywords()
{
    CKeywordIdSet selected;
    m_panes.GetKeywords(KeywordPane::kSelected, selected);
    if (selected.GetSize() == 0)
        return;
    m_panes.AddAndSelectKeywords(KeywordPane::kIndex, selected);
    m_panes.SetKeywords(KeywordPane::kSelected, CKeywordIdSet());
}

void CIndexSelection::ShowStartList(int mode, void (CQuerySource::*read)(CArticleIdSet&))
{
    if (m_titlesMode == mode || !m_data)
        return;
    CWaitScope wait(m_panes);
    Guarded([&] {
        CArticleIdSet ids;
        (m_data->*read)(ids);
        CutToShown(ids);
        ClearSelectedKeywords();
        ShowTitles(ids);
        SetTitlesMode(mode);
    });
}

void CIndexSelection::ShowAllTitles()
{
    ShowStartList(kTitlesAll, &CQuerySource::GetAllArticleIds);
}

void CIndexSelection::ShowBookmarkedTitles()
{
    ShowStartList(kTitlesBookmarked, &CQuerySource::GetBookmarkedIds);
}

void CIndexSelection::ShowArticlesWithAttachments()
{
    if (m_titlesMode == kTitlesAttachments || !m_data)
        return;
    CWaitScope wait(m_panes);
    Guarded([&] {
        ClearSelectedKeywords();
        CCurrentQuery query(m_data);
        CArticleIdSet found;
        if (!query.Compile("Attachments") || !query.Run(found))
            return;
        CutToShown(found);
        ShowTitles(found);
        SetTitlesMode(kTitlesAttachments);
    });
}

// ---- Keyword steps ----

void CIndexSelection::SelectArticlesByKeywords(const CKeywordIdSet& keywords)
{
    if (!m_data)
        return;
    if (keywords.GetSize() == 0) {
        switch (m_panes.GetInitList()) {
        case 0: ShowAllTitles(); break;
        case 1: ShowBookmarkedTitles(); break;
        case 2:
            Guarded([&] {
                m_panes.SetTitles(CArticleIdSet());
                RefreshPreviews();
                SetTitlesMode(kTitlesNone);
                RecomputeRelatedIndex();
            });
            break;
        default: break;
        }
        return;
    }
    Guarded([&] {
        CArticleIdSet titles;
        ComputeSelection(keywords, titles);
        ShowTitles(titles);
        SetTitlesMode(kTitlesSelected);
    });
}

void CIndexSelection::AddKeywordsToSelection(const CKeywordIdSet& keywords)
{
    if (!m_data || keywords.GetSize() == 0)
        return;
    Guarded([&] {
        CKeywordIdSet selected;
        m_panes.GetKeywords(KeywordPane::kSelected, selected);
        CArticleIdSet titles;
        if (selected.GetSize() == 0) {
            ComputeSelection(keywords, titles);
        } else {
            m_panes.GetTitles(titles);
            CombineWith(titles, keywords);
        }
        m_panes.AddAndSelectKeywords(KeywordPane::kSelected, keywords);
        m_panes.RemoveKeywords(KeywordPane::kIndex, keywords);
        ShowTitles(titles);
        SetTitlesMode(kTitlesSelected);
    });
}

void CIndexSelection::MoveToSelected()
{
    CKeywordIdSet moved;
    m_panes.GetHighlightedKeywords(KeywordPane::kIndex, moved);
    AddKeywordsToSelection(moved);
}

void CIndexSelection::MoveToIndex()
{
    if (!m_data)
        return;
    CKeywordIdSet moved;
    m_panes.GetHighlightedKeywords(KeywordPane::kSelected, moved);
    if (moved.GetSize() == 0)
        return;
    CKeywordIdSet remaining;
    m_panes.GetKeywords(KeywordPane::kSelected, remaining);
    remaining.Subtract(moved);
    if (remaining.GetSize() == 0) {
        m_panes.AddAndSelectKeywords(KeywordPane::kIndex, moved);
        m_panes.RemoveHighlightedKeywords(KeywordPane::kSelected);
        SelectArticlesByKeywords(remaining);
        return;
    }
    Guarded([&] {
        CArticleIdSet titles;
        ComputeSelection(remaining, titles);
        m_panes.AddAndSelectKeywords(KeywordPane::kIndex, moved);
        m_panes.RemoveHighlightedKeywords(KeywordPane::kSelected);
        ShowTitles(titles);
        SetTitlesMode(kTitlesSelected);
    });
}

// ---- Modes ----

void CIndexSelection::SetAndOrMode(int mode)
{
    mode = mode != 0 ? 1 : 0;
    if (mode == m_andOr)
        return;
    m_andOr = mode;
    CKeywordIdSet selected;
    m_panes.GetKeywords(KeywordPane::kSelected, selected);
    if (selected.GetSize() > 0)
        SelectArticlesByKeywords(selected);
    SetIndexMode(m_values.indexMode);
    m_panes.SetIndexCaption(IndexCaption(m_shownIndexMode));
    m_panes.SetSelectedCaption(SelectedCaption(m_andOr));
}

void CIndexSelection::SetIndexMode(int requested)
{
    m_values.indexMode = requested;
    int shown = m_andOr == 1 ? 0 : requested;
    if (shown == m_shownIndexMode)
        return;
    m_shownIndexMode = shown;
    Guarded([&] {
        if (shown == 1) {
            RecomputeRelatedIndex();
        } else if (m_data) {
            CKeywordIdSet keywords, selected;
            m_data->GetAllKeywordIds(keywords);
            m_panes.GetKeywords(KeywordPane::kSelected, selected);
            keywords.Subtract(selected);
            m_panes.SetKeywords(KeywordPane::kIndex, keywords);
        }
    });
    m_panes.SetIndexCaption(IndexCaption(m_shownIndexMode));
    m_panes.SetSelectedCaption(SelectedCaption(m_andOr));
}

void CIndexSelection::CycleIndexMode()
{
    if (m_andOr == 1)
        return;
    if (m_values.indexMode == 0)
        SetIndexMode(1);
    else if (m_values.indexMode == 1)
        SetIndexMode(0);
}

// ---- The related index, the group filter and the previews ----

void CIndexSelection::RelatedKeywords(const CArticleIdSet& articles, const CKeywordIdSet& selected, CKeywordIdSet& out)
{
    out.RemoveAll();
    if (!m_data || articles.GetSize() == 0)
        return;
    // Either each listed article's keywords, or each keyword whose articles meet the listed ones:
    // the same set while the links hold both ways. Reading few articles beats reading every
    // keyword; many articles (a popular keyword, all titles) are answered from the keywords.
    int keywordCount = m_data->GetKeywordCount();
    if (articles.GetSize() * 4 < keywordCount) {
        CKeywordIdSet keywords;
        const std::vector<int32_t>& ids = articles.Values();
        for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
            m_data->GetArticleKeywordIds(*it, keywords);
            out.Union(keywords);
        }
    } else {
        CKeywordIdSet all;
        m_data->GetAllKeywordIds(all);
        all.Subtract(selected);
        CArticleIdSet carrying;
        std::vector<int32_t> related;
        for (int32_t keyword : all.Values()) {
            m_data->GetKeywordArticleIds(keyword, carrying);
            if (Meets(carrying.Values(), articles.Values()))
                related.push_back(keyword);
        }
        out.Copy(related);
    }
    out.Subtract(selected);
}

void CIndexSelection::RecomputeRelatedIndex()
{
    if (m_shownIndexMode != 1 || !m_data)
        return;
    CWaitScope wait(m_panes);
    CArticleIdSet titles;
    m_panes.GetTitles(titles);
    CKeywordIdSet selected, related;
    m_panes.GetKeywords(KeywordPane::kSelected, selected);
    RelatedKeywords(titles, selected, related);
    m_panes.SetKeywords(KeywordPane::kIndex, related);
}

void CIndexSelection::RecomputeGroupFilter()
{
    if (!m_values.groupVisible) {
        m_panes.RefreshIndexFilter(false);
        return;
    }
    Guarded([&] {
        CGroupIdSet groups;
        m_panes.GetHighlightedGroups(groups);
        CKeywordIdSet filter, members;
        if (m_data) {
            for (int32_t group : groups.Values()) {
                m_data->GetGroupKeywordIds(group, members);
                filter.Union(members);
            }
        }
        m_panes.SetIndexFilter(filter, true, groups.GetSize() == 0);
    });
}

void CIndexSelection::CommonKeywords(const CArticleIdSet& articles, CKeywordIdSet& out)
{
    out.RemoveAll();
    if (!m_data || articles.GetSize() == 0)
        return;
    // The keywords of one article are the candidates; a candidate stays when its own article set
    // holds every highlighted article (the two-way links make that the same as reading each one).
    CKeywordIdSet candidates;
    m_data->GetArticleKeywordIds(articles.GetAt(0), candidates);
    if (articles.GetSize() == 1) {
        out.Copy(candidates);
        return;
    }
    std::vector<int32_t> common;
    CArticleIdSet carrying;
    for (int32_t keyword : candidates.Values()) {
        if (keyword < 0)
            continue;
        m_data->GetKeywordArticleIds(keyword, carrying);
        if (Includes(carrying.Values(), articles.Values()))
            common.push_back(keyword);
    }
    out.Copy(common);
}

void CIndexSelection::FillKeywordPreview()
{
    CArticleIdSet highlighted;
    m_panes.GetHighlightedTitles(highlighted);
    CKeywordIdSet common;
    CommonKeywords(highlighted, common);
    CKeywordIdSet listed;
    m_panes.GetKeywords(KeywordPane::kPreview, listed);
    if (listed.Values() != common.Values())
        m_panes.SetKeywords(KeywordPane::kPreview, common);
}

void CIndexSelection::RefreshPreviews()
{
    if (m_values.previewOn & 1)
        m_panes.ShowArticlePreview(m_panes.GetOnlyHighlightedTitle(), false);
    if (m_values.previewOn & 2)
        Guarded([&] { FillKeywordPreview(); });
}

// ---- Keeping the titles in step ----

void CIndexSelection::PlaceTitle(int32_t id, bool highlight)
{
    FlushBatchRemovals();
    // In a batch a listed title stays where it is (a changed title or date has placed it again
    // already); the list is repainted at the batch's end.
    if (m_batchDepth > 0 && m_panes.HasTitle(id)) {
        m_panes.InsertTitle(id, highlight);
        m_batchRepaint = true;
        return;
    }
    if (m_panes.HasTitle(id))
        m_panes.MoveTitle(id, highlight);
    else
        m_panes.InsertTitle(id, highlight);
}

void CIndexSelection::PlaceOrRemove(int32_t id, bool listed, bool highlight)
{
    if (listed && !IsHiddenPrivate(id))
        PlaceTitle(id, highlight);
    else if (m_panes.HasTitle(id))
        RemoveListedTitle(id);
}

void CIndexSelection::RemoveListedTitle(int32_t id)
{
    if (m_batchDepth == 0) {
        m_panes.RemoveTitle(id);
        return;
    }
    m_batchRemovals.push_back(id);
    m_batchListChanged = true;
}

void CIndexSelection::FlushBatchRemovals()
{
    if (m_batchRemovals.empty())
        return;
    CArticleIdSet ids;
    ids.Copy(m_batchRemovals);
    ids.Sort();
    m_batchRemovals.clear();
    m_panes.RemoveTitles(ids);
}

void CIndexSelection::EndTitleBatch()
{
    if (m_batchDepth <= 0 || --m_batchDepth > 0)
        return;
    bool resort = m_batchResort, repaint = m_batchRepaint, changed = m_batchListChanged;
    bool reminders = m_batchReminders;
    m_batchResort = m_batchRepaint = m_batchListChanged = m_batchReminders = false;
    CArticleIdSet moved;
    moved.Copy(m_batchMoved);
    moved.Sort();
    m_batchMoved.clear();
    Guarded([&] {
        FlushBatchRemovals();
        if (resort)
            m_panes.RepositionTitles(moved);
        else if (repaint)
            m_panes.RepaintTitles();
        if (reminders)
            m_panes.RemindersChanged();
        if (changed || resort || repaint) {
            RecomputeRelatedIndex();
            UpdateTitlesCaption();
            RefreshPreviews();
        }
    });
}

// Lists that keep what they found (Find, an outdated query) never keep a title that must stay hidden.
void CIndexSelection::DropIfHidden(int32_t id)
{
    if (IsHiddenPrivate(id) && m_panes.HasTitle(id))
        RemoveListedTitle(id);
}

void CIndexSelection::QueryTest(int32_t id)
{
    CCurrentQuery* query = m_panes.GetCurrentQuery();
    if (!m_panes.GetAutoUpdateQuery() || !query) {
        SetTitlesMode(kTitlesQueryOutdated);
        return;
    }
    PlaceOrRemove(id, query->TestArticle(id), false);
    UpdateTitlesCaption();
}

void CIndexSelection::AutoRerunQuery()
{
    CCurrentQuery* query = m_panes.GetCurrentQuery();
    if (!m_panes.GetAutoUpdateQuery() || !query || !query->IsValid())
        return;
    CArticleIdSet found;
    if (!query->Run(found))
        return;
    CutToShown(found);
    ShowTitles(found);
    SetTitlesMode(kTitlesQuery);
}

void CIndexSelection::UpdateTitleForArticle(int32_t id, const CKeywordIdSet& keywords, bool highlight)
{
    if (!m_data)
        return;
    Guarded([&] {
        switch (m_titlesMode) {
        case kTitlesAll: PlaceOrRemove(id, true, highlight); break;
        case kTitlesBookmarked: PlaceOrRemove(id, m_data->IsBookmarked(id), highlight); break;
        case kTitlesSelected: {
            CKeywordIdSet selected;
            m_panes.GetKeywords(KeywordPane::kSelected, selected);
            bool matches;
            if (m_andOr == 1)
                matches = Meets(keywords.Values(), selected.Values());
            else
                matches = selected.GetSize() > 0 && Includes(keywords.Values(), selected.Values());
            PlaceOrRemove(id, matches, highlight);
            break;
        }
        case kTitlesFound:
            DropIfHidden(id);
            SetTitlesMode(kTitlesFoundOutdated);
            break;
        case kTitlesQuery: QueryTest(id); break;
        case kTitlesQueryOutdated:
            DropIfHidden(id);
            AutoRerunQuery();
            break;
        case kTitlesAttachments: PlaceOrRemove(id, m_data->GetArticleAttachmentCount(id) > 0, highlight); break;
        default: DropIfHidden(id); break;
        }
        if (m_batchDepth > 0) {
            m_batchListChanged = true;
            return;
        }
        UpdateTitlesCaption();
        RefreshPreviews();
        RecomputeRelatedIndex();
    });
}

void CIndexSelection::RemoveArticleTitle(int32_t id)
{
    if (!m_panes.HasTitle(id))
        return;
    RemoveListedTitle(id);
    if (m_batchDepth > 0)
        return;
    UpdateTitlesCaption();
    RefreshPreviews();
}

void CIndexSelection::BookmarkChanged(int32_t id)
{
    if (!m_data)
        return;
    if (m_titlesMode == kTitlesBookmarked) {
        PlaceOrRemove(id, m_data->IsBookmarked(id), false);
        if (m_batchDepth > 0) {
            m_batchListChanged = true;
            return;
        }
        RefreshPreviews();
        UpdateTitlesCaption();
    } else {
        if (m_titlesMode == kTitlesQuery)
            QueryTest(id);
        int order = m_data->GetSortOrder();
        bool resort = order == 4 || order == 5;
        if (m_batchDepth > 0) {
            m_batchRepaint = m_batchRepaint || m_panes.HasTitle(id);
            if (resort && m_panes.HasTitle(id)) {
                m_batchResort = true;
                m_batchMoved.push_back(id);
            }
            return;
        }
        if (m_panes.HasTitle(id))
            m_panes.RepaintTitles();
        if (resort)
            m_panes.ResortTitles(true);
    }
    RecomputeRelatedIndex();
}

void CIndexSelection::RemoveHiddenTitles()
{
    if (!m_data || !m_data->ArePrivateArticlesHidden() || m_data->GetPrivateCount() <= 0)
        return;
    CArticleIdSet titles;
    m_panes.GetTitles(titles);
    bool removed = false;
    for (int32_t id : titles.Values()) {
        if (m_data->IsArticlePrivate(id)) {
            m_panes.RemoveTitle(id);
            removed = true;
        }
    }
    if (removed) {
        RefreshPreviews();
        RecomputeRelatedIndex();
    }
}

void CIndexSelection::RerunByMode()
{
    switch (m_titlesMode) {
    case kTitlesAll:
        m_titlesMode = kTitlesNone;
        ShowAllTitles();
        break;
    case kTitlesBookmarked:
        m_titlesMode = kTitlesNone;
        ShowBookmarkedTitles();
        break;
    case kTitlesSelected: {
        CKeywordIdSet selected;
        m_panes.GetKeywords(KeywordPane::kSelected, selected);
        SelectArticlesByKeywords(selected);
        break;
    }
    case kTitlesFound: SetTitlesMode(kTitlesFoundOutdated); break;
    case kTitlesQuery:
        if (m_panes.GetAutoUpdateQuery() && m_panes.GetCurrentQuery())
            Guarded([&] {
                CArticleIdSet found;
                if (m_panes.GetCurrentQuery()->Run(found)) {
                    CutToShown(found);
                    ShowTitles(found);
                }
            });
        else
            SetTitlesMode(kTitlesQueryOutdated);
        break;
    case kTitlesAttachments:
        m_titlesMode = kTitlesNone;
        ShowArticlesWithAttachments();
        break;
    default: break;
    }
    Guarded([&] { RemoveHiddenTitles(); });
    UpdateTitlesCaption();
}

void CIndexSelection::AfterQueryItemsDeleted(int messageId)
{
    SetTitlesMode(kTitlesQueryOutdated);
    CCurrentQuery* query = m_panes.GetCurrentQuery();
    if (query && !query->IsValid())
        m_panes.ShowInformation(messageId);
    AutoRerunQuery();
}

void CIndexSelection::DeleteKeywords(const CKeywordIdSet& keywords)
{
    if (!m_data || keywords.GetSize() == 0)
        return;
    CKeywordIdSet selectedBefore;
    m_panes.GetKeywords(KeywordPane::kSelected, selectedBefore);
    m_data->DeleteKeywords(keywords);
    m_panes.DropImportKeywords(keywords);
    m_panes.RemoveKeywords(KeywordPane::kIndex, keywords);
    m_panes.RemoveKeywords(KeywordPane::kSelected, keywords);
    m_panes.RemoveKeywords(KeywordPane::kPreview, keywords);
    if (m_titlesMode == kTitlesQuery) {
        AfterQueryItemsDeleted(IDS_QUERY_DELETED_KEYWORDS);
        return;
    }
    CKeywordIdSet remaining;
    remaining.Copy(selectedBefore);
    remaining.Subtract(keywords);
    if (remaining.GetSize() != selectedBefore.GetSize())
        SelectArticlesByKeywords(remaining);
}

void CIndexSelection::GroupsChanged()
{
    RecomputeGroupFilter();
    if (m_titlesMode == kTitlesQuery)
        AfterQueryItemsDeleted(IDS_QUERY_DELETED_GROUPS);
}

void CIndexSelection::ShowGroupPane(bool show, bool byUser)
{
    m_values.groupVisible = show ? 1 : 0;
    m_panes.ApplyGroupPane(byUser);
    RecomputeGroupFilter();
}

// ---- Neighbours ----

void CIndexSelection::OpenNeighbour(int32_t id, int direction)
{
    int count = m_panes.GetTitleCount();
    int index = count > 0 ? m_panes.TitleIndexOf(id) : -1;
    if (index < 0) {
        RefreshPreviews();
        return;
    }
    int next = direction == 1 ? index + 1 : index - 1;
    if (next < 0 || next >= count) {
        // Past either end: the highlight wraps and the index window comes forward instead.
        next = next < 0 ? count - 1 : 0;
        m_panes.PostShowIndex();
    } else {
        m_data->OpenArticle(m_panes.TitleAt(next));
    }
    m_panes.HighlightOnlyTitle(next);
    RefreshPreviews();
}

// ---- The entry ----

int32_t CIndexSelection::Notify(IndexCode code, ChannelArg p, int32_t n)
{
    int32_t answer = 0;
    Guarded([&] {
        switch (code) {
        case IndexCode::kBookmarkChanged: BookmarkChanged(p.Value()); break;
        case IndexCode::kKeywordAdded:
            m_panes.AddKeyword(KeywordPane::kIndex, p.Value(), n != 0);
            RecomputeRelatedIndex();
            RecomputeGroupFilter();
            m_panes.RepaintKeywords(KeywordPane::kIndex);
            break;
        case IndexCode::kArticleTitleChanged: {
            int32_t id = p.Value();
            FlushBatchRemovals();
            if (!m_panes.HasTitle(id))
                break;
            m_panes.MoveTitle(id, false);
            m_panes.RepaintTitles();
            UpdateTitlesCaption();
            break;
        }
        case IndexCode::kIsCatalog: answer = m_values.view; break;
        case IndexCode::kIsVisible: answer = m_panes.IsWindowShown() ? 1 : 0; break;
        case IndexCode::kShowIndexWindow:
            if ((p.Value() != 0) != (m_values.view != 0)) {
                m_panes.ShowFrame(false);
                m_panes.SetCatalog(p.Value() != 0);
            } else {
                m_panes.ShowFrame(true);
            }
            break;
        case IndexCode::kListFontChanged: m_panes.ApplyListFont(); break;
        case IndexCode::kGetListedArticleIds:
            if (CArticleIdSet* ids = p.ArticleIds())
                m_panes.GetTitles(*ids);
            break;
        case IndexCode::kBookmarksCleared:
            if (m_titlesMode == kTitlesBookmarked) {
                m_panes.SetTitles(CArticleIdSet());
                RefreshPreviews();
                UpdateTitlesCaption();
            } else {
                m_panes.RepaintTitles();
            }
            break;
        case IndexCode::kKeywordRenamed: {
            int32_t id = p.Value();
            if (m_panes.HasKeyword(KeywordPane::kIndex, id)) {
                CKeywordIdSet one;
                one.Add(id);
                m_panes.RemoveKeywords(KeywordPane::kIndex, one);
                m_panes.AddKeyword(KeywordPane::kIndex, id, true);
                RecomputeRelatedIndex();
                RecomputeGroupFilter();
                m_panes.RepaintKeywords(KeywordPane::kIndex);
            } else if (m_panes.HasKeyword(KeywordPane::kSelected, id)) {
                CKeywordIdSet one;
                one.Add(id);
                m_panes.RemoveKeywords(KeywordPane::kSelected, one);
                m_panes.AddKeyword(KeywordPane::kSelected, id, true);
            }
            if (m_values.previewOn & 2)
                m_panes.RepaintKeywords(KeywordPane::kPreview);
            break;
        }
        case IndexCode::kDateFormatChanged: m_panes.MeasureDates(); break;
        case IndexCode::kAddAndSelectKeywords:
            // A batch of keywords: what code 2 does for one, once for all of them. The group filter
            // applies as they go in; the related index is computed again (a new keyword carries no
            // articles), keeping the highlight of those it still lists.
            if (const CKeywordIdSet* ids = p.KeywordIdsToRead()) {
                m_panes.AddAndSelectKeywords(KeywordPane::kIndex, *ids);
                if (m_shownIndexMode == 1) {
                    RecomputeRelatedIndex();
                    m_panes.SelectKeywords(KeywordPane::kIndex, *ids);
                }
            }
            break;
        case IndexCode::kGetSelectedKeywords:
            if (CKeywordIdSet* ids = p.KeywordIds())
                m_panes.GetKeywords(KeywordPane::kSelected, *ids);
            answer = m_andOr;
            break;
        case IndexCode::kSortOrderChanged:
            m_panes.ResortTitles(false);
            m_panes.ApplySortImages();
            RefreshPreviews();
            break;
        case IndexCode::kGetTitlesMode: answer = m_titlesMode; break;
        case IndexCode::kClearTitleSelection:
            m_panes.ClearTitleHighlights();
            RefreshPreviews();
            break;
        case IndexCode::kClearKeywordSelection: m_panes.ClearKeywordHighlights(KeywordPane::kIndex); break;
        case IndexCode::kGetAndOrMode: answer = m_andOr; break;
        case IndexCode::kSetAndOrMode: SetAndOrMode(p.Value()); break;
        case IndexCode::kDeleteKeywords:
            if (const CKeywordIdSet* ids = p.KeywordIdsToRead())
                DeleteKeywords(*ids);
            break;
        case IndexCode::kGetPreviewFlags: answer = m_values.previewOn; break;
        case IndexCode::kTogglePreview:
            m_values.previewOn = (m_values.previewOn ^ p.Value()) & 3;
            m_panes.ApplyPreviewFlags();
            RefreshPreviews();
            break;
        case IndexCode::kArticleChanged:
            if ((m_values.previewOn & 1) && m_panes.GetOnlyHighlightedTitle() == p.Value())
                m_panes.ShowArticlePreview(p.Value(), true);
            if (m_values.previewOn & 2)
                FillKeywordPreview();
            break;
        case IndexCode::kSetLinkDisplay: m_panes.SetPreviewLinkMode(p.Value() < 2 ? 1 : 2); break;
        case IndexCode::kPreviewColorChanged: m_panes.ApplyPreviewColor(); break;
        case IndexCode::kGetHighlightedArticleIds:
            if (CArticleIdSet* ids = p.ArticleIds())
                m_panes.GetHighlightedTitles(*ids);
            break;
        case IndexCode::kOpenNeighbour: OpenNeighbour(p.Value(), n); break;
        case IndexCode::kDisplayPrefsChanged: m_panes.ApplyDisplayPrefs(); break;
        case IndexCode::kTitlesCaption: UpdateTitlesCaption(); break;
        case IndexCode::kRerunTitles: RerunByMode(); break;
        case IndexCode::kCyclePreview:
            m_values.previewOn = m_values.previewOn >= 3 ? 0 : m_values.previewOn + 1;
            m_panes.ApplyPreviewFlags();
            RefreshPreviews();
            break;
        case IndexCode::kSavePlacement: m_panes.SavePlacement(); break;
        case IndexCode::kSetIndexMode: SetIndexMode(p.Value() != 0 ? 1 : 0); break;
        case IndexCode::kGetIndexMode: answer = m_values.indexMode; break;
        case IndexCode::kCycleIndexMode: CycleIndexMode(); break;
        case IndexCode::kGroupAdded: m_panes.AddGroup(p.Value(), n > 0); break;
        case IndexCode::kGroupRemoved: answer = m_panes.RemoveGroup(p.Value()) ? 1 : 0; break;
        case IndexCode::kIsGroupPaneVisible: answer = m_values.groupVisible; break;
        case IndexCode::kShowGroupPane: ShowGroupPane(p.Value() != 0, n == 0); break;
        case IndexCode::kGroupsChanged: GroupsChanged(); break;
        case IndexCode::kRemindersChanged:
            if (m_batchDepth > 0)
                m_batchReminders = true;
            else
                m_panes.RemindersChanged();
            break;
        case IndexCode::kManageReminders: m_panes.OpenRemindersManager(); break;
        case IndexCode::kSelectKeywords:
            if (const CKeywordIdSet* ids = p.KeywordIdsToRead())
                m_panes.SelectKeywords(KeywordPane::kIndex, *ids);
            break;
        default: break;
        }
    });
    return answer;
}

// Articles: adding, updating and deleting them with their keyword links, bookmarks, the cached
// article index and the title sort orders.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>

#include "document/doc_host.h"
#include "document/doc_views.h"
#include "document/quorvane_doc.h"
#include "framework/ansi_case.h"
#include "framework/clock.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "storage/article_record.h"
#include "storage/quor_error.h"
#include "storage/record_reader.h"

void CQuorvaneDoc::LoadArticle(int32_t id, CArticleRecord& record)
{
    record.Read(m_dataFile, id);
}

void CQuorvaneDoc::GetArticleKeywordIds(int32_t article, CKeywordIdSet& out)
{
    CArticleRecord record;
    record.Read(m_dataFile, article);
    record.GetKeywordIds(out);
}

void CQuorvaneDoc::PrepareKeywordSet(CKeywordIdSet& keywords)
{
    CommitPendingKeywords(keywords);
    std::vector<int32_t>& ids = keywords.Values();
    std::vector<int32_t> valid;
    valid.reserve(ids.size());
    for (int32_t id : ids)
        if (IsValidKeywordId(id))
            valid.push_back(id);
    ids.swap(valid);
}

int32_t CQuorvaneDoc::AddArticle(CArticleRecord& record, bool bookmark, bool highlight)
{
    COperationCheck check(*this, "AddArticle");
    try {
        CKeywordIdSet keywords;
        record.GetKeywordIds(keywords);
        PrepareKeywordSet(keywords);
        record.SetKeywordIds(keywords);
        int32_t id = record.WriteNew(m_dataFile);
        AddArticleToKeywords(id, keywords);
        if (bookmark)
            SetBookmark(id, true);
        m_allIds.Add(id);
        SetPrivateMembership(id, record.IsPrivate());
        m_lastAddedId = id;
        // The article is stored: a title list that cannot take its title is reported after the rest
        // of the bookkeeping, and the caller finds the new id in LastAddedArticleId.
        bool titleListFull = false;
        if (CIndexNotifyTarget* index = GetIndexView()) {
            try {
                index->UpdateTitleForArticle(id, keywords, highlight);
            } catch (const CQuorError& error) {
                if (error.Code() != kTooManyTitles)
                    throw;
                titleListFull = true;
            }
        }
        for (int32_t keyword : keywords.Values())
            ReportKeywordChanged(keyword);
        if (m_importBatch.IsRecording())
            m_importBatch.RecordArticle(id);
        else
            m_importBatch.Clear();
        NotifyIndexView(IndexCode::kArticleChanged, id, 0);
        m_dataFile.Flush();
        if (titleListFull)
            throw CQuorError(kTooManyTitles);
        return id;
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CQuorvaneDoc::UpdateArticle(int32_t id, CArticleRecord& record, bool stamp)
{
    COperationCheck check(*this, "UpdateArticle");
    try {
        ClearBatchUnlessRecording();
        ArticleIndexEntry* entry = GetIndexEntry(id);
        CArticleRecord stored;
        stored.Read(m_dataFile, id);
        CKeywordIdSet oldKeywords;
        stored.GetKeywordIds(oldKeywords);
        int32_t storedDate = stored.GetDateOf(0);
        int32_t storedTime = stored.GetTimeOf(0);

        record.CopyCreated(stored);
        CKeywordIdSet newKeywords;
        record.GetKeywordIds(newKeywords);
        PrepareKeywordSet(newKeywords);
        record.SetKeywordIds(newKeywords);

        CKeywordIdSet removed;
        CKeywordIdSet added;
        SplitChanges(oldKeywords, newKeywords, removed, added);
        RemoveArticleFromKeywords(id, removed);
        for (int32_t keyword : removed.Values())
            ReportKeywordChanged(keyword);
        AddArticleToKeywords(id, added);
        for (int32_t keyword : added.Values())
            ReportKeywordChanged(keyword);

        record.MergeTrackFlags(stored);
        if (m_settings && m_settings->GetAutoUpdateDates() && stamp && record.GetDateOf(0) == storedDate && record.GetTimeOf(0) == storedTime) {
            QuorLocalTime now = QuorNow();
            record.SetDate(now.year * 10000 + now.month * 100 + now.day);
            record.SetTime(now.hour * 3600 + now.minute * 60 + now.second);
        }
        record.Write(m_dataFile, id);

        bool sameSummary = entry && entry->title == record.GetTitle() && entry->date == record.GetDateOf(0) &&
                           entry->time == record.GetTimeOf(0) &&
                           entry->attachmentCount == record.GetAttachmentCount() &&
                           (entry->hasLinks != 0) == record.HasLinks() &&
                           stored.IsPrivate() == record.IsPrivate();
        if (sameSummary) {
            SetPrivateMembership(id, record.IsPrivate());
        } else {
            bool titleChanged = !entry || entry->title != record.GetTitle();
            FillIndexEntry(id, record);
            SetPrivateMembership(id, record.IsPrivate());
            if (titleChanged)
                for (int32_t keyword : newKeywords.Values())
                    ReportKeywordChanged(keyword);
            NotifyIndexView(IndexCode::kArticleTitleChanged, id, 0);
        }
        FillIndexEntry(id, record);
        if (CIndexNotifyTarget* index = GetIndexView())
            index->UpdateTitleForArticle(id, newKeywords, false);
        NotifyIndexView(IndexCode::kArticleChanged, id, 0);
        NotifyIndexView(IndexCode::kRemindersChanged, id, 0);
        m_dataFile.Flush();
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
}

void CQuorvaneDoc::DeleteArticle(int32_t id)
{
    COperationCheck check(*this, "DeleteArticle");
    if (id < 0)
        return;
    ClearBatchUnlessRecording();
    CArticleRecord record;
    record.Read(m_dataFile, id);
    CKeywordIdSet keywords;
    record.GetKeywordIds(keywords);
    for (int32_t keyword : keywords.Values())
        ReportKeywordChanged(keyword);
    RemoveArticleFromKeywords(id, keywords);

    if (CArticleNotifyTarget* view = FindArticleView(id)) {
        view->OnDocumentNotify(ArticleHint::kArticleDeleting, 0, 0);
        view->CloseFrame();
    }

    SetBookmark(id, false);
    SetPrivateMembership(id, false);
    m_allIds.Remove(id);
    if (CIndexNotifyTarget* index = GetIndexView())
        index->RemoveArticleTitle(id);
    FreeIndexEntry(id);

    int32_t reminder = m_reminders.FindByArticle(id);
    if (reminder >= 0)
        m_reminders.DeleteReminder(reminder);

    if (record.ReplaceByPlaceholder(m_dataFile, id, false)) {
        m_dataFile.DeleteArticleEntry(id);
        m_placeholderIds.Remove(id);
    } else {
        m_placeholderIds.Add(id);
    }
    m_dataFile.Flush();
    NotifyIndexView(IndexCode::kTitlesCaption, 0, 0);
    NotifyIndexView(IndexCode::kRemindersChanged, 0, 0);
}

void CQuorvaneDoc::DeleteArticles(const CArticleIdSet& ids)
{
    COperationCheck check(*this, "DeleteArticles");
    CheckArticlesReadable(ids);
    for (int32_t id : ids.Values())
        DeleteArticle(id);
    WriteKeyedLists();
}

// ---- The article index ----

void CQuorvaneDoc::FillIndexEntry(int32_t id, const CArticleRecord& record)
{
    if (m_articleIndex.size() <= static_cast<size_t>(id))
        m_articleIndex.resize((static_cast<size_t>(id) / 100 + 1) * 100);
    auto& slot = m_articleIndex[static_cast<size_t>(id)];
    if (!slot)
        slot = std::make_unique<ArticleIndexEntry>();
    slot->date = record.GetDateOf(0);
    slot->time = record.GetTimeOf(0);
    slot->createdDate = record.GetDateOf(1);
    slot->createdTime = record.GetTimeOf(1);
    slot->attachmentCount = record.GetAttachmentCount();
    slot->hasLinks = record.HasLinks() ? 1 : 0;
    slot->title = record.GetTitle();
    slot->sortKey.clear();
    slot->hasSortKey = false;
}

ArticleIndexEntry* CQuorvaneDoc::GetIndexEntry(int32_t id)
{
    if (id < 0)
        return nullptr;
    if (static_cast<size_t>(id) < m_articleIndex.size() && m_articleIndex[static_cast<size_t>(id)])
        return m_articleIndex[static_cast<size_t>(id)].get();
    CArticleRecord record;
    record.ReadSummary(m_dataFile, id);
    FillIndexEntry(id, record);
    return m_articleIndex[static_cast<size_t>(id)].get();
}

// Reading a record's summary alone costs a lookup of its table entry and a read wherever the record
// lies: the title list's first fill of a large file asked for every article that way. Here the
// entries come from one walk of the table's index blocks, and the records are read in the order of
// their first blocks, so that the reads go forward through the file and share the data file's read
// window (a file whose entries were reused holds its records out of id order).
void CQuorvaneDoc::BuildIndexEntries(std::vector<int32_t>::const_iterator begin,
                                     std::vector<int32_t>::const_iterator end)
{
    std::vector<int32_t> missing;
    for (auto it = begin; it != end; ++it) {
        int32_t id = *it;
        if (id >= 0 && (static_cast<size_t>(id) >= m_articleIndex.size() || !m_articleIndex[static_cast<size_t>(id)]))
            missing.push_back(id);
    }
    constexpr size_t kFew = 16;  // fewer are read one by one, as they are asked for
    if (missing.size() < kFew)
        return;
    std::sort(missing.begin(), missing.end());
    missing.erase(std::unique(missing.begin(), missing.end()), missing.end());
    std::vector<int32_t> firstBlocks;
    try {
        m_dataFile.GetEntries(CDataFile::kArticleTable, missing, firstBlocks);
    } catch (const CQuorError&) {
        return;  // an id outside the table or a damaged index: met again, and reported, one by one
    }
    std::vector<size_t> order(missing.size());
    for (size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return firstBlocks[a] != firstBlocks[b] ? firstBlocks[a] < firstBlocks[b] : missing[a] < missing[b];
    });
    size_t wanted = (static_cast<size_t>(missing.back()) / 100 + 1) * 100;  // as FillIndexEntry grows it
    if (m_articleIndex.size() < wanted)
        m_articleIndex.resize(wanted);
    CRecordReader reader;
    for (size_t k : order) {
        if (firstBlocks[k] == kNoneId)
            continue;  // a deleted entry
        try {
            CArticleRecord record;
            reader.Open(&m_dataFile, firstBlocks[k], CRecordStream::kRead);
            reader.SetReadAhead(1);  // as ReadSummary: the header and title lie in the first block
            record.ReadSummaryFrom(reader);
            reader.Close();
            FillIndexEntry(missing[k], record);
        } catch (const CQuorError&) {
            // Left without an entry; the next Open starts the reader afresh.
        }
    }
}

void CQuorvaneDoc::FreeIndexEntry(int32_t id)
{
    if (id >= 0 && static_cast<size_t>(id) < m_articleIndex.size())
        m_articleIndex[static_cast<size_t>(id)].reset();
}

void CQuorvaneDoc::SetPrivateMembership(int32_t id, bool isPrivate)
{
    // Most stores leave the privacy as it was; the watcher's copy of the hidden ids is then still
    // right and need not be made again for every article.
    if (m_privateIds.Contains(id) == isPrivate)
        return;
    if (isPrivate)
        m_privateIds.Add(id);
    else
        m_privateIds.Remove(id);
    UpdateHiddenReminderArticles();
}

const char* CQuorvaneDoc::GetArticleTitle(int32_t id)
{
    try {
        ArticleIndexEntry* entry = GetIndexEntry(id);
        return entry ? entry->title.c_str() : nullptr;
    } catch (const CQuorError&) {
    } catch (const std::bad_alloc&) {
    }
    return nullptr;
}

int32_t CQuorvaneDoc::GetArticleDate(int32_t id)
{
    ArticleIndexEntry* entry = GetIndexEntry(id);
    return entry ? entry->date : kNoneId;
}

int32_t CQuorvaneDoc::GetArticleTime(int32_t id)
{
    ArticleIndexEntry* entry = GetIndexEntry(id);
    return entry ? entry->time : kNoneId;
}

int CQuorvaneDoc::GetArticleAttachmentCount(int32_t id)
{
    ArticleIndexEntry* entry = GetIndexEntry(id);
    return entry ? entry->attachmentCount : 0;
}

bool CQuorvaneDoc::ArticleHasLinks(int32_t id)
{
    ArticleIndexEntry* entry = GetIndexEntry(id);
    return entry && entry->hasLinks != 0;
}

bool CQuorvaneDoc::MatchesCreatedStamp(int32_t id, int32_t date, int32_t time)
{
    ArticleIndexEntry* entry = GetIndexEntry(id);
    return entry && entry->createdDate == date && entry->createdTime == time;
}

int CQuorvaneDoc::GetArticleCount() const
{
    if (!m_dataFile.GetOpenMode())
        return 0;
    int count = m_dataFile.GetArticleCount() - m_placeholderIds.GetSize();
    if (ArePrivateArticlesHidden())
        count -= m_privateIds.GetSize();
    return count;
}

void CQuorvaneDoc::GetAllArticleIds(CArticleIdSet& out)
{
    out.Copy(m_allIds);
    if (ArePrivateArticlesHidden())
        out.Subtract(m_privateIds);
}

void CQuorvaneDoc::GetBookmarkedIds(CArticleIdSet& out)
{
    out.Copy(m_bookmarkedIds);
    if (ArePrivateArticlesHidden())
        out.Subtract(m_privateIds);
}

int CQuorvaneDoc::GetBookmarkedCount()
{
    CArticleIdSet shown;
    GetBookmarkedIds(shown);
    return shown.GetSize();
}

void CQuorvaneDoc::SetBookmark(int32_t id, bool on)
{
    COperationCheck check(*this, "SetBookmark");
    if (on)
        m_bookmarkedIds.Add(id);
    else
        m_bookmarkedIds.Remove(id);
    NotifyArticleView(ArticleHint::kBookmarkState, id, on ? 1 : 0, 0);
    NotifyIndexView(IndexCode::kBookmarkChanged, id, on ? 1 : 0);
}

void CQuorvaneDoc::OpenArticle(int32_t id)
{
    m_importBatch.SetLocked(true);
    try {
        m_host.OpenArticleWindow(*this, id);
    } catch (...) {
        m_importBatch.SetLocked(false);
        throw;
    }
    m_importBatch.SetLocked(false);
}

// ---- Sorting ----

int CQuorvaneDoc::CompareText(const char* a, const char* b)
{
    int result = AnsiCompare(a, b);
    return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

int CQuorvaneDoc::CompareInOrder(int32_t a, int32_t b, int order)
{
    if (a < 0 || b < 0)
        return 0;
    ArticleIndexEntry* ea = GetIndexEntry(a);
    ArticleIndexEntry* eb = GetIndexEntry(b);
    auto byTitle = [&] { return CompareText(ea->title.c_str(), eb->title.c_str()); };
    auto byDate = [&] {
        if (ea->date != eb->date)
            return ea->date < eb->date ? -1 : 1;
        if (ea->time != eb->time)
            return ea->time < eb->time ? -1 : 1;
        return 0;
    };
    auto titleThenDate = [&] {
        int t = byTitle();
        return t != 0 ? t : byDate();
    };
    // Orders 4 to 13 put the articles that have a property first (even order) or last (odd).
    auto byClass = [&](bool inA, bool inB, bool firstWhenSet) {
        if (inA != inB)
            return (inA == firstWhenSet) ? -1 : 1;
        return titleThenDate();
    };
    switch (order) {
    case 0: return titleThenDate();
    case 1: { int t = byTitle(); return t != 0 ? -t : byDate(); }
    case 2: { int d = byDate(); return d != 0 ? d : byTitle(); }
    case 3: { int d = byDate(); return d != 0 ? -d : byTitle(); }
    case 4: case 5: return byClass(IsBookmarked(a), IsBookmarked(b), order == 4);
    case 6: case 7: return byClass(ea->attachmentCount > 0, eb->attachmentCount > 0, order == 6);
    case 8: case 9: return byClass(ea->hasLinks != 0, eb->hasLinks != 0, order == 8);
    case 10: case 11: return byClass(IsArticlePrivate(a), IsArticlePrivate(b), order == 10);
    case 12: case 13:
        return byClass(m_reminders.HasReminder(a), m_reminders.HasReminder(b), order == 12);
    default: return 0;
    }
}

int CQuorvaneDoc::CompareArticles(int32_t a, int32_t b)
{
    return CompareInOrder(a, b, m_sortOrder);
}

// The first `count` ids in `order`, exactly as a stable sort comparing them with CompareInOrder
// would leave them, but each article's values are gathered once (its index entry, its class in
// orders 4 to 13 and its title's collation key, kept in the entry) and the sort compares those: a
// comparison then costs a few instructions instead of two index lookups and a case-folding
// comparison of the titles.
void CQuorvaneDoc::StableSortInOrder(std::vector<int32_t>& ids, size_t count, int order)
{
    auto end = ids.begin() + static_cast<std::ptrdiff_t>(count);
    if (order < 0 || order >= kSortOrderCount)
        return;  // every pair compares equal: a stable sort changes nothing
    if (std::any_of(ids.begin(), end, [](int32_t id) { return id < 0; })) {
        // A negative id compares equal to every other, which no key can express.
        std::stable_sort(ids.begin(), end, [&](int32_t a, int32_t b) { return CompareInOrder(a, b, order) < 0; });
        return;
    }
    struct Item {
        int32_t id;
        int32_t date;
        int32_t time;
        bool first;  // orders 4 to 13: sorts before the articles whose `first` is false
        uint32_t keyLength;
        const char* key;  // the entry's own key: entries stay put while the sort runs
        // Eight bytes of the key from where the keys start to differ, big-endian, zeros past the key's
        // end: unequal ones order two keys as the whole keys do (see byTitle).
        uint64_t prefix;
    };
    BuildIndexEntries(ids.begin(), end);
    std::vector<Item> items;
    items.reserve(count);
    bool firstWhenSet = order % 2 == 0;
    for (auto it = ids.begin(); it != end; ++it) {
        int32_t id = *it;
        ArticleIndexEntry* entry = GetIndexEntry(id);
        bool in = false;
        switch (order) {
        case 4: case 5: in = IsBookmarked(id); break;
        case 6: case 7: in = entry->attachmentCount > 0; break;
        case 8: case 9: in = entry->hasLinks != 0; break;
        case 10: case 11: in = IsArticlePrivate(id); break;
        case 12: case 13: in = m_reminders.HasReminder(id); break;
        default: break;
        }
        if (!entry->hasSortKey) {
            AppendAnsiSortKey(entry->title.c_str(), entry->sortKey);
            entry->sortKey.shrink_to_fit();
            entry->hasSortKey = true;
        }
        items.push_back(Item{id, entry->date, entry->time, in == firstWhenSet,
                             static_cast<uint32_t>(entry->sortKey.size()), entry->sortKey.data(), 0});
    }
    // The bytes every key starts with (titles often share a first word) tell no two apart: the
    // prefix is taken after them.
    size_t common = items.empty() ? 0 : items[0].keyLength;
    for (const Item& item : items) {
        size_t same = 0;
        size_t most = std::min<size_t>(common, item.keyLength);
        while (same < most && items[0].key[same] == item.key[same])
            ++same;
        common = same;
    }
    for (Item& item : items) {
        uint64_t prefix = 0;
        for (size_t i = common; i < common + 8; ++i)
            prefix = prefix << 8 | (i < item.keyLength ? static_cast<unsigned char>(item.key[i]) : 0u);
        item.prefix = prefix;
    }
    // Where the prefixes differ, the first byte that differs is in both keys, or lies past the end of
    // one that is then a beginning of the other (and sorts first): the prefixes order the keys.
    auto byTitle = [](const Item& a, const Item& b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix ? -1 : 1;
        return CompareAnsiSortKeys(a.key, a.keyLength, b.key, b.keyLength);
    };
    auto byDate = [](const Item& a, const Item& b) {
        if (a.date != b.date)
            return a.date < b.date ? -1 : 1;
        if (a.time != b.time)
            return a.time < b.time ? -1 : 1;
        return 0;
    };
    auto compare = [&](const Item& a, const Item& b) {
        int t;
        switch (order) {
        case 0: t = byTitle(a, b); return t != 0 ? t : byDate(a, b);
        case 1: t = byTitle(a, b); return t != 0 ? -t : byDate(a, b);
        case 2: t = byDate(a, b); return t != 0 ? t : byTitle(a, b);
        case 3: t = byDate(a, b); return t != 0 ? -t : byTitle(a, b);
        default:
            if (a.first != b.first)
                return a.first ? -1 : 1;
            t = byTitle(a, b);
            return t != 0 ? t : byDate(a, b);
        }
    };
    std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) { return compare(a, b) < 0; });
    for (size_t i = 0; i < count; ++i)
        ids[i] = items[i].id;
}

// A stable sort, so equal elements keep their order (what a binary insertion sort gives, without
// its quadratic moves). With progress, one more article is taken in each time the message queue is
// empty; Cancel leaves the ids taken in so far sorted and the rest as they were, as an insertion
// sort stopped there would (the duplicate scan goes on with them).
void CQuorvaneDoc::SortInOrder(std::vector<int32_t>& ids, int order, bool withProgress, bool& cancelled)
{
    cancelled = false;
    if (withProgress) {
        size_t i = 1;
        while (i < ids.size()) {
            if (m_host.IsProgressCancelled()) {
                cancelled = true;
                StableSortInOrder(ids, i, order);
                return;
            }
            if (!m_host.PumpPendingMessage())
                continue;
            GetIndexEntry(ids[i]);
            m_host.StepProgress();
            ++i;
        }
    }
    StableSortInOrder(ids, ids.size(), order);
}

void CQuorvaneDoc::SortArticleIdsByTitle(std::vector<int32_t>& ids)
{
    bool cancelled;
    SortInOrder(ids, 0, false, cancelled);
}

void CQuorvaneDoc::SortArticleIdsInOrder(std::vector<int32_t>& ids)
{
    bool cancelled;
    SortInOrder(ids, m_sortOrder, false, cancelled);
}

bool CQuorvaneDoc::SortArticleIds(const std::string& caption, std::vector<int32_t>& ids, int order)
{
    bool cancelled = false;
    m_host.BeginProgress(caption, QuorLoadString(IDS_SORTING_ARTICLES), ids.empty() ? 0 : static_cast<int>(ids.size()) - 1);
    try {
        SortInOrder(ids, order, true, cancelled);
    } catch (...) {
        m_host.EndProgress();
        throw;
    }
    m_host.EndProgress();
    return !cancelled;
}

void CQuorvaneDoc::SetSortOrder(int order)
{
    if (order == (m_settings ? m_settings->GetSortOrder() : m_sortOrder))
        return;
    m_sortOrder = order;
    if (m_settings)
        m_settings->SetSortOrder(order);
    NotifyIndexView(IndexCode::kSortOrderChanged);
    m_host.ActivateIndexFrame();
}

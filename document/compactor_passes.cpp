// The compactor's passes over the records of the source (see compactor.h for their order and for
// how damaged records are told from empty slots).
#include <algorithm>
#include <functional>
#include <new>

#include "storage/article_record.h"
#include "document/article_references.h"
#include "document/compaction_rules.h"
#include "document/compactor.h"
#include "document/exchange_host.h"
#include "storage/file_password.h"
#include "document/keyed_record_copy.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyword_record.h"
#include "storage/quor_error.h"
#include "storage/reminder_list.h"
#include "framework/string_table.h"
#include "index/query_list.h"
#include "resources/resource.h"

namespace {

constexpr int16_t kArticleLink = 3;

// Keys of the lists and records the passes carry over.
constexpr int kBookmarkedKey = 1;
constexpr int kPrivateKey = 10;
constexpr int kPlaceholderKey = 12;
constexpr int kSavedQueriesKey = 8;
constexpr int kRemindersKey = 15;
constexpr int kCopiedKeys[] = {2, 3, 4, 6, 7};
constexpr int kCopiedLaterKeys[] = {13, 14};

int32_t Lookup(const std::vector<int32_t>& map, int32_t id)
{
    return id >= 0 && static_cast<size_t>(id) < map.size() ? map[static_cast<size_t>(id)] : kNoneId;
}

// The ids of `ids` through `map`, dropped ones left out, sorted and unique.
void Translate(const std::vector<int32_t>& ids, const std::vector<int32_t>& map, std::vector<int32_t>& out)
{
    out.clear();
    for (int32_t id : ids) {
        int32_t mapped = Lookup(map, id);
        if (mapped != kNoneId)
            out.push_back(mapped);
    }
}

void SortUnique(std::vector<int32_t>& ids)
{
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
}

// Entries of a table that can be reached at all: the descriptor's count, bounded by what the
// index blocks the file can hold would number, so that a damaged count never drives a long walk.
int32_t ReachableEntries(CDataFile& file, int table)
{
    int64_t count = file.GetTableCount(table);
    int64_t bound = static_cast<int64_t>(file.GetWalkLimit()) * CDataFile::kEntriesPerBlock;
    return static_cast<int32_t>(std::max<int64_t>(0, std::min(count, bound)));
}

// True when a link range or an attachment of the record names another article (the records the
// link pass must revisit).
bool RefersToArticles(const CArticleRecord& record)
{
    for (int i = 0; i < record.GetLinks().GetCount(); ++i) {
        LinkRange range;
        record.GetLinks().GetAt(i, range);
        if (range.type == kArticleLink)
            return true;
    }
    for (int i = 0; i < record.GetAttachmentCount(); ++i) {
        const CLinkTarget* target = record.GetAttachments().Item(i);
        if (target->GetKind() == CLinkTarget::kArticle && target->GetArticleId() >= 0)
            return true;
    }
    return false;
}

}  // namespace

// Walks the reachable slots of a table: `read` is called for each slot whose entry exists and
// returns normally or raises. An empty slot is passed over; a record that cannot be read is counted
// through `lost`; a broken index chain ends the walk with the rest of the live entries the table
// claims counted as lost. A full disk passes on.
template <class Read, class Lost>
static void WalkSlots(CDataFile& file, int table, int32_t entries, Read read, Lost lost,
                      const std::function<void()>& beforeRecord)
{
    int64_t claimed = file.GetTableCount(table);
    int32_t live = 0;
    for (int32_t i = 0; i < entries; ++i) {
        beforeRecord();
        int32_t first;
        try {
            first = file.GetEntry(table, i);
        } catch (const CQuorError& error) {
            if (error.Code() == kDiskFull)
                throw;
            int64_t rest = std::min<int64_t>(claimed, entries) - i;
            for (int64_t n = 0; n < rest && live + n < claimed; ++n)
                lost(-1);
            return;
        }
        if (first == kNoneId)
            continue;
        ++live;
        try {
            read(i);
        } catch (const CQuorError& error) {
            if (error.Code() == kDiskFull)
                throw;
            lost(i);
        }
    }
}

// Every record of a table that reads, with its slot, in slot order; each one that does not read
// adds one to `lost`.
template <class Record>
struct SlotRecord {
    int32_t slot;
    Record record;
};

template <class Record>
static std::vector<std::unique_ptr<SlotRecord<Record>>> ReadTable(CDataFile& file, int table, int32_t entries,
                                                                  int32_t& lost,
                                                                  const std::function<void()>& beforeRecord)
{
    std::vector<std::unique_ptr<SlotRecord<Record>>> read;
    WalkSlots(
        file, table, entries,
        [&](int32_t slot) {
            auto one = std::make_unique<SlotRecord<Record>>();
            one->slot = slot;
            one->record.Read(file, slot);
            read.push_back(std::move(one));
        },
        [&](int32_t) { ++lost; }, beforeRecord);
    return read;
}

// ---- a: keyword groups ----------------------------------------------------------------------------

void CCompactor::TransferGroups(bool askUnused)
{
    m_host.SetProgressText(QuorLoadString(IDS_TRANSFERRING_GROUPS));
    int32_t entries = ReachableEntries(m_source, CDataFile::kGroupTable);
    m_groupMap.assign(static_cast<size_t>(entries), kNoneId);

    auto read = ReadTable<CKeywordGroupRecord>(m_source, CDataFile::kGroupTable, entries, m_counts.groupsLost,
                                               [&] { BeforeRecord(); });

    std::vector<std::string> unused;
    for (const auto& group : read) {
        CIdSet keywords;
        group->record.GetKeywordIds(keywords);
        if (keywords.GetSize() == 0)
            unused.push_back(group->record.GetName());
    }
    bool deleteUnused = askUnused && !unused.empty() && m_host.AskDeleteUnusedGroups(unused);

    for (const auto& group : read) {
        BeforeRecord();
        CIdSet keywords;
        group->record.GetKeywordIds(keywords);
        ++m_counts.groupsRecovered;
        if (!(deleteUnused && keywords.GetSize() == 0)) {
            // The keyword ids are still the old ones; the group is rewritten once keywords are known.
            int32_t id = group->record.WriteNew(m_destination);
            m_groupMap[static_cast<size_t>(group->slot)] = id;
            if (m_groups.size() <= static_cast<size_t>(id))
                m_groups.resize(static_cast<size_t>(id) + 1);
            m_groups[static_cast<size_t>(id)] = std::make_unique<GroupCopy>();
        }
        m_host.StepProgress();
    }

    // The group side of the links, for the keyword pass: (old keyword, new group), sorted.
    m_groupLinks.clear();
    for (const auto& group : read) {
        int32_t id = m_groupMap[static_cast<size_t>(group->slot)];
        if (id == kNoneId)
            continue;
        CIdSet keywords;
        group->record.GetKeywordIds(keywords);
        for (int32_t keyword : keywords.Values())
            m_groupLinks.push_back({keyword, id});
    }
    std::sort(m_groupLinks.begin(), m_groupLinks.end());
}

// ---- b: keywords ----------------------------------------------------------------------------------

void CCompactor::TransferKeywords(bool askUnused)
{
    m_host.SetProgressText(QuorLoadString(IDS_TRANSFERRING_KEYWORDS));
    int32_t entries = ReachableEntries(m_source, CDataFile::kKeywordTable);
    m_keywordMap.assign(static_cast<size_t>(entries), kNoneId);

    auto read = ReadTable<CKeywordRecord>(m_source, CDataFile::kKeywordTable, entries, m_counts.keywordsLost,
                                          [&] { BeforeRecord(); });

    std::vector<std::string> unused;
    for (const auto& keyword : read)
        if (keyword->record.GetArticleCount() == 0)
            unused.push_back(keyword->record.GetName());
    bool deleteUnused = askUnused && !unused.empty() && m_host.AskDeleteUnusedKeywords(unused);

    std::vector<std::pair<int32_t, int32_t>> listed;  // (old article, new keyword)
    int32_t articleEntries = ReachableEntries(m_source, CDataFile::kArticleTable);
    for (const auto& keyword : read) {
        BeforeRecord();
        ++m_counts.keywordsRecovered;
        if (deleteUnused && keyword->record.GetArticleCount() == 0) {
            m_host.StepProgress();
            continue;
        }
        // Groups named by the keyword or naming it.
        CIdSet own;
        keyword->record.GetGroupIds(own);
        std::vector<int32_t> groups;
        if (m_targetVersion >= 400) {
            Translate(own.Values(), m_groupMap, groups);
            auto range = std::equal_range(m_groupLinks.begin(), m_groupLinks.end(),
                                          std::make_pair(keyword->slot, INT32_MIN),
                                          [](const auto& a, const auto& b) { return a.first < b.first; });
            for (auto it = range.first; it != range.second; ++it)
                groups.push_back(it->second);
            SortUnique(groups);
        }
        CGroupIdSet groupSet;
        groupSet.Copy(groups);
        keyword->record.SetGroupIds(groupSet);
        // The article ids are still the old ones; the keyword is rewritten after the articles.
        int32_t id = keyword->record.WriteNew(m_destination);
        m_keywordMap[static_cast<size_t>(keyword->slot)] = id;
        if (m_keywords.size() <= static_cast<size_t>(id))
            m_keywords.resize(static_cast<size_t>(id) + 1);
        auto copy = std::make_unique<KeywordCopy>();
        copy->name = keyword->record.GetName();
        copy->groups = groups;
        for (int32_t group : groups)
            m_groups[static_cast<size_t>(group)]->keywords.push_back(id);
        m_keywords[static_cast<size_t>(id)] = std::move(copy);

        CIdSet articles;
        keyword->record.GetArticleIds(articles);
        for (int32_t article : articles.Values())
            if (article >= 0 && article < articleEntries)
                listed.push_back({article, id});
        m_host.StepProgress();
    }

    // The keyword side of the links, by old article id.
    std::sort(listed.begin(), listed.end());
    m_listedStart.assign(static_cast<size_t>(articleEntries) + 1, 0);
    m_listedKeywords.resize(listed.size());
    for (size_t n = 0; n < listed.size(); ++n) {
        ++m_listedStart[static_cast<size_t>(listed[n].first) + 1];
        m_listedKeywords[n] = listed[n].second;
    }
    for (size_t n = 1; n < m_listedStart.size(); ++n)
        m_listedStart[n] += m_listedStart[n - 1];
    m_groupLinks.clear();
    m_groupLinks.shrink_to_fit();
}

// ---- c: articles ----------------------------------------------------------------------------------

void CCompactor::TransferArticles()
{
    m_host.SetProgressText(QuorLoadString(IDS_TRANSFERRING_ARTICLES));
    int32_t entries = ReachableEntries(m_source, CDataFile::kArticleTable);
    m_articleMap.assign(static_cast<size_t>(entries), kNoneId);
    CArticleRecord record;
    record.SetKeepStamp(true);
    std::vector<int32_t> keywords;
    WalkSlots(
        m_source, CDataFile::kArticleTable, entries,
        [&](int32_t slot) {
            record.Read(m_source, slot);

            // Keywords named by the article or naming it.
            CIdSet own;
            record.GetKeywordIds(own);
            Translate(own.Values(), m_keywordMap, keywords);
            if (static_cast<size_t>(slot) + 1 < m_listedStart.size())
                for (int32_t n = m_listedStart[static_cast<size_t>(slot)]; n < m_listedStart[static_cast<size_t>(slot) + 1]; ++n)
                    keywords.push_back(m_listedKeywords[static_cast<size_t>(n)]);
            SortUnique(keywords);
            // A placeholder stands only for a deleted article's id: it names no keyword.
            if (record.IsPlaceholder())
                keywords.clear();
            CKeywordIdSet keywordSet;
            keywordSet.Copy(keywords);
            record.SetKeywordIds(keywordSet);

            CleanArticle(record);

            // A tracked article keeps its id: the entry is free, since every id given so far is
            // below the slot.
            int32_t id;
            if (record.IsTracked()) {
                record.WriteNewAt(m_destination, slot);
                id = slot;
            } else {
                id = record.WriteNew(m_destination);
            }
            m_articleMap[static_cast<size_t>(slot)] = id;
            for (int32_t keyword : keywords)
                m_keywords[static_cast<size_t>(keyword)]->articles.push_back(id);
            if (record.IsPlaceholder())
                m_placeholderArticles.Values().push_back(id);
            else if (record.IsPrivate())
                m_privateArticles.Values().push_back(id);
            if (RefersToArticles(record))
                m_linkingArticles.push_back(id);
            ++m_counts.articlesRecovered;
            m_host.StepProgress();
        },
        [&](int32_t slot) {
            ++m_counts.damagedArticles;
            if (slot >= 0)
                SaveDamagedArticle(slot);
            m_host.StepProgress();
        },
        [&] { BeforeRecord(); });
    m_privateArticles.Sort();
    m_placeholderArticles.Sort();
}

void CCompactor::CleanArticle(CArticleRecord& record)
{
    bool richText = record.GetVersion() > CArticleRecord::kPlainTextVersion;
    if (richText) {
        record.SetText(std::string());
        record.SetLegacyText(std::string());
    }

    if (richText && m_removeRtfTags) {
        std::string rtf = record.GetRtfText();
        if (RemoveObjSubControlWords(rtf)) {
            if (m_askRtfTags) {
                m_askRtfTags = false;
                m_removeRtfTags = m_host.Confirm(QuorLoadString(IDS_RTF_TAGS_QUESTION), CExchangeHost::kQuestion);
            }
            if (m_removeRtfTags)
                record.SetRtfText(rtf);
        }
    }

    // Link ranges must lie inside the text.
    if (record.GetLinks().GetCount() > 0) {
        int32_t length = richText ? m_host.GetRtfTextLength(record.GetRtfText())
                                  : static_cast<int32_t>(record.GetText().size());
        CLinkRangeList links;
        bool dropped = false;
        for (int i = 0; i < record.GetLinks().GetCount(); ++i) {
            LinkRange range;
            record.GetLinks().GetAt(i, range);
            if (range.start < 0 || (length >= 0 && range.end > length))
                dropped = true;
            else
                links.Add(range);
        }
        if (dropped)
            record.SetLinks(links);
    }

    if (m_targetVersion < 400 && record.GetAttachmentCount() > 1) {
        CAttachmentArray first;
        first.Add(*record.GetAttachments().Item(0));
        record.SetAttachments(first);
    }
}

// A damaged article whose title still reads goes into the "Damaged Article" file, which the user is
// asked for at the first such article.
void CCompactor::SaveDamagedArticle(int32_t slot)
{
    CArticleRecord partial;
    partial.SetKeepStamp(true);
    try {
        partial.ReadSummary(m_source, slot);
    } catch (const CQuorError& error) {
        if (error.Code() == kDiskFull)
            throw;
    }
    if (partial.GetTitle().empty())
        return;
    if (!m_damagedAsked) {
        m_damagedAsked = true;
        std::string path = m_host.ChooseDamagedArticleFile(m_mode, m_destinationPath);
        if (!path.empty()) {
            try {
                m_damaged.Create(path, 400);
                m_damaged.SetRecordKey(m_source.GetRecordKey());
                CFilePassword::CopyTo(m_source, m_damaged);
                m_damagedPath = path;
            } catch (const CQuorError& error) {
                // The run goes on without the file.
                error.Report();
                m_damaged.CloseIfOpen();
            }
        }
    }
    if (m_damagedPath.empty())
        return;
    partial.SetKeywordIds(CKeywordIdSet());
    partial.WriteNew(m_damaged);
    ++m_counts.articlesPartiallyRecovered;
}

// ---- d, e: the two sides of the links -------------------------------------------------------------

void CCompactor::AssignKeywordsToGroups()
{
    m_host.SetProgressText(QuorLoadString(IDS_ASSIGNING_KEYWORDS_TO_GROUPS));
    for (size_t id = 0; id < m_groups.size(); ++id) {
        BeforeRecord();
        if (!m_groups[id])
            continue;
        CKeywordGroupRecord group;
        group.Read(m_destination, static_cast<int32_t>(id));
        CKeywordIdSet keywords;
        keywords.Copy(m_groups[id]->keywords);
        group.SetKeywordIds(keywords);
        group.Write(m_destination, static_cast<int32_t>(id));
        m_host.StepProgress();
    }
}

void CCompactor::AssignArticlesToKeywords()
{
    m_host.SetProgressText(QuorLoadString(IDS_ASSIGNING_KEYWORDS_TO_ARTICLES));
    for (size_t id = 0; id < m_keywords.size(); ++id) {
        BeforeRecord();
        KeywordCopy& copy = *m_keywords[id];
        SortUnique(copy.articles);
        CKeywordRecord keyword;
        keyword.SetName(copy.name);
        CGroupIdSet groups;
        groups.Copy(copy.groups);
        keyword.SetGroupIds(groups);
        CArticleIdSet articles;
        articles.Copy(copy.articles);
        keyword.SetArticleIds(articles);
        keyword.Write(m_destination, static_cast<int32_t>(id));
        copy.articles.clear();
        copy.articles.shrink_to_fit();
        m_host.StepProgress();
    }
}

// ---- f: links between articles --------------------------------------------------------------------

void CCompactor::AdjustLinks()
{
    m_host.SetProgressText(QuorLoadString(IDS_ADJUSTING_LINKS));
    CArticleRecord record;
    record.SetKeepStamp(true);
    for (int32_t id : m_linkingArticles) {
        BeforeRecord();
        if (m_placeholderArticles.Contains(id))
            continue;
        record.Read(m_destination, id);
        // A link or attachment whose article was dropped goes.
        TranslateArticleReferences(record, [&](int32_t article) { return Lookup(m_articleMap, article); });
        record.Write(m_destination, id);
    }
}

// ---- g: lists -------------------------------------------------------------------------------------

void CCompactor::TransferLists()
{
    auto readList = [&](int key, bool& present, bool& damaged) {
        CArticleIdSet ids;
        present = CKeyedRecordStream::FindKey(&m_source, key) != kNoneId;
        damaged = false;
        if (!present)
            return ids;
        try {
            CKeyedRecordStream::ReadIdSet(&m_source, key, ids);
        } catch (const CQuorError& error) {
            if (error.Code() != kCorruptedRecord)
                throw;
            damaged = true;
            ids.RemoveAll();
        }
        return ids;
    };
    auto translated = [&](const CArticleIdSet& ids, bool& droppedAny) {
        std::vector<int32_t> out;
        Translate(ids.Values(), m_articleMap, out);
        SortUnique(out);
        droppedAny = out.size() != ids.Values().size();
        CArticleIdSet set;
        set.Copy(out);
        return set;
    };

    bool present, damaged, dropped;
    CArticleIdSet bookmarked = translated(readList(kBookmarkedKey, present, damaged), dropped);
    // A placeholder is no article to bookmark.
    size_t before = bookmarked.Values().size();
    bookmarked.Subtract(m_placeholderArticles);
    dropped = dropped || bookmarked.Values().size() != before;
    if (present) {
        if (damaged || dropped)
            m_counts.listsRepaired = true;
        CKeyedRecordStream::WriteIdSet(&m_destination, kBookmarkedKey, bookmarked);
    }
    if (m_targetVersion < 300)
        return;
    // The private and placeholder lists follow the articles' own flags.
    const std::pair<int, const CArticleIdSet*> flagged[] = {{kPrivateKey, &m_privateArticles},
                                                             {kPlaceholderKey, &m_placeholderArticles}};
    for (const auto& [key, articles] : flagged) {
        CArticleIdSet list = translated(readList(key, present, damaged), dropped);
        if (!present && articles->GetSize() == 0)
            continue;
        if (damaged || dropped || list.Values() != articles->Values())
            m_counts.listsRepaired = true;
        CKeyedRecordStream::WriteIdSet(&m_destination, key, *articles);
    }
}

// ---- h: reminders ---------------------------------------------------------------------------------

void CCompactor::TransferReminders()
{
    m_host.SetProgressText(QuorLoadString(IDS_TRANSFERRING_REMINDERS));
    if (CKeyedRecordStream::FindKey(&m_source, kRemindersKey) == kNoneId)
        return;
    CReminderList reminders;
    try {
        reminders.Load(m_source);
    } catch (const CQuorError& error) {
        if (error.Code() != kCorruptedRecord)
            throw;
        return;
    }
    for (int index = reminders.GetCount() - 1; index >= 0; --index) {
        ReminderRecord reminder;
        reminders.GetAt(index, reminder);
        int32_t article = Lookup(m_articleMap, reminder.articleId);
        if (article == kNoneId) {
            reminders.DeleteReminder(reminder.id);
        } else if (article != reminder.articleId) {
            reminder.articleId = article;
            reminders.SetReminder(reminder.id, reminder);
        }
    }
    reminders.Save(m_destination);
}

// ---- i: keyed records -----------------------------------------------------------------------------

void CCompactor::CopyKeyedRecords()
{
    auto guarded = [&](auto&& copy) {
        try {
            copy();
        } catch (const CQuorError& error) {
            if (error.Code() == kDiskFull)
                throw;
        }
    };
    for (int key : kCopiedKeys)
        guarded([&] { CopyKeyedRecordBytes(m_source, m_destination, key); });
    guarded([&] { CopySavedQueries(); });
    if (m_targetVersion < 300)
        return;
    guarded([&] {
        if (m_sourceVersion != m_targetVersion)
            CFilePassword::CopyTo(m_source, m_destination);
        else
            CopyKeyedRecordBytes(m_source, m_destination, CFilePassword::kPasswordKey);
    });
    for (int key : kCopiedLaterKeys)
        guarded([&] { CopyKeyedRecordBytes(m_source, m_destination, key); });
}

void CCompactor::CopySavedQueries()
{
    if (CKeyedRecordStream::FindKey(&m_source, kSavedQueriesKey) == kNoneId)
        return;
    CQueryList queries;
    queries.Load(m_source);
    std::string oldWord, newWord;
    if (m_targetVersion <= 300 && m_sourceVersion > 300) {
        oldWord = "BOOKMARKED";
        newWord = "TAGGED";
    } else if (m_targetVersion > 300 && m_sourceVersion <= 300) {
        oldWord = "TAGGED";
        newWord = "BOOKMARKED";
    }
    if (!oldWord.empty()) {
        for (int i = 0; i < queries.GetCount(); ++i) {
            std::string name, text;
            int32_t from, to;
            queries.GetAt(i, name, text, from, to);
            if (RewriteQueryWord(text, oldWord, newWord))
                queries.SetQuery(i, text, from, to);
        }
    }
    queries.Save(m_destination);
}

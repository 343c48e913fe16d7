#include "storage/reminder_list.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "framework/clock.h"
#include "storage/data_file.h"
#include "storage/date.h"
#include "storage/keyed_record_stream.h"
#include "storage/quor_error.h"

namespace {
constexpr int kRemindersKey = 15;

// Days from 30 December 1899 to the given civil date (proleptic Gregorian).
int64_t DaysFromEpoch(int year, int month, int day)
{
    // Days from 1 March of year 0 (the algorithm of the civil-from-days family).
    auto daysFromCivil = [](int64_t y, int64_t m, int64_t d) {
        y -= m <= 2;
        int64_t era = (y >= 0 ? y : y - 399) / 400;
        int64_t yoe = y - era * 400;
        int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
        int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
        return era * 146097 + doe;
    };
    return daysFromCivil(year, month, day) - daysFromCivil(1899, 12, 30);
}

// A date-time value in whole seconds. Due moments and "now" are compared this way, so that a due
// moment reached through different sums of fractions still falls due on its second.
int64_t WholeSeconds(double value)
{
    return std::llround(value * 86400.0);
}

// A typed field: its int32 length, then the value. A length other than `size` (4 for an int32, 2 for
// the int16 count) reads as 0 and its bytes are skipped.
int32_t ReadTypedValue(CKeyedRecordStream& stream, int32_t size)
{
    int32_t length = stream.ReadInt();
    if (length == size)
        return size == 4 ? stream.ReadInt() : stream.ReadShort();
    stream.Skip(length > 0 ? length : 0);
    return 0;
}
}  // namespace

double CReminderList::ComputeDueTime(int32_t date, int32_t time, int32_t today, int32_t& status)
{
    if (!IsValidDateValue(date))
        date = today;
    int year = date / 10000;
    int month = date / 100 % 100;
    int day = date % 100;
    int hour = time / 3600;
    int minute = time / 60 % 60;
    status = (IsValidDateValue(date) && time >= 0 && hour < 24) ? 0 : 1;
    if (status != 0)
        return 0;
    return static_cast<double>(DaysFromEpoch(year, month, day)) + (hour * 60 + minute) / 1440.0;
}

double CReminderList::Now()
{
    QuorLocalTime now = QuorNow();
    return static_cast<double>(DaysFromEpoch(now.year, now.month, now.day)) +
           (now.hour * 3600 + now.minute * 60 + now.second) / 86400.0;
}

void CReminderList::InitReminder(ReminderRecord& record) const
{
    // One reading of the clock, so that the date and the time of day belong together.
    QuorLocalTime now = QuorNow();
    int32_t preset = m_owner ? m_owner->GetPresetReminderTime() : -1;
    record = ReminderRecord();
    record.date = now.year * 10000 + now.month * 100 + now.day;
    record.time = preset >= 0 ? preset : now.hour * 3600 + now.minute * 60 + now.second;
    record.due = ComputeDueTime(record.date, record.time, record.date, record.dueStatus);
}

void CReminderList::CopyReminder(ReminderRecord* destination, const ReminderRecord* source)
{
    if (destination && source)
        *destination = *source;
}

bool CReminderList::IsModified() const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    return m_modified;
}

void CReminderList::RemoveAll()
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    m_records.clear();
    std::lock_guard<std::recursive_mutex> articleLock(m_articleLock);
    m_articles.RemoveAll();
}

void CReminderList::UpdateArticleSet()
{
    std::lock_guard<std::recursive_mutex> articleLock(m_articleLock);
    m_articles.RemoveAll();
    for (const auto& record : m_records)
        m_articles.Values().push_back(record->articleId);
    m_articles.Sort();
}

void CReminderList::Load(CDataFile& file)
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    RemoveAll();
    try {
        CKeyedRecordStream stream;
        stream.Open(&file, kRemindersKey, CRecordStream::kRead);
        int32_t count = stream.ReadInt();
        ReminderRecord defaults;
        InitReminder(defaults);
        int32_t today = defaults.date;
        for (int32_t i = 0; i < count; ++i) {
            auto record = std::make_unique<ReminderRecord>(defaults);
            record->fieldCount = static_cast<int16_t>(ReadTypedValue(stream, 2));
            int32_t* values[] = {&record->date, &record->time, &record->articleId};
            for (int f = 0; f < 3 && f < record->fieldCount; ++f)
                *values[f] = ReadTypedValue(stream, 4);
            if (record->fieldCount > 3)
                stream.SkipField();
            record->due = ComputeDueTime(record->date, record->time, today, record->dueStatus);
            record->id = m_nextId++;
            m_records.push_back(std::move(record));
        }
        stream.Close();
    } catch (const CQuorError& error) {
        RemoveAll();
        if (error.Code() != kCorruptedRecord)
            throw;
    } catch (const std::bad_alloc&) {
        RemoveAll();
        throw CQuorError(kOutOfMemory);
    }
    UpdateArticleSet();
    m_modified = false;
}

void CReminderList::Save(CDataFile& file)
{
    if (file.GetOpenMode() != 2)
        return;
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    try {
        CKeyedRecordStream stream;
        stream.Open(&file, kRemindersKey, CRecordStream::kRewrite);
        stream.WriteInt(static_cast<int32_t>(m_records.size()));
        for (const auto& record : m_records) {
            stream.WriteInt(2);
            stream.WriteShort(3);
            for (int32_t value : {record->date, record->time, record->articleId}) {
                stream.WriteInt(4);
                stream.WriteInt(value);
            }
        }
        stream.Close();
    } catch (const std::bad_alloc&) {
        throw CQuorError(kOutOfMemory);
    }
    m_modified = false;
}

int CReminderList::Compare(const ReminderRecord& a, const ReminderRecord& b) const
{
    if (a.date != b.date)
        return a.date < b.date ? -1 : 1;
    if (a.time != b.time)
        return a.time < b.time ? -1 : 1;
    const char* titleA = m_owner ? m_owner->GetArticleTitle(a.articleId) : nullptr;
    const char* titleB = m_owner ? m_owner->GetArticleTitle(b.articleId) : nullptr;
    return std::strcmp(titleA ? titleA : "", titleB ? titleB : "");
}

void CReminderList::InsertSorted(std::unique_ptr<ReminderRecord> record)
{
    int lo = 0;
    int hi = static_cast<int>(m_records.size()) - 1;
    while (hi >= lo) {
        int mid = (lo + hi) / 2;
        if (Compare(*m_records[static_cast<size_t>(mid)], *record) < 0)
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    m_records.insert(m_records.begin() + lo, std::move(record));
    m_modified = true;
}

int CReminderList::FindIndex(int32_t id) const
{
    for (size_t i = 0; i < m_records.size(); ++i)
        if (m_records[i]->id == id)
            return static_cast<int>(i);
    return -1;
}

int32_t CReminderList::SetReminder(int32_t id, const ReminderRecord& given)
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    try {
        int32_t today = GetTodayYmd();
        if (id < 0) {
            auto record = std::make_unique<ReminderRecord>(given);
            record->id = m_nextId++;
            record->due = ComputeDueTime(record->date, record->time, today, record->dueStatus);
            record->alerted = 0;
            int32_t newId = record->id;
            int32_t article = record->articleId;
            InsertSorted(std::move(record));
            std::lock_guard<std::recursive_mutex> articleLock(m_articleLock);
            m_articles.Add(article);
            return newId;
        }
        int index = FindIndex(id);
        if (index < 0)
            return -1;
        ReminderRecord& stored = *m_records[static_cast<size_t>(index)];
        int32_t oldArticle = stored.articleId;
        if (stored.date == given.date && stored.time == given.time) {
            // The moment stays the stored one, so a snooze outlives an edit of anything else.
            double due = stored.due;
            int32_t dueStatus = stored.dueStatus;
            stored = given;
            stored.id = id;
            stored.due = due;
            stored.dueStatus = dueStatus;
            stored.alerted = 0;
        } else {
            std::unique_ptr<ReminderRecord> record = std::move(m_records[static_cast<size_t>(index)]);
            m_records.erase(m_records.begin() + index);
            *record = given;
            record->id = id;
            record->due = ComputeDueTime(record->date, record->time, today, record->dueStatus);
            record->alerted = 0;
            InsertSorted(std::move(record));
        }
        if (oldArticle != given.articleId)
            UpdateArticleSet();
        else {
            std::lock_guard<std::recursive_mutex> articleLock(m_articleLock);
            m_articles.Add(given.articleId);
        }
        m_modified = true;
        return id;
    } catch (const std::bad_alloc&) {
        return -1;
    }
}

bool CReminderList::GetAt(int index, ReminderRecord& out) const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    if (index < 0 || index >= static_cast<int>(m_records.size()))
        return false;
    out = *m_records[static_cast<size_t>(index)];
    return true;
}

int CReminderList::GetCount() const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    return static_cast<int>(m_records.size());
}

void CReminderList::DeleteReminder(int32_t id)
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    int index = FindIndex(id);
    if (index < 0)
        return;
    m_records.erase(m_records.begin() + index);
    UpdateArticleSet();
    m_modified = true;
}

int32_t CReminderList::FindByArticle(int32_t articleId) const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    for (const auto& record : m_records)
        if (record->articleId == articleId)
            return record->id;
    return -1;
}

bool CReminderList::HasReminder(int32_t articleId) const
{
    std::lock_guard<std::recursive_mutex> articleLock(m_articleLock);
    return m_articles.Contains(articleId);
}

int CReminderList::CountReminders(int& privateCount) const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    privateCount = 0;
    for (const auto& record : m_records)
        if (m_owner && m_owner->IsArticlePrivate(record->articleId))
            ++privateCount;
    return static_cast<int>(m_records.size());
}

void CReminderList::GetArticleIds(CArticleIdSet& out) const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    out.RemoveAll();
    for (const auto& record : m_records)
        out.Values().push_back(record->articleId);
    out.Sort();
}

int32_t CReminderList::Snooze(int32_t id, int32_t seconds)
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    int index = FindIndex(id);
    if (index < 0)
        return -1;
    ReminderRecord& record = *m_records[static_cast<size_t>(index)];
    record.due = Now() + seconds / 86400.0;
    record.dueStatus = 0;
    record.alerted = 0;
    return id;
}

bool CReminderList::IsDueAndVisible(const ReminderRecord& record, double now) const
{
    return WholeSeconds(record.due) <= WholeSeconds(now) && !m_hiddenArticles.Contains(record.articleId);
}

bool CReminderList::GetDueIds(std::vector<int32_t>& ids) const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    ids.clear();
    double now = Now();
    for (const auto& record : m_records)
        if (IsDueAndVisible(*record, now))
            ids.push_back(record->id);
    return !ids.empty();
}

bool CReminderList::ScanDue()
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    double now = Now();
    bool newlyDue = false;
    for (const auto& record : m_records) {
        if (record->alerted == 1 || !IsDueAndVisible(*record, now))
            continue;
        record->alerted = 1;
        newlyDue = true;
    }
    return newlyDue;
}

void CReminderList::SetHiddenArticles(const CArticleIdSet& hidden)
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    m_hiddenArticles.Copy(hidden);
}

bool CReminderList::GetReminder(int32_t id, ReminderRecord& out) const
{
    std::lock_guard<std::recursive_mutex> lock(m_recordsLock);
    InitReminder(out);
    int index = FindIndex(id);
    if (index < 0)
        return false;
    out = *m_records[static_cast<size_t>(index)];
    return true;
}

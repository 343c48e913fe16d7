// The reminders of the open data file (keyed record 15). The interface thread edits the list and
// the reminder watcher scans it, so every operation takes the list's own locks; callers never lock.
//
// Stored form (the content of keyed record 15), little-endian:
//   offset  size    meaning
//   0       4       int32 N: number of reminders
//   4       30 x N  N entries in list order, each a sequence of typed fields (int32 length, value):
//     0     4       int32 2
//     4     2       int16 field count (3)
//     6     4       int32 4
//     10    4       int32 date (yyyymmdd)
//     14    4       int32 4
//     18    4       int32 time (seconds since midnight)
//     22    4       int32 4
//     26    4       int32 article id
// A reader takes as many value fields as the count says and skips one further field when the count
// exceeds 3. A value whose stored length is not 4 (the count: not 2) reads as 0.
//
// Lock order: records lock, then article-set lock; never the other way round.
//
// The watcher thread calls only ScanDue and uses the stop event and the watcher window. ScanDue asks
// the owner nothing: which articles are hidden (private while private articles are hidden) is a copy
// the owner hands over on the interface thread with SetHiddenArticles whenever it changes, kept under
// the records lock, so the watcher never reads the document's own tables.
//
// A due moment is a date-time value: days since 30 December 1899, the time of day as fraction. "Now"
// comes from the clock seam (framework/clock.h) at one-second resolution.
#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "framework/sync.h"
#include "storage/id_set.h"

class CDataFile;

// What the list asks of the open knowledge base.
class CReminderOwner {
public:
    virtual ~CReminderOwner() = default;
    virtual bool IsArticlePrivate(int32_t id) const = 0;
    // nullptr when the article has no title.
    virtual const char* GetArticleTitle(int32_t id) = 0;
    // The time of day (seconds since midnight) new reminders start at when the preferences fix one;
    // -1 when a new reminder starts at the current time of day.
    virtual int32_t GetPresetReminderTime() const { return -1; }
};

struct ReminderRecord {
    int16_t fieldCount = 3;
    int32_t id = -1;
    int32_t date = 0;
    int32_t time = 0;
    int32_t articleId = -1;
    double due = 0;  // days since 30 December 1899, the time of day as fraction
    int32_t dueStatus = 0;  // 0 valid
    int32_t alerted = 0;
};

class CReminderList {
public:
    CReminderList() = default;
    CReminderList(const CReminderList&) = delete;
    CReminderList& operator=(const CReminderList&) = delete;
    virtual ~CReminderList() = default;

    void SetOwner(CReminderOwner* owner) { m_owner = owner; }

    // Fills `record` with the values of a new reminder: today at the default reminder time, no
    // article, not in the list, its due moment computed, not alerted.
    void InitReminder(ReminderRecord& record) const;

    // Replaces the contents by record 15 of the file; a file without it has no reminders.
    void Load(CDataFile& file);
    // Writes record 15 when the file is open read-write; clears the modified flag.
    void Save(CDataFile& file);
    bool IsModified() const;
    void RemoveAll();

    // id < 0 adds a copy of `record`; otherwise updates reminder id. The id, or -1 when not found.
    int32_t SetReminder(int32_t id, const ReminderRecord& record);
    // The InitReminder defaults, then reminder id over them; false (defaults left) when not found.
    bool GetReminder(int32_t id, ReminderRecord& out) const;
    bool GetAt(int index, ReminderRecord& out) const;
    int GetCount() const;
    void DeleteReminder(int32_t id);
    // The first reminder of the article, or -1.
    int32_t FindByArticle(int32_t articleId) const;
    bool HasReminder(int32_t articleId) const;
    // Total number; `privateCount` receives those of private articles.
    int CountReminders(int& privateCount) const;
    void GetArticleIds(CArticleIdSet& out) const;

    // Moves reminder id's due moment to now + `seconds` and arms it again; its date and time stay.
    // The id, or -1 when not found. A snooze lives in memory only: it is gone after a reload.
    int32_t Snooze(int32_t id, int32_t seconds);
    // The ids of the visible reminders due by now, alerted or not, in list order; true when any.
    bool GetDueIds(std::vector<int32_t>& ids) const;
    // The watcher's scan: marks as alerted every visible reminder due by now that is not yet; true
    // when any was newly marked. A reminder is reported once per due moment.
    bool ScanDue();
    // The articles whose reminders are neither scanned nor listed as due (private articles while
    // they are hidden); the owner sets them on the interface thread whenever they change.
    void SetHiddenArticles(const CArticleIdSet& hidden);

    // The window the watcher tells of due reminders, as an opaque handle value (0: none).
    void SetWatcherWindow(std::uintptr_t window) { m_watcherWindow.store(window); }
    std::uintptr_t GetWatcherWindow() const { return m_watcherWindow.load(); }
    // Signalled to end the watcher; auto-reset, initially not signalled.
    CEvent& GetStopEvent() { return m_stopEvent; }

    // Copies every field; nothing when either is missing.
    static void CopyReminder(ReminderRecord* destination, const ReminderRecord* source);

    // Negative, zero or positive: by date, then time, then article title.
    int Compare(const ReminderRecord& a, const ReminderRecord& b) const;
    // The moment a reminder set for `date` (yyyymmdd) and `time` (seconds) falls due, on the
    // minute. An invalid date counts as `today`; `status` is nonzero when the values are out of
    // range.
    static double ComputeDueTime(int32_t date, int32_t time, int32_t today, int32_t& status);
    // The clock seam's local time as a date-time value, to the second.
    static double Now();

private:
    int FindIndex(int32_t id) const;
    void InsertSorted(std::unique_ptr<ReminderRecord> record);
    void UpdateArticleSet();

    // True when the record is due at `now` and its article is not hidden.
    bool IsDueAndVisible(const ReminderRecord& record, double now) const;

    std::atomic<std::uintptr_t> m_watcherWindow{0};
    CEvent m_stopEvent{false, false};
    CReminderOwner* m_owner = nullptr;
    mutable std::recursive_mutex m_articleLock;
    CArticleIdSet m_articles;
    mutable std::recursive_mutex m_recordsLock;
    std::vector<std::unique_ptr<ReminderRecord>> m_records;
    int32_t m_nextId = 0;
    bool m_modified = false;
    // Guarded by the records lock, like the records: ScanDue reads it on the watcher thread.
    CArticleIdSet m_hiddenArticles;
};

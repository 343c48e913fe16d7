// The reminder list on its own: defaults, order, due moments, snoozes, the watcher's scan, hidden
// articles, the stored form and the two threads that share the list.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/reminder_list.h"
#include "tests/storage/reminder_test_support.h"
#include "tests/storage/test_seams.h"
#include "tests/support/temp_folder.h"

namespace {
class CTitles : public CReminderOwner {
public:
    bool IsArticlePrivate(int32_t id) const override { return false; }
    const char* GetArticleTitle(int32_t id) override
    {
        auto found = m_titles.find(id);
        return found == m_titles.end() ? nullptr : found->second.c_str();
    }
    int32_t GetPresetReminderTime() const override { return m_preset; }

    std::map<int32_t, std::string> m_titles;
    int32_t m_preset = -1;
};

CArticleIdSet IdSet(std::initializer_list<int32_t> ids)
{
    CArticleIdSet set;
    for (int32_t id : ids)
        set.Add(id);
    return set;
}

constexpr int32_t kToday = 20250301;

class ReminderListTest : public ::testing::Test {
protected:
    ReminderListTest() { m_list.SetOwner(&m_owner); }

    void SetNow(int hour, int minute, int second = 0, int day = 1)
    {
        m_clock.Set(MakeLocalTime(2025, 3, day, hour, minute, second));
    }
    std::vector<int32_t> ArticleOrder(const CReminderList& list) const
    {
        std::vector<int32_t> order;
        ReminderRecord at;
        for (int i = 0; list.GetAt(i, at); ++i)
            order.push_back(at.articleId);
        return order;
    }
    std::vector<int32_t> DueIds()
    {
        std::vector<int32_t> ids;
        m_list.GetDueIds(ids);
        return ids;
    }

    CPinnedClock m_clock{MakeLocalTime(2025, 3, 1, 10, 0, 30)};
    CTitles m_owner;
    CReminderList m_list;
};
}  // namespace

TEST_F(ReminderListTest, NewRemindersStartTodayAtThePresetOrTheCurrentTime)
{
    struct Case {
        int32_t preset;
        int32_t expectedTime;
    };
    for (Case c : {Case{-1, 36030}, Case{7200, 7200}, Case{0, 0}}) {
        SCOPED_TRACE(c.preset);
        m_owner.m_preset = c.preset;
        ReminderRecord record = Reminder(5, 1, 2);
        record.id = 9;
        record.alerted = 1;
        m_list.InitReminder(record);
        EXPECT_EQ(record.id, -1);
        EXPECT_EQ(record.articleId, -1);
        EXPECT_EQ(record.fieldCount, 3);
        EXPECT_EQ(record.date, kToday);
        EXPECT_EQ(record.time, c.expectedTime);
        EXPECT_EQ(record.alerted, 0);
        int32_t status = 1;
        EXPECT_DOUBLE_EQ(record.due, CReminderList::ComputeDueTime(kToday, c.expectedTime, kToday, status));
        EXPECT_EQ(record.dueStatus, 0);
    }

    // An unknown id leaves the defaults; a known one is copied over them.
    ReminderRecord out;
    EXPECT_FALSE(m_list.GetReminder(0, out));
    EXPECT_EQ(out.date, kToday);
    int32_t id = m_list.SetReminder(-1, Reminder(3, 20250401, 600));
    EXPECT_TRUE(m_list.GetReminder(id, out));
    EXPECT_EQ(out.id, id);
    EXPECT_EQ(out.date, 20250401);
    EXPECT_EQ(out.articleId, 3);
}

TEST_F(ReminderListTest, EqualMomentsGoByTitleAndANewEqualOneGoesFirst)
{
    m_owner.m_titles = {{1, "Beta"}, {2, "Alpha"}, {3, "Beta"}, {4, "Gamma"}};
    m_list.SetReminder(-1, Reminder(1, 20250301, 600));
    m_list.SetReminder(-1, Reminder(2, 20250301, 600));
    m_list.SetReminder(-1, Reminder(4, 20250301, 599));
    m_list.SetReminder(-1, Reminder(3, 20250301, 600));  // compares equal to article 1
    EXPECT_EQ(ArticleOrder(m_list), (std::vector<int32_t>{4, 2, 3, 1}));
}

TEST_F(ReminderListTest, AnInvalidDateFallsDueTodayAtItsTime)
{
    int32_t id = m_list.SetReminder(-1, Reminder(1, 20251399, 10 * 3600 + 60));
    EXPECT_TRUE(DueIds().empty());
    SetNow(10, 0, 59);
    EXPECT_TRUE(DueIds().empty());
    SetNow(10, 1);
    EXPECT_EQ(DueIds(), (std::vector<int32_t>{id}));
    ReminderRecord record;
    m_list.GetReminder(id, record);
    EXPECT_EQ(record.date, 20251399);  // the stored value is kept as it was
}

TEST_F(ReminderListTest, EditingKeepsASnoozeUnlessTheMomentChanges)
{
    m_owner.m_titles = {{1, "One"}, {2, "Two"}, {3, "Three"}};
    int32_t early = m_list.SetReminder(-1, Reminder(1, kToday, 9 * 3600));
    m_list.SetReminder(-1, Reminder(2, kToday, 11 * 3600));
    ASSERT_EQ(DueIds(), (std::vector<int32_t>{early}));
    EXPECT_EQ(m_list.Snooze(early, 600), early);  // due 10:10:30
    EXPECT_TRUE(DueIds().empty());

    // Another article, same moment: the snoozed due stays, the place too.
    ReminderRecord record;
    m_list.GetReminder(early, record);
    record.articleId = 3;
    record.due = 0;  // a caller's stale value does not replace the stored moment
    EXPECT_EQ(m_list.SetReminder(early, record), early);
    EXPECT_EQ(ArticleOrder(m_list), (std::vector<int32_t>{3, 2}));
    EXPECT_FALSE(m_list.HasReminder(1));
    EXPECT_TRUE(m_list.HasReminder(3));
    SetNow(10, 10, 29);
    EXPECT_TRUE(DueIds().empty());
    SetNow(10, 10, 30);
    EXPECT_EQ(DueIds(), (std::vector<int32_t>{early}));

    // A new time: due again from that time, and the list re-sorted.
    m_list.GetReminder(early, record);
    record.time = 12 * 3600;
    m_list.SetReminder(early, record);
    EXPECT_EQ(ArticleOrder(m_list), (std::vector<int32_t>{2, 3}));
    EXPECT_TRUE(DueIds().empty());
    SetNow(12, 0);
    EXPECT_EQ(DueIds().size(), 2u);
    EXPECT_EQ(m_list.SetReminder(77, record), -1);
    EXPECT_EQ(m_list.Snooze(77, 60), -1);
}

TEST_F(ReminderListTest, TheScanReportsOncePerDueMomentAndSkipsHiddenArticles)
{
    int32_t id = m_list.SetReminder(-1, Reminder(1, kToday, 9 * 3600));
    int32_t hidden = m_list.SetReminder(-1, Reminder(7, kToday, 9 * 3600));
    m_list.SetHiddenArticles(IdSet({7}));
    EXPECT_TRUE(m_list.ScanDue());
    EXPECT_FALSE(m_list.ScanDue());
    EXPECT_EQ(DueIds(), (std::vector<int32_t>{id}));  // listed as due, alerted or not

    m_list.Snooze(id, 300);
    EXPECT_FALSE(m_list.ScanDue());
    SetNow(10, 5, 30);
    EXPECT_TRUE(m_list.ScanDue());
    EXPECT_FALSE(m_list.ScanDue());

    // An edit arms it again, also when the moment stays.
    ReminderRecord record;
    m_list.GetReminder(id, record);
    m_list.SetReminder(id, record);
    EXPECT_TRUE(m_list.ScanDue());

    // The hidden article's reminder is reported on the first scan after it is shown.
    m_list.SetHiddenArticles(CArticleIdSet());
    EXPECT_EQ(DueIds(), (std::vector<int32_t>{hidden, id}));  // equal moments: the newer first
    EXPECT_TRUE(m_list.ScanDue());
    EXPECT_FALSE(m_list.ScanDue());
}

TEST_F(ReminderListTest, ASnoozeIsForgottenAfterSaveAndReload)
{
    CTempFolder folder;
    CDataFile file;
    file.Create(folder.File("r.xrd"), 400);
    int32_t id = m_list.SetReminder(-1, Reminder(1, kToday, 9 * 3600));
    EXPECT_TRUE(m_list.ScanDue());
    m_list.Snooze(id, 3600);
    EXPECT_TRUE(m_list.IsModified());
    m_list.Save(file);
    EXPECT_FALSE(m_list.IsModified());
    m_list.Snooze(id, 3600);
    EXPECT_FALSE(m_list.IsModified());  // a snooze is not stored

    m_list.Load(file);
    ASSERT_EQ(m_list.GetCount(), 1);
    ReminderRecord record;
    m_list.GetAt(0, record);
    EXPECT_EQ(record.date, kToday);
    EXPECT_EQ(record.time, 9 * 3600);
    EXPECT_GT(record.id, id);  // ids go on counting across loads
    EXPECT_EQ(DueIds(), (std::vector<int32_t>{record.id}));
    EXPECT_TRUE(m_list.ScanDue());  // reported again after the reload
    file.Close();
}

// Stored entries as a writer other than this one may have left them, each followed by a plain entry
// that must still be read in step.
TEST_F(ReminderListTest, StoredEntriesAreReadAsFarAsTheirCountSays)
{
    struct Field {
        int32_t length;
        int32_t value;
    };
    struct Case {
        const char* name;
        std::vector<Field> fields;  // the count field first; a length of 2 writes an int16
        int32_t date, time, article;
    };
    const Case cases[] = {
        {"count 3", {{2, 3}, {4, 20240102}, {4, 60}, {4, 8}}, 20240102, 60, 8},
        {"count 2: no article", {{2, 2}, {4, 20240102}, {4, 60}}, 20240102, 60, -1},
        {"count 4: one field skipped", {{2, 4}, {4, 20240102}, {4, 60}, {4, 8}, {4, 99}}, 20240102, 60, 8},
        {"a value of another length reads as 0", {{2, 3}, {2, 5}, {4, 60}, {4, 8}}, 0, 60, 8},
        {"a count of another length reads as 0", {{4, 3}}, kToday, 36030, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempFolder folder;
        CDataFile file;
        file.Create(folder.File("r.xrd"), 400);
        CKeyedRecordStream stream;
        stream.Open(&file, 15, CRecordStream::kRewrite);
        stream.WriteInt(2);
        for (const Field& field : c.fields) {
            stream.WriteInt(field.length);
            if (field.length == 2)
                stream.WriteShort(static_cast<int16_t>(field.value));
            else
                stream.WriteInt(field.value);
        }
        for (int32_t value : {2, 3, 4, 20250505, 4, 120, 4, 6}) {
            if (value == 3)
                stream.WriteShort(3);
            else
                stream.WriteInt(value);
        }
        stream.Close();

        CReminderList list;
        list.SetOwner(&m_owner);
        list.Load(file);
        ASSERT_EQ(list.GetCount(), 2);
        ReminderRecord first, second;
        list.GetAt(0, first);
        list.GetAt(1, second);
        EXPECT_EQ(first.date, c.date);
        EXPECT_EQ(first.time, c.time);
        EXPECT_EQ(first.articleId, c.article);
        EXPECT_EQ(second.date, 20250505);
        EXPECT_EQ(second.time, 120);
        EXPECT_EQ(second.articleId, 6);
        EXPECT_FALSE(list.IsModified());
        file.Close();
    }
}

// The watcher thread scans while the interface thread adds, edits, snoozes, deletes and hides; the
// sanitizers see any access outside the locks.
TEST_F(ReminderListTest, TheWatcherScansWhileTheInterfaceThreadEdits)
{
    for (int32_t article = 0; article < 20; ++article)
        m_owner.m_titles[article] = "Article " + std::to_string(article % 5);
    CEvent& stop = m_list.GetStopEvent();
    std::thread watcher([&] {
        while (!stop.Wait(0))
            m_list.ScanDue();
    });

    std::vector<int32_t> ids;
    for (int step = 0; step < 3000; ++step) {
        int32_t article = step % 20;
        int32_t time = (step * 7919) % 86400;
        switch (step % 6) {
        case 0:
        case 1:
            ids.push_back(m_list.SetReminder(-1, Reminder(article, kToday, time)));
            break;
        case 2:
            if (!ids.empty()) {
                ReminderRecord record;
                m_list.GetReminder(ids[static_cast<size_t>(step) % ids.size()], record);
                record.time = time;
                m_list.SetReminder(record.id, record);
            }
            break;
        case 3:
            if (!ids.empty())
                m_list.Snooze(ids[static_cast<size_t>(step) % ids.size()], step % 2 ? 0 : 300);
            break;
        case 4:
            m_list.SetHiddenArticles(step % 4 ? IdSet({article}) : CArticleIdSet());
            break;
        default:
            if (!ids.empty()) {
                m_list.DeleteReminder(ids.back());
                ids.pop_back();
            }
            std::vector<int32_t> due;
            m_list.GetDueIds(due);
            break;
        }
    }
    stop.Set();
    watcher.join();

    // The list is still in order and its article set in step with the records.
    ReminderRecord previous, current;
    ASSERT_TRUE(m_list.GetAt(0, previous));
    CArticleIdSet articles;
    m_list.GetArticleIds(articles);
    for (int i = 1; m_list.GetAt(i, current); ++i) {
        EXPECT_LE(m_list.Compare(previous, current), 0) << i;
        previous = current;
    }
    for (int32_t article = 0; article < 20; ++article)
        EXPECT_EQ(m_list.HasReminder(article), articles.Contains(article)) << article;
}

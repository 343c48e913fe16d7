// The document's reminders: Set Reminder through the host's dialog, the preset reminder time, and
// which reminders the watcher sees while private articles are hidden.
#include <functional>
#include <thread>

#include "shell/app_settings.h"
#include "shell/memory_profile_store.h"
#include "tests/document/doc_fixture.h"
#include "tests/storage/reminder_test_support.h"
#include "tests/storage/test_seams.h"

namespace {
constexpr int32_t kToday = 20250301;

class DocReminders : public DocFixture {
protected:
    std::vector<int32_t> DueIds()
    {
        std::vector<int32_t> ids;
        m_doc->GetReminders().GetDueIds(ids);
        return ids;
    }

    CPinnedClock m_clock{MakeLocalTime(2025, 3, 1, 10, 0, 30)};
};

using Answer = std::function<bool(ReminderRecord& record, bool& deleteChosen)>;

bool SetTime(ReminderRecord& record, bool&)
{
    record.time = 7200;
    return true;
}
bool ChooseDelete(ReminderRecord&, bool& deleteChosen)
{
    deleteChosen = true;
    return true;
}
bool ChooseCancel(ReminderRecord& record, bool&)
{
    record.time = 7200;
    return false;
}
}  // namespace

TEST_F(DocReminders, SetReminderAddsEditsOrDeletesAndTellsTheViews)
{
    struct Case {
        const char* name;
        bool existing;
        Answer answer;
        int expectedCount;
        int32_t expectedTime;
        bool notified;
    };
    const Case cases[] = {
        {"add", false, SetTime, 1, 7200, true},
        {"edit", true, SetTime, 1, 7200, true},
        {"delete", true, ChooseDelete, 0, 0, true},
        {"cancel an edit", true, ChooseCancel, 1, 600, false},
        {"cancel a new one", false, ChooseCancel, 0, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Create();
        int32_t other = AddArticle("Other", Keywords({}));
        int32_t a = AddArticle("Subject", Keywords({}));
        CRecordingArticleView window(m_trace, a);
        CRecordingArticleView otherWindow(m_trace, other);
        m_doc->AddView(&window);
        m_doc->AddView(&otherWindow);
        CReminderList& reminders = m_doc->GetReminders();
        int32_t existing = c.existing ? reminders.SetReminder(-1, Reminder(a, 20250401, 600)) : -1;
        m_trace.clear();
        m_host.m_reminderEdits.clear();
        m_host.m_reminderAnswer = c.answer;

        m_doc->EditArticleReminder(a);

        ASSERT_EQ(m_host.m_reminderEdits.size(), 1u);
        const CRecordingHost::ReminderEdit& edit = m_host.m_reminderEdits[0];
        EXPECT_EQ(edit.article, a);
        EXPECT_EQ(edit.reminderId, existing);
        EXPECT_EQ(edit.record.id, existing);
        EXPECT_EQ(edit.record.articleId, a);
        EXPECT_EQ(edit.record.date, c.existing ? 20250401 : kToday);
        EXPECT_EQ(reminders.GetCount(), c.expectedCount);
        EXPECT_EQ(reminders.HasReminder(a), c.expectedCount == 1);
        if (c.expectedCount == 1) {
            ReminderRecord stored;
            ASSERT_TRUE(reminders.GetAt(0, stored));
            EXPECT_EQ(stored.articleId, a);
            EXPECT_EQ(stored.time, c.expectedTime);
            if (c.existing) {
                EXPECT_EQ(stored.id, existing);
            }
        }
        EXPECT_EQ(m_trace, c.notified ? (Trace{{ArticleHint::kReminderChanged, 0, 0}, {IndexCode::kRemindersChanged, 0, 0}}) : Trace{});

        m_doc->RemoveView(&window);
        m_doc->RemoveView(&otherWindow);
        Close();
    }
}

TEST_F(DocReminders, ANewReminderStartsAtThePreferencesTimeWhenOneIsSet)
{
    CMemoryProfileStore store;
    CFontSettings fonts;
    CDirectories directories;
    CAppSettings settings(store, fonts, directories);
    Create();
    m_doc->SetSettings(&settings);
    int32_t a = AddArticle("Subject", Keywords({}));
    struct Case {
        int type;
        int time;
        int32_t expected;
    };
    for (Case c : {Case{1, 7200, 7200}, Case{0, 7200, 36030}}) {
        settings.SetDefaultReminder(c.type, c.time);
        m_host.m_reminderEdits.clear();
        m_doc->EditArticleReminder(a);
        ASSERT_EQ(m_host.m_reminderEdits.size(), 1u);
        EXPECT_EQ(m_host.m_reminderEdits[0].record.time, c.expected) << c.type;
    }
    m_doc->SetSettings(nullptr);
}

TEST_F(DocReminders, HiddenPrivateArticlesFallDueOnlyOnceShown)
{
    Create();
    m_doc->SetPassword("pw");
    m_host.m_password = "pw";
    int32_t secret = AddArticle("Secret", Keywords({}), true);
    int32_t open = AddArticle("Open", Keywords({}));
    CReminderList& reminders = m_doc->GetReminders();
    int32_t secretReminder = reminders.SetReminder(-1, Reminder(secret, kToday, 9 * 3600));
    int32_t openReminder = reminders.SetReminder(-1, Reminder(open, kToday, 9 * 3600 + 60));

    m_doc->HidePrivateArticles();
    ASSERT_TRUE(m_doc->ArePrivateArticlesHidden());
    EXPECT_EQ(DueIds(), (std::vector<int32_t>{openReminder}));
    EXPECT_TRUE(reminders.ScanDue());
    EXPECT_FALSE(reminders.ScanDue());
    ASSERT_TRUE(m_doc->UnlockPrivateArticles());
    EXPECT_EQ(DueIds(), (std::vector<int32_t>{secretReminder, openReminder}));
    EXPECT_TRUE(reminders.ScanDue());

    // A file with a password opens with its private articles hidden.
    Reopen();
    CReminderList& reopened = m_doc->GetReminders();
    ASSERT_TRUE(m_doc->ArePrivateArticlesHidden());
    EXPECT_EQ(DueIds().size(), 1u);
    EXPECT_TRUE(reopened.ScanDue());
    EXPECT_FALSE(reopened.ScanDue());
    ASSERT_TRUE(m_doc->UnlockPrivateArticles());
    EXPECT_TRUE(reopened.ScanDue());
}

// The watcher scans the document's list while the interface thread sets reminders, hides and shows
// private articles and adds and deletes articles.
TEST_F(DocReminders, TheWatcherScansWhileTheDocumentChanges)
{
    Create();
    m_doc->SetPassword("pw");
    m_host.m_password = "pw";
    std::vector<int32_t> articles;
    for (int i = 0; i < 6; ++i)
        articles.push_back(AddArticle("Article " + std::to_string(i), Keywords({}), i % 2 == 0));
    CReminderList& reminders = m_doc->GetReminders();
    std::thread watcher([&] {
        while (!reminders.GetStopEvent().Wait(0))
            reminders.ScanDue();
    });

    for (int step = 0; step < 120; ++step) {
        int32_t article = articles[static_cast<size_t>(step) % articles.size()];
        int32_t time = (step * 3011) % 86400;
        m_host.m_reminderAnswer = [time, step](ReminderRecord& record, bool& deleteChosen) {
            record.time = time;
            deleteChosen = step % 7 == 0;
            return true;
        };
        switch (step % 5) {
        case 0:
            m_doc->HidePrivateArticles();
            break;
        case 1:
            m_doc->UnlockPrivateArticles();
            break;
        case 2: {
            int32_t added = AddArticle("Added", Keywords({}), step % 2 == 0);
            m_doc->EditArticleReminder(added);
            m_doc->DeleteArticle(added);
            break;
        }
        default:
            m_doc->EditArticleReminder(article);
            break;
        }
    }
    reminders.GetStopEvent().Set();
    watcher.join();
    EXPECT_LE(reminders.GetCount(), static_cast<int>(articles.size()));
    EXPECT_TRUE(m_errors.Messages().empty());
}

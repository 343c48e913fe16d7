// The stored objects the document keeps in keyed records: texts, page layout and reminders.
#include <gtest/gtest.h>

#include "storage/data_file.h"
#include "storage/keyed_record_stream.h"
#include "storage/keyed_texts.h"
#include "storage/page_layout.h"
#include "storage/reminder_list.h"
#include "tests/support/temp_folder.h"

namespace {
class KeyedObjects : public ::testing::Test {
protected:
    void SetUp() override { m_file.Create(m_folder.File("texts.xrd"), 400); }
    void TearDown() override { m_file.CloseIfOpen(); }

    // Writes a keyed record from raw int32 and int16 values.
    template <class Write>
    void WriteRecord(int key, Write write)
    {
        CKeyedRecordStream stream;
        stream.Open(&m_file, key, CRecordStream::kRewrite);
        write(stream);
        stream.Close();
    }

    CTempFolder m_folder;
    CDataFile m_file;
};

class TitleOwner : public CReminderOwner {
public:
    bool IsArticlePrivate(int32_t id) const override { return id == 9; }
    const char* GetArticleTitle(int32_t id) override { return id == 1 ? "Beta" : "Alpha"; }
};
}  // namespace

TEST_F(KeyedObjects, MissingRecordsGiveTheDefaults)
{
    CHeaderText header;
    CFooterText footer;
    CExportHeader exportHeader;
    CPageLayout layout;
    CReminderList reminders;
    header.Load(m_file);
    footer.Load(m_file);
    exportHeader.Load(m_file);
    layout.Load(m_file);
    reminders.Load(m_file);
    EXPECT_EQ(header.GetText(), "texts.xrd");
    EXPECT_EQ(footer.GetText(), "Page &P");
    EXPECT_EQ(exportHeader.GetText(), "");
    EXPECT_EQ(layout.GetLeftMargin(), 75);
    EXPECT_TRUE(layout.GetPrintDates());
    EXPECT_FALSE(layout.IsChanged());
    EXPECT_EQ(reminders.GetCount(), 0);
}

TEST_F(KeyedObjects, TextsRoundTripAndAnEmptyHeaderComesBackAsTheDefault)
{
    CHeaderText header;
    CExportHeader exportHeader;
    header.Load(m_file);
    header.SetText("");
    header.Save(m_file);
    exportHeader.SetText("Export title");
    exportHeader.Save(m_file);
    EXPECT_FALSE(exportHeader.IsChanged());

    CHeaderText header2;
    CExportHeader exportHeader2;
    header2.Load(m_file);
    exportHeader2.Load(m_file);
    EXPECT_EQ(header2.GetText(), "texts.xrd");
    EXPECT_EQ(exportHeader2.GetText(), "Export title");
}

TEST_F(KeyedObjects, PageLayoutReadsOnlyWhatTheCountCovers)
{
    WriteRecord(3, [](CKeyedRecordStream& s) {
        s.WriteInt(6);
        for (int16_t v : {10, 20, 30, 40})
            s.WriteShort(v);
    });
    CPageLayout layout;
    layout.Load(m_file);
    EXPECT_EQ(layout.GetTopMargin(), 10);
    EXPECT_EQ(layout.GetLeftMargin(), 20);
    EXPECT_EQ(layout.GetBottomMargin(), 30);
    EXPECT_EQ(layout.GetRightMargin(), 75);  // beyond the stated 6 bytes

    layout.SetMargins(1, 2, 3, 4);
    layout.SetPrintKeywords(false);
    layout.SetUnits(0);
    layout.Save(m_file);
    CPageLayout again;
    again.Load(m_file);
    EXPECT_EQ(again.GetRightMargin(), 4);
    EXPECT_FALSE(again.GetPrintKeywords());
    EXPECT_EQ(again.GetUnits(), 0);
    EXPECT_TRUE(again.GetPrintDates());
}

TEST_F(KeyedObjects, RemindersKeepDateTimeTitleOrderAndRoundTrip)
{
    TitleOwner owner;
    CReminderList reminders;
    reminders.SetOwner(&owner);
    ReminderRecord record;
    record.date = 20250301;
    record.time = 600;
    record.articleId = 1;  // "Beta"
    reminders.SetReminder(-1, record);
    record.articleId = 2;  // "Alpha": same moment, sorts first
    reminders.SetReminder(-1, record);
    record.date = 20250101;
    record.articleId = 9;
    int32_t early = reminders.SetReminder(-1, record);

    ReminderRecord at;
    std::vector<int32_t> order;
    for (int i = 0; reminders.GetAt(i, at); ++i)
        order.push_back(at.articleId);
    EXPECT_EQ(order, (std::vector<int32_t>{9, 2, 1}));
    EXPECT_TRUE(reminders.HasReminder(2));
    int privateCount = 0;
    EXPECT_EQ(reminders.CountReminders(privateCount), 3);
    EXPECT_EQ(privateCount, 1);

    reminders.Save(m_file);
    EXPECT_FALSE(reminders.IsModified());
    reminders.DeleteReminder(early);
    CReminderList loaded;
    loaded.SetOwner(&owner);
    loaded.Load(m_file);
    ASSERT_EQ(loaded.GetCount(), 3);
    loaded.GetAt(0, at);
    EXPECT_EQ(at.date, 20250101);
    EXPECT_EQ(loaded.FindByArticle(1), 2);
}

TEST_F(KeyedObjects, AReminderEntryWithTwoFieldsLoadsWithoutArticle)
{
    WriteRecord(15, [](CKeyedRecordStream& s) {
        s.WriteInt(1);
        s.WriteInt(2);
        s.WriteShort(2);
        s.WriteInt(4);
        s.WriteInt(20250102);
        s.WriteInt(4);
        s.WriteInt(3600);
    });
    CReminderList reminders;
    reminders.Load(m_file);
    ASSERT_EQ(reminders.GetCount(), 1);
    ReminderRecord record;
    reminders.GetAt(0, record);
    EXPECT_EQ(record.date, 20250102);
    EXPECT_EQ(record.time, 3600);
    EXPECT_EQ(record.articleId, -1);
}

TEST_F(KeyedObjects, SavingToAReadOnlyFileWritesNothing)
{
    std::string path = m_file.GetFilePath();
    m_file.Close();
    m_file.Open(path, true);
    CReminderList reminders;
    ReminderRecord record;
    record.date = 20250101;
    reminders.SetReminder(-1, record);
    reminders.Save(m_file);
    EXPECT_TRUE(reminders.IsModified());
    EXPECT_EQ(CKeyedRecordStream::FindKey(&m_file, 15), kNoneId);
}

TEST(ReminderDue, FallsDueOnTheMinuteAndAnInvalidDateMeansToday)
{
    int32_t status = 0;
    double due = CReminderList::ComputeDueTime(18991231, 3661, 20200101, status);
    EXPECT_EQ(status, 0);
    EXPECT_DOUBLE_EQ(due, 1.0 + 61.0 / 1440.0);
    double today = CReminderList::ComputeDueTime(20251399, 0, 18991230, status);
    EXPECT_EQ(status, 0);
    EXPECT_DOUBLE_EQ(today, 0.0);
}

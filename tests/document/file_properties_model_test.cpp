// The File Properties rules over a real knowledge base: counts from the tables, their texts, the
// path wrap, the link-location question, and what OK on each page changes (and what it leaves).
#include "document/file_properties_model.h"

#include <map>

#include "resources/file_properties_res.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "tests/document/doc_fixture.h"
#include "tests/storage/reminder_test_support.h"

namespace {

TEST(FilePropertiesTexts, NumbersGetThousandsSeparators)
{
    struct Case {
        uint64_t value;
        char separator;
        const char* text;
    } cases[] = {
        {0, ',', "0"},
        {999, ',', "999"},
        {1000, ',', "1,000"},
        {1234567, ',', "1,234,567"},
        {1234567, '.', "1.234.567"},
        {100000, ' ', "100 000"},
        {3000000000ull, ',', "3,000,000,000"},  // from 2 GiB the size stays positive
        {18446744073709551615ull, ',', "18,446,744,073,709,551,615"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GroupThousands(c.value, c.separator), c.text) << c.value;
    EXPECT_EQ(FileSizeText(1234567, ','), "1,234,567 bytes");
    EXPECT_EQ(FileSizeText(999, ','), "999 bytes");
    EXPECT_EQ(ThousandsSeparatorFrom("."), '.');
    EXPECT_EQ(ThousandsSeparatorFrom(""), ',');
    EXPECT_EQ(ThousandsSeparatorFrom("\xC2\xA0"), ',');

    EXPECT_EQ(ArticleCountText(12, 3, false, ','), "12   (3 Private)");
    EXPECT_EQ(ArticleCountText(9, 3, true, ','), "9");
    EXPECT_EQ(ArticleCountText(1200, 0, false, ','), "1,200   (0 Private)");
    EXPECT_EQ(ReminderCountText(5, 2, false, ','), "5   (2 Private)");
    EXPECT_EQ(ReminderCountText(5, 2, true, ','), "3");
}

TEST(FilePropertiesTexts, LinkLocationQuestion)
{
    EXPECT_FALSE(LinkLocationChanged(2, "D:\\Links", 2, "d:\\LINKS"));
    EXPECT_TRUE(LinkLocationChanged(2, "D:\\Links", 2, "D:\\Links2"));
    EXPECT_TRUE(LinkLocationChanged(0, "D:\\Links", 1, "D:\\Links"));
    // Switching to "Specify path" and back leaves nothing to ask.
    EXPECT_FALSE(LinkLocationChanged(1, "D:\\Links", 1, "D:\\Links"));
}

class CPrompts : public IPrivacyPrompts {
public:
    explicit CPrompts(CQuorvaneDoc*& document) : m_document(document) {}
    bool EnterPassword() override
    {
        m_asked.push_back("enter");
        return m_enterAnswer && m_document->UnlockPrivateArticles();
    }
    bool CreatePassword() override
    {
        m_asked.push_back("create");
        if (m_createAnswer.empty())
            return false;
        return m_document->SetPassword(m_createAnswer);
    }
    void Inform(int messageId) override { m_messages.push_back(messageId); }

    CQuorvaneDoc*& m_document;
    bool m_enterAnswer = true;
    std::string m_createAnswer;
    std::vector<std::string> m_asked;
    std::vector<int> m_messages;
};

class FileProperties : public DocFixture {
protected:
    void Make()
    {
        Create();
        m_doc->SetSettings(&m_settings);
        m_doc->SetDirectories(&m_directories);
        m_raw = m_doc.get();
    }
    // Closes the file (which writes what changed), then opens it with `between` settings reset first.
    void ReopenWithSettings(bool readOnly = false, bool resetBetween = false)
    {
        if (m_doc)
            Close();
        if (resetBetween)
            m_settings.ResetSettings();
        m_doc = std::make_unique<CQuorvaneDoc>(m_host);
        Attach();
        m_doc->SetSettings(&m_settings);
        m_doc->SetDirectories(&m_directories);
        m_doc->SetOpenOptions(readOnly, false);
        ASSERT_TRUE(m_doc->OnOpenDocument(m_path));
        m_raw = m_doc.get();
    }
    CFilePropertiesModel Load()
    {
        CFilePropertiesModel properties;
        properties.Load(*m_doc, m_settings, m_directories);
        return properties;
    }

    CMemoryProfileStore m_store;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_store, m_fonts, m_directories};
    CQuorvaneDoc* m_raw = nullptr;
};

TEST_F(FileProperties, CountsComeFromTheTables)
{
    Make();
    int32_t k = m_doc->AddKeyword("alpha", false);
    m_doc->AddKeyword("beta", false);
    int32_t g1 = AddGroup("one", Keywords({k}));
    AddGroup("two", Keywords({k}));
    AddGroup("three", Keywords({k}));
    m_doc->DeleteKeywordGroup(g1);
    m_doc->SetPassword("pw");
    std::vector<int32_t> ids;
    for (int i = 0; i < 12; ++i)
        ids.push_back(AddArticle("a" + std::to_string(i), Keywords({k}), i < 3));
    CReminderList& reminders = m_doc->GetReminders();
    reminders.SetReminder(-1, Reminder(ids[0], 20260101, 600));  // a private article's
    reminders.SetReminder(-1, Reminder(ids[5], 20260101, 600));
    reminders.SetReminder(-1, Reminder(ids[6], 20260101, 600));

    CFilePropertiesModel shown = Load();
    EXPECT_EQ(shown.m_path, m_path);
    EXPECT_GT(shown.m_size, 0u);
    EXPECT_EQ(shown.KeywordText(','), "2");
    EXPECT_EQ(shown.GroupText(','), "2");
    EXPECT_EQ(shown.ArticleText(','), "12   (3 Private)");
    EXPECT_EQ(shown.ReminderText(','), "3   (1 Private)");
    EXPECT_FALSE(shown.m_readOnly);

    m_doc->HidePrivateArticles();
    CFilePropertiesModel hidden = Load();
    EXPECT_EQ(hidden.ArticleText(','), "9");
    EXPECT_EQ(hidden.ReminderText(','), "2");
    m_host.m_password = "pw";
    ASSERT_TRUE(m_doc->UnlockPrivateArticles());
    hidden.RefreshCounts(*m_doc);
    EXPECT_EQ(hidden.ArticleText(','), "12   (3 Private)");
}

TEST_F(FileProperties, GeneralAndArticlesSurviveCloseAndReopen)
{
    Make();
    CFilePropertiesModel p = Load();
    p.m_exportHeader = "Exported from my notes";
    p.m_comments = "Work notes\r\nsince 2026";
    LogFont font;
    SetFaceName(font, "Courier New");
    font.lfHeight = -16;
    font.lfWeight = 700;
    font.lfItalic = 1;
    p.SetChosenFont(font, 0x00336699);
    ASSERT_TRUE(p.ApplyGeneral(*m_doc, m_settings, true, true, 96));
    p.m_autoUpdateDates = 1;
    p.m_wordWrap = 0;
    p.m_saveFullPathnames = 0;
    p.m_linkMode = 2;
    p.m_specifiedPath = "  D:\\Link Targets  ";
    p.ApplyArticles(m_settings);

    ReopenWithSettings(false, true);
    CFilePropertiesModel again = Load();
    EXPECT_EQ(again.m_exportHeader, "Exported from my notes");
    EXPECT_EQ(again.m_comments, "Work notes\r\nsince 2026");
    EXPECT_EQ(GetFaceName(again.m_font), "Courier New");
    EXPECT_EQ(again.FontText(96), "Courier New, 12 pt, Bold, Italic");
    EXPECT_EQ(again.m_color, 0x00336699);
    EXPECT_EQ(again.m_autoColor, 0);
    EXPECT_EQ(m_settings.GetFontDescription(), "Courier New, 12 pt, Bold, Italic");
    EXPECT_EQ(again.m_autoUpdateDates, 1);
    EXPECT_EQ(again.m_wordWrap, 0);
    EXPECT_EQ(again.m_saveFullPathnames, 0);
    EXPECT_EQ(again.m_linkMode, 2);
    EXPECT_EQ(again.m_specifiedPath, "D:\\Link Targets");
    EXPECT_EQ(again.LocationText(2), "D:\\Link Targets");
    EXPECT_EQ(again.LocationText(1), again.m_fileFolder);
    EXPECT_EQ(again.LocationText(0), m_directories.GetFolder(CDirectories::kAttachments, true));

    // An automatic colour from the font dialog.
    again.SetChosenFont(font, -1);
    EXPECT_EQ(again.m_autoColor, 1);
    EXPECT_EQ(again.m_color, 0);
}

TEST_F(FileProperties, NothingChangedOrReadOnlyLeavesTheFileAsItWas)
{
    Make();
    int32_t k = m_doc->AddKeyword("alpha", false);
    AddArticle("one", Keywords({k}));
    Close();
    const std::string before = ReadBytes(m_path);

    for (bool readOnly : {false, true}) {
        ReopenWithSettings(readOnly);
        CFilePropertiesModel p = Load();
        EXPECT_EQ(p.m_readOnly, readOnly);
        if (readOnly) {
            // Whatever the page holds, a read-only file takes none of it.
            p.m_exportHeader = "changed";
            p.m_comments = "changed";
            p.m_wordWrap = 0;
            p.m_linkMode = 1;
            p.SetChosenFont(LogFont(), 0);
            EXPECT_FALSE(p.ApplyGeneral(*m_doc, m_settings, true, true, 96));
            p.ApplyArticles(m_settings);
            CPrompts prompts(m_raw);
            EXPECT_FALSE(p.ApplyPrivacy(*m_doc, true, prompts));
            EXPECT_TRUE(prompts.m_asked.empty());
        } else {
            // OK without a change: the edits were not modified, nothing differs.
            EXPECT_FALSE(p.ApplyGeneral(*m_doc, m_settings, false, false, 96));
            p.ApplyArticles(m_settings);
            EXPECT_FALSE(m_settings.IsFileDirty());
            CPrompts prompts(m_raw);
            EXPECT_FALSE(p.ApplyPrivacy(*m_doc, false, prompts));
        }
        Close();
        EXPECT_EQ(ReadBytes(m_path), before) << readOnly;
    }
}

TEST_F(FileProperties, ProtectAllNeedsAPassword)
{
    Make();
    int32_t k = m_doc->AddKeyword("alpha", false);
    int32_t open = AddArticle("open one", Keywords({k}));
    CFilePropertiesModel p = Load();

    // No password, Create Password cancelled: message 1313, nothing changes.
    CPrompts cancelled(m_raw);
    EXPECT_FALSE(p.ApplyPrivacy(*m_doc, true, cancelled));
    EXPECT_EQ(cancelled.m_asked, (std::vector<std::string>{"create"}));
    EXPECT_EQ(cancelled.m_messages, (std::vector<int>{IDS_PROTECTION_NOT_SET}));
    EXPECT_FALSE(m_doc->IsProtectAll());
    EXPECT_FALSE(m_doc->HasPassword());

    // A password created there: message 1307, flags 0x03, then the one rewrite.
    CPrompts created(m_raw);
    created.m_createAnswer = "pw";
    ASSERT_TRUE(p.ApplyPrivacy(*m_doc, true, created));
    EXPECT_EQ(created.m_messages, (std::vector<int>{IDS_PASSWORD_SET}));
    EXPECT_EQ(m_doc->GetDataFile().GetFlags() & 0x03, 0x03);
    int32_t secret = AddArticle("secret", Keywords({k}), true);
    m_doc->RewriteAfterProtectionChange();

    m_host.m_password = "pw";
    m_unlockAfterOpen = false;
    ReopenWithSettings();
    EXPECT_EQ(m_host.m_passwordPrompts.size(), 1u);
    EXPECT_STREQ(m_doc->GetArticleTitle(open), "open one");
    EXPECT_STREQ(m_doc->GetArticleTitle(secret), "secret");
    EXPECT_EQ(m_doc->GetKeywordName(k), "alpha");
    EXPECT_EQ(CheckOpenFile(), "");

    // Switching it off needs no password; switching it on while hidden asks, and a wrong one changes
    // nothing.
    CFilePropertiesModel again = Load();
    EXPECT_TRUE(again.m_protectAll);
    CPrompts off(m_raw);
    EXPECT_TRUE(again.ApplyPrivacy(*m_doc, false, off));
    EXPECT_TRUE(off.m_asked.empty());
    EXPECT_EQ(m_doc->GetDataFile().GetFlags() & 0x03, 0);
    m_doc->HidePrivateArticles();
    CPrompts wrong(m_raw);
    m_host.m_password = "nope";
    EXPECT_FALSE(again.ApplyPrivacy(*m_doc, true, wrong));
    EXPECT_EQ(wrong.m_asked, (std::vector<std::string>{"enter"}));
    EXPECT_EQ(wrong.m_messages, (std::vector<int>{IDS_PROTECTION_NOT_SET}));
    EXPECT_EQ(m_doc->GetDataFile().GetFlags() & 0x03, 0);
}

}  // namespace

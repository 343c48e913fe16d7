// Import of another data file into the open one.
#include "document/data_file_import.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "shell/app_settings.h"
#include "shell/file_settings.h"
#include "shell/memory_profile_store.h"
#include "tests/document/doc_fixture.h"
#include "tests/document/exchange_test_support.h"

class DataFileImport : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        m_otherPath = m_folder.File("other.xrd");
    }

    // The other file: groups "Colours" {RED}, keywords "RED" and "new one"; articles: "plain" (plain
    // text, RED), a deleted slot, "rich" linking to "plain" and to a placeholder, bookmarked; a
    // placeholder; optionally a private article; a saved query; the default font "Garamond".
    void BuildOther(bool withPrivate)
    {
        CRecordingHost host;
        CQuorvaneDoc other(host);
        ASSERT_TRUE(other.CreateNewFile(m_otherPath));
        if (withPrivate)
            other.SetPassword("theirs");
        int32_t red = other.AddKeyword("RED", false);
        int32_t fresh = other.AddKeyword("new one", false);
        CKeywordGroupRecord group;
        group.SetName("Colours");
        group.SetKeywordIds(Keywords({red}));
        other.AddKeywordGroup(group);

        CArticleRecord plain;
        plain.SetTitle("plain");
        plain.SetPlainTextVersion();
        plain.SetText("just text");
        plain.SetKeywordIds(Keywords({red}));
        int32_t plainId = other.AddArticle(plain, false, false);
        CArticleRecord scrap;
        scrap.SetTitle("scrap");
        int32_t scrapId = other.AddArticle(scrap, false, false);
        CArticleRecord tracked;
        tracked.SetTitle("tracked");
        tracked.SetFlags(CArticleRecord::kTracked);
        int32_t trackedId = other.AddArticle(tracked, false, false);
        CArticleRecord rich;
        rich.SetTitle("rich");
        rich.SetRtfText("{\\rtf1 rich text with links}");
        rich.SetKeywordIds(Keywords({fresh}));
        CLinkRangeList links;
        for (int32_t target : {plainId, trackedId}) {
            LinkRange range;
            range.start = target;
            range.end = target + 1;
            range.type = 3;
            range.targetArticle = target;
            links.Add(range);
        }
        rich.SetLinks(links);
        int32_t richId = other.AddArticle(rich, true, false);
        other.DeleteArticle(trackedId);
        other.DeleteArticle(scrapId);
        if (withPrivate) {
            CArticleRecord secret;
            secret.SetTitle("secret");
            secret.SetRtfText("{\\rtf1 secret}");
            secret.SetPrivate(true);
            other.AddArticle(secret, false, false);
        }
        other.GetQueryList().Add("Theirs", "RED OR \"new one\"", 0, 0);
        (void)richId;
        other.SaveModified();
        other.DeleteContents();

        CMemoryProfileStore store;
        CFontSettings fonts;
        CDirectories directories;
        CAppSettings settings(store, fonts, directories);
        LogFont font;
        SetFaceName(font, "Garamond");
        font.lfHeight = -16;
        settings.SetFileFont(font);
        CDataFile file;
        file.Open(m_otherPath, false);
        CFileSettings(settings).Save(file);
        file.Close();
    }

    std::string m_otherPath;
    CRecordingExchangeHost m_xhost;
    CMemoryProfileStore m_store;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_store, m_fonts, m_directories};
};

TEST_F(DataFileImport, KeywordsAndGroupsMatchByNameAndArticlesArriveTranslated)
{
    BuildOther(false);
    Create();
    int32_t red = m_doc->AddKeyword("red", false);
    int32_t mine = AddArticle("mine", Keywords({red}));
    int32_t extra = m_doc->AddKeyword("extra", false);
    int32_t colours = AddGroup("colours", Keywords({}));

    CDataFileImport importer(*m_doc, m_xhost, &m_settings);
    ASSERT_TRUE(importer.Import(m_otherPath, Keywords({extra})));
    EXPECT_TRUE(m_errors.Messages().empty());
    EXPECT_EQ(importer.GetImportedCount(), 2);
    EXPECT_EQ(m_xhost.m_progressCaption, "Import Personal Quorvane Data File");
    EXPECT_TRUE(m_xhost.m_mainWindowEnabled);

    // "RED" is "red"; "Colours" is "colours"; only "new one" is new.
    EXPECT_EQ(m_doc->GetKeywordCount(), 3);
    int32_t fresh = m_doc->FindKeyword("new one");
    EXPECT_EQ(GroupsOf(red), std::vector<int32_t>{colours});
    CArticleIdSet all;
    m_doc->GetAllArticleIds(all);
    ASSERT_EQ(all.GetSize(), 3);
    int32_t plain = kNoneId, rich = kNoneId;
    for (int32_t id : all.Values()) {
        if (std::string(m_doc->GetArticleTitle(id)) == "plain") plain = id;
        if (std::string(m_doc->GetArticleTitle(id)) == "rich") rich = id;
    }
    ASSERT_NE(plain, kNoneId);
    ASSERT_NE(rich, kNoneId);
    CArticleRecord record;
    m_doc->LoadArticle(plain, record);
    EXPECT_EQ(record.GetRtfText(), "{\\rtf1 Garamond: just text}");
    EXPECT_EQ(record.GetText(), "");
    CKeywordIdSet keywords;
    record.GetKeywordIds(keywords);
    EXPECT_EQ(keywords.Values(), (std::vector<int32_t>{red, extra}));
    m_doc->LoadArticle(rich, record);
    ASSERT_EQ(record.GetLinks().GetCount(), 2);
    LinkRange range;
    record.GetLinks().GetAt(0, range);
    EXPECT_EQ(range.targetArticle, plain);
    record.GetLinks().GetAt(1, range);
    EXPECT_EQ(range.targetArticle, -1) << "the placeholder was not imported";
    EXPECT_TRUE(m_doc->IsBookmarked(rich));
    EXPECT_FALSE(m_doc->IsBookmarked(plain));
    record.GetKeywordIds(keywords);
    EXPECT_EQ(keywords.Values(), (std::vector<int32_t>{extra, fresh}));
    EXPECT_EQ(record.GetFlags() & (CArticleRecord::kTracked | CArticleRecord::kPlaceholder), 0);

    int index = m_doc->GetQueryList().FindByName("Theirs");
    ASSERT_GE(index, 0);
    EXPECT_EQ(m_xhost.m_menuRebuilds, 1);
    EXPECT_EQ(CheckOpenFile(), "");

    // Undo Import takes the imported articles back.
    EXPECT_EQ(m_doc->GetImportedArticleCount(), 2);
    m_host.m_answers = {true};
    m_doc->UndoImport();
    m_doc->GetAllArticleIds(all);
    EXPECT_EQ(all.Values(), std::vector<int32_t>{mine});
}

TEST_F(DataFileImport, PrivateArticlesAskForAPasswordOrBecomePublic)
{
    BuildOther(true);
    struct Case {
        std::deque<bool> answers;
        std::deque<std::string> passwords;
        bool staysPrivate;
        size_t questions;
    } cases[] = {
        {{false}, {}, false, 1},
        {{true}, {"mine"}, true, 1},
        {{true, true, false}, {"", ""}, false, 3},  // Create Password cancelled twice, then No
    };
    for (const Case& c : cases) {
        CTempFolder folder;
        m_path = folder.File("kb.xrd");
        Create();
        m_xhost = CRecordingExchangeHost();
        m_xhost.m_password = "theirs";
        m_xhost.m_answers = c.answers;
        m_xhost.m_createdPasswords = c.passwords;
        CDataFileImport importer(*m_doc, m_xhost, nullptr);
        ASSERT_TRUE(importer.Import(m_otherPath, CKeywordIdSet()));
        EXPECT_EQ(m_xhost.m_passwordPrompts, std::vector<std::string>{m_otherPath});
        ASSERT_EQ(m_xhost.m_asked.size(), c.questions);
        EXPECT_EQ(m_xhost.m_asked[0], QuorFormat1(QuorLoadString(IDS_IMPORT_PRIVATE_ARTICLES), m_doc->GetTitle()));
        EXPECT_EQ(m_doc->GetPrivateArticleCount(), c.staysPrivate ? 1 : 0);
        EXPECT_EQ(m_doc->HasPassword(), c.staysPrivate);
        CArticleIdSet all;
        m_doc->GetAllArticleIds(all);
        EXPECT_EQ(all.GetSize(), 3);
        EXPECT_EQ(CheckOpenFile(), "");
        Close();
    }
}

TEST_F(DataFileImport, ARefusedPasswordIsReportedAndAddsNothing)
{
    BuildOther(true);
    Create();
    m_xhost.m_password = "wrong";
    CDataFileImport importer(*m_doc, m_xhost, nullptr);
    EXPECT_FALSE(importer.Import(m_otherPath, CKeywordIdSet()));
    EXPECT_EQ(m_errors.Messages(), std::vector<std::string>{CQuorError(kWrongPassword, m_otherPath).Message()});
    EXPECT_EQ(m_doc->GetArticleCount(), 0);
}

// Export of chosen articles into a new data file, read back with the independent readers.
#include <filesystem>

#include "document/data_file_export.h"
#include "framework/string_table.h"
#include "resources/resource.h"
#include "tests/document/doc_fixture.h"
#include "tests/document/exchange_test_support.h"
#include "tests/storage/independent_reader.h"

class DataFileExport : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        m_out = m_folder.File("export.xrd");
    }

    // Articles 0 to 12 titled "a0".."a12"; 5 names keywords "five" and "shared", 9 "shared", 7 only
    // "seven"; 5 links to 9 and to 7 and has 9 as an attached article; 5 and 7 are bookmarked.
    void Build(bool privateNine)
    {
        Create();
        if (privateNine)
            m_doc->SetPassword("pw");
        int32_t five = m_doc->AddKeyword("five", false);
        int32_t shared = m_doc->AddKeyword("shared", false);
        int32_t seven = m_doc->AddKeyword("seven", false);
        for (int32_t i = 0; i <= 12; ++i) {
            CArticleRecord record;
            record.SetTitle("a" + std::to_string(i));
            record.SetRtfText("{\\rtf1 article text}");
            if (i == 5) {
                record.SetKeywordIds(Keywords({five, shared}));
                CLinkRangeList links;
                for (int32_t target : {9, 7}) {
                    LinkRange range;
                    range.start = target;
                    range.end = target + 2;
                    range.type = 3;
                    range.targetArticle = target;
                    links.Add(range);
                }
                record.SetLinks(links);
                CLinkTarget attached;
                attached.Set(CLinkTarget::kArticle, "a9", 0, 9);
                record.AddAttachment(attached);
            } else if (i == 9) {
                record.SetKeywordIds(Keywords({shared}));
                record.SetPrivate(privateNine);
            } else if (i == 7) {
                record.SetKeywordIds(Keywords({seven}));
            }
            ASSERT_EQ(m_doc->AddArticle(record, false, false), i);
        }
        m_doc->SetBookmark(5, true);
        m_doc->SetBookmark(7, true);
    }

    std::string m_out;
    CRecordingExchangeHost m_xhost;
};

TEST_F(DataFileExport, ChosenArticlesAreRenumberedWithTheirKeywordsLinksAndBookmarks)
{
    Build(false);
    CDataFileExport exporter(*m_doc, m_xhost);
    exporter.Export(m_out, Articles({12, 5, 9}));
    EXPECT_TRUE(m_xhost.m_informed.empty());
    EXPECT_EQ(m_xhost.m_progressTexts,
              (std::vector<std::string>{"Building keyword list...", "Exporting keywords...", "Exporting articles...",
                                        "Exporting bookmarks..."}));
    EXPECT_TRUE(m_xhost.m_mainWindowEnabled);

    CDataFile file;
    file.Open(m_out, true);
    FileTables t = ReadFileTables(file);
    file.Close();
    EXPECT_EQ(CheckTableLinks(t, true), "");
    EXPECT_EQ(t.articleTitles, (std::map<int32_t, std::string>{{0, "a5"}, {1, "a9"}, {2, "a12"}}));
    // Only the keywords the chosen articles use travel: "seven" stays behind.
    EXPECT_EQ(t.keywordNames, (std::map<int32_t, std::string>{{0, "five"}, {1, "shared"}}));
    EXPECT_EQ(t.articlesOfKeyword.at(1), (std::set<int32_t>{0, 1}));
    EXPECT_EQ(t.bookmarked, std::set<int32_t>{0});
    EXPECT_TRUE(t.groupNames.empty());

    independent::DataFileBytes bytes(m_out);
    independent::Article linking = independent::ReadArticle(bytes, 0, std::vector<uint8_t>(16, 0));
    ASSERT_EQ(linking.links.size(), 2u);
    EXPECT_EQ(linking.links[0].targetArticle, -1);  // a7 was not exported
    EXPECT_EQ(linking.links[1].targetArticle, 1);   // a9
    ASSERT_EQ(linking.attachments.size(), 1u);
    EXPECT_EQ(linking.attachments[0].articleId, 1);
    EXPECT_TRUE(bytes.KeyedRecord(9).empty()) << "no private article, no password";
}

TEST_F(DataFileExport, PrivateArticlesKeepTheSamePassword)
{
    Build(true);
    CDataFileExport exporter(*m_doc, m_xhost);
    exporter.ExportOne(m_out, 9);
    EXPECT_EQ(m_xhost.m_informed, std::vector<std::string>{QuorLoadString(IDS_EXPORTED_PRIVATE_ARTICLES)});
    independent::DataFileBytes bytes(m_out);
    std::vector<uint8_t> key = bytes.RecordKey("pw");
    independent::Article article = independent::ReadArticle(bytes, 0, key);
    EXPECT_EQ(article.title, "a9");
    EXPECT_EQ(article.keywordIds, std::vector<int32_t>{0});

    // The exported file opens with the same password and lists the article as private.
    Close();
    m_path = m_out;
    m_host.m_password = "pw";
    m_unlockAfterOpen = true;
    ASSERT_TRUE(Open());
    EXPECT_TRUE(m_doc->IsArticlePrivate(0));
    EXPECT_EQ(CheckOpenFile(), "");
}

TEST_F(DataFileExport, CancelAtAnyStepLeavesNoFile)
{
    Build(false);
    for (int cancelAt = 0; cancelAt < 8; ++cancelAt) {
        SCOPED_TRACE(cancelAt);
        m_xhost.m_totalSteps = 0;
        m_xhost.m_cancelAfterSteps = cancelAt;
        CDataFileExport exporter(*m_doc, m_xhost);
        try {
            exporter.Export(m_out, Articles({12, 5, 9}));
            ADD_FAILURE() << "not cancelled";
        } catch (const CQuorError& error) {
            EXPECT_EQ(error.Code(), kCancelled);
        }
        EXPECT_FALSE(std::filesystem::exists(NativePath(m_out)));
        EXPECT_TRUE(m_xhost.m_mainWindowEnabled);
    }
    EXPECT_TRUE(m_errors.Messages().empty());
}

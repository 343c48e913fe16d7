// Whole articles through the clipboard: copy writes the version 3 and 4 formats and the text, paste
// reads the newest offered into another knowledge base (keywords made, the link to an article that
// is not there cut, the batch marked as a paste), cut deletes, and damaged blocks are refused.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "storage/memory_clipboard_codec.h"
#include "import/article_clipboard.h"
#include "storage/quor_error.h"
#include "tests/document/doc_fixture.h"

namespace {

// The rich-text rendering as the articles it was given, one "title|rich|content" entry each.
class CRecordingRtfWriter : public IArticleRtfWriter {
public:
    explicit CRecordingRtfWriter(std::vector<Article>& articles) : m_articles(articles) {}
    void AddArticle(const Article& article) override { m_articles.push_back(article); }
    std::string GetRtf() override { return "{\\rtf1 " + std::to_string(m_articles.size()) + "}"; }

private:
    std::vector<Article>& m_articles;
};

// The clipboard as a host that keeps the blocks.
class CClipboardHost : public CRecordingHost {
public:
    std::unique_ptr<IArticleRtfWriter> MakeArticleRtfWriter() override
    {
        m_rtfArticles.clear();
        return std::make_unique<CRecordingRtfWriter>(m_rtfArticles);
    }
    void SetArticleClipboard(const ArticleBlocks& blocks) override
    {
        m_blocks = blocks;
        m_offered = 4;
    }
    int ArticleClipboardVersion() override { return m_offered; }
    std::string GetArticleClipboard(int version) override
    {
        if (version == 4)
            return m_blocks.v4;
        if (version == 3)
            return m_blocks.v3;
        return m_other;
    }
    void BeginProgress(const std::string& caption, const std::string&, int range) override
    {
        m_progress.push_back(caption + " " + std::to_string(range));
    }

    ArticleBlocks m_blocks;
    std::vector<IArticleRtfWriter::Article> m_rtfArticles;
    int m_offered = 0;
    std::string m_other;
    std::vector<std::string> m_progress;
};

class DocClipboardTest : public DocFixture {
protected:
    void SetUp() override
    {
        DocFixture::SetUp();
        m_doc = std::make_unique<CQuorvaneDoc>(m_clipboard);
        Attach();
        ASSERT_TRUE(m_doc->CreateNewFile(m_path));
    }
    void TearDown() override
    {
        if (m_doc) {
            m_doc->DeleteContents();
            m_doc.reset();
        }
    }
    // A second knowledge base on the same clipboard.
    std::unique_ptr<CQuorvaneDoc> OtherFile(const char* name)
    {
        auto other = std::make_unique<CQuorvaneDoc>(m_clipboard);
        EXPECT_TRUE(other->CreateNewFile(m_folder.File(name)));
        return other;
    }

    CClipboardHost m_clipboard;
};

TEST_F(DocClipboardTest, CopiedArticlesPasteIntoAnotherFileWithTheirKeywordsAttachmentsAndLinks)
{
    int32_t apple = m_doc->AddKeyword("apple", false);
    int32_t pear = m_doc->AddKeyword("pear", false);
    // A plain-text article, and a rich one with two attachments and two links: one to the plain
    // article, one to an article the other file will not have.
    CArticleRecord plain;
    plain.SetTitle("plain");
    plain.SetPlainTextVersion();
    plain.SetText("just words");
    plain.SetDate(20240102);
    plain.SetKeywordIds(Keywords({apple}));
    int32_t plainId = m_doc->AddArticle(plain, true, false);
    CArticleRecord rich;
    rich.SetTitle("rich");
    rich.SetRtfText("{\\rtf1 rich words}");
    rich.SetDate(20240103);
    rich.SetTime(7200);
    rich.SetKeywordIds(Keywords({apple, pear}));
    CLinkTarget file;
    file.Set(CLinkTarget::kFile, "C:\\a.txt", CLinkTarget::kNotInImageGallery);
    CLinkTarget web;
    web.Set(CLinkTarget::kInternet, "http://example.com/");
    rich.AddAttachment(file);
    rich.AddAttachment(web);
    CArticleRecord stored;
    m_doc->LoadArticle(plainId, stored);
    CLinkRangeList links;
    LinkRange toPlain;
    toPlain.start = 0, toPlain.end = 4, toPlain.type = 3, toPlain.target = "plain";
    toPlain.targetArticle = plainId;
    toPlain.valueB = stored.GetDateOf(CArticleRecord::kCreatedDate);
    toPlain.valueC = stored.GetTimeOf(CArticleRecord::kCreatedDate);
    links.Add(toPlain);
    LinkRange toMissing = toPlain;
    toMissing.start = 5, toMissing.end = 9, toMissing.targetArticle = 77;
    links.Add(toMissing);
    rich.SetLinks(links);
    int32_t richId = m_doc->AddArticle(rich, false, false);

    m_doc->CopyArticlesToClipboard({richId, plainId});
    EXPECT_NE(m_clipboard.m_blocks.text.find("rich\r\nDate: "), std::string::npos);
    EXPECT_NE(m_clipboard.m_blocks.text.find("Keywords: apple, pear\r\n\r\n"), std::string::npos);
    EXPECT_NE(m_clipboard.m_blocks.text.find("just words\r\n\r\n"), std::string::npos);
    EXPECT_TRUE(m_clipboard.m_progress.empty());
    // The rich text gets the same header lines, and the rich article's own RTF.
    EXPECT_EQ(m_clipboard.m_blocks.rtf, "{\\rtf1 2}");
    ASSERT_EQ(m_clipboard.m_rtfArticles.size(), 2u);
    const IArticleRtfWriter::Article& richRtf = m_clipboard.m_rtfArticles[0];
    ASSERT_EQ(richRtf.header.size(), 5u);
    EXPECT_EQ(richRtf.header[0], "rich");
    EXPECT_EQ(richRtf.header[1].rfind("Date: ", 0), 0u);
    EXPECT_EQ(richRtf.header[2].rfind("Attachment: ", 0), 0u);
    EXPECT_EQ(richRtf.header[3], "Attachment: http://example.com/");
    EXPECT_EQ(richRtf.header[4], "Keywords: apple, pear");
    EXPECT_TRUE(richRtf.rich);
    EXPECT_EQ(richRtf.content, "{\\rtf1 rich words}");
    const IArticleRtfWriter::Article& plainRtf = m_clipboard.m_rtfArticles[1];
    ASSERT_EQ(plainRtf.header.size(), 3u);  // no attachment line
    EXPECT_EQ(plainRtf.header[0], "plain");
    EXPECT_EQ(plainRtf.header[2], "Keywords: apple");
    EXPECT_NE(m_clipboard.m_blocks.text.find("plain\r\n" + plainRtf.header[1] + "\r\nKeywords: apple\r\n\r\n"),
              std::string::npos);
    EXPECT_FALSE(plainRtf.rich);
    EXPECT_EQ(plainRtf.content, "just words");

    // Pasted back into this file: the link to "plain" holds (same id, same creation stamp).
    // Into another file: "pear" and "apple" are made, the link to an unknown article is cut.
    auto other = OtherFile("other.xrd");
    int32_t pearThere = other->AddKeyword("pear", false);
    EXPECT_EQ(other->PasteArticles(), 2);
    EXPECT_TRUE(other->IsPasteBatch());
    EXPECT_TRUE(other->CanUndoImport());
    CArticleIdSet all;
    other->GetAllArticleIds(all);
    ASSERT_EQ(all.GetSize(), 2);
    CArticleRecord richCopy, plainCopy;
    other->LoadArticle(all.GetAt(0), richCopy);
    other->LoadArticle(all.GetAt(1), plainCopy);
    EXPECT_EQ(richCopy.GetTitle(), "rich");
    EXPECT_GT(richCopy.GetVersion(), CArticleRecord::kPlainTextVersion);
    EXPECT_EQ(richCopy.GetRtfText(), "{\\rtf1 rich words}");
    EXPECT_EQ(richCopy.GetDateOf(CArticleRecord::kOwnDate), 20240103);
    EXPECT_EQ(richCopy.GetTimeOf(CArticleRecord::kOwnDate), 7200);
    ASSERT_EQ(richCopy.GetAttachmentCount(), 2);  // version 4 keeps them all
    EXPECT_EQ(richCopy.GetAttachments().Item(0)->GetFlags(), CLinkTarget::kNotInImageGallery);
    EXPECT_EQ(richCopy.GetAttachments().Item(1)->GetKind(), CLinkTarget::kInternet);
    CKeywordIdSet keywords;
    richCopy.GetKeywordIds(keywords);
    EXPECT_EQ(keywords.GetSize(), 2);
    EXPECT_TRUE(keywords.Contains(pearThere));
    EXPECT_NE(other->FindKeyword("apple"), kNoneId);
    ASSERT_EQ(richCopy.GetLinks().GetCount(), 2);
    EXPECT_EQ(richCopy.GetLinks().Item(0)->targetArticle, -1);  // id 0 there is another article
    EXPECT_EQ(richCopy.GetLinks().Item(1)->targetArticle, -1);
    EXPECT_EQ(plainCopy.GetVersion(), CArticleRecord::kPlainTextVersion);
    EXPECT_EQ(plainCopy.GetText(), "just words");
    EXPECT_TRUE(other->IsBookmarked(all.GetAt(1)));
    EXPECT_FALSE(other->IsBookmarked(all.GetAt(0)));
    EXPECT_TRUE(other->CheckInvariants());
    other->DeleteContents();

    // Here the article link keeps its target.
    EXPECT_EQ(m_doc->PasteArticles(), 2);
    CArticleIdSet here;
    m_doc->GetAllArticleIds(here);
    CArticleRecord again;
    m_doc->LoadArticle(here.GetAt(2), again);
    ASSERT_EQ(again.GetLinks().GetCount(), 2);
    EXPECT_EQ(again.GetLinks().Item(0)->targetArticle, plainId);
    EXPECT_EQ(again.GetLinks().Item(1)->targetArticle, -1);

    // Version 3 only: one attachment.
    m_clipboard.m_offered = 3;
    auto third = OtherFile("third.xrd");
    EXPECT_EQ(third->PasteArticles(), 2);
    CArticleIdSet thirdIds;
    third->GetAllArticleIds(thirdIds);
    CArticleRecord v3Copy;
    third->LoadArticle(thirdIds.GetAt(0), v3Copy);
    EXPECT_EQ(v3Copy.GetAttachmentCount(), 1);
    third->DeleteContents();
}

TEST_F(DocClipboardTest, CutDeletesAndManyArticlesShowProgress)
{
    std::vector<int32_t> ids;
    for (int i = 0; i < 51; ++i)
        ids.push_back(AddArticle("a" + std::to_string(i), Keywords({})));
    m_doc->CopyArticlesToClipboard(std::vector<int32_t>(ids.begin(), ids.begin() + 50));
    EXPECT_TRUE(m_clipboard.m_progress.empty());
    m_doc->CutArticles(ids);
    EXPECT_EQ(m_clipboard.m_progress, std::vector<std::string>({"Copy Articles To Clipboard 51"}));
    EXPECT_EQ(m_doc->GetArticleCount(), 0);
    // Undo of a cut is a paste: they come back.
    EXPECT_EQ(m_doc->PasteArticles(), 51);
    EXPECT_EQ(m_doc->GetArticleCount(), 51);
}

TEST_F(DocClipboardTest, OlderFormatsAreRead)
{
    // The oldest: title, text, date, bookmarked, keywords.
    CMemoryClipboardCodec oldest;
    oldest.AppendInt(1);
    oldest.AppendString("old");
    oldest.AppendString("old text");
    oldest.AppendInt(20010203);
    oldest.AppendInt(1);
    oldest.AppendInt(1);
    oldest.AppendString("kiwi");
    m_clipboard.m_other = oldest.Written();
    m_clipboard.m_offered = 1;
    EXPECT_EQ(m_doc->PasteArticles(), 1);
    // Version 2, rich: word wrap, one attachment, extra text, RTF.
    CMemoryClipboardCodec v2;
    v2.AppendInt(1);
    v2.AppendInt(9);
    v2.AppendString("two");
    v2.AppendString("ignored");
    v2.AppendInt(20020304);
    v2.AppendInt(0);
    v2.AppendInt(0);
    v2.AppendInt(0);  // word wrap
    v2.AppendInt(1);
    v2.AppendInt(CLinkTarget::kInternet);
    v2.AppendString("http://two.example/");
    v2.AppendString("");
    v2.AppendString("{\\rtf1 two}");
    m_clipboard.m_other = v2.Written();
    m_clipboard.m_offered = 2;
    EXPECT_EQ(m_doc->PasteArticles(), 1);
    CArticleRecord first, second;
    m_doc->LoadArticle(0, first);
    m_doc->LoadArticle(1, second);
    EXPECT_EQ(first.GetText(), "old text");
    EXPECT_TRUE(m_doc->IsBookmarked(0));
    EXPECT_NE(m_doc->FindKeyword("kiwi"), kNoneId);
    EXPECT_EQ(second.GetRtfText(), "{\\rtf1 two}");
    EXPECT_EQ(second.GetText(), "");
    EXPECT_EQ(second.GetAttachmentCount(), 1);
    EXPECT_EQ(second.GetInfo().GetWordWrap(), 0);
}

// Blocks another program could put there: each is refused with the clipboard's data error, and the
// articles before the damage stay.
TEST_F(DocClipboardTest, DamagedBlocksAreRefused)
{
    auto article = [](CMemoryClipboardCodec& out, int32_t sections, int32_t titleLength) {
        out.AppendInt(sections);
        out.AppendInt(titleLength);
        out.AppendString("t");
    };
    struct Case {
        const char* name;
        std::function<void(CMemoryClipboardCodec&)> build;
        int pastedBefore;
    } cases[] = {
        {"a section longer than the block", [&](CMemoryClipboardCodec& out) { out.AppendInt(1); article(out, 1, 1000); }, 0},
        {"a negative section length", [&](CMemoryClipboardCodec& out) { out.AppendInt(1); article(out, 1, -5); }, 0},
        {"a string running past its section",
         [&](CMemoryClipboardCodec& out) {
             out.AppendInt(1);
             out.AppendInt(2);
             out.AppendInt(1);
             out.AppendText("ab");  // no NUL inside the section
             out.AppendInt(2);
             out.AppendString("x");
         },
         0},
        {"a keyword count beyond the bytes",
         [&](CMemoryClipboardCodec& out) {
             out.AppendInt(2);
             article(out, 1, 2);
             out.AppendInt(5);
             out.AppendInt(2);
             out.AppendString("t");
             for (int empty = 0; empty < 3; ++empty)
                 out.AppendInt(0);
             out.AppendInt(8);
             out.AppendInt(0x7FFFFFFF);
             out.AppendInt(0);
         },
         1},
        {"a cut-off article", [&](CMemoryClipboardCodec& out) { out.AppendInt(3); article(out, 1, 2); out.AppendInt(9); }, 1},
    };
    int before = 0;
    for (const Case& c : cases) {
        CMemoryClipboardCodec block;
        c.build(block);
        m_clipboard.m_blocks.v3 = block.Written();
        m_clipboard.m_offered = 3;
        try {
            m_doc->PasteArticles();
            ADD_FAILURE() << c.name << ": no error";
        } catch (const CQuorError& error) {
            EXPECT_EQ(error.Code(), kBadClipboardData) << c.name;
        }
        EXPECT_EQ(m_doc->GetArticleCount(), before + c.pastedBefore) << c.name;
        before = m_doc->GetArticleCount();
        EXPECT_TRUE(m_doc->CheckInvariants()) << c.name;
    }
}

}  // namespace

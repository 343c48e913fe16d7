// The rich text of articles copied to the clipboard: the writer joins the articles into one RTF
// document (header lines in the article font, each article's own formatting kept), and copying
// through the program's host puts it on the clipboard after the plain text, read back in process.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "article/ui/article_doc_host.h"
#include "article/ui/rich_edit_ctrl1.h"
#include "article/ui/rtf_clipboard_writer.h"
#include "document/quorvane_doc.h"
#include "framework/ui/frame_wnd.h"
#include "import/article_clipboard.h"
#include "storage/article_record.h"
#include "storage/id_set.h"
#include "tests/support/temp_folder.h"

namespace {

LogFont TitleFont()
{
    LogFont font;
    font.lfHeight = -16;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "Times New Roman");
    return font;
}

size_t Count(const std::string& text, const std::string& part)
{
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class RtfClipboardWriterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CRichEditCtrl1::SetArticleFont(TitleFont(), 0, true);
        const RECT none = {0, 0, 0, 0};
        ASSERT_TRUE(m_reader.Create(ES_MULTILINE, none, HWND_MESSAGE, 0));
    }

    // The RTF read back as the user's program would paste it: its text, and the format at the first
    // occurrence of `word`. The reader starts from a plain format of its own: the control's default
    // is the bold system font, which RTF without \plain would inherit.
    std::string TextOf(const std::string& rtf)
    {
        m_reader.ClearText();
        CHARFORMATA neutral = {};
        neutral.cbSize = sizeof neutral;
        neutral.dwMask = CFM_BOLD | CFM_ITALIC | CFM_FACE | CFM_SIZE;
        neutral.yHeight = 200;
        std::strcpy(neutral.szFaceName, "Courier New");
        m_reader.SendMessage(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&neutral));
        m_reader.SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&neutral));
        m_reader.SetRtf(rtf);
        std::string text;
        m_reader.GetText(text, false);
        return text;
    }
    CHARFORMATA FormatOf(const std::string& word)
    {
        FINDTEXTA find = {{0, -1}, word.c_str()};
        LRESULT at = m_reader.SendMessage(EM_FINDTEXT, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find));
        EXPECT_GE(at, 0) << word;
        m_reader.SetSel(static_cast<int32_t>(at), static_cast<int32_t>(at) + 1);

        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        m_reader.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        return format;
    }

    CRichEditCtrl1 m_reader;
};

const char kBoldArial[] = "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0 Prune {\\b carefully} now.\\par}";

}  // namespace

TEST_F(RtfClipboardWriterTest, ArticlesJoinIntoOneDocumentInOrder)
{
    CRtfClipboardWriter writer;
    IArticleRtfWriter::Article plain;
    plain.header = {"Roses", "Date: 1/2/2024", "Keywords: "};
    plain.content = "Water them.\r\nFeed them.";
    IArticleRtfWriter::Article rich;
    rich.header = {"Pruning", "Date: 3/4/2024", "Attachment: C:\\garden\\plan.txt", "Keywords: garden, roses"};
    rich.rich = true;
    rich.content = kBoldArial;
    writer.AddArticle(plain);
    writer.AddArticle(rich);
    writer.AddArticle(plain);
    const std::string rtf = writer.GetRtf();

    // One document: one header, one font table.
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_EQ(Count(rtf, "{\\rtf"), 1u);
    EXPECT_EQ(Count(rtf, "{\\fonttbl"), 1u);
    // Header lines, an empty line, the content, a line break and two empty lines per article.
    const std::string plainText = "Roses\r\nDate: 1/2/2024\r\nKeywords: \r\n\r\nWater them.\r\nFeed them.\r\n\r\n\r\n";
    EXPECT_EQ(TextOf(rtf), plainText +
                               "Pruning\r\nDate: 3/4/2024\r\nAttachment: C:\\garden\\plan.txt\r\nKeywords: garden, roses\r\n"
                               "\r\nPrune carefully now.\r\n\r\n\r\n" +
                               plainText);
    // The header lines in the article font, the rich content in its own.
    EXPECT_STREQ(FormatOf("Pruning").szFaceName, "Times New Roman");
    EXPECT_EQ(FormatOf("Pruning").dwEffects & CFE_BOLD, 0u);
    EXPECT_STREQ(FormatOf("Prune ").szFaceName, "Arial");
    EXPECT_TRUE(FormatOf("carefully").dwEffects & CFE_BOLD);
    EXPECT_EQ(FormatOf("now.").dwEffects & CFE_BOLD, 0u);
    EXPECT_STREQ(FormatOf("Water").szFaceName, "Times New Roman");
}

TEST_F(RtfClipboardWriterTest, AListAtTheEndOfAnArticleDoesNotReachTheNextTitle)
{
    CRtfClipboardWriter writer;
    IArticleRtfWriter::Article listed;
    listed.header = {"", "Date: 1/2/2024", "Keywords: "};  // an empty first title keeps its line
    listed.rich = true;
    listed.content = "{\\rtf1\\ansi{\\pntext\\'B7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}\\li720\\fi-360 item\\par}";
    IArticleRtfWriter::Article next;
    next.header = {"Next", "Date: 1/2/2024", "Keywords: "};
    writer.AddArticle(listed);
    writer.AddArticle(next);
    const std::string text = TextOf(writer.GetRtf());
    EXPECT_EQ(text.rfind("\r\nDate: 1/2/2024\r\n", 0), 0u) << text;
    FINDTEXTA find = {{0, -1}, "Next"};
    LRESULT at = m_reader.SendMessage(EM_FINDTEXT, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find));
    ASSERT_GE(at, 0);
    m_reader.SetSel(static_cast<int32_t>(at), static_cast<int32_t>(at));
    PARAFORMAT paragraph = {};
    paragraph.cbSize = sizeof paragraph;
    m_reader.SendMessage(EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&paragraph));
    EXPECT_EQ(paragraph.wNumbering, 0);
    EXPECT_EQ(paragraph.dxStartIndent, 0);
}

namespace {

// The program's host with a test window owning the clipboard.
class CClipboardOwnerHost : public CArticleDocHost {
public:
    HWND owner = nullptr;

protected:
    HWND MainWindow() const override { return owner; }
};

}  // namespace

TEST_F(RtfClipboardWriterTest, CopiedArticlesOfferRichTextAfterThePlainText)
{
    CFrameWnd frame;
    ASSERT_TRUE(frame.Create("Clipboard owner", 0));
    CClipboardOwnerHost host;
    host.owner = frame.m_hWnd;
    CTempFolder folder;
    CQuorvaneDoc document(host);
    ASSERT_TRUE(document.CreateNewFile(folder.File("copy.xrd")));
    int32_t roses = document.AddKeyword("roses", false);
    CArticleRecord record;
    record.SetTitle("Pruning");
    record.SetRtfText(kBoldArial);
    record.SetDate(20240304);
    CKeywordIdSet keywords;
    keywords.Add(roses);
    record.SetKeywordIds(keywords);
    int32_t pruning = document.AddArticle(record, false, false);
    CArticleRecord plain;
    plain.SetTitle("Watering");
    plain.SetPlainTextVersion();
    plain.SetText("Every morning.");
    plain.SetDate(20240305);
    int32_t watering = document.AddArticle(plain, false, false);

    document.CopyArticlesToClipboard({watering, pruning});

    const UINT v3 = RegisterClipboardFormatA(kArticleClipboardFormatV3);
    const UINT v4 = RegisterClipboardFormatA(kArticleClipboardFormatV4);
    const UINT rtfFormat = RegisterClipboardFormatA(CF_RTF);
    ASSERT_TRUE(OpenClipboard(frame.m_hWnd));
    std::vector<UINT> order;
    for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format))
        if (format == v3 || format == v4 || format == CF_TEXT || format == rtfFormat)
            order.push_back(format);
    std::string rtf;
    if (HANDLE data = GetClipboardData(rtfFormat)) {
        rtf.assign(static_cast<const char*>(GlobalLock(data)));
        GlobalUnlock(data);
    }
    CloseClipboard();
    document.DeleteContents();
    frame.DestroyWindow();

    EXPECT_EQ(order, std::vector<UINT>({v3, v4, CF_TEXT, rtfFormat}));
    const std::string text = TextOf(rtf);
    const size_t first = text.find("Watering\r\n");
    const size_t second = text.find("Pruning\r\n");
    ASSERT_NE(first, std::string::npos) << text;
    ASSERT_NE(second, std::string::npos) << text;
    EXPECT_LT(first, second);
    EXPECT_NE(text.find("Keywords: roses\r\n\r\nPrune carefully now."), std::string::npos) << text;
    EXPECT_NE(text.find("Keywords: \r\n\r\nEvery morning.\r\n"), std::string::npos) << text;
    EXPECT_TRUE(FormatOf("carefully").dwEffects & CFE_BOLD);
}

TEST_F(RtfClipboardWriterTest, ManyArticlesKeepTheirOrderAndSpacing)
{
    // Enough articles to be built in several pieces and joined.
    CRtfClipboardWriter writer;
    std::string expected;
    for (int i = 0; i < 100; ++i) {
        IArticleRtfWriter::Article article;
        const std::string title = "Article " + std::to_string(i);
        article.header = {title, "Date: 1/2/2024", "Keywords: "};
        article.rich = i % 3 == 0;
        article.content = article.rich ? "{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0 {\\b " + title + "} body\\par}"
                                       : title + " body";
        writer.AddArticle(article);
        expected += title + "\r\nDate: 1/2/2024\r\nKeywords: \r\n\r\n" + title + " body\r\n\r\n\r\n";
    }
    const std::string rtf = writer.GetRtf();
    EXPECT_EQ(Count(rtf, "{\\rtf"), 1u);
    EXPECT_EQ(TextOf(rtf), expected);
    EXPECT_TRUE(FormatOf("Article 99 body").dwEffects & CFE_BOLD);
    EXPECT_EQ(FormatOf("Article 98 body").dwEffects & CFE_BOLD, 0u);
}

// The document's Windows host on real windows: the plain text its hidden rich-text control reads
// back from rich text, as the duplicate scan compares it.
#include <gtest/gtest.h>

#include <string>

#include "document/article_record.h"
#include "document/quorvane_doc.h"
#include "document/ui/doc_host_win.h"
#include "tests/support/temp_folder.h"

namespace {
// Every case has a font table: the texts the program stores always carry one.
std::string Rtf(const std::string& body)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
           "{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 " +
           body + "}";
}
}  // namespace

TEST(WindowsDocHostPlainText, ReadsRichTextBackAsTheControlShowsIt)
{
    struct Case {
        const char* name;
        std::string rtf;
        std::string text;
    };
    const Case cases[] = {
        {"formatting", Rtf("Plain \\b bold\\b0 , {\\i italic}, \\cf1 red\\cf0 , \\f1\\fs32 big\\f0\\fs20  end"),
         "Plain bold, italic, red, big end"},
        {"paragraphs", Rtf("First\\par Second\\par\\pard\\qc Third\\par"), "First\r\nSecond\r\nThird"},
        {"special characters",
         Rtf("caf\\'e9 \\{braces\\} back\\\\slash\\tab tab \\emdash  \\ldblquote quoted\\rdblquote  \\u8364?"),
         "caf\xe9 {braces} back\\slash\ttab \x97 \x93quoted\x94 \x80"},
        {"empty document", Rtf(""), ""},
        {"nothing at all", "", ""},
    };
    // One host for all: each text replaces the one before.
    CWindowsDocHost host;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(host.RtfToPlainText(c.rtf), c.text);
    }
    // Beyond the control's default limit of 32767 characters.
    const std::string longLine(40000, 'a');
    std::string text = host.RtfToPlainText(Rtf(longLine + "\\par tail"));
    EXPECT_EQ(text.size(), longLine.size() + 6);
    EXPECT_TRUE(text == longLine + "\r\ntail");
}

TEST(WindowsDocHostPlainText, TextsDifferingOnlyInFormattingReadTheSame)
{
    CWindowsDocHost host;
    const std::string plain = host.RtfToPlainText(Rtf("Prune the roses now.\\par Then water."));
    EXPECT_EQ(plain, "Prune the roses now.\r\nThen water.");
    EXPECT_EQ(host.RtfToPlainText(Rtf("\\f1\\fs28 Prune {\\b the} \\cf1 roses\\cf0  {\\ul\\i now}.\\par\\qr Then water.")),
              plain);
    EXPECT_NE(host.RtfToPlainText(Rtf("Prune the roses later.\\par Then water.")), plain);
}

TEST(WindowsDocHostPlainText, TheDuplicateScanComparesRichArticlesByTheirText)
{
    CTempFolder folder;
    CWindowsDocHost host;
    CQuorvaneDoc doc(host);
    ASSERT_TRUE(doc.CreateNewFile(folder.File("kb.xrd")));
    auto add = [&](const std::string& rtf) {
        CArticleRecord record;
        record.SetRichTextVersion();
        record.SetTitle("Roses");
        record.SetRtfText(rtf);
        return doc.AddArticle(record, false, false);
    };
    int32_t plain = add(Rtf("Prune the roses.\\par"));
    int32_t formatted = add(Rtf("{\\b Prune} the \\cf1 roses\\cf0 .  \\par\\par"));
    int32_t other = add(Rtf("Prune the lilacs.\\par"));
    EXPECT_TRUE(doc.AreDuplicates(plain, formatted));
    EXPECT_FALSE(doc.AreDuplicates(plain, other));
    std::vector<int32_t> runs;
    EXPECT_TRUE(doc.FindDuplicates(runs));
    EXPECT_EQ(runs, (std::vector<int32_t>{plain, formatted}));
    doc.DeleteContents();
}

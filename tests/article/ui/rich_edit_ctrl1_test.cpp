// The program's rich-text control class on the system's RichEdit 2.0.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "article/ui/global_buffer.h"
#include "article/ui/rich_edit_ctrl1.h"
#include "framework/ui/frame_wnd.h"
#include "storage/quor_error.h"

namespace {

class RichEditCtrl1Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_frame.Create("Rich edit test", 0));
        RECT rect = {0, 0, 400, 300};
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, rect, m_frame.m_hWnd, 1));
    }

    CHARFORMATA FormatAt(int32_t p)
    {
        m_edit.SetSel(p, p + 1);
        CHARFORMATA f = {};
        f.cbSize = sizeof f;
        m_edit.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
        return f;
    }

    CFrameWnd m_frame;
    CRichEditCtrl1 m_edit;
};

LogFont ArticleFont(int32_t height, int32_t weight)
{
    LogFont font;
    font.lfHeight = height;
    font.lfWeight = weight;
    std::strcpy(font.lfFaceName, "Times New Roman");
    return font;
}

}  // namespace

TEST_F(RichEditCtrl1Test, IsARichEdit20WithOneUndoStep)
{
    EXPECT_TRUE(m_edit.IsRichEdit20());
    char className[32] = {};
    GetClassNameA(m_edit.m_hWnd, className, sizeof className);
    EXPECT_STREQ(className, "RichEdit20A");
    // EM_SETUNDOLIMIT answers the limit it set.
    EXPECT_EQ(m_edit.SendMessage(EM_SETUNDOLIMIT, 1), 1);
    m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("one "));
    m_edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("two"));
    m_edit.SendMessage(EM_UNDO);
    EXPECT_FALSE(m_edit.SendMessage(EM_CANUNDO));
    EXPECT_EQ(m_edit.GetCharCount(), 4);
}

TEST_F(RichEditCtrl1Test, TheDefaultFormatComesFromTheArticleFont)
{
    HDC dc = GetDC(nullptr);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    struct {
        int32_t weight;
        bool bold;
    } cases[] = {{700, true}, {600, false}, {800, false}};
    for (const auto& c : cases) {
        CRichEditCtrl1::SetArticleFont(ArticleFont(-dpi / 6, c.weight), RGB(10, 20, 30), false);  // 12 points
        CHARFORMATA f;
        m_edit.GetDefaultCharFormat(f);
        EXPECT_EQ((f.dwEffects & CFE_BOLD) != 0, c.bold) << c.weight;
        EXPECT_EQ(f.yHeight, 240);
        EXPECT_EQ(f.crTextColor, RGB(10, 20, 30));
        EXPECT_STREQ(f.szFaceName, "Times New Roman");
    }
    // The colour flag marks everything set afterwards.
    m_edit.SetPlainText("marked text", true);
    EXPECT_EQ(FormatAt(3).crTextColor, 0x010201u);
    EXPECT_EQ(FormatAt(3).dwEffects & CFE_AUTOCOLOR, 0u);
}

TEST_F(RichEditCtrl1Test, AppendedTextIsAllInTheDefaultFormat)
{
    CRichEditCtrl1::SetArticleFont(ArticleFont(-16, 400), 0, true);
    m_edit.SetRtf("{\\rtf1{\\fonttbl{\\f0 Courier New;}}\\f0\\fs40\\b one\\par two\\par three\\par}");
    const int32_t before = m_edit.GetCharCount();
    m_edit.AppendPlainText("appended\r\nand more");
    const int32_t after = m_edit.GetCharCount();
    EXPECT_EQ(after - before, 17);  // positions: the line break counts one
    for (int32_t p = before; p < after; ++p) {
        CHARFORMATA f = FormatAt(p);
        EXPECT_EQ(f.dwEffects & CFE_BOLD, 0u) << p;
        EXPECT_STREQ(f.szFaceName, "Times New Roman") << p;
    }
    EXPECT_TRUE(FormatAt(1).dwEffects & CFE_BOLD);
}

TEST_F(RichEditCtrl1Test, TitlesLinesAndSelections)
{
    m_edit.SetPlainText("\r\n\r\n  two   words  \r\nsecond line", false);
    std::string title;
    m_edit.MakeTitle(title);
    EXPECT_EQ(title, "two words");
    std::string line;
    EXPECT_TRUE(m_edit.GetLineText(3, line));
    EXPECT_EQ(line, "second line");
    EXPECT_TRUE(m_edit.GetLineText(0, line));
    EXPECT_EQ(line, "");
    const int lines = static_cast<int>(m_edit.SendMessage(EM_GETLINECOUNT));
    EXPECT_FALSE(m_edit.GetLineText(lines, line));

    SELCHANGE notice = {};
    notice.chrg = {5, -1};
    LRESULT result = 1;
    m_edit.ClampSelection(&notice, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(notice.chrg.cpMin, 0);
    EXPECT_EQ(notice.chrg.cpMax, m_edit.GetCharCount());
    notice.chrg = {2, 1000};
    m_edit.ClampSelection(&notice, result);
    EXPECT_EQ(notice.chrg.cpMin, 2);
    EXPECT_EQ(notice.chrg.cpMax, m_edit.GetCharCount());
}

TEST_F(RichEditCtrl1Test, FinalLineBreak)
{
    m_edit.SetPlainText("", false);
    m_edit.EnsureFinalLineBreak(true);
    EXPECT_EQ(m_edit.GetCharCount(), 0);
    m_edit.SetPlainText("ends\r\n", false);
    const int32_t n = m_edit.GetCharCount();
    m_edit.EnsureFinalLineBreak(false);
    EXPECT_EQ(m_edit.GetCharCount(), n);
    m_edit.SetRtf("{\\rtf1\\b bold}");
    m_edit.EnsureFinalLineBreak(false);
    EXPECT_EQ(m_edit.GetCharCount(), 5);
    EXPECT_TRUE(FormatAt(4).dwEffects & CFE_BOLD);  // the break in the last character's format
}

TEST_F(RichEditCtrl1Test, LongTextsStreamWhole)
{
    // Far past the control's default limit of 32,767 characters, also in a hidden control.
    std::string text;
    while (text.size() < 200000) text += "A line of text to fill the control with.\r\n";
    CRichEditCtrl1 hidden;
    RECT none = {0, 0, 0, 0};
    ASSERT_TRUE(hidden.Create(ES_MULTILINE, none, HWND_MESSAGE, 0));
    // In lines: one paragraph of that length costs the control minutes of layout under Wine.
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 1500; ++i) rtf += std::string(39, 'x') + "\\par\n";
    hidden.SetRtf(rtf + "}");
    // The last break becomes the control's own final paragraph mark, which is not counted.
    EXPECT_EQ(hidden.GetCharCount(), 1500 * 40 - 1);
    hidden.SetPlainText(text, false);
    std::string back;
    hidden.GetText(back, false);
    EXPECT_EQ(back.size(), text.size());
    hidden.GetRtf(rtf, false);
    m_edit.SetRtf(rtf);
    EXPECT_EQ(m_edit.GetCharCount(), hidden.GetCharCount());
}

TEST(GlobalBuffer, GrowsReadsAndCopies)
{
    CGlobalBuffer buffer;
    std::string chunk(5000, 'a');
    for (int i = 0; i < 100; ++i) buffer.Append(chunk.data(), static_cast<int32_t>(chunk.size()));
    buffer.Append(chunk.data(), 0);
    buffer.Append(chunk.data(), -3);
    EXPECT_EQ(buffer.GetLength(), 500000);
    buffer.AppendZero();
    std::string out;
    buffer.CopyTo(out);
    EXPECT_EQ(out.size(), 500000u);

    buffer.SetString("hello world");
    char part[8] = {};
    EXPECT_EQ(buffer.Read(part, 5), 5);
    EXPECT_STREQ(part, "hello");
    EXPECT_EQ(buffer.Read(part, 100), 6);
    EXPECT_EQ(buffer.Read(part, 100), 0);
}

TEST_F(RichEditCtrl1Test, ReplaceAllReplacesEachOccurrenceOnce)
{
    struct Case {
        DWORD flags;
        const char* text;
        const char* find;
        const char* replacement;
        int count;
        const char* after;
    } const cases[] = {
        // The search goes on after the inserted text, which begins with the find text.
        {0, "cat and cat", "cat", "cattle", 2, "cattle and cattle"},
        {0, "aab", "a", "", 2, "b"},
        {0, "Cat and cat", "cat", "dog", 2, "dog and dog"},
        {FR_MATCHCASE, "Cat and cat", "cat", "dog", 1, "Cat and dog"},
        {FR_WHOLEWORD, "cat concat cats", "cat", "dog", 1, "dog concat cats"},
        {0, "cat", "", "dog", 0, "cat"},
        {0, "no such word", "cat", "dog", 0, "no such word"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text + std::string(" / ") + c.find);
        m_edit.SetPlainText(c.text, false);
        EXPECT_EQ(m_edit.ReplaceAll(c.flags, c.find, c.replacement, nullptr), c.count);
        std::string text;
        m_edit.GetText(text, false);
        EXPECT_EQ(text, c.after);
        if (!*c.find) continue;  // nothing searched, the selection stays
        int32_t start, end;
        m_edit.GetSel(start, end);
        EXPECT_EQ(start, 0);
        EXPECT_EQ(end, 0);
    }
}

TEST_F(RichEditCtrl1Test, ReplaceAllKeepsLinksInStep)
{
    auto links = [](std::initializer_list<std::pair<int32_t, int32_t>> spans) {
        CLinkRangeList list;
        for (const auto& span : spans) {
            LinkRange link;
            link.start = span.first;
            link.end = span.second;
            link.type = 2;
            list.Add(link);
        }
        return list;
    };
    auto describe = [](const CLinkRangeList& list) {
        std::string out;
        for (int i = 0; i < list.GetCount(); ++i)
            out += (out.empty() ? "" : " ") + std::to_string(list.Item(i)->start) + "-" +
                   std::to_string(list.Item(i)->end);
        return out;
    };
    // "two cat" is a link holding an occurrence; "at." reaches out of the last one, which stays.
    m_edit.SetPlainText("one cat, two cat, three cat.", false);
    CLinkRangeList list = links({{9, 16}, {25, 28}});
    EXPECT_EQ(m_edit.ReplaceAll(0, "cat", "tiger", &list), 2);
    std::string text;
    m_edit.GetText(text, false);
    EXPECT_EQ(text, "one tiger, two tiger, three cat.");
    EXPECT_EQ(describe(list), "11-20 29-32");

    // A link that was exactly the occurrence goes with an empty replacement; the others move.
    m_edit.SetPlainText("x cat y cat z", false);
    list = links({{2, 5}, {12, 13}});
    EXPECT_EQ(m_edit.ReplaceAll(0, "cat", "", &list), 2);
    m_edit.GetText(text, false);
    EXPECT_EQ(text, "x  y  z");
    EXPECT_EQ(describe(list), "6-7");
}

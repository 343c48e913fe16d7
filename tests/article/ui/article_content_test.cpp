// A real article pane in a frame, driven by keys and edit messages posted through its queue; the
// text, the stored links and the character formats are read back from the control.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "article/ui/article_content.h"
#include "framework/error_sink.h"
#include "framework/ui/frame_wnd.h"
#include "storage/link_shell.h"
#include "tests/support/gui_driver.h"

namespace {

std::vector<std::string> g_messages;

void RecordMessage(const std::string& message)
{
    g_messages.push_back(message);
}

LinkRange MakeLink(int32_t start, int32_t end, int16_t type = 2, const std::string& target = "http://example.org/")
{
    LinkRange link;
    link.start = start;
    link.end = end;
    link.type = type;
    link.target = target;
    return link;
}

struct CharLook {
    bool linkLook = false;  // green, underlined and protected
    bool protectedText = false;
    bool underlined = false;
    bool bold = false;
    COLORREF color = 0;
    bool automatic = false;
};

class ArticleContentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_messages.clear();
        m_previousSink = SetErrorSink(RecordMessage);
        ASSERT_TRUE(m_frame.Create("Article pane test", 0));
        m_frame.ShowWindow(SW_SHOW);
        RECT rect = {0, 0, 600, 400};
        ASSERT_TRUE(m_pane.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL, rect,
                                  m_frame.m_hWnd, 1003));
        m_pane.SetStatusTextHandler([this](const std::string& text) { m_status = text; });
        ::SetFocus(m_pane.m_hWnd);
    }
    void TearDown() override { SetErrorSink(m_previousSink); }

    // Handles everything waiting in this thread's queue.
    void Pump()
    {
        MSG msg;
        // No TranslateMessage: the tests post each character themselves.
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }

    void Load(const std::string& text, const std::vector<LinkRange>& links)
    {
        m_pane.LoadTextContent(text);
        CLinkRangeList list;
        for (const LinkRange& link : links) list.Add(link);
        m_pane.SetLinkRanges(list);
    }

    void Select(int32_t start, int32_t end)
    {
        CHARRANGE range = {start, end};
        PostMessageA(m_pane.m_hWnd, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        Pump();
    }
    void Key(UINT vk)
    {
        PostMessageA(m_pane.m_hWnd, WM_KEYDOWN, vk, 1);
        Pump();
        PostMessageA(m_pane.m_hWnd, WM_KEYUP, vk, 0xC0000001);
        Pump();
    }
    void Type(char c)
    {
        UINT vk = static_cast<UINT>(VkKeyScanA(c) & 0xFF);
        PostMessageA(m_pane.m_hWnd, WM_KEYDOWN, vk, 1);
        PostMessageA(m_pane.m_hWnd, WM_CHAR, static_cast<unsigned char>(c), 1);
        PostMessageA(m_pane.m_hWnd, WM_KEYUP, vk, 0xC0000001);
        Pump();
    }
    void Type(const std::string& text)
    {
        for (char c : text) Type(c);
    }
    void Enter()
    {
        PostMessageA(m_pane.m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageA(m_pane.m_hWnd, WM_CHAR, '\r', 1);
        PostMessageA(m_pane.m_hWnd, WM_KEYUP, VK_RETURN, 0xC0000001);
        Pump();
    }
    void Paste(const std::string& text)
    {
        SetClipboardText(text);
        PostMessageA(m_pane.m_hWnd, WM_PASTE, 0, 0);
        Pump();
    }
    static void SetClipboardText(const std::string& text)
    {
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
    }

    // The text in positions: paragraph breaks as one "\r".
    std::string Text()
    {
        const int32_t n = m_pane.GetCharCount();
        std::string text(static_cast<size_t>(n) + 1, '\0');
        TEXTRANGEA range = {{0, n}, &text[0]};
        LRESULT copied = m_pane.SendMessage(EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
        text.resize(static_cast<size_t>(copied));
        return text;
    }
    std::string Describe()
    {
        std::string out;
        for (int i = 0; i < m_pane.Links().GetCount(); ++i) {
            const LinkRange& r = *m_pane.Links().Item(i);
            out += (out.empty() ? "" : " ") + std::to_string(r.start) + "-" + std::to_string(r.end);
        }
        return out;
    }
    CharLook LookAt(int32_t p)
    {
        int32_t s, e;
        m_pane.GetSel(s, e);
        CHARRANGE range = {p, p + 1};
        m_pane.SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CHARFORMAT2A f = {};
        f.cbSize = sizeof f;
        m_pane.SendMessage(EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&f));
        range = {s, e};
        m_pane.SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
        CharLook look;
        look.protectedText = (f.dwEffects & CFE_PROTECTED) != 0;
        look.underlined = (f.dwEffects & CFE_UNDERLINE) != 0;
        look.bold = (f.dwEffects & CFE_BOLD) != 0;
        look.automatic = (f.dwEffects & CFE_AUTOCOLOR) != 0;
        look.color = f.crTextColor;
        look.linkLook = look.protectedText && look.underlined && !look.automatic && look.color == 0x007F00;
        return look;
    }
    // The link look lies on exactly the stored ranges.
    void ExpectLookOnLinksOnly()
    {
        const int32_t n = m_pane.GetCharCount();
        std::vector<bool> inLink(static_cast<size_t>(n), false);
        for (int i = 0; i < m_pane.Links().GetCount(); ++i)
            for (int32_t p = m_pane.Links().Item(i)->start; p < m_pane.Links().Item(i)->end && p < n; ++p)
                inLink[static_cast<size_t>(p)] = true;
        for (int32_t p = 0; p < n; ++p) {
            CharLook look = LookAt(p);
            if (inLink[static_cast<size_t>(p)]) {
                ASSERT_TRUE(look.linkLook) << "position " << p << " of a link lost the link look";
            } else {
                ASSERT_FALSE(look.protectedText) << "position " << p << " outside the links is protected";
                ASSERT_FALSE(look.color == 0x007F00 && look.underlined && !look.automatic)
                    << "position " << p << " outside the links looks like one";
            }
        }
    }

    // Where the address look (blue, underlined, not protected) lies: "4-13 18-29".
    std::string AddressSpans()
    {
        auto address = [](const CharLook& look) {
            return look.color == 0xFF0000 && look.underlined && !look.automatic && !look.protectedText;
        };
        std::string found;
        const int32_t n = m_pane.GetCharCount();
        for (int32_t p = 0; p < n;) {
            if (!address(LookAt(p))) {
                ++p;
                continue;
            }
            int32_t e = p + 1;
            while (e < n && address(LookAt(e))) ++e;
            found += (found.empty() ? "" : " ") + std::to_string(p) + "-" + std::to_string(e);
            p = e;
        }
        return found;
    }

    CFrameWnd m_frame;
    CArticleContent m_pane;
    std::string m_status;
    ErrorSink m_previousSink = nullptr;
};

const char kText[] = "The quick brown fox jumps over the lazy dog again and again.";

}  // namespace

TEST_F(ArticleContentTest, TypingInsideALinkReplacesTheWholeLinkAndRemovesIt)
{
    Load(kText, {MakeLink(4, 9), MakeLink(20, 25)});  // "quick", "jumps"
    Select(6, 6);
    Type('X');
    EXPECT_EQ(Text().substr(0, 12), "The X brown ");
    EXPECT_EQ(Describe(), "16-21");
    ExpectLookOnLinksOnly();
}

TEST_F(ArticleContentTest, BackspaceAndDeleteBesideALink)
{
    struct {
        const char* what;
        int32_t caret;
        UINT key;
        const char* text;
        const char* links;
    } cases[] = {
        {"Backspace right after a link deletes the link", 9, VK_BACK, "The  brown", "15-20"},
        {"Delete right before a link deletes the link", 4, VK_DELETE, "The  brown", "15-20"},
        {"Backspace right before a link deletes one character", 4, VK_BACK, "Thequick b", "3-8 19-24"},
        {"Delete right after a link deletes one character", 9, VK_DELETE, "The quickbr", "4-9 19-24"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Load(kText, {MakeLink(4, 9), MakeLink(20, 25)});
        Select(c.caret, c.caret);
        Key(c.key);
        EXPECT_EQ(Text().substr(0, std::string(c.text).size()), c.text);
        EXPECT_EQ(Describe(), c.links);
        ExpectLookOnLinksOnly();
    }
}

TEST_F(ArticleContentTest, DeletingASelectionThatHoldsALinkLeavesThePlainLook)
{
    Load(kText, {MakeLink(4, 9), MakeLink(20, 25)});
    Select(2, 12);
    Key(VK_DELETE);
    EXPECT_EQ(Text().substr(0, 8), "Thown fo");
    EXPECT_EQ(Describe(), "10-15");
    ExpectLookOnLinksOnly();

    // Removing a link keeps its text in the colour of the text before it, or automatic.
    Load(kText, {MakeLink(4, 9)});
    CHARFORMAT2A red = {};
    red.cbSize = sizeof red;
    red.dwMask = CFM_COLOR;
    red.crTextColor = RGB(200, 0, 0);
    m_pane.SetSel(0, 4);
    m_pane.SetCharFormat(red, SCF_SELECTION);
    m_pane.RemoveLinksInRange(MakeLink(4, 9));
    EXPECT_EQ(Describe(), "");
    CharLook look = LookAt(5);
    EXPECT_FALSE(look.protectedText);
    EXPECT_FALSE(look.underlined);
    EXPECT_EQ(look.color, RGB(200, 0, 0));
    m_pane.RemoveLinksInRange(MakeLink(0, 2));  // nothing before: automatic
    EXPECT_TRUE(LookAt(1).automatic);
}

TEST_F(ArticleContentTest, PasteIntoALinkIsRefusedAndBesideItAllowed)
{
    Load(kText, {MakeLink(4, 9), MakeLink(9, 15)});  // touching: "quick", " brown"
    Select(6, 6);
    Paste("ZZ");
    EXPECT_EQ(Text(), kText);
    Select(9, 11);  // over the start of the second of two touching links
    Paste("ZZ");
    EXPECT_EQ(Text(), kText);
    Select(4, 4);
    Paste("ZZ");
    EXPECT_EQ(Text().substr(0, 12), "The ZZquick ");
    EXPECT_EQ(Describe(), "6-11 11-17");
    Select(17, 17);
    Paste("YY");
    EXPECT_EQ(Text().substr(11, 10), " brownYY f");
    EXPECT_EQ(Describe(), "6-11 11-17");
    ExpectLookOnLinksOnly();
}

TEST_F(ArticleContentTest, ACharacterTypedAtALinksStartDoesNotTakeTheLinkLook)
{
    Load(kText, {MakeLink(0, 3), MakeLink(4, 9), MakeLink(9, 15)});
    for (int32_t at : {0, 4, 9 + 2}) {
        SCOPED_TRACE(at);
        CLinkRangeList before;
        m_pane.GetLinkRanges(before);
        Select(at, at);
        Type('#');
        EXPECT_EQ(Text()[static_cast<size_t>(at)], '#');
        ExpectLookOnLinksOnly();
    }
    // And one typed right behind a link neither.
    const int32_t end = m_pane.Links().Item(0)->end;
    Select(end, end);
    Type('+');
    ExpectLookOnLinksOnly();
}

TEST_F(ArticleContentTest, FormatCommandsOverALinkLeaveItsLook)
{
    Load(kText, {MakeLink(4, 9)});
    CHARFORMAT2A format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_BOLD | CFM_COLOR | CFM_UNDERLINE | CFM_FACE | CFM_SIZE;
    format.dwEffects = CFE_BOLD;
    format.crTextColor = RGB(0, 0, 255);
    format.yHeight = 280;
    strcpy(format.szFaceName, "Courier New");
    Select(0, 15);
    m_pane.SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    Pump();
    CharLook look = LookAt(5);
    EXPECT_TRUE(look.linkLook);
    EXPECT_TRUE(look.bold);
    EXPECT_TRUE(LookAt(1).bold);
    EXPECT_EQ(LookAt(1).color, RGB(0, 0, 255));
    m_pane.SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    Pump();
    ExpectLookOnLinksOnly();
}

TEST_F(ArticleContentTest, LinkModes)
{
    struct {
        int mode;
        bool active, shown;
    } cases[] = {{0, true, true}, {1, true, false}, {2, false, false}, {3, false, false}};
    Load(kText, {MakeLink(4, 9)});
    for (const auto& c : cases) {
        m_pane.SetLinkMode(c.mode);
        EXPECT_EQ(m_pane.AreLinksActive(), c.active) << c.mode;
        EXPECT_EQ(m_pane.AreAddressesShown(), c.shown) << c.mode;
        ExpectLookOnLinksOnly();  // stored links keep their look in every mode
    }
}

TEST_F(ArticleContentTest, UndoRestoresTextAndLinksTogetherAndASecondUndoRedoes)
{
    Load(kText, {MakeLink(4, 9), MakeLink(20, 25)});
    // A typed word over a link.
    Select(5, 5);
    Type("slow");
    const std::string typed = Text();
    EXPECT_EQ(Describe(), "19-24");
    m_pane.Undo();
    EXPECT_EQ(Text(), kText);
    EXPECT_EQ(Describe(), "4-9 20-25");
    ExpectLookOnLinksOnly();
    m_pane.Undo();
    EXPECT_EQ(Text(), typed);
    EXPECT_EQ(Describe(), "19-24");
    ExpectLookOnLinksOnly();

    // A Delete of a link; then a paste.
    Load(kText, {MakeLink(4, 9), MakeLink(20, 25)});
    Select(4, 4);
    Key(VK_DELETE);
    EXPECT_EQ(Describe(), "15-20");
    m_pane.Undo();
    EXPECT_EQ(Text(), kText);
    EXPECT_EQ(Describe(), "4-9 20-25");
    Select(0, 0);
    Paste("12345");
    EXPECT_EQ(Describe(), "9-14 25-30");
    m_pane.Undo();
    EXPECT_EQ(Text(), kText);
    EXPECT_EQ(Describe(), "4-9 20-25");
    ExpectLookOnLinksOnly();
}

TEST_F(ArticleContentTest, DropAccounting)
{
    Load(kText, {MakeLink(20, 25)});
    Select(4, 9);
    m_pane.OnDropBegin(true);
    EXPECT_EQ(m_pane.GetTypingFlags() & 0x12, 0x12);
    // The control inserted the dropped "ABCDEFGH" over 4..9 and put the caret behind it.
    m_pane.SendMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("ABCDEFGH"));
    EXPECT_EQ(Describe(), "20-25");  // not moved before the drop is done
    m_pane.OnDragDropDone();
    EXPECT_EQ(Describe(), "23-28");
    EXPECT_EQ(m_pane.GetTypingFlags(), 0);
}

namespace {

class CFailingShell : public ILinkShell {
public:
    bool PathExists(const std::string&, bool& isFolder) override
    {
        isFolder = false;
        return true;
    }
    intptr_t Execute(const char*, const std::string& file, const std::string&) override
    {
        opened.push_back(file);
        return 2;
    }
    std::string FolderProgram() override { return ""; }
    bool CanSearchMissing() override { return false; }
    std::string BaseFolder() override { return "C:\\"; }
    int FindMissing(std::string&, int32_t) override { return 2; }
    std::vector<std::string> opened;
};

class CArticles : public IArticleLinkDocument {
public:
    bool hidden = true;
    bool ArePrivateArticlesHidden() override { return hidden; }
    bool IsArticlePrivate(int32_t id) override { return id == 8; }
    bool UnlockPrivateArticles() override { return false; }
    bool MatchesCreatedStamp(int32_t id, int32_t date, int32_t time) override
    {
        return (id == 7 || id == 8) && date == 20240101 && time == 3600;
    }
    void OpenArticle(int32_t id) override { opened.push_back(id); }
    std::string GetArticleTitle(int32_t id) override { return id == 7 ? "Seventh" : ""; }
    std::vector<int32_t> opened;
};

LinkRange ArticleLinkRange(int32_t start, int32_t end, int32_t id, int32_t time)
{
    LinkRange link = MakeLink(start, end, 3, "x");
    link.targetArticle = id;
    link.valueB = 20240101;
    link.valueC = time;
    return link;
}

}  // namespace

TEST_F(ArticleContentTest, DoubleClickOpensLinksAndHoverNamesThem)
{
    CFailingShell shell;
    ILinkShell* previous = SetLinkShell(&shell);
    CArticles articles;
    m_pane.SetDocument(&articles);
    Load(kText, {MakeLink(4, 9), ArticleLinkRange(10, 15, 7, 3600), ArticleLinkRange(20, 25, 7, 99),
                 ArticleLinkRange(26, 30, 8, 3600)});
    auto pointOf = [&](int32_t p) {
        POINTL point = {};
        m_pane.SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), p);
        return MAKELPARAM(point.x + 2, point.y + 4);
    };
    struct {
        int32_t at;
        const char* message;  // "" for none
        size_t opened;
        const char* status;
    } cases[] = {
        {6, "Unable to open http://example.org/.", 0, "URL: http://example.org/"},
        {12, "", 1, "Article: Seventh"},
        {22, "The target article no longer exists.", 1, "Article: Seventh"},
        {27, "This is a hypertext link to a private article.", 1, "Article: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.at);
        g_messages.clear();
        PostMessageA(m_pane.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, pointOf(c.at));
        Pump();
        if (*c.message) {
            ASSERT_EQ(g_messages.size(), 1u);
            EXPECT_EQ(g_messages[0].find(c.message), 0u) << g_messages[0];
        } else {
            EXPECT_TRUE(g_messages.empty());
        }
        EXPECT_EQ(articles.opened.size(), c.opened);
        PostMessageA(m_pane.m_hWnd, WM_MOUSEMOVE, 0, pointOf(c.at));
        Pump();
        EXPECT_EQ(m_status, c.status);
        EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    }
    EXPECT_EQ(shell.opened, std::vector<std::string>{"http://example.org/"});
    PostMessageA(m_pane.m_hWnd, WM_MOUSEMOVE, 0, pointOf(40));
    Pump();
    EXPECT_EQ(m_status, "Article Content");
    SetLinkShell(previous);
}

// Links stay on their text through random typing, deleting, line breaks, overtype, word
// replacement, pastes, cuts and undos; after every step each surviving link covers exactly its
// original characters and the link look lies on exactly the link ranges.
TEST_F(ArticleContentTest, RandomEditingKeepsLinksOnTheirCharacters)
{
    std::mt19937 random(20241211);
    std::string text;
    for (int i = 0; i < 7; ++i) text += "word" + std::to_string(i) + " and more text here ";
    std::vector<LinkRange> links;
    int32_t p = 2;
    int n = 0;
    while (p + 10 < static_cast<int32_t>(text.size())) {
        int32_t length = 2 + static_cast<int32_t>(random() % 7);
        links.push_back(MakeLink(p, p + length, 2, "T" + std::to_string(n++)));
        p += length + (random() % 3 == 0 ? 0 : 3 + static_cast<int32_t>(random() % 15));
    }
    Load(text, links);
    std::map<std::string, std::string> original;
    for (const LinkRange& link : links)
        original[link.target] = text.substr(static_cast<size_t>(link.start), static_cast<size_t>(link.end - link.start));

    auto randomPosition = [&] { return static_cast<int32_t>(random() % (static_cast<uint32_t>(m_pane.GetCharCount()) + 1)); };
    bool overtype = false;
    for (int step = 0; step < 200; ++step) {
        std::string did;
        switch (random() % 10) {
        case 0: case 1: Select(randomPosition(), m_pane.GetCharCount() >= 0 ? randomPosition() : 0); break;
        default: break;
        }
        int32_t s, e;
        m_pane.GetSel(s, e);
        switch (random() % 10) {
        case 0: case 1: did = "type"; Type(static_cast<char>('a' + random() % 26)); break;
        case 2: did = "backspace"; Key(VK_BACK); break;
        case 3: did = "delete"; Key(VK_DELETE); break;
        case 4: did = "enter"; Enter(); break;
        case 5: did = "insert"; Key(VK_INSERT); overtype = !overtype; Type('o'); break;
        case 6: {
            did = "double-click and type";
            int32_t at = randomPosition();
            POINTL point = {};
            m_pane.SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), at);
            if (m_pane.FindLinkAt(at) < 0) {
                PostMessageA(m_pane.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(point.x + 1, point.y + 3));
                Pump();
                Type('W');
            }
            break;
        }
        case 7: did = "paste"; Paste("pasted"); break;
        case 8: did = "cut"; PostMessageA(m_pane.m_hWnd, WM_CUT, 0, 0); Pump(); break;
        case 9: did = "undo"; m_pane.Undo(); break;
        }
        SCOPED_TRACE("step " + std::to_string(step) + " " + did + " at " + std::to_string(s) + ".." + std::to_string(e));
        const std::string now = Text();
        int32_t lastEnd = 0;
        for (int i = 0; i < m_pane.Links().GetCount(); ++i) {
            const LinkRange& link = *m_pane.Links().Item(i);
            ASSERT_GE(link.start, lastEnd);
            ASSERT_LE(link.end, static_cast<int32_t>(now.size()));
            ASSERT_EQ(now.substr(static_cast<size_t>(link.start), static_cast<size_t>(link.end - link.start)),
                      original[link.target]) << link.target;
            lastEnd = link.end;
        }
        ASSERT_NO_FATAL_FAILURE(ExpectLookOnLinksOnly());
    }
    EXPECT_TRUE(g_messages.empty());
}

TEST_F(ArticleContentTest, ReplaceAllKeepsLinksAndTheirLook)
{
    Load("one cat, two cat, three cat.", {MakeLink(9, 16), MakeLink(25, 28)});
    EXPECT_EQ(m_pane.ReplaceAllKeepingLinks(0, "cat", "tiger"), 2);
    EXPECT_EQ(Text(), "one tiger, two tiger, three cat.");
    EXPECT_EQ(Describe(), "11-20 29-32");
    ExpectLookOnLinksOnly();
    // The replacements are not taken for a change of the user's: typing afterwards moves links once.
    Select(0, 0);
    Type('x');
    EXPECT_EQ(Describe(), "12-21 30-33");
}

TEST_F(ArticleContentTest, StoredTextKeepsProtectionOnItsLinksOnly)
{
    // Protection the stored text carries outside its links (left by an older edit) does not come back.
    m_pane.LoadRtfContent("{\\rtf1\\ansi ab{\\protect cd}ef{\\cf1\\ul\\protect gh}ij\\protect1 kl}", false);
    CLinkRangeList links;
    links.Add(MakeLink(6, 8));
    m_pane.SetLinkRanges(links);
    EXPECT_EQ(Text(), "abcdefghijkl");
    ExpectLookOnLinksOnly();
    // Undo loads its snapshot the same way.
    Select(0, 0);
    Type('x');
    EXPECT_EQ(Describe(), "7-9");
    m_pane.Undo();
    EXPECT_EQ(Text(), "abcdefghijkl");
    EXPECT_EQ(Describe(), "6-8");
    ExpectLookOnLinksOnly();
}

namespace {

// Records the menus the pane would track instead of tracking them.
class CMenuRecordingPane : public CArticleContent {
public:
    struct Shown {
        std::vector<UINT> ids;  // 0 for a separator, -1 for a pop-up
        std::vector<std::string> texts;
        POINT at;
    };
    std::vector<Shown> shown;

protected:
    void TrackContextMenu(HMENU popup, POINT screen) override
    {
        Shown menu;
        menu.at = screen;
        for (int i = 0; i < GetMenuItemCount(popup); ++i) {
            char text[128] = {};
            GetMenuStringA(popup, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            menu.ids.push_back(GetMenuItemID(popup, i));
            menu.texts.push_back(text);
        }
        shown.push_back(menu);
    }
};

}  // namespace

TEST_F(ArticleContentTest, TheContextMenuOffersTheArticleCommands)
{
    CMenuRecordingPane pane;
    RECT rect = {0, 0, 300, 200};
    ASSERT_TRUE(pane.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE, rect, m_frame.m_hWnd, 1004));
    ::SetFocus(m_pane.m_hWnd);
    PostMessageA(pane.m_hWnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 10));
    PostMessageA(pane.m_hWnd, WM_RBUTTONUP, 0, MAKELPARAM(20, 10));
    Pump();
    ASSERT_EQ(pane.shown.size(), 1u) << "one right click, one menu";
    EXPECT_EQ(::GetFocus(), pane.m_hWnd);
    POINT expected = {20, 10};
    ClientToScreen(pane.m_hWnd, &expected);
    EXPECT_EQ(pane.shown[0].at.x, expected.x);
    EXPECT_EQ(pane.shown[0].at.y, expected.y);
    const UINT popup = static_cast<UINT>(-1);
    const std::vector<UINT> ids = {57635, 57634, 57637, popup, 0, 32797, 0, 32925, popup, 32926, 0, 32889, 32924,
                                   0, 32786, 32787, 32789, 32790, 32788, 0, 32876, 32877, 33030};
    EXPECT_EQ(pane.shown[0].ids, ids);
    EXPECT_EQ(pane.shown[0].texts[3], "Paste &Special");
    EXPECT_EQ(pane.shown[0].texts[14], "&Close Article\tCtrl+W");

    // The menu key: at the caret.
    pane.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(pane.m_hWnd), MAKELPARAM(-1, -1));
    ASSERT_EQ(pane.shown.size(), 2u);
    POINT caret = {0, 0};
    ClientToScreen(pane.m_hWnd, &caret);
    EXPECT_GE(pane.shown[1].at.x, caret.x);
    EXPECT_GE(pane.shown[1].at.y, caret.y);
    EXPECT_LT(pane.shown[1].at.y, caret.y + 50);
}

TEST_F(ArticleContentTest, TypedAddressesTakeTheAddressLookAndLoseItWhenNoLongerOne)
{
    Load("", {});
    m_pane.SetLinkMode(0);
    Type("see www.x.org. or me@host.net");
    EXPECT_EQ(Text(), "see www.x.org. or me@host.net");
    EXPECT_EQ(AddressSpans(), "4-13 18-29");
    EXPECT_EQ(m_pane.Links().GetCount(), 0);  // nothing is stored
    // Deleting into the address until it is none: the look goes, the colour before it comes back.
    Select(8, 8);
    Key(VK_BACK);
    EXPECT_EQ(Text(), "see wwwx.org. or me@host.net");
    EXPECT_EQ(AddressSpans(), "17-28");
    EXPECT_FALSE(LookAt(5).underlined);
    EXPECT_TRUE(LookAt(5).automatic);
    // A pasted address is looked at too.
    Select(0, 0);
    Paste("http://a.org ");
    EXPECT_EQ(AddressSpans(), "0-12 30-41");
}

TEST_F(ArticleContentTest, LinkModesSwitchTheAddressLookAndLeaveStoredLinks)
{
    const std::string text = "mail me@host.net or www.x.org; LINK www.y.org";
    Load(text, {MakeLink(31, 35)});
    m_pane.SetLinkMode(0);
    EXPECT_EQ(AddressSpans(), "5-16 20-29 36-45");
    m_pane.SetLinkMode(1);
    EXPECT_EQ(AddressSpans(), "");
    EXPECT_FALSE(LookAt(22).underlined);
    ExpectLookOnLinksOnly();
    m_pane.SetLinkMode(0);
    EXPECT_EQ(AddressSpans(), "5-16 20-29 36-45");
    EXPECT_TRUE(LookAt(32).linkLook);
    EXPECT_EQ(Text(), text);
}

TEST_F(ArticleContentTest, DoubleClickAndCursorOverARecognisedAddress)
{
    CFailingShell shell;
    ILinkShell* previous = SetLinkShell(&shell);
    Load("go to www.x.org or file://C:\\notes.txt now", {});
    m_pane.SetLinkMode(0);
    auto pointOf = [&](int32_t p) {
        POINTL point = {};
        m_pane.SendMessage(EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), p);
        return MAKELPARAM(point.x + 2, point.y + 4);
    };
    // Asked directly: the real pointer may move the mouse over the pane meanwhile.
    m_pane.SetCursorAtPoint(pointOf(8));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_HAND));
    m_pane.SetCursorAtPoint(pointOf(1));
    EXPECT_EQ(GetCursor(), LoadCursor(nullptr, IDC_IBEAM));
    PostMessageA(m_pane.m_hWnd, WM_MOUSEMOVE, 0, pointOf(8));
    Pump();
    EXPECT_EQ(m_status, "Article Content");

    g_messages.clear();
    PostMessageA(m_pane.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, pointOf(8));
    Pump();
    EXPECT_EQ(shell.opened, std::vector<std::string>{"http://www.x.org"});
    // A file address whose file exists is written with its path in double quotes.
    g_messages.clear();
    PostMessageA(m_pane.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, pointOf(24));
    Pump();
    EXPECT_EQ(Text(), "go to www.x.org or file://\"C:\\notes.txt\" now");
    EXPECT_EQ(shell.opened.size(), 1u);
    EXPECT_TRUE(g_messages.empty());
    // Links inactive: the control's own double-click selects the word.
    m_pane.SetLinkMode(2);
    PostMessageA(m_pane.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, pointOf(8));
    Pump();
    EXPECT_EQ(shell.opened.size(), 1u);
    SetLinkShell(previous);
}

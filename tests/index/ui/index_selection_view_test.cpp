// Selecting articles in a real index window over a knowledge base opened through the Windows host:
// the keyword steps by button, Enter, double click and drop, AND and OR with their captions, the
// start lists, a stored article kept in step, the keyword preview, and the entry's questions.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/gui_driver.h"
#include "tests/support/index_window_fixture.h"
#include "tests/support/test_data_object.h"

namespace {

CKeywordIdSet KeywordSet(std::initializer_list<int32_t> ids)
{
    CKeywordIdSet set;
    set.Copy(std::vector<int32_t>(ids));
    return set;
}

class IndexSelectionViewTest : public CIndexWindowFixture {
protected:
    // Keywords alpha 0, beta 1, gamma 2; articles: "one" {alpha}, "two" {alpha, beta}, "three" {beta,
    // gamma}, "four" {} bookmarked.
    void SetUp() override
    {
        MakeFile({"alpha", "beta", "gamma"},
                 {{"one", {0}}, {"two", {0, 1}}, {"three", {1, 2}}, {"four", {}, true}});
        MakeFrame();
    }
    HWND Child(int id) { return GetDlgItem(m_view->m_hWnd, id); }
    std::string Caption(int id) { return gui::GetText(Child(id)); }
    std::vector<std::string> Titles()
    {
        std::vector<std::string> titles;
        CIndexTitleList& list = m_view->TitleList();
        for (int i = 0; i < list.GetItemCount(); ++i)
            titles.push_back(Document()->GetArticleTitle(list.GetItemId(i)));
        return titles;
    }
    // Highlights the keyword named `name` in the list alone.
    void Highlight(CKeywordListBox& list, const char* name)
    {
        list.SendMessage(LB_SETSEL, FALSE, -1);
        for (int i = 0; i < list.GetCount(); ++i)
            if (list.GetItemText(i) == name)
                list.SendMessage(LB_SETSEL, TRUE, i);
    }
};

TEST_F(IndexSelectionViewTest, KeywordStepsByButtonEnterAndDoubleClick)
{
    Open();
    EXPECT_EQ(Caption(CIndexView::kTitlesCaption), "All Titles (4 of 4)");
    // ">>" with alpha: the two articles that carry it.
    Highlight(m_view->IndexList(), "alpha");
    gui::ClickButton(Child(CIndexView::kMoveToSelectedButton));
    PumpMessages();
    EXPECT_EQ(Titles(), std::vector<std::string>({"one", "two"}));
    EXPECT_EQ(Caption(CIndexView::kTitlesCaption), "Selected Titles (2 of 4)");
    EXPECT_EQ(m_view->SelectedList().GetCount(), 1);
    EXPECT_EQ(m_view->IndexList().GetCount(), 2);

    // Enter in the index list narrows by beta.
    Highlight(m_view->IndexList(), "beta");
    m_view->IndexList().SetFocus();
    m_view->SendMessage(WM_COMMAND, IDOK, 0);
    EXPECT_EQ(Titles(), std::vector<std::string>({"two"}));

    // A double click on alpha in the selected list moves it back: beta alone.
    Highlight(m_view->SelectedList(), "alpha");
    m_view->SendMessage(WM_COMMAND, MAKEWPARAM(CIndexView::kSelectedList, LBN_DBLCLK),
                        reinterpret_cast<LPARAM>(m_view->SelectedList().m_hWnd));
    EXPECT_EQ(Titles(), std::vector<std::string>({"three", "two"}));

    // OR widens with gamma, and says so; the index says All whatever was requested.
    m_view->IndexNotify(IndexCode::kSetAndOrMode, 1, 0);
    EXPECT_EQ(Caption(CIndexView::kSelectedHeader), "Selected (OR)");
    EXPECT_EQ(m_view->IndexNotify(IndexCode::kGetAndOrMode, 0, 0), 1);
    Highlight(m_view->IndexList(), "alpha");
    m_view->SendMessage(WM_COMMAND, CIndexView::kMoveToSelectedCommand, 0);
    PumpMessages();
    EXPECT_EQ(Titles(), std::vector<std::string>({"one", "three", "two"}));

    // The last keywords removed with the start list "nothing": an empty list.
    m_settings.SetInitList(2);
    m_view->SelectedList().SendMessage(LB_SETSEL, TRUE, -1);
    m_view->SendMessage(WM_COMMAND, CIndexView::kMoveToIndexCommand, 0);
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(Caption(CIndexView::kTitlesCaption), "Titles (0 of 4)");
    EXPECT_EQ(m_view->IndexList().GetCount(), 3);
}

TEST_F(IndexSelectionViewTest, RelatedIndexAndTheModeCycle)
{
    m_profile.WriteInt("Index Display", "IndexMode", 1);
    Open();
    EXPECT_EQ(Caption(CIndexView::kIndexHeader), "Index (Related)");
    Highlight(m_view->IndexList(), "gamma");
    m_view->SendMessage(WM_COMMAND, CIndexView::kMoveToSelectedCommand, 0);
    // "three" carries beta and gamma: beta alone is related.
    EXPECT_EQ(m_view->IndexList().GetCount(), 1);
    EXPECT_EQ(m_view->IndexList().GetItemText(0), "beta");
    m_view->IndexNotify(IndexCode::kCycleIndexMode, 0, 0);
    EXPECT_EQ(Caption(CIndexView::kIndexHeader), "Index (All)");
    EXPECT_EQ(m_view->IndexList().GetCount(), 2);
    EXPECT_EQ(m_view->IndexNotify(IndexCode::kGetIndexMode, 0, 0), 0);
}

TEST_F(IndexSelectionViewTest, KeywordsDroppedFromThePreviewRunTheFullSelection)
{
    m_profile.WriteInt("Index Display", "PreviewOn", 2);
    Open();
    // Highlight "two": the keyword preview shows alpha and beta.
    m_view->TitleList().SendMessage(LB_SETSEL, FALSE, -1);
    for (int i = 0; i < m_view->TitleList().GetItemCount(); ++i)
        if (Titles()[static_cast<size_t>(i)] == "two")
            m_view->TitleList().SendMessage(LB_SETSEL, TRUE, i);
    TitlesSelectionChanged();
    ASSERT_EQ(m_view->KeywordPreview().GetCount(), 2);
    m_view->KeywordPreview().SendMessage(LB_SETSEL, TRUE, -1);
    m_view->SendMessage(CDragList::kDropMessage, reinterpret_cast<WPARAM>(m_view->SelectedList().m_hWnd),
                        reinterpret_cast<LPARAM>(m_view->KeywordPreview().m_hWnd));
    EXPECT_EQ(Titles(), std::vector<std::string>({"two"}));
    EXPECT_EQ(m_view->SelectedList().GetCount(), 2);
    EXPECT_EQ(m_view->IndexList().GetCount(), 1);
    EXPECT_EQ(m_view->IndexNotify(IndexCode::kGetTitlesMode, 0, 0), 3);
}

TEST_F(IndexSelectionViewTest, StoredArticlesAndBookmarksKeepTheListInStep)
{
    Open();
    Highlight(m_view->IndexList(), "beta");
    m_view->SendMessage(WM_COMMAND, CIndexView::kMoveToSelectedCommand, 0);
    ASSERT_EQ(Titles(), std::vector<std::string>({"three", "two"}));
    CQuorvaneDoc* document = Document();
    // "one" gets beta as well: it comes into the list; the document tells the view itself.
    CArticleRecord record;
    const int32_t one = 0;  // the first article added
    document->LoadArticle(one, record);
    record.SetKeywordIds(KeywordSet({0, 1}));
    document->UpdateArticle(one, record, false);
    EXPECT_EQ(Titles(), std::vector<std::string>({"one", "three", "two"}));

    m_view->SendMessage(WM_COMMAND, IDM_ARTICLE_BOOKMARKED, 0);
    EXPECT_EQ(Titles(), std::vector<std::string>({"four"}));
    EXPECT_EQ(Caption(CIndexView::kTitlesCaption), "Bookmarked Titles (1 of 4)");
    EXPECT_EQ(m_view->SelectedList().GetCount(), 0);
    document->SetBookmark(one, true);
    EXPECT_EQ(Titles(), std::vector<std::string>({"four", "one"}));
    m_view->SendMessage(WM_COMMAND, IDM_ARTICLE_WITH_ATTACHMENTS, 0);
    EXPECT_TRUE(Titles().empty());
    EXPECT_EQ(Caption(CIndexView::kTitlesCaption), "Articles with Attachments (0 of 4)");
    m_view->SendMessage(WM_COMMAND, IDM_ARTICLE_ALL_TITLES, 0);
    EXPECT_EQ(Titles().size(), 4u);
}

}  // namespace

namespace {

// An article window as the document sees it, made by the stand-in New Article command.
class CFakeArticleWindow : public CDocumentView, public CArticleNotifyTarget {
public:
    void OnUpdate(CDocumentView*, long, void*) override {}
    int32_t OnDocumentNotify(ArticleHint, int32_t, int32_t) override { return 0; }
    int32_t GetArticleId() const override { return kNoneId; }
    bool IsModified() const override { return false; }
    void SaveIfModified() override {}
    bool PromptSaveAndClose() override { return true; }
    void CloseFrame() override {}
};

struct Pasted {
    CArticleNotifyTarget* window = nullptr;
    UINT format = 0;
    std::string text;
};

TEST_F(IndexSelectionViewTest, TextDroppedOnTheTitlesGoesOnlyIntoTheNewArticleWindow)
{
    COleInit ole;
    // New Article (32785) opens the article window through the host: here it makes one when told to.
    CFakeArticleWindow window;
    bool makesWindow = false;
    int newArticles = 0;
    m_host.openArticle = [&](CQuorvaneDoc& document, int32_t id) {
        ++newArticles;
        if (makesWindow && id == kNoneId)
            document.AddView(&window);
    };
    std::vector<Pasted> pasted;
    m_services.pasteIntoArticle = [&pasted](CArticleNotifyTarget* window, UINT format, const std::string& text) {
        pasted.push_back({window, format, text});
        return true;
    };
    Open();
    const UINT rtf = RegisterClipboardFormatA("Rich Text Format");
    IDropTarget& target = m_view->DropTarget();
    ASSERT_EQ(m_view->DropTarget().GetWindow(), m_view->TitleList().m_hWnd);
    POINTL point = {10, 10};

    // New Article made no window: nothing is pasted anywhere and the drop says so.
    CTestDataObject plain = CTestDataObject::Text("dropped words");
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    target.DragEnter(&plain, 0, point, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    effect = DROPEFFECT_COPY;
    target.Drop(&plain, 0, point, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(newArticles, 1);
    EXPECT_TRUE(pasted.empty());

    // It made one: plain text goes into that window.
    makesWindow = true;
    effect = DROPEFFECT_COPY;
    target.DragEnter(&plain, 0, point, &effect);
    target.Drop(&plain, 0, point, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    ASSERT_EQ(pasted.size(), 1u);
    EXPECT_EQ(pasted[0].window, &window);
    EXPECT_EQ(pasted[0].format, static_cast<UINT>(CF_TEXT));
    EXPECT_EQ(pasted[0].text, "dropped words");
    m_view->GetDocument()->RemoveView(&window);

    // Both formats: the rich text wins.
    CTestDataObject both = CTestDataObject::Text("plain");
    both.AddFormat(static_cast<CLIPFORMAT>(rtf), std::string("{\\rtf1 rich}") + '\0');
    effect = DROPEFFECT_COPY;
    target.DragEnter(&both, 0, point, &effect);
    target.Drop(&both, 0, point, &effect);
    ASSERT_EQ(pasted.size(), 2u);
    EXPECT_EQ(pasted[1].format, rtf);
    EXPECT_EQ(pasted[1].text, "{\\rtf1 rich}");
    m_view->GetDocument()->RemoveView(&window);

    // Other data is refused.
    CTestDataObject bitmap(CF_BITMAP, "x");
    effect = DROPEFFECT_COPY;
    target.DragEnter(&bitmap, 0, point, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    target.DragLeave();
}

TEST_F(IndexSelectionViewTest, AReadOnlyFileTakesNoDrops)
{
    COleInit ole;
    Open(true);
    EXPECT_EQ(m_view->DropTarget().GetWindow(), nullptr);
}

}  // namespace

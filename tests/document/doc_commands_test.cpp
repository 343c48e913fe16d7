// The document's command table: update rules over files in each state, and the handlers that need
// no other window than the index view.
#include "document/quorvane_doc.h"
#include "framework/cmd_target.h"
#include "resources/commands.h"
#include "shell/app_settings.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "tests/document/doc_fixture.h"

namespace {

class DocCommands : public DocFixture {
protected:
    enum Kind { kEmpty, kFull, kBookmarks, kImportBatch, kReadOnly };

    void Make(Kind kind)
    {
        m_path = m_folder.File("kb" + std::to_string(++m_made) + ".xrd");
        Create();
        m_doc->SetSettings(&m_settings);
        if (kind != kEmpty) {
            int32_t k = m_doc->AddKeyword("alpha", false);
            for (int i = 0; i < 3; ++i) {
                int32_t id = AddArticle("article " + std::to_string(i), Keywords({k}));
                if (kind == kBookmarks || kind == kReadOnly)
                    m_doc->SetBookmark(id, true);
            }
        }
        if (kind == kImportBatch) {
            CImportRecordingScope recording(m_doc->GetImportBatch());
            AddArticle("imported", Keywords({}));
        }
        if (kind == kReadOnly) {
            Close();
            ASSERT_TRUE(Open(true));
            m_doc->SetSettings(&m_settings);
        }
        m_trace.clear();
    }

    CCmdUIProbe Probe(unsigned id)
    {
        CCmdUIProbe probe(id);
        EXPECT_TRUE(m_doc->OnCmdMsg(id, &probe)) << id;
        return probe;
    }

    int m_made = 0;
    CMemoryProfileStore m_store;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_store, m_fonts, m_directories};
};

}  // namespace

TEST_F(DocCommands, EnablingFollowsTheFilesState)
{
    struct Case {
        Kind kind;
        bool save, clearBookmarks, undo;
        const char* undoText;
    };
    const Case cases[] = {
        {kEmpty, true, false, false, "&Undo\tCtrl+Z"},
        {kFull, true, false, false, "&Undo\tCtrl+Z"},
        {kBookmarks, true, true, false, "&Undo\tCtrl+Z"},
        {kImportBatch, true, false, true, "&Undo Import\tCtrl+Z"},
        {kReadOnly, false, false, false, "&Undo\tCtrl+Z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Make(c.kind);
        EXPECT_EQ(Probe(IDM_FILE_SAVE).m_enabled, c.save);
        EXPECT_EQ(Probe(IDM_ARTICLE_CLEAR_BOOKMARKS).m_enabled, c.clearBookmarks);
        EXPECT_EQ(Probe(IDM_ARTICLE_NEW).m_enabled, c.save);
        CCmdUIProbe undo = Probe(IDM_EDIT_UNDO);
        EXPECT_EQ(undo.m_enabled, c.undo);
        EXPECT_EQ(undo.m_text, c.undoText);
        // Compact runs on closed files only: always off while a window of the file is active.
        EXPECT_FALSE(Probe(IDM_FILE_COMPACT).m_enabled);
        // File Properties opens on every open file, read-only ones too (their sheet changes nothing).
        EXPECT_TRUE(Probe(IDM_FILE_PROPERTIES).m_enabled);
        const int sheets = m_host.m_filePropertySheets;
        EXPECT_TRUE(m_doc->OnCmdMsg(IDM_FILE_PROPERTIES, nullptr));
        EXPECT_EQ(m_host.m_filePropertySheets, sheets + 1);
        Close();
    }
}

TEST_F(DocCommands, SortAndKeywordModeItemsCheckTheStoredChoice)
{
    Make(kFull);
    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_VIEW_SORT_DATE_DOWN, nullptr));
    EXPECT_EQ(m_settings.GetSortOrder(), 3);
    for (unsigned id : {IDM_VIEW_SORT_TITLE_UP, IDM_VIEW_SORT_TITLE_DOWN, IDM_VIEW_SORT_DATE_UP, IDM_VIEW_SORT_DATE_DOWN})
        EXPECT_EQ(Probe(id).m_check, id == IDM_VIEW_SORT_DATE_DOWN ? 1 : 0) << id;
    // The orders without menu entries: 106..109, 111..114, 116, 117 are 4..13.
    const std::pair<unsigned, int> extra[] = {{106, 4}, {109, 7}, {111, 8}, {114, 11}, {116, 12}, {117, 13}};
    for (const auto& e : extra) {
        ASSERT_TRUE(m_doc->OnCmdMsg(e.first, nullptr));
        EXPECT_EQ(m_settings.GetSortOrder(), e.second);
    }
    EXPECT_FALSE(m_doc->OnCmdMsg(110, nullptr));
    EXPECT_FALSE(m_doc->OnCmdMsg(115, nullptr));

    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_VIEW_OR, nullptr));
    EXPECT_EQ(m_settings.GetSelectListMode(), 1);
    EXPECT_EQ(m_host.m_selectModeApplied, 1);
    EXPECT_EQ(Probe(IDM_VIEW_OR).m_check, 1);
    EXPECT_EQ(Probe(IDM_VIEW_AND).m_check, 0);
    // The index modes apply to AND only.
    EXPECT_FALSE(Probe(IDM_VIEW_MODE_ALL).m_enabled);
    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_VIEW_AND, nullptr));
    EXPECT_EQ(Probe(IDM_VIEW_AND).m_check, 1);
    EXPECT_TRUE(Probe(IDM_VIEW_MODE_ALL).m_enabled);
}

TEST_F(DocCommands, ClearBookmarkedTitleListAsksWithTheCountAndClearsOnlyOnYes)
{
    Make(kBookmarks);
    m_host.m_answers = {false};
    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_ARTICLE_CLEAR_BOOKMARKS, nullptr));
    ASSERT_EQ(m_host.m_clearBookmarkPrompts.size(), 1u);
    EXPECT_EQ(m_host.m_clearBookmarkPrompts[0],
              "The bookmarked title list contains 3 articles.\nDo you want to clear the bookmarked title list?");
    EXPECT_EQ(m_doc->GetBookmarkedCount(), 3);
    EXPECT_TRUE(m_trace.empty());

    m_host.m_answers = {true};
    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_ARTICLE_CLEAR_BOOKMARKS, nullptr));
    EXPECT_EQ(m_doc->GetBookmarkedCount(), 0);
    EXPECT_EQ(m_trace, (Trace{{'I', 9, 0, 0}}));
    EXPECT_EQ(m_host.m_findRefreshes, 1);
    EXPECT_FALSE(Probe(IDM_ARTICLE_CLEAR_BOOKMARKS).m_enabled);
    // The emptied list is what the file keeps.
    Reopen();
    EXPECT_EQ(m_doc->GetBookmarkedCount(), 0);
}

TEST_F(DocCommands, IndexWindowCommandsGoThroughTheIndexView)
{
    Make(kFull);
    struct Case {
        unsigned id;
        int code;
        intptr_t p, n;
    };
    m_index.m_answer = 0;
    const Case cases[] = {
        {IDM_VIEW_CATALOG, 6, 1, 0},       {IDM_VIEW_PREVIEWS, 22, 0, 0}, {IDM_VIEW_PREVIEW_CONTENT, 22, 1, 0},
        {IDM_VIEW_PREVIEW_KEYWORDS, 22, 2, 0}, {IDM_VIEW_PREVIEW_PANE, 31, 1, 0}, {IDM_VIEW_MODE_ALL, 33, 0, 0},
        {IDM_VIEW_MODE_RELATED, 33, 1, 0}, {IDM_VIEW_MODE_TOGGLE, 35, 0, 0},   {IDM_ARTICLE_REMINDERS, 45, 0, 0},
    };
    for (const Case& c : cases) {
        m_trace.clear();
        ASSERT_TRUE(m_doc->OnCmdMsg(c.id, nullptr)) << c.id;
        ASSERT_FALSE(m_trace.empty()) << c.id;
        EXPECT_EQ(m_trace.back(), (Notice{'I', c.code, c.p, c.n})) << c.id;
    }
    // Keyword Groups asks whether the pane shows (41) and asks for the opposite (42).
    m_trace.clear();
    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_VIEW_GROUPS, nullptr));
    EXPECT_EQ(m_trace, (Trace{{'I', 41, 0, 0}, {'I', 42, 1, 1}}));

    // Check marks from the view's answers: preview flags 2 check "Show Keywords" only.
    m_index.m_answer = 2;
    EXPECT_EQ(Probe(IDM_VIEW_PREVIEW_CONTENT).m_check, 0);
    EXPECT_EQ(Probe(IDM_VIEW_PREVIEW_KEYWORDS).m_check, 1);
    EXPECT_EQ(Probe(IDM_VIEW_PREVIEWS).m_check, 1);

    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_SHOW_INDEX, nullptr));
    EXPECT_EQ(m_host.m_indexActivations, 1);
}

TEST_F(DocCommands, ReadOnlyFileRunsNoWritingCommand)
{
    Make(kReadOnly);
    m_host.m_answers = {true};
    m_doc->OnCmdMsg(IDM_ARTICLE_CLEAR_BOOKMARKS, nullptr);
    EXPECT_TRUE(m_host.m_clearBookmarkPrompts.empty());
    EXPECT_EQ(m_doc->GetBookmarkedCount(), 3);
}

// New Article asks the host for a window on a new article, with the import batch held: opening a
// window is no change that ends an import's undo.
TEST_F(DocCommands, NewArticleOpensAWindowOnANewArticleAndKeepsTheImportBatch)
{
    Make(kImportBatch);
    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_ARTICLE_NEW, nullptr));
    EXPECT_EQ(m_host.m_openedArticles, std::vector<int32_t>{kNoneId});
    EXPECT_TRUE(m_doc->CanUndoImport());
}

// Close All runs every article window's close check; a window whose check refuses stays open, and a
// window leaving the document's list on the way does not make another one skipped.
TEST_F(DocCommands, CloseAllClosesEveryArticleWindowThatMayClose)
{
    Make(kFull);
    CArticleIdSet all;
    m_doc->GetAllArticleIds(all);
    CRecordingArticleView views[] = {{m_trace, all.GetAt(0)}, {m_trace, all.GetAt(1)}, {m_trace, all.GetAt(2)}};
    for (auto& view : views) {
        view.m_closingDocument = m_doc.get();
        m_doc->AddView(&view);
    }
    views[1].m_mayClose = false;
    ASSERT_TRUE(m_doc->OnCmdMsg(IDM_WINDOW_CLOSE_ALL, nullptr));
    for (auto& view : views)
        EXPECT_EQ(view.m_closeChecks, 1);
    EXPECT_TRUE(views[0].m_closed);
    EXPECT_FALSE(views[1].m_closed);
    EXPECT_TRUE(views[2].m_closed);
    m_doc->RemoveView(&views[1]);
}

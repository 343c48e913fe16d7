// A small MDI program on real windows: two document templates over one document class, commands
// routed view -> document -> child frame -> main frame -> application, and an update rule that
// greys a menu item and blocks its accelerator. The program runs its own message loop on a thread
// of its own; the test thread plays the user.
#include <windows.h>

#include <gtest/gtest.h>
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "framework/ui/app.h"
#include "framework/ui/doc_template.h"
#include "framework/ui/mdi_wnd.h"
#include "framework/ui/view.h"
#include "tests/framework/ui/test_dialogs_res.h"
#include "tests/support/gui_driver.h"

namespace {

// What the targets did, in order; written on the program's thread, read on the test's.
class CLog {
public:
    void Add(const std::string& entry)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_entries.push_back(entry);
    }
    std::vector<std::string> Entries()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_entries;
    }
    size_t Size() { return Entries().size(); }
    std::string Last()
    {
        std::vector<std::string> entries = Entries();
        return entries.empty() ? std::string() : entries.back();
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_entries;
};

CLog g_log;

class CTestDoc : public CDocument {
public:
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override
    {
        static const CommandEntry<CTestDoc> kCommands[] = {
            {IDM_TEST_ALL, IDM_TEST_DOC_UP, &CTestDoc::Handle},
        };
        return RouteToTable(this, kCommands, id, ui) || CDocument::OnCmdMsg(id, ui);
    }
    void Handle(unsigned id) { g_log.Add("doc"); }
};

class CTestChild : public CMDIChildWnd {
public:
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override
    {
        static const CommandEntry<CTestChild> kCommands[] = {
            {IDM_TEST_ALL, IDM_TEST_CHILD_UP, &CTestChild::Handle},
        };
        return RouteToTable(this, kCommands, id, ui) || CMDIChildWnd::OnCmdMsg(id, ui);
    }
    void Handle(unsigned id) { g_log.Add("child"); }
};

// Views of the two templates differ only in the name they log.
template <char kName>
class CTestView : public CView {
public:
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override
    {
        static const CommandEntry<CTestView> kCommands[] = {
            {IDM_TEST_ALL, &CTestView::OnAll},
        };
        return RouteToTable(this, kCommands, id, ui) || CView::OnCmdMsg(id, ui);
    }
    void OnAll() { g_log.Add(Name()); }
    void OnInitialUpdate() override
    {
        g_log.Add(Name() + ":initial");
        CView::OnInitialUpdate();
    }
    void OnUpdate(CDocumentView* sender, long hint, void* hintObject) override
    {
        if (hint)
            g_log.Add(Name() + ":hint" + std::to_string(hint));
        CView::OnUpdate(sender, hint, hintObject);
    }
    std::string Name() const { return std::string("view") + kName; }
};

class CTestMainFrame : public CMDIFrameWnd {
public:
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override
    {
        static const CommandEntry<CTestMainFrame> kCommands[] = {
            {IDM_TEST_ALL, IDM_TEST_MAIN_UP, &CTestMainFrame::Handle},
            {IDM_TEST_GREYED, &CTestMainFrame::OnGreyed, &CTestMainFrame::CanGreyed},
        };
        return RouteToTable(this, kCommands, id, ui) || CMDIFrameWnd::OnCmdMsg(id, ui);
    }
    void Handle(unsigned id) { g_log.Add("main"); }
    void OnGreyed() { g_log.Add("greyed"); }
    void CanGreyed(CCmdUI& ui) { ui.Enable(false); }
};

class CTestApp : public CWinApp {
public:
    bool OnCmdMsg(unsigned id, CCmdUI* ui) override
    {
        static const CommandEntry<CTestApp> kCommands[] = {
            {IDM_TEST_ALL, IDM_TEST_APP, &CTestApp::Handle},
        };
        return RouteToTable(this, kCommands, id, ui) || CWinApp::OnCmdMsg(id, ui);
    }
    void Handle(unsigned id) { g_log.Add("app"); }

    std::unique_ptr<CDocTemplate> m_index = CDocTemplate::Make<CTestDoc, CTestChild, CTestView<'A'>>(1);
    std::unique_ptr<CDocTemplate> m_article = CDocTemplate::Make<CTestDoc, CTestChild, CTestView<'B'>>(2);
    std::atomic<HWND> m_frameA{nullptr};
    std::atomic<HWND> m_viewA{nullptr};
    std::atomic<bool> m_ready{false};

protected:
    bool InitInstance() override
    {
        auto* frame = new CTestMainFrame;
        frame->m_autoDelete = true;
        if (!frame->Create("Test MDI", IDR_TEST_MDI)) {
            delete frame;
            return false;
        }
        SetMainWnd(frame);
        frame->ShowWindow(SW_SHOW);
        CDocument* document = m_index->OpenDocumentFile(frame, "");
        if (!document)
            return false;
        CMDIChildWnd* first = frame->MDIGetActive();
        m_frameA = first->m_hWnd;
        m_viewA = first->GetActiveView()->m_hWnd;
        if (!m_article->CreateNewFrame(frame, document))
            return false;
        document->UpdateAllViews(first->GetActiveView(), 5);
        m_ready = true;
        return true;
    }
};

}  // namespace

TEST(Mdi, CommandsFollowTheRouteAndDisabledCommandsNeverRun)
{
    CTestApp app;
    std::atomic<int> exitCode{-1};
    gui::CGuiThread ui([&] { exitCode = app.Main(SW_SHOW); });
    ASSERT_TRUE(gui::WaitFor([&] { return app.m_ready.load() || ui.Done(); }));
    ASSERT_TRUE(app.m_ready.load());
    HWND frame = gui::WaitForTopWindow("Test MDI");
    ASSERT_NE(frame, nullptr);

    // Both views were built and initially updated; a hint reaches every view but its sender.
    EXPECT_EQ(g_log.Entries(), (std::vector<std::string>{"viewA:initial", "viewB:initial", "viewB:hint5"}));
    ASSERT_EQ(app.m_index->Documents().size(), 1u);
    EXPECT_TRUE(app.m_article->Documents().empty()) << "the second template shares the first's document";

    // Posted as a toolbar or accelerator would: the first target with a row takes it.
    struct Route {
        UINT id;
        const char* target;
    } routes[] = {
        {IDM_TEST_ALL, "viewB"},  {IDM_TEST_DOC_UP, "doc"}, {IDM_TEST_CHILD_UP, "child"},
        {IDM_TEST_MAIN_UP, "main"}, {IDM_TEST_APP, "app"},
    };
    for (const Route& route : routes) {
        size_t before = g_log.Size();
        PostMessageA(frame, WM_COMMAND, MAKEWPARAM(route.id, 0), 0);
        ASSERT_TRUE(gui::WaitFor([&] { return g_log.Size() > before; })) << route.target;
        EXPECT_EQ(g_log.Size(), before + 1) << "runs once: " << route.target;
        EXPECT_EQ(g_log.Last(), route.target);
    }

    // The active view comes first: after activating the other child, its view takes the command.
    SendMessageA(GetParent(app.m_frameA.load()), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(app.m_frameA.load()), 0);
    size_t before = g_log.Size();
    ASSERT_TRUE(gui::ChooseMenuCommand(frame, IDM_TEST_ALL));
    ASSERT_TRUE(gui::WaitFor([&] { return g_log.Size() > before; }));
    EXPECT_EQ(g_log.Last(), "viewA");

    // Greyed by its update rule; a command nobody handles is greyed too.
    EXPECT_TRUE(gui::MenuItemState(frame, IDM_TEST_GREYED) & MF_GRAYED);
    EXPECT_TRUE(gui::MenuItemState(frame, IDM_TEST_NOBODY) & MF_GRAYED);
    EXPECT_FALSE(gui::MenuItemState(frame, IDM_TEST_ALL) & MF_GRAYED);
    EXPECT_FALSE(gui::ChooseMenuCommand(frame, IDM_TEST_GREYED));

    // Its accelerator (F7) and a posted command do nothing; F8, pressed after them, still works.
    before = g_log.Size();
    gui::PressKey(app.m_viewA.load(), VK_F7);
    PostMessageA(frame, WM_COMMAND, MAKEWPARAM(IDM_TEST_GREYED, 1), 0);
    gui::PressKey(app.m_viewA.load(), VK_F8);
    ASSERT_TRUE(gui::WaitFor([&] { return g_log.Size() > before; }));
    EXPECT_EQ(g_log.Entries().back(), "viewA");
    EXPECT_EQ(g_log.Size(), before + 1);

    // Closing the program closes the frames; the last view gone frees the document.
    PostMessageA(frame, WM_CLOSE, 0, 0);
    ASSERT_TRUE(ui.Join());
    EXPECT_EQ(exitCode.load(), 0);
    EXPECT_TRUE(app.m_index->Documents().empty());
}

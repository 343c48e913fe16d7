// An index window in an MDI frame over a temporary data file opened through the Windows host, as the
// program opens it: a test builds the file (keywords, then articles with keywords, a bookmark and an
// RTF text), adds to the view's services and opens it.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <functional>

#include "document/quorvane_doc.h"
#include "document/ui/doc_host_win.h"
#include "framework/ui/doc_template.h"
#include "framework/ui/mdi_wnd.h"
#include "index/ui/index_frame.h"
#include "index/ui/index_view.h"
#include "shell/app_settings.h"
#include "shell/memory_profile_store.h"
#include "storage/article_record.h"
#include "storage/quor_error.h"
#include "tests/document/doc_test_support.h"
#include "tests/support/temp_folder.h"

inline void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The Windows host with article windows left to the test: opening one runs `openArticle` (nothing
// when it is empty); the questions about article windows are faults of the test.
class CIndexTestHost : public CWindowsDocHost {
public:
    void OpenArticleWindow(CQuorvaneDoc& document, int32_t id) override
    {
        if (openArticle)
            openArticle(document, id);
    }
    bool AskSaveUnsavedArticles(const std::string&) override { throw CQuorError(kInternalInitialization); }
    bool ChooseDuplicates(const std::vector<int32_t>&, bool, CArticleIdSet&) override
    {
        throw CQuorError(kInternalInitialization);
    }

    std::function<void(CQuorvaneDoc& document, int32_t id)> openArticle;
    // The window that owns the clipboard and the boxes; the program's main window when null.
    HWND mainWindow = nullptr;
    // Runs at each message pump of a long operation.
    std::function<void()> pumped;
    int PumpPendingMessage() override
    {
        if (pumped)
            pumped();
        return CWindowsDocHost::PumpPendingMessage();
    }

protected:
    HWND MainWindow() const override { return mainWindow ? mainWindow : CWindowsDocHost::MainWindow(); }
};

class CIndexWindowFixture : public ::testing::Test {
protected:
    struct ArticlePlan {
        const char* title;
        std::vector<int32_t> keywords;
        bool bookmark = false;
        const char* rtf = nullptr;
    };

    // Writes the data file: the keywords get ids 0, 1, ... and the articles likewise, in order.
    void MakeFile(const std::vector<const char*>& keywords, const std::vector<ArticlePlan>& articles)
    {
        m_path = m_folder.File("index.xrd");
        CRecordingHost host;
        CQuorvaneDoc document(host);
        ASSERT_TRUE(document.CreateNewFile(m_path));
        for (const char* name : keywords)
            document.AddKeyword(name, false);
        for (const ArticlePlan& plan : articles) {
            CArticleRecord record;
            record.SetTitle(plan.title);
            record.SetDate(20240101);
            if (plan.rtf)
                record.SetRtfText(plan.rtf);
            CKeywordIdSet ids;
            ids.Copy(plan.keywords);
            record.SetKeywordIds(ids);
            document.AddArticle(record, plan.bookmark, false);
        }
        ASSERT_TRUE(document.SaveModified());  // the bookmarked list is written back here
        document.DeleteContents();
    }

    // The main frame and the view's services (the option store, the settings, the main divider).
    void MakeFrame()
    {
        ASSERT_TRUE(m_main.Create("Index window test", 0));
        m_main.ShowWindow(SW_SHOW);
        MoveWindow(m_main.m_hWnd, 0, 0, 900, 700, TRUE);
        m_settings.ResetSettings();
        m_services.profile = &m_profile;
        m_services.settings = &m_settings;
        m_services.mainDivider = [] { return 200; };
    }

    // Opens the data file into an index window, as the program does, before the frame is shown.
    void OpenUnshown(bool readOnly = false)
    {
        CIndexView::SetServices(m_services);
        m_template = std::make_unique<CDocTemplate>(
            129,
            [this, readOnly] {
                auto document = std::make_unique<CQuorvaneDoc>(m_host);
                document->SetOpenOptions(readOnly, false);
                return std::unique_ptr<CDocument>(document.release());
            },
            [] { return static_cast<CMDIChildWnd*>(new CIndexFrame); },
            [] { return static_cast<CView*>(new CIndexView); });
        ASSERT_NE(m_template->OpenDocumentFile(&m_main, m_path), nullptr);
        m_frame = dynamic_cast<CIndexFrame*>(m_main.MDIGetActive());
        ASSERT_NE(m_frame, nullptr);
        m_view = dynamic_cast<CIndexView*>(m_frame->GetActiveView());
        ASSERT_NE(m_view, nullptr);
    }

    void Open(bool readOnly = false)
    {
        OpenUnshown(readOnly);
        if (!m_view)
            return;
        m_frame->ShowStored();
        PumpMessages();
    }

    // Closes the index window (and with it the document); the main frame stays.
    void Close()
    {
        if (m_frame) {
            m_frame->DestroyWindow();
            m_frame = nullptr;
            m_view = nullptr;
        }
        m_template.reset();
        PumpMessages();
    }

    void TearDown() override
    {
        Close();
        m_main.DestroyWindow();
        CIndexView::SetServices(CIndexViewServices());
    }

    CQuorvaneDoc* Document() const { return dynamic_cast<CQuorvaneDoc*>(m_view->GetDocument()); }
    // Tells the view that the titles' highlight changed, as the list does.
    void TitlesSelectionChanged()
    {
        m_view->SendMessage(WM_COMMAND, MAKEWPARAM(CIndexView::kTitleList, LBN_SELCHANGE),
                            reinterpret_cast<LPARAM>(m_view->TitleList().m_hWnd));
    }

    CTempFolder m_folder;
    std::string m_path;
    CIndexTestHost m_host;
    CMemoryProfileStore m_profile;
    CMemoryProfileStore m_settingsStore;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_settingsStore, m_fonts, m_directories};
    CIndexViewServices m_services;
    CMDIFrameWnd m_main;
    std::unique_ptr<CDocTemplate> m_template;
    CIndexFrame* m_frame = nullptr;
    CIndexView* m_view = nullptr;
};

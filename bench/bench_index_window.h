// The index window of the Windows benchmarks, opened as the program opens it: the program's settings
// (reset to their defaults) and the index view's services over memory option stores, an MDI frame of
// 1000 x 760 pixels at the screen's corner, and the index-window template, whose documents take the
// host given. Open shows a file in a new index window at its stored place.
#pragma once
#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/win_bench_timing.h"
#include "document/quorvane_doc.h"
#include "framework/ui/doc_template.h"
#include "framework/ui/mdi_wnd.h"
#include "index/ui/index_frame.h"
#include "index/ui/index_view.h"
#include "shell/app_settings.h"
#include "shell/memory_profile_store.h"

class CBenchIndexWindow {
public:
    // `services`: what the benchmark adds to the view's services (the option store, the settings and
    // the divider are set here).
    CBenchIndexWindow(CDocHost& host, const char* caption, CIndexViewServices services = CIndexViewServices())
    {
        m_settings.ResetSettings();
        services.profile = &m_profile;
        services.settings = &m_settings;
        services.mainDivider = [] { return 100; };
        CIndexView::SetServices(services);
        m_main.Create(caption, 0);
        m_main.ShowWindow(SW_SHOW);
        MoveWindow(m_main.m_hWnd, 0, 0, 1000, 760, TRUE);
        m_template = std::make_unique<CDocTemplate>(
            129, [&host] { return std::unique_ptr<CDocument>(new CQuorvaneDoc(host)); },
            [] { return static_cast<CMDIChildWnd*>(new CIndexFrame); },
            [] { return static_cast<CView*>(new CIndexView); });
    }
    ~CBenchIndexWindow()
    {
        Close();
        m_template.reset();
        m_main.DestroyWindow();
        CIndexView::SetServices(CIndexViewServices());
    }
    CBenchIndexWindow(const CBenchIndexWindow&) = delete;
    CBenchIndexWindow& operator=(const CBenchIndexWindow&) = delete;

    CAppSettings& Settings() { return m_settings; }
    CMDIFrameWnd& Main() { return m_main; }
    CIndexView& View() { return *m_view; }
    CQuorvaneDoc& Document() { return *dynamic_cast<CQuorvaneDoc*>(m_view->GetDocument()); }

    // Ends the benchmark when the file does not open into an index window.
    void Open(const std::string& path)
    {
        m_template->OpenDocumentFile(&m_main, path);
        m_frame = dynamic_cast<CIndexFrame*>(m_main.MDIGetActive());
        m_view = m_frame ? dynamic_cast<CIndexView*>(m_frame->GetActiveView()) : nullptr;
        if (!m_view) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            std::exit(1);
        }
        m_frame->ShowStored();
    }

    void Close()
    {
        if (m_frame) {
            m_frame->DestroyWindow();
            m_frame = nullptr;
            m_view = nullptr;
        }
        Pump();
    }

private:
    CMemoryProfileStore m_profile;
    CMemoryProfileStore m_settingsStore;
    CFontSettings m_fonts;
    CDirectories m_directories;
    CAppSettings m_settings{m_settingsStore, m_fonts, m_directories};
    CMDIFrameWnd m_main;
    std::unique_ptr<CDocTemplate> m_template;
    CIndexFrame* m_frame = nullptr;
    CIndexView* m_view = nullptr;
};

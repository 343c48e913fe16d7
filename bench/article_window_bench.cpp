// Windows benchmark of the article window (run under Wine:
//   scripts/wine-run build/win64/bin/article_window_bench.exe [--rounds N] [--folder DIR]):
// a generated knowledge base with 10,000 keywords and one article of about 1 MB of RTF (10,000
// paragraphs, 1,000 links), opened through the Windows host in an MDI frame. Medians over the rounds:
// - opening the article's window (CQuorvaneDoc::OpenArticle until the queue is empty) against the
//   content pane's own load of the same text and links;
// - Save Article after a change against GetRtf plus the document's store of the same record;
// - a key typed into the window's content, with the change and selection work and the update rules
//   of the toolbar commands run as the idle loop does, against the same key in the pane alone;
// - Keywords for Article over the 10,000 keywords: from construction until the dialog has painted,
//   and each letter typed into its new-keyword edit (the completion walks the available list).
// The pane alone is a CArticleContent of the size and styles of the window's content (the text wraps
// as it does there: a few pixels narrower can wrap thousands more lines), in a plain window of ours
// that reflects its notifications to it as the view does, so that it keeps its links in step with
// every change.
#include <windows.h>
#include <richedit.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "article/ui/article_doc_host.h"
#include "article/ui/article_frame.h"
#include "article/ui/article_keywords_dlg.h"
#include "article/ui/article_keywords_dlg_res.h"
#include "article/ui/article_view.h"
#include "bench/kb_plan.h"
#include "bench/linked_article.h"
#include "bench/win_bench_timing.h"
#include "document/quorvane_doc.h"
#include "framework/cmd_target.h"
#include "framework/ui/custom_wnd.h"
#include "framework/ui/mdi_wnd.h"
#include "resources/commands.h"
#include "shell/app_settings.h"
#include "shell/directories.h"
#include "shell/font_settings.h"
#include "shell/memory_profile_store.h"
#include "storage/article_record.h"

namespace {

// Elapsed and processor time of a step; the processor time is what the machine's other work does not
// stretch, so the ratios are taken from it.
struct Timed {
    std::vector<double> wall, cpu;
};
class CStopwatch {
public:
    CStopwatch() : m_wall(NowMs()), m_cpu(ThreadCpuMs()) {}
    void Into(Timed& timed, int count = 1) const
    {
        timed.wall.push_back((NowMs() - m_wall) / count);
        timed.cpu.push_back((ThreadCpuMs() - m_cpu) / count);
    }

private:
    double m_wall, m_cpu;
};

// The commands whose state the toolbars pull when the queue goes idle.
const unsigned kToolbarCommands[] = {
    IDM_ARTICLE_SAVE,   IDM_EDIT_CUT,       IDM_EDIT_COPY,         IDM_EDIT_PASTE,       IDM_EDIT_UNDO,
    IDM_EDIT_UNDO_ARTICLE, IDM_ARTICLE_BOOKMARK, IDM_ARTICLE_DELETE, IDM_KEYWORD_CHANGE, IDM_INSERT_LINK,
    IDM_FORMAT_BOLD,    IDM_FORMAT_ITALIC,  IDM_FORMAT_UNDERLINE,  IDM_FORMAT_STRIKEOUT, IDM_ARTICLE_PREVIOUS,
    IDM_ARTICLE_NEXT,   IDM_TOOLS_SPELLING, IDM_ARTICLE_PROPERTIES,
};

void IdleUpdate(CView& target)
{
    for (unsigned id : kToolbarCommands) {
        CCmdUIProbe probe(id);
        target.OnCmdMsg(id, &probe);
    }
}

// Per key, after one key typed first: the first key of a typing group takes the pane's undo snapshot
// (a whole-text stream-out), the rest are the per-key work.
void TypeKeys(HWND edit, int keys, const std::function<void()>& idle, Timed& into)
{
    TypeKeysMs(edit, 1);
    CStopwatch watch;
    TypeKeysMs(edit, keys, idle);
    watch.Into(into, keys);
}

// What the pane alone copies of the window's content: its size and styles.
struct PaneShape {
    int width = 800, height = 560;
    DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL;
};

PaneShape ShapeOf(HWND content)
{
    PaneShape shape;
    RECT rect;
    ::GetWindowRect(content, &rect);
    shape.width = rect.right - rect.left;
    shape.height = rect.bottom - rect.top;
    shape.style = static_cast<DWORD>(::GetWindowLongA(content, GWL_STYLE)) | WS_VISIBLE;
    return shape;
}

// The pane alone in a window of ours, which reflects the pane's change and selection notifications
// to it as the article view does.
class CPaneAlone {
public:
    CPaneAlone(HWND parent, const PaneShape& shape)
    {
        const RECT rect = {0, 0, shape.width, shape.height};
        CCustomWnd::RegisterWindowClass("QuorBenchPaneHost");
        m_host.CreateEx(0, "QuorBenchPaneHost", "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, parent, nullptr);
        m_pane.Create(shape.style & ~WS_CLIPSIBLINGS, rect, m_host.m_hWnd, 1003);
        // Prepared as the window prepares its content before a load.
        m_pane.SendMessage(EM_EXLIMITTEXT, 0, 0xFFFFFF);
        m_pane.ResetDefaultFormat();
    }
    ~CPaneAlone()
    {
        m_pane.DestroyWindow();
        m_host.DestroyWindow();
    }
    CArticleContent& Pane() { return m_pane; }

private:
    CCustomWnd m_host;
    CArticleContent m_pane;
};

// The keywords dialog, timed from construction until it has painted, and one letter at a time.
class CTimedKeywordsDlg : public CArticleKeywordsDlg {
public:
    using CArticleKeywordsDlg::CArticleKeywordsDlg;
    double m_constructed = 0;
    double m_shown = -1;
    std::vector<double> m_letters;
    std::string m_completed;

protected:
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        if (msg == WM_PAINT && m_shown < 0) {
            bool handled = CArticleKeywordsDlg::OnMessage(msg, wParam, lParam, result);
            if (!handled)
                result = DefaultProc(msg, wParam, lParam);
            m_shown = NowMs() - m_constructed;
            ::PostMessageA(m_hWnd, WM_APP, 0, 0);
            return true;
        }
        if (msg == WM_APP) {
            // Let every list paint before typing.
            UpdateWindow();
            HWND edit = ::GetDlgItem(m_hWnd, IDC_KEYWORDS_NEW);
            for (char c : std::string("Keyword 9999")) {
                const double t = NowMs();
                ::SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
                m_letters.push_back(NowMs() - t);
            }
            char text[64] = {};
            ::GetWindowTextA(edit, text, sizeof text);
            m_completed = text;
            ::PostMessageA(m_hWnd, WM_COMMAND, IDCANCEL, 0);
            result = 0;
            return true;
        }
        return CArticleKeywordsDlg::OnMessage(msg, wParam, lParam, result);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const BenchOptions options = ReadBenchOptions(argc, argv, 1000, 5);
    const int rounds = options.rounds;
    const std::string folder = options.folder;
    Plan plan = MakePlan(1000, 10000, Body::kTiny, 1);
    const std::string path = folder + "\\article_window_bench.xrd";
    GenerateDataFile(path, plan);

    CMDIFrameWnd main;
    main.Create("Article window benchmark", 0);
    main.ShowWindow(SW_SHOW);
    MoveWindow(main.m_hWnd, 0, 0, 1000, 760, TRUE);
    CMemoryProfileStore store;
    CFontSettings fonts;
    CDirectories directories;
    CAppSettings settings(store, fonts, directories);
    settings.ResetSettings();
    CArticleDocHost host;
    host.SetArticleFrameOwner(&main);
    CArticleViewServices services;
    services.settings = &settings;
    services.messageBox = [](HWND, const std::string&, UINT) { return IDOK; };
    CArticleView::SetServices(services);
    CArticleKeywordsDlg::SetSettings(&settings);

    std::map<unsigned, std::vector<double>> ruleCost;
    Timed open, paneLoad, save, storeBase, viewKey, paneKey;
    std::vector<double> dialogShown, letters;
    std::string completed;
    {
        CQuorvaneDoc document(host);
        document.SetSettings(&settings);
        document.SetDirectories(&directories);
        host.SetCurrentDocument(&document);
        if (!document.OnOpenDocument(path)) {
            std::fprintf(stderr, "cannot open %s\n", path.c_str());
            return 1;
        }
        LinkedArticle article = MakeLinkedArticle(10000);
        const std::string& rtf = article.rtf;
        const CLinkRangeList& links = article.links;
        CArticleRecord big;
        big.SetTitle("The big article");
        big.SetDate(20240101);
        big.SetRichTextVersion();
        big.SetRtfText(rtf);
        big.SetLinks(links);
        CKeywordIdSet keywords;
        keywords.Add(0);
        big.SetKeywordIds(keywords);
        const int32_t id = document.AddArticle(big, false, false);
        std::printf("article: %.2f MB of RTF, %d links; 10000 keywords\n", static_cast<double>(rtf.size()) / 1e6,
                    links.GetCount());

        // Once untimed: the first window loads what every later one finds loaded.
        document.OpenArticle(id);
        Pump();
        if (CMDIChildWnd* first = main.MDIGetActive()) {
            first->DestroyWindow();
            Pump();
        }

        for (int round = 0; round < rounds; ++round) {
            CStopwatch opening;
            document.OpenArticle(id);
            Pump();
            opening.Into(open);
            auto* frame = dynamic_cast<CArticleFrame*>(main.MDIGetActive());
            CArticleView* view = frame ? frame->GetArticleView() : nullptr;
            if (!view) {
                std::fprintf(stderr, "the article window did not open\n");
                return 1;
            }
            // Windows cascade, so each round's content has its own width.
            const PaneShape shape = ShapeOf(view->Content().m_hWnd);
            view->Content().SetFocus();
            TypeKeys(view->Content().m_hWnd, 100, [&] { IdleUpdate(*view); }, viewKey);
            // What the idle step costs, and its dearest rule.
            for (unsigned command : kToolbarCommands) {
                const double t = NowMs();
                for (int i = 0; i < 20; ++i) {
                    CCmdUIProbe probe(command);
                    view->OnCmdMsg(command, &probe);
                }
                ruleCost[command].push_back((NowMs() - t) / 20);
            }
            CStopwatch saving;
            frame->ExecuteCommand(IDM_ARTICLE_SAVE);
            saving.Into(save);
            if (view->IsModified()) {
                std::fprintf(stderr, "the article was not saved\n");
                return 1;
            }
            frame->DestroyWindow();
            Pump();

            // The pane alone, shaped as that window's content, loading the same text as it does.
            auto alone = std::make_unique<CPaneAlone>(main.GetMDIClient(), shape);
            CArticleContent& pane = alone->Pane();
            CArticleRecord record;
            CStopwatch loading;
            document.LoadArticle(id, record);
            pane.SetWordWrap(record.GetInfo().GetWordWrap() != 0);
            pane.LoadRtfContent(record.GetRtfText(), true, &record.GetLinks());
            Pump();
            loading.Into(paneLoad);
            pane.SetFocus();
            TypeKeys(pane.m_hWnd, 100, nullptr, paneKey);
            // GetRtf plus the document's store: the floor of a save.
            CStopwatch storing;
            std::string out;
            pane.GetRtf(out, false);
            record.SetRtfText(out);
            document.UpdateArticle(id, record, true);
            storing.Into(storeBase);
            alone.reset();
            Pump();

            CTimedKeywordsDlg dialog(document, main.m_hWnd);
            dialog.m_constructed = NowMs();
            dialog.DoModal();
            dialogShown.push_back(dialog.m_shown);
            letters.insert(letters.end(), dialog.m_letters.begin(), dialog.m_letters.end());
            completed = dialog.m_completed;
        }
        document.DeleteContents();
        host.SetCurrentDocument(nullptr);
    }
    // Processor time first (the ratios), elapsed time in brackets.
    auto show = [](const char* what, const Timed& step, const char* baseName, const Timed& base, const char* aim,
                   bool difference) {
        const double cpu = Median(step.cpu), baseCpu = Median(base.cpu);
        std::printf("%s %.2f ms (elapsed %.2f), %s %.2f ms (elapsed %.2f): ", what, cpu, Median(step.wall), baseName,
                    baseCpu, Median(base.wall));
        if (difference)
            std::printf("%+.3f ms", cpu - baseCpu);
        else
            std::printf("%.2fx", baseCpu > 0 ? cpu / baseCpu : 0.0);
        std::printf(" (aim %s)\n", aim);
    };
    show("open window", open, "pane's own load", paneLoad, "1.2x", false);
    show("Save Article", save, "GetRtf + store", storeBase, "1.2x", false);
    show("a key in the window (idle updates run)", viewKey, "in the pane alone", paneKey, "< +1 ms", true);
    double idleTotal = 0, dearest = 0;
    unsigned dearestId = 0;
    for (const auto& rule : ruleCost) {
        const double cost = Median(rule.second);
        idleTotal += cost;
        if (cost > dearest) {
            dearest = cost;
            dearestId = rule.first;
        }
    }
    std::printf("  of which the idle update of %zu toolbar commands %.3f ms (dearest: command %u, %.3f ms)\n",
                ruleCost.size(), idleTotal, dearestId, dearest);
    std::sort(letters.begin(), letters.end());
    std::printf("Keywords for Article, 10000 keywords: shown and painted %.1f ms (aim 500 ms); a letter: median "
                "%.2f ms, max %.2f ms (aim 20 ms); \"Keyword 9999\" typed gives \"%s\"\n",
                Median(dialogShown), Median(letters), letters.empty() ? 0.0 : letters.back(), completed.c_str());
    std::printf("(medians over %d rounds)\n", rounds);
    std::fflush(stdout);
    CArticleView::SetServices(CArticleViewServices());
    CArticleKeywordsDlg::SetSettings(nullptr);
    main.DestroyWindow();
    DeleteFileA(path.c_str());
    return 0;
}

// Windows benchmark (run under Wine: scripts/wine-run build/win64/bin/article_content_bench.exe):
// the article pane against the bare rich-text control on articles of 1, 2 and 4 MB of RTF with
// 10,000, 20,000 and 40,000 paragraphs and one link every ten paragraphs. Loading with links is
// compared with a bare EM_STREAMIN into a hidden control, GetRtf with a bare EM_STREAMOUT, a key in
// the pane with the same key in a bare control; the link upkeep is timed over 10,000 links.
#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "article/link_upkeep.h"
#include "article/ui/article_content.h"
#include "bench/linked_article.h"
#include "bench/win_bench_timing.h"
#include "framework/ui/frame_wnd.h"
#include "framework/ui/rich_edit.h"

namespace {

// Elapsed seconds.
double Now() { return NowMs() / 1e3; }

void Measure(CFrameWnd& frame, int paragraphs)
{
    LinkedArticle article = MakeLinkedArticle(paragraphs);
    const RECT none = {0, 0, 0, 0};
    const RECT visible = {0, 0, 700, 500};

    // The bare control, hidden, as the converters use it.
    HWND bare = CreateRichEdit(HWND_MESSAGE, 0, none, ES_MULTILINE);
    CRichEditHandle(bare).LimitText(0x7FFFFFFE);
    double t = Now();
    double cpu = ThreadCpuMs() / 1000.0;
    RichEditStreamIn(bare, SF_RTF, article.rtf);
    const double bareIn = Now() - t;
    const double bareInCpu = ThreadCpuMs() / 1000.0 - cpu;
    t = Now();
    cpu = ThreadCpuMs() / 1000.0;
    std::string out = RichEditStreamOut(bare, SF_RTF);
    const double bareOut = Now() - t;
    const double bareOutCpu = ThreadCpuMs() / 1000.0 - cpu;
    // Gone before the pane loads, so that both loads find the process as empty.
    DestroyWindow(bare);
    out.clear();
    out.shrink_to_fit();

    // The same stream-in into a visible control of the pane's size, redraw off: the control lays the
    // text out at that width, which the hidden one does not, so this tells the pane's own share apart
    // from the layout.
    HWND sized = CreateRichEdit(frame.m_hWnd, 4, visible, WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL);
    CRichEditHandle(sized).LimitText(0x7FFFFFFE);
    SendMessageA(sized, WM_SETREDRAW, FALSE, 0);
    cpu = ThreadCpuMs() / 1000.0;
    RichEditStreamIn(sized, SF_RTF, article.rtf);
    const double sizedInCpu = ThreadCpuMs() / 1000.0 - cpu;
    DestroyWindow(sized);

    CArticleContent pane;
    pane.Create(WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL, visible, frame.m_hWnd, 1003);
    t = Now();
    cpu = ThreadCpuMs() / 1000.0;
    pane.LoadRtfContent(article.rtf, false);
    const double loadText = Now() - t;
    const double loadTextCpu = ThreadCpuMs() / 1000.0 - cpu;
    pane.SetLinkRanges(article.links);
    Pump();
    const double load = Now() - t;
    const double loadCpu = ThreadCpuMs() / 1000.0 - cpu;
    t = Now();
    cpu = ThreadCpuMs() / 1000.0;
    std::string rtf;
    pane.GetRtf(rtf, false);
    const double getRtf = Now() - t;
    const double getRtfCpu = ThreadCpuMs() / 1000.0 - cpu;

    // Keys: a visible bare control against the pane. The first key of a typing group takes the
    // undo snapshot (a whole-text stream-out); the rest are the pane's per-key work.
    HWND shown = CreateRichEdit(frame.m_hWnd, 2, visible, WS_CHILD | WS_VISIBLE | ES_MULTILINE | WS_VSCROLL);
    CRichEditHandle(shown).LimitText(0x7FFFFFFE);
    RichEditStreamIn(shown, SF_RTF, article.rtf);
    ShowWindow(shown, SW_HIDE);
    ShowWindow(shown, SW_SHOW);
    const double bareKey = TypeKeysMs(shown, 200) / 1e3;
    ShowWindow(shown, SW_HIDE);
    // The first character of a typing group takes the undo snapshot (a whole-text stream-out);
    // the keys after it are the pane's per-key work.
    const double firstKey = TypeKeysMs(pane.m_hWnd, 1) / 1e3;
    const double paneKey = TypeKeysMs(pane.m_hWnd, 200) / 1e3;

    std::printf("%5.2f MB, %6d links: bare stream-in %.3f s, load with links %.3f s (%.2fx; text %.3f s, links %.3f s); "
                "bare stream-out %.3f s, GetRtf %.3f s (%.2fx); key bare %.2f ms, pane %.2f ms (own %.2f ms, first key of a group %.1f ms)\n",
                static_cast<double>(article.rtf.size()) / 1e6, article.links.GetCount(), bareIn, load, load / bareIn, loadText, load - loadText,
                bareOut, getRtf, getRtf / bareOut, bareKey * 1e3, paneKey * 1e3, (paneKey - bareKey) * 1e3, firstKey * 1e3);
    std::printf("%5.2f MB processor time: bare stream-in %.3f s, load with links %.3f s (%.2fx; text %.3f s, links %.3f s); "
                "bare stream-out %.3f s, GetRtf %.3f s (%.2fx); stream-in at the pane's size %.3f s (load %.2fx of it)\n",
                static_cast<double>(article.rtf.size()) / 1e6, bareInCpu, loadCpu, bareInCpu > 0 ? loadCpu / bareInCpu : 0.0,
                loadTextCpu, loadCpu - loadTextCpu, bareOutCpu, getRtfCpu, bareOutCpu > 0 ? getRtfCpu / bareOutCpu : 0.0,
                sizedInCpu, sizedInCpu > 0 ? loadCpu / sizedInCpu : 0.0);
    std::fflush(stdout);
    DestroyWindow(shown);
}

// One keystroke's upkeep over 10,000 links, each kind of edit.
void MeasureUpkeep()
{
    CLinkRangeList links;
    for (int i = 0; i < 10000; ++i) {
        LinkRange link;
        link.start = i * 100;
        link.end = i * 100 + 10;
        link.target = "http://example.org/";
        links.Add(link);
    }
    const int rounds = 1000;
    double t = Now();
    for (int i = 0; i < rounds; ++i) {
        ChangeFacts facts;
        facts.flags = kTypingKeystroke;
        facts.pendingStart = facts.pendingEnd = 50;
        facts.caret = 51;
        facts.lengthDelta = (i % 2) ? -1 : 1;
        KeepLinksInStep(links, facts);
    }
    const double typed = (Now() - t) / rounds;
    t = Now();
    for (int i = 0; i < rounds; ++i) {
        ProtectionRequest request;
        request.request = EditRequest::kOtherKey;
        request.selection = {500050, 500050};
        DecideProtection(links, request);
    }
    const double decided = (Now() - t) / rounds;
    std::printf("10,000 links: upkeep of a typed character %.3f ms, protection decision %.3f ms\n", typed * 1e3,
                decided * 1e3);
}

}  // namespace

// Arguments: the paragraph counts to measure (default 10000 20000 40000).
int main(int argc, char** argv)
{
    CFrameWnd frame;
    frame.Create("Article content benchmark", 0);
    frame.ShowWindow(SW_SHOW);
    MeasureUpkeep();
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty()) sizes = {10000, 20000, 40000};
    for (int paragraphs : sizes)
        if (paragraphs > 0) Measure(frame, paragraphs);
    return 0;
}

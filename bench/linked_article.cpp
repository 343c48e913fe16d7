#include "bench/linked_article.h"

#include <richedit.h>

#include "bench/win_bench_timing.h"

LinkedArticle MakeLinkedArticle(int paragraphs)
{
    LinkedArticle article;
    article.rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red0\\green127\\blue0;}\\f0\\fs20 ";
    int32_t position = 0;
    for (int i = 0; i < paragraphs; ++i) {
        std::string head = "Paragraph " + std::to_string(i) + " holds a line of ordinary text ";
        std::string word = "linked-word-" + std::to_string(i);
        std::string tail = " and a little more text to end it.";
        if (i % 10 == 0) {
            article.rtf += head + "{\\cf1\\ul\\protect " + word + "}" + tail + "\\par\n";
            LinkRange link;
            link.start = position + static_cast<int32_t>(head.size());
            link.end = link.start + static_cast<int32_t>(word.size());
            link.type = 2;
            link.target = "http://example.org/" + std::to_string(i);
            article.links.Add(link);
        } else {
            article.rtf += head + word + tail + "\\par\n";
        }
        position += static_cast<int32_t>(head.size() + word.size() + tail.size()) + 1;
    }
    article.rtf += "}";
    return article;
}

double TypeKeysMs(HWND edit, int keys, const std::function<void()>& idle)
{
    const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    CHARRANGE middle = {static_cast<LONG>(length / 2), static_cast<LONG>(length / 2)};
    SendMessageA(edit, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&middle));
    const double start = NowMs();
    for (int i = 0; i < keys; ++i) {
        SendMessageA(edit, WM_KEYDOWN, 'A', 1);
        SendMessageA(edit, WM_CHAR, 'a' + i % 26, 1);
        SendMessageA(edit, WM_KEYUP, 'A', 0xC0000001);
        Pump();
        if (idle)
            idle();
    }
    return (NowMs() - start) / keys;
}

// Fuzz target: arbitrary bytes searched for links from every start the finder's callers use (the
// whole text, then on after each link found), and taken apart by ExtractLink. Every link must lie
// inside the range searched, the walk must move forward, and a found link must end in a character
// an address may end with (a quoted file address excepted).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/link_finder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const int length = static_cast<int>(size);
    CLinkFinder finder;
    LinkMatch m;
    int pos = 0;
    while (pos < length) {
        const int kind = finder.FindLink(text, pos, length - pos, m);
        if (kind < 0 || kind > CLinkFinder::kQuotedFile)
            std::abort();
        if (kind == 0)
            break;
        if (m.linkStart < pos || m.linkLength <= 0 || m.linkEnd != m.linkStart + m.linkLength ||
            m.linkEnd > length || m.rest != length - m.linkEnd || m.linkOffset != m.linkStart - pos)
            std::abort();
        if (kind != CLinkFinder::kQuotedFile && !CLinkFinder::IsLinkEndChar(text[static_cast<size_t>(m.linkEnd - 1)]))
            std::abort();
        pos = m.linkEnd;
    }
    std::string link;
    int start = -1, len = -1;
    if (finder.ExtractLink(text, link, start, len) != 0 &&
        (start < 0 || len <= 0 || static_cast<size_t>(start + len) > size || link.empty()))
        std::abort();
    finder.ExtractLinkAllowingSpaces(text, link, start, len);
    return 0;
}

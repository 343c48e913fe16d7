// Fuzz target: arbitrary bytes opened as a tip file. Every tip is read, and the Tip of the Day's walk
// over the tips runs a full round from every start; each read tip must hold its links inside its
// text. A crash, a hang, a sanitizer report or an allocation beyond the input's size is a bug.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "shell/tip_file.h"

namespace {

std::string ScratchPath()
{
    static std::string path = [] {
        const char* folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(folder) + "/quor_fuzz_" + std::to_string(getpid()) + ".tod";
    }();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = ScratchPath();
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return 0;
    std::fwrite(data, 1, size, out);
    std::fclose(out);

    CTipFile file;
    if (file.Open(path)) {
        // A count is at most 32767; a damaged file reads at most that many tips each way.
        for (int n = -1; n <= file.GetCount(); ++n) {
            int kind = -1;
            std::vector<TipLink> links;
            std::string text;
            const bool ok = file.ReadTip(n, kind, links, text);
            if (!ok && (kind != 0 || !text.empty() || !links.empty()))
                std::abort();
            if (text.size() > size)
                std::abort();
            for (const TipLink& link : links) {
                if (link.first > link.last || link.last >= text.size() || link.target.size() > size)
                    std::abort();
                ParseHelpNumber(link.target);
            }
            if (ok && file.GetKind(n) != kind)
                std::abort();
        }
        int next = 0;
        std::vector<TipLink> links;
        std::string text;
        for (int round = 0; round < 3 && round < file.GetCount(); ++round)
            ReadNextTip(file, next, links, text);
        if (file.GetCount() > 0 && (next < 0 || next > file.GetCount()))
            std::abort();
    }
    std::remove(path.c_str());
    return 0;
}

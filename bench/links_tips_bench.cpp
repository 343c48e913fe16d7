// The two text scans of the start-up windows that must stay fast on large inputs: finding every
// address in 1 MB of text holding 10,000 of them (the article editor and the importers scan whole
// texts this way), and reading one tip of a Tip of the Day file of 10,000 tips (the dialog reads one
// record per tip shown, never the whole file).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/link_finder.h"
#include "shell/tip_file.h"

namespace {

constexpr int kAddresses = 10000;
constexpr size_t kTextBytes = 1 << 20;

const std::string& TextWithAddresses()
{
    static const std::string text = [] {
        const char* forms[] = {"http://www.example.org/page", "mailto:someone@example.org", "www.example.com/a/b",
                               "ftp://files.example.net/x.zip", "name@example.org"};
        std::string out;
        const std::string filler = "plain words between the addresses, with commas. ";
        size_t perGap = kTextBytes / kAddresses;
        for (int i = 0; i < kAddresses; ++i) {
            out += forms[i % 5];
            out += std::to_string(i);
            out += ' ';
            while (out.size() < (static_cast<size_t>(i) + 1) * perGap)
                out += filler;
            out.resize((static_cast<size_t>(i) + 1) * perGap);
            out.back() = ' ';
        }
        return out;
    }();
    return text;
}

void BM_FindEveryLinkIn1MB(benchmark::State& state)
{
    const std::string& text = TextWithAddresses();
    CLinkFinder finder;
    int found = 0;
    for (auto _ : state) {
        found = 0;
        int start = 0;
        int length = static_cast<int>(text.size());
        LinkMatch match;
        while (length > 0 && finder.FindLink(text, start, length, match) != CLinkFinder::kNone) {
            ++found;
            length -= match.linkEnd - start;
            start = match.linkEnd;
        }
        benchmark::DoNotOptimize(found);
    }
    if (found != kAddresses)
        state.SkipWithError(("found " + std::to_string(found) + " addresses").c_str());
    state.counters["addresses"] = found;
}
BENCHMARK(BM_FindEveryLinkIn1MB)->Unit(benchmark::kMillisecond);

void PutU16(std::string& out, uint16_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void PutU32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A tip file of `count` tips in the layout the build writes: "QVTD", version, count, index offset,
// the index of record offsets, then each record (kind, header length, link count, one help link,
// text length and text with its zero byte).
std::string MakeTipFile(int count)
{
    std::vector<std::string> records;
    for (int i = 0; i < count; ++i) {
        std::string text = "Tip " + std::to_string(i) + ": press F1 for help on the window you are in.";
        std::string target = "257";
        std::string record;
        PutU16(record, 0);
        PutU16(record, static_cast<uint16_t>(6 + 8 + target.size() + 1));
        PutU16(record, 1);
        PutU16(record, 0);
        PutU16(record, 3);
        PutU16(record, 1);
        PutU16(record, static_cast<uint16_t>(target.size() + 1));
        record += target;
        record += '\0';
        PutU32(record, static_cast<uint32_t>(text.size() + 1));
        record += text;
        record += '\0';
        records.push_back(record);
    }
    std::string out = "QVTD";
    PutU16(out, 100);
    PutU16(out, static_cast<uint16_t>(count));
    PutU32(out, 12);
    uint32_t at = 12 + 4 * static_cast<uint32_t>(count);
    for (const std::string& record : records) {
        PutU32(out, at);
        at += static_cast<uint32_t>(record.size());
    }
    for (const std::string& record : records)
        out += record;
    return out;
}

void BM_ReadOneTipOf10000(benchmark::State& state)
{
    constexpr int kTips = 10000;
    std::string path = (std::filesystem::temp_directory_path() / "links_tips_bench.tod").string();
    {
        std::string bytes = MakeTipFile(kTips);
        FILE* file = std::fopen(path.c_str(), "wb");
        if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            state.SkipWithError("cannot write the tip file");
            return;
        }
        std::fclose(file);
    }
    CTipFile tips;
    if (!tips.Open(path) || tips.GetCount() != kTips) {
        state.SkipWithError("cannot open the tip file");
        return;
    }
    int n = 0;
    for (auto _ : state) {
        int kind = 0;
        std::vector<TipLink> links;
        std::string text;
        if (!tips.ReadTip(n, kind, links, text) || links.size() != 1) {
            state.SkipWithError("a tip did not read back");
            break;
        }
        benchmark::DoNotOptimize(text);
        n = (n + 4999) % kTips;  // spread over the file, as Next Tip moves through it
    }
    tips.CloseQuietly();
    std::filesystem::remove(path);
}
BENCHMARK(BM_ReadOneTipOf10000)->Unit(benchmark::kMicrosecond);

}  // namespace

// Fuzz target: arbitrary bytes compacted as a source file, with the questions answered by the
// input's first byte. The run must end with a result or a CQuorError; a crash, a hang, a leak or a
// sanitizer report is a bug. A result must be consistent: every link between articles, keywords
// and groups holds both ways, and the bookmarked and private lists name only live articles.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "document/compactor.h"
#include "document/exchange_host.h"
#include "storage/file_password.h"
#include "storage/quor_error.h"
#include "framework/error_sink.h"
#include "tests/document/link_checker.h"

namespace {

std::string ScratchFolder()
{
    static std::string folder = [] {
        const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        return std::string(base) + "/quor_compact_fuzz_" + std::to_string(getpid());
    }();
    return folder;
}

class CAnsweringHost : public CExchangeHost {
public:
    explicit CAnsweringHost(uint8_t choices) : m_choices(choices) {}
    bool Confirm(const std::string&, Icon) override { return (m_choices & 1) != 0; }
    bool PromptPassword(const std::string&, CFilePassword& password) override { return password.Verify("pw"); }
    bool AskDeleteUnusedKeywords(const std::vector<std::string>&) override { return (m_choices & 2) != 0; }
    bool AskDeleteUnusedGroups(const std::vector<std::string>&) override { return (m_choices & 4) != 0; }
    std::string ChooseDamagedArticleFile(int, const std::string&) override
    {
        return (m_choices & 8) ? ScratchFolder() + "/damaged.xrd" : std::string();
    }
    int32_t GetRtfTextLength(const std::string& rtf) override { return static_cast<int32_t>(rtf.size()); }

private:
    uint8_t m_choices;
};

void Quiet(const std::string&) {}

void CheckResult(const std::string& path)
{
    CDataFile file;
    file.Open(path, true);
    CFilePassword password;
    try {
        password.Load(file);
        if (password.HasPassword())
            password.Verify("pw");
    } catch (const CQuorError&) {
    }
    FileTables tables;
    try {
        tables = ReadFileTables(file);
    } catch (const CQuorError&) {
        // Only records masked under a key no password opens may stay unreadable.
        return;
    }
    std::string problems = CheckTableLinks(tables, true);
    if (!problems.empty()) {
        std::fprintf(stderr, "inconsistent result:\n%s", problems.c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    static bool quiet = (SetErrorSink(&Quiet), true);
    (void)quiet;
    std::string folder = ScratchFolder();
    mkdir(folder.c_str(), 0700);
    std::string source = folder + "/source.xrd", destination = folder + "/result.xrd";
    FILE* out = std::fopen(source.c_str(), "wb");
    if (!out)
        return 0;
    std::fwrite(data + 1, 1, size - 1, out);
    std::fclose(out);
    CAnsweringHost host(data[0]);
    bool compacted = false;
    try {
        CCompactor compactor(host, nullptr);
        compactor.SetPaths(source, destination);
        compactor.SetTargetVersion((data[0] & 16) ? 300 : 400);
        compactor.Compact(false, true, true);
        compacted = true;
    } catch (const CQuorError&) {
    }
    if (compacted) {
        try {
            CheckResult(destination);
        } catch (const CQuorError&) {
            std::fprintf(stderr, "the compacted file does not open\n");
            std::abort();
        }
    }
    std::remove(source.c_str());
    std::remove(destination.c_str());
    std::remove((folder + "/damaged.xrd").c_str());
    return 0;
}

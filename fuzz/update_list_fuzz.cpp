// Fuzz target: arbitrary bytes served as the update list. The check reads them as the network gave
// them, and a second check in the same run must give the same answer without fetching again. An
// answer outside 0..2, a sound answer without a sound version, an address offered that the link
// check refuses, a crash, a hang or a sanitizer report is a bug.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/update_check.h"

namespace {

class BytesFetcher : public IUpdateListFetcher {
public:
    BytesFetcher(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Fetch(const std::string&, size_t maxBytes, const std::atomic<bool>&, std::string& body) override
    {
        ++requests;
        body.assign(reinterpret_cast<const char*>(m_data), m_size < maxBytes ? m_size : maxBytes);
        return true;
    }
    int requests = 0;

private:
    const uint8_t* m_data;
    size_t m_size;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::atomic<bool> notCancelled{false};
    BytesFetcher fetcher(data, size);
    CUpdateCheck check("http://127.0.0.1/update.txt");
    // The first two bytes choose the running version's minor and revision.
    check.SetOwnVersion(size > 0 ? (4u << 16) | data[0] : 4u << 16, size > 1 ? data[1] : 1u);
    const int first = check.Check(fetcher, notCancelled);
    if (first < 0 || first > 2)
        std::abort();
    // A sound answer comes only from a sound version, and its text is built from the four numbers.
    if (first != CUpdateCheck::kNoAnswer &&
        (!check.IsChecked() || check.GetLatestVersionText().empty() || check.GetLatestVersionText().size() > 40))
        std::abort();
    std::string address;
    if (check.GetInfoAddress(address) &&
        (!CUpdateCheck::IsSafeInfoAddress(address) || address.size() > CUpdateCheck::kMaxAddressLength))
        std::abort();
    const int second = check.Check(fetcher, notCancelled);
    if (second != first && first != CUpdateCheck::kNoAnswer)
        std::abort();
    if (first != CUpdateCheck::kNoAnswer && fetcher.requests != 1)
        std::abort();
    return 0;
}

#include "shell/update_check.h"

#include <algorithm>
#include <cstring>

#include "resources/update_check_res.h"
#include "shell/app_startup.h"

namespace {

constexpr uint32_t kDarkGreen = 0x008000;
constexpr uint32_t kDarkRed = 0x000080;

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const char* a, size_t aLength, const std::string& b)
{
    if (aLength != b.size())
        return false;
    for (size_t i = 0; i < aLength; ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

bool StartsWithNoCase(const std::string& text, const char* prefix)
{
    const size_t n = std::strlen(prefix);
    return text.size() >= n && EqualNoCase(text.data(), n, prefix);
}

bool IsHostChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

}  // namespace

const char* const CUpdateCheck::kListAddress = "https://www.harlowen.example/quorvane/update.txt";

CUpdateCheck::CUpdateCheck(std::string listAddress) : m_listAddress(std::move(listAddress)) {}

void CUpdateCheck::SetOwnVersion(uint32_t high, uint32_t low)
{
    m_ownHigh = high;
    m_ownLow = low;
    m_ownVersionKnown = true;
}

int CUpdateCheck::AnswerFromLatest() const
{
    return CompareVersions(m_ownHigh, m_ownLow, m_latestHigh, m_latestLow) > 0 ? kNewer : kNewest;
}

int CUpdateCheck::Check(IUpdateListFetcher& fetcher, const std::atomic<bool>& cancel)
{
    if (!m_ownVersionKnown) {
        m_infoAddress.clear();
        return kNoAnswer;
    }
    if (m_checked)
        return AnswerFromLatest();
    std::string list;
    if (!fetcher.Fetch(m_listAddress, kMaxListBytes, cancel, list) || list.size() > kMaxListBytes) {
        m_latestVersion.clear();
        m_infoAddress.clear();
        return kNoAnswer;
    }
    return ReadList(list);
}

int CUpdateCheck::ReadList(const std::string& list)
{
    m_latestVersion.clear();
    m_infoAddress.clear();
    if (!m_ownVersionKnown || list.size() > kMaxListBytes)
        return kNoAnswer;
    size_t start = 0;
    while (start < list.size()) {
        size_t end = list.find('\n', start);
        if (end == std::string::npos)
            end = list.size();
        size_t lineEnd = end;
        if (end < list.size() && lineEnd > start && list[lineEnd - 1] == '\r')
            --lineEnd;
        // Both TABs are searched inside the line only: a list of long lines without them stays linear.
        const char* line = list.data();
        const char* firstTabAt = std::find(line + start, line + lineEnd, '\t');
        const char* secondTabAt = firstTabAt == line + lineEnd ? firstTabAt : std::find(firstTabAt + 1, line + lineEnd, '\t');
        const size_t firstTab = static_cast<size_t>(firstTabAt - line);
        const size_t secondTab = static_cast<size_t>(secondTabAt - line);
        if (secondTab < lineEnd && EqualNoCase(line + start, firstTab - start, m_productCode)) {
            const std::string version = list.substr(firstTab + 1, secondTab - firstTab - 1);
            uint32_t high = 0, low = 0;
            if (!ParseVersion(version, high, low))
                return kNoAnswer;
            m_latestVersion = version;
            m_infoAddress = list.substr(secondTab + 1, lineEnd - secondTab - 1);
            m_latestHigh = high;
            m_latestLow = low;
            m_checked = true;
            return AnswerFromLatest();
        }
        start = end + 1;
    }
    return kNoAnswer;
}

std::string CUpdateCheck::GetOwnVersionText() const
{
    return MakeProgramVersion(m_ownHigh, m_ownLow).text;
}

std::string CUpdateCheck::GetLatestVersionText() const
{
    return MakeProgramVersion(m_latestHigh, m_latestLow).text;
}

bool CUpdateCheck::GetInfoAddress(std::string& address) const
{
    address = m_infoAddress;
    return !address.empty() && IsSafeInfoAddress(address);
}

bool CUpdateCheck::ParseVersion(const std::string& text, uint32_t& high, uint32_t& low)
{
    uint32_t parts[4] = {};
    size_t at = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (at >= text.size() || text[at] != '.')
                return false;
            ++at;
        }
        const size_t first = at;
        uint32_t value = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - first < 6) {
            value = value * 10 + static_cast<uint32_t>(text[at] - '0');
            ++at;
        }
        if (at == first || value > 0xFFFF || (at < text.size() && text[at] >= '0' && text[at] <= '9'))
            return false;
        parts[i] = value;
    }
    if (at != text.size())
        return false;
    high = parts[0] << 16 | parts[1];
    low = parts[2] << 16 | parts[3];
    return true;
}

int CUpdateCheck::CompareVersions(uint32_t ownHigh, uint32_t ownLow, uint32_t latestHigh, uint32_t latestLow)
{
    const uint32_t own[4] = {ownHigh >> 16, ownHigh & 0xFFFF, ownLow >> 16, ownLow & 0xFFFF};
    const uint32_t latest[4] = {latestHigh >> 16, latestHigh & 0xFFFF, latestLow >> 16, latestLow & 0xFFFF};
    for (int i = 0; i < 4; ++i) {
        if (latest[i] != own[i])
            return latest[i] > own[i] ? 1 : -1;
    }
    return 0;
}

bool CUpdateCheck::IsSafeInfoAddress(const std::string& address)
{
    if (address.size() > kMaxAddressLength)
        return false;
    size_t at = 0;
    if (StartsWithNoCase(address, "http://"))
        at = 7;
    else if (StartsWithNoCase(address, "https://"))
        at = 8;
    else
        return false;
    for (char c : address) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= ' ' || u == 0x7F || c == '"' || c == '\'')
            return false;
    }
    // The host: letters, digits, '-' and '.', then an optional port; then a path, query or nothing.
    const size_t hostStart = at;
    while (at < address.size() && IsHostChar(address[at]))
        ++at;
    if (at == hostStart || address[hostStart] == '.' || address[hostStart] == '-')
        return false;
    if (at < address.size() && address[at] == ':') {
        const size_t portStart = ++at;
        while (at < address.size() && address[at] >= '0' && address[at] <= '9')
            ++at;
        if (at == portStart || at - portStart > 5)
            return false;
    }
    return at == address.size() || address[at] == '/' || address[at] == '?' || address[at] == '#';
}

int CUpdateCheck::DaysForFrequencyIndex(int index)
{
    static const int kDays[4] = {-1, 7, 30, 90};
    return index >= 0 && index < 4 ? kDays[index] : -1;
}

int CUpdateCheck::FrequencyIndexForDays(int days)
{
    if (days <= 0)
        return 0;
    if (days <= 7)
        return 1;
    if (days <= 30)
        return 2;
    return 3;
}

CUpdateCheck::Display CUpdateCheck::DisplayFor(int result)
{
    Display display;
    switch (result) {
    case kNewest:
        display = {0, IDS_UPDATE_MOST_RECENT, kDarkGreen, true, false, true};
        break;
    case kNewer:
        display = {0, IDS_UPDATE_NEWER_AVAILABLE, kDarkRed, true, true, true};
        break;
    case kNoAnswer:
        display = {IDS_UPDATE_UNABLE, IDS_UPDATE_TRY_LATER, kDarkRed, false, false, true};
        break;
    default:
        break;
    }
    return display;
}

// The update check: fetches the update list from the maker's server, finds this product's line and
// compares its version with the program's own. Portable: the network is reached through a fetch seam
// (IUpdateListFetcher), which the window half implements with WinINet and tests implement in memory.
//
// The update list ("update.txt") is untrusted input from the network:
//   - only a 200 answer is read, and only its first kMaxListBytes bytes; a longer list is refused;
//   - lines end at LF; a CR just before the LF is dropped;
//   - a line is: product code, TAB, version, TAB, information address (the rest of the line); a line
//     without two TABs never matches;
//   - the first line whose code equals ours ignoring case is used, the rest are not read;
//   - the version is four decimal numbers 0..65535 separated by dots ("5.18.3.0"); anything else
//     (fewer or more numbers, signs, blanks, a number above 65535) makes the answer "no answer";
//   - versions compare number by number (major first), never by a packed difference, which would
//     call a major of 32768 or more older;
//   - the information address is offered only when it is a plain http:// or https:// address with a
//     host, without blanks, quotes or control characters, of at most kMaxAddressLength characters.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

// How the update list is fetched. Implementations give up (false) on a network error, an answer
// other than 200, a list longer than `maxBytes`, a time-out, or once `cancel` became true.
class IUpdateListFetcher {
public:
    virtual ~IUpdateListFetcher() = default;
    // Fills `body` with the list's bytes (at most `maxBytes`); true on success.
    virtual bool Fetch(const std::string& address, size_t maxBytes, const std::atomic<bool>& cancel,
                       std::string& body) = 0;
};

class CUpdateCheck {
public:
    // Check results.
    enum Result { kNoAnswer = 0, kNewest = 1, kNewer = 2 };

    static constexpr size_t kMaxListBytes = 64 * 1024;
    static constexpr size_t kMaxAddressLength = 2048;
    // The address of the program's update list; nothing the user edits changes it.
    static const char* const kListAddress;

    // `listAddress`: where the list is fetched (tests give a loopback address).
    explicit CUpdateCheck(std::string listAddress = kListAddress);
    virtual ~CUpdateCheck() = default;
    CUpdateCheck(const CUpdateCheck&) = default;
    CUpdateCheck& operator=(const CUpdateCheck&) = default;

    // The program's own version from its version resource: (major << 16) | minor and
    // (build << 16) | revision.
    void SetOwnVersion(uint32_t high, uint32_t low);

    // 0, 1 or 2. Without an own version: 0. Once a matching line was found in this run, the stored
    // answer, without a fetch. Otherwise fetches the list and reads it (ReadList).
    int Check(IUpdateListFetcher& fetcher, const std::atomic<bool>& cancel);
    // Reads a fetched list: the answer for our product's line. Keeps the line's version and address
    // and marks the check done when the line's version is sound; otherwise empties both.
    int ReadList(const std::string& list);

    std::string GetOwnVersionText() const;
    std::string GetLatestVersionText() const;
    // Copies the information address into `address`; true when it is one that may be opened.
    bool GetInfoAddress(std::string& address) const;

    // Parses a.b.c.d into the packed pair; false unless it is four numbers 0..65535.
    static bool ParseVersion(const std::string& text, uint32_t& high, uint32_t& low);
    // Negative, 0 or positive as `latest` is older, the same or newer than `own`; number by number.
    static int CompareVersions(uint32_t ownHigh, uint32_t ownLow, uint32_t latestHigh, uint32_t latestLow);
    // Whether `address` may be handed to the shell (see the file's comment).
    static bool IsSafeInfoAddress(const std::string& address);

    // The frequency choice: combo index 0..3 ("Never", every 7, 30, 90 days) to the stored number of
    // days (-1, 7, 30, 90), and back (at most 0 → 0, 1..7 → 1, 8..30 → 2, above 30 → 3).
    static int DaysForFrequencyIndex(int index);
    static int FrequencyIndexForDays(int days);

    // What the dialog shows for a result: the released-version text (0: the latest version's text)
    // and the status line's string id and colour (0x00BBGGRR); whether the check date is stored and
    // whether "Get update info..." may appear. A result outside 0..2 only empties the status line.
    struct Display {
        int releasedTextId = 0;
        int statusTextId = 0;
        uint32_t statusColor = 0;
        bool storeDate = false;
        bool offerInfo = false;
        bool known = false;
    };
    static Display DisplayFor(int result);

    bool IsChecked() const { return m_checked; }
    const std::string& GetListAddress() const { return m_listAddress; }

private:
    int AnswerFromLatest() const;

    bool m_checked = false;
    bool m_ownVersionKnown = false;
    std::string m_latestVersion;
    std::string m_infoAddress;
    uint32_t m_latestHigh = 0;
    uint32_t m_latestLow = 0;
    std::string m_productCode = "QV";
    uint32_t m_ownHigh = 0;
    uint32_t m_ownLow = 0;
    std::string m_listAddress;
};

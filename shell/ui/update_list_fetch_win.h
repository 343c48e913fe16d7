// The update list over WinINet. What a slow or silent server can cost is bounded on the request
// handle, the one place WinINet honours its time-outs everywhere (on the session handle they are not
// honoured by every implementation, and closing handles from another thread frees no blocked call):
//   - connect: 500 ms per attempt, 2 retries;
//   - send and receive: 2 s each, on the HttpOpenRequest handle;
//   - reads: only what InternetQueryDataAvailable reports, so no read waits for bytes not announced;
//   - the whole fetch: kTotalLimitMs, and the cancel flag, both tested between steps and reads.
// Only a 200 answer is read; a list longer than the limit is refused.
#pragma once
#include <windows.h>

#include "shell/update_check.h"

class CWinInetListFetcher : public IUpdateListFetcher {
public:
    static constexpr DWORD kConnectTimeoutMs = 500;
    static constexpr DWORD kConnectRetries = 2;
    static constexpr DWORD kReceiveTimeoutMs = 2000;
    static constexpr DWORD kTotalLimitMs = 10000;

    bool Fetch(const std::string& address, size_t maxBytes, const std::atomic<bool>& cancel,
               std::string& body) override;
};

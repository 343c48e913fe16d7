#include "shell/ui/update_list_fetch_win.h"

#include <wininet.h>

#include <vector>

namespace {

// Closes a WinINet handle when it goes; InternetCloseHandle accepts each kind of handle.
class CInternetHandle {
public:
    explicit CInternetHandle(HINTERNET handle) : m_handle(handle) {}
    ~CInternetHandle()
    {
        if (m_handle)
            InternetCloseHandle(m_handle);
    }
    CInternetHandle(const CInternetHandle&) = delete;
    CInternetHandle& operator=(const CInternetHandle&) = delete;
    HINTERNET Get() const { return m_handle; }

private:
    HINTERNET m_handle;
};

void SetDword(HINTERNET handle, DWORD option, DWORD value)
{
    InternetSetOptionA(handle, option, &value, sizeof value);
}

}  // namespace

bool CWinInetListFetcher::Fetch(const std::string& address, size_t maxBytes, const std::atomic<bool>& cancel,
                                std::string& body)
{
    body.clear();
    const DWORD started = GetTickCount();
    // Elapsed ticks, so a wrap of the tick count never stretches the limit.
    auto overdue = [&] { return cancel || GetTickCount() - started >= kTotalLimitMs; };

    char host[256] = {};
    std::vector<char> path(address.size() + 1);
    URL_COMPONENTSA parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof host;
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    if (!InternetCrackUrlA(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts))
        return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return false;

    CInternetHandle session(InternetOpenA(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.Get())
        return false;
    SetDword(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    SetDword(session.Get(), INTERNET_OPTION_CONNECT_RETRIES, kConnectRetries);
    CInternetHandle connection(InternetConnectA(session.Get(), host, parts.nPort, nullptr, nullptr,
                                                INTERNET_SERVICE_HTTP, 0, 1));
    if (!connection.Get() || overdue())
        return false;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_UI;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    const char* accept[] = {"text/plain", "*/*", nullptr};
    CInternetHandle request(HttpOpenRequestA(connection.Get(), "GET", path[0] ? path.data() : "/", nullptr,
                                             nullptr, accept, flags, 1));
    if (!request.Get())
        return false;
    SetDword(request.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
    SetDword(request.Get(), INTERNET_OPTION_CONNECT_RETRIES, kConnectRetries);
    SetDword(request.Get(), INTERNET_OPTION_SEND_TIMEOUT, kReceiveTimeoutMs);
    SetDword(request.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
    SetDword(request.Get(), INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
    SetDword(request.Get(), INTERNET_OPTION_DATA_SEND_TIMEOUT, kReceiveTimeoutMs);
    if (overdue() || !HttpSendRequestA(request.Get(), nullptr, 0, nullptr, 0))
        return false;

    DWORD status = 0;
    DWORD size = sizeof status;
    if (!HttpQueryInfoA(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status != 200)
        return false;

    std::vector<char> chunk;
    for (;;) {
        if (overdue())
            return false;
        // Synchronous: TRUE with 0 bytes available is the end of the answer.
        DWORD available = 0;
        if (!InternetQueryDataAvailable(request.Get(), &available, 0, 0))
            return false;
        if (available == 0)
            return true;
        if (body.size() + available > maxBytes)
            return false;
        chunk.resize(available);
        DWORD read = 0;
        if (!InternetReadFile(request.Get(), chunk.data(), available, &read))
            return false;
        if (read == 0)
            return true;
        body.append(chunk.data(), read);
    }
}

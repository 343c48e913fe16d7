#include "framework/error_sink.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#include "framework/string_table.h"
#include "resources/resource.h"
#else
#include <cstdio>
#endif

namespace {

void DefaultSink(const std::string& message)
{
#ifdef _WIN32
    std::string caption = QuorLoadString(IDS_APP_NAME);
    MessageBoxA(GetActiveWindow(), message.c_str(), caption.c_str(), MB_OK | MB_ICONEXCLAMATION);
#else
    std::fprintf(stderr, "%s\n", message.c_str());
#endif
}

ErrorSink g_sink = nullptr;
std::atomic<unsigned> g_shownCount{0};

}  // namespace

ErrorSink SetErrorSink(ErrorSink sink)
{
    ErrorSink previous = g_sink;
    g_sink = sink;
    return previous;
}

void ShowErrorMessage(const std::string& message)
{
    ++g_shownCount;
    (g_sink ? g_sink : DefaultSink)(message);
}

unsigned GetShownErrorCount()
{
    return g_shownCount;
}

#include "framework/callback_exceptions.h"

#include <atomic>
#include <exception>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace {

void DefaultSink(const char* where, const char* what)
{
    std::string note = std::string("Quorvane: an exception was stopped in a ") + where + ": " + what + "\n";
#ifdef _WIN32
    OutputDebugStringA(note.c_str());
#else
    std::fputs(note.c_str(), stderr);
#endif
}

// Worker threads report too, so the slot is read and written atomically.
std::atomic<CallbackExceptionSink> g_sink{nullptr};

}  // namespace

CallbackExceptionSink SetCallbackExceptionSink(CallbackExceptionSink sink)
{
    return g_sink.exchange(sink);
}

void ReportCallbackException(const char* where) noexcept
{
    try {
        std::string what = "an exception of a type that is not a standard exception";
        try {
            throw;
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
        }
        CallbackExceptionSink sink = g_sink.load();
        (sink ? sink : DefaultSink)(where, what.c_str());
    } catch (...) {
        // The sink failed too (out of memory, or it threw): there is nowhere left to report.
    }
}

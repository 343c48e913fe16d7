// Exceptions stopped at a callback boundary: window and dialog procedures, hooks, thread entries,
// OLE callbacks. A C++ exception must not unwind through user32 or Wine frames (the i686 toolchain's
// DWARF-2 unwinder cannot cross them and the program terminates), so every boundary catches
// everything and hands it here. Nothing is swallowed quietly: the installed sink decides what it
// means. The program reports it to the user as its internal error; every test program turns it into
// a failed test.
#pragma once

// Called inside the boundary's catch block, so a sink may `throw;` to look at the exception.
// `where` names the boundary ("window procedure", "worker thread"); `what` describes the exception.
using CallbackExceptionSink = void (*)(const char* where, const char* what);

// Installs `sink` (nullptr restores the default, which only writes a note to the debugger output or
// standard error) and returns the previous one. Install it before the first window or thread starts.
CallbackExceptionSink SetCallbackExceptionSink(CallbackExceptionSink sink);

// Call only inside a catch block: describes the exception being handled and passes it to the sink.
// Never throws; an exception the sink lets out is dropped here.
void ReportCallbackException(const char* where) noexcept;

// Where error messages meant for the user go. The default shows a message box (Windows) or writes to
// standard error (native builds); the application installs a sink that owns the box by its main
// window, and tests install one that records.
#pragma once
#include <string>

using ErrorSink = void (*)(const std::string& message);

// Installs `sink` (nullptr restores the default) and returns the previous one.
ErrorSink SetErrorSink(ErrorSink sink);

void ShowErrorMessage(const std::string& message);

// Messages shown since the program started: an operation that showed one may have stopped half-way.
unsigned GetShownErrorCount();

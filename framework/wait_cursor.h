// The wait cursor as a seam: portable code marks a busy stretch with a CWaitCursor on the stack; the
// window half installs a sink that shows and restores the hourglass, tests install one that counts.
// Without a sink nothing is shown.
#pragma once

// Called with true when the outermost busy stretch begins and with false when it ends.
using WaitCursorSink = void (*)(bool busy);

// Installs `sink` (nullptr: none) and returns the previous one.
WaitCursorSink SetWaitCursorSink(WaitCursorSink sink);

// Shows the wait cursor from construction to destruction; nested instances show it once.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

#include "framework/wait_cursor.h"

namespace {

WaitCursorSink g_sink = nullptr;
// Busy stretches run on the UI thread only, so a plain counter suffices.
int g_depth = 0;

}  // namespace

WaitCursorSink SetWaitCursorSink(WaitCursorSink sink)
{
    WaitCursorSink previous = g_sink;
    g_sink = sink;
    return previous;
}

CWaitCursor::CWaitCursor()
{
    if (g_depth++ == 0 && g_sink)
        g_sink(true);
}

CWaitCursor::~CWaitCursor()
{
    if (--g_depth == 0 && g_sink)
        g_sink(false);
}

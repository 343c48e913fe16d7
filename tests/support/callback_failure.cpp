// Linked into every test program: an exception stopped at a callback boundary fails the test that
// was running (from any thread), instead of going only to the debugger output that no test reads.
#include <gtest/gtest.h>

#include "framework/callback_exceptions.h"

namespace {

void FailTheRunningTest(const char* where, const char* what)
{
    ADD_FAILURE() << "an exception was stopped in a " << where << ": " << what;
}

// Installed before main; the sink slot is constant-initialised, so the order of static
// initialisation does not matter.
const CallbackExceptionSink g_previous = SetCallbackExceptionSink(&FailTheRunningTest);

}  // namespace

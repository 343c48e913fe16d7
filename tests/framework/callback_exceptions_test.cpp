#include "framework/callback_exceptions.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/callback_exceptions.h"

namespace {

// What a callback boundary does: catch everything and report it.
template <class Body>
void Boundary(const char* where, Body body)
{
    try {
        body();
    } catch (...) {
        ReportCallbackException(where);
    }
}

TEST(CallbackExceptions, TheSinkHearsWhereAndWhatForEveryKindOfException)
{
    CExpectedCallbackExceptions expected;
    Boundary("window procedure", [] { throw std::runtime_error("disk gone"); });
    Boundary("worker thread", [] { throw 42; });
    Boundary("drop", [] {});

    auto stopped = expected.Stopped();
    ASSERT_EQ(stopped.size(), 2u);
    EXPECT_EQ(stopped[0].where, "window procedure");
    EXPECT_EQ(stopped[0].what, "disk gone");
    EXPECT_EQ(stopped[1].where, "worker thread");
    EXPECT_EQ(stopped[1].what, "an exception of a type that is not a standard exception");
}

void RethrowingSink(const char*, const char*)
{
    // A sink may look at the exception in flight; what it lets out must not escape the boundary.
    throw;
}

TEST(CallbackExceptions, ASinkThatThrowsDoesNotLetTheExceptionThrough)
{
    CallbackExceptionSink previous = SetCallbackExceptionSink(&RethrowingSink);
    EXPECT_NO_THROW(Boundary("dialog procedure", [] { throw std::logic_error("bad state"); }));
    SetCallbackExceptionSink(previous);
}

TEST(CallbackExceptions, TheGuardPutsBackTheSinkItReplaced)
{
    CallbackExceptionSink installed = SetCallbackExceptionSink(nullptr);
    SetCallbackExceptionSink(installed);
    {
        CExpectedCallbackExceptions expected;
        Boundary("hook", [] { throw std::runtime_error("x"); });
        EXPECT_EQ(expected.Stopped().size(), 1u);
    }
    EXPECT_EQ(SetCallbackExceptionSink(installed), installed);
}

}  // namespace

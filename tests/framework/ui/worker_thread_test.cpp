// Worker threads start suspended and report their result; an exception ends only the thread; the
// user-interface thread hands work over through events.
#include <gtest/gtest.h>
#include <atomic>
#include <stdexcept>

#include "framework/sync.h"
#include "framework/ui/worker_thread.h"
#include "tests/support/callback_exceptions.h"

TEST(WorkerThread, StartsSuspendedAndRunsWhenResumed)
{
    CEvent go(false, false);
    std::atomic<int> steps{0};
    CWorkerThread worker([&]() -> unsigned {
        ++steps;
        go.Wait();
        return 42;
    });
    ASSERT_TRUE(worker.CreateSuspended());
    EXPECT_EQ(steps.load(), 0);
    EXPECT_EQ(worker.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    ASSERT_TRUE(worker.Resume()) << "was suspended";
    EXPECT_FALSE(worker.Wait(0));
    go.Set();
    ASSERT_TRUE(worker.Wait(20000));
    EXPECT_EQ(steps.load(), 1);
    EXPECT_EQ(worker.ExitCode(), 42u);
}

TEST(WorkerThread, AnExceptionEndsOnlyTheThreadAndReachesTheSink)
{
    CExpectedCallbackExceptions expected;
    CWorkerThread worker([]() -> unsigned { throw std::runtime_error("worker failed"); });
    ASSERT_TRUE(worker.CreateSuspended());
    ASSERT_TRUE(worker.Resume());
    ASSERT_TRUE(worker.Wait(20000));
    EXPECT_EQ(worker.ExitCode(), 1u);
    auto stopped = expected.Stopped();
    ASSERT_EQ(stopped.size(), 1u);
    EXPECT_EQ(stopped[0].where, "worker thread");
    EXPECT_EQ(stopped[0].what, "worker failed");
}

TEST(WorkerThread, SharesACriticalSectionWithTheStartingThread)
{
    CCriticalSection section;
    int counter = 0;
    CWorkerThread worker([&]() -> unsigned {
        for (int i = 0; i < 1000; ++i) {
            CLock lock(section);
            ++counter;
        }
        return 0;
    });
    ASSERT_TRUE(worker.CreateSuspended());
    ASSERT_TRUE(worker.Resume());
    for (int i = 0; i < 1000; ++i) {
        CLock lock(section);
        ++counter;
    }
    ASSERT_TRUE(worker.Wait(20000));
    EXPECT_EQ(counter, 2000);
}

TEST(WorkerThread, ADetachedThreadOutlivesItsObject)
{
    auto go = std::make_shared<CEvent>(false, false);
    auto done = std::make_shared<CEvent>(true, false);
    auto result = std::make_shared<std::atomic<int>>(0);
    {
        CWorkerThread worker([go, done, result]() -> unsigned {
            go->Wait();
            *result = 7;
            done->Set();
            return 0;
        });
        ASSERT_TRUE(worker.CreateSuspended());
        ASSERT_TRUE(worker.Resume());
        worker.Detach();
        EXPECT_EQ(worker.Handle(), nullptr);
        EXPECT_FALSE(worker.Wait(0));
    }  // the object goes without waiting; the thread still holds its body
    go->Set();
    ASSERT_TRUE(done->Wait(20000));
    EXPECT_EQ(result->load(), 7);
}

// Events and critical sections, in both builds.
#include "framework/sync.h"

#include <gtest/gtest.h>
#include <thread>

TEST(Sync, EventsLetWaitersThroughAsTheirKindSays)
{
    CEvent autoReset(false, true);
    EXPECT_TRUE(autoReset.Wait(0));
    EXPECT_FALSE(autoReset.Wait(0)) << "an auto-reset event lets one waiter through";
    CEvent manual(true, true);
    EXPECT_TRUE(manual.Wait(0));
    EXPECT_TRUE(manual.Wait(0));
    manual.Reset();
    EXPECT_FALSE(manual.Wait(0));

    // Set by another thread while this one waits without a limit.
    CEvent handOver;
    std::thread setter([&] { handOver.Set(); });
    EXPECT_TRUE(handOver.Wait());
    setter.join();
}

TEST(Sync, ACriticalSectionMayBeEnteredAgainByItsThread)
{
    CCriticalSection section;
    int counter = 0;
    {
        CLock outer(section);
        CLock inner(section);
        ++counter;
    }
    std::thread other([&] {
        for (int i = 0; i < 1000; ++i) {
            CLock lock(section);
            ++counter;
        }
    });
    for (int i = 0; i < 1000; ++i) {
        CLock lock(section);
        ++counter;
    }
    other.join();
    EXPECT_EQ(counter, 2001);
}

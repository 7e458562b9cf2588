// Worker threads and the two timers: when they fire, and that destruction always joins.
#include <memory>

#include <gmock/gmock.h>

#include "app/DelayedEvent.h"
#include "app/PeriodicEvent.h"

namespace {

// A second handle on a timer's own event, to see whether it was set after the timer is gone.
KernelHandle Watch(const Event& event) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), event.Handle(), GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    return KernelHandle(copy);
}

bool Fired(const KernelHandle& watch, DWORD timeoutMs) {
    return WaitForSingleObject(watch.get(), timeoutMs) == WAIT_OBJECT_0;
}

TEST(PeriodicEvent, TicksUntilDestroyedAndNeverAfter) {
    auto tick = std::make_unique<PeriodicEvent>(20);
    KernelHandle watch = Watch(*tick);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Fired(watch, 5000)) << "tick " << i;
    tick.reset();
    WaitForSingleObject(watch.get(), 0);  // take a tick that raced with the destruction
    EXPECT_FALSE(Fired(watch, 300)) << "a tick arrived after the destructor returned";
}

TEST(DelayedEvent, DestructionFiresOnceMoreOnlyWhenArmedAndWaitsForTheSleep) {
    for (bool armed : {false, true}) {
        auto delay = std::make_unique<DelayedEvent>();
        KernelHandle watch = Watch(*delay);
        if (armed) delay->Arm(400);
        Sleep(50);
        const ULONGLONG before = GetTickCount64();
        delay.reset();
        EXPECT_EQ(Fired(watch, 0), armed);
        if (armed) {
            EXPECT_GE(GetTickCount64() - before, 100u) << "the destructor did not wait for the sleep";
        }
    }
}

// Each round ends in one firing; then the thread waits for the next arm.
TEST(DelayedEvent, ArmsDuringTheSleepFireOneMoreTimeNotOnePerArm) {
    DelayedEvent delay;
    KernelHandle watch = Watch(delay);
    delay.Arm(1000);
    Sleep(50);
    delay.Arm(100);  // while sleeping: replaces the delay of the next round
    delay.Arm(100);  // the arm event holds one pending arm only
    EXPECT_TRUE(Fired(watch, 5000)) << "first round";
    EXPECT_TRUE(Fired(watch, 5000)) << "second round";
    EXPECT_FALSE(Fired(watch, 600)) << "a third round";
}

}  // namespace

// Worker threads and the two timers: when they fire, and that destruction always joins.
#include <atomic>
#include <memory>

#include <gmock/gmock.h>

#include "app/DelayedEvent.h"
#include "app/PeriodicEvent.h"
#include "app/WorkerThread.h"

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

class RecordingWorker : public WorkerThread {
public:
    ~RecordingWorker() override { release.Set(); }
    Event release;
    std::atomic<int> priority{-100};
    std::atomic<bool> handleStored{false};

protected:
    void Run() override {
        priority = GetThreadPriority(GetCurrentThread());
        handleStored = IsRunning();
        release.Wait();
    }
};

TEST(WorkerThread, RunsAboveNormalPriorityAndIsMarkedRunningUntilRunReturns) {
    RecordingWorker worker;
    EXPECT_FALSE(worker.IsRunning());
    worker.Start();
    ASSERT_NE(worker.ThreadId(), 0u);
    while (worker.priority == -100) Sleep(1);
    EXPECT_EQ(worker.priority, THREAD_PRIORITY_ABOVE_NORMAL);
    EXPECT_TRUE(worker.handleStored) << "the thread ran before Start had marked it";
    EXPECT_TRUE(worker.IsRunning());
    worker.release.Set();
    worker.Wait();
    EXPECT_FALSE(worker.IsRunning());
}

TEST(PeriodicEvent, TicksUntilDestroyedAndNeverAfter) {
    auto tick = std::make_unique<PeriodicEvent>(20);
    KernelHandle watch = Watch(*tick);
    for (int i = 0; i < 3; ++i) EXPECT_TRUE(Fired(watch, 5000)) << "tick " << i;
    tick.reset();
    WaitForSingleObject(watch.get(), 0);  // take a tick that raced with the destruction
    EXPECT_FALSE(Fired(watch, 300)) << "a tick arrived after the destructor returned";
}

TEST(DelayedEvent, NeverArmedNeverFires) {
    auto delay = std::make_unique<DelayedEvent>();
    KernelHandle watch = Watch(*delay);
    Sleep(50);
    delay.reset();
    EXPECT_FALSE(Fired(watch, 0));
}

TEST(DelayedEvent, FiresOnceADelayAfterEachArm) {
    DelayedEvent delay;
    for (int round = 0; round < 2; ++round) {
        delay.Arm(30);
        EXPECT_TRUE(Fired(Watch(delay), 5000)) << "round " << round;
        EXPECT_FALSE(Fired(Watch(delay), 200)) << "fired twice in round " << round;
    }
}

TEST(DelayedEvent, DestroyedWhileSleepingWaitsForTheSleepAndFiresOnceMore) {
    auto delay = std::make_unique<DelayedEvent>();
    KernelHandle watch = Watch(*delay);
    delay->Arm(400);
    Sleep(50);
    const ULONGLONG before = GetTickCount64();
    delay.reset();
    EXPECT_GE(GetTickCount64() - before, 100u) << "the destructor did not wait for the sleep";
    EXPECT_TRUE(Fired(watch, 0));
}

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

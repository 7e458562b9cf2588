// An event that a thread of its own sets once, a delay after each Arm.
#pragma once

#include <atomic>
#include <cstdint>

#include "Event.h"
#include "WorkerThread.h"

class DelayedEvent : public Event, public WorkerThread {
public:
    DelayedEvent();
    ~DelayedEvent() override;

    void Arm(int32_t delayMs);

protected:
    void Run() override;

private:
    static constexpr int32_t kStop = -1;

    Event arm_;
    std::atomic<int32_t> delay_{0};
};

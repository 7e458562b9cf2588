// An event that a thread of its own sets once every period.
#pragma once

#include <cstdint>

#include "Event.h"
#include "WorkerThread.h"

class PeriodicEvent : public Event, public WorkerThread {
public:
    explicit PeriodicEvent(uint32_t periodMs);
    ~PeriodicEvent() override;

protected:
    void Run() override;

private:
    Event stop_;
    uint32_t period_;
};

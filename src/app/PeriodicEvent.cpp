#include "PeriodicEvent.h"

PeriodicEvent::PeriodicEvent(uint32_t periodMs) : period_(periodMs) { Start(); }

PeriodicEvent::~PeriodicEvent() {
    stop_.Set();
    WorkerThread::Wait();
}

void PeriodicEvent::Run() {
    for (;;) {
        // Only a time-out ticks: a failed wait (no stop event) ends the thread instead of spinning.
        if (WaitForSingleObject(stop_.Handle(), period_) != WAIT_TIMEOUT) return;
        Set();
    }
}

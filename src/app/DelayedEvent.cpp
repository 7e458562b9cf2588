#include "DelayedEvent.h"

DelayedEvent::DelayedEvent() { Start(); }

DelayedEvent::~DelayedEvent() {
    delay_ = kStop;
    arm_.Set();
    WorkerThread::Wait();
}

void DelayedEvent::Arm(int32_t delayMs) {
    delay_ = delayMs;
    arm_.Set();
}

void DelayedEvent::Run() {
    // A failed wait (no arm event) ends the thread rather than firing in a loop.
    if (arm_.Wait() != WAIT_OBJECT_0) return;
    for (int32_t delay = delay_; delay != kStop; delay = delay_) {
        Sleep(static_cast<DWORD>(delay));
        Set();
        if (arm_.Wait() != WAIT_OBJECT_0) return;
    }
}

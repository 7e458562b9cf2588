#include "Event.h"

#include "ce/Kernel.h"

Event::Event() : handle_(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}

void Event::Set() { EventModify(handle_.get(), EVENT_SET); }

DWORD Event::Wait() { return WaitForSingleObject(handle_.get(), INFINITE); }

bool Event::WaitFor(DWORD milliseconds) {
    return WaitForSingleObject(handle_.get(), milliseconds) == WAIT_OBJECT_0;
}

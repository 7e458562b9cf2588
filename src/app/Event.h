// An owned, unnamed, auto-reset event.
#pragma once

#include <windows.h>

#include "ce/Handle.h"

class Event {
public:
    Event();
    virtual ~Event() = default;

    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    HANDLE Handle() const { return handle_.get(); }
    void Set();
    DWORD Wait();
    bool WaitFor(DWORD milliseconds);

private:
    KernelHandle handle_;
};

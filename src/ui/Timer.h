// A window timer whose identifier is the Timer object's own address, so the timer procedure
// finds the object without a table.
#pragma once

#include <windows.h>

#include "Callback.h"

class Timer {
public:
    // Starts the timer on `window` (traced when the platform refuses it).
    Timer(HWND window, UINT periodMs);
    // Stops it: no elapsed call follows.
    virtual ~Timer();

    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    // The elapsed callback with 0.
    virtual void OnElapsed();

    static void CALLBACK StaticTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);

    CallbackSlot elapsedCallback;
    HWND window;
};

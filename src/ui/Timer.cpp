#include "Timer.h"

#include "app/Trace.h"

Timer::Timer(HWND window, UINT periodMs) : window(window) {
    if (SetTimer(window, reinterpret_cast<UINT_PTR>(this), periodMs, StaticTimerProc) == 0) {
        Trace("Failed to create window timer");
    }
}

Timer::~Timer() {
    KillTimer(window, reinterpret_cast<UINT_PTR>(this));
    elapsedCallback.Clear();
}

void Timer::OnElapsed() {
    if (elapsedCallback) elapsedCallback.Invoke(0);
}

void CALLBACK Timer::StaticTimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    if (id != 0) reinterpret_cast<Timer*>(id)->OnElapsed();
}

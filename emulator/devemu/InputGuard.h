// The phone's input as its shell sees it first: taps and key presses are swallowed while the
// panel or the keys are locked, and F1/F2 press the soft keys of the window in front. Low-level
// hooks of the shell process, so the programs themselves carry no hook.
#pragma once

#include <windows.h>

namespace devemu {

class InputGuard {
public:
    // Installs the hooks for the calling thread, which must pump messages while they are in.
    InputGuard();
    ~InputGuard();
    InputGuard(const InputGuard&) = delete;
    InputGuard& operator=(const InputGuard&) = delete;

    bool Installed() const { return mouse_ && keyboard_; }

private:
    static LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM info);
    static LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM info);

    HHOOK mouse_ = nullptr;
    HHOOK keyboard_ = nullptr;
};

// What is locked now: the panel while the touch library's window says so or the input lock is on;
// the keys while the input lock is on.
struct Locks {
    bool panel;
    bool keys;
};
Locks CurrentLocks();

}  // namespace devemu

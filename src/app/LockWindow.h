// The phone's lock state and the hidden window that the touch library withholds the stylus for.
#pragma once

#include <cstdint>

#include <windows.h>

#include "ce/Handle.h"
#include "ce/Touch.h"

class SettingsWindow;

enum LockState : uint32_t {
    LOCKED_ALL = 0,    // keys and touch panel
    LOCKED_PANEL = 1,  // touch panel only
    UNLOCKED = 2,
};

class LockWindow {
public:
    // Reads TranscriberCompatibility once, here; a later change needs a restart. The state
    // starts UNLOCKED, and so does the device: keys and panel are freed here, whatever an
    // earlier instance that ended without unlocking left.
    explicit LockWindow(SettingsWindow& settings);
    virtual ~LockWindow();

    LockWindow(const LockWindow&) = delete;
    LockWindow& operator=(const LockWindow&) = delete;

    // Loads touch.dll and registers the window with it, unless it is loaded already.
    void RegisterTouch();
    // Frees the panel, unregisters the window and unloads touch.dll.
    void UnregisterTouch();

    LockState GetState() const { return state; }
    // The touch panel alone, through the window word: 1 withholds the stylus, 2 delivers it.
    void SetPanelLock(bool on);
    // One IOCTL_INPUT_LOCK request: 0 locks the keys and the panel, 1 frees them.
    void SendInputLock(uint32_t enable);
    // Drives both mechanisms into `wanted` and returns whether the state changed.
    bool SetState(LockState wanted);

    HWND Window() const { return window; }
    bool TranscriberMode() const { return transcriberMode; }

private:
    Module touchLibrary;
    TouchWindowEntry registerEntry = nullptr;
    TouchWindowEntry unregisterEntry = nullptr;
    HWND window = nullptr;
    LockState state = UNLOCKED;
    SettingsWindow* settings;
    bool transcriberMode = false;
};

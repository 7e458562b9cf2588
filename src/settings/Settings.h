// All user options and the two gestures: one record, read by every part that acts.
#pragma once

#include <cstdint>

#include "gesture/Gesture.h"

// What to do when the phone wakes; also the values of GestureLock (0, 1 and 2).
enum ResumeAction : uint32_t {
    DoNothing = 0,
    LockEverything = 1,
    LockPanel = 2,
    UnlockPhone = 3,
};

struct Settings {
    uint32_t ResumeBehaviour;
    uint32_t ResumeCallBehaviour;
    bool UnlockOnAC;
    bool RelockOnBattery;
    bool GesturesToggleLock;
    uint32_t GestureLock;
    bool DisableGesturesOnAC;
    bool DisableGesturesWhenUpright;
    bool Vibrate;
    bool Beep;
    bool VibrateIfDifferent;
    bool UnlockOnStylus;
    bool RelockOnStylus;
    bool TranscriberCompatibility;
    bool UnlockWhenCallEnds;
    bool UnlockWhenCallConnected;
    Gesture LockGesture;
    Gesture UnlockGesture;
    bool ShowIcon;
};

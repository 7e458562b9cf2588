// The command word that other processes send with WM_APP_LOCK_COMMAND, taken apart. Plain values
// only, so the decoding is tested without a device.
#pragma once

#include <cstdint>

enum LockCommandAction : uint32_t {
    CMD_UNLOCK = 0,
    CMD_LOCK_PANEL = 1,
    CMD_LOCK_ALL = 2,       // also what 5, 6 and 7 mean
    CMD_RESUME_ACTION = 3,  // carry out ResumeBehaviour
    CMD_GESTURE_LOCK = 4,   // carry out GestureLock
};

// One kind of feedback after the action: none, as the settings say, or always.
struct FeedbackRequest {
    bool wanted = false;
    bool force = false;  // play whatever the settings say
};

struct LockCommand {
    LockCommandAction action = CMD_UNLOCK;
    bool isLock = false;  // every action but CMD_UNLOCK, CMD_RESUME_ACTION too
    FeedbackRequest vibrate;
    FeedbackRequest beep;
};

// Bits 0-2 the action, 12-13 the beep, 14-15 the vibration; a feedback field of 1 defers to
// the settings, 2 and 3 force it. The other bits are ignored.
LockCommand DecodeLockCommand(uint32_t word);

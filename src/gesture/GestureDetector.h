// Gesture detection: one step per gesture tick on the tilt sensor's reading, reporting completed
// lock and unlock gestures to a receiver (the lock controller). Plain values only, no platform.
#pragma once

#include <cstdint>

#include "GestureMatcher.h"
#include "settings/Settings.h"

// Who hears of a completed gesture: lock is true for the lock gesture, false for the unlock one.
class GestureReceiver {
public:
    virtual void OnGesture(bool lock) = 0;

protected:
    ~GestureReceiver() = default;
};

constexpr int32_t kNoPreviousAngle = -1000;

// The detector's state, kept between ticks by its owner.
struct GestureDetector {
    int32_t previousAngle = kNoPreviousAngle;
    GestureMatcher lockMatcher;
    GestureMatcher unlockMatcher;

    // As at the start of the controller: no reading yet, both matchers idle.
    void Reset() { *this = GestureDetector{}; }
    void ResetMatchers() {
        lockMatcher.Reset();
        unlockMatcher.Reset();
    }
};

// Whether the lock gesture has anything to do: it locks, or either gesture toggles the lock.
constexpr bool FollowsLockGesture(const Settings& s) { return s.GestureLock != 0 || s.GesturesToggleLock; }

// One detector tick on a reading: the change of the rotation goes to both matchers. The settings
// are read in place on every tick, so a change to them applies at the next one.
void DetectGestures(GestureDetector& detector, const Settings& current, uint32_t tilt, int32_t rotation,
                    GestureReceiver& receiver);

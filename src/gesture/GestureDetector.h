// Gesture detection: one step per gesture tick, fed by the tilt sensor, reporting completed
// lock and unlock gestures to a receiver (the lock controller).
#pragma once

#include <cstdint>

#include "GestureMatcher.h"
#include "TiltSensor.h"
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

// One detector tick: reads the sensor and feeds the change of the rotation to both matchers.
// The settings are read in place on every tick, so a change to them applies at the next one.
void DetectGestures(GestureDetector& detector, const Settings& current, GestureReceiver& receiver);

// The same tick on a reading already taken.
void DetectGestures(GestureDetector& detector, const Settings& current, const TiltReading& reading,
                    GestureReceiver& receiver);

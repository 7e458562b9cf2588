// Following one gesture through the rotation angle, tick by tick; and the angle arithmetic that
// gesture detection is made of. Plain values only, no platform.
#pragma once

#include <cstdint>

#include "Gesture.h"

// A step must be reached within this many counted ticks; the next one abandons the attempt.
constexpr int32_t kStepTimeoutTicks = 7;

// A reading brought into 0..359. A broken sensor library may deliver any 32-bit value; taken
// into range first, no sum or difference of angles can overflow.
constexpr int32_t NormalizeAngle(int32_t angle) {
    const int32_t a = angle % 360;
    return a < 0 ? a + 360 : a;
}

// Face up: rotation below 45 or above 314 (a negative angle counts too).
constexpr bool IsFaceUp(int32_t angle) { return static_cast<uint32_t>(angle) - 45u > 269u; }

// Upright: tilt 60..120 or 240..300, bounds included, compared unsigned.
constexpr bool IsUpright(uint32_t tilt) {
    return (tilt >= 60 && tilt <= 120) || (tilt >= 240 && tilt <= 300);
}

// Where an attempt starts counting from: the angle brought into -179..180, so that a phone held
// at 315 is already 45 degrees into a turn towards smaller angles.
constexpr int32_t StartAngle(int32_t angle) { return angle > 180 ? angle - 360 : angle; }

// How far the rotation moved between two readings, the short way: -180..180.
constexpr int32_t AngleChange(int32_t previous, int32_t current) {
    // Wrapping subtraction: readings are 0..359, but a wild value must not overflow.
    int32_t change = static_cast<int32_t>(static_cast<uint32_t>(current) - static_cast<uint32_t>(previous));
    if (change > 180) change -= 360;
    else if (change < -180) change += 360;
    return change;
}

// The progress of one gesture. Idle (step -1) until the phone lies face up, then one step at a
// time, each within kStepTimeoutTicks ticks.
struct GestureMatcher {
    int32_t accumulated = 0;  // degrees turned towards the current step, overshoot included
    int32_t step = -1;        // index of the step being performed; -1 idle
    int32_t ticks = 0;        // ticks counted since the current step began

    void Reset() { *this = GestureMatcher{}; }
    bool IsIdle() const { return step < 0; }

    // True when the current step is reached, or the gesture is complete.
    bool IsStepReached(const Gesture& gesture) const;

    // Feeds one tick: the change of the rotation since the previous tick and the rotation now.
    // True when the gesture completed on this tick; the matcher is idle again then.
    bool Advance(const Gesture& gesture, int32_t change, int32_t angle);
};

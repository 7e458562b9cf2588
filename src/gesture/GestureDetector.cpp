#include "GestureDetector.h"

#include "app/Trace.h"

void DetectGestures(GestureDetector& detector, const Settings& current, uint32_t tilt, int32_t rotation,
                    GestureReceiver& receiver) {
    const int32_t angle = NormalizeAngle(rotation);
    const bool enabled = !(current.DisableGesturesWhenUpright && IsUpright(tilt));
    // The first tick compares the reading with itself: no movement.
    if (detector.previousAngle == kNoPreviousAngle) detector.previousAngle = angle;
    const int32_t change = AngleChange(detector.previousAngle, angle);
    Trace("Angles: prev = %d, this = %d, delta = %d\n", detector.previousAngle, angle, change);
    detector.previousAngle = angle;

    if (!enabled) {
        Trace("Gesture detection disabled\n");
        detector.ResetMatchers();
        return;
    }
    // A lock gesture with nothing to do is not followed: completing, it would reset the unlock
    // gesture's progress, and an unlock gesture that begins with it could never complete.
    if (!FollowsLockGesture(current)) {
        detector.lockMatcher.Reset();
    } else if (detector.lockMatcher.Advance(current.LockGesture, change, angle)) {
        receiver.OnGesture(true);
        detector.ResetMatchers();
    }
    // Runs even when the lock gesture just completed; the unlock matcher then starts from idle.
    if (detector.unlockMatcher.Advance(current.UnlockGesture, change, angle)) {
        receiver.OnGesture(false);
        detector.ResetMatchers();
    }
}

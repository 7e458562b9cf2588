#include "GestureMatcher.h"

namespace {

// A gesture ends at its first 0, or after the last of its 32 entries if it has none.
int32_t StepValue(const Gesture& gesture, int32_t step) {
    return step < kGestureEntries ? gesture.steps[step] : 0;
}

}  // namespace

bool GestureMatcher::IsStepReached(const Gesture& gesture) const {
    if (IsIdle()) return false;
    const int32_t target = StepValue(gesture, step);
    if (target == 0) return true;
    return target < 0 ? accumulated <= target : accumulated >= target;
}

bool GestureMatcher::Advance(const Gesture& gesture, int32_t change, int32_t angle) {
    const bool faceUp = IsFaceUp(angle);
    if (IsIdle()) {
        if (!faceUp) return false;
        // The start: this tick's change happened before the attempt and does not count.
        step = 0;
        accumulated = StartAngle(angle);
        ticks = 0;
    } else {
        // The user may hold the phone face up as long as they like before the first turn.
        if (!(step == 0 && faceUp)) {
            if (ticks >= kStepTimeoutTicks) {
                Reset();
                return false;
            }
            ++ticks;
        }
        accumulated += change;
    }
    // Overshoot carries over, so one quick tick can pass several steps.
    while (IsStepReached(gesture)) {
        const int32_t passed = StepValue(gesture, step);
        if (passed == 0) {
            Reset();
            return true;
        }
        accumulated -= passed;
        ++step;
        ticks = 0;
    }
    return false;
}

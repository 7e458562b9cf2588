#include "GesturePlayback.h"

#include <algorithm>

namespace {

// pi/360 as the phone computes it; doubled below, it turns degrees into radians.
constexpr float kHalfDegree = 0.008726646f;

// A gesture without its terminating 0 ends after its last entry: nothing is read beyond it.
int32_t EntryAt(const Gesture& gesture, int32_t index) {
    return index < kGestureEntries ? gesture.steps[index] : 0;
}

}  // namespace

void GesturePlayback::Start(const Gesture& gesture) {
    target = gesture.steps[0];
    displayedAngle = 0;
    step = 0;
    progress = 0;
    playing = true;
}

std::optional<float> GesturePlayback::Advance(const Gesture& gesture) {
    if (!playing) return std::nullopt;
    if (target == 0) {
        playing = false;  // a gesture without steps: nothing moves
        return ViewAngleOf(displayedAngle);
    }
    // The view always moves the full 9 degrees; only the progress stops at the step's end.
    if (progress > target) {
        displayedAngle -= kPlaybackDegreesPerTick;
        progress = std::max(progress - kPlaybackDegreesPerTick, target);
    } else {
        displayedAngle += kPlaybackDegreesPerTick;
        progress = std::min(progress + kPlaybackDegreesPerTick, target);
    }
    if (progress == target) {
        progress = 0;
        target = EntryAt(gesture, ++step);
        if (target == 0) playing = false;
    }
    return ViewAngleOf(displayedAngle);
}

float ViewAngleOf(int32_t degrees) { return -2.0f * static_cast<float>(degrees) * kHalfDegree; }

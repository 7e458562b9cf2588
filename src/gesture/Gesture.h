// A gesture: up to 31 signed turns of the rotation angle, in degrees, ended by the first 0.
#pragma once

#include <cstdint>

constexpr int kGestureEntries = 32;
constexpr int kMaxGestureSteps = kGestureEntries - 1;

struct Gesture {
    int32_t steps[kGestureEntries];
};
static_assert(sizeof(Gesture) == 128);

// A gesture whose first entry is 0 has no steps: it would complete whenever the phone lies face
// up, so none is ever put in force.
constexpr bool HasSteps(const Gesture& gesture) { return gesture.steps[0] != 0; }

// One turn of 315 degrees towards smaller angles, and the same towards larger ones.
constexpr Gesture kDefaultLockGesture{{-90, -90, -90, -45}};
constexpr Gesture kDefaultUnlockGesture{{90, 90, 90, 45}};

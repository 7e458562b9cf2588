// The playback of a gesture on the editor's view: 9 degrees per tick of the editor's timer, one
// step after the other, so the user sees how far each step must turn. Plain values only.
#pragma once

#include <cstdint>
#include <optional>

#include "Gesture.h"

constexpr int32_t kPlaybackDegreesPerTick = 9;

struct GesturePlayback {
    bool playing = false;
    int32_t displayedAngle = 0;  // degrees the view shows
    int32_t step = 0;            // index of the step being played
    int32_t progress = 0;        // degrees played of that step
    int32_t target = 0;          // that step's value

    // From the first step, with the view at rest.
    void Start(const Gesture& gesture);

    // One tick. While playing, including the tick that ends the playback, the angle the view is
    // to show, in radians; nullopt on the ticks after.
    std::optional<float> Advance(const Gesture& gesture);
};

// A displayed angle in degrees as the view's angle: radians, turned the other way.
float ViewAngleOf(int32_t degrees);

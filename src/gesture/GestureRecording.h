// The recorded path of a gesture being recorded, and its simplification into gesture steps.
// Plain values only; the editor drives it from its timer and its record buttons.
#pragma once

#include <cstdint>
#include <span>

#include "Gesture.h"

constexpr int32_t kMaxRecordedPoints = 128;
constexpr int32_t kNoMultipleOf45 = -1;

// The smallest multiple of 45 (0..315) that the rotation passed on its way from `previous` to
// `angle`, taken the short way across 0 when the two are half a turn or more apart;
// kNoMultipleOf45 when it passed none.
int32_t PassedMultipleOf45(int32_t previous, int32_t angle);

// The multiples of 45 the phone passed through, one per sample at most, no two neighbours equal.
struct GestureRecording {
    bool recording = false;
    int32_t previousAngle = 0;
    int32_t lastPoint = 0;  // index of the last recorded point
    int32_t points[kMaxRecordedPoints] = {};

    // The path always starts at 0, the phone face up, whatever it is doing now.
    void Start() {
        previousAngle = 0;
        lastPoint = 0;
        points[0] = 0;
        recording = true;
    }
    void Stop() { recording = false; }

    // Whether a sample would be taken: recording, and room for another point.
    bool WantsSample() const { return recording && lastPoint < kMaxRecordedPoints - 1; }

    // One sample of the rotation angle; does nothing unless WantsSample().
    void Sample(int32_t angle);

    std::span<const int32_t> Points() const {
        return {points, static_cast<size_t>(lastPoint) + 1};
    }
};

// How far a gesture turns in all, whichever way each step goes.
int64_t TurnedInAll(const Gesture& gesture);

// A recorded gesture that turns less than this in all is easily performed by accident.
constexpr int64_t kShortestSafeTurn = 180;

// Turns a path of multiples of 45 into gesture steps: each run of turning one way becomes as
// many steps of 90 as fit and then one of 45 for what is left; at most 31 steps, then the 0.
Gesture Simplify(std::span<const int32_t> points);

// A gesture played on the view, tick by tick. Plain logic: this file is also built natively
// under the sanitizers, so it must not include <windows.h>.
#include <vector>

#include <gmock/gmock.h>

#include "gesture/GesturePlayback.h"

namespace {

using Angles = std::vector<int32_t>;

// The displayed angle after each tick until the playback is over.
Angles Played(const Gesture& gesture) {
    GesturePlayback playback;
    playback.Start(gesture);
    Angles shown;
    while (const auto angle = playback.Advance(gesture)) {
        EXPECT_EQ(*angle, ViewAngleOf(playback.displayedAngle));
        shown.push_back(playback.displayedAngle);
        if (shown.size() > 1000) break;
    }
    return shown;
}

TEST(GesturePlayback, TurnsNineDegreesATickStepAfterStep) {
    EXPECT_EQ(Played({{-45, 90}}), (Angles{-9, -18, -27, -36, -45, -36, -27, -18, -9, 0, 9, 18, 27, 36, 45}));
    // A step that is no multiple of 9: the view overshoots it, the next step starts from its end.
    EXPECT_EQ(Played({{10, -10}}), (Angles{9, 18, 9, 0}));
    EXPECT_EQ(Played({{0}}), (Angles{0})) << "no steps: over on the first tick, unmoved";
    Gesture unterminated{};
    for (int32_t& step : unterminated.steps) step = 9;
    EXPECT_EQ(Played(unterminated).size(), size_t{kGestureEntries}) << "ends after its last entry";
    EXPECT_FLOAT_EQ(ViewAngleOf(90), -1.5707963f) << "radians, turned the other way";
}

}  // namespace

// The angle arithmetic and one matcher following a gesture tick by tick. Plain logic: this file
// is also built natively under the sanitizers, so it must not include <windows.h>.
#include <vector>

#include <gmock/gmock.h>

#include "gesture/GestureMatcher.h"

namespace {

TEST(GestureAngles, ChangeStartAndBounds) {
    // The change the short way, a half turn keeping its sign; the start brought into -179..180.
    const int32_t changes[][3] = {{350, 10, 20}, {10, 350, -20}, {0, 180, 180}, {180, 0, -180},
                                  {0, 181, -179}, {181, 0, 179}, {359, 0, 1}, {45, 270, -135}};
    for (auto [previous, current, change] : changes) {
        EXPECT_EQ(AngleChange(previous, current), change) << previous << " -> " << current;
    }
    const int32_t starts[][2] = {{44, 44}, {180, 180}, {181, -179}, {315, -45}, {359, -1}};
    for (auto [angle, start] : starts) EXPECT_EQ(StartAngle(angle), start) << angle;

    for (int32_t angle : {0, 44, 315, 359, -1, -400}) EXPECT_TRUE(IsFaceUp(angle)) << angle;
    for (int32_t angle : {45, 90, 180, 314}) EXPECT_FALSE(IsFaceUp(angle)) << angle;
    for (uint32_t tilt : {60u, 120u, 240u, 300u}) EXPECT_TRUE(IsUpright(tilt)) << tilt;
    for (uint32_t tilt : {0u, 59u, 121u, 180u, 239u, 301u, 0xFFFFFFC4u}) EXPECT_FALSE(IsUpright(tilt)) << tilt;
}

TEST(GestureMatcher, FollowsTheRotationTickByTick) {
    // Each case feeds the rotation of successive ticks, as the detector does (the first tick's
    // change is 0), and lists the ticks on which the gesture completed.
    Gesture full{};
    for (int32_t& step : full.steps) step = 1;
    const struct {
        const char* what;
        Gesture gesture;
        std::vector<int32_t> angles;
        std::vector<int> completed;
    } cases[] = {
        {"idle until face up; the starting tick's change does not count", Gesture{{90}}, {180, 90, 30, 90}, {3}},
        {"a start at 315 has already turned 45 towards smaller angles", Gesture{{-45, -90}}, {90, 315, 225}, {2}},
        {"the first step is untimed face up, then has seven ticks", Gesture{{90}},
         {0, 10, 30, 10, 350, 330, 350, 10, 20, 45, 50, 55, 60, 65, 70, 90},
         {15}},
        {"the eighth tick abandons before it adds", Gesture{{90}}, {0, 45, 50, 55, 60, 65, 70, 75, 180}, {}},
        {"a later step is timed face up too", Gesture{{-45, -90}}, {315, 315, 315, 315, 315, 315, 315, 315, 225}, {}},
        {"reaching a step restarts the count", Gesture{{90, 90, 90}},
         {0, 15, 30, 45, 60, 75, 90, 105, 120, 135, 150, 165, 180, 195, 210, 225, 240, 255, 270},
         {18}},
        {"one tick passes several steps", Gesture{{45, 45, 45}}, {0, 135}, {1}},
        {"overshoot carries over to the next step", Gesture{{90, -90}}, {0, 120, 90, 60, 30, 1, 0}, {6}},
        {"no steps: complete on each face-up tick", Gesture{}, {90, 180, 320, 0}, {2, 3}},
        {"32 steps without a 0 end after the last", full, {0, 31, 32}, {2}},
    };
    for (const auto& c : cases) {
        GestureMatcher m;
        std::vector<int> completed;
        int32_t previous = c.angles.front();
        for (size_t tick = 0; tick < c.angles.size(); ++tick) {
            if (m.Advance(c.gesture, AngleChange(previous, c.angles[tick]), c.angles[tick])) completed.push_back(tick);
            previous = c.angles[tick];
        }
        EXPECT_EQ(completed, c.completed) << c.what;
    }
}

}  // namespace

// The recorder's choice of points, their simplification into steps, and a gesture played back on
// the view. Plain logic: this file is also built natively under the sanitizers, so it must not
// include <windows.h>.
#include <initializer_list>
#include <vector>

#include <gmock/gmock.h>

#include "gesture/GesturePlayback.h"
#include "gesture/GestureRecording.h"

namespace {

using testing::ElementsAre;
using Angles = std::vector<int32_t>;

Angles Steps(const Gesture& g) {
    Angles steps;
    for (int i = 0; i < kGestureEntries && g.steps[i] != 0; ++i) steps.push_back(g.steps[i]);
    return steps;
}

Angles Recorded(std::initializer_list<int32_t> samples) {
    GestureRecording r;
    r.Start();
    for (int32_t a : samples) r.Sample(a);
    return Angles(r.Points().begin(), r.Points().end());
}

TEST(GestureRecording, APointIsTheSmallestMultipleOf45PassedTheShortWay) {
    const int32_t cases[][3] = {
        {10, 100, 45},    // several passed: only the smallest
        {100, 10, 45},    // whichever the direction
        {350, 10, 0},     // across 0 upwards
        {10, 350, 0},     // and downwards
        {300, 100, 0},    // more than half a turn apart: the short way, across 0
        {90, 270, 0},     // exactly half a turn: across 0 as well, not 90
        {180, 359, 180},
        {90, 90, 90},     // standing on a multiple counts
        {46, 89, kNoMultipleOf45},
        {316, 359, kNoMultipleOf45},
    };
    for (auto [previous, angle, point] : cases) {
        EXPECT_EQ(PassedMultipleOf45(previous, angle), point) << previous << " -> " << angle;
    }
}

TEST(GestureRecording, ThePathStartsFaceUpAndKeepsNoTwoEqualNeighbours) {
    // Held at 90 from the start: the first sample passes only 0, already recorded; the second stands on 90.
    EXPECT_THAT(Recorded({90, 90, 100}), ElementsAre(0, 90));
    // Across 0 both ways, with pauses; 50 to 10 passes 45 again but not 0.
    EXPECT_THAT(Recorded({30, 50, 50, 10, 350, 300, 320, 10}), ElementsAre(0, 45, 0, 315, 0));

    GestureRecording r;
    r.Start();
    r.Sample(90);
    r.Sample(90);
    r.Stop();
    r.Sample(180);
    EXPECT_EQ(r.lastPoint, 1) << "sampled after the stop";
    r.Start();
    r.Sample(100);
    EXPECT_EQ(r.lastPoint, 0) << "a new recording starts from 0, so 100 passes only 0";
}

TEST(GestureRecording, At128PointsSamplingStopsAndSimplifyWritesAtMost31Steps) {
    // Each sweep passes one multiple, the other way each time: 0, 45, 0, 45, ...
    GestureRecording zigzag;
    zigzag.Start();
    const int32_t pattern[] = {20, 45, 20, 0};
    for (int i = 0; i < 600; ++i) zigzag.Sample(pattern[i % 4]);
    EXPECT_FALSE(zigzag.WantsSample());
    EXPECT_TRUE(zigzag.recording) << "the recording runs until the user stops it";
    EXPECT_EQ(zigzag.Points().size(), 128u);
    Gesture g = Simplify(zigzag.Points());
    EXPECT_EQ(Steps(g).size(), 31u);
    EXPECT_EQ(g.steps[30], 45);
    EXPECT_EQ(g.steps[31], 0);

    // One long run: the 90s stop at 31 within the run.
    Angles turns;
    for (int i = 0; i < 128; ++i) turns.push_back((i * 45) % 360);
    g = Simplify(turns);
    EXPECT_EQ(Steps(g), Angles(31, 90));
    EXPECT_EQ(g.steps[31], 0);
}

TEST(GestureRecording, SimplifyMakesQuarterTurnsAndOneEighth) {
    const struct {
        Angles points, steps;
    } cases[] = {
        {{0, 45, 90, 135, 180, 225, 270, 315}, {90, 90, 90, 45}},
        {{0, 315, 270, 225, 180, 135, 90, 45}, {-90, -90, -90, -45}},
        {{0, 45, 90, 45, 0}, {90, -90}},
        {{}, {}},
        {{0, 315, 270, 225}, {-90, -45}},          // a run of -135
        {{0, 180}, {90, 90}},                      // a jump of half a turn counts +180
        {{180, 0}, {90, 90}},                      // whichever way it was
        {{0, 90, 180, 270, 0}, {90, 90, 90, 90}},  // a full turn
        {{90, 135, 90, 0, 315}, {45, -90, -90}},   // a path need not start at 0
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Steps(Simplify(c.points)), c.steps) << testing::PrintToString(c.points);
    }
}

// What a recording's gesture turns in all, both ways counted, up to its first 0.
TEST(GestureRecording, TurnedInAllCountsEveryStepWhicheverWay) {
    const struct {
        Gesture gesture;
        int64_t turned;
    } cases[] = {
        {{{90, 90, 90, 45}}, 315}, {{{45, -45, 45}}, 135}, {{{-90, 90}}, 180}, {{}, 0},
        {{{90, 0, 90}}, 90},                         // nothing after the end counts
        {{{INT32_MIN, INT32_MIN}}, 4294967296},      // no overflow, whatever a text held
    };
    for (const auto& c : cases) EXPECT_EQ(TurnedInAll(c.gesture), c.turned) << c.turned;
}

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
    EXPECT_EQ(Played(unterminated).size(), size_t{kGestureEntries}) << "without a 0, over after the last entry";
    EXPECT_FLOAT_EQ(ViewAngleOf(90), -1.5707963f) << "radians, turned the other way";
}

}  // namespace

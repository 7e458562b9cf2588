// The recorder's choice of points and their simplification into steps. Plain logic: this file
// is also built natively under the sanitizers, so it must not include <windows.h>.
#include <initializer_list>
#include <vector>

#include <gmock/gmock.h>

#include "gesture/GestureRecording.h"

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

std::vector<int32_t> Steps(const Gesture& g) {
    std::vector<int32_t> steps;
    for (int i = 0; i < kGestureEntries && g.steps[i] != 0; ++i) steps.push_back(g.steps[i]);
    return steps;
}

std::vector<int32_t> Recorded(const GestureRecording& r) {
    return std::vector<int32_t>(r.Points().begin(), r.Points().end());
}

GestureRecording RecordingOf(std::initializer_list<int32_t> angles) {
    GestureRecording r;
    r.Start();
    for (int32_t a : angles) r.Sample(a);
    return r;
}

TEST(GestureRecording, APointIsTheSmallestMultipleOf45PassedTheShortWay) {
    struct Case {
        int32_t previous, angle, point;
    };
    const Case cases[] = {
        {10, 100, 45},   // several passed: only the smallest
        {100, 10, 45},   // whichever the direction
        {350, 10, 0},    // across 0 upwards
        {10, 350, 0},    // and downwards
        {300, 100, 0},   // more than half a turn apart: the short way, across 0
        {0, 180, 0},     // exactly half a turn: across 0 as well
        {90, 270, 0},    // (not 90)
        {180, 359, 180},
        {200, 350, 225},
        {90, 90, 90},    // standing on a multiple counts
        {46, 89, kNoMultipleOf45},
        {1, 44, kNoMultipleOf45},
        {316, 359, kNoMultipleOf45},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PassedMultipleOf45(c.previous, c.angle), c.point) << c.previous << " -> " << c.angle;
    }
}

TEST(GestureRecording, ThePathStartsFaceUpAndKeepsNoTwoEqualNeighbours) {
    // Started with the phone held at 90: the first tick runs from 0 and passes only 0, already
    // recorded; the second stands on 90.
    EXPECT_THAT(Recorded(RecordingOf({90, 90, 100})), ElementsAre(0, 90));
    // Across 0 both ways, with pauses; 50 to 10 passes 45 again but not 0.
    EXPECT_THAT(Recorded(RecordingOf({30, 50, 50, 10, 350, 300, 320, 10})),
                ElementsAre(0, 45, 0, 315, 0));
    EXPECT_THAT(Recorded(RecordingOf({5, 40, 10})), ElementsAre(0));
}

// Samples that record 45, 0, 45, 0, ...: each sweep passes one multiple, the other way each time.
void ZigZag(GestureRecording& r, int samples) {
    const int32_t pattern[] = {20, 45, 20, 0};
    for (int i = 0; i < samples; ++i) r.Sample(pattern[i % 4]);
}

TEST(GestureRecording, StopsRecordingAfter128PointsButKeepsItsPath) {
    GestureRecording r;
    r.Start();
    ZigZag(r, 600);
    EXPECT_EQ(r.lastPoint, kMaxRecordedPoints - 1);
    EXPECT_FALSE(r.WantsSample());
    EXPECT_TRUE(r.recording) << "the recording runs until the user stops it";
    EXPECT_EQ(r.Points().size(), 128u);
    for (size_t i = 0; i < r.Points().size(); ++i) EXPECT_EQ(r.points[i], i % 2 ? 45 : 0) << i;
    // No room: the sample is not taken at all, so the previous angle stays too.
    const int32_t previous = r.previousAngle;
    r.Sample(200);
    EXPECT_EQ(r.previousAngle, previous);
}

TEST(GestureRecording, SamplesOnlyWhileRecording) {
    GestureRecording r;
    r.Sample(90);
    EXPECT_THAT(Recorded(r), ElementsAre(0));
    r.Start();
    r.Sample(90);
    r.Sample(90);
    r.Stop();
    r.Sample(180);
    r.Sample(180);
    EXPECT_THAT(Recorded(r), ElementsAre(0, 90));
    // A new recording starts afresh from 0.
    r.Start();
    EXPECT_THAT(Recorded(r), ElementsAre(0));
    EXPECT_EQ(r.previousAngle, 0);
}

TEST(GestureRecording, SimplifyMakesQuarterTurnsAndOneEighth) {
    struct Case {
        std::vector<int32_t> points;
        std::vector<int32_t> steps;
    };
    const Case cases[] = {
        {{0, 45, 90, 135, 180, 225, 270, 315}, {90, 90, 90, 45}},
        {{0, 315, 270, 225, 180, 135, 90, 45}, {-90, -90, -90, -45}},
        {{0, 45, 90, 45, 0}, {90, -90}},
        {{0, 45, 0, 45}, {45, -45, 45}},
        {{0}, {}},
        {{}, {}},
        {{0, 45, 90, 135}, {90, 45}},                          // a run of 135
        {{0, 315, 270, 225}, {-90, -45}},                      // and of -135
        {{0, 90, 180}, {90, 90}},                              // 180
        {{0, 180}, {90, 90}},                                  // a jump of half a turn counts +180
        {{180, 0}, {90, 90}},                                  // whichever way it was
        {{0, 90, 180, 270, 0}, {90, 90, 90, 90}},              // a full turn
        {{0, 45, 90, 135, 180, 225, 270, 315, 0, 45}, {90, 90, 90, 90, 45}},
        {{90, 135, 90, 0, 315}, {45, -90, -90}},           // a path need not start at 0
    };
    for (const Case& c : cases) {
        EXPECT_THAT(Steps(Simplify(c.points)), ElementsAreArray(c.steps))
            << testing::PrintToString(c.points);
    }
}

TEST(GestureRecording, SimplifyNeverWritesMoreThan31Steps) {
    // Zig-zags: every point changes direction, one step each.
    GestureRecording zigzag;
    zigzag.Start();
    ZigZag(zigzag, 600);
    Gesture g = Simplify(zigzag.Points());
    EXPECT_EQ(Steps(g).size(), 31u);
    EXPECT_EQ(g.steps[0], 45);
    EXPECT_EQ(g.steps[30], 45);
    EXPECT_EQ(g.steps[31], 0);

    // One long run: the 90s stop at 31 within the run.
    std::vector<int32_t> turns;
    for (int i = 0; i < 128; ++i) turns.push_back((i * 45) % 360);
    g = Simplify(turns);
    EXPECT_EQ(Steps(g), std::vector<int32_t>(31, 90));
    EXPECT_EQ(g.steps[31], 0);
}

TEST(GestureRecording, ARecordedTurnSimplifiesToTheGestureTurned) {
    // The default unlock gesture, sampled every 50 ms with a fresh reading every second sample.
    GestureRecording r = RecordingOf({0, 0, 20, 20, 40, 40, 65, 65, 90, 90, 110, 110, 135, 160, 185,
                                      210, 230, 250, 270, 290, 310, 315, 320});
    EXPECT_THAT(Recorded(r), ElementsAre(0, 45, 90, 135, 180, 225, 270, 315));
    EXPECT_THAT(Steps(Simplify(r.Points())), ElementsAre(90, 90, 90, 45));
    EXPECT_THAT(Steps(Simplify(RecordingOf({}).Points())), IsEmpty());
}

}  // namespace

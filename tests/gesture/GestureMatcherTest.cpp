// The angle arithmetic and one matcher following a gesture tick by tick. Plain logic: this file
// is also built natively under the sanitizers, so it must not include <windows.h>.
#include <initializer_list>
#include <vector>

#include <gmock/gmock.h>

#include "gesture/GestureMatcher.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

Gesture GestureOf(std::initializer_list<int32_t> steps) {
    Gesture g{};
    int i = 0;
    for (int32_t s : steps) g.steps[i++] = s;
    return g;
}

// Feeds a matcher the rotation angles of successive ticks, as the detector does (the first
// tick's change is 0); returns the indices of the ticks on which the gesture completed.
std::vector<int> Feed(GestureMatcher& m, const Gesture& g, std::initializer_list<int32_t> angles,
                      int32_t previous = -1000) {
    std::vector<int> completed;
    int tick = 0;
    for (int32_t angle : angles) {
        const int32_t change = previous == -1000 ? 0 : AngleChange(previous, angle);
        if (m.Advance(g, change, angle)) completed.push_back(tick);
        previous = angle;
        ++tick;
    }
    return completed;
}

TEST(GestureAngles, ChangeTakesTheShortWayAndAHalfTurnKeepsItsSign) {
    struct Case {
        int32_t previous, current, change;
    };
    const Case cases[] = {
        {350, 10, 20}, {10, 350, -20}, {0, 180, 180}, {180, 0, -180},
        {0, 181, -179}, {181, 0, 179}, {359, 0, 1}, {0, 359, -1}, {90, 90, 0}, {45, 270, -135},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(AngleChange(c.previous, c.current), c.change) << c.previous << " -> " << c.current;
    }
}

TEST(GestureAngles, AnAttemptStartsFromTheAngleBroughtIntoMinus179To180) {
    const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {44, 44}, {180, 180}, {181, -179},
                                                 {315, -45}, {359, -1}};
    for (auto [angle, start] : cases) EXPECT_EQ(StartAngle(angle), start) << angle;
}

TEST(GestureAngles, FaceUpAndUprightBoundsAreInclusiveWhereTheyShouldBe) {
    for (int32_t angle : {0, 44, 315, 359, -1, -400}) EXPECT_TRUE(IsFaceUp(angle)) << angle;
    for (int32_t angle : {45, 90, 180, 314}) EXPECT_FALSE(IsFaceUp(angle)) << angle;
    for (uint32_t tilt : {60u, 90u, 120u, 240u, 270u, 300u}) EXPECT_TRUE(IsUpright(tilt)) << tilt;
    for (uint32_t tilt : {0u, 59u, 121u, 180u, 239u, 301u, 359u, 0xFFFFFFC4u}) {
        EXPECT_FALSE(IsUpright(tilt)) << tilt;
    }
}

TEST(GestureMatcher, WaitsIdleUntilThePhoneLiesFaceUp) {
    GestureMatcher m;
    const Gesture g = GestureOf({90});
    EXPECT_THAT(Feed(m, g, {90, 180, 270, 45, 314}), IsEmpty());
    EXPECT_TRUE(m.IsIdle());
    EXPECT_EQ(m.accumulated, 0);
    EXPECT_FALSE(m.IsStepReached(g));
}

TEST(GestureMatcher, TheStartingTicksChangeDoesNotCount) {
    GestureMatcher m;
    // From 90 to 30 is a change of -60; the attempt starts at 30 with nothing of it.
    Feed(m, GestureOf({90}), {90, 30});
    EXPECT_EQ(m.step, 0);
    EXPECT_EQ(m.accumulated, 30);
    EXPECT_EQ(m.ticks, 0);
}

TEST(GestureMatcher, AStartAt315IsAlready45DegreesTowardsSmallerAngles) {
    GestureMatcher m;
    const Gesture g = GestureOf({-45, -90});
    EXPECT_THAT(Feed(m, g, {315}), IsEmpty());
    EXPECT_EQ(m.step, 1) << "the first step of -45 is passed on the starting tick";
    EXPECT_EQ(m.accumulated, 0);
    EXPECT_THAT(Feed(m, g, {225}, 315), ElementsAre(0));
    EXPECT_TRUE(m.IsIdle());

    // Only the first step waits untimed face up: the second is timed wherever the phone is.
    Feed(m, g, {315});
    ASSERT_EQ(m.step, 1);
    Feed(m, g, {315, 315, 315, 315, 315, 315, 315}, 315);
    EXPECT_EQ(m.ticks, 7);
    Feed(m, g, {315}, 315);
    EXPECT_TRUE(m.IsIdle());
}

TEST(GestureMatcher, TheFirstStepIsNotTimedWhileThePhoneStaysFaceUp) {
    GestureMatcher m;
    const Gesture g = GestureOf({90});
    Feed(m, g, {0, 10, 20, 30, 20, 10, 0, 350, 340, 330, 340, 350, 0, 10, 20});
    EXPECT_EQ(m.step, 0);
    EXPECT_EQ(m.ticks, 0);
    EXPECT_EQ(m.accumulated, 20);
    // Once the phone leaves face up the clock runs: seven ticks are allowed, the eighth is not.
    Feed(m, g, {45, 50, 55, 60, 65, 70, 75}, 20);
    EXPECT_EQ(m.step, 0);
    EXPECT_EQ(m.ticks, 7);
    EXPECT_THAT(Feed(m, g, {180}, 75), IsEmpty()) << "the eighth tick abandons before it adds";
    EXPECT_TRUE(m.IsIdle());
}

TEST(GestureMatcher, ALaterStepGetsSevenTicksAndTheEighthAbandonsTheAttempt) {
    struct Case {
        int holdTicks;
        bool completes;
    };
    for (const Case c : {Case{6, true}, Case{7, false}}) {
        GestureMatcher m;
        const Gesture g = GestureOf({90, 90});
        Feed(m, g, {0, 90});
        ASSERT_EQ(m.step, 1);
        for (int i = 0; i < c.holdTicks; ++i) Feed(m, g, {90}, 90);
        // The last tick turns far enough: it completes the gesture only within the allowance.
        const std::vector<int> completed = Feed(m, g, {180}, 90);
        EXPECT_EQ(!completed.empty(), c.completes) << c.holdTicks << " ticks held";
        EXPECT_TRUE(m.IsIdle());
    }
}

TEST(GestureMatcher, ReachingAStepRestartsTheTickCount) {
    GestureMatcher m;
    const Gesture g = GestureOf({90, 90, 90});
    // Each step takes six ticks: far more than seven in all, yet never seven on one step.
    EXPECT_THAT(Feed(m, g, {0, 15, 30, 45, 60, 75, 90, 105, 120, 135, 150, 165, 180, 195, 210, 225,
                            240, 255, 270}),
                ElementsAre(18));
}

TEST(GestureMatcher, OneTickCanPassSeveralStepsAndOvershootCarriesOver) {
    GestureMatcher m;
    EXPECT_THAT(Feed(m, GestureOf({45, 45, 45}), {0, 135}), ElementsAre(1));

    // 120 passes 90 with 30 to spare, and the turn back starts from there: back to 0, not 30.
    const Gesture back = GestureOf({90, -90});
    EXPECT_THAT(Feed(m, back, {0, 120}), IsEmpty());
    EXPECT_EQ(m.step, 1);
    EXPECT_EQ(m.accumulated, 30);
    EXPECT_THAT(Feed(m, back, {90, 60, 30, 1}, 120), IsEmpty());
    EXPECT_THAT(Feed(m, back, {0}, 1), ElementsAre(0));
}

TEST(GestureMatcher, TheDefaultGesturesCompleteOnceWhenTurnedAtAQuarterTurnPerSecond) {
    // About 25 degrees per 142 ms tick, as a hand turns the phone.
    GestureMatcher m;
    std::vector<int> completed = Feed(m, kDefaultUnlockGesture,
                                      {0, 0, 25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 275,
                                       300, 315, 315, 315});
    EXPECT_THAT(completed, ElementsAre(14));
    GestureMatcher lock;
    completed = Feed(lock, kDefaultLockGesture,
                     {0, 335, 310, 285, 260, 235, 210, 185, 160, 135, 110, 85, 60, 45, 45});
    EXPECT_THAT(completed, ElementsAre(13));
    // Turned the other way round, neither completes.
    GestureMatcher wrong;
    EXPECT_THAT(Feed(wrong, kDefaultLockGesture, {0, 25, 50, 75, 100, 125, 150, 175, 200, 225,
                                                  250, 275, 300, 315}),
                IsEmpty());
}

TEST(GestureMatcher, AGestureWithoutStepsCompletesOnTheFirstFaceUpTick) {
    GestureMatcher m;
    EXPECT_THAT(Feed(m, GestureOf({}), {90, 180, 320, 0}), ElementsAre(2, 3));
    EXPECT_TRUE(m.IsIdle());
}

TEST(GestureMatcher, AGestureOf32StepsWithoutATerminatorEndsAfterItsLastEntry) {
    Gesture full;
    for (int32_t& s : full.steps) s = 1;
    GestureMatcher m;
    EXPECT_THAT(Feed(m, full, {0, 31}), IsEmpty());
    EXPECT_EQ(m.step, 31);
    EXPECT_THAT(Feed(m, full, {32}, 31), ElementsAre(0));
}

}  // namespace

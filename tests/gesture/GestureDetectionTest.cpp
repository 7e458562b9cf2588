// The detector tick on plain readings: which gestures it follows, and what it makes of readings a
// broken sensor library might deliver. Plain logic: also built natively under the sanitizers,
// where any signed overflow ends the run, so it must not include <windows.h>.
#include <climits>
#include <cstdint>
#include <random>
#include <vector>

#include <gmock/gmock.h>

#include "gesture/GestureDetector.h"

namespace {

struct Receiver : GestureReceiver {
    void OnGesture(bool lock) override { gestures.push_back(lock); }
    std::vector<bool> gestures;
};

// The gestures completed while the rotation passes through `angles`, one tick each, flat.
std::vector<bool> Detect(const Settings& settings, const std::vector<int32_t>& angles) {
    GestureDetector detector;
    Receiver receiver;
    for (int32_t angle : angles) DetectGestures(detector, settings, 0, angle, receiver);
    return receiver.gestures;
}

Settings WithGestures(const Gesture& lock, const Gesture& unlock) {
    Settings s{};
    s.GestureLock = LockEverything;
    s.LockGesture = lock;
    s.UnlockGesture = unlock;
    return s;
}

// The lock gesture is followed only while it has something to do; then it can neither complete
// nor reset the unlock gesture's progress, also when the unlock gesture begins with it.
TEST(GestureDetection, TheLockGestureIsFollowedOnlyWhileItHasSomethingToDo) {
    const Gesture lock{{-90, -90}};
    const std::vector<int32_t> twice = {0, 270, 180, 90};  // the lock gesture, then a further -90
    const struct {
        const char* what;
        uint32_t gestureLock;
        bool toggles;
        Gesture unlock;
        std::vector<bool> completed;
    } cases[] = {
        {"it locks: it completes first and resets the unlock gesture", LockEverything, false,
         Gesture{{-90, -90, -90}}, {true}},
        {"it locks the panel: the same", LockPanel, false, Gesture{{-90, -90, -90}}, {true}},
        {"it does nothing: the unlock gesture that begins with it completes", 0, false, Gesture{{-90, -90, -90}},
         {false}},
        {"it does nothing: an unlock gesture equal to it completes", 0, false, lock, {false}},
        {"gestures toggle: it may unlock, so it is followed", 0, true, Gesture{{-90, -90, -90}}, {true}},
    };
    for (const auto& c : cases) {
        Settings s = WithGestures(lock, c.unlock);
        s.GestureLock = c.gestureLock;
        s.GesturesToggleLock = c.toggles;
        EXPECT_EQ(Detect(s, twice), c.completed) << c.what;
    }
}

// A reading outside 0..359 stands for the same direction as the reading in range.
TEST(GestureDetection, ReadingsOutOfRangeCountAsTheSameDirection) {
    const Settings s = WithGestures(Gesture{{-90, -90, -90, -45}}, Gesture{{90, 90, 90, 45}});
    // The unlock gesture, whole turns off; the last ones take the readings to the ends of 32 bits.
    for (int64_t turns : {1, -1, 5965231, -5965232}) {
        std::vector<int32_t> readings;
        for (int64_t angle : {0, 90, 180, 270, 315}) readings.push_back(static_cast<int32_t>(angle + turns * 360));
        EXPECT_EQ(Detect(s, readings), std::vector<bool>{false}) << turns << " turns off";
    }
}

// Any 32-bit readings and any gestures a stored text can give: after every tick the detector's
// state is within its bounds (and under the sanitizers no arithmetic has overflowed), and
// gestures still complete.
TEST(GestureDetection, AnyReadingsAndGesturesKeepTheStateWithinItsBounds) {
    std::mt19937 random(20261206);
    const int32_t extremes[] = {INT32_MIN, INT32_MIN + 1, -361, -360, -1, 0, 44, 45, 314, 315,
                                359,       360,           719,  INT32_MAX - 1, INT32_MAX};
    const auto any = [&] { return static_cast<int32_t>(random()); };
    const auto extreme = [&] { return extremes[random() % std::size(extremes)]; };
    Receiver receiver;
    for (int round = 0; round < 4000; ++round) {
        Settings s{};
        s.GestureLock = random() % 3;
        s.GesturesToggleLock = random() % 2;
        s.DisableGesturesWhenUpright = random() % 2;
        for (Gesture* g : {&s.LockGesture, &s.UnlockGesture}) {
            const int kind = random() % 3;  // recorded steps, wild steps, or no 0 at all
            for (int32_t& step : g->steps) {
                step = kind == 0 ? (static_cast<int32_t>(random() % 9) - 4) * 45 : random() % 2 ? any() : extreme();
            }
            if (kind != 2) g->steps[random() % kGestureEntries] = 0;
        }
        GestureDetector detector;
        int32_t walk = any();
        for (int tick = 0; tick < 300; ++tick) {
            // Mostly a hand's turn from the last reading, now and then anything at all.
            walk = random() % 8 == 0 ? (random() % 2 ? any() : extreme())
                                     : static_cast<int32_t>(static_cast<uint32_t>(walk) + random() % 121 - 60);
            DetectGestures(detector, s, static_cast<uint32_t>(any()), walk, receiver);
            ASSERT_GE(detector.previousAngle, 0);
            ASSERT_LT(detector.previousAngle, 360);
            for (const GestureMatcher* m : {&detector.lockMatcher, &detector.unlockMatcher}) {
                ASSERT_GE(m->step, -1);
                ASSERT_LT(m->step, kGestureEntries);
                ASSERT_GE(m->ticks, 0);
                ASSERT_LE(m->ticks, kStepTimeoutTicks);
            }
        }
    }
    EXPECT_GT(receiver.gestures.size(), 100u) << "the walks should complete gestures now and then";
}

}  // namespace

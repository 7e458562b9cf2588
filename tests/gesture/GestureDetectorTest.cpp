// The detector tick on given readings, then both default gestures turned on the emulated phone
// with the console while the real sensor reader feeds the detector at the controller's 142 ms tick.
#include <algorithm>
#include <future>
#include <regex>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "app/PeriodicEvent.h"
#include "app/Trace.h"
#include "gesture/GestureDetector.h"
#include "gesture/TiltSensor.h"

namespace {

using testing::ElementsAre;

std::vector<std::string> traces;

struct Receiver : GestureReceiver {
    void OnGesture(bool lock) override { gestures.push_back(lock); }
    std::vector<bool> gestures;
};

class GestureDetectorTest : public testing::Test {
protected:
    void SetUp() override {
        traces.clear();
        SetTraceSink([](const char* text) { traces.push_back(text); });
        settings.DisableGesturesWhenUpright = true;
        settings.GestureLock = LockEverything;  // the default: the lock gesture is followed
        settings.LockGesture = kDefaultLockGesture;
        settings.UnlockGesture = kDefaultUnlockGesture;
    }
    void TearDown() override { SetTraceSink(nullptr); }

    void Tick(int32_t rotation, uint32_t tilt = 0) {
        DetectGestures(detector, settings, tilt, rotation, receiver);
    }

    Settings settings{};
    GestureDetector detector;
    Receiver receiver;
};

TEST_F(GestureDetectorTest, TracesEachChangeTheShortWayAndHeldUprightStartsOver) {
    Tick(200);
    Tick(10);
    Tick(350, 60);
    EXPECT_TRUE(detector.lockMatcher.IsIdle() && detector.unlockMatcher.IsIdle()) << "upright: both start over";
    Tick(340, 59);
    settings.DisableGesturesWhenUpright = false;
    Tick(330, 90);
    EXPECT_EQ(detector.unlockMatcher.accumulated, -30) << "upright, when that is not asked for";
    EXPECT_THAT(traces, ElementsAre("Angles: prev = 200, this = 200, delta = 0\n",
                                    "Angles: prev = 200, this = 10, delta = 170\n",
                                    "Angles: prev = 10, this = 350, delta = -20\n", "Gesture detection disabled\n",
                                    "Angles: prev = 350, this = 340, delta = -10\n",
                                    "Angles: prev = 340, this = 330, delta = -10\n"));
}

TEST_F(GestureDetectorTest, ACompletedGestureResetsBothMatchersAndTheUnlockOneRunsOnFromIdle) {
    settings.LockGesture = Gesture{{20, 200}};
    settings.UnlockGesture = Gesture{{45}};
    Tick(0);
    Tick(45);
    EXPECT_THAT(receiver.gestures, ElementsAre(false));
    EXPECT_TRUE(detector.lockMatcher.IsIdle()) << "the lock matcher had passed its first step";
    // Both would complete at 314. The lock gesture does first; the unlock matcher, reset with
    // it, then sees the same tick from idle: 314 is not face up, so it does not even start.
    settings.LockGesture = Gesture{{-45}};
    settings.UnlockGesture = Gesture{{-43}};
    Tick(0);
    Tick(314);
    EXPECT_THAT(receiver.gestures, ElementsAre(false, true));
    EXPECT_TRUE(detector.unlockMatcher.IsIdle());
    // Gestures without steps both complete on one face-up tick, the lock first.
    settings.LockGesture = settings.UnlockGesture = Gesture{};
    Tick(0);
    EXPECT_THAT(receiver.gestures, ElementsAre(false, true, true, false));
}

// Detects at the 142 ms tick while the console turns the phone from face up; the gestures completed.
std::vector<bool> Perform(const Settings& settings, std::vector<std::wstring> turn) {
    test::Play({L"tilt", L"0"});
    GestureDetector detector;
    Receiver receiver;
    PeriodicEvent tick(142);
    auto detect = [&](int ticks) {
        for (int i = 0; i < ticks; ++i) {
            WaitForSingleObject(tick.Handle(), INFINITE);
            const TiltReading& reading = TiltSensor::Instance().ReadTilt();
            DetectGestures(detector, settings, reading.tilt, reading.rotation, receiver);
        }
    };
    detect(3);
    turn.insert(turn.begin(), L"turn");
    auto turning = std::async(std::launch::async, [&] { return test::Devemu(turn).code; });
    while (turning.wait_for(std::chrono::seconds(0)) != std::future_status::ready) detect(1);
    detect(4);
    EXPECT_EQ(turning.get(), 0);
    return receiver.gestures;
}

TEST_F(GestureDetectorTest, TheDefaultGesturesTurnedOnThePhoneCompleteOnceEachUnlessTooSlow) {
    ASSERT_EQ(test::Devemu({L"reset"}).code, 0);
    EXPECT_THAT(Perform(settings, {L"90", L"90", L"90", L"45"}), ElementsAre(false));
    EXPECT_THAT(Perform(settings, {L"-90", L"-90", L"-90", L"-45"}), ElementsAre(true));
    // 30 degrees a second: 45 degrees past face up take about ten ticks. The detector does follow
    // the turn, a few degrees a tick.
    traces.clear();
    EXPECT_THAT(Perform(settings, {L"90", L"90", L"90", L"45", L"--rate", L"30"}), testing::IsEmpty());
    const auto slowTicks = std::count_if(traces.begin(), traces.end(), [](const std::string& line) {
        return std::regex_search(line, std::regex("delta = ([1-9]|1[0-5])\n"));
    });
    EXPECT_GE(slowTicks, 40);
}

}  // namespace

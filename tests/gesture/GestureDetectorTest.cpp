// The detector step: angle changes, the upright test, both matchers and the receiver, fed by
// the real tilt sensor reader and the emulated sensor. The last tests perform gestures on the
// emulated phone with the console, while a 142 ms tick drives the detector as the controller does.
#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "app/PeriodicEvent.h"
#include "app/Trace.h"
#include "app/WorkerThread.h"
#include "gesture/GestureDetector.h"

namespace {

using test::Devemu;
using testing::ElementsAre;
using testing::IsEmpty;

std::mutex traceMutex;
std::vector<std::string> traces;

void CaptureTrace(const char* text) {
    std::lock_guard<std::mutex> lock(traceMutex);
    traces.push_back(text);
}

std::vector<std::string> Traces() {
    std::lock_guard<std::mutex> lock(traceMutex);
    return traces;
}

// The receiver may be called on a detector thread while the test reads it.
class RecordingReceiver : public GestureReceiver {
public:
    void OnGesture(bool lock) override {
        std::lock_guard<std::mutex> guard(mutex_);
        gestures_.push_back(lock);
    }
    std::vector<bool> Gestures() {
        std::lock_guard<std::mutex> guard(mutex_);
        return gestures_;
    }

private:
    std::mutex mutex_;
    std::vector<bool> gestures_;
};

Gesture GestureOf(std::initializer_list<int32_t> steps) {
    Gesture g{};
    int i = 0;
    for (int32_t s : steps) g.steps[i++] = s;
    return g;
}

Settings DefaultSettings() {
    Settings s{};
    s.LockGesture = kDefaultLockGesture;
    s.UnlockGesture = kDefaultUnlockGesture;
    s.DisableGesturesWhenUpright = true;
    return s;
}

TiltReading Reading(int32_t rotation, uint32_t tilt = 0) {
    TiltReading r{};
    r.rotation = rotation;
    r.tilt = tilt;
    return r;
}

class GestureDetectorTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(Devemu({L"reset"}).code, 0);
        // The process's one sensor reader remembers its last read across tests: each test
        // starts hours of device time later, so its first tick reads afresh.
        static uint32_t uptime = 0x01000000;
        uptime += 0x01000000;
        Devemu({L"clock", std::to_wstring(uptime)});
        {
            std::lock_guard<std::mutex> lock(traceMutex);
            traces.clear();
        }
        SetTraceSink(CaptureTrace);
    }
    void TearDown() override { SetTraceSink(nullptr); }

    // One tick with the phone held at the given angles, a tick period after the last.
    void Tick(int32_t rotation, uint32_t tilt = 0) {
        Devemu({L"tilt", std::to_wstring(rotation), std::to_wstring(tilt)});
        Devemu({L"clock", L"advance", L"142"});
        DetectGestures(detector, settings, receiver);
    }

    GestureDetector detector;
    Settings settings = DefaultSettings();
    RecordingReceiver receiver;
};

TEST_F(GestureDetectorTest, TheFirstTickSeesNoChangeAndLaterOnesTheShortWay) {
    Tick(200);
    Tick(10);
    Tick(350);
    detector.Reset();
    Tick(90);
    EXPECT_THAT(Traces(), ElementsAre("Angles: prev = 200, this = 200, delta = 0\n",
                                      "Angles: prev = 200, this = 10, delta = 170\n",
                                      "Angles: prev = 10, this = 350, delta = -20\n",
                                      "Angles: prev = 90, this = 90, delta = 0\n"));
    EXPECT_EQ(detector.previousAngle, 90);
}

TEST_F(GestureDetectorTest, HeldUprightDetectionIsOffAndBothMatchersStartOver) {
    struct Case {
        uint32_t tilt;
        bool disables;
    };
    const Case cases[] = {{60, true}, {120, true}, {240, true}, {300, true},
                          {59, false}, {121, false}, {239, false}, {301, false}};
    for (const Case& c : cases) {
        GestureDetector d;
        DetectGestures(d, settings, Reading(0), receiver);
        ASSERT_FALSE(d.lockMatcher.IsIdle());
        ASSERT_FALSE(d.unlockMatcher.IsIdle());
        {
            std::lock_guard<std::mutex> lock(traceMutex);
            traces.clear();
        }
        DetectGestures(d, settings, Reading(10, c.tilt), receiver);
        EXPECT_EQ(d.previousAngle, 10) << c.tilt;
        EXPECT_EQ(d.lockMatcher.IsIdle(), c.disables) << c.tilt;
        EXPECT_EQ(d.unlockMatcher.IsIdle(), c.disables) << c.tilt;
        if (c.disables) {
            EXPECT_THAT(Traces(), ElementsAre("Angles: prev = 0, this = 10, delta = 10\n",
                                              "Gesture detection disabled\n")) << c.tilt;
        } else {
            EXPECT_EQ(d.unlockMatcher.accumulated, 10) << c.tilt;
        }
    }
    // Only when asked for.
    settings.DisableGesturesWhenUpright = false;
    GestureDetector d;
    DetectGestures(d, settings, Reading(0, 90), receiver);
    EXPECT_FALSE(d.unlockMatcher.IsIdle());
    EXPECT_THAT(receiver.Gestures(), IsEmpty());
}

TEST_F(GestureDetectorTest, ACompletedGestureResetsBothMatchers) {
    settings.LockGesture = GestureOf({20, 200});
    settings.UnlockGesture = GestureOf({45});
    DetectGestures(detector, settings, Reading(0), receiver);
    DetectGestures(detector, settings, Reading(45), receiver);
    EXPECT_THAT(receiver.Gestures(), ElementsAre(false));
    EXPECT_TRUE(detector.lockMatcher.IsIdle()) << "the lock matcher had passed its first step";
    EXPECT_TRUE(detector.unlockMatcher.IsIdle());
}

TEST_F(GestureDetectorTest, TheUnlockMatcherRunsAfterALockOnTheSameTickFromIdle) {
    // Both would complete at 314. The lock gesture does first; the unlock matcher, reset with
    // it, then sees the same tick from idle: 314 is not face up, so it does not even start.
    settings.LockGesture = GestureOf({-45});
    settings.UnlockGesture = GestureOf({-43});
    DetectGestures(detector, settings, Reading(0), receiver);
    DetectGestures(detector, settings, Reading(320), receiver);
    ASSERT_THAT(receiver.Gestures(), IsEmpty());
    DetectGestures(detector, settings, Reading(314), receiver);
    EXPECT_THAT(receiver.Gestures(), ElementsAre(true));
    EXPECT_TRUE(detector.unlockMatcher.IsIdle());

    // Gestures without steps both complete on one face-up tick, the lock first.
    settings.LockGesture = GestureOf({});
    settings.UnlockGesture = GestureOf({});
    DetectGestures(detector, settings, Reading(0), receiver);
    EXPECT_THAT(receiver.Gestures(), ElementsAre(true, true, false));
}

TEST_F(GestureDetectorTest, WhileTheSensorFailsTheAngleStandsStillAndAnAttemptTimesOut) {
    settings.UnlockGesture = GestureOf({90});
    struct Case {
        int failingTicks;
        bool completes;
    };
    for (const Case c : {Case{5, true}, Case{6, false}}) {
        GestureDetector d;
        RecordingReceiver r;
        auto tick = [&](int32_t rotation) {
            Devemu({L"tilt", std::to_wstring(rotation)});
            Devemu({L"clock", L"advance", L"142"});
            DetectGestures(d, settings, r);
        };
        tick(0);
        tick(60);  // left face up: the first counted tick
        ASSERT_EQ(Devemu({L"sensor", L"fail-read"}).code, 0);
        const size_t before = Traces().size();
        for (int i = 0; i < c.failingTicks; ++i) tick(200);
        const std::vector<std::string> seen = Traces();
        for (size_t i = before; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i], "Angles: prev = 60, this = 60, delta = 0\n");
        }
        ASSERT_EQ(Devemu({L"sensor", L"ok"}).code, 0);
        tick(100);  // far enough, on the seventh counted tick or the eighth
        EXPECT_EQ(r.Gestures().size(), c.completes ? 1u : 0u) << c.failingTicks << " failing ticks";
    }
}

// The controller's gesture tick, on a thread of its own.
class DetectorThread : public WorkerThread {
public:
    explicit DetectorThread(const Settings& settings) : settings_(settings) { Start(); }
    ~DetectorThread() override { Stop(); }

    void Stop() {
        stop_.Set();
        Wait();
    }
    // Waits until `count` more ticks have been handled.
    bool WaitTicks(int count) {
        const int target = ticks_ + count;
        return test::WaitUntil([&] { return ticks_ >= target; }, 20000);
    }
    RecordingReceiver receiver;

protected:
    void Run() override {
        PeriodicEvent tick(142);
        const HANDLE handles[] = {stop_.Handle(), tick.Handle()};
        while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
            DetectGestures(detector_, settings_, receiver);
            ++ticks_;
        }
    }

private:
    const Settings& settings_;
    GestureDetector detector_;
    Event stop_;
    std::atomic<int> ticks_{0};
};

TEST_F(GestureDetectorTest, TheDefaultGesturesTurnedOnThePhoneCompleteExactlyOnceEach) {
    ASSERT_EQ(Devemu({L"tilt", L"0"}).code, 0);
    DetectorThread detection(settings);
    ASSERT_TRUE(detection.WaitTicks(3));
    ASSERT_EQ(Devemu({L"turn", L"90", L"90", L"90", L"45"}).code, 0);
    ASSERT_TRUE(detection.WaitTicks(4));
    EXPECT_THAT(detection.receiver.Gestures(), ElementsAre(false));

    ASSERT_EQ(Devemu({L"tilt", L"0"}).code, 0);
    ASSERT_TRUE(detection.WaitTicks(3));
    ASSERT_EQ(Devemu({L"turn", L"-90", L"-90", L"-90", L"-45"}).code, 0);
    ASSERT_TRUE(detection.WaitTicks(4));
    detection.Stop();
    EXPECT_THAT(detection.receiver.Gestures(), ElementsAre(false, true));
}

TEST_F(GestureDetectorTest, ATurnTooSlowForTheStepTimeOutDoesNotComplete) {
    ASSERT_EQ(Devemu({L"tilt", L"0"}).code, 0);
    DetectorThread detection(settings);
    ASSERT_TRUE(detection.WaitTicks(3));
    // 30 degrees a second: 45 degrees past face up take about ten ticks.
    ASSERT_EQ(Devemu({L"turn", L"90", L"90", L"90", L"45", L"--rate", L"30"}).code, 0);
    ASSERT_TRUE(detection.WaitTicks(4));
    detection.Stop();
    EXPECT_THAT(detection.receiver.Gestures(), IsEmpty());
    // The detector did follow the turn, a few degrees a tick.
    int slowTicks = 0;
    for (const std::string& line : Traces()) {
        int previous, angle, delta;
        if (std::sscanf(line.c_str(), "Angles: prev = %d, this = %d, delta = %d", &previous, &angle,
                        &delta) == 3 && delta > 0 && delta <= 15) {
            ++slowTicks;
        }
    }
    EXPECT_GE(slowTicks, 40);
}

}  // namespace

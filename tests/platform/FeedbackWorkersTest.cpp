// The Vibrator and the Beeper against the emulated LED driver and beep: pattern timing from the
// device log's time stamps, dropped requests, and destruction while a pattern plays.
#include <memory>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "ce/Kernel.h"
#include "platform/FeedbackWorkers.h"

namespace {

using test::Devemu;
using test::StateValue;

struct Stamped {
    uint32_t uptime;
    std::string event;
};

// Device events from `since` on that contain `text`, with their time stamps.
std::vector<Stamped> Events(const std::string& text, uint64_t since) {
    std::vector<Stamped> events;
    for (const std::string& line : test::LogLines(since)) {
        const size_t space = line.find(' ');
        if (line.find(text, space) == std::string::npos) continue;
        events.push_back({static_cast<uint32_t>(std::stoul(line.substr(0, space))), line.substr(space + 1)});
    }
    return events;
}

std::vector<std::string> Names(const std::vector<Stamped>& events) {
    std::vector<std::string> names;
    for (const Stamped& e : events) names.push_back(e.event);
    return names;
}

// A step lasts at least what it asked for; the upper bound only catches a pattern that is
// clearly off on a shared, busy machine.
void ExpectDuration(uint32_t from, uint32_t to, uint32_t wanted, const std::string& what) {
    const int32_t took = static_cast<int32_t>(to - from);
    EXPECT_GE(took, static_cast<int32_t>(wanted) - 20) << what;
    EXPECT_LE(took, static_cast<int32_t>(wanted) + 250) << what;
}

class FeedbackTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Devemu({L"reset"}).code, 0); }
    uint32_t Now() { return devemu::Device::Get().Uptime(); }
};

struct VibrateCase {
    const char* name;
    const FeedbackPattern* pattern;
    std::vector<uint32_t> steps;  // on, off, on, off... after the first pause
};

TEST_F(FeedbackTest, VibratePatternsPulseAndPauseForTheirLengthsAndEndOff) {
    const VibrateCase cases[] = {
        {"lock", LockVibratePattern, {75}},
        {"unlock", UnlockVibratePattern, {35, 300, 35}},
    };
    Vibrator vibrator;
    for (const VibrateCase& c : cases) {
        SCOPED_TRACE(c.name);
        const uint64_t since = test::LogCount();
        const uint32_t start = Now();
        vibrator.Play(c.pattern);
        const size_t switches = c.steps.size() + 1;
        ASSERT_TRUE(test::WaitUntil([&] { return Events("vibrate", since).size() >= switches; }, 5000));
        ASSERT_TRUE(test::WaitUntil([&] { return vibrator.Pending() == nullptr; }, 5000));
        const std::vector<Stamped> events = Events("vibrate", since);
        std::vector<std::string> expected;
        for (size_t i = 0; i < switches; ++i) expected.push_back(i % 2 ? "vibrate off led=1" : "vibrate on led=1");
        ASSERT_EQ(Names(events), expected);
        ExpectDuration(start, events[0].uptime, 200, "first pause");
        for (size_t i = 0; i < c.steps.size(); ++i) {
            ExpectDuration(events[i].uptime, events[i + 1].uptime, c.steps[i], "step " + std::to_string(i + 1));
        }
        EXPECT_EQ(StateValue("vibrate"), "off");
    }
}

TEST_F(FeedbackTest, BeepPatternsBeepAfterTheirPauses) {
    Beeper beeper;
    for (const FeedbackPattern* pattern : {LockBeepPattern, UnlockBeepPattern}) {
        const size_t beeps = pattern == LockBeepPattern ? 1 : 2;
        SCOPED_TRACE(beeps);
        const uint64_t since = test::LogCount();
        const uint32_t start = Now();
        beeper.Play(pattern);
        ASSERT_TRUE(test::WaitUntil([&] { return beeper.Pending() == nullptr; }, 5000));
        const std::vector<Stamped> events = Events("beep", since);
        ASSERT_EQ(Names(events), std::vector<std::string>(beeps, "beep type=0"));
        ExpectDuration(start, events[0].uptime, 200, "first pause");
        if (beeps == 2) ExpectDuration(events[0].uptime, events[1].uptime, 300, "pause between beeps");
    }
}

TEST_F(FeedbackTest, ARequestWhileOneIsPendingIsDroppedAndOneAfterItPlays) {
    Vibrator vibrator;
    Beeper beeper;
    const uint64_t since = test::LogCount();
    vibrator.Play(UnlockVibratePattern);
    vibrator.Play(LockVibratePattern);
    beeper.Play(LockBeepPattern);
    beeper.Play(UnlockBeepPattern);
    EXPECT_EQ(vibrator.Pending(), UnlockVibratePattern);
    EXPECT_EQ(beeper.Pending(), LockBeepPattern);
    ASSERT_TRUE(test::WaitUntil([&] { return !vibrator.Pending() && !beeper.Pending(); }, 5000));
    EXPECT_EQ(Events("vibrate on", since).size(), 2u) << "the unlock pattern alone";
    EXPECT_EQ(Events("beep", since).size(), 1u) << "the lock pattern alone";

    const uint64_t third = test::LogCount();
    vibrator.Play(LockVibratePattern);
    beeper.Play(UnlockBeepPattern);
    ASSERT_TRUE(test::WaitUntil([&] { return !vibrator.Pending() && !beeper.Pending(); }, 5000));
    EXPECT_EQ(Events("vibrate on", third).size(), 1u);
    EXPECT_EQ(Events("beep", third).size(), 2u);
}

TEST_F(FeedbackTest, DestroyingAWorkerMidPatternLetsThePatternFinish) {
    auto vibrator = std::make_unique<Vibrator>();
    auto beeper = std::make_unique<Beeper>();
    const uint64_t since = test::LogCount();
    vibrator->Play(UnlockVibratePattern);
    beeper->Play(UnlockBeepPattern);
    ASSERT_TRUE(test::WaitUntil([&] { return Events("vibrate on", since).size() == 1; }, 5000));
    vibrator.reset();
    beeper.reset();
    const uint64_t after = test::LogCount();
    EXPECT_EQ(Names(Events("vibrate", since)),
              (std::vector<std::string>{"vibrate on led=1", "vibrate off led=1", "vibrate on led=1",
                                        "vibrate off led=1"}));
    EXPECT_EQ(Events("beep", since).size(), 2u);
    Sleep(100);
    EXPECT_EQ(test::LogCount(), after) << "a worker acted after its destructor returned";
}

TEST_F(FeedbackTest, WorkersThatNeverPlayedStopAtOnce) {
    for (int i = 0; i < 3; ++i) {
        auto vibrator = std::make_unique<Vibrator>();
        auto beeper = std::make_unique<Beeper>();
        vibrator.reset();
        beeper.reset();
    }
    EXPECT_EQ(Events("vibrate on", 0).size(), 0u);
    EXPECT_EQ(Events("beep", 0).size(), 0u);
}

TEST_F(FeedbackTest, TheMotorIsTheLastLedAndIsSwitchedOffAtConstruction) {
    ASSERT_EQ(Devemu({L"leds", L"4"}).code, 0);
    NLED_SETTINGS_INFO on{};
    on.LedNum = 3;
    on.OffOnBlink = 1;
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &on));
    EXPECT_EQ(StateValue("vibrate"), "on");

    const uint64_t since = test::LogCount();
    Vibrator vibrator;
    EXPECT_EQ(StateValue("vibrate"), "off");
    vibrator.Play(LockVibratePattern);
    // The last switch off comes after the pattern is no longer pending.
    ASSERT_TRUE(test::WaitUntil([&] { return Events("vibrate", since).size() >= 3; }, 5000));
    EXPECT_EQ(Names(Events("vibrate", since)),
              (std::vector<std::string>{"vibrate off led=3", "vibrate on led=3", "vibrate off led=3"}));
}

TEST_F(FeedbackTest, WithoutLedsTheVibratorPlaysSilentlyAndTheDriverRefusesEveryCall) {
    ASSERT_EQ(Devemu({L"leds", L"0"}).code, 0);
    Vibrator vibrator;
    vibrator.Play(LockVibratePattern);
    ASSERT_TRUE(test::WaitUntil([&] { return vibrator.Pending() == nullptr; }, 5000));
    EXPECT_EQ(Events("led=", 0).size(), 0u) << "an LED changed";
    EXPECT_GE(std::stoi(StateValue("led-calls")), 4) << "off at construction, off, pause, pulse";
    EXPECT_EQ(StateValue("vibrate"), "off");
}

}  // namespace

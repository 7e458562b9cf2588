// The lock controller driven through the device console: resumes, calls, the stylus, the power
// line, commands and gestures, each scenario a list of console commands and what each brings.
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ControllerFixture.h"
#include "SettingsWindowSupport.h"
#include "app/AppGlobals.h"
#include "settings/Settings.h"

namespace {

using e2e::ControllerTest;
using e2e::Strings;
using test::LogCount;
using test::Play;

// One console command ("wake": a suspend and a resume; "lay flat": tilt 0, then the gesture tick
// reads the sensor twice; "switch on the stylus options" in the settings window) and the events
// that come with it.
struct Step {
    std::wstring command;
    Strings events;
};

struct Scenario {
    const char* what;
    e2e::Options options;
    uint32_t from;  // the command word that sets the state the steps start from
    std::vector<Step> steps;
};
void PrintTo(const Scenario& s, std::ostream* out) { *out << s.what; }

const std::string kAll = "input-lock enable=0";   // locks the keys and the panel
const std::string kFree = "input-lock enable=1";  // frees them; the window word may lock the panel
// One pulse of the vibration: the lock pattern has one, the unlock pattern two.
const std::string kOn = "vibrate on led=1", kOff = "vibrate off led=1";

// Most scenarios end on a command whose events come after those of every step before (the power
// queue is served after the stylus, commands and calls): an event a step should not have brought
// shows up in a later step's list.
const Scenario kScenarios[] = {
    {"resume, DoNothing", {{L"ResumeBehaviour", DoNothing}}, 2,
     {{L"wake", {}}, {L"ac online", {"icon remove id=1", kFree}}}},
    // LockPanel, the default, as any value outside the named ones: the keys are freed. The screen
    // going off then leaves the panel lock alone.
    {"resume, a value outside the named ones", {{L"ResumeBehaviour", 7}}, 2,
     {{L"wake", {kFree}}, {L"power screen-off", {}}, {L"ac online", {"icon remove id=1", kFree}}}},
    {"resume, UnlockPhone", {{L"ResumeBehaviour", UnlockPhone}}, 2,
     {{L"wake", {"icon remove id=1", kFree}}, {L"ac online", {kFree}}}},
    {"resume within 200 ms of the stylus unlock, then 201 ms after it", {}, 2,
     {{L"clock hold", {}}, {L"stylus out", {"icon remove id=1", kFree}}, {L"clock advance 200", {}},
      {L"wake", {}}, {L"ac online", {kFree}}, {L"ac offline", {}}, {L"clock advance 1", {}},
      {L"wake", {"icon add id=2", kFree}}}},
    // The resume does not lock, but a call waiting offered now is within 10 s of it.
    {"resume during an answered call", {}, 2,
     {{L"call incoming", {}}, {L"call connect", {"icon remove id=1", kFree}}, {L"wake", {}}, {L"ac online", {kFree}},
      {L"call incoming", {"icon add id=2", kFree}}}},
    // Nor is the resume counted: the call after it is not within 10 s of one.
    {"resume on external power", {{L"RelockOnBattery", 1}}, 2,
     {{L"ac online", {"icon remove id=1", kFree}}, {L"wake", {}}, {L"ac offline", {"icon add id=2", kAll}},
      {L"call incoming", {}}, {L"call connect", {"icon remove id=2", kFree}}}},
    // The panel cannot be locked alone: LOCKED_ALL stays and its request goes out again.
    {"screen off from LOCKED_ALL, Transcriber compatibility", {{L"TranscriberCompatibility", 1}}, 2,
     {{L"power screen-off", {kAll}}, {L"ac online", {"icon remove id=1", kFree}}}},
    // The power monitor reads the line when it takes a change up: the screen going off after
    // each change (freeing the keys of the phone locked entirely) shows it has been read. Backup
    // power is not battery, so online after it is a second connect; battery relocks to what
    // the first one saved.
    {"two connects without battery between", {{L"RelockOnBattery", 1}}, 1,
     {{L"ac online", {"icon remove id=1", kFree}}, {L"post lock 2", {"icon add id=2", kAll}}, {L"ac backup", {}},
      {L"power screen-off", {kFree}}, {L"post lock 2", {kAll}}, {L"power resume", {}}, {L"ac online", {}},
      {L"power screen-off", {kFree}}, {L"ac offline", {kFree}}}},
    // Another value of the key changing, and the stylus written as it was, change nothing.
    {"stylus out and in with RelockOnStylus", {{L"RelockOnStylus", 1}}, 1,
     {{L"stylus out", {"icon remove id=1", kFree}}, {L"stylus in", {"icon add id=2", kFree}}, {L"stylus touch", {}},
      {L"stylus in", {}}, {L"post lock 2", {kAll}}}},
    // While UnlockOnStylus is off the stylus is not followed: once it is switched on (with
    // RelockOnStylus), the first change compares with the stylus seen before.
    {"UnlockOnStylus switched on", {{L"UnlockOnStylus", 0}}, 2,
     {{L"stylus out", {}}, {L"post lock 1", {kFree}}, {L"switch on the stylus options", {}}, {L"stylus in", {}},
      {L"post lock 2", {kAll}}, {L"stylus out", {"icon remove id=1", kFree}}}},
    {"stylus out and in without RelockOnStylus", {}, 2,
     {{L"stylus out", {"icon remove id=1", kFree}}, {L"stylus in", {}}, {L"post lock 1", {"icon add id=2", kFree}}}},
    // An offer within 10000 ms of the last resume applies ResumeCallBehaviour; its answer unlocks.
    {"the incoming-call window", {{L"ResumeCallBehaviour", LockEverything}}, 0,
     {{L"clock hold", {}}, {L"clock 5000000", {}}, {L"wake", {"icon add id=1", kFree}}, {L"clock 5010000", {}},
      {L"call incoming", {kAll}}, {L"call connect", {"icon remove id=1", kFree}}, {L"call disconnect", {}},
      {L"clock 6000000", {}}, {L"wake", {"icon add id=2", kFree}}, {L"clock 6010001", {}},
      {L"call incoming", {}}, {L"call connect", {"icon remove id=2", kFree}}, {L"call disconnect", {}},
      // 8192 ms after, across the wrap.
      {L"clock 4294963200", {}}, {L"wake", {"icon add id=1", kFree}}, {L"clock 4096", {}},
      {L"call incoming", {kAll}}, {L"call connect", {"icon remove id=1", kFree}}, {L"call disconnect", {}},
      // Before the resume: the difference is signed.
      {L"clock 7000000", {}}, {L"wake", {"icon add id=2", kFree}}, {L"clock 6950000", {}},
      {L"call incoming", {kAll}}, {L"call connect", {"icon remove id=2", kFree}}}},
    // The answer to a single offer unlocks, and the end of an outgoing call.
    {"call answered", {}, 2,
     {{L"call incoming", {}}, {L"call connect", {"icon remove id=1", kFree}}, {L"post lock 2", {"icon add id=2", kAll}},
      {L"call disconnect", {}}, {L"ac online", {"icon remove id=2", kFree}}}},
    {"call outgoing", {}, 2, {{L"call connect", {}}, {L"call disconnect", {"icon remove id=1", kFree}}}},
    {"call offered twice", {}, 2,
     {{L"call incoming", {}}, {L"call incoming", {}}, {L"call connect", {}}, {L"call disconnect", {}},
      {L"ac online", {"icon remove id=1", kFree}}}},
    // The disable is handled before the command posted after it. An offer now is within 10 s of
    // "resume 0". The end of an outgoing call after an answered one unlocks.
    {"disabled: the stylus, resumes and external power are ignored; calls, commands and the screen act",
     {{L"ResumeBehaviour", UnlockPhone}, {L"ResumeCallBehaviour", LockEverything}}, 1,
     {{L"clock hold", {}}, {L"clock 5000", {}}, {L"post disable", {}}, {L"post lock 1", {kFree}},
      {L"call incoming", {kAll}}, {L"call connect", {"icon remove id=1", kFree}}, {L"call disconnect", {}},
      {L"post lock 2", {"icon add id=2", kAll}}, {L"stylus out", {}}, {L"wake", {}}, {L"ac online", {}},
      {L"power screen-off", {kFree}}, {L"call connect", {}}, {L"call disconnect", {"icon remove id=2", kFree}}}},
    // Vibrate off, Beep on. 0xC001 locks the panel with the lock vibration forced and no beep;
    // 0x5000 unlocks with both as set: the unlock beeps, no vibration.
    {"command words", {{L"Vibrate", 0}, {L"Beep", 1}}, 0,
     {{L"post lock 0xC001", {"icon add id=1", kFree, kOn, kOff}},
      {L"post lock 0x5000", {"icon remove id=1", kFree, "beep type=0", "beep type=0"}},
      {L"post lock 0x8001", {"icon add id=2", kFree, kOn, kOff}}}},
    // The defaults: GestureLock locks everything, Vibrate on.
    {"gestures", {}, 0,
     {{L"lay flat", {}}, {L"turn -90 -90 -90 -45", {"icon add id=1", kAll, kOn, kOff}}, {L"lay flat", {}},
      {L"turn 90 90 90 45", {"icon remove id=1", kFree, kOn, kOff, kOn, kOff}},
      // Not followed while disabled; followed again once enabled.
      {L"post disable", {}}, {L"post lock 2", {"icon add id=2", kAll}}, {L"tilt 0", {}},
      {L"turn 90 90 90 45", {}}, {L"post enable", {}}, {L"lay flat", {}},
      {L"turn 90 90 90 45", {"icon remove id=2", kFree, kOn, kOff, kOn, kOff}}}},
    // Either gesture toggles: the unlock gesture locks an unlocked phone.
    {"gestures with GesturesToggleLock", {{L"GesturesToggleLock", 1}}, 0,
     {{L"lay flat", {}}, {L"turn 90 90 90 45", {"icon add id=1", kAll, kOn, kOff}}, {L"lay flat", {}},
      {L"turn -90 -90 -90 -45", {"icon remove id=1", kFree, kOn, kOff, kOn, kOff}}}},
};

class ScenarioTest : public ControllerTest, public testing::WithParamInterface<Scenario> {};

TEST_P(ScenarioTest, EachStepBringsItsEvents) {
    Start(GetParam().options, GetParam().from);
    for (const Step& step : GetParam().steps) {
        SCOPED_TRACE(test::Narrow(step.command));
        const uint64_t since = LogCount();
        if (step.command == L"wake") {
            test::PlayAll({{L"power", L"suspend"}, {L"power", L"resume"}});
        } else if (step.command == L"lay flat") {
            Play({L"tilt", L"0"});
            const unsigned long reads = std::stoul(test::StateValue("sensor-reads"));
            EXPECT_TRUE(test::WaitUntil([&] { return std::stoul(test::StateValue("sensor-reads")) >= reads + 2; }))
                << "the gesture tick does not read the sensor";
        } else if (step.command == L"switch on the stylus options") {
            HWND window = settingstest::ShowSettings(*varnel);
            ASSERT_NE(window, nullptr);
            settingstest::Click(window, settingstest::kUnlockOnStylus);
            settingstest::Click(window, settingstest::kRelockOnStylus);
            settingstest::PressSoftKey(window, IDM_OK);
            ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(window); }));
        } else {
            using Words = std::istream_iterator<std::wstring, wchar_t>;
            std::wistringstream words(step.command);
            Play({Words(words), Words()});
        }
        EXPECT_EQ(LockEvents(since, step.events.size()), step.events);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, ScenarioTest, testing::ValuesIn(kScenarios));

// The full lock of a resume comes after the lock delay, not at once.
TEST_F(ControllerTest, LockEverythingLocksAfterTheLockDelay) {
    Start({{L"ResumeBehaviour", LockEverything}});
    const uint64_t since = LogCount();
    test::PlayAll({{L"power", L"suspend"}, {L"power", L"resume"}});
    EXPECT_EQ(LockEvents(since, 2), (Strings{"icon add id=1", kAll}));
    const Strings resumed = test::LogLines(test::FindLog("console power resume"));
    const Strings locked = test::LogLines(test::FindLog(kAll));
    ASSERT_FALSE(resumed.empty() || locked.empty());
    EXPECT_GE(std::stol(locked.front()) - std::stol(resumed.front()), 200) << "locked at once";
}

}  // namespace

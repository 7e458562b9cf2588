// Commands from other processes and the suspension counter: the command word's feedback bits,
// and what still acts while automatic handling is disabled.
#include "ControllerFixture.h"
#include "settings/Settings.h"

namespace {

using e2e::ControllerTest;
using e2e::Strings;
using test::Events;
using test::LogCount;
using test::Play;
using test::PlayAll;
using test::StateValue;
using test::WaitForLog;

using CommandTest = ControllerTest;
using DisabledTest = ControllerTest;

TEST_F(CommandTest, C001LocksThePanelAndForcesTheLockVibrationWithoutABeep) {
    Start({{L"Vibrate", 0}, {L"Beep", 1}});
    const uint64_t since = LogCount();
    Command(0xC001);
    EXPECT_EQ(LockEvents(since), (Strings{"icon add id=1", "input-lock enable=1"}));
    EXPECT_EQ(StateValue("panel"), "locked");
    EXPECT_EQ(WaitForVibration(since, 1), e2e::kLockPulse);
    EXPECT_GE(FirstPulseMs(since), 70u) << "the unlock pattern's short pulse";

    // A forced unlock beep now plays its two beeps; had the command beeped, there would be a
    // third, or the new pattern would have been dropped as one still played.
    const uint64_t beepSince = LogCount();
    Command(0x2000);
    ASSERT_GE(WaitForCount("beep", 2, beepSince), 0);
    EXPECT_EQ(Events(since, "beep").size(), 2u);
}

TEST_F(CommandTest, Word5000UnlocksWithFeedbackAsTheSettingsSay) {
    Start({{L"Vibrate", 1}, {L"Beep", 1}});
    Command(2);
    const uint64_t since = LogCount();
    Command(0x5000);
    EXPECT_EQ(LockEvents(since), (Strings{"icon remove id=1", "input-lock enable=1"}));
    EXPECT_EQ(WaitForVibration(since, 2), e2e::kUnlockPulses);
    ASSERT_GE(WaitForCount("beep", 2, since), 0);
}

TEST_F(CommandTest, Word5000WithTheSettingsOffGivesNoFeedback) {
    Start({{L"Vibrate", 0}, {L"Beep", 0}});
    Command(2);
    const uint64_t since = LogCount();
    Command(0x5000);
    // The lock pattern forced next is the first to play: an unlock pattern from the command
    // would come first, with its short pulse, or keep the new one from playing.
    Command(0x8001);
    EXPECT_EQ(WaitForVibration(since, 1), e2e::kLockPulse);
    EXPECT_GE(FirstPulseMs(since), 70u);
}

TEST_F(DisabledTest, ResumeStylusAndExternalPowerAreIgnored) {
    Start({{L"ResumeBehaviour", UnlockPhone}});
    PostAndSettle(L"disable", 2);
    const uint64_t since = LogCount();
    Play({L"stylus", L"out"});
    Wake();
    Play({L"ac", L"online"});  // after the resume: on external power a resume is ignored anyway
    // The screen going off still acts; by then everything before it has been handled, and had
    // anything unlocked, it would find nothing to do.
    Play({L"power", L"screen-off"});
    EXPECT_EQ(WaitForLockEvents(since, 1), (Strings{"input-lock enable=1"}));
}

TEST_F(DisabledTest, GesturesAreNotFollowed) {
    Start();
    PostAndSettle(L"disable", 2);
    Play({L"tilt", L"0"});
    const std::string reads = StateValue("sensor-reads");
    const uint64_t since = LogCount();
    Play({L"turn", L"90", L"90", L"90", L"45"});  // the unlock gesture, over about 1.75 s
    EXPECT_EQ(StateValue("sensor-reads"), reads) << "the tick read the sensor";
    PostAndSettle(L"enable", 2);
    EXPECT_EQ(LockEvents(since), (Strings{"input-lock enable=0"}));
    WaitTicks(2);  // and now it does
}

TEST_F(DisabledTest, CommandsCallsAndTheScreenGoingOffStillAct) {
    Start({{L"ResumeCallBehaviour", LockEverything}});
    Play({L"clock", L"hold"});
    Play({L"clock", L"5000"});  // an offer now is within 10 s of "resume 0"
    PostAndSettle(L"disable", 1);
    uint64_t since = LogCount();
    PlayAll({{L"call", L"incoming"}, {L"call", L"connect"}, {L"call", L"disconnect"}});
    // The offer locks everything, its answer unlocks.
    EXPECT_EQ(WaitForLockEvents(since, 3), (Strings{"input-lock enable=0", "icon remove id=1", "input-lock enable=1"}));

    Command(2);
    since = LogCount();
    PlayAll({{L"call", L"connect"}, {L"call", L"disconnect"}});  // the end of an outgoing call unlocks
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=2", "input-lock enable=1"}));

    Command(2);
    since = LogCount();
    Play({L"power", L"screen-off"});
    EXPECT_EQ(WaitForLockEvents(since, 1), (Strings{"input-lock enable=1"}));
}

TEST_F(DisabledTest, ADelayedLockArmedBeforeStillLocks) {
    Start({{L"ResumeBehaviour", LockEverything}});
    const uint64_t since = LogCount();
    Wake();
    // External power unlocks after the resume has armed the delay.
    Play({L"ac", L"online"});
    ASSERT_GE(WaitForLog("input-lock", since), 0);
    PostAndSettle(L"disable", 0);
    const int64_t settled = test::FindLog("input-lock", test::FindLog("console post lock", since));
    const int64_t locked = WaitForLog("input-lock enable=0", since);
    ASSERT_GE(locked, 0) << "the delayed lock did not come";
    EXPECT_GT(locked, settled) << "the delayed lock came before the disable: nothing shown";
    EXPECT_EQ(StateValue("input"), "locked");
}

}  // namespace

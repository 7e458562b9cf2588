// The stylus and the power line: unlock and relock in pairs with the state saved before, and
// the notifications that must change nothing.
#include "ControllerFixture.h"
#include "SettingsWindowSupport.h"
#include "app/AppGlobals.h"

namespace {

using e2e::ControllerTest;
using e2e::Strings;
using test::LogCount;
using test::Play;
using test::PlayAll;
using test::StateValue;
using test::WaitForLog;

using StylusTest = ControllerTest;
using PowerLineTest = ControllerTest;

TEST_F(StylusTest, PulledOutUnlocksAndPutBackRelocksToTheStateBefore) {
    Start({{L"RelockOnStylus", 1}});
    Command(1);
    uint64_t since = LogCount();
    Play({L"stylus", L"out"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=1", "input-lock enable=1"}));
    since = LogCount();
    Play({L"stylus", L"in"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon add id=2", "input-lock enable=1"}));
    EXPECT_EQ(StateValue("panel"), "locked");

    // Another value of the key changes, and the stylus value is written as it was: no change of
    // the stylus, nothing to do. A command after them is served after them.
    since = LogCount();
    PlayAll({{L"stylus", L"touch"}, {L"stylus", L"in"}});
    Command(2);
    EXPECT_EQ(LockEvents(since), (Strings{"input-lock enable=0"}));
}

TEST_F(StylusTest, WithoutRelockOnStylusPuttingItBackLeavesThePhoneUnlocked) {
    Start();
    Command(2);
    uint64_t since = LogCount();
    Play({L"stylus", L"out"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=1", "input-lock enable=1"}));
    since = LogCount();
    Play({L"stylus", L"in"});
    Command(1);
    EXPECT_EQ(LockEvents(since), (Strings{"icon add id=2", "input-lock enable=1"}));
}

// While UnlockOnStylus is off the stylus is not followed: once it is switched on in the settings
// window, the first change compares with the stylus seen before.
TEST_F(StylusTest, SwitchedOnUnlockOnStylusComparesWithTheStylusSeenBeforeItWasOff) {
    Start({{L"UnlockOnStylus", 0}, {L"RelockOnStylus", 1}});
    Command(2);
    uint64_t since = LogCount();
    Play({L"stylus", L"out"});
    Command(1);
    EXPECT_EQ(LockEvents(since), (Strings{"input-lock enable=1"})) << "unlocked with the option off";

    HWND window = settingstest::ShowSettings(*varnel);
    ASSERT_NE(window, nullptr);
    settingstest::Click(window, settingstest::kUnlockOnStylus);
    settingstest::Click(window, settingstest::kRelockOnStylus);
    settingstest::PressSoftKey(window, IDM_OK);
    ASSERT_TRUE(test::WaitUntil([&] { return !IsWindow(window); }));
    ASSERT_EQ(test::ReadSettingsDword(L"UnlockOnStylus"), 1u);
    ASSERT_EQ(test::ReadSettingsDword(L"RelockOnStylus"), 1u);

    since = LogCount();
    Play({L"stylus", L"in"});  // in, as it was last seen: no change
    Command(2);
    EXPECT_EQ(LockEvents(since), (Strings{"input-lock enable=0"})) << "taken as put back";
    since = LogCount();
    Play({L"stylus", L"out"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=1", "input-lock enable=1"}));
}

// Ignored notifications do not move the remembered stylus state: the first one handled again
// compares with the state from before.
TEST_F(StylusTest, WhileDisabledTheStylusIsNotFollowed) {
    Start({{L"RelockOnStylus", 1}});
    PostAndSettle(L"disable", 2);
    uint64_t since = LogCount();
    Play({L"stylus", L"out"});
    Command(1);
    EXPECT_EQ(LockEvents(since), (Strings{"input-lock enable=1"})) << "unlocked while disabled";

    PostAndSettle(L"enable", 2);
    since = LogCount();
    Play({L"stylus", L"in"});  // in, as it was last seen: no change
    Command(1);
    EXPECT_EQ(LockEvents(since), (Strings{"input-lock enable=1"})) << "taken as put back";
    since = LogCount();
    Play({L"stylus", L"out"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=1", "input-lock enable=1"}));
}

TEST_F(PowerLineTest, ExternalPowerUnlocksAndBatteryRelocksToTheStateBefore) {
    Start({{L"RelockOnBattery", 1}});
    Command(1);
    uint64_t since = LogCount();
    Play({L"ac", L"online"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=1", "input-lock enable=1"}));
    since = LogCount();
    Play({L"ac", L"offline"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon add id=2", "input-lock enable=1"}));
    EXPECT_EQ(StateValue("panel"), "locked");
}

TEST_F(PowerLineTest, OfTwoConnectsWithoutBatteryBetweenOnlyTheFirstActs) {
    Start({{L"RelockOnBattery", 1}});
    Command(2);
    uint64_t since = LogCount();
    Play({L"ac", L"online"});  // unlocks, remembering LOCKED_ALL
    ASSERT_EQ(WaitForLockEvents(since, 2).size(), 2u);

    // Backup power is not battery: online after it is a second connect. The power monitor reads
    // the line when it takes a change up, so each change is followed by the screen going off
    // (after a resume, ignored on external power), which frees the keys of the phone locked
    // entirely just before: once that is seen, the change has been read as it was set.
    since = LogCount();
    for (const wchar_t* line : {L"backup", L"online"}) {
        Command(2);
        const uint64_t changed = LogCount();
        PlayAll({{L"ac", line}, {L"power", L"resume"}, {L"power", L"screen-off"}});
        ASSERT_GE(WaitForLog("input-lock", changed), 0);
    }
    Play({L"ac", L"offline"});  // relocks to what the first connect saved
    EXPECT_EQ(WaitForLockEvents(since, 6), (Strings{"icon add id=2", "input-lock enable=0", "input-lock enable=1",
                                                    "input-lock enable=0", "input-lock enable=1",
                                                    "input-lock enable=0"}));
}

}  // namespace

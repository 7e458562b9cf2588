// Waking the phone: each ResumeBehaviour, the delayed full lock, and the resumes that must not
// lock: right after the stylus unlocked, during an answered call, on external power.
#include "ControllerFixture.h"
#include "settings/Settings.h"

namespace {

using e2e::ControllerTest;
using e2e::Strings;
using test::FindLog;
using test::LogCount;
using test::Play;
using test::PlayAll;
using test::StateValue;
using test::WaitForLog;

using ResumeTest = ControllerTest;

TEST_F(ResumeTest, WithTheDefaultsAWakeLocksThePanelAtOnce) {
    Start();
    const uint64_t since = LogCount();
    Wake();
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon add id=1", "input-lock enable=1"}));
    EXPECT_EQ(StateValue("panel"), "locked");
    EXPECT_EQ(StateValue("input"), "free");
    EXPECT_EQ(StateValue("icon"), "shown id=1");
}

struct BehaviourCase {
    DWORD behaviour;
    // From the wake on, up to the unlock by external power connected after it: the resume has
    // been handled by then, as the power queue is read in order.
    Strings events;
};
void PrintTo(const BehaviourCase& c, std::ostream* out) { *out << "ResumeBehaviour " << c.behaviour; }

class ResumeBehaviourTest : public ControllerTest, public testing::WithParamInterface<BehaviourCase> {};

TEST_P(ResumeBehaviourTest, ActsAtOnceOnAPhoneLockedEntirely) {
    Start({{L"ResumeBehaviour", GetParam().behaviour}});
    Command(2);
    const uint64_t since = LogCount();
    Wake();
    Play({L"ac", L"online"});
    EXPECT_EQ(WaitForLockEvents(since, GetParam().events.size()), GetParam().events);
}

INSTANTIATE_TEST_SUITE_P(
    EachBehaviour, ResumeBehaviourTest,
    testing::Values(BehaviourCase{DoNothing, {"icon remove id=1", "input-lock enable=1"}},
                    // The keys are freed; the panel lock and the icon stay.
                    BehaviourCase{LockPanel, {"input-lock enable=1", "icon remove id=1", "input-lock enable=1"}},
                    BehaviourCase{UnlockPhone, {"icon remove id=1", "input-lock enable=1", "input-lock enable=1"}},
                    // Any other value locks the panel.
                    BehaviourCase{7, {"input-lock enable=1", "icon remove id=1", "input-lock enable=1"}}));

TEST_F(ResumeTest, LockEverythingLocksAfterTheLockDelay) {
    Start({{L"ResumeBehaviour", LockEverything}});
    const uint64_t since = LogCount();
    Wake();
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon add id=1", "input-lock enable=0"}));
    const int64_t resumed = FindLog("console power resume", since);
    const int64_t locked = FindLog("input-lock", since);
    ASSERT_GE(locked, 0);
    EXPECT_GE(TimeOf(locked) - TimeOf(resumed), 200u) << "locked at once, not 250 ms later";
    EXPECT_EQ(StateValue("input"), "locked");
    EXPECT_EQ(StateValue("panel"), "locked");
}

TEST_F(ResumeTest, AResumeWithin200MsOfTheStylusUnlockKeepsThePhoneUnlocked) {
    Start();
    Play({L"clock", L"hold"});
    Command(2);
    uint64_t since = LogCount();
    Play({L"stylus", L"out"});  // unlocks at the held time T
    ASSERT_EQ(WaitForLockEvents(since, 2).size(), 2u);

    since = LogCount();
    Play({L"clock", L"advance", L"200"});
    Wake();
    // External power unlocks; the resume before it has been handled once that is seen.
    Play({L"ac", L"online"});
    ASSERT_GE(WaitForLog("input-lock", since), 0);
    Play({L"ac", L"offline"});
    Play({L"clock", L"advance", L"1"});
    Wake();  // T + 201: a wake-up of its own
    EXPECT_EQ(WaitForLockEvents(since, 3), (Strings{"input-lock enable=1", "icon add id=2", "input-lock enable=1"}));
}

TEST_F(ResumeTest, AResumeDuringAnAnsweredCallDoesNotLockButCountsForTheNextOffer) {
    Start();
    Play({L"clock", L"hold"});
    Command(2);
    uint64_t since = LogCount();
    PlayAll({{L"call", L"incoming"}, {L"call", L"connect"}});  // the connect unlocks
    ASSERT_EQ(WaitForLockEvents(since, 2).size(), 2u);

    since = LogCount();
    Wake();
    Play({L"ac", L"online"});
    ASSERT_GE(WaitForLog("input-lock", since), 0);
    EXPECT_EQ(LockEvents(since), (Strings{"input-lock enable=1"})) << "the resume locked";

    // A call waiting, offered at the time of that resume: within 10 s of it, so it applies
    // ResumeCallBehaviour (the panel lock), which it would not against "resume 0".
    since = LogCount();
    Play({L"call", L"incoming"});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon add id=2", "input-lock enable=1"}));
}

TEST_F(ResumeTest, OnExternalPowerAResumeDoesNothingAtAll) {
    Start({{L"RelockOnBattery", 1}});
    Play({L"clock", L"hold"});
    Command(2);
    uint64_t since = LogCount();
    Play({L"ac", L"online"});  // unlocks, remembering LOCKED_ALL
    ASSERT_EQ(WaitForLockEvents(since, 2).size(), 2u);

    since = LogCount();
    Wake();
    Play({L"ac", L"offline"});  // back to LOCKED_ALL
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon add id=2", "input-lock enable=0"})) << "the resume acted";

    // Nor was the resume counted: a call now is not within 10 s of it and does not lock. The
    // connect that follows unlocks, after the offer has been handled.
    since = LogCount();
    PlayAll({{L"call", L"incoming"}, {L"call", L"connect"}});
    EXPECT_EQ(WaitForLockEvents(since, 2), (Strings{"icon remove id=2", "input-lock enable=1"}));
}

struct ScreenOffCase {
    bool transcriber;
    uint32_t startWord;  // the command that puts the phone in its state before the screen goes off
    // From the screen going off up to the unlock by the resume after it.
    Strings events;
};
void PrintTo(const ScreenOffCase& c, std::ostream* out) {
    *out << "TranscriberCompatibility " << c.transcriber << ", command " << c.startWord;
}

class ScreenOffTest : public ControllerTest, public testing::WithParamInterface<ScreenOffCase> {};

TEST_P(ScreenOffTest, FreesTheKeysOfAPhoneLockedEntirelyAndLeavesOtherStatesAlone) {
    const ScreenOffCase& c = GetParam();
    Start({{L"TranscriberCompatibility", c.transcriber}, {L"ResumeBehaviour", UnlockPhone}});
    Command(c.startWord);
    const uint64_t since = LogCount();
    PlayAll({{L"power", L"screen-off"}, {L"power", L"resume"}});
    EXPECT_EQ(WaitForLockEvents(since, c.events.size()), c.events);
}

INSTANTIATE_TEST_SUITE_P(
    FromEachState, ScreenOffTest,
    testing::Values(
        ScreenOffCase{false, 2, {"input-lock enable=1", "icon remove id=1", "input-lock enable=1"}},
        // The panel cannot be locked alone: LOCKED_ALL stays and its request goes out again.
        ScreenOffCase{true, 2, {"input-lock enable=0", "icon remove id=1", "input-lock enable=1"}},
        ScreenOffCase{false, 1, {"icon remove id=1", "input-lock enable=1"}},
        ScreenOffCase{false, 0, {"input-lock enable=1"}}));

}  // namespace

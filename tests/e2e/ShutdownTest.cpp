// The end of the controller's loop: on the exit event, and at once when a source has no handle
// to wait on; the exit event's priority over other signalled events; and a burst of power
// messages served in one go.
#include <algorithm>
#include <string>

#include <windows.h>

#include "ControllerFixture.h"
#include "settings/Settings.h"

namespace {

using e2e::ControllerTest;
using e2e::PowerQueueHold;
using e2e::Strings;
using test::Events;
using test::LogCount;
using test::Matches;
using test::Play;
using testing::ElementsAre;
using testing::IsEmpty;

// The device's side of the controller's sources: registered and opened at the start, let go
// of in reverse order at the end.
Strings SourceEvents(uint64_t since) {
    Strings events;
    for (const std::string& event : Events(since)) {
        if (event.starts_with("power-notify") || event.starts_with("line ")) events.push_back(event);
    }
    return events;
}

using ShutdownTest = ControllerTest;

TEST_F(ShutdownTest, TheExitEventEndsTheLoopAndTheSourcesGoInReverse) {
    const uint64_t since = LogCount();
    Start();
    test::VarnelProcess stop(L"/u");
    EXPECT_EQ(stop.WaitExit(), 0u);
    EXPECT_EQ(varnel->WaitExit(), 0u);
    EXPECT_THAT(SourceEvents(since),
                ElementsAre("power-notify register flags=5", Matches("line initialize app=[0-9]+"),
                            "line open device=1 \"Cellular Line\" privileges=2", "line close",
                            Matches("line shutdown app=[0-9]+"), "power-notify stop"));
}

TEST_F(ShutdownTest, WithoutTheStylusKeyTheProgramEndsAsOnTheExitEvent) {
    // `devemu reset` writes the key again for the next case.
    ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd"), ERROR_SUCCESS);
    const uint64_t since = LogCount();
    test::VarnelProcess lone(L"");
    EXPECT_EQ(lone.WaitExit(), 0u);
    EXPECT_FALSE(test::InstanceRunning());
    EXPECT_THAT(SourceEvents(since),
                ElementsAre("power-notify register flags=5", Matches("line initialize app=[0-9]+"),
                            "line open device=1 \"Cellular Line\" privileges=2", "line close",
                            Matches("line shutdown app=[0-9]+"), "power-notify stop"));
    EXPECT_THAT(LockEvents(since), IsEmpty());
}

TEST_F(ShutdownTest, WithoutTelephonyTheProgramEndsAsOnTheExitEvent) {
    Play({L"tapi", L"fail-init"});
    const uint64_t since = LogCount();
    test::VarnelProcess lone(L"");
    EXPECT_EQ(lone.WaitExit(), 0u);
    EXPECT_FALSE(test::InstanceRunning());
    EXPECT_THAT(SourceEvents(since),
                ElementsAre("power-notify register flags=5", "line initialize refused", "power-notify stop"));
    EXPECT_THAT(LockEvents(since), IsEmpty());
}

TEST_F(ShutdownTest, TheExitEventWinsOverAnEventSignalledWithIt) {
    Start();
    Command(2);
    const uint64_t since = LogCount();
    {
        PowerQueueHold hold;
        ASSERT_TRUE(hold.Held());
        // The controller takes this message up and then waits for the queue, out of its wait.
        Play({L"power", L"backlight-off"});
        test::VarnelProcess stop(L"/u");
        ASSERT_EQ(stop.WaitExit(), 0u);
        Play({L"stylus", L"out"});  // would unlock
    }
    EXPECT_EQ(varnel->WaitExit(), 0u);
    // The icon goes with the program; the lock stays as it was.
    EXPECT_THAT(Events(since, "input-lock"), IsEmpty());
}

// While the controller waits for the queue, 1000 messages arrive, and after them a call whose
// event comes before the power queue's in the wait. Were the queue read one message per turn
// of the loop, the call would be served after the first message; it is served after the last.
TEST_F(ShutdownTest, ABurstOfPowerMessagesIsServedInOneTurnOfTheLoop) {
    Start({{L"ResumeCallBehaviour", LockEverything}});
    Play({L"clock", L"hold"});  // the call comes within 10 s of the resumes
    const uint64_t since = LogCount();
    {
        PowerQueueHold hold;
        ASSERT_TRUE(hold.Held());
        for (int i = 0; i < 500; ++i) {
            Play({L"power", L"screen-off"});
            Play({L"power", L"resume"});  // locks the panel, again and again
        }
        Play({L"call", L"incoming"});  // locks everything
    }
    ASSERT_GE(WaitForCount("input-lock", 501, since, 60000), 0);
    const Strings locks = Events(since, "input-lock");
    ASSERT_EQ(locks.size(), 501u);
    EXPECT_EQ(std::count(locks.begin(), locks.end() - 1, "input-lock enable=1"), 500);
    EXPECT_EQ(locks.back(), "input-lock enable=0") << "the call was served before the end of the burst";
    KernelHandle waiting(OpenEventW(SYNCHRONIZE, FALSE, e2e::PowerQueueObject(L":R").c_str()));
    ASSERT_TRUE(waiting);
    EXPECT_FALSE(test::Signalled(waiting.get())) << "messages left in the queue";

    Command(0);  // and the program still answers
}

}  // namespace

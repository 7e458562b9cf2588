// The end of the controller's loop, on the exit event or at once when a source has no handle,
// and the order in which the loop serves what its wait reports.
#include <algorithm>
#include <string>

#include <windows.h>

#include "ControllerFixture.h"
#include "Device.h"
#include "settings/Settings.h"

namespace {

using e2e::Strings;
using test::Events;
using test::LogCount;
using test::Play;
using testing::IsEmpty;

// The device's side of the controller's sources (not the calls the console makes), without the
// line application's number.
Strings SourceEvents() {
    Strings events;
    for (const std::string& event : Events()) {
        if (event.starts_with("power-notify") || (event.starts_with("line ") && !event.starts_with("line callstate"))) {
            events.push_back(event.substr(0, event.find(" app=")));
        }
    }
    return events;
}

// The kernel objects of the device's power queue, as the emulated coredll names them.
std::wstring PowerQueue(const wchar_t* suffix) { return devemu::ObjectName(L"msgq/POWER_MSG_QUEUE") + suffix; }

// Holds the power queue's lock: a controller woken by a power message then stays in its power
// handler, out of its wait, until the hold ends, while the test signals other handles.
struct PowerQueueHold {
    ~PowerQueueHold() {
        if (held) ReleaseMutex(mutex.get());
    }
    KernelHandle mutex{OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, PowerQueue(L"/lock").c_str())};
    bool held = mutex && WaitForSingleObject(mutex.get(), 10000) == WAIT_OBJECT_0;
};

using ShutdownTest = e2e::ControllerTest;

// Registered and opened at the start, let go of in reverse order at the end.
const Strings kSources = {"power-notify register flags=5", "line initialize",
                          "line open device=1 \"Cellular Line\" privileges=2", "line close", "line shutdown",
                          "power-notify stop"};

// Without the stylus key or without telephony the program ends at once, as on the exit event,
// leaving the device as the start made it: free, without an icon.
TEST_F(ShutdownTest, ASourceWithoutAHandleEndsTheProgramAsTheExitEventDoes) {
    for (bool telephony : {false, true}) {
        SCOPED_TRACE(telephony ? "no telephony" : "no stylus key");
        Fresh();  // `devemu reset` writes the key again
        if (telephony) Play({L"tapi", L"fail-init"});
        else ASSERT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"ControlPanel\\Keybd"), ERROR_SUCCESS);
        test::VarnelProcess lone(L"");
        EXPECT_EQ(lone.WaitExit(), 0u);
        EXPECT_FALSE(test::InstanceRunning());
        const Strings refused = {"power-notify register flags=5", "line initialize refused", "power-notify stop"};
        EXPECT_EQ(SourceEvents(), telephony ? refused : kSources);
        EXPECT_EQ(LockEvents(0), (Strings{"input-lock enable=1", "icon remove refused id=1 error=1168",
                                          "icon remove refused id=2 error=1168"}));
    }
}

// While the controller waits for the queue, 1000 messages arrive, and after them a call whose
// event comes before the power queue's in the wait. Were the queue read one message per turn
// of the loop, the call would be served after the first message; it is served after the last.
// Then the exit event, signalled while the controller waits for the queue again, wins over a
// stylus event signalled with it.
TEST_F(ShutdownTest, ABurstIsServedInOneTurnOfTheLoopAndTheExitEventWinsOverOtherEvents) {
    Start({{L"ResumeCallBehaviour", LockEverything}});
    Play({L"clock", L"hold"});  // the call comes within 10 s of the resumes
    const uint64_t since = LogCount();
    {
        PowerQueueHold hold;
        ASSERT_TRUE(hold.held) << "no program holds the power queue, or it is not let go";
        for (int i = 0; i < 500; ++i) {
            Play({L"power", L"screen-off"});
            Play({L"power", L"resume"});  // locks the panel, again and again
        }
        Play({L"call", L"incoming"});  // locks everything
    }
    Strings locks;
    test::WaitUntil([&] { return (locks = Events(since, "input-lock")).size() >= 501; }, 60000);
    ASSERT_EQ(locks.size(), 501u);
    EXPECT_EQ(std::count(locks.begin(), locks.end() - 1, "input-lock enable=1"), 500);
    EXPECT_EQ(locks.back(), "input-lock enable=0") << "the call was served before the end of the burst";
    KernelHandle waiting(OpenEventW(SYNCHRONIZE, FALSE, PowerQueue(L":R").c_str()));
    ASSERT_TRUE(waiting);
    EXPECT_FALSE(test::Signalled(waiting.get())) << "messages left in the queue";

    Command(0);  // and the program still answers

    const uint64_t exiting = LogCount();
    {
        PowerQueueHold hold;
        ASSERT_TRUE(hold.held);
        Play({L"power", L"backlight-off"});  // taken up, then the controller waits for the queue
        ASSERT_EQ(test::VarnelProcess(L"/u").WaitExit(), 0u);
        Play({L"stylus", L"out"});  // would unlock
    }
    EXPECT_EQ(varnel->WaitExit(), 0u);
    // The icon goes with the program; the lock stays as it was.
    EXPECT_THAT(Events(exiting, "input-lock"), IsEmpty());
    EXPECT_EQ(SourceEvents(), kSources);
}

}  // namespace

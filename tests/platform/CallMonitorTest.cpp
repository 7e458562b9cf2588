// The call monitor against the emulated telephony of a device of its own: calls are played with
// the device console, as the phone's radio would report them.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "platform/CallMonitor.h"

namespace {

using Command = std::vector<std::wstring>;
using testing::ElementsAre;

std::vector<CallEvent> Drain(CallMonitor& monitor) {
    std::vector<CallEvent> results;
    for (int i = 0; i < 50; ++i) {
        const CallEvent e = monitor.ReadCallEvent();
        if (e == TAPI_NONE) break;
        results.push_back(e);
    }
    return results;
}

class CallMonitorTest : public testing::Test {
protected:
    void SetUp() override { devemu::Device::Get().Reset(); }  // telephony ok, no call
};

TEST_F(CallMonitorTest, OpensTheCellularLineForMonitoringOnly) {
    CallMonitor monitor;
    EXPECT_GE(test::FindLog("line open device=1 \"Cellular Line\" privileges=2"), 0)
        << testing::PrintToString(test::LogLines());
    ASSERT_NE(monitor.EventHandle(), INVALID_HANDLE_VALUE);
    ASSERT_NE(monitor.EventHandle(), nullptr);
    EXPECT_FALSE(test::Signalled(monitor.EventHandle()));
    EXPECT_EQ(monitor.ReadCallEvent(), TAPI_NONE);
}

TEST_F(CallMonitorTest, EachCallReturnsTheNextVoiceCallEventUntilNoneIsLeft) {
    struct Case {
        const char* what;
        std::vector<Command> commands;
        std::vector<CallEvent> expected;
    };
    const Case cases[] = {
        {"an answered call",
         {{L"call", L"incoming"}, {L"call", L"connect"}, {L"call", L"disconnect"}},
         {TAPI_INCOMING_CALL, TAPI_CONNECTED, TAPI_DISCONNECTED}},
        {"inactive offering", {{L"call", L"incoming", L"--inactive"}}, {}},
        {"inactive offering, then active", {{L"call", L"incoming", L"--inactive"}, {L"call", L"state", L"2", L"1"}},
         {TAPI_INCOMING_CALL}},
        {"an outgoing call", {{L"call", L"connect"}, {L"call", L"disconnect"}}, {TAPI_CONNECTED, TAPI_DISCONNECTED}},
        {"held connection, disconnected in another mode",
         {{L"call", L"connect", L"--mode", L"4"}, {L"call", L"disconnect", L"--mode", L"0x20"}},
         {TAPI_DISCONNECTED}},
        {"other states", {{L"call", L"incoming"}, {L"call", L"state", L"0x400", L"1"}, {L"call", L"state", L"0x1", L"0"}},
         {TAPI_INCOMING_CALL}},
        {"a data call in every state",
         {{L"call", L"incoming", L"--data"}, {L"call", L"connect"}, {L"call", L"disconnect"}},
         {}},
        {"a data call, then a voice call",
         {{L"call", L"incoming", L"--data"}, {L"call", L"disconnect"}, {L"call", L"incoming"}},
         {TAPI_INCOMING_CALL}},
    };
    for (const Case& c : cases) {
        SetUp();
        CallMonitor monitor;
        test::PlayAll(c.commands);
        const bool waiting = test::Signalled(monitor.EventHandle());
        EXPECT_EQ(Drain(monitor), c.expected) << c.what;
        EXPECT_TRUE(waiting) << c.what << ": the event was not signalled";
        EXPECT_FALSE(test::Signalled(monitor.EventHandle())) << c.what << ": still signalled when drained";
    }
}

TEST_F(CallMonitorTest, WithoutTelephonyTheEventIsInvalidAndTheControllersWaitFails) {
    test::PlayAll({{L"tapi", L"fail-init"}});
    CallMonitor monitor;
    EXPECT_EQ(monitor.EventHandle(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(monitor.ReadCallEvent(), TAPI_NONE);
    KernelHandle other(CreateEventW(nullptr, FALSE, TRUE, nullptr));
    const HANDLE handles[] = {other.get(), monitor.EventHandle()};
    EXPECT_EQ(WaitForMultipleObjects(2, handles, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(CallMonitorTest, ALineNamedInOtherLetterCaseIsNotTheCellularLine) {
    test::PlayAll({{L"tapi", L"no-cellular"}});
    CallMonitor monitor;
    EXPECT_GE(test::FindLog("line open LINEMAPPER refused"), 0);
    EXPECT_LT(test::FindLog("line open device="), 0) << "opened the line named \"cellular line\"";
    ASSERT_NE(monitor.EventHandle(), INVALID_HANDLE_VALUE);
    test::PlayAll({{L"call", L"incoming"}});
    EXPECT_FALSE(test::Signalled(monitor.EventHandle()));
    EXPECT_EQ(monitor.ReadCallEvent(), TAPI_NONE);
}

TEST_F(CallMonitorTest, DestructionClosesTheLineThenShutsTelephonyDown) {
    {
        CallMonitor monitor;
    }
    const int64_t close = test::FindLog("line close");
    const int64_t shutdown = test::FindLog("line shutdown");
    EXPECT_GE(close, 0);
    EXPECT_GT(shutdown, close);
    const uint64_t since = test::LogCount();
    test::PlayAll({{L"call", L"incoming"}});
    EXPECT_GE(test::FindLog("apps=0", since), 0);
}

}  // namespace

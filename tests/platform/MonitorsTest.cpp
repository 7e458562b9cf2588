// The power, call and stylus monitors against the emulated power manager, telephony and registry:
// notifications, calls and the stylus are played with the device console, as the phone sends them.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "app/Trace.h"
#include "ce/MsgQueue.h"
#include "platform/CallMonitor.h"
#include "platform/PowerMonitor.h"
#include "platform/RegistryWatcher.h"

namespace {

// Long enough for a registry notification from the server to arrive on a busy machine.
constexpr DWORD kSignalWait = 10000;

// Powered on, AC offline, no call, "StylusOutStatus" 0. The stylus value is the prefix's, not a
// device's: it is put back for the programs that follow.
class MonitorTest : public testing::Test {
protected:
    void SetUp() override { test::Play({L"reset"}); }
    void TearDown() override { test::Play({L"reset"}); }
};

TEST_F(MonitorTest, PowerMessagesGiveOneResultPerCallAndEachLineChangeOnce) {
    test::Play({L"power", L"suspend"});
    PowerMonitor monitor;  // compares from the current state's word on
    test::PlayAll({{L"power", L"suspend"},                          // the same word: read past
                   {L"power", L"flags", L"0x00110000", L"OnIdle"},  // on and idle set: resume wins
                   {L"power", L"resume"},                           // idle gone, backlight set: none
                   {L"power", L"backlight-off"},
                   {L"power", L"flags", L"0x02000000", L"BacklightOnly"},  // on gone: none
                   {L"power", L"backlight-off"}});  // on set, backlight gone: resume wins
    const HANDLE queue = monitor.QueueHandle();
    for (auto expected : {NOTIFICATION_RESUME, NOTIFICATION_BACKLIGHT_OFF, NOTIFICATION_RESUME}) {
        EXPECT_TRUE(test::Signalled(queue)) << "before " << expected;
        EXPECT_EQ(monitor.ReadNotification(), expected);
    }
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_NONE);
    EXPECT_FALSE(test::Signalled(queue));

    // A status change reports the line as it is when read: one change at a time.
    const std::pair<std::vector<std::wstring>, PowerNotification> lines[] = {
        {{L"power", L"status"}, NOTIFICATION_ON_BATTERY_POWER},  // the first reports the line
        {{L"power", L"status"}, NOTIFICATION_NONE},
        {{L"ac", L"online"}, NOTIFICATION_ON_AC_POWER},
        {{L"ac", L"backup"}, NOTIFICATION_NONE},
        {{L"ac", L"online"}, NOTIFICATION_ON_AC_POWER},
    };
    for (const auto& [command, expected] : lines) {
        test::Play(command);
        EXPECT_EQ(monitor.ReadNotification(), expected) << test::Narrow(command.back());
    }
    EXPECT_FALSE(test::Signalled(queue));
}

std::vector<std::string> traces;

// The transition trace names the state as far as the message carries it, in UTF-8, whatever its
// length field claims; the text is cut at the trace's 255 characters.
TEST_F(MonitorTest, TheTransitionTraceNamesTheStateTheMessageCarries) {
    struct Case {
        std::wstring name;
        DWORD lengthField;  // in bytes; kAsSent: the name's own, terminator included
        bool terminated;
        std::string expected;
    };
    constexpr DWORD kAsSent = 0xFFFFFFFF;
    const std::wstring longName(259, L'n');
    const std::string prefix = "PBT_TRANSITION, state: 00200000 ";
    const Case cases[] = {
        {L"On", kAsSent, true, prefix + "On\n"},
        {L"Suspend", 520, true, prefix + "Suspend\n"},       // claims more than was sent
        {L"Suspend", 6, true, prefix + "Sus\n"},             // claims less
        {L"Unterminated", kAsSent, false, prefix + "Unterminated\n"},
        {L"", 0, false, prefix + "\n"},
        {L"\u00C9cran \u00E9teint", kAsSent, true, prefix + "\xC3\x89" "cran \xC3\xA9teint\n"},
        {longName, kAsSent, true, (prefix + std::string(259, 'n')).substr(0, 255)},
    };
    PowerMonitor monitor;
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, 534, FALSE};
    MsgQueueHandle writer(CreateMsgQueue(L"POWER_MSG_QUEUE", &options));
    traces.clear();
    SetTraceSink([](const char* text) {
        if (std::string(text).starts_with("PBT_TRANSITION")) traces.push_back(text);
    });
    for (const Case& c : cases) {
        const DWORD nameBytes = static_cast<DWORD>((c.name.size() + (c.terminated ? 1 : 0)) * sizeof(wchar_t));
        std::vector<BYTE> message(kPowerBroadcastHeader + nameBytes);
        const DWORD lengthField = c.lengthField == kAsSent ? nameBytes : c.lengthField;
        const DWORD header[3] = {PBT_TRANSITION, POWER_STATE_SUSPEND, lengthField};
        std::memcpy(message.data(), header, sizeof header);
        std::memcpy(message.data() + kPowerBroadcastHeader, c.name.c_str(), nameBytes);
        ASSERT_TRUE(WriteMsgQueue(writer.get(), message.data(), static_cast<DWORD>(message.size()), 0, 0));
        while (monitor.ReadNotification() != NOTIFICATION_NONE) {
        }
    }
    SetTraceSink(nullptr);
    ASSERT_EQ(traces.size(), std::size(cases));
    for (size_t i = 0; i < traces.size(); ++i) EXPECT_EQ(traces[i], cases[i].expected) << "case " << i;
}

TEST_F(MonitorTest, OnlyActiveStatesOfVoiceCallsOnTheCellularLineAreReported) {
    {
        CallMonitor monitor;
        EXPECT_GE(test::FindLog("line open device=1 \"Cellular Line\" privileges=2"), 0);
        test::PlayAll({{L"call", L"incoming", L"--data"}, {L"call", L"connect"},
                       {L"call", L"disconnect"},  // a data call
                       {L"call", L"incoming", L"--inactive"}, {L"call", L"state", L"2", L"1"},
                       {L"call", L"connect", L"--mode", L"4"},  // held by a conference
                       {L"call", L"connect"}, {L"call", L"disconnect", L"--mode", L"0x20"}});
        for (CallEvent expected : {TAPI_INCOMING_CALL, TAPI_CONNECTED, TAPI_DISCONNECTED}) {
            EXPECT_TRUE(test::Signalled(monitor.EventHandle())) << "before " << expected;
            EXPECT_EQ(monitor.ReadCallEvent(), expected);
        }
        EXPECT_EQ(monitor.ReadCallEvent(), TAPI_NONE);
        EXPECT_FALSE(test::Signalled(monitor.EventHandle()));
    }
    test::Play({L"tapi", L"no-cellular"});  // a "cellular line" only
    CallMonitor monitor;
    EXPECT_GE(test::FindLog("line open LINEMAPPER refused"), 0);
    test::Play({L"call", L"incoming"});
    EXPECT_EQ(monitor.ReadCallEvent(), TAPI_NONE);
}

TEST_F(MonitorTest, EveryStylusChangeIsReadAndRearmedOnceAndAMalformedValueKeepsTheFlag) {
    RegistryWatcher watcher;
    EXPECT_TRUE(watcher.IsStylusIn());
    EXPECT_FALSE(test::Signalled(watcher.ChangeHandle()));
    const std::pair<std::vector<std::wstring>, bool> changes[] = {
        {{L"stylus", L"out"}, false},
        {{L"stylus", L"touch"}, false},  // another value: no change
        {{L"stylus", L"raw", L"sz", L"0"}, false},
        {{L"stylus", L"raw", L"dword", L"0000"}, false},       // two bytes
        {{L"stylus", L"raw", L"binary", L"00000000"}, false},  // four bytes of another type
        {{L"stylus", L"in"}, true},
        {{L"stylus", L"in"}, true},  // rewritten: signalled again
    };
    for (const auto& [command, in] : changes) {
        SCOPED_TRACE(test::Narrow(command[1] + L" " + command.back()));
        test::Play(command);
        EXPECT_TRUE(test::Signalled(watcher.ChangeHandle(), kSignalWait));
        watcher.Refresh();
        EXPECT_EQ(watcher.IsStylusIn(), in);
        EXPECT_FALSE(test::Signalled(watcher.ChangeHandle())) << "re-armed, but still signalled";
    }
}

}  // namespace

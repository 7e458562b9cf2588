// The power and call monitors against the emulated power manager and telephony of a device of
// their own: notifications and calls are played with the device console, as the phone sends them.
#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "platform/CallMonitor.h"
#include "platform/PowerMonitor.h"

namespace {

using Commands = std::vector<std::vector<std::wstring>>;

// As the lock controller drains: while the handle is signalled, one result per call of `read`
// until a call reports none (with bounds, should it never stop).
template <class Read>
auto Drain(HANDLE handle, Read read) {
    std::vector<decltype(read())> results;
    for (int wake = 0; wake < 20 && test::Signalled(handle); ++wake) {
        for (auto r = read(); r != 0 && results.size() < 50; r = read()) results.push_back(r);
    }
    EXPECT_FALSE(test::Signalled(handle)) << "still signalled when drained";
    return results;
}

class MonitorTest : public testing::Test {
protected:
    void SetUp() override { test::Play({L"reset"}); }  // powered on, AC offline, no call
};

TEST_F(MonitorTest, EachPowerNotificationCallReadsPastEqualWordsToOneResult) {
    test::Play({L"power", L"screen-off"});
    PowerMonitor monitor;  // from the word of the current state on
    test::PlayAll({{L"power", L"screen-off"}, {L"power", L"resume"}, {L"power", L"resume"},
                   {L"power", L"backlight-off"}, {L"power", L"screen-off"}});
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_RESUME);
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_BACKLIGHT_OFF);
    EXPECT_TRUE(test::Signalled(monitor.QueueHandle()));
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_SCREEN_OFF);
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_NONE);
    EXPECT_FALSE(test::Signalled(monitor.QueueHandle()));
}

// Each step plays its commands, then drains the queue.
TEST_F(MonitorTest, PowerNotificationsAreDrainedInOrder) {
    const std::vector<std::wstring> status = {L"power", L"status"};
    const struct {
        const char* what;
        std::vector<std::pair<Commands, std::vector<PowerNotification>>> steps;
    } cases[] = {
        {"on set, idle set and the backlight gone at once: resume wins",
         {{{{L"power", L"flags", L"0x02000000", L"BacklightOnly"},
            {L"power", L"flags", L"0x00110000", L"OnIdle"}},
           {NOTIFICATION_RESUME}}}},
        {"the first status change reports the line, later ones on the same line nothing",
         {{{status}, {NOTIFICATION_ON_BATTERY_POWER}},
          {{status, status}, {}},
          {{{L"ac", L"offline"}}, {}}}},
        {"online, backup, online",
         {{{{L"ac", L"online"}}, {NOTIFICATION_ON_AC_POWER}},
          {{{L"ac", L"backup"}}, {}},
          {{{L"ac", L"online"}}, {NOTIFICATION_ON_AC_POWER}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::Play({L"reset"});
        PowerMonitor monitor;
        for (const auto& [commands, expected] : c.steps) {
            test::PlayAll(commands);
            EXPECT_EQ(Drain(monitor.QueueHandle(), [&] { return monitor.ReadNotification(); }),
                      expected);
        }
    }
}

TEST_F(MonitorTest, CallEventsOfVoiceCallsInTheirActiveModesAreDrainedInOrder) {
    const struct {
        const char* what;
        Commands commands;
        std::vector<CallEvent> expected;
    } cases[] = {
        {"an answered call",
         {{L"call", L"incoming"}, {L"call", L"connect"}, {L"call", L"disconnect"}},
         {TAPI_INCOMING_CALL, TAPI_CONNECTED, TAPI_DISCONNECTED}},
        {"inactive offering, then active",
         {{L"call", L"incoming", L"--inactive"}, {L"call", L"state", L"2", L"1"}},
         {TAPI_INCOMING_CALL}},
        {"held connection, disconnected in another mode",
         {{L"call", L"connect", L"--mode", L"4"}, {L"call", L"disconnect", L"--mode", L"0x20"}},
         {TAPI_DISCONNECTED}},
        {"a data call, then a voice call",
         {{L"call", L"incoming", L"--data"}, {L"call", L"connect"}, {L"call", L"disconnect"},
          {L"call", L"incoming"}},
         {TAPI_INCOMING_CALL}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::Play({L"reset"});
        const uint64_t since = test::LogCount();
        CallMonitor monitor;
        EXPECT_GE(test::FindLog("line open device=1 \"Cellular Line\" privileges=2", since), 0);
        test::PlayAll(c.commands);
        EXPECT_TRUE(test::Signalled(monitor.EventHandle()));
        EXPECT_EQ(Drain(monitor.EventHandle(), [&] { return monitor.ReadCallEvent(); }),
                  c.expected);
    }
}

TEST_F(MonitorTest, ALineNamedCellularLineInOtherLetterCaseIsNotOpened) {
    test::Play({L"tapi", L"no-cellular"});  // a "cellular line" only
    CallMonitor monitor;
    EXPECT_GE(test::FindLog("line open LINEMAPPER refused"), 0);
    EXPECT_LT(test::FindLog("line open device="), 0);
    test::Play({L"call", L"incoming"});
    EXPECT_EQ(monitor.ReadCallEvent(), TAPI_NONE);
}

}  // namespace

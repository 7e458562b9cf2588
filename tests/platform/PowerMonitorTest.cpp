// The power monitor against the emulated power manager of a device of its own: notifications
// are sent with the device console, as the phone would send them.
#include <cstring>
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "app/Trace.h"
#include "platform/PowerMonitor.h"

namespace {

using Command = std::vector<std::wstring>;
using testing::ElementsAre;
using testing::HasSubstr;

std::string traced;
void TraceToString(const char* text) { traced += text; }

// As the lock controller drains: while the queue handle is signalled, ReadNotification until it
// reports nothing (with bounds, should it never stop).
std::vector<PowerNotification> Drain(PowerMonitor& monitor) {
    std::vector<PowerNotification> results;
    for (int wake = 0; wake < 20 && test::Signalled(monitor.QueueHandle()); ++wake) {
        for (int i = 0; i < 50; ++i) {
            const PowerNotification n = monitor.ReadNotification();
            if (n == NOTIFICATION_NONE) break;
            results.push_back(n);
        }
    }
    return results;
}

// The queue's other end, for messages the console never sends.
class QueueWriter {
public:
    QueueWriter() {
        MSGQUEUEOPTIONS options{sizeof options, 0, 0, 4096, FALSE};
        queue_.reset(CreateMsgQueue(L"POWER_MSG_QUEUE", &options));
    }
    bool Write(DWORD message, DWORD flags, const std::wstring& name) {
        std::vector<BYTE> bytes(kPowerBroadcastHeader + (name.size() + 1) * sizeof(wchar_t));
        const DWORD header[3] = {message, flags, static_cast<DWORD>(bytes.size() - kPowerBroadcastHeader)};
        std::memcpy(bytes.data(), header, sizeof header);
        std::memcpy(bytes.data() + kPowerBroadcastHeader, name.c_str(), bytes.size() - kPowerBroadcastHeader);
        return WriteMsgQueue(queue_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), 0, 0);
    }

private:
    MsgQueueHandle queue_;
};

class PowerMonitorTest : public testing::Test {
protected:
    void SetUp() override {
        Fresh();
        previousSink = SetTraceSink(TraceToString);
    }
    static void Fresh() {
        devemu::Device::Get().Reset();  // powered on, AC offline
        traced.clear();
    }
    void TearDown() override { SetTraceSink(previousSink); }

    TraceSink previousSink = nullptr;
};

TEST_F(PowerMonitorTest, RegistersItsQueueForTransitionsAndStatusChanges) {
    const uint64_t since = test::LogCount();
    PowerMonitor monitor;
    EXPECT_GE(test::FindLog("power-notify register flags=5", since), 0);
    ASSERT_NE(monitor.QueueHandle(), nullptr);
    EXPECT_FALSE(test::Signalled(monitor.QueueHandle()));
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_NONE);
}

// Each step plays its commands, then drains the queue. The AC line is read when its status
// message is, so line changes meant to be seen one by one are steps of their own.
TEST_F(PowerMonitorTest, DrainingYieldsTheResultsInOrder) {
    struct Step {
        std::vector<Command> commands;
        std::vector<PowerNotification> expected;
    };
    struct Case {
        const char* what;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {"same state as at start", {{{{L"power", L"resume"}}, {}}}},
        {"sleep and wake",
         {{{{L"power", L"suspend"}, {L"power", L"resume"}}, {NOTIFICATION_BACKLIGHT_OFF, NOTIFICATION_RESUME}}}},
        {"dimming, then screen off, then unattended",
         {{{{L"power", L"backlight-off"}, {L"power", L"screen-off"}, {L"power", L"unattended"}},
           {NOTIFICATION_BACKLIGHT_OFF, NOTIFICATION_SCREEN_OFF, NOTIFICATION_SCREEN_OFF}}}},
        {"on and idle set together",
         {{{{L"power", L"suspend"}, {L"power", L"flags", L"0x00110000", L"OnIdle"}},
           {NOTIFICATION_BACKLIGHT_OFF, NOTIFICATION_RESUME}}}},
        {"a transition that means nothing still moves the last state",
         {{{{L"power", L"flags", L"0x02000000", L"BacklightOnly"}, {L"power", L"resume"}}, {NOTIFICATION_RESUME}}}},
        {"the first status change reports the line, later ones on the same line nothing",
         {{{{L"power", L"status"}}, {NOTIFICATION_ON_BATTERY_POWER}},
          {{{L"power", L"status"}}, {}},
          {{{L"ac", L"offline"}}, {}}}},
        {"online, backup, online",
         {{{{L"ac", L"online"}}, {NOTIFICATION_ON_AC_POWER}},
          {{{L"ac", L"backup"}}, {}},
          {{{L"ac", L"online"}}, {NOTIFICATION_ON_AC_POWER}}}},
        {"plugged twice", {{{{L"ac", L"online"}, {L"ac", L"online"}}, {NOTIFICATION_ON_AC_POWER}}}},
        {"unknown line at first",
         {{{{L"ac", L"unknown"}}, {}}, {{{L"ac", L"offline"}}, {NOTIFICATION_ON_BATTERY_POWER}}}},
        {"a status change between transitions",
         {{{{L"power", L"screen-off"}, {L"ac", L"online"}, {L"power", L"resume"}},
           {NOTIFICATION_SCREEN_OFF, NOTIFICATION_ON_AC_POWER, NOTIFICATION_RESUME}}}},
    };
    for (const Case& c : cases) {
        Fresh();
        PowerMonitor monitor;
        int index = 0;
        for (const Step& step : c.steps) {
            test::PlayAll(step.commands);
            EXPECT_EQ(Drain(monitor), step.expected) << c.what << ", step " << index;
            EXPECT_FALSE(test::Signalled(monitor.QueueHandle())) << c.what << ", step " << index << ": still signalled";
            ++index;
        }
    }
}

TEST_F(PowerMonitorTest, TransitionsThatMeanNothingAreReadPastWithinOneCall) {
    PowerMonitor monitor;
    test::PlayAll({{L"power", L"resume"},                           // the same word
                   {L"power", L"flags", L"0x12010000", L"Locked"},  // an untested bit
                   {L"power", L"screen-off"}});
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_SCREEN_OFF);
    EXPECT_FALSE(test::Signalled(monitor.QueueHandle()));
}

TEST_F(PowerMonitorTest, AStatusChangeThatMeansNothingEndsTheCallAndLeavesTheRestQueued) {
    PowerMonitor monitor;
    test::PlayAll({{L"power", L"status"}, {L"power", L"status"}, {L"power", L"screen-off"}});
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_ON_BATTERY_POWER);
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_NONE);
    EXPECT_TRUE(test::Signalled(monitor.QueueHandle()));
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_SCREEN_OFF);
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_NONE);
    EXPECT_FALSE(test::Signalled(monitor.QueueHandle()));
}

TEST_F(PowerMonitorTest, StartsFromTheCurrentSystemPowerState) {
    test::PlayAll({{L"power", L"screen-off"}});
    PowerMonitor monitor;
    test::PlayAll({{L"power", L"screen-off"}, {L"power", L"resume"}});
    EXPECT_THAT(Drain(monitor), ElementsAre(NOTIFICATION_RESUME));
}

TEST_F(PowerMonitorTest, TracesEveryMessageAndEveryDecision) {
    PowerMonitor monitor;
    test::PlayAll({{L"power", L"screen-off"}, {L"power", L"resume"}, {L"ac", L"online"}});
    Drain(monitor);
    EXPECT_EQ(traced,
              "PBT_TRANSITION, state: 00100000 ScreenOff\n"
              "NOTIFICATION_SCREEN_OFF\n"
              "PBT_TRANSITION, state: 02010000 On\n"
              "NOTIFICATION_RESUME\n"
              "PBT_POWERSTATUSCHANGE\n");
}

TEST_F(PowerMonitorTest, AMessageTooLongToReadEndsOneCallAndIsGone) {
    PowerMonitor monitor;
    QueueWriter writer;
    ASSERT_TRUE(writer.Write(PBT_TRANSITION, POWER_STATE_IDLE, std::wstring(300, L'x')));
    test::PlayAll({{L"power", L"screen-off"}});
    EXPECT_EQ(monitor.ReadNotification(), NOTIFICATION_NONE);
    EXPECT_TRUE(test::Signalled(monitor.QueueHandle()));
    EXPECT_THAT(Drain(monitor), ElementsAre(NOTIFICATION_SCREEN_OFF));
}

TEST_F(PowerMonitorTest, OtherMessageKindsAreSkipped) {
    PowerMonitor monitor;
    QueueWriter writer;
    ASSERT_TRUE(writer.Write(PBT_RESUME, 0, L""));
    ASSERT_TRUE(writer.Write(0x100, POWER_STATE_IDLE, L"ScreenOff"));
    test::PlayAll({{L"power", L"unattended"}});
    EXPECT_THAT(Drain(monitor), ElementsAre(NOTIFICATION_SCREEN_OFF));
    EXPECT_THAT(traced, testing::Not(HasSubstr("00100000")));
}

TEST_F(PowerMonitorTest, DestructionEndsTheRegistrationThenTheQueue) {
    {
        PowerMonitor monitor;
    }
    EXPECT_GE(test::FindLog("power-notify stop"), 0);
    const uint64_t since = test::LogCount();
    test::PlayAll({{L"power", L"screen-off"}});
    EXPECT_GE(test::FindLog("queues=0", since), 0);
    // Nobody holds the queue any more: creating it again makes a new one.
    MSGQUEUEOPTIONS options{sizeof options, 0, 0, 16, TRUE};
    MsgQueueHandle queue(CreateMsgQueue(L"POWER_MSG_QUEUE", &options));
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

}  // namespace

// The emulated power manager: registrations, the power state and the battery status that the
// device console sets.
#include <string>

#include <gmock/gmock.h>

#include "Device.h"
#include "TestSupport.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"

namespace {

MsgQueueHandle OpenReader(const wchar_t* name) {
    MSGQUEUEOPTIONS options{sizeof options, 0, 0, 534, TRUE};
    return MsgQueueHandle(CreateMsgQueue(name, &options));
}

// The kind of each waiting message, oldest first.
std::vector<DWORD> Messages(HANDLE queue) {
    std::vector<DWORD> kinds;
    alignas(POWER_BROADCAST) BYTE buffer[534];
    DWORD size = 0, flags = 0;
    while (ReadMsgQueue(queue, buffer, sizeof buffer, &size, 0, &flags)) {
        kinds.push_back(reinterpret_cast<const POWER_BROADCAST*>(buffer)->Message);
    }
    return kinds;
}

class PowerManagerTest : public testing::Test {
protected:
    void SetUp() override { devemu::Device::Get().Reset(); }
};

TEST_F(PowerManagerTest, TheSystemPowerStateIsTheConsolesLastTransition) {
    WCHAR name[80] = L"unchanged";
    DWORD flags = 0;
    EXPECT_EQ(GetSystemPowerState(name, 80, &flags), 0u);
    EXPECT_EQ(std::wstring(name), L"On");
    EXPECT_EQ(flags, POWER_STATE_ON | POWER_STATE_BACKLIGHTON);

    test::Play({L"power", L"flags", L"0x00100001", L"Dim"});
    EXPECT_EQ(GetSystemPowerState(name, 80, &flags), 0u);
    EXPECT_EQ(std::wstring(name), L"Dim");
    EXPECT_EQ(flags, 0x00100001u);
    EXPECT_EQ(GetSystemPowerState(name, 3, &flags), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(GetSystemPowerState(nullptr, 0, &flags), 0u) << "the flags alone";
}

TEST_F(PowerManagerTest, TheStatusReportsTheConsolesAcLineAndTheLengthFilled) {
    struct Case {
        const wchar_t* word;
        BYTE line;
    };
    const Case cases[] = {{L"online", AC_LINE_ONLINE}, {L"backup", AC_LINE_BACKUP_POWER},
                          {L"unknown", AC_LINE_UNKNOWN}, {L"offline", AC_LINE_OFFLINE}};
    for (const Case& c : cases) {
        test::Play({L"ac", c.word});
        SYSTEM_POWER_STATUS_EX2 status{};
        status.ACLineStatus = 0x77;
        EXPECT_EQ(GetSystemPowerStatusEx2(&status, sizeof status, FALSE), 56u);
        EXPECT_EQ(status.ACLineStatus, c.line) << test::Narrow(c.word);
    }
    SYSTEM_POWER_STATUS_EX2 status{};
    EXPECT_EQ(GetSystemPowerStatusEx2(&status, 4, TRUE), 4u);
    EXPECT_EQ(GetSystemPowerStatusEx2(nullptr, 56, FALSE), 0u);
}

TEST_F(PowerManagerTest, AQueueReceivesOnlyTheKindsItWasRegisteredFor) {
    MsgQueueHandle transitions = OpenReader(L"test/transitions");
    MsgQueueHandle statuses = OpenReader(L"test/statuses");
    MsgQueueHandle both = OpenReader(L"test/both");
    PowerNotifications a(RequestPowerNotifications(transitions.get(), PBT_TRANSITION));
    PowerNotifications b(RequestPowerNotifications(statuses.get(), PBT_POWERSTATUSCHANGE));
    PowerNotifications c(RequestPowerNotifications(both.get(), POWER_NOTIFY_ALL));
    ASSERT_TRUE(a && b && c);
    EXPECT_GE(test::FindLog("power-notify register flags=1"), 0);
    EXPECT_GE(test::FindLog("power-notify register flags=FFFFFFFF"), 0);

    test::Play({L"power", L"suspend"});
    test::Play({L"ac", L"online"});
    test::Play({L"power", L"status"});
    EXPECT_THAT(Messages(transitions.get()), testing::ElementsAre(PBT_TRANSITION));
    EXPECT_THAT(Messages(statuses.get()),
                testing::ElementsAre(PBT_POWERSTATUSCHANGE, PBT_POWERSTATUSCHANGE));
    EXPECT_THAT(Messages(both.get()),
                testing::ElementsAre(PBT_TRANSITION, PBT_POWERSTATUSCHANGE, PBT_POWERSTATUSCHANGE));

    b.reset();  // StopPowerNotifications
    EXPECT_GE(test::FindLog("power-notify stop"), 0);
    test::Play({L"ac", L"offline"});
    EXPECT_FALSE(test::Signalled(statuses.get()));
    EXPECT_TRUE(test::Signalled(both.get()));
}

TEST_F(PowerManagerTest, RegistrationNeedsTheReadEndOfANamedQueue) {
    MSGQUEUEOPTIONS options{sizeof options, 0, 0, 534, TRUE};
    MsgQueueHandle unnamed(CreateMsgQueue(nullptr, &options));
    ASSERT_TRUE(unnamed);
    EXPECT_EQ(RequestPowerNotifications(unnamed.get(), PBT_TRANSITION), nullptr);
    options.bReadAccess = FALSE;
    MsgQueueHandle writer(CreateMsgQueue(L"test/writer", &options));
    EXPECT_EQ(RequestPowerNotifications(writer.get(), PBT_TRANSITION), nullptr);
    MsgQueueHandle reader = OpenReader(L"test/writer");
    EXPECT_EQ(RequestPowerNotifications(reader.get(), 0), nullptr);
    EXPECT_EQ(RequestPowerNotifications(nullptr, PBT_TRANSITION), nullptr);
    EXPECT_NE(StopPowerNotifications(reinterpret_cast<HANDLE>(0x7777)), 0u);
}

TEST_F(PowerManagerTest, AQueueThatIsGoneLosesItsRegistration) {
    HANDLE registration = nullptr;
    {
        MsgQueueHandle queue = OpenReader(L"test/gone");
        registration = RequestPowerNotifications(queue.get(), PBT_TRANSITION);
        ASSERT_NE(registration, nullptr);
    }
    const uint64_t since = test::LogCount();
    test::Play({L"power", L"suspend"});
    EXPECT_GE(test::FindLog("queues=0", since), 0);
    EXPECT_EQ(StopPowerNotifications(registration), static_cast<DWORD>(ERROR_INVALID_HANDLE))
        << "the console kept the registration of a queue that no longer exists";
}

}  // namespace

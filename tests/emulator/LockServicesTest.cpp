// The emulated services behind the lock machinery: the input lock, the notification LEDs, the
// touch library's presence and the shell's tray, as the program and the console see them.
#include <string>
#include <vector>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "ce/Kernel.h"
#include "ce/Shell.h"

namespace {

using test::Devemu;
using test::Events;
using test::StateValue;
using Strings = std::vector<std::string>;


class LockServicesTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Devemu({L"reset"}).code, 0); }
};

TEST_F(LockServicesTest, AFreshDeviceIsFreeWithTwoLedsAndNothingShown) {
    EXPECT_EQ(StateValue("input"), "free");
    EXPECT_EQ(StateValue("touch"), "present");
    EXPECT_EQ(StateValue("panel"), "unregistered");
    EXPECT_EQ(StateValue("leds"), "2");
    EXPECT_EQ(StateValue("vibrate"), "off");
    EXPECT_EQ(StateValue("led-calls"), "0");
    EXPECT_EQ(StateValue("icon"), "hidden");
}

TEST_F(LockServicesTest, InputLockLogsEveryRequestAndRefusesOtherCodesAndShortBuffers) {
    const uint64_t since = test::LogCount();
    DWORD returned = 99;
    for (uint32_t enable : {0u, 0u, 1u}) {
        InputLockRequest request{0, enable};
        EXPECT_TRUE(KernelIoControl(IOCTL_INPUT_LOCK, &request, sizeof request, nullptr, 0, &returned));
        EXPECT_EQ(returned, 0u);
        EXPECT_EQ(StateValue("input"), enable == 0 ? "locked" : "free");
    }
    InputLockRequest request{0, 0};
    SetLastError(0);
    EXPECT_FALSE(KernelIoControl(IOCTL_INPUT_LOCK + 4, &request, sizeof request, nullptr, 0, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    EXPECT_FALSE(KernelIoControl(IOCTL_INPUT_LOCK, &request, 7, nullptr, 0, &returned));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(KernelIoControl(IOCTL_INPUT_LOCK, nullptr, 8, nullptr, 0, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(StateValue("input"), "free") << "a refused request changed the lock";
    EXPECT_EQ(Events(since), (Strings{"input-lock enable=0", "input-lock enable=0", "input-lock enable=1"}));
}

TEST_F(LockServicesTest, LedsLogOnlyChangesAndTheLastOneIsTheMotor) {
    ASSERT_EQ(Devemu({L"leds", L"3"}).code, 0);
    NLED_COUNT_INFO count{};
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count));
    EXPECT_EQ(count.cLeds, 3u);
    const uint64_t since = test::LogCount();
    struct Switch {
        UINT led;
        INT state;
        BOOL ok;
    } switches[] = {{2, 1, TRUE}, {2, 1, TRUE}, {0, 1, TRUE}, {2, 0, TRUE}, {3, 1, FALSE}, {1, 5, FALSE}};
    for (const Switch& s : switches) {
        NLED_SETTINGS_INFO info{};
        info.LedNum = s.led;
        info.OffOnBlink = s.state;
        EXPECT_EQ(NLedSetDevice(NLED_SETTINGS_INFO_ID, &info), s.ok) << s.led << " " << s.state;
    }
    EXPECT_EQ(Events(since), (Strings{"vibrate on led=2", "led on led=0", "vibrate off led=2"}));
    EXPECT_EQ(StateValue("led-calls"), "6");
    NLED_SETTINGS_INFO read{};
    read.LedNum = 0;
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_SETTINGS_INFO_ID, &read));
    EXPECT_EQ(read.OffOnBlink, 1);

    ASSERT_EQ(Devemu({L"leds", L"0"}).code, 0);
    ASSERT_TRUE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count));
    EXPECT_EQ(count.cLeds, 0u);
    EXPECT_EQ(StateValue("vibrate"), "off");
    EXPECT_FALSE(NLedGetDeviceInfo(NLED_COUNT_INFO_ID, nullptr));
    EXPECT_FALSE(NLedGetDeviceInfo(7, &count));
}

TEST_F(LockServicesTest, AnAbsentTouchLibraryCannotBeLoaded) {
    ASSERT_EQ(Devemu({L"touch", L"absent"}).code, 0);
    EXPECT_EQ(StateValue("touch"), "absent");
    HMODULE library = LoadLibraryW(L"touch.dll");
    EXPECT_EQ(library, nullptr);
    if (library) FreeLibrary(library);

    ASSERT_EQ(Devemu({L"touch", L"present"}).code, 0);
    library = LoadLibraryW(L"touch.dll");
    ASSERT_NE(library, nullptr);
    EXPECT_NE(GetProcAddressW(library, L"TouchRegisterWindow"), nullptr);
    EXPECT_NE(GetProcAddressW(library, L"TouchUnregisterWindow"), nullptr);
    EXPECT_EQ(GetProcAddressW(library, L"TouchRegisterWindowW"), nullptr);
    FreeLibrary(library);
}

TEST_F(LockServicesTest, TheTrayKeepsOneNotificationPerClassAndIdentifier) {
    static const CLSID kOne = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    static const CLSID kTwo = {2, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    SHNOTIFICATIONDATA data{};
    data.cbStruct = sizeof data;
    data.dwID = 5;
    data.clsid = kOne;
    EXPECT_EQ(SHNotificationAdd(&data), ERROR_SUCCESS);
    EXPECT_EQ(SHNotificationAdd(&data), ERROR_ALREADY_EXISTS);
    data.clsid = kTwo;
    EXPECT_EQ(SHNotificationAdd(&data), ERROR_SUCCESS);
    EXPECT_EQ(StateValue("icon"), "shown id=5,5");
    EXPECT_EQ(SHNotificationRemove(&kOne, 6), ERROR_NOT_FOUND);
    EXPECT_EQ(SHNotificationRemove(&kOne, 0), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SHNotificationRemove(&kOne, 5), ERROR_SUCCESS);
    EXPECT_EQ(SHNotificationRemove(&kTwo, 5), ERROR_SUCCESS);
    EXPECT_EQ(StateValue("icon"), "hidden");
    data.cbStruct = 56;  // the CE 5.0 record: too short for the fields read
    EXPECT_EQ(SHNotificationAdd(&data), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SHNotificationAdd(nullptr), ERROR_INVALID_PARAMETER);
}

}  // namespace

// The power monitor's decisions on plain flag words and AC line states.
#include <gmock/gmock.h>

#include "platform/PowerNotification.h"

namespace {

constexpr uint32_t kOn = 0x00010000;
constexpr uint32_t kIdle = 0x00100000;
constexpr uint32_t kSuspend = 0x00200000;
constexpr uint32_t kUnattended = 0x00400000;
constexpr uint32_t kBacklight = 0x02000000;
constexpr uint32_t kPassword = 0x10000000;

TEST(PowerNotificationTest, TransitionsAreDecidedByTheFirstChangeInOrderOfPriority) {
    struct Case {
        uint32_t last, next;
        PowerNotification expected;
        const char* what;
    };
    const Case cases[] = {
        {kOn | kBacklight, kOn | kBacklight, NOTIFICATION_NONE, "the same word"},
        {kSuspend, kOn | kBacklight, NOTIFICATION_RESUME, "wake-up"},
        {kBacklight | kSuspend, kOn, NOTIFICATION_RESUME, "resume wins over backlight off"},
        {0, kOn | kIdle, NOTIFICATION_RESUME, "resume wins over screen off"},
        {kOn | kBacklight, kIdle, NOTIFICATION_SCREEN_OFF, "screen off wins over backlight off"},
        {kOn | kBacklight, kOn | kUnattended, NOTIFICATION_SCREEN_OFF, "unattended is screen off"},
        {kOn | kBacklight, kOn, NOTIFICATION_BACKLIGHT_OFF, "backlight off"},
        {kOn, kOn | kBacklight, NOTIFICATION_NONE, "only the backlight set"},
        {kOn | kBacklight, kOn | kBacklight | kPassword, NOTIFICATION_NONE, "an untested bit"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideTransition(c.last, c.next), c.expected)
            << c.what << std::hex << ": last 0x" << c.last << ", next 0x" << c.next;
    }
}

TEST(PowerNotificationTest, OnlyANewOnlineOrOfflineLineIsReported) {
    struct Case {
        uint8_t last, next;
        PowerNotification expected;
    };
    const Case cases[] = {
        {255, 1, NOTIFICATION_ON_AC_POWER},  // the first status after start reports the line
        {255, 0, NOTIFICATION_ON_BATTERY_POWER},
        {0, 0, NOTIFICATION_NONE},  // a battery level change
        {0, 1, NOTIFICATION_ON_AC_POWER},
        {1, 0, NOTIFICATION_ON_BATTERY_POWER},
        {1, 2, NOTIFICATION_NONE},  // backup power
        {2, 1, NOTIFICATION_ON_AC_POWER},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideAcLine(c.last, c.next), c.expected)
            << "last " << int{c.last} << ", next " << int{c.next};
    }
}

}  // namespace

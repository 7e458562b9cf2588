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
        {0, kOn | kBacklight, NOTIFICATION_RESUME, "first word after start"},
        {kBacklight | kSuspend, kOn, NOTIFICATION_RESUME, "on set, backlight cleared: resume only"},
        {kIdle, kOn | kIdle, NOTIFICATION_RESUME, "on set while idle stays"},
        {0, kOn | kIdle, NOTIFICATION_RESUME, "on and idle set together: resume wins"},
        {kBacklight, kOn | kUnattended, NOTIFICATION_RESUME, "resume wins over unattended and backlight"},
        {kOn | kBacklight, kIdle, NOTIFICATION_SCREEN_OFF, "screen off"},
        {kOn, kOn | kUnattended, NOTIFICATION_SCREEN_OFF, "unattended"},
        {kOn | kBacklight, kOn | kUnattended, NOTIFICATION_SCREEN_OFF, "unattended wins over backlight off"},
        {kOn | kBacklight, kOn, NOTIFICATION_BACKLIGHT_OFF, "backlight off"},
        {kOn | kBacklight, kSuspend, NOTIFICATION_BACKLIGHT_OFF, "suspend from on: only the backlight fell"},
        {kOn, 0, NOTIFICATION_NONE, "only on cleared"},
        {kOn, kOn | kBacklight, NOTIFICATION_NONE, "only the backlight set"},
        {kIdle, 0, NOTIFICATION_NONE, "idle cleared"},
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
        {255, 1, NOTIFICATION_ON_AC_POWER},       // the first status after start reports the line
        {255, 0, NOTIFICATION_ON_BATTERY_POWER},
        {255, 255, NOTIFICATION_NONE},
        {0, 0, NOTIFICATION_NONE},                // a battery level change
        {1, 1, NOTIFICATION_NONE},
        {0, 1, NOTIFICATION_ON_AC_POWER},
        {1, 0, NOTIFICATION_ON_BATTERY_POWER},
        {1, 2, NOTIFICATION_NONE},                // backup power
        {2, 1, NOTIFICATION_ON_AC_POWER},
        {2, 0, NOTIFICATION_ON_BATTERY_POWER},
        {0, 255, NOTIFICATION_NONE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecideAcLine(c.last, c.next), c.expected) << "last " << int{c.last} << ", next " << int{c.next};
    }
}

}  // namespace

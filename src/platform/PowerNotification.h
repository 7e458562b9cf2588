// What the power monitor reports, and how it is decided from the power manager's flag words
// and AC line states. Plain values only, so the decisions are tested without a device.
#pragma once

#include <cstdint>

enum PowerNotification : uint32_t {
    NOTIFICATION_NONE = 0,
    NOTIFICATION_BACKLIGHT_OFF = 1,
    NOTIFICATION_RESUME = 2,
    NOTIFICATION_ON_AC_POWER = 3,
    NOTIFICATION_ON_BATTERY_POWER = 4,
    NOTIFICATION_SCREEN_OFF = 5,
};

// A transition to the state with flag word `next` after the state `last`: what it means, tested
// in the order resume, idle, unattended, backlight off. The same word twice means nothing.
PowerNotification DecideTransition(uint32_t last, uint32_t next);

// A power status change that finds the AC line (AC_LINE_*) at `next` after `last`: a new online
// or offline state is reported; backup power, unknown and an unchanged line are not.
PowerNotification DecideAcLine(uint8_t last, uint8_t next);

// The trace line of a decided notification ("NOTIFICATION_RESUME\n", …), or null for none.
const char* NotificationTraceText(PowerNotification notification);

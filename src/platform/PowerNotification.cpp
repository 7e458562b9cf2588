#include "PowerNotification.h"

namespace {

// The platform's POWER_STATE_* and AC_LINE_* values.
constexpr uint32_t kStateOn = 0x00010000;
constexpr uint32_t kStateIdle = 0x00100000;
constexpr uint32_t kStateUnattended = 0x00400000;
constexpr uint32_t kStateBacklightOn = 0x02000000;
constexpr uint8_t kAcLineOffline = 0;
constexpr uint8_t kAcLineOnline = 1;

}  // namespace

PowerNotification DecideTransition(uint32_t last, uint32_t next) {
    const uint32_t changed = last ^ next;
    const uint32_t rising = changed & next;
    const uint32_t falling = changed & last;
    if (rising & kStateOn) return NOTIFICATION_RESUME;
    if (rising & (kStateIdle | kStateUnattended)) return NOTIFICATION_SCREEN_OFF;
    if (falling & kStateBacklightOn) return NOTIFICATION_BACKLIGHT_OFF;
    return NOTIFICATION_NONE;
}

PowerNotification DecideAcLine(uint8_t last, uint8_t next) {
    if (next == last) return NOTIFICATION_NONE;
    if (next == kAcLineOnline) return NOTIFICATION_ON_AC_POWER;
    if (next == kAcLineOffline) return NOTIFICATION_ON_BATTERY_POWER;
    return NOTIFICATION_NONE;
}

const char* NotificationTraceText(PowerNotification notification) {
    switch (notification) {
    case NOTIFICATION_RESUME: return "NOTIFICATION_RESUME\n";
    case NOTIFICATION_SCREEN_OFF: return "NOTIFICATION_SCREEN_OFF\n";
    case NOTIFICATION_BACKLIGHT_OFF: return "NOTIFICATION_BACKLIGHT_OFF\n";
    default: return nullptr;
    }
}

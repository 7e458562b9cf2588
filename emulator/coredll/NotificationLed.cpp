// The notification-LED driver of the emulated coredll. The last LED is the vibration motor.
#include "Device.h"
#include "ce/Kernel.h"

extern "C" {

BOOL WINAPI NLedGetDeviceInfo(UINT infoId, void* output) {
    if (!output) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    devemu::Device& device = devemu::Device::Get();
    switch (infoId) {
    case NLED_COUNT_INFO_ID:
        static_cast<NLED_COUNT_INFO*>(output)->cLeds =
            device.Locked([](devemu::DeviceState& s) { return s.leds.count; });
        return TRUE;
    case NLED_SETTINGS_INFO_ID: {
        auto* info = static_cast<NLED_SETTINGS_INFO*>(output);
        const UINT led = info->LedNum;
        return device.Locked([&](devemu::DeviceState& s) {
            if (led >= s.leds.count) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return FALSE;
            }
            *info = NLED_SETTINGS_INFO{};
            info->LedNum = led;
            info->OffOnBlink = (s.leds.on >> led) & 1;
            return TRUE;
        });
    }
    default:
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
}

BOOL WINAPI NLedSetDevice(UINT infoId, void* input) {
    devemu::Device& device = devemu::Device::Get();
    const auto* info = static_cast<const NLED_SETTINGS_INFO*>(input);
    bool changed = false;
    bool vibrator = false;
    const bool ok = device.Locked([&](devemu::DeviceState& s) {
        ++s.leds.calls;
        if (infoId != NLED_SETTINGS_INFO_ID || !info || info->LedNum >= s.leds.count ||
            info->OffOnBlink < 0 || info->OffOnBlink > 2) {
            return false;
        }
        // A blinking LED counts as on: the motor has no blink of its own.
        const uint32_t bit = 1u << info->LedNum;
        const uint32_t on = info->OffOnBlink != 0 ? s.leds.on | bit : s.leds.on & ~bit;
        changed = on != s.leds.on;
        vibrator = info->LedNum == s.leds.count - 1;
        s.leds.on = on;
        return true;
    });
    if (!ok) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (changed) {
        device.Log("%s %s led=%u", vibrator ? "vibrate" : "led", info->OffOnBlink ? "on" : "off",
                   info->LedNum);
    }
    return TRUE;
}

}  // extern "C"

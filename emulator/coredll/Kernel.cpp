// Kernel basics of the emulated coredll: events, the device clock and the beep.
#include "Device.h"
#include "ce/Kernel.h"

extern "C" {

BOOL WINAPI Ce_EventModify(HANDLE event, DWORD function) {
    switch (function) {
    case EVENT_PULSE: return PulseEvent(event);
    case EVENT_RESET: return ResetEvent(event);
    case EVENT_SET: return SetEvent(event);
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
    }
}

// The device clock: tests place the uptime anywhere, across the 2^32 wrap too.
DWORD WINAPI Ce_GetTickCount(void) { return devemu::Device::Get().Uptime(); }

BOOL WINAPI Ce_MessageBeep(UINT type) {
    devemu::Device& device = devemu::Device::Get();
    device.Locked([](devemu::DeviceState& s) { ++s.beeps; });
    device.Log("beep type=%u", type);
    return MessageBeep(type);
}

}  // extern "C"

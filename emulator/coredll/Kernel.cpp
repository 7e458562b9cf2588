// Kernel basics of the emulated coredll: events, the device clock, the beep and run-time lookup.
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

// CE refuses what the desktop accepts: INVALID_HANDLE_VALUE is the desktop's current-process
// pseudo-handle, on which a wait simply never ends, and a null handle. A source that could not
// get its handle thus fails the wait, as on the phone. CE has no wait for all handles either.
DWORD WINAPI Ce_WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                       DWORD timeoutMs) {
    bool valid = handles && count > 0 && count <= MAXIMUM_WAIT_OBJECTS && !waitAll;
    for (DWORD i = 0; valid && i < count; ++i) {
        valid = handles[i] != nullptr && handles[i] != INVALID_HANDLE_VALUE;
    }
    if (!valid) {
        SetLastError(waitAll ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    return WaitForMultipleObjects(count, handles, waitAll, timeoutMs);
}

// The device clock: tests place the uptime anywhere, across the 2^32 wrap too.
DWORD WINAPI Ce_GetTickCount(void) { return devemu::Device::Get().Uptime(); }

BOOL WINAPI Ce_MessageBeep(UINT type) {
    devemu::Device& device = devemu::Device::Get();
    device.Locked([](devemu::DeviceState& s) { ++s.beeps; });
    device.Log("beep type=%u", type);
    return MessageBeep(type);
}

FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR name) {
    if (IS_INTRESOURCE(name)) return GetProcAddress(module, reinterpret_cast<LPCSTR>(name));
    // Export names are ASCII; anything else names no export.
    char narrow[256];
    size_t i = 0;
    for (; name[i] != 0; ++i) {
        if (name[i] > 0x7F || i + 1 >= sizeof narrow) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return nullptr;
        }
        narrow[i] = static_cast<char>(name[i]);
    }
    narrow[i] = 0;
    return GetProcAddress(module, narrow);
}

}  // extern "C"

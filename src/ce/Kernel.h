// CE kernel services of coredll that the desktop does not have, or has with other behaviour.
// GetTickCount, MessageBeep and WaitForMultipleObjects keep their desktop declarations: the
// program links coredll ahead of the desktop libraries, so those imports resolve to coredll too.
#pragma once

#include <cstdint>

#include "Api.h"

constexpr DWORD EVENT_PULSE = 1;
constexpr DWORD EVENT_RESET = 2;
constexpr DWORD EVENT_SET = 3;

// The OEM layer's input lock: CTL_CODE(FILE_DEVICE_HAL 0x101, 2698, METHOD_BUFFERED,
// FILE_ANY_ACCESS). Function numbers from 2048 on are the OEM's own.
constexpr DWORD IOCTL_INPUT_LOCK = (0x0101u << 16) | (2698u << 2);
static_assert(IOCTL_INPUT_LOCK == 0x01012A28);

// The input buffer of IOCTL_INPUT_LOCK. Bytes 1-3 are padding and keep whatever they held.
struct InputLockRequest {
    uint8_t first;    // always 0
    uint32_t enable;  // 1 frees the device's input, 0 locks it
};
static_assert(sizeof(InputLockRequest) == 8);

// The notification-LED driver. On a phone the vibration motor is one of the "LEDs".
constexpr UINT NLED_COUNT_INFO_ID = 0;
constexpr UINT NLED_SETTINGS_INFO_ID = 2;

struct NLED_COUNT_INFO {
    UINT cLeds;
};
static_assert(sizeof(NLED_COUNT_INFO) == 4);

struct NLED_SETTINGS_INFO {
    UINT LedNum;
    INT OffOnBlink;  // 0 off, 1 on, 2 blink
    LONG TotalCycleTime;  // the three times in microseconds
    LONG OnTime;
    LONG OffTime;
    INT MetaCycleOn;
    INT MetaCycleOff;
};
static_assert(sizeof(NLED_SETTINGS_INFO) == 28);

extern "C" {
CE_IMPORT BOOL WINAPI EventModify(HANDLE event, DWORD function);
CE_IMPORT BOOL WINAPI KernelIoControl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                                      DWORD* bytesReturned);
CE_IMPORT BOOL WINAPI NLedGetDeviceInfo(UINT infoId, void* output);
CE_IMPORT BOOL WINAPI NLedSetDevice(UINT infoId, void* input);
// CE looks exports up by a wide name; the desktop only by a narrow one.
CE_IMPORT FARPROC WINAPI GetProcAddressW(HMODULE module, LPCWSTR name);
}

// CE's power manager (coredll): notifications through a message queue, the system power state
// and the battery status. AC_LINE_* come from the desktop headers with the same values.
#pragma once

#include "Api.h"
#include "Handle.h"

// Notification kinds: POWER_BROADCAST::Message, and the flags of a registration.
constexpr DWORD PBT_TRANSITION = 0x1;
constexpr DWORD PBT_RESUME = 0x2;
constexpr DWORD PBT_POWERSTATUSCHANGE = 0x4;
constexpr DWORD PBT_POWERINFOCHANGE = 0x8;
constexpr DWORD POWER_NOTIFY_ALL = 0xFFFFFFFF;

// Flag bits of a system power state.
constexpr DWORD POWER_STATE_ON = 0x00010000;
constexpr DWORD POWER_STATE_OFF = 0x00020000;
constexpr DWORD POWER_STATE_CRITICAL = 0x00040000;
constexpr DWORD POWER_STATE_BOOT = 0x00080000;
constexpr DWORD POWER_STATE_IDLE = 0x00100000;
constexpr DWORD POWER_STATE_SUSPEND = 0x00200000;
constexpr DWORD POWER_STATE_UNATTENDED = 0x00400000;
constexpr DWORD POWER_STATE_RESET = 0x00800000;
constexpr DWORD POWER_STATE_USERIDLE = 0x01000000;
constexpr DWORD POWER_STATE_BACKLIGHTON = 0x02000000;
constexpr DWORD POWER_STATE_PASSWORD = 0x10000000;

// Longest state name, terminator included.
constexpr DWORD MAX_STATE_NAMEL = MAX_PATH;

// Variable length: Length bytes of data (the state name, terminator included) follow the fixed
// twelve bytes.
struct POWER_BROADCAST {
    DWORD Message;
    DWORD Flags;
    DWORD Length;
    WCHAR SystemPowerState[1];
};
static_assert(sizeof(POWER_BROADCAST) == 16);
constexpr DWORD kPowerBroadcastHeader = 12;

struct SYSTEM_POWER_STATUS_EX2 {
    BYTE ACLineStatus;
    BYTE BatteryFlag;
    BYTE BatteryLifePercent;
    BYTE Reserved1;
    DWORD BatteryLifeTime;
    DWORD BatteryFullLifeTime;
    BYTE Reserved2;
    BYTE BackupBatteryFlag;
    BYTE BackupBatteryLifePercent;
    BYTE Reserved3;
    DWORD BackupBatteryLifeTime;
    DWORD BackupBatteryFullLifeTime;
    DWORD BatteryVoltage;
    DWORD BatteryCurrent;
    DWORD BatteryAverageCurrent;
    DWORD BatteryAverageInterval;
    DWORD BatterymAHourConsumed;
    DWORD BatteryTemperature;
    DWORD BackupBatteryVoltage;
    BYTE BatteryChemistry;
};
static_assert(sizeof(SYSTEM_POWER_STATUS_EX2) == 56);

extern "C" {
// Registers a read end for the notification kinds in `flags`; null on failure.
CE_IMPORT HANDLE WINAPI RequestPowerNotifications(HANDLE readQueue, DWORD flags);
CE_IMPORT DWORD WINAPI StopPowerNotifications(HANDLE registration);
// The current state's name and flags; 0 or a Win32 error.
CE_IMPORT DWORD WINAPI GetSystemPowerState(LPWSTR name, DWORD nameChars, DWORD* flags);
// Bytes filled, 0 on failure. `update` FALSE: the cached values.
CE_IMPORT DWORD WINAPI GetSystemPowerStatusEx2(SYSTEM_POWER_STATUS_EX2* status, DWORD size,
                                               BOOL update);
}

struct PowerNotificationsTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { StopPowerNotifications(h); }
};
using PowerNotifications = UniqueHandle<PowerNotificationsTraits>;

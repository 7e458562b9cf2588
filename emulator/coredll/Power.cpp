// The power manager: registrations of message queues for notifications, kept in the device
// state by queue name so that the console can deliver to them from its own process, and the
// power state and battery status that the console sets.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "Device.h"
#include "MsgQueue.h"
#include "Queues.h"
#include "ce/Power.h"

namespace {

// The registration handles are the registrations' ids: values only StopPowerNotifications reads.
HANDLE RegistrationHandle(uint32_t id) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(id)); }

uint32_t Register(devemu::DeviceState& s, const std::wstring& queue, DWORD flags) {
    for (devemu::PowerRegistration& r : s.power.registrations) {
        if (r.id != 0 && !devemu::MsgQueue::Exists(r.queue)) r = {};  // its process has gone
    }
    for (devemu::PowerRegistration& r : s.power.registrations) {
        if (r.id != 0) continue;
        if (++s.power.lastRegistration == 0) ++s.power.lastRegistration;
        r.id = s.power.lastRegistration;
        r.flags = flags;
        std::wcsncpy(r.queue, queue.c_str(), devemu::kNameChars - 1);
        return r.id;
    }
    return 0;
}

}  // namespace

extern "C" {

HANDLE WINAPI RequestPowerNotifications(HANDLE readQueue, DWORD flags) {
    const int64_t entered = devemu::PerformanceCount();  // before anything waits on the device
    std::shared_ptr<devemu::MsgQueue> queue = FindMsgQueue(readQueue);
    // Only a named queue can be reached from the console's process.
    if (!queue || !queue->IsReader() || queue->Name().empty()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (flags == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    devemu::Device& device = devemu::Device::Get();
    const uint32_t id = device.Locked([&](devemu::DeviceState& s) { return Register(s, queue->Name(), flags); });
    if (id == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    device.Log("power-notify register flags=%lX", flags);
    device.MarkMoment(devemu::kPowerRegistration, entered);
    return RegistrationHandle(id);
}

DWORD WINAPI StopPowerNotifications(HANDLE registration) {
    const uintptr_t id = reinterpret_cast<uintptr_t>(registration);
    devemu::Device& device = devemu::Device::Get();
    const bool found = id != 0 && device.Locked([&](devemu::DeviceState& s) {
        for (devemu::PowerRegistration& r : s.power.registrations) {
            if (r.id == id) {
                r = {};
                return true;
            }
        }
        return false;
    });
    if (!found) return ERROR_INVALID_HANDLE;
    device.Log("power-notify stop");
    return ERROR_SUCCESS;
}

DWORD WINAPI GetSystemPowerState(LPWSTR name, DWORD nameChars, DWORD* flags) {
    devemu::PowerState power;
    devemu::Device::Get().Locked([&](devemu::DeviceState& s) { power = s.power; });
    if (flags) *flags = power.flags;
    if (!name) return ERROR_SUCCESS;
    if (std::wcslen(power.name) >= nameChars) return ERROR_INSUFFICIENT_BUFFER;
    std::wcscpy(name, power.name);
    return ERROR_SUCCESS;
}

DWORD WINAPI GetSystemPowerStatusEx2(SYSTEM_POWER_STATUS_EX2* status, DWORD size, BOOL) {
    if (!status || size == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    SYSTEM_POWER_STATUS_EX2 record{};
    record.ACLineStatus = devemu::Device::Get().Locked([](devemu::DeviceState& s) { return s.power.acLine; });
    // A healthy battery, charging while the line is online: only the line is ever looked at.
    record.BatteryFlag = BATTERY_FLAG_HIGH | (record.ACLineStatus == AC_LINE_ONLINE ? BATTERY_FLAG_CHARGING : 0);
    record.BatteryLifePercent = 80;
    record.BatteryLifeTime = record.BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
    const DWORD filled = std::min<DWORD>(size, sizeof record);
    std::memcpy(status, &record, filled);
    return filled;
}

}  // extern "C"

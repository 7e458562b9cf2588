// Shell notifications of the emulated aygshell: recorded in the device's tray, by class
// identifier and notification identifier.
#include "Device.h"
#include "ce/Shell.h"

namespace {

devemu::Notification* Find(devemu::DeviceState& s, const CLSID& clsid, DWORD id) {
    for (devemu::Notification& n : s.notifications) {
        if (n.used && n.id == id && IsEqualGUID(n.clsid, clsid)) return &n;
    }
    return nullptr;
}

}  // namespace

extern "C" {

LRESULT WINAPI SHNotificationAdd(SHNOTIFICATIONDATA* data) {
    if (!data || data->cbStruct < sizeof(SHNOTIFICATIONDATA)) return ERROR_INVALID_PARAMETER;
    devemu::Device& device = devemu::Device::Get();
    const LRESULT result = device.Locked([&](devemu::DeviceState& s) -> LRESULT {
        if (s.shell.refuseAdd) return ERROR_OUTOFMEMORY;
        if (Find(s, data->clsid, data->dwID)) return ERROR_ALREADY_EXISTS;
        for (devemu::Notification& n : s.notifications) {
            if (n.used) continue;
            n = devemu::Notification{true, data->clsid, data->dwID, data->npPriority,
                                     data->csDuration, data->grfFlags,
                                     reinterpret_cast<uint64_t>(data->hicon)};
            return ERROR_SUCCESS;
        }
        return ERROR_OUTOFMEMORY;  // the tray is full
    });
    if (result == ERROR_SUCCESS) device.Log("icon add id=%lu", data->dwID);
    else device.Log("icon add refused id=%lu error=%lld", data->dwID, static_cast<long long>(result));
    return result;
}

LRESULT WINAPI SHNotificationRemove(const CLSID* clsid, DWORD id) {
    if (!clsid || id == 0) return ERROR_INVALID_PARAMETER;
    devemu::Device& device = devemu::Device::Get();
    const LRESULT result = device.Locked([&](devemu::DeviceState& s) -> LRESULT {
        if (s.shell.refuseRemove) return ERROR_BUSY;
        devemu::Notification* n = Find(s, *clsid, id);
        if (!n) return ERROR_NOT_FOUND;
        *n = devemu::Notification{};
        return ERROR_SUCCESS;
    });
    if (result == ERROR_SUCCESS) device.Log("icon remove id=%lu", id);
    else device.Log("icon remove refused id=%lu error=%lld", id, static_cast<long long>(result));
    return result;
}

}  // extern "C"

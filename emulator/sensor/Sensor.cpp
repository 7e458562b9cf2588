// The emulated G-sensor: serves the device's current tilt and rotation, and fails when the
// console says so.
#include "Device.h"
#include "ce/Sensor.h"

using devemu::Device;
using devemu::DeviceState;

extern "C" {

HANDLE WINAPI HTCSensorOpen(DWORD kind) {
    Device& device = Device::Get();
    const uint32_t handle = device.Locked([kind](DeviceState& s) -> uint32_t {
        if (kind != SENSOR_KIND_TILT || s.sensor.health == devemu::SENSOR_FAIL_OPEN) return 0;
        return ++s.sensor.opens;
    });
    if (handle == 0) {
        device.Log("sensor open failed kind=%lu", kind);
        return nullptr;
    }
    device.Log("sensor open handle=%u", handle);
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle));
}

// The three raw words carry what helps a test tell readings apart: the number of this read, the
// handle it came through and the uptime it was taken at.
BOOL WINAPI HTCSensorGetData(HANDLE sensor, TiltReading* reading) {
    Device& device = Device::Get();
    const uint32_t handle = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(sensor));
    const uint32_t uptime = device.Uptime();
    const bool ok = device.Locked([&](DeviceState& s) {
        if (handle == 0 || !reading || s.sensor.health == devemu::SENSOR_FAIL_READ) return false;
        *reading = TiltReading{++s.sensor.reads, handle, s.sensor.tilt, s.sensor.rotation, uptime};
        return true;
    });
    if (!ok) device.Log("sensor read failed handle=%u", handle);
    return ok;
}

void WINAPI HTCSensorClose(HANDLE sensor) {
    Device::Get().Log("sensor close handle=%u",
                      static_cast<uint32_t>(reinterpret_cast<uintptr_t>(sensor)));
}

}  // extern "C"

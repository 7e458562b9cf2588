// KernelIoControl of the emulated coredll: the OEM layer knows the input lock and nothing else.
#include <cstring>

#include "Device.h"
#include "ce/Kernel.h"

extern "C" {

BOOL WINAPI KernelIoControl(DWORD code, void* in, DWORD inSize, void*, DWORD, DWORD* bytesReturned) {
    const int64_t entered = devemu::PerformanceCount();  // before anything waits on the device
    if (bytesReturned) *bytesReturned = 0;
    if (code != IOCTL_INPUT_LOCK) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (!in || inSize < sizeof(InputLockRequest)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    InputLockRequest request;
    std::memcpy(&request, in, sizeof request);  // the caller's buffer need not be aligned
    devemu::Device& device = devemu::Device::Get();
    // Logged on every request, also when it changes nothing: the program sends it on every
    // lock action and that is worth seeing.
    device.Locked([&](devemu::DeviceState& s) { s.input.locked = request.enable == 0; });
    device.Log("input-lock enable=%u", request.enable);
    device.MarkMoment(devemu::kInputLockRequest, entered);
    return TRUE;
}

}  // extern "C"

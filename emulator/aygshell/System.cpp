// The emulated shell's start-up call and its device restart.
#include "Device.h"
#include "ce/Shell.h"

extern "C" {

BOOL WINAPI SHInitExtraControls(void) { return TRUE; }

// A restart is recorded, never carried out: the desktop's own would end the Wine session.
BOOL WINAPI AygExitWindowsEx(UINT flags, DWORD) {
    devemu::Device& device = devemu::Device::Get();
    device.Locked([](devemu::DeviceState& s) { ++s.reboots; });
    device.Log("reboot how=%u", flags);
    return TRUE;
}

}  // extern "C"

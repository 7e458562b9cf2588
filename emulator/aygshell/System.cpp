// The emulated shell's start-up call and its device restart.
#include "Device.h"
#include "PhoneScreen.h"
#include "ce/Shell.h"

extern "C" {

// Ordinal 9, which a program of the phone calls once as it starts: the work area it sees is the
// screen below the navigation bar. The desktop's is the whole screen, and Wine keeps the work area
// for each process, so the shell gives each program the phone's here.
BOOL WINAPI SHInitExtraControls(void) {
    RECT work = devemu::WorkArea();
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
    return TRUE;
}

// A restart is recorded, never carried out: the desktop's own would end the Wine session.
BOOL WINAPI AygExitWindowsEx(UINT flags, DWORD) {
    devemu::Device& device = devemu::Device::Get();
    device.Locked([](devemu::DeviceState& s) { ++s.reboots; });
    device.Log("reboot how=%u", flags);
    return TRUE;
}

}  // extern "C"

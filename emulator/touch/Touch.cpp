// The emulated touch library: records the window registered with it. Stylus input is withheld
// while that window's extra word 0 is 1; the console reads the word when asked.
#include <type_traits>

#include "Device.h"
#include "ce/Touch.h"

extern "C" {

// `devemu touch absent` makes the load fail here. The flag is read without the device's lock:
// this runs under the loader lock, and waiting there on a lock that another thread holds while
// it loads a library would hang both.
BOOL WINAPI DllMain(HINSTANCE, DWORD reason, void*) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    const bool absent = devemu::Device::PeekUnlocked(
        [](const devemu::DeviceState* s) { return s != nullptr && s->touch.absent; });
    return absent ? FALSE : TRUE;
}

BOOL WINAPI TouchRegisterWindow(HWND window) {
    devemu::Device& device = devemu::Device::Get();
    device.Locked([&](devemu::DeviceState& s) { s.touch.window = reinterpret_cast<uint64_t>(window); });
    device.Log("touch register");
    return TRUE;
}

BOOL WINAPI TouchUnregisterWindow(HWND window) {
    devemu::Device& device = devemu::Device::Get();
    const bool registered = device.Locked([&](devemu::DeviceState& s) {
        if (s.touch.window != reinterpret_cast<uint64_t>(window)) return false;
        s.touch.window = 0;
        return true;
    });
    device.Log("touch unregister");
    return registered ? TRUE : FALSE;
}

}  // extern "C"

static_assert(std::is_same_v<decltype(&TouchRegisterWindow), TouchWindowEntry>);
static_assert(std::is_same_v<decltype(&TouchUnregisterWindow), TouchWindowEntry>);

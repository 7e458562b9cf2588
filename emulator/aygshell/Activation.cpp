// The emulated shell's activation helpers. On the phone they keep the input panel's state for a
// window across activations; the desktop has no input panel, so they only accept the record.
#include "ce/Shell.h"

extern "C" {

BOOL WINAPI SHHandleWMActivate(HWND, WPARAM, LPARAM, SHACTIVATEINFO* info, DWORD) {
    return info != nullptr;
}

BOOL WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO* info) {
    return info != nullptr;
}

}  // extern "C"

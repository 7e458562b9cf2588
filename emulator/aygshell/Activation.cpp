// The emulated shell's activation helpers. On the phone they keep a window's input panel and its
// focused control across activations; the desktop has no input panel, so they keep the focus: the
// control that had it when the window lost the activation (to a message box, say) gets it back.
#include "ce/Shell.h"

extern "C" {

BOOL WINAPI SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM, SHACTIVATEINFO* info, DWORD) {
    if (!info) return FALSE;
    if (LOWORD(wParam) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        info->hwndLastFocus = focus && IsChild(window, focus) ? focus : nullptr;
    } else if (info->hwndLastFocus && IsChild(window, info->hwndLastFocus)) {
        SetFocus(info->hwndLastFocus);
    }
    return TRUE;
}

BOOL WINAPI SHHandleWMSettingChange(HWND, WPARAM, LPARAM, SHACTIVATEINFO* info) {
    return info != nullptr;
}

}  // extern "C"

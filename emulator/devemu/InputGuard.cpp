#include "InputGuard.h"

#include "Device.h"
#include "PhoneScreen.h"

namespace devemu {
namespace {

// One guard per process: hook procedures get no context of their own.
bool swallowingTap = false;  // a swallowed press swallows its release too, whatever came between

bool IsPress(WPARAM message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool IsRelease(WPARAM message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

// The soft-key bar of the window in front, if it has one that shows.
HWND SoftKeyBarInFront() {
    HWND front = GetForegroundWindow();
    if (!front) return nullptr;
    for (HWND bar = nullptr; (bar = FindWindowExW(nullptr, bar, kMenuBarClass, nullptr)) != nullptr;) {
        if (GetWindow(bar, GW_OWNER) == front && IsWindowVisible(bar)) return bar;
    }
    return nullptr;
}

}  // namespace

Locks CurrentLocks() {
    uint64_t window = 0;
    Locks locks = Device::Get().Locked([&](DeviceState& s) {
        window = s.touch.window;
        return Locks{s.input.locked, s.input.locked};
    });
    // The word is the program's, read from its window now (the touch library's own contract).
    const HWND touch = reinterpret_cast<HWND>(window);
    if (touch && IsWindow(touch) && GetWindowLongW(touch, 0) == 1) locks.panel = true;
    return locks;
}

InputGuard::InputGuard() {
    HMODULE self = GetModuleHandleW(nullptr);
    mouse_ = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, self, 0);
    keyboard_ = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, self, 0);
}

InputGuard::~InputGuard() {
    if (mouse_) UnhookWindowsHookEx(mouse_);
    if (keyboard_) UnhookWindowsHookEx(keyboard_);
}

LRESULT CALLBACK InputGuard::MouseProc(int code, WPARAM message, LPARAM info) {
    if (code == HC_ACTION) {
        const auto& mouse = *reinterpret_cast<const MSLLHOOKSTRUCT*>(info);
        if (IsPress(message)) {
            // The device's own window is in the user's hand, not on the phone's screen.
            swallowingTap = !IsDeviceWindow(WindowFromPoint(mouse.pt)) && CurrentLocks().panel;
            if (swallowingTap) {
                Device::Get().Log("tap swallowed x=%ld y=%ld", mouse.pt.x, mouse.pt.y);
                return 1;
            }
        } else if (IsRelease(message) && swallowingTap) {
            swallowingTap = false;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, message, info);
}

LRESULT CALLBACK InputGuard::KeyboardProc(int code, WPARAM message, LPARAM info) {
    if (code == HC_ACTION) {
        const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(info);
        const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
        if (!IsDeviceWindow(GetForegroundWindow()) && CurrentLocks().keys) {
            if (down) Device::Get().Log("key swallowed vk=0x%02lX", key.vkCode);
            return 1;
        }
        if (key.vkCode == VK_F1 || key.vkCode == VK_F2) {
            if (HWND bar = SoftKeyBarInFront()) {
                PostMessageW(bar, kPressSoftKey, key.vkCode == VK_F2 ? 1 : 0, down ? 1 : 0);
                return 1;
            }
        }
    }
    return CallNextHookEx(nullptr, code, message, info);
}

}  // namespace devemu

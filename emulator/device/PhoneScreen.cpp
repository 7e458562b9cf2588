#include "PhoneScreen.h"

#include <algorithm>
#include <cwchar>

namespace devemu {

RECT PhoneScreen() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT screen{0, 0, kScreenWidth, kScreenHeight};
    if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        const RECT& m = monitor.rcMonitor;
        screen = {m.left, m.top, m.left + std::min<LONG>(kScreenWidth, m.right - m.left),
                  m.top + std::min<LONG>(kScreenHeight, m.bottom - m.top)};
    }
    return screen;
}

RECT WorkArea() {
    RECT work = PhoneScreen();
    work.top += kNavBarHeight;
    return work;
}

bool IsDeviceWindow(HWND window) {
    const HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    wchar_t name[64];
    if (!root || GetClassNameW(root, name, 64) == 0) return false;
    return std::wcsncmp(name, kDeviceClassPrefix, std::wcslen(kDeviceClassPrefix)) == 0;
}

}  // namespace devemu

// The navigation bar across the top of the phone's screen: the Start flag, the title of the
// window in front, the notification icons that programs added, a charger mark while external
// power is on, and the clock. It follows the device on a timer and repaints only on a change.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

#include "Device.h"

namespace devemu {

class NavigationBar {
public:
    // What the bar shows; the bar repaints when it changes.
    struct Shown {
        std::wstring title;
        std::vector<std::array<uint32_t, kIconSide * kIconSide>> icons;  // left to right
        bool charging = false;
        int minute = 0;  // of the day, for the clock
        bool operator==(const Shown&) const = default;
    };

    NavigationBar();
    ~NavigationBar();
    NavigationBar(const NavigationBar&) = delete;
    NavigationBar& operator=(const NavigationBar&) = delete;

    HWND Window() const { return window_; }
    // Reads the device and the window in front; repaints when anything changed.
    void Refresh();

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc, int width, int height) const;

    HWND window_ = nullptr;
    Shown shown_;
};

}  // namespace devemu

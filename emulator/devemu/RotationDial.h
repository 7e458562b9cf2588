// The device window's dial: the phone's rotation as a pointer on a circle, 0 at the top and
// clockwise. Dragging the pointer turns the phone; the dial reports angles no faster than the
// device needs them.
#pragma once

#include <functional>

#include <windows.h>

namespace devemu {

class RotationDial {
public:
    RotationDial() = default;
    ~RotationDial();
    RotationDial(const RotationDial&) = delete;
    RotationDial& operator=(const RotationDial&) = delete;

    bool Create(HWND parent, int x, int y, int size);
    HWND Window() const { return window_; }
    // Shows `degrees` (0..359); a drag under way keeps its own.
    void Show(int degrees);

    // Called with each angle (0..359) the user drags the pointer to, throttled, and the last one
    // when the pointer is let go.
    std::function<void(int)> turned;

    // The angle of the point (x, y) of a dial `size` pixels wide: 0 straight up, clockwise.
    static int AngleAt(int x, int y, int size);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    void Drag(LPARAM point, bool last);

    HWND window_ = nullptr;
    int size_ = 0;
    int degrees_ = 0;
    bool dragging_ = false;
    int sent_ = -1;          // the last angle reported
    DWORD sentAt_ = 0;       // and when
};

}  // namespace devemu

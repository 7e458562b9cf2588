#include "RotationDial.h"

#include <cmath>
#include <cwchar>
#include <numbers>

#include "Dc.h"
#include "Device.h"
#include "ShellLook.h"
#include "ui/Gdi.h"

namespace devemu {
namespace {

constexpr wchar_t kDialClass[] = L"devemu|DeviceDial";
constexpr DWORD kThrottleMs = 50;  // a sensor reading every 50 ms is as smooth as the program looks
constexpr COLORREF kFace = RGB(236, 240, 246), kRim = RGB(92, 108, 138), kPointer = RGB(200, 40, 40);

POINT OnCircle(int centre, double radius, int degrees) {
    const double angle = degrees * std::numbers::pi / 180;
    return {centre + static_cast<LONG>(std::lround(radius * std::sin(angle))),
            centre - static_cast<LONG>(std::lround(radius * std::cos(angle)))};
}

}  // namespace

RotationDial::~RotationDial() {
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

bool RotationDial::Create(HWND parent, int x, int y, int size) {
    WNDCLASSW dial{};
    dial.lpfnWndProc = Proc;
    dial.hInstance = GetModuleHandleW(nullptr);
    dial.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // IDC_HAND
    dial.lpszClassName = kDialClass;
    RegisterClassW(&dial);  // a second dial finds the class there
    size_ = size;
    window_ = CreateWindowExW(0, kDialClass, L"", WS_CHILD | WS_VISIBLE, x, y, size, size, parent, nullptr,
                              dial.hInstance, nullptr);
    if (window_) SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return window_ != nullptr;
}

void RotationDial::Show(int degrees) {
    if (dragging_ || degrees == degrees_) return;
    degrees_ = degrees;
    InvalidateRect(window_, nullptr, FALSE);
}

int RotationDial::AngleAt(int x, int y, int size) {
    const double dx = x - size / 2.0, dy = size / 2.0 - y;
    const double degrees = std::atan2(dx, dy) * 180 / std::numbers::pi;
    return (static_cast<int>(std::lround(degrees)) + 360) % 360;
}

void RotationDial::Drag(LPARAM point, bool last) {
    degrees_ = AngleAt(static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point)), size_);
    InvalidateRect(window_, nullptr, FALSE);
    const DWORD now = GetTickCount();
    if (degrees_ == sent_ || (!last && now - sentAt_ < kThrottleMs)) return;
    sent_ = degrees_;
    sentAt_ = now;
    if (turned) turned(degrees_);
}

void RotationDial::Paint(HDC dc) const {
    const RECT all{0, 0, size_, size_};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const int centre = size_ / 2, radius = size_ / 2 - 4;
    {
        ShapeStyle face(dc, kRim, kFace);
        Ellipse(dc, centre - radius, centre - radius, centre + radius, centre + radius);
    }
    // Ticks every 45 degrees, the steps gestures are made of.
    for (int tick = 0; tick < 360; tick += 45) {
        const POINT outer = OnCircle(centre, radius - 2, tick), inner = OnCircle(centre, radius - (tick % 90 ? 10 : 18), tick);
        ShapeStyle line(dc, kRim, kRim);
        MoveToEx(dc, outer.x, outer.y, nullptr);
        LineTo(dc, inner.x, inner.y);
    }
    {
        GdiObject pen(CreatePen(PS_SOLID, 5, kPointer));
        Selection selected(dc, pen.get());
        const POINT tip = OnCircle(centre, radius - 22, degrees_);
        MoveToEx(dc, centre, centre, nullptr);
        LineTo(dc, tip.x, tip.y);
        ShapeStyle knob(dc, kPointer, kPointer);
        Ellipse(dc, tip.x - 9, tip.y - 9, tip.x + 10, tip.y + 10);
    }
    wchar_t text[8];
    std::swprintf(text, 8, L"%d\u00B0", degrees_);
    GdiObject font = CreateShellFont(8, true);
    Selection selected(dc, font.get());
    TextStyle ink(dc, RGB(30, 30, 30));
    RECT label{0, centre + 8, size_, centre + radius / 2 + 16};
    DrawTextW(dc, text, -1, &label, DT_CENTER | DT_SINGLELINE | DT_VCENTER);
}

LRESULT CALLBACK RotationDial::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<RotationDial*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
        SetCapture(window);
        self->dragging_ = true;
        self->Drag(lParam, false);
        return 0;
    case WM_MOUSEMOVE:
        if (self->dragging_) self->Drag(lParam, false);
        return 0;
    case WM_LBUTTONUP:
        if (self->dragging_) {
            self->Drag(lParam, true);
            self->dragging_ = false;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        self->dragging_ = false;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        PaintBuffered(window, [self](HDC dc, const RECT&) { self->Paint(dc); });
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace devemu

#include "UserWindow.h"

#include <cstdint>

#include "Timer.h"
#include "app/AppGlobals.h"

namespace {

uint32_t classUseCount = 0;  // live UserWindow objects; main thread only

}  // namespace

UserWindow::UserWindow() {
    if (classUseCount++ != 0) return;
    WNDCLASSW userClass{};
    userClass.style = CS_HREDRAW | CS_VREDRAW;
    userClass.lpfnWndProc = StaticWindowProc;
    userClass.hInstance = AppInstance;
    userClass.hIcon = AppIcon;
    userClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    userClass.lpszClassName = kClassName;
    RegisterClassW(&userClass);  // a failure shows as windows that cannot be created
}

UserWindow::~UserWindow() {
    if (--classUseCount == 0) UnregisterClassW(kClassName, AppInstance);
}

LRESULT UserWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: return OnCreate(wParam, lParam);
    case WM_DESTROY: return OnDestroy(wParam, lParam);
    case WM_SIZE: return OnSize(wParam, lParam);
    case WM_PAINT: return OnPaint(wParam, lParam);
    case WM_SETCURSOR: return OnSetCursor(wParam, lParam);
    case WM_DRAWITEM:
        // An owner-drawn control draws itself.
        return StaticWindowProc(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem, message,
                                wParam, lParam);
    case WM_TIMER:
        if (wParam != 0) {
            reinterpret_cast<Timer*>(wParam)->OnElapsed();
        } else if (lParam != 0) {
            reinterpret_cast<TIMERPROC>(lParam)(window, WM_TIMER, 0, static_cast<DWORD>(lParam));
        }
        return 0;
    case WM_VSCROLL:
        if (lParam == 0 || reinterpret_cast<HWND>(lParam) == window) return OnVScroll(wParam, lParam);
        return StaticWindowProc(reinterpret_cast<HWND>(lParam), message, wParam, lParam);
    case WM_MOUSEMOVE: return OnMouseMove(wParam, lParam);
    case WM_LBUTTONDOWN: return OnLButtonDown(wParam, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(wParam, lParam);
    default: return WindowObject::WindowProc(message, wParam, lParam);
    }
}

LRESULT UserWindow::OnCreate(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(createCallback, WM_CREATE, wParam, lParam);
}
LRESULT UserWindow::OnDestroy(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(destroyCallback, WM_DESTROY, wParam, lParam);
}
LRESULT UserWindow::OnPaint(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(paintCallback, WM_PAINT, wParam, lParam);
}
LRESULT UserWindow::OnSetCursor(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(setCursorCallback, WM_SETCURSOR, wParam, lParam);
}
LRESULT UserWindow::OnMouseMove(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(mouseMoveCallback, WM_MOUSEMOVE, wParam, lParam);
}
LRESULT UserWindow::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(lButtonDownCallback, WM_LBUTTONDOWN, wParam, lParam);
}
LRESULT UserWindow::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(lButtonUpCallback, WM_LBUTTONUP, wParam, lParam);
}
LRESULT UserWindow::OnSize(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(sizeCallback, WM_SIZE, wParam, lParam);
}
LRESULT UserWindow::OnVScroll(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(vScrollCallback, WM_VSCROLL, wParam, lParam);
}

LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowObject* object;
    if (message == WM_CREATE) {
        object = static_cast<WindowObject*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        WindowObject::Attach(window, object);
        if (object) object->SetWindow(window);
    } else {
        object = WindowObject::FromWindow(window);
    }
    if (message == WM_NCDESTROY && object) {
        // The window's last message: the object lets go of it and no later one can reach it.
        WindowObject::Attach(window, nullptr);
        if (object->Window() == window) object->SetWindow(nullptr);
        object = nullptr;
    }
    if (!object) return DefWindowProcW(window, message, wParam, lParam);
    return object->WindowProc(message, wParam, lParam);
}

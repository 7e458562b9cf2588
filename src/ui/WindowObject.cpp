#include "WindowObject.h"

#include "app/AppGlobals.h"

namespace {

bool IsNavigationKey(WPARAM key) { return key == VK_UP || key == VK_DOWN || key == VK_RETURN || key == VK_ESCAPE; }

// A combo box whose list is dropped down.
bool IsListOpen(HWND control) {
    wchar_t name[16];
    return GetClassNameW(control, name, 16) && lstrcmpiW(name, L"ComboBox") == 0 &&
           SendMessageW(control, CB_GETDROPPEDSTATE, 0, 0);
}

// The main loop offers a key to the accelerator table with the window that has the focus, so
// after a tap on a control Ctrl+Q's command goes to that control, which has no use for it. A
// control therefore hands accelerator commands on to its parent, whose menu bar they belong to;
// everything else goes to the control's own class procedure.
LRESULT CALLBACK ControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr WORD kFromAccelerator = 1;
    if (message == WM_COMMAND && HIWORD(wParam) == kFromAccelerator && lParam == 0) {
        return SendMessageW(GetParent(control), message, wParam, lParam);
    }
    // The D-pad, action and back keys move between the controls and act on them, as on a phone
    // used without its stylus; an open drop-down list keeps them, to choose in it.
    if (message == WM_KEYDOWN && IsNavigationKey(wParam) && !IsListOpen(control)) {
        WindowObject* owner = WindowObject::FromWindow(GetParent(control));
        if (owner && owner->OnNavigationKey(control, wParam)) return 0;
    }
    const auto own = reinterpret_cast<WNDPROC>(GetClassLongPtrW(control, GCLP_WNDPROC));
    return CallWindowProcW(own, control, message, wParam, lParam);
}

}  // namespace

WindowObject::~WindowObject() {
    // A late message to a window whose object is gone must find nothing, not a dangling object.
    if (window && FromWindow(window) == this) Attach(window, nullptr);
}

LRESULT WindowObject::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) return OnCommand(wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT WindowObject::OnCommand(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(commandCallback, WM_COMMAND, wParam, lParam);
}

bool WindowObject::OnNavigationKey(HWND, WPARAM) { return false; }

LRESULT WindowObject::CallbackOrDefault(const CallbackSlot& slot, UINT message, WPARAM wParam,
                                        LPARAM lParam) {
    if (!slot) return DefWindowProcW(window, message, wParam, lParam);
    MessageArgs args{wParam, lParam};
    return slot.Invoke(reinterpret_cast<LPARAM>(&args));
}

WindowObject* WindowObject::FromWindow(HWND handle) {
    return reinterpret_cast<WindowObject*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

void WindowObject::Attach(HWND handle, WindowObject* object) {
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

bool WindowObject::CreateChild(const wchar_t* className, DWORD style, HWND parent,
                               const wchar_t* text, int x, int y, int width, int height) {
    window = CreateWindowExW(0, className, text, style, x, y, width, height, parent, nullptr,
                             AppInstance, this);
    if (window) {
        // Our own class is attached at WM_CREATE; the platform's controls learn their object here.
        Attach(window, this);
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ControlProc));
    }
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window != nullptr;
}

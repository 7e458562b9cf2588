// The root of every window and control object: the window handle and the command callback.
// The object is found from its window through the window's user data.
#pragma once

#include <windows.h>

#include "Callback.h"

class WindowObject {
public:
    WindowObject() = default;
    // Detaches the object from a window that outlives it; the window itself is not destroyed.
    virtual ~WindowObject();

    WindowObject(const WindowObject&) = delete;
    WindowObject& operator=(const WindowObject&) = delete;

    // WM_COMMAND goes to OnCommand, everything else to the platform default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The command callback with the message's MessageArgs, or the platform default.
    virtual LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    // A D-pad, action or back key that `control`, a child of this window, hands on; true when
    // the window took it. Only a top-level window knows what to do with one.
    virtual bool OnNavigationKey(HWND control, WPARAM key);

    HWND Window() const { return window; }
    void SetWindow(HWND handle) { window = handle; }

    // The object a window carries in its user data, or null.
    static WindowObject* FromWindow(HWND handle);
    // Makes `handle` carry `object` (null: carry nothing).
    static void Attach(HWND handle, WindowObject* object);

    // Creates this object's window as a child control of `parent`: identifier 0, the object as
    // creation parameter and as user data, then shown and updated. Accelerator commands that
    // reach it go on to the parent. False when it failed.
    bool CreateChild(const wchar_t* className, DWORD style, HWND parent, const wchar_t* text,
                     int x, int y, int width, int height);

    CallbackSlot commandCallback;

protected:
    // A handler's default: its callback with the message's MessageArgs, or the platform default.
    LRESULT CallbackOrDefault(const CallbackSlot& slot, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window = nullptr;
};

// The base of every window of the program's own class "GUI|UserClass": each message it cares
// about goes to a virtual handler whose default calls that handler's callback, or the platform.
#pragma once

#include "WindowObject.h"

class UserWindow : public WindowObject {
public:
    static constexpr wchar_t kClassName[] = L"GUI|UserClass";

    // The first live UserWindow registers the class, the last one unregisters it.
    UserWindow();
    ~UserWindow() override = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    virtual LRESULT OnCreate(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnDestroy(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnPaint(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSetCursor(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnSize(WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnVScroll(WPARAM wParam, LPARAM lParam);

    CallbackSlot createCallback;
    CallbackSlot destroyCallback;
    CallbackSlot paintCallback;
    CallbackSlot setCursorCallback;
    CallbackSlot mouseMoveCallback;
    CallbackSlot lButtonDownCallback;
    CallbackSlot lButtonUpCallback;
    CallbackSlot sizeCallback;
    CallbackSlot vScrollCallback;
};

// The procedure of the class: finds the window's object (bound at WM_CREATE from the creation
// parameter) and hands it the message. Also called directly to pass a message on to a control.
LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Controls of the platform's "BUTTON" class. The parent passes WM_DRAWITEM and WM_COMMAND back
// to the control's object, so an owner-drawn button draws itself and a click reaches it.
#pragma once

#include "WindowObject.h"

class OwnerDrawControl : public WindowObject {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The draw callback with the message's MessageArgs, or the platform default.
    virtual LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam);

    CallbackSlot drawCallback;
};

class ButtonControl : public OwnerDrawControl {
public:
    ~ButtonControl() override = 0;

    // A click (BN_CLICKED) goes to OnClicked; other notifications to the command callback.
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The click callback with the message's MessageArgs, or the platform default.
    virtual LRESULT OnClicked(WPARAM wParam, LPARAM lParam);

    CallbackSlot clickCallback;
};

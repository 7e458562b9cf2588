// An automatic check box: reports its new state after each click.
#pragma once

#include "OwnerDrawControl.h"

class CheckBox : public ButtonControl {
public:
    bool Create(HWND parent, const wchar_t* text, int x, int y, int width, int height);

    bool IsChecked() const;
    // Sets the mark by program, which reports nothing.
    void SetChecked(bool checked);

    // Reads the state the platform has just toggled and reports it; the click callback is unused.
    LRESULT OnClicked(WPARAM wParam, LPARAM lParam) override;
    // The checked callback with 1 (checked) or 0.
    virtual LRESULT OnCheckChanged(LPARAM checked);

    CallbackSlot checkedCallback;
};

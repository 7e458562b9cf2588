// A drop-down list: reports the index the user confirmed.
#pragma once

#include "WindowObject.h"

class ComboBox : public WindowObject {
public:
    // `height` includes the dropped-down list.
    bool Create(HWND parent, int x, int y, int width, int height);

    // A confirmed choice (CBN_SELENDOK) goes to OnSelect; other notifications to the command callback.
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The selection callback with the zero-based index.
    virtual LRESULT OnSelect(LPARAM index);

    CallbackSlot selectionCallback;
};

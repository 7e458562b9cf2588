// A read-only multi-line text box with a border and a vertical scroll bar.
#pragma once

#include "WindowObject.h"

class EditBox : public WindowObject {
public:
    bool Create(HWND parent, int x, int y, int width, int height) {
        return CreateChild(L"EDIT",
                           WS_CHILD | WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_READONLY | ES_WANTRETURN,
                           parent, nullptr, x, y, width, height);
    }
};

// The shell's soft-key bar of a top-level window. Its command callback receives the menu
// commands; its window is the shell's, null when the shell refused to make one.
#pragma once

#include "WindowObject.h"

class MenuBar : public WindowObject {
public:
    MenuBar() = default;
    ~MenuBar() override;  // destroys the bar's window

    // Asks the shell for the bar of menu-bar resource `resourceId` below `parent`.
    bool Create(HWND parent, UINT resourceId);
};

#include "MenuBar.h"

#include "app/AppGlobals.h"
#include "ce/Shell.h"

MenuBar::~MenuBar() {
    if (window) DestroyWindow(window);
    window = nullptr;
}

bool MenuBar::Create(HWND parent, UINT resourceId) {
    SHMENUBARINFO info{};
    info.cbSize = sizeof info;
    info.hwndParent = parent;
    info.dwFlags = 0;
    info.nToolBarId = resourceId;
    info.hInstRes = AppInstance;
    window = SHCreateMenuBar(&info) ? info.hwndMB : nullptr;
    return window != nullptr;
}

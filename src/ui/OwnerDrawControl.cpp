#include "OwnerDrawControl.h"

LRESULT OwnerDrawControl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) return OnDrawItem(wParam, lParam);
    return WindowObject::WindowProc(message, wParam, lParam);
}

LRESULT OwnerDrawControl::OnDrawItem(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(drawCallback, WM_DRAWITEM, wParam, lParam);
}

ButtonControl::~ButtonControl() = default;

LRESULT ButtonControl::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED) return WindowObject::OnCommand(wParam, lParam);
    return OnClicked(wParam, lParam);
}

LRESULT ButtonControl::OnClicked(WPARAM wParam, LPARAM lParam) {
    return CallbackOrDefault(clickCallback, WM_COMMAND, wParam, lParam);
}

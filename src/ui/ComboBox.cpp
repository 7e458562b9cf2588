#include "ComboBox.h"

bool ComboBox::Create(HWND parent, int x, int y, int width, int height) {
    return CreateChild(L"COMBOBOX", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, parent, nullptr, x, y,
                       width, height);
}

LRESULT ComboBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != CBN_SELENDOK) return WindowObject::OnCommand(wParam, lParam);
    OnSelect(SendMessageW(window, CB_GETCURSEL, 0, 0));
    return 0;
}

LRESULT ComboBox::OnSelect(LPARAM index) {
    if (selectionCallback) selectionCallback.Invoke(index);
    return 0;
}

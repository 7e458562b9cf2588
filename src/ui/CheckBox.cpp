#include "CheckBox.h"

bool CheckBox::Create(HWND parent, const wchar_t* text, int x, int y, int width, int height) {
    return CreateChild(L"BUTTON", WS_CHILD | BS_AUTOCHECKBOX, parent, text, x, y, width, height);
}

LRESULT CheckBox::OnClicked(WPARAM, LPARAM) {
    const LRESULT state = SendMessageW(window, BM_GETSTATE, 0, 0);
    return OnCheckChanged((state & BST_CHECKED) ? 1 : 0);
}

LRESULT CheckBox::OnCheckChanged(LPARAM checked) {
    if (checkedCallback) checkedCallback.Invoke(checked);
    return 0;
}

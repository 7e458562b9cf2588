#include "CheckBox.h"

bool CheckBox::Create(HWND parent, const wchar_t* text, int x, int y, int width, int height) {
    return CreateChild(L"BUTTON", WS_CHILD | BS_AUTOCHECKBOX, parent, text, x, y, width, height);
}

bool CheckBox::IsChecked() const {
    return SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked) {
    SendMessageW(window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

LRESULT CheckBox::OnClicked(WPARAM, LPARAM) {
    const LRESULT state = SendMessageW(window, BM_GETSTATE, 0, 0);
    return OnCheckChanged((state & BST_CHECKED) ? 1 : 0);
}

LRESULT CheckBox::OnCheckChanged(LPARAM checked) {
    if (checkedCallback) checkedCallback.Invoke(checked);
    return 0;
}

#include "ComboBox.h"

bool ComboBox::Create(HWND parent, int x, int y, int width, int height) {
    return CreateChild(L"COMBOBOX", WS_CHILD | WS_VSCROLL | CBS_DROPDOWNLIST, parent, nullptr, x, y,
                       width, height);
}

void ComboBox::SetItems(std::initializer_list<const wchar_t*> items) {
    SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* item : items) {
        SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
}

int ComboBox::Selection() const {
    return static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
}

void ComboBox::Select(int index) {
    SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

LRESULT ComboBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != CBN_SELENDOK) return WindowObject::OnCommand(wParam, lParam);
    OnSelect(Selection());
    return 0;
}

LRESULT ComboBox::OnSelect(LPARAM index) {
    if (selectionCallback) selectionCallback.Invoke(index);
    return 0;
}

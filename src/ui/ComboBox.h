// A drop-down list: reports the index the user confirmed.
#pragma once

#include <initializer_list>

#include "WindowObject.h"

class ComboBox : public WindowObject {
public:
    // `height` includes the dropped-down list.
    bool Create(HWND parent, int x, int y, int width, int height);

    // Empties the list and adds the items in order, so an item's index is its position.
    void SetItems(std::initializer_list<const wchar_t*> items);
    // The selected index, or -1 when nothing is selected.
    int Selection() const;
    // Selects by program, which reports nothing; an index outside the list selects nothing.
    void Select(int index);

    // A confirmed choice (CBN_SELENDOK) goes to OnSelect; other notifications to the command callback.
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam) override;
    // The selection callback with the zero-based index.
    virtual LRESULT OnSelect(LPARAM index);

    CallbackSlot selectionCallback;
};

// A label of the program's own class: plain wrapped text, or a section header (a grey rounded
// tab with the text in white and a gradient line running on from it).
#pragma once

#include "UserWindow.h"

class Label : public UserWindow {
public:
    static constexpr int kPlain = 0;
    static constexpr int kSectionHeader = 1;

    explicit Label(int style = kPlain) : style(style) {}

    bool Create(HWND parent, const wchar_t* text, int x, int y, int width, int height);

    LRESULT OnPaint(WPARAM wParam, LPARAM lParam) override;
    // Draws the label's window text (its first 79 characters) as its style says.
    void Draw(HDC dc) const;

    int style;
};

// The drawing of a label `width` by `height` with `text`, in the DC's font and colours.
void DrawLabel(HDC dc, int style, const wchar_t* text, int width, int height);
void DrawRoundedTab(HDC dc, const RECT& tab, COLORREF colour);
// Grey 128 at the left towards the window colour at the right; the last column is not painted.
void DrawGradient(HDC dc, const RECT& area);

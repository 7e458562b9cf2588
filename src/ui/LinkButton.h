// An owner-drawn push button that looks like a link: underlined text in link colours.
#pragma once

#include "OwnerDrawControl.h"
#include "ce/Handle.h"

class LinkButton : public ButtonControl {
public:
    static constexpr COLORREF kNormal = RGB(0x00, 0x00, 0xC0);
    static constexpr COLORREF kPressed = RGB(0x80, 0x00, 0xFF);

    bool Create(HWND parent, const wchar_t* text, int x, int y, int width, int height);

    // Draws the button into the DRAWITEMSTRUCT's DC; returns TRUE.
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam) override;

    HFONT Font() const { return static_cast<HFONT>(font.get()); }

private:
    GdiObject font;  // the DC's font, underlined; made on the first draw
};

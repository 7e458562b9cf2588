#include "IconButton.h"

#include "GestureView.h"
#include "ui/Gdi.h"

namespace {

COLORREF ToColorRef(Rgb c) { return RGB(c.red, c.green, c.blue); }

Rgb WindowColour() {
    const COLORREF c = GetSysColor(COLOR_WINDOW);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

}  // namespace

bool IconButton::Create(HWND parent, int x, int y, int width, int height) {
    return CreateChild(L"BUTTON", WS_CHILD | BS_OWNERDRAW, parent, nullptr, x, y, width, height);
}

LRESULT IconButton::OnDrawItem(WPARAM, LPARAM lParam) {
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    RECT rect{};
    GetWindowRect(window, &rect);
    DrawIconButton(item->hDC, symbol, lit_, item->itemState, rect.right - rect.left, rect.bottom - rect.top);
    return TRUE;
}

void IconButton::SetBlinking(bool blinking) {
    if (blinking) {
        if (blinkTimer_) return;
        // A timer the platform refuses never fires; it is kept all the same, so the button
        // simply stays unblinking until the blinking is stopped.
        blinkTimer_ = std::make_unique<Timer>(window, kBlinkPeriodMs);
        blinkTimer_->elapsedCallback.Set(Bind(this, &IconButton::OnBlink));
        return;
    }
    blinkTimer_.reset();
    if (!lit_) {
        lit_ = true;
        InvalidateRect(window, nullptr, FALSE);
    }
}

INT_PTR IconButton::OnBlink(LPARAM) {
    if (blinkTimer_) {
        lit_ = !lit_;
        InvalidateRect(window, nullptr, FALSE);
    }
    return 0;
}

void DrawIconButton(HDC dc, int symbol, bool lit, UINT itemState, int width, int height) {
    const IconColours colours = IconColoursFor(itemState, WindowColour());
    const COLORREF border = ToColorRef(colours.border);
    DrawFrame(dc, width, height, border, ToColorRef(colours.background));
    // The focus, for a phone used without its stylus: inside the frame, clear of the symbol.
    if (itemState & ODS_FOCUS) {
        const RECT inside{3, 3, width - 3, height - 3};
        DrawFocusRect(dc, &inside);
    }
    if (!lit) return;
    if (symbol == kRecordSymbol) {
        const Box box = CircleBox(width, height);
        ShapeStyle style(dc, border, ToColorRef(colours.circle));
        Ellipse(dc, box.left, box.top, box.right, box.bottom);
    } else if (symbol == kPlaySymbol) {
        DrawPolygon(dc, TrianglePoints(width, height), border, ToColorRef(colours.triangle));
    }
}

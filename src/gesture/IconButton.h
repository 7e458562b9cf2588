// The editor's square owner-drawn button with a symbol: a red circle to record, a triangle to
// play. The symbol blinks while the recording or the playback that the button started runs.
#pragma once

#include <memory>

#include "GestureDrawing.h"
#include "ui/OwnerDrawControl.h"
#include "ui/Timer.h"

class IconButton : public ButtonControl {
public:
    static constexpr UINT kBlinkPeriodMs = 500;

    // kRecordSymbol or kPlaySymbol; any other value draws no symbol.
    explicit IconButton(int symbol) : symbol(symbol) {}

    bool Create(HWND parent, int x, int y, int width, int height);

    // Draws the button into the DRAWITEMSTRUCT's DC; returns TRUE.
    LRESULT OnDrawItem(WPARAM wParam, LPARAM lParam) override;

    // Starts the blinking, unless it blinks already; or stops it, with the symbol shown again.
    void SetBlinking(bool blinking);
    const Timer* BlinkTimer() const { return blinkTimer_.get(); }
    bool Lit() const { return lit_; }

    int symbol;

private:
    INT_PTR OnBlink(LPARAM);

    // Destroyed before the button's base, which stops it on the button's window.
    std::unique_ptr<Timer> blinkTimer_;
    bool lit_ = true;  // false: the symbol is hidden, for the dark half of a blink
};

// An icon button `width` by `height` in draw-item state `itemState`.
void DrawIconButton(HDC dc, int symbol, bool lit, UINT itemState, int width, int height);

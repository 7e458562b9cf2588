// Guards for the paired GDI calls of the program's drawing.
#pragma once

#include <windows.h>

#include "ce/Handle.h"

// BeginPaint ... EndPaint for one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    ~PaintDc() { EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC get() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// An object selected into a DC for one scope; the DC gets its previous object back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// Text drawn transparently in one colour for one scope; the DC's colour and mode come back.
class TextStyle {
public:
    TextStyle(HDC dc, COLORREF colour)
        : dc_(dc), oldColour_(SetTextColor(dc, colour)), oldMode_(SetBkMode(dc, TRANSPARENT)) {}
    ~TextStyle() {
        SetTextColor(dc_, oldColour_);
        SetBkMode(dc_, oldMode_);
    }
    TextStyle(const TextStyle&) = delete;
    TextStyle& operator=(const TextStyle&) = delete;

private:
    HDC dc_;
    COLORREF oldColour_;
    int oldMode_;
};

// A shape's 1-pixel solid outline pen and solid fill brush, selected for one scope; the DC gets
// its own back before both are deleted.
class ShapeStyle {
public:
    ShapeStyle(HDC dc, COLORREF outline, COLORREF fill)
        : pen_(CreatePen(PS_SOLID, 1, outline)), brush_(CreateSolidBrush(fill)),
          penSelected_(dc, pen_.get()), brushSelected_(dc, brush_.get()) {}

private:
    GdiObject pen_;
    GdiObject brush_;
    Selection penSelected_;
    Selection brushSelected_;
};

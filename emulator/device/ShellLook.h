// How the emulated shell draws its bars, as the WM6 default theme does: a dark blue-grey
// gradient, lighter at the top, with white text; a pressed soft key darker.
#pragma once

#include <cstdint>

#include <windows.h>

#include "ce/Handle.h"

namespace devemu {

constexpr COLORREF kBarText = RGB(255, 255, 255);
constexpr COLORREF kBarDisabledText = RGB(128, 140, 160);

// The bar's colour at row y of a bar `height` rows high.
COLORREF BarColour(int y, int height, bool pressed);
// Fills `area` with the bar's gradient, row by row from area.top.
void FillBar(HDC dc, const RECT& area, bool pressed);

// The shell's text, Tahoma at `points` (the phone's system font) for the screen's density.
GdiObject CreateShellFont(int points, bool bold);

// Draws a 32 x 32 icon of premultiplied BGRA pixels at (x, y) of `dc`, over what is there.
void DrawIconPixels(HDC dc, int x, int y, const uint32_t* pixels);

}  // namespace devemu

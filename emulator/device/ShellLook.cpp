#include "ShellLook.h"

#include <vector>

#include "Dc.h"
#include "Device.h"
#include "ui/Gdi.h"

namespace devemu {
namespace {

struct Stop {
    int red, green, blue;
};
constexpr Stop kTop{92, 108, 138}, kBottom{26, 34, 50};
constexpr Stop kPressedTop{34, 42, 60}, kPressedBottom{10, 14, 22};

int Mix(int from, int to, int y, int span) { return from + (to - from) * y / span; }

}  // namespace

COLORREF BarColour(int y, int height, bool pressed) {
    const Stop& top = pressed ? kPressedTop : kTop;
    const Stop& bottom = pressed ? kPressedBottom : kBottom;
    const int span = height > 1 ? height - 1 : 1;
    return RGB(Mix(top.red, bottom.red, y, span), Mix(top.green, bottom.green, y, span),
               Mix(top.blue, bottom.blue, y, span));
}

void FillBar(HDC dc, const RECT& area, bool pressed) {
    const int height = area.bottom - area.top;
    for (int y = 0; y < height; ++y) {
        GdiObject brush(CreateSolidBrush(BarColour(y, height, pressed)));
        const RECT row{area.left, area.top + y, area.right, area.top + y + 1};
        FillRect(dc, &row, static_cast<HBRUSH>(brush.get()));
    }
}

GdiObject CreateShellFont(int points, bool bold) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    LOGFONTW font{};
    font.lfHeight = -MulDiv(points, dpi, 72);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    lstrcpyW(font.lfFaceName, L"Tahoma");
    return GdiObject(CreateFontIndirectW(&font));
}

void DrawIconPixels(HDC dc, int x, int y, const uint32_t* pixels) {
    constexpr int n = kIconSide;
    BITMAPINFO info = TopDownDib(n, n, 32);
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    MemoryDc memory(dc);
    if (!bitmap || !bits || !memory.get()) return;
    Selection selected(memory.get(), bitmap.get());
    // What lies under the icon, blended by hand: the pixels are premultiplied, so each channel
    // is the icon's plus the background's share that the icon lets through.
    BitBlt(memory.get(), 0, 0, n, n, dc, x, y, SRCCOPY);
    GdiFlush();
    auto* under = static_cast<uint32_t*>(bits);
    for (int i = 0; i < n * n; ++i) {
        const uint32_t over = pixels[i];
        const uint32_t keep = 255 - (over >> 24);
        uint32_t out = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const uint32_t channel = ((over >> shift) & 0xFF) + ((under[i] >> shift) & 0xFF) * keep / 255;
            out |= (channel > 255 ? 255 : channel) << shift;
        }
        under[i] = out;
    }
    BitBlt(dc, x, y, n, n, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace devemu

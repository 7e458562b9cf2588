// Owners of the device contexts the emulator draws and captures with.
#pragma once

#include <windows.h>

#include "ce/Handle.h"
#include "ui/Gdi.h"

namespace devemu {

// The screen's DC, GetDC(nullptr) ... ReleaseDC.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// A memory DC compatible with another, CreateCompatibleDC ... DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// The header of a top-down DIB section, `bits` per pixel (BI_RGB).
inline BITMAPINFO TopDownDib(int width, int height, WORD bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bits;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// One WM_PAINT drawn off screen first and copied at once, so the window never shows half a
// repaint: paint(dc, client) draws the whole client area.
template <class Paint>
void PaintBuffered(HWND window, Paint&& paint) {
    PaintDc target(window);
    RECT client{};
    GetClientRect(window, &client);
    MemoryDc memory(target.get());
    GdiObject bitmap(CreateCompatibleBitmap(target.get(), client.right, client.bottom));
    if (!memory.get() || !bitmap) return;
    Selection selected(memory.get(), bitmap.get());
    paint(memory.get(), client);
    BitBlt(target.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace devemu

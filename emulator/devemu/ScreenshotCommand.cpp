// screenshot: what the user sees, the whole screen or one window, as a PNG file.
#include <windows.h>

#include "Command.h"
#include "Png.h"
#include "ce/Handle.h"

namespace devemu {
namespace {

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

// Keeps an object selected into a DC for one scope, so the DC is back to its own object
// before either is deleted.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~Selection() {
        if (old_) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    bool ok() const { return old_ != nullptr && old_ != HGDI_ERROR; }

private:
    HDC dc_;
    HGDIOBJ old_;
};

[[noreturn]] void Fail(const char* what) {
    throw CommandError{1, std::string("cannot capture the screen: ") + what + " failed (error " +
                              std::to_string(GetLastError()) + ")"};
}

// The screen pixels of `area` (screen coordinates) as RGB rows, top row first.
std::vector<uint8_t> Capture(HDC screen, const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, like the PNG
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) Fail("CreateDIBSection");
    MemoryDc memory(screen);
    if (!memory.get()) Fail("CreateCompatibleDC");
    {
        Selection selected(memory.get(), bitmap.get());
        if (!selected.ok()) Fail("SelectObject");
        if (!BitBlt(memory.get(), 0, 0, width, height, screen, area.left, area.top,
                    SRCCOPY | CAPTUREBLT)) {
            Fail("BitBlt");
        }
    }
    GdiFlush();  // the blit must have landed in the bits before we read them

    // DIB rows are BGR, padded to four bytes.
    const size_t stride = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
    const auto* source = static_cast<const uint8_t*>(bits);
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    uint8_t* out = rgb.data();
    for (int y = 0; y < height; ++y) {
        const uint8_t* p = source + stride * static_cast<size_t>(y);
        for (int x = 0; x < width; ++x, p += 3) {
            *out++ = p[2];
            *out++ = p[1];
            *out++ = p[0];
        }
    }
    return rgb;
}

HWND VisibleWindowTitled(const std::wstring& title) {
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, nullptr, title.c_str())) != nullptr) {
        if (IsWindowVisible(window)) return window;
    }
    return nullptr;
}

}  // namespace

int CmdScreenshot(const Args& given, Io& io) {
    Args args = given;
    const auto title = TakeOption(args, L"--window");
    if (args.size() < 2) Usage("missing file name");
    if (args.size() > 2) Usage("too many arguments");
    const std::wstring& path = args[1];

    ScreenDc screen;
    if (!screen.get()) Fail("GetDC");
    RECT area{0, 0, GetDeviceCaps(screen.get(), HORZRES), GetDeviceCaps(screen.get(), VERTRES)};
    if (title) {
        HWND window = VisibleWindowTitled(*title);
        if (!window) throw CommandError{1, "no window titled \"" + Narrow(*title) + "\""};
        // The window may belong to another process that has only just shown it: give it a
        // moment to paint, then take what is on the screen.
        Sleep(100);
        RECT rect{};
        if (!GetWindowRect(window, &rect)) {
            throw CommandError{1, "window \"" + Narrow(*title) + "\" went away"};
        }
        // Only the part on the screen: beyond its edges there is nothing to see.
        RECT visible{};
        if (!IntersectRect(&visible, &rect, &area)) {
            throw CommandError{1, "window \"" + Narrow(*title) + "\" is off the screen"};
        }
        area = visible;
    }

    const int width = area.right - area.left, height = area.bottom - area.top;
    const std::vector<uint8_t> rgb = Capture(screen.get(), area);
    if (!WritePng(path, width, height, rgb)) {
        throw CommandError{1, "cannot write " + Narrow(path) + " (error " +
                                  std::to_string(GetLastError()) + ")"};
    }
    io.out += "screenshot " + Narrow(path) + " " + std::to_string(width) + "x" +
              std::to_string(height) + "\n";
    return 0;
}

}  // namespace devemu

// screenshot: what the user sees, the whole screen, the phone's screen or one window, as a PNG file.
#include <windows.h>

#include "Command.h"
#include "Dc.h"
#include "PhoneScreen.h"
#include "PngFile.h"
#include "ce/Handle.h"

namespace devemu {
namespace {

[[noreturn]] void Fail(const char* what) {
    throw CommandError{1, std::string("cannot capture the screen: ") + what + " failed (error " +
                              std::to_string(GetLastError()) + ")"};
}

// The screen pixels of `area` (screen coordinates), as a top-down 24-bit DIB.
class Capture {
public:
    Capture(HDC screen, const RECT& area) : width_(area.right - area.left), height_(area.bottom - area.top) {
        BITMAPINFO info = TopDownDib(width_, height_, 24);  // top-down, like the PNG
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap_ || !bits) Fail("CreateDIBSection");
        bits_ = static_cast<const uint8_t*>(bits);
        MemoryDc memory(screen);
        if (!memory.get()) Fail("CreateCompatibleDC");
        const HGDIOBJ old = SelectObject(memory.get(), bitmap_.get());
        if (!old || old == HGDI_ERROR) Fail("SelectObject");
        const BOOL copied = BitBlt(memory.get(), 0, 0, width_, height_, screen, area.left, area.top,
                                   SRCCOPY | CAPTUREBLT);
        SelectObject(memory.get(), old);  // the bitmap is the DC's no longer before either goes
        if (!copied) Fail("BitBlt");
        GdiFlush();  // the blit must have landed in the bits before they are read
    }

    int Width() const { return width_; }
    int Height() const { return height_; }
    const uint8_t* Bits() const { return bits_; }
    // DIB rows are padded to four bytes.
    size_t Stride() const { return (static_cast<size_t>(width_) * 3 + 3) & ~size_t{3}; }

private:
    int width_, height_;
    GdiObject bitmap_;
    const uint8_t* bits_ = nullptr;
};

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
    const bool phone = TakeFlag(args, L"--screen");
    if (args.size() < 2) Usage("missing file name");
    if (args.size() > 2) Usage("too many arguments");
    if (title && phone) Usage("--window or --screen, not both");
    const std::wstring& path = args[1];

    ScreenDc screen;
    if (!screen.get()) Fail("GetDC");
    RECT area{0, 0, GetDeviceCaps(screen.get(), HORZRES), GetDeviceCaps(screen.get(), VERTRES)};
    if (phone) area = PhoneScreen();  // with the shell's bars across it
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

    const Capture shot(screen.get(), area);
    std::string error;
    if (!WritePng(path, shot.Width(), shot.Height(), shot.Bits(), shot.Stride(), error)) {
        throw CommandError{1, "cannot write " + Narrow(path) + ": " + error};
    }
    io.out += "screenshot " + Narrow(path) + " " + std::to_string(shot.Width()) + "x" +
              std::to_string(shot.Height()) + "\n";
    return 0;
}

}  // namespace devemu

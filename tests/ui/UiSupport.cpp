#include "UiSupport.h"

#include <cstdio>

#include "app/AppGlobals.h"

namespace uitest {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (;;) {
        Pump();
        const ULONGLONG now = GetTickCount64();
        if (now >= end) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        Pump();
        if (done()) return true;
        if (GetTickCount64() >= end) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TestWindow::TestWindow(Recipe recipe, const wchar_t* title)
    : TopLevelWindow(title), recipe_(std::move(recipe)) {}

TestWindow::~TestWindow() {
    if (window) DestroyWindow(window);
}

MenuBar& TestWindow::AddMenuBar() {
    ownedBar_ = std::make_unique<MenuBar>();
    ownedBar_->Create(window, IDR_MENUBAR);
    menuBar = ownedBar_.get();
    return *ownedBar_;
}

LRESULT TestWindow::OnCreate(WPARAM wParam, LPARAM lParam) {
    if (recipe_) recipe_(*this);
    return TopLevelWindow::OnCreate(wParam, lParam);
}

LRESULT TestWindow::OnDestroy(WPARAM wParam, LPARAM lParam) {
    menuBar = nullptr;
    ownedBar_.reset();
    children_.clear();
    return TopLevelWindow::OnDestroy(wParam, lParam);
}

Bitmap::Bitmap(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<const uint32_t*>(bits);
    old_ = SelectObject(dc_, bitmap_);
    HBRUSH brush = CreateSolidBrush(fill);
    RECT all{0, 0, width, height};
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

Bitmap::~Bitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF Bitmap::At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

int Bitmap::Differences(const Bitmap& other) const {
    int n = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) n += At(x, y) != other.At(x, y);
    }
    return n;
}

int Bitmap::Count(COLORREF colour, const RECT& area) const {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
    }
    return n;
}

int Bitmap::LongestRun(COLORREF colour) const {
    int longest = 0;
    for (int y = 0; y < height_; ++y) {
        int run = 0;
        for (int x = 0; x < width_; ++x) {
            run = At(x, y) == colour ? run + 1 : 0;
            if (run > longest) longest = run;
        }
    }
    return longest;
}

std::unique_ptr<Bitmap> Capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    auto bitmap = std::make_unique<Bitmap>(client.right, client.bottom, RGB(1, 2, 3));
    HDC source = GetDC(window);
    BitBlt(bitmap->dc(), 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    return bitmap;
}

POINT ScreenTopLeft(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top};
}

std::string Hex(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%06lX", static_cast<unsigned long>(colour));
    return text;
}

}  // namespace uitest

#include "UiSupport.h"

#include <algorithm>

#include "app/AppGlobals.h"

namespace uitest {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        Pump();
        if (done()) return true;
        if (GetTickCount64() >= end) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
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
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    bits_ = static_cast<uint32_t*>(bits);  // 0x00RRGGBB
    const uint32_t pixel = GetRValue(fill) << 16 | GetGValue(fill) << 8 | GetBValue(fill);
    std::fill_n(bits_, width * height, pixel);
}

Bitmap::~Bitmap() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
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

}  // namespace uitest

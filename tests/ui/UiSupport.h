// What the window tests share, here and in other folders: a top-level window built from a test's
// recipe, message pumping, and pixels read back from memory bitmaps and from real windows.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

#include "app/AppGlobals.h"
#include "ui/MenuBar.h"
#include "ui/TopLevelWindow.h"

namespace uitest {

// Handles what is queued for this thread until `done` holds or the generous limit passes;
// returns `done`'s last value.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (MSG msg;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done() || GetTickCount64() >= end) return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
// The same for `ms` milliseconds, or for what is queued now.
inline void PumpFor(DWORD ms) { PumpUntil([] { return false; }, ms); }
inline void Pump() { PumpFor(0); }

// A top-level window whose OnCreate runs the test's recipe. It owns what the recipe adds and
// deletes it when the window goes, as the program's windows do; the destructor closes the window.
class TestWindow : public TopLevelWindow {
public:
    using Recipe = std::function<void(TestWindow&)>;
    explicit TestWindow(Recipe recipe = {}, const wchar_t* title = L"Varnel test")
        : TopLevelWindow(title), recipe_(std::move(recipe)) {}
    ~TestWindow() override {
        if (window) DestroyWindow(window);
    }

    // Creates the menu bar of resource 102 and records it as the window's menu bar.
    MenuBar& AddMenuBar() {
        ownedBar_ = std::make_unique<MenuBar>();
        ownedBar_->Create(window, IDR_MENUBAR);
        menuBar = ownedBar_.get();
        return *ownedBar_;
    }
    // Takes ownership of a control the recipe created.
    template <class T>
    T& Own(std::unique_ptr<T> control) {
        T& ref = *control;
        children_.push_back(std::move(control));
        return ref;
    }

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override {
        if (recipe_) recipe_(*this);
        return TopLevelWindow::OnCreate(wParam, lParam);
    }
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override {
        menuBar = nullptr;
        ownedBar_.reset();
        children_.clear();
        return TopLevelWindow::OnDestroy(wParam, lParam);
    }

private:
    Recipe recipe_;
    std::unique_ptr<MenuBar> ownedBar_;
    std::vector<std::unique_ptr<WindowObject>> children_;
};

// A 32-bit bitmap selected into a memory DC, filled with one colour.
class Bitmap {
public:
    Bitmap(int width, int height, COLORREF fill)
        : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)),
          bitmap_(CreateBitmap(width, height, 1, 32, nullptr)) {
        SelectObject(dc_, bitmap_);
        const RECT all{0, 0, width, height};
        const HBRUSH brush = CreateSolidBrush(fill);
        FillRect(dc_, &all, brush);
        DeleteObject(brush);
    }
    ~Bitmap() {
        DeleteDC(dc_);  // first: it lets go of the bitmap
        DeleteObject(bitmap_);
    }
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }
    // Pixels of exactly `colour`, in the rectangle or in the whole bitmap.
    int Count(COLORREF colour, const RECT& area) const {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) n += At(x, y) == colour;
        }
        return n;
    }
    int Count(COLORREF colour) const { return Count(colour, RECT{0, 0, width_, height_}); }

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
};

// What `window` shows in its client area (read from the window's own surface).
inline std::unique_ptr<Bitmap> Capture(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    auto bitmap = std::make_unique<Bitmap>(client.right, client.bottom, RGB(1, 2, 3));
    HDC source = GetDC(window);
    BitBlt(bitmap->dc(), 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
    return bitmap;
}

}  // namespace uitest

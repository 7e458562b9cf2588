// What the window tests share, here and in other folders: a top-level window built from a test's
// recipe, message pumping, and pixels read back from memory bitmaps and from real windows.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <windows.h>

#include "ui/MenuBar.h"
#include "ui/TopLevelWindow.h"

namespace uitest {

// Handles what is queued for this thread now, or for `ms` milliseconds.
void Pump();
void PumpFor(DWORD ms);
// Pumps until `done` holds or the generous limit passes; returns `done`'s last value.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);

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
    MenuBar& AddMenuBar();
    // Takes ownership of a control the recipe created.
    template <class T>
    T& Own(std::unique_ptr<T> control) {
        T& ref = *control;
        children_.push_back(std::move(control));
        return ref;
    }

    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;

private:
    Recipe recipe_;
    std::unique_ptr<MenuBar> ownedBar_;
    std::vector<std::unique_ptr<WindowObject>> children_;
};

// A 32-bit top-down bitmap selected into a memory DC, filled with one colour.
class Bitmap {
public:
    Bitmap(int width, int height, COLORREF fill);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return RGB(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    }
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
    HGDIOBJ old_;
    uint32_t* bits_;
};

// What `window` shows in its client area (read from the window's own surface).
std::unique_ptr<Bitmap> Capture(HWND window);

}  // namespace uitest

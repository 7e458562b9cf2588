// What the window tests share: a top-level window built from a test's recipe, message pumping,
// and pixels read back from memory bitmaps and from real windows.
#pragma once

#include <functional>
#include <memory>
#include <string>
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
    explicit TestWindow(Recipe recipe = {}, const wchar_t* title = L"Varnel test");
    ~TestWindow() override;

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

// A 32-bit top-down bitmap selected into a memory DC.
class Bitmap {
public:
    Bitmap(int width, int height, COLORREF fill);
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    HDC dc() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    COLORREF At(int x, int y) const;
    // Pixels that differ between two bitmaps of the same size.
    int Differences(const Bitmap& other) const;
    // Pixels of exactly `colour` in the rectangle.
    int Count(COLORREF colour, const RECT& area) const;
    int Count(COLORREF colour) const { return Count(colour, RECT{0, 0, width_, height_}); }
    // The longest horizontal run of `colour` in any row.
    int LongestRun(COLORREF colour) const;

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    const uint32_t* bits_;
};

// What `window` shows in its client area (read from the window's own surface).
std::unique_ptr<Bitmap> Capture(HWND window);

// The top-left corner of a window on the screen.
POINT ScreenTopLeft(HWND window);

// "0xBBGGRR" for messages.
std::string Hex(COLORREF colour);

}  // namespace uitest

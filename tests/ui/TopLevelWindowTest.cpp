// Top-level windows: opening above the menu bar, scrolling the children, the end of the loop.
#include <string>
#include <thread>

#include <gmock/gmock.h>

#include "TestSupport.h"
#include "UiSupport.h"
#include "app/AppGlobals.h"
#include "ui/Label.h"

namespace {

using testing::ElementsAre;
using uitest::TestWindow;

int ScreenTop(HWND window) { return uitest::ScreenTopLeft(window).y; }

int ClientHeight(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.bottom;
}

// Rows of labels, 100 pixels apart, starting at y = 8, each 40 high, below a menu bar.
TestWindow::Recipe Rows(int count, Label** first) {
    return [count, first](TestWindow& w) {
        w.AddMenuBar();
        for (int i = 0; i < count; ++i) {
            auto& row = w.Own(std::make_unique<Label>());
            row.Create(w.Window(), (L"Row " + std::to_wstring(i)).c_str(), 8, 8 + 100 * i, 200, 40);
            if (i == 0) *first = &row;
        }
    };
}

TEST(TopLevelWindowScroll, TallContentScrollsAndMovesTheChildren) {
    Label* first = nullptr;
    TestWindow window(Rows(16, &first));  // the rows reach y = 1548
    window.Open();
    HWND hwnd = window.Window();
    ASSERT_NE(hwnd, nullptr);

    // The content is measured from the client area, with as much margin below as above: the
    // desktop's caption is no part of it.
    EXPECT_EQ(window.contentHeight, 1548 + 8);
    EXPECT_EQ(window.pageHeight, ClientHeight(hwnd));
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd, SB_VERT, &info);
    EXPECT_EQ(info.nMin, 0);
    EXPECT_EQ(info.nMax, window.contentHeight - 1);
    EXPECT_EQ(static_cast<int>(info.nPage), window.pageHeight);
    EXPECT_EQ(info.nPos, 0);

    const int page = window.pageHeight, last = window.contentHeight - window.pageHeight;
    ASSERT_GT(last, page + 16) << "the steps below need more than two pages of content";
    const int base = ScreenTop(first->Window());
    const struct {
        const char* what;
        WORD code;
        int position;
    } steps[] = {
        {"line down", SB_LINEDOWN, 16},
        {"page down", SB_PAGEDOWN, 16 + page},
        {"bottom", SB_BOTTOM, last},
        {"page down at the bottom", SB_PAGEDOWN, last},
        {"line down at the bottom", SB_LINEDOWN, last},
        {"line up", SB_LINEUP, last - 16},
        {"page up", SB_PAGEUP, last - 16 - page},
        {"top", SB_TOP, 0},
        {"line up at the top", SB_LINEUP, 0},
        {"end of scrolling", SB_ENDSCROLL, 0},
    };
    for (const auto& step : steps) {
        SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(step.code, 0), 0);
        EXPECT_EQ(window.scrollPos, step.position) << step.what;
        EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), step.position) << step.what;
        EXPECT_EQ(ScreenTop(first->Window()), base - step.position) << step.what << ": the row moved";
    }

    // Dragging the thumb: the box follows at once, the content when the thumb is let go.
    SetScrollPos(hwnd, SB_VERT, 300, TRUE);
    SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 300), 0);
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 300);
    EXPECT_EQ(window.scrollPos, 0);
    EXPECT_EQ(ScreenTop(first->Window()), base) << "tracking leaves the content where it was";
    SendMessageW(hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 300), 0);
    EXPECT_EQ(window.scrollPos, 300);
    EXPECT_EQ(ScreenTop(first->Window()), base - 300);

    // A new size starts again from the top.
    RECT frame{};
    GetWindowRect(hwnd, &frame);
    MoveWindow(hwnd, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top - 100, TRUE);
    EXPECT_EQ(window.pageHeight, ClientHeight(hwnd));
    EXPECT_EQ(window.scrollPos, 0);
    EXPECT_EQ(GetScrollPos(hwnd, SB_VERT), 0);
    EXPECT_EQ(ScreenTop(first->Window()), base);
}

TEST(TopLevelWindowScroll, ContentShorterThanThePageStaysAtTheTop) {
    Label* first = nullptr;
    TestWindow window(Rows(2, &first));
    window.Open();
    ASSERT_LT(window.contentHeight, window.pageHeight);
    const int base = ScreenTop(first->Window());
    for (WORD code : {SB_PAGEDOWN, SB_BOTTOM, SB_LINEDOWN}) {
        SendMessageW(window.Window(), WM_VSCROLL, MAKEWPARAM(code, 0), 0);
        EXPECT_EQ(window.scrollPos, 0) << "code " << code;
        EXPECT_EQ(GetScrollPos(window.Window(), SB_VERT), 0) << "code " << code;
        EXPECT_EQ(ScreenTop(first->Window()), base) << "code " << code;
    }
}

int WindowsTitled(const wchar_t* title) {
    int count = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, UserWindow::kClassName, title)) != nullptr;) ++count;
    return count;
}

TEST(TopLevelWindowOpen, OpenedTwiceCreatesOneWindowAndKeepsItsState) {
    int built = 0;
    Label* first = nullptr;
    TestWindow window([&](TestWindow& w) {
        ++built;
        Rows(15, &first)(w);
    }, L"Opened twice");
    window.Open();
    HWND created = window.Window();
    SendMessageW(created, WM_VSCROLL, SB_LINEDOWN, 0);
    window.Open();
    EXPECT_EQ(built, 1);
    EXPECT_EQ(window.Window(), created);
    EXPECT_EQ(WindowsTitled(L"Opened twice"), 1);
    EXPECT_EQ(window.scrollPos, 16) << "re-showing keeps the scroll state";
    EXPECT_EQ(GetForegroundWindow(), created);

    // Once the window has gone, the next Open builds it afresh.
    DestroyWindow(created);
    EXPECT_EQ(window.Window(), nullptr);
    window.Open();
    EXPECT_EQ(built, 2);
    EXPECT_EQ(WindowsTitled(L"Opened twice"), 1);
    EXPECT_EQ(window.scrollPos, 0);
}

TEST(TopLevelWindowOpen, RefusedMenuBarCountsAsNoHeight) {
    ASSERT_EQ(test::Devemu({L"shell", L"refuse-menubar"}).code, 0);
    Label* first = nullptr;
    TestWindow window(Rows(15, &first));
    window.Open();
    test::Devemu({L"shell", L"accept"});
    ASSERT_NE(window.menuBar, nullptr);
    EXPECT_EQ(window.menuBar->Window(), nullptr);
    EXPECT_NE(window.Window(), nullptr) << "the window opens without soft keys";
    EXPECT_EQ(window.pageHeight, ClientHeight(window.Window()));
    EXPECT_GT(window.contentHeight, 1448) << "and still measures and scrolls its content";
    SendMessageW(window.Window(), WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(window.scrollPos, window.pageHeight);
}

bool QuitPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(TopLevelWindowOpen, DestructionEndsTheLoopOnlyWhenAsked) {
    for (bool quit : {false, true}) {
        TestWindow window;
        window.Open();
        uitest::Pump();
        // The lock controller sets the flag from its own thread.
        std::thread([&] { window.quitOnDestroy = quit; }).join();
        DestroyWindow(window.Window());
        EXPECT_EQ(QuitPosted(), quit) << "quitOnDestroy " << quit;
    }
}

}  // namespace

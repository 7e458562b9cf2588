#include "NavigationBar.h"

#include <cwchar>

#include "Dc.h"
#include "PhoneScreen.h"
#include "ShellLook.h"
#include "ui/Gdi.h"

namespace devemu {
namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 100;
constexpr int kEdge = 10;      // from the bar's ends
constexpr int kFlagSquare = 13;
constexpr int kGap = 8;        // between the things on the bar
constexpr int kTitlePoints = 9;

// The Start flag: four panes, red and green over blue and yellow.
void DrawFlag(HDC dc, int x, int y) {
    constexpr COLORREF kPanes[] = {RGB(240, 80, 40), RGB(120, 200, 40), RGB(40, 150, 240), RGB(250, 200, 20)};
    for (int i = 0; i < 4; ++i) {
        const int left = x + (i % 2) * (kFlagSquare + 2), top = y + (i / 2) * (kFlagSquare + 2);
        GdiObject brush(CreateSolidBrush(kPanes[i]));
        const RECT pane{left, top, left + kFlagSquare, top + kFlagSquare};
        FillRect(dc, &pane, static_cast<HBRUSH>(brush.get()));
    }
}

// The charger mark: a lightning bolt, 20 x 32.
constexpr int kBoltWidth = 20;
void DrawBolt(HDC dc, int x, int y) {
    const POINT bolt[] = {{x + 12, y}, {x + 2, y + 18}, {x + 9, y + 18}, {x + 6, y + 32},
                          {x + 18, y + 12}, {x + 11, y + 12}, {x + 15, y}};
    ShapeStyle style(dc, RGB(250, 220, 60), RGB(250, 220, 60));
    Polygon(dc, bolt, static_cast<int>(std::size(bolt)));
}

std::wstring TitleOf(HWND window) {
    wchar_t title[128] = L"";
    GetWindowTextW(window, title, 128);
    return title;
}

}  // namespace

NavigationBar::NavigationBar() {
    WNDCLASSW bar{};
    bar.lpfnWndProc = Proc;
    bar.hInstance = GetModuleHandleW(nullptr);
    bar.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    bar.lpszClassName = kNavBarClass;
    RegisterClassW(&bar);
    const RECT screen = PhoneScreen();
    shown_.title = L"Start";  // what the phone shows before any program is in front
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kNavBarClass, L"",
                              WS_POPUP, screen.left, screen.top, screen.right - screen.left, kNavBarHeight,
                              nullptr, nullptr, bar.hInstance, nullptr);
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    Refresh();
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    SetTimer(window_, kRefreshTimer, kRefreshMs, nullptr);
}

NavigationBar::~NavigationBar() {
    if (!window_) return;
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);  // a late message finds no object
    DestroyWindow(window_);
}

void NavigationBar::Refresh() {
    Shown now;
    // The title of the program in front; the device's own windows and the shell's bars keep the
    // one before, as they are not on the phone's screen or not programs.
    now.title = shown_.title;
    HWND front = GetForegroundWindow();
    wchar_t name[64] = L"";
    if (!front || front == GetDesktopWindow()) {
        now.title = L"Start";  // nothing in front: the phone's Today screen
    } else if (GetClassNameW(front, name, 64) && !IsDeviceWindow(front) && std::wcscmp(name, kMenuBarClass) != 0 &&
               front != window_) {
        now.title = TitleOf(front);
    }
    Device::Get().Locked([&](DeviceState& s) {
        for (const Notification& n : s.notifications) {
            if (!n.used) continue;
            now.icons.emplace_back();
            std::copy(std::begin(n.pixels), std::end(n.pixels), now.icons.back().begin());
        }
        now.charging = s.power.acLine == AC_LINE_ONLINE;
    });
    SYSTEMTIME time{};
    GetLocalTime(&time);
    now.minute = time.wHour * 60 + time.wMinute;
    if (now == shown_) return;
    shown_ = std::move(now);
    if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void NavigationBar::Paint(HDC dc, int width, int height) const {
    const RECT all{0, 0, width, height};
    FillBar(dc, all, false);
    DrawFlag(dc, kEdge, (height - 2 * kFlagSquare - 2) / 2);

    GdiObject font = CreateShellFont(kTitlePoints, true);
    Selection selected(dc, font.get());
    TextStyle text(dc, kBarText);
    // From the right: the clock, the charger mark, the icons; the title takes what is left.
    wchar_t clock[8];
    std::swprintf(clock, 8, L"%d:%02d", shown_.minute / 60, shown_.minute % 60);
    SIZE clockSize{};
    GetTextExtentPoint32W(dc, clock, static_cast<int>(std::wcslen(clock)), &clockSize);
    int right = width - kEdge;
    RECT clockArea{right - clockSize.cx, 0, right, height};
    DrawTextW(dc, clock, -1, &clockArea, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    right = clockArea.left - kGap;
    if (shown_.charging) {
        DrawBolt(dc, right - kBoltWidth, (height - 32) / 2);
        right -= kBoltWidth + kGap;
    }
    for (auto icon = shown_.icons.rbegin(); icon != shown_.icons.rend(); ++icon) {
        DrawIconPixels(dc, right - kIconSide, (height - kIconSide) / 2, icon->data());
        right -= kIconSide + kGap;
    }
    RECT titleArea{kEdge + 2 * kFlagSquare + 2 + 2 * kGap, 0, right, height};
    DrawTextW(dc, shown_.title.c_str(), -1, &titleArea,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

LRESULT CALLBACK NavigationBar::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<NavigationBar*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_TIMER:
        if (self) self->Refresh();
        return 0;
    case WM_PAINT:
        PaintBuffered(window, [self](HDC dc, const RECT& client) {
            if (self) self->Paint(dc, client.right, client.bottom);
        });
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // the bar never takes the program's place in front
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace devemu

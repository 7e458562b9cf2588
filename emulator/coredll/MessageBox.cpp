// MessageBoxW of the emulated coredll, where the phone's programs find it: the platform's message
// box, laid out as the phone shows one. The desktop's box wraps its text at a width given in
// dialog units, which at the phone's density is wider than the phone's screen; a box that would
// not fit is given the screen's width, its text wrapped to it and its buttons in a row below.
#include <algorithm>

#include <windows.h>

#include "PhoneScreen.h"
#include "ce/Handle.h"
#include "ui/Gdi.h"

namespace {

// The box's text and icon, as the platform's message box numbers them.
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 0x0440;
constexpr int kMargin = 8;  // between the box and the screen's edges

bool IsMessageBox(HWND window) {
    wchar_t name[16];
    return GetClassNameW(window, name, 16) && lstrcmpW(name, L"#32770") == 0 && GetDlgItem(window, kTextId);
}

// Shown with the box: the box itself is not visible yet while it is laid out.
bool Shows(HWND child) { return (GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0; }

RECT ClientRectOf(HWND child, HWND parent) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The height of `text` wrapped to `width` in the control's font.
int WrappedHeight(HWND control, int width) {
    wchar_t text[1024];
    GetWindowTextW(control, text, 1024);
    HDC dc = GetDC(control);
    RECT area{0, 0, width, 0};
    {
        Selection font(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
        DrawTextW(dc, text, -1, &area, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    }
    ReleaseDC(control, dc);
    return area.bottom;
}

void FitToScreen(HWND box) {
    const RECT work = devemu::WorkArea();
    RECT frame{}, client{};
    GetWindowRect(box, &frame);
    GetClientRect(box, &client);
    const int screenWidth = work.right - work.left - 2 * kMargin;
    if (frame.right - frame.left <= screenWidth) return;  // the desktop's layout fits: kept

    const int frameWidth = (frame.right - frame.left) - client.right;
    const int frameHeight = (frame.bottom - frame.top) - client.bottom;
    const int width = screenWidth - frameWidth;
    const HWND text = GetDlgItem(box, kTextId);
    const HWND icon = GetDlgItem(box, kIconId);
    const bool withIcon = icon && Shows(icon);
    RECT textRect = ClientRectOf(text, box);
    // The box's own margin around its content: left of the icon, or of the text.
    const int spacing = withIcon ? ClientRectOf(icon, box).left : textRect.left;
    const int textWidth = width - textRect.left - spacing;
    textRect.right = textRect.left + textWidth;
    textRect.bottom = textRect.top + WrappedHeight(text, textWidth);
    MoveWindow(text, textRect.left, textRect.top, textWidth, textRect.bottom - textRect.top, FALSE);
    int contentBottom = textRect.bottom;
    if (withIcon) contentBottom = std::max<int>(contentBottom, ClientRectOf(icon, box).bottom);

    // The buttons that show, left to right, in a row centred below the text.
    HWND buttons[8];
    int count = 0, row = 0, height = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child && count < 8; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16];
        if (!Shows(child) || !GetClassNameW(child, name, 16) || lstrcmpiW(name, L"Button") != 0) continue;
        buttons[count++] = child;
    }
    std::sort(buttons, buttons + count, [box](HWND a, HWND b) { return ClientRectOf(a, box).left < ClientRectOf(b, box).left; });
    for (int i = 0; i < count; ++i) {
        const RECT r = ClientRectOf(buttons[i], box);
        row += (r.right - r.left) + (i > 0 ? spacing : 0);
        height = std::max<int>(height, r.bottom - r.top);
    }
    const int top = contentBottom + spacing;
    for (int i = 0, x = (width - row) / 2; i < count; ++i) {
        const RECT r = ClientRectOf(buttons[i], box);
        MoveWindow(buttons[i], x, top, r.right - r.left, r.bottom - r.top, FALSE);
        x += (r.right - r.left) + spacing;
    }

    const int boxHeight = top + height + spacing + frameHeight;
    const int left = work.left + kMargin;
    const int boxTop = work.top + std::max(0, (static_cast<int>(work.bottom - work.top) - boxHeight) / 2);
    SetWindowPos(box, nullptr, left, boxTop, screenWidth, boxHeight, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(box, nullptr, TRUE);
}

thread_local HHOOK initHook = nullptr;

// Runs after each message a window of this thread handled: the box is laid out by its
// WM_INITDIALOG, and shown only after it.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto& message = *reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && message.message == WM_INITDIALOG && IsMessageBox(message.hwnd)) {
        FitToScreen(message.hwnd);
    }
    return CallNextHookEx(initHook, code, wParam, lParam);
}

}  // namespace

extern "C" int WINAPI Ce_MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    // A box opened from within another (none of the program's do) keeps the outer one's hook.
    const bool outer = initHook == nullptr;
    if (outer) initHook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    const int answer = MessageBoxExW(owner, text, caption, type, 0);
    if (outer && initHook) {
        UnhookWindowsHookEx(initHook);
        initHook = nullptr;
    }
    return answer;
}

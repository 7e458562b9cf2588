#include "TopLevelWindow.h"

#include <algorithm>

#include "MenuBar.h"
#include "app/AppGlobals.h"

namespace {

constexpr int kLineStep = 16;
// The children move with the content. The strip that scrolls into view, and the children in it,
// must also be painted: without SW_INVALIDATE nothing asks them to, and the old pixels stay.
constexpr UINT kScrollFlags = SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE;

int Height(const RECT& r) { return r.bottom - r.top; }

#ifdef _WIN32_WCE
constexpr BOOL kRepaintOnResize = FALSE;
#else
// The desktop gives a resized window a new surface: unless something repaints it all (a scroll
// bar coming up does), its frame and every part no child covers stay black.
constexpr BOOL kRepaintOnResize = TRUE;
#endif

}  // namespace

TopLevelWindow::TopLevelWindow(const wchar_t* title) : title(title) {
    activateInfo.cbSize = sizeof activateInfo;
}

TopLevelWindow::~TopLevelWindow() = default;

void TopLevelWindow::CreateSoftKeys() {
    softKeys_ = std::make_unique<MenuBar>();
    softKeys_->Create(window, IDR_MENUBAR);
    softKeys_->commandCallback.Set(Bind(this, &TopLevelWindow::OnMenuCommand));
    menuBar = softKeys_.get();
}

INT_PTR TopLevelWindow::OnMenuCommand(LPARAM args) {
    switch (LOWORD(ArgsAt(args).wParam)) {
    case IDM_OK: OnOk(); break;
    case IDM_CANCEL: OnCancel(); break;
    default: break;
    }
    return 0;
}

void TopLevelWindow::Open() {
    if (!window) {
        contentHeight = 0;
        scrollPos = 0;
        CreateWindowExW(0, kClassName, title, WS_VISIBLE | WS_VSCROLL, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, AppInstance,
                        this);
        if (menuBar) {
            RECT frame{}, bar{};
            GetWindowRect(window, &frame);
            GetWindowRect(menuBar->Window(), &bar);  // a bar without a window counts as height 0
            const int bottom = frame.bottom - Height(bar);
            pageHeight = bottom - frame.top;
            MoveWindow(window, frame.left, frame.top, frame.right - frame.left, bottom - frame.top,
                       kRepaintOnResize);
            const RECT extent = MeasureContent();
            contentHeight = extent.bottom + extent.top;  // as much margin below as above
            UpdateScroll();
        }
    }
    ShowWindow(window, AppShowCommand);
    UpdateWindow(window);
#ifdef _WIN32_WCE
    // The low bit asks CE to bring the window's owned windows (the menu bar) forward as well.
    SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<UINT_PTR>(window) | 1));
#else
    // The desktop brings owned windows along by itself, and would keep the odd handle as the
    // foreground window, which then no longer compares equal to ours.
    SetForegroundWindow(window);
#endif
}

RECT TopLevelWindow::MeasureContent() const {
    RECT extent{};
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!FromWindow(child)) continue;
        RECT rect{};
        GetWindowRect(child, &rect);
        if (IsRectEmpty(&extent)) extent = rect;
        else UnionRect(&extent, &extent, &rect);
    }
    // From the client area's origin, where the children's coordinates start. On the phone that is
    // the window's corner; the desktop puts a caption above it, which must not count as content.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    OffsetRect(&extent, -origin.x, -origin.y);
    return extent;
}

void TopLevelWindow::UpdateScroll() {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = contentHeight - 1;
    info.nPage = static_cast<UINT>(pageHeight);
    info.nPos = 0;
    SetScrollInfo(window, SB_VERT, &info, TRUE);
    if (contentHeight != 0 && scrollPos != 0) {
        ScrollWindowEx(window, 0, scrollPos, nullptr, nullptr, nullptr, nullptr, kScrollFlags);
        scrollPos = 0;
    }
}

LRESULT TopLevelWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ACTIVATE:
        SHHandleWMActivate(window, wParam, lParam, &activateInfo, 0);
        return 0;
    case WM_SETTINGCHANGE:
        SHHandleWMSettingChange(window, wParam, lParam, &activateInfo);
        return 0;
    default:
        return UserWindow::WindowProc(message, wParam, lParam);
    }
}

LRESULT TopLevelWindow::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Controls have identifier 0, so their notifications take the second way.
    if (LOWORD(wParam) != 0 && menuBar) return menuBar->OnCommand(wParam, lParam);
    if (WindowObject* control = FromWindow(reinterpret_cast<HWND>(lParam))) {
        control->WindowProc(WM_COMMAND, wParam, lParam);
    }
    return WindowObject::OnCommand(wParam, lParam);
}

LRESULT TopLevelWindow::OnDestroy(WPARAM wParam, LPARAM lParam) {
    menuBar = nullptr;
    softKeys_.reset();
    if (quitOnDestroy) PostQuitMessage(0);
    window = nullptr;
    return UserWindow::OnDestroy(wParam, lParam);
}

LRESULT TopLevelWindow::OnSize(WPARAM wParam, LPARAM lParam) {
    pageHeight = HIWORD(lParam);
    UpdateScroll();
    return UserWindow::OnSize(wParam, lParam);
}

LRESULT TopLevelWindow::OnVScroll(WPARAM wParam, LPARAM) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_POS | SIF_TRACKPOS;
    GetScrollInfo(window, SB_VERT, &info);
    const int code = LOWORD(wParam);
    int target = info.nPos;
    switch (code) {
    case SB_LINEUP: target = scrollPos - kLineStep; break;
    case SB_LINEDOWN: target = scrollPos + kLineStep; break;
    case SB_PAGEUP: target = scrollPos - pageHeight; break;
    case SB_PAGEDOWN: target = scrollPos + pageHeight; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: target = info.nTrackPos; break;
    case SB_TOP: target = 0; break;
    case SB_BOTTOM: target = contentHeight - pageHeight; break;
    default: break;
    }
    target = std::max(std::min(target, contentHeight - pageHeight), 0);
    SetScrollPos(window, SB_VERT, target, TRUE);
    // While the thumb is dragged only the box follows; the content moves when it is let go.
    if (code != SB_THUMBTRACK && contentHeight != 0 && scrollPos != target) {
        ScrollWindowEx(window, 0, scrollPos - target, nullptr, nullptr, nullptr, nullptr, kScrollFlags);
        scrollPos = target;
    }
    return 0;
}

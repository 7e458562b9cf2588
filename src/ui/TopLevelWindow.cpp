#include "TopLevelWindow.h"

#include "MenuBar.h"
#include "Scrolling.h"
#include "app/AppGlobals.h"

namespace {

constexpr int kLineStep = 16;
// A control brought into view by the keys stands this far from the page's edge.
constexpr int kFocusMargin = 8;
// More than the controls of any window of the program.
constexpr int kMaxControls = 32;

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t actual[32];
    return GetClassNameW(window, actual, 32) && lstrcmpiW(actual, name) == 0;
}
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
    const bool created = !window;
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
    // A phone without its stylus starts on the first control, as the keys move on from there.
    if (created) MoveFocus(nullptr, 1);
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
    case WM_KEYDOWN:  // no control has the focus
        if (OnNavigationKey(nullptr, wParam)) return 0;
        return UserWindow::WindowProc(message, wParam, lParam);
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
    target = ClampScroll(target, contentHeight, pageHeight);
    // While the thumb is dragged only the box follows; the content moves when it is let go.
    if (code == SB_THUMBTRACK) SetScrollPos(window, SB_VERT, target, TRUE);
    else ScrollTo(target);
    return 0;
}

void TopLevelWindow::ScrollTo(int target) {
    SetScrollPos(window, SB_VERT, target, TRUE);
    if (contentHeight != 0 && scrollPos != target) {
        ScrollWindowEx(window, 0, scrollPos - target, nullptr, nullptr, nullptr, nullptr, kScrollFlags);
        scrollPos = target;
    }
}

bool TopLevelWindow::OnNavigationKey(HWND control, WPARAM key) {
    switch (key) {
    case VK_UP:
    case VK_DOWN: {
        const bool down = key == VK_DOWN;
        // A text box shows the rest of its text before the focus leaves it.
        if (control && IsClass(control, L"Edit") &&
            LOWORD(SendMessageW(control, EM_SCROLL, down ? SB_LINEDOWN : SB_LINEUP, 0)) != 0) {
            return true;
        }
        MoveFocus(control, down ? 1 : -1);
        return true;
    }
    case VK_RETURN:
        if (!control) return true;
        if (IsClass(control, L"ComboBox")) SendMessageW(control, CB_SHOWDROPDOWN, TRUE, 0);
        else if (IsClass(control, L"Button")) SendMessageW(control, BM_CLICK, 0, 0);
        return true;
    case VK_ESCAPE:
        OnCancel();
        return true;
    default:
        return false;
    }
}

int TopLevelWindow::FocusableControls(HWND* controls, int capacity) const {
    int count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child && count < capacity; child = GetWindow(child, GW_HWNDNEXT)) {
        if (FromWindow(child) && IsWindowVisible(child) && IsWindowEnabled(child) && !IsClass(child, kClassName)) {
            controls[count++] = child;
        }
    }
    return count;
}

void TopLevelWindow::MoveFocus(HWND from, int step) {
    HWND controls[kMaxControls];
    const int count = FocusableControls(controls, kMaxControls);
    int at = -1;
    for (int i = 0; i < count; ++i) {
        if (controls[i] == from) at = i;
    }
    const int next = at < 0 ? (step > 0 ? 0 : count - 1) : at + step;
    if (next < 0 || next >= count) {
        // Past the first or the last control: what lies beyond it (a header, the margin) comes in.
        ScrollTo(next < 0 ? 0 : ClampScroll(contentHeight, contentHeight, pageHeight));
        return;
    }
    SetFocus(controls[next]);
    ScrollIntoView(controls[next]);
}

void TopLevelWindow::ScrollIntoView(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    ScrollTo(ScrollToShow(rect.top + scrollPos, rect.bottom + scrollPos, scrollPos, pageHeight, contentHeight,
                          kFocusMargin));
}

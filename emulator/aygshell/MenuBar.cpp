// The emulated shell's menu bar: the soft keys across the bottom of the screen, one key per
// entry of the program's menu-bar resource, each sending its command to the parent. The keys are
// drawn as WM6 draws them; the shell presses them for F1 and F2.
#include <optional>
#include <string>
#include <vector>

#include "Device.h"
#include "PhoneScreen.h"
#include "ShellLook.h"
#include "ce/Shell.h"
#include "ui/Gdi.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// This DLL, which owns the bar's window class and windows.
HINSTANCE Self() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

constexpr const wchar_t* kBarClass = devemu::kMenuBarClass;
constexpr int kBarHeight = devemu::kSoftKeyBarHeight;
constexpr int kLabelInset = 16;  // from the bar's ends to the outer keys' labels
constexpr int kLabelPoints = 9;
constexpr WORD kNoMenu = 0xFFFF;
constexpr WORD kEnabled = 0x04;  // TBSTATE_ENABLED

struct SoftKey {
    WORD command;
    WORD state;
    WORD captionId;  // string id, 0 for none
    std::wstring caption;
};

// The resource: WORD menu id, WORD count, then 7 WORDs per key (image, command, state, style,
// caption string, reserved, sub-menu). Anything shorter or of odd length is refused.
std::optional<std::vector<SoftKey>> ParseMenuBar(const BYTE* data, DWORD size) {
    if (!data || size < 4 || size % 2 != 0) return std::nullopt;
    auto word = [data](DWORD index) {
        return static_cast<WORD>(data[2 * index] | data[2 * index + 1] << 8);
    };
    const DWORD count = word(1);
    if (size < 4 + 14 * count) return std::nullopt;
    std::vector<SoftKey> keys;
    for (DWORD i = 0; i < count; ++i) {
        const DWORD first = 2 + 7 * i;
        // Drop-down menus are not emulated: a key that needs one cannot be offered.
        if (word(first + 6) != kNoMenu) return std::nullopt;
        keys.push_back({word(first + 1), word(first + 2), word(first + 4), {}});
    }
    return keys;
}

std::optional<std::vector<SoftKey>> LoadMenuBar(HINSTANCE module, UINT id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!found) return std::nullopt;
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return std::nullopt;
    auto keys = ParseMenuBar(static_cast<const BYTE*>(LockResource(loaded)), SizeofResource(module, found));
    if (!keys) return std::nullopt;
    for (SoftKey& key : *keys) {
        if (key.captionId == 0) continue;
        wchar_t caption[64];
        // A key the program names but cannot label would be a blank soft key.
        if (LoadStringW(module, key.captionId, caption, 64) == 0) return std::nullopt;
        key.caption = caption;
    }
    return keys;
}

// A key as the phone shows it: its part of the bar, darker while pressed, its label at the
// bar's outer end (the first key left, the last right, any between centred).
void DrawKey(const DRAWITEMSTRUCT& item) {
    HWND bar = GetParent(item.hwndItem);
    const auto index = static_cast<int>(GetWindowLongPtrW(item.hwndItem, GWLP_USERDATA));
    int count = 0;
    for (HWND key = GetWindow(bar, GW_CHILD); key; key = GetWindow(key, GW_HWNDNEXT)) ++count;
    devemu::FillBar(item.hDC, item.rcItem, (item.itemState & ODS_SELECTED) != 0);
    wchar_t caption[64] = L"";
    GetWindowTextW(item.hwndItem, caption, 64);
    GdiObject font = devemu::CreateShellFont(kLabelPoints, true);
    Selection selected(item.hDC, font.get());
    TextStyle text(item.hDC, (item.itemState & ODS_DISABLED) ? devemu::kBarDisabledText : devemu::kBarText);
    RECT area = item.rcItem;
    UINT align = DT_CENTER;
    if (index == 0) {
        area.left += kLabelInset;
        align = DT_LEFT;
    } else if (index == count - 1) {
        area.right -= kLabelInset;
        align = DT_RIGHT;
    }
    DrawTextW(item.hDC, caption, -1, &area, align | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

// The key at `index`, left to right, or null.
HWND KeyAt(HWND bar, WPARAM index) {
    for (HWND key = GetWindow(bar, GW_CHILD); key; key = GetWindow(key, GW_HWNDNEXT)) {
        if (static_cast<WPARAM>(GetWindowLongPtrW(key, GWLP_USERDATA)) == index) return key;
    }
    return nullptr;
}

LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // A key was pressed: its command goes to the parent as a menu command would.
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            auto parent = reinterpret_cast<HWND>(GetWindowLongPtrW(bar, GWLP_USERDATA));
            SendMessageW(parent, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
        }
        return 0;
    case WM_DRAWITEM:
        DrawKey(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_ERASEBKGND: {
        RECT all{};
        GetClientRect(bar, &all);
        devemu::FillBar(reinterpret_cast<HDC>(wParam), all, false);
        return 1;
    }
    case devemu::kPressSoftKey: {
        // F1 or F2 from the shell: the key shows pressed while held, and acts when let go.
        HWND key = KeyAt(bar, wParam);
        if (!key) return 0;
        SendMessageW(key, BM_SETSTATE, lParam != 0, 0);
        if (lParam == 0 && IsWindowEnabled(key)) {
            SendMessageW(bar, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(key), BN_CLICKED), reinterpret_cast<LPARAM>(key));
        }
        return 0;
    }
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;  // the bar serves the parent and never takes its place
    case WM_DESTROY:
        devemu::Device::Get().Log("menubar destroy");
        return 0;
    default:
        return DefWindowProcW(bar, message, wParam, lParam);
    }
}

bool RegisterBarClass() {
    WNDCLASSW existing;
    if (GetClassInfoW(Self(), kBarClass, &existing)) return true;
    WNDCLASSW bar{};
    bar.lpfnWndProc = BarProc;
    bar.hInstance = Self();
    bar.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    bar.hbrBackground = nullptr;  // the bar paints its gradient itself
    bar.lpszClassName = kBarClass;
    return RegisterClassW(&bar) != 0;
}

// The phone has no caption and no frame: the title is the navigation bar's. The desktop gives
// every overlapped window both, so the shell takes them away again.
void DropDesktopFrame(HWND window) {
    constexpr LONG_PTR kFrame = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    constexpr LONG_PTR kExFrame = WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME;
    SetWindowLongPtrW(window, GWL_STYLE, GetWindowLongPtrW(window, GWL_STYLE) & ~kFrame);
    SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) & ~kExFrame);
}

// Builds the bar as the phone's shell does: the parent covers the work area below the
// navigation bar and the bar, a popup owned by the parent, lies across the bottom of it.
HWND CreateBar(HWND parent, const std::vector<SoftKey>& keys, bool hidden) {
    if (!RegisterBarClass()) return nullptr;
    const RECT work = devemu::WorkArea();
    const int width = work.right - work.left;

    HWND bar = CreateWindowExW(0, kBarClass, L"", WS_POPUP | WS_CLIPCHILDREN, work.left,
                               work.bottom - kBarHeight, width, kBarHeight, parent, nullptr, Self(),
                               nullptr);
    if (!bar) return nullptr;
    SetWindowLongPtrW(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(parent));

    const int count = static_cast<int>(keys.size());
    for (int i = 0; i < count; ++i) {
        const int left = width * i / count, right = width * (i + 1) / count;
        DWORD style = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
        if (!(keys[i].state & kEnabled)) style |= WS_DISABLED;
        // The key's control id is its command, which the bar hands on when it is pressed.
        HWND key = CreateWindowExW(0, L"BUTTON", keys[i].caption.c_str(), style, left, 0, right - left,
                                   kBarHeight, bar,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(keys[i].command)), Self(),
                                   nullptr);
        if (key) SetWindowLongPtrW(key, GWLP_USERDATA, i);  // its place, for F1 and F2
    }

    DropDesktopFrame(parent);
    SetWindowPos(parent, nullptr, work.left, work.top, width, work.bottom - work.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (!hidden) {
        SetWindowPos(bar, HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    return bar;
}

}  // namespace

extern "C" {

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* info) {
    if (!info || info->cbSize < sizeof(SHMENUBARINFO)) return FALSE;
    info->hwndMB = nullptr;
    devemu::Device& device = devemu::Device::Get();
    if (device.Locked([](devemu::DeviceState& s) { return s.shell.refuseMenuBar; })) {
        device.Log("menubar refused");
        return FALSE;
    }
    if (!IsWindow(info->hwndParent) || (info->dwFlags & SHCMBF_HMENU)) {
        device.Log("menubar failed what=arguments");
        return FALSE;
    }
    std::optional<std::vector<SoftKey>> keys;
    if (info->dwFlags & SHCMBF_EMPTYBAR) keys.emplace();
    else keys = LoadMenuBar(info->hInstRes, info->nToolBarId);
    if (!keys) {
        device.Log("menubar failed resource=%u", info->nToolBarId);
        return FALSE;
    }
    HWND bar = CreateBar(info->hwndParent, *keys, info->dwFlags & SHCMBF_HIDDEN);
    if (!bar) {
        device.Log("menubar failed what=window");
        return FALSE;
    }
    info->hwndMB = bar;
    device.Log("menubar create resource=%u keys=%u", info->nToolBarId,
               static_cast<unsigned>(keys->size()));
    return TRUE;
}

}  // extern "C"

// The emulated shell's menu bar: the soft keys across the bottom of the screen, one push button
// per entry of the program's menu-bar resource, each sending its command to the parent.
#include <optional>
#include <string>
#include <vector>

#include "Device.h"
#include "ce/Shell.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

// This DLL, which owns the bar's window class and windows.
HINSTANCE Self() { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

constexpr wchar_t kBarClass[] = L"devemu|MenuBar";
constexpr int kBarHeight = 52;  // a VGA phone's soft-key bar
constexpr int kGap = 2;         // between the keys and around them
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

LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // A key was pressed: its command goes to the parent as a menu command would.
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0) {
            auto parent = reinterpret_cast<HWND>(GetWindowLongPtrW(bar, GWLP_USERDATA));
            SendMessageW(parent, WM_COMMAND, MAKEWPARAM(LOWORD(wParam), 0), 0);
        }
        return 0;
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
    bar.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    bar.lpszClassName = kBarClass;
    return RegisterClassW(&bar) != 0;
}

// Builds the bar as the phone's shell does: the parent covers the screen's work area and the
// bar, a popup owned by the parent, lies across the bottom of it.
HWND CreateBar(HWND parent, const std::vector<SoftKey>& keys, bool hidden) {
    if (!RegisterBarClass()) return nullptr;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(parent, MONITOR_DEFAULTTOPRIMARY), &monitor)) return nullptr;
    const RECT work = monitor.rcWork;
    const int width = work.right - work.left;

    HWND bar = CreateWindowExW(0, kBarClass, L"", WS_POPUP | WS_CLIPCHILDREN, work.left,
                               work.bottom - kBarHeight, width, kBarHeight, parent, nullptr, Self(),
                               nullptr);
    if (!bar) return nullptr;
    SetWindowLongPtrW(bar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(parent));

    const int count = static_cast<int>(keys.size());
    for (int i = 0; i < count; ++i) {
        const int left = kGap + (width - kGap) * i / count;
        const int right = (width - kGap) * (i + 1) / count;
        DWORD style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
        if (!(keys[i].state & kEnabled)) style |= WS_DISABLED;
        // The key's control id is its command, which the bar hands on when it is pressed.
        CreateWindowExW(0, L"BUTTON", keys[i].caption.c_str(), style, left, kGap, right - left,
                        kBarHeight - 2 * kGap, bar,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(keys[i].command)), Self(), nullptr);
    }

    MoveWindow(parent, work.left, work.top, width, work.bottom - work.top, TRUE);
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

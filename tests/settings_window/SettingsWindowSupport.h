// What the settings window tests share, in this process or against varnel.exe: the controls
// found by their places, the user's actions on them, and message boxes answered as they show.
#pragma once

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <windows.h>

#include "TestSupport.h"

namespace settingstest {

// A control's top-left corner in the window's client area, scrolled to the top.
struct Place {
    int x, y;
};

constexpr Place kEditGestures{8, 54};
constexpr Place kUnlockOnStylus{8, 642};
constexpr Place kRelockOnStylus{48, 688};

// The child of `window` at `place`, or null. Works on another process's window as well.
inline HWND ControlAt(HWND window, Place place) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        if (rect.left - origin.x == place.x && rect.top - origin.y == place.y) return child;
    }
    return nullptr;
}

// What `devemu post show-settings` opens in the running program, once it is in front; null
// when it did not come.
inline HWND ShowSettings(const test::VarnelProcess& varnel) {
    if (!varnel.WaitResident() || test::Devemu({L"post", L"show-settings"}).code != 0) return nullptr;
    HWND window = nullptr;
    DWORD process = 0;
    const auto inFront = [&] {
        window = GetForegroundWindow();
        GetWindowThreadProcessId(window, &process);
        return process == varnel.Id() && window == FindWindowW(L"GUI|UserClass", L"Varnel");
    };
    if (test::WaitUntil(inFront)) return window;
    // Say what is in front instead.
    wchar_t title[64] = L"";
    GetWindowTextW(window, title, 64);
    ADD_FAILURE() << "the settings window did not come to the front; in front is \"" << test::Narrow(title)
                  << "\" of process " << process << ", varnel.exe is process " << varnel.Id();
    return nullptr;
}

// A tap on the check box or button at `place`.
inline void Click(HWND window, Place place) { SendMessageW(ControlAt(window, place), BM_CLICK, 0, 0); }

// The user's choice of the item starting with `item` in the combo box at `place`: selected,
// then confirmed, which the window hears as the list's CBN_SELENDOK.
inline void Choose(HWND window, Place place, const wchar_t* item) {
    const HWND combo = ControlAt(window, place);
    const LRESULT index = SendMessageW(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(item));
    ASSERT_NE(index, CB_ERR) << "no item " << test::Narrow(item);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(0, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

// The window's soft key for `command` (IDM_OK or IDM_CANCEL), as the menu bar's key sends it.
inline void PressSoftKey(HWND window, int command) { SendMessageW(window, WM_COMMAND, command, 0); }

// Runs `action` on this thread while another one answers each message box that shows with
// `answer` ("ok", "cancel", ...). Returns the boxes, one "caption=\"…\" text=\"…\"" line each.
inline std::vector<std::string> AnsweringBoxes(const wchar_t* answer, const std::function<void()>& action) {
    std::vector<std::string> boxes;
    {
        std::jthread watcher([&](std::stop_token stop) {
            for (std::string open; !stop.stop_requested(); Sleep(10)) {
                open = test::Devemu({L"dialog", L"list"}).out;
                if (open.empty()) continue;
                boxes.push_back(open.substr(0, open.find('\n')));
                test::Devemu({L"dialog", L"answer", answer, L"--wait", L"2000"});
            }
        });
        action();
    }  // the watcher is told to stop and joined
    return boxes;
}

}  // namespace settingstest

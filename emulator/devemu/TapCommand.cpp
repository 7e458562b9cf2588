// tap: a touch on the phone's screen, at a point or on the control that shows a text.
#include <windows.h>

#include "Command.h"
#include "Device.h"

namespace devemu {
namespace {

struct Search {
    std::wstring text;
    HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    wchar_t text[256];
    if (IsWindowVisible(window) && GetWindowTextW(window, text, 256) > 0 && search->text == text) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK SearchTopLevel(HWND window, LPARAM param) {
    if (!IsWindowVisible(window)) return TRUE;
    EnumChildWindows(window, MatchChild, param);
    return reinterpret_cast<Search*>(param)->found == nullptr;
}

// The first visible control, in any top-level window, whose text is exactly `text`.
HWND ControlShowing(const std::wstring& text) {
    Search search{text};
    EnumWindows(SearchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Press(POINT at) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3] = {};
    for (INPUT& i : input) {
        i.type = INPUT_MOUSE;
        // Absolute positions run from 0 to 65535 across the screen.
        i.mi.dx = static_cast<LONG>((at.x * 65535 + width / 2) / (width > 1 ? width - 1 : 1));
        i.mi.dy = static_cast<LONG>((at.y * 65535 + height / 2) / (height > 1 ? height - 1 : 1));
        i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    }
    input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

}  // namespace

int CmdTap(const Args& given, Io& io) {
    Args args = given;
    const auto text = TakeOption(args, L"--text");
    POINT at{};
    if (text) {
        if (args.size() != 1) Usage("a point or --text, not both");
        HWND control = ControlShowing(*text);
        if (!control) throw CommandError{1, "nothing on the screen shows \"" + Narrow(*text) + "\""};
        RECT rect{};
        GetWindowRect(control, &rect);
        at = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        // A control scrolled out of sight is not there for a finger: a tap would land elsewhere.
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        if (!PtInRect(&screen, at)) {
            throw CommandError{1, "\"" + Narrow(*text) + "\" lies off the visible screen (its centre at " +
                                      std::to_string(at.x) + "," + std::to_string(at.y) + ")"};
        }
    } else {
        if (args.size() != 3) Usage(args.size() < 3 ? "missing point" : "too many arguments");
        at = {static_cast<LONG>(ParseU32(args[1], "x")), static_cast<LONG>(ParseU32(args[2], "y"))};
        if (at.x >= GetSystemMetrics(SM_CXSCREEN) || at.y >= GetSystemMetrics(SM_CYSCREEN)) {
            Usage("the point lies off the screen");
        }
    }
    LogConsole(given);
    Press(at);
    io.out += "tap " + std::to_string(at.x) + " " + std::to_string(at.y) + "\n";
    return 0;
}

}  // namespace devemu

#include "SettingsWindowSupport.h"

#include <atomic>
#include <sstream>
#include <thread>

#include "TestSupport.h"

namespace settingstest {

const char kTranscriberNotice[] =
    R"(caption="Information" text="Transcriber compatibility mode cannot lock the touch panel only.\nYour settings have been automatically updated.")";
const char kSoftResetQuestion[] =
    R"(caption="Action required" text="Changing Transcriber compatibility mode requires you to soft reset your device.\nSoft reset now?")";

namespace {

struct Option {
    const char* name;
    Place place;
};

const Option kOptions[] = {
    {"GesturesToggleLock", kGesturesToggleLock},
    {"GestureLock", kGestureLock},
    {"GestureLockKind", kGestureLockKind},
    {"DisableGesturesOnAC", kDisableGesturesOnAC},
    {"DisableGesturesWhenUpright", kDisableGesturesWhenUpright},
    {"ResumeBehaviour", kResumeBehaviour},
    {"ResumeCallBehaviour", kResumeCallBehaviour},
    {"UnlockWhenCallConnected", kUnlockWhenCallConnected},
    {"UnlockWhenCallEnds", kUnlockWhenCallEnds},
    {"UnlockOnAC", kUnlockOnAC},
    {"RelockOnBattery", kRelockOnBattery},
    {"UnlockOnStylus", kUnlockOnStylus},
    {"RelockOnStylus", kRelockOnStylus},
    {"Vibrate", kVibrate},
    {"Beep", kBeep},
    {"VibrateIfDifferent", kVibrateIfDifferent},
    {"ShowIcon", kShowIcon},
    {"TranscriberCompatibility", kTranscriberCompatibility},
};

bool OfClass(HWND window, const wchar_t* className) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return lstrcmpiW(name, className) == 0;
}

std::string ShownBy(HWND control) {
    std::string shown;
    if (OfClass(control, L"COMBOBOX")) {
        const LRESULT index = SendMessageW(control, CB_GETCURSEL, 0, 0);
        wchar_t item[64] = L"";
        if (index != CB_ERR) SendMessageW(control, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item));
        shown = index == CB_ERR ? "(none)" : test::Narrow(item);
    } else {
        shown = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "on" : "off";
    }
    return IsWindowEnabled(control) ? shown : shown + " (disabled)";
}

// The menu bar is a popup that the window owns.
HWND MenuBarOf(HWND window) {
    struct Search {
        HWND owner, bar;
    } search{window, nullptr};
    EnumWindows(
        [](HWND candidate, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            if (GetWindow(candidate, GW_OWNER) != s->owner || !OfClass(candidate, L"devemu|MenuBar")) {
                return TRUE;
            }
            s->bar = candidate;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.bar;
}

}  // namespace

HWND ShowSettings(const test::VarnelProcess& varnel) {
    if (!varnel.WaitResident() || test::Devemu({L"post", L"show-settings"}).code != 0) return nullptr;
    HWND window = nullptr;
    const bool inFront = test::WaitUntil([&] {
        window = FindWindowW(L"GUI|UserClass", L"Varnel");
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        return window && process == varnel.Id() && GetForegroundWindow() == window;
    });
    return inFront ? window : nullptr;
}

HWND ControlAt(HWND window, Place place) {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect{};
        GetWindowRect(child, &rect);
        if (rect.left - origin.x == place.x && rect.top - origin.y == place.y) return child;
    }
    return nullptr;
}

std::map<std::string, std::string> Shown(HWND window) {
    std::map<std::string, std::string> shown;
    for (const Option& option : kOptions) {
        HWND control = ControlAt(window, option.place);
        shown[option.name] = control ? ShownBy(control) : "(missing)";
    }
    return shown;
}

void Click(HWND window, Place place) { SendMessageW(ControlAt(window, place), BM_CLICK, 0, 0); }

void Choose(HWND window, Place place, const wchar_t* item) {
    HWND combo = ControlAt(window, place);
    const LRESULT index = SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item));
    ASSERT_NE(index, CB_ERR) << "no item " << test::Narrow(item);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(0, CBN_SELENDOK), reinterpret_cast<LPARAM>(combo));
}

void PressSoftKey(HWND window, int command) {
    HWND bar = MenuBarOf(window);
    ASSERT_NE(bar, nullptr) << "the window has no menu bar";
    SendMessageW(GetDlgItem(bar, command), BM_CLICK, 0, 0);
}

std::vector<std::string> HandlingBoxes(const std::function<void(const std::string& box)>& onBox,
                                       const std::function<void()>& action) {
    std::vector<std::string> boxes;
    std::atomic<bool> done{false};
    std::thread watcher([&] {
        while (!done) {
            std::istringstream open(test::Devemu({L"dialog", L"list"}).out);
            std::string box;
            if (!std::getline(open, box)) {
                Sleep(10);
                continue;
            }
            boxes.push_back(box);
            onBox(box);
        }
    });
    action();
    done = true;
    watcher.join();
    return boxes;
}

std::vector<std::string> AnsweringBoxes(const wchar_t* answer, const std::function<void()>& action) {
    return HandlingBoxes([answer](const std::string&) {
        test::Devemu({L"dialog", L"answer", answer, L"--wait", L"2000"});
    }, action);
}

}  // namespace settingstest

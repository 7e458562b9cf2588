// What the settings window tests share, in this process or against varnel.exe: the controls
// found by their places, the user's actions on them, and message boxes answered as they show.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include <windows.h>

#include "TestSupport.h"

namespace settingstest {

// A control's top-left corner in the window's client area, scrolled to the top.
struct Place {
    int x, y;
};

constexpr Place kEditGestures{8, 54};
constexpr Place kGesturesToggleLock{8, 100};
constexpr Place kGestureLock{8, 146};
constexpr Place kGestureLockKind{204, 146};
constexpr Place kDisableGesturesOnAC{8, 192};
constexpr Place kDisableGesturesWhenUpright{8, 238};
constexpr Place kResumeBehaviour{8, 346};
constexpr Place kResumeCallBehaviour{8, 402};
constexpr Place kUnlockWhenCallConnected{8, 458};
constexpr Place kUnlockWhenCallEnds{8, 504};
constexpr Place kUnlockOnAC{8, 550};
constexpr Place kRelockOnBattery{48, 596};
constexpr Place kUnlockOnStylus{8, 642};
constexpr Place kRelockOnStylus{48, 688};
constexpr Place kVibrate{8, 796};
constexpr Place kBeep{8, 842};
constexpr Place kVibrateIfDifferent{8, 888};
constexpr Place kShowIcon{8, 934};
constexpr Place kTranscriberCompatibility{8, 1042};

// What `devemu post show-settings` opens in the running program, once it is in front; null
// when it did not come.
HWND ShowSettings(const test::VarnelProcess& varnel);

// The child of `window` at `place`, or null. Works on another process's window as well.
HWND ControlAt(HWND window, Place place);

// What the user sees in each option's control, by the option's name: a check box "on" or
// "off", a combo box its selected item or "(none)"; " (disabled)" follows a disabled control.
std::map<std::string, std::string> Shown(HWND window);

// A tap on the check box or button at `place`.
void Click(HWND window, Place place);
// The user's choice of `item` in the combo box at `place`: selected, then confirmed, which the
// window hears as the list's CBN_SELENDOK.
void Choose(HWND window, Place place, const wchar_t* item);
// A tap on the window's soft key for `command` (IDM_OK or IDM_CANCEL).
void PressSoftKey(HWND window, int command);

// Runs `action` on this thread while another one answers each message box that shows with
// `answer` ("ok", "cancel", ...). Returns the boxes, one "caption=\"…\" text=\"…\"" line each.
std::vector<std::string> AnsweringBoxes(const wchar_t* answer, const std::function<void()>& action);
// The same, with `onBox` called for each box instead of answering it.
std::vector<std::string> HandlingBoxes(const std::function<void(const std::string& box)>& onBox,
                                       const std::function<void()>& action);

// The box lines that the two messages of the window show.
extern const char kTranscriberNotice[];
extern const char kSoftResetQuestion[];

}  // namespace settingstest

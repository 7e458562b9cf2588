// The lock actions of the Application: settings turned into lock states, with the icon in step.
// Order of effects in each: icon, then the window word and the device request (SetState), then
// the state field; feedback is the caller's, after.
#include "Application.h"

bool Application::LockAll() {
    notificationIcon->Show(settingsWindow.current.ShowIcon);
    return lockWindow->SetState(LOCKED_ALL);
}

bool Application::LockPanelOnly() {
    notificationIcon->Show(settingsWindow.current.ShowIcon);
    return lockWindow->SetState(LOCKED_PANEL);
}

bool Application::UnlockAll() {
    delayedLockArmed = false;  // the user's unlock wins over an automatic lock still to come
    notificationIcon->Show(false);
    return lockWindow->SetState(UNLOCKED);
}

bool Application::ApplyResumeAction(uint32_t action) {
    switch (action) {
    case DoNothing: return false;
    case LockEverything: return LockAll();
    case UnlockPhone: return UnlockAll();
    default: return LockPanelOnly();  // LockPanel, and any value outside the named ones
    }
}

bool Application::ApplyGestureLock() {
    switch (settingsWindow.current.GestureLock) {
    case 0: return false;
    case 2: return LockPanelOnly();
    default: return LockAll();
    }
}

void Application::Relock(LockState saved) {
    notificationIcon->Show(settingsWindow.current.ShowIcon && saved != UNLOCKED);
    lockWindow->SetState(saved);
}

void Application::VibrateFeedback(bool isLock, bool changed, bool force) {
    const Settings& s = settingsWindow.current;
    const bool wanted = s.Vibrate && s.VibrateIfDifferent ? changed : s.Vibrate;
    if (!wanted && !force) return;
    vibrator->Play(isLock ? LockVibratePattern : UnlockVibratePattern);
}

void Application::BeepFeedback(bool isLock, bool changed, bool force) {
    const Settings& s = settingsWindow.current;
    const bool wanted = s.Beep && s.VibrateIfDifferent ? changed : s.Beep;
    if (!wanted && !force) return;
    beeper->Play(isLock ? LockBeepPattern : UnlockBeepPattern);
}

// The settings window: its menu bar and controls, the transfer between them and the options,
// and its commands.
#include "SettingsWindow.h"

#include "SettingsControls.h"
#include "app/AppGlobals.h"
#include "ce/Shell.h"
#include "gesture/GestureEditorWindow.h"

namespace {

// Closing in normal use does not end the program, whatever the flag said.
void CloseInNormalUse(TopLevelWindow& w) {
    w.quitOnDestroy = false;
    PostMessageW(w.Window(), WM_CLOSE, 0, 0);
}

// The check boxes that each show one option; a disabled box is stored as it is shown. Both
// directions of the transfer read this one list, so no box can be shown but not stored.
struct BoxOption {
    CheckBox SettingsControls::*box;
    bool Settings::*option;
};
constexpr BoxOption kBoxOptions[] = {
    {&SettingsControls::unlockOnAC, &Settings::UnlockOnAC},
    {&SettingsControls::relockOnBattery, &Settings::RelockOnBattery},
    {&SettingsControls::unlockOnStylus, &Settings::UnlockOnStylus},
    {&SettingsControls::relockOnStylus, &Settings::RelockOnStylus},
    {&SettingsControls::unlockWhenCallEnds, &Settings::UnlockWhenCallEnds},
    {&SettingsControls::unlockWhenCallConnected, &Settings::UnlockWhenCallConnected},
    {&SettingsControls::gesturesToggleLock, &Settings::GesturesToggleLock},
    {&SettingsControls::disableGesturesOnAC, &Settings::DisableGesturesOnAC},
    {&SettingsControls::disableGesturesWhenUpright, &Settings::DisableGesturesWhenUpright},
    {&SettingsControls::vibrate, &Settings::Vibrate},
    {&SettingsControls::beep, &Settings::Beep},
    {&SettingsControls::vibrateIfDifferent, &Settings::VibrateIfDifferent},
    {&SettingsControls::transcriberCompatibility, &Settings::TranscriberCompatibility},
    {&SettingsControls::showIcon, &Settings::ShowIcon},
};

// A box that means something only while `master` is set: disabled and clear otherwise.
void ShowDependent(CheckBox& box, bool master) {
    EnableWindow(box.Window(), master);
    if (!master) box.SetChecked(false);
}

}  // namespace

LRESULT SettingsWindow::OnCreate(WPARAM wParam, LPARAM lParam) {
    CreateSoftKeys();

    controls_ = std::make_unique<SettingsControls>();
    SettingsControls& c = *controls_;
    c.Create(window);
    c.editGestures.clickCallback.Set(Bind(this, &SettingsWindow::OnEditGestures));
    c.gestureLock.checkedCallback.Set(Bind(this, &SettingsWindow::OnGestureLockChecked));
    c.gestureLockKind.selectionCallback.Set(Bind(this, &SettingsWindow::OnGestureLockKindSelected));
    c.resumeBehaviour.selectionCallback.Set(Bind(this, &SettingsWindow::OnResumeSelected));
    c.resumeCallBehaviour.selectionCallback.Set(Bind(this, &SettingsWindow::OnResumeCallSelected));
    c.unlockOnAC.checkedCallback.Set(Bind(this, &SettingsWindow::OnUnlockOnAcChecked));
    c.unlockOnStylus.checkedCallback.Set(Bind(this, &SettingsWindow::OnUnlockOnStylusChecked));
    c.vibrate.checkedCallback.Set(Bind(this, &SettingsWindow::OnFeedbackChecked));
    c.beep.checkedCallback.Set(Bind(this, &SettingsWindow::OnFeedbackChecked));
    c.transcriberCompatibility.checkedCallback.Set(Bind(this, &SettingsWindow::OnTranscriberChecked));
    SettingsToControls();
    return TopLevelWindow::OnCreate(wParam, lParam);
}

LRESULT SettingsWindow::OnDestroy(WPARAM wParam, LPARAM lParam) {
    // Whatever closed the window, the next opening shows the controls as the user left them.
    if (controls_) ControlsToSettings();
    controls_.reset();
    return TopLevelWindow::OnDestroy(wParam, lParam);
}

void SettingsWindow::SettingsToControls() {
    SettingsControls& c = *controls_;
    const Settings& s = edited;
    // A value outside the items selects nothing.
    c.resumeBehaviour.Select(static_cast<int>(s.ResumeBehaviour));
    c.resumeCallBehaviour.Select(static_cast<int>(s.ResumeCallBehaviour));
    for (const BoxOption& b : kBoxOptions) (c.*b.box).SetChecked(s.*b.option);
    ShowDependent(c.relockOnBattery, s.UnlockOnAC);
    ShowDependent(c.relockOnStylus, s.UnlockOnStylus);
    ShowDependent(c.vibrateIfDifferent, s.Vibrate || s.Beep);
    const bool gestureLocks = s.GestureLock != 0;
    c.gestureLock.SetChecked(gestureLocks);
    EnableWindow(c.gestureLockKind.Window(), gestureLocks);
    c.gestureLockKind.Select(s.GestureLock == LockPanel ? kTouchPanelItem : kEverythingItem);
    editor_->lockGesture = s.LockGesture;
    editor_->unlockGesture = s.UnlockGesture;
}

void SettingsWindow::ControlsToSettings() {
    const SettingsControls& c = *controls_;
    Settings& s = edited;
    // No selection is -1, stored as it comes.
    s.ResumeBehaviour = static_cast<uint32_t>(c.resumeBehaviour.Selection());
    s.ResumeCallBehaviour = static_cast<uint32_t>(c.resumeCallBehaviour.Selection());
    for (const BoxOption& b : kBoxOptions) s.*b.option = (c.*b.box).IsChecked();
    if (!c.gestureLock.IsChecked()) s.GestureLock = 0;
    else s.GestureLock = c.gestureLockKind.Selection() == kTouchPanelItem ? LockPanel : LockEverything;
    s.LockGesture = editor_->lockGesture;
    s.UnlockGesture = editor_->unlockGesture;
}

void SettingsWindow::OnOk() {
    // The lock window reads the Transcriber mode once, at start: a change needs a restart. It is
    // measured against the mode in force, not against `edited`, which a visit to the gesture
    // editor or a Cancel has already brought up to the box.
    const bool restart = controls_->transcriberCompatibility.IsChecked() != current.TranscriberCompatibility;
    if (restart) {
        const int answer = MessageBoxW(window,
                                       L"Changing Transcriber compatibility mode requires you to soft "
                                       L"reset your device.\nSoft reset now?",
                                       L"Action required", MB_OKCANCEL | MB_ICONQUESTION | MB_TOPMOST);
        // The window may have been closed under the question, at shutdown: then nothing happens.
        if (!controls_) return;
        if (answer != IDOK) {
            controls_->transcriberCompatibility.SetChecked(current.TranscriberCompatibility);
            return;
        }
    }
    ControlsToSettings();
    Save();
    CloseInNormalUse(*this);
    if (restart) AygExitWindowsEx(EWX_REBOOT, 0);
}

void SettingsWindow::OnCancel() { CloseInNormalUse(*this); }

INT_PTR SettingsWindow::OnEditGestures(LPARAM) {
    editor_->lockGesture = edited.LockGesture;
    editor_->unlockGesture = edited.UnlockGesture;
    editor_->Open();
    CloseInNormalUse(*this);
    return 0;
}

INT_PTR SettingsWindow::OnEditorOk(LPARAM) {
    edited.LockGesture = editor_->lockGesture;
    edited.UnlockGesture = editor_->unlockGesture;
    Open();
    CloseInNormalUse(*editor_);
    return 0;
}

INT_PTR SettingsWindow::OnEditorCancel(LPARAM) {
    // Reopening hands the gestures of `edited` back to the editor, which drops its changes.
    Open();
    CloseInNormalUse(*editor_);
    return 0;
}

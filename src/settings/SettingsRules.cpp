// The dependency rules between the settings window's controls: boxes that only mean something
// while another is checked, and the panel-only choices that the Transcriber mode cannot keep.
#include "SettingsControls.h"
#include "SettingsWindow.h"

namespace {

// Moves `combo` from `from` to `to`; true when it was at `from`.
bool Replace(ComboBox& combo, int from, int to) {
    if (combo.Selection() != from) return false;
    combo.Select(to);
    return true;
}

}  // namespace

// The dependent boxes keep their marks while disabled: the user's choice comes back with the
// master box, and OK stores what is shown.
INT_PTR SettingsWindow::OnGestureLockChecked(LPARAM checked) {
    EnableWindow(controls_->gestureLockKind.Window(), checked != 0);
    return 0;
}

INT_PTR SettingsWindow::OnUnlockOnAcChecked(LPARAM checked) {
    EnableWindow(controls_->relockOnBattery.Window(), checked != 0);
    return 0;
}

INT_PTR SettingsWindow::OnUnlockOnStylusChecked(LPARAM checked) {
    EnableWindow(controls_->relockOnStylus.Window(), checked != 0);
    return 0;
}

INT_PTR SettingsWindow::OnFeedbackChecked(LPARAM) {
    const SettingsControls& c = *controls_;
    EnableWindow(c.vibrateIfDifferent.Window(), c.vibrate.IsChecked() || c.beep.IsChecked());
    return 0;
}

INT_PTR SettingsWindow::OnTranscriberChecked(LPARAM checked) {
    if (!checked) return 0;
    SettingsControls& c = *controls_;
    // All three are looked at, so one notice covers them; the gesture lock's choice is replaced
    // even while it is off, as it comes back when the gesture lock is checked again.
    bool changed = Replace(c.resumeBehaviour, LockPanel, LockEverything);
    changed |= Replace(c.resumeCallBehaviour, LockPanel, LockEverything);
    changed |= Replace(c.gestureLockKind, kTouchPanelItem, kEverythingItem);
    if (changed) TranscriberNotice();
    return 0;
}

INT_PTR SettingsWindow::OnResumeSelected(LPARAM index) {
    RefusePanelOnly(controls_->resumeBehaviour, index, LockPanel, LockEverything);
    return 0;
}

INT_PTR SettingsWindow::OnResumeCallSelected(LPARAM index) {
    RefusePanelOnly(controls_->resumeCallBehaviour, index, LockPanel, LockEverything);
    return 0;
}

INT_PTR SettingsWindow::OnGestureLockKindSelected(LPARAM index) {
    RefusePanelOnly(controls_->gestureLockKind, index, kTouchPanelItem, kEverythingItem);
    return 0;
}

void SettingsWindow::RefusePanelOnly(ComboBox& combo, LPARAM index, int panelOnly, int fallback) {
    if (index != panelOnly || !controls_->transcriberCompatibility.IsChecked()) return;
    if (TranscriberNotice()) combo.Select(fallback);
}

bool SettingsWindow::TranscriberNotice() {
    MessageBoxW(window,
                L"Transcriber compatibility mode cannot lock the touch panel only.\nYour settings "
                L"have been automatically updated.",
                L"Information", MB_OK | MB_ICONINFORMATION | MB_TOPMOST);
    return controls_ != nullptr;
}

// The gesture editor's recorder: what its play and record buttons and its timer do.
#include "GestureEditorWindow.h"
#include "TiltSensor.h"
#include "app/Application.h"

INT_PTR GestureEditorWindow::OnLockPlay(LPARAM) {
    StartPlayback(lock_);
    return 0;
}

INT_PTR GestureEditorWindow::OnUnlockPlay(LPARAM) {
    StartPlayback(unlock_);
    return 0;
}

INT_PTR GestureEditorWindow::OnLockRecord(LPARAM) {
    ToggleRecording(lock_);
    return 0;
}

INT_PTR GestureEditorWindow::OnUnlockRecord(LPARAM) {
    ToggleRecording(unlock_);
    return 0;
}

void GestureEditorWindow::ToggleRecording(GestureGroup& group) {
    if (lock_.playback.playing || unlock_.playback.playing) return;
    if (recording_.recording) {
        StopRecording();
        return;
    }
    // Gesture detection stays off while the user turns the phone to record.
    --Application::Instance().enableLevel;
    recording_.Start();
    recordingInto_ = &group;
    group.record->SetBlinking(true);
    EnableOtherButtons(group, false);
    ShowNote(group, L"");
}

void GestureEditorWindow::StopRecording() {
    GestureGroup& group = *recordingInto_;
    EnableOtherButtons(group, true);
    recording_.Stop();
    recordingInto_ = nullptr;
    group.record->SetBlinking(false);
    ++Application::Instance().enableLevel;
    const Gesture recorded = Simplify(recording_.Points());
    // A gesture without steps would unlock (or lock) the phone whenever it lies face up: the
    // phone did not turn, or the sensor failed, and the gesture stays as it was.
    if (!HasSteps(recorded)) {
        ShowNote(group, L"No turn recorded: the gesture is kept.");
        return;
    }
    group.gesture = recorded;
    ShowNote(group, TurnedInAll(recorded) < kShortestSafeTurn ? L"Under half a turn: easy to do by accident." : L"");
}

void GestureEditorWindow::EnableOtherButtons(const GestureGroup& recording, bool enable) {
    for (const IconButton* button : {Other(recording).record.get(), lock_.play.get(), unlock_.play.get()}) {
        EnableWindow(button->Window(), enable);
    }
}

void GestureEditorWindow::StartPlayback(GestureGroup& group) {
    if (group.playback.playing || recording_.recording) return;
    group.playback.Start(group.gesture);
    group.play->SetBlinking(true);
}

void GestureEditorWindow::AdvancePlayback(GestureGroup& group) {
    if (const auto angle = group.playback.Advance(group.gesture)) {
        group.view->SetViewAngle(*angle);
        return;
    }
    group.view->SetViewAngle(0.0f);  // back at rest; redrawn only if it was turned
    group.play->SetBlinking(false);
}

INT_PTR GestureEditorWindow::Tick(LPARAM) {
    AdvancePlayback(lock_);
    AdvancePlayback(unlock_);
    if (recording_.WantsSample()) recording_.Sample(TiltSensor::Instance().ReadTilt().rotation);
    return 0;
}

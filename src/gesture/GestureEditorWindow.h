// The screen on which the user records, reviews and resets the two gestures. The settings window
// owns the object, fills its working gestures before each opening and takes them back on OK.
// The window, its controls and its timer exist while it is open; the working gestures, the
// playbacks and the recording live as long as the object.
#pragma once

#include <memory>

#include "gesture/Gesture.h"
#include "gesture/GesturePlayback.h"
#include "gesture/GestureRecording.h"
#include "gesture/GestureView.h"
#include "gesture/IconButton.h"
#include "ui/EditBox.h"
#include "ui/Label.h"
#include "ui/LinkButton.h"
#include "ui/Timer.h"
#include "ui/TopLevelWindow.h"

// One gesture's part of the editor: a header, the view, the play, record and reset buttons, and
// the playback of the gesture.
struct GestureGroup {
    explicit GestureGroup(Gesture& gesture) : gesture(gesture) {}

    Gesture& gesture;  // the editor's working copy
    std::unique_ptr<Label> header;
    std::unique_ptr<GestureView> view;
    std::unique_ptr<IconButton> play;
    std::unique_ptr<IconButton> record;
    std::unique_ptr<LinkButton> reset;
    std::unique_ptr<Label> note;  // what the last recording did to the gesture, when worth saying
    GesturePlayback playback;
};

class GestureEditorWindow : public TopLevelWindow {
public:
    GestureEditorWindow();
    ~GestureEditorWindow() override;

    // Builds the menu bar with "OK" and "Cancel", the two groups, the instructions and the timer.
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    // Deletes what OnCreate built, then ends the loop when quitOnDestroy is set.
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;

    // The ok and the cancel callback with 0, when set.
    void OnOk() override;
    void OnCancel() override;

    // The buttons' click handlers.
    INT_PTR OnLockPlay(LPARAM);
    INT_PTR OnUnlockPlay(LPARAM);
    INT_PTR OnLockRecord(LPARAM);
    INT_PTR OnUnlockRecord(LPARAM);
    // Ask, and on Yes put the default gesture back.
    INT_PTR ResetLockGesture(LPARAM);
    INT_PTR ResetUnlockGesture(LPARAM);
    // Every 50 ms while the window is open: both playbacks advance, a recording samples.
    INT_PTR Tick(LPARAM);

    CallbackSlot okCallback;
    CallbackSlot cancelCallback;

    // The working copies, read and written whole by the settings window.
    Gesture lockGesture{};
    Gesture unlockGesture{};

private:
    using Handler = INT_PTR (GestureEditorWindow::*)(LPARAM);

    void CreateGroup(GestureGroup& group, const wchar_t* title, int top, Handler play,
                     Handler record, Handler reset);
    GestureGroup& Other(const GestureGroup& group) { return &group == &lock_ ? unlock_ : lock_; }

    // The recorder behind the play and record buttons (GestureRecorder.cpp).
    void ToggleRecording(GestureGroup& group);
    void StopRecording();
    // While a group records, the other's record button and both play buttons are disabled.
    void EnableOtherButtons(const GestureGroup& recording, bool enable);
    void StartPlayback(GestureGroup& group);
    void AdvancePlayback(GestureGroup& group);
    void ResetGesture(GestureGroup& group, const Gesture& defaults);
    void ShowNote(GestureGroup& group, const wchar_t* text);

    GestureGroup lock_{lockGesture};
    GestureGroup unlock_{unlockGesture};
    // One recording for both groups: only one can run at a time.
    GestureRecording recording_;
    GestureGroup* recordingInto_ = nullptr;  // while recording_ runs

    // While the window exists.
    std::unique_ptr<Label> instructionsHeader_;
    std::unique_ptr<EditBox> instructions_;
    std::unique_ptr<Timer> timer_;
};

// The gesture editor: its menu bar and controls, leaving it, and the reset of a gesture.
#include "GestureEditorWindow.h"

#include <algorithm>

#include "app/AppGlobals.h"
#include "app/Application.h"

namespace {

constexpr UINT kTickMs = 50;

constexpr wchar_t kInstructions[] =
    L"To record gestures, first press the record button. Perform the gesture and press the record "
    L"button when done.\r\nYou can review the gesture by pressing the play button.\r\n\r\nTo make "
    L"performing the recorded gesture easier, the gesture will be simplified and snapped to 45 "
    L"degree intervals. If you have trouble performing a recorded gesture, make sure you rotate "
    L"the phone to at least the angle indicated by the playback function, especially when you "
    L"have defined a gesture that switches rotation direction.";

}  // namespace

GestureEditorWindow::GestureEditorWindow() : TopLevelWindow(L"Varnel") {}

GestureEditorWindow::~GestureEditorWindow() = default;

LRESULT GestureEditorWindow::OnCreate(WPARAM wParam, LPARAM lParam) {
    CreateSoftKeys();

    CreateGroup(lock_, L"Lock gesture", 8, &GestureEditorWindow::OnLockPlay,
                &GestureEditorWindow::OnLockRecord, &GestureEditorWindow::ResetLockGesture);
    CreateGroup(unlock_, L"Unlock gesture", 178, &GestureEditorWindow::OnUnlockPlay,
                &GestureEditorWindow::OnUnlockRecord, &GestureEditorWindow::ResetUnlockGesture);
    instructionsHeader_ = std::make_unique<Label>(Label::kSectionHeader);
    instructionsHeader_->Create(window, L"Recording instructions", 8, 348, 450, 40);
    instructions_ = std::make_unique<EditBox>();
    instructions_->Create(window, 8, 394, 464, 130);
    SetWindowTextW(instructions_->Window(), kInstructions);

    timer_ = std::make_unique<Timer>(window, kTickMs);
    timer_->elapsedCallback.Set(Bind(this, &GestureEditorWindow::Tick));
    return TopLevelWindow::OnCreate(wParam, lParam);
}

void GestureEditorWindow::CreateGroup(GestureGroup& group, const wchar_t* title, int top,
                                      Handler play, Handler record, Handler reset) {
    const int row = top + 46;  // the view and the two buttons, below the header
    group.header = std::make_unique<Label>(Label::kSectionHeader);
    group.header->Create(window, title, 8, top, 450, 40);
    group.view = std::make_unique<GestureView>();
    group.view->Create(window, 8, row, 96, 96);
    group.play = std::make_unique<IconButton>(kPlaySymbol);
    group.play->Create(window, 116, row, 56, 56);
    group.play->clickCallback.Set(Bind(this, play));
    group.record = std::make_unique<IconButton>(kRecordSymbol);
    group.record->Create(window, 184, row, 56, 56);
    group.record->clickCallback.Set(Bind(this, record));
    group.reset = std::make_unique<LinkButton>();
    group.reset->Create(window, L"Reset to default", 116, row + 62, 175, 32);
    group.reset->clickCallback.Set(Bind(this, reset));
    group.note = std::make_unique<Label>();
    group.note->Create(window, L"", 8, row + 96, 464, 28);  // up to the next header, descenders included
}

LRESULT GestureEditorWindow::OnDestroy(WPARAM wParam, LPARAM lParam) {
    // A recording still running when the window goes is discarded here, whatever closed the
    // window (OK has already finished it, see OnOk), so that detection comes back on.
    if (recording_.recording) {
        recording_.Stop();
        recordingInto_ = nullptr;
        ++Application::Instance().enableLevel;
    }
    for (GestureGroup* group : {&lock_, &unlock_}) {
        group->header.reset();
        group->view.reset();
        group->play.reset();
        group->record.reset();
        group->reset.reset();
        group->note.reset();
    }
    instructionsHeader_.reset();
    instructions_.reset();
    timer_.reset();
    return TopLevelWindow::OnDestroy(wParam, lParam);
}

void GestureEditorWindow::OnOk() {
    // OK keeps a recording still running, as a second press of its record button would, so the
    // settings window takes the gesture the user just performed.
    if (recording_.recording) StopRecording();
    if (okCallback) okCallback.Invoke(0);
}

void GestureEditorWindow::OnCancel() {
    if (cancelCallback) cancelCallback.Invoke(0);
}

INT_PTR GestureEditorWindow::ResetLockGesture(LPARAM) {
    ResetGesture(lock_, kDefaultLockGesture);
    return 0;
}

INT_PTR GestureEditorWindow::ResetUnlockGesture(LPARAM) {
    ResetGesture(unlock_, kDefaultUnlockGesture);
    return 0;
}

void GestureEditorWindow::ResetGesture(GestureGroup& group, const Gesture& defaults) {
    const int answer = MessageBoxW(window, L"Reset gesture to default?", L"Confirm action",
                                   MB_YESNO | MB_ICONQUESTION | MB_TOPMOST);
    if (answer != IDYES) return;
    // The four default steps and their 0; what follows was never read and stays.
    std::copy_n(defaults.steps, 5, group.gesture.steps);
    ShowNote(group, L"");
}

void GestureEditorWindow::ShowNote(GestureGroup& group, const wchar_t* text) {
    // Gone with the window: a message box closed under the window's end returns here late.
    if (!group.note) return;
    SetWindowTextW(group.note->Window(), text);
    InvalidateRect(group.note->Window(), nullptr, TRUE);
}

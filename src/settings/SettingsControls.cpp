#include "SettingsControls.h"

namespace {

constexpr int kRow = 40;    // every header, check box and button
constexpr int kList = 200;  // a combo box with its list dropped down

// In ResumeAction order: an item's index is the value it stands for.
void FillWithResumeActions(ComboBox& combo) {
    combo.SetItems({L"Do nothing", L"Lock everything", L"Lock panel", L"Unlock phone"});
}

}  // namespace

void SettingsControls::Create(HWND parent) {
    gesturesHeader.Create(parent, L"Gestures", 8, 8, 464, kRow);
    editGestures.Create(parent, L"Edit gestures", 8, 54, 150, kRow);
    gesturesToggleLock.Create(parent, L"Gestures toggle lock", 8, 100, 260, kRow);
    gestureLock.Create(parent, L"Gestures lock", 8, 146, 190, kRow);
    gestureLockKind.Create(parent, 204, 146, 170, kList);
    gestureLockKind.SetItems({L"touch panel", L"everything"});
    disableGesturesOnAC.Create(parent, L"Disable gestures on external power", 8, 192, 420, kRow);
    disableGesturesWhenUpright.Create(parent, L"Disable gestures when upright", 8, 238, 370, kRow);

    autolockHeader.Create(parent, L"Autolock", 8, 300, 464, kRow);
    resumeBehaviour.Create(parent, 8, 346, 210, kList);
    FillWithResumeActions(resumeBehaviour);
    resumeLabel.Create(parent, L"when phone awakes", 224, 346, 220, kRow);
    resumeCallBehaviour.Create(parent, 8, 402, 210, kList);
    FillWithResumeActions(resumeCallBehaviour);
    resumeCallLabel.Create(parent, L"when phone awakes on incoming call", 224, 392, 220, 60);
    unlockWhenCallConnected.Create(parent, L"Unlock phone when call connects", 8, 458, 400, kRow);
    unlockWhenCallEnds.Create(parent, L"Unlock phone when call ends", 8, 504, 400, kRow);
    unlockOnAC.Create(parent, L"Unlock phone on external power", 8, 550, 400, kRow);
    relockOnBattery.Create(parent, L"Relock when back on battery", 48, 596, 400, kRow);
    unlockOnStylus.Create(parent, L"Unlock phone when stylus is removed", 8, 642, 450, kRow);
    relockOnStylus.Create(parent, L"Relock when stylus is inserted", 48, 688, 400, kRow);

    feedbackHeader.Create(parent, L"Feedback", 8, 750, 464, kRow);
    vibrate.Create(parent, L"Vibrate on successful gesture", 8, 796, 360, kRow);
    beep.Create(parent, L"Beep on successful gesture", 8, 842, 360, kRow);
    vibrateIfDifferent.Create(parent, L"Feedback only when lock changes", 8, 888, 450, kRow);
    showIcon.Create(parent, L"Show notification icon when locked", 8, 934, 450, kRow);

    miscellaneousHeader.Create(parent, L"Miscellaneous", 8, 996, 464, kRow);
    transcriberCompatibility.Create(parent, L"Transcriber compatibility mode", 8, 1042, 370, kRow);
}

// The controls of the settings window in their four sections, in creation order. They exist
// while the window does.
#pragma once

#include <windows.h>

#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/Label.h"
#include "ui/LinkButton.h"

// The items of the "Gestures lock" combo box; the two wake combo boxes list the ResumeActions.
constexpr int kTouchPanelItem = 0;
constexpr int kEverythingItem = 1;

struct SettingsControls {
    // Creates every control as a child of `parent` at its place, combo boxes filled.
    void Create(HWND parent);

    Label gesturesHeader{Label::kSectionHeader};
    LinkButton editGestures;
    CheckBox gesturesToggleLock;
    CheckBox gestureLock;
    ComboBox gestureLockKind;
    CheckBox disableGesturesOnAC;
    CheckBox disableGesturesWhenUpright;

    Label autolockHeader{Label::kSectionHeader};
    ComboBox resumeBehaviour;
    Label resumeLabel;
    ComboBox resumeCallBehaviour;
    Label resumeCallLabel;
    CheckBox unlockWhenCallConnected;
    CheckBox unlockWhenCallEnds;
    CheckBox unlockOnAC;
    CheckBox relockOnBattery;
    CheckBox unlockOnStylus;
    CheckBox relockOnStylus;

    Label feedbackHeader{Label::kSectionHeader};
    CheckBox vibrate;
    CheckBox beep;
    CheckBox vibrateIfDifferent;
    CheckBox showIcon;

    Label miscellaneousHeader{Label::kSectionHeader};
    CheckBox transcriberCompatibility;
};

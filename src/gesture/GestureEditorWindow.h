// The screen on which the user records, reviews and resets the two gestures. The settings window
// owns the object, fills its working gestures before each opening and takes them back on OK.
#pragma once

#include <memory>

#include "gesture/Gesture.h"
#include "ui/MenuBar.h"
#include "ui/TopLevelWindow.h"

class GestureEditorWindow : public TopLevelWindow {
public:
    GestureEditorWindow();
    ~GestureEditorWindow() override;

    // Builds the menu bar with "OK" and "Cancel".
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    // Deletes what OnCreate built, then ends the loop when quitOnDestroy is set.
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;

    // The ok and the cancel callback with 0, when set.
    virtual void OnOk();
    virtual void OnCancel();

    // The menu bar's commands: OK and Cancel; others are ignored.
    INT_PTR OnMenuCommand(LPARAM args);

    CallbackSlot okCallback;
    CallbackSlot cancelCallback;

    // The working copies, read and written whole by the settings window.
    Gesture lockGesture{};
    Gesture unlockGesture{};

private:
    std::unique_ptr<MenuBar> softKeys_;  // exists while the window does; also `menuBar`
};

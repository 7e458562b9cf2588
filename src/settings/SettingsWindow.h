// The settings window, and the holder of the options for the whole run: the registry store,
// the options in force (`current`) and the options as the window shows them (`edited`). The
// object lives as long as the program; its window comes and goes.
#pragma once

#include <memory>

#include "Settings.h"
#include "SettingsStore.h"
#include "ui/TopLevelWindow.h"

class ComboBox;
class GestureEditorWindow;
struct SettingsControls;

class SettingsWindow : public TopLevelWindow {
public:
    // Opens the key and loads `current`, copies it to `edited`, and makes the gesture editor.
    SettingsWindow();
    // Closes the key, then deletes the gesture editor.
    ~SettingsWindow() override;

    const SettingsStore& Store() const { return store_; }
    GestureEditorWindow& Editor() { return *editor_; }

    // `current` = the registry's options; `edited` = a copy of them.
    void Load();
    // `current` = `edited`, then every value goes to the registry.
    void Save();

    // Builds the menu bar and the controls and shows `edited` in them.
    LRESULT OnCreate(WPARAM wParam, LPARAM lParam) override;
    // Keeps what the controls show in `edited`, then deletes the menu bar and the controls.
    LRESULT OnDestroy(WPARAM wParam, LPARAM lParam) override;

    // `edited` into the controls, its gestures into the editor; and back.
    void SettingsToControls();
    void ControlsToSettings();

    // Stores the options and closes; asks first when the Transcriber mode changed.
    void OnOk() override;
    void OnCancel() override;
    // The editor takes the window's place, and gives it back when the user leaves it.
    INT_PTR OnEditGestures(LPARAM);
    INT_PTR OnEditorOk(LPARAM);
    INT_PTR OnEditorCancel(LPARAM);

    // Read by the lock controller's thread while the main thread may replace it in Save:
    // every option is one aligned byte or word, the gestures whole arrays.
    Settings current{};
    Settings edited{};

private:
    // The dependency rules between the controls.
    INT_PTR OnGestureLockChecked(LPARAM checked);
    INT_PTR OnUnlockOnAcChecked(LPARAM checked);
    INT_PTR OnUnlockOnStylusChecked(LPARAM checked);
    INT_PTR OnFeedbackChecked(LPARAM checked);
    INT_PTR OnTranscriberChecked(LPARAM checked);
    INT_PTR OnResumeSelected(LPARAM index);
    INT_PTR OnResumeCallSelected(LPARAM index);
    INT_PTR OnGestureLockKindSelected(LPARAM index);
    // A panel-only choice made while the Transcriber mode is on falls back to `fallback`.
    void RefusePanelOnly(ComboBox& combo, LPARAM index, int panelOnly, int fallback);
    // Tells the user that panel-only choices were replaced. False when the window went away
    // while the message was up (the program was told to stop).
    bool TranscriberNotice();

    // Declared before the store: the key is closed before the editor is deleted.
    std::unique_ptr<GestureEditorWindow> editor_;
    SettingsStore store_;
    // While the window exists.
    std::unique_ptr<SettingsControls> controls_;
};

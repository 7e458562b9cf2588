// The settings window object's part that lives for the whole run, window or not: the registry
// store, the two copies of the options and the gesture editor object.
#include "SettingsWindow.h"

#include "gesture/GestureEditorWindow.h"
#include "settings/SettingsControls.h"

SettingsWindow::SettingsWindow() : TopLevelWindow(L"Varnel") {
    Load();
    editor_ = std::make_unique<GestureEditorWindow>();
    editor_->okCallback.Set(Bind(this, &SettingsWindow::OnEditorOk));
    editor_->cancelCallback.Set(Bind(this, &SettingsWindow::OnEditorCancel));
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::Load() {
    current = store_.Load();
    edited = current;
}

void SettingsWindow::Save() {
    current = edited;
    store_.Save(current);
}

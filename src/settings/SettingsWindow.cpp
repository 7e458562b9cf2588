#include "SettingsWindow.h"

SettingsWindow::SettingsWindow() { Load(); }

void SettingsWindow::Load() {
    current = store_.Load();
    edited = current;
}

void SettingsWindow::Save() {
    current = edited;
    store_.Save(current);
}

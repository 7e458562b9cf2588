// The holder of the options for the whole run: the registry store, the options in force
// (`current`) and the options as the settings window shows them (`edited`).
#pragma once

#include <atomic>

#include "Settings.h"
#include "SettingsStore.h"

class SettingsWindow {
public:
    SettingsWindow();  // opens the key and loads `current`, then copies it to `edited`
    virtual ~SettingsWindow() = default;

    SettingsWindow(const SettingsWindow&) = delete;
    SettingsWindow& operator=(const SettingsWindow&) = delete;

    const SettingsStore& Store() const { return store_; }

    // `current` = the registry's options; `edited` = a copy of them.
    void Load();
    // `current` = `edited`, then every value goes to the registry.
    void Save();

    // Read by the lock controller's thread while the main thread may replace it in Save:
    // every option is one aligned byte or word, the gestures whole arrays.
    Settings current{};
    Settings edited{};

    // Set by the controller at shutdown so that the window's destruction ends the message loop.
    std::atomic<bool> quitOnDestroy{false};

private:
    SettingsStore store_;
};

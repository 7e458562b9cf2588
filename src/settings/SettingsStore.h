// The options' registry key: opened once at start, read with a silent default for every value
// that is missing or malformed, and written back whole when the user confirms the settings.
#pragma once

#include <windows.h>

#include "GestureText.h"
#include "Settings.h"
#include "ce/Handle.h"

extern const wchar_t kSettingsKeyPath[];  // under HKEY_CURRENT_USER

class SettingsStore {
public:
    SettingsStore();  // opens or creates the key; a failure leaves it null
    virtual ~SettingsStore() = default;

    bool IsOpen() const { return key_.valid(); }

    Settings Load() const;             // every value, with defaults and Transcriber normalisation
    void Save(const Settings& settings) const;

    uint32_t ReadDword(const wchar_t* name, uint32_t fallback) const;
    bool ReadBool(const wchar_t* name, bool fallback) const;
    LONG ReadMultiString(const wchar_t* name, GestureText& text) const;
    // The stored gesture; `fallback` (a default gesture's text) when the value is missing or
    // reads as no step.
    Gesture ReadGesture(const wchar_t* name, const GestureText& fallback) const;
    void WriteDword(const wchar_t* name, uint32_t value) const;
    void WriteMultiString(const wchar_t* name, const GestureText& text) const;

private:
    RegKey key_;
};

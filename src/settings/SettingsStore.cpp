#include "SettingsStore.h"

#include "ce/Registry.h"

const wchar_t kSettingsKeyPath[] = L"Software\\Brackwater\\Varnel";

namespace {

// The options, in the order they are written. Each is a REG_DWORD of 4 bytes: a number taken as
// stored, or a flag reduced to 0 or 1.
struct Option {
    const wchar_t* name;
    uint32_t Settings::*number;
    bool Settings::*flag;
    uint32_t fallback;
};

constexpr Option kOptions[] = {
    {L"ResumeBehaviour", &Settings::ResumeBehaviour, nullptr, LockPanel},
    {L"ResumeCallBehaviour", &Settings::ResumeCallBehaviour, nullptr, LockPanel},
    {L"UnlockOnAC", nullptr, &Settings::UnlockOnAC, 1},
    {L"RelockOnBattery", nullptr, &Settings::RelockOnBattery, 0},
    {L"GesturesToggleLock", nullptr, &Settings::GesturesToggleLock, 0},
    {L"GestureLock", &Settings::GestureLock, nullptr, LockEverything},
    {L"DisableGesturesOnAC", nullptr, &Settings::DisableGesturesOnAC, 1},
    {L"DisableGesturesWhenUpright", nullptr, &Settings::DisableGesturesWhenUpright, 1},
    {L"Vibrate", nullptr, &Settings::Vibrate, 1},
    {L"Beep", nullptr, &Settings::Beep, 0},
    {L"VibrateIfDifferent", nullptr, &Settings::VibrateIfDifferent, 0},
    {L"UnlockOnStylus", nullptr, &Settings::UnlockOnStylus, 1},
    {L"RelockOnStylus", nullptr, &Settings::RelockOnStylus, 0},
    {L"TranscriberCompatibility", nullptr, &Settings::TranscriberCompatibility, 0},
    {L"UnlockWhenCallEnds", nullptr, &Settings::UnlockWhenCallEnds, 1},
    {L"UnlockWhenCallConnected", nullptr, &Settings::UnlockWhenCallConnected, 1},
    {L"ShowIcon", nullptr, &Settings::ShowIcon, 1},
};

HKEY OpenKey() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, kCeKeyAccess, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return key;
}

}  // namespace

SettingsStore::SettingsStore() : key_(OpenKey()) {}

uint32_t SettingsStore::ReadDword(const wchar_t* name, uint32_t fallback) const {
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key_.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value) {
        return value;
    }
    return fallback;
}

bool SettingsStore::ReadBool(const wchar_t* name, bool fallback) const {
    return ReadDword(name, fallback) != 0;
}

LONG SettingsStore::ReadMultiString(const wchar_t* name, GestureText& text) const {
    DWORD size = sizeof text.units;
    return RegQueryValueExW(key_.get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(text.units),
                            &size);
}

void SettingsStore::WriteDword(const wchar_t* name, uint32_t value) const {
    RegSetValueExW(key_.get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
}

void SettingsStore::WriteMultiString(const wchar_t* name, const GestureText& text) const {
    RegSetValueExW(key_.get(), name, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(text.units),
                   static_cast<DWORD>(GestureTextBytes(text)));
}

Settings SettingsStore::Load() const {
    Settings s{};
    for (const Option& o : kOptions) {
        if (o.number) s.*o.number = ReadDword(o.name, o.fallback);
        else s.*o.flag = ReadBool(o.name, o.fallback != 0);
    }
    // Transcriber compatibility cannot lock the panel alone. The call behaviour stays as stored:
    // the lock actions turn a panel lock into a full one in that mode anyway.
    if (s.TranscriberCompatibility) {
        if (s.ResumeBehaviour == LockPanel) s.ResumeBehaviour = LockEverything;
        if (s.GestureLock == LockPanel) s.GestureLock = LockEverything;
    }
    s.LockGesture = ReadGesture(L"LockGesture", DefaultLockGestureText());
    s.UnlockGesture = ReadGesture(L"UnlockGesture", DefaultUnlockGestureText());
    return s;
}

Gesture SettingsStore::ReadGesture(const wchar_t* name, const GestureText& fallback) const {
    // A missing value leaves the default text in the buffer; the query's outcome is not looked at.
    GestureText text = fallback;
    ReadMultiString(name, text);
    const Gesture stored = ParseGesture(text);
    // No step (an empty list, a first entry that reads as 0) would unlock or lock the phone on
    // every face-up tick. The default is taken instead, and Save writes it back.
    return HasSteps(stored) ? stored : ParseGesture(fallback);
}

void SettingsStore::Save(const Settings& s) const {
    for (const Option& o : kOptions) WriteDword(o.name, o.number ? s.*o.number : uint32_t{s.*o.flag});
    WriteMultiString(L"LockGesture", FormatGesture(s.LockGesture));
    WriteMultiString(L"UnlockGesture", FormatGesture(s.UnlockGesture));
}

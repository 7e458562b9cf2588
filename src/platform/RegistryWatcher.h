// The stylus state that the device keeps in "StylusOutStatus" under HKEY_CURRENT_USER
// "ControlPanel\Keybd", read and watched for changes. Built, refreshed and destroyed on the lock
// controller's thread only.
#pragma once

#include <windows.h>

#include "ce/Handle.h"
#include "ce/Registry.h"

class RegistryWatcher {
public:
    // Opens the key, starts watching and reads the state; reports no failure.
    RegistryWatcher();
    virtual ~RegistryWatcher() = default;

    RegistryWatcher(const RegistryWatcher&) = delete;
    RegistryWatcher& operator=(const RegistryWatcher&) = delete;

    // Signalled when a value under the key is set; INVALID_HANDLE_VALUE when there is no watch.
    HANDLE ChangeHandle() const { return changeHandle_.get(); }
    bool IsStylusIn() const { return stylusIn_; }
    // After each signal: reads the state again, then asks for the next change.
    void Refresh();

private:
    bool StartWatching();
    void ReadStylusState();

    // Destroyed in reverse: the watch is closed before its key.
    RegKey key_;
    RegChange changeHandle_;
    bool stylusIn_ = false;  // kept when the value cannot be read
};

#include "RegistryWatcher.h"

namespace {

constexpr wchar_t kKeyPath[] = L"ControlPanel\\Keybd";
constexpr wchar_t kValueName[] = L"StylusOutStatus";

}  // namespace

RegistryWatcher::RegistryWatcher() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, kCeKeyAccess, &key) != ERROR_SUCCESS) return;
    key_.reset(key);
    if (!StartWatching()) {
        key_.reset();
        return;
    }
    ReadStylusState();
}

bool RegistryWatcher::StartWatching() {
    changeHandle_.reset(CeFindFirstRegChange(key_.get(), TRUE, REG_NOTIFY_CHANGE_LAST_SET));
    if (!changeHandle_) return false;
    if (CeFindNextRegChange(changeHandle_.get())) return true;
    changeHandle_.reset();
    return false;
}

void RegistryWatcher::ReadStylusState() {
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key_.get(), kValueName, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof value) {
        stylusIn_ = value == 0;
    }
}

void RegistryWatcher::Refresh() {
    ReadStylusState();
    CeFindNextRegChange(changeHandle_.get());  // whatever the read gave
}

// Registry change notification on top of the desktop's: a private duplicate of the caller's key
// (CE lets the caller close its own) and an auto-reset event that RegNotifyChangeKeyValue signals.
// Desktop registrations fire once, so CeFindNextRegChange registers again.
#include "HandleTable.h"
#include "ce/Handle.h"
#include "ce/Registry.h"

namespace {

struct Watch {
    RegKey key;
    BOOL subtree = FALSE;
    DWORD filter = 0;
    // Closing the watched key signals the event: members go in reverse order, the event first.
    KernelHandle event;

    LONG Arm() const { return RegNotifyChangeKeyValue(key.get(), subtree, filter, event.get(), TRUE); }
};

HandleTable<HANDLE, Watch>& Watches() {
    static auto* table = new HandleTable<HANDLE, Watch>;  // lives until process exit
    return *table;
}

}  // namespace

extern "C" {

HANDLE WINAPI CeFindFirstRegChange(HKEY key, BOOL watchSubtree, DWORD filter) {
    constexpr DWORD kCeFilters = REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET;
    if (filter == 0 || (filter & ~kCeFilters) != 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    auto watch = std::make_shared<Watch>();
    HKEY own = nullptr;
    LONG status = RegOpenKeyExW(key, nullptr, 0, KEY_NOTIFY, &own);
    if (status == ERROR_SUCCESS) {
        watch->key.reset(own);
        watch->subtree = watchSubtree;
        watch->filter = filter;
        watch->event.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
        status = watch->event ? watch->Arm() : static_cast<LONG>(GetLastError());
    }
    if (status != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(status));
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = watch->event.get();
    Watches().Add(handle, std::move(watch));
    return handle;
}

BOOL WINAPI CeFindNextRegChange(HANDLE change) {
    std::shared_ptr<Watch> watch = Watches().Find(change);
    const LONG status = watch ? watch->Arm() : ERROR_INVALID_HANDLE;
    if (status == ERROR_SUCCESS) return TRUE;
    SetLastError(static_cast<DWORD>(status));
    return FALSE;
}

BOOL WINAPI CeFindCloseRegChange(HANDLE change) {
    if (Watches().Remove(change)) return TRUE;
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
}

}  // extern "C"

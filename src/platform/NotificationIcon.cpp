#include "NotificationIcon.h"

#include "app/AppGlobals.h"
#include "ce/Shell.h"

// {103F97AC-326B-413C-AE9C-0E22FB36F60D}
const CLSID NotificationIcon::kClassId = {
    0x103F97AC, 0x326B, 0x413C, {0xAE, 0x9C, 0x0E, 0x22, 0xFB, 0x36, 0xF6, 0x0D}};

NotificationIcon::NotificationIcon(HINSTANCE module)
    : instance(module), icon(LoadIconW(module, MAKEINTRESOURCEW(IDI_NOTIFICATION_ICON))) {
    // An instance that ended without its destructor (killed, or its process pulled) left the
    // shell showing the lock, unlocked or not. The shell keeps no list to ask, but every
    // identifier the program uses is known.
    for (uint32_t id = 1; id <= kIdentifiers; ++id) SHNotificationRemove(&kClassId, id);
}

NotificationIcon::~NotificationIcon() { Show(false); }

void NotificationIcon::Show(bool on) {
    if (on == shown) return;
    if (on) {
        SHNOTIFICATIONDATA data{};
        data.cbStruct = sizeof data;
        data.dwID = notificationId;
        data.npPriority = SHNP_ICONIC;
        data.csDuration = 0x7FFFFFFF;  // seconds: until removed
        data.hicon = icon.get();
        data.grfFlags = SHNF_FORCEMESSAGE | SHNF_SILENT;
        data.clsid = kClassId;
        LRESULT result = SHNotificationAdd(&data);
        if (result == ERROR_ALREADY_EXISTS && SHNotificationRemove(&kClassId, notificationId) == ERROR_SUCCESS) {
            result = SHNotificationAdd(&data);  // a leftover, replaced
        }
        shown = result == ERROR_SUCCESS;
    } else if (SHNotificationRemove(&kClassId, notificationId) == ERROR_SUCCESS) {
        shown = false;
        notificationId = notificationId % kIdentifiers + 1;
    }
}

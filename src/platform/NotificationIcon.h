// The icon in the shell's notification tray that tells the user why the phone ignores input.
#pragma once

#include <cstdint>

#include <windows.h>

#include "ce/Handle.h"

class NotificationIcon {
public:
    // Loads icon 129 of `instance`; nothing is shown yet.
    explicit NotificationIcon(HINSTANCE instance);
    virtual ~NotificationIcon();  // removes a shown notification first

    NotificationIcon(const NotificationIcon&) = delete;
    NotificationIcon& operator=(const NotificationIcon&) = delete;

    // Adds or removes the notification; a refused call leaves things as they were, to be tried
    // again by the next call.
    void Show(bool on);

    bool Shown() const { return shown; }
    uint32_t NotificationId() const { return notificationId; }

    // Every add and remove uses it.
    static const CLSID kClassId;

private:
    HINSTANCE instance;
    Icon icon;
    bool shown = false;
    uint32_t notificationId = 1;  // each add after a remove takes a new one
};

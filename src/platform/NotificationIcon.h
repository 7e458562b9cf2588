// The icon in the shell's notification tray that tells the user why the phone ignores input.
#pragma once

#include <cstdint>

#include <windows.h>

#include "ce/Handle.h"

class NotificationIcon {
public:
    // Loads icon 129 of `instance` and removes what an earlier instance may have left under the
    // program's identifiers; nothing is shown yet.
    explicit NotificationIcon(HINSTANCE instance);
    virtual ~NotificationIcon();  // removes a shown notification first

    NotificationIcon(const NotificationIcon&) = delete;
    NotificationIcon& operator=(const NotificationIcon&) = delete;

    // Adds or removes the notification; a refused call leaves things as they were, to be tried
    // again by the next call. An add refused because the identifier is taken replaces what an
    // earlier instance left there.
    void Show(bool on);

    bool Shown() const { return shown; }
    uint32_t NotificationId() const { return notificationId; }

    // Every add and remove uses it.
    static const CLSID kClassId;

private:
    HINSTANCE instance;
    Icon icon;
    bool shown = false;
    // Each add after a remove takes the other of the two, so that a new instance knows every
    // identifier an earlier one can have left a notification under.
    static constexpr uint32_t kIdentifiers = 2;
    uint32_t notificationId = 1;
};

// The power manager's notifications, read from the message queue "POWER_MSG_QUEUE" and turned
// into the few events the lock policy cares about. Built, read and destroyed on the lock
// controller's thread only.
#pragma once

#include <cstdint>
#include <optional>

#include <windows.h>

#include "PowerNotification.h"
#include "ce/MsgQueue.h"
#include "ce/Power.h"

class PowerMonitor {
public:
    // Creates and registers the queue and takes the current power state; reports no failure.
    PowerMonitor();
    virtual ~PowerMonitor() = default;

    PowerMonitor(const PowerMonitor&) = delete;
    PowerMonitor& operator=(const PowerMonitor&) = delete;

    // The queue's read end, signalled while messages wait: the handle to wait on.
    HANDLE QueueHandle() const { return queue_.get(); }
    // The first notification of interest among the waiting messages, or NOTIFICATION_NONE once
    // none is left. Never blocks; call it until it returns NOTIFICATION_NONE.
    PowerNotification ReadNotification();

    // The AC line (AC_LINE_*) as the power manager has it now; nothing when it cannot tell.
    static std::optional<uint8_t> ReadAcLine();

private:
    PowerNotification CheckAcLine();

    // Destroyed in reverse: the registration ends before the queue is closed.
    MsgQueueHandle queue_;
    PowerNotifications notifications_;
    DWORD lastPowerState_ = 0;
    uint8_t lastAcLineStatus_ = AC_LINE_UNKNOWN;
};

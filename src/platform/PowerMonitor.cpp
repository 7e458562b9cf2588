#include "PowerMonitor.h"

#include <algorithm>
#include <cstring>

#include "app/Trace.h"

namespace {

constexpr wchar_t kQueueName[] = L"POWER_MSG_QUEUE";
// A POWER_BROADCAST with the longest state name.
constexpr DWORD kMaxMessage = 534;

// The longest state name a message can carry, in UTF-8 (three bytes at most for each UTF-16
// unit), and its terminator.
constexpr size_t kStateNameBytes = (kMaxMessage - kPowerBroadcastHeader) / sizeof(WCHAR) * 3 + 1;

// The state name of a transition message of `size` bytes, for the trace.
const char* StateName(const POWER_BROADCAST& message, DWORD size, char (&text)[kStateNameBytes]) {
    const DWORD available = size > kPowerBroadcastHeader ? size - kPowerBroadcastHeader : 0;
    const size_t chars = std::min(message.Length, available) / sizeof(WCHAR);
    const WCHAR* name = message.SystemPowerState;
    const int length = static_cast<int>(std::find(name, name + chars, L'\0') - name);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, name, length, text, static_cast<int>(sizeof text - 1),
                                          nullptr, nullptr);
    text[bytes] = '\0';
    return text;
}

}  // namespace

PowerMonitor::PowerMonitor() {
    MSGQUEUEOPTIONS options{sizeof options, MSGQUEUE_NOPRECOMMIT, 0, kMaxMessage, TRUE};
    queue_.reset(CreateMsgQueue(kQueueName, &options));
    // Transitions and power status changes only: no resume or power information messages.
    notifications_.reset(RequestPowerNotifications(queue_.get(), PBT_TRANSITION | PBT_POWERSTATUSCHANGE));
    WCHAR name[80];  // not used
    GetSystemPowerState(name, 80, &lastPowerState_);
}

PowerNotification PowerMonitor::ReadNotification() {
    alignas(POWER_BROADCAST) BYTE buffer[kMaxMessage];
    const auto& message = *reinterpret_cast<const POWER_BROADCAST*>(buffer);
    for (;;) {
        std::memset(buffer, 0, sizeof buffer);  // a short message reads as zeros past its end
        DWORD size = 0, flags = 0;
        if (!ReadMsgQueue(queue_.get(), buffer, sizeof buffer, &size, 0, &flags)) return NOTIFICATION_NONE;
        if (message.Message == PBT_POWERSTATUSCHANGE) {
            Trace("PBT_POWERSTATUSCHANGE\n");
            return CheckAcLine();  // what follows stays queued for the next call
        }
        if (message.Message != PBT_TRANSITION) continue;
        if (Tracing()) {  // a wake-up pays for the name only when someone reads the trace
            char name[kStateNameBytes];
            Trace("PBT_TRANSITION, state: %08X %s\n", static_cast<unsigned>(message.Flags),
                  StateName(message, size, name));
        }
        const PowerNotification notification = DecideTransition(lastPowerState_, message.Flags);
        lastPowerState_ = message.Flags;  // before the result is acted on, whatever it is
        if (notification != NOTIFICATION_NONE) {
            Trace("%s", NotificationTraceText(notification));
            return notification;
        }
    }
}

PowerNotification PowerMonitor::CheckAcLine() {
    const std::optional<uint8_t> line = ReadAcLine();
    if (!line) return NOTIFICATION_NONE;
    const PowerNotification notification = DecideAcLine(lastAcLineStatus_, *line);
    lastAcLineStatus_ = *line;  // backup power and unknown are remembered too
    return notification;
}

std::optional<uint8_t> PowerMonitor::ReadAcLine() {
    SYSTEM_POWER_STATUS_EX2 status{};
    if (GetSystemPowerStatusEx2(&status, sizeof status, FALSE) != sizeof status) return std::nullopt;
    return status.ACLineStatus;
}

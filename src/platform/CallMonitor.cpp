#include "CallMonitor.h"

#include <algorithm>

namespace {

constexpr char16_t kLineName[] = u"Cellular Line";
// First guesses at the records' sizes; the device capabilities grow when the strings need more.
constexpr DWORD kDevCapsSize = 292;
constexpr DWORD kCallInfoSize = 356;

}  // namespace

CallMonitor::CallMonitor() {
    HLINEAPP lineApp = 0;
    DWORD devices = 0;
    DWORD apiVersion = kTapiVersion20;
    LINEINITIALIZEEXPARAMS params{};
    params.dwTotalSize = sizeof params;
    params.dwOptions = LINEINITIALIZEEXOPTION_USEEVENT;
    if (lineInitializeEx(&lineApp, nullptr, nullptr, nullptr, &devices, &apiVersion, &params) != 0) {
        return;  // no telephony: the fields keep their start values
    }
    lineApp_.reset(lineApp);
    eventHandle_ = params.Handles.hEvent;

    for (DWORD device = 0; device < devices && deviceId_ == LINEMAPPER; ++device) {
        LINEEXTENSIONID extension{};
        if (lineNegotiateAPIVersion(lineApp, device, apiVersion, kTapiVersion20, &apiVersion,
                                    &extension) != 0) {
            continue;
        }
        DevCaps caps = GetLineDevCaps(device);
        if (!caps) continue;
        const DWORD size = std::min(caps->dwUsedSize, caps->dwTotalSize);
        if (RecordStringEquals(reinterpret_cast<const uint8_t*>(caps.get()), size,
                               caps->dwLineNameOffset, caps->dwLineNameSize, kLineName)) {
            deviceId_ = device;
        }
    }

    // Without a device of that name TAPI reads the identifier as LINEMAPPER.
    HLINE line = 0;
    if (lineOpen(lineApp, deviceId_, &line, kTapiVersion20, 0, 0, LINECALLPRIVILEGE_MONITOR,
                 LINEMEDIAMODE_INTERACTIVEVOICE, nullptr) == 0) {
        line_.reset(line);
    }
}

CallMonitor::DevCaps CallMonitor::GetLineDevCaps(DWORD device) const {
    DWORD size = kDevCapsSize;
    DevCaps caps(static_cast<LINEDEVCAPS*>(std::calloc(1, size)));
    for (;;) {
        if (!caps) return nullptr;
        caps->dwTotalSize = caps->dwNeededSize = size;
        const LONG result = lineGetDevCaps(lineApp_.get(), device, kTapiVersion20, 0, caps.get());
        if (result != LINEERR_STRUCTURETOOSMALL && caps->dwNeededSize <= caps->dwTotalSize) {
            return result == 0 ? std::move(caps) : nullptr;
        }
        // A needed size that is no larger would ask for the same call forever.
        if (caps->dwNeededSize <= size) return nullptr;
        size = caps->dwNeededSize;
        void* grown = std::realloc(caps.get(), size);
        if (!grown) return nullptr;
        caps.release();
        caps.reset(static_cast<LINEDEVCAPS*>(grown));
    }
}

CallEvent CallMonitor::ReadCallEvent() {
    LINEMESSAGE message{};
    while (lineGetMessage(lineApp_.get(), &message, 0) == 0) {
        if (message.dwMessageID != LINE_CALLSTATE) continue;  // read and dropped
        alignas(LINECALLINFO) BYTE buffer[kCallInfoSize] = {};
        auto* info = reinterpret_cast<LINECALLINFO*>(buffer);
        info->dwTotalSize = kCallInfoSize;
        DWORD bearerMode = 0, mediaMode = 0;  // a call without information is no voice call
        if (lineGetCallInfo(message.hDevice, info) == 0) {
            bearerMode = info->dwBearerMode;
            mediaMode = info->dwMediaMode;
        }
        const CallEvent event = DecideCallEvent(bearerMode, mediaMode, static_cast<uint32_t>(message.dwParam1),
                                                static_cast<uint32_t>(message.dwParam2));
        if (event != TAPI_NONE) return event;
    }
    return TAPI_NONE;
}

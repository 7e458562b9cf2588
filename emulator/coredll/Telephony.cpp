// TAPI with the event mechanism. The line applications, their open lines and pending messages
// live in the device state (the console appends call states there); this process keeps only the
// event of each application it initialised. Two line devices: 0 is a headset's line, 1 the radio's,
// where every call happens.
#include <algorithm>
#include <cstring>
#include <cwchar>

#include "Device.h"
#include "HandleTable.h"
#include "Telephony.h"
#include "ce/Handle.h"
#include "ce/Telephony.h"

namespace {

using devemu::DeviceState;
using devemu::LineAppState;

constexpr DWORD kLineDevices = 2;
constexpr DWORD kLowestVersion = 0x00010004;
constexpr wchar_t kProviderInfo[] = L"Varnel device emulator telephony";

const wchar_t* LineName(devemu::TapiMode mode, DWORD device) {
    if (device == 0) return L"Bluetooth Hands-Free Audio Gateway";
    return mode == devemu::TapiMode::NoCellular ? L"cellular line" : L"Cellular Line";
}

DWORD StringBytes(const wchar_t* text) { return static_cast<DWORD>((std::wcslen(text) + 1) * sizeof(wchar_t)); }

struct LocalApp {
    KernelHandle event;  // signalled exactly while the application's queue holds messages
};

HandleTable<HLINEAPP, LocalApp>& LocalApps() {
    static auto* table = new HandleTable<HLINEAPP, LocalApp>;  // lives until process exit
    return *table;
}

LineAppState* FindApp(DeviceState& s, HLINEAPP handle) {
    if (handle == 0) return nullptr;
    for (LineAppState& app : s.tapi.apps) {
        if (app.handle == handle) return &app;
    }
    return nullptr;
}

// An application of this process that a device reset has not dropped.
bool Known(HLINEAPP handle) {
    return LocalApps().Find(handle) &&
           devemu::Device::Get().Locked([&](DeviceState& s) { return FindApp(s, handle) != nullptr; });
}

LineAppState* FreeSlot(DeviceState& s) {
    for (LineAppState& app : s.tapi.apps) {
        if (app.handle == 0) return &app;
    }
    // Applications whose process has gone hold on to their slots until someone looks.
    for (LineAppState& app : s.tapi.apps) {
        KernelHandle event(OpenEventW(SYNCHRONIZE, FALSE, devemu::LineAppEventName(app.handle).c_str()));
        if (!event) {
            app = LineAppState{};
            return &app;
        }
    }
    return nullptr;
}

bool VersionSupported(DWORD version) { return version >= kLowestVersion && version <= kTapiVersion20; }

}  // namespace

extern "C" {

LONG WINAPI lineInitializeEx(HLINEAPP* lineApp, HINSTANCE, LINECALLBACK, LPCWSTR, DWORD* numDevices,
                             DWORD* apiVersion, LINEINITIALIZEEXPARAMS* params) {
    if (!lineApp || !numDevices || !apiVersion || !params) return LINEERR_INVALPOINTER;
    if (params->dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS)) {
        params->dwNeededSize = sizeof(LINEINITIALIZEEXPARAMS);
        return LINEERR_STRUCTURETOOSMALL;
    }
    // Only the event mechanism exists on this device.
    if (params->dwOptions != LINEINITIALIZEEXOPTION_USEEVENT) return LINEERR_INVALPARAM;

    devemu::Device& device = devemu::Device::Get();
    auto local = std::make_shared<LocalApp>();
    const LONG result = device.Locked([&](DeviceState& s) -> LONG {
        if (s.tapi.mode == devemu::TapiMode::FailInit) return LINEERR_NODRIVER;
        LineAppState* slot = FreeSlot(s);
        if (!slot) return LINEERR_NOMEM;
        const uint32_t handle = ++s.tapi.lastHandle;
        // Created before the slot is filled: the console drops applications without an event.
        local->event.reset(CreateEventW(nullptr, TRUE, FALSE, devemu::LineAppEventName(handle).c_str()));
        if (!local->event) return LINEERR_NOMEM;
        *slot = LineAppState{};
        slot->handle = handle;
        *lineApp = handle;
        return 0;
    });
    if (result != 0) {
        device.Log("line initialize refused");
        return result;
    }
    *numDevices = kLineDevices;
    *apiVersion = kTapiVersion20;
    params->dwNeededSize = params->dwUsedSize = sizeof(LINEINITIALIZEEXPARAMS);
    params->Handles.hEvent = local->event.get();
    LocalApps().Add(*lineApp, std::move(local));
    device.Log("line initialize app=%lu", *lineApp);
    return 0;
}

LONG WINAPI lineNegotiateAPIVersion(HLINEAPP lineApp, DWORD device, DWORD apiLow, DWORD apiHigh,
                                    DWORD* apiVersion, LINEEXTENSIONID* extensionId) {
    if (!Known(lineApp)) return LINEERR_INVALAPPHANDLE;
    if (device >= kLineDevices) return LINEERR_BADDEVICEID;
    if (!apiVersion || !extensionId) return LINEERR_INVALPOINTER;
    if (apiLow > apiHigh || apiHigh < kLowestVersion || apiLow > kTapiVersion20) {
        return LINEERR_INCOMPATIBLEAPIVERSION;
    }
    *apiVersion = std::min(apiHigh, kTapiVersion20);
    *extensionId = LINEEXTENSIONID{};
    return 0;
}

// The strings follow the fixed part when the caller's total size holds them all; otherwise only
// the fixed part is filled and dwNeededSize tells what to allocate.
LONG WINAPI lineGetDevCaps(HLINEAPP lineApp, DWORD device, DWORD apiVersion, DWORD, LINEDEVCAPS* caps) {
    if (!Known(lineApp)) return LINEERR_INVALAPPHANDLE;
    if (device >= kLineDevices) return LINEERR_BADDEVICEID;
    if (!VersionSupported(apiVersion)) return LINEERR_INCOMPATIBLEAPIVERSION;
    if (!caps) return LINEERR_INVALPOINTER;
    const auto mode = devemu::Device::Get().Locked([](DeviceState& s) { return s.tapi.mode; });
    const wchar_t* name = LineName(mode, device);
    const DWORD needed = sizeof(LINEDEVCAPS) + StringBytes(kProviderInfo) + StringBytes(name);
    const DWORD total = caps->dwTotalSize;
    if (total < sizeof(LINEDEVCAPS)) {
        caps->dwNeededSize = needed;
        return LINEERR_STRUCTURETOOSMALL;
    }
    std::memset(caps, 0, sizeof(LINEDEVCAPS));
    caps->dwTotalSize = total;
    caps->dwNeededSize = needed;
    caps->dwUsedSize = sizeof(LINEDEVCAPS);
    caps->dwPermanentLineID = 0x100 + device;
    caps->dwStringFormat = STRINGFORMAT_UNICODE;
    caps->dwNumAddresses = 1;
    caps->dwMaxNumActiveCalls = 1;
    caps->dwBearerModes = LINEBEARERMODE_VOICE | (device == devemu::kCellularDevice ? LINEBEARERMODE_DATA : 0);
    caps->dwMediaModes = LINEMEDIAMODE_INTERACTIVEVOICE | (device == devemu::kCellularDevice ? LINEMEDIAMODE_DATAMODEM : 0);
    if (needed <= total) {
        auto* bytes = reinterpret_cast<uint8_t*>(caps);
        caps->dwProviderInfoOffset = sizeof(LINEDEVCAPS);
        caps->dwProviderInfoSize = StringBytes(kProviderInfo);
        std::memcpy(bytes + caps->dwProviderInfoOffset, kProviderInfo, caps->dwProviderInfoSize);
        caps->dwLineNameOffset = caps->dwProviderInfoOffset + caps->dwProviderInfoSize;
        caps->dwLineNameSize = StringBytes(name);
        std::memcpy(bytes + caps->dwLineNameOffset, name, caps->dwLineNameSize);
        caps->dwUsedSize = needed;
    }
    return 0;
}

LONG WINAPI lineOpen(HLINEAPP lineApp, DWORD device, HLINE* line, DWORD apiVersion, DWORD,
                     DWORD_PTR callbackInstance, DWORD privileges, DWORD, LINECALLPARAMS*) {
    if (!Known(lineApp)) return LINEERR_INVALAPPHANDLE;
    devemu::Device& dev = devemu::Device::Get();
    // There is no mapper here: the caller must name its device.
    if (device == LINEMAPPER) {
        dev.Log("line open LINEMAPPER refused");
        return LINEERR_LINEMAPPERFAILED;
    }
    if (device >= kLineDevices) return LINEERR_BADDEVICEID;
    if (!line) return LINEERR_INVALPOINTER;
    if (!VersionSupported(apiVersion)) return LINEERR_INCOMPATIBLEAPIVERSION;
    constexpr DWORD kMonitorOwner = LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER;
    if (privileges != LINECALLPRIVILEGE_NONE && (privileges & ~kMonitorOwner) != 0) {
        return LINEERR_INVALPRIVSELECT;
    }
    devemu::TapiMode mode{};
    const LONG result = dev.Locked([&](DeviceState& s) -> LONG {
        LineAppState* app = FindApp(s, lineApp);
        if (!app) return LINEERR_INVALAPPHANDLE;
        if (app->line != 0) return LINEERR_RESOURCEUNAVAIL;  // one line per application here
        app->line = ++s.tapi.lastHandle;
        app->lineDevice = device;
        app->privileges = privileges;
        app->callbackInstance = callbackInstance;
        *line = app->line;
        mode = s.tapi.mode;
        return 0;
    });
    if (result == 0) {
        dev.Log("line open device=%lu \"%s\" privileges=%lu", device,
                devemu::Utf8(LineName(mode, device)).c_str(), privileges);
    }
    return result;
}

LONG WINAPI lineGetMessage(HLINEAPP lineApp, LINEMESSAGE* message, DWORD timeoutMs) {
    if (!message) return LINEERR_INVALPOINTER;
    std::shared_ptr<LocalApp> local = LocalApps().Find(lineApp);
    if (!local) return LINEERR_INVALAPPHANDLE;
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        const LONG result = devemu::Device::Get().Locked([&](DeviceState& s) -> LONG {
            LineAppState* app = FindApp(s, lineApp);
            if (!app) return LINEERR_INVALAPPHANDLE;
            if (app->count == 0) return LINEERR_OPERATIONFAILED;
            const devemu::LineMessage& m = app->messages[app->head];
            *message = LINEMESSAGE{m.device, m.id, static_cast<DWORD_PTR>(app->callbackInstance),
                                   m.param1, m.param2, m.param3};
            app->head = (app->head + 1) % devemu::kLineMessageCapacity;
            if (--app->count == 0) ResetEvent(local->event.get());
            return 0;
        });
        if (result != LINEERR_OPERATIONFAILED) return result;
        DWORD wait = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG elapsed = GetTickCount64() - start;
            if (elapsed >= timeoutMs) return LINEERR_OPERATIONFAILED;
            wait = static_cast<DWORD>(timeoutMs - elapsed);
        }
        WaitForSingleObject(local->event.get(), wait);
    }
}

LONG WINAPI lineGetCallInfo(HCALL call, LINECALLINFO* info) {
    if (!info) return LINEERR_INVALPOINTER;
    devemu::CallRecord record{};
    const bool found = devemu::Device::Get().Locked([&](DeviceState& s) {
        const devemu::CallRecord* c = devemu::FindCall(s.tapi, call);
        if (c) record = *c;
        return c != nullptr;
    });
    if (!found) return LINEERR_INVALCALLHANDLE;
    if (info->dwTotalSize < sizeof(LINECALLINFO)) {
        info->dwNeededSize = sizeof(LINECALLINFO);
        return LINEERR_STRUCTURETOOSMALL;
    }
    const DWORD total = info->dwTotalSize;
    std::memset(info, 0, sizeof(LINECALLINFO));
    info->dwTotalSize = total;
    info->dwNeededSize = info->dwUsedSize = sizeof(LINECALLINFO);
    info->dwLineDeviceID = devemu::kCellularDevice;
    info->dwBearerMode = record.bearerMode;
    info->dwMediaMode = record.mediaMode;
    info->dwCallID = record.handle;
    info->dwOrigin = record.origin;
    return 0;
}

LONG WINAPI lineClose(HLINE line) {
    devemu::Device& device = devemu::Device::Get();
    const bool found = line != 0 && device.Locked([&](DeviceState& s) {
        for (LineAppState& app : s.tapi.apps) {
            if (app.handle != 0 && app.line == line) {
                app.line = 0;
                return true;
            }
        }
        return false;
    });
    if (!found) return LINEERR_INVALLINEHANDLE;
    device.Log("line close");
    return 0;
}

LONG WINAPI lineShutdown(HLINEAPP lineApp) {
    std::shared_ptr<LocalApp> local = LocalApps().Remove(lineApp);
    if (!local) return LINEERR_INVALAPPHANDLE;
    devemu::Device& device = devemu::Device::Get();
    device.Locked([&](DeviceState& s) {
        if (LineAppState* app = FindApp(s, lineApp)) *app = LineAppState{};
    });
    // A thread still waiting in lineGetMessage wakes and finds the application gone.
    SetEvent(local->event.get());
    device.Log("line shutdown app=%lu", lineApp);
    return 0;
}

}  // extern "C"

#include "Telephony.h"

#include "ce/Handle.h"
#include "ce/Telephony.h"

namespace devemu {

std::wstring LineAppEventName(uint32_t app) { return ObjectName(L"tapi/app" + std::to_wstring(app)); }

const CallRecord* CurrentCall(const TapiState& tapi) {
    if (tapi.callCount == 0) return nullptr;
    return &tapi.calls[(tapi.callCount - 1) % kCallHistory];
}

CallRecord* CurrentCall(TapiState& tapi) {
    return const_cast<CallRecord*>(CurrentCall(static_cast<const TapiState&>(tapi)));
}

CallRecord& StartCall(TapiState& tapi, uint32_t bearerMode, uint32_t mediaMode, uint32_t origin) {
    CallRecord& call = tapi.calls[tapi.callCount++ % kCallHistory];
    call = CallRecord{++tapi.lastHandle, bearerMode, mediaMode, origin, 0};
    return call;
}

const CallRecord* FindCall(const TapiState& tapi, uint32_t handle) {
    if (handle == 0) return nullptr;
    for (const CallRecord& call : tapi.calls) {
        if (call.handle == handle) return &call;
    }
    return nullptr;
}

int PostCallState(TapiState& tapi, CallRecord& call, uint32_t state, uint32_t mode, uint32_t privilege) {
    call.state = state;
    int reached = 0;
    for (LineAppState& app : tapi.apps) {
        if (app.handle == 0 || app.line == 0 || app.lineDevice != kCellularDevice) continue;
        if ((app.privileges & (LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER)) == 0) continue;
        KernelHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, LineAppEventName(app.handle).c_str()));
        if (!event) {
            app = LineAppState{};
            continue;
        }
        if (app.count == kLineMessageCapacity) continue;
        app.messages[(app.head + app.count++) % kLineMessageCapacity] =
            LineMessage{call.handle, LINE_CALLSTATE, state, mode, privilege};
        SetEvent(event.get());
        ++reached;
    }
    return reached;
}

}  // namespace devemu

// call and tapi: call states of one call at a time on the radio's line, sent to every line
// application that monitors it, and the line devices' behaviour.
#include <cstdio>

#include "Command.h"
#include "Device.h"
#include "Telephony.h"
#include "ce/Telephony.h"

namespace devemu {
namespace {

struct StateWord {
    uint32_t state;
    const char* word;
};

constexpr StateWord kStateWords[] = {
    {LINECALLSTATE_IDLE, "idle"},
    {LINECALLSTATE_OFFERING, "offering"},
    {LINECALLSTATE_CONNECTED, "connected"},
    {LINECALLSTATE_DISCONNECTED, "disconnected"},
};

struct ModeWord {
    const wchar_t* word;
    TapiMode mode;
};

constexpr ModeWord kModeWords[] = {
    {L"ok", TapiMode::Ok},
    {L"fail-init", TapiMode::FailInit},
    {L"no-cellular", TapiMode::NoCellular},
};

bool Ended(const CallRecord* call) {
    return !call || call->state == LINECALLSTATE_DISCONNECTED || call->state == LINECALLSTATE_IDLE;
}

CallRecord& NewCall(TapiState& tapi, bool data, uint32_t origin) {
    return data ? StartCall(tapi, LINEBEARERMODE_DATA, LINEMEDIAMODE_DATAMODEM, origin)
                : StartCall(tapi, LINEBEARERMODE_VOICE, LINEMEDIAMODE_INTERACTIVEVOICE, origin);
}

// Sends the state and logs the console line and what reached the line applications. The first
// message about a new call tells the monitors their privilege on it.
void Send(const Args& args, TapiState& tapi, CallRecord& call, bool newCall, uint32_t state, uint32_t mode) {
    LogConsole(args);
    const int reached = PostCallState(tapi, call, state, mode, newCall ? LINECALLPRIVILEGE_MONITOR : 0);
    Device::Get().Log("line callstate call=%u state=0x%X mode=%u apps=%d", call.handle, state, mode, reached);
}

uint32_t ModeOption(Args& args, uint32_t fallback) {
    auto mode = TakeOption(args, L"--mode");
    return mode ? ParseU32(*mode, "--mode") : fallback;
}

}  // namespace

int CmdCall(const Args& given, Io&) {
    Args args = given;
    if (args.size() < 2) Usage("missing what the call does");
    const std::wstring what = args[1];
    Device& device = Device::Get();
    if (what == L"incoming") {
        const bool inactive = TakeFlag(args, L"--inactive");
        const bool data = TakeFlag(args, L"--data");
        if (args.size() != 2) Usage("too many arguments");
        device.Locked([&](DeviceState& s) {
            CallRecord& call = NewCall(s.tapi, data, LINECALLORIGIN_INBOUND);
            Send(given, s.tapi, call, true, LINECALLSTATE_OFFERING,
                 inactive ? LINEOFFERINGMODE_INACTIVE : LINEOFFERINGMODE_ACTIVE);
        });
    } else if (what == L"connect") {
        const uint32_t mode = ModeOption(args, LINECONNECTEDMODE_ACTIVE);
        if (args.size() != 2) Usage("too many arguments");
        device.Locked([&](DeviceState& s) {
            // Connecting without a call in progress is an outgoing call.
            CallRecord* call = CurrentCall(s.tapi);
            const bool newCall = Ended(call);
            if (newCall) call = &NewCall(s.tapi, false, LINECALLORIGIN_OUTBOUND);
            Send(given, s.tapi, *call, newCall, LINECALLSTATE_CONNECTED, mode);
        });
    } else if (what == L"disconnect") {
        const uint32_t mode = ModeOption(args, LINEDISCONNECTMODE_NORMAL);
        if (args.size() != 2) Usage("too many arguments");
        device.Locked([&](DeviceState& s) {
            CallRecord* call = CurrentCall(s.tapi);
            if (Ended(call)) throw CommandError{1, "there is no call to disconnect"};
            Send(given, s.tapi, *call, false, LINECALLSTATE_DISCONNECTED, mode);
        });
    } else if (what == L"state") {
        if (args.size() != 4) Usage(args.size() < 4 ? "state needs a call state and a mode" : "too many arguments");
        const uint32_t state = ParseHex32(args[2], "call state");
        const uint32_t mode = ParseU32(args[3], "mode");
        device.Locked([&](DeviceState& s) {
            CallRecord* call = CurrentCall(s.tapi);
            const bool newCall = call == nullptr;
            if (newCall) call = &NewCall(s.tapi, false, LINECALLORIGIN_INBOUND);
            Send(given, s.tapi, *call, newCall, state, mode);
        });
    } else {
        Usage("unknown call action \"" + Narrow(what) + "\"");
    }
    return 0;
}

int CmdTapi(const Args& args, Io&) {
    if (args.size() != 2) Usage(args.size() < 2 ? "missing telephony behaviour" : "too many arguments");
    for (const ModeWord& m : kModeWords) {
        if (args[1] == m.word) {
            LogConsole(args);
            Device::Get().Locked([&](DeviceState& s) { s.tapi.mode = m.mode; });
            return 0;
        }
    }
    Usage("unknown telephony behaviour \"" + Narrow(args[1]) + "\"");
}

std::string CallState(const DeviceState& s) {
    const CallRecord* call = CurrentCall(s.tapi);
    if (!call) return "none";
    char state[16];
    std::snprintf(state, sizeof state, "0x%X", call->state);
    for (const StateWord& w : kStateWords) {
        if (w.state == call->state) std::snprintf(state, sizeof state, "%s", w.word);
    }
    return std::string(state) + (call->bearerMode == LINEBEARERMODE_VOICE ? " voice" : " data");
}

std::string TapiModeWord(const DeviceState& s) {
    for (const ModeWord& m : kModeWords) {
        if (m.mode == s.tapi.mode) return Narrow(m.word);
    }
    return "?";
}

}  // namespace devemu

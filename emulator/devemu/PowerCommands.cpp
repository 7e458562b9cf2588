// power and ac: the power manager's notifications, written to every queue that a process of the
// device registered for them.
#include <cstring>
#include <cwchar>
#include <vector>

#include "Command.h"
#include "Device.h"
#include "MsgQueue.h"
#include "ce/Power.h"

namespace devemu {
namespace {

struct NamedState {
    const wchar_t* word;
    uint32_t flags;
    const wchar_t* name;
};

constexpr NamedState kStates[] = {
    {L"resume", POWER_STATE_ON | POWER_STATE_BACKLIGHTON, L"On"},
    {L"backlight-off", POWER_STATE_ON, L"BacklightOff"},
    {L"screen-off", POWER_STATE_IDLE, L"ScreenOff"},
    {L"unattended", POWER_STATE_UNATTENDED, L"Unattended"},
    {L"suspend", POWER_STATE_SUSPEND, L"Suspend"},
};

struct AcWord {
    const wchar_t* word;
    uint8_t line;
};

constexpr AcWord kAcWords[] = {
    {L"offline", AC_LINE_OFFLINE},
    {L"online", AC_LINE_ONLINE},
    {L"backup", AC_LINE_BACKUP_POWER},
    {L"unknown", AC_LINE_UNKNOWN},
};

// Writes one POWER_BROADCAST (the state name, if any, as its data) to every queue registered for
// `message`. A registration whose queue no longer exists belongs to a process that has gone: it
// is dropped. Returns the number of queues written to.
int Broadcast(DWORD message, DWORD flags, const std::wstring& name) {
    std::vector<BYTE> bytes(kPowerBroadcastHeader);
    const DWORD length = name.empty() ? 0 : static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t));
    const DWORD header[3] = {message, flags, length};
    std::memcpy(bytes.data(), header, sizeof header);
    if (length) {
        const auto* text = reinterpret_cast<const BYTE*>(name.c_str());
        bytes.insert(bytes.end(), text, text + length);
    }

    Device& device = Device::Get();
    std::vector<PowerRegistration> targets;
    device.Locked([&](DeviceState& s) {
        for (const PowerRegistration& r : s.power.registrations) {
            if (r.id != 0 && (r.flags & message) != 0) targets.push_back(r);
        }
    });
    int reached = 0;
    for (const PowerRegistration& target : targets) {
        DWORD error = 0;
        std::unique_ptr<MsgQueue> queue =
            MsgQueue::OpenWriter(target.queue, static_cast<uint32_t>(bytes.size()), &error);
        if (!queue) {
            device.Locked([&](DeviceState& s) {
                for (PowerRegistration& r : s.power.registrations) {
                    if (r.id == target.id) r = {};
                }
            });
            continue;
        }
        if (queue->Write(bytes.data(), static_cast<DWORD>(bytes.size()), 0, 0) == ERROR_SUCCESS) ++reached;
    }
    return reached;
}

void Transition(uint32_t flags, const std::wstring& name) {
    Device& device = Device::Get();
    device.Locked([&](DeviceState& s) {
        s.power.flags = flags;
        std::wcsncpy(s.power.name, name.c_str(), kNameChars - 1);
        s.power.name[kNameChars - 1] = L'\0';
    });
    const int reached = Broadcast(PBT_TRANSITION, flags, name);
    device.Log("power transition flags=0x%08X state=%s queues=%d", flags, Utf8(name).c_str(), reached);
}

void StatusChange() {
    Device& device = Device::Get();
    const uint8_t line = device.Locked([](DeviceState& s) { return s.power.acLine; });
    const int reached = Broadcast(PBT_POWERSTATUSCHANGE, 0, L"");
    device.Log("power status ac=%s queues=%d", AcLineWord(line).c_str(), reached);
}

}  // namespace

int CmdPower(const Args& args, Io&) {
    if (args.size() < 2) Usage("missing what the power manager does");
    const std::wstring& what = args[1];
    if (what == L"flags") {
        if (args.size() < 3 || args.size() > 4) Usage(args.size() < 3 ? "missing flag word" : "too many arguments");
        const uint32_t flags = ParseHex32(args[2], "flag word");
        const std::wstring name = args.size() == 4 ? args[3] : L"Custom";
        if (name.empty() || name.size() >= kNameChars) Usage("a state name has 1 to 259 characters");
        LogConsole(args);
        Transition(flags, name);
        return 0;
    }
    if (args.size() != 2) Usage("too many arguments");
    if (what == L"status") {
        LogConsole(args);
        StatusChange();
        return 0;
    }
    for (const NamedState& state : kStates) {
        if (what == state.word) {
            LogConsole(args);
            Transition(state.flags, state.name);
            return 0;
        }
    }
    Usage("unknown power state \"" + Narrow(what) + "\"");
}

int CmdAc(const Args& args, Io&) {
    if (args.size() != 2) Usage(args.size() < 2 ? "missing line state" : "too many arguments");
    for (const AcWord& ac : kAcWords) {
        if (args[1] == ac.word) {
            LogConsole(args);
            Device::Get().Locked([&](DeviceState& s) { s.power.acLine = ac.line; });
            StatusChange();
            return 0;
        }
    }
    Usage("unknown line state \"" + Narrow(args[1]) + "\"");
}

std::string AcLineWord(uint8_t line) {
    for (const AcWord& ac : kAcWords) {
        if (ac.line == line) return Narrow(ac.word);
    }
    return std::to_string(line);
}

}  // namespace devemu

// reset, state, log, wait and clock: the device itself.
#include <cstdio>
#include <iterator>

#include <windows.h>

#include "Command.h"
#include "Device.h"

namespace devemu {
namespace {

void Expect(const Args& args, size_t count) {
    if (args.size() != count) Usage(args.size() > count ? "too many arguments" : "missing argument");
}

std::string StateLines(const DeviceState& s, uint32_t uptime, const std::string& stylus) {
    std::string out;
    auto line = [&out](const char* key, const std::string& value) {
        out += key;
        out += '=';
        out += value;
        out += '\n';
    };
    line("uptime", std::to_string(uptime));
    line("clock", s.clockHeld ? "held" : "running");
    line("beeps", std::to_string(s.beeps));
    line("reboots", std::to_string(s.reboots));
    std::string refused;
    if (s.shell.refuseAdd) refused += "add,";
    if (s.shell.refuseRemove) refused += "remove,";
    if (s.shell.refuseMenuBar) refused += "menubar,";
    line("shell", refused.empty() ? "accept" : "refuse-" + refused.substr(0, refused.size() - 1));
    char flags[16];
    std::snprintf(flags, sizeof flags, " 0x%08X", s.power.flags);
    line("power", Utf8(s.power.name) + flags);
    line("ac", AcLineWord(s.power.acLine));
    line("stylus", stylus);
    line("call", CallState(s));
    line("tapi", TapiModeWord(s));
    line("input", s.input.locked ? "locked" : "free");
    line("touch", s.touch.absent ? "absent" : "present");
    line("panel", PanelState(s.touch));
    line("leds", std::to_string(s.leds.count));
    const bool vibrating = s.leds.count > 0 && ((s.leds.on >> (s.leds.count - 1)) & 1) != 0;
    line("vibrate", vibrating ? "on" : "off");
    line("led-calls", std::to_string(s.leds.calls));
    std::string ids;
    for (const Notification& n : s.notifications) {
        if (n.used) ids += (ids.empty() ? "" : ",") + std::to_string(n.id);
    }
    line("icon", ids.empty() ? "hidden" : "shown id=" + ids);
    line("rotation", std::to_string(s.sensor.rotation));
    line("tilt", std::to_string(s.sensor.tilt));
    line("sensor", kSensorHealthNames[s.sensor.health % std::size(kSensorHealthNames)]);
    line("sensor-reads", std::to_string(s.sensor.reads));
    return out;
}

}  // namespace

// The touch library withholds the stylus while its window's word 0 is 1. The word is read now,
// from whichever process owns the window; a window that is gone registers nothing.
std::string PanelState(const TouchState& touch) {
    HWND window = reinterpret_cast<HWND>(touch.window);
    if (!window || !IsWindow(window)) return "unregistered";
    return GetWindowLongW(window, 0) == 1 ? "locked" : "free";
}

int CmdReset(const Args& args, Io&) {
    Expect(args, 1);
    Device::Get().Reset();
    LogConsole(args);
    ResetStylus();
    return 0;
}

int CmdState(const Args& args, Io& io) {
    Expect(args, 1);
    Device& device = Device::Get();
    uint32_t uptime = device.Uptime();
    const std::string stylus = StylusState();  // the registry's, read outside the device's lock
    io.out += device.Locked([&](DeviceState& s) { return StateLines(s, uptime, stylus); });
    return 0;
}

int CmdLog(const Args& given, Io& io) {
    Args args = given;
    auto since = TakeOption(args, L"--since");
    Expect(args, 1);
    uint64_t first = since ? ParseU32(*since, "--since") : 0;
    for (const std::string& line : Device::Get().LogLines(first, nullptr)) io.out += line + "\n";
    return 0;
}

int CmdWait(const Args& given, Io& io) {
    Args args = given;
    auto timeout = TakeOption(args, L"--timeout");
    auto since = TakeOption(args, L"--since");
    Expect(args, 2);
    const std::string text = Narrow(args[1]);
    const uint32_t limit = timeout ? ParseU32(*timeout, "--timeout") : 5000;
    Device& device = Device::Get();
    uint64_t next = since ? ParseU32(*since, "--since") : device.LogCount();
    const uint32_t start = HostTick();
    for (;;) {
        for (const std::string& line : device.LogLines(next, &next)) {
            if (line.find(text, line.find(' ') + 1) != std::string::npos) {
                io.out += line + "\n";
                return 0;
            }
        }
        if (HostTick() - start >= limit) break;
        Sleep(5);
    }
    io.err += "devemu: no \"" + text + "\" in the log within " + std::to_string(limit) + " ms\n";
    return 1;
}

int CmdClock(const Args& args, Io&) {
    Device& device = Device::Get();
    if (args.size() == 3 && args[1] == L"advance") {
        device.AdvanceClock(static_cast<uint32_t>(ParseI64(args[2], "milliseconds")));
    } else if (args.size() == 2 && (args[1] == L"hold" || args[1] == L"run")) {
        device.HoldClock(args[1] == L"hold");
    } else {
        Expect(args, 2);
        device.SetClock(ParseU32(args[1], "milliseconds"));
    }
    LogConsole(args);
    return 0;
}

}  // namespace devemu

// reset, state, log, wait and clock: the device itself.
#include <iterator>

#include <windows.h>

#include "Command.h"
#include "Device.h"

namespace devemu {
namespace {

void Expect(const Args& args, size_t count) {
    if (args.size() != count) Usage(args.size() > count ? "too many arguments" : "missing argument");
}

std::string StateLines(const DeviceState& s, uint32_t uptime) {
    std::string out;
    auto line = [&out](const char* key, const std::string& value) {
        out += key;
        out += '=';
        out += value;
        out += '\n';
    };
    line("uptime", std::to_string(uptime));
    line("beeps", std::to_string(s.beeps));
    line("reboots", std::to_string(s.reboots));
    std::string refused;
    if (s.shell.refuseAdd) refused += "add,";
    if (s.shell.refuseRemove) refused += "remove,";
    if (s.shell.refuseMenuBar) refused += "menubar,";
    line("shell", refused.empty() ? "accept" : "refuse-" + refused.substr(0, refused.size() - 1));
    line("rotation", std::to_string(s.sensor.rotation));
    line("tilt", std::to_string(s.sensor.tilt));
    line("sensor", kSensorHealthNames[s.sensor.health % std::size(kSensorHealthNames)]);
    line("sensor-reads", std::to_string(s.sensor.reads));
    return out;
}

}  // namespace

int CmdReset(const Args& args, Io&) {
    Expect(args, 1);
    Device::Get().Reset();
    LogConsole(args);
    return 0;
}

int CmdState(const Args& args, Io& io) {
    Expect(args, 1);
    Device& device = Device::Get();
    uint32_t uptime = device.Uptime();
    io.out += device.Locked([&](DeviceState& s) { return StateLines(s, uptime); });
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
        const uint32_t delta = static_cast<uint32_t>(ParseI64(args[2], "milliseconds"));
        device.Locked([&](DeviceState& s) { s.clockOffset += delta; });
    } else {
        Expect(args, 2);
        const uint32_t uptime = ParseU32(args[1], "milliseconds");
        device.Locked([&](DeviceState& s) { s.clockOffset = uptime - HostTick(); });
    }
    LogConsole(args);
    return 0;
}

}  // namespace devemu

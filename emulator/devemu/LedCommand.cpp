// leds: how many notification LEDs the phone has; the last one is the vibration motor.
#include "Command.h"
#include "Device.h"

namespace devemu {

int CmdLeds(const Args& args, Io&) {
    if (args.size() != 2) Usage(args.size() < 2 ? "missing the number of LEDs" : "too many arguments");
    const uint32_t count = ParseU32(args[1], "LEDs");
    if (count > kMaxLeds) Usage("at most " + std::to_string(kMaxLeds) + " LEDs");
    Device::Get().Locked([&](DeviceState& s) {
        s.leds.count = count;
        // LEDs the phone no longer has are off.
        s.leds.on &= count == kMaxLeds ? ~0u : (1u << count) - 1;
    });
    LogConsole(args);
    return 0;
}

}  // namespace devemu

// tilt, turn and sensor: holding and turning the phone, and the health of its G-sensor.
#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>

#include <windows.h>

#include "Command.h"
#include "Device.h"

namespace devemu {
namespace {

constexpr uint32_t kDefaultRate = 180;     // degrees per second: a brisk turn of the wrist
constexpr uint32_t kMaxRate = 100000;
constexpr int64_t kMaxTurn = 36000;        // a hundred turns: anything more is a typo
constexpr DWORD kStepMs = 10;              // how often a turn writes the rotation

uint32_t ParseAngle(const std::wstring& text, const char* what) {
    const uint32_t angle = ParseU32(text, what);
    if (angle > 359) Usage(std::string(what) + " must be 0..359: " + Narrow(text));
    return angle;
}

int32_t Wrap360(int64_t angle) { return static_cast<int32_t>(((angle % 360) + 360) % 360); }

void WriteRotation(Device& device, int32_t rotation) {
    device.Locked([rotation](DeviceState& s) { s.sensor.rotation = rotation; });
}

}  // namespace

int CmdTilt(const Args& args, Io&) {
    if (args.size() < 2) Usage("missing rotation");
    if (args.size() > 3) Usage("too many arguments");
    const uint32_t rotation = ParseAngle(args[1], "rotation");
    const uint32_t tilt = args.size() == 3 ? ParseAngle(args[2], "tilt") : 0;
    Device::Get().Locked([&](DeviceState& s) {
        s.sensor.rotation = static_cast<int32_t>(rotation);
        s.sensor.tilt = tilt;
    });
    LogConsole(args);
    return 0;
}

// Each amount is turned in turn, at the same rate and without a pause between them, as one
// continuous movement of the hand: positions follow the host clock, not the number of steps,
// so a late wake-up of this thread does not slow the turn down.
int CmdTurn(const Args& given, Io&) {
    Args args = given;
    const auto rateText = TakeOption(args, L"--rate");
    const uint32_t rate = rateText ? ParseU32(*rateText, "--rate") : kDefaultRate;
    if (rate == 0 || rate > kMaxRate) Usage("--rate must be 1.." + std::to_string(kMaxRate));
    if (args.size() < 2) Usage("missing degrees to turn");
    std::vector<int64_t> amounts;
    for (size_t i = 1; i < args.size(); ++i) {
        const int64_t amount = ParseI64(args[i], "degrees");
        if (amount < -kMaxTurn || amount > kMaxTurn) {
            Usage("degrees must be within +-" + std::to_string(kMaxTurn) + ": " + Narrow(args[i]));
        }
        amounts.push_back(amount);
    }

    Device& device = Device::Get();
    LogConsole(given);
    int64_t position = device.Locked([](DeviceState& s) { return s.sensor.rotation; });
    uint32_t segmentStart = HostTick();
    for (const int64_t amount : amounts) {
        const int64_t length = std::llabs(amount);
        const int64_t direction = amount < 0 ? -1 : 1;
        for (;;) {
            const int64_t elapsed = static_cast<uint32_t>(HostTick() - segmentStart);
            const int64_t done = std::min(length, elapsed * rate / 1000);
            WriteRotation(device, Wrap360(position + direction * done));
            if (done == length) break;
            Sleep(kStepMs);
        }
        position += amount;
        // The next amount starts when this one was due to end, not when the loop noticed.
        segmentStart += static_cast<uint32_t>(length * 1000 / rate);
    }
    return 0;
}

int CmdSensor(const Args& args, Io&) {
    if (args.size() != 2) Usage(args.size() < 2 ? "missing sensor health" : "too many arguments");
    const std::string what = Narrow(args[1]);
    const auto* name = std::find(std::begin(kSensorHealthNames), std::end(kSensorHealthNames), what);
    if (name == std::end(kSensorHealthNames)) Usage("unknown sensor health \"" + what + "\"");
    const auto health = static_cast<uint8_t>(name - std::begin(kSensorHealthNames));
    Device::Get().Locked([health](DeviceState& s) { s.sensor.health = health; });
    LogConsole(args);
    return 0;
}

}  // namespace devemu

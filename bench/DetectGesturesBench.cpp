// Gesture detection's cost, on readings that move: the phone performs the unlock gesture and
// the lock gesture in turn, 105 degrees a tick, so that the matchers' steps advance and gestures
// complete (they are counted in the figures).
// - step: the detector alone, on readings already taken; CPU time of this thread and wall time
//   per call.
// - tick: the whole gesture tick as the lock controller runs it, a real read of the emulated
//   sensor included. The device clock is held and moved on by one tick period between ticks, so
//   the reader's 75 ms cache never serves one, and the rotation is set before each; each tick
//   is timed alone with the performance counter.
// Prints its rows of scripts/bench's table.
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <vector>

#include <windows.h>

#include "BenchTable.h"
#include "Device.h"
#include "gesture/GestureDetector.h"
#include "gesture/TiltSensor.h"

namespace {

constexpr uint64_t kSteps = 30000000;
constexpr int kTicks = 3000;
constexpr uint32_t kTickMs = 142;  // the lock controller's gesture tick

// One round: the unlock gesture from face up (it completes at 315), face up again, the lock
// gesture (it completes at 45), face up again.
constexpr int32_t kRound[] = {0, 105, 210, 315, 0, 255, 150, 45};

class CountingReceiver : public GestureReceiver {
public:
    void OnGesture(bool lock) override { ++(lock ? locks : unlocks); }
    uint64_t locks = 0;
    uint64_t unlocks = 0;
};

uint64_t ThreadCpuNs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ns = [](const FILETIME& t) {
        return ((static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) * 100;
    };
    return ns(kernel) + ns(user);
}

double Microseconds(int64_t counts) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counts) * 1e6 / static_cast<double>(frequency.QuadPart);
}

Settings DefaultGestures() {
    Settings settings{};
    settings.LockGesture = kDefaultLockGesture;
    settings.UnlockGesture = kDefaultUnlockGesture;
    settings.DisableGesturesWhenUpright = true;
    settings.GestureLock = LockEverything;
    return settings;
}

}  // namespace

int main() {
    // A device of its own, unless told otherwise: the bench holds its clock and turns it.
    if (GetEnvironmentVariableW(L"DEVEMU_NAME", nullptr, 0) == 0) {
        SetEnvironmentVariableW(L"DEVEMU_NAME", L"detect_gestures_bench");
    }
    const Settings settings = DefaultGestures();
    char figure[128], how[256];

    {
        TiltReading readings[std::size(kRound)] = {};
        for (size_t i = 0; i < std::size(kRound); ++i) readings[i].rotation = kRound[i];
        GestureDetector detector;
        CountingReceiver receiver;
        const uint64_t cpu0 = ThreadCpuNs();
        const int64_t wall0 = devemu::PerformanceCount();
        for (uint64_t i = 0; i < kSteps; ++i) {
            const TiltReading& reading = readings[i % std::size(readings)];
            DetectGestures(detector, settings, reading.tilt, reading.rotation, receiver);
        }
        const double wall = Microseconds(devemu::PerformanceCount() - wall0) * 1000;
        const uint64_t cpu = ThreadCpuNs() - cpu0;
        std::snprintf(figure, sizeof figure,
                      "%.1f ns CPU, %.1f ns wall (%llu unlock, %llu lock gestures in %llu steps)",
                      static_cast<double>(cpu) / kSteps, wall / kSteps,
                      static_cast<unsigned long long>(receiver.unlocks),
                      static_cast<unsigned long long>(receiver.locks), static_cast<unsigned long long>(kSteps));
        Row("detection", "detector step, reading given", figure,
            "CPU time of the thread (GetThreadTimes) and performance counter over the calls, per call; readings "
            "performing both gestures in turn");
    }

    devemu::Device& device = devemu::Device::Get();
    device.HoldClock(true);
    GestureDetector detector;
    CountingReceiver receiver;
    std::vector<double> ticks;
    for (int i = 0; i < kTicks; ++i) {
        device.AdvanceClock(kTickMs);
        const int32_t rotation = kRound[i % std::size(kRound)];
        device.Locked([rotation](devemu::DeviceState& s) { s.sensor.rotation = rotation; });
        const int64_t before = devemu::PerformanceCount();
        const TiltReading& reading = TiltSensor::Instance().ReadTilt();
        DetectGestures(detector, settings, reading.tilt, reading.rotation, receiver);
        ticks.push_back(Microseconds(devemu::PerformanceCount() - before));
    }
    device.HoldClock(false);
    const Spread t = SpreadOf(ticks);
    std::snprintf(figure, sizeof figure,
                  "median %.0f us, p99 %.0f us (%llu unlock, %llu lock gestures in %d ticks)", t.median, t.p99,
                  static_cast<unsigned long long>(receiver.unlocks), static_cast<unsigned long long>(receiver.locks),
                  kTicks);
    std::snprintf(how, sizeof how,
                  "performance counter around each tick: a real read through the emulated sensor "
                  "(the device clock moved on %u ms between ticks) and the step",
                  static_cast<unsigned>(kTickMs));
    Row("detection", "whole gesture tick, moving readings", figure, how);
    return receiver.unlocks > 0 && receiver.locks > 0 ? 0 : 1;
}

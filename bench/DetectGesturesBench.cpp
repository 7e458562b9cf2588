// CPU time of one gesture detector tick. Prints nanoseconds per call for the detector step
// alone (the program's own work, a reading already taken) and for the whole call with a reading
// the sensor reader returns from its cache (the step plus GetTickCount from the emulated device;
// a real read happens once every 75 ms and is part of the figure).
#include <cstdint>
#include <cstdio>

#include <windows.h>

#include "gesture/GestureDetector.h"
#include "gesture/TiltSensor.h"

namespace {

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

uint64_t WallNs() {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<uint64_t>(now.QuadPart) * 1000000000ull / static_cast<uint64_t>(frequency.QuadPart);
}

template <class F>
void Measure(const char* what, uint64_t calls, F&& call) {
    for (uint64_t i = 0; i < calls / 10; ++i) call(i);  // warm up
    const uint64_t cpu0 = ThreadCpuNs(), wall0 = WallNs();
    for (uint64_t i = 0; i < calls; ++i) call(i);
    const uint64_t cpu = ThreadCpuNs() - cpu0, wall = WallNs() - wall0;
    std::printf("%-44s %9.1f ns/call CPU  %9.1f ns/call wall  (%llu calls)\n", what,
                static_cast<double>(cpu) / calls, static_cast<double>(wall) / calls,
                static_cast<unsigned long long>(calls));
}

}  // namespace

int main() {
    // A device of its own, unless told otherwise: the bench reads the sensor, nothing more.
    if (GetEnvironmentVariableW(L"DEVEMU_NAME", nullptr, 0) == 0) {
        SetEnvironmentVariableW(L"DEVEMU_NAME", L"detect_gestures_bench");
    }
    Settings settings{};
    settings.LockGesture = kDefaultLockGesture;
    settings.UnlockGesture = kDefaultUnlockGesture;
    settings.DisableGesturesWhenUpright = true;
    settings.GestureLock = LockEverything;
    CountingReceiver receiver;
    GestureDetector detector;

    // The step on readings that perform the unlock gesture over and over, 25 degrees a tick,
    // then stand still face up for a while: every branch of the matchers is taken.
    TiltReading path[20] = {};
    for (int i = 0; i < 20; ++i) path[i].rotation = i < 13 ? i * 25 : 315;
    Measure("detector step (reading given)", 20000000, [&](uint64_t i) {
        DetectGestures(detector, settings, path[i % 20].tilt, path[i % 20].rotation, receiver);
    });
    std::printf("  (%llu unlock gestures completed)\n", static_cast<unsigned long long>(receiver.unlocks));

    detector.Reset();
    TiltSensor::Instance().ReadTilt();  // opens the sensor: later calls within 75 ms hit the cache
    Measure("DetectGestures (cached reading)", 20000000, [&](uint64_t) {
        const TiltReading& reading = TiltSensor::Instance().ReadTilt();
        DetectGestures(detector, settings, reading.tilt, reading.rotation, receiver);
    });
    Measure("  of which GetTickCount (emulated device)", 20000000, [](uint64_t) {
        volatile DWORD now = GetTickCount();
        (void)now;
    });
    return 0;
}

// The emulated phone's state: one block of shared memory that every emulated DLL and the
// device console open, so that all processes of a Wine prefix see the same device.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <windows.h>

namespace devemu {

constexpr uint32_t kLogCapacity = 16384;
constexpr size_t kLogTextSize = 244;

struct LogLine {
    uint32_t uptime;
    char text[kLogTextSize];
};

// Everything the device knows. Plain data only: it lives in a file mapping shared by processes.
// What the shell refuses, so that the program's failure paths can be shown.
struct ShellState {
    bool refuseAdd;      // notifications
    bool refuseRemove;
    bool refuseMenuBar;  // menu bars
};

// The G-sensor and how well it works.
enum SensorHealth : uint8_t {
    SENSOR_OK = 0,
    SENSOR_FAIL_OPEN = 1,  // every open returns 0
    SENSOR_FAIL_READ = 2,  // opens succeed, every read returns 0
};
// As the console names them, in the order of the values.
constexpr const char* kSensorHealthNames[] = {"ok", "fail-open", "fail-read"};

struct SensorState {
    int32_t rotation;  // degrees 0..359, 0 face up
    uint32_t tilt;     // degrees 0..359, near 90 or 270 upright
    uint8_t health;    // SensorHealth
    uint32_t reads;    // successful reads; counted, not logged, as they come several times a second
    uint32_t opens;    // successful opens; the n-th gets the handle n
};

// Each emulated service keeps its block here; SetDefaults gives the values of a fresh device.
struct DeviceState {
    uint32_t layout;       // stamp of this layout; a mismatch makes the opener start afresh
    uint32_t clockOffset;  // device uptime = host tick + offset, modulo 2^32
    uint32_t beeps;
    uint32_t reboots;
    ShellState shell;
    SensorState sensor;

    uint64_t logCount;     // lines written since the last reset; line n sits at n % kLogCapacity
    LogLine log[kLogCapacity];
};

// The state of a fresh device: empty log, clock offset 0, every service at its default (the
// sensor healthy, the phone face up and flat).
void SetDefaults(DeviceState& state);

// Name of the shared device: DEVEMU_NAME, or the default phone.
std::wstring DeviceName();

// One process's view of the device. Opened on first use, kept for the life of the process.
class Device {
public:
    static Device& Get();

    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // Runs f(state) while holding the device's lock.
    template <class F>
    auto Locked(F&& f) {
        Lock lock(mutex_);
        return f(*state_);
    }

    // The device clock in milliseconds (wraps at 2^32 like GetTickCount).
    uint32_t Uptime();

    // Appends one event line, "<text>", stamped with the current uptime.
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Lines from `since` on (older lines that the ring has dropped are skipped); *next gets the
    // index that follows the last line returned.
    std::vector<std::string> LogLines(uint64_t since, uint64_t* next);
    uint64_t LogCount();

    // Back to a fresh device.
    void Reset();

private:
    Device();
    ~Device() = default;

    class Lock {
    public:
        explicit Lock(HANDLE mutex);
        ~Lock();
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;

    private:
        HANDLE mutex_;
    };

    void AppendLocked(DeviceState& state, const char* text);

    HANDLE mutex_ = nullptr;  // process lifetime: released by process exit
    DeviceState* state_ = nullptr;
};

// Host tick that never goes through an emulated GetTickCount, whoever links this code.
uint32_t HostTick();

// UTF-16 to UTF-8, for log text.
std::string Utf8(const std::wstring& text);

}  // namespace devemu
